#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The bytes of the playlist file: one path a line, each followed by CR LF.
//
// Writing: a file whose paths hold only the characters U+0001 to U+00FF
// stores each character as the byte of the same value, as the player always
// has. When that would not read back the same (a character beyond U+00FF, a
// path whose bytes would read as UTF-8 or as other characters in the ANSI
// code page, a first path that begins like a byte-order mark) the whole file
// is UTF-8 behind the mark instead (unpaired surrogates, which Windows file
// names may hold, each as its own three-byte sequence).
//
// Reading takes every encoding Notepad writes. The mark decides: FF FE is
// UTF-16 LE, FE FF UTF-16 BE, EF BB BF UTF-8 (a byte that is not part of a
// UTF-8 sequence reads as the character of the same value). Without a mark,
// each line on its own: a well-formed UTF-8 line with a character beyond
// ASCII is UTF-8, any other line is in the system's ANSI code page, which
// `ansi` reads (what Notepad calls "ANSI": Windows-1252 on Western systems,
// whose bytes 0xA0 to 0xFF are the characters of the same value). In every encoding
// LF ends a line, a CR just before it is dropped, 0x1A ends the file, empty
// lines are skipped and nothing is trimmed; in UTF-16 a lone last byte is
// ignored and unpaired surrogates are kept.
//
// Encoding hands the bytes to `sink` piece by piece; false when the sink
// stopped it by returning false.
using ByteSink = std::function<bool(std::string_view bytes)>;
// `ansi` reads a non-empty line in the ANSI code page, or gives nothing when
// that code page can't read it; such a line keeps one character a byte.
using AnsiDecoder = std::wstring (*)(std::string_view line);
bool EncodePlaylist(const std::wstring* paths, std::size_t count, AnsiDecoder ansi, const ByteSink& sink);
bool EncodePlaylist(const std::vector<std::wstring>& paths, AnsiDecoder ansi, const ByteSink& sink);
std::string EncodePlaylist(const std::vector<std::wstring>& paths, AnsiDecoder ansi);
std::vector<std::wstring> DecodePlaylist(std::string_view bytes, AnsiDecoder ansi);

// Each byte the character of the same value: how playlists were read before
// they could be UTF-8.
std::wstring DecodeLatin1(std::string_view line);
// Windows-1252, the ANSI code page of Western systems, without Windows.
std::wstring DecodeWindows1252(std::string_view line);
