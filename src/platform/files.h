#pragma once
#include <string>

// Reads the whole file in one piece. False when it cannot be opened or read;
// other programs may go on reading and writing it meanwhile.
bool ReadWholeFile(const std::wstring& path, std::string& bytes);

// Replaces the file's content in one step: the bytes go to a temporary file
// beside it, which then takes its place. On any failure the file stays as it
// was and no temporary file is left behind.
bool ReplaceFileContent(const std::wstring& path, const std::string& bytes);
