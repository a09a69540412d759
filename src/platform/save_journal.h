// The recovery copy of a save that writes into the file itself (a file with a second
// hard link, another user's file, a folder that takes no new file, a file that cannot be
// renamed over). Such a save cannot be atomic, so before it touches the file it puts the
// complete new content, with the old one and the file's identity, into a journal in the
// user's state folder and flushes it to the disk. A save that is killed or loses power
// half-way then leaves a file the next start completes from the journal; a journal that
// was itself cut short fails its checksum and is dropped, as the file was not touched
// yet.
//
// The journal lies in a folder only the user can change (file_io.h: openPrivateFolder),
// and is made anew for each save: written under a name of its own, flushed, and only
// then given the journal's name, which it never takes from a file already there. So a
// file under the journal's name is always whole as Kalvo wrote it; one that cannot be
// read (damaged, from a newer Kalvo) is never deleted, since the file it describes may be
// half-written. Nothing is read or replayed from a folder or a journal that someone
// else owns or can write.
//
// One journal per file, named by the file's device and inode. Its layout:
//   KALVO-JOURNAL 1\n dev N\n ino N\n path LEN\n<bytes>\n old LEN\n<bytes>\n
//   new LEN\n<bytes>\n sum <16 hex digits of FNV-1a 64 over everything before>\n
#pragma once

#include "platform/file_io.h"

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kalvo {

struct Journal {
    std::uint64_t dev = 0;
    std::uint64_t ino = 0;
    std::string path;  // the file as the save named it, its links followed
    std::string oldBytes;
    std::string newBytes;
};

std::string encodeJournal(const Journal& journal);
// nullopt when the bytes are no complete journal (cut short, damaged).
std::optional<Journal> parseJournal(std::string_view bytes);

// Whether `now` can be what a save from `oldBytes` to `newBytes` left when it was cut
// short: every byte is the old one or the new one at its place (or zero, a block whose
// data did not reach the disk), and the length is at most the longer of the two.
bool isHalfWritten(std::string_view now, std::string_view oldBytes, std::string_view newBytes);

std::string journalPath(const std::string& folder, const struct stat& file);

// Writes the journal and flushes it and the folder (created when missing, 0700). False
// when the folder is not the user's own, a journal of the file is already there, or a
// step failed: nothing then lies under the journal's name that was not there before.
bool writeJournal(const std::string& folder, const struct stat& file, const Journal& journal);
// Removes the journal of the file, and flushes the folder so that it does not come back
// after a power loss.
void removeJournal(const std::string& folder, const struct stat& file);

enum class Recovery {
    None,          // no journal for the file
    Dropped,       // a journal cut short: the file had not been touched, nothing to do
    AlreadyDone,   // the file already holds the new content
    Completed,     // the file was half-written: the new content is now in place
    ChangedSince,  // the file was changed by someone else since: left as it is
    Failed,        // the file could not be written; the journal stays for the next time
    Unreadable,    // a journal that cannot be read: kept aside, the file may be half-written
    Untrusted,     // the folder or the journal is not the user's own: nothing read from it
};

struct RecoveryResult {
    Recovery what = Recovery::None;
    std::string path;                     // the file the journal was for
    std::string content;                  // ChangedSince: the interrupted save's content, to be kept elsewhere;
                                          // Unreadable: the file as found, to be kept as a copy
    std::string journal;                  // Unreadable: where the journal was put aside; Untrusted: what is not used
    FolderTrust trust = FolderTrust::Ok;  // Untrusted: why (Ok: the journal itself)
};

// Whether the user's state folder exists and is not one to trust; `why` tells how.
bool stateFolderUntrusted(const std::string& folder, FolderTrust& why);
// Whether a journal of the file at `path` lies in `folder` (a quick look, no lock needed).
bool hasJournalFor(const std::string& path, const std::string& folder);
// Looks for a journal of the file at `path` in `folder` and finishes what it describes.
// The caller holds the file's save lock. After ChangedSince the journal stays until the
// caller has kept the content and calls dropJournalFor.
RecoveryResult recoverInterruptedSave(const std::string& path, const std::string& folder);
void dropJournalFor(const std::string& path, const std::string& folder);

}  // namespace kalvo
