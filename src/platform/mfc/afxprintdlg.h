// CPrintDialog: the system's print and printer set-up dialogs, and the query of the default printer. DoModal
// and GetDefaults go through the modal seam of CDialog: with a handler installed, the handler gets the dialog
// (no window; GetDefaults sets PD_RETURNDEFAULT in m_pd.Flags) and answers IDOK or IDCANCEL, filling m_pd
// as the system would: the printer's hDevNames and hDevMode, the pages, and with PD_RETURNDC the device
// context to print on (tests inject a memory DC there).
//
// Handles: a device context nobody took with GetPrinterDC, and hDevNames/hDevMode that are not the
// application's printer, are freed with the dialog. A dialog that starts on the application's printer hands
// the printer chosen back to the application (the system may have replaced the handles).
#pragma once

#include "afxdialog.h"

#include <commdlg.h>

class CPrintDialog : public CDialog
{
    DECLARE_DYNAMIC(CPrintDialog)
public:
    explicit CPrintDialog(BOOL bPrintSetupOnly,
                          DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                          PD_NOSELECTION,
                          CWnd* pParentWnd = nullptr);
    ~CPrintDialog() override;

    PRINTDLGW m_pd = {};

    INT_PTR DoModal() override;
    // The default printer into m_pd (no dialog is shown); FALSE when there is none.
    BOOL GetDefaults();

    // The device context chosen (PD_RETURNDC); from now on the caller deletes it.
    HDC GetPrinterDC();
    // Copies asked for: the device mode's with PD_USEDEVMODECOPIES, else the dialog's.
    int GetCopies() const;
    BOOL PrintAll() const { return !PrintRange() && !PrintSelection(); }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
    // The page range, -1 each when all pages are printed.
    int GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
    int GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }
    // The device mode, locked: the caller unlocks it with GlobalUnlock(m_pd.hDevMode). Null without one.
    LPDEVMODEW GetDevMode() const;
    CString GetDriverName() const;
    CString GetDeviceName() const;
    CString GetPortName() const;

private:
    INT_PTR RunDialog();
    CString GetDevNamesString(WORD DEVNAMES::*pOffset) const;
};
