#include "playlist/playlist_text.h"

#include <algorithm>
#include <utility>

#include "playlist/text_encodings.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf16LittleEndianLineEnd("\r\0\n\0", 4);
constexpr std::string_view kUtf16BigEndianLineEnd("\0\r\0\n", 4);

std::string_view MarkBytes(FileEncoding encoding)
{
    switch (encoding) {
    case FileEncoding::Utf8: return kUtf8Mark;
    case FileEncoding::Utf16LittleEndian: return kUtf16LittleEndianMark;
    case FileEncoding::Utf16BigEndian: return kUtf16BigEndianMark;
    default: return {};
    }
}

bool IsUtf16(FileEncoding encoding)
{
    return encoding != FileEncoding::Lines && encoding != FileEncoding::Utf8;
}

bool IsBigEndian(FileEncoding encoding)
{
    return encoding == FileEncoding::Utf16BigEndian || encoding == FileEncoding::Utf16BigEndianWithoutMark;
}

std::string_view LineEnd(FileEncoding encoding)
{
    if (!IsUtf16(encoding))
        return kLineEnd;
    return IsBigEndian(encoding) ? kUtf16BigEndianLineEnd : kUtf16LittleEndianLineEnd;
}

// The encoding a mark at the start of `bytes` names; Lines where there is none.
FileEncoding MarkOf(std::string_view bytes)
{
    for (const FileEncoding marked : {FileEncoding::Utf16LittleEndian, FileEncoding::Utf16BigEndian, FileEncoding::Utf8})
        if (bytes.substr(0, MarkBytes(marked).size()) == MarkBytes(marked))
            return marked;
    return FileEncoding::Lines;
}

// UTF-16 without a mark, as cmd /u and .NET writers without a preamble leave
// it, in the byte order where the file has the shape of text. No path holds
// a NUL, so an 8-bit playlist has none before its end (a 0x1A): one with a
// line end there is read as lines. UTF-16 has a NUL in most units, on their
// high side. In that order, up to the unit U+001A that ends the text: no
// unit is U+0000, no line end stands the other way round (U+0A00, U+0D00) or
// is an 8-bit CR LF (the bytes 0D 0A making one unit), more NUL bytes fall
// on the units' high side than on their low side, and where there is an LF
// byte, lines end with the unit U+000A. A file of NUL bytes with that shape
// in neither order is read as lines, as every other file.
FileEncoding Utf16WithoutMarkOf(std::string_view bytes)
{
    const std::string_view eightBitText = bytes.substr(0, bytes.find('\x1A'));
    if (bytes.size() % 2 != 0 ||
        (eightBitText.find('\0') == std::string_view::npos && eightBitText.find('\n') != std::string_view::npos))
        return FileEncoding::Lines;
    for (const bool bigEndian : {false, true}) {
        std::size_t highNuls = 0, lowNuls = 0, lineFeeds = 0, lineFeedBytes = 0;
        bool text = true;
        for (std::size_t i = 0; i < bytes.size() && text; i += 2) {
            const char high = bytes[i + (bigEndian ? 0 : 1)], low = bytes[i + (bigEndian ? 1 : 0)];
            if (high == '\0' && low == '\x1A')
                break;
            highNuls += high == '\0';
            lowNuls += low == '\0';
            lineFeeds += high == '\0' && low == '\n';
            lineFeedBytes += (high == '\n') + (low == '\n');
            text = !(low == '\0' && (high == '\0' || high == '\n' || high == '\r')) &&
                   !(bytes[i] == '\r' && bytes[i + 1] == '\n');
        }
        if (text && highNuls > lowNuls && (lineFeeds > 0 || lineFeedBytes == 0))
            return bigEndian ? FileEncoding::Utf16BigEndianWithoutMark : FileEncoding::Utf16LittleEndianWithoutMark;
    }
    return FileEncoding::Lines;
}

bool IsAscii(std::string_view line)
{
    return std::all_of(line.begin(), line.end(), [](char b) { return static_cast<unsigned char>(b) < 0x80; });
}

