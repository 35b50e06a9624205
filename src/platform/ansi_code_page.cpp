#include "platform/ansi_code_page.h"

#include <windows.h>

#include <climits>

namespace {

std::wstring ByteForCharacter(std::string_view line)
{
    std::wstring text(line.size(), L'\0');
    for (std::size_t i = 0; i < line.size(); ++i)
        text[i] = static_cast<unsigned char>(line[i]);
    return text;
}

}  // namespace

std::wstring DecodeSystemAnsi(std::string_view line)
{
    // Where the ANSI code page is UTF-8 (a Windows option), a line that is
    // not UTF-8 has no reading but the old one byte a character.
    static const UINT codePage = GetACP();
    if (codePage == CP_UTF8 || line.empty() || line.size() > INT_MAX)
        return ByteForCharacter(line);
    // Every code page Windows has gives at most one character a byte.
    const int size = static_cast<int>(line.size());
    std::wstring text(line.size(), L'\0');
    const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, line.data(), size, text.data(), size);
    if (length <= 0)
        return ByteForCharacter(line);
    text.resize(static_cast<std::size_t>(length));
    return text;
}
