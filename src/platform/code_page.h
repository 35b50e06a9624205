#pragma once
#include <functional>
#include <string>
#include <string_view>

// An 8-bit code page, as the playlist's text code reads and writes lines in
// it. The system's own comes from Windows; built-in tables stand in where no
// Windows is at hand (the fuzzer, tests).
struct AnsiCodePage {
    // A non-empty line in the code page, or nothing when it can't read it.
    std::function<std::wstring(std::string_view line)> decode;
    // A path in the code page, or nothing when it can't hold all of it.
    std::function<std::string(std::wstring_view path)> encode;
    // A single-byte code page whose letters beyond ASCII are of one other
    // script (Windows-1251 Cyrillic, 1253 Greek, 1255 Hebrew, 874 Thai)
    // reads an accented Latin letter of an earlier version's file as a
    // character of that script's block; elsewhere the block is empty.
    wchar_t scriptFirst = 0, scriptLast = 0;
};

// The script block of the code pages that have one.
void SetScriptOfCodePage(AnsiCodePage& page, unsigned codePage);
