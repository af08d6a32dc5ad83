// Times Vexa.exe against its bare floors side by side under one Wine: start-up, pixel readout and
// painting. Prints the medians, their ratio and the goal for each ratio.
//
//   vexa_bench VEXA_EXE BARE_DIALOG_EXE BARE_DIALOG_IMPORTS_EXE BARE_GRID_EXE [START_RUNS]
//
// The programs are Windows paths. Vexa must run on a palette-based display. VEXA_BENCH_RAW set in the
// environment prints every start-up time.
#include "resource.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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
    if (owner != search->processId || !::IsWindowVisible(window) ||
        !::GetClassNameA(window, className, sizeof className) || std::string(className) != "#32770")
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

// Times of Vexa and of its floor taken side by side: sample i of each ran next to the other, so that a
// change of the machine's load touches both.
struct Pairs
{
    std::vector<double> vexa;
    std::vector<double> floor;

    void Add(double vexaTime, double floorTime)
    {
        vexa.push_back(vexaTime);
        floor.push_back(floorTime);
    }

    // The median of the pairs' own ratios, which a slow drift of the load does not move.
    double PairedRatio() const
    {
        std::vector<double> ratios;
        for (std::size_t i = 0; i < vexa.size(); ++i)
            if (floor[i] > 0)
                ratios.push_back(vexa[i] / floor[i]);
        return Median(ratios);
    }
};

// Appends the samples of another series.
void Append(Pairs& to, const Pairs& from)
{
    to.vexa.insert(to.vexa.end(), from.vexa.begin(), from.vexa.end());
    to.floor.insert(to.floor.end(), from.floor.begin(), from.floor.end());
}

// Makes the window the active, foreground one and waits until both windows have repainted. The active
// window's caption and its foreground palette cost more, so every series is taken half with each of the
// two windows in front.
void BringToFront(HWND window, HWND other)
{
    ::SetForegroundWindow(window);
    WaitPainted(window);
    WaitPainted(other);
}

struct Row
{
    std::string name;
    double vexa;
    double floor;
    double pairedRatio; // 0: not meaningful
    double goal;        // 0: none
    const char* unit;
};

std::vector<Row> g_rows;

void AddRow(const std::string& name, const Pairs& pairs, double goal, const char* unit)
{
    g_rows.push_back({name, Median(pairs.vexa), Median(pairs.floor), pairs.PairedRatio(), goal, unit});
}

void PrintRows()
{
    std::printf("%-30s %12s %12s %7s %7s %8s\n", "benchmark (medians)", "Vexa", "floor", "ratio", "paired", "goal");
    for (const Row& row : g_rows)
    {
        const double ratio = row.floor > 0 ? row.vexa / row.floor : 0;
        char vexa[32], floor[32], paired[16] = "-", goal[16] = "-";
        std::snprintf(vexa, sizeof vexa, "%.1f %s", row.vexa, row.unit);
        std::snprintf(floor, sizeof floor, "%.1f %s", row.floor, row.unit);
        if (row.pairedRatio > 0)
            std::snprintf(paired, sizeof paired, "%.3f", row.pairedRatio);
        if (row.goal > 0)
            std::snprintf(goal, sizeof goal, "<= %.2f", row.goal);
        std::printf("%-30s %12s %12s %7.3f %7s %8s %s\n", row.name.c_str(), vexa, floor, ratio, paired, goal,
                    row.goal <= 0       ? ""
                    : ratio <= row.goal ? "met"
                                        : "MISSED");
    }
}

// Start-up: from CreateProcess to a painted, idle main window. Vexa, the floor and the floor that also
// loads Vexa's DLLs take turns, in an order that rotates and reverses from run to run.
void BenchStartup(const std::string& vexa, const std::string& floor, const std::string& floorImports, int runs)
{
    const std::string* programs[] = {&vexa, &floor, &floorImports};
    Pairs againstFloor, againstImports;
    for (int run = -1; run < runs; ++run)
    {
        double times[3] = {-1, -1, -1};
        for (int turn = 0; turn < 3; ++turn)
        {
            const int rotated = (turn + run + 3) % 3;
            const int which = run % 2 ? 2 - rotated : rotated;
            if (which == 0)
                StoreVexaSettings(vexa, 256, 1);
            Program program;
            const double start = NowMs();
            if (!program.Start(*programs[which]))
            {
                Fail(which == 0 ? "Vexa did not start" : "a floor dialog did not start");
                continue;
            }
            times[which] = NowMs() - start;
        }
        if (run < 0 || times[0] < 0)
            continue; // run -1 only warms up
        if (std::getenv("VEXA_BENCH_RAW"))
            std::fprintf(stderr, "start-up run %d: Vexa %.1f ms, floor %.1f ms, floor with imports %.1f ms\n", run,
                         times[0], times[1], times[2]);
        if (times[1] >= 0)
            againstFloor.Add(times[0], times[1]);
        if (times[2] >= 0)
            againstImports.Add(times[0], times[2]);
    }
    AddRow("start-up to idle window", againstFloor, 1.15, "ms");
    AddRow("  floor with Vexa's DLLs", againstImports, 0, "ms");
}

LPARAM PointParam(POINT point)
{
    return MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
}

// The client point at the centre of tile (column, row) of a 16 x 16 grid, laid out as both windows do.
POINT TileCentre(HWND window, int column, int row)
{
    RECT client{};
    ::GetClientRect(window, &client);
    const int tileX = client.right / 16, tileY = client.bottom / 16;
    const int originX = (client.right - tileX * 16) / 2, originY = (client.bottom - tileY * 16) / 2;
    return {originX + column * tileX + tileX / 2, originY + row * tileY + tileY / 2};
}

