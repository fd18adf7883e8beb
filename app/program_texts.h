#pragma once

#include <QString>

namespace kelvaro {

// The texts the windows show. The contact labels of the help window name the
// maker, where help is (the home page that ships with the program) and the
// licences: our code is under MIT, and the program that links espeak-ng is
// under the GPL, version 3 or later (see the copyright file of the package);
// the makers publish no address.
inline const QString kProgramCaption = QStringLiteral("Kelvaro2.0版");
inline const QString kMakerName = QStringLiteral("Kelvaro 开发组");
inline const QString kWhereHelpIs = QStringLiteral("帮助：点主窗口右上角的图片，打开自带的主页");
inline const QString kLicence = QStringLiteral("自由软件：MIT 和 GPL-3+ 许可证");

}  // namespace kelvaro
