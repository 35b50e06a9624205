#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"
#include "playlist/path_list.h"

// The bytes of the playlist file: one path a line, each followed by CR LF.
//
// Reading takes every encoding Notepad writes. The mark decides: FF FE is
// UTF-16 LE, FE FF UTF-16 BE, EF BB BF UTF-8 (a byte that is not part of a
// UTF-8 sequence reads as the character of the same value). A file without
// a mark that has the shape of UTF-16 text in one byte order (see
// Utf16WithoutMarkOf) is UTF-16 of that order. Any other file is read line
// by line: a well-formed UTF-8 line with a character beyond ASCII is UTF-8;
// any other line is in the system's ANSI code page (what Notepad calls
// "ANSI"), or one character a byte, as earlier versions wrote every file,
// where that code page can't read the line or where it reads an accented
// Latin name as a letter of its own script ("caf\u0439" on Windows-1251).
// In every encoding LF ends a line, a CR just before it is dropped, 0x1A
// ends the text, empty lines are skipped and nothing is trimmed; in UTF-16
// a lone last byte is no character, and unpaired surrogates are kept.
//
// Writing never turns a reading into bytes: a line the player read is
// written back as the bytes it was read from, behind the file's own mark, so
// a wrong guess about an encoding costs nothing. Only the format's rules
// apply: each line ends in CR LF (in UTF-16, its UTF-16 form) and blank
// lines are gone; the 0x1A and everything after it (or the lone last byte
// of UTF-16) come last, as they were. An added path takes the file's
// encoding where it reads back the same that way (see WritePlaylistText).

// How a file's text is written: each line on its own (no mark), or all of
// it in one encoding, behind that encoding's mark or, for UTF-16, without.
enum class FileEncoding {
    Lines,
    Utf8,
    Utf16LittleEndian,
    Utf16BigEndian,
    Utf16LittleEndianWithoutMark,
    Utf16BigEndianWithoutMark,
};

// How the file `bytes` is read: by its mark, else as UTF-16 without one
// where it has that shape, else line by line.
FileEncoding EncodingOf(std::string_view bytes);

// A line whose bytes its path does not give back (an ASCII line, or any
// line of UTF-16, is its path's own bytes): the index of its path, and
// where its bytes lie in `PlaylistText::kept`, its line end left out.
struct KeptLine {
    std::size_t index = 0, offset = 0, length = 0;
};

// A playlist file as the player read or wrote it, holding no more than it
// takes to write it back with its paths.
struct PlaylistText {
    FileEncoding encoding = FileEncoding::Lines;
    // How many paths' lines it holds, and the few that keep their bytes,
    // in order.
    std::size_t lineCount = 0;
    std::vector<KeptLine> keptLines;
    std::string kept;
    // What follows the text: the 0x1A and every byte after it, or a lone last
    // byte of UTF-16. Nothing in it is read.
    std::string tail;
    // What the lines of a file without a mark hold, which decides how an
    // added path is written: a UTF-8 line beyond ASCII; a line beyond ASCII
    // in the code page or one byte a character; a line that reads
    // differently in the code page and one byte a character, and could be
    // either.
    bool utf8Lines = false, singleByteLines = false, choiceLines = false;
};

// The paths of a file, one a line; `text` keeps what writing them back needs.
PathList ReadPlaylistText(std::string bytes, const AnsiCodePage& ansi, PlaylistText& text);

// What a save writes: `paths` are the file's own paths (one for each of
// `file.lineCount`, as read) and then the added ones. The file's lines come back
// as they were read; each added path goes in the file's encoding:
//  - in a UTF-8 or UTF-16 file, its own (UTF-16 of the file's byte order,
//    behind the mark where the file has it);
//  - in a file of lines, the first of the file's own encodings in which it
//    reads back the same: UTF-8 where the file has a UTF-8 line, then the
//    code page and one byte a character where it has a line of those; in an
//    empty file or one of ASCII lines, one byte a character, as earlier
//    versions wrote.
// When a path fits none of them, the whole file becomes UTF-8 behind the
// mark, each line with the same meaning; but a file holding a line whose
// reading was a choice keeps its bytes and no mark, and the path is added
// as a UTF-8 line. Nothing when even that would not read back the same (a
// path with an unpaired surrogate): a save must not write it. A file of
// lines that hold NUL bytes (no 8-bit playlist does) may take the shape of
// UTF-16 once saved; its bytes stay all the same.
std::optional<PlaylistText> WritePlaylistText(const PlaylistText& file, const PathList& paths,
                                              const AnsiCodePage& ansi);

// The bytes of `text`, whose lines are those of `paths`, handed to `write`
// a piece at a time; false when `write` returned false.
using BytesSink = std::function<bool(std::string_view bytes)>;
bool ProducePlaylistBytes(const PlaylistText& text, const PathList& paths, const BytesSink& write);
// The same bytes, all at once.
std::string PlaylistBytes(const PlaylistText& text, const PathList& paths);
