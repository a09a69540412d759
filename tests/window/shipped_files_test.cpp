// The two court era files shipped with the program, read the way the program reads them.
#include "core/era/era_file.h"
#include "platform/text_file.h"

#include <gtest/gtest.h>
#include <QFile>

namespace kalvo {
namespace {

std::string shipped(const char* name) { return std::string(KALVO_SOURCE_DIR) + "/data/" + name; }

// As the program reads it (field by field from the bytes), and that reading agrees with
// the reading of the decoded text.
EraFileResult readShipped(const char* name) {
    const FileBytes file = readFileBytes(shipped(name));
    EXPECT_EQ(file.status, FileStatus::Ok) << name;
    const EraFileResult table = readEraBytes(file.bytes);
    const TextLines text = readTextFile(shipped(name));
    EXPECT_EQ(text.status, FileStatus::Ok) << name;
    const EraFileResult decoded = readEraLines(text.lines);
    EXPECT_EQ(table.rows.size(), decoded.rows.size()) << name;
    for (size_t i = 0; i < std::min(table.rows.size(), decoded.rows.size()); ++i) {
        EXPECT_EQ(table.rows[i].name, decoded.rows[i].name) << name << " row " << i + 1;
        EXPECT_EQ(table.rows[i].start, decoded.rows[i].start) << name << " row " << i + 1;
    }
    return table;
}

struct Shown {
    std::string name;
    std::string yearText;
};

Shown eraOf(const EraFileResult& table, int y, int m, int d) {
    std::vector<Serial> starts;
    for (const auto& row : table.rows) starts.push_back(row.start);
    const Serial date = fromYmd(y, m, d);
    const int row = findEra(starts, date);
    if (row < 1 || row > static_cast<int>(starts.size())) return {"", ""};
    const EraRow& era = table.rows[row - 1];
    return {era.name, eraYearText(row, eraYearOf(date, era.start), era.name)};
}

struct FileCase {
    const char* file;
    size_t count;
};

TEST(ShippedEraFiles, WholeOrderedAndFromReiwaToTaika) {
    for (const FileCase c : {FileCase{"KalvoN.dat", 241}, FileCase{"KalvoS.dat", 234}}) {
        SCOPED_TRACE(c.file);
        const auto table = readShipped(c.file);
        ASSERT_TRUE(table.ok()) << table.error->line << " " << table.error->description;
        ASSERT_EQ(table.rows.size(), c.count);
        for (size_t i = 1; i < table.rows.size(); ++i) EXPECT_LT(table.rows[i].start, table.rows[i - 1].start);
        for (const auto& row : table.rows) {
            EXPECT_NE(row.name, "#");
            EXPECT_NE(row.reading, "#");
            EXPECT_FALSE(row.name.empty());
        }
        EXPECT_EQ(table.rows.front().name, "令和");
        EXPECT_EQ(table.rows.front().reading, "れいわ");
        EXPECT_EQ(table.rows.front().start, fromYmd(2019, 5, 1));
        EXPECT_EQ(table.rows.back().name, "大化");
        EXPECT_EQ(table.rows.back().start, fromYmd(645, 6, 19));
    }
}

TEST(ShippedEraFiles, CodePage932WithCrLf) {
    for (const char* name : {"KalvoN.dat", "KalvoS.dat"}) {
        QFile file(QString::fromStdString(shipped(name)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        ASSERT_TRUE(bytes.endsWith("\r\n"));
        for (qsizetype i = bytes.indexOf('\n'); i >= 0; i = bytes.indexOf('\n', i + 1))
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << name << " at byte " << i;
        // The end line is there, and notes follow it.
        EXPECT_TRUE(bytes.contains("\r\n#,#,\r\n"));
        EXPECT_FALSE(bytes.endsWith("#,#,\r\n"));
    }
}

struct SpotCase {
    const char* file;
    int y, m, d;
    const char* name;
    const char* yearText;
};

TEST(ShippedEraFiles, SpotChecks) {
    const SpotCase cases[] = {
        {"KalvoN.dat", 1868, 9, 8, "明治", "元"},  {"KalvoS.dat", 1868, 9, 8, "明治", "元"},
        {"KalvoN.dat", 1868, 9, 7, "慶応", "4"},   {"KalvoN.dat", 1350, 2, 27, "観応", "元"},
        {"KalvoN.dat", 1350, 6, 1, "観応", "元"},  {"KalvoN.dat", 1350, 2, 26, "貞和", "6"},
        {"KalvoS.dat", 1346, 12, 8, "正平", "元"}, {"KalvoS.dat", 1350, 6, 1, "正平", "5"},
        {"KalvoN.dat", 1346, 12, 8, "貞和", "2"},  {"KalvoN.dat", 700, 1, 1, "(なし)", ""},
        {"KalvoS.dat", 700, 1, 1, "(なし)", ""},   {"KalvoN.dat", 654, 10, 10, "(なし)", ""},
        {"KalvoN.dat", 654, 10, 9, "白雉", "5"},   {"KalvoN.dat", 701, 3, 21, "大宝", "元"},
        {"KalvoS.dat", 1392, 10, 5, "明徳", "元"}, {"KalvoS.dat", 1392, 10, 4, "元中", "9"},
        {"KalvoN.dat", 1392, 10, 5, "明徳", "3"},  {"KalvoN.dat", 1278, 3, 1, "弘安", "元"},
        {"KalvoN.dat", 1278, 2, 28, "建治", "4"},  {"KalvoN.dat", 2026, 12, 7, "令和", "8"},
        {"KalvoN.dat", 645, 6, 18, "", ""},        {"KalvoS.dat", 645, 6, 19, "大化", "元"},
    };
    const auto north = readShipped("KalvoN.dat");
    const auto south = readShipped("KalvoS.dat");
    ASSERT_TRUE(north.ok());
    ASSERT_TRUE(south.ok());
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.file << " " << c.y << "/" << c.m << "/" << c.d);
        const Shown shown = eraOf(std::string_view(c.file) == "KalvoN.dat" ? north : south, c.y, c.m, c.d);
        EXPECT_EQ(shown.name, c.name);
        EXPECT_EQ(shown.yearText, c.yearText);
    }
}

}  // namespace
}  // namespace kalvo
