#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The bytes of the playlist file: one path a line, each followed by CR LF.
//
// A file whose paths hold only the characters U+0001 to U+00FF stores each
// character as the byte of the same value. A path with any other character
// can't be written that way, so then the whole file is UTF-8 behind a
// byte-order mark (unpaired surrogates, which Windows file names may hold,
// each as its own three-byte sequence).
//
// Reading: a file that starts with the mark is UTF-8 (a byte that is not
// valid UTF-8 reads as the character of the same value), any other one byte
// per character. CR LF and a lone LF end a line, a CR just before the LF is
// dropped, a 0x1A byte ends the file, empty lines are skipped and nothing is
// trimmed.
//
// Encoding hands the bytes to `sink` piece by piece; false when the sink
// stopped it by returning false.
using ByteSink = std::function<bool(std::string_view bytes)>;
bool EncodePlaylist(const std::vector<std::wstring>& paths, const ByteSink& sink);
std::string EncodePlaylist(const std::vector<std::wstring>& paths);
std::vector<std::wstring> DecodePlaylist(std::string_view bytes);
