// The almanac and the business days in the window's hints, worked out when asked for, and
// the typed steps of the 何の日？ field. Expected values are those of the published
// almanacs and the holiday law.
#include "support/event_support.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>

namespace kalvo::test {
namespace {

class AlmanacHints : public EventWindowTest {
protected:
    void SetUp() override {
        writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14"})));
        start();
    }
    void show(int panel, Serial date) {
        form->curPanel = static_cast<short>(panel);
        form->panelDate[panel] = date;
        form->setDate();
    }
    void enter(const QString& text) {
        form->cobEV->setEditText(text);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(form->cobEV->lineEdit(), &key);
    }
};

TEST_F(AlmanacHints, TheDateLabelsTellTheAlmanacOfTheirPanel) {
    show(0, fromYmd(2026, 12, 8));
    show(1, fromYmd(2026, 11, 3));
    EXPECT_EQ(form->dateHint(0).split('\n'), (QStringList{"旧暦 10月30日", "先負", "日の干支 丙辰",
                                                          "年の干支 丙午（西暦年による）", "大雪 12/7 から"}));
    EXPECT_TRUE(form->dateHint(1).startsWith(QStringLiteral("祝日 文化の日\n")));
    // The same words for the pointer and for a screen reader, on every date label.
    for (ClickLabel* label : {form->laYer(1), form->laMon(1), form->laDay(1), form->laYB(1)}) {
        EXPECT_EQ(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Description), form->dateHint(1));
    }
    // The pointer on the panel meets the panel's own label, which lies over the others.
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), form->laOB2(0)->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(form->laOB2(0), &help);
    EXPECT_EQ(QToolTip::text(), form->dateHint(0));
    QToolTip::hideText();
}

TEST_F(AlmanacHints, TheDayCountTellsBothBusinessDayCounts) {
    show(0, fromYmd(2026, 12, 1));
    show(1, fromYmd(2026, 12, 31));
    EXPECT_TRUE(form->spanHint().startsWith(QStringLiteral("日数を絶対値で表示します。\n")));
    EXPECT_TRUE(form->spanHint().contains(QStringLiteral("営業日 22 日")));
    EXPECT_TRUE(form->spanHint().contains(QStringLiteral("行政機関の営業日 19 日")));
    form->ckST->click();  // the start day counts too: 12/1 is a Tuesday
    EXPECT_TRUE(form->spanHint().contains(QStringLiteral("営業日 23 日")));
}

TEST_F(AlmanacHints, EnterOnAStepMovesTheUpperDateIntoTheLowerPanel) {
    const QByteArray before = fileBytes();
    const int count = form->cobEV->count();
    const std::pair<const char*, Serial> cases[] = {
        {"+10営業日", fromYmd(2026, 12, 22)}, {"-30日", fromYmd(2026, 11, 8)}, {"＋２週", fromYmd(2026, 12, 22)},
        {"+3ヶ月", fromYmd(2027, 3, 8)},      {"+1年", fromYmd(2027, 12, 8)},  {"-5営業日", fromYmd(2026, 12, 1)},
        {"+100", fromYmd(2027, 3, 18)},
    };
    for (const auto& [text, expected] : cases) {
        show(0, fromYmd(2026, 12, 8));
        enter(QString::fromUtf8(text));
        EXPECT_EQ(form->panelDate[1], expected) << text;
        EXPECT_EQ(form->curPanel, 1) << text;
    }
    show(0, fromYmd(2024, 1, 31));
    enter(QStringLiteral("+1ヶ月"));
    EXPECT_EQ(form->panelDate[1], fromYmd(2024, 2, 29));  // cut back at the month's end
    enter(QStringLiteral("+8000年"));                     // past 9999: refused without a word
    EXPECT_EQ(form->panelDate[1], fromYmd(2024, 2, 29));
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(form->cobEV->count(), count);
    EXPECT_EQ(form->modified, 0);
    unload();
    EXPECT_EQ(fileBytes(), before);
}

}  // namespace
}  // namespace kalvo::test
