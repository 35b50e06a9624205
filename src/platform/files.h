#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

// Reads the whole file in one piece: ERROR_SUCCESS, or why it could not be
// opened or read. Other programs may go on reading and writing it meanwhile;
// one that holds it shut for a moment is waited for, for about a second.
DWORD ReadWholeFile(const std::wstring& path, std::string& bytes);

// Replaces the file's content in one step that survives a crash or a power
// cut: `produce` hands the new bytes, in pieces, to the writer it is given;
// they go to a temporary file beside the file, which is flushed to the disk
// and then takes the file's place. A replace that another program blocks
// for a moment is tried again for about a second.
// ERROR_SUCCESS, or the system's error code for what failed (the writer or
// `produce` returning false among them); then the file stays as it was and
// no temporary file is left.
// Just before each try to put the new file in place, `mayReplace` (where
// given) says whether the file is still the one to replace; when it is not,
// ERROR_RETRY, and nothing was replaced.
// A successful replace also removes the temporary files that copies of the
// program ended in the middle of a save left behind (one still open is left).
using ByteWriter = std::function<bool(std::string_view bytes)>;
DWORD ReplaceFileContent(const std::wstring& path, const std::function<bool(const ByteWriter&)>& produce,
                         const std::function<bool()>& mayReplace = {});

// Whether the file holds exactly `bytes`. The file is read piece by piece,
// never held whole, and the comparison stops at the first difference.
enum class FileComparison { Same, Different, Missing, Unreadable };
FileComparison CompareFileContent(const std::wstring& path, std::string_view bytes);

// A file's size and last-write time: what tells cheaply that it may have
// changed. Only its content can tell that it did (times on FAT drives are
// kept to two seconds, and an edit may keep the size).
struct FileStamp {
    bool exists = false;
    ULONGLONG size = 0;
    ULONGLONG written = 0;
    bool operator==(const FileStamp& other) const
    {
        return exists == other.exists && size == other.size && written == other.written;
    }
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};
FileStamp StampOf(const std::wstring& path);
