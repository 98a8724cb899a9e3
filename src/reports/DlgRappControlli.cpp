#include "DlgRappControlli.h"

#include "TxPrinting.h"

#include "engine/ConsistencyCheck.h"
#include "resource.h"

#include <algorithm>

namespace {
const UINT IDC_TX_CONTROL = 1008;
} // namespace

BEGIN_MESSAGE_MAP(CDlgRappControlli, CDialog)
    ON_WM_SIZE()
    ON_BN_CLICKED(IDC_STAMPA_RAPPORTO, &CDlgRappControlli::OnPrint)
END_MESSAGE_MAP()

CDlgRappControlli::CDlgRappControlli(CWnd* pParent, const CString& strText)
    : CDialog(IDD_RAPP_CONTROLLI, pParent), m_strText(strText)
{
}

BOOL CDlgRappControlli::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (HICON hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME)))
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
    ModifyStyleEx(0, WS_EX_APPWINDOW);
    ModifyStyle(0, WS_CLIPCHILDREN | WS_CLIPSIBLINGS);

    SetWindowPos(nullptr, 0, 0, 750, 350, SWP_NOMOVE | SWP_NOZORDER);
    CenterWindow();
    // Laid out for the size the dialog now has, whatever the template's units came to: the buttons in the
    // bottom right corner, the control in the room above them. That layout is the one the anchors start from.
    const int nMargin = 7;
    CRect rcClient, rcClose, rcPrint;
    GetClientRect(&rcClient);
    CWnd* pClose = GetDlgItem(IDCANCEL);
    CWnd* pPrint = GetDlgItem(IDC_STAMPA_RAPPORTO);
    pClose->GetWindowRect(&rcClose);
    pPrint->GetWindowRect(&rcPrint);
    const int yButtons = rcClient.bottom - nMargin - rcClose.Height();
    const int xClose = rcClient.right - nMargin - rcClose.Width();
    pClose->MoveWindow(xClose, yButtons, rcClose.Width(), rcClose.Height());
    pPrint->MoveWindow(xClose - nMargin - rcPrint.Width(), yButtons, rcPrint.Width(), rcPrint.Height());
    m_control.Create(WS_VISIBLE | WS_BORDER | WS_TABSTOP,
                     CRect(nMargin, nMargin, rcClient.right - nMargin, std::max(nMargin, yButtons - nMargin)), this,
                     IDC_TX_CONTROL);
    m_resize.AddControl(IDC_TX_CONTROL, 0, 0, 1, 1);
    m_resize.AddControl(IDC_STAMPA_RAPPORTO, 1, 1, 1, 1);
    m_resize.AddControl(IDCANCEL, 1, 1, 1, 1);
    m_resize.Resize();

    CTextPageSetup& page = m_control.PageSetup();
    page.nWidth = 11905;
    page.nHeight = 16838;
    page.nMarginLeft = page.nMarginTop = page.nMarginRight = page.nMarginBottom = 850;
    CTextDocument doc;
    CTextCharFormat format;
    format.strFace = L"Verdana";
    format.nHalfPoints = 20;
    CString text = m_strText;
    text.Remove(L'\r');
    text.Replace(L'\n', L'\r');
    doc.AppendText(text, format);
    doc.PageSetup() = page;
    m_control.SetDocument(doc);
    m_control.SetLocked(true);
    return TRUE;
}

void CDlgRappControlli::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    m_resize.Resize();
}

void CDlgRappControlli::OnPrint()
{
    CString strTitle;
    GetWindowText(strTitle);
    PrintTextDocument(this, m_control, strTitle, sheetAsChosen);
}

bool CheckSaldiConsistency(CADOConnection& data)
{
    CConsistencyFindings findings;
    CheckSaldoFinProgVsCalc(data, findings);
    if (findings.GetSize() == 0)
        return true;
    CDlgRappControlli dialog(AfxGetMainWnd(), FormatConsistencyReport(findings));
    dialog.DoModal();
    return false;
}
