#include "DataView.h"

#include "resource.h"

BOOL CDataView::SetModified(BOOL bModified)
{
    m_bModified = bModified;
    return m_bModified;
}

int CDataView::AskSaveChanges(BOOL bCanCancel)
{
    return AfxMessageBox(IDP_SAVE_CHANGES, MB_ICONQUESTION | (bCanCancel ? MB_YESNOCANCEL : MB_YESNO));
}

BOOL CDataView::QuerySave(BOOL bCanCancel)
{
    if (!IsModified())
        return TRUE;
    switch (AskSaveChanges(bCanCancel)) {
    case IDYES:
        return SaveData();
    case IDNO:
        return TRUE;   // the next load clears the flag
    default:
        return FALSE;
    }
}

void CDataView::SaveWithWaitCursor()
{
    CWaitCursor wait;
    SaveData();
}
