#include "core/era/era_file.h"

#include <gtest/gtest.h>
#include <random>

namespace kalvo {
namespace {

Serial ymd(int y, int m, int d) { return fromYmd(y, m, d); }

TEST(EraFile, OneEraALineUpToTheEndMark) {
    const auto r = readEraText(
        "れいわ,令和,2019/5/1\r\n"
        "へいせい,平成,1989/1/8\r\n"
        "#,#,\r\n"
        "notes: anything here is not read, not even this,\"broken\r\n"
        "こわれた,行,2999/99/99\r\n");
    ASSERT_TRUE(r.ok()) << r.error->description;
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[0].reading, "れいわ");
    EXPECT_EQ(r.rows[0].name, "令和");
    EXPECT_EQ(r.rows[0].start, ymd(2019, 5, 1));
    EXPECT_EQ(r.rows[1].name, "平成");
    EXPECT_EQ(r.rows[1].start, ymd(1989, 1, 8));
}

// From the file's bytes each field is decoded as it is read: nothing after the end mark
// is judged, on the lines after it or on its own line, while a bad byte before it is an
// error of its line.
TEST(EraFile, BytesAfterTheEndMarkAreNeverDecoded) {
    const std::string eras =
        "\x82\xea\x82\xa2\x82\xed,\x97\xdf\x98\x61,2019/5/1\r\n"  // れいわ,令和 in code page 932
        "heisei,H,1989/1/8\r\n";
    const std::string utf8Memo =
        "\xe3\x83\xa1\xe3\x83\xa2\xef\xbc\x9a\xe5\x8f\x82\xe7\x85\xa7\xe2\x86\x92";  // メモ：参照→
    struct Case {
        const char* what;
        std::string bytes;
        bool ok;
        int errorLine;
    };
    const Case cases[] = {
        {"UTF-8 note after the end line", eras + "#,#,\r\n" + utf8Memo + "\r\n\xff\xfe\x81\x20\r\n", true, 0},
        {"bad bytes on the end line after the mark", eras + "#,\x81\x20\xff,\r\n", true, 0},
        {"bad bytes in a name", "a,A,2019/5/1\r\nb,\x81\x20,1989/1/8\r\n#,#,\r\n", false, 2},
        {"bad bytes in a first day",
         "a,A,2019/5/1\r\nb,B,\xff"
         "1989/1/8\r\n#\r\n",
         false, 2},
        {"bad bytes in a reading, no end line", "a,A,2019/5/1\r\n\x81\x20,B,1989/1/8\r\n", false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const EraFileResult r = readEraBytes(c.bytes);
        ASSERT_EQ(r.ok(), c.ok) << (r.ok() ? "" : r.error->description);
        if (c.ok) {
            ASSERT_EQ(r.rows.size(), 2u);
            EXPECT_EQ(r.rows[0].reading, "れいわ");
            EXPECT_EQ(r.rows[0].name, "令和");
            EXPECT_EQ(r.rows[1].start, ymd(1989, 1, 8));
        } else {
            EXPECT_EQ(r.error->problem, EraFileProblem::BadEncoding);
            EXPECT_EQ(r.error->line, c.errorLine);
            EXPECT_TRUE(r.rows.empty());
        }
    }
}

TEST(EraFile, WithoutEndLineEveryCompleteEraIsLoaded) {
    const auto r = readEraText("しょうわ,昭和,1926/12/25\nたいしょう,大正,1912/7/30");
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[1].start, ymd(1912, 7, 30));
    // Empty lines and a trailing comma at the end change nothing.
    const auto padded = readEraText("しょうわ,昭和,1926/12/25,\r\n\r\n   \r\nたいしょう,大正,1912/7/30\r\n\r\n");
    ASSERT_TRUE(padded.ok());
    EXPECT_EQ(padded.rows.size(), 2u);
}

TEST(EraFile, QuotedFieldsAndBlanks) {
    const auto r = readEraText(
        "  \"れい,わ\" ,  \"令和\",\t2019/5/1  \n"
        "へいせい  ,  平成 ,\" 1989/1/8 \"\n"
        "しょうわ,\n"
        "昭和\n"
        "1926/12/25\n"
        "  \"#\"  ,ignored\n");
    ASSERT_TRUE(r.ok()) << r.error->description;
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[0].reading, "れい,わ");
    EXPECT_EQ(r.rows[0].name, "令和");
    EXPECT_EQ(r.rows[1].reading, "へいせい");
    EXPECT_EQ(r.rows[1].name, "平成");
    EXPECT_EQ(r.rows[1].start, ymd(1989, 1, 8));
    EXPECT_EQ(r.rows[2].name, "昭和");
    EXPECT_EQ(r.rows[2].start, ymd(1926, 12, 25));
}

TEST(EraFile, EmptyFieldsAreKept) {
    const auto r = readEraText(",,2019/5/1\n\"\",\"\",1989/1/8\n");
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[0].reading, "");
    EXPECT_EQ(r.rows[1].name, "");
}

struct BrokenCase {
    const char* what;
    std::string text;
    EraFileProblem problem;
    int line;
    const char* says;  // part of the description
};

std::string manyEras(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "よみ,年号," + std::to_string(2000 - i) + "/1/1\r\n";
    return text;
}

