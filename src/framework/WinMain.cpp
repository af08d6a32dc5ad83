// The program's entry: the application object's InitInstance and ExitInstance inside the start-up barrier.
#include "framework/Exceptions.h"
#include "framework/WinApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    try
    {
        app->SetCurrentHandles(instance);
        app->InitInstance();
        return app->ExitInstance();
    }
    catch (...)
    {
        ReportCurrentException(Barrier::startup);
        return 1;
    }
}
