#pragma once
#include <string>
#include <string_view>

// A line in the system's ANSI code page (GetACP), as Notepad's "ANSI" and
// Windows' own tools write it; nothing when that code page can't read it
// (or is UTF-8, a Windows option: such a line is not UTF-8).
std::wstring DecodeSystemAnsi(std::string_view line);
