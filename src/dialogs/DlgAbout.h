// The "Informazioni su" box: title, version, product code, a link to the maker's site and the release notes.
#pragma once

#include "platform/mfc/afxdialog.h"
#include "ui/themes/HyperLink.h"

class CDlgAbout : public CDialog
{
    DECLARE_DYNAMIC(CDlgAbout)
public:
    explicit CDlgAbout(CWnd* pParentWnd = nullptr);

protected:
    BOOL OnInitDialog() override;

private:
    CXTHyperLink m_wndLink;
    CFont m_fontBold;
};
