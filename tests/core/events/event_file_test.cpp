#include "core/events/event_file.h"
#include "core/events/event_entry.h"

#include <gtest/gtest.h>
#include <random>
#include <set>

namespace kalvo {
namespace {

using Lines = std::vector<std::string>;

Lines fileWith(const std::string& line3, const std::string& line4, Lines entries = {},
               const std::string& version = "Ver.2.16") {
    Lines lines = {"' header", version, line3, line4, "TODAY", "0", "' comment"};
    lines.insert(lines.end(), entries.begin(), entries.end());
    return lines;
}

TEST(EventEntry, SplitsAtFirstAtSignAndKnowsTodayInAnyCase) {
    const Serial today = fromYmd(2026, 12, 7);
    struct Case {
        const char* text;
        const char* part;
        std::optional<Serial> date;
    };
    const Case cases[] = {
        {"関東大震災       @1923/9/1", "1923/9/1", fromYmd(1923, 9, 1)},
        {"2003/9/14", "2003/9/14", fromYmd(2003, 9, 14)},
        {"a@b@2003/9/14", "b@2003/9/14", std::nullopt},
        {"x@today", "today", today},
        {"x@Today", "Today", today},
        {"x@TODAY", "TODAY", today},
        {"x@ TODAY", " TODAY", std::nullopt},
        {"x@ＴＯＤＡＹ", "ＴＯＤＡＹ", std::nullopt},
        {"x@2003/2/30", "2003/2/30", std::nullopt},
        {"x@", "", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const ParsedEntry p = parseEntry(c.text, today, DateEras());
        EXPECT_EQ(p.dateText, c.part);
        EXPECT_EQ(p.date, c.date);
    }
}

TEST(EventEntry, ProtectedPrefixAndEntryLines) {
    EXPECT_TRUE(isProtectedEntry("  \u3000*今日の日付          @TODAY"));
    EXPECT_FALSE(isProtectedEntry(" \u3000*今日"));  // one blank less
    EXPECT_FALSE(isProtectedEntry("  2010年まで     @2010/1/1"));
    EXPECT_FALSE(isProtectedEntry("  "));
    EXPECT_TRUE(isEntryLine("name@anything"));
    EXPECT_TRUE(isEntryLine("2003/9/14"));
    EXPECT_FALSE(isEntryLine(""));
    EXPECT_FALSE(isEntryLine("' a comment"));
    EXPECT_FALSE(isEntryLine("2003/9/31"));
}

TEST(EventFile, DefaultContentWritesTheSevenLinesAndFourEntries) {
    EventFile f = defaultEventFile("Ver.2.16");
    f.top = 0;
    f.left = 0;
    const Lines expected = {"' Kalvo 何の日？ 設定ファイル",
                            "Ver.2.16",
                            "0,0,0,2",
                            " 0 ",
                            "TODAY",
                            "0",
                            "' 以下は形式を守れば 追加・変更しても OK！",
                            "  2010年まで     @2010/1/1",
                            "  \u3000*今日の日付          @TODAY",
                            "機種変更 [DI-VA210]   @2003/9/14",
                            "関東大震災       @1923/9/1"};
    EXPECT_EQ(writeEventLines(f), expected);
    const EventFileRead back = readEventLines(expected);
    EXPECT_EQ(back.error, EventFileError::None);
    EXPECT_EQ(back.file.entries, f.entries);
    EXPECT_EQ(back.file.startDate, "TODAY");
    EXPECT_EQ(back.file.startEntry, "0");
}

TEST(EventFile, WriterSpacingAndRoundTripOf250Entries) {
    EventFile f = defaultEventFile("Ver.2.16");
    f.top = 1200;
    f.left = 1500.5f;
    f.flags = 5;
    f.eraTable = 1;
    f.entries.clear();
    for (int i = 0; i < 250; ++i)
        f.entries.push_back("e" + std::to_string(i) + "@2003/9/" + std::to_string(i % 28 + 1));
    f.entries.push_back("broken\r\nline@2003/9/14");
    f.entries.push_back("pasted\rtext@2003/9/14");
    const Lines lines = writeEventLines(f);
    EXPECT_EQ(lines[2], "1200,1500.5,0,1");
    f.top = 300000;  // a shortest form would write 3e+05
    f.left = -60000;
    EXPECT_EQ(writeEventLines(f)[2], "300000,-60000,0,1");
    EXPECT_EQ(lines[3], " 5 ");
    // An LF may not split an entry; a CR alone is text in the CR LF file the writer makes.
    EXPECT_EQ(lines[lines.size() - 2], "broken\r line@2003/9/14");
    EXPECT_EQ(lines.back(), "pasted\rtext@2003/9/14");
    const EventFileRead back = readEventLines(lines);
    ASSERT_EQ(back.error, EventFileError::None);
    ASSERT_EQ(back.file.entries.size(), 252u);
    EXPECT_TRUE(std::equal(f.entries.begin(), f.entries.end() - 2, back.file.entries.begin()));
    EXPECT_EQ(back.file.entries.back(), f.entries.back());
    EXPECT_EQ(back.file.top, 1200.0f);
    EXPECT_EQ(back.file.left, 1500.5f);
    EXPECT_EQ(back.file.flags, 5);
    EXPECT_EQ(back.file.eraTable, 1);
}

TEST(EventFile, SevenLinesOnlyAndTheEntryFilter) {
    EXPECT_EQ(readEventLines(fileWith("0,0,0,2", " 0 ")).file.entries, Lines{});
    const auto r = readEventLines(fileWith("0,0,0,2", " 0 ", {"", "note", "2003/9/14", "a@b", " "}));
    EXPECT_EQ(r.error, EventFileError::None);
    EXPECT_EQ(r.file.entries, (Lines{"2003/9/14", "a@b"}));
}

TEST(EventFile, VersionCheck) {
    for (const char* v : {"v2.16", "V1", "Ver", "", "ver.2.16", " Ver.2.16"}) {
        SCOPED_TRACE(v);
        const auto r = readEventLines(fileWith("0,0,3,0", " 5 ", {"a@2003/9/14"}, v));
        EXPECT_EQ(r.error, EventFileError::BadVersion);
        EXPECT_EQ(r.reach, ReadReach::Nothing);
        EXPECT_TRUE(r.file.entries.empty());
    }
    EXPECT_TRUE(versionAccepted("V1.0"));
    EXPECT_TRUE(versionAccepted("Vあいう"));  // four characters, not four bytes
    EXPECT_FALSE(versionAccepted("Vあい"));
}

TEST(EventFile, FlagsLine) {
    const std::pair<const char*, int> cases[] = {{"5", 5},   {" 5 ", 5}, {"x", 0},    {"2", 2}, {"", 0},
                                                 {"5.0", 5}, {" 4 ", 4}, {"1e12", 0}, {"5x", 0}};
    for (const auto& [text, flags] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(readEventLines(fileWith("0,0,0,2", text)).file.flags, flags);
    }
}

TEST(EventFile, WindowLineValues) {
    struct Case {
        const char* line;
        std::optional<float> top, left;
        int mode, era;
    };
    const Case cases[] = {
        {"1200,1500,0,2", 1200.0f, 1500.0f, 0, 2},
        {" 1200 , \"1500\" , 3 , \"1\" ", 1200.0f, 1500.0f, 3, 1},
        {"abc,1e39,4,x", std::nullopt, std::nullopt, 4, 2},
        {"inf,nan,9,", std::nullopt, std::nullopt, 0, 2},
        {"-1e38,+15,x,0", -1e38f, 15.0f, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto r = readEventLines(fileWith(c.line, " 0 "));
        ASSERT_EQ(r.error, EventFileError::None);
        EXPECT_EQ(r.file.top, c.top);
        EXPECT_EQ(r.file.left, c.left);
        EXPECT_EQ(r.file.sizeMode, c.mode);
        EXPECT_EQ(r.file.eraTable, c.era);
    }
    EXPECT_EQ(splitValues("\"a,b\" junk, c,"), (Lines{"a,b", "c", ""}));
    EXPECT_EQ(splitValues("\"open"), Lines{"open"});
    EXPECT_TRUE(splitValues("  ").empty());
}

TEST(EventFile, FailuresAndHowFarTheyTookEffect) {
    struct Case {
        Lines lines;
        EventFileError error;
        ReadReach reach;
    };
    const Case cases[] = {
        {{}, EventFileError::ShortFile, ReadReach::Nothing},
        {{"h", "Ver.2.16"}, EventFileError::ShortFile, ReadReach::Nothing},
        {{"h", "Ver.2.16", "0,0,0,2", " 0 ", "TODAY", "0"}, EventFileError::ShortFile, ReadReach::Nothing},
        {fileWith("0,0,0", " 0 "), EventFileError::ShortWindowLine, ReadReach::Nothing},
        {fileWith("", " 0 "), EventFileError::ShortWindowLine, ReadReach::Nothing},
        {fileWith("0,0,3,7", " 5 ", {"a@b"}), EventFileError::NoSuchEraTable, ReadReach::Settings},
        {fileWith("0,0,3,1.5", " 5 ", {"a@b"}), EventFileError::NoSuchEraTable, ReadReach::Settings},
    };
    for (const auto& c : cases) {
        const auto r = readEventLines(c.lines);
        EXPECT_EQ(r.error, c.error);
        EXPECT_EQ(r.reach, c.reach);
        EXPECT_TRUE(r.file.entries.empty());
        if (c.reach == ReadReach::Settings) {
            EXPECT_EQ(r.file.sizeMode, 3);
            EXPECT_EQ(r.file.comment, "' comment");
            EXPECT_EQ(r.file.flags, 0);  // flags come after the era table
        }
    }
    const EventFileError all[] = {EventFileError::ReadFailed, EventFileError::ShortFile,
                                  EventFileError::ShortWindowLine, EventFileError::NoSuchEraTable,
                                  EventFileError::BadEncoding};
    std::set<int> numbers;
    for (const auto e : all) {
        numbers.insert(errorNumber(e));
        EXPECT_FALSE(errorDescription(e).empty());
    }
    EXPECT_EQ(numbers.size(), std::size(all));
    EXPECT_EQ(unexpectedErrorText(EventFileError::BadEncoding, 9),
              "予期しないエラー＃ 105 が発生しました！設定ファイルの9行目に Shift_JIS でない文字があります。");
}

// Any bytes at all: nothing breaks, and a file that read whole reads back the same.
TEST(EventFile, ArbitraryLinesNeverBreakTheReader) {
    std::mt19937 random(7);
    int readWhole = 0;
    const std::string alphabet = "0123456789,.\"@ -+eVTODAYtoday/\xE3\x80\x80\x81\xff\t";
    for (int round = 0; round < 2000; ++round) {
        Lines lines(random() % 12);
        for (auto& line : lines)
            for (unsigned n = random() % 16; n > 0; --n) line += alphabet[random() % alphabet.size()];
        if (lines.size() > 2 && round % 2) {
            lines[1] = "Ver.2.16";
            lines[2] += ",,,";
        }
        const auto r = readEventLines(lines);
        if (r.error != EventFileError::None) continue;
        ++readWhole;
        const auto back = readEventLines(writeEventLines(r.file));
        ASSERT_EQ(back.error, EventFileError::None);
        EXPECT_EQ(back.file.entries, r.file.entries);
        EXPECT_EQ(back.file.flags, r.file.flags);
        for (const auto& e : r.file.entries)
            EXPECT_EQ(parseEntry(e, 0, DateEras()).dateText, std::string(entryDatePart(e)));
    }
    EXPECT_GT(readWhole, 100);
}

// The file's bytes read as the program reads them: a line that is no code page 932 is
// named and nothing of the file is taken; otherwise the same as reading its lines.
TEST(EventFile, BytesAreDecodedThenRead) {
    const EventFileRead bad = readEventBytes("' h\r\nVer.2.16\r\n\x82\r\n");
    EXPECT_EQ(bad.error, EventFileError::BadEncoding);
    EXPECT_EQ(bad.badLine, 3);
    EXPECT_EQ(bad.reach, ReadReach::Nothing);
    EXPECT_TRUE(bad.file.header.empty());

    const EventFileRead good =
        readEventBytes("' \x8e\xa9\x95\xaa\r\nVer.2.16\r\n0,0,1,2\r\n 1 \r\nTODAY\r\n0\r\n'\r\na@2003/9/14\r\n");
    ASSERT_EQ(good.error, EventFileError::None);
    EXPECT_EQ(good.file.header, "' 自分");
    EXPECT_EQ(good.file.sizeMode, 1);
    EXPECT_EQ(good.file.entries, std::vector<std::string>{"a@2003/9/14"});
}

}  // namespace
}  // namespace kalvo
