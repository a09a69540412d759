// Clicks at pixel positions of the shown window, routed by the window system's way of
// finding the widget under the pointer, and sizes that come from the event file.
#include "core/moon/moon_age.h"
#include "support/event_support.h"
#include "window/ui/moon_picture.h"

#include <QTest>
#include <QWindow>

namespace kalvo::test {
namespace {

class ClickTest : public EventWindowTest {
protected:
    frmKV& startShown() {
        frmKV& f = start();
        f.show();
        return f;
    }
    // A click where the user points, in client coordinates: the widget that gets it is
    // whichever lies on top there.
    void clickAt(QPoint at) { QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, at); }
    // The window's close box.
    void closeBox() { form->windowHandle()->close(); }
    bool moonBoxShown() const {
        return std::any_of(dialogs->shown.begin(), dialogs->shown.end(),
                           [](const ShownBox& b) { return b.title == QStringLiteral("月相の表示です！"); });
    }
    void startFrom(const std::string& line3, const std::string& line4 = " 0 ") {
        writeFile(cp932Lines(eventLines(line3, line4, {"誕生日 @2001/2/3"})));
        startShown();
        dialogs->shown.clear();
    }
    std::string line(int number) const {
        const QList<QByteArray> lines = fileBytes().split('\n');
        return number <= lines.size() ? lines[number - 1].trimmed().toStdString() : std::string();
    }
};

// The strip lies over the picture's left edge (x 1 to 23) and takes every click there,
// the picture keeps the rest of its square (x 11 to 90), in the full window and the tile.
TEST_F(ClickTest, StripOverThePictureEdgeTakesItsClicksThePictureTheRest) {
    frmKV& f = startShown();
    for (short size : {0, 4}) {
        SCOPED_TRACE(size);
        f.sizeMode = size;
        f.applySizeMode();
        std::vector<QPoint> strip = {{5, 60}, {12, 25}, {18, 60}, {23, 98}};
        if (size == 0) strip.push_back({18, 104});  // below the picture, past the tile's edge
        for (const QPoint at : strip) {
            SCOPED_TRACE(at.x());
            const short before = f.sizeMode;
            dialogs->shown.clear();
            clickAt(at);
            EXPECT_EQ(f.sizeMode, before == 4 ? 0 : 4);
            EXPECT_FALSE(moonBoxShown());
            f.sizeMode = before;
            f.applySizeMode();
        }
        for (const QPoint at : {QPoint(24, 60), QPoint(50, 30), QPoint(89, 98)}) {
            SCOPED_TRACE(at.x());
            dialogs->shown.clear();
            clickAt(at);
            EXPECT_EQ(f.sizeMode, size);
            EXPECT_TRUE(moonBoxShown());
        }
    }
}

// Picking an era in the panel that is not highlighted moves the focus slot but leaves
// the highlight; a click on the highlighted panel's background draws both again.
TEST_F(ClickTest, ClickOnTheHighlightedPanelRedrawsHighlightAndMoon) {
    frmKV& f = startShown();
    f.panelDate[0] = fromYmd(2003, 9, 14);
    f.curPanel = 0;
    f.setDate();
    f.showFocus();
    f.selectNG(1, 2);  // 昭和 in the lower panel
    ASSERT_EQ(f.curPanel, 1);
    ASSERT_EQ(f.panelActive[0], 1);
    ASSERT_EQ(f.laYMD(0)->text(), QStringLiteral("1926/12/25"));
    const float lowerAge = f.moonAge;

    clickAt({300, 10});  // the upper panel's background, right of the era box
    EXPECT_EQ(f.curPanel, 0);
    EXPECT_EQ(f.panelActive[0], 1);
    EXPECT_EQ(f.panelActive[1], 0);
    EXPECT_EQ(f.laYer(0)->palette().color(QPalette::WindowText), toQColor(8388608));
    EXPECT_EQ(f.laYer(1)->palette().color(QPalette::WindowText), toQColor(8421504));
    EXPECT_EQ(f.laYMD(0)->text(), QStringLiteral("2003/9/14"));
    EXPECT_NE(f.moonAge, lowerAge);
    EXPECT_EQ(f.laBT->text(), QString::fromStdString(formatDecimals(f.moonAge, 2)));
}

TEST_F(ClickTest, StoredTileStartsBlackWithTheYellowDate) {
    startFrom("1200,1500,4,2");
    frmKV& f = *form;
    EXPECT_EQ(f.sizeMode, 4);
    EXPECT_EQ(f.size(), QSize(106, 100));
    EXPECT_EQ(f.palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(f.laYMD(0)->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    EXPECT_EQ(f.laYMD(0)->text(), QStringLiteral("2026/12/7"));
    EXPECT_EQ(f.curPanel, 0);
    EXPECT_TRUE(f.picM->isVisible());
}

// A size outside the five starts the full window and is stored back as 0 once the
// file is written.
TEST_F(ClickTest, StoredSizeSevenStartsFullAndIsStoredAsZero) {
    startFrom("1200,1500,7,2");
    frmKV& f = *form;
    EXPECT_EQ(f.sizeMode, 0);
    EXPECT_EQ(f.size(), QSize(479, 222));
    EXPECT_EQ(f.modified, 0);
    f.ckST->click();
    closeBox();
    EXPECT_EQ(line(3), "1200,1500,0,2");
}

TEST_F(ClickTest, CloseBoxAfterAChangeWritesWithoutAsking) {
    startFrom("1200,1500,0,2");
    ASSERT_EQ(form->saveSilently, 0);
    form->ckST->click();
    ASSERT_EQ(form->modified, 1);
    closeBox();
    EXPECT_TRUE(form->unloaded);
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(line(4), "1");
}

// A caption click chooses a size without marking a change: closing leaves the file as
// it was, byte for byte; with another change the chosen size is stored too.
TEST_F(ClickTest, SizeFromACaptionAloneIsNotSaved) {
    startFrom("1200,1500,0,2");
    const QByteArray before = fileBytes();
    clickAt(form->laZL(8)->geometry().center());  // "年 + (歳)"
    ASSERT_EQ(form->sizeMode, 1);
    EXPECT_EQ(form->modified, 0);
    closeBox();
    ASSERT_TRUE(form->unloaded);
    EXPECT_EQ(fileBytes(), before);

    startShown();
    clickAt(form->laZL(8)->geometry().center());
    form->ckST->click();
    closeBox();
    EXPECT_EQ(line(3), "1200,1500,1,2");
}

}  // namespace
}  // namespace kalvo::test
