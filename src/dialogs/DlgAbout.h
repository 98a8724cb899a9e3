// The "Informazioni su" box: title, version, product code, a link to the maker's site and the release notes.
#pragma once

#include "platform/mfc/afxdialog.h"
#include "ui/themes/HyperLink.h"

class CDlgAbout : public CDialog
{
    DECLARE_DYNAMIC(CDlgAbout)
public:
    // The product code of eight digits, shown as "12345-678".
    CDlgAbout(CWnd* pParentWnd, LPCTSTR pszProductCode);

protected:
    BOOL OnInitDialog() override;

private:
    CXTHyperLink m_wndLink;
    CFont m_fontBold;
    CString m_strProductCode;
};
