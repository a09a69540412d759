// The event file in the places a user's files really live: other writers, hard links,
// files of another owner, size limits, folders that go away, odd line ends and bytes,
// text the file cannot hold, and things in the file's place that are no file.
#include "core/events/event_file.h"
#include "support/event_support.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <csignal>

namespace kalvo::test {
namespace {

const QString kWriteError = QStringLiteral("設定ファイルの書き込みエラー");
const QString kChangedTitle = QStringLiteral("設定ファイルの変更");

class EventFileSafety : public EventWindowTest {
protected:
    QTemporaryDir home;
    std::unique_ptr<frmKV> second;

    Services makeServicesWithHome() {
        Services s = makeServices();
        s.homeDir = home.path().toStdString();
        return s;
    }
    frmKV& startWithHome() {
        form = std::make_unique<frmKV>(makeServicesWithHome());
        form->Form_Load();
        return *form;
    }
    frmKV& startSecond() {
        second = std::make_unique<frmKV>(makeServicesWithHome());
        second->Form_Load();
        return *second;
    }
    static void add(frmKV& f, const QString& entry) {
        f.cobEV->setEditText(entry);
        f.btEV_Click(2);
    }
    static void unloadWindow(frmKV& f) {
        int cancel = 0;
        f.Form_Unload(cancel);
    }
    TextLines fileLines() const { return readTextFile(eventFilePath().toStdString()); }
    std::vector<std::string> fileEntries() const {
        const TextLines t = fileLines();
        return t.lines.size() > 7 ? std::vector<std::string>(t.lines.begin() + 7, t.lines.end())
                                  : std::vector<std::string>{};
    }
    struct stat statOf(const QString& path) const {
        struct stat st {};
        EXPECT_EQ(::stat(path.toLocal8Bit().constData(), &st), 0) << path.toStdString();
        return st;
    }
};

// ---- another writer -----------------------------------------------------------------

// Two windows in one folder each add an entry; the first to close writes, the second
// finds the file changed and asks: both entries and the first window's setting survive.
TEST_F(EventFileSafety, TwoWindowsInOneFolderLoseNothingWhenMerged) {
    writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14"})));
    frmKV& a = startWithHome();
    frmKV& b = startSecond();
    add(a, QStringLiteral("一つ目の窓@2020/1/1"));
    a.ckST->click();
    add(b, QStringLiteral("二つ目の窓@2021/2/2"));
    unloadWindow(a);
    EXPECT_TRUE(dialogs->shown.empty());
    dialogs->answers = {Answer::Yes};
    unloadWindow(b);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].title, kChangedTitle);
    EXPECT_EQ(dialogs->shown[0].buttons, Buttons::YesNoCancel);
    EXPECT_TRUE(dialogs->shown[0].text.startsWith(QStringLiteral("kalvoe.dat は、Kalvo が読み込んだ後に")));
    EXPECT_EQ(fileEntries(),
              (std::vector<std::string>{"誕生日@2003/9/14", "一つ目の窓@2020/1/1", "二つ目の窓@2021/2/2"}));
    EXPECT_EQ(fileLines().lines[3], " 1 ");  // the first window's count of the start day
}

// One window ticks 起算日含む, the other 仕事: each box is its own setting, both ticks stay.
TEST_F(EventFileSafety, TwoWindowsTickingDifferentBoxesKeepBothTicks) {
    writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14"})));
    frmKV& a = startWithHome();
    frmKV& b = startSecond();
    a.ckST->click();
    b.ckBS->click();
    unloadWindow(a);
    dialogs->answers = {Answer::Yes};
    unloadWindow(b);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(fileLines().lines[3], " 5 ");
}

