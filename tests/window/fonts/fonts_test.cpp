// The window with one Japanese face installed at a time (or none): CTest runs this
// binary once per face, each time with a private fontconfig that offers that face beside
// the Latin faces every Debian desktop has. KALVO_FONT_DIR names the face's folder
// (empty: no Japanese face), KALVO_GOTHIC and KALVO_PGOTHIC the families the window's
// gothic and proportional gothic must come out as.
#include "window/ui/fonts.h"
#include "support/event_support.h"
#include "window/app_setup.h"
#include "window/ui/moon_picture.h"

#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

namespace kalvo::test {
namespace {

QString env(const char* name) { return qEnvironmentVariable(name); }

class OneFace : public EventWindowTest {
protected:
    void SetUp() override {
        const QString dir = env("KALVO_FONT_DIR");
        if (!dir.isEmpty() && !QDir(dir).exists()) GTEST_SKIP() << "face not installed: " << dir.toStdString();
    }
    static bool noJapaneseFace() { return env("KALVO_FONT_DIR").isEmpty(); }
};

// Pixels that differ clearly from the background: a caption's ink.
int ink(const QImage& image, QColor background) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += std::abs(c.red() - background.red()) + std::abs(c.green() - background.green()) +
                     std::abs(c.blue() - background.blue()) >
                 120;
        }
    return n;
}

// The ink of the given lines drawn with nothing to cut them.
int uncutInk(const QStringList& lines, const QFont& font, QColor fore, QColor background) {
    const QFontMetrics fm(font);
    QImage image(400, (fm.height() + 8) * static_cast<int>(lines.size()) + 8, QImage::Format_RGB32);
    image.fill(background);
    QPainter p(&image);
    p.setFont(font);
    p.setPen(fore);
    for (int i = 0; i < lines.size(); ++i) p.drawText(8, 8 + i * (fm.height() + 8) + fm.ascent(), lines[i]);
    p.end();
    return ink(image, background);
}

TEST_F(OneFace, TheWindowUsesTheInstalledFaceOrSaysThereIsNone) {
    if (noJapaneseFace()) {
        EXPECT_FALSE(hasJapaneseFont());
        EXPECT_TRUE(warnWithoutJapaneseFont(*dialogs));
        ASSERT_EQ(dialogs->shown.size(), 1u);
        EXPECT_EQ(dialogs->shown[0].text, kNoJapaneseFontText);
        EXPECT_EQ(dialogs->shown[0].buttons, Buttons::OK);
        return;
    }
    EXPECT_TRUE(hasJapaneseFont());
    EXPECT_FALSE(warnWithoutJapaneseFont(*dialogs));
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(QFontInfo(makeFont({Face::Gothic, 9, false})).family(), env("KALVO_GOTHIC"));
    EXPECT_EQ(QFontInfo(makeFont({Face::PGothic, 9, false})).family(), env("KALVO_PGOTHIC"));
    frmKV& f = start();
    EXPECT_EQ(QFontInfo(f.laZL(13)->font()).family(), env("KALVO_GOTHIC"));
    EXPECT_EQ(QFontInfo(f.laZL(9)->font()).family(), env("KALVO_PGOTHIC"));
}

// Whatever the face, every caption shows what the design face shows, in full.
TEST_F(OneFace, CaptionsKeepTheDesignLines) {
    if (noJapaneseFace()) GTEST_SKIP() << "no Japanese face: every caption is boxes";
    frmKV& f = start();
    f.show();
    // The lines the design face shows: "=" stays with "日数", " =" with "日間".
    EXPECT_EQ(f.laZL(13)->shownLines(), QStringList{QStringLiteral("日数=")});
    EXPECT_EQ(f.laZL(10)->shownLines(), QStringList{QStringLiteral("日間 =")});
    EXPECT_EQ(f.laZL(9)->shownLines(), QStringList{QStringLiteral("ヶ月+")});
    EXPECT_EQ(f.laZL(8)->shownLines(), (QStringList{QStringLiteral("年 +"), QStringLiteral("(歳)")}));
    EXPECT_EQ(f.laZL(4)->shownLines(), QStringList{QStringLiteral("月")});
}

// A window that starts as the small tile fits only the captions it shows, and the others
// as the full window shows them.
TEST_F(OneFace, CaptionsAreFittedWhenTheirSizeIsFirstShown) {
    if (noJapaneseFace()) GTEST_SKIP() << "no Japanese face: every caption is boxes";
    writeFile(cp932Lines(eventLines("1200,1500,4,2", " 0 ", {"誕生日 @2001/2/3"})));
    frmKV& f = start();
    ASSERT_EQ(f.sizeMode, 4);
    EXPECT_TRUE(f.laZL(13)->shownLines().isEmpty());
    f.laMAX_Click();
    ASSERT_EQ(f.sizeMode, 0);
    EXPECT_EQ(f.laZL(13)->shownLines(), QStringList{QStringLiteral("日数=")});
}

