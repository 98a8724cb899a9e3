// Dialog 234: the budget chapters of one kind, to add, change, delete and choose from. Changing or deleting a
// chapter changes or deletes the responsibles' lines that refer to it (cascade in the database).
#pragma once

#include "data/SetCapitoli.h"
#include "dialogs/DlgRecordList.h"

class CDlgCapitoli : public CDlgRecordList
{
public:
    // nKind: CSetCapitoli::Kind.
    CDlgCapitoli(CWnd* pParentWnd, CADOConnection& data, int nKind);

    // The chosen chapter, after OK.
    CRecCapitolo m_recResult;
    // A chapter was changed or deleted.
    bool IsModified() const { return m_bModified; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void SetItemTexts(int nItem, const CADORecord& record) override;
    void UpdateButtons() override;
    afx_msg void OnAdd();
    afx_msg void OnModify();
    afx_msg void OnDelete();
    DECLARE_MESSAGE_MAP()

private:
    void FillList();
    CString DuplicateText(const CRecCapitolo& rec) const;

    int m_nKind;
};
