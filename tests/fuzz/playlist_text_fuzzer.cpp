// Arbitrary bytes as a playlist file, its ANSI lines read as Windows-1252 and
// as Windows-1251 do. Saved with nothing added, it comes back as its own bytes
// but for the format's rules, whatever the reading made of it. With paths
// added (the same bytes as UTF-16, LF between paths) every path reads back,
// after the file's lines as they were and before what followed its text;
// only a file that became UTF-8 behind the mark writes its lines anew, and
// never one with a line read by a choice.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "playlist/playlist_text.h"
#include "playlist/text_encodings.h"
#include "support/saved_back.h"

namespace {

// Names the property that failed before the fuzzer reports the input.
void Require(bool holds, int line = __builtin_LINE())
{
    if (!holds) {
        std::fprintf(stderr, "property at playlist_text_fuzzer.cpp:%d failed\n", line);
        std::abort();
    }
}

// A path can hold any UTF-16 code unit but LF, which ends its line, and
// 0x1A, which ends the file; an empty line holds no path.
std::vector<std::wstring> PathsFrom(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::wstring> paths(1);
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const auto unit = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (unit == L'\n')
            paths.emplace_back();
        else if (unit != 0x1A)
            paths.back() += unit;
    }
    std::vector<std::wstring> kept;
    for (auto& path : paths)
        if (!path.empty())
            kept.push_back(std::move(path));
    return kept;
}

bool IsMarkedUtf16(FileEncoding encoding)
{
    return encoding == FileEncoding::Utf16LittleEndian || encoding == FileEncoding::Utf16BigEndian;
}

// The bytes of a save that gave UTF-16 without a mark the mark of its order,
// as they would stand without it: a first line that begins like a mark
// comes after an empty line.
std::string AsRead(std::string bytes, FileEncoding read, FileEncoding saved)
{
    if (read == saved || !IsMarkedUtf16(saved))
        return bytes;
    const std::string lineEnd = saved == FileEncoding::Utf16BigEndian ? std::string("\0\r\0\n", 4)
                                                                       : std::string("\r\0\n\0", 4);
    bytes.erase(0, 2);
    for (const char* like : {"\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"})
        if (bytes.rfind(like, 0) == 0)
            return lineEnd + bytes;
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string file(reinterpret_cast<const char*>(data), size);
    const std::vector<std::wstring> added = PathsFrom(data, size);
    for (const AnsiCodePage* ansi : {&Windows1252(), &Windows1251()}) {
        PlaylistText text, again;
        const PathList read = ReadPlaylistText(file, *ansi, text);
        const auto same = WritePlaylistText(text, read, *ansi);
        Require(same.has_value());
        const std::string sameBytes = PlaylistBytes(*same, read);
        const std::string sameForm = AsRead(sameBytes, text.encoding, same->encoding);
        Require(sameForm == SavedBack(file));
        // Lines holding NUL bytes are no 8-bit text: once saved, such a file
        // may take the shape of UTF-16. Only its bytes must stay. So must
        // those of a file whose only bytes follow its text, where a save
        // with nothing added is never made.
        const bool nulLines = text.encoding == FileEncoding::Lines && file.find('\0') != std::string::npos;
        Require(nulLines || read.empty() || ReadPlaylistText(sameBytes, *ansi, again) == read);

        PathList all = read;
        for (const std::wstring& path : added)
            all.Append(path);
        const auto grown = WritePlaylistText(text, all, *ansi);
        if (!grown) {
            Require(text.choiceLines);  // an unpaired surrogate beside such a line
            continue;
        }
        const std::string grownBytes = PlaylistBytes(*grown, all);
        Require(nulLines || ReadPlaylistText(grownBytes, *ansi, again) == all);
        // Every byte the file held stays: its lines first, as they were, and
        // what followed its text last. A file of lines that became UTF-8
        // writes its lines anew, never one with a line read by a choice.
        const std::string grownForm = AsRead(grownBytes, text.encoding, grown->encoding);
        const std::size_t lines = sameForm.size() - text.tail.size();
        Require(grownForm.size() >= sameForm.size() &&
                grownForm.compare(grownForm.size() - text.tail.size(), text.tail.size(), text.tail) == 0);
        if (text.encoding == FileEncoding::Lines && grown->encoding == FileEncoding::Utf8)
            Require(!text.choiceLines);
        else
            Require(grownForm.compare(0, lines, sameForm, 0, lines) == 0);
        // What the save remembers of the file is what reading it gives.
        Require(nulLines || (grown->utf8Lines == again.utf8Lines && grown->singleByteLines == again.singleByteLines &&
                             grown->choiceLines == again.choiceLines && grown->lineCount == again.lineCount &&
                             grown->encoding == again.encoding));
        Require(PlaylistBytes(*WritePlaylistText(*grown, all, *ansi), all) == grownBytes);
    }
    return 0;
}
