// The event file kalvoe.dat: seven leading lines of window settings, then one event
// entry per line. This side works on lines already decoded to UTF-8; the platform reads
// and writes the code page 932 bytes. Every function accepts any input without harm.
//
//   1  header (free text)            5  upper panel start: "TODAY" or a date text
//   2  version, "V" and 4+ chars     6  lower panel start: list position, decimal
//   3  top,left,sizeMode,eraTable    7  comment (free text)
//   4  flags: 4 x no-moon + 1 x start day, written " n "
//   8… entries
#pragma once

#include "core/text/cp932.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kalvo {

inline constexpr int kFlagStartDay = 1;  // ckST: count the start day
inline constexpr int kFlagNoMoon = 4;    // ckBS: no moon picture, system background

struct EventFile {
    std::string header;
    std::string version;
    std::optional<float> top;   // window position in twips; nullopt when line 3 holds
    std::optional<float> left;  // no usable number there
    int sizeMode = 0;           // 0..4
    int eraTable = 2;           // 0 northern, 1 southern, 2 built-in
    int flags = 0;
    std::string startDate = "TODAY";
    std::string startEntry = "0";
    std::string comment;
    std::vector<std::string> entries;
};

// What a file without a file looks like (the version is the program's own).
EventFile defaultEventFile(const std::string& version);

// Ways reading can fail. Each has a stable number and a description for the message box,
// except BadVersion (not an event file: silently ignored) and PathNotFound (a message of
// its own). NotFound is not a failure: the default content takes the file's place.
enum class EventFileError {
    None,
    NotFound,
    PathNotFound,
    BadVersion,
    ReadFailed,       // the file could not be opened or read
    ShortFile,        // it ends inside the seven leading lines
    ShortWindowLine,  // line 3 holds fewer than four values
    NoSuchEraTable,   // line 3 names an era table that does not exist
    BadEncoding,      // bytes that are not code page 932
};

int errorNumber(EventFileError error);
// badLine: the 1-based line of a BadEncoding (0 when unknown).
std::string errorDescription(EventFileError error, int badLine = 0);
// "予期しないエラー＃ n が発生しました！" followed by the description.
std::string unexpectedErrorText(EventFileError error, int badLine = 0);

// How far the file took effect when reading stopped: nothing (failure up to the version
// check), the size mode, start values and comment (failure at the era table), or all.
enum class ReadReach { Nothing, Settings, Everything };

struct EventFileRead {
    EventFileError error = EventFileError::None;
    ReadReach reach = ReadReach::Nothing;
    EventFile file;   // header and version as far as they were read, the rest per `reach`
    int badLine = 0;  // the 1-based line of a BadEncoding
};

EventFileRead readEventLines(const std::vector<std::string>& lines);
// The file's code page 932 bytes, decoded and read; BadEncoding (with its line, and nothing
// read) when they are not code page 932.
EventFileRead readEventBytes(std::string_view bytes);

// Entry texts that share one block of text: a list of many entries read from a file
// costs one allocation, not one per entry. When every line after the leading ones is an
// entry (as in a file Kalvo wrote), the list is the decoded file's own lines, not a copy.
// The views live as long as `owner`.
struct SharedEntries {
    std::shared_ptr<const void> owner;
    std::span<const std::string_view> shared;  // the list, when it is lines of the file
    std::vector<std::string_view> entries;     // the list otherwise
    std::span<const std::string_view> list() const { return shared.empty() ? std::span(entries) : shared; }
};
SharedEntries shareEntries(const std::vector<std::string>& entries);
// The decoded file read, with the entries put into `entries` as views of `text`, kept
// alive by `owner` (the file's own list stays empty); BadEncoding when `text` did not
// decode.
EventFileRead readEventText(const DecodedText& text, std::shared_ptr<const void> owner, SharedEntries& entries);

std::vector<std::string> writeEventLines(const EventFile& file);
// The file in code page 932: the lines writeEventLines writes for the settings of
// `settings` and the list `entries` (settings.entries is not looked at), encoded so that
// the lines of `source` keep their bytes (encodeCp932LinesKeeping).
std::string writeEventBytes(const EventFile& settings, std::span<const std::string_view> entries,
                            const Cp932File& source);
// The same with the file's own list.
std::string writeEventBytes(const EventFile& file, const Cp932File& source);

// Whether the bytes of a file of CR LF lines end the way only a save that was cut short
// leaves it: inside a line (every line Kalvo writes ends in CR LF; zero bytes at the end,
// blocks whose data never reached the disk, are inside a line too). Files with other
// line ends are hand-made.
bool looksCutShort(std::string_view bytes);
// The last line of the bytes as text (code page 932 decoded, what does not decode
// replaced), without its line end; for telling the user which line it is.
std::string lastLineOf(std::string_view bytes);

// ---- pieces of the reader, exposed for tests -----------------------------------------
// The values of line 3: split at commas; blanks around a value are dropped and a value
// that begins with a double quote runs to the next double quote (commas inside it stay).
std::vector<std::string> splitValues(std::string_view line);
// A decimal number with blanks around it ("12", " -3.5 ", "1e3", "+7"); nullopt for
// anything else, infinities and NaN included.
std::optional<double> readNumber(std::string_view text);
bool versionAccepted(std::string_view version);

// ---- the lower panel's start entry (line 6) --------------------------------------------
// The stored list position as a whole number, blanks around it allowed; nullopt for
// anything else.
std::optional<int> storedPosition(std::string_view text);
// The list position the lower panel starts on: the stored one when it lies inside a
// list of `count` entries, else 0.
int startEntryPosition(std::string_view stored, int count);
// The stored start position after the entry at `deleted` left the list: one less when
// the deleted entry stood at or before it (0 stays 0), so that it keeps naming the same
// entry; unchanged otherwise, and when it is no number.
std::string startEntryAfterDelete(std::string_view stored, int deleted);

}  // namespace kalvo
