// The report of the consistency check of the per-centre balances: its text in the word-processing control,
// which the user reads and prints. CheckSaldiConsistency runs the check and shows the report when something
// differs.
#pragma once

#include "controls/MyResize.h"
#include "data/ADOConnection.h"
#include "platform/mfc/afxdialog.h"
#include "platform/textdoc/TxControl.h"

class CDlgRappControlli : public CDialog
{
public:
    CDlgRappControlli(CWnd* pParent, const CString& strText);

    CTX4OLE& GetControl() { return m_control; }

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPrint();
    DECLARE_MESSAGE_MAP()

private:
    CString m_strText;
    CTX4OLE m_control;
    CMyResize m_resize{this};
};

// True when the totals of the centres equal the forecast balance; otherwise shows the report over the main
// window and answers false once it is closed. Database errors leave as _com_error.
bool CheckSaldiConsistency(CADOConnection& data);
