// The dialog that asks for a toolbar's name: a new toolbar (its id is the first free one from 0xE800) or a new
// name for a user's toolbar. The name must not be empty nor another bar's title.
#pragma once

#include "platform/mfc/afxdialog.h"

class CXTPCommandBars;
class CXTPToolBar;

class CXTPNewToolbarDlg : public CDialog
{
public:
    // pToolBar: the bar renamed; null for a new one.
    CXTPNewToolbarDlg(CWnd* pParent, CXTPCommandBars* pCommandBars, CXTPToolBar* pToolBar = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;

    // The first name of the form of string 9330 that no bar carries; the string is used as a format only
    // when it holds exactly one "%d" and no other conversion, else it is a plain prefix for the number.
    static CString ProposeName(const CXTPCommandBars* pCommandBars);

    UINT m_nNewID = 0;
    CString m_strToolbar;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CXTPToolBar* m_pToolBar;
    CXTPCommandBars* m_pCommandBars;
};
