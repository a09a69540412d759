#include "core/layout/caption_lines.h"

#include <gtest/gtest.h>

namespace kalvo {
namespace {

TEST(CaptionLines, TheDesignFaceBreaksAsTheLayoutExpects) {
    struct Case {
        std::u16string caption;
        int width;  // half ems
        int lines;  // the box holds
        std::vector<std::u16string> shown;
    };
    const Case cases[] = {
        {u"日数=", 5, 1, {u"日数="}},              // exactly full
        {u"日間 =", 6, 1, {u"日間 ="}},            // the space does not break a line that fits
        {u"日間 =", 5, 1, {u"日間"}},              // it breaks at the space, the rest cut off
        {u"年 + (歳)", 4, 2, {u"年 +", u"(歳)"}},  // two lines, the bracket stays with 歳
        {u"月年", 2, 1, {u"月"}},                  // the second character wraps and is cut
        {u"月年", 2, 3, {u"月", u"年"}},
        {u"何の日？の設定：", 16, 1, {u"何の日？の設定："}},
        {u"何の日？", 6, 2, {u"何の", u"日？"}},  // "？" does not start a line
        {u"ヶ月+", 3, 2, {u"ヶ", u"月+"}},
        {u"1997/10/16", 6, 2, {u"1997/1", u"0/16"}},  // a word longer than the line
        {u"", 4, 1, {u""}},
        {u"日", 1, 1, {u"日"}},  // wider than the box, it still shows
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.caption.begin(), c.caption.end()).size());
        EXPECT_EQ(designLines(c.caption, c.width, c.lines), c.shown);
    }
}

TEST(CaptionLines, FullWidthCharactersAreOneEm) {
    for (char16_t c : {u'日', u'ヶ', u'？', u'：', u'　', u'Ａ'}) EXPECT_EQ(halfEms(c), 2) << static_cast<int>(c);
    for (char16_t c : {u'=', u'+', u' ', u'1', u'ｱ', u'ﾞ'}) EXPECT_EQ(halfEms(c), 1) << static_cast<int>(c);
}

}  // namespace
}  // namespace kalvo
