#include "about/AboutDialog.h"

#include "about/AboutTexts.h"
#include "about/RunModalOnce.h"
#include "about/VersionInfo.h"
#include "framework/WinApp.h"
#include "resource.h"

CDialog* AboutDialog::s_active = nullptr;

AboutDialog::AboutDialog(CWnd* owner) : CDialog(IDD_ABOUT, owner)
{
    const VersionInfo version;
    AboutTexts texts =
        AboutTexts::Build(AfxLoadString(IDS_DESCRIPTION_FORMAT), version.GetStringValue("ProductName"),
                          version.GetStringValue("ProductVersion"), version.GetStringValue("LegalCopyright"),
                          version.GetStringValue("FileDescription"));
    m_description = std::move(texts.m_description);
    m_product = std::move(texts.m_product);
    m_notice = std::move(texts.m_notice);
}

INT_PTR AboutDialog::DoModal()
{
    return RunModalOnce(*this, &s_active);
}

void AboutDialog::DoDataExchange()
{
    ::SetDlgItemTextA(m_hWnd, IDC_ABOUT_DESCRIPTION, m_description.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_ABOUT_PRODUCT, m_product.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_ABOUT_NOTICE, m_notice.c_str());
}

BOOL AboutDialog::OnInitDialog()
{
    ::SetWindowTextA(m_hWnd, FormatCaption(GetWindowText(), AfxGetAppName()).c_str());
    CDialog::OnInitDialog();
    return TRUE;
}
