#include "playlist/display_name.h"

bool IsPathSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

std::wstring::size_type LastSeparator(const std::wstring& path)
{
    return path.find_last_of(L"\\/");
}

std::wstring DisplayName(const std::wstring& path)
{
    const auto separator = LastSeparator(path);
    if (separator == std::wstring::npos)
        return path;
    return path.substr(separator + 1);
}
