#include "platform/cp932.h"

#include <gtest/gtest.h>

namespace kalvo {
namespace {

TEST(Cp932, CharactersItCannotHoldBecomeQuestionMarks) {
    const std::pair<const char*, const char*> cases[] = {
        {"関東大震災 @1923/9/1", "関東大震災 @1923/9/1"},
        {"  \xE3\x80\x80*今日の日付 @TODAY", "  \xE3\x80\x80*今日の日付 @TODAY"},
        {"誕生日\xF0\x9F\x8E\x82@2003/9/14", "誕生日?@2003/9/14"},      // a cake emoji
        {"\xEA\xB0\x80\xEA\xB0\x81@2003/9/14", "??@2003/9/14"},          // two hangul syllables
        {"", ""},
    };
    for (const auto& [in, expected] : cases) {
        const std::string stored = storableInCp932(in);
        EXPECT_EQ(stored, expected);
        std::string bytes;
        EXPECT_TRUE(encodeCp932Lines({stored}, bytes)) << in;
    }
}

TEST(Cp932, LinesRoundTripAndBadBytesNameTheirLine) {
    std::string bytes;
    ASSERT_TRUE(encodeCp932Lines({"Ver.2.16", "　全角", ""}, bytes));
    EXPECT_EQ(bytes.substr(bytes.size() - 4), "\r\n\r\n");
    const DecodedLines back = decodeCp932Lines(bytes);
    EXPECT_EQ(back.badLine, 0);
    EXPECT_EQ(back.lines, (std::vector<std::string>{"Ver.2.16", "　全角", ""}));
    EXPECT_EQ(decodeCp932Lines("a\rb\rc").lines, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(decodeCp932Lines("ok\r\nok\r\n\x82").badLine, 3);  // a cut-off double byte
}

// The file is decoded at once; a bad byte anywhere still names its own line, and a lead
// byte just before a line end does not take the line end as its second byte.
TEST(Cp932, BadBytesInsideTheFileNameTheirLine) {
    struct Case {
        const char* bytes;
        int badLine;
    };
    for (const Case& c : {Case{"ok\r\n\x82\r\nok\r\n", 2}, Case{"\x82\nok", 1},
                          Case{"a\rb\x82\rc", 2}}) {
        const DecodedLines d = decodeCp932Lines(c.bytes);
        EXPECT_EQ(d.badLine, c.badLine) << c.bytes;
        EXPECT_TRUE(d.lines.empty()) << c.bytes;
    }
    // A double byte whose second byte is the line end's neighbour decodes whole.
    EXPECT_EQ(decodeCp932Lines("\x82\xA0\r\n\x82\xA0").lines, (std::vector<std::string>{"あ", "あ"}));
}

}  // namespace
}  // namespace kalvo
