// Saves that race and saves that are killed, with real second processes: the fault
// library stops a save at a chosen call (so that another one can run meanwhile) or kills
// it there, as a logout's SIGKILL or a power cut would.
#include "file_faults/fault_support.h"
#include "platform/save_journal.h"
#include "platform/save_lock.h"
#include "platform/text_file.h"
#include "support/event_support.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>

namespace kalvo::test {
namespace {

class KilledSaves : public EventWindowTest {
protected:
    QTemporaryDir traceDir;
    std::unique_ptr<frmKV> second;
    const std::string trace = traceDir.filePath(QStringLiteral("trace")).toStdString();

    frmKV& startSecond() {
        second = std::make_unique<frmKV>(makeServices());
        second->Form_Load();
        return *second;
    }
    static void add(frmKV& f, const QString& entry) {
        f.cobEV->setEditText(entry);
        f.btEV_Click(2);
    }
    // The end a logout gives the window: nobody there to answer a question.
    static void endUnattended(frmKV& f) {
        f.endFromOutside();
        int cancel = 0;
        f.Form_Unload(cancel);
    }
    std::vector<std::string> fileEntries() const {
        const TextLines t = readTextFile(eventFilePath().toStdString());
        EXPECT_EQ(t.status, FileStatus::Ok);
        return t.lines.size() > 7 ? std::vector<std::string>(t.lines.begin() + 7, t.lines.end())
                                  : std::vector<std::string>{};
    }
    QStringList leftovers() const {
        return QDir(workDir.path()).entryList({QStringLiteral(".kalvoe.dat.*")}, QDir::Files | QDir::Hidden);
    }
};

// A logout ends two windows on one folder at the same moment. The first save is stopped
// right before its rename; the second runs meanwhile. Without turns the second finds the
// file as both read it and its rename comes last: the first window's entry is lost.
TEST_F(KilledSaves, TwoWindowsEndedTogetherBothKeepTheirChange) {
    writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14"})));
    frmKV& a = start();
    frmKV& b = startSecond();
    add(a, QStringLiteral("一つ目の窓@2020/1/1"));
    add(b, QStringLiteral("二つ目の窓@2021/2/2"));

    Child first(
        "rename=STOP@1", [&] { endUnattended(a); }, trace);
    ASSERT_TRUE(first.waitStoppedOrEnded());  // at its rename, its last look done
    Child later(
        "rename=STOP@1", [&] { endUnattended(b); }, trace);
    // The second save waits for the first one's turn, or, taking none, has looked at the
    // file and stopped at its own rename.
    ASSERT_TRUE(waitFor([&] { return traced(trace, later.pid(), "flock busy") || later.stoppedNow(); }));
    first.runToEnd();
    later.runToEnd();
    EXPECT_TRUE(first.endedWell());
    EXPECT_TRUE(later.endedWell());
    EXPECT_EQ(fileEntries(),
              (std::vector<std::string>{"誕生日@2003/9/14", "一つ目の窓@2020/1/1", "二つ目の窓@2021/2/2"}));
}

// Another program writes the file after the save looked at it and before its rename
// (here while the save's temporary file is flushed): the save looks again right before
// the rename, finds the change and merges it instead of overwriting it.
TEST_F(KilledSaves, AWriterBetweenTheLookAndTheRenameIsMergedNotOverwritten) {
    writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14"})));
    frmKV& a = start();
    add(a, QStringLiteral("追加@2026/12/7"));
    Child save("fdatasync=STOP@1", [&] { endUnattended(a); });
    ASSERT_TRUE(save.waitStoppedOrEnded());
    QFile file(eventFilePath());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(cp932Lines({"エディター@2025/5/5"}));
    file.close();
    save.runToEnd();
    EXPECT_TRUE(save.endedWell());
    EXPECT_EQ(fileEntries(), (std::vector<std::string>{"誕生日@2003/9/14", "エディター@2025/5/5", "追加@2026/12/7"}));
}

// A save into the file itself (here: the folder takes no new file) is killed after it
// wrote the shorter new content and before it cut the file to that length. The next
// start completes it from the journal and says so; the file holds exactly the new content.
TEST_F(KilledSaves, AnInPlaceSaveKilledBeforeItsTruncateIsCompletedAtTheNextStart) {
    writeFile(cp932Lines(eventLines(
        "0,0,0,2", " 0 ", {"とても長い名前の最初の記念日です@2003/9/14", "記念日@2010/4/1", "三番目@2020/1/1"})));
    frmKV& a = start();
    a.selectEV(0);
    dialogs->answers = {Answer::Yes};
    a.btEV_Click(3);  // delete: the new content is shorter than the old
    ASSERT_EQ(a.cobEV->count(), 2);
    Child save("mkostemp=EACCES,ftruncate=KILL@1", [&] {
        int cancel = 0;
        a.Form_Unload(cancel);
    });
    save.runToEnd();
    ASSERT_TRUE(save.killed());

    dialogs->shown.clear();
    frmKV& next = start();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].title, QStringLiteral("保存"));
    EXPECT_TRUE(dialogs->shown[0].text.startsWith(QStringLiteral("前回中断された設定ファイルの保存を完了しました")))
        << dialogs->shown[0].text.toStdString();
    EXPECT_EQ(items(), (QStringList{QStringLiteral("記念日@2010/4/1"), QStringLiteral("三番目@2020/1/1")}));
    EXPECT_EQ(fileEntries(), (std::vector<std::string>{"記念日@2010/4/1", "三番目@2020/1/1"}));
    EXPECT_EQ(next.modified, 0);
    EXPECT_TRUE(QDir(stateDir.path()).isEmpty());  // the journal is gone once used
}

