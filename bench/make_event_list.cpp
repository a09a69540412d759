// Writes kalvoe.dat with N event entries into FOLDER, as Kalvo itself would write it (code
// page 932, CR LF), for the start-up and list benchmarks.
//
//   make_event_list FOLDER N
#include "events/event_file.h"
#include "platform/text_file.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FOLDER N\n", argv[0]);
        return 2;
    }
    const long n = std::atol(argv[2]);
    kalvo::EventFile f = kalvo::defaultEventFile("Ver.2.16");
    f.top = 1440;  // where the window stands without a file
    f.left = 885;
    f.entries.clear();
    for (long i = 0; i < n; ++i) {
        const std::string number = std::to_string(1000000 + i).substr(1);
        const std::string date =
            std::to_string(1600 + i % 500) + "/" + std::to_string(1 + i % 12) + "/" + std::to_string(1 + i % 28);
        f.entries.push_back("記念日その" + number + "　（家族）     @" + date);
    }
    const std::string path = std::string(argv[1]) + "/kalvoe.dat";
    if (kalvo::writeTextFile(path, kalvo::writeEventLines(f)) != kalvo::FileStatus::Ok) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}
