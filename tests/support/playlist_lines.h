#pragma once
#include <string>
#include <vector>

// Whether the file starts with a byte-order mark (UTF-8, UTF-16 LE or BE).
bool StartsWithAMark(const std::string& bytes);

// The paths a playlist file without a byte-order mark holds, split afresh
// from the rules: LF ends a line, one CR before it goes, 0x1A ends the file,
// empty lines go; a line that Windows' own UTF-8 decoder takes as
// well-formed, with a character beyond ASCII, is UTF-8, any other is read by
// its decoder for the system's ANSI code page.
std::vector<std::wstring> LinesOf(const std::string& bytes);