// The same, but before the next start an editor rewrote the file: the file is left as the
// editor made it, and what the cut-short save had goes to the home folder, as the user is told.
TEST_F(KilledSaves, AnInterruptedSaveOfAFileChangedSinceIsKeptAside) {
    QTemporaryDir home;
    writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14"})));
    frmKV& a = start();
    add(a, QStringLiteral("追加@2026/12/7"));
    Child save("mkostemp=EACCES,ftruncate=KILL@1", [&] {
        int cancel = 0;
        a.Form_Unload(cancel);
    });
    save.runToEnd();
    ASSERT_TRUE(save.killed());
    const QByteArray edited = cp932Lines(eventLines("0,0,0,2", " 0 ", {"エディター@2025/5/5"}));
    {
        QFile file(eventFilePath());  // rewritten in place, as some editors do
        ASSERT_TRUE(file.open(QIODevice::ReadWrite | QIODevice::Truncate));
        file.write(edited);
    }

    dialogs->shown.clear();
    Services s = makeServices();
    s.homeDir = home.path().toStdString();
    form = std::make_unique<frmKV>(s);
    form->Form_Load();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    const QString copy = home.filePath(QStringLiteral("kalvoe.dat"));
    EXPECT_TRUE(dialogs->shown[0].text.contains(copy)) << dialogs->shown[0].text.toStdString();
    EXPECT_EQ(fileBytes(), edited);
    EXPECT_EQ(items(), QStringList{QStringLiteral("エディター@2025/5/5")});
    EXPECT_EQ(readTextFile(copy.toStdString()).lines.back(), "追加@2026/12/7");
    EXPECT_TRUE(QDir(stateDir.path()).isEmpty());
}

// The folder flush after the rename fails, so the old content goes back, and the program
// is killed while it writes it back: the file is never empty, it holds the old or the
// new content whole.
TEST_F(KilledSaves, TheRestoreAfterAFailedFolderFlushNeverEmptiesTheFile) {
    const QByteArray original = cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14"}));
    writeFile(original);
    frmKV& a = start();
    add(a, QStringLiteral("追加@2026/12/7"));
    Child save("fsync=EIO,pwrite=KILL@2", [&] {
        int cancel = 0;
        a.Form_Unload(cancel);
    });
    save.runToEnd();
    ASSERT_TRUE(save.killed());
    const QByteArray now = fileBytes();
    if (now != original) EXPECT_EQ(fileEntries(), (std::vector<std::string>{"誕生日@2003/9/14", "追加@2026/12/7"}));
}

