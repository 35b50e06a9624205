#include "e2e/font_probe.h"

namespace {

std::wstring ProbeLibraryPath()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"font_probe.dll";
}

}  // namespace

FontProbeAnswer FontOfControl(HWND mainWindow, DWORD threadId, int controlId)
{
    FontProbeAnswer result = {};
    const HANDLE section = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                              sizeof(FontProbeAnswer), kFontProbeSection);
    const HMODULE library = LoadLibraryW(ProbeLibraryPath().c_str());
    const auto hook = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(library, "FontProbeHook")));
    if (section && hook) {
        auto* answer = static_cast<FontProbeAnswer*>(
            MapViewOfFile(section, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(FontProbeAnswer)));
        *answer = {};
        const HHOOK installed = SetWindowsHookExW(WH_CALLWNDPROC, hook, library, threadId);
        DWORD_PTR ignored;
        SendMessageTimeoutW(mainWindow, RegisterWindowMessageW(kFontProbeMessage),
                            static_cast<WPARAM>(controlId), 0, SMTO_ABORTIFHUNG, 5000, &ignored);
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
