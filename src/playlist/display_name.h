#pragma once
#include <string>

// Index of the last separator, backslash or slash, or npos when the path has
// none.
std::wstring::size_type LastSeparator(const std::wstring& path);

// The text after the last separator: the file name a row shows. A path
// without separators is returned whole; one ending in a separator gives "".
std::wstring DisplayName(const std::wstring& path);
// Where that name starts in the path.
std::wstring::size_type DisplayNameStart(const std::wstring& path);
