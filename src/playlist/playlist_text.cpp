#include "playlist/playlist_text.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <utility>

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf16LittleEndianLineEnd("\r\0\n\0", 4);
constexpr std::string_view kUtf16BigEndianLineEnd("\0\r\0\n", 4);

std::string_view MarkBytes(FileMark mark)
{
    switch (mark) {
    case FileMark::Utf8: return kUtf8Mark;
    case FileMark::Utf16LittleEndian: return kUtf16LittleEndianMark;
    case FileMark::Utf16BigEndian: return kUtf16BigEndianMark;
    case FileMark::None: break;
    }
    return {};
}

std::string_view LineEnd(FileMark mark)
{
    switch (mark) {
    case FileMark::Utf16LittleEndian: return kUtf16LittleEndianLineEnd;
    case FileMark::Utf16BigEndian: return kUtf16BigEndianLineEnd;
    case FileMark::Utf8:
    case FileMark::None: break;
    }
    return kLineEnd;
}

FileMark MarkOf(std::string_view bytes)
{
    for (const FileMark mark : {FileMark::Utf16LittleEndian, FileMark::Utf16BigEndian, FileMark::Utf8})
        if (bytes.substr(0, MarkBytes(mark).size()) == MarkBytes(mark))
            return mark;
    return FileMark::None;
}

bool IsUtf16(FileMark mark)
{
    return mark == FileMark::Utf16LittleEndian || mark == FileMark::Utf16BigEndian;
}