double TimeSend(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const double start = NowMs();
    ::SendMessageA(window, message, wParam, lParam);
    return (NowMs() - start) * 1000;
}

// Drags in both windows at once, each move timed in one window and then the other (ABBA), the pointer
// alternating between the client points a and b; each process keeps its own capture.
Pairs TimeDrags(HWND vexa, HWND floor, POINT a, POINT b, int moves)
{
    Pairs pairs;
    for (HWND window : {vexa, floor})
        ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(a));
    for (int move = 0; move < moves; ++move)
    {
        const LPARAM where = PointParam(move % 4 < 2 ? b : a);
        const bool vexaFirst = move % 2 == 0;
        const double first = TimeSend(vexaFirst ? vexa : floor, WM_MOUSEMOVE, MK_LBUTTON, where);
        const double second = TimeSend(vexaFirst ? floor : vexa, WM_MOUSEMOVE, MK_LBUTTON, where);
        pairs.Add(vexaFirst ? first : second, vexaFirst ? second : first);
    }
    for (HWND window : {vexa, floor})
        ::SendMessageA(window, WM_LBUTTONUP, 0, PointParam(a));
    return pairs;
}

Pairs TimeNulls(HWND vexa, HWND floor, int count)
{
    Pairs pairs;
    for (int i = 0; i < count; ++i)
    {
        const double first = TimeSend(i % 2 ? floor : vexa, WM_NULL, 0, 0);
        const double second = TimeSend(i % 2 ? vexa : floor, WM_NULL, 0, 0);
        pairs.Add(i % 2 ? second : first, i % 2 ? first : second);
    }
    return pairs;
}

// The two windows one above the other, the same size, neither covering the other.
void PlaceWindows(HWND vexa, HWND floor)
{
    ::SetWindowPos(vexa, nullptr, 20, 20, 480, 340, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(floor, nullptr, 20, 400, 480, 340, SWP_NOZORDER | SWP_NOACTIVATE);
    WaitPainted(vexa);
    WaitPainted(floor);
}

// The excess of each median over the WM_NULL round trip: the handlers' own work.
void AddHandlerRow(const std::string& name, const Pairs& moves, const Pairs& nulls)
{
    g_rows.push_back(
        {name, Median(moves.vexa) - Median(nulls.vexa), Median(moves.floor) - Median(nulls.floor), 0, 0, "us"});
}

void BenchPixelReadout(HWND vexa, HWND floor)
{
    constexpr int kMoves = 3000;
    RECT client{};
    ::GetClientRect(vexa, &client);
    // On the grid: two tiles, so that the title changes whenever the point does. Off the grid: two points
    // of the desktop to the right of the windows, where the system palette is searched. The windows have
    // the same client size, so the same client points serve both.
    const POINT tileA = TileCentre(vexa, 0, 0), tileB = TileCentre(vexa, 1, 1);
    const POINT offA{client.right + 40, 10}, offB{client.right + 80, 30};
    Pairs on, off, nulls;
    for (HWND front : {vexa, floor})
    {
        BringToFront(front, front == vexa ? floor : vexa);
        Append(on, TimeDrags(vexa, floor, tileA, tileB, kMoves / 2));
        Append(off, TimeDrags(vexa, floor, offA, offB, kMoves / 2));
        Append(nulls, TimeNulls(vexa, floor, kMoves / 2));
    }

    // The figures stand only if Vexa really read tile 17 during a drag.
    char text[256] = "";
    ::SendMessageA(vexa, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(tileB));
    ::SendMessageA(vexa, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    ::SendMessageA(vexa, WM_LBUTTONUP, 0, PointParam(tileB));
    if (std::string(text).rfind("Vexa - [017] = 0x", 0) != 0)
        Fail("Vexa's title did not show tile 17 during a drag; the pixel figures are not valid");

    AddRow("mouse move on the grid", on, 1.2, "us");
    AddRow("mouse move off the grid", off, 1.2, "us");
    AddHandlerRow("  on the grid less WM_NULL", on, nulls);
    AddHandlerRow("  off the grid less WM_NULL", off, nulls);
    AddRow("WM_NULL round trip", nulls, 0, "us");
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
    constexpr int kRepaints = 600, kWarmUp = 20;
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
        Pairs pairs;
        for (HWND front : {vexa, floor})
        {
            BringToFront(front, front == vexa ? floor : vexa);
            for (int i = -kWarmUp; i < kRepaints / 2; ++i)
            {
                // ABBA order again; the first repaints only warm up.
                const bool vexaFirst = i % 2 == 0;
                const double first = TimeRepaint(vexaFirst ? vexa : floor);
                const double second = TimeRepaint(vexaFirst ? floor : vexa);
                if (i >= 0)
                    pairs.Add(vexaFirst ? first : second, vexaFirst ? second : first);
            }
        }
        AddRow(view.name, pairs, 1.1, "us");
    }
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 5)
    {
        std::fprintf(stderr,
                     "usage: vexa_bench VEXA_EXE BARE_DIALOG_EXE BARE_DIALOG_IMPORTS_EXE BARE_GRID_EXE [START_RUNS]\n");
        return 2;
    }
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    g_tickMs = 1000.0 / static_cast<double>(frequency.QuadPart);
    const std::string vexa = argv[1], bareDialog = argv[2], bareImports = argv[3], bareGrid = argv[4];
    const int startRuns = argc > 5 ? std::max(1, std::atoi(argv[5])) : 20;

    BenchStartup(vexa, bareDialog, bareImports, startRuns);

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
