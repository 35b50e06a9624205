#include "playlist/text_encodings.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace {

bool IsHighSurrogate(unsigned long c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(unsigned long c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsSurrogate(unsigned long c) { return c >= 0xD800 && c <= 0xDFFF; }
bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

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

void WidenOneByte(std::string_view line, wchar_t* out)
{
    for (const char byte : line)
        *out++ = static_cast<wchar_t>(static_cast<unsigned char>(byte));
}

std::wstring DecodeOneByte(std::string_view line)
{
    std::wstring out(line.size(), L'\0');
    WidenOneByte(line, out.data());
    return out;
}

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
