// CViewInputFormD07: the attachment D-07 as an input form. It loads and saves its described cells as the plain form
// does; its "Salva" command exports the data sheets shown to an Excel workbook instead, and its print command
// prints them through the grid.
#pragma once

#include "ViewInputForm.h"

class CViewInputFormD07 : public CViewInputForm
{
    DECLARE_DYNCREATE(CViewInputFormD07)
public:
    BOOL LoadData(const CRecordID* pItem) override;

protected:
    afx_msg void OnFileSave();
    afx_msg void OnUpdateFileSave(CCmdUI* pCmdUI);
    afx_msg void OnFilePrint();
    DECLARE_MESSAGE_MAP()
};