// The bytes of a line that are its path's own: an ASCII line, or any line of
// a UTF-16 file. Only the other lines keep their bytes.
std::string FromPath(FileEncoding encoding, std::wstring_view path)
{
    return IsUtf16(encoding) ? Utf16Bytes(path, IsBigEndian(encoding)) : OneByteBytes(path);
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

// Splits text, up to its end-of-file character, into lines and hands each
// non-empty one to `add`: `lineEnd` ends a line, and a `carriageReturn`
// just before it is dropped. Works on bytes and on UTF-16 units alike.
template <typename Text, typename Add>
void ForEachLine(Text text, typename Text::value_type lineEnd, typename Text::value_type carriageReturn, Add add)
{
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
bool NeedsLineBefore(FileEncoding encoding, std::string_view firstLine)
{
    return MarkBytes(encoding).empty() && MarkOf(firstLine) != FileEncoding::Lines;
}

void AppendLine(PlaylistText& text, std::string_view line, bool fromPath)
{
    if (!fromPath) {
        text.keptLines.push_back({text.lineCount, text.kept.size(), line.size()});
        text.kept += line;
    }
    ++text.lineCount;
}

// The one place that decides how an added path goes into a file without a
// mark: in the first of the file's own encodings in which its line reads
// back as the path (or, `utf8Only`, as a UTF-8 line). Nothing when none does.
std::string AddedLine(const PlaylistText& file, std::wstring_view path, bool firstLine, bool utf8Only,
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
        if (bytes.empty() || (firstLine && MarkOf(bytes) != FileEncoding::Lines))
            continue;  // a first line that begins like a mark would read as one
        if (ReadLine(bytes, ansi).path == path)
            return bytes;
    }
    return {};
}

PlaylistText InUtf8BehindTheMark(const PlaylistText& file, const PathList& paths)
{
    PlaylistText out;
    out.encoding = FileEncoding::Utf8;
    out.tail = file.tail;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string line = Utf8Bytes(paths[i]);
        AppendLine(out, line, IsAscii(line));
    }
    return out;
}

// UTF-16 without a mark is known by its shape, which dropped blank lines or
// an added path (one with a unit such as U+0A00) may change: then the file
// gets the mark of its byte order, so that it still reads as it did. A file
// without lines is no UTF-16 at all.
void KeepReadingAsUtf16(PlaylistText& text, const PathList& paths)
{
    if (text.lineCount == 0)
        text.encoding = FileEncoding::Lines;
    else if (EncodingOf(PlaylistBytes(text, paths)) != text.encoding)
        text.encoding = IsBigEndian(text.encoding) ? FileEncoding::Utf16BigEndian : FileEncoding::Utf16LittleEndian;
}

// Hands bytes to `write` in pieces of a size that files take well, and
// writes a path's own bytes straight into them.
class PieceWriter {
public:
    explicit PieceWriter(const BytesSink& write) : write_(write) {}
    bool Add(std::string_view bytes)
    {
        if (!Room(bytes.size()))
            return false;
        piece_ += bytes;
        return true;
    }
    // What FromPath gives, without a string of its own for each line.
    bool AddPath(FileEncoding encoding, std::wstring_view path)
    {
        const bool utf16 = IsUtf16(encoding), bigEndian = IsBigEndian(encoding);
        const std::size_t size = (utf16 ? 2 : 1) * path.size();
        if (!Room(size))
            return false;
        piece_.resize(piece_.size() + size);
        char* out = piece_.data() + piece_.size() - size;
        for (const wchar_t unit : path) {
            const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>((unit >> 8) & 0xFF);
            if (!utf16) {
                *out++ = low;
            } else {
                *out++ = bigEndian ? high : low;
                *out++ = bigEndian ? low : high;
            }
        }
        return true;
    }
    bool Flush()
    {
        const bool written = piece_.empty() || write_(piece_);
        piece_.clear();
        return written;
    }

private:
    static constexpr std::size_t kPiece = 1 << 20;
    // Writes out what the piece holds when `size` more bytes would not fit.
    bool Room(std::size_t size) { return piece_.size() + size <= kPiece || Flush(); }
    const BytesSink& write_;
    std::string piece_;
};

}  // namespace

FileEncoding EncodingOf(std::string_view bytes)
{
    const FileEncoding marked = MarkOf(bytes);
    return marked != FileEncoding::Lines ? marked : Utf16WithoutMarkOf(bytes);
}

