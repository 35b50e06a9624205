#include "platform/module_path.h"

#include <windows.h>

std::wstring ExecutablePath()
{
    constexpr DWORD kLongestPath = 32768;
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(path.size());
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), size);
        if (length == 0)
            return {};
        // A path that fills the whole buffer was cut short: grow and ask again.
        if (length < size || size >= kLongestPath) {
            path.resize(length);
            return path;
        }
        path.resize(size * 2 > kLongestPath ? kLongestPath : size * 2);
    }
}
