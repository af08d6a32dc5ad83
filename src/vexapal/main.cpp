#include "vexapal/SystemFiles.h"
#include "vexapal/Vexapal.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    // The one barrier: whatever escapes a command (only running out of memory should) is one line.
    try
    {
        PrepareConsoleForUtf8();
        return RunVexapal(ProgramArguments(argc, argv), std::cout, std::cerr, IsColourTerminal());
    }
    catch (const std::exception& error)
    {
        std::cerr << "vexapal: " << error.what() << '\n';
        return 2;
    }
}
