#include "app/control_table.h"
#include "moon/moon_picture.h"
#include "support/window_fixture.h"

#include <QApplication>
#include <QFontInfo>
#include <QTest>
#include <QWindow>
#include <set>
#include <string>

namespace kalvo::test {
namespace {

TEST(LayoutTable, EveryControlFitsTheClientAreaAndNamesAreUnique) {
    std::set<std::pair<std::string, int>> seen;
    std::set<int> tabs;
    int lowest = 0;
    std::string lowestName;
    for (const ControlSpec& c : controlTable()) {
        EXPECT_TRUE(seen.insert({c.name, c.index}).second) << c.name << "(" << c.index << ")";
        EXPECT_TRUE(tabs.insert(c.tab).second) << "tab " << c.tab;
        if (c.container) continue;
        EXPECT_LE(c.left + c.width, kClientWidthTwips + 100) << c.name;
        EXPECT_LE(c.top + c.height, kClientHeightTwips) << c.name;
        if (c.top + c.height > lowest) {
            lowest = c.top + c.height;
            lowestName = c.name;
        }
    }
    EXPECT_EQ(lowest, 3240);
    EXPECT_EQ(lowestName, "frNSM");
}

TEST(LayoutFonts, DesignFacesFallBackToMetricCompatibleOnes) {
    struct Case {
        Face face;
        const char* family;
    };
    for (const Case& c : {Case{Face::Gothic, "IPAGothic"}, Case{Face::PGothic, "IPAPGothic"},
                          Case{Face::Arial, "Liberation Sans"}, Case{Face::ArialNarrow, "Liberation Sans Narrow"}}) {
        const QFont font = makeFont({c.face, 9, false});
        EXPECT_EQ(QFontInfo(font).family(), QString::fromUtf8(c.family));
        EXPECT_EQ(font.pixelSize(), 12);
    }
    EXPECT_EQ(makeFont({Face::Arial, 15.75, false}).pixelSize(), 21);
}

using WindowLayout = WindowTest;

TEST_F(WindowLayout, ControlsStandAtTheirPlacesWithTheirCaptions) {
    frmKV& f = start();
    EXPECT_EQ(f.btBB(27)->geometry(), QRect(190, 38, 28, 19));
    EXPECT_EQ(f.btBB(27)->text(), QStringLiteral("+50"));
    EXPECT_EQ(f.btEV(0)->text(), QStringLiteral("下段の初期表示に設定"));
    EXPECT_EQ(f.btEV(0)->toolTip(), QStringLiteral("表示されている設定を、起動時に下段にセットするようにします。"));
    EXPECT_EQ(f.laZL(12)->text(), QStringLiteral("南北朝時代設定："));
    EXPECT_EQ(f.laZL(8)->text(), QStringLiteral("年 + (歳)"));
    EXPECT_EQ(f.ckST->text(), QStringLiteral("起算日含む"));
    EXPECT_EQ(f.opNS(2)->text(), QStringLiteral("ミニ"));
    EXPECT_EQ(f.opNS(0)->parentWidget(), f.frNSM);
    EXPECT_EQ(f.opNS(0)->geometry(), QRect(10, 2, 47, 16));
    EXPECT_EQ(f.picM->geometry(), QRect(11, 20, 80, 80));
    EXPECT_EQ(f.laD->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(f.laYer(0)->palette().color(QPalette::Window), QColor(255, 255, 128));
    EXPECT_EQ(f.cobEV->palette().color(QPalette::Base), QColor(0, 0, 0));
    EXPECT_EQ(f.cobEV->palette().color(QPalette::Text), QColor(255, 255, 255));
    EXPECT_FALSE(f.laTest->isVisibleTo(&f));
    EXPECT_FALSE(f.laBT->isVisibleTo(&f));
    EXPECT_EQ(f.btBB.size(), 16);
    EXPECT_EQ(f.laZL.size(), 16);
}

TEST_F(WindowLayout, AccessKeysPressTheirButtons) {
    frmKV& f = start();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QApplication::setActiveWindow(&f);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    int pressed = 0;
    QObject::connect(f.btEND(1), &QPushButton::clicked, [&] { ++pressed; });
    f.modified = 1;
    f.saveSilently = 0;
    dialogs->answers = {Answer::Cancel};
    QTest::keyClick(f.windowHandle(), Qt::Key_Q, Qt::AltModifier);
    // A mnemonic shows the button pressed for a moment before it clicks.
    for (int i = 0; i < 40 && pressed == 0; ++i) QTest::qWait(50);
    EXPECT_EQ(pressed, 1);
    EXPECT_EQ(f.btSIZE->shortcut(), QKeySequence(Qt::ALT | Qt::Key_W));
}

TEST_F(WindowLayout, TabOrderFollowsTheTable) {
    frmKV& f = start();
    // +/- day buttons come first, then the end button, the help button, the era steps.
    EXPECT_EQ(f.btBB(1)->nextInFocusChain(), f.btBB(3));
    QWidget* w = f.btBB(3)->nextInFocusChain();
    EXPECT_EQ(w, f.btEND(0));
    EXPECT_EQ(w->nextInFocusChain(), f.btHELP);
}

}  // namespace
}  // namespace kalvo::test
