#include "about/HelpDialog.h"

#include "about/AboutTexts.h"
#include "about/HelpText.h"
#include "about/RunModalOnce.h"
#include "framework/Exceptions.h"
#include "framework/WinApp.h"
#include "resource.h"

#include <new>

CDialog* HelpDialog::s_active = nullptr;

HelpDialog::HelpDialog(CWnd* owner, const char* resourceName) : CDialog(IDD_HELP, owner), m_resourceName(resourceName)
{
}

INT_PTR HelpDialog::DoModal()
{
    return RunModalOnce(*this, &s_active);
}

void HelpDialog::DoDataExchange()
{
    m_text.m_hWnd = ::GetDlgItem(m_hWnd, IDC_HELP_TEXT);
}

BOOL HelpDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SetWindowTextA(m_hWnd, FormatCaption(GetWindowText(), AfxGetAppName()).c_str());
    SetTextFromResource(m_text, m_resourceName, "TXT");
    return TRUE;
}

bool LoadTextResource(const char* name, const char* type, std::string& text)
{
    text.clear();
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceA(module, name, type);
    if (!resource)
        return false;
    HGLOBAL loaded = ::LoadResource(module, resource);
    if (!loaded)
        return false;
    const void* bytes = ::LockResource(loaded);
    if (!bytes)
        return false;
    try
    {
        text = TextFromResourceBytes(static_cast<const char*>(bytes), ::SizeofResource(module, resource));
    }
    catch (const std::bad_alloc&)
    {
        text.clear();
        return false;
    }
    return true;
}

void SetTextFromResource(CWnd& window, const char* name, const char* type)
{
    std::string text;
    if (!LoadTextResource(name, type, text))
        throw CMemoryException();
    ::SetWindowTextA(window.m_hWnd, text.c_str());
}
