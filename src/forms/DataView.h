// CDataView: the second base of every view that shows editable data (input forms, the authority-data form,
// the text-document views). Through it the main frame asks whether the view holds unsaved changes, asks the
// user whether to save them, hands the view the item to show and makes it save, without knowing the view's
// class.
#pragma once

#include "RecordID.h"

#include "platform/mfc/afxwin.h"

class CDataView
{
public:
    virtual BOOL IsModified() const { return m_bModified; }
    // Stores the flag and answers it.
    virtual BOOL SetModified(BOOL bModified);
    // The save question (string 1024) with Yes/No/Cancel, or Yes/No when the user may not cancel; answers the
    // button pressed.
    virtual int AskSaveChanges(BOOL bCanCancel);
    // TRUE when the caller may go on: nothing to save, saved, or the user dropped the changes. FALSE when
    // the user cancelled or the save failed (the view has said why and stays dirty).
    virtual BOOL QuerySave(BOOL bCanCancel);
    // Shows the item; FALSE when it cannot (the view has said why).
    virtual BOOL LoadData(const CRecordID* pItem) = 0;
    // Writes the view's data; FALSE on failure after the view has said why. On success the flag is cleared.
    virtual BOOL SaveData() { return TRUE; }
    // The item shown, or null.
    virtual const CRecordID* GetRecordID() const = 0;

    // The views' "Salva" command (ID_FILE_SAVE): the save under the wait cursor, and its state, enabled only
    // while there is something to save.
    void SaveWithWaitCursor();
    void UpdateSaveCommand(CCmdUI* pCmdUI) const { pCmdUI->Enable(IsModified()); }

protected:
    CDataView() = default;
    ~CDataView() = default;   // views are deleted as windows, never through this base

    BOOL m_bModified = FALSE;
};
