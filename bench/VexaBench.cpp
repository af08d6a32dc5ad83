// Times Vexa.exe against its bare floors side by side under one Wine: start-up, pixel readout and
// painting. Prints the medians, their ratio and the goal for each ratio.
//
//   vexa_bench VEXA_EXE BARE_DIALOG_EXE BARE_GRID_EXE [START_RUNS]
//
// The programs are Windows paths. Vexa must run on a palette-based display.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "resource.h"

namespace
{
constexpr const char* kVexaKey = "Software\\Quillon\\Vexa";
constexpr DWORD kVexaVersion = 0x00010007;
constexpr DWORD kTimeoutMs = 20000;

double g_tickMs = 0;
int g_failures = 0;

double NowMs()
{
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * g_tickMs;
}

double Median(std::vector<double> samples)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const std::size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

void Fail(const char* what)
{
    std::fprintf(stderr, "vexa_bench: %s\n", what);
    ++g_failures;
}

void SetDword(HKEY key, const char* name, DWORD value)
{
    ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

// Vexa's settings as a user's second start finds them: the install record of this exe (so no first-start
// About box and help), no stored placement, and the given view.
void StoreVexaSettings(const std::string& exe, int columns, int rows)
{
    for (const char* section : {"CurrentVersion", "Window", "View"})
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, (std::string(kVexaKey) + "\\" + section).c_str());
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(kVexaKey) + "\\CurrentVersion").c_str(), 0, nullptr, 0,
                          KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS)
    {
        SetDword(key, "Version", kVexaVersion);
        ::RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(exe.c_str()),
                         static_cast<DWORD>(exe.size() + 1));
        ::RegCloseKey(key);
    }
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(kVexaKey) + "\\View").c_str(), 0, nullptr, 0, KEY_WRITE,
                          nullptr, &key, nullptr) == ERROR_SUCCESS)
    {
        SetDword(key, "Columns", static_cast<DWORD>(columns));
        SetDword(key, "Rows", static_cast<DWORD>(rows));
        SetDword(key, "Borders", 0);
        ::RegCloseKey(key);
    }
}

struct WindowSearch
{
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    char className[16] = "";
    if (owner != search->processId || !::IsWindowVisible(window) || !::GetClassNameA(window, className, sizeof className) ||
        std::string(className) != "#32770")
        return TRUE;
    search->found = window;
    return FALSE;
}

bool RoundTrip(HWND window)
{
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, kTimeoutMs, &answer) != 0;
}

// Until the window has nothing left to paint and answers a sent message.
bool WaitPainted(HWND window)
{
    const double start = NowMs();
    while (::GetUpdateRect(window, nullptr, FALSE))
    {
        if (NowMs() - start > kTimeoutMs)
            return false;
        ::Sleep(1);
    }
    return RoundTrip(window);
}

// A started program; ends it when it goes out of scope.
class Program
{
public:
    Program() = default;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() { Stop(); }

    // Starts the program and waits until its main dialog is idle and painted.
    bool Start(const std::string& exe)
    {
        std::string command = "\"" + exe + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_info))
            return false;
        ::WaitForInputIdle(m_info.hProcess, kTimeoutMs);
        const double start = NowMs();
        for (;;)
        {
            WindowSearch search{m_info.dwProcessId, nullptr};
            ::EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
            if ((m_main = search.found) != nullptr)
                break;
            if (NowMs() - start > kTimeoutMs || ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_OBJECT_0)
                return false;
            ::Sleep(1);
        }
        return WaitPainted(m_main);
    }

    void Stop()
    {
        if (!m_info.hProcess)
            return;
        if (m_main)
            ::PostMessageA(m_main, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(m_info.hProcess, kTimeoutMs) != WAIT_OBJECT_0)
        {
            ::TerminateProcess(m_info.hProcess, 99);
            ::WaitForSingleObject(m_info.hProcess, 5000);
        }
        ::CloseHandle(m_info.hThread);
        ::CloseHandle(m_info.hProcess);
        m_info = {};
        m_main = nullptr;
    }

    HWND Main() const { return m_main; }

private:
    PROCESS_INFORMATION m_info{};
    HWND m_main = nullptr;
};

struct Row
{
    const char* name;
    double vexa;
    double floor;
    double goal;
    const char* unit;
};

std::vector<Row> g_rows;

