#include "window/app_setup.h"

#include "window/ui/fonts.h"

#include <QCoreApplication>
#include <QImage>
#include <QLibraryInfo>
#include <QPixmap>
#include <QTranslator>

namespace kalvo {

const QString kNoJapaneseFontText = QStringLiteral(
    "日本語を表示できるフォントが見つかりません。\r\n"
    "文字が正しく表示されません。日本語フォント（例: fonts-ipafont-gothic）を\r\n"
    "インストールしてから、もう一度起動してください。\r\n"
    "\r\n"
    "No Japanese font is installed, so Kalvo's texts cannot be shown.\r\n"
    "Install a Japanese font (for example the package fonts-ipafont-gothic) and start Kalvo again.");
const QString kNoJapaneseFontTitle = QStringLiteral("Kalvo");

QIcon windowIcon() {
    QIcon icon;
    for (const IconPixels& p : kIconPixels)
        icon.addPixmap(QPixmap::fromImage(
            QImage(reinterpret_cast<const uchar*>(p.pixels), p.size, p.size, QImage::Format_ARGB32_Premultiplied)));
    return icon;
}

bool loadQtTranslation(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

bool warnWithoutJapaneseFont(Dialogs& dialogs) {
    if (hasJapaneseFont()) return false;
    dialogs.showMessage(kNoJapaneseFontText, kNoJapaneseFontTitle);
    return true;
}

}  // namespace kalvo
