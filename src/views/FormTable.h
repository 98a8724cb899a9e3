// Which workbook opens in which view for each input-form command. The main frame's range handler of the
// commands 40000 to 40999 looks the command up here and switches to the view class with a CTextID of the
// workbook.
#pragma once

#include "platform/mfc/afxwin.h"

struct FORM_TABLE_ENTRY
{
    UINT nCommand;
    LPCTSTR pszWorkbook;
    CRuntimeClass* pViewClass;
};

// The first row of the command, or null. With the accounting by chapters (bByChapter), 40016 opens the
// chapter items of the centres and 40017 opens nothing.
const FORM_TABLE_ENTRY* FindFormEntry(UINT nCommand, BOOL bByChapter);
