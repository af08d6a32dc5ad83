// Failures of every menu command, made on demand by the test build VexaFaults.exe (VEXA_FAULT): each is
// reported the framework's way and the window keeps working. Failures of the system under the program
// (painting, a display that leaves palette mode), made by the test build's own commands.
#include "driver/Commands.h"
#include "driver/Fixture.h"
#include "driver/Wait.h"
#include "resource.h"

#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace
{
const UINT kCommands[] = {ID_FILE_OPEN,
                          ID_FILE_SAVE_AS,
                          ID_EDIT_COPY,
                          ID_EDIT_CLEAR,
                          ID_VIEW_SHRINK_TO_FIT,
                          ID_VIEW_COLUMNS_8,
                          ID_VIEW_COLUMNS_16,
                          ID_VIEW_COLUMNS_32,
                          ID_VIEW_COLUMNS_64,
                          ID_VIEW_COLUMNS_128,
                          ID_VIEW_COLUMNS_256,
                          ID_VIEW_TOGGLE_BORDER,
                          ID_APP_ABOUT,
                          ID_HELP,
                          ID_APP_EXIT};

// The icon of a message box as the screen shows it, captured by this process: Wine puts it in a static
// of id 1088, Windows in one of id 20. Empty when the box shows none.
std::vector<COLORREF> IconPixels(HWND box)
{
    HWND icon = ::GetDlgItem(box, 1088);
    if (!icon)
        icon = ::GetDlgItem(box, 20);
    if (!icon || !::IsWindowVisible(icon))
        return {};
    // Everything the box had to do before it waits for input includes painting its icon.
    RoundTrip(box);
    ::RedrawWindow(icon, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RoundTrip(box);
    const RECT rect = WindowRect(icon);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    std::vector<COLORREF> pixels;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
    const auto* words = static_cast<const COLORREF*>(bits);
    pixels.assign(words, words + width * height);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

// The icon of a message box of this process with the given icon style, for comparison.
std::vector<COLORREF> ReferenceIcon(UINT iconStyle)
{
    std::thread box([iconStyle] { ::MessageBoxA(nullptr, "reference", "Reference icon", iconStyle | MB_OK); });
    HWND window = WaitForDialog(::GetCurrentProcessId(), "Reference icon", nullptr);
    std::vector<COLORREF> pixels = window ? IconPixels(window) : std::vector<COLORREF>{};
    if (window)
        PostCommand(window, IDOK);
    box.join();
    return pixels;
}

// One kind of failure and how the user must see it.
struct Fault
{
    const char* kind;
    const char* text; // null: nothing is shown
    bool memory;      // "Out of memory.": system-modal with an exclamation icon; the others: stop icon
};

const Fault kFaults[] = {
    {"file", "Access to C:\\fault\\switch.bmp was denied.", false},
    {"notsupported", "An unsupported operation was attempted.", false},
    {"resource", "A required resource was unavailable.", false},
    {"plain", "Command failed.", false},
    {"foreign", "Command failed.", false}, // not a framework exception at all
    {"memory", "Out of memory.", true},
    {"badalloc", "Out of memory.", true},
    {"user", nullptr, false},
};

// The test build's commands that make system calls fail (FaultSwitch).
constexpr UINT kFailBeginPaint = 0x7F02;
constexpr UINT kFailBrushes = 0x7F03;
constexpr UINT kLeavePaletteMode = 0x7F04;
constexpr UINT kRestoreSystem = 0x7F0F;

// The display's mode changes as the test build's display answers: to true colour, or back to 256 colours.
void ChangeDisplayMode(HWND main, bool paletteBased)
{
    ASSERT_TRUE(RunCommand(main, paletteBased ? kRestoreSystem : kLeavePaletteMode));
    ::SendMessageA(main, WM_DISPLAYCHANGE, paletteBased ? 8 : 32, MAKELPARAM(1024, 768));
}

// Exposes the whole client area, as a window moving away from it would, and waits until the program
// has handled what followed.
void Expose(HWND window)
{
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    WaitUntilIdle(window);
}
} // namespace

// Each start lists the kinds from a different first one, so that over all starts every command fails
// with every kind; the program takes them in turn, one per command.
TEST(FaultSwitch, EveryCommandsFailureIsReportedAndTheWindowKeepsWorking)
{
    const std::vector<COLORREF> stopIcon = ReferenceIcon(MB_ICONSTOP);
    const std::vector<COLORREF> exclamationIcon = ReferenceIcon(MB_ICONEXCLAMATION);
    ASSERT_FALSE(stopIcon.empty());
    ASSERT_NE(stopIcon, exclamationIcon);

    const std::size_t kinds = std::size(kFaults);
    for (std::size_t first = 0; first < kinds; ++first)
    {
        std::string list;
        for (std::size_t k = 0; k < kinds; ++k)
            list += std::string(k ? "," : "") + kFaults[(first + k) % kinds].kind;
        SCOPED_TRACE(list);
        const ScopedEnvironment failing("VEXA_FAULT", list.c_str());
        VexaProcess vexa;
        HWND main = StartVexa(vexa, {.exe = FaultsExePath()});
        ASSERT_NE(main, nullptr);
        const SIZE startSize = ClientSize(main);

        std::size_t turn = 0;
        for (UINT id : kCommands)
        {
            const Fault& fault = kFaults[(first + turn++) % kinds];
            SCOPED_TRACE("command " + std::to_string(id) + " failing with " + fault.kind);
            PostCommand(main, id);
            if (!fault.text)
            {
                ASSERT_TRUE(WaitUntilIdle(main));
                EXPECT_TRUE(ProcessDialogs(vexa.Id(), main).empty()) << "something was shown";
                continue;
            }
            HWND box = WaitForDialog(vexa.Id(), "Vexa", main);
            ASSERT_NE(box, nullptr) << "no report";
            EXPECT_EQ((::GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, fault.memory)
                << "system-modal for memory only";
            // On a loaded machine the box may show its icon a moment after it answers messages.
            const std::vector<COLORREF>& icon = fault.memory ? exclamationIcon : stopIcon;
            EXPECT_TRUE(WaitUntil([&] { return IconPixels(box) == icon; }, 3000)) << "the icon";
            EXPECT_EQ(TakeMessageBox(vexa.Id(), main), fault.text);
            ASSERT_TRUE(WaitUntilIdle(main));
        }

        // Every command has failed once; now they work again.
        EXPECT_TRUE(RunCommand(main, ID_VIEW_COLUMNS_16));
        EXPECT_TRUE(RunCommand(main, ID_VIEW_SHRINK_TO_FIT));
        const SIZE fitted = ClientSize(main);
        EXPECT_TRUE(fitted.cx != startSize.cx || fitted.cy != startSize.cy) << "the View commands changed nothing";
        EXPECT_TRUE(fitted.cx % 16 == 0 && fitted.cy % 16 == 0)
            << "16 columns of 16 rows fitted: " << fitted.cx << " x " << fitted.cy;
        EXPECT_TRUE(ProcessDialogs(vexa.Id(), main).empty());
        EXPECT_TRUE(vexa.Exit(main));
        EXPECT_EQ(vexa.ExitCode(), 0u);
    }
}

// A failing paint is reported once, after the paint, and not again until a paint has succeeded; the
// update region is validated all the same, so the window does not paint again and again.
TEST(FaultSwitch, APaintFailureIsReportedOnceUntilAPaintSucceeds)
{
    for (const UINT failure : {kFailBeginPaint, kFailBrushes})
    {
        SCOPED_TRACE(failure == kFailBeginPaint ? "BeginPaint fails" : "brushes fail");
        VexaProcess vexa;
        HWND main = StartVexa(vexa, {.exe = FaultsExePath()});
        ASSERT_NE(main, nullptr);
        for (int round = 1; round <= 2; ++round)
        {
            SCOPED_TRACE("round " + std::to_string(round));
            ASSERT_TRUE(RunCommand(main, failure));
            Expose(main);
            ASSERT_NE(WaitForDialog(vexa.Id(), "Vexa", main), nullptr) << "no report";
            // More exposures while the report is open: no second report, nothing left to paint.
            Expose(main);
            Expose(main);
            EXPECT_EQ(ProcessDialogs(vexa.Id(), main).size(), 1u) << "reported more than once";
            EXPECT_FALSE(::GetUpdateRect(main, nullptr, FALSE)) << "the update region was left invalid";
            EXPECT_EQ(TakeMessageBox(vexa.Id(), main), "A required resource was unavailable.");
            ASSERT_TRUE(WaitUntilIdle(main));
            Expose(main);
            EXPECT_TRUE(ProcessDialogs(vexa.Id(), main).empty()) << "reported again before a paint succeeded";

            // A paint that succeeds: the next failure is reported again (the second round).
            ASSERT_TRUE(RunCommand(main, kRestoreSystem));
            Expose(main);
            EXPECT_TRUE(ProcessDialogs(vexa.Id(), main).empty());
            EXPECT_FALSE(::GetUpdateRect(main, nullptr, FALSE));
        }
        // Nothing was lost: the window works and ends normally.
        EXPECT_TRUE(RunCommand(main, ID_VIEW_COLUMNS_16));
        EXPECT_TRUE(RunCommand(main, ID_VIEW_SHRINK_TO_FIT));
        EXPECT_EQ(ClientSize(main).cx % 16, 0);
        EXPECT_TRUE(vexa.Exit(main));
        EXPECT_EQ(vexa.ExitCode(), 0u);
    }
}

// The display leaves palette mode while the program runs. The commands that read or change the system
// palette say so and change nothing, whether the mode changed before the command or while its file
// dialog was open; a press starts no readout, and a drag under way ends with the change. Back in palette
// mode everything works again.
TEST(FaultSwitch, ADisplayThatLeftPaletteModeStopsEveryPaletteCommand)
{
    const char* const kPaletteNeeded = "A color palette based display mode is needed for this application to run.";
    VexaProcess vexa;
    HWND main = StartVexa(vexa, {.exe = FaultsExePath(), .foreground = true});
    ASSERT_NE(main, nullptr);
    ScratchFolder folder;
    SystemPalette before{};
    ASSERT_TRUE(ReadVexaPalette(vexa.Id(), main, folder.Path("before.bmp"), before));
    WriteFileBytes(folder.Path("other.bmp"), MakeBitmap(8, 0, 40, KnownColoursTable(11), 9270));
    ClipboardHolder holder("marker");
    ASSERT_TRUE(holder.Opened());
    holder.Close();

    ::SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ASSERT_NE(WindowText(main), "Vexa") << "no readout";
    ChangeDisplayMode(main, false);
    EXPECT_EQ(WindowText(main), "Vexa") << "the readout goes on over a display without a system palette";
    ::SendMessageA(main, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(WindowText(main), "Vexa");

    ::PostMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_EQ(TakeMessageBox(vexa.Id(), main), kPaletteNeeded) << "press";
    ::SendMessageA(main, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(WindowText(main), "Vexa");
    for (const UINT id : {ID_FILE_OPEN, ID_FILE_SAVE_AS, ID_EDIT_COPY, ID_EDIT_CLEAR})
    {
        PostCommand(main, id);
        EXPECT_EQ(TakeMessageBox(vexa.Id(), main), kPaletteNeeded) << "command " << id;
        ASSERT_TRUE(WaitUntilIdle(main));
        EXPECT_TRUE(ProcessDialogs(vexa.Id(), main).empty()) << "command " << id << " went on";
    }

    // The mode changes while a file dialog is open.
    struct FileCommand
    {
        UINT id;
        const char* dialog;
        std::string file;
    };
    for (const FileCommand& command : {FileCommand{ID_FILE_OPEN, "Open", folder.Path("other.bmp")},
                                       FileCommand{ID_FILE_SAVE_AS, "Save As", folder.Path("new.bmp")},
                                       FileCommand{ID_FILE_SAVE_AS, "Save As", folder.Path("new.txt")}})
    {
        SCOPED_TRACE(command.file);
        ChangeDisplayMode(main, true);
        PostCommand(main, command.id);
        ASSERT_NE(WaitForDialog(vexa.Id(), command.dialog, main), nullptr);
        ASSERT_TRUE(RunCommand(main, kLeavePaletteMode));
        ASSERT_TRUE(ChooseFileInDialog(vexa.Id(), command.dialog, main, command.file));
        EXPECT_EQ(TakeMessageBox(vexa.Id(), main), kPaletteNeeded);
        ASSERT_TRUE(WaitUntilIdle(main));
    }

    ChangeDisplayMode(main, true);
    SystemPalette after{};
    ASSERT_TRUE(ReadVexaPalette(vexa.Id(), main, folder.Path("after.bmp"), after));
    ExpectSamePalette(after, before);
    EXPECT_TRUE(ClipboardHoldsText("marker"));
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"other.bmp"}) << "a file was written";

    ASSERT_TRUE(RunCommand(main, ID_EDIT_COPY));
    EXPECT_FALSE(ClipboardHoldsText("marker")) << "Copy does not work again";
    ::SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_NE(WindowText(main), "Vexa") << "the readout does not work again";
    ::SendMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(ProcessDialogs(vexa.Id(), main).empty());
    EXPECT_TRUE(vexa.Exit(main));
}
