#pragma once
#include <string>

// Backslash and slash both separate the parts of a path.
bool IsPathSeparator(wchar_t c);

// Index of the last separator in the path, or npos when it has none.
std::wstring::size_type LastSeparator(const std::wstring& path);

// The text after the last separator: the file name a row shows. A path
// without separators is returned whole; one ending in a separator gives "".
std::wstring DisplayName(const std::wstring& path);
// Where that name starts in the path.
std::wstring::size_type DisplayNameStart(const std::wstring& path);
