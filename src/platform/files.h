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
// program ended in the middle of a save left behind (one still open is
// left): only then, with the file in place, are they of no more use.
using ByteWriter = std::function<bool(std::string_view bytes)>;
DWORD ReplaceFileContent(const std::wstring& path, const std::function<bool(const ByteWriter&)>& produce,
                         const std::function<bool()>& mayReplace = {});

// What a file holds, in brief: the size and a 64-bit hash of its bytes, added
// a piece at a time. It tells whether a file still holds the bytes it was
// made from without keeping them; a change of one 8-byte word always shows.
class ContentDigest {
public:
    void Add(std::string_view bytes);
    bool operator==(const ContentDigest& other) const;
    bool operator!=(const ContentDigest& other) const { return !(*this == other); }
    ULONGLONG size() const { return size_; }

private:
    void Mix(unsigned long long word);
    ULONGLONG size_ = 0;
    unsigned long long hash_ = 0x243F6A8885A308D3ull;
    unsigned long long pending_ = 0;  // the bytes of a word not yet mixed in
};

// On FAT and exFAT drives a replace removes the file and then renames the
// new one: a power cut between the two leaves no file and a complete,
// flushed temporary one. Where the file is missing, the newest temporary
// file of the program's beside it takes its place: whether one did.
bool RecoverCutShortReplace(const std::wstring& path);

// Whether the file holds the bytes that `digest` was made from. The file is
// read piece by piece, never held whole; a file of another size is not read.
enum class FileComparison { Same, Different, Missing, Unreadable };
FileComparison CompareFileContent(const std::wstring& path, const ContentDigest& digest);

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
