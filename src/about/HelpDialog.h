// The help window: a text resource of the program in a read-only, scrolling edit control.
#pragma once

#include "framework/Dialog.h"

#include <string>

class HelpDialog : public CDialog
{
  public:
    HelpDialog(CWnd* owner, const char* resourceName);
    ~HelpDialog() override = default;

    // One help window at a time: a second request brings the open one to the front and returns 3.
    INT_PTR DoModal() override;

  protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;

  private:
    CWnd m_text;
    const char* m_resourceName;

    static CDialog* s_active;
};

// Reads a text resource of the program's resource module into text; false (and text empty) when it
// cannot be found, loaded or locked, or copied.
bool LoadTextResource(const char* name, const char* type, std::string& text);
// Makes a text resource the window's text; throws CMemoryException when it cannot be loaded.
void SetTextFromResource(CWnd& window, const char* name, const char* type);