// いいえ overwrites; キャンセル, Escape and the close button go back to the window with
// nothing written (the end is called off).
TEST_F(EventFileSafety, TheOtherAnswersOverwriteOrGoBackToTheWindow) {
    for (const Answer answer : {Answer::No, Answer::Cancel, Answer::Closed}) {
        writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14"})));
        frmKV& a = startWithHome();
        frmKV& b = startSecond();
        add(a, QStringLiteral("一つ目の窓@2020/1/1"));
        add(b, QStringLiteral("二つ目の窓@2021/2/2"));
        unloadWindow(a);
        const QByteArray afterFirst = fileBytes();
        dialogs->shown.clear();
        dialogs->answers = {answer};
        unloadWindow(b);
        ASSERT_EQ(dialogs->shown.size(), 1u);
        if (answer == Answer::No) {
            EXPECT_EQ(fileEntries(), (std::vector<std::string>{"誕生日@2003/9/14", "二つ目の窓@2021/2/2"}));
        } else {
            EXPECT_EQ(fileBytes(), afterFirst);
        }
        EXPECT_EQ(b.unloaded, answer == Answer::No);
        EXPECT_EQ(b.modified, answer == Answer::No ? 0 : 1);
    }
}

// Both start where there is no file yet: each would write the default list; merged, it
// is there once.
TEST_F(EventFileSafety, TwoFirstStartsMergeWithoutDoublingTheDefaultList) {
    frmKV& a = startWithHome();
    frmKV& b = startSecond();
    const int defaults = a.cobEV->count();
    add(a, QStringLiteral("一つ目の窓@2020/1/1"));
    add(b, QStringLiteral("二つ目の窓@2021/2/2"));
    unloadWindow(a);
    dialogs->answers = {Answer::Yes};
    unloadWindow(b);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    const auto entries = fileEntries();
    ASSERT_EQ(entries.size(), static_cast<size_t>(defaults) + 2);
    EXPECT_EQ(entries[static_cast<size_t>(defaults)], "一つ目の窓@2020/1/1");
    EXPECT_EQ(entries.back(), "二つ目の窓@2021/2/2");
}

// An entry written by hand in a text editor while the program runs, with bytes iconv
// would not write (NEC's copy of ≒), survives a delete and an add of this run.
TEST_F(EventFileSafety, AHandWrittenEntryIsKeptByteForByte) {
    writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14", "記念日@2010/4/1"})));
    frmKV& f = startWithHome();
    QFile file(eventFilePath());
    ASSERT_TRUE(file.open(QIODevice::Append));
    const QByteArray handWritten = "\x87\x90\x8e\xe8\x8f\x91\x82\xab@2025/5/5\r\n";  // ≒手書き
    file.write(handWritten);
    file.close();
    f.selectEV(0);
    dialogs->answers = {Answer::Yes, Answer::Yes};  // delete, then merge
    f.btEV_Click(3);
    add(f, QStringLiteral("追加@2026/12/7"));
    unload();
    ASSERT_EQ(dialogs->shown.size(), 2u);
    EXPECT_EQ(dialogs->shown[1].title, kChangedTitle);
    EXPECT_EQ(fileEntries(), (std::vector<std::string>{"記念日@2010/4/1", "≒手書き@2025/5/5", "追加@2026/12/7"}));
    EXPECT_TRUE(fileBytes().contains(handWritten));
}

// The end asked for by the system has nobody to ask: it merges.
TEST_F(EventFileSafety, AnEndFromOutsideMergesWithoutAsking) {
    writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14"})));
    frmKV& f = startWithHome();
    writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14", "エディター@2025/5/5"})));
    add(f, QStringLiteral("追加@2026/12/7"));
    f.endFromOutside();
    f.close();
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(fileEntries(), (std::vector<std::string>{"誕生日@2003/9/14", "エディター@2025/5/5", "追加@2026/12/7"}));
}

// What the other writer left cannot be read as an event file: it is overwritten only
// when the user says so, and at an end from outside the content goes to the home folder.
TEST_F(EventFileSafety, AnUnreadableChangeIsNeverOverwrittenUnasked) {
    writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14"})));
    frmKV& f = startWithHome();
    const QByteArray foreign = "not an event file\n\xff\xfe\n";
    writeFile(foreign);
    add(f, QStringLiteral("追加@2026/12/7"));
    dialogs->answers = {Answer::No};
    unload();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(fileBytes(), foreign);

    writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14"})));
    frmKV& h = startWithHome();
    writeFile(foreign);
    add(h, QStringLiteral("追加@2026/12/7"));
    dialogs->shown.clear();
    h.endFromOutside();
    unload();
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(fileBytes(), foreign);
    const TextLines copy = readTextFile(QDir(home.path()).filePath(QStringLiteral("kalvoe.dat")).toStdString());
    ASSERT_EQ(copy.status, FileStatus::Ok);
    EXPECT_EQ(copy.lines.back(), "追加@2026/12/7");
}

