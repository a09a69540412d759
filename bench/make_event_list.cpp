// Writes kalvoe.dat with N event entries into FOLDER, as Kalvo itself would write it (code
// page 932, CR LF), for the start-up and list benchmarks. The entries are name@y/m/d, or
// with "mixed" the date forms people write, three in eight of them dates without "@":
// 年月日, era names, era letters, full-width digits, weekdays in brackets. The names of a
// mixed list are padded with blanks so that it takes as many bytes as the y/m/d list of
// the same length: the two start-ups then differ in the dates alone. With "short" the
// entries are name@y/m/d with short names (22 bytes a line), so that a million of them
// stay under the file size limit.
//
//   make_event_list FOLDER N [mixed|short]
#include "core/era/date_text.h"
#include "core/events/event_file.h"
#include "core/text/cp932.h"
#include "platform/text_file.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string ymd(int y, int m, int d) { return std::to_string(y) + "/" + std::to_string(m) + "/" + std::to_string(d); }

// Digits, "/" and "." in their full-width forms.
std::string fullWidth(const std::string& text) {
    std::string wide;
    for (const char c : text) {
        if (c >= '0' && c <= '9') wide += "\xEF\xBC" + std::string(1, static_cast<char>(0x90 + (c - '0')));
        else if (c == '/') wide += "／";
        else if (c == '.') wide += "．";
        else wide += c;
    }
    return wide;
}

std::string mixedDate(long i, const std::vector<kalvo::EraRow>& eras) {
    const int y = static_cast<int>(1600 + i % 500), m = static_cast<int>(1 + i % 12), d = static_cast<int>(1 + i % 28);
    const int modern = static_cast<int>(1990 + i % 30);  // 平成 and 令和: a letter for each
    const kalvo::Serial s = kalvo::fromYmd(modern, m, d);
    const std::string era = kalvo::eraDateText(eras, s);  // "平成15年9月14日"
    const std::string letter = (s < kalvo::fromYmd(2019, 5, 1) ? "H" : "R") +
                               std::to_string(modern - (s < kalvo::fromYmd(2019, 5, 1) ? 1988 : 2018)) + "." +
                               std::to_string(m) + "." + std::to_string(d);
    static const char* const kWeekdays[] = {"(日)", "(月)", "(火)", "(水)", "(木)", "(金)", "(土)"};
    switch (i % 8) {
        case 0: return "@" + ymd(y, m, d);
        case 1: return "@" + std::to_string(y) + "年" + std::to_string(m) + "月" + std::to_string(d) + "日";
        case 2: return "@" + era;
        case 3: return "@" + letter;
        case 4: return "@" + fullWidth(ymd(y, m, d));
        case 5: return ymd(y, m, d);  // the lines without "@" are dates as a whole
        case 6: return era;
        default: return letter + kWeekdays[kalvo::weekday(s) - 1];
    }
}

size_t cp932Size(const std::string& text) {
    std::string bytes;
    return kalvo::utf8ToCp932(text, bytes) ? bytes.size() : text.size();
}

}  // namespace

int main(int argc, char** argv) {
    const std::string form = argc == 4 ? argv[3] : "";
    if ((argc != 3 && argc != 4) || !(form.empty() || form == "mixed" || form == "short")) {
        std::fprintf(stderr, "usage: %s FOLDER N [mixed|short]\n", argv[0]);
        return 2;
    }
    const long n = std::atol(argv[2]);
    const bool mixed = form == "mixed";
    const std::vector<kalvo::EraRow> eras = kalvo::builtInEraRows();
    kalvo::EventFile f = kalvo::defaultEventFile("Ver.2.16");
    f.top = 1440;  // where the window stands without a file
    f.left = 885;
    f.entries.clear();
    size_t ymdBytes = 0, mixedBytes = 0;
    long named = 0;
    std::vector<std::pair<std::string, std::string>> mixedEntries;  // name (empty without "@"), date part
    for (long i = 0; i < n; ++i) {
        const std::string number = std::to_string(1000000 + i).substr(1);
        const std::string name = form == "short" ? "記念日" + number : "記念日その" + number + "　（家族）     ";
        std::string entry =
            name + "@" +
            ymd(static_cast<int>(1600 + i % 500), static_cast<int>(1 + i % 12), static_cast<int>(1 + i % 28));
        if (!mixed) {
            f.entries.push_back(std::move(entry));
            continue;
        }
        ymdBytes += cp932Size(entry);
        const std::string date = mixedDate(i, eras);
        mixedEntries.emplace_back(date[0] == '@' ? name : "", date);
        named += date[0] == '@';
        mixedBytes += cp932Size(mixedEntries.back().first + date);
    }
    const size_t missing = ymdBytes > mixedBytes ? ymdBytes - mixedBytes : 0;
    long k = 0;
    for (auto& [name, date] : mixedEntries) {
        if (!name.empty()) name.append(missing / named + (static_cast<size_t>(k++) < missing % named ? 1 : 0), ' ');
        f.entries.push_back(name + date);
    }
    const std::string path = std::string(argv[1]) + "/kalvoe.dat";
    if (kalvo::writeTextFile(path, kalvo::writeEventLines(f)) != kalvo::FileStatus::Ok) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}
