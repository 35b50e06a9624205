#include "platform/files.h"

#include <windows.h>

#include <algorithm>

namespace {

// ReadFile and WriteFile move at most 4 GiB a call; stay well below.
constexpr std::size_t kChunk = 1u << 30;

bool WriteAll(HANDLE file, std::string_view bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const DWORD part = static_cast<DWORD>(std::min(kChunk, bytes.size() - done));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, part, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

bool ReadAll(HANDLE file, std::string& bytes)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size))
        return false;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD part = static_cast<DWORD>(std::min(kChunk, bytes.size() - done));
        DWORD read = 0;
        if (!ReadFile(file, bytes.data() + done, part, &read, nullptr))
            return false;
        if (read == 0)
            break;  // the file shrank meanwhile
        done += read;
    }
    bytes.resize(done);
    return true;
}

bool WriteNewFile(const std::wstring& path, const std::function<bool(const ByteWriter&)>& produce)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool written = produce([file](std::string_view bytes) { return WriteAll(file, bytes); });
    return CloseHandle(file) && written;
}

}  // namespace

bool ReadWholeFile(const std::wstring& path, std::string& bytes)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool read = ReadAll(file, bytes);
    CloseHandle(file);
    return read;
}

bool ReplaceFileContent(const std::wstring& path, const std::function<bool(const ByteWriter&)>& produce)
{
    // Windows refuses to move a file onto a read-only one, but not every
    // implementation of it does: a read-only file is never replaced.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    // Named after this process, so two running copies never share one.
    const std::wstring temporary = path + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    if (WriteNewFile(temporary, produce) &&
        MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}
