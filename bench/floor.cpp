// The floor the player is measured against: the least a Win32 program must do
// to show the same window. Built three times:
//   floor_window: the same class, size and title, with one list box;
//   floor_list:   also reads playlist.txt with one read, adds every row with
//                 LB_ADDSTRING, writes the list back with one write on close,
//                 and on command 201 lets the user add a file through the same
//                 open dialog, then writes the list with one write; on
//                 command 1 it plays the first track through the media
//                 service, with nothing else (no timer, no labels);
//   floor_durable: floor_list whose every write is crash-safe: a new file,
//                 flushed, moved over the old one.
#include <windows.h>
#include <commdlg.h>
#include <mmsystem.h>

#include <string>
#include <vector>

namespace {

#if FLOOR_WITH_LIST
std::string content;  // the file's bytes, as read and as added to

// Like the player, the media service and the common dialogs are loaded only
// when first needed.
template <typename Function>
Function Load(const wchar_t* library, const char* name)
{
    const HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

MCIERROR SendMedia(const wchar_t* command, HWND callback)
{
    static const auto send = Load<MCIERROR(WINAPI*)(LPCWSTR, LPWSTR, UINT, HWND)>(L"winmm.dll", "mciSendStringW");
    return send(command, nullptr, 0, callback);
}

std::wstring PlaylistPath()
{
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L"\\/") + 1) + L"playlist.txt";
}

void AddRow(HWND list, const char* line, std::size_t length)
{
    std::wstring row(length, L'\0');
    for (std::size_t i = 0; i < length; ++i)
        row[i] = static_cast<wchar_t>(static_cast<unsigned char>(line[i]));
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str() + row.find_last_of(L"\\/") + 1));
}

void LoadRows(HWND list)
{
    const HANDLE file = CreateFileW(PlaylistPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    content.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr);
    CloseHandle(file);
    for (std::size_t start = 0; start < content.size();) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::size_t length = end - start;
        if (length && content[end - 1] == '\r')
            --length;
        if (length)
            AddRow(list, content.data() + start, length);
        start = end + 1;
    }
}

void WriteRows()
{
#if FLOOR_DURABLE
    // As a save that survives a crash must: a new file, flushed to the disk,
    // then moved over the old one.
    const std::wstring temporary = PlaylistPath() + L".tmp";
    const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
#else
    const HANDLE file = CreateFileW(PlaylistPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
#endif
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
#if FLOOR_DURABLE
    FlushFileBuffers(file);
    CloseHandle(file);
    MoveFileExW(temporary.c_str(), PlaylistPath().c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
    CloseHandle(file);
#endif
}

void AddFile(HWND window)
{
    std::vector<wchar_t> files(65536, L'\0');
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window;
    dialog.lpstrFilter = L"Divevuru (*.mp3)\0*.mp3\0All Files (*.*)\0*.*\0";
    dialog.lpstrFile = files.data();
    dialog.nMaxFile = static_cast<DWORD>(files.size());
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT;
    static const auto open = Load<BOOL(WINAPI*)(LPOPENFILENAMEW)>(L"comdlg32.dll", "GetOpenFileNameW");
    if (!open(&dialog))
        return;
    std::string line;
    for (const wchar_t* c = files.data(); *c; ++c)
        line += static_cast<char>(*c);
    AddRow(GetDlgItem(window, 200), line.data(), line.size());
    content += line + "\r\n";
    WriteRows();
}

void PlayFirstTrack(HWND window)
{
    std::wstring path;
    for (std::size_t i = 0; i < content.size() && content[i] != '\r' && content[i] != '\n'; ++i)
        path += static_cast<wchar_t>(static_cast<unsigned char>(content[i]));
    SendMedia((L"open \"" + path + L"\" type mpegvideo alias mp3").c_str(), nullptr);
    SendMedia(L"play mp3 notify", window);
}
#endif

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        const HWND list = CreateWindowExW(0, L"LISTBOX", nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_NOTIFY,
                                          20, 165, 350, 390, window, reinterpret_cast<HMENU>(200),
                                          reinterpret_cast<const CREATESTRUCTW*>(lParam)->hInstance, nullptr);
#if FLOOR_WITH_LIST
        LoadRows(list);
#else
        (void)list;
#endif
        return 0;
    }
#if FLOOR_WITH_LIST
    case WM_COMMAND:
        if (LOWORD(wParam) == 201)
            AddFile(window);
        if (LOWORD(wParam) == 1)
            PlayFirstTrack(window);
        break;
#endif
    case WM_DESTROY:
#if FLOOR_WITH_LIST
        WriteRows();
        if (GetModuleHandleW(L"winmm.dll"))
            SendMedia(L"close mp3", nullptr);
#endif
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = FloorProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"SampleWindowClass";
    RegisterClassW(&windowClass);
    const HWND window = CreateWindowExW(0, L"SampleWindowClass", L"Lirotune", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                        CW_USEDEFAULT, 800, 600, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 0;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
