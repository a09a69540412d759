#include "support/window_fixture.h"

#include <QAccessible>
#include <QTest>

namespace kalvo::test {
namespace {

using WindowSize = WindowTest;

// Which controls a size shows whole, and that none is cut by the lower edge.
struct SizeCase {
    short mode;
    QSize client;
    std::vector<const char*> shown;   // wholly inside
    std::vector<const char*> hidden;  // wholly outside
};

TEST_F(WindowSize, EachSizeCutsBelowAWholeRow) {
    frmKV& f = start();
    const SizeCase cases[] = {
        {0, {479, 222}, {"frNSM", "ckBS", "laZL(12)", "btEV(4)", "cobEV", "btEND(1)", "picM"}, {}},
        {1, {479, 171}, {"cobEV", "btEND(0)", "laD", "laZL(14)", "laDD(1)"}, {"btEV(0)", "laZL(15)", "frNSM", "ckBS"}},
        {2, {479, 140}, {"ckST", "laZL(8)", "laDD(0)", "btEND(1)", "laDY(0)"}, {"cobEV", "btEND(0)", "laZL(14)"}},
        {3, {479, 111}, {"laYer(1)", "cobNG(1)", "laYB(1)", "picM", "btBB(28)"}, {"ckST", "laDD(1)", "btEND(1)"}},
        {4, {106, 100}, {"btSIZE", "laYMD(0)", "picM"}, {"cobNG(0)", "laOB2(0)", "btNG(0)", "btBB(27)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        f.sizeMode = c.mode;
        f.applySizeMode();
        EXPECT_EQ(f.size(), c.client);
        const QRect client = f.rect();
        for (const char* name : c.shown) {
            auto* w = f.findChild<QWidget*>(QString::fromUtf8(name));
            ASSERT_NE(w, nullptr) << name;
            EXPECT_TRUE(client.contains(w->geometry().translated(w->parentWidget()->mapTo(&f, QPoint(0, 0))))) << name;
        }
        for (const char* name : c.hidden) {
            auto* w = f.findChild<QWidget*>(QString::fromUtf8(name));
            ASSERT_NE(w, nullptr) << name;
            EXPECT_FALSE(client.intersects(w->geometry())) << name;
        }
        // No visible control with a face of its own straddles the lower edge.
        for (QWidget* w : f.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!w->isVisibleTo(&f) || w == f.laMAX) continue;
            const QRect g = w->geometry();
            if (g.left() > client.right()) continue;  // beside the tile, not under it
            EXPECT_FALSE(g.top() < client.bottom() && g.bottom() > client.bottom()) << w->objectName().toStdString();
        }
    }
}

TEST_F(WindowSize, SizeButtonCyclesAndMarksChange) {
    frmKV& f = start();
    ASSERT_EQ(f.sizeMode, 0);
    for (short expected : {1, 2, 3, 4, 0}) {
        f.modified = 0;
        f.btSIZE->click();
        EXPECT_EQ(f.sizeMode, expected);
        EXPECT_EQ(f.modified, 1);
    }
    EXPECT_EQ(f.size(), QSize(479, 222));
}

TEST_F(WindowSize, StripBesideMoonTogglesTile) {
    frmKV& f = start();
    for (short from : {0, 1, 2, 3, 4}) {
        f.sizeMode = from;
        f.applySizeMode();
        f.modified = 0;
        f.laMAX_Click();
        EXPECT_EQ(f.sizeMode, from == 4 ? 0 : 4) << from;
        EXPECT_EQ(f.modified, 1);
    }
}

TEST_F(WindowSize, DoubleClickOnStripTogglesOnce) {
    frmKV& f = start();
    f.show();
    // What the window system delivers for a double-click: press, release, press, the
    // double-click itself, release.
    const QPoint at(3, 3);
    QTest::mousePress(f.laMAX, Qt::LeftButton, {}, at);
    QTest::mouseRelease(f.laMAX, Qt::LeftButton, {}, at);
    QTest::mousePress(f.laMAX, Qt::LeftButton, {}, at);
    QTest::mouseDClick(f.laMAX, Qt::LeftButton, {}, at);
    QTest::mouseRelease(f.laMAX, Qt::LeftButton, {}, at);
    EXPECT_EQ(f.sizeMode, 4);
}

TEST_F(WindowSize, EnterPressesTheFocusedButton) {
    frmKV& f = start();
    f.show();
    f.btSIZE->setFocus();
    QTest::keyClick(f.btSIZE, Qt::Key_Return);
    EXPECT_EQ(f.sizeMode, 1);
}

TEST_F(WindowSize, TileFocusesUpperPanelAndGoesDark) {
    frmKV& f = start();
    f.selectPanel(1);
    ASSERT_EQ(f.curPanel, 1);
    f.sizeMode = 4;
    f.applySizeMode();
    EXPECT_EQ(f.curPanel, 0);
    EXPECT_EQ(f.panelActive[0], 1);
    EXPECT_EQ(f.laYMD(0)->text(), QString::fromStdString(toText(f.panelDate[0])));
    EXPECT_EQ(f.palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(f.laYMD(0)->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    f.sizeMode = 0;
    f.applySizeMode();
    EXPECT_EQ(f.palette().color(QPalette::Window), toQColor(f.backColor));
    EXPECT_EQ(f.laYMD(0)->palette().color(QPalette::WindowText), QColor(Qt::black));
}

TEST_F(WindowSize, CaptionLabelsChooseSizeWithoutMarkingChange) {
    frmKV& f = start();
    const std::pair<int, short> table[] = {{0, 2},  {3, 2},  {7, 2},  {8, 1},  {9, 1}, {10, 1},
                                           {11, 1}, {13, 1}, {12, 1}, {14, 0}, {15, 1}};
    for (auto [index, size] : table) {
        f.sizeMode = 3;
        f.modified = 0;
        f.laZL_Click(index);
        EXPECT_EQ(f.sizeMode, size) << index;
        EXPECT_EQ(f.modified, 0);
    }
    for (int outside : {-1, 16, 99}) {
        f.sizeMode = 3;
        f.applySizeMode();
        f.laZL_Click(outside);
        EXPECT_EQ(f.sizeMode, 3);
        EXPECT_EQ(f.height(), 111);
    }
}

TEST_F(WindowSize, SizeOutsideRangeFallsBackToFull) {
    frmKV& f = start();
    for (short bad : {7, -1, 5}) {
        f.sizeMode = bad;
        f.applySizeMode();
        EXPECT_EQ(f.sizeMode, 0);
        EXPECT_EQ(f.size(), QSize(479, 222));
    }
}

TEST_F(WindowSize, HelpAndVersionBoxes) {
    frmKV& f = start();
    dialogs->shown.clear();
    f.btHELP->click();
    f.btINFO->click();
    ASSERT_EQ(dialogs->shown.size(), 2u);
    EXPECT_EQ(dialogs->shown[0].title, QStringLiteral("簡易HELP"));
    EXPECT_EQ(dialogs->shown[0].text, QStringLiteral("・設定する日付エリアを切り替えたい時は、そのエリアの\r\n"
                                                     "\u3000日付パネルをクリックしてください。\r\n"
                                                     "・年号や数値は、＋,－ のボタンで設定してください。\r\n"
                                                     "・日数の計算結果は、絶対値で表示されます。"));
    EXPECT_EQ(dialogs->shown[0].icon, Icon::Information);
    EXPECT_EQ(dialogs->shown[0].buttons, Buttons::OK);
    EXPECT_EQ(dialogs->shown[1].title, QStringLiteral("Version Information"));
    EXPECT_EQ(dialogs->shown[1].text, QStringLiteral("Kalvo Ver.2.16"));
    EXPECT_EQ(dialogs->shown[1].icon, Icon::Information);
}

TEST_F(WindowSize, ScreenReaderReadsValuesUnderTheirNames) {
    frmKV& f = start();
    f.panelDate[0] = fromYmd(2003, 9, 14);
    f.curPanel = 0;
    f.setDate();
    QAccessibleInterface* year = QAccessible::queryAccessibleInterface(f.laYer(0));
    ASSERT_NE(year, nullptr);
    // The name carries the value: Qt's Linux bridge sends no value for a label.
    EXPECT_EQ(year->text(QAccessible::Name), QStringLiteral("上段 西暦年 2003"));
    EXPECT_EQ(year->text(QAccessible::Value), QStringLiteral("2003"));
    QAccessibleInterface* days = QAccessible::queryAccessibleInterface(f.laDD(1));
    EXPECT_EQ(days->text(QAccessible::Name), QStringLiteral("日数 ") + f.laDD(1)->text());
    EXPECT_EQ(days->text(QAccessible::Value), f.laDD(1)->text());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(f.laZL(14))->text(QAccessible::Name), QStringLiteral("何の日？"));
    EXPECT_EQ(f.btBB(27)->accessibleName(), QStringLiteral("年 +50"));
    EXPECT_EQ(f.btSIZE->accessibleName(), QStringLiteral("窓のサイズ"));
    for (QWidget* w : f.findChildren<QWidget*>())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")) && w->parentWidget() == &f)
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
}

TEST_F(WindowSize, CheckBoxesAndOptionsAreInTheTabChain) {
    frmKV& f = start();
    std::vector<QWidget*> chain;
    QWidget* w = f.btBB(1);
    for (int i = 0; i < 200 && (chain.empty() || w != f.btBB(1)); ++i, w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus) chain.push_back(w);
    const auto at = [&](QWidget* x) { return std::find(chain.begin(), chain.end(), x) - chain.begin(); };
    for (QWidget* x : {static_cast<QWidget*>(f.ckST), static_cast<QWidget*>(f.ckBS), static_cast<QWidget*>(f.opNS(0)),
                       static_cast<QWidget*>(f.opNS(1)), static_cast<QWidget*>(f.opNS(2))})
        EXPECT_LT(at(x), static_cast<long>(chain.size())) << x->objectName().toStdString();
    EXPECT_LT(at(f.ckST), at(f.opNS(0)));
    EXPECT_LT(at(f.opNS(0)), at(f.opNS(1)));
    EXPECT_LT(at(f.opNS(1)), at(f.opNS(2)));
    EXPECT_LT(at(f.opNS(2)), at(f.ckBS));
}

}  // namespace
}  // namespace kalvo::test