void AddRow(const char* name, double vexa, double floor, double goal, const char* unit)
{
    g_rows.push_back({name, vexa, floor, goal, unit});
}

void PrintRows()
{
    std::printf("%-36s %12s %12s %7s %8s\n", "benchmark (medians)", "Vexa", "floor", "ratio", "goal");
    for (const Row& row : g_rows)
    {
        const double ratio = row.floor > 0 ? row.vexa / row.floor : 0;
        char vexa[32], floor[32], goal[16] = "-";
        std::snprintf(vexa, sizeof vexa, "%.3f %s", row.vexa, row.unit);
        std::snprintf(floor, sizeof floor, "%.3f %s", row.floor, row.unit);
        if (row.goal > 0)
            std::snprintf(goal, sizeof goal, "<= %.2f", row.goal);
        std::printf("%-36s %12s %12s %7.3f %8s %s\n", row.name, vexa, floor, ratio, goal,
                    row.goal <= 0 ? "" : ratio <= row.goal ? "met" : "MISSED");
    }
}

// Start-up: from CreateProcess to a painted, idle main window, the two programs alternating.
void BenchStartup(const std::string& vexa, const std::string& floor, int runs)
{
    std::vector<double> vexaTimes, floorTimes;
    for (int run = -1; run < runs; ++run)
    {
        // ABBA order, so that neither program always follows the other; run -1 warms both up.
        for (int turn = 0; turn < 2; ++turn)
        {
            const bool isVexa = (turn == 0) == (run % 2 == 0);
            if (isVexa)
                StoreVexaSettings(vexa, 256, 1);
            Program program;
            const double start = NowMs();
            if (!program.Start(isVexa ? vexa : floor))
            {
                Fail(isVexa ? "Vexa did not start" : "the floor dialog did not start");
                continue;
            }
            const double elapsed = NowMs() - start;
            if (run >= 0)
                (isVexa ? vexaTimes : floorTimes).push_back(elapsed);
        }
    }
    AddRow("start-up to idle main window", Median(vexaTimes), Median(floorTimes), 1.15, "ms");
}

LPARAM PointParam(POINT point)
{
    return MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
}

// Client points of tile (column, row) of a 16 x 16 grid laid out as the window lays it out.
POINT TileCentre(HWND window, int column, int row)
{
    RECT client{};
    ::GetClientRect(window, &client);
    const int tileX = client.right / 16, tileY = client.bottom / 16;
    const int originX = (client.right - tileX * 16) / 2, originY = (client.bottom - tileY * 16) / 2;
    return {originX + column * tileX + tileX / 2, originY + row * tileY + tileY / 2};
}

// One drag: the press, then moves alternating between two points, each move timed, then the release.
void TimeDrag(HWND window, POINT a, POINT b, int moves, std::vector<double>& times)
{
    ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(a));
    for (int move = 0; move < moves; ++move)
    {
        const LPARAM where = PointParam(move % 2 ? a : b);
        const double start = NowMs();
        ::SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, where);
        times.push_back((NowMs() - start) * 1000);
    }
    ::SendMessageA(window, WM_LBUTTONUP, 0, PointParam(a));
}

void TimeNull(HWND window, int count, std::vector<double>& times)
{
    for (int i = 0; i < count; ++i)
    {
        const double start = NowMs();
        ::SendMessageA(window, WM_NULL, 0, 0);
        times.push_back((NowMs() - start) * 1000);
    }
}

