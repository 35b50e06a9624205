#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"

// The bytes of the playlist file: one path a line, each followed by CR LF.
//
// Reading takes every encoding Notepad writes. The mark decides: FF FE is
// UTF-16 LE, FE FF UTF-16 BE, EF BB BF UTF-8 (a byte that is not part of a
// UTF-8 sequence reads as the character of the same value). Without a mark,
// each line on its own: a well-formed UTF-8 line with a character beyond
// ASCII is UTF-8; any other line is in the system's ANSI code page (what
// Notepad calls "ANSI"), or one character a byte, as earlier versions wrote
// every file, where that code page can't read the line or where it reads an
// accented Latin name as a letter of its own script ("caf\u0439" on
// Windows-1251). In every encoding LF ends a line, a CR just before it is
// dropped, 0x1A ends the file, empty lines are skipped and nothing is
// trimmed; in UTF-16 a lone last byte is ignored and unpaired surrogates are
// kept.
//
// Writing never turns a reading into bytes: a line the player read is
// written back as the bytes it was read from, behind the file's own mark, so
// a wrong guess about an encoding costs nothing. Only the format's rules
// apply: each line ends in CR LF (in UTF-16, its UTF-16 form), and blank
// lines, everything after a 0x1A and a lone last byte of UTF-16 are gone.
// An added path takes the file's encoding where it reads back the same that
// way (see WritePlaylistText).

enum class FileMark { None, Utf8, Utf16LittleEndian, Utf16BigEndian };

// Where a path's line lies in the file's bytes, its line end left out.
struct LineSpan {
    std::size_t offset = 0, length = 0;
};

// A playlist file as the player read or wrote it.
struct PlaylistText {
    std::string bytes;
    FileMark mark = FileMark::None;
    // The line of each path read, in order.
    std::vector<LineSpan> lines;
    // Whether the bytes are exactly what writing the lines back gives.
    bool asWritten = true;
    // What the lines of a file without a mark hold, which decides how an
    // added path is written: a UTF-8 line beyond ASCII; a line beyond ASCII
    // in the code page or one byte a character; a line that reads
    // differently in the code page and one byte a character, and could be
    // either.
    bool utf8Lines = false, singleByteLines = false, choiceLines = false;
};

// The paths of a file, one a line; `text` keeps the bytes and where each
// path's line lies in them, for writing them back.
std::vector<std::wstring> ReadPlaylistText(std::string bytes, const AnsiCodePage& ansi, PlaylistText& text);

// What a save writes: `paths` are the file's own paths (one for each of
// `file.lines`, as read) and then the added ones. The file's lines come back
// as they were read; each added path goes in the file's encoding:
//  - behind a mark, the mark's (UTF-16 LE, UTF-16 BE, UTF-8);
//  - without one, the first of the file's own encodings in which it reads
//    back the same: UTF-8 where the file has a UTF-8 line, then the code
//    page and one byte a character where it has a line of those; in an
//    empty file or one of ASCII lines, one byte a character, as earlier
//    versions wrote.
// When a path fits none of them, the whole file becomes UTF-8 behind the
// mark, each line with the same meaning; but a file holding a line whose
// reading was a choice keeps its bytes and no mark, and the path is added
// as a UTF-8 line. Nothing when even that would not read back the same (a
// path with an unpaired surrogate): a save must not write it.
std::optional<PlaylistText> WritePlaylistText(const PlaylistText& file, const std::vector<std::wstring>& paths,
                                              const AnsiCodePage& ansi);
