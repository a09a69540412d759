// Event files that a user could really have on disk, each through the real window: what
// start-up says about it (the message box, or none), that nothing crashes, and what the
// save at exit leaves behind after a change: the user's file byte for byte, or a valid
// event file holding every entry that was read.
#include "core/events/event_file.h"
#include "support/event_support.h"

#include <QCheckBox>

namespace kalvo::test {
namespace {

struct Box {
    QString text;
    QString title;
};

enum class AtExit {
    Unchanged,  // the file was not read whole: the save is refused and the file kept
    Rewritten,  // a valid event file with every entry read
};

struct BadFile {
    const char* what;
    QByteArray bytes;
    std::vector<Box> atStart;  // the boxes shown during start-up, in order
    int entries;               // entries in the list after start-up
    AtExit atExit;
};

const QString kFileError = QStringLiteral("ファイルエラー");
const Box kWriteErrorBox{QStringLiteral("設定ファイルの書き込みエラー"), QStringLiteral("エラー")};

Box unexpected(const char* number, const char* description) {
    return {QStringLiteral("予期しないエラー＃ ") + QString::fromUtf8(number) + QStringLiteral(" が発生しました！") +
                QString::fromUtf8(description),
            kFileError};
}

const std::vector<std::string> kFourEntries = {"  2010年まで     @2010/1/1", "  \u3000*今日の日付          @TODAY",
                                               "機種変更 [DI-VA210]   @2003/9/14", "関東大震災       @1923/9/1"};

QByteArray withLineEnds(const std::vector<std::string>& lines, const char* end) {
    QByteArray bytes = cp932Lines(lines);
    bytes.replace("\r\n", end);
    return bytes;
}

std::vector<std::string> numberedEntries(int count) {
    std::vector<std::string> entries;
    entries.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        entries.push_back("記念日" + std::to_string(i) + "@" + std::to_string(1600 + i % 400) + "/" +
                          std::to_string(1 + i % 12) + "/" + std::to_string(1 + i % 28));
    return entries;
}

std::vector<BadFile> catalogue() {
    const auto standard = eventLines("1200,1500,0,2", " 0 ", kFourEntries);
    QByteArray utf8WithBom("\xEF\xBB\xBF");
    for (const auto& line : standard) utf8WithBom += QByteArray::fromStdString(line) + "\r\n";
    const QByteArray oneBigLine(5 * 1024 * 1024, 'x');
    const std::string bigEntry = "長い" + std::string(5 * 1024 * 1024, 'y') + "@2003/9/14";
    static const char nulLines[] = "ab\0cd@2003/9/14\r\n\0\0\0\r\n\0@TODAY\r\n";
    const QByteArray nulInside = cp932Lines(eventLines("0,0,0,2", " 0 ")) + QByteArray(nulLines, sizeof nulLines - 1);
    // Line 9 holds 記 and then only the first byte of the next double-byte character.
    const QByteArray cutCharacter = cp932Lines(eventLines("0,0,0,2", " 0 ", {"記念日@2003/9/14"})) + "\x8B\x4C\x94";

    const char* const tooShort = "設定ファイルが途中で終わっています（7行に足りません）。";
    return {
        {"empty file", QByteArray(), {unexpected("102", tooShort)}, 0, AtExit::Unchanged},
        {"only CR line ends", withLineEnds(standard, "\r"), {}, 4, AtExit::Rewritten},
        {"only LF line ends", withLineEnds(standard, "\n"), {}, 4, AtExit::Rewritten},
        {"UTF-8 with a byte order mark",
         utf8WithBom,
         {unexpected("105", "設定ファイルの1行目に Shift_JIS でない文字があります。")},
         0,
         AtExit::Unchanged},
        {"one line of 5 MB", oneBigLine, {unexpected("102", tooShort)}, 0, AtExit::Unchanged},
        {"an entry of 5 MB",
         cp932Lines(eventLines("0,0,0,2", " 0 ", {"前@2003/9/14", bigEntry, "後@TODAY"})),
         {},
         3,
         AtExit::Rewritten},
        {"100,000 entries",
         cp932Lines(eventLines("0,0,0,2", " 0 ", numberedEntries(100000))),
         {},
         100000,
         AtExit::Rewritten},
        {"only NUL bytes", QByteArray(4096, '\0'), {unexpected("102", tooShort)}, 0, AtExit::Unchanged},
        {"NUL bytes inside entries", nulInside, {}, 2, AtExit::Rewritten},
        {"a double-byte character cut off at the end",
         cutCharacter,
         {unexpected("105", "設定ファイルの9行目に Shift_JIS でない文字があります。")},
         0,
         AtExit::Unchanged},
        {"version line V only", cp932Lines(eventLines("0,0,0,2", " 0 ", kFourEntries, "V")), {}, 0, AtExit::Unchanged},
        {"line 3 with 3 values",
         cp932Lines(eventLines("1200,1500,0", " 0 ", kFourEntries)),
         {unexpected("103", "設定ファイルの3行目の値が4つに足りません。")},
         0,
         AtExit::Unchanged},
        {"line 3 with 5 values",
         cp932Lines(eventLines("1200,1500,0,2,7", " 0 ", kFourEntries)),
         {},
         4,
         AtExit::Rewritten},
        {"values beyond the 32-bit float range",
         cp932Lines(eventLines("3.5e38,-1e39,1e400,2", " 1e400 ", kFourEntries)),
         {},
         4,
         AtExit::Rewritten},
    };
}

class EventFileCatalogue : public EventWindowTest {
protected:
    void expectBoxes(const std::vector<Box>& expected, size_t from = 0) {
        ASSERT_EQ(dialogs->shown.size(), from + expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(dialogs->shown[from + i].text, expected[i].text);
            EXPECT_EQ(dialogs->shown[from + i].title, expected[i].title);
            EXPECT_EQ(dialogs->shown[from + i].buttons, Buttons::OK);
        }
    }

