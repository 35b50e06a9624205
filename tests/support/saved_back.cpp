#include "support/saved_back.h"

#include "playlist/playlist_text.h"

std::string SavedBack(const std::string& bytes)
{
    const FileEncoding encoding = EncodingOf(bytes);
    const bool bigEndian = encoding == FileEncoding::Utf16BigEndian ||
                           encoding == FileEncoding::Utf16BigEndianWithoutMark;
    const std::size_t width = bigEndian || encoding == FileEncoding::Utf16LittleEndian ||
                                      encoding == FileEncoding::Utf16LittleEndianWithoutMark
                                  ? 2
                                  : 1;
    std::string mark;
    for (const char* marked : {"\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"})
        if (bytes.rfind(marked, 0) == 0)
            mark = marked;
    // The value of the unit (a byte, or two in UTF-16) at `at` in `text`.
    const auto unit = [&](const std::string& text, std::size_t at) {
        const auto byte = [&](std::size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(text[i])); };
        return width == 1 ? byte(at) : bigEndian ? byte(at) << 8 | byte(at + 1) : byte(at + 1) << 8 | byte(at);
    };
    const std::string lineEnd = width == 1 ? "\r\n" : bigEndian ? std::string("\0\r\0\n", 4) : std::string("\r\0\n\0", 4);
    std::string out = mark, line;
    const auto endLine = [&](bool byLineFeed) {
        if (byLineFeed && !line.empty() && unit(line, line.size() - width) == '\r')
            line.resize(line.size() - width);
        if (!line.empty())
            out += line + lineEnd;
        line.clear();
    };
    std::size_t at = mark.size();
    for (; at + width <= bytes.size() && unit(bytes, at) != 0x1A; at += width) {
        if (unit(bytes, at) == '\n')
            endLine(true);
        else
            line.append(bytes, at, width);
    }
    endLine(false);
    out += bytes.substr(at);
    // Without a mark, a first line that begins like one keeps an empty line
    // before it, so that it does not read as a mark.
    if (mark.empty())
        for (const char* like : {"\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"})
            if (out.rfind(like, 0) == 0)
                return lineEnd + out;
    return out;
}

std::string Utf16(const std::wstring& text, bool bigEndian)
{
    std::string bytes;
    for (wchar_t c : text) {
        const char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}
