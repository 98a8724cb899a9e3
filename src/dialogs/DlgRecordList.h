// Base of the dialogs that keep a table's rows in a report list with add, change and delete buttons (1003,
// 1004, 1012): each list item carries a heap copy of its record, freed with the item. Change is enabled with
// exactly one item selected, delete with at least one. Once the list has changed, Cancel reads "Chiudi". The
// three buttons show icons, their captions in tooltips; a click on a heading sorts the list by that column.
#pragma once

#include "controls/MyButton.h"
#include "controls/MyListCtrl.h"
#include "data/ADOConnection.h"
#include "data/ADORecord.h"
#include "platform/mfc/afxcmn.h"
#include "platform/mfc/afxwaitcursor.h"
#include "platform/mfc/afxwin.h"

#include <functional>
#include <vector>

class CDlgRecordList : public CDialog
{
protected:
    CDlgRecordList(UINT nIDTemplate, CWnd* pParentWnd, CADOConnection& data);

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    struct CListColumn
    {
        UINT nTitle;   // string id
        int nWidth;
        PFNLISTCOMPARE pfnCompare = nullptr;   // by text
    };
    // Full-row selection, grid lines, header drag and info tips, and the columns.
    void SetupList(std::initializer_list<CListColumn> columns);

    // The item takes the record; the item's texts come from SetItemTexts.
    int AppendItem(CADORecord* pRecord);
    void ReplaceItem(int nItem, CADORecord* pRecord);
    CADORecord* GetItemRecord(int nItem) const;
    std::vector<int> GetSelectedItems() const;
    void SelectOnly(int nItem);
    // From the last to the first.
    void RemoveItems(const std::vector<int>& items);
    virtual void SetItemTexts(int nItem, const CADORecord& record) = 0;

    // Runs a database operation; its error is shown (a duplicate key with strDuplicateText when given) and
    // answers FALSE, leaving the dialog as it was.
    BOOL RunGuarded(const std::function<void()>& operation, const CString& strDuplicateText = CString());
    void SetModified();
    virtual void UpdateButtons();

    // Deletes the records of the given items (found by their m_ID in the table-direct set that makeSet makes) in
    // one transaction; only when it went through do the items leave the list.
    template <class TRecord, class MakeSet>
    void DeleteItems(const std::vector<int>& items, MakeSet makeSet)
    {
        CWaitCursor wait;
        auto remove = [&] {
            CADOTransaction transaction(m_data);
            auto set = makeSet();
            set.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
            for (int nItem : items) {
                const TRecord* pRec = static_cast<const TRecord*>(GetItemRecord(nItem));
                _variant_t key(pRec->m_ID.GetValue());
                if (!pRec->m_ID.IsNull() && set.FindByKey(1, &key, TRUE))
                    set.Delete();
            }
            transaction.Commit();
        };
        if (RunGuarded(remove)) {
            SetModified();
            RemoveItems(items);
        }
    }

    afx_msg void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

    CADOConnection& m_data;
    CMyListCtrl m_list;
    CMyButton m_btnAdd;
    CMyButton m_btnModify;
    CMyButton m_btnDelete;
    bool m_bModified = false;
};

// "%s" of a dialog item's (or, for 0, the dialog's) text filled in.
void FormatWindowText(CWnd& wnd, LPCTSTR pszInsert);
