#include "platform/ansi_code_page.h"

#include <windows.h>

#include <climits>

std::wstring DecodeSystemAnsi(std::string_view line)
{
    static const UINT codePage = GetACP();
    if (codePage == CP_UTF8 || line.empty() || line.size() > INT_MAX)
        return {};
    // Every code page Windows has gives at most one character a byte.
    const int size = static_cast<int>(line.size());
    std::wstring text(line.size(), L'\0');
    const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, line.data(), size, text.data(), size);
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return text;
}
