// The event list commands, Enter in the edit field and the date reset, through the window.
#include "support/event_support.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

namespace kalvo::test {
namespace {

const QString kNotADate = QStringLiteral("日付ではありません");

class EventCommands : public EventWindowTest {
protected:
    frmKV& startWith(const std::vector<std::string>& entries, const std::string& startEntry = "0",
                     const std::string& startDate = "TODAY") {
        auto lines = eventLines("0,0,0,2", " 0 ", entries);
        lines[4] = startDate;
        lines[5] = startEntry;
        writeFile(cp932Lines(lines));
        return start();
    }
    void choose(int i) {
        form->cobEV->setCurrentIndex(i);
        emit form->cobEV->activated(i);
    }
    void pressEnter() {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(form->cobEV->lineEdit(), &key);
    }
    // Types the text: ASCII on the keyboard, the rest committed by the input method.
    void type(const QString& text) {
        QLineEdit* edit = form->cobEV->lineEdit();
        edit->clear();
        for (qsizetype i = 0; i < text.size();) {
            const bool ascii = text[i].unicode() < 0x80;
            qsizetype j = i;
            while (j < text.size() && (text[j].unicode() < 0x80) == ascii) ++j;
            if (ascii) {
                QTest::keyClicks(edit, text.mid(i, j - i));
            } else {
                QInputMethodEvent commit;
                commit.setCommitString(text.mid(i, j - i));
                QCoreApplication::sendEvent(edit, &commit);
            }
            i = j;
        }
    }
    // What the lower panel shows: y/m/d, the era and the era year.
    QString lowerPanel() const {
        return form->laYer(1)->text() + "/" + form->laMon(1)->text() + "/" + form->laDay(1)->text() + " " +
               form->cobNG(1)->currentText() + form->laNen(1)->text();
    }
    int boxesSaying(const QString& text) const {
        return static_cast<int>(std::count_if(dialogs->shown.begin(), dialogs->shown.end(),
                                              [&](const ShownBox& b) { return b.text == text; }));
    }
};

const std::vector<std::string> kList = {"  \u3000*今日@TODAY", "x@today",   "y@Today",   "関東大震災       @1923/9/1",
                                        "bad@2003/2/30",       "2003/9/14", "z@2010/1/1"};

TEST_F(EventCommands, ChoosingAnEntryLoadsItIntoTheLowerPanel) {
    frmKV& f = startWith(kList);
    const Serial expected[] = {today, today, today, fromYmd(1923, 9, 1), fromYmd(1923, 9, 1), fromYmd(2003, 9, 14)};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        f.curPanel = 0;
        choose(i);
        EXPECT_EQ(f.panelDate[1], expected[i]);  // the bad date keeps the last one
        EXPECT_EQ(f.laD->text(), QString::number(i));
        EXPECT_EQ(f.curPanel, 1);
        EXPECT_EQ(f.panelActive[1], 1);
    }
    EXPECT_EQ(boxesSaying(kNotADate), 1);
    EXPECT_EQ(dialogs->shown.back().title, QStringLiteral("入力エラー"));
    EXPECT_EQ(f.modified, 0);
}

// Each entry goes into the list as typed, loads into the lower panel when chosen, and is
// saved as typed.
TEST_F(EventCommands, EntriesInEveryDateFormAreAddedAndLoaded) {
    frmKV& f = startWith(kList);
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("誕生日 @2003年9月14日"), QStringLiteral("2003/9/14 平成15")},
        {QStringLiteral("即位@令和元年5月1日"), QStringLiteral("2019/5/1 令和元")},
        {QStringLiteral("H15/9/14"), QStringLiteral("2003/9/14 平成15")},
        {QStringLiteral("記念@ｈ１５．９．１４"), QStringLiteral("2003/9/14 平成15")},
        {QStringLiteral("予定@Ｒ８．１２．８"), QStringLiteral("2026/12/8 令和8")},
        {QStringLiteral("入学@1990・4・1"), QStringLiteral("1990/4/1 平成2")},
        {QStringLiteral("@２００３／９／１４（日）"), QStringLiteral("2003/9/14 平成15")},
        {QStringLiteral("改元前日@平成31年4月30日(火曜日)"), QStringLiteral("2019/4/30 平成31")},
        {QStringLiteral("  明治 元年 10月 23日 "), QStringLiteral("1868/10/23 明治元")},
    };
    int count = f.cobEV->count();
    for (const auto& [text, shown] : cases) {
        SCOPED_TRACE(text.toStdString());
        type(text);
        f.btEV(2)->click();
        ASSERT_EQ(f.cobEV->count(), ++count);
        EXPECT_EQ(f.cobEV->itemText(count - 1), text);
        f.panelDate[1] = 0;
        choose(0);
        choose(count - 1);
        EXPECT_EQ(lowerPanel(), shown);
        EXPECT_EQ(f.laD->text(), QString::number(count - 1));
    }
    EXPECT_TRUE(dialogs->shown.empty());
    unload();
    const QByteArray saved = fileBytes();
    for (const auto& [text, shown] : cases)
        EXPECT_TRUE(saved.contains(cp932Lines({text.toStdString()}))) << text.toStdString();
}

