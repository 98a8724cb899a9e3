#include "ui/commandbars/XTPNewToolbarDlg.h"

#include "platform/mfc/afxdatax.h"
#include "platform/mfc/afxmsgbox.h"
#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/uires.h"

namespace
{
// The ids of the user's toolbars: 0xE800 to 0xE8FE.
const UINT kFirstToolbarId = 0xE800;
const UINT kLastToolbarId = 0xE8FF;

CString LoadResourceString(UINT nID)
{
    CString str;
    XTPGetResourceLoader()->LoadString(&str, nID);
    return str;
}

BOOL IsTitleUsed(const CXTPCommandBars* pCommandBars, const CString& strTitle, const CXTPToolBar* pExcept)
{
    for (int i = 0; i < pCommandBars->GetCount(); i++) {
        CXTPToolBar* pBar = pCommandBars->GetAt(i);
        if (pBar != pExcept && pBar->GetTitle() == strTitle)
            return TRUE;
    }
    return FALSE;
}

// The text holds one "%d" and no other conversion ("%%" is a plain percent sign).
BOOL IsSingleNumberFormat(const CString& strFormat)
{
    int nNumbers = 0;
    for (int i = 0; i < strFormat.GetLength(); i++) {
        if (strFormat[i] != L'%')
            continue;
        if (i + 1 < strFormat.GetLength() && strFormat[i + 1] == L'%') {
            i++;
            continue;
        }
        if (i + 1 < strFormat.GetLength() && strFormat[i + 1] == L'd') {
            nNumbers++;
            i++;
            continue;
        }
        return FALSE;
    }
    return nNumbers == 1;
}

CString FormatName(const CString& strFormat, int n)
{
    CString str;
    if (IsSingleNumberFormat(strFormat))
        str.Format(strFormat, n);
    else
        str.Format(L"%s%d", static_cast<LPCTSTR>(strFormat), n);
    return str;
}
}

CXTPNewToolbarDlg::CXTPNewToolbarDlg(CWnd* pParent, CXTPCommandBars* pCommandBars, CXTPToolBar* pToolBar)
    : m_pToolBar(pToolBar), m_pCommandBars(pCommandBars)
{
    InitModalIndirect(XTPGetResourceLoader()->LoadDialogTemplate(XTP_IDD_NEWTOOLBAR), pParent);
}

CString CXTPNewToolbarDlg::ProposeName(const CXTPCommandBars* pCommandBars)
{
    CString strFormat = LoadResourceString(XTP_IDS_CUSTOM_BAR);
    int n = 1;
    while (IsTitleUsed(pCommandBars, FormatName(strFormat, n), nullptr))
        n++;
    return FormatName(strFormat, n);
}

BOOL CXTPNewToolbarDlg::OnInitDialog()
{
    if (m_pToolBar) {
        m_strToolbar = m_pToolBar->GetTitle();
        SetWindowText(LoadResourceString(XTP_IDS_RENAMETOOLBAR));
    } else {
        m_strToolbar = ProposeName(m_pCommandBars);
    }
    return CDialog::OnInitDialog();
}

void CXTPNewToolbarDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, XTP_IDC_TOOLBAR_NAME, m_strToolbar);
}

void CXTPNewToolbarDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (m_strToolbar.IsEmpty()) {
        AfxMessageBox(LoadResourceString(XTP_IDS_ERROR_BLANKNAME), MB_OK | MB_ICONERROR);
        return;
    }
    m_nNewID = kFirstToolbarId;
    for (int i = 0; i < m_pCommandBars->GetCount(); i++) {
        CXTPToolBar* pBar = m_pCommandBars->GetAt(i);
        if (!m_pToolBar && pBar->GetBarID() == m_nNewID) {
            m_nNewID++;
            if (m_nNewID >= kLastToolbarId) {
                AfxMessageBox(LoadResourceString(XTP_IDS_ERROR_LIMIT), MB_OK | MB_ICONERROR);
                EndDialog(IDCANCEL);
                return;
            }
            i = -1;
            continue;
        }
        if (pBar != m_pToolBar && pBar->GetTitle() == m_strToolbar) {
            CString strPrompt = LoadResourceString(XTP_IDS_ERROR_EXISTS);
            strPrompt.Replace(L"|", m_strToolbar);
            AfxMessageBox(strPrompt, MB_OK | MB_ICONERROR);
            return;
        }
    }
    EndDialog(IDOK);
}
