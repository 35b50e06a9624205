#pragma once
#include <windows.h>

#include <string>

#include "platform/scoped_handle.h"

// One lock per file, shared by every running copy of the program on the
// machine, whoever runs it: a copy run as administrator, and copies in other
// users' sessions, take the same one. It is a named mutex whose name is made
// from the file's full path, case-folded, as Windows compares paths. Held
// from construction until destruction, or not at all: either another copy
// held it for longer than `patienceMs` (busy), or it could not be had for
// another reason, which those who hold it guard against anyway. A copy that
// ended while holding it does not block the others: its lock passes on.
class FileLock {
public:
    FileLock(const std::wstring& path, DWORD patienceMs);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return held_; }
    // Another copy holds it, and held it all the time this one waited.
    bool busy() const { return busy_; }

private:
    ScopedObject mutex_;
    bool held_ = false;
    bool busy_ = false;
};

// The mutex's name for the file at `path`.
std::wstring FileLockName(const std::wstring& path);