TEST_F(EventCommands, EnterAppliesAPlainDateOnly) {
    frmKV& f = startWith(kList);
    for (const char* text :
         {"名前@2004/1/1", "today", "2003/2/30", "名前@平成16年1月1日", "2003/9/14(月)", "平成31年5月1日"}) {
        f.cobEV->setEditText(QString::fromUtf8(text));
        pressEnter();
        EXPECT_EQ(f.panelDate[1], today);
        EXPECT_EQ(f.cobEV->currentIndex(), 0);
    }
    f.cobEV->setEditText(QStringLiteral("2003/9/14"));
    pressEnter();
    EXPECT_EQ(f.panelDate[1], fromYmd(2003, 9, 14));
    EXPECT_EQ(f.cobEV->currentIndex(), -1);
    EXPECT_EQ(f.cobEV->currentText(), QStringLiteral("2003/9/14"));
    EXPECT_EQ(f.eventPos, -1);
    EXPECT_EQ(f.laD->text(), QStringLiteral("-1"));
    for (const auto& [text, shown] : {std::pair{"平成16年2月29日", "2004/2/29 平成16"},
                                      {"H15.9.14(日)", "2003/9/14 平成15"},
                                      {"２０１９年５月１日", "2019/5/1 令和元"},
                                      {"1990・4・1", "1990/4/1 平成2"}}) {
        type(QString::fromUtf8(text));
        pressEnter();
        EXPECT_EQ(lowerPanel(), QString::fromUtf8(shown)) << text;
        EXPECT_EQ(f.cobEV->currentText(), QString::fromUtf8(text));
    }
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(f.modified, 0);
}

TEST_F(EventCommands, UpperPanelAndLowerStartButtons) {
    frmKV& f = startWith(kList);
    struct Case {
        int entry;
        const char* stored;
        Serial upper;
    };
    for (const Case& c :
         {Case{3, "1923/9/1", fromYmd(1923, 9, 1)}, Case{0, "TODAY", today}, Case{1, "2026/12/7", today}}) {
        choose(c.entry);
        f.btEV_Click(4);
        EXPECT_EQ(f.startDisplay[0], QString::fromUtf8(c.stored));
        EXPECT_EQ(f.panelDate[0], c.upper);
        EXPECT_EQ(f.curPanel, 0);
    }
    choose(3);
    f.btEV_Click(0);
    EXPECT_EQ(f.startDisplay[1], QStringLiteral("3"));
    f.cobEV->setEditText(QStringLiteral("2003/9/14"));
    pressEnter();
    f.btEV_Click(0);
    EXPECT_EQ(f.startDisplay[1], QStringLiteral("-1"));
    EXPECT_EQ(f.modified, 1);
    EXPECT_EQ(f.saveSilently, 0);
}

TEST_F(EventCommands, AddAndUpdateRefuseTheProtectedPrefix) {
    frmKV& f = startWith(kList);
    choose(3);
    f.cobEV->setEditText(QStringLiteral("  　新しい日@2020/1/1"));
    f.btEV_Click(2);
    f.btEV_Click(1);
    ASSERT_EQ(dialogs->shown.size(), 2u);
    EXPECT_EQ(dialogs->shown[0].text, QStringLiteral("これは追加できません"));
    EXPECT_EQ(dialogs->shown[1].text, QStringLiteral("これは変更できません"));
    EXPECT_TRUE(dialogs->shown[0].title.isEmpty());  // the program's name
    EXPECT_EQ(f.cobEV->count(), 7);
    EXPECT_EQ(f.cobEV->itemText(3), QString::fromStdString(kList[3]));
    EXPECT_EQ(f.modified, 0);

    f.cobEV->setEditText(QStringLiteral(" 　新しい日@2020/1/1"));  // one blank less
    f.btEV_Click(2);
    EXPECT_EQ(f.cobEV->count(), 8);
    EXPECT_EQ(f.cobEV->itemText(7), QStringLiteral(" 　新しい日@2020/1/1"));
    EXPECT_EQ(f.cobEV->currentIndex(), 3);  // the selection stays
    EXPECT_EQ(f.eventPos, 7);
    EXPECT_EQ(f.laD->text(), QStringLiteral("7"));
    EXPECT_EQ(f.panelDate[1], fromYmd(2020, 1, 1));
    EXPECT_EQ(f.modified, 1);
}

