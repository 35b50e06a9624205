#pragma once
#include <string>

// Plain Win32 file access for tests, independent of the player's own.
std::string ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
// The folder of the running test program, with a trailing backslash.
std::wstring ExecutableFolder();
// Names of the files in a folder (not "." and "..").
std::wstring FilesIn(const std::wstring& folder);