TEST(EraFile, EveryBrokenFormIsAnErrorWithItsLine) {
    const BrokenCase cases[] = {
        {"month 13", "a,A,2000/1/1\nb,B,1999/13/1\n", EraFileProblem::NotADate, 2, "「1999/13/1」が日付ではありません"},
        {"not a date", "a,A,平成元年\n", EraFileProblem::NotADate, 1, "日付ではありません"},
        {"empty date", "a,A,\n#\n", EraFileProblem::NotADate, 2, "日付ではありません"},
        {"day 32", "a,A,2001/2/32\n", EraFileProblem::NotADate, 1, "日付ではありません"},
        {"year before 100", "a,A,99/1/1\n", EraFileProblem::NotADate, 1, "日付ではありません"},
        {"cut after the name", "a,A,2000/1/1\nb,B", EraFileProblem::EraCutShort, 2, "項目が足りません"},
        {"cut after the reading", "a,A,2000/1/1\n\nb\n\n", EraFileProblem::EraCutShort, 3, "項目が足りません"},
        {"too many", manyEras(256), EraFileProblem::TooManyEras, 256, "255を超えています"},
        {"only the end mark", "#,#,\nnotes\n", EraFileProblem::NoEra, 1, "ひとつもありません"},
        {"empty file", "", EraFileProblem::NoEra, 1, "ひとつもありません"},
        {"blank lines only", "\r\n  \r\n\r\n", EraFileProblem::NoEra, 3, "ひとつもありません"},
        {"oldest first", "a,A,1989/1/8\nb,B,2019/5/1\n", EraFileProblem::NotNewestFirst, 2, "新しい順"},
        {"same day twice", "a,A,2019/5/1\nb,B,2019/5/1\n", EraFileProblem::NotNewestFirst, 2, "新しい順"},
        {"unclosed quote", "a,A,2000/1/1\n\"b,B,1999/1/1\n", EraFileProblem::UnclosedQuote, 2, "閉じていません"},
        {"text after quote", "\"a\"x,A,2000/1/1\n", EraFileProblem::TextAfterQuote, 1, "余分な文字"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto r = readEraText(c.text);
        ASSERT_FALSE(r.ok());
        EXPECT_TRUE(r.rows.empty());  // never half a table
        EXPECT_EQ(r.error->problem, c.problem);
        EXPECT_EQ(r.error->line, c.line);
        EXPECT_NE(r.error->description.find(c.says), std::string::npos) << r.error->description;
    }
}

TEST(EraFile, ExactlyTheMostErasIsAccepted) {
    const auto r = readEraText(manyEras(kMaxEras) + "#,#,\r\n");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.rows.size(), static_cast<size_t>(kMaxEras));
}

TEST(EraFile, LongFieldsAreShortenedInTheDescription) {
    const std::string longDate(5000, '9');
    const auto r = readEraText("a,A," + longDate + "\n");
    ASSERT_FALSE(r.ok());
    EXPECT_LT(r.error->description.size(), 200u);
}

struct DayCase {
    const char* text;
    std::optional<Ymd> day;
};

TEST(EraDay, CalendarDatesAndDaysTheGregorianMonthLacks) {
    const DayCase cases[] = {
        {"1989/1/8", Ymd{1989, 1, 8}},
        {"0645/6/19", Ymd{645, 6, 19}},
        {"645/6/19", Ymd{645, 6, 19}},
        {" 2000/2/29 ", Ymd{2000, 2, 29}},
        {"1278/2/29", Ymd{1278, 3, 1}},
        {"1504/2/30", Ymd{1504, 3, 1}},
        {"1624/2/30", Ymd{1624, 3, 1}},
        {"2001/4/31", Ymd{2001, 5, 1}},
        {"1336/2/29", Ymd{1336, 2, 29}},
        {"9999/12/31", Ymd{9999, 12, 31}},
        {"2001/2/32", std::nullopt},
        {"2001/0/1", std::nullopt},
        {"2001/13/1", std::nullopt},
        {"99/12/31", std::nullopt},
        {"10000/1/1", std::nullopt},
        {"2001/4/0", std::nullopt},
        {"2001/4/31/1", std::nullopt},
        {"", std::nullopt},
        {"#", std::nullopt},
        {"2001/4/3x", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto s = parseEraDay(c.text);
        ASSERT_EQ(s.has_value(), c.day.has_value());
        if (s) EXPECT_EQ(toYmd(*s), *c.day);
    }
}

// A day the Gregorian month lacks compares with every representable date as the
// numbers Y/M/D would: after the month's last day, on or before the next month's first.
TEST(EraDay, MissingDayComparesLikeItsNumbers) {
    const Serial kouan = *parseEraDay("1278/2/29");
    EXPECT_GT(kouan, ymd(1278, 2, 28));
    EXPECT_LE(kouan, ymd(1278, 3, 1));
}

// Any text at all gives either a whole table that keeps the table's rules or an error
// with no rows: never a crash, never a part of a table.
TEST(EraFile, ArbitraryTextNeverBreaksTheReader) {
    const std::vector<std::string> pieces = {
        ",",        "\"",    " ",    "\t",   "\n",     "\r\n", "\r",
        "#",        "/",     "1",    "2",    "9",      "0",    "12",
        "31",       "1989",  "2019", "令和", "れいわ", "\xff", std::string(1, '\0'),
        "\xe3\x80", "(なし)"};
    std::mt19937 random(20261207);
    for (int round = 0; round < 4000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 60);
        for (int i = 0; i < length; ++i) text += pieces[random() % pieces.size()];
        const auto r = readEraText(text);
        if (r.ok()) {
            ASSERT_GE(r.rows.size(), 1u);
            ASSERT_LE(r.rows.size(), static_cast<size_t>(kMaxEras));
            for (size_t i = 1; i < r.rows.size(); ++i) ASSERT_LT(r.rows[i].start, r.rows[i - 1].start);
            for (const auto& row : r.rows) ASSERT_TRUE(inRange(row.start));
        } else {
            ASSERT_TRUE(r.rows.empty());
            ASSERT_GE(r.error->line, 1);
            ASSERT_FALSE(r.error->description.empty());
        }
    }
}

}  // namespace
}  // namespace kalvo
