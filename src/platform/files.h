#pragma once
#include <functional>
#include <string>
#include <string_view>

// Reads the whole file in one piece. False when it cannot be opened or read;
// other programs may go on reading and writing it meanwhile.
bool ReadWholeFile(const std::wstring& path, std::string& bytes);

// Replaces the file's content in one step: `produce` hands the new bytes, in
// pieces, to the writer it is given; they go to a temporary file beside the
// file, which then takes its place. On any failure (the writer or `produce`
// returning false) the file stays as it was and no temporary file is left.
using ByteWriter = std::function<bool(std::string_view bytes)>;
bool ReplaceFileContent(const std::wstring& path, const std::function<bool(const ByteWriter&)>& produce);
