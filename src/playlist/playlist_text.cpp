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

// Whether the file must be UTF-8: a character beyond U+00FF, or a first path
// that begins with the mark's three letters (read back, they would be taken
// for the mark).
bool NeedsUtf8(const std::vector<std::wstring>& paths)
{
    unsigned widest = 0;
    for (const auto& path : paths)
        for (wchar_t c : path)
            widest |= static_cast<unsigned>(c);
    return widest > 0xFF ||
           (!paths.empty() && paths[0].compare(0, 3, L"\u00EF\u00BB\u00BF") == 0);
}

}  // namespace

bool EncodePlaylist(const std::vector<std::wstring>& paths, const ByteSink& sink)
{
    // Handed on in pieces: a long playlist is never held twice in memory, and
    // the pieces stay in the cache.
    constexpr std::size_t kPiece = 64 * 1024;
    if (NeedsUtf8(paths)) {
        std::string piece(kByteOrderMark);
        for (const auto& path : paths) {
            AppendUtf8(piece, path);
            piece += "\r\n";
            if (piece.size() >= kPiece) {
                if (!sink(piece))
                    return false;
                piece.clear();
            }
        }
        return piece.empty() || sink(piece);
    }
    // One byte per character: millions of them for a long playlist, copied
    // straight into a fixed buffer.
    std::vector<char> buffer(kPiece);
    char* const begin = buffer.data();
    char* const end = begin + kPiece;
    char* at = begin;
    const auto put = [&](const wchar_t* from, std::size_t count) {
        while (count > 0) {
            const std::size_t take = std::min(count, static_cast<std::size_t>(end - at));
            for (std::size_t i = 0; i < take; ++i)
                at[i] = static_cast<char>(from[i]);
            at += take, from += take, count -= take;
            if (at == end) {
                if (!sink(std::string_view(begin, kPiece)))
                    return false;
                at = begin;
            }
        }
        return true;
    };
    static const wchar_t kLineEnd[] = L"\r\n";
    for (const auto& path : paths)
        if (!put(path.data(), path.size()) || !put(kLineEnd, 2))
            return false;
    return at == begin || sink(std::string_view(begin, static_cast<std::size_t>(at - begin)));
}

std::string EncodePlaylist(const std::vector<std::wstring>& paths)
{
    std::string bytes;
    EncodePlaylist(paths, [&](std::string_view piece) {
        bytes += piece;
        return true;
    });
    return bytes;
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
