// Measures the player side by side with its floors, on one clock, inside Wine:
//   bench_probe.exe WORK PLAYER.exe FLOOR_WINDOW.exe FLOOR_LIST.exe FLOOR_DURABLE.exe TRACK.mp3 RUNS [MAX]
// WORK is an empty folder for the runs; TRACK a track long enough to play 15 s;
// MAX the largest playlist size to measure (1,000,000 when not given). With
// LIROTUNE_BENCH_BASELINE set to another build of the player, that build is
// measured too, in the same runs, each of its figures in a row of its own.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

namespace {

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart) * 1000.0;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string ReadFileBytes(const std::wstring& path)
{
    std::string bytes;
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[1 << 16];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

LONGLONG FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// N playlist lines of about 60 characters, every seventh with Latin-1 letters.
std::string PlaylistOf(int entries)
{
    std::string bytes;
    char line[128];
    for (int i = 0; i < entries; ++i) {
        const int length = std::snprintf(line, sizeof line,
                                          i % 7 ? "C:\\Music\\Artist %03d\\Album %02d\\Track %07d - Song title.mp3\r\n"
                                                : "C:\\M\xFAsica\\Artista %03d\\\xC1lbum %02d\\Pista %07d - Canci\xF3n.mp3\r\n",
                                          i % 997, i % 31, i);
        bytes.append(line, static_cast<std::size_t>(length));
    }
    return bytes;
}

// --- the Linux side of a Wine process, read through drive Z: -------------

std::string ProcFile(DWORD linuxPid, const char* name)
{
    return ReadFileBytes(L"Z:\\proc\\" + std::to_wstring(linuxPid) + L"\\" +
                         std::wstring(name, name + std::strlen(name)));
}

// Wine shows a process's Windows path as its Linux command line.
DWORD LinuxPidOf(const std::wstring& exe)
{
    std::string wanted;
    for (wchar_t c : exe.substr(exe.find_last_of(L'\\', exe.find_last_of(L'\\') - 1)))
        wanted += static_cast<char>(towlower(c));
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &found);
    DWORD pid = 0;
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        const DWORD candidate = static_cast<DWORD>(std::wcstoul(found.cFileName, nullptr, 10));
        if (!candidate)
            continue;
        std::string command = ProcFile(candidate, "cmdline");
        command = command.substr(0, command.find('\0'));
        std::transform(command.begin(), command.end(), command.begin(), ::tolower);
        if (command.size() >= wanted.size() && command.compare(command.size() - wanted.size(), wanted.size(), wanted) == 0) {
            pid = candidate;
            break;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return pid;
}

long StatusKb(DWORD linuxPid, const char* field)
{
    const std::string status = ProcFile(linuxPid, "status");
    const auto at = status.find(field);
    return at == std::string::npos ? -1 : std::atol(status.c_str() + at + std::strlen(field) + 1);
}

// User and system time of the whole process, in clock ticks (1/100 s).
long long CpuTicks(DWORD linuxPid)
{
    const std::string stat = ProcFile(linuxPid, "stat");
    std::size_t at = stat.rfind(')');
    if (at == std::string::npos)
        return -1;
    // Fields after the command name: state is the 3rd field; utime the 14th.
    for (int field = 2; field < 14 && at != std::string::npos; ++field)
        at = stat.find(' ', at + 1);
    if (at == std::string::npos)
        return -1;
    char* end = nullptr;
    const long long user = std::strtoll(stat.c_str() + at + 1, &end, 10);
    const long long system = std::strtoll(end, nullptr, 10);
    return user + system;
}

// --- one program under measurement ----------------------------------------

struct Program {
    std::wstring name;
    std::wstring exe;     // its copy in a folder of its own
    bool listsPlaylist;   // reads and writes playlist.txt
    std::wstring Playlist() const { return exe.substr(0, exe.find_last_of(L'\\') + 1) + L"playlist.txt"; }
};

struct Running {
    PROCESS_INFORMATION process = {};
    HWND window = nullptr;
};

struct WindowSearch {
    DWORD pid;
    const wchar_t* title;
    HWND exclude;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam)
{
    auto& search = *reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.pid || window == search.exclude || !IsWindowVisible(window))
        return TRUE;
    wchar_t text[64] = {};
    if (search.title) {
        GetWindowTextW(window, text, 64);
        if (std::wstring(text) != search.title)
            return TRUE;
    } else {
        GetClassNameW(window, text, 64);
        if (std::wstring(text) != L"SampleWindowClass")
            return TRUE;
    }
    search.found = window;
    return FALSE;
}

