#pragma once
#include <string>
#include <string_view>

#include "platform/code_page.h"

// The conversions between paths and the bytes of a playlist file's lines:
// UTF-8, UTF-16, one byte a character, and the code page tables built in.
// They need no Windows, so the text code can be fuzzed anywhere.

// UTF-8; unpaired surrogates, which Windows file names may hold, each as its
// own three-byte sequence.
std::string Utf8Bytes(std::wstring_view path);
std::string Utf16Bytes(std::wstring_view path, bool bigEndian);
// Each character as the byte of the same value; empty when a character is
// beyond U+00FF.
std::string OneByteBytes(std::wstring_view path);

// Only ASCII; UTF-8, well-formed throughout with at least one character
// beyond ASCII; or anything else.
enum class LineKind { Ascii, Utf8, Other };
LineKind KindOf(std::string_view line);

// Each byte as the character of the same value.
std::wstring DecodeOneByte(std::string_view line);
// The same, written to `out`, which has room for `line.size()` characters.
void WidenOneByte(std::string_view line, wchar_t* out);
// A line of a file behind the UTF-8 mark (or a well-formed one without it):
// a byte that is not part of a sequence stands for itself.
std::wstring DecodeUtf8Line(std::string_view line);

// Built in, for the fuzzer and for tests that don't run on Windows.
const AnsiCodePage& Windows1252();
const AnsiCodePage& Windows1251();