// ---- odd places ---------------------------------------------------------------------

TEST_F(EventFileSafety, AFileWithASecondHardLinkStaysOneFile) {
    writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14"})));
    const QString other = QDir(workDir.path()).filePath(QStringLiteral("backup-name.dat"));
    ASSERT_EQ(::link(eventFilePath().toLocal8Bit().constData(), other.toLocal8Bit().constData()), 0);
    frmKV& f = startWithHome();
    add(f, QStringLiteral("追加@2026/12/7"));
    unload();
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(statOf(other).st_ino, statOf(eventFilePath()).st_ino);
    EXPECT_EQ(statOf(eventFilePath()).st_nlink, 2u);
    QFile otherFile(other);
    ASSERT_TRUE(otherFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(otherFile.readAll(), fileBytes());
    EXPECT_EQ(fileEntries().back(), "追加@2026/12/7");
}

TEST_F(EventFileSafety, ASymbolicLinkStaysALink) {
    const QString real = QDir(home.path()).filePath(QStringLiteral("real.dat"));
    QFile target(real);
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    target.write(cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14"})));
    target.close();
    ASSERT_TRUE(QFile::link(real, eventFilePath()));
    frmKV& f = startWithHome();
    add(f, QStringLiteral("追加@2026/12/7"));
    unload();
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_TRUE(QFileInfo(eventFilePath()).isSymLink());
    EXPECT_EQ(readTextFile(real.toStdString()).lines.back(), "追加@2026/12/7");
}

// root saving a user's file gives it back to the user, with its mode.
TEST_F(EventFileSafety, ASaveAsRootKeepsOwnerGroupAndMode) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to hand a file to another user";
    writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14"})));
    const QByteArray path = eventFilePath().toLocal8Bit();
    ASSERT_EQ(::chown(path.constData(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(path.constData(), 0640), 0);
    frmKV& f = startWithHome();
    add(f, QStringLiteral("追加@2026/12/7"));
    unload();
    EXPECT_TRUE(dialogs->shown.empty());
    const struct stat st = statOf(eventFilePath());
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(fileEntries().back(), "追加@2026/12/7");
}

// A file size limit below the file's size: the write fails and is reported; the process
// is not killed by SIGXFSZ (the test leaves the signal at its default on purpose).
TEST_F(EventFileSafety, AFileSizeLimitIsAReportedFailureNotAKill) {
    std::vector<std::string> entries(40, "長い名前の記念日です@2003/9/14");
    const QByteArray original = cp932Lines(eventLines("0,0,0,2", " 0 ", entries));
    writeFile(original);
    frmKV& f = startWithHome();
    f.btEV_Click(0);
    unloadUnderFileSizeLimit(200, SIG_DFL);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, kWriteError);
    EXPECT_EQ(fileBytes(), original);
}

// A save that would make the file longer than the program reads is refused: the old
// file stays, the user is told, and the end is called off so that the list can be made
// shorter. (Written, the file would be refused at the next start, with every change after.)
TEST_F(EventFileSafety, ASaveThatWouldPassTheSizeLimitIsRefusedAndTheFileStays) {
    QByteArray original = cp932Lines(eventLines("0,0,0,2", " 0 "));
    const QByteArray line = QByteArray(990, 'x') + "@2003/9/14\r\n";
    const qsizetype room = static_cast<qsizetype>(kMaxFileBytes) - 8 - original.size();
    original += line.repeated(room / line.size());
    original += QByteArray(room % line.size() - 12, 'y') + "@2003/9/14\r\n";
    ASSERT_EQ(original.size(), static_cast<qsizetype>(kMaxFileBytes) - 8);
    writeFile(original);
    frmKV& f = startWithHome();
    ASSERT_TRUE(dialogs->shown.empty());
    add(f, QStringLiteral("追加@2026/12/7"));
    int cancel = 0;
    f.Form_Unload(cancel);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].title, QStringLiteral("エラー"));
    EXPECT_TRUE(dialogs->shown[0].text.startsWith(kWriteError + QStringLiteral("\r\n保存する内容が 32 MB を超える")))
        << dialogs->shown[0].text.toStdString();
    EXPECT_EQ(cancel, 1);
    EXPECT_FALSE(f.unloaded);
    EXPECT_TRUE(fileBytes() == original);
    EXPECT_TRUE(QDir(home.path()).isEmpty());
}

