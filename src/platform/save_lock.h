// Saves of one file by Kalvo processes take turns: a save holds this lock from its look
// at the file on disk to the end of its replace, so that no other Kalvo writes between
// the two (two windows ended together by a logout then merge instead of the second one
// overwriting the first).
//
// The lock is an flock on the folder that holds the file (its symbolic links followed),
// opened for reading only: the folder stays the same object when the file is renamed
// over, a read-only folder can be locked, and users who share a folder share its lock.
// It goes with the process: a killed save leaves no lock behind.
//
// When another process holds it, taking it waits a bounded time (the other save takes
// milliseconds) and then reports Busy: the save then writes nothing over the file, since
// the holder may still replace it (it asks, or keeps its content in a copy). Where the
// file system has no such locks, it goes on at once, and the save still checks the file
// right before its replace.
#pragma once

#include "platform/file_io.h"

#include <chrono>
#include <functional>
#include <string>

namespace kalvo {

class SaveLock {
public:
    enum class State { Held, Busy, Unsupported };

    // How long a save waits for another Kalvo's save before it reports Busy.
    static constexpr std::chrono::milliseconds kPatience{5000};

    // `waiting` runs once when the lock is held elsewhere, before the wait (to show a
    // wait cursor); `waited` runs after such a wait; `tick` runs every few milliseconds
    // while it waits (to keep the window answering).
    explicit SaveLock(const std::string& file, std::chrono::milliseconds patience = kPatience,
                      const std::function<void()>& waiting = {}, const std::function<void()>& waited = {},
                      const std::function<void()>& tick = {});
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;

    State state() const { return state_; }
    bool held() const { return state_ == State::Held; }
    void release();

    // Removes what killed saves left beside the file: temporary files of the save's own
    // naming (text_file.h: temporaryNameStem, then six letters or digits) that belong to
    // this user and have no other name, and nothing else. Only while the lock is held, so
    // that no other Kalvo is in the middle of a save.
    // Returns how many went.
    int removeLeftovers(const std::string& file) const;

private:
    Fd folder_;
    State state_ = State::Unsupported;
};

// Whether a name is one of the save's temporary files of the file named `fileName`.
bool isLeftoverName(const std::string& name, const std::string& fileName);

}  // namespace kalvo
