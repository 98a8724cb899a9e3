#include "DlgRecordList.h"

#include "data/AdoErrorText.h"
#include "platform/mfc/afxmsgbox.h"
#include "resource.h"
#include "util/MessageText.h"

BEGIN_MESSAGE_MAP(CDlgRecordList, CDialog)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_ITEM_LIST, &CDlgRecordList::OnItemChanged)
    ON_NOTIFY(LVN_DELETEITEM, IDC_ITEM_LIST, &CDlgRecordList::OnDeleteItem)
END_MESSAGE_MAP()

CDlgRecordList::CDlgRecordList(UINT nIDTemplate, CWnd* pParentWnd, CADOConnection& data)
    : CDialog(nIDTemplate, pParentWnd), m_data(data)
{
}

void CDlgRecordList::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_ITEM_LIST, m_list);
    DDX_Control(pDX, IDC_ITEM_ADD, m_btnAdd);
    DDX_Control(pDX, IDC_ITEM_MODIFY, m_btnModify);
    DDX_Control(pDX, IDC_ITEM_DELETE, m_btnDelete);
}

BOOL CDlgRecordList::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SubclassMyHeader();
    const struct { CMyButton* pButton; UINT nIcon; } icons[] = {
        {&m_btnAdd, IDI_LIST_ADD}, {&m_btnModify, IDI_LIST_MODIFY}, {&m_btnDelete, IDI_LIST_DELETE}};
    for (const auto& icon : icons) {
        icon.pButton->UpdateTooltip();
        icon.pButton->SetIcon(CSize(16, 16), icon.nIcon);
    }
    return TRUE;
}

void CDlgRecordList::SetupList(std::initializer_list<CListColumn> columns)
{
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES |
                            LVS_EX_HEADERDRAGDROP | LVS_EX_INFOTIP);
    int nColumn = 0;
    for (const CListColumn& column : columns)
        m_list.InsertColumn(nColumn++, LoadResString(column.nTitle), LVCFMT_LEFT, column.nWidth, -1,
                            column.pfnCompare);
}

int CDlgRecordList::AppendItem(CADORecord* pRecord)
{
    int nItem = m_list.InsertItem(m_list.GetItemCount(), L"");
    if (nItem < 0) {
        delete pRecord;
        return nItem;
    }
    m_list.SetItemData(nItem, reinterpret_cast<DWORD_PTR>(pRecord));
    SetItemTexts(nItem, *pRecord);
    return nItem;
}

void CDlgRecordList::ReplaceItem(int nItem, CADORecord* pRecord)
{
    delete GetItemRecord(nItem);
    m_list.SetItemData(nItem, reinterpret_cast<DWORD_PTR>(pRecord));
    SetItemTexts(nItem, *pRecord);
}

CADORecord* CDlgRecordList::GetItemRecord(int nItem) const
{
    return reinterpret_cast<CADORecord*>(m_list.GetItemData(nItem));
}

std::vector<int> CDlgRecordList::GetSelectedItems() const
{
    std::vector<int> items;
    for (int nItem = m_list.GetNextItem(-1, LVNI_SELECTED); nItem >= 0;
         nItem = m_list.GetNextItem(nItem, LVNI_SELECTED))
        items.push_back(nItem);
    return items;
}

void CDlgRecordList::SelectOnly(int nItem)
{
    if (nItem < 0)
        return;
    for (int nSelected : GetSelectedItems())
        m_list.SetItemState(nSelected, 0, LVIS_SELECTED);
    m_list.SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.EnsureVisible(nItem, FALSE);
}

void CDlgRecordList::RemoveItems(const std::vector<int>& items)
{
    for (auto it = items.rbegin(); it != items.rend(); ++it)
        m_list.DeleteItem(*it);
    UpdateButtons();
}

BOOL CDlgRecordList::RunGuarded(const std::function<void()>& operation, const CString& strDuplicateText)
{
    try {
        operation();
        return TRUE;
    }
    catch (const _com_error& e) {
        bool bDuplicate = !strDuplicateText.IsEmpty() && m_data.IsDuplicateKeyError();
        AfxMessageBox(bDuplicate ? strDuplicateText : GetComErrorText(e, &m_data),
                      bDuplicate ? MB_ICONEXCLAMATION : MB_ICONERROR);
    }
    catch (CException* e) {
        AfxMessageBox(GetExceptionText(e), MB_ICONERROR);
    }
    return FALSE;
}

void CDlgRecordList::SetModified()
{
    m_bModified = true;
    SetDlgItemText(IDCANCEL, LoadResString(IDS_CHIUDI));
}

void CDlgRecordList::UpdateButtons()
{
    UINT nSelected = m_list.GetSelectedCount();
    GetDlgItem(IDC_ITEM_MODIFY)->EnableWindow(nSelected == 1);
    GetDlgItem(IDC_ITEM_DELETE)->EnableWindow(nSelected >= 1);
}

void CDlgRecordList::OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    if (reinterpret_cast<NMLISTVIEW*>(pNMHDR)->uChanged & LVIF_STATE)
        UpdateButtons();
    *pResult = 0;
}

void CDlgRecordList::OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult)
{
    delete reinterpret_cast<CADORecord*>(reinterpret_cast<NMLISTVIEW*>(pNMHDR)->lParam);
    *pResult = 0;
}

void FormatWindowText(CWnd& wnd, LPCTSTR pszInsert)
{
    CString strFormat;
    wnd.GetWindowText(strFormat);
    wnd.SetWindowText(FormatString(strFormat, pszInsert));
}
