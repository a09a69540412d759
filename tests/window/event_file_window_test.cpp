// Reading the event file at start and writing it at exit, through the real window.
#include "core/events/event_file.h"
#include "support/event_support.h"
#include "window/ui/moon_picture.h"

#include <sys/resource.h>
#include <csignal>

namespace kalvo::test {
namespace {

const QString kWriteError = QStringLiteral("設定ファイルの書き込みエラー");

using EventFileWindow = EventWindowTest;

TEST_F(EventFileWindow, FirstStartShowsTheDefaultListAndWritesItAtClose) {
    frmKV& f = start();
    const QStringList defaults = {
        QStringLiteral("  2010年まで     @2010/1/1"), QStringLiteral("  　*今日の日付          @TODAY"),
        QStringLiteral("機種変更 [DI-VA210]   @2003/9/14"), QStringLiteral("関東大震災       @1923/9/1")};
    EXPECT_EQ(items(), defaults);
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(f.modified, 1);
    EXPECT_EQ(f.saveSilently, 1);
    EXPECT_EQ(f.panelDate[0], today);
    EXPECT_EQ(f.panelDate[1], fromYmd(2010, 1, 1));
    EXPECT_EQ(f.laD->text(), QStringLiteral("0"));
    EXPECT_EQ(f.curPanel, 0);

    f.move(100, 80);
    f.btEND_Click(0);  // no question: the default content is saved silently
    EXPECT_TRUE(dialogs->shown.empty());
    const QByteArray expected = cp932Lines({"' Kalvo 何の日？ 設定ファイル", "Ver.2.16", "1200,1500,0,2", " 0 ",
                                            "TODAY", "0", "' 以下は形式を守れば 追加・変更しても OK！",
                                            "  2010年まで     @2010/1/1", "  \u3000*今日の日付          @TODAY",
                                            "機種変更 [DI-VA210]   @2003/9/14", "関東大震災       @1923/9/1"});
    EXPECT_EQ(fileBytes(), expected);
    EXPECT_TRUE(fileBytes().contains(QByteArray("\r\n  \x81\x40*", 6)));

    start();  // the next run reads it back
    EXPECT_EQ(items(), defaults);
    EXPECT_EQ(form->modified, 0);
    EXPECT_EQ(form->startDisplay[0], QStringLiteral("TODAY"));
    EXPECT_EQ(form->startDisplay[1], QStringLiteral("0"));
    EXPECT_EQ(form->pos(), QPoint(100, 80));
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(EventFileWindow, SevenLinesOnlyGiveAnEmptyListAndTodayBelow) {
    writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ")));
    frmKV& f = start();
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(f.cobEV->count(), 0);
    EXPECT_EQ(f.panelDate[1], today);
    EXPECT_EQ(f.laD->text(), QStringLiteral("-1"));
    EXPECT_EQ(f.modified, 0);
    unload();  // nothing changed: nothing written
    EXPECT_EQ(fileBytes(), cp932Lines(eventLines("0,0,0,2", " 0 ")));
}

TEST_F(EventFileWindow, TwoHundredFiftyEntriesSurviveAChangeAndASave) {
    std::vector<std::string> entries;
    for (int i = 0; i < 250; ++i)
        entries.push_back("記念日" + std::to_string(i) + "@2000/1/" + std::to_string(i % 31 + 1));
    writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", entries)));
    frmKV& f = start();
    ASSERT_EQ(f.cobEV->count(), 250);
    f.cobEV->setEditText(QStringLiteral("新しい日@2020/2/2"));
    f.btEV_Click(2);
    unload();
    entries.push_back("新しい日@2020/2/2");
    const TextLines back = readTextFile(eventFilePath().toStdString());
    ASSERT_EQ(back.lines.size(), 7u + 251u);
    EXPECT_TRUE(std::equal(entries.begin(), entries.end(), back.lines.begin() + 7));
}

TEST_F(EventFileWindow, RejectedVersionLineLeavesTheFileAlone) {
    for (const char* version : {"v2.16", "V1"}) {
        SCOPED_TRACE(version);
        const QByteArray original = cp932Lines(eventLines("1200,1500,3,0", " 5 ", {"a@2003/9/14"}, version));
        writeFile(original);
        dialogs->shown.clear();
        frmKV& f = start();
        EXPECT_TRUE(dialogs->shown.empty());
        EXPECT_EQ(f.cobEV->count(), 0);
        EXPECT_EQ(f.sizeMode, 0);
        EXPECT_EQ(f.fgNS, 2);
        EXPECT_FALSE(f.ckBS->isChecked());
        f.modified = 1;
        unload();
        ASSERT_EQ(dialogs->shown.size(), 1u);
        EXPECT_EQ(dialogs->shown[0].text, kWriteError);
        EXPECT_EQ(dialogs->shown[0].title, QStringLiteral("エラー"));
        EXPECT_EQ(fileBytes(), original);
    }
}

TEST_F(EventFileWindow, FlagsLineSetsTheCheckBoxesWithoutMarkingAChange) {
    struct Case {
        const char* line4;
        bool startDay, noMoon;
    };
    for (const Case& c : {Case{"5", true, true}, Case{" 5 ", true, true}, Case{"x", false, false},
                          Case{"2", false, false}, Case{" 1 ", true, false}}) {
        SCOPED_TRACE(c.line4);
        writeFile(cp932Lines(eventLines("0,0,0,2", c.line4, {"a@2003/9/14"})));
        frmKV& f = start();
        EXPECT_EQ(f.ckST->isChecked(), c.startDay);
        EXPECT_EQ(f.ckBS->isChecked(), c.noMoon);
        EXPECT_EQ(f.picM->isHidden(), c.noMoon);
        EXPECT_EQ(f.backColor, c.noMoon ? f.defaultBackColor : f.customBackColor);
        EXPECT_EQ(f.modified, 0);
    }
}

TEST_F(EventFileWindow, EraValueAndWindowPlaceFromLineThree) {
    struct Case {
        const char* line3;
        int fgNS;
        std::optional<QPoint> place;
    };
    const Case cases[] = {
        {"1200,1500,0,x", 2, QPoint(100, 80)},    {"\"150\", 300 ,0, 2 ", 2, QPoint(20, 10)},
        {"-150000,-150000,0,2", 2, std::nullopt},  // off every screen: stays put
        {"abc,1500,0,2", 2, std::nullopt},        {"1e39,1500,0,2", 2, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line3);
        writeFile(cp932Lines(eventLines(c.line3, " 0 ")));
        dialogs->shown.clear();
        form = std::make_unique<frmKV>(makeServices());
        const QPoint before = form->pos();
        form->Form_Load();
        EXPECT_TRUE(dialogs->shown.empty());
        EXPECT_EQ(form->fgNS, c.fgNS);
        EXPECT_TRUE(form->opNS(c.fgNS)->isChecked());
        EXPECT_EQ(form->pos(), c.place.value_or(before));
    }
}

TEST_F(EventFileWindow, ReadFailuresAreReportedAndTheFileIsNeverOverwritten) {
    struct Case {
        QByteArray bytes;
        EventFileError error;
        int line;
    };
    const Case cases[] = {
        {cp932Lines({"' h", "Ver.2.16", "0,0,0,2", " 0 "}), EventFileError::ShortFile, 0},
        {cp932Lines({"' h", "Ver.2.16", "0,0", " 0 ", "TODAY", "0", "'"}), EventFileError::ShortWindowLine, 0},
        {cp932Lines(eventLines("0,0,3,7", " 0 ", {"a@2003/9/14"})), EventFileError::NoSuchEraTable, 0},
        {cp932Lines(eventLines("0,0,0,2", " 0 ")) + "ok@2003/9/14\r\nbad\x85\x40@2003/9/14\r\n",
         EventFileError::BadEncoding, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(errorNumber(c.error));
        writeFile(c.bytes);
        dialogs->shown.clear();
        frmKV& f = start();
        ASSERT_EQ(dialogs->shown.size(), 1u);
        EXPECT_EQ(dialogs->shown[0].text, QString::fromStdString(unexpectedErrorText(c.error, c.line)));
        EXPECT_EQ(dialogs->shown[0].title, QStringLiteral("ファイルエラー"));
        EXPECT_EQ(f.cobEV->count(), 0);
        EXPECT_EQ(f.sizeMode, c.error == EventFileError::NoSuchEraTable ? 3 : 0);
        EXPECT_EQ(f.fgNS, 2);
        f.btEV_Click(0);  // a change that would be saved
        unload();
        EXPECT_EQ(dialogs->shown.back().text, kWriteError);
        EXPECT_EQ(fileBytes(), c.bytes);
    }
}

TEST_F(EventFileWindow, UnreadableAndUnreachableFiles) {
    ASSERT_TRUE(QDir(workDir.path()).mkdir(QStringLiteral("kalvoe.dat")));  // a folder in its place
    start();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, QString::fromStdString(unexpectedErrorText(EventFileError::ReadFailed)));

    dialogs->shown.clear();
    Services s = makeServices();
    s.workDir = QDir(workDir.path()).filePath(QStringLiteral("no such folder")).toStdString();
    form = std::make_unique<frmKV>(s);
    form->Form_Load();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, QStringLiteral("パスが見つかりません！\r\n正しいファイル名ではありません！\r\n"
                                                     "ファイル選択するか、正しいファイル名を入力してください。"));
    EXPECT_EQ(dialogs->shown[0].title, QStringLiteral("ファイルエラー"));
    EXPECT_EQ(form->cobEV->count(), 0);
}

// The folder of the file is swapped for a plain file while the program runs: no
// permission can make that writable, and the old file (moved with its folder) is intact.
TEST_F(EventFileWindow, WriteFailureWhenTheFolderBecameAFile) {
    const QString folder = QDir(workDir.path()).filePath(QStringLiteral("data"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QByteArray original = cp932Lines(eventLines("0,0,0,2", " 0 ", {"a@2003/9/14"}));
    QFile old(QDir(folder).filePath(QStringLiteral("kalvoe.dat")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(original);
    old.close();
    Services s = makeServices();
    s.workDir = folder.toStdString();
    form = std::make_unique<frmKV>(s);
    form->Form_Load();
    form->btEV_Click(0);
    ASSERT_TRUE(QDir().rename(folder, folder + QStringLiteral(".moved")));
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    unload();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, kWriteError);
    QFile kept(folder + QStringLiteral(".moved/kalvoe.dat"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), original);
}

// A disk that fills up half-way through the save, made real with a file size limit,
// which binds root too: the previous file stays byte for byte.
TEST_F(EventFileWindow, WriteFailurePartWayKeepsThePreviousFile) {
    std::vector<std::string> entries(40, "長い名前の記念日です@2003/9/14");
    const QByteArray original = cp932Lines(eventLines("0,0,0,2", " 0 ", entries));
    writeFile(original);
    frmKV& f = start();
    f.btEV_Click(0);
    unloadUnderFileSizeLimit(200, SIG_IGN);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, kWriteError);
    EXPECT_EQ(fileBytes(), original);
    EXPECT_EQ(QDir(workDir.path()).entryList(QDir::Files), QStringList{QStringLiteral("kalvoe.dat")});
}

// What the program writes itself (here a comment line that came in as UTF-8 text) falls
// back to "?" for a character the file cannot hold; what the user types is refused at
// the button instead.
TEST_F(EventFileWindow, CharactersCodePage932CannotHoldAreSavedAsQuestionMarks) {
    frmKV& f = start();
    f.fileComment = QStringLiteral("' café 😀");
    f.ckST->click();
    unload();
    EXPECT_TRUE(dialogs->shown.empty());
    const TextLines back = readTextFile(eventFilePath().toStdString());
    ASSERT_EQ(back.lines.size(), 11u);
    EXPECT_EQ(back.lines[6], "' caf? ?");
}

}  // namespace
}  // namespace kalvo::test
