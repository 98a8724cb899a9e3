#include "DlgExtraImpCon.h"

#include "data/SetSettings.h"
#include "dialogs/DlgCentroServ.h"
#include "platform/mfc/afxmsgbox.h"
#include "resource.h"
#include "util/MessageText.h"

BEGIN_MESSAGE_MAP(CDlgExtraImpCon, CDlgRecordList)
    ON_BN_CLICKED(IDC_ITEM_ADD, &CDlgExtraImpCon::OnAdd)
    ON_BN_CLICKED(IDC_ITEM_MODIFY, &CDlgExtraImpCon::OnModify)
    ON_BN_CLICKED(IDC_ITEM_DELETE, &CDlgExtraImpCon::OnDelete)
END_MESSAGE_MAP()

CDlgExtraImpCon::CDlgExtraImpCon(CWnd* pParentWnd, CADOConnection& data)
    : CDlgRecordList(IDD_EXTRA_IMP_CON, pParentWnd, data),
      m_nMode(CSetSettings::GetSettingImpExtraCont2(data)), m_nInitialMode(m_nMode)
{
}

BOOL CDlgExtraImpCon::OnInitDialog()
{
    CDlgRecordList::OnInitDialog();
    CRect rcClient;
    m_list.GetClientRect(&rcClient);
    int nHalf = rcClient.Width() / 2;
    SetupList({{IDS_COL_TIPOLOGIA, 60}, {IDS_COL_CENTRO, nHalf - 140}, {IDS_COL_CARICA, 80},
               {IDS_COL_RESPONSABILE, rcClient.Width() - nHalf}});
    RunGuarded([this] { FillList(); });
    UpdateButtons();
    return TRUE;
}

void CDlgExtraImpCon::DoDataExchange(CDataExchange* pDX)
{
    CDlgRecordList::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_MODE_STRUTTURA, m_nMode);
}

void CDlgExtraImpCon::FillList()
{
    CSetResponsabili set(m_data);
    set.OpenByCentroServ();
    for (; !set.IsEOF(); set.MoveNext())
        AppendItem(new CRecResponsabile(set.m_rec));
}

void CDlgExtraImpCon::SetItemTexts(int nItem, const CADORecord& record)
{
    const CRecResponsabile& rec = static_cast<const CRecResponsabile&>(record);
    m_list.SetItemText(nItem, 0, rec.GetTipologiaText());
    m_list.SetItemText(nItem, 1, rec.m_centroServ.GetText());
    m_list.SetItemText(nItem, 2, rec.GetCaricaText());
    m_list.SetItemText(nItem, 3, rec.m_responsabile.GetText());
}

// Once the list has changed the changes are kept: the dialog can only be closed.
void CDlgExtraImpCon::UpdateButtons()
{
    CDlgRecordList::UpdateButtons();
    CWnd* pOK = GetDlgItem(IDOK);
    pOK->EnableWindow(m_list.GetItemCount() > 0);
    pOK->ShowWindow(m_bModified ? SW_HIDE : SW_SHOW);
}

void CDlgExtraImpCon::OnAdd()
{
    CDlgCentroServ dialog(this, nullptr);
    while (dialog.DoModal() == IDOK) {
        CRecResponsabile rec = dialog.m_rec;
        auto add = [&] {
            CSetResponsabili set(m_data);
            set.OpenNullKey();
            set.m_rec = rec;
            set.AddNew();
            rec.m_ID = set.m_rec.m_ID;
        };
        if (RunGuarded(add)) {
            SetModified();
            SelectOnly(AppendItem(new CRecResponsabile(rec)));
            UpdateButtons();
            return;
        }
    }
}

void CDlgExtraImpCon::OnModify()
{
    std::vector<int> selected = GetSelectedItems();
    if (selected.size() != 1)
        return;
    int nItem = selected.front();
    CDlgCentroServ dialog(this, static_cast<CRecResponsabile*>(GetItemRecord(nItem)));
    while (dialog.DoModal() == IDOK) {
        CRecResponsabile rec = dialog.m_rec;
        auto change = [&] {
            CSetResponsabili set(m_data);
            set.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
            _variant_t key(rec.m_ID.GetValue());
            if (!set.FindByKey(1, &key, TRUE))
                return;
            set.m_rec.m_tipoResp = rec.m_tipoResp;
            set.m_rec.m_centroServ = rec.m_centroServ;
            set.m_rec.m_responsabile = rec.m_responsabile;
            set.Update();
        };
        if (RunGuarded(change)) {
            ReplaceItem(nItem, new CRecResponsabile(rec));
            return;
        }
    }
}

void CDlgExtraImpCon::OnDelete()
{
    std::vector<int> selected = GetSelectedItems();
    if (selected.empty() || AfxMessageBox(IDP_CENTRI_DELETE, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    DeleteItems<CRecResponsabile>(selected, [&] { return CSetResponsabili(m_data); });
}

void CDlgExtraImpCon::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(m_nMode != m_nInitialMode || m_bModified ? IDOK : IDYES);
}

void CDlgExtraImpCon::OnCancel()
{
    EndDialog(m_bModified ? IDOK : IDCANCEL);
}
