#include "TheDoc.h"

#include "platform/mfc/afxres.h"

IMPLEMENT_DYNCREATE(CTheDoc, CDocument)

BEGIN_MESSAGE_MAP(CTheDoc, CDocument)
    ON_COMMAND(ID_FILE_SAVE, &CTheDoc::OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, &CTheDoc::OnFileSave)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, &CTheDoc::OnUpdateFileSave)
END_MESSAGE_MAP()
