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

// A caption shown above a control of the main window, and the control's name
// for assistive technology: the caption's words without its colon or remark.
struct Caption {
  QString shown;
  QString name;
};
inline const Caption kWordListCaption{QStringLiteral("小孩子感兴趣的词（请点击）"),
                                      QStringLiteral("小孩子感兴趣的词")};
inline const Caption kSourceBoxCaption{QStringLiteral("文字框:(把要练习的文字拷贝到这里)"),
                                       QStringLiteral("文字框")};
inline const Caption kPinyinBoxCaption{QStringLiteral("拼音:"), QStringLiteral("拼音")};
inline const Caption kHintBoxCaption{QStringLiteral("打字提示:"), QStringLiteral("打字提示")};
inline const Caption kPracticeBoxCaption{QStringLiteral("打字框:(在这个文本框中练习输入文字)"),
                                         QStringLiteral("打字框")};

// The names for assistive technology of the main window's pictures, which
// open the home page when clicked.
inline const QString kBannerName = QStringLiteral("横幅：打开主页");
inline const QString kKeyboardPictureName = QStringLiteral("键盘图：打开主页");

}  // namespace kelvaro
