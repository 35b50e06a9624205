#include "platform/ansi_code_page.h"

#include <windows.h>

#include <climits>

AnsiCodePage WindowsCodePage(unsigned codePage)
{
    AnsiCodePage page;
    SetScriptOfCodePage(page, codePage);
    if (codePage == CP_UTF8) {
        page.decode = [](std::string_view) { return std::wstring(); };
        page.encode = [](std::wstring_view) { return std::string(); };
        return page;
    }
    page.decode = [codePage](std::string_view line) {
        if (line.empty() || line.size() > INT_MAX)
            return std::wstring();
        // Every code page Windows has gives at most one character a byte.
        const int size = static_cast<int>(line.size());
        std::wstring text(line.size(), L'\0');
        const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, line.data(), size, text.data(), size);
        text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
        return text;
    };
    page.encode = [codePage](std::wstring_view path) {
        // No code page Windows offers as the system's takes more than two
        // bytes a character.
        if (path.empty() || path.size() > INT_MAX / 2)
            return std::string();
        const int size = static_cast<int>(path.size());
        std::string bytes(2 * path.size(), '\0');
        BOOL approximated = FALSE;
        const int length = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, path.data(), size, bytes.data(),
                                               2 * size, nullptr, &approximated);
        bytes.resize(static_cast<std::size_t>(length > 0 && !approximated ? length : 0));
        return bytes;
    };
    return page;
}

const AnsiCodePage& OemCodePage()
{
    static const AnsiCodePage page = WindowsCodePage(GetOEMCP());
    return page;
}

const AnsiCodePage& SystemAnsiCodePage()
{
    static const AnsiCodePage page = WindowsCodePage(GetACP());
    return page;
}