// Every save path, killed at each of its calls in turn (each open, write, truncate,
// flush, rename, unlink and lock), then what the next start does: the file holds the
// old or the new content, byte for byte.
TEST_F(KilledSaves, AKillAtAnyCallOfAnySaveLeavesTheOldOrTheNewContent) {
    const std::string path = eventFilePath().toStdString();
    const std::string oldBytes =
        cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14", "長い長い記念日@2010/4/1"})).toStdString();
    const std::string newBytes = cp932Lines(eventLines("0,0,0,2", " 1 ", {"新しい日@2026/12/7"})).toStdString();
    const std::string link = workDir.filePath(QStringLiteral("second-name.dat")).toStdString();
    struct Path {
        const char* what;
        std::string faults;
        bool hardLink;
    };
    const Path paths[] = {
        {"temporary file and rename", "", false},
        {"folder takes no new file", "mkostemp=EACCES,", false},
        {"second hard link", "", true},
        {"rename refused", "rename=EXDEV,", false},
        {"folder flush fails", "fsync=EIO,", false},
    };
    SaveOptions options;
    options.journalFolder = stateDir.path().toStdString();
    for (const Path& p : paths) {
        int calls = 0;
        for (int n = 1; n < 200; ++n) {
            ::unlink(path.c_str());
            ::unlink(link.c_str());
            writeFile(QByteArray::fromStdString(oldBytes));
            if (p.hardLink) ASSERT_EQ(::link(path.c_str(), link.c_str()), 0);
            Child save(p.faults + "any=KILL@" + std::to_string(n), [&] { writeFileBytes(path, newBytes, options); });
            save.runToEnd();
            if (!save.killed()) break;  // past its last call
            ++calls;
            recoverInterruptedSave(path, options.journalFolder);  // what the next start does first
            const FileBytes now = readFileBytes(path);
            ASSERT_EQ(now.status, FileStatus::Ok) << p.what << ", killed at call " << n;
            EXPECT_TRUE(now.bytes == oldBytes || now.bytes == newBytes) << p.what << ", killed at call " << n;
            if (p.hardLink) EXPECT_EQ(readFileBytes(link).bytes, now.bytes) << p.what << ", call " << n;
            EXPECT_TRUE(QDir(stateDir.path()).isEmpty()) << p.what << ", killed at call " << n;
        }
        EXPECT_GT(calls, 5) << p.what;  // the kills really came
        for (const QString& name : leftovers()) QFile::remove(workDir.filePath(name));
    }
}

// A save killed before its rename leaves its temporary file; the next save removes it,
// and only what has the save's own naming.
TEST_F(KilledSaves, LeftoversOfAKilledSaveGoWithTheNextSave) {
    writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14"})));
    frmKV& a = start();
    add(a, QStringLiteral("追加@2026/12/7"));
    Child save("rename=KILL@1", [&] {
        int cancel = 0;
        a.Form_Unload(cancel);
    });
    save.runToEnd();
    ASSERT_TRUE(save.killed());
    ASSERT_EQ(leftovers().size(), 1);
    const QString leftover = leftovers().front();
    // A person's backup of six letters, names near the save's own, and files of the save's
    // naming that are not this user's own doing: one of another user, one with a second name.
    const QStringList others = {QStringLiteral(".kalvoe.dat.backup"),
                                QStringLiteral(".kalvoe.dat.nobody"),
                                QStringLiteral(".kalvoe.dat.kalvo-save-abcdefg"),
                                QStringLiteral("x.kalvoe.dat.kalvo-save-abcdef"),
                                QStringLiteral(".other.dat.kalvo-save-abcdef"),
                                QStringLiteral(".kalvoe.dat.kalvo-save-linked"),
                                QStringLiteral(".kalvoe.dat.kalvo-save-nobody")};
    for (const QString& name : others) {
        QFile f(workDir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_EQ(::link(workDir.filePath(others[5]).toLocal8Bit().constData(),
                     workDir.filePath(QStringLiteral("my-link")).toLocal8Bit().constData()),
              0);
    if (::geteuid() == 0)
        for (const int i : {1, 6})
            ASSERT_EQ(::chown(workDir.filePath(others[i]).toLocal8Bit().constData(), 65534, 65534), 0);

    frmKV& next = start();
    add(next, QStringLiteral("次の日@2027/1/1"));
    unload();
    EXPECT_FALSE(QFile::exists(workDir.filePath(leftover)));
    for (const QString& name : others) EXPECT_TRUE(QFile::exists(workDir.filePath(name))) << name.toStdString();
    EXPECT_EQ(fileEntries(), (std::vector<std::string>{"誕生日@2003/9/14", "次の日@2027/1/1"}));
}

// While another process holds the folder's lock (it may be in the middle of a save), no
// temporary file is removed.
TEST_F(KilledSaves, LeftoversStayWhileAnotherSaveHoldsTheLock) {
    const std::string path = eventFilePath().toStdString();
    writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ")));
    QFile temporary(workDir.filePath(QStringLiteral(".kalvoe.dat.kalvo-save-Ab3dE9")));
    ASSERT_TRUE(temporary.open(QIODevice::WriteOnly));
    temporary.close();
    Child holder("", [&] {
        const SaveLock lock(path);
        ::raise(SIGSTOP);
    });
    ASSERT_TRUE(holder.waitStoppedOrEnded());
    {
        const SaveLock busy(path, std::chrono::milliseconds(50));
        EXPECT_EQ(busy.state(), SaveLock::State::Busy);
        EXPECT_EQ(busy.removeLeftovers(path), 0);
    }
    EXPECT_TRUE(temporary.exists());
    holder.runToEnd();
    const SaveLock mine(path, std::chrono::milliseconds(50));
    ASSERT_TRUE(mine.held());
    EXPECT_EQ(mine.removeLeftovers(path), 1);
    EXPECT_FALSE(temporary.exists());
}

}  // namespace
}  // namespace kalvo::test