// A working folder, a program folder and a home folder named in Shift-JIS bytes, as
// folders unpacked from old archives are: each is reached by its bytes, and a message
// shows the name readably.
TEST_F(EventFileSafety, FoldersNamedInShiftJisAreReachedByTheirBytes) {
    const std::string hizuke = "\x93\xfa\x95\x74";  // 日付
    const std::string work = workDir.path().toStdString() + "/" + hizuke;
    const std::string program = home.path().toStdString() + "/prog" + hizuke;
    const std::string homeFolder = home.path().toStdString() + "/home" + hizuke;
    for (const std::string& folder : {work, program, homeFolder}) ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    const FileBytes era = readFileBytes(std::string(KALVO_BINARY_DIR) + "/KalvoN.dat");
    ASSERT_EQ(era.status, FileStatus::Ok);
    ASSERT_EQ(writeFileBytes(program + "/KalvoN.dat", era.bytes), FileStatus::Ok);
    ASSERT_EQ(writeFileBytes(work + "/kalvoe.dat",
                             cp932Lines(eventLines("0,0,0,0", " 0 ", {"誕生日@2003/9/14"})).toStdString()),
              FileStatus::Ok);
    Services s = makeServices();
    s.workDir = work;
    s.programDir = program;
    s.homeDir = homeFolder;
    const auto startThere = [&] {
        form = std::make_unique<frmKV>(s);
        form->Form_Load();
        return form.get();
    };
    frmKV* f = startThere();
    EXPECT_TRUE(dialogs->shown.empty()) << dialogs->shown[0].text.toStdString();
    EXPECT_EQ(f->fgNS, 0);  // the northern court's file was read
    EXPECT_EQ(items(), QStringList{QStringLiteral("誕生日@2003/9/14")});
    add(*f, QStringLiteral("追加@2026/12/7"));
    unload();
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(readTextFile(work + "/kalvoe.dat").lines.back(), "追加@2026/12/7");

    // The folder goes away: the question names it readably, the copy goes home.
    f = startThere();
    add(*f, QStringLiteral("次の日@2027/1/1"));
    ASSERT_EQ(::rename(work.c_str(), (work + ".moved").c_str()), 0);
    dialogs->answers = {Answer::Yes};
    unload();
    ASSERT_EQ(dialogs->shown.size(), 2u);
    EXPECT_TRUE(dialogs->shown[0].text.contains(QStringLiteral("/日付\r\n"))) << dialogs->shown[0].text.toStdString();
    EXPECT_TRUE(dialogs->shown[1].text.contains(QStringLiteral("/home日付/kalvoe.dat")));
    EXPECT_EQ(readTextFile(homeFolder + "/kalvoe.dat").lines.back(), "次の日@2027/1/1");
}

