#include "core/text/cp932.h"

#include "core/text/text_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

namespace kalvo {
namespace {

TEST(Cp932, CharactersItCannotHoldBecomeQuestionMarks) {
    const std::pair<const char*, const char*> cases[] = {
        {"関東大震災 @1923/9/1", "関東大震災 @1923/9/1"},
        {"  \xE3\x80\x80*今日の日付 @TODAY", "  \xE3\x80\x80*今日の日付 @TODAY"},
        {"誕生日\xF0\x9F\x8E\x82@2003/9/14", "誕生日?@2003/9/14"},  // a cake emoji
        {"\xEA\xB0\x80\xEA\xB0\x81@2003/9/14", "??@2003/9/14"},     // two hangul syllables
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

// Lines read from a file go back with the bytes they came from; new or changed lines
// are encoded afresh, and what cannot be stored becomes "?".
TEST(Cp932, UnchangedLinesKeepTheirBytes) {
    const std::string file = "\xED\x40@2003/9/14\r\n\x87\x90 \x81\x40x\r\n\xED\x40@2003/9/14\r\n";
    const DecodedLines source = decodeCp932Lines(file);
    ASSERT_EQ(source.badLine, 0);
    ASSERT_EQ(source.lines.size(), 3u);
    std::string fresh;
    ASSERT_TRUE(encodeCp932Lines(source.lines, fresh));
    ASSERT_NE(fresh, file);  // iconv writes other bytes for the same characters

    EXPECT_EQ(encodeCp932LinesKeeping(source.lines, file), file);
    std::vector<std::string> changed = {source.lines[1], "new",           source.lines[0],
                                        source.lines[0], source.lines[0], "\xF0\x9F\x98\x80"};
    std::string expected = "\x87\x90 \x81\x40x\r\nnew\r\n\xED\x40@2003/9/14\r\n\xED\x40@2003/9/14\r\n";
    std::string third;
    ASSERT_TRUE(utf8ToCp932(source.lines[0], third));  // a third copy has no bytes of its own
    expected += third + "\r\n?\r\n";
    EXPECT_EQ(encodeCp932LinesKeeping(changed, file), expected);
    // A source that is no code page 932 gives no bytes: every line is encoded afresh.
    EXPECT_EQ(encodeCp932LinesKeeping(changed, "\xff\r\n"), encodeCp932LinesKeeping(changed, ""));
}

TEST(Cp932, CharactersThatCannotBeStoredAreNamedOnce) {
    using Chars = std::vector<std::string>;
    const std::pair<std::string, Chars> cases[] = {
        {"関東大震災 @1923/9/1", {}},
        {"①Ⅱ㈱〜～@2003/9/14", {}},
        {"誕生日😀𠮷😀@2003/9/14", {"😀", "𠮷"}},
        {"café", {"é"}},
        {"", {}},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(unstorableCharacters(text), expected) << text;
}

// The file is decoded at once; a bad byte anywhere still names its own line, and a lead
// byte just before a line end does not take the line end as its second byte.
TEST(Cp932, BadBytesInsideTheFileNameTheirLine) {
    struct Case {
        const char* bytes;
        int badLine;
    };
    for (const Case& c : {Case{"ok\r\n\x82\r\nok\r\n", 2}, Case{"\x82\nok", 1}, Case{"a\rb\x82\rc", 2}}) {
        const DecodedLines d = decodeCp932Lines(c.bytes);
        EXPECT_EQ(d.badLine, c.badLine) << c.bytes;
        EXPECT_TRUE(d.lines.empty()) << c.bytes;
    }
    // A double byte whose second byte is the line end's neighbour decodes whole.
    EXPECT_EQ(decodeCp932Lines("\x82\xA0\r\n\x82\xA0").lines, (std::vector<std::string>{"あ", "あ"}));
}

// The table a long file is decoded with gives what iconv gives, for every byte and every
// byte pair, alone and with text around them.
TEST(Cp932, TheTableDecodesEveryCharacterAsIconvDoes) {
    Cp932Decoder iconv;
    std::string byTable, byIconv;
    int differences = 0;
    for (int first = 0; first < 256; ++first) {
        for (int second = -1; second < 256; ++second) {
            std::string in(1, static_cast<char>(first));
            if (second >= 0) in.push_back(static_cast<char>(second));
            for (const std::string& text : {in, "a" + in + "\x82\xa0"}) {
                const bool a = cp932ToUtf8ByTable(text, byTable);
                const bool b = iconv.decode(text, byIconv);
                if (a != b || (a && byTable != byIconv)) ++differences;
            }
        }
    }
    EXPECT_EQ(differences, 0);
    ASSERT_TRUE(cp932ToUtf8ByTable("\x8b\x4c\x94\x4f\x93\xfa\xed\x40\xb1", byTable));
    EXPECT_EQ(byTable, "記念日纊ｱ");
}

// A long file takes the table; a bad byte in it still names its line.
TEST(Cp932, ALongFileDecodesLikeAShortOne) {
    std::string line = "\x8b\x4c\x94\x4f\x93\xfa\x81\x40@2003/9/14\r\n";  // 記念日　@2003/9/14
    std::string file;
    while (file.size() < 1024 * 1024) file += line;  // its decoded text takes a block in huge pages
    const DecodedLines decoded = decodeCp932Lines(file);
    ASSERT_EQ(decoded.badLine, 0);
    ASSERT_EQ(decoded.lines.size(), file.size() / line.size());
    EXPECT_EQ(decoded.lines.back(), "記念日　@2003/9/14");
    file.insert(file.size() - line.size() + 2, "\xff");
    EXPECT_EQ(decodeCp932Lines(file).badLine, static_cast<int>(file.size() / line.size()));
}

// The bytes each line keeps as the writer once found them: the n-th line of a text takes
// the n-th source line of that text, counted through the whole file.
std::string keptBytesReference(const std::vector<std::string>& lines, const std::string& file) {
    const DecodedLines source = decodeCp932Lines(file);
    const std::vector<std::string_view> raw = splitLineViews(file);
    std::map<std::string, std::vector<std::string_view>> sourceOf;
    for (size_t i = 0; i < source.lines.size(); ++i) sourceOf[source.lines[i]].push_back(raw[i]);
    std::map<std::string, size_t> used;
    std::string bytes;
    for (const auto& line : lines) {
        const auto& found = sourceOf[line];
        if (const size_t n = used[line]++; n < found.size()) {
            bytes += found[n];
        } else {
            std::string encoded;
            EXPECT_TRUE(utf8ToCp932(line, encoded));
            bytes += encoded;
        }
        bytes += "\r\n";
    }
    return bytes;
}

// The writer lines the lists up to find the source lines quickly; whatever was changed,
// moved, doubled or taken out, every line keeps the bytes the count through the whole
// file gives it. Some texts have two byte forms in the file (NEC and IBM forms of 纊).
TEST(Cp932, KeptBytesAreThoseOfTheSameCountWhateverChanged) {
    const std::string forms[] = {"\xED\x40", "\xFA\x5C"};  // 纊 twice
    std::vector<std::string> rawLines;
    for (int i = 0; i < 3000; ++i) {
        // Few distinct texts, so that many lines are equal.
        rawLines.push_back(forms[(i / 7) % 2] + "@" + std::to_string(2000 + i % 40) + "/1/1");
    }
    std::string file;
    for (const auto& line : rawLines) file += line + "\r\n";
    const std::vector<std::string> read = decodeCp932Lines(file).lines;
    ASSERT_EQ(read.size(), rawLines.size());

    using Edit = std::function<void(std::vector<std::string>&)>;
    const std::pair<const char*, Edit> edits[] = {
        {"nothing", [](auto&) {}},
        {"one changed", [](auto& l) { l[500] = "新しい@2024/1/1"; }},
        {"one taken out", [](auto& l) { l.erase(l.begin() + 10); }},
        {"one doubled", [](auto& l) { l.insert(l.begin() + 20, l[20]); }},
        {"first moved to the end", [](auto& l) { std::rotate(l.begin(), l.begin() + 1, l.end()); }},
        {"last moved to the front", [](auto& l) { std::rotate(l.begin(), l.end() - 1, l.end()); }},
        {"a block moved far", [](auto& l) { std::rotate(l.begin() + 5, l.begin() + 1800, l.begin() + 2900); }},
        {"two thousand taken out", [](auto& l) { l.erase(l.begin() + 100, l.begin() + 2100); }},
        {"reversed", [](auto& l) { std::reverse(l.begin(), l.end()); }},
        {"every third changed",
         [](auto& l) {
             for (size_t i = 0; i < l.size(); i += 3) l[i] += "x";
         }},
        {"emptied", [](auto& l) { l.clear(); }},
    };
    for (const auto& [what, edit] : edits) {
        std::vector<std::string> lines = read;
        edit(lines);
        const std::string bytes = encodeCp932LinesKeeping(lines, file);
        const std::vector<std::string_view> written = splitLineViews(bytes);
        const std::string expected = keptBytesReference(lines, file);
        const std::vector<std::string_view> expectedLines = splitLineViews(expected);
        ASSERT_EQ(written.size(), expectedLines.size()) << what;
        const auto differ = std::mismatch(written.begin(), written.end(), expectedLines.begin());
        EXPECT_TRUE(differ.first == written.end()) << what << ": line " << (differ.first - written.begin()) << " is "
                                                   << *differ.first << ", not " << *differ.second;
    }
}

// A long file is decoded whole through the table and split as it goes; its lines are
// those iconv gives line by line, whatever ends its lines have, and a bad byte names the
// line splitLineViews puts it in.
TEST(Cp932, ALongFileHasTheLinesIconvGivesLineByLine) {
    const std::string kana = "\xB1\xB2";          // ｱｲ, single bytes
    const std::string date = "\x8b\x4c\x94\x4f";  // 記念
    const std::pair<const char*, std::string> forms[] = {
        {"CR LF", date + "@2003/9/14\r\n" + kana + "\r\n\r\n"},
        {"LF", date + "@2003/9/14\n\n" + kana + "\n"},
        {"CR alone", date + "@2003/9/14\r" + kana + "\r\r"},
        {"CR LF and LF", date + "@2003/9/14\r\n" + kana + "\n" + date + "\r"},
        {"CR inside a CR LF line", date + "\r" + kana + "\r\n"},
        {"no end at the end", date + "@1/1/1 \r\n" + kana + "  "},
    };
    for (const auto& [what, piece] : forms) {
        std::string file;
        while (file.size() < 96 * 1024) file += piece;
        file += kana;  // the last line ends without an end
        std::vector<std::string> expected;
        for (const std::string_view line : splitLineViews(file)) {
            std::string text;
            ASSERT_TRUE(cp932ToUtf8(std::string(line), text)) << what;
            expected.push_back(text);
        }
        const DecodedText decoded = decodeCp932Text(file);
        EXPECT_EQ(decoded.badLine, 0) << what;
        EXPECT_EQ(std::vector<std::string>(decoded.lines.begin(), decoded.lines.end()), expected) << what;

        const size_t bad = file.find_first_of("\r\n", file.size() / 2);  // after a whole character
        file.insert(bad, "\x81\x7f");                                    // a lead byte before a byte no pair has
        const std::vector<std::string_view> raw = splitLineViews(file);
        const auto holder = std::find_if(raw.begin(), raw.end(), [&](std::string_view line) {
            return line.data() + line.size() > file.data() + bad;
        });
        EXPECT_EQ(decodeCp932Text(file).badLine, holder - raw.begin() + 1) << what;
    }
}

}  // namespace
}  // namespace kalvo
