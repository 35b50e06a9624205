#include "e2e/process_probe.h"

#include <string>

namespace {

std::wstring ProbeLibraryPath()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"probe_hook.dll";
}

}  // namespace

ProbeAnswer ProbeProcess(HWND mainWindow, DWORD threadId, int controlId)
{
    ProbeAnswer result = {};
    const HANDLE section = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                              sizeof(ProbeAnswer), kProbeSection);
    const HMODULE library = LoadLibraryW(ProbeLibraryPath().c_str());
    const auto hook = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(library, "ProbeHook")));
    if (section && hook) {
        auto* answer = static_cast<ProbeAnswer*>(
            MapViewOfFile(section, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeAnswer)));
        *answer = {};
        const HHOOK installed = SetWindowsHookExW(WH_CALLWNDPROC, hook, library, threadId);
        DWORD_PTR ignored;
        SendMessageTimeoutW(mainWindow, RegisterWindowMessageW(kProbeMessage),
                            static_cast<WPARAM>(controlId), 0, SMTO_ABORTIFHUNG, 10000, &ignored);
        result = *answer;
        UnhookWindowsHookEx(installed);
        UnmapViewOfFile(answer);
    }
    if (library)
        FreeLibrary(library);
    if (section)
        CloseHandle(section);
    return result;
}