HWND FindWindowOf(DWORD pid, const wchar_t* title = nullptr, HWND exclude = nullptr)
{
    WindowSearch search = {pid, title, exclude, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Starts the program and returns once its main window is visible with all
// `rows` rows in its list box; the milliseconds that took, or -1.
double StartAndWait(const Program& program, int rows, Running& running)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + program.exe + L"\"";
    const std::wstring folder = program.exe.substr(0, program.exe.find_last_of(L'\\'));
    const double start = Now();
    if (!CreateProcessW(program.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &running.process))
        return -1;
    while (Now() - start < 180000) {
        if (!running.window)
            running.window = FindWindowOf(running.process.dwProcessId);
        if (running.window) {
            DWORD_PTR count = 0;
            if (SendMessageTimeoutW(GetDlgItem(running.window, 200), LB_GETCOUNT, 0, 0, SMTO_NORMAL, 1000, &count) &&
                static_cast<int>(count) == rows)
                return Now() - start;
        }
        Sleep(1);
    }
    return -1;
}

double CloseAndWait(Running& running)
{
    const double start = Now();
    PostMessageW(running.window, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(running.process.hProcess, 120000) == WAIT_OBJECT_0;
    const double took = Now() - start;
    if (!ended)
        TerminateProcess(running.process.hProcess, 1);
    CloseHandle(running.process.hThread);
    CloseHandle(running.process.hProcess);
    running = {};
    return ended ? took : -1;
}

// Add File through the real open dialog: milliseconds from pressing Open to
// the playlist file holding the new entry (it is replaced in one step, so
// the size is right only once the whole save is done).
double AddFileAndWait(const Program& program, Running& running, const std::wstring& track, LONGLONG expectedSize)
{
    PostMessageW(running.window, WM_COMMAND, 201, 0);
    HWND dialog = nullptr;
    for (const double start = Now(); !dialog && Now() - start < 10000; Sleep(5))
        dialog = FindWindowOf(running.process.dwProcessId, L"Open", running.window);
    if (!dialog)
        return -1;
    HWND edit = FindWindowExW(dialog, nullptr, L"ComboBoxEx32", nullptr);
    for (const wchar_t* inner : {L"ComboBox", L"Edit"})
        if (HWND child = FindWindowExW(edit, nullptr, inner, nullptr))
            edit = child;
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(track.c_str()));
    const double start = Now();
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    while (Now() - start < 60000) {
        if (FileSize(program.Playlist()) == expectedSize)
            return Now() - start;
        Sleep(1);
    }
    return -1;
}

// Sample i of the player, of the build before and of the floor come from
// the same run, one right after the other.
struct Samples {
    std::vector<double> player, baseline, floor;
};

// The median over the runs of each run's ratio (or, with `difference`, of
// its difference): the machine's drift between runs falls out of it.
double PairedMedian(const std::vector<double>& program, const std::vector<double>& floor, bool difference)
{
    std::vector<double> paired;
    for (std::size_t i = 0; i < program.size() && i < floor.size(); ++i)
        if (difference || floor[i] > 0)
            paired.push_back(difference ? program[i] - floor[i] : program[i] / floor[i]);
    return Median(paired);
}

void PrintOneRow(const char* measure, const char* size, const std::vector<double>& program,
                 const std::vector<double>& floor, const char* unit, const char* target, bool difference)
{
    char ratio[16] = "";
    if (!floor.empty())
        std::snprintf(ratio, sizeof ratio, difference ? "%+.1f" : "%.2f", PairedMedian(program, floor, difference));
    std::printf("| %-34s | %9s | %10.1f %-3s | %10.1f %-3s | %5s | %-7s |\n", measure, size, Median(program), unit,
                Median(floor), unit, ratio, target);
}

// The ratio column holds the median of the player's paired ratios to the
// floor, or, with `difference`, of the milliseconds it takes beyond the
// floor. The build before follows in a row of its own.
void PrintRow(const char* measure, const char* size, const Samples& s, const char* unit, const char* target,
              bool difference = false)
{
    PrintOneRow(measure, size, s.player, s.floor, unit, target, difference);
    if (!s.baseline.empty())
        PrintOneRow("  ... the build before", size, s.baseline, s.floor, unit, "", difference);
    std::fflush(stdout);
}

}  // namespace