bool IsHighSurrogate(unsigned long c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(unsigned long c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsSurrogate(unsigned long c) { return c >= 0xD800 && c <= 0xDFFF; }
bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Unpaired surrogates, which Windows file names may hold, each as its own
// three-byte sequence.
std::string Utf8Bytes(std::wstring_view path)
{
    std::string out;
    out.reserve(path.size());
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
    return out;
}

std::string Utf16Bytes(std::wstring_view path, bool bigEndian)
{
    std::string out;
    out.reserve(2 * path.size());
    for (const wchar_t unit : path) {
        const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>((unit >> 8) & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    }
    return out;
}

// Empty when a character is beyond U+00FF.
std::string OneByteBytes(std::wstring_view path)
{
    std::string out(path.size(), '\0');
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (static_cast<unsigned long>(path[i]) > 0xFF)
            return {};
        out[i] = static_cast<char>(path[i]);
    }
    return out;
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
// bytes used. Surrogates encoded on their own are accepted only when
// `surrogatesToo`: that is how the player writes unpaired ones behind the
// mark, but no other program does.
std::size_t DecodeSequence(std::string_view bytes, std::size_t at, unsigned long& c, bool surrogatesToo)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
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
    if (at + length > bytes.size())
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

// Only ASCII; UTF-8, well-formed throughout with at least one character
// beyond ASCII; or anything else.
LineKind KindOf(std::string_view line)
{
    bool multiByte = false;
    for (std::size_t i = 0; i < line.size();) {
        if (static_cast<unsigned char>(line[i]) < 0x80) {
            ++i;
            continue;
        }
        unsigned long c;
        const std::size_t used = DecodeSequence(line, i, c, false);
        if (used == 0)
            return LineKind::Other;
        multiByte = true;
        i += used;
    }
    return multiByte ? LineKind::Utf8 : LineKind::Ascii;
}

std::wstring DecodeOneByte(std::string_view line)
{
    std::wstring out(line.size(), L'\0');
    for (std::size_t i = 0; i < line.size(); ++i)
        out[i] = static_cast<wchar_t>(static_cast<unsigned char>(line[i]));
    return out;
}

// A line of a file behind the UTF-8 mark (or a well-formed one without it):
// a byte that is not part of a sequence stands for itself.
std::wstring DecodeUtf8Line(std::string_view line)
{
    std::wstring out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size();) {
        const unsigned char b = static_cast<unsigned char>(line[i]);
        unsigned long c = b;
        std::size_t used = b < 0x80 ? 1 : DecodeSequence(line, i, c, true);
        if (used == 0) {
            c = b;
            used = 1;
        }
        AppendWide(out, c);
        i += used;
    }
    return out;
}

enum class LineEncoding { Ascii, Utf8, CodePage, OneByte };

struct LineReading {
    std::wstring path;
    LineEncoding encoding;
    // The code page and one byte a character read it differently, and the
    // line could be either: it must keep its bytes.
    bool choice = false;
};

bool HoldsC1Byte(std::string_view line)
{
    return std::any_of(line.begin(), line.end(), [](char b) {
        return static_cast<unsigned char>(b) >= 0x80 && static_cast<unsigned char>(b) <= 0x9F;
    });
}

// Whether the code page's reading has a word that is mostly Latin letters
// with a character of the code page's script among them ("caf\u0439",
// "Mot\u0446rhead"): what an accented Latin letter that an earlier version
// wrote as one byte looks like there. A name that mixes scripts on purpose
// is mostly its own script.
bool ReadsAsAccentedLatin(const std::wstring& text, const AnsiCodePage& ansi)
{
    std::size_t latin = 0, script = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const wchar_t c = i < text.size() ? text[i] : L' ';
        if ((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z')) {
            ++latin;
        } else if (c >= ansi.scriptFirst && c <= ansi.scriptLast) {
            ++script;
        } else {
            if (script > 0 && latin > script)
                return true;
            latin = script = 0;
        }
    }
    return false;
}

// The one place that decides how a line without the file's mark reads.
LineReading ReadLine(std::string_view line, const AnsiCodePage& ansi)
{
    switch (KindOf(line)) {
    case LineKind::Ascii: return {DecodeOneByte(line), LineEncoding::Ascii};
    case LineKind::Utf8: return {DecodeUtf8Line(line), LineEncoding::Utf8};
    case LineKind::Other: break;
    }
    std::wstring text = ansi.decode(line);
    if (text.empty())  // the code page can't read it: nothing is lost
        return {DecodeOneByte(line), LineEncoding::OneByte};
    // A C1 control is no character of a name: the code page is meant.
    if (ansi.scriptFirst == 0 || HoldsC1Byte(line))
        return {std::move(text), LineEncoding::CodePage};
    std::wstring oneByte = DecodeOneByte(line);
    if (oneByte == text)
        return {std::move(text), LineEncoding::CodePage};
    if (ReadsAsAccentedLatin(text, ansi))
        return {std::move(oneByte), LineEncoding::OneByte, true};
    return {std::move(text), LineEncoding::CodePage, true};
}

void NoteLine(PlaylistText& text, const LineReading& reading)
{
    text.utf8Lines |= reading.encoding == LineEncoding::Utf8;
    text.singleByteLines |= reading.encoding == LineEncoding::CodePage || reading.encoding == LineEncoding::OneByte;
    text.choiceLines |= reading.choice;
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

// A file without a mark whose first line begins like one (it came after a
// blank line) keeps an empty line before it: else it would read as marked.
bool NeedsLineBefore(FileMark mark, std::string_view firstLine)
{
    return mark == FileMark::None && MarkOf(firstLine) != FileMark::None;
}

bool IsAsWritten(const PlaylistText& text)
{
    const std::string_view end = LineEnd(text.mark);
    std::size_t at = MarkBytes(text.mark).size();
    if (!text.lines.empty() &&
        NeedsLineBefore(text.mark, std::string_view(text.bytes).substr(text.lines[0].offset))) {
        if (text.bytes.compare(at, end.size(), end) != 0)
            return false;
        at += end.size();
    }
    for (const LineSpan& line : text.lines) {
        if (line.offset != at || text.bytes.compare(line.offset + line.length, end.size(), end) != 0)
            return false;
        at = line.offset + line.length + end.size();
    }
    return at == text.bytes.size();
}

void AppendLine(PlaylistText& text, std::string_view line)
{
    if (text.lines.empty() && NeedsLineBefore(text.mark, line))
        text.bytes += kLineEnd;
    text.lines.push_back({text.bytes.size(), line.size()});
    text.bytes += line;
    text.bytes += LineEnd(text.mark);
}

// The one place that decides how an added path goes into a file without a
// mark: in the first of the file's own encodings in which its line reads
// back as the path (or, `utf8Only`, as a UTF-8 line). Nothing when none does.
std::string AddedLine(const PlaylistText& file, const std::wstring& path, bool firstLine, bool utf8Only,
                      const AnsiCodePage& ansi)
{
    LineEncoding tried[3];
    std::size_t count = 0;
    if (utf8Only || file.utf8Lines)
        tried[count++] = LineEncoding::Utf8;
    if (!utf8Only && file.singleByteLines)
        tried[count++] = LineEncoding::CodePage;
    if (!utf8Only && (file.singleByteLines || !file.utf8Lines))
        tried[count++] = LineEncoding::OneByte;
    for (std::size_t i = 0; i < count; ++i) {
        std::string bytes = tried[i] == LineEncoding::Utf8       ? Utf8Bytes(path)
                            : tried[i] == LineEncoding::CodePage ? ansi.encode(path)
                                                                 : OneByteBytes(path);
        if (bytes.empty() || (firstLine && MarkOf(bytes) != FileMark::None))
            continue;  // a first line that begins like a mark would read as one
        if (ReadLine(bytes, ansi).path == path)
            return bytes;
    }
    return {};
}

PlaylistText InUtf8BehindTheMark(const std::vector<std::wstring>& paths)
{
    PlaylistText out;
    out.mark = FileMark::Utf8;
    out.bytes = kUtf8Mark;
    for (const std::wstring& path : paths)
        AppendLine(out, Utf8Bytes(path));
    return out;
}

std::wstring DecodeByTable(const wchar_t* high, std::string_view line)
{
    std::wstring out(line.size(), L'\0');
    for (std::size_t i = 0; i < line.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(line[i]);
        out[i] = b < 0x80 ? static_cast<wchar_t>(b) : high[b - 0x80];
    }
    return out;
}

std::string EncodeByTable(const wchar_t* high, std::wstring_view path)
{
    std::string out(path.size(), '\0');
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] < 0x80) {
            out[i] = static_cast<char>(path[i]);
            continue;
        }
        const wchar_t* found = std::find(high, high + 128, path[i]);
        if (found == high + 128)
            return {};
        out[i] = static_cast<char>(0x80 + (found - high));
    }
    return out;
}

