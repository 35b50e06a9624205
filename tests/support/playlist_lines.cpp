#include "support/playlist_lines.h"

#include <windows.h>

namespace {

// Windows' strict UTF-8 decoding; empty when the bytes are not UTF-8.
std::wstring StrictUtf8(const std::string& bytes)
{
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, text.data(), length);
    return text;
}

bool ReadsAsUtf8(const std::string& bytes)
{
    bool beyondAscii = false;
    for (char b : bytes)
        beyondAscii |= static_cast<unsigned char>(b) >= 0x80;
    return beyondAscii && !StrictUtf8(bytes).empty();
}

std::wstring ByteCharacters(const std::string& bytes)
{
    std::wstring text;
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
            lines.push_back(ReadsAsUtf8(line) ? StrictUtf8(line) : ByteCharacters(line));
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
