#include "playlist/display_name.h"

std::wstring_view::size_type LastSeparator(std::wstring_view path)
{
    return path.find_last_of(L"\\/");
}

std::wstring_view::size_type DisplayNameStart(std::wstring_view path)
{
    const auto separator = LastSeparator(path);
    return separator == std::wstring_view::npos ? 0 : separator + 1;
}

std::wstring DisplayName(std::wstring_view path)
{
    return std::wstring(path.substr(DisplayNameStart(path)));
}