PathList ReadPlaylistText(std::string bytes, const AnsiCodePage& ansi, PlaylistText& text)
{
    text = PlaylistText();
    text.encoding = EncodingOf(bytes);
    const std::size_t start = MarkBytes(text.encoding).size();
    PathList paths;
    std::size_t end = bytes.size();
    if (IsUtf16(text.encoding)) {
        const bool bigEndian = IsBigEndian(text.encoding);
        std::wstring units((bytes.size() - start) / 2, L'\0');
        for (std::size_t i = 0; i < units.size(); ++i) {
            const auto first = static_cast<unsigned char>(bytes[start + 2 * i]);
            const auto second = static_cast<unsigned char>(bytes[start + 2 * i + 1]);
            units[i] = static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
        }
        // A lone byte at the end is half a character: it is kept, unread.
        const std::wstring_view all = std::wstring_view(units).substr(0, units.find(wchar_t(0x1A)));
        end = start + 2 * all.size();
        ForEachLine(all, L'\n', L'\r', [&](std::wstring_view line) {
            ++text.lineCount;
            paths.Append(line);
        });
    } else {
        end = std::min(bytes.find('\x1A', start), bytes.size());
        paths.Reserve(static_cast<std::size_t>(std::count(bytes.begin() + start, bytes.begin() + end, '\n')) + 1);
        ForEachLine(std::string_view(bytes).substr(start, end - start), '\n', '\r', [&](std::string_view line) {
            // Most lines are ASCII: each byte its character, written where
            // the path is kept.
            if (IsAscii(line)) {
                AppendLine(text, line, true);
                WidenOneByte(line, paths.AppendRoom(line.size()));
                return;
            }
            if (text.encoding == FileEncoding::Utf8) {
                AppendLine(text, line, false);
                paths.Append(DecodeUtf8Line(line));
                return;
            }
            const LineReading reading = ReadLine(line, ansi);
            NoteLine(text, reading);
            AppendLine(text, line, false);
            paths.Append(reading.path);
        });
    }
    // What follows the text is never read, and every save keeps it.
    text.tail = bytes.substr(end);
    text.kept.shrink_to_fit();
    return paths;
}

std::optional<PlaylistText> WritePlaylistText(const PlaylistText& file, const PathList& paths,
                                              const AnsiCodePage& ansi)
{
    const std::size_t count = paths.size();
    PlaylistText out = file;
    out.lineCount = std::min(file.lineCount, count);
    while (!out.keptLines.empty() && out.keptLines.back().index >= out.lineCount)
        out.keptLines.pop_back();
    for (std::size_t i = out.lineCount; i < count; ++i) {
        const std::wstring_view path = paths[i];
        if (IsUtf16(file.encoding)) {
            AppendLine(out, {}, true);  // a UTF-16 line is its path's own bytes
            continue;
        }
        if (file.encoding == FileEncoding::Utf8) {
            const std::string line = Utf8Bytes(path);
            AppendLine(out, line, IsAscii(line));
            continue;
        }
        std::string line = AddedLine(file, path, i == 0, false, ansi);
        if (line.empty() && !file.choiceLines)
            return InUtf8BehindTheMark(file, paths);
        if (line.empty())
            line = AddedLine(file, path, i == 0, true, ansi);
        if (line.empty())
            return std::nullopt;
        NoteLine(out, ReadLine(line, ansi));
        AppendLine(out, line, IsAscii(line));
    }
    if (IsUtf16(out.encoding) && MarkBytes(out.encoding).empty())
        KeepReadingAsUtf16(out, paths);
    return out;
}

bool ProducePlaylistBytes(const PlaylistText& text, const PathList& paths, const BytesSink& write)
{
    PieceWriter out(write);
    const std::string_view end = LineEnd(text.encoding), kept(text.kept);
    bool written = out.Add(MarkBytes(text.encoding));
    auto next = text.keptLines.begin();
    for (std::size_t i = 0; i < text.lineCount && written; ++i) {
        const bool fromPath = next == text.keptLines.end() || next->index != i;
        const std::string_view bytes = fromPath ? std::string_view() : kept.substr(next->offset, next->length);
        if (i == 0 && NeedsLineBefore(text.encoding, fromPath ? FromPath(text.encoding, paths[0]) : bytes))
            written = out.Add(end);
        written = written && (fromPath ? out.AddPath(text.encoding, paths[i]) : out.Add(bytes)) && out.Add(end);
        next += fromPath ? 0 : 1;
    }
    return written && out.Add(text.tail) && out.Flush();
}

std::string PlaylistBytes(const PlaylistText& text, const PathList& paths)
{
    std::string bytes;
    ProducePlaylistBytes(text, paths, [&](std::string_view piece) {
        bytes += piece;
        return true;
    });
    return bytes;
}
