#include "support/playlist_lines.h"

std::vector<std::wstring> LinesOf(const std::string& bytes)
{
    std::vector<std::wstring> lines;
    std::wstring line;
    const auto flush = [&] {
        if (!line.empty())
            lines.push_back(line);
        line.clear();
    };
    for (std::size_t i = 0; i < bytes.size() && bytes[i] != '\x1A'; ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        if (bytes[i] == '\n')
            flush();
        else
            line += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
    }
    flush();
    return lines;
}
