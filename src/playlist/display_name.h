#pragma once
#include <string>
#include <string_view>

// Index of the last separator, backslash or slash, or npos when the path has
// none.
std::wstring_view::size_type LastSeparator(std::wstring_view path);

// The text after the last separator: the file name a row shows. A path
// without separators is returned whole; one ending in a separator gives "".
std::wstring DisplayName(std::wstring_view path);
// Where that name starts in the path.
std::wstring_view::size_type DisplayNameStart(std::wstring_view path);