TEST_F(EventCommands, UpdateReplacesTheCurrentEntryAndReportsABadDateOnce) {
    frmKV& f = startWith(kList);
    choose(6);
    f.cobEV->setEditText(QStringLiteral("改名@2021/3/3"));
    f.btEV_Click(1);
    EXPECT_EQ(f.cobEV->itemText(6), QStringLiteral("改名@2021/3/3"));
    EXPECT_EQ(f.panelDate[1], fromYmd(2021, 3, 3));
    EXPECT_EQ(f.laD->text(), QStringLiteral("6"));
    f.cobEV->setEditText(QStringLiteral("改名@そのうち"));
    f.btEV_Click(1);
    EXPECT_EQ(f.cobEV->itemText(6), QStringLiteral("改名@そのうち"));
    EXPECT_EQ(boxesSaying(kNotADate), 1);
    EXPECT_EQ(f.panelDate[1], fromYmd(2021, 3, 3));
}

// What the next start would not read back as an entry is refused as typed, with the form
// to use, by add and by update alike; a name with "@" and a bad date stays (it survives).
TEST_F(EventCommands, TextsTheNextStartWouldDropAreRefused) {
    frmKV& f = startWith(kList);
    const int count = f.cobEV->count();
    choose(6);
    const QString kept = f.cobEV->itemText(6);
    for (const int button : {2, 1}) {
        for (const char* text : {"母の誕生日 1950/4/29", "1950/4/29(月)", "50/4/29", "today"}) {
            SCOPED_TRACE(text);
            dialogs->shown.clear();
            f.cobEV->setEditText(QString::fromUtf8(text));
            f.btEV_Click(button);
            ASSERT_EQ(dialogs->shown.size(), 1u);
            EXPECT_TRUE(dialogs->shown[0].text.contains(QStringLiteral("名前@日付")));
            EXPECT_EQ(f.cobEV->count(), count);
            EXPECT_EQ(f.cobEV->itemText(6), kept);
        }
    }
    f.cobEV->setEditText(QStringLiteral("母の誕生日@1950/4/29(月)"));
    f.btEV_Click(2);
    EXPECT_EQ(f.cobEV->count(), count + 1);
}

TEST_F(EventCommands, UpdateAndDeleteWithoutACurrentEntryChangeNothing) {
    frmKV& f = startWith(kList);
    f.cobEV->setEditText(QStringLiteral("2003/9/14"));
    pressEnter();
    f.cobEV->setEditText(QStringLiteral("別@2001/1/1"));
    f.btEV_Click(1);
    f.btEV_Click(3);
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(f.cobEV->count(), 7);
    EXPECT_EQ(f.panelDate[1], fromYmd(2003, 9, 14));
    EXPECT_EQ(f.modified, 0);
}

TEST_F(EventCommands, DeleteAsksFirstAndNoKeepsEverything) {
    frmKV& f = startWith(kList);
    choose(3);
    f.cobEV->setEditText(QStringLiteral("書きかけ"));
    dialogs->answers = {Answer::No};
    f.btEV_Click(3);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    // The question names the entry that would go, not the edited text.
    EXPECT_EQ(dialogs->shown[0].text, QStringLiteral("このデータを削除しますか？\r\n関東大震災       @1923/9/1"));
    EXPECT_EQ(dialogs->shown[0].title, QStringLiteral("確認"));
    EXPECT_EQ(dialogs->shown[0].buttons, Buttons::YesNo);
    EXPECT_EQ(dialogs->shown[0].icon, Icon::Question);
    EXPECT_EQ(f.cobEV->count(), 7);
    EXPECT_EQ(f.modified, 0);
}

TEST_F(EventCommands, DeleteRenumbersTheStoredStartEntry) {
    struct Case {
        const char* start;
        int deleted;
        const char* after;
        int selected;
    };
    const Case cases[] = {{"3", 0, "2", 2},    {"3", 3, "2", 2}, {"3", 5, "3", 3}, {"0", 0, "0", 0},
                          {"-1", 2, "-1", -1}, {"6", 6, "5", 5}, {"x", 1, "x", -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " delete " + std::to_string(c.deleted));
        frmKV& f = startWith(kList, c.start);
        choose(c.deleted);
        f.panelDate[1] = 0;
        dialogs->answers = {Answer::Yes};
        f.btEV_Click(3);
        EXPECT_EQ(f.cobEV->count(), 6);
        EXPECT_EQ(f.startDisplay[1], QString::fromUtf8(c.after));
        EXPECT_EQ(f.cobEV->currentIndex(), c.selected);
        if (c.selected >= 0) EXPECT_EQ(f.cobEV->currentText(), f.cobEV->itemText(c.selected));
        EXPECT_EQ(f.panelDate[1] != 0, c.selected >= 0 && c.selected != 4);  // entry 4 after the cut is bad
        EXPECT_EQ(f.modified, 1);
    }
}

