// Every value Vexa reads from the registry stored wrongly, as another program, an old version or a user
// with a registry editor might leave it: missing, of another type, of another length, extreme numbers,
// texts without a NUL or far too long. Each start must still give a usable window on the screen, end
// normally, and save sound values.
#include "driver/Commands.h"
#include "driver/Process.h"
#include "driver/Registry.h"
#include "driver/Wait.h"
#include "resource.h"

#include <array>
#include <climits>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace
{
// A value as it sits in the registry; not present means no value of that name.
struct Stored
{
    bool present = false;
    DWORD type = REG_NONE;
    std::string bytes;
};

Stored Missing()
{
    return {};
}

Stored Bytes(DWORD type, std::string bytes)
{
    return {true, type, std::move(bytes)};
}

std::string Little(unsigned long long value, int size)
{
    std::string bytes;
    for (int i = 0; i < size; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

Stored Dword(long long value)
{
    return Bytes(REG_DWORD, Little(static_cast<unsigned long long>(value), 4));
}

Stored Text(const std::string& text)
{
    return Bytes(REG_SZ, text + '\0');
}

// One start's worth of stored values; unmentioned ones are missing.
struct Row
{
    std::string name;
    Stored path, version;
    Stored onTop, left, top, right, bottom, state;
    Stored columns, rows, borders;
    // Minimised when it ends: the rectangle is then not recorded.
    bool minimise = false;
};

// Every number value of the row the same kind of wrong value, and the path another.
Row Uniform(const std::string& name, const Stored& path, const Stored& number, bool minimise = false)
{
    return {name, path, number, number, number, number, number, number, number, number, number, number, minimise};
}

struct Place
{
    const char* section;
    const char* name;
    Stored Row::*value;
};

constexpr Place kPlaces[] = {
    {"CurrentVersion", "Path", &Row::path},    {"CurrentVersion", "Version", &Row::version},
    {"Window", "On top", &Row::onTop},         {"Window", "Bounds.left", &Row::left},
    {"Window", "Bounds.top", &Row::top},       {"Window", "Bounds.right", &Row::right},
    {"Window", "Bounds.bottom", &Row::bottom}, {"Window", "State", &Row::state},
    {"View", "Columns", &Row::columns},        {"View", "Rows", &Row::rows},
    {"View", "Borders", &Row::borders},
};

// A row of REG_DWORD values beside the path of the exe, in the order of kPlaces after the path.
Row Numbers(const std::string& name, const std::string& exe, const std::array<long long, 10>& values)
{
    Row row = Uniform(name, Text(exe), Missing());
    for (std::size_t i = 0; i < values.size(); ++i)
        row.*kPlaces[i + 1].value = Dword(values[i]);
    return row;
}

constexpr long long kVersion = 0x00010007;

std::vector<Row> Rows(const std::string& exe)
{
    std::vector<Row> rows;
    rows.push_back(Uniform("nothing stored", Missing(), Missing()));
    rows.push_back(Uniform("numbers as REG_SZ, path as REG_DWORD", Dword(1), Text("16")));
    rows.push_back(Uniform("REG_BINARY", Bytes(REG_BINARY, exe + '\0'), Bytes(REG_BINARY, Little(16, 4))));
    rows.push_back(Uniform("REG_MULTI_SZ", Bytes(REG_MULTI_SZ, exe + std::string(2, '\0')),
                           Bytes(REG_MULTI_SZ, std::string("16\0\0", 4))));
    rows.push_back(Uniform("REG_EXPAND_SZ", Bytes(REG_EXPAND_SZ, exe + '\0'), Bytes(REG_EXPAND_SZ, "16")));
    rows.push_back(
        Uniform("REG_QWORD, closed minimised", Bytes(REG_QWORD, Little(16, 8)), Bytes(REG_QWORD, Little(16, 8)), true));

    // REG_DWORD of every wrong length, each with another malformed path.
    const std::string number = Little(kVersion, 4) + Little(kVersion, 4);
    const std::pair<std::size_t, Stored> lengths[] = {
        {0, Bytes(REG_SZ, "")},
        {1, Bytes(REG_SZ, std::string(1, '\0'))},
        {2, Bytes(REG_SZ, std::string(1, '\0') + exe + '\0')},
        {3, Text(exe + "x")},
        {5, Text(exe.substr(0, exe.size() - 1))},
        {8, Bytes(REG_SZ, exe.substr(0, exe.size() - 1))},
    };
    for (const auto& [length, path] : lengths)
        rows.push_back(Uniform("REG_DWORD of " + std::to_string(length) + " bytes", path,
                               Bytes(REG_DWORD, number.substr(0, length))));

    rows.push_back(Uniform("zero", Text(exe), Dword(0)));
    rows.push_back(Uniform("minus one", Text(exe), Dword(-1)));
    rows.push_back(Numbers("one, a 1 x 1 grid", exe, {kVersion, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
    rows.push_back(Numbers("INT_MIN, a rectangle of the whole 32-bit plane, 1,000,000 columns", exe,
                           {INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MIN, 1000000, 1, INT_MIN}));
    rows.push_back(
        Numbers("INT_MAX, a rectangle at the far bottom right, 2,000,000,000 columns", exe,
                {INT_MAX, INT_MAX, INT_MAX - 300, INT_MAX - 200, INT_MAX, INT_MAX, INT_MAX, 2000000000, 1, INT_MAX}));
    rows.push_back(Numbers(
        "0x80000000, a rectangle at the far top left, 2,000,000,000 rows", exe,
        {kVersion, 1, 0x80000000, 0x80000000, 0x80000000 + 300, 0x80000000 + 200, 2, 1, 2000000000, 0x80000000}));
    rows.push_back(
        Numbers("a width and height beyond 32 bits, 2,000,000,000 columns and rows", exe,
                {kVersion, 0, -2000000000, -2000000000, 2000000000, 2000000000, 3, 2000000000, 2000000000, 0}));
    rows.push_back(
        Numbers("an inverted rectangle, negative columns", exe, {kVersion, 1, 500, 400, 100, 50, -2, -5, 16, 1}));

    // Texts without a NUL, and texts at and beyond the size the program reads.
    rows.push_back(Uniform("texts without a NUL", Bytes(REG_SZ, exe), Bytes(REG_SZ, "16")));
    {
        Row limit = Uniform("a path padded to exactly 64 KiB", Bytes(REG_SZ, exe), Bytes(REG_SZ, "1"));
        limit.path.bytes.resize(64 * 1024, '\0');
        limit.version = Dword(kVersion);
        rows.push_back(limit);
    }
    rows.push_back(Uniform("texts of 64 KiB + 1", Bytes(REG_SZ, exe + std::string(64 * 1024 + 1 - exe.size(), 'P')),
                           Bytes(REG_SZ, std::string(64 * 1024 + 1, '7'))));
    rows.push_back(Uniform("1 MiB texts and numbers", Bytes(REG_SZ, std::string(1024 * 1024, 'P')),
                           Bytes(REG_DWORD, std::string(1024 * 1024, '\x10'))));
    return rows;
}

// What the program may make of a stored value, worked out here independently of its reader.
std::optional<LONG> AsNumber(const Stored& value)
{
    if (!value.present || value.type != REG_DWORD || value.bytes.size() != 4)
        return std::nullopt;
    LONG number = 0;
    std::memcpy(&number, value.bytes.data(), 4);
    return number;
}

// The values a start is expected to load from a row.
struct Loaded
{
    LONG version, onTop, columns, rows, borders;
    RECT bounds;
    bool usableBounds;
};

Loaded Load(const Row& row)
{
    Loaded loaded{};
    loaded.version = AsNumber(row.version).value_or(0);
    loaded.onTop = AsNumber(row.onTop).value_or(0);
    loaded.columns = AsNumber(row.columns).value_or(256);
    loaded.rows = AsNumber(row.rows).value_or(1);
    if (loaded.columns < 1 || loaded.rows < 1)
    {
        loaded.columns = 256;
        loaded.rows = 1;
    }
    loaded.borders = AsNumber(row.borders).value_or(0);
    loaded.bounds = {AsNumber(row.left).value_or(0), AsNumber(row.top).value_or(0), AsNumber(row.right).value_or(0),
                     AsNumber(row.bottom).value_or(0)};
    loaded.usableBounds = loaded.bounds.right > loaded.bounds.left && loaded.bounds.bottom > loaded.bounds.top;
    return loaded;
}

void Put(const char* section, const char* name, const Stored& value)
{
    if (value.present)
    {
        ASSERT_EQ(PutValue(section, name, value.type, value.bytes), ERROR_SUCCESS) << section << "\\" << name;
    }
}

// A value as it is now stored, whatever its size.
Stored Get(const char* section, const char* name)
{
    HKEY key = OpenVexaKey(section, KEY_READ);
    if (!key)
        return {};
    Stored value;
    DWORD size = 0;
    if (::RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS)
    {
        value.bytes.assign(size, '\0');
        value.present = ::RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(value.bytes.data()),
                                           &size) == ERROR_SUCCESS;
        value.bytes.resize(size);
    }
    ::RegCloseKey(key);
    return value;
}

// Shrink to Fit on a 400 x 200 client area: whole tiles of client / grid each way. A grid finer than a
// pixel per tile asks for no client at all, which the system refuses: it keeps a minimum width, and
// the menu bar then wraps and takes client height. The client area then only must not grow.
void ExpectShrinkToFit(HWND main, LONG columns, LONG rows)
{
    const ShrinkToFitResult fit = ShrinkToFitFrom400x200(main);
    EXPECT_TRUE(fit.answered);
    const LONG wantedX = fit.client.cx / columns * columns;
    const LONG wantedY = fit.client.cy / rows * rows;
    if (wantedX > 0 && wantedY > 0)
    {
        EXPECT_EQ(fit.fitted.cx, wantedX) << columns << " columns";
        EXPECT_EQ(fit.fitted.cy, wantedY) << rows << " rows";
    }
    else
    {
        EXPECT_TRUE(fit.fitted.cx <= fit.client.cx && fit.fitted.cy <= fit.client.cy) << columns << " x " << rows;
    }
}

void ExpectNumber(const char* section, const char* name, LONG expected)
{
    EXPECT_EQ(AsNumber(Get(section, name)), std::optional<LONG>(expected)) << section << "\\" << name;
}

void RunRow(const Row& row, const std::string& exe)
{
    ResetVexaSettings(true);
    for (const Place& place : kPlaces)
    {
        Put(place.section, place.name, row.*place.value);
        // The registry must hold exactly what the row stores, or the row tests something else. Texts are
        // only compared for their type: their length may change in the A/W conversion.
        const Stored stored = Get(place.section, place.name);
        const Stored& wanted = row.*place.value;
        ASSERT_EQ(stored.present, wanted.present) << place.name;
        ASSERT_EQ(stored.type, wanted.type) << place.name;
        const bool text = wanted.type == REG_SZ || wanted.type == REG_EXPAND_SZ || wanted.type == REG_MULTI_SZ;
        ASSERT_TRUE(text || stored.bytes == wanted.bytes) << place.name;
    }
    const Loaded loaded = Load(row);

    VexaProcess vexa;
    int boxes = 0;
    HWND main = vexa.StartPastFirstStart(boxes);
    ASSERT_NE(main, nullptr) << "no main window";
    EXPECT_EQ(boxes, loaded.version == kVersion ? 0 : 2) << "the first-start About box and help window";

    EXPECT_TRUE(::IsWindowVisible(main));
    RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    RECT window = WindowRect(main);
    RECT common{};
    EXPECT_TRUE(::IntersectRect(&common, &window, &screen))
        << "window at " << window.left << "," << window.top << " - " << window.right << "," << window.bottom;
    // The stored z-order comes with a usable stored rectangle only.
    EXPECT_EQ(IsTopmost(main), loaded.usableBounds && loaded.onTop != 0);

    ExpectShrinkToFit(main, loaded.columns, loaded.rows);
    // The border toggle marks the settings modified, so that every value is saved at the end.
    EXPECT_TRUE(RunCommand(main, ID_VIEW_TOGGLE_BORDER, 5000));
    if (row.minimise)
    {
        ::SendMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        EXPECT_TRUE(WaitUntil([main] { return ::IsIconic(main) != FALSE; }));
    }
    window = WindowRect(main);
    ASSERT_TRUE(vexa.Exit(main)) << "did not end by Exit";
    EXPECT_EQ(vexa.ExitCode(), 0u);

    const Stored path = Get("CurrentVersion", "Path");
    EXPECT_EQ(path.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::string(path.bytes.c_str()), exe) << "Path";
    ExpectNumber("CurrentVersion", "Version", kVersion);

    ExpectNumber("View", "Columns", loaded.columns);
    ExpectNumber("View", "Rows", loaded.rows);
    ExpectNumber("View", "Borders", loaded.borders ? 0 : 1);
    ExpectNumber("Window", "On top", loaded.onTop);
    ExpectNumber("Window", "State", row.minimise ? 2 : 0);
    if (row.minimise)
    {
        // Nothing usable was ever recorded, so the four values are not written: they stay as they were.
        ASSERT_FALSE(loaded.usableBounds);
        for (const Place& place : kPlaces)
        {
            if (std::string(place.name).rfind("Bounds.", 0) != 0)
                continue;
            const Stored now = Get(place.section, place.name);
            const Stored& before = row.*place.value;
            EXPECT_TRUE(now.present == before.present && now.type == before.type && now.bytes == before.bytes)
                << place.name;
        }
    }
    else
    {
        ExpectNumber("Window", "Bounds.left", window.left);
        ExpectNumber("Window", "Bounds.top", window.top);
        ExpectNumber("Window", "Bounds.right", window.right);
        ExpectNumber("Window", "Bounds.bottom", window.bottom);
        EXPECT_TRUE(window.right > window.left && window.bottom > window.top);
    }
}
} // namespace

TEST(RegistryHostile, EveryWrongValueGivesAUsableWindowAndSoundSavedValues)
{
    const std::string exe = VexaExePath();
    for (const Row& row : Rows(exe))
    {
        SCOPED_TRACE(row.name);
        RunRow(row, exe);
    }
    ResetVexaSettings();
}
