// The save journal's reader on any bytes, as a crash may leave them on disk: a journal is
// taken only whole (what it holds writes back as the same journal), any journal cut short
// or with a byte changed is refused, and the half-written check accepts exactly the files
// a save from the old content to the new one can leave when it is cut short.
#include "support.h"

#include "platform/save_journal.h"

#include <fuzzer/FuzzedDataProvider.h>
#include <algorithm>
#include <cstdint>
#include <string>

namespace {

using namespace kalvo;

bool same(const Journal& a, const Journal& b) {
    return a.dev == b.dev && a.ino == b.ino && a.path == b.path && a.oldBytes == b.oldBytes && a.newBytes == b.newBytes;
}

// The bytes as a journal file left on disk.
void checkFile(std::string_view bytes) {
    const auto journal = parseJournal(bytes);
    if (!journal) return;
    FUZZ_CHECK(journal->path.size() + journal->oldBytes.size() + journal->newBytes.size() < bytes.size());
    const auto again = parseJournal(encodeJournal(*journal));
    FUZZ_CHECK(again && same(*again, *journal));
}

// A journal made from the input, then cut short or with one byte changed.
void checkWritten(FuzzedDataProvider& input, const Journal& journal) {
    const std::string bytes = encodeJournal(journal);
    const auto read = parseJournal(bytes);
    FUZZ_CHECK(read && same(*read, journal));
    const size_t cut = input.ConsumeIntegralInRange<size_t>(0, bytes.size() - 1);
    FUZZ_CHECK(!parseJournal(std::string_view(bytes).substr(0, cut)));
    std::string changed = bytes;
    changed[cut] = static_cast<char>(changed[cut] ^ input.ConsumeIntegralInRange<int>(1, 255));
    FUZZ_CHECK(!parseJournal(changed));
}

// A file that a save from old to new left half-written: each byte the old one, the new
// one or zero, no longer than the longer content. One byte that is none of these, or one
// byte more, and it is not.
void checkHalfWritten(FuzzedDataProvider& input, const std::string& oldBytes, const std::string& newBytes) {
    const size_t longer = std::max(oldBytes.size(), newBytes.size());
    std::string now(input.ConsumeIntegralInRange<size_t>(0, longer), '\0');
    for (size_t i = 0; i < now.size(); ++i) {
        const int pick = input.ConsumeIntegralInRange<int>(0, 2);
        if (pick == 0 && i < oldBytes.size()) now[i] = oldBytes[i];
        if (pick == 1 && i < newBytes.size()) now[i] = newBytes[i];
    }
    FUZZ_CHECK(isHalfWritten(now, oldBytes, newBytes));
    FUZZ_CHECK(!isHalfWritten(now + std::string(longer + 1 - now.size(), '\0'), oldBytes, newBytes));
    if (now.empty()) return;
    const size_t at = input.ConsumeIntegralInRange<size_t>(0, now.size() - 1);
    for (int c = 1; c < 256; ++c) {
        const char b = static_cast<char>(c);
        if ((at < oldBytes.size() && oldBytes[at] == b) || (at < newBytes.size() && newBytes[at] == b)) continue;
        now[at] = b;
        FUZZ_CHECK(!isHalfWritten(now, oldBytes, newBytes));
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    checkFile(std::string_view(reinterpret_cast<const char*>(data), size));
    FuzzedDataProvider input(data, size);
    Journal journal;
    journal.dev = input.ConsumeIntegral<std::uint64_t>();
    journal.ino = input.ConsumeIntegral<std::uint64_t>();
    journal.path = input.ConsumeRandomLengthString(64);
    journal.oldBytes = input.ConsumeRandomLengthString(512);
    journal.newBytes = input.ConsumeRandomLengthString(512);
    checkWritten(input, journal);
    checkHalfWritten(input, journal.oldBytes, journal.newBytes);
    return 0;
}
