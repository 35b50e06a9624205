#pragma once
#include <string>

// Windows takes a slash for a backslash in every path.
inline bool IsPathSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// The form of a path that Windows' file calls accept whatever its length.
// They refuse a path of MAX_PATH (260) characters or more unless it carries
// the \\?\ prefix, which also turns off their own tidying of the path. So a
// long absolute path gets the prefix, with every slash made a backslash:
//   C:\...                 becomes  \\?\C:\...
//   \\server\share\...     becomes  \\?\UNC\server\share\...
// Shorter, relative and already prefixed paths come back as they are.
std::wstring ExtendedLengthPath(const std::wstring& path);
