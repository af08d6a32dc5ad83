// The help window's text resources: the program's own help text, odd resources of a test module, and
// the report when the text is missing.
#include "about/HelpDialog.h"
#include "framework/Exceptions.h"
#include "framework/WinApp.h"
#include "resource.h"

#include <atomic>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <thread>

namespace
{
// The test module with the odd resources, loaded as a data file and made the resource module for the
// life of the object.
class TextResourceModule
{
  public:
    TextResourceModule()
    {
        char path[MAX_PATH] = "";
        ::GetModuleFileNameA(nullptr, path, sizeof path);
        std::string file = path;
        file = file.substr(0, file.find_last_of("\\/") + 1) + "textres_test.dll";
        m_module = ::LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (m_module)
            AfxSetResourceHandle(m_module);
    }
    ~TextResourceModule()
    {
        AfxSetResourceHandle(nullptr);
        if (m_module)
            ::FreeLibrary(m_module);
    }
    TextResourceModule(const TextResourceModule&) = delete;
    TextResourceModule& operator=(const TextResourceModule&) = delete;

    bool Loaded() const { return m_module != nullptr; }

  private:
    HMODULE m_module = nullptr;
};

std::string ItemText(HWND dialog, int id)
{
    char text[256] = "";
    ::GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

struct Search
{
    std::function<bool(HWND)> match;
    HWND found;
};

BOOL CALLBACK MatchOwnWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != ::GetCurrentProcessId() || !::IsWindowVisible(window) || !search->match(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

// A visible top-level window of this process that matches, waiting up to five seconds.
HWND WaitForOwnWindow(std::function<bool(HWND)> match)
{
    for (int i = 0; i < 100; ++i)
    {
        Search search{match, nullptr};
        ::EnumWindows(MatchOwnWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        ::Sleep(50);
    }
    return nullptr;
}

std::string TitleOf(HWND window)
{
    char title[256] = "";
    ::GetWindowTextA(window, title, sizeof title);
    return title;
}
} // namespace

TEST(HelpTextResource, ProgramHelpTextIsTheSourceFileByteForByte)
{
    std::string text = "stale";
    ASSERT_TRUE(LoadTextResource("HELP", "TXT", text));
    EXPECT_EQ(text.size(), 1299u);
    std::ifstream file(VEXA_HELP_TXT, std::ios::binary);
    ASSERT_TRUE(file.is_open()) << VEXA_HELP_TXT;
    const std::string source{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_EQ(text, source);
    EXPECT_TRUE(text.starts_with("INTRODUCTION\r\n\r\nThis application"));
    EXPECT_TRUE(text.ends_with("graphics editor.\r\n"));
}

TEST(HelpTextResource, OddResourcesOfAModule)
{
    TextResourceModule module;
    ASSERT_TRUE(module.Loaded());
    const struct
    {
        const char* name;
        const char* text;
    } cases[] = {
        {"TRAIL", "Trailing mark\r\n"}, // the end mark is dropped
        {"EMPTY", ""},
        {"NULMID", "Before"}, // a NUL ends the text
        {"ONLYMARK", ""},
        {"NULFIRST", ""},
    };
    for (const auto& c : cases)
    {
        std::string text = "stale";
        EXPECT_TRUE(LoadTextResource(c.name, "TXT", text)) << c.name;
        EXPECT_EQ(text, c.text) << c.name;
    }
    // Missing: by name, by type, and the program's own help text, which the module lacks.
    for (const auto& [name, type] :
         {std::pair{"NOSUCH", "TXT"}, std::pair{"TRAIL", "RCDATA"}, std::pair{"HELP", "TXT"}})
    {
        std::string text = "stale";
        EXPECT_FALSE(LoadTextResource(name, type, text)) << name << " " << type;
        EXPECT_EQ(text, "") << name << " " << type;
    }
}

TEST(HelpTextResource, SetTextFromResourceFillsTheWindowOrThrows)
{
    TextResourceModule module;
    ASSERT_TRUE(module.Loaded());
    CWnd edit(::CreateWindowExA(0, "EDIT", "", WS_POPUP | ES_MULTILINE, 0, 0, 100, 100, nullptr, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr));
    ASSERT_NE(edit.m_hWnd, nullptr);
    SetTextFromResource(edit, "TRAIL", "TXT");
    EXPECT_EQ(edit.GetWindowText(), "Trailing mark\r\n");
    SetTextFromResource(edit, "EMPTY", "TXT");
    EXPECT_EQ(edit.GetWindowText(), "");
    EXPECT_THROW(SetTextFromResource(edit, "NOSUCH", "TXT"), CMemoryException);
    ::DestroyWindow(edit.m_hWnd);
}

TEST(HelpTextResource, MissingTextIsReportedAndTheWindowStaysOpenEmpty)
{
    // The report comes while the window initialises; another thread answers it and looks at the window.
    std::string report;
    std::string helpText = "stale";
    std::atomic<bool> helpShown{false};
    const std::string caption = std::string(AfxGetAppName()) + " Help";
    std::thread user([&] {
        if (HWND box = WaitForOwnWindow([](HWND w) { return ItemText(w, 0xFFFF) == "Out of memory."; }))
        {
            report = ItemText(box, 0xFFFF);
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        if (HWND help = WaitForOwnWindow([&](HWND w) { return TitleOf(w) == caption; }))
        {
            helpShown = true;
            helpText = ItemText(help, IDC_HELP_TEXT);
            ::PostMessageA(help, WM_COMMAND, IDCANCEL, 0);
        }
    });
    HelpDialog dialog(nullptr, "NOSUCH");
    const INT_PTR result = dialog.DoModal();
    user.join();
    EXPECT_EQ(report, "Out of memory.");
    EXPECT_TRUE(helpShown);
    EXPECT_EQ(helpText, "");
    EXPECT_EQ(result, IDCANCEL);
}
