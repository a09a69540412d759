#include "core/moon/moon_age.h"
#include "support/window_fixture.h"
#include "window/ui/moon_picture.h"

#include <QPalette>
#include <cmath>
#include <numbers>

namespace kalvo::test {
namespace {

// Lit coverage of an image: the red channel is full on the yellow lit colour and zero
// on the black dark colour and background, so it weighs antialiased edge pixels too.
struct LitPixels {
    double total = 0;  // in pixels
    double left = 0;   // left of the vertical centre line
    double right = 0;
};

LitPixels litPixels(const QImage& image) {
    LitPixels lit;
    const double centre = image.width() / 2.0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double share = qRed(image.pixel(x, y)) / 255.0;
            lit.total += share;
            (x + 0.5 < centre ? lit.left : lit.right) += share;
        }
    }
    return lit;
}

// The disc of radius 150 units in a picture 400 units wide.
double discPixels(const QImage& image) {
    const double radius = image.width() * 150.0 / 400.0;
    return std::numbers::pi * radius * radius;
}

class MoonView : public WindowTest {
protected:
    frmKV& startOn(int year, int month, int day) {
        today = fromYmd(year, month, day);
        return start();
    }
};

TEST_F(MoonView, StartUpDrawsTheMoonOfTheFocusedDate) {
    frmKV& f = startOn(1997, 10, 16);
    EXPECT_EQ(f.laYMD(0)->text(), QStringLiteral("1997/10/16"));
    EXPECT_FLOAT_EQ(f.moonAge, 14.4247f);
    EXPECT_EQ(f.synodicMonth, 29.530589);
    EXPECT_EQ(f.laBT->text(), QStringLiteral("14.42"));
    EXPECT_GT(litPixels(f.picM->image()).total, 0.9 * discPixels(f.picM->image()));
}

TEST_F(MoonView, FollowsTheFocusedPanel) {
    frmKV& f = startOn(1997, 10, 16);
    f.panelDate[1] = fromYmd(2000, 1, 7);
    f.selectPanel(1);
    EXPECT_EQ(f.laYMD(0)->text(), QStringLiteral("2000/1/7"));
    EXPECT_FLOAT_EQ(f.moonAge, 0.568208f);
    EXPECT_EQ(f.laBT->text(), QStringLiteral(".57"));
    f.selectPanel(0);  // no date changes, only the focus
    EXPECT_EQ(f.laYMD(0)->text(), QStringLiteral("1997/10/16"));
    EXPECT_FLOAT_EQ(f.moonAge, 14.4247f);
}

TEST_F(MoonView, AdjustButtonRedrawsTheMoon) {
    frmKV& f = startOn(1997, 10, 16);
    const QImage before = f.picM->image();
    f.btBB(1)->click();  // any adjustment moves the focused date
    EXPECT_NE(f.panelDate[0], fromYmd(1997, 10, 16));
    EXPECT_EQ(f.laYMD(0)->text(), QString::fromStdString(toText(f.panelDate[0])));
    EXPECT_FLOAT_EQ(f.moonAge, moonAgeOf(f.panelDate[0]));
    EXPECT_NE(f.picM->image(), before);
}

// The lit share of the disc against the figure's area: the half-disc plus or minus
// half an ellipse of the given horizontal semi-axis.
TEST_F(MoonView, RenderedPhaseMatchesTheAnalyticArea) {
    struct Row {
        Ymd date;
        double expectedShare;
    };
    const Row rows[] = {
        {{1997, 10, 16}, 0.5 + 149.6 / 300.0},  // near full: a lit ellipse over the dark half
        {{2000, 1, 7}, 0.5 - 148.9 / 300.0},    // thin crescent: a dark ellipse over the lit half
        {{1899, 12, 30}, 0.5 - 135.4 / 300.0},  // waning crescent
    };
    for (const Row& r : rows) {
        frmKV& f = startOn(r.date.year, r.date.month, r.date.day);
        SCOPED_TRACE(f.laYMD(0)->text().toStdString());
        const QImage shown = f.picM->image();
        EXPECT_NEAR(litPixels(shown).total / discPixels(shown), r.expectedShare, 0.03);
        const QImage fine = f.picM->render(QSize(800, 800));
        EXPECT_NEAR(litPixels(fine).total / discPixels(fine), r.expectedShare, 0.005);
    }
}

