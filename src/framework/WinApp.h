// The application object: its name, registry key, main window and the last stop of command routing.
#pragma once

#include "framework/Object.h"

#include <windows.h>

#include <string>

class CWnd;

class CWinApp : public CObject
{
  public:
    // Registers the one application object; the name comes from string 57344 when none is given.
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Takes the module's handles and, unless the constructor was given one, its name.
    void SetCurrentHandles(HINSTANCE instance);
    virtual BOOL InitInstance();
    // The program's exit processing: after InitInstance, and when the session ends while the main window
    // runs (the process may be ended without its window being destroyed). Returns the exit code.
    virtual int ExitInstance();
    // Commands no window handled. Exit closes the main window.
    virtual bool OnCommand(UINT id);
    // Makes the key the registry key and the application name the profile name.
    void SetRegistryKey(const char* key);

    const char* m_pszAppName = nullptr;
    const char* m_pszRegistryKey = nullptr;
    const char* m_pszProfileName = nullptr;
    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;

  private:
    std::string m_appName;
    std::string m_registryKey;
    std::string m_profileName;
};

CWinApp* AfxGetApp();
const char* AfxGetAppName();
// The main window of the application, or null.
CWnd* AfxGetMainWnd();
// The module whose resources the program loads (the program itself unless set otherwise).
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);
std::string AfxLoadString(UINT id);
// The full file name of a module (null: the program itself), however long; empty when there is none.
std::string AfxGetModuleFileName(HMODULE module = nullptr);
// A message box owned by the main window's last active popup, with the application name as caption.
int AfxMessageBox(const char* text, UINT type = MB_OK);
int AfxMessageBox(UINT promptId, UINT type = MB_OK);
