#include "playlist/playlist_text.h"

#include "playlist/text_encodings.h"

#include <algorithm>
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

}  // namespace

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
