// Printing of the control's document for the views and the print dialog: the system's print dialog (pages 1
// to the document's pages, copies and collation held in the device mode, the device context returned), then the
// print job. What the user chooses in the dialog (printer, sheet, orientation, copies, collation) is what prints.
#pragma once

#include "platform/textdoc/TxControl.h"

// The page the control forms are laid out on, in the views and in the combined print: A4 landscape with 15 mm
// margins.
void SetupReportPage(CTextPageSetup& page);

enum PrintSheet
{
    sheetAsChosen,      // the dialog starts from the printer's own settings
    sheetA4AsPage,      // the dialog starts from the default printer with A4 turned as the document's page
};

// Answers FALSE when the user cancelled or the job could not start (the user has been told then). The pages go
// to pJob, the system's print job when null.
BOOL PrintTextDocument(CWnd* pOwner, const CTX4OLE& control, LPCTSTR pszTitle, PrintSheet nSheet,
                       CTxPrintJob* pJob = nullptr);
