// The questions of the save at the end, and what happens while one is open: another
// writer changes the file meanwhile, the user closes the box without a button, or the
// system ends the program (a logout) while nobody answers.
#include "platform/notices.h"
#include "support/event_support.h"
#include "window/ui/qt_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace kalvo::test {
namespace {

const QString kChangedTitle = QStringLiteral("設定ファイルの変更");

class SaveQuestions : public EventWindowTest {
protected:
    QTemporaryDir home;

    void SetUp() override { writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14"}))); }
    frmKV& startHere(const std::string& folder = {}) {
        Services s = makeServices();
        s.homeDir = home.path().toStdString();
        if (!folder.empty()) s.workDir = folder;
        form = std::make_unique<frmKV>(s);
        form->Form_Load();
        return *form;
    }
    static void add(frmKV& f, const QString& entry) {
        f.cobEV->setEditText(entry);
        f.btEV_Click(2);
    }
    void appendEntry(const std::string& entry) {
        QFile file(eventFilePath());
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(cp932Lines({entry}));
    }
    std::vector<std::string> fileEntries() const {
        const TextLines t = readTextFile(eventFilePath().toStdString());
        return t.lines.size() > 7 ? std::vector<std::string>(t.lines.begin() + 7, t.lines.end())
                                  : std::vector<std::string>{};
    }
    // Runs `action` while the box with this title is open.
    void whileOpen(const QString& title, std::function<void()> action) {
        dialogs->whileOpen = [title, action = std::move(action)](const ShownBox& box) {
            if (box.title == title) action();
        };
    }
};

// An editor writes the file again while the user reads the 設定ファイルの変更 box: the
// answer (merge) is applied to the file as it is after the box, and nothing is lost.
TEST_F(SaveQuestions, AWriteWhileTheBoxIsOpenIsNotOverwritten) {
    frmKV& f = startHere();
    add(f, QStringLiteral("追加@2026/12/7"));
    appendEntry("エディター@2025/5/5");
    bool written = false;
    whileOpen(kChangedTitle, [&] {
        if (!std::exchange(written, true)) appendEntry("もう一度@2025/6/6");
    });
    dialogs->answers = {Answer::Yes};
    unload();
    EXPECT_EQ(dialogs->shown.size(), 1u);
    EXPECT_TRUE(f.unloaded);
    EXPECT_EQ(fileEntries(), (std::vector<std::string>{"誕生日@2003/9/14", "エディター@2025/5/5", "もう一度@2025/6/6",
                                                       "追加@2026/12/7"}));
}

// An answer holds for the content it was about: to overwrite something the user has not
// seen, the program asks again.
TEST_F(SaveQuestions, AnOverwriteIsAskedAgainWhenTheFileChangedWhileTheBoxWasOpen) {
    frmKV& f = startHere();
    add(f, QStringLiteral("追加@2026/12/7"));
    appendEntry("エディター@2025/5/5");
    int opened = 0;
    whileOpen(kChangedTitle, [&] {
        if (++opened == 1) appendEntry("もう一度@2025/6/6");
    });
    dialogs->answers = {Answer::No, Answer::Yes};
    unload();
    ASSERT_EQ(dialogs->shown.size(), 2u);
    EXPECT_EQ(dialogs->shown[1].title, kChangedTitle);
    EXPECT_TRUE(f.unloaded);
    EXPECT_EQ(fileEntries(), (std::vector<std::string>{"誕生日@2003/9/14", "エディター@2025/5/5", "もう一度@2025/6/6",
                                                       "追加@2026/12/7"}));
}

// Escape or the close button on a question of the save is no decision: the window stays,
// nothing is written, and the next end asks again. So it goes for the 設定ファイルの変更
// box, for the question about the home folder, through the end button and the close box.
TEST_F(SaveQuestions, ClosingAQuestionOfTheSaveGoesBackToTheWindow) {
    const QString folder = QDir(workDir.path()).filePath(QStringLiteral("data"));
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const bool folderGone : {false, true}) {
        for (const bool endButton : {false, true}) {
            SCOPED_TRACE(testing::Message() << "folder gone " << folderGone << ", end button " << endButton);
            dialogs->shown.clear();
            const std::string workFolder = folderGone ? folder.toStdString() : std::string();
            frmKV& f = startHere(workFolder);
            f.show();
            add(f, QStringLiteral("追加@2026/12/7"));
            if (folderGone) ASSERT_TRUE(QDir().rename(folder, folder + QStringLiteral(".moved")));
            else appendEntry("エディター@2025/5/5");
            const QByteArray before = fileBytes();
            dialogs->answers = {Answer::Closed};
            if (endButton) {
                dialogs->answers.push_front(Answer::Yes);  // the end question
                f.btEND_Click(0);
            } else {
                EXPECT_FALSE(f.close());
            }
            ASSERT_FALSE(dialogs->shown.empty());
            EXPECT_EQ(dialogs->shown.back().buttons, Buttons::YesNoCancel);
            EXPECT_TRUE(
                dialogs->shown.back().text.endsWith(QStringLiteral("[キャンセル]　保存せずに Kalvo に戻ります")));
            EXPECT_FALSE(f.unloaded);
            EXPECT_TRUE(f.isVisible());
            EXPECT_EQ(f.modified, 1);
            EXPECT_EQ(fileBytes(), before);
            EXPECT_TRUE(QDir(home.path()).isEmpty());
            // Ended again, and answered: saved.
            dialogs->answers = {Answer::Yes};
            EXPECT_TRUE(f.close());
            EXPECT_TRUE(f.unloaded);
            if (folderGone) {
                EXPECT_TRUE(QFile::remove(QDir(home.path()).filePath(QStringLiteral("kalvoe.dat"))));
                ASSERT_TRUE(QDir().rename(folder + QStringLiteral(".moved"), folder));
            } else {
                EXPECT_EQ(fileEntries().back(), "追加@2026/12/7");
                writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14"})));
            }
        }
    }
}

// A logout (SIGTERM, SIGHUP) while a box is open: the box closes and the end goes on
// unattended, once: the end question saves, the 設定ファイルの変更 box merges, the home
// folder question keeps the copy, and after any other box the window ends and saves.
TEST_F(SaveQuestions, AnEndFromOutsideClosesTheOpenBoxAndEndsUnattended) {
    struct Case {
        const char* what;
        QString title;
    };
    const Case cases[] = {
        {"end question", QStringLiteral("終了")},
        {"changed file", kChangedTitle},
        {"folder gone", QStringLiteral("エラー")},
        {"a box while working", QStringLiteral("入力エラー")},
    };
    const QString folder = QDir(workDir.path()).filePath(QStringLiteral("data"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs = std::make_shared<ScriptedDialogs>();
        QDir(folder + QStringLiteral(".moved")).removeRecursively();
        QDir(home.path()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(home.path()));
        ASSERT_TRUE(QDir().mkpath(folder));
        const bool gone = c.title == QStringLiteral("エラー");
        writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", {"誕生日@2003/9/14"})));
        frmKV& f = startHere(gone ? folder.toStdString() : std::string());
        f.show();
        add(f, QStringLiteral("追加@2026/12/7"));
        if (gone) ASSERT_TRUE(QDir().rename(folder, folder + QStringLiteral(".moved")));
        if (c.title == kChangedTitle) appendEntry("エディター@2025/5/5");
        whileOpen(c.title, [&f] { f.endFromOutside(); });
        if (c.title == kChangedTitle || gone) dialogs->answers = {Answer::Yes};  // to the end question
        if (c.title == QStringLiteral("入力エラー")) {
            f.cobEV->setEditText(QStringLiteral("日付でない"));
            f.btEV_Click(4);  // 上段に設定: "日付ではありません"
        } else {
            f.btEND_Click(0);
        }
        for (int i = 0; i < 100 && !f.unloaded; ++i) QCoreApplication::processEvents();  // the queued close
        ASSERT_TRUE(f.unloaded);
        ASSERT_EQ(dialogs->shown.back().title, c.title);  // the last box shown is the one that was closed
        EXPECT_EQ(dialogs->unanswered, 0);
        if (gone) {
            EXPECT_EQ(readTextFile(QDir(home.path()).filePath(QStringLiteral("kalvoe.dat")).toStdString()).lines.back(),
                      "追加@2026/12/7");
            ASSERT_EQ(dialogs->printed.size(), 1u);  // where the copy went, on stderr
            EXPECT_TRUE(dialogs->printed[0].text.contains(home.path()));
            // and at the next start, since nobody read stderr
            const auto notices = takeNotices(stateDir.path().toStdString());
            ASSERT_EQ(notices.size(), 1u);
            EXPECT_EQ(toQt(notices[0]), dialogs->printed[0].text);
        } else if (c.title == kChangedTitle) {
            EXPECT_EQ(fileEntries(),
                      (std::vector<std::string>{"誕生日@2003/9/14", "エディター@2025/5/5", "追加@2026/12/7"}));
        } else {
            EXPECT_EQ(fileEntries(), (std::vector<std::string>{"誕生日@2003/9/14", "追加@2026/12/7"}));
        }
        form.reset();
    }
}

}  // namespace
}  // namespace kalvo::test