// The two windows side by side, the same size, neither covering the other.
void PlaceWindows(HWND vexa, HWND floor)
{
    ::SetWindowPos(vexa, nullptr, 20, 20, 480, 340, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(floor, nullptr, 20, 400, 480, 340, SWP_NOZORDER | SWP_NOACTIVATE);
    WaitPainted(vexa);
    WaitPainted(floor);
}

void BenchPixelReadout(HWND vexa, HWND floor)
{
    constexpr int kBlocks = 40, kMoves = 50;
    RECT client{};
    ::GetClientRect(vexa, &client);
    // On the grid: two tiles, so the title changes on every move. Off the grid: two points on the desktop
    // to the right of the window, where the palette is searched.
    const POINT tileA = TileCentre(vexa, 0, 0), tileB = TileCentre(vexa, 1, 1);
    const POINT offA{client.right + 40, 10}, offB{client.right + 80, 30};
    std::vector<double> vexaOn, floorOn, vexaOff, floorOff, vexaNull, floorNull;
    for (int block = 0; block < kBlocks; ++block)
    {
        TimeDrag(vexa, tileA, tileB, kMoves, vexaOn);
        TimeDrag(floor, TileCentre(floor, 0, 0), TileCentre(floor, 1, 1), kMoves, floorOn);
        TimeDrag(vexa, offA, offB, kMoves, vexaOff);
        TimeDrag(floor, offA, offB, kMoves, floorOff);
        TimeNull(vexa, kMoves, vexaNull);
        TimeNull(floor, kMoves, floorNull);
    }
    const char* title = "Vexa - [017] = 0x";
    char text[256] = "";
    ::SendMessageA(vexa, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(tileB));
    ::SendMessageA(vexa, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    ::SendMessageA(vexa, WM_LBUTTONUP, 0, PointParam(tileB));
    if (std::string(text).rfind(title, 0) != 0)
        Fail("Vexa's title did not show tile 17 during the drag; the pixel figures are not valid");
    const double nullVexa = Median(vexaNull), nullFloor = Median(floorNull);
    AddRow("mouse move on the grid", Median(vexaOn), Median(floorOn), 1.2, "us");
    AddRow("mouse move off the grid", Median(vexaOff), Median(floorOff), 1.2, "us");
    AddRow("  on the grid, less WM_NULL", Median(vexaOn) - nullVexa, Median(floorOn) - nullFloor, 0, "us");
    AddRow("  off the grid, less WM_NULL", Median(vexaOff) - nullVexa, Median(floorOff) - nullFloor, 0, "us");
    AddRow("WM_NULL round trip", nullVexa, nullFloor, 0, "us");
}

double TimeRepaint(HWND window)
{
    const double start = NowMs();
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const double elapsed = (NowMs() - start) * 1000;
    if (::GetUpdateRect(window, nullptr, FALSE))
        Fail("a repaint was still pending after RedrawWindow; the paint figures are not valid");
    return elapsed;
}

void BenchPaint(HWND vexa, HWND floor)
{
    constexpr int kRepaints = 200;
    struct View
    {
        const char* name;
        UINT command;
    };
    // Each step's command goes to both windows; the border toggles between the layouts.
    const View views[] = {{"repaint 16 x 16", ID_VIEW_COLUMNS_16},
                          {"repaint 16 x 16, borders", ID_VIEW_TOGGLE_BORDER},
                          {"repaint 256 x 1, borders", ID_VIEW_COLUMNS_256},
                          {"repaint 256 x 1", ID_VIEW_TOGGLE_BORDER}};
    for (const View& view : views)
    {
        for (HWND window : {vexa, floor})
        {
            ::SendMessageA(window, WM_COMMAND, view.command, 0);
            WaitPainted(window);
        }
        std::vector<double> vexaTimes, floorTimes;
        for (int i = 0; i < kRepaints; ++i)
        {
            vexaTimes.push_back(TimeRepaint(vexa));
            floorTimes.push_back(TimeRepaint(floor));
        }
        AddRow(view.name, Median(vexaTimes), Median(floorTimes), 1.1, "us");
    }
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
    {
        std::fprintf(stderr, "usage: vexa_bench VEXA_EXE BARE_DIALOG_EXE BARE_GRID_EXE [START_RUNS]\n");
        return 2;
    }
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    g_tickMs = 1000.0 / static_cast<double>(frequency.QuadPart);
    const std::string vexa = argv[1], bareDialog = argv[2], bareGrid = argv[3];
    const int startRuns = argc > 4 ? std::max(1, std::atoi(argv[4])) : 20;

    BenchStartup(vexa, bareDialog, startRuns);

    StoreVexaSettings(vexa, 16, 16);
    Program vexaProgram, floorProgram;
    if (!vexaProgram.Start(vexa) || !floorProgram.Start(bareGrid))
    {
        Fail("the programs for the pixel and paint benchmarks did not start");
    }
    else
    {
        PlaceWindows(vexaProgram.Main(), floorProgram.Main());
        BenchPixelReadout(vexaProgram.Main(), floorProgram.Main());
        BenchPaint(vexaProgram.Main(), floorProgram.Main());
    }
    vexaProgram.Stop();
    floorProgram.Stop();
    PrintRows();
    return g_failures ? 1 : 0;
}
