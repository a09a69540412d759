// The event file as UTF-8 lines in memory, for tests, benchmarks and fuzz targets: the
// program reads and writes the file's bytes (readEventBytes, readEventText,
// writeEventBytes), and these give the same reading and the same lines without code page
// 932 in between.
#pragma once

#include "core/events/event_file.h"

#include <string>
#include <vector>

namespace kalvo {

EventFileRead readEventLines(const std::vector<std::string>& lines);
std::vector<std::string> writeEventLines(const EventFile& file);

}  // namespace kalvo
