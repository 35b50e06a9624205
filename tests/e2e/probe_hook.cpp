// Runs inside the player's process: see process_probe.h.
#include <windows.h>
#include <psapi.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "e2e/process_probe.h"

namespace {

DWORD CountGdiObjects()
{
    if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return count;
    // Wine answers 0 above. Its handles are indexes into a per-process table
    // that also accepts a bare index, so the live objects can be counted.
    DWORD count = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)))
            ++count;
    return count;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM lParam)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == GetCurrentProcessId()) {
        ++*reinterpret_cast<DWORD*>(lParam);
        EnumChildWindows(window, CountWindow, lParam);
    }
    return TRUE;
}

DWORD CountWindows()
{
    DWORD count = 0;
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

ULONGLONG PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    if (counters.PrivateUsage)
        return counters.PrivateUsage;
    // Wine answers 0: read the anonymous resident memory Linux reports for
    // this very process.
    const HANDLE status = CreateFileW(L"Z:\\proc\\self\\status", GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (status == INVALID_HANDLE_VALUE)
        return 0;
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(status, buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    CloseHandle(status);
    const auto at = text.find("RssAnon:");
    return at == std::string::npos ? 0 : std::strtoull(text.c_str() + at + 8, nullptr, 10) * 1024;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeHook(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == RegisterWindowMessageW(kProbeMessage)) {
        if (const HANDLE section = OpenFileMappingW(FILE_MAP_WRITE, FALSE, kProbeSection)) {
            if (auto* answer = static_cast<ProbeAnswer*>(
                    MapViewOfFile(section, FILE_MAP_WRITE, 0, 0, sizeof(ProbeAnswer)))) {
                if (const int id = static_cast<int>(call->wParam)) {
                    const HWND control = GetDlgItem(call->hwnd, id);
                    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
                    answer->hasFont = font != nullptr;
                    if (font)
                        GetObjectW(font, sizeof answer->font, &answer->font);
                } else {
                    answer->gdiObjects = CountGdiObjects();
                    answer->userObjects = CountWindows();
                    answer->privateBytes = PrivateBytes();
                    GetCurrentDirectoryW(MAX_PATH, answer->currentDirectory);
                }
                answer->answered = TRUE;
                UnmapViewOfFile(answer);
            }
            CloseHandle(section);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
