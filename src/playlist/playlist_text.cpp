#include "playlist/playlist_text.h"

#include <algorithm>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

void AppendUtf8(std::string& out, const std::wstring& path)
{
    for (std::size_t i = 0; i < path.size(); ++i) {
        unsigned long c = static_cast<unsigned long>(path[i]);
        if (IsHighSurrogate(path[i]) && i + 1 < path.size() && IsLowSurrogate(path[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<unsigned long>(path[i + 1]) - 0xDC00);
            ++i;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
}

void AppendWide(std::wstring& out, unsigned long c)
{
    if (c >= 0x10000) {
        c -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (c >> 10));
        out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
    } else {
        out += static_cast<wchar_t>(c);
    }
}

// Decodes one well-formed UTF-8 sequence at `at`, or returns 0 bytes used.
// Surrogates encoded on their own are accepted: that is how unpaired ones
// are written.
std::size_t DecodeSequence(std::string_view line, std::size_t at, unsigned long& c)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(line[at + i]); };
    const unsigned char lead = byte(0);
    std::size_t length;
    unsigned long minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, c = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > line.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsContinuation(byte(i)))
            return 0;
        c = (c << 6) | (byte(i) & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF)
        return 0;
    return length;
}

std::wstring DecodeUtf8Line(std::string_view line)
{
    std::wstring out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size();) {
        const unsigned char b = static_cast<unsigned char>(line[i]);
        unsigned long c = b;
        std::size_t used = b < 0x80 ? 1 : DecodeSequence(line, i, c);
        if (used == 0) {
            c = b;  // not UTF-8: the byte stands for itself
            used = 1;
        }
        AppendWide(out, c);
        i += used;
    }
    return out;
}

std::wstring DecodeByteLine(std::string_view line)
{
    std::wstring out(line.size(), L'\0');
    for (std::size_t i = 0; i < line.size(); ++i)
        out[i] = static_cast<wchar_t>(static_cast<unsigned char>(line[i]));
    return out;
}

// One byte per character, in a single pass that also notes the widest
// character: false (and `out` of no use) when a character needs more.
bool EncodeOneByte(const std::vector<std::wstring>& paths, std::string& out)
{
    std::size_t size = 0;
    for (const auto& path : paths)
        size += path.size() + 2;
    // Sized once and filled through a pointer: a long playlist is millions of
    // characters, and this is on the way out of every save.
    out.assign(size, '\0');
    char* at = out.data();
    unsigned widest = 0;
    for (const auto& path : paths) {
        const wchar_t* from = path.data();
        for (std::size_t i = 0, n = path.size(); i < n; ++i) {
            widest |= static_cast<unsigned>(from[i]);
            at[i] = static_cast<char>(from[i]);
        }
        at += path.size();
        *at++ = '\r';
        *at++ = '\n';
    }
    return widest <= 0xFF;
}

std::string EncodeUtf8(const std::vector<std::wstring>& paths)
{
    std::string out(kByteOrderMark);
    for (const auto& path : paths) {
        AppendUtf8(out, path);
        out += "\r\n";
    }
    return out;
}

}  // namespace

std::string EncodePlaylist(const std::vector<std::wstring>& paths)
{
    std::string bytes;
    // A first path that begins with the mark's three letters would be taken
    // for the mark when read back; UTF-8 keeps it intact.
    if (EncodeOneByte(paths, bytes) && bytes.compare(0, kByteOrderMark.size(), kByteOrderMark) != 0)
        return bytes;
    return EncodeUtf8(paths);
}

std::vector<std::wstring> DecodePlaylist(std::string_view bytes)
{
    const bool utf8 = bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark;
    if (utf8)
        bytes.remove_prefix(kByteOrderMark.size());
    bytes = bytes.substr(0, bytes.find('\x1A'));

    std::vector<std::wstring> paths;
    paths.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (end != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty())
            paths.push_back(utf8 ? DecodeUtf8Line(line) : DecodeByteLine(line));
    }
    return paths;
}
