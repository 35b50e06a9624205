#include "support/playlist_lines.h"

#include <windows.h>

namespace {

// Windows' own strict decoding; empty when the bytes are not in the code page.
std::wstring Strict(UINT codePage, const std::string& bytes)
{
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    if (length > 0)
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, text.data(), length);
    return text;
}

bool ReadsAsUtf8(const std::string& bytes)
{
    bool beyondAscii = false;
    for (char b : bytes)
        beyondAscii |= static_cast<unsigned char>(b) >= 0x80;
    return beyondAscii && !Strict(CP_UTF8, bytes).empty();
}

// The system's ANSI code page; a byte it can't read is the character of the
// same value.
std::wstring AnsiCharacters(const std::string& bytes)
{
    std::wstring text = Strict(CP_ACP, bytes);
    if (text.empty())
        for (char b : bytes)
            text += static_cast<wchar_t>(static_cast<unsigned char>(b));
    return text;
}

}  // namespace

bool StartsWithAMark(const std::string& bytes)
{
    for (const char* mark : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"})
        if (bytes.rfind(mark, 0) == 0)
            return true;
    return false;
}

std::vector<std::wstring> LinesOf(const std::string& bytes)
{
    std::vector<std::wstring> lines;
    std::string line;
    const auto flush = [&] {
        if (!line.empty())
            lines.push_back(ReadsAsUtf8(line) ? Strict(CP_UTF8, line) : AnsiCharacters(line));
        line.clear();
    };
    for (std::size_t i = 0; i < bytes.size() && bytes[i] != '\x1A'; ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        if (bytes[i] == '\n')
            flush();
        else
            line += bytes[i];
    }
    flush();
    return lines;
}