int main()
{
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (count != 8 && count != 9) {
        std::fprintf(stderr, "usage: bench_probe WORK PLAYER FLOOR_WINDOW FLOOR_LIST FLOOR_DURABLE TRACK RUNS [MAX]\n");
        return 2;
    }
    const std::wstring work = args[1];
    const std::wstring track = args[6];
    // The track as a playlist line (its path is plain ASCII or Latin-1).
    std::string trackLine;
    for (wchar_t c : track)
        trackLine += static_cast<char>(c);
    trackLine += "\r\n";
    const int runs = std::max(1, _wtoi(args[7]));
    const int largest = count == 9 ? _wtoi(args[8]) : 1000000;
    const auto place = [&](const wchar_t* name, const std::wstring& source, bool lists) {
        const std::wstring folder = work + L"\\bench-" + name;
        CreateDirectoryW(folder.c_str(), nullptr);
        Program program{name, folder + source.substr(source.find_last_of(L"\\/")), lists};
        CopyFileW(source.c_str(), program.exe.c_str(), FALSE);
        return program;
    };
    const Program player = place(L"player", args[2], true);
    const Program floorWindow = place(L"floor-window", args[3], false);
    const Program floorList = place(L"floor-list", args[4], true);
    const Program floorDurable = place(L"floor-durable", args[5], true);
    wchar_t baselineExe[MAX_PATH] = L"";
    const bool withBaseline = GetEnvironmentVariableW(L"LIROTUNE_BENCH_BASELINE", baselineExe, MAX_PATH) > 0;
    const Program baseline = place(L"baseline", withBaseline ? baselineExe : args[2], true);
    std::vector<const Program*> players = {&player};
    if (withBaseline)
        players.push_back(&baseline);
    const auto samplesOf = [&](const Program* program, Samples& samples) -> std::vector<double>& {
        return program == &baseline ? samples.baseline : program == &player ? samples.player : samples.floor;
    };

    std::printf("| %-34s | %9s | %14s | %14s | %5s | %-7s |\n", "measure", "entries", "player", "floor", "ratio", "target");
    std::printf("|%s|%s|%s|%s|%s|%s|\n", std::string(36, '-').c_str(), std::string(11, '-').c_str(),
                std::string(16, '-').c_str(), std::string(16, '-').c_str(), std::string(7, '-').c_str(),
                std::string(9, '-').c_str());

    // One start of each first, not counted: it warms the file cache and
    // Wine's own start-up for all that follow.
    std::vector<const Program*> warmed = players;
    warmed.insert(warmed.end(), {&floorList, &floorWindow});
    for (const Program* program : warmed) {
        Running running;
        DeleteFileW(program->Playlist().c_str());
        StartAndWait(*program, 0, running);
        CloseAndWait(running);
    }

    bool lost = false;
    const int sizes[] = {0, 1000, 10000, 100000, 1000000};
    for (int entries : sizes) {
        if (entries > largest)
            break;
        const std::string content = PlaylistOf(entries);
        const int times = entries >= 1000000 ? 1 : runs;
        Samples startup, close, peak, emptyStart, activate;
        for (int run = 0; run < times; ++run) {
            std::vector<const Program*> programs = players;
            programs.insert(programs.end(), {&floorList, &floorWindow});
            for (const Program* program : programs) {
                if (program == &floorWindow && entries != 0)
                    continue;
                if (program->listsPlaylist)
                    WriteFileBytes(program->Playlist(), content);
                Running running;
                const double started = StartAndWait(*program, program->listsPlaylist ? entries : 0, running);
                const DWORD linuxPid = LinuxPidOf(program->exe);
                // Closed once settled, as a user would: not in the middle of
                // the work a new window still finishes in the background.
                Sleep(1000);
                // Switching back to the window while the file is as it was.
                for (int i = 0; program != &floorWindow && i < 10; ++i) {
                    const double before = Now();
                    SendMessageW(running.window, WM_ACTIVATE, WA_ACTIVE, 0);
                    samplesOf(program, activate).push_back(Now() - before);
                }
                const double peakMiB = StatusKb(linuxPid, "VmHWM:") / 1024.0;
                const double closed = CloseAndWait(running);
                if (program->listsPlaylist && ReadFileBytes(program->Playlist()) != content)
                    lost = true;
                if (program == &floorWindow) {
                    emptyStart.floor.push_back(started);
                    continue;
                }
                samplesOf(program, startup).push_back(started), samplesOf(program, close).push_back(closed);
                samplesOf(program, peak).push_back(peakMiB);
                if (program != &floorList)
                    samplesOf(program, emptyStart).push_back(started);
            }
        }
        const std::string n = std::to_string(entries);
        if (entries == 0)
            PrintRow("start -> window visible (vs empty)", n.c_str(), emptyStart, "ms", "<= 1.10");
        PrintRow("start -> visible with all rows", n.c_str(), startup, "ms", entries == 100000 ? "<= 1.10" : "");
        PrintRow("WM_CLOSE -> gone, with the save", n.c_str(), close, "ms", entries == 100000 ? "<= 1.25" : "");
        PrintRow("peak working set", n.c_str(), peak, "MiB", "");
        PrintRow("WM_ACTIVATE, file unchanged", n.c_str(), activate, "ms", "");

        if (entries == 0 || entries == 100000) {
            Samples add, durable;
            for (int run = 0; run < runs; ++run) {
                std::vector<const Program*> programs = players;
                programs.insert(programs.end(), {&floorList, &floorDurable});
                for (const Program* program : programs) {
                    WriteFileBytes(program->Playlist(), content);
                    Running running;
                    StartAndWait(*program, entries, running);
                    const double took = AddFileAndWait(*program, running, track,
                                                       static_cast<LONGLONG>(content.size() + trackLine.size()));
                    if (program == &floorList || program == &floorDurable)
                        (program == &floorList ? add.floor : durable.floor).push_back(took);
                    else
                        samplesOf(program, add).push_back(took), samplesOf(program, durable).push_back(took);
                    CloseAndWait(running);
                    if (ReadFileBytes(program->Playlist()) != content + trackLine)
                        lost = true;
                }
            }
            PrintRow("Add File: Open pressed -> saved", n.c_str(), add, "ms", entries == 100000 ? "<= 1.25" : "");
            PrintRow("Add File vs a crash-safe floor", n.c_str(), durable, "ms", entries == 100000 ? "<= +10" : "",
                     true);
        }
    }

    // What playing costs: the player, and the floor that only asks the media
    // service to play (the decoding is the media service's, in the process).
    for (const Program* program : {&player, &floorList}) {
        WriteFileBytes(program->Playlist(), trackLine);
        Running running;
        StartAndWait(*program, 1, running);
        const DWORD linuxPid = LinuxPidOf(program->exe);
        SendMessageW(GetDlgItem(running.window, 200), LB_SETCURSEL, 0, 0);
        if (program == &player)
            SendMessageW(GetDlgItem(running.window, 1), BM_CLICK, 0, 0);
        else
            SendMessageW(running.window, WM_COMMAND, 1, 0);
        Sleep(2000);
        const long long playing0 = CpuTicks(linuxPid);
        Sleep(10000);
        const long long playing1 = CpuTicks(linuxPid);
        if (program == &player) {
            SendMessageW(GetDlgItem(running.window, 3), BM_CLICK, 0, 0);
            Sleep(1000);
        }
        const long long stopped0 = CpuTicks(linuxPid);
        Sleep(program == &player ? 10000 : 0);
        const long long stopped1 = CpuTicks(linuxPid);
        CloseAndWait(running);
        // Ticks are 1/100 s: over 10 s, one tick is 0.1 % of a core.
        if (program == &player)
            std::printf("\nCPU of one core, 10 s each: player playing %.1f %%, stopped %.1f %% (%lld and %lld ticks of 10 ms)\n",
                        (playing1 - playing0) / 10.0, (stopped1 - stopped0) / 10.0, playing1 - playing0,
                        stopped1 - stopped0);
        else
            std::printf("CPU of one core, 10 s: floor only playing the same track %.1f %% (%lld ticks)\n",
                        (playing1 - playing0) / 10.0, playing1 - playing0);
    }
    std::printf("Executable size: player %ld KiB, floor-list %ld KiB, floor-window %ld KiB\n",
                static_cast<long>(FileSize(player.exe) / 1024), static_cast<long>(FileSize(floorList.exe) / 1024),
                static_cast<long>(FileSize(floorWindow.exe) / 1024));
    std::printf("Every saved playlist matched what was loaded (and added): %s\n", lost ? "NO" : "yes");
    return lost ? 1 : 0;
}
