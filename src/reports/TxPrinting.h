// Printing of the control's document for the views and the print dialog: the system's print dialog (pages 1
// to the document's pages, copies held in the device mode, the device context returned), the page's
// orientation and A4 paper on the chosen printer, then the print job.
#pragma once

#include "platform/textdoc/TxControl.h"

// Answers FALSE when the user cancelled or the job could not start (the user has been told then). The pages go
// to pJob, the system's print job when null.
BOOL PrintTextDocument(CWnd* pOwner, const CTX4OLE& control, LPCTSTR pszTitle, CTxPrintJob* pJob = nullptr);
