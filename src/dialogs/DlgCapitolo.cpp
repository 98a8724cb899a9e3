#include "DlgCapitolo.h"

#include "dialogs/DlgRecordList.h"
#include "forms/ADODataExchange.h"
#include "platform/mfc/afxmsgbox.h"
#include "resource.h"
#include "util/MessageText.h"

namespace {

// The edit's text read as a whole number; 0 when it is none.
long ItemNumber(CWnd& dialog, int nID)
{
    CString strText;
    dialog.GetDlgItemText(nID, strText);
    LONGLONG value = 0;
    return AfxParseInteger(strText, 0, LONG_MAX, value) ? static_cast<long>(value) : 0;
}

} // namespace

UINT CheckCodUEB(int nKind, LPCTSTR pszCode)
{
    CString strCode(pszCode);
    if (strCode.GetLength() != 7 || strCode.SpanIncluding(L"0123456789").GetLength() != 7)
        return IDP_UEB_LENGTH;
    TCHAR chTitle = strCode[0];
    if (nKind == CSetCapitoli::kindEntrate)
        return chTitle >= L'1' && chTitle <= L'4' ? 0 : IDP_UEB_ENTRATA_TITLE;
    return chTitle == L'1' || chTitle == L'2' ? 0 : IDP_UEB_SPESA_TITLE;
}

CString GetCapitoloKindText(int nKind)
{
    return LoadResString(nKind == CSetCapitoli::kindSpese ? IDS_KIND_SPESA : IDS_KIND_ENTRATA);
}

BEGIN_MESSAGE_MAP(CDlgCapitolo, CDialog)
    ON_EN_CHANGE(IDC_CAP_NUMBER, &CDlgCapitolo::OnEditChange)
    ON_EN_CHANGE(IDC_CAP_DESCRIPTION, &CDlgCapitolo::OnEditChange)
    ON_EN_CHANGE(IDC_CAP_CODUEB, &CDlgCapitolo::OnEditChange)
END_MESSAGE_MAP()

CDlgCapitolo::CDlgCapitolo(CWnd* pParentWnd, int nKind, const CRecCapitolo* pRecord)
    : CDialog(IDD_CAPITOLO, pParentWnd), m_nKind(nKind), m_bModify(pRecord != nullptr)
{
    if (pRecord)
        m_rec = *pRecord;
}

BOOL CDlgCapitolo::OnInitDialog()
{
    CDialog::OnInitDialog();
    FormatWindowText(*this, GetCapitoloKindText(m_nKind));
    OnEditChange();
    if (!m_bModify)
        return TRUE;
    SendDlgItemMessage(IDC_CAP_NUMBER, EM_SETREADONLY, TRUE);
    CWnd* pDescription = GetDlgItem(IDC_CAP_DESCRIPTION);
    GotoDlgCtrl(pDescription);
    pDescription->SendMessage(EM_SETSEL, 0, -1);
    return FALSE;
}

void CDlgCapitolo::DoDataExchange(CDataExchange* pDX)
{
    DDX_ADOLong(pDX, IDC_CAP_NUMBER, m_rec.m_ID, IDP_FIELD_REQUIRED);
    DDX_ADOText(pDX, IDC_CAP_DESCRIPTION, m_rec.m_descrizione, IDP_FIELD_REQUIRED);
    DDV_ADOMaxChars(pDX, m_rec.m_descrizione);
    DDX_ADOText(pDX, IDC_CAP_CODUEB, m_rec.m_codUEB, IDP_FIELD_REQUIRED);
    DDV_ADOMaxChars(pDX, m_rec.m_codUEB);
}

void CDlgCapitolo::OnEditChange()
{
    CString strDescription;
    GetDlgItemText(IDC_CAP_DESCRIPTION, strDescription);
    strDescription.Trim();
    BOOL bEnable = ItemNumber(*this, IDC_CAP_NUMBER) >= 1 && !strDescription.IsEmpty() &&
                   ItemNumber(*this, IDC_CAP_CODUEB) >= 1;
    GetDlgItem(IDOK)->EnableWindow(bEnable);
}

void CDlgCapitolo::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    CString strDescription = m_rec.m_descrizione.GetText();
    m_rec.m_descrizione.SetText(strDescription.Trim());
    if (UINT nIDPrompt = CheckCodUEB(m_nKind, m_rec.m_codUEB.GetText())) {
        AfxMessageBox(nIDPrompt, MB_ICONEXCLAMATION);
        CWnd* pCode = GetDlgItem(IDC_CAP_CODUEB);
        GotoDlgCtrl(pCode);
        pCode->SendMessage(EM_SETSEL, 0, -1);
        return;
    }
    EndDialog(IDOK);
}
