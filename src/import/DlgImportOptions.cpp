#include "DlgImportOptions.h"

#include "platform/mfc/afxdlgs.h"
#include "resource.h"
#include "util/MessageText.h"
#include "util/PathUtil.h"

BEGIN_MESSAGE_MAP(CDlgImportOptions, CDialog)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

BOOL CDlgImportOptions::OnInitDialog()
{
    CDialog::OnInitDialog();
    LOGFONT lf = {};
    if (CFont* pFont = GetFont())
        pFont->GetLogFont(&lf);
    lf.lfWeight = FW_BOLD;
    m_fontNote.CreateFontIndirect(&lf);
    m_brushNote.CreateSolidBrush(RGB(255, 255, 255));
    if (CWnd* pNote = GetDlgItem(IDC_IMP_NOTE))
        pNote->SetFont(&m_fontNote);
    return TRUE;
}

void CDlgImportOptions::DoDataExchange(CDataExchange* pDX)
{
    DDX_Radio(pDX, IDC_IMP_OPTION_ERASE, m_nOption);
}

HBRUSH CDlgImportOptions::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (pWnd && pWnd->GetDlgCtrlID() == IDC_IMP_NOTE) {
        pDC->SetTextColor(RGB(0, 0, 128));
        pDC->SetBkColor(RGB(255, 255, 255));
        return m_brushNote;
    }
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

BOOL CDlgImportOptions::BrowseTextFile(CString& strPath, const CString& strTitle, LPCTSTR pszInitialDir)
{
    CFileDialog dialog(TRUE, L"txt", strPath.Left(MAX_PATH), OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                       LoadResString(IDS_IMPORT_TXT_FILTER), this);
    dialog.m_ofn.lpstrTitle = strTitle;
    dialog.m_ofn.lpstrInitialDir = pszInitialDir;
    if (dialog.DoModal() != IDOK)
        return FALSE;
    strPath = dialog.GetPathName();
    return TRUE;
}

void CDlgImportOptions::FormatItemText(int nID, int nValue)
{
    CString strFormat;
    GetDlgItemText(nID, strFormat);
    SetDlgItemText(nID, FormatString(strFormat, nValue));
}

// Certificate

BEGIN_MESSAGE_MAP(CDlgImpCert, CDlgImportOptions)
    ON_BN_CLICKED(IDC_IMP_CERT_BROWSE, &CDlgImpCert::OnBrowse)
END_MESSAGE_MAP()

CDlgImpCert::CDlgImpCert(CWnd* pParentWnd, int nYear)
    : CDlgImportOptions(IDD_IMP_CERT, pParentWnd), m_nYear(nYear)
{
    m_strPath.Format(L"A:\\Archivi\\CC%02d01.txt", nYear % 100);
}

BOOL CDlgImpCert::OnInitDialog()
{
    CDlgImportOptions::OnInitDialog();
    for (int nID : {IDC_IMP_CERT_GROUP, IDC_IMP_OPTION_ERASE, IDC_IMP_NOTE})
        FormatItemText(nID, m_nYear);
    return TRUE;
}

void CDlgImpCert::DoDataExchange(CDataExchange* pDX)
{
    CDlgImportOptions::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_IMP_CERT_PATH, m_strPath);
}

void CDlgImpCert::OnBrowse()
{
    GetDlgItemText(IDC_IMP_CERT_PATH, m_strPath);
    if (BrowseTextFile(m_strPath, FormatResMessage(IDS_IMPCERT_BROWSE_TITLE, m_nYear), L"A:\\Archivi"))
        SetDlgItemText(IDC_IMP_CERT_PATH, m_strPath);
}

void CDlgImpCert::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    m_strPath.Trim();
    if (!m_strPath.IsEmpty())
        EndDialog(IDOK);
}

// Management software

BEGIN_MESSAGE_MAP(CDlgImpGest, CDlgImportOptions)
    ON_BN_CLICKED(IDC_IMP_REVENUE_BROWSE, &CDlgImpGest::OnBrowseRevenues)
    ON_BN_CLICKED(IDC_IMP_EXPENSE_BROWSE, &CDlgImpGest::OnBrowseExpenses)
END_MESSAGE_MAP()

CDlgImpGest::CDlgImpGest(CWnd* pParentWnd)
    : CDlgImportOptions(IDD_IMP_GEST, pParentWnd), m_strRevenuePath(L"A:\\nentrate.txt"),
      m_strExpensePath(L"A:\\nuscite.txt")
{
}

void CDlgImpGest::DoDataExchange(CDataExchange* pDX)
{
    CDlgImportOptions::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_IMP_REVENUE_PATH, m_strRevenuePath);
    DDX_Text(pDX, IDC_IMP_EXPENSE_PATH, m_strExpensePath);
}

// The expense file is usually beside the revenue file: its name moves into the chosen folder.
void CDlgImpGest::OnBrowseRevenues()
{
    GetDlgItemText(IDC_IMP_REVENUE_PATH, m_strRevenuePath);
    GetDlgItemText(IDC_IMP_EXPENSE_PATH, m_strExpensePath);
    if (!BrowseTextFile(m_strRevenuePath, LoadResString(IDS_IMPGEST_REVENUE_TITLE), L"A:\\"))
        return;
    m_strExpensePath = CombinePath(GetPathDir(m_strRevenuePath), GetPathFileName(m_strExpensePath));
    SetDlgItemText(IDC_IMP_REVENUE_PATH, m_strRevenuePath);
    SetDlgItemText(IDC_IMP_EXPENSE_PATH, m_strExpensePath);
}

void CDlgImpGest::OnBrowseExpenses()
{
    GetDlgItemText(IDC_IMP_EXPENSE_PATH, m_strExpensePath);
    if (BrowseTextFile(m_strExpensePath, LoadResString(IDS_IMPGEST_EXPENSE_TITLE), L"A:\\"))
        SetDlgItemText(IDC_IMP_EXPENSE_PATH, m_strExpensePath);
}

void CDlgImpGest::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    m_strRevenuePath.Trim();
    m_strExpensePath.Trim();
    if (!m_strRevenuePath.IsEmpty() && !m_strExpensePath.IsEmpty())
        EndDialog(IDOK);
}

// Planning product

CDlgImpRel::CDlgImpRel(CWnd* pParentWnd) : CDlgImportOptions(IDD_IMP_REL, pParentWnd)
{
}

BOOL CDlgImpRel::OnInitDialog()
{
    CDlgImportOptions::OnInitDialog();
    SetDlgItemText(IDC_IMP_NOTE, LoadResString(IDS_IMPREL_NOTE));
    return TRUE;
}
