// The program's entry: the application object's InitInstance and ExitInstance inside the start-up barrier.
#include "framework/Exceptions.h"
#include "framework/WinApp.h"

#include <new>

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
    catch (const CException& e)
    {
        e.ReportError(MB_ICONEXCLAMATION);
        return 1;
    }
    catch (const std::bad_alloc&)
    {
        CMemoryException().ReportError(MB_ICONEXCLAMATION);
        return 1;
    }
    catch (...)
    {
        CException().ReportError(MB_ICONEXCLAMATION);
        return 1;
    }
}
