#include "support/files.h"

#include <windows.h>

#include <cstdio>
#include <stdexcept>

std::string ReadBytes(const std::wstring& path)
{
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        throw std::runtime_error("cannot read a file the test expected");
    std::string bytes;
    char buffer[65536];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes.append(buffer, n);
    fclose(file);
    return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file)
        throw std::runtime_error("cannot write a file the test needs");
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring ExecutableFolder()
{
    wchar_t path[32768];
    const DWORD length = GetModuleFileNameW(nullptr, path, 32768);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::wstring FilesIn(const std::wstring& folder)
{
    std::wstring names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names += (names.empty() ? L"" : L" ") + name;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}
