#include "DlgCentroServ.h"

#include "forms/ADODataExchange.h"
#include "resource.h"
#include "util/MessageText.h"

namespace {

CString TrimmedItemText(CWnd& dialog, int nID)
{
    CString strText;
    dialog.GetDlgItemText(nID, strText);
    return strText.Trim();
}

void TrimField(CADOBaseString& field)
{
    CString strText = field.GetText();
    field.SetText(strText.Trim());
}

} // namespace

BEGIN_MESSAGE_MAP(CDlgCentroServ, CDialog)
    ON_CBN_SELENDOK(IDC_TIPO_RESP, &CDlgCentroServ::OnTypeChosen)
    ON_EN_CHANGE(IDC_CENTRO_NAME, &CDlgCentroServ::OnNameChange)
    ON_EN_CHANGE(IDC_RESP_NAME, &CDlgCentroServ::OnNameChange)
END_MESSAGE_MAP()

CDlgCentroServ::CDlgCentroServ(CWnd* pParentWnd, const CRecResponsabile* pRecord)
    : CDialog(IDD_CENTRO_SERV, pParentWnd)
{
    if (pRecord)
        m_rec = *pRecord;
}

BOOL CDlgCentroServ::OnInitDialog()
{
    for (UINT nID : {IDS_TIPO_AREA, IDS_TIPO_SETTORE, IDS_TIPO_SERVIZI}) {
        CString strType = LoadResString(nID);
        SendDlgItemMessage(IDC_TIPO_RESP, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strType.GetString()));
    }
    CDialog::OnInitDialog();
    if (!m_rec.m_tipoResp.IsNull())
        ShowHeadLabel(m_rec.m_tipoResp.GetValue());
    OnNameChange();
    return TRUE;
}

void CDlgCentroServ::DoDataExchange(CDataExchange* pDX)
{
    DDX_ADOComboIndex(pDX, IDC_TIPO_RESP, m_rec.m_tipoResp, IDP_FIELD_REQUIRED);
    DDX_ADOText(pDX, IDC_CENTRO_NAME, m_rec.m_centroServ, IDP_FIELD_REQUIRED);
    DDV_ADOMaxChars(pDX, m_rec.m_centroServ);
    DDX_ADOText(pDX, IDC_RESP_NAME, m_rec.m_responsabile, IDP_FIELD_REQUIRED);
    DDV_ADOMaxChars(pDX, m_rec.m_responsabile);
}

void CDlgCentroServ::ShowHeadLabel(long nType)
{
    CRecResponsabile rec;
    rec.m_tipoResp.SetValue(nType);
    CString strHead = rec.GetCaricaText();
    if (!strHead.IsEmpty())
        SetDlgItemText(IDC_RESP_LABEL, strHead + L":");
}

void CDlgCentroServ::OnTypeChosen()
{
    ShowHeadLabel(static_cast<long>(SendDlgItemMessage(IDC_TIPO_RESP, CB_GETCURSEL)));
}

void CDlgCentroServ::OnNameChange()
{
    GetDlgItem(IDOK)->EnableWindow(!TrimmedItemText(*this, IDC_CENTRO_NAME).IsEmpty() &&
                                   !TrimmedItemText(*this, IDC_RESP_NAME).IsEmpty());
}

void CDlgCentroServ::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    TrimField(m_rec.m_centroServ);
    TrimField(m_rec.m_responsabile);
    EndDialog(IDOK);
}
