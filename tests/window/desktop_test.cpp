// The window on a desktop that is not like the one it was drawn on: a dark theme, and
// Qt's own texts under any locale; the icon it gives the desktop.
#include "support/window_fixture.h"
#include "window/app_setup.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QPixmap>
#include <memory>

namespace kalvo::test {
namespace {

// A dark desktop theme: light text on near-black, navy-ish highlights.
QPalette darkPalette() {
    QPalette dark(QColor(230, 230, 230), QColor(45, 45, 48));
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button, QPalette::Base, QPalette::AlternateBase})
        dark.setColor(role, QColor(30, 30, 32));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, QColor(235, 235, 235));
    return dark;
}

int luminance(QRgb c) { return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000; }

// Pixels of a widget's picture darker than the given luminance: its text on a light face.
int darkPixels(const QImage& image, int below = 100) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += luminance(image.pixel(x, y)) < below;
    return n;
}

class DarkTheme : public WindowTest {
protected:
    QPalette before = QApplication::palette();
    void TearDown() override { QApplication::setPalette(before); }

    QImage grabUnder(const QPalette& desktop) {
        QApplication::setPalette(desktop);
        frmKV& f = start();
        f.resize(f.size());
        return f.grab().toImage();
    }
};

TEST_F(DarkTheme, TheWindowLooksTheSameUnderADarkDesktopPalette) {
    const QImage light = grabUnder(lightPalette());
    const QImage dark = grabUnder(darkPalette());
    ASSERT_EQ(light.size(), dark.size());
    int differing = 0;
    for (int y = 0; y < light.height(); ++y)
        for (int x = 0; x < light.width(); ++x) differing += light.pixel(x, y) != dark.pixel(x, y);
    EXPECT_EQ(differing, 0);

    // And what the theme used to hide is there: the captions of the era table options
    // and of the bottom line are dark text, the era year is navy on a white face.
    frmKV& f = *form;
    for (QWidget* w : {static_cast<QWidget*>(f.opNS(0)), static_cast<QWidget*>(f.opNS(1)),
                       static_cast<QWidget*>(f.opNS(2)), static_cast<QWidget*>(f.laZL(12))}) {
        SCOPED_TRACE(w->objectName().toStdString());
        const QImage caption = dark.copy(QRect(w->mapTo(&f, QPoint(0, 0)), w->size()));
        EXPECT_GT(darkPixels(caption), 15);
    }
    const QRect year(f.laNen(0)->mapTo(&f, QPoint(0, 0)), f.laNen(0)->size());
    const QImage era = dark.copy(year.adjusted(2, 2, -2, -2));
    EXPECT_EQ(era.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_GT(darkPixels(era), 15);
    const QImage combo = dark.copy(QRect(f.cobNG(0)->mapTo(&f, QPoint(0, 0)), f.cobNG(0)->size()));
    EXPECT_GT(darkPixels(combo, 60), 15);                                  // the era name
    EXPECT_LT(darkPixels(combo, 60), combo.width() * combo.height() / 3);  // on a light field
}

using QtTexts = WindowTest;

TEST_F(QtTexts, TheEditFieldsMenuIsJapanese) {
    ASSERT_TRUE(loadQtTranslation(*QCoreApplication::instance()));
    frmKV& f = start();
    std::unique_ptr<QMenu> menu(f.cobEV->lineEdit()->createStandardContextMenu());
    QStringList texts;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) texts << a->text();
    ASSERT_FALSE(texts.isEmpty());
    for (const QString& english :
         {QStringLiteral("&Undo"), QStringLiteral("&Copy"), QStringLiteral("&Paste"), QStringLiteral("Select All")})
        EXPECT_FALSE(texts.contains(english)) << english.toStdString();
    // Every entry has Japanese in it ("元に戻す(&U)", "コピー(&C)", ...).
    for (const QString& t : texts) {
        const bool japanese = std::any_of(t.begin(), t.end(), [](QChar c) { return c.unicode() >= 0x3040; });
        EXPECT_TRUE(japanese) << t.toStdString();
    }
}

// The window icon holds every size the icon theme has from 16 to 256 pixels, each with
// the pixels of its PNG as the desktop gets them (unpremultiplied ARGB).
TEST(WindowIcon, HasThePixelsOfTheIconThemesPngs) {
    const QIcon icon = windowIcon();
    const QList<QSize> sizes{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    EXPECT_EQ(icon.availableSizes(), sizes);
    for (const QSize& size : sizes) {
        SCOPED_TRACE(size.width());
        const QImage png(QStringLiteral(KALVO_SOURCE_DIR "/data/icons/hicolor/%1x%1/apps/io.github.kalvo.kalvo.png")
                             .arg(size.width()));
        ASSERT_EQ(png.size(), size);
        EXPECT_EQ(icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32),
                  QPixmap::fromImage(png).toImage().convertToFormat(QImage::Format_ARGB32));
    }
}

}  // namespace
}  // namespace kalvo::test
