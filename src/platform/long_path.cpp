#include "platform/long_path.h"

namespace {

constexpr std::size_t kClassicLimit = 260;  // MAX_PATH, with the terminating NUL

std::wstring WithBackslashes(std::wstring path)
{
    for (auto& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

}  // namespace

std::wstring ExtendedLengthPath(const std::wstring& path)
{
    if (path.size() < kClassicLimit)
        return path;
    const bool drive = path.size() >= 3 && path[1] == L':' && IsPathSeparator(path[2]);
    if (drive)
        return L"\\\\?\\" + WithBackslashes(path);
    // \\server\share\..., but not \\?\... or \\.\..., which are prefixed already.
    const bool share = IsPathSeparator(path[0]) && IsPathSeparator(path[1]) && path[2] != L'?' && path[2] != L'.';
    if (share)
        return L"\\\\?\\UNC\\" + WithBackslashes(path.substr(2));
    return path;
}
