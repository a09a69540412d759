// Files Kalvo did not make, met for real: state folders and journals of other users or
// open to them, a file in a journal's way, links planted in shared folders, a damaged
// journal beside a half-written file, a file cut inside its last line, another Kalvo
// that holds the lock too long, a failing disk at a logout, a storm of signals.
#include "support/event_support.h"
#include "file_faults/fault_support.h"
#include "platform/notices.h"
#include "platform/save_journal.h"
#include "platform/save_lock.h"
#include "platform/termination.h"
#include "window/ui/qt_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QTimer>

namespace kalvo::test {
namespace {

const QByteArray kOriginal = cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14"}));

class UntrustedFiles : public EventWindowTest {
protected:
    QTemporaryDir home;
    std::string state = stateDir.path().toStdString();

    frmKV& startHere() {
        Services s = makeServices();
        s.homeDir = home.path().toStdString();
        s.stateDir = state;
        form = std::make_unique<frmKV>(s);
        form->Form_Load();
        return *form;
    }
    void addEntry(const QString& text) {
        form->cobEV->setEditText(text);
        form->btEV_Click(2);
    }
    QByteArray homeCopy(const QString& name = QStringLiteral("kalvoe.dat")) const {
        QFile f(QDir(home.path()).filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool shownContaining(const QString& part) const {
        for (const auto& box : dialogs->shown)
            if (box.text.contains(part)) return true;
        return false;
    }
    // A journal in `folder` that would make the event file hold `newBytes`.
    std::string plantJournal(const std::string& folder, const std::string& newBytes, mode_t mode = 0600) {
        struct stat st {};
        EXPECT_EQ(::stat(eventFilePath().toLocal8Bit().constData(), &st), 0);
        const std::string name = journalPath(folder, st);
        const std::string bytes =
            encodeJournal({static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                           eventFilePath().toStdString(), kOriginal.toStdString(), newBytes});
        QFile f(QString::fromStdString(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
        f.close();
        ::chmod(name.c_str(), mode);
        return name;
    }
};

// A planted journal in a state folder that is not the user's own is never replayed.
TEST_F(UntrustedFiles, AStateFolderOrJournalOfSomeoneElseIsNotUsed) {
    const std::string planted = cp932Lines(eventLines("0,0,0,2", " 0 ", {"乗っ取り@2000/1/1"})).toStdString();
    struct Case {
        const char* what;
        std::function<void(const std::string&)> spoil;  // after the journal is planted
        bool needsRoot;
    };
    const Case cases[] = {
        {"another user's folder", [](const std::string& f) { ASSERT_EQ(::chown(f.c_str(), 65534, 65534), 0); }, true},
        {"a folder others can write", [](const std::string& f) { ASSERT_EQ(::chmod(f.c_str(), 0777), 0); }, false},
        {"a folder that is a link", nullptr, false},
        {"a journal others can read and write", nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsRoot && ::geteuid() != 0) continue;
        QTemporaryDir folder;
        const std::string real = folder.filePath(QStringLiteral("real")).toStdString();
        ASSERT_EQ(::mkdir(real.c_str(), 0700), 0);
        state = real;
        if (std::string(c.what) == "a folder that is a link") {
            state = folder.filePath(QStringLiteral("link")).toStdString();
            ASSERT_EQ(::symlink(real.c_str(), state.c_str()), 0);
        }
        writeFile(kOriginal);
        const std::string journal =
            plantJournal(real, planted, std::string(c.what).starts_with("a journal") ? 0666 : 0600);
        if (c.spoil) c.spoil(real);
        dialogs = std::make_shared<ScriptedDialogs>();
        startHere();
        EXPECT_TRUE(shownContaining(QStringLiteral("使いません"))) << c.what;
        EXPECT_EQ(fileBytes(), kOriginal);
        EXPECT_TRUE(QFile::exists(QString::fromStdString(journal)));
        form.reset();
    }
}

// A file already under the journal's name is never written into (before, the journal
// was opened with O_TRUNC, and whoever made that file received the list through it).
TEST_F(UntrustedFiles, AFileInTheJournalsWayIsNotWrittenInto) {
    writeFile(kOriginal);
    const QByteArray second = QDir(workDir.path()).filePath(QStringLiteral("second.dat")).toLocal8Bit();
    ASSERT_EQ(::link(eventFilePath().toLocal8Bit().constData(), second.constData()), 0);  // saved in place
    startHere();
    addEntry(QStringLiteral("追加@2026/12/7"));
    struct stat st {};
    ASSERT_EQ(::stat(second.constData(), &st), 0);
    const Fd planted(::open(journalPath(state, st).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0200));
    ASSERT_TRUE(planted.valid());
    unload();
    ASSERT_EQ(::fstat(planted.get(), &st), 0);
    EXPECT_EQ(st.st_size, 0);
    const QByteArray now = fileBytes();
    EXPECT_TRUE(now == kOriginal || now.contains(cp932Lines({"追加@2026/12/7"})));
}

// A link that another user planted in a sticky shared folder is not followed, and a link
// that points nowhere never makes its target; the user is told at the start.
TEST_F(UntrustedFiles, LinksTheKernelWouldNotFollowAreNotUsed) {
    for (const bool foreign : {true, false}) {
        SCOPED_TRACE(foreign ? "another user's link in a sticky folder" : "a link that points nowhere");
        if (foreign && ::geteuid() != 0) continue;
        QTemporaryDir top;
        const std::string shared = top.filePath(QStringLiteral("shared")).toStdString();
        const std::string closed = top.filePath(QStringLiteral("closed")).toStdString();
        ASSERT_EQ(::mkdir(shared.c_str(), 0777), 0);
        ASSERT_EQ(::chmod(shared.c_str(), foreign ? 01777 : 0755), 0);
        ASSERT_EQ(::mkdir(closed.c_str(), 0700), 0);
        const std::string link = shared + "/kalvoe.dat";
        const std::string target = closed + "/kalvoe.dat";
        ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
        if (foreign) ASSERT_EQ(::lchown(link.c_str(), 65534, 65534), 0);
        Services s = makeServices();
        s.workDir = shared;
        s.homeDir = home.path().toStdString();
        dialogs = std::make_shared<ScriptedDialogs>();
        s.dialogs = dialogs;
        form = std::make_unique<frmKV>(s);
        form->Form_Load();
        EXPECT_TRUE(shownContaining(QStringLiteral("シンボリックリンク")));
        addEntry(QStringLiteral("追加@2026/12/7"));
        unload();
        struct stat st {};
        EXPECT_NE(::lstat(target.c_str(), &st), 0);
        EXPECT_EQ(writeFileBytes(link, "x\r\n"), FileStatus::UnsafeLink);
        EXPECT_NE(::lstat(target.c_str(), &st), 0);
        form.reset();
    }
}

// A journal damaged by one byte beside a half-written file: the journal is kept, the file
// as found goes to a copy, and the user is told.
TEST_F(UntrustedFiles, AnUnreadableJournalIsKeptAndTheTornFileReported) {
    writeFile(kOriginal);
    const std::string full =
        cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14", "新しい日@2030/12/31"})).toStdString();
    const std::string journal = plantJournal(state, full);
    QFile j(QString::fromStdString(journal));
    ASSERT_TRUE(j.open(QIODevice::ReadWrite));
    j.seek(40);
    j.write("#");
    j.close();
    const QByteArray torn = QByteArray::fromStdString(full.substr(0, full.size() - 5));
    writeFile(torn);
    startHere();
    EXPECT_TRUE(shownContaining(QStringLiteral("控えが読めません")));
    EXPECT_EQ(homeCopy(), torn);
    const QStringList kept = QDir(stateDir.path()).entryList({QStringLiteral("*.unreadable-*")}, QDir::Files);
    EXPECT_EQ(kept.size(), 1);
}

// Another user's save of a shared file was killed inside its last line: the start says so,
// keeps the file as found, and does so once.
TEST_F(UntrustedFiles, AFileCutInsideItsLastLineIsReportedAndKept) {
    const QByteArray cut = kOriginal + cp932Lines({"の予定 @2030/12/31"}).chopped(2);
    writeFile(cut);
    startHere();
    EXPECT_TRUE(shownContaining(QStringLiteral("最後の行：の予定 @2030/12/31")));
    EXPECT_EQ(homeCopy(), cut);
    form.reset();
    dialogs = std::make_shared<ScriptedDialogs>();
    startHere();
    EXPECT_TRUE(shownContaining(QDir(home.path()).filePath(QStringLiteral("kalvoe.dat"))));
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files).size(), 1);
}

// Another Kalvo holds the lock and does not let go: nothing is written over the file.
TEST_F(UntrustedFiles, WithoutTheLockTheChangeGoesToACopyNeverOverTheFile) {
    writeFile(kOriginal);
    const std::string path = eventFilePath().toStdString();
    Child holder("", [&] {
        const SaveLock lock(path);
        ::raise(SIGSTOP);
    });
    ASSERT_TRUE(holder.waitStoppedOrEnded());
    enum class Way { Copy, WaitThenBack, Logout, LogoutWhileWaiting };
    for (const Way way : {Way::Copy, Way::WaitThenBack, Way::Logout, Way::LogoutWhileWaiting}) {
        SCOPED_TRACE(static_cast<int>(way));
        QDir(home.path()).removeRecursively();
        QDir().mkpath(home.path());
        takeNotices(state);
        dialogs = std::make_shared<ScriptedDialogs>();
        frmKV& f = startHere();
        f.savePatienceMs = way == Way::LogoutWhileWaiting ? 2000 : 50;
        addEntry(QStringLiteral("追加@2026/12/7"));
        if (way == Way::Copy) dialogs->answers = {Answer::No};
        if (way == Way::WaitThenBack) dialogs->answers = {Answer::Yes, Answer::Cancel};
        if (way == Way::Logout) f.endFromOutside();
        // The end from outside arrives while the save waits: the wait takes it.
        if (way == Way::LogoutWhileWaiting) QTimer::singleShot(100, &f, [&f] { f.endFromOutside(); });
        unload();
        EXPECT_EQ(fileBytes(), kOriginal);
        if (way == Way::WaitThenBack) {
            EXPECT_FALSE(f.unloaded);
            EXPECT_EQ(dialogs->shown.size(), 2u);
            continue;
        }
        EXPECT_TRUE(f.unloaded);
        EXPECT_TRUE(homeCopy().contains(cp932Lines({"追加@2026/12/7"})));
        const bool unattended = way != Way::Copy;
        EXPECT_EQ(dialogs->shown.empty(), unattended);
        EXPECT_EQ(takeNotices(state).size(), unattended ? 1u : 0u);
        form.reset();
    }
}

// A logout while the disk fails the save: the change is kept in a copy, stderr says where,
// and so does the next start.
TEST_F(UntrustedFiles, AFailedSaveAtALogoutKeepsTheChangeInACopy) {
    for (const char* faults : {"rename=EIO@1", "fdatasync=EIO@1", "fsync=EIO@1"}) {
        SCOPED_TRACE(faults);
        QDir(home.path()).removeRecursively();
        QDir().mkpath(home.path());
        writeFile(kOriginal);
        dialogs = std::make_shared<ScriptedDialogs>();
        frmKV& f = startHere();
        addEntry(QStringLiteral("追加@2026/12/7"));
        f.endFromOutside();
        {
            const Fault fault(faults);
            unload();
        }
        EXPECT_EQ(fileBytes(), kOriginal);
        EXPECT_TRUE(homeCopy().contains(cp932Lines({"追加@2026/12/7"})));
        ASSERT_FALSE(dialogs->printed.empty());
        EXPECT_TRUE(dialogs->printed.back().text.contains(home.path()));
        const auto notices = takeNotices(state);
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_EQ(toQt(notices[0]), dialogs->printed.back().text);
        form.reset();
    }
}

// A storm of signals never blocks the handler: before, each signal wrote a byte into a
// socket nobody read while the window waited, and the handler hung once it was full.
TEST_F(UntrustedFiles, AStormOfSignalsNeverBlocksTheHandler) {
    Child storm("", [] {
        QObject context;
        onTerminationRequest(&context, [] {});
        for (int i = 0; i < 20000; ++i) ::kill(::getpid(), SIGTERM);
    });
    EXPECT_TRUE(waitFor([&] {
        storm.stoppedNow();
        return storm.endedWell();
    }));
}

}  // namespace
}  // namespace kalvo::test
