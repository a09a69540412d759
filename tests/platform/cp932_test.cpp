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

}  // namespace
}  // namespace kalvo
