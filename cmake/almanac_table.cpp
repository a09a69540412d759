// A build tool: writes the almanac's solar terms and new moons of every year it covers
// (computeYearEvents, the ephemeris series) as C++ arrays, read by src/core/almanac through
// almanac_table.h. The instants are written as hexadecimal floating-point literals, so the
// program holds exactly what the series gave.
//
//   almanac_table OUTPUT.cpp
#include "core/almanac/almanac_events.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp\n", argv[0]);
        return 2;
    }
    using namespace kalvo;
    std::string terms, moons, starts;
    char buf[64];
    int count = 0;
    for (int y = kAlmanacDataFirstYear; y <= kAlmanacDataLastYear; ++y) {
        const YearEvents e = computeYearEvents(y);
        terms += "    {";
        for (const AlmanacEvent& t : e.terms) {
            std::snprintf(buf, sizeof buf, "%a,", t.unixSeconds);
            terms += buf;
        }
        terms += "},\n";
        starts += std::to_string(count) + ",";
        moons += "   ";
        for (const AlmanacEvent& m : e.moons) {
            std::snprintf(buf, sizeof buf, " %a,", m.unixSeconds);
            moons += buf;
            ++count;
        }
        moons += "\n";
    }
    starts += std::to_string(count);

    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out,
                 "// Written by cmake/almanac_table.cpp from the ephemeris series: do not edit.\n"
                 "#include \"core/almanac/almanac_table.h\"\n\n"
                 "namespace kalvo::almanac_table {\n\n"
                 "const int kFirstYear = %d;\nconst int kLastYear = %d;\n\n"
                 "const double kTerms[][24] = {\n%s};\n\n"
                 "const int kMoonStart[] = {%s};\n\n"
                 "const double kMoons[] = {\n%s};\n\n"
                 "}  // namespace kalvo::almanac_table\n",
                 kAlmanacDataFirstYear, kAlmanacDataLastYear, terms.c_str(), starts.c_str(), moons.c_str());
    return std::fclose(out) == 0 ? 0 : 1;
}
