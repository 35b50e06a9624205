#pragma once
#include <windows.h>

#include <string>

#include "platform/scoped_handle.h"

// One lock per file, shared by every running copy of the program: a named
// mutex whose name is made from the file's full path, case-folded, as
// Windows compares paths. Held from construction until destruction, or not
// at all when another copy held it for longer than `patienceMs`. A copy that
// ended while holding it does not block the others: its lock passes on.
class FileLock {
public:
    FileLock(const std::wstring& path, DWORD patienceMs);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return held_; }

private:
    ScopedObject mutex_;
    bool held_ = false;
};

// The mutex's name for the file at `path`.
std::wstring FileLockName(const std::wstring& path);
