// The About box: the program's icon, name and version, legal notice and description.
#pragma once

#include "framework/Dialog.h"

#include <string>

class AboutDialog : public CDialog
{
  public:
    // Reads the program's version record; the texts are ready before the window exists.
    explicit AboutDialog(CWnd* owner);
    ~AboutDialog() override = default;

    // One About box at a time: a second request brings the open one to the front and returns 3.
    INT_PTR DoModal() override;

  protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;

  private:
    std::string m_description;
    std::string m_product;
    std::string m_notice;

    static CDialog* s_active;
};
