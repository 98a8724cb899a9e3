// The print question of the frame's print command: which forms (the control forms or the official ones) and
// how many (all of them or the ticked leaves of the tree).
#pragma once

#include "platform/mfc/afxdialog.h"

class CDlgPrint : public CDialog
{
public:
    explicit CDlgPrint(CWnd* pParent);

    int m_nFormSet = 0;   // 0: the control forms; 1: the official forms
    int m_nExtent = 0;    // 0: every form; 1: the ticked leaves only

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