// A single-byte code page: `listed` are the characters of its bytes from 0x80
// on, and the bytes after them are the characters from `next` on, in order.
AnsiCodePage SingleByteCodePage(unsigned codePage, std::initializer_list<wchar_t> listed, wchar_t next)
{
    std::array<wchar_t, 128> high{};
    std::copy(listed.begin(), listed.end(), high.begin());
    for (std::size_t i = listed.size(); i < high.size(); ++i)
        high[i] = next++;
    AnsiCodePage page;
    page.decode = [high](std::string_view line) { return DecodeByTable(high.data(), line); };
    page.encode = [high](std::wstring_view path) { return EncodeByTable(high.data(), path); };
    SetScriptOfCodePage(page, codePage);
    return page;
}

}  // namespace

void SetScriptOfCodePage(AnsiCodePage& page, unsigned codePage)
{
    static const struct {
        unsigned codePage;
        wchar_t first, last;
    } kScripts[] = {
        {1251, 0x0400, 0x04FF},  // Cyrillic
        {1253, 0x0370, 0x03FF},  // Greek
        {1255, 0x0590, 0x05FF},  // Hebrew
        {874, 0x0E00, 0x0E7F},   // Thai
    };
    page.scriptFirst = page.scriptLast = 0;
    for (const auto& script : kScripts) {
        if (script.codePage == codePage) {
            page.scriptFirst = script.first;
            page.scriptLast = script.last;
        }
    }
}

const AnsiCodePage& Windows1252()
{
    // The five bytes the code page leaves undefined read as the control
    // character of the same value, as Windows reads them; from 0xA0 on,
    // each byte is the character of the same value.
    static const AnsiCodePage page = SingleByteCodePage(1252, {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    }, 0x00A0);
    return page;
}

