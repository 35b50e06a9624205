#pragma once
#include <string>
#include <vector>

// The paths a playlist file without the UTF-8 mark holds, split afresh from
// the rules: LF ends a line, one CR before it goes, 0x1A ends the file, empty
// lines go, each byte is the character of the same value.
std::vector<std::wstring> LinesOf(const std::string& bytes);
