// Switching between the built-in table and the court files, and what happens when a
// court file is missing or broken, at a switch and at start-up.
#include "era_window.h"
#include "platform/text_file.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRadioButton>

namespace kalvo::test {
namespace {

const QString kConfirm = QStringLiteral("年号ファイルを切り替えます！\r\n年月日は初期設定に戻ります。");

class EraSwitchTest : public EraWindowTest {
protected:
    QTemporaryDir programFolder;

    // Era files come from a folder of the test's own, holding the given files.
    void useProgramFolder() { programDir = programFolder.path(); }
    void putFile(const QString& name, const std::vector<std::string>& lines) {
        ASSERT_EQ(writeTextFile(QDir(programFolder.path()).filePath(name).toStdString(), lines), FileStatus::Ok);
    }
    void putShipped(const QString& name) {
        ASSERT_TRUE(
            QFile::copy(QStringLiteral(KALVO_SOURCE_DIR "/data/") + name, QDir(programFolder.path()).filePath(name)));
    }
    // The shipped file with a user's memo after its notes, saved as UTF-8 and with a byte
    // pair that is no code page 932 at all.
    void putShippedWithMemo(const QString& name) {
        putShipped(name);
        QFile file(QDir(programFolder.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(QStringLiteral("メモ：参照→\r\n").toUtf8() + QByteArray("\x81\x20\xff\r\n"));
    }
    int checkedOption() const {
        for (int i = 0; i < 3; ++i)
            if (form->opNS(i)->isChecked()) return i;
        return -1;
    }
    // The user clicks an option and answers the confirmation.
    void switchTo(int option, Answer answer) {
        dialogs->answers.push_back(answer);
        form->opNS(option)->click();
    }
};

TEST_F(EraSwitchTest, ClickingTheOptionInForceAsksNothing) {
    start();
    form->modified = 0;
    form->opNS(2)->click();
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(form->modified, 0);
    EXPECT_EQ(form->nCM, 41);
}

// Both panels moved away from their start dates, the lower one focused, and then a
// confirmed switch to the Northern table.
class ConfirmedSwitch : public EraSwitchTest {
protected:
    Serial start0 = 0, start1 = 0;
    void SetUp() override {
        EraSwitchTest::SetUp();
        start();
        start0 = form->panelDate[0];
        start1 = form->panelDate[1];
        form->modified = 0;
        show(1, 1950, 1, 1);
        show(0, 1990, 5, 5);
        form->selectPanel(1);
        switchTo(0, Answer::OK);
    }
};

TEST_F(ConfirmedSwitch, AsksOnceAndMarksTheEventFileChanged) {
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, kConfirm);
    EXPECT_EQ(dialogs->shown[0].title, QStringLiteral("確認"));
    EXPECT_EQ(dialogs->shown[0].buttons, Buttons::OKCancel);
    EXPECT_EQ(form->fgNS, 0);
    EXPECT_EQ(form->zNGF, QStringLiteral("KalvoN.dat"));
    EXPECT_EQ(form->modified, 1);
}

TEST_F(ConfirmedSwitch, ListsTheNewTableInBothPanels) {
    EXPECT_EQ(form->nCM, 241);
    for (int panel = 0; panel < 2; ++panel) {
        const QStringList names = listed(panel);
        ASSERT_EQ(names.size(), 241);
        EXPECT_EQ(names.front(), QStringLiteral("令和"));
        EXPECT_EQ(names.back(), QStringLiteral("大化"));
        EXPECT_TRUE(names.contains(QStringLiteral("観応")));
        EXPECT_FALSE(names.contains(QStringLiteral("正平")));
    }
}

TEST_F(ConfirmedSwitch, ResetsBothPanelsToTheirStartDates) {
    EXPECT_EQ(form->panelDate[0], start0);
    EXPECT_EQ(form->panelDate[1], start1);
    EXPECT_EQ(form->curPanel, 0);
    EXPECT_EQ(form->panelActive[0], 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ConfirmedSwitch, OnToTheSouthernTableThenBackToTheBuiltInOne) {
    switchTo(1, Answer::OK);
    EXPECT_EQ(form->nCM, 234);
    EXPECT_TRUE(listed(1).contains(QStringLiteral("正平")));
    EXPECT_FALSE(listed(1).contains(QStringLiteral("観応")));
    switchTo(2, Answer::OK);
    EXPECT_EQ(form->fgNS, 2);
    EXPECT_EQ(form->zNGF, QStringLiteral("KalvoS.dat"));  // the file last chosen
    EXPECT_EQ(listed(0).size(), 41);
    EXPECT_EQ(listed(1).back(), QStringLiteral("慶長"));
}

TEST_F(EraSwitchTest, CancelledSwitchChangesNothingAndTheEndButtonStillEnds) {
    start();
    form->modified = 0;
    show(1, 1950, 1, 1);
    show(0, 1990, 5, 5);
    switchTo(0, Answer::Cancel);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(checkedOption(), 2);
    EXPECT_EQ(form->fgNS, 2);
    EXPECT_EQ(form->nCM, 41);
    EXPECT_EQ(listed(0).size(), 41);
    EXPECT_EQ(dateOf(0), (Ymd{1990, 5, 5}));
    EXPECT_EQ(dateOf(1), (Ymd{1950, 1, 1}));
    EXPECT_EQ(form->modified, 0);

    form->btEND_Click(0);
    EXPECT_TRUE(form->unloaded);
    EXPECT_EQ(dialogs->shown.size(), 1u);  // nothing changed: no save question
}

TEST_F(EraSwitchTest, CourtChangeDaysShowTheNewEraWithGannen) {
    start();
    switchTo(0, Answer::OK);
    show(0, 1350, 2, 27);
    EXPECT_EQ(eraText(0), QStringLiteral("観応"));
    EXPECT_EQ(yearText(0), QStringLiteral("元"));
    EXPECT_EQ(hint(0), QStringLiteral("かんのう"));
    show(0, 1350, 6, 1);
    EXPECT_EQ(eraText(0), QStringLiteral("観応"));
    EXPECT_EQ(yearText(0), QStringLiteral("元"));
    show(0, 1350, 2, 26);
    EXPECT_EQ(eraText(0), QStringLiteral("貞和"));
    EXPECT_EQ(yearText(0), QStringLiteral("6"));
    show(1, 700, 1, 1);
    EXPECT_EQ(eraText(1), QStringLiteral("(なし)"));
    EXPECT_EQ(yearText(1), QString());
    show(1, 600, 1, 1);  // before 大化: no era, and the hint the loader defined
    EXPECT_EQ(eraText(1), QString());
    EXPECT_EQ(hint(1), QStringLiteral("#"));
    form->btNG(1)->click();  // "-" with no era shown goes to the newest era
    EXPECT_EQ(dateOf(1), (Ymd{2019, 5, 1}));

    switchTo(1, Answer::OK);
    show(0, 1346, 12, 8);
    EXPECT_EQ(eraText(0), QStringLiteral("正平"));
    EXPECT_EQ(yearText(0), QStringLiteral("元"));
    show(0, 1278, 3, 1);  // 弘安 began on old-calendar 2/29, which 1278 lacks
    EXPECT_EQ(eraText(0), QStringLiteral("弘安"));
    EXPECT_EQ(yearText(0), QStringLiteral("元"));
}

TEST_F(EraSwitchTest, MissingFileOnASwitchKeepsEverything) {
    useProgramFolder();
    start();
    form->modified = 0;
    show(0, 1990, 5, 5);
    const QString fileBefore = form->zNGF;
    switchTo(0, Answer::OK);
    ASSERT_EQ(dialogs->shown.size(), 2u);
    EXPECT_EQ(dialogs->shown[1].text,
              QStringLiteral("KalvoN.dat:年号ファイルが見つかりませんでした\r\nファイルを用意してください。"));
    EXPECT_EQ(dialogs->shown[1].title, QStringLiteral("ファイルエラー"));
    EXPECT_EQ(dialogs->shown[1].buttons, Buttons::OK);
    EXPECT_EQ(checkedOption(), 2);
    EXPECT_EQ(form->fgNS, 2);
    EXPECT_EQ(form->zNGF, fileBefore);
    EXPECT_EQ(form->nCM, 41);
    EXPECT_EQ(listed(1).size(), 41);
    EXPECT_EQ(form->modified, 0);
    EXPECT_EQ(dateOf(0), (Ymd{1990, 5, 5}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(EraSwitchTest, MemoAfterTheEndMarkInAnotherEncodingIsNotRead) {
    useProgramFolder();
    putShippedWithMemo(QStringLiteral("KalvoN.dat"));
    start();
    switchTo(0, Answer::OK);
    ASSERT_EQ(dialogs->shown.size(), 1u) << dialogs->shown.back().text.toStdString();
    EXPECT_EQ(form->fgNS, 0);
    EXPECT_EQ(form->nCM, 241);
    EXPECT_EQ(listed(0).front(), QStringLiteral("令和"));
    EXPECT_EQ(listed(1).back(), QStringLiteral("大化"));
}

// After a confirmed switch the diagnostic label says what the listing left: the newest
// era at list position 0, also when the other panel was converted last at another row.
TEST_F(EraSwitchTest, DiagnosticLabelAfterASwitchReadsNewestEraAtPositionZero) {
    useProgramFolder();
    putShipped(QStringLiteral("KalvoS.dat"));
    start();
    show(0, 2020, 1, 1);  // 令和: row 1 of the built-in table and of the court table
    show(1, 1950, 1, 1);  // 昭和: row 3, converted last
    ASSERT_EQ(form->eraIndex, 3);
    switchTo(1, Answer::OK);
    ASSERT_EQ(form->nCM, 234);
    EXPECT_EQ(form->laTest->text(), QStringLiteral("1/0"));
    switchTo(2, Answer::OK);
    EXPECT_EQ(form->laTest->text(), QStringLiteral("1/0"));
}

struct BrokenFile {
    const char* what;
    std::vector<std::string> lines;
    const char* says;  // the text after the file name
};

std::vector<std::string> manyLines(int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) lines.push_back("よみ,年号," + std::to_string(2000 - i) + "/1/1");
    return lines;
}

TEST_F(EraSwitchTest, BrokenFileOnASwitchIsReportedWithItsLine) {
    const BrokenFile cases[] = {
        {"not a date",
         {"れいわ,令和,2019/5/1", "へいせい,平成,1989/13/8"},
         ":年号ファイルの2行目に誤りがあります\r\n始まる日「1989/13/8」が日付ではありません。"},
        {"cut short", {"れいわ,令和,2019/5/1", "へいせい,平成"}, ":年号ファイルの2行目に誤りがあります\r\n最後の年号"},
        {"too many", manyLines(300), ":年号ファイルの256行目に誤りがあります\r\n年号が255を超えています。"},
        {"no era", {"#,#,", "notes"}, ":年号ファイルの1行目に誤りがあります\r\n年号がひとつもありません。"},
        {"oldest first",
         {"へいせい,平成,1989/1/8", "れいわ,令和,2019/5/1", "#,#,"},
         ":年号ファイルの2行目に誤りがあります\r\n年号が新しい順に並んでいません"},
    };
    useProgramFolder();
    start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        putFile(QStringLiteral("KalvoN.dat"), c.lines);
        dialogs->shown.clear();
        form->modified = 0;
        show(0, 1990, 5, 5);
        switchTo(0, Answer::OK);
        ASSERT_EQ(dialogs->shown.size(), 2u);
        EXPECT_TRUE(dialogs->shown[1].text.startsWith(QStringLiteral("KalvoN.dat") + QString::fromUtf8(c.says)))
            << dialogs->shown[1].text.toStdString();
        EXPECT_TRUE(dialogs->shown[1].text.endsWith(QStringLiteral("\r\n正しいファイルを用意してください。")));
        EXPECT_EQ(dialogs->shown[1].title, QStringLiteral("ファイルエラー"));
        EXPECT_EQ(checkedOption(), 2);
        EXPECT_EQ(form->fgNS, 2);
        EXPECT_EQ(form->nCM, 41);
        EXPECT_EQ(listed(0).front(), QStringLiteral("令和"));
        EXPECT_EQ(listed(0).size(), 41);
        EXPECT_EQ(form->modified, 0);
        EXPECT_EQ(dateOf(0), (Ymd{1990, 5, 5}));
    }
}

TEST_F(EraSwitchTest, FileThatIsNotCodePage932IsReportedWithItsLine) {
    useProgramFolder();
    QFile file(QDir(programFolder.path()).filePath(QStringLiteral("KalvoS.dat")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("a,A,2019/5/1\r\nb,\x81\x20,1989/1/8\r\n");
    file.close();
    start();
    switchTo(1, Answer::OK);
    ASSERT_EQ(dialogs->shown.size(), 2u);
    EXPECT_TRUE(dialogs->shown[1].text.startsWith(QStringLiteral("KalvoS.dat:年号ファイルの2行目に誤りがあります")));
    EXPECT_EQ(form->nCM, 41);
    EXPECT_EQ(checkedOption(), 2);
}

// A broken file while a court table is in force keeps that court table.
TEST_F(EraSwitchTest, BrokenFileKeepsTheCourtTableInForce) {
    useProgramFolder();
    putShipped(QStringLiteral("KalvoN.dat"));
    putFile(QStringLiteral("KalvoS.dat"), {"なんでも,年号,いつか"});
    start();
    switchTo(0, Answer::OK);
    ASSERT_EQ(form->nCM, 241);
    switchTo(1, Answer::OK);
    EXPECT_EQ(dialogs->shown.size(), 3u);
    EXPECT_EQ(form->nCM, 241);
    EXPECT_EQ(form->fgNS, 0);
    EXPECT_EQ(form->zNGF, QStringLiteral("KalvoN.dat"));
    EXPECT_EQ(checkedOption(), 0);
    EXPECT_TRUE(listed(1).contains(QStringLiteral("観応")));
}

// At start-up the stored choice is honoured; a court file that cannot be used leaves
// the built-in table in force with its option selected.
class EraStartTest : public EraSwitchTest {
protected:
    // The window as the event file leaves it: the stored option selected, no table yet.
    void startWithOption(int option) {
        form = std::make_unique<frmKV>(makeServices());
        const QSignalBlocker block(form->opNS(option));
        form->opNS(option)->setChecked(true);
        form->fgNS = option;
    }
};

TEST_F(EraStartTest, StoredCourtChoiceIsLoaded) {
    startWithOption(1);
    form->chooseNGTable();
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(form->fgNS, 1);
    EXPECT_EQ(form->zNGF, QStringLiteral("KalvoS.dat"));
    EXPECT_EQ(form->nCM, 234);
    EXPECT_EQ(form->laTest->text(), QStringLiteral("1/0"));
    EXPECT_EQ(checkedOption(), 1);
}

TEST_F(EraStartTest, MemoAfterTheEndMarkDoesNotStopTheStoredCourtTable) {
    useProgramFolder();
    putShippedWithMemo(QStringLiteral("KalvoS.dat"));
    startWithOption(1);
    form->chooseNGTable();
    EXPECT_TRUE(dialogs->shown.empty()) << dialogs->shown.front().text.toStdString();
    EXPECT_EQ(form->fgNS, 1);
    EXPECT_EQ(form->nCM, 234);
    EXPECT_EQ(checkedOption(), 1);
}

TEST_F(EraStartTest, MissingOrBrokenFileFallsBackToTheBuiltInTable) {
    useProgramFolder();
    putFile(QStringLiteral("KalvoS.dat"), {"れいわ,令和"});
    for (int option : {0, 1}) {
        SCOPED_TRACE(option);
        dialogs->shown.clear();
        startWithOption(option);
        form->chooseNGTable();
        ASSERT_EQ(dialogs->shown.size(), 1u);
        EXPECT_EQ(dialogs->shown[0].title, QStringLiteral("ファイルエラー"));
        EXPECT_TRUE(dialogs->shown[0].text.startsWith(
            option == 0 ? QStringLiteral("KalvoN.dat:年号ファイルが見つかりませんでした")
                        : QStringLiteral("KalvoS.dat:年号ファイルの1行目")));
        EXPECT_EQ(form->fgNS, 2);
        EXPECT_EQ(checkedOption(), 2);
        EXPECT_EQ(form->nCM, 41);
        EXPECT_EQ(listed(0).size(), 41);
        EXPECT_EQ(listed(1).size(), 41);
        EXPECT_EQ(form->laTest->text(), QStringLiteral("1/0"));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

}  // namespace
}  // namespace kalvo::test
