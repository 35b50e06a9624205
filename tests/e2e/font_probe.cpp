// Loaded into the player's process by a window hook: a window's font can only
// be asked for from inside the process that owns it. On the probe message,
// with a control identifier as wParam, it writes that control's LOGFONTW into
// a shared section the test reads.
#include <windows.h>

#include "e2e/font_probe.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK FontProbeHook(int code, WPARAM wParam,
                                                              LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == RegisterWindowMessageW(kFontProbeMessage)) {
        const HANDLE section = OpenFileMappingW(FILE_MAP_WRITE, FALSE, kFontProbeSection);
        if (section) {
            auto* answer = static_cast<FontProbeAnswer*>(
                MapViewOfFile(section, FILE_MAP_WRITE, 0, 0, sizeof(FontProbeAnswer)));
            if (answer) {
                const HWND control = GetDlgItem(call->hwnd, static_cast<int>(call->wParam));
                const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
                answer->hasFont = font != nullptr;
                if (font)
                    GetObjectW(font, sizeof answer->font, &answer->font);
                answer->answered = TRUE;
                UnmapViewOfFile(answer);
            }
            CloseHandle(section);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
