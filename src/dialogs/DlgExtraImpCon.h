// Dialog 136: how the 2008 forecast is broken down by responsible (by budget structure or by chapter), and the
// list of the responsible centres. DoModal answers IDOK when the mode or the list changed, IDYES (6) when OK
// was pressed with nothing changed, IDCANCEL when cancelled with the list unchanged.
#pragma once

#include "data/SetResponsabili.h"
#include "dialogs/DlgRecordList.h"

class CDlgExtraImpCon : public CDlgRecordList
{
public:
    // Reads the mode: a database error leaves as _com_error.
    CDlgExtraImpCon(CWnd* pParentWnd, CADOConnection& data);

    // 0 by budget structure, 1 by chapter.
    int m_nMode;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    void SetItemTexts(int nItem, const CADORecord& record) override;
    void UpdateButtons() override;
    afx_msg void OnAdd();
    afx_msg void OnModify();
    afx_msg void OnDelete();
    DECLARE_MESSAGE_MAP()

private:
    void FillList();

    int m_nInitialMode;
};
