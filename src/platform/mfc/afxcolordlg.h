// CColorDialog: the system's colour dialog. DoModal goes through the modal seam of CDialog: with a handler
// installed, the handler gets the dialog (no window) and answers IDOK or IDCANCEL, writing the colour chosen
// into m_cc.rgbResult as the system would.
#pragma once

#include "afxdialog.h"

#include <commdlg.h>

class CColorDialog : public CDialog
{
    DECLARE_DYNAMIC(CColorDialog)
public:
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);

    CHOOSECOLORW m_cc = {};

    INT_PTR DoModal() override;
    // The colour chosen; after a cancel, the colour the dialog started with.
    COLORREF GetColor() const { return m_cc.rgbResult; }

private:
    COLORREF m_clrCustom[16];   // the dialog's custom colours, kept for this dialog only
};
