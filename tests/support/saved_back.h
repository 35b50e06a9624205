#pragma once
#include <string>

// What saving a playlist file with nothing added must give back: its own
// bytes, but for the format's rules, worked out afresh from them (only how
// the file is read, UTF-16 or not, is the player's own EncodingOf). Each
// line ends in CR LF (in UTF-16, its UTF-16 form), a CR just before an LF
// goes with it, empty lines are gone; the byte-order mark stays, and so do a
// 0x1A with everything after it and a lone last byte of UTF-16, last.
// Needs no Windows.
std::string SavedBack(const std::string& bytes);

// The UTF-16 bytes of a text, in either order.
std::string Utf16(const std::wstring& text, bool bigEndian);
