#include "support/window_fixture.h"
#include "window/ui/layout.h"

#include <QCloseEvent>
#include <QTest>

namespace kalvo::test {
namespace {

using WindowShell = WindowTest;

TEST_F(WindowShell, CaptionAndClientArea) {
    frmKV& f = start();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Kalvo         Ver.2.16"));
    EXPECT_EQ(f.zVER, QStringLiteral("Ver.2.16"));
    EXPECT_EQ(f.eventFileName, QStringLiteral("kalvoe.dat"));
    EXPECT_EQ(f.width(), 479);  // 7185 twips
    // No stored position on a first start: the client area stands at 885, 1440 twips.
    EXPECT_EQ(f.geometry().topLeft(), QPoint(59, 96));
    // A fixed size: minimize and close in the title bar, no maximize.
    EXPECT_TRUE(f.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(f.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(f.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(WindowShell, BothPanelsShowTheirDateAndWeekday) {
    frmKV& f = start();
    struct Case {
        int panel;
        Serial date;
        const char *year, *month, *day, *weekday;
    };
    const Case cases[] = {
        {0, 0, "1899", "12", "30", "土"},
        {1, fromYmd(2003, 9, 14), "2003", "9", "14", "日"},
        {0, fromYmd(1997, 10, 16), "1997", "10", "16", "木"},
        {1, kMaxSerial, "9999", "12", "31", "金"},
    };
    for (const auto& c : cases) {
        f.curPanel = static_cast<short>(c.panel);
        f.panelDate[c.panel] = c.date;
        f.setDate();
        EXPECT_EQ(f.laYer(c.panel)->text(), QString::fromUtf8(c.year));
        EXPECT_EQ(f.laMon(c.panel)->text(), QString::fromUtf8(c.month));
        EXPECT_EQ(f.laDay(c.panel)->text(), QString::fromUtf8(c.day));
        EXPECT_EQ(f.laYB(c.panel)->text(), QString::fromUtf8(c.weekday));
        EXPECT_EQ(f.weekdayName, QString::fromUtf8(c.weekday));
    }
}

TEST_F(WindowShell, SpanFollowsBothSlotsWhicheverIsFocused) {
    frmKV& f = start();
    f.panelDate[0] = fromYmd(2003, 3, 10);
    f.panelDate[1] = fromYmd(2003, 1, 20);
    f.curPanel = 1;
    f.setDate();
    EXPECT_EQ(f.laDD(1)->text(), QStringLiteral("49"));
    EXPECT_EQ(f.laDY(0)->text(), QStringLiteral("0"));
    EXPECT_EQ(f.laDM(0)->text(), QStringLiteral("1"));
    EXPECT_EQ(f.laDD(0)->text(), QStringLiteral("18"));
}

TEST_F(WindowShell, ClickOnPanelBackgroundMovesTheFocus) {
    frmKV& f = start();
    f.show();
    ASSERT_EQ(f.curPanel, 0);
    const QColor blue = toQColor(8388608);
    const QColor grey = toQColor(8421504);
    QTest::mouseClick(f.laOB2(1), Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_EQ(f.curPanel, 1);
    EXPECT_EQ(f.panelActive[0], 0);
    EXPECT_EQ(f.panelActive[1], 1);
    EXPECT_EQ(f.laYer(1)->palette().color(QPalette::WindowText), blue);
    EXPECT_EQ(f.laYer(0)->palette().color(QPalette::WindowText), grey);
    EXPECT_EQ(f.laYMD(0)->text(), QString::fromStdString(toText(f.panelDate[1])));
    QTest::mouseClick(f.laOB2(0), Qt::LeftButton, {}, QPoint(250, 5));
    EXPECT_EQ(f.curPanel, 0);
    EXPECT_EQ(f.laYB(0)->palette().color(QPalette::WindowText), blue);
    EXPECT_EQ(f.laYB(1)->palette().color(QPalette::WindowText), grey);
}

TEST_F(WindowShell, StartDayBoxChangesTotalByOneAndMarksChange) {
    frmKV& f = start();
    f.panelDate[0] = fromYmd(2003, 1, 1);
    f.panelDate[1] = fromYmd(2003, 12, 31);
    f.curPanel = 0;
    f.setDate();
    f.modified = 0;
    EXPECT_EQ(f.laDD(1)->text(), QStringLiteral("364"));
    f.show();
    QTest::mouseClick(f.ckST, Qt::LeftButton, {}, QPoint(5, f.ckST->height() / 2));
    EXPECT_TRUE(f.ckST->isChecked());
    EXPECT_EQ(f.modified, 1);
    EXPECT_EQ(f.laDD(1)->text(), QStringLiteral("365"));
    EXPECT_EQ(f.laDY(0)->text(), QStringLiteral("1"));
    f.ckST->setChecked(false);
    f.ckST_Click();
    EXPECT_EQ(f.laDD(1)->text(), QStringLiteral("364"));
}

TEST_F(WindowShell, PlusMinusButtonsMoveTheHighlightedPanel) {
    frmKV& f = start();
    f.modified = 0;  // the first start's default event list is not the point here
    f.panelDate[1] = fromYmd(2003, 1, 31);
    f.selectPanel(1);
    f.curPanel = 0;  // a stale focus slot: the highlight decides
    const Serial upper = f.panelDate[0];
    f.btBB(11)->click();
    EXPECT_EQ(f.curPanel, 1);
    EXPECT_EQ(toYmd(f.panelDate[1]), (Ymd{2003, 2, 28}));
    EXPECT_EQ(f.laDay(1)->text(), QStringLiteral("28"));
    f.btBB(13)->click();
    EXPECT_EQ(toYmd(f.panelDate[1]), (Ymd{2003, 1, 28}));
    EXPECT_EQ(f.panelDate[0], upper);
    EXPECT_EQ(f.modified, 0);
}

TEST_F(WindowShell, RefusedStepChangesNothing) {
    frmKV& f = start();
    f.panelDate[0] = kMinSerial;
    f.selectPanel(0);
    f.setDate();
    const QString shown = f.laDay(0)->text();
    f.btBB_Click(3);
    EXPECT_EQ(f.panelDate[0], static_cast<Serial>(kMinSerial));
    EXPECT_EQ(f.laDay(0)->text(), shown);
    EXPECT_TRUE(dialogs->shown.empty() || dialogs->shown.back().title != QStringLiteral("エラー"));
}

// The end button asks only when something changed and the program did not create the
// content itself; the three answers save, discard, or keep the program running.
struct EndCase {
    short modified, silently;
    std::optional<Answer> answer;
    bool asked, unloaded;
    short modifiedAfter;
};

TEST_F(WindowShell, EndQuestionAnswers) {
    const EndCase cases[] = {
        {0, 0, std::nullopt, false, true, 0},   {1, 1, std::nullopt, false, true, 1},
        {1, 0, Answer::Yes, true, true, 1},     {1, 0, Answer::No, true, true, 0},
        {1, 0, Answer::Cancel, true, false, 1},
    };
    for (const auto& c : cases) {
        dialogs->shown.clear();
        frmKV& f = start();
        f.modified = c.modified;
        f.saveSilently = c.silently;
        f.eventFileName = QStringLiteral("no/such/folder/kalvoe.dat");  // keep the test folder clean
        if (c.answer) dialogs->answers.push_back(*c.answer);
        const size_t before = dialogs->shown.size();
        f.btEND_Click(0);
        // The save itself may report a write error into the missing folder: only the
        // end question counts here.
        const bool asked = std::any_of(dialogs->shown.begin() + static_cast<long>(before), dialogs->shown.end(),
                                       [](const ShownBox& b) { return b.title == QStringLiteral("終了"); });
        ASSERT_EQ(asked, c.asked);
        if (c.asked) {
            const ShownBox& box = dialogs->shown[before];
            EXPECT_EQ(box.text, QStringLiteral("変更を保存しますか？\r\n[ｷｬﾝｾﾙ]で Kalvoに戻れます。"));
            EXPECT_EQ(box.title, QStringLiteral("終了"));
            EXPECT_EQ(box.buttons, Buttons::YesNoCancel);
            EXPECT_EQ(box.icon, Icon::None);
        }
        EXPECT_EQ(f.unloaded, c.unloaded);
        if (c.answer == Answer::No || c.answer == Answer::Cancel) EXPECT_EQ(f.modified, c.modifiedAfter);
        dialogs->answers.clear();
    }
}

TEST_F(WindowShell, CancelledEndThenAskedAgain) {
    frmKV& f = start();
    f.modified = 1;
    f.saveSilently = 0;
    dialogs->answers = {Answer::Cancel, Answer::No};
    const size_t before = dialogs->shown.size();
    f.btEND_Click(1);
    EXPECT_FALSE(f.unloaded);
    f.btEND_Click(1);
    EXPECT_EQ(dialogs->shown.size(), before + 2);
    EXPECT_TRUE(f.unloaded);
}

TEST_F(WindowShell, UnloadRunsOnceWhicheverWayTheWindowCloses) {
    frmKV& f = start();
    f.show();
    f.close();
    EXPECT_TRUE(f.unloaded);
    int cancel = 0;
    f.Form_Unload(cancel);  // a second request does nothing more
    EXPECT_TRUE(f.unloaded);
}

}  // namespace
}  // namespace kalvo::test
