// Dialog 141: one budget chapter of revenue or of expenditure, with its number, description and 7-digit UEB
// code. Given an existing chapter, the number cannot be changed.
#pragma once

#include "data/SetCapitoli.h"
#include "platform/mfc/afxwin.h"

// The message that refuses a UEB code for the kind (CSetCapitoli::Kind); 0 when the code is right.
UINT CheckCodUEB(int nKind, LPCTSTR pszCode);
// "Entrata" or "Spesa".
CString GetCapitoloKindText(int nKind);

class CDlgCapitolo : public CDialog
{
public:
    // pRecord: the chapter to change, or null for a new one.
    CDlgCapitolo(CWnd* pParentWnd, int nKind, const CRecCapitolo* pRecord);

    CRecCapitolo m_rec;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    afx_msg void OnEditChange();
    DECLARE_MESSAGE_MAP()

private:
    int m_nKind;
    bool m_bModify;
};