const AnsiCodePage& Windows1251()
{
    // 0x98 is undefined and reads as the control character of the same
    // value; from 0xC0 on comes the Cyrillic alphabet in order.
    static const AnsiCodePage page = SingleByteCodePage(1251, {
        0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
        0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
        0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
        0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
        0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
        0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
        0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    }, 0x0410);
    return page;
}

std::vector<std::wstring> ReadPlaylistText(std::string bytes, const AnsiCodePage& ansi, PlaylistText& text)
{
    text = PlaylistText();
    text.mark = MarkOf(bytes);
    const std::size_t start = MarkBytes(text.mark).size();
    std::vector<std::wstring> paths;
    const auto keep = [&](std::size_t offset, std::size_t length, std::wstring path) {
        text.lines.push_back({offset, length});
        paths.push_back(std::move(path));
    };
    if (IsUtf16(text.mark)) {
        // A lone byte at the end is half a character: it is ignored.
        const bool bigEndian = text.mark == FileMark::Utf16BigEndian;
        std::wstring units((bytes.size() - start) / 2, L'\0');
        for (std::size_t i = 0; i < units.size(); ++i) {
            const auto first = static_cast<unsigned char>(bytes[start + 2 * i]);
            const auto second = static_cast<unsigned char>(bytes[start + 2 * i + 1]);
            units[i] = static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
        }
        const std::wstring_view all(units);
        ForEachLine(all, L'\n', L'\r', wchar_t(0x1A), [&](std::wstring_view line) {
            keep(start + 2 * static_cast<std::size_t>(line.data() - all.data()), 2 * line.size(),
                 std::wstring(line));
        });
    } else {
        const std::string_view all(bytes);
        const auto lines = static_cast<std::size_t>(std::count(all.begin(), all.end(), '\n')) + 1;
        paths.reserve(lines);
        text.lines.reserve(lines);
        ForEachLine(all.substr(start), '\n', '\r', '\x1A', [&](std::string_view line) {
            const auto offset = static_cast<std::size_t>(line.data() - all.data());
            if (text.mark == FileMark::Utf8) {
                keep(offset, line.size(), DecodeUtf8Line(line));
                return;
            }
            LineReading reading = ReadLine(line, ansi);
            NoteLine(text, reading);
            keep(offset, line.size(), std::move(reading.path));
        });
    }
    text.bytes = std::move(bytes);
    text.asWritten = IsAsWritten(text);
    return paths;
}

std::optional<PlaylistText> WritePlaylistText(const PlaylistText& file, const std::vector<std::wstring>& paths,
                                              const AnsiCodePage& ansi)
{
    const std::size_t count = paths.size();
    const std::size_t kept = std::min(file.lines.size(), count);
    PlaylistText out;
    out.mark = file.mark;
    out.utf8Lines = file.utf8Lines;
    out.singleByteLines = file.singleByteLines;
    out.choiceLines = file.choiceLines;
    out.bytes = MarkBytes(file.mark);
    out.bytes.reserve(file.bytes.size() + 2 * kLineEnd.size() * (count - kept));
    out.lines.reserve(count);
    const std::string_view held(file.bytes);
    for (std::size_t i = 0; i < kept; ++i)
        AppendLine(out, held.substr(file.lines[i].offset, file.lines[i].length));
    for (std::size_t i = kept; i < count; ++i) {
        const std::wstring& path = paths[i];
        if (IsUtf16(file.mark)) {
            AppendLine(out, Utf16Bytes(path, file.mark == FileMark::Utf16BigEndian));
            continue;
        }
        if (file.mark == FileMark::Utf8) {
            AppendLine(out, Utf8Bytes(path));
            continue;
        }
        std::string line = AddedLine(file, path, i == 0, false, ansi);
        if (line.empty() && !file.choiceLines)
            return InUtf8BehindTheMark(paths);
        if (line.empty())
            line = AddedLine(file, path, i == 0, true, ansi);
        if (line.empty())
            return std::nullopt;
        NoteLine(out, ReadLine(line, ansi));
        AppendLine(out, line);
    }
    return out;
}