TEST_F(EventCommands, FlagsDecideTheEndQuestion) {
    frmKV& f = start();  // first start: default content, saved silently
    f.cobEV->setEditText(QStringLiteral("  　新@2020/1/1"));
    f.btEV_Click(2);  // refused, but any press ends the silent save
    EXPECT_EQ(f.saveSilently, 0);
    EXPECT_EQ(f.modified, 1);
    dialogs->answers = {Answer::No};
    f.btEND_Click(0);
    ASSERT_EQ(dialogs->shown.size(), 2u);
    EXPECT_EQ(dialogs->shown[1].title, QStringLiteral("終了"));
    EXPECT_TRUE(fileBytes().isEmpty());  // No: nothing written

    dialogs->shown.clear();
    startWith(kList);
    choose(3);
    dialogs->answers = {Answer::No};
    form->btEV_Click(3);
    form->btEND_Click(0);
    EXPECT_EQ(dialogs->shown.size(), 1u);  // the delete question only
}

TEST_F(EventCommands, ResetDatesFromTheStoredStartValues) {
    const std::vector<std::string> list = {"a@2001/1/1", "b@2002/2/2", "c@2003/3/3"};
    struct Case {
        const char *date, *entry;
        Serial upper;
        int lower;
    };
    const Case cases[] = {{"2003/9/14", "2", fromYmd(2003, 9, 14), 2},
                          {"いつか", "x", today, 0},
                          {"", "-3", today, 0},
                          {"TODAY", "99", today, 0},
                          {"平成15年9月14日", "1", fromYmd(2003, 9, 14), 1},
                          {"H15/9/14(日)", "0", fromYmd(2003, 9, 14), 0},
                          {"２００３年９月１４日", "0", fromYmd(2003, 9, 14), 0},
                          {"平成31年5月1日", "0", today, 0},
                          {"TODAY", " 1 ", today, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.date) + "/" + c.entry);
        frmKV& f = startWith(list, c.entry, c.date);
        EXPECT_EQ(f.panelDate[0], c.upper);
        EXPECT_EQ(f.panelDate[1], fromYmd(2001 + c.lower, c.lower + 1, c.lower + 1));
        EXPECT_EQ(f.laD->text(), QString::number(c.lower));
        EXPECT_EQ(f.curPanel, 0);
        EXPECT_EQ(f.panelActive[0], 1);
        EXPECT_EQ(f.panelActive[1], 0);
    }
    EXPECT_EQ(form->startDisplay[0], QStringLiteral("TODAY"));
    dialogs->shown.clear();
    startWith({"bad@2003/2/30"});  // the start entry is applied once: one box
    EXPECT_EQ(boxesSaying(kNotADate), 1);
}

// The file is sorted into entries before its era table is in force: a line without "@"
// that is a date only under the Southern table stays in the list, and line 5 and the
// start entry are read under that table. Under the built-in table they are no dates,
// yet the list keeps them and writes them back.
TEST_F(EventCommands, DatesOfACourtTableSurviveTheStartAndASwitch) {
    auto lines = eventLines("0,0,0,1", " 0 ", {"延元3年8月11日", "南朝@元中9年10月4日", "' メモ"});
    lines[4] = "明治元年9月8日";
    writeFile(cp932Lines(lines));
    frmKV& f = start();
    EXPECT_EQ(items(), QStringList({QStringLiteral("延元3年8月11日"), QStringLiteral("南朝@元中9年10月4日")}));
    EXPECT_EQ(lowerPanel(), QStringLiteral("1338/8/11 延元3"));
    EXPECT_EQ(f.panelDate[0], fromYmd(1868, 9, 8));
    choose(1);
    EXPECT_EQ(lowerPanel(), QStringLiteral("1392/10/4 元中9"));
    EXPECT_TRUE(dialogs->shown.empty());

    dialogs->answers = {Answer::OK};
    f.opNS(2)->click();
    EXPECT_EQ(f.fgNS, 2);
    EXPECT_EQ(f.panelDate[0], today);
    EXPECT_EQ(boxesSaying(kNotADate), 1);
    unload();
    EXPECT_TRUE(fileBytes().contains(cp932Lines({"明治元年9月8日", "0", "' コメント", "延元3年8月11日"})));
}

}  // namespace
}  // namespace kalvo::test
