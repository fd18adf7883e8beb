#pragma once

#include <QString>

namespace kelvaro {

// The texts and the one web address the windows show.
inline const QString kProgramCaption = QStringLiteral("Kelvaro2.0版");
inline const QString kHomePageUrl = QStringLiteral("https://www.example.com/kelvaro/");
inline const QString kMakerName = QStringLiteral("Kelvaro 开发组");
inline const QString kMakerEmail = QStringLiteral("电子邮件：kelvaro@example.com");
inline const QString kMakerWebSite = QStringLiteral("主页：") + kHomePageUrl;

}  // namespace kelvaro
