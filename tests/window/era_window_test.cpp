// The built-in table in the window: conversion of both panels, the era combo boxes,
// the era step buttons, and the +/- buttons around them.
#include "era_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

namespace kalvo::test {
namespace {

TEST_F(EraWindowTest, StartUpListsTheBuiltInTableAndShowsReiwa) {
    start();
    EXPECT_EQ(form->nCM, 41);
    EXPECT_EQ(form->laTest->text(), QStringLiteral("1/0"));
    for (int panel = 0; panel < 2; ++panel) {
        const QStringList names = listed(panel);
        ASSERT_EQ(names.size(), 41);
        EXPECT_EQ(names.front(), QStringLiteral("令和"));
        EXPECT_EQ(names[1], QStringLiteral("平成"));
        EXPECT_EQ(names.back(), QStringLiteral("慶長"));
        EXPECT_FALSE(names.contains(QStringLiteral("#")));
    }
    EXPECT_EQ(eraText(0), QStringLiteral("令和"));
    EXPECT_EQ(yearText(0), QStringLiteral("8"));
    EXPECT_EQ(hint(0), QStringLiteral("れいわ"));
    EXPECT_EQ(form->eraReading[42], QStringLiteral("#"));
}

struct BoundaryCase {
    Ymd date;
    const char* era;  // "" for no era
    const char* year;
    const char* hint;
};

TEST_F(EraWindowTest, EraBoundariesInBothPanels) {
    const BoundaryCase cases[] = {
        {{2019, 4, 30}, "平成", "31", "へいせい"},
        {{2019, 5, 1}, "令和", "元", "れいわ"},
        {{2026, 12, 7}, "令和", "8", "れいわ"},
        {{2030, 6, 1}, "令和", "12", "れいわ"},
        {{1989, 1, 7}, "昭和", "64", "しょうわ"},
        {{1989, 1, 8}, "平成", "元", "へいせい"},
        {{1990, 1, 1}, "平成", "2", "へいせい"},
        {{1926, 12, 24}, "大正", "15", "たいしょう"},
        {{1926, 12, 25}, "昭和", "元", "しょうわ"},
        {{1868, 10, 22}, "慶応", "4", "けいおう"},
        {{1868, 10, 23}, "明治", "元", "めいじ"},
        {{2019, 12, 31}, "令和", "元", "れいわ"},
        {{2020, 1, 1}, "令和", "2", "れいわ"},
        {{1596, 12, 16}, "慶長", "元", "けいちょう"},
        {{1596, 12, 15}, "", "", "#"},
        {{1593, 1, 10}, "", "", "#"},
        {{100, 1, 1}, "", "", "#"},
        {{9999, 12, 31}, "令和", "7981", "れいわ"},
    };
    start();
    for (int panel = 0; panel < 2; ++panel) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << "panel " << panel << " " << c.date.year << "-" << c.date.month << "-" << c.date.day);
            show(panel, c.date.year, c.date.month, c.date.day);
            EXPECT_EQ(eraText(panel), QString::fromUtf8(c.era));
            EXPECT_EQ(yearText(panel), QString::fromUtf8(c.year));
            EXPECT_EQ(hint(panel), QString::fromUtf8(c.hint));
            EXPECT_EQ(dateOf(panel), c.date);  // showing never moves the date
        }
    }
    show(0, 1596, 12, 15);
    EXPECT_EQ(form->cobNG(0)->currentIndex(), -1);
    EXPECT_EQ(form->eraIndex, 42);
}

TEST_F(EraWindowTest, ChoosingAnEraMovesThatPanelToItsFirstDay) {
    start();
    show(0, 2000, 1, 1);
    choose(1, 4);  // 明治
    EXPECT_EQ(form->curPanel, 1);
    EXPECT_EQ(dateOf(1), (Ymd{1868, 10, 23}));
    EXPECT_EQ(eraText(1), QStringLiteral("明治"));
    EXPECT_EQ(yearText(1), QStringLiteral("元"));
    EXPECT_EQ(dateOf(0), (Ymd{2000, 1, 1}));
}

TEST_F(EraWindowTest, ChoosingTheEraThePanelShowsLeavesItsDate) {
    start();
    show(0, 1990, 5, 5);
    choose(0, 1);  // 平成, shown already
    EXPECT_EQ(dateOf(0), (Ymd{1990, 5, 5}));
}

// The window converted the upper panel last (平成); choosing 平成 in the lower panel,
// which shows 明治, still moves the lower date.
TEST_F(EraWindowTest, ChoiceInTheOtherPanelOfTheRowConvertedLastStillMoves) {
    start();
    show(1, 1900, 1, 1);
    show(0, 1990, 5, 5);
    ASSERT_EQ(form->eraIndex, 2);
    choose(1, 1);
    EXPECT_EQ(dateOf(1), (Ymd{1989, 1, 8}));
    EXPECT_EQ(eraText(1), QStringLiteral("平成"));
    EXPECT_EQ(yearText(1), QStringLiteral("元"));
    EXPECT_EQ(dateOf(0), (Ymd{1990, 5, 5}));
}

struct StepCase {
    Ymd from;
    int button;  // 0 "+" newer, 1 "-" older
    Ymd to;
};

