#include "playlist/playlist_text.h"

#include <algorithm>

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

bool IsHighSurrogate(unsigned long c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(unsigned long c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsSurrogate(unsigned long c) { return c >= 0xD800 && c <= 0xDFFF; }
bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

void AppendUtf8(std::string& out, const std::wstring& path)
{
    for (std::size_t i = 0; i < path.size(); ++i) {
        unsigned long c = static_cast<unsigned long>(path[i]);
        if (IsHighSurrogate(c) && i + 1 < path.size() && IsLowSurrogate(static_cast<unsigned long>(path[i + 1]))) {
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

// Decodes one UTF-8 sequence of two to four bytes at `at`, or returns 0
// bytes used. `units` holds byte values (chars of the file, or characters up
// to U+00FF of a path about to be written byte by byte). Surrogates encoded
// on their own are accepted only when `surrogatesToo`: that is how the
// player writes unpaired ones behind the mark, but no other program does.
template <typename Unit>
std::size_t DecodeSequence(const Unit* units, std::size_t size, std::size_t at, unsigned long& c,
                           bool surrogatesToo)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(units[at + i]); };
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
    if (at + length > size)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsContinuation(byte(i)))
            return 0;
        c = (c << 6) | (byte(i) & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (IsSurrogate(c) && !surrogatesToo))
        return 0;
    return length;
}

enum class LineKind { Ascii, Utf8, Other };

// A line in the ANSI code page; one the code page can't read loses nothing:
// it keeps one character a byte.
std::wstring DecodeAnsiLine(AnsiDecoder ansi, std::string_view line)
{
    std::wstring text = ansi(line);
    return text.empty() ? DecodeLatin1(line) : text;
}

// What a line without the file's mark holds: only ASCII; UTF-8, well-formed
// throughout with at least one character beyond ASCII; or anything else,
// which is text in the system's ANSI code page, as Windows' own tools write.
template <typename Unit>
LineKind KindOf(const Unit* units, std::size_t size)
{
    bool multiByte = false;
    for (std::size_t i = 0; i < size;) {
        if (static_cast<unsigned char>(units[i]) < 0x80) {
            ++i;
            continue;
        }
        unsigned long c;
        const std::size_t used = DecodeSequence(units, size, i, c, false);
        if (used == 0)
            return LineKind::Other;
        multiByte = true;
        i += used;
    }
    return multiByte ? LineKind::Utf8 : LineKind::Ascii;
}

// A line of a file behind the UTF-8 mark: a byte that is not part of a
// sequence stands for itself.
std::wstring DecodeUtf8Line(std::string_view line)
{
    std::wstring out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size();) {
        const unsigned char b = static_cast<unsigned char>(line[i]);
        unsigned long c = b;
        std::size_t used = b < 0x80 ? 1 : DecodeSequence(line.data(), line.size(), i, c, true);
        if (used == 0) {
            c = b;
            used = 1;
        }
        AppendWide(out, c);
        i += used;
    }
    return out;
}

// Splits text into lines and hands each non-empty one to `add`: `lineEnd`
// ends a line, a `carriageReturn` just before it is dropped, and
// `endOfFile` ends the text. Works on bytes and on UTF-16 units alike.
template <typename Text, typename Add>
void ForEachLine(Text text, typename Text::value_type lineEnd, typename Text::value_type carriageReturn,
                 typename Text::value_type endOfFile, Add add)
{
    text = text.substr(0, text.find(endOfFile));
    while (!text.empty()) {
        const std::size_t end = text.find(lineEnd);
        Text line = text.substr(0, end);
        text.remove_prefix(end == Text::npos ? text.size() : end + 1);
        if (end != Text::npos && !line.empty() && line.back() == carriageReturn)
            line.remove_suffix(1);
        if (!line.empty())
            add(line);
    }
}

std::vector<std::wstring> DecodeUtf16(std::string_view bytes, bool bigEndian)
{
    // A lone byte at the end is half a character: it is ignored.
    std::wstring units(bytes.size() / 2, L'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    std::vector<std::wstring> paths;
    ForEachLine(std::wstring_view(units), L'\n', L'\r', wchar_t(0x1A),
                [&](std::wstring_view line) { paths.emplace_back(line); });
    return paths;
}

std::vector<std::wstring> DecodeBytes(std::string_view bytes, bool utf8Marked, AnsiDecoder ansi)
{
    std::vector<std::wstring> paths;
    paths.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    ForEachLine(bytes, '\n', '\r', '\x1A', [&](std::string_view line) {
        if (utf8Marked) {
            paths.push_back(DecodeUtf8Line(line));
            return;
        }
        switch (KindOf(line.data(), line.size())) {
        case LineKind::Ascii: paths.push_back(DecodeLatin1(line)); break;
        case LineKind::Utf8: paths.push_back(DecodeUtf8Line(line)); break;
        case LineKind::Other: paths.push_back(DecodeAnsiLine(ansi, line)); break;
        }
    });
    return paths;
}

bool StartsWith(const std::wstring& path, std::string_view mark)
{
    if (path.size() < mark.size())
        return false;
    for (std::size_t i = 0; i < mark.size(); ++i)
        if (path[i] != static_cast<wchar_t>(static_cast<unsigned char>(mark[i])))
            return false;
    return true;
}

// Whether the file must be UTF-8 behind the mark, because one byte a
// character would not read back the same: a character beyond U+00FF; a line
// whose bytes read as UTF-8 (a name like "Ã©", which is "é" garbled) or as
// other characters in the ANSI code page (U+0092 would come back as "’" on
// Western systems, "é" as "й" on Cyrillic ones); or a first path that begins
// like one of the marks.
bool NeedsUtf8(const std::wstring* paths, std::size_t count, AnsiDecoder ansi)
{
    if (count > 0 && (StartsWith(paths[0], kUtf8Mark) || StartsWith(paths[0], kUtf16LittleEndianMark) ||
                           StartsWith(paths[0], kUtf16BigEndianMark)))
        return true;
    std::string bytes;
    for (std::size_t i = 0; i < count; ++i) {
        const std::wstring& path = paths[i];
        unsigned widest = 0;
        for (wchar_t c : path)
            widest |= static_cast<unsigned>(c);
        if (widest > 0xFF)
            return true;
        if (widest < 0x80)
            continue;  // ASCII reads the same in every encoding
        bytes.assign(path.begin(), path.end());
        if (KindOf(bytes.data(), bytes.size()) == LineKind::Utf8 || DecodeAnsiLine(ansi, bytes) != path)
            return true;
    }
    return false;
}

}  // namespace

std::wstring DecodeLatin1(std::string_view line)
{
    std::wstring out(line.size(), L'\0');
    for (std::size_t i = 0; i < line.size(); ++i)
        out[i] = static_cast<wchar_t>(static_cast<unsigned char>(line[i]));
    return out;
}

std::wstring DecodeWindows1252(std::string_view line)
{
    // 0x80 to 0x9F; the five bytes the code page leaves undefined read as
    // the control character of the same value, as Windows reads them.
    static const wchar_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    std::wstring out = DecodeLatin1(line);
    for (auto& c : out)
        if (c >= 0x80 && c <= 0x9F)
            c = kHigh[c - 0x80];
    return out;
}

bool EncodePlaylist(const std::wstring* paths, std::size_t count, AnsiDecoder ansi, const ByteSink& sink)
{
    // Handed on in pieces: a long playlist is never held twice in memory, and
    // the pieces stay in the cache.
    constexpr std::size_t kPiece = 64 * 1024;
    if (NeedsUtf8(paths, count, ansi)) {
        std::string piece(kUtf8Mark);
        for (std::size_t i = 0; i < count; ++i) {
            AppendUtf8(piece, paths[i]);
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
    for (std::size_t i = 0; i < count; ++i)
        if (!put(paths[i].data(), paths[i].size()) || !put(kLineEnd, 2))
            return false;
    return at == begin || sink(std::string_view(begin, static_cast<std::size_t>(at - begin)));
}

bool EncodePlaylist(const std::vector<std::wstring>& paths, AnsiDecoder ansi, const ByteSink& sink)
{
    return EncodePlaylist(paths.data(), paths.size(), ansi, sink);
}

std::string EncodePlaylist(const std::vector<std::wstring>& paths, AnsiDecoder ansi)
{
    std::string bytes;
    EncodePlaylist(paths, ansi, [&](std::string_view piece) {
        bytes += piece;
        return true;
    });
    return bytes;
}

std::vector<std::wstring> DecodePlaylist(std::string_view bytes, AnsiDecoder ansi)
{
    const auto startsWith = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    if (startsWith(kUtf16LittleEndianMark))
        return DecodeUtf16(bytes.substr(kUtf16LittleEndianMark.size()), false);
    if (startsWith(kUtf16BigEndianMark))
        return DecodeUtf16(bytes.substr(kUtf16BigEndianMark.size()), true);
    if (startsWith(kUtf8Mark))
        return DecodeBytes(bytes.substr(kUtf8Mark.size()), true, ansi);
    return DecodeBytes(bytes, false, ansi);
}
