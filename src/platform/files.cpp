#include "platform/files.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "platform/long_path.h"
#include "platform/scoped_handle.h"

namespace {

// ReadFile and WriteFile move at most 4 GiB a call; stay well below.
constexpr std::size_t kChunk = 1u << 30;
constexpr std::size_t kComparePiece = 64 * 1024;

// How long a read or a replace waits for another program to let go of the
// file.
constexpr ULONGLONG kPatienceMs = 1000;
constexpr DWORD kRetryMs = 50;

// GetLastError, or `fallback` for a failure that set no error code.
DWORD LastErrorOr(DWORD fallback)
{
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : fallback;
}

// ERROR_SUCCESS, or the error of the write that failed: its own, since a
// write that reports success yet moves nothing leaves no error code behind.
DWORD WriteAll(HANDLE file, std::string_view bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const DWORD part = static_cast<DWORD>(std::min(kChunk, bytes.size() - done));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, part, &written, nullptr))
            return LastErrorOr(ERROR_WRITE_FAULT);
        if (written == 0)
            return ERROR_WRITE_FAULT;
        done += written;
    }
    return ERROR_SUCCESS;
}

// Reads `size` bytes into `into`, fewer only where the file ends; `done`
// tells how many. False when a read failed.
bool ReadUpTo(HANDLE file, char* into, std::size_t size, std::size_t& done)
{
    for (done = 0; done < size;) {
        const DWORD part = static_cast<DWORD>(std::min(kChunk, size - done));
        DWORD read = 0;
        if (!ReadFile(file, into + done, part, &read, nullptr))
            return false;
        if (read == 0)
            break;  // the file shrank meanwhile, or ends here
        done += read;
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
    const bool read = ReadUpTo(file, bytes.data(), bytes.size(), done);
    bytes.resize(done);
    return read;
}

// The new content on its way: a file beside the one it will replace, named
// after this process so that two running copies never share one. However
// the save ends, an exception included, its handle is closed and, unless it
// took the file's place, it is removed.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::wstring& target)
        : path_(ExtendedLengthPath(target + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp")),
          file_(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr))
    {
    }
    ~TemporaryFile()
    {
        file_.Close();
        if (!moved_)
            DeleteFileW(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::wstring& path() const { return path_; }
    HANDLE handle() const { return file_.get(); }
    bool opened() const { return file_.valid(); }
    bool Close() { return file_.Close(); }
    void Moved() { moved_ = true; }

private:
    std::wstring path_;
    ScopedFile file_;
    bool moved_ = false;
};

// Writes the new content and flushes it to the disk, so that a power cut
// after the replace can't leave a file whose size is recorded but whose
// bytes never arrived. The first error is the one told: the calls on the
// way out would overwrite it.
DWORD WriteNewFile(TemporaryFile& file, const std::function<bool(const ByteWriter&)>& produce)
{
    if (!file.opened())
        return LastErrorOr(ERROR_CANNOT_MAKE);
    DWORD error = ERROR_SUCCESS;
    const bool written = produce([&](std::string_view bytes) {
        error = WriteAll(file.handle(), bytes);
        return error == ERROR_SUCCESS;
    });
    if (!written && error == ERROR_SUCCESS)
        error = ERROR_WRITE_FAULT;
    if (error == ERROR_SUCCESS && !FlushFileBuffers(file.handle()))
        error = LastErrorOr(ERROR_WRITE_FAULT);
    if (!file.Close() && error == ERROR_SUCCESS)
        error = LastErrorOr(ERROR_WRITE_FAULT);
    return error;
}

// Errors that mean another program holds the file for a moment: virus
// scanners, the search indexer, backup and sync tools open files they see
// change. A file being replaced refuses a move onto it as access denied.
bool IsHeldForAMoment(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}
bool IsMomentaryForAMove(DWORD error)
{
    return IsHeldForAMoment(error) || error == ERROR_ACCESS_DENIED;
}

// Tries `attempt` again while it fails for a moment, for about a second:
// ERROR_SUCCESS, or the error of the last try.
DWORD WaitingOutBriefHolders(bool (*momentary)(DWORD), const std::function<DWORD()>& attempt)
{
    const ULONGLONG deadline = GetTickCount64() + kPatienceMs;
    for (;;) {
        const DWORD error = attempt();
        if (error == ERROR_SUCCESS || !momentary(error) || GetTickCount64() >= deadline)
            return error;
        Sleep(kRetryMs);
    }
}

DWORD MoveIntoPlace(const std::wstring& source, const std::wstring& to, const std::function<bool()>& mayReplace)
{
    const std::wstring target = ExtendedLengthPath(to);
    return WaitingOutBriefHolders(IsMomentaryForAMove, [&]() -> DWORD {
        if (mayReplace && !mayReplace())
            return ERROR_RETRY;
        if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return ERROR_SUCCESS;
        return LastErrorOr(ERROR_WRITE_FAULT);
    });
}

// Temporary files are named "<file>.<process id>.tmp".
bool IsTemporaryFileOf(const std::wstring& name, const std::wstring& fileName)
{
    const std::wstring suffix = L".tmp";
    if (name.size() <= fileName.size() + 1 + suffix.size() || name.compare(0, fileName.size(), fileName) != 0 ||
        name[fileName.size()] != L'.' || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    for (std::size_t i = fileName.size() + 1; i < name.size() - suffix.size(); ++i)
        if (name[i] < L'0' || name[i] > L'9')
            return false;
    return true;
}

// Calls `found` with the full path and the data of each temporary file of
// the program's that lies beside the file at `path`.
template <typename Found>
void ForEachTemporaryFileOf(const std::wstring& path, Found found)
{
    const std::size_t separator = path.find_last_of(L"\\/");
    const std::wstring folder = separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
    const std::wstring fileName = path.substr(folder.size());
    WIN32_FIND_DATAW data;
    const HANDLE search = FindFirstFileW(ExtendedLengthPath(path + L".*.tmp").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (IsTemporaryFileOf(data.cFileName, fileName) && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            found(ExtendedLengthPath(folder + data.cFileName), data);
    } while (FindNextFileW(search, &data));
    FindClose(search);
}

// What a copy of the program that was ended in the middle of a save left
// behind. A file another running copy still writes is open, and stays.
void RemoveLeftoverTemporaryFiles(const std::wstring& path)
{
    ForEachTemporaryFileOf(path, [](const std::wstring& temporary, const WIN32_FIND_DATAW&) {
        DeleteFileW(temporary.c_str());
    });
}

}  // namespace

DWORD ReadWholeFile(const std::wstring& path, std::string& bytes)
{
    return WaitingOutBriefHolders(IsHeldForAMoment, [&]() -> DWORD {
        const ScopedFile file(CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid())
            return LastErrorOr(ERROR_OPEN_FAILED);
        return ReadAll(file.get(), bytes) ? ERROR_SUCCESS : LastErrorOr(ERROR_READ_FAULT);
    });
}

DWORD ReplaceFileContent(const std::wstring& path, const std::function<bool(const ByteWriter&)>& produce,
                         const std::function<bool()>& mayReplace)
{
    // Windows refuses to move a file onto a read-only file or a folder, but
    // not every implementation of it does, and waiting would not help: such
    // a file is never replaced.
    const DWORD attributes = GetFileAttributesW(ExtendedLengthPath(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return ERROR_ACCESS_DENIED;
    TemporaryFile temporary(path);
    DWORD error = WriteNewFile(temporary, produce);
    if (error == ERROR_SUCCESS)
        error = MoveIntoPlace(temporary.path(), path, mayReplace);
    if (error != ERROR_SUCCESS)
        return error;
    temporary.Moved();
    RemoveLeftoverTemporaryFiles(path);
    return ERROR_SUCCESS;
}

bool RecoverCutShortReplace(const std::wstring& path)
{
    if (GetFileAttributesW(ExtendedLengthPath(path).c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    std::vector<std::pair<ULONGLONG, std::wstring>> newestFirst;
    ForEachTemporaryFileOf(path, [&](const std::wstring& temporary, const WIN32_FIND_DATAW& data) {
        const FILETIME& written = data.ftLastWriteTime;
        newestFirst.emplace_back((static_cast<ULONGLONG>(written.dwHighDateTime) << 32) | written.dwLowDateTime,
                                 temporary);
    });
    std::sort(newestFirst.begin(), newestFirst.end(), std::greater<>());
    // One that a running copy still writes is open and does not move.
    for (const auto& candidate : newestFirst)
        if (MoveFileExW(candidate.second.c_str(), ExtendedLengthPath(path).c_str(), MOVEFILE_WRITE_THROUGH))
            return true;
    return false;
}

void ContentDigest::Mix(unsigned long long word)
{
    // A multiply and a shift, each undone by another: two words in the same
    // place never leave the same hash.
    hash_ = (hash_ ^ word) * 0x9E3779B97F4A7C15ull;
    hash_ ^= hash_ >> 29;
}

void ContentDigest::Add(std::string_view bytes)
{
    std::size_t i = 0;
    const auto addByte = [&] {
        pending_ |= static_cast<unsigned long long>(static_cast<unsigned char>(bytes[i])) << (8 * (size_ % 8));
        if (++size_ % 8 == 0) {
            Mix(pending_);
            pending_ = 0;
        }
        ++i;
    };
    while (size_ % 8 != 0 && i < bytes.size())
        addByte();
    for (; i + 8 <= bytes.size(); i += 8, size_ += 8) {
        unsigned long long word;
        std::memcpy(&word, bytes.data() + i, 8);
        Mix(word);
    }
    while (i < bytes.size())
        addByte();
}

bool ContentDigest::operator==(const ContentDigest& other) const
{
    return size_ == other.size_ && hash_ == other.hash_ && pending_ == other.pending_;
}

FileComparison CompareFileContent(const std::wstring& path, const ContentDigest& digest)
{
    const ScopedFile file(CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileComparison::Missing
                                                                              : FileComparison::Unreadable;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size))
        return FileComparison::Unreadable;
    if (static_cast<ULONGLONG>(size.QuadPart) != digest.size())
        return FileComparison::Different;
    // Small pieces stay in the cache; one as large as the file would first
    // have to be touched page by page.
    std::vector<char> piece(kComparePiece);
    ContentDigest found;
    for (;;) {
        std::size_t done = 0;
        if (!ReadUpTo(file.get(), piece.data(), piece.size(), done))
            return FileComparison::Unreadable;
        if (done == 0)
            return found == digest ? FileComparison::Same : FileComparison::Different;
        found.Add(std::string_view(piece.data(), done));
    }
}

FileStamp StampOf(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    FileStamp stamp;
    if (!GetFileAttributesExW(ExtendedLengthPath(path).c_str(), GetFileExInfoStandard, &data))
        return stamp;
    stamp.exists = true;
    stamp.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.written = (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                    data.ftLastWriteTime.dwLowDateTime;
    return stamp;
}
