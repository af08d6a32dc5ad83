#include "driver/Fixture.h"

#include "driver/Commands.h"
#include "driver/Registry.h"
#include "driver/Wait.h"
#include "resource.h"

HWND StartVexa(VexaProcess& vexa, const VexaStart& start)
{
    ResetVexaSettings(start.firstStart);
    if (start.store)
        start.store();
    int firstStartBoxes = 0;
    HWND main =
        start.firstStart ? vexa.StartPastFirstStart(firstStartBoxes, start.exe) : vexa.StartAndWaitForMain(start.exe);
    if (main && start.foreground)
        ::SetForegroundWindow(main);
    return main;
}

void VexaTest::Start(const VexaStart& start)
{
    m_exitAtEnd = start.exitAtEnd;
    m_main = StartVexa(m_vexa, start);
    ASSERT_NE(m_main, nullptr);
}

void VexaTest::TearDown()
{
    if (m_exitAtEnd && m_main)
    {
        EXPECT_TRUE(m_vexa.Exit(m_main));
    }
}

void VexaTest::SaveAs(const std::string& name)
{
    ASSERT_TRUE(SaveAsThroughDialog(m_vexa.Id(), m_main, name, m_saveAsTitle)) << name;
}

void VexaTest::Open(const std::string& path)
{
    PostCommand(m_main, ID_FILE_OPEN);
    ASSERT_TRUE(ChooseFileInDialog(m_vexa.Id(), "Open", m_main, path)) << path;
}

SystemPalette VexaTest::VexaPalette()
{
    SystemPalette palette{};
    const std::string path = m_folder.Path("probe" + std::to_string(++m_probes) + ".bmp");
    EXPECT_TRUE(ReadVexaPalette(m_vexa.Id(), m_main, path, palette, m_saveAsTitle)) << "no bitmap was saved";
    return palette;
}
