// The combined print of the control forms: every report of the control tree (or its ticked leaves) gathered into
// one landscape document, a page break between two reports, printed or saved as PDF in one go.
#pragma once

#include "platform/mfc/afxdialog.h"
#include "platform/textdoc/TxControl.h"

// The reports as the frame opens them: each leaf of the control tree is selected as the user would select it,
// and the document its view then shows is handed over.
class CReportLeaves
{
public:
    // Back before the first leaf, nothing selected.
    virtual void ClearSelection() = 0;
    // Selects the leaf after the last one selected (only ticked leaves when asked); false after the last leaf.
    virtual bool SelectNextLeaf(bool bTickedOnly) = 0;
    // The document the frame's view shows; false when the view shows none.
    virtual bool GetActiveReportContent(CTextDocument& content) = 0;

protected:
    ~CReportLeaves() = default;
};

class CDlgPrintRel : public CDialog
{
public:
    // nExtent: 0 every report, 1 the ticked leaves only.
    CDlgPrintRel(CWnd* pParent, int nExtent, CReportLeaves& leaves);

    CTX4OLE& GetControl() { return m_control; }
    // Where the pages go; the system's print job when null.
    void SetPrintJob(CTxPrintJob* pJob) { m_pPrintJob = pJob; }

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg void OnPrint();
    afx_msg void OnSavePdf();
    DECLARE_MESSAGE_MAP()

private:
    void GatherReports();

    int m_nExtent;
    CReportLeaves& m_leaves;
    CTX4OLE m_control;
    CTxPrintJob* m_pPrintJob = nullptr;
    int m_cyButtons = 0;
    CWnd* m_pHiddenMainWnd = nullptr;   // shown again when the dialog goes
};
