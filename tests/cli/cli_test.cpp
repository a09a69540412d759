// kalvo-date as scripts run it: the real binary, its output lines and its exit status. The
// expected values are published facts: the 旧暦 and 六曜 of the almanacs, the holidays of the
// law (2019's special law, 2026's calendar), the 暦要項's solar terms and new moons of 2026 to
// the minute, and 2026's business days counted from its holidays.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Result {
    int status = -1;
    std::vector<std::string> out;
    std::string err;
};

std::string slurp(const std::string& path) {
    std::ifstream f(path);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

Result run(const std::string& args, const std::string& input = "") {
    // CTest runs each test case as a process of its own, several at once: files of its own.
    const std::string dir = testing::TempDir() + "kalvo_date_" + std::to_string(getpid()) + "_";
    std::ofstream(dir + "cli_in") << input;
    const std::string command = std::string("'") + KALVO_DATE + "' " + args + " <'" + dir + "cli_in' >'" + dir +
                                "cli_out' 2>'" + dir + "cli_err'";
    Result r;
    const int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::istringstream out(slurp(dir + "cli_out"));
    for (std::string line; std::getline(out, line);) r.out.push_back(line);
    r.err = slurp(dir + "cli_err");
    return r;
}

// Columns of a --tsv line; "*" in the expectation matches any column.
bool tsvMatches(const std::string& line, const std::string& expected) {
    std::istringstream a(line + "\t"), e(expected + "\t");
    std::string x, y;
    int columns = 0;
    for (; std::getline(e, y, '\t'); ++columns)
        if (!std::getline(a, x, '\t') || (y != "*" && x != y)) return false;
    return columns == 9 && !std::getline(a, x, '\t');
}

TEST(KalvoDate, TsvColumnsOfPublishedDates) {
    const std::pair<const char*, const char*> rows[] = {
        {"2026-12-08", "2026-12-08\t令和8年12月8日\t火\t\t2026/10/30\t先負\t*\t丙午\t"},
        {"令和元年5月1日", "2019-05-01\t令和元年5月1日\t水\t天皇の即位の日\t2019/3/27\t*\t*\t己亥\t"},
        {"H31.4.30", "2019-04-30\t平成31年4月30日\t火\t国民の休日\t*\t*\t*\t*\t"},
        {"2025/7/25", "2025-07-25\t*\t金\t\t2025/閏6/1\t赤口\t*\t乙巳\t"},
        {"2026年12月7日", "2026-12-07\t*\t月\t\t*\t*\t*\t*\t大雪"},
        {"1843/12/31", "1843-12-31\t*\t日\t\t\t\t*\t癸卯\t"},
    };
    for (const auto& [date, expected] : rows) {
        const Result r = run(std::string("--tsv ") + date);
        EXPECT_EQ(r.status, 0) << date;
        ASSERT_EQ(r.out.size(), 1u) << date;
        EXPECT_TRUE(tsvMatches(r.out[0], expected)) << r.out[0];
    }
}

TEST(KalvoDate, StandardInputGoesOnPastAnUnreadableLine) {
    const Result r = run("--tsv", "2026-12-08\n\nyesterday\n令和8年12月8日\n");
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(r.out.size(), 2u);
    EXPECT_EQ(r.out[0], r.out[1]);
    EXPECT_NE(r.err.find("3 行目「yesterday」"), std::string::npos) << r.err;
    const Result readable = run("2026-12-08");
    ASSERT_EQ(readable.out.size(), 1u);
    EXPECT_NE(readable.out[0].find("旧暦 10月30日  先負"), std::string::npos) << readable.out[0];
}

TEST(KalvoDate, ListsSpansSumsAndStatuses) {
    const Result terms = run("--terms 2026"), moons = run("--moons 2026"), days = run("--holidays 2028");
    ASSERT_EQ(terms.out.size(), 24u);
    EXPECT_EQ(terms.out[0].substr(0, 16) + terms.out[0].substr(19), "2026-01-05 17:23\t小寒");
    ASSERT_EQ(moons.out.size(), 12u);
    EXPECT_EQ(moons.out[11].substr(0, 10) + moons.out[11].substr(19), "2026-12-09\t朔");
    EXPECT_NE(std::find(days.out.begin(), days.out.end(), "2028-03-20\t春分の日\t予測"), days.out.end());
    EXPECT_EQ(run("--span 2026/1/1 2026/12/31 --tsv").out, std::vector<std::string>{"364\t0\t11\t30\t244\t240"});
    EXPECT_EQ(run("--span 2026/12/31 2026/1/1 --count-start --tsv").out,
              std::vector<std::string>{"365\t1\t0\t0\t244\t240"});
    const Result sum = run("--add 2026/12/8 +10営業日");
    ASSERT_EQ(sum.out.size(), 1u);
    EXPECT_EQ(sum.out[0].substr(0, 10), "2026-12-22");
    const std::pair<const char*, int> statuses[] = {
        {"--is-business-day 2026-12-11", 0},
        {"--is-business-day 2026-12-12", 1},
        {"--is-business-day 2026-11-23", 1},
        {"--is-business-day nodate", 2},
        {"--terms", 2},
        {"--bogus", 2},
        {"2026/2/30", 1},
        {"--version", 0},
    };
    for (const auto& [args, status] : statuses) EXPECT_EQ(run(args).status, status) << args;
    EXPECT_EQ(run("--version").out, std::vector<std::string>{"kalvo-date " KALVO_VERSION});
}

}  // namespace
