#include "DlgPrintRel.h"

#include "ReportTables.h"
#include "TxPrinting.h"

#include "platform/mfc/afxfiledlg.h"
#include "platform/mfc/afxmsgbox.h"
#include "platform/mfc/afxwaitcursor.h"
#include "resource.h"
#include "util/MessageText.h"

namespace {
const UINT IDC_TX_CONTROL = 1008;
} // namespace

BEGIN_MESSAGE_MAP(CDlgPrintRel, CDialog)
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_BN_CLICKED(IDC_PRINT_REL_PRINT, &CDlgPrintRel::OnPrint)
    ON_BN_CLICKED(IDC_PRINT_REL_PDF, &CDlgPrintRel::OnSavePdf)
END_MESSAGE_MAP()

CDlgPrintRel::CDlgPrintRel(CWnd* pParent, int nExtent, CReportLeaves& leaves)
    : CDialog(IDD_PRINT_REL, pParent), m_nExtent(nExtent), m_leaves(leaves)
{
}

BOOL CDlgPrintRel::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (HICON hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME)))
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
    ModifyStyleEx(0, WS_EX_APPWINDOW);
    CRect rcButton;
    GetDlgItem(IDC_PRINT_REL_PRINT)->GetWindowRect(&rcButton);
    ScreenToClient(&rcButton);
    m_cyButtons = rcButton.bottom;

    // The dialog takes the main window's place while the main window walks its tree out of sight.
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd && pMainWnd->GetSafeHwnd() && pMainWnd != this) {
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        if (::GetWindowPlacement(pMainWnd->GetSafeHwnd(), &placement))
            ::SetWindowPlacement(m_hWnd, &placement);
        if (pMainWnd->IsWindowVisible()) {
            pMainWnd->ShowWindow(SW_HIDE);
            m_pHiddenMainWnd = pMainWnd;
        }
    }

    CRect rcClient;
    GetClientRect(&rcClient);
    m_control.Create(WS_VISIBLE | WS_BORDER | WS_TABSTOP,
                     CRect(0, m_cyButtons, rcClient.right, std::max<LONG>(m_cyButtons, rcClient.bottom)), this,
                     IDC_TX_CONTROL);
    SetupReportPage(m_control.PageSetup());
    GatherReports();
    return TRUE;
}

void CDlgPrintRel::GatherReports()
{
    CWaitCursor wait;
    CTextDocument pageBreak;
    pageBreak.AppendText(L"\x0C", CTextCharFormat());
    bool bFirst = true;
    m_leaves.ClearSelection();
    while (m_leaves.SelectNextLeaf(m_nExtent == 1)) {
        CTextDocument content;
        if (!m_leaves.GetActiveReportContent(content))
            continue;   // a leaf without a document adds nothing, not even a page break
        if (!bFirst)
            m_control.InsertDocument(pageBreak);
        m_control.InsertDocument(content);
        bFirst = false;
    }
    // Each report's tables were laid across its own page, smaller where it is narrower: now across the combined
    // print's, at the templates' size.
    CTextDocument combined = m_control.GetDocument();
    FitTablesToPage(combined, kReportTableHalfPoints);
    m_control.SetDocument(combined);
    m_control.SetSel(0, 0);
}

void CDlgPrintRel::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (m_control.GetSafeHwnd())
        m_control.MoveWindow(0, m_cyButtons, cx, std::max(0, cy - m_cyButtons));
}

void CDlgPrintRel::OnDestroy()
{
    if (m_pHiddenMainWnd && m_pHiddenMainWnd->GetSafeHwnd())
        m_pHiddenMainWnd->ShowWindow(SW_SHOW);
    m_pHiddenMainWnd = nullptr;
    CDialog::OnDestroy();
}

void CDlgPrintRel::OnPrint()
{
    CString strTitle;
    GetWindowText(strTitle);
    PrintTextDocument(this, m_control, strTitle, sheetA4AsPage, m_pPrintJob);
}

void CDlgPrintRel::OnSavePdf()
{
    CString strTitle;
    GetWindowText(strTitle);
    strTitle.Replace(L'/', L'-');
    CFileDialog dialog(FALSE, L"pdf", strTitle, OFN_OVERWRITEPROMPT | OFN_EXPLORER, LoadResString(IDS_TX_FILTER),
                       this);
    if (dialog.DoModal() != IDOK)
        return;
    // Whatever filter the user chose, the combined print is a PDF.
    try {
        m_control.SaveDocument(dialog.GetPathName(), txdFormatPdf);
    } catch (CException* e) {
        AfxMessageBox(GetExceptionText(e), MB_ICONERROR);
    }
}