TEST_F(OneFace, CaptionsShowTheirLinesUncut) {
    if (noJapaneseFace()) GTEST_SKIP() << "no Japanese face: every caption is boxes";
    frmKV& f = start();
    f.show();
    int captions = 0;
    for (ClickLabel* label : f.findChildren<ClickLabel*>()) {
        if (!label->isVisibleTo(&f) || !label->showsOwnLines()) continue;
        SCOPED_TRACE(label->objectName().toStdString());
        ++captions;
        const QColor back = label->palette().color(QPalette::Window);
        const QColor fore = label->palette().color(QPalette::WindowText);
        const int shown = ink(label->grab().toImage(), back);
        const int whole = uncutInk(label->shownLines(), label->font(), fore, back);
        ASSERT_GT(whole, 10);
        EXPECT_GE(shown, whole * 95 / 100) << "ink shown " << shown << " of " << whole;
        EXPECT_GE(label->font().pixelSize() * 4, makeFont({Face::Gothic, 9, false}).pixelSize() * 3 - 4);
    }
    EXPECT_GE(captions, 15);
}

// Captions of buttons, check boxes and option buttons fit inside their frames.
TEST_F(OneFace, ButtonCaptionsFitInsideTheirFrames) {
    if (noJapaneseFace()) GTEST_SKIP() << "no Japanese face: every caption is boxes";
    frmKV& f = start();
    f.show();
    for (QAbstractButton* b : f.findChildren<QAbstractButton*>()) {
        if (!b->isVisibleTo(&f) || b->text().isEmpty()) continue;
        SCOPED_TRACE(b->objectName().toStdString());
        QStyleOptionButton option;
        option.initFrom(b);
        option.text = b->text();
        const QString text = b->text().remove(QLatin1Char('&'));
        int room = b->width() - 4;
        if (qobject_cast<QCheckBox*>(b))
            room = b->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, b).width();
        if (qobject_cast<QRadioButton*>(b))
            room = b->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, b).width();
        EXPECT_LE(QFontMetrics(b->font()).horizontalAdvance(text), room);
    }
}

// The pictures of the window this face was last seen with, one folder per face:
// tests/window/fonts/grabs/<KALVO_FACE>/<name>.png. With KALVO_TAKE_GRABS=1 the test takes them
// anew instead of comparing (for a change that is meant to be seen).
class Grabs {
public:
    Grabs() : folder_(QStringLiteral(KALVO_SOURCE_DIR "/tests/window/fonts/grabs/") + env("KALVO_FACE")) {}

    // The window, pixel for pixel as in the picture of that name.
    void expectSame(QWidget& window, const QString& name) const {
        SCOPED_TRACE(name.toStdString());
        const QImage shown = window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
        const QString path = folder_ + QLatin1Char('/') + name + QStringLiteral(".png");
        if (qEnvironmentVariableIntValue("KALVO_TAKE_GRABS") == 1) {
            QDir().mkpath(folder_);
            ASSERT_TRUE(shown.save(path));
            return;
        }
        const QImage before = QImage(path).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(before.isNull()) << "no picture " << path.toStdString();
        ASSERT_EQ(shown.size(), before.size());
        int differ = 0;
        QRect where;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixel(x, y) != before.pixel(x, y)) {
                    ++differ;
                    where |= QRect(x, y, 1, 1);
                }
        if (differ == 0) return;
        const QString seen = QStringLiteral(KALVO_BINARY_DIR "/grab-") + env("KALVO_FACE") + QLatin1Char('-') + name +
                             QStringLiteral(".png");
        shown.save(seen);
        ADD_FAILURE() << differ << " pixels differ, within x " << where.left() << ".." << where.right() << ", y "
                      << where.top() << ".." << where.bottom() << "; the window as shown: " << seen.toStdString();
    }

private:
    QString folder_;
};

// The window looks as it always did: in each size it starts in, in the full size it is
// brought back to from the small ones, and with the keyboard focus on each kind of control.
TEST_F(OneFace, TheWindowLooksAsBefore) {
    const Grabs grabs;
    const auto startIn = [&](int size) -> frmKV& {
        form.reset();
        writeFile(cp932Lines(eventLines("1200,1500," + std::to_string(size) + ",2", " 0 ",
                                        {"誕生日 @2001/2/3", "  \u3000*今日@TODAY", "何の日？の例@平成15年9月14日"})));
        frmKV& f = start();
        f.show();
        return f;
    };
    for (int size = 0; size <= 4; ++size) grabs.expectSame(startIn(size), QStringLiteral("size%1").arg(size));

    frmKV& back = startIn(3);
    back.btSIZE->click();
    back.btSIZE->click();
    ASSERT_EQ(back.sizeMode, 0);
    grabs.expectSame(back, QStringLiteral("size0"));

    // The keyboard's focus frame round a button, a check box, an option button, the moon
    // picture and the event list (whose field then shows its text selected and the cursor),
    // as a Tab key leaves it (which marks the window as one whose focus the keyboard moved).
    frmKV& f = startIn(0);
    showActive(f);
    const std::pair<const char*, QWidget*> focused[] = {
        {"focus-button", f.btBB(22)}, {"focus-check", f.ckST}, {"focus-option", f.opNS(0)},
        {"focus-picture", f.picM},    {"focus-list", f.cobEV},
    };
    for (const auto& [name, control] : focused) {
        control->setFocus(Qt::TabFocusReason);
        f.setAttribute(Qt::WA_KeyboardFocusChange);
        ASSERT_TRUE(control->hasFocus()) << name;
        grabs.expectSame(f, QString::fromUtf8(name));
    }
}

}  // namespace
}  // namespace kalvo::test
