#include "playlist/display_name.h"

std::wstring::size_type LastSeparator(const std::wstring& path)
{
    return path.find_last_of(L"\\/");
}

std::wstring::size_type DisplayNameStart(const std::wstring& path)
{
    const auto separator = LastSeparator(path);
    return separator == std::wstring::npos ? 0 : separator + 1;
}

std::wstring DisplayName(const std::wstring& path)
{
    return path.substr(DisplayNameStart(path));
}
