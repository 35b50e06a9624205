#include "platform/file_lock.h"

#include <cstdint>
#include <cwchar>

std::wstring FileLockName(const std::wstring& path)
{
    // A path may be far longer than a mutex name may be: the name holds a
    // hash of it. FNV-1a, 64 bits.
    std::wstring folded = path;
    if (!folded.empty())
        CharUpperBuffW(folded.data(), static_cast<DWORD>(folded.size()));
    std::uint64_t hash = 14695981039346656037ull;
    for (wchar_t c : folded)
        hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
    wchar_t name[64];
    swprintf(name, 64, L"Local\\Lirotune.file.%016llx", static_cast<unsigned long long>(hash));
    return name;
}

FileLock::FileLock(const std::wstring& path, DWORD patienceMs)
    : mutex_(CreateMutexW(nullptr, FALSE, FileLockName(path).c_str()))
{
    if (!mutex_.valid())
        return;
    const DWORD waited = WaitForSingleObject(mutex_.get(), patienceMs);
    held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

FileLock::~FileLock()
{
    if (held_)
        ReleaseMutex(mutex_.get());
}