// The working folder is renamed while the program runs: the user is told and may keep
// the content in the home folder, under a name that overwrites nothing.
TEST_F(EventFileSafety, AFolderThatWentAwayOffersTheHomeFolder) {
    const QString folder = QDir(workDir.path()).filePath(QStringLiteral("data"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile existing(QDir(home.path()).filePath(QStringLiteral("kalvoe.dat")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("someone else's\r\n");
    existing.close();
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        QDir().rename(folder + QStringLiteral(".moved"), folder);
        Services s = makeServicesWithHome();
        s.workDir = folder.toStdString();
        form = std::make_unique<frmKV>(s);
        form->Form_Load();
        add(*form, QStringLiteral("追加@2026/12/7"));
        ASSERT_TRUE(QDir().rename(folder, folder + QStringLiteral(".moved")));
        dialogs->shown.clear();
        dialogs->answers = {answer};
        unload();
        const QString copy = QDir(home.path()).filePath(QStringLiteral("kalvoe-2.dat"));
        ASSERT_GE(dialogs->shown.size(), 1u);
        EXPECT_TRUE(dialogs->shown[0].text.contains(folder)) << dialogs->shown[0].text.toStdString();
        EXPECT_TRUE(dialogs->shown[0].text.contains(copy)) << dialogs->shown[0].text.toStdString();
        if (answer == Answer::No) {
            EXPECT_EQ(dialogs->shown.size(), 1u);
            EXPECT_FALSE(QFileInfo::exists(copy));
        } else {
            ASSERT_EQ(dialogs->shown.size(), 2u);
            EXPECT_TRUE(dialogs->shown[1].text.contains(copy));
            EXPECT_EQ(readTextFile(copy.toStdString()).lines.back(), "追加@2026/12/7");
        }
    }
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), QByteArray("someone else's\r\n"));
}

// ---- line ends and bytes --------------------------------------------------------------

// Edited on several systems: CR LF, LF and lone CR in one file. No settings line runs
// into another, and every entry keeps its bytes.
TEST_F(EventFileSafety, MixedLineEndsKeepEveryLineApart) {
    const QByteArray file = cp932Lines({"' 自分の設定"}) + "Ver.2.16\n0,0,0,2\r 0 \r\nTODAY\r3\n" +
                            cp932Lines({"' コメント"}) + "a@2003/9/14\rb@2004/1/1\nc@2005/2/2\r\nd@2006/3/3\r";
    writeFile(file);
    frmKV& f = startWithHome();
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(f.startDisplay[0], QStringLiteral("TODAY"));
    EXPECT_EQ(f.startDisplay[1], QStringLiteral("3"));
    ASSERT_EQ(items(), (QStringList{"a@2003/9/14", "b@2004/1/1", "c@2005/2/2", "d@2006/3/3"}));
    f.ckST->click();
    unload();
    EXPECT_EQ(fileEntries(), (std::vector<std::string>{"a@2003/9/14", "b@2004/1/1", "c@2005/2/2", "d@2006/3/3"}));
}

// In a file that ends its lines with CR LF, a CR inside an entry is pasted text.
TEST_F(EventFileSafety, APastedCarriageReturnInACrLfFileStaysInItsEntry) {
    writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", {"前\r後@2003/9/14", "次@2004/1/1"})));
    frmKV& f = startWithHome();
    ASSERT_EQ(f.cobEV->count(), 2);
    EXPECT_EQ(f.cobEV->itemText(0), QStringLiteral("前\r後@2003/9/14"));
    f.ckST->click();
    unload();
    EXPECT_TRUE(fileBytes().contains(cp932Lines({"前\r後@2003/9/14", "次@2004/1/1"})))
        << fileBytes().toHex().toStdString();
}

// Code page 932 has two byte pairs for some characters (NEC's and IBM's rows); iconv
// writes back only one. Lines this run did not change keep the bytes they had.
TEST_F(EventFileSafety, UntouchedLinesKeepTheirDuplicateCodePoints) {
    const QByteArray necIbm = "\xed\x40\x87\x90\x87\x54@2003/9/14";  // 纊≒Ⅰ from the NEC rows
    const QByteArray spacing = "  \x81\x40 \x8b\x4c\x94\x4f\x93\xfa  @2004/1/1 ";
    QByteArray file = cp932Lines(eventLines("0,0,0,2", " 0 "));
    file += necIbm + "\r\n" + spacing + "\r\n";
    writeFile(file);
    frmKV& f = startWithHome();
    ASSERT_EQ(f.cobEV->count(), 2);
    add(f, QStringLiteral("追加@2026/12/7"));
    unload();
    const QByteArray back = fileBytes();
    EXPECT_TRUE(back.contains("\r\n" + necIbm + "\r\n" + spacing + "\r\n")) << back.toHex().toStdString();
}

// ---- what the user typed ---------------------------------------------------------------

TEST_F(EventFileSafety, TextTheFileCannotHoldIsRefusedAsTyped) {
    writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14"})));
    frmKV& f = startWithHome();
    const QString typed = QStringLiteral("誕生日😀𠮷😀@2003/9/14");
    for (const int button : {2, 1}) {  // add, then change
        dialogs->shown.clear();
        f.selectEV(0);
        f.cobEV->setEditText(typed);
        f.btEV_Click(button);
        ASSERT_EQ(dialogs->shown.size(), 1u) << button;
        EXPECT_EQ(dialogs->shown[0].title, QStringLiteral("入力エラー"));
        EXPECT_TRUE(dialogs->shown[0].text.contains(QStringLiteral("「😀」「𠮷」")))
            << dialogs->shown[0].text.toStdString();
        EXPECT_EQ(f.cobEV->currentText(), typed);
        EXPECT_EQ(items(), QStringList{QStringLiteral("誕生日@2003/9/14")});
        EXPECT_EQ(f.modified, 0);
    }
    unload();
    EXPECT_EQ(fileEntries(), std::vector<std::string>{"誕生日@2003/9/14"});
}

// ---- a choice the user never made --------------------------------------------------------

TEST_F(EventFileSafety, AFallbackToTheBuiltInTableKeepsTheStoredCourt) {
    QTemporaryDir noEraFiles;
    programDir = noEraFiles.path();
    writeFile(cp932Lines(eventLines("0,0,0,0", " 0 ", {"誕生日@2003/9/14"})));
    frmKV& f = startWithHome();
    ASSERT_EQ(dialogs->shown.size(), 1u);  // the court file is missing
    EXPECT_EQ(f.fgNS, 2);
    f.ckST->click();
    unload();
    EXPECT_EQ(fileLines().lines[2], "0,0,0,0");
}

// ---- no file at all -----------------------------------------------------------------------

// A FIFO, a link to an endless device, a file far too large: the program starts at once
// with a message, and never writes there.
TEST_F(EventFileSafety, WhatIsNoRegularFileOrIsTooLargeIsNeitherReadNorWritten) {
    const QByteArray path = eventFilePath().toLocal8Bit();
    struct Case {
        const char* what;
        std::function<void()> make;
        QString message;
    };
    const Case cases[] = {
        {"fifo", [&] { ASSERT_EQ(::mkfifo(path.constData(), 0644), 0); },
         QStringLiteral("kalvoe.dat は通常のファイルではないため、読み込みません。")},
        {"endless device", [&] { ASSERT_EQ(::symlink("/dev/zero", path.constData()), 0); },
         QStringLiteral("kalvoe.dat は通常のファイルではないため、読み込みません。")},
        {"huge file",
         [&] {
             writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ")));
             ASSERT_EQ(::truncate(path.constData(), static_cast<off_t>(kMaxFileBytes) + 1), 0);
         },
         QStringLiteral("kalvoe.dat は大きすぎるため（32 MB まで）、読み込みません。")},
    };
    for (const auto& c : cases) {
        ::unlink(path.constData());
        c.make();
        struct stat before {};
        ASSERT_EQ(::lstat(path.constData(), &before), 0);
        dialogs->shown.clear();
        ::alarm(30);  // a blocking open would hang here; the alarm ends the test instead
        frmKV& f = startWithHome();
        ::alarm(0);
        ASSERT_EQ(dialogs->shown.size(), 1u) << c.what;
        EXPECT_TRUE(dialogs->shown[0].text.startsWith(c.message)) << c.what;
        f.ckST->click();
        unload();
        ASSERT_EQ(dialogs->shown.size(), 2u) << c.what;
        EXPECT_EQ(dialogs->shown[1].text, kWriteError) << c.what;
        struct stat after {};
        ASSERT_EQ(::lstat(path.constData(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino) << c.what;
        EXPECT_EQ(after.st_size, before.st_size) << c.what;
        EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec) << c.what;
    }
}

}  // namespace
}  // namespace kalvo::test
