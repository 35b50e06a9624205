#pragma once
#include <string>
#include <string_view>

// A line in the system's ANSI code page (GetACP), as Notepad's "ANSI" and
// Windows' own tools write it. Bytes that code page can't read keep one
// character a byte, so nothing of a line is ever lost.
std::wstring DecodeSystemAnsi(std::string_view line);
