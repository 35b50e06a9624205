#include "platform/file_lock.h"

#include <sddl.h>

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
    swprintf(name, 64, L"Global\\Lirotune.file.%016llx", static_cast<unsigned long long>(hash));
    return name;
}

namespace {

// Everyone may wait on the lock and let it go, at every integrity level: a
// mutex that an elevated copy made would otherwise be shut to the others.
constexpr wchar_t kOpenToEveryone[] = L"D:(A;;0x00100001;;;WD)S:(ML;;NW;;;LW)";
constexpr DWORD kWaitAndRelease = SYNCHRONIZE | MUTEX_MODIFY_STATE;

HANDLE OpenLock(const std::wstring& name)
{
    SECURITY_ATTRIBUTES everyone = {sizeof everyone, nullptr, FALSE};
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (ConvertStringSecurityDescriptorToSecurityDescriptorW(kOpenToEveryone, SDDL_REVISION_1, &descriptor,
                                                             nullptr))
        everyone.lpSecurityDescriptor = descriptor;
    const HANDLE mutex = CreateMutexExW(&everyone, name.c_str(), 0, kWaitAndRelease);
    LocalFree(descriptor);
    return mutex;
}

}  // namespace

FileLock::FileLock(const std::wstring& path, DWORD patienceMs) : mutex_(OpenLock(FileLockName(path)))
{
    if (!mutex_.valid())
        return;
    const DWORD waited = WaitForSingleObject(mutex_.get(), patienceMs);
    held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    busy_ = waited == WAIT_TIMEOUT;
}

FileLock::~FileLock()
{
    if (held_)
        ReleaseMutex(mutex_.get());
}
