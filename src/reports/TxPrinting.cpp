#include "TxPrinting.h"

#include "platform/mfc/afxmsgbox.h"
#include "platform/mfc/afxprintdlg.h"
#include "resource.h"

BOOL PrintTextDocument(CWnd* pOwner, const CTX4OLE& control, LPCTSTR pszTitle, CTxPrintJob* pJob)
{
    const int nPages = control.GetPageCount();
    CPrintDialog dialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIESANDCOLLATE | PD_NOSELECTION | PD_HIDEPRINTTOFILE |
                                   PD_RETURNDC,
                        pOwner);
    dialog.m_pd.nMinPage = 1;
    dialog.m_pd.nMaxPage = static_cast<WORD>(nPages);
    dialog.m_pd.nFromPage = 1;
    dialog.m_pd.nToPage = static_cast<WORD>(nPages);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    HDC hdc = dialog.GetPrinterDC();
    if (!hdc)
        return FALSE;
    const int nCopies = dialog.GetCopies();
    // The page set-up decides the sheet: A4, across when it is wider than high. The control prints every copy
    // itself, so the printer makes one of each page: a driver making the copies too would multiply them.
    if (LPDEVMODEW pMode = dialog.GetDevMode()) {
        const CTextPageSetup& page = control.PageSetup();
        pMode->dmFields |= DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES;
        pMode->dmOrientation = page.nWidth > page.nHeight ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
        pMode->dmPaperSize = DMPAPER_A4;
        pMode->dmCopies = 1;
        ::ResetDCW(hdc, pMode);
        ::GlobalUnlock(dialog.m_pd.hDevMode);
    }
    const int nSent = control.Print(hdc, pszTitle, dialog.GetFromPage(), dialog.GetToPage(), nCopies, pJob);
    ::DeleteDC(hdc);
    if (nSent == 0) {
        AfxMessageBox(IDP_TX_PRINT_FAILED, MB_ICONEXCLAMATION);
        return FALSE;
    }
    return TRUE;
}
