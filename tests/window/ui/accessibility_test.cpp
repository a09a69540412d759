// What a screen reader gets from the real window: values in the labels' names and
// texts, combos under their own names, press actions, and the moon picture by keyboard.
#include "support/window_fixture.h"
#include "window/ui/moon_picture.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace kalvo::test {
namespace {

class Accessibility : public WindowTest {
protected:
    static QAccessibleInterface* of(QObject* o) { return QAccessible::queryAccessibleInterface(o); }
    static QString textOf(QAccessibleInterface* iface) {
        QAccessibleTextInterface* text = iface->textInterface();
        return text ? text->text(0, text->characterCount()) : QStringLiteral("<no text interface>");
    }
    static bool canPress(QAccessibleInterface* iface) {
        return iface->actionInterface() &&
               iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction());
    }
};

TEST_F(Accessibility, ValueLabelsCarryTheirValueInNameAndText) {
    frmKV& f = start();
    f.panelDate[0] = fromYmd(2003, 9, 14);
    f.curPanel = 0;
    f.setDate();
    struct Case {
        ClickLabel* label;
        QString name;
        QString text;
    };
    for (const Case& c : {Case{f.laYer(0), QStringLiteral("上段 西暦年 2003"), QStringLiteral("2003")},
                          Case{f.laMon(0), QStringLiteral("上段 月 9"), QStringLiteral("9")},
                          Case{f.laDay(0), QStringLiteral("上段 日 14"), QStringLiteral("14")},
                          Case{f.laYB(0), QStringLiteral("上段 曜日 日"), QStringLiteral("日")},
                          Case{f.laNen(0), QStringLiteral("上段 年号の年 15"), QStringLiteral("15")},
                          Case{f.laDD(1), QStringLiteral("日数 ") + f.laDD(1)->text(), f.laDD(1)->text()},
                          // A caption is its own name; a label with no text is named alone.
                          Case{f.laZL(13), QStringLiteral("日数="), QStringLiteral("日数=")},
                          Case{f.laOB2(0), QStringLiteral("上段 日付パネル"), QString()}}) {
        SCOPED_TRACE(c.label->objectName().toStdString());
        QAccessibleInterface* iface = of(c.label);
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->role(), QAccessible::StaticText);
        EXPECT_EQ(iface->text(QAccessible::Name), c.name);
        EXPECT_EQ(textOf(iface), c.text);
    }
}

TEST_F(Accessibility, TheNameFollowsANewValue) {
    frmKV& f = start();
    f.panelDate[0] = fromYmd(2003, 9, 14);
    f.curPanel = 0;
    f.setDate();
    QAccessibleInterface* day = of(f.laDay(0));
    ASSERT_EQ(day->text(QAccessible::Name), QStringLiteral("上段 日 14"));
    f.btBB_Click(1);  // one day on
    EXPECT_EQ(day->text(QAccessible::Name), QStringLiteral("上段 日 15"));
    EXPECT_EQ(textOf(day), QStringLiteral("15"));
}

TEST_F(Accessibility, CombosAreNamedByTheirOwnNamesAndCaptions) {
    frmKV& f = start();
    for (int panel : {0, 1}) {
        QAccessibleInterface* combo = of(f.cobNG(panel));
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->role(), QAccessible::ComboBox);
        EXPECT_EQ(combo->text(QAccessible::Name),
                  panel == 0 ? QStringLiteral("上段 年号") : QStringLiteral("下段 年号"));
        EXPECT_EQ(combo->text(QAccessible::Value), f.cobNG(panel)->currentText());
        // The edit field is a child, and finds its way back to the combo.
        ASSERT_EQ(combo->childCount(), 2);
        QAccessibleInterface* edit = combo->child(1);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->object(), f.cobNG(panel)->lineEdit());
        EXPECT_EQ(combo->indexOfChild(edit), 1);
        EXPECT_EQ(edit->parent(), combo);
        EXPECT_EQ(textOf(edit), f.cobNG(panel)->currentText());
    }
    // The event list is labelled by its caption "何の日？".
    QAccessibleInterface* events = of(f.cobEV);
    EXPECT_EQ(events->text(QAccessible::Name), QStringLiteral("何の日？"));
    const auto labels = events->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front().first->object(), f.laZL(14));
}

TEST_F(Accessibility, PressingALabelIsAClick) {
    frmKV& f = start();
    EXPECT_EQ(f.curPanel, 0);
    QAccessibleInterface* lower = of(f.laOB2(1));
    ASSERT_TRUE(canPress(lower));
    lower->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(f.curPanel, 1);

    ASSERT_TRUE(canPress(of(f.laMAX)));
    of(f.laMAX)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(f.sizeMode, 4);
    ASSERT_TRUE(canPress(of(f.laZL(14))));
    of(f.laZL(14))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(f.sizeMode, 0);
    // Value labels take no clicks and offer no press.
    EXPECT_FALSE(canPress(of(f.laYer(0))));
    EXPECT_FALSE(canPress(of(f.laDD(1))));
}

// The moon picture in an active window, reached by Tab from btBB(4): tab 47 lies between
// btBB(4) (tab 17) and btINFO (tab 49), and every tab in between is a label.
class MoonPictureAccess : public Accessibility {
protected:
    frmKV* f = nullptr;
    void SetUp() override {
        f = &start();
        f->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
        QApplication::setActiveWindow(f);
        ASSERT_TRUE(QTest::qWaitForWindowActive(f));
        f->btBB(4)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(f->btBB(4), Qt::Key_Tab);
        dialogs->shown.clear();
    }
    // The explanation boxes of the picture shown so far.
    long boxes() const {
        return std::count_if(dialogs->shown.begin(), dialogs->shown.end(),
                             [](const ShownBox& b) { return b.title == QStringLiteral("月相の表示です！"); });
    }
};

TEST_F(MoonPictureAccess, IsReachedByTabAndLeftByTab) {
    ASSERT_EQ(QApplication::focusWidget(), f->picM);
    QTest::keyClick(f->picM, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), f->btINFO);
}

TEST_F(MoonPictureAccess, SpaceOrEnterOpensItsBox) {
    ASSERT_EQ(QApplication::focusWidget(), f->picM);
    QTest::keyClick(f->picM, Qt::Key_Space);
    EXPECT_EQ(boxes(), 1);
    QTest::keyClick(f->picM, Qt::Key_Return);
    EXPECT_EQ(boxes(), 2);
    QTest::keyClick(f->picM, Qt::Key_A);
    EXPECT_EQ(boxes(), 2);
    // The focus frame is drawn over the picture, not into the moon's own image.
    EXPECT_EQ(f->picM->image(), f->picM->render(f->picM->image().size()));
}

TEST_F(MoonPictureAccess, AScreenReaderPressOpensItsBox) {
    QAccessibleInterface* picture = of(f->picM);
    EXPECT_EQ(picture->role(), QAccessible::Graphic);
    EXPECT_TRUE(picture->state().focusable);
    ASSERT_TRUE(canPress(picture));
    picture->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(boxes(), 1);
}

// A click explains the picture without taking the focus.
TEST_F(MoonPictureAccess, AClickOpensItsBoxWithoutTakingTheFocus) {
    f->btBB(1)->setFocus(Qt::TabFocusReason);
    QTest::mouseClick(f->picM, Qt::LeftButton, {}, QPoint(60, 40));
    EXPECT_EQ(boxes(), 1);
    EXPECT_EQ(QApplication::focusWidget(), f->btBB(1));
}

}  // namespace
}  // namespace kalvo::test