    void check(const BadFile& c) {
        writeFile(c.bytes);
        dialogs->shown.clear();
        frmKV& f = start();
        expectBoxes(c.atStart);
        ASSERT_EQ(f.cobEV->count(), c.entries);
        const QStringList read = items();

        f.ckST->click();  // a change that the exit saves
        ASSERT_EQ(f.modified, 1);
        unload();
        if (c.atExit == AtExit::Unchanged) {
            expectBoxes({kWriteErrorBox}, c.atStart.size());
            EXPECT_TRUE(fileBytes() == c.bytes);
            return;
        }
        expectBoxes({}, c.atStart.size());
        const TextLines text = readTextFile(eventFilePath().toStdString());
        ASSERT_EQ(text.status, FileStatus::Ok);
        const EventFileRead back = readEventLines(text.lines);
        EXPECT_EQ(back.error, EventFileError::None);
        EXPECT_EQ(back.file.flags & kFlagStartDay, kFlagStartDay);
        ASSERT_EQ(back.file.entries.size(), static_cast<size_t>(read.size()));
        for (qsizetype i = 0; i < read.size(); ++i) {
            if (back.file.entries[static_cast<size_t>(i)] != read[i].toStdString()) {
                ADD_FAILURE() << "entry " << i << " changed";
                return;
            }
        }
    }
};

TEST_F(EventFileCatalogue, EveryFileGetsItsReactionAndLosesNothingAtExit) {
    for (const BadFile& c : catalogue()) {
        SCOPED_TRACE(c.what);
        check(c);
    }
}

// Values out of range on line 3 leave the window where it was created and are
// replaced by its real place at the next save.
TEST_F(EventFileCatalogue, WindowPlaceOutOfRangeIsNotApplied) {
    writeFile(cp932Lines(eventLines("3.5e38,-1e39,1e400,2", " 1e400 ", kFourEntries)));
    frmKV& f = start();
    EXPECT_EQ(f.pos(), QPoint(59, 96));  // 885, 1440 twips
    EXPECT_EQ(f.sizeMode, 0);
    EXPECT_FALSE(f.ckST->isChecked());
    f.move(20, 30);
    f.ckST->click();
    unload();
    const TextLines text = readTextFile(eventFilePath().toStdString());
    ASSERT_GE(text.lines.size(), 4u);
    EXPECT_EQ(text.lines[2], "450,300,0,2");
    EXPECT_EQ(text.lines[3], " 1 ");
}

// A file whose lines end in CR alone reads like any other and is saved with CR LF.
TEST_F(EventFileCatalogue, CrLineEndsAreReadAndSavedAsCrLf) {
    const auto lines = eventLines("0,0,0,2", " 0 ", kFourEntries);
    writeFile(withLineEnds(lines, "\r"));
    frmKV& f = start();
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(f.cobEV->itemText(3), QStringLiteral("関東大震災       @1923/9/1"));
    EXPECT_EQ(f.fileComment, QStringLiteral("' コメント"));
    f.btEV_Click(0);
    unload();
    EXPECT_EQ(fileBytes(), cp932Lines(lines));
}

}  // namespace
}  // namespace kalvo::test