TEST_F(MoonView, CrescentsAreLitOnTheirSide) {
    for (bool waxing : {true, false}) {
        frmKV& f = waxing ? startOn(2000, 1, 7) : startOn(1899, 12, 30);
        for (const QImage& image : {f.picM->image(), f.picM->render(QSize(800, 800))}) {
            const LitPixels lit = litPixels(image);
            EXPECT_GT(lit.total, 0.0);
            EXPECT_LT(waxing ? lit.left : lit.right, 0.01 * lit.total);
        }
    }
}

TEST_F(MoonView, ClickExplainsThePictureWithTheTwiceRoundedAge) {
    frmKV& f = startOn(1997, 10, 16);
    f.moonAge = 24.15f;  // 24.1499996...: the caption says 24.15, its re-rounding 24.2
    f.moond2();
    ASSERT_EQ(f.laBT->text(), QStringLiteral("24.15"));
    f.picM_Click();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    const ShownBox& box = dialogs->shown[0];
    EXPECT_EQ(box.title, QStringLiteral("月相の表示です！"));
    EXPECT_EQ(box.text, QStringLiteral("フォーカスがある年月日の月相です。\r\n"
                                       "旧暦年月日の月相ではありません！\r\n"
                                       "\u3000\u3000\u3000\u300024.2"));
    EXPECT_EQ(box.buttons, Buttons::OK);
    EXPECT_EQ(box.icon, Icon::None);
}

TEST_F(MoonView, ClickOnThePictureWidgetShowsTheBox) {
    frmKV& f = startOn(2000, 1, 7);
    emit f.picM->clicked();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_TRUE(dialogs->shown[0].text.endsWith(QStringLiteral("\u3000\u3000\u3000\u3000.6")));
}

TEST_F(MoonView, WorkBoxSwitchesPictureAndBackground) {
    frmKV& f = startOn(1997, 10, 16);
    const auto background = [](QWidget* w) { return w->palette().color(QPalette::Window); };
    f.modified = 0;

    f.ckBS->click();  // tick
    EXPECT_EQ(f.modified, 1);
    EXPECT_EQ(f.backColor, f.defaultBackColor);
    EXPECT_TRUE(f.picM->isHidden());
    for (QWidget* w : {static_cast<QWidget*>(&f), static_cast<QWidget*>(f.ckST), static_cast<QWidget*>(f.ckBS)})
        EXPECT_EQ(background(w), toQColor(f.defaultBackColor)) << w->objectName().toStdString();

    f.modified = 0;
    f.ckBS->click();  // untick
    EXPECT_EQ(f.modified, 1);
    EXPECT_EQ(f.backColor, f.customBackColor);
    EXPECT_FALSE(f.picM->isHidden());
    for (QWidget* w : {static_cast<QWidget*>(&f), static_cast<QWidget*>(f.ckST), static_cast<QWidget*>(f.ckBS)})
        EXPECT_EQ(background(w), toQColor(16777152)) << w->objectName().toStdString();
}

// While the picture is off the age is still computed and drawn into the kept image,
// so switching it on again shows the current phase at once.
TEST_F(MoonView, HiddenPictureKeepsUpWithTheDate) {
    frmKV& f = startOn(1997, 10, 16);
    f.ckBS->click();
    f.panelDate[0] = fromYmd(2000, 1, 7);
    f.setDate();
    f.drwMoon3();
    EXPECT_EQ(f.laBT->text(), QStringLiteral(".57"));
    f.ckBS->click();
    const QImage shown = f.picM->image();
    EXPECT_NEAR(litPixels(shown).total / discPixels(shown), 0.5 - 148.9 / 300.0, 0.03);
}

}  // namespace
}  // namespace kalvo::test
