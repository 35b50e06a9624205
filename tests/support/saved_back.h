#pragma once
#include <string>

// What saving a playlist file with nothing added must give back: its own
// bytes, but for the format's rules, worked out afresh from them. Each line
// ends in CR LF (in UTF-16, its UTF-16 form), a CR just before an LF goes
// with it, empty lines and everything from a 0x1A on are gone, and so is a
// lone last byte of UTF-16; the byte-order mark stays. Needs no Windows.
std::string SavedBack(const std::string& bytes);

// The UTF-16 bytes of a text, in either order.
std::string Utf16(const std::wstring& text, bool bigEndian);
