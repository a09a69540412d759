// The save with real system calls failing, made to fail by the preloaded fault library
// (KALVO_FAULT): a failed step is reported and the old file stays byte for byte, and a
// folder that takes no new file still lets the file itself be written.
#include "file_faults/fault_support.h"
#include "platform/text_file.h"
#include "support/event_support.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <cstdlib>
#include <cstring>

namespace kalvo::test {
namespace {

// The program starts itself again with the fault library preloaded, before any test
// runs, so the tests run the same from CTest and by hand.
const bool preloaded = [] {
    const char* preload = std::getenv("LD_PRELOAD");
    if (preload && std::strstr(preload, KALVO_FAULT_SHIM)) return true;
    ::setenv("LD_PRELOAD", KALVO_FAULT_SHIM, 1);
    std::vector<char*> args;
    std::string cmdline;
    if (FILE* f = std::fopen("/proc/self/cmdline", "rb")) {
        for (int c; (c = std::fgetc(f)) != EOF;) cmdline.push_back(static_cast<char>(c));
        std::fclose(f);
    }
    for (size_t i = 0; i < cmdline.size(); i += std::strlen(cmdline.c_str() + i) + 1)
        args.push_back(cmdline.data() + i);
    args.push_back(nullptr);
    ::execv("/proc/self/exe", args.data());
    return false;  // exec failed: the tests below then fail, as their faults never arrive
}();

const QString kWriteError = QStringLiteral("設定ファイルの書き込みエラー");

class FileFaults : public EventWindowTest {
protected:
    QByteArray original = cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14", "記念日@2010/4/1"}));

    void SetUp() override { startWithAnAddition(); }
    void startWithAnAddition() {
        writeFile(original);
        frmKV& f = start();
        ASSERT_TRUE(dialogs->shown.empty());
        f.cobEV->setEditText(QStringLiteral("新しい日@2026/12/7"));
        f.btEV_Click(2);
        ASSERT_EQ(f.modified, 1);
    }
    ino_t inode() const {
        struct stat st {};
        return ::stat(eventFilePath().toLocal8Bit().constData(), &st) == 0 ? st.st_ino : 0;
    }
    QStringList folder() const { return QDir(workDir.path()).entryList(QDir::Files | QDir::Hidden); }
};

// Each step of the save failing on its own: write, flush of the file, rename, flush of
// the folder after the rename.
TEST_F(FileFaults, EveryFailedStepIsReportedAndKeepsTheOldFile) {
    const std::pair<const char*, const char*> steps[] = {
        {"pwrite=ENOSPC", "pwrite"},
        {"fdatasync=EIO", "fdatasync"},
        {"rename=EIO", "rename"},
        {"fsync=EIO", "fsync"},
    };
    const std::string path = eventFilePath().toStdString();
    const std::string bytes = "' 新しい内容\r\n";
    for (const auto& [faults, call] : steps) {
        {
            const Fault fault(faults);
            EXPECT_EQ(writeFileBytes(path, bytes), FileStatus::WriteError) << faults;
        }
        EXPECT_GT(Fault::hits(call), 0) << faults;
        EXPECT_EQ(fileBytes(), original) << faults;
        EXPECT_EQ(folder(), QStringList{QStringLiteral("kalvoe.dat")}) << faults;  // no temporary file left
    }
}

TEST_F(FileFaults, FailedFlushAtTheEndOfARunIsShownNotHidden) {
    {
        const Fault fault("fdatasync=EIO");
        unload();
    }
    EXPECT_GT(Fault::hits("fdatasync"), 0);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, kWriteError);
    EXPECT_EQ(dialogs->shown[0].title, QStringLiteral("エラー"));
    EXPECT_EQ(fileBytes(), original);
}

// The folder takes no new file (EACCES, as for a folder the user may not write, which
// root cannot be shown): the file itself is written, and stays the same file.
TEST_F(FileFaults, AFolderThatTakesNoNewFileStillGetsTheSave) {
    const ino_t before = inode();
    {
        const Fault fault("mkostemp=EACCES");
        unload();
    }
    EXPECT_GT(Fault::hits("mkostemp"), 0);
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(inode(), before);
    const TextLines back = readTextFile(eventFilePath().toStdString());
    ASSERT_EQ(back.status, FileStatus::Ok);
    EXPECT_EQ(back.lines.back(), "新しい日@2026/12/7");
}

// Written in place and then the flush fails: the old content is written back. (The
// first flush is the journal's, see save_journal.h; the second the file's.)
TEST_F(FileFaults, AFailureWhileWritingInPlacePutsTheOldContentBack) {
    {
        const Fault fault("mkostemp=EACCES,fdatasync=EIO@2");
        unload();
    }
    EXPECT_GT(Fault::hits("mkostemp"), 0);
    EXPECT_GT(Fault::hits("fdatasync"), 0);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, kWriteError);
    EXPECT_EQ(fileBytes(), original);
}

// The name cannot be renamed over, but the file itself can be written (a bind-mounted
// file gives EBUSY, one on another file system EXDEV, a file system that refuses renames
// EPERM): the save writes into the file, which stays the same file.
TEST_F(FileFaults, ARefusedRenameFallsBackToWritingInPlace) {
    for (const char* faults : {"rename=EBUSY", "rename=EXDEV", "rename=EPERM"}) {
        startWithAnAddition();
        const ino_t before = inode();
        dialogs->shown.clear();
        {
            const Fault fault(faults);
            unload();
        }
        EXPECT_GT(Fault::hits("rename"), 0) << faults;
        EXPECT_TRUE(dialogs->shown.empty()) << faults;
        EXPECT_EQ(inode(), before) << faults;
        const TextLines back = readTextFile(eventFilePath().toStdString());
        ASSERT_EQ(back.status, FileStatus::Ok) << faults;
        EXPECT_EQ(back.lines.back(), "新しい日@2026/12/7") << faults;
        EXPECT_EQ(folder(), QStringList{QStringLiteral("kalvoe.dat")}) << faults;
        EXPECT_TRUE(QDir(stateDir.path()).isEmpty()) << faults;  // the journal went with the save
    }
}

}  // namespace
}  // namespace kalvo::test
