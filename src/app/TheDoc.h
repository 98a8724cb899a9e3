// The one document of the program. It holds no data: every view reads and writes the databases itself.
#pragma once

#include "platform/mfc/afxdoc.h"

class CTheDoc : public CDocument
{
    DECLARE_DYNCREATE(CTheDoc)
protected:
    // Saving is the data views' business; a Save that reaches the document finds nothing to save.
    afx_msg void OnFileSave() {}
    afx_msg void OnUpdateFileSave(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};
