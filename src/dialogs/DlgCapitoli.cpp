#include "DlgCapitoli.h"

#include "dialogs/DlgCapitolo.h"
#include "platform/mfc/afxmsgbox.h"
#include "resource.h"
#include "util/MessageText.h"

BEGIN_MESSAGE_MAP(CDlgCapitoli, CDlgRecordList)
    ON_BN_CLICKED(IDC_ITEM_ADD, &CDlgCapitoli::OnAdd)
    ON_BN_CLICKED(IDC_ITEM_MODIFY, &CDlgCapitoli::OnModify)
    ON_BN_CLICKED(IDC_ITEM_DELETE, &CDlgCapitoli::OnDelete)
END_MESSAGE_MAP()

CDlgCapitoli::CDlgCapitoli(CWnd* pParentWnd, CADOConnection& data, int nKind)
    : CDlgRecordList(IDD_CAPITOLI, pParentWnd, data), m_nKind(nKind)
{
}

BOOL CDlgCapitoli::OnInitDialog()
{
    CDlgRecordList::OnInitDialog();
    CString strKind = GetCapitoloKindText(m_nKind);
    FormatWindowText(*this, strKind);
    FormatWindowText(*GetDlgItem(0xFFFF), strKind);
    CRect rcClient;
    m_list.GetClientRect(&rcClient);
    SetupList({{IDS_COL_CAPITOLO, 60, CompareInteger}, {IDS_COL_DESCRIZIONE, rcClient.Width() - 151},
               {IDS_COL_CODUEB, 90}});
    RunGuarded([this] { FillList(); });
    UpdateButtons();
    return TRUE;
}

void CDlgCapitoli::FillList()
{
    CSetCapitoli set(m_data, m_nKind);
    set.OpenOrderedById();
    for (; !set.IsEOF(); set.MoveNext())
        AppendItem(new CRecCapitolo(set.m_rec));
}

void CDlgCapitoli::SetItemTexts(int nItem, const CADORecord& record)
{
    const CRecCapitolo& rec = static_cast<const CRecCapitolo&>(record);
    CString strNumber;
    strNumber.Format(L"%d", static_cast<int>(rec.m_ID.GetValue()));
    m_list.SetItemText(nItem, 0, strNumber);
    m_list.SetItemText(nItem, 1, rec.m_descrizione.GetText());
    m_list.SetItemText(nItem, 2, rec.m_codUEB.GetText());
}

void CDlgCapitoli::UpdateButtons()
{
    CDlgRecordList::UpdateButtons();
    GetDlgItem(IDOK)->EnableWindow(m_list.GetSelectedCount() == 1);
}

CString CDlgCapitoli::DuplicateText(const CRecCapitolo& rec) const
{
    return FormatResMessage(IDP_CAPITOLO_DUPLICATE, GetCapitoloKindText(m_nKind).GetString(),
                            static_cast<int>(rec.m_ID.GetValue()));
}

// After a refusal of the database the chapter dialog opens again with what the user typed.
void CDlgCapitoli::OnAdd()
{
    CDlgCapitolo dialog(this, m_nKind, nullptr);
    while (dialog.DoModal() == IDOK) {
        CRecCapitolo rec = dialog.m_rec;
        auto add = [&] {
            CSetCapitoli set(m_data, m_nKind);
            set.OpenNullKey();
            set.m_rec = rec;
            set.AddNew();
        };
        if (RunGuarded(add, DuplicateText(rec))) {
            SelectOnly(AppendItem(new CRecCapitolo(rec)));
            return;
        }
    }
}

void CDlgCapitoli::OnModify()
{
    std::vector<int> selected = GetSelectedItems();
    if (selected.size() != 1)
        return;
    int nItem = selected.front();
    AfxMessageBox(FormatResMessage(IDP_CAPITOLO_MODIFY, GetCapitoloKindText(m_nKind).GetString()),
                  MB_ICONEXCLAMATION);
    CDlgCapitolo dialog(this, m_nKind, static_cast<CRecCapitolo*>(GetItemRecord(nItem)));
    while (dialog.DoModal() == IDOK) {
        CRecCapitolo rec = dialog.m_rec;
        auto change = [&] {
            CSetCapitoli set(m_data, m_nKind);
            set.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
            _variant_t key(rec.m_ID.GetValue());
            if (!set.FindByKey(1, &key, TRUE))
                return;
            set.m_rec.m_descrizione = rec.m_descrizione;
            set.m_rec.m_codUEB = rec.m_codUEB;
            set.Update();
        };
        if (RunGuarded(change)) {
            SetModified();
            ReplaceItem(nItem, new CRecCapitolo(rec));
            return;
        }
    }
}

void CDlgCapitoli::OnDelete()
{
    std::vector<int> selected = GetSelectedItems();
    if (selected.empty() ||
        AfxMessageBox(FormatResMessage(IDP_CAPITOLI_DELETE, GetCapitoloKindText(m_nKind).GetString()),
                      MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    DeleteItems<CRecCapitolo>(selected, [&] { return CSetCapitoli(m_data, m_nKind); });
}

void CDlgCapitoli::OnOK()
{
    std::vector<int> selected = GetSelectedItems();
    if (selected.size() != 1)
        return;
    m_recResult = *static_cast<const CRecCapitolo*>(GetItemRecord(selected.front()));
    EndDialog(IDOK);
}
