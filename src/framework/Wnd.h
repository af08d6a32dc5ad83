// A window known to the framework: a borrowed handle and the message cracking of its kind.
#pragma once

#include "framework/Object.h"

#include <windows.h>

#include <string>

class CWnd : public CObject
{
  public:
    CWnd() = default;
    explicit CWnd(HWND window) : m_hWnd(window) {}

    std::string GetWindowText() const;

    // Handles one message; returns false to leave it to the default processing.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Handles a command of this window; returns false for ids it does not own.
    virtual bool OnCommand(UINT id);
    // The session ends (ending) or goes on; for the main window an ending session runs the
    // application's exit processing.
    virtual void OnEndSession(BOOL ending);

    HWND m_hWnd = nullptr;

  protected:
    // A command goes to the window, then the application object.
    bool RouteCommand(UINT id);
};