TEST_F(EraWindowTest, EraStepButtons) {
    const StepCase cases[] = {
        {{2026, 12, 7}, 0, {2019, 5, 1}},  {{2026, 12, 7}, 1, {1989, 1, 8}},  {{1995, 1, 1}, 0, {2019, 5, 1}},
        {{1995, 1, 1}, 1, {1926, 12, 25}}, {{1600, 1, 1}, 1, {1596, 12, 16}}, {{1600, 1, 1}, 0, {1615, 9, 5}},
        {{1500, 1, 1}, 0, {2019, 5, 1}},   {{1500, 1, 1}, 1, {2019, 5, 1}},
    };
    start();
    for (int panel = 0; panel < 2; ++panel) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << "panel " << panel << " " << c.from.year << " button " << c.button);
            show(panel, c.from.year, c.from.month, c.from.day);
            form->btNG(c.button)->click();
            EXPECT_EQ(dateOf(panel), c.to);
            EXPECT_EQ(yearText(panel), QStringLiteral("元"));
        }
    }
}

// An era choice in the lower panel's combo while the upper panel is highlighted moves
// curPanel but not the highlight; the +/- buttons then act on the upper panel.
TEST_F(EraWindowTest, PlusMinusActOnTheHighlightedPanelAfterAChoiceInTheOther) {
    start();
    show(0, 2003, 9, 14);
    ASSERT_EQ(form->panelActive[0], 1);
    choose(1, 2);  // 昭和
    ASSERT_EQ(form->curPanel, 1);
    ASSERT_EQ(form->panelActive[0], 1);
    ASSERT_EQ(dateOf(1), (Ymd{1926, 12, 25}));
    form->btBB(2)->click();  // +5 days
    EXPECT_EQ(form->curPanel, 0);
    EXPECT_EQ(dateOf(0), (Ymd{2003, 9, 19}));
    EXPECT_EQ(dateOf(1), (Ymd{1926, 12, 25}));
    EXPECT_EQ(form->laDay(0)->text(), QStringLiteral("19"));
}

struct PlusMinusCase {
    Ymd from;
    int button;
    Ymd to;  // equal to from: refused
};

TEST_F(EraWindowTest, PlusMinusAtTheRangeEndsAndMonthEnds) {
    const PlusMinusCase cases[] = {
        {{100, 1, 1}, 3, {100, 1, 1}},       {{100, 1, 6}, 4, {100, 1, 1}},       {{100, 1, 31}, 13, {100, 1, 31}},
        {{9999, 12, 31}, 1, {9999, 12, 31}}, {{9999, 12, 30}, 1, {9999, 12, 31}}, {{9999, 11, 30}, 11, {9999, 12, 30}},
        {{9999, 12, 1}, 11, {9999, 12, 1}},  {{2003, 1, 31}, 11, {2003, 2, 28}},  {{2000, 2, 29}, 21, {2001, 2, 28}},
        {{100, 12, 31}, 23, {100, 12, 31}},  {{9950, 1, 1}, 27, {9950, 1, 1}},    {{2019, 4, 30}, 1, {2019, 5, 1}},
    };
    start();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from.year << "-" << c.from.month << "-" << c.from.day << " button "
                                        << c.button);
        show(0, c.from.year, c.from.month, c.from.day);
        form->btBB(c.button)->click();
        EXPECT_EQ(dateOf(0), c.to);
        EXPECT_EQ(form->laYer(0)->text(), QString::number(c.to.year));
        EXPECT_EQ(form->laMon(0)->text(), QString::number(c.to.month));
        EXPECT_EQ(form->laDay(0)->text(), QString::number(c.to.day));
    }
    EXPECT_EQ(eraText(0), QStringLiteral("令和"));  // the last case crossed into 令和
    EXPECT_EQ(yearText(0), QStringLiteral("元"));
}

TEST_F(EraWindowTest, MonthStepCutsTheDayBackAndStaysThere) {
    start();
    show(1, 2003, 1, 31);
    form->selectPanel(1);
    form->btBB(11)->click();
    EXPECT_EQ(dateOf(1), (Ymd{2003, 2, 28}));
    form->btBB(13)->click();
    EXPECT_EQ(dateOf(1), (Ymd{2003, 1, 28}));
    EXPECT_EQ(yearText(1), QStringLiteral("15"));  // 平成 15
}

// Focus on an era combo (or its edit field) focuses that panel without converting it.
TEST_F(EraWindowTest, FocusOnAnEraComboFocusesItsPanelOnly) {
    start();
    form->show();
    QApplication::setActiveWindow(form.get());
    show(0, 1990, 1, 1);
    const short converted = form->eraIndex;
    for (int panel : {1, 0}) {
        QWidget* target = panel == 1 ? static_cast<QWidget*>(form->cobNG(1)) : form->cobNG(0)->lineEdit();
        target->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
        EXPECT_EQ(form->curPanel, panel);
        EXPECT_EQ(form->panelActive[panel], 1);
        EXPECT_EQ(form->eraIndex, converted);
    }
    // Focus coming back with the window (another program, a message box) is no new focus.
    form->cobNG(1)->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    form->laOB2_Click(0);
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QCoreApplication::processEvents();
    QApplication::setActiveWindow(form.get());
    QCoreApplication::processEvents();
    ASSERT_TRUE(form->cobNG(1)->hasFocus());
    EXPECT_EQ(form->curPanel, 0);
    EXPECT_EQ(form->panelActive[0], 1);
}

}  // namespace
}  // namespace kalvo::test
