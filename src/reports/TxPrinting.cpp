#include "TxPrinting.h"

#include "platform/mfc/afxmsgbox.h"
#include "platform/mfc/afxprintdlg.h"
#include "resource.h"

namespace {

// The default printer's settings with A4 turned as the page, as the choice the dialog offers first. Only the
// settings are asked for: a device context returned here would be left behind by the dialog that follows.
void PresetSheet(CPrintDialog& dialog, const CTextPageSetup& page)
{
    const DWORD dwFlags = dialog.m_pd.Flags;
    dialog.m_pd.Flags &= ~PD_RETURNDC;
    const BOOL bFound = dialog.GetDefaults();
    dialog.m_pd.Flags = dwFlags;
    if (!bFound)
        return;
    if (LPDEVMODEW pMode = dialog.GetDevMode()) {
        pMode->dmFields |= DM_ORIENTATION | DM_PAPERSIZE;
        pMode->dmOrientation = page.nWidth > page.nHeight ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
        pMode->dmPaperSize = DMPAPER_A4;
        ::GlobalUnlock(dialog.m_pd.hDevMode);
    }
}

} // namespace

void SetupReportPage(CTextPageSetup& page)
{
    page.nWidth = 16838;
    page.nHeight = 11905;
    page.nMarginLeft = page.nMarginTop = page.nMarginRight = page.nMarginBottom = 850;
}

BOOL PrintTextDocument(CWnd* pOwner, const CTX4OLE& control, LPCTSTR pszTitle, PrintSheet nSheet, CTxPrintJob* pJob)
{
    const int nPages = control.GetPageCount();
    CPrintDialog dialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIESANDCOLLATE | PD_NOSELECTION | PD_HIDEPRINTTOFILE |
                                   PD_RETURNDC,
                        pOwner);
    if (nSheet == sheetA4AsPage)
        PresetSheet(dialog, control.PageSetup());
    dialog.m_pd.nMinPage = 1;
    dialog.m_pd.nMaxPage = static_cast<WORD>(nPages);
    dialog.m_pd.nFromPage = 1;
    dialog.m_pd.nToPage = static_cast<WORD>(nPages);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    HDC hdc = dialog.GetPrinterDC();
    if (!hdc)
        return FALSE;
    // The device context carries the device mode as the user left it, copies and collation included: the
    // printer makes the copies in the order chosen, so the document goes to it once.
    const int nSent = control.Print(hdc, pszTitle, dialog.GetFromPage(), dialog.GetToPage(), 1, pJob);
    ::DeleteDC(hdc);
    if (nSent == 0) {
        AfxMessageBox(IDP_TX_PRINT_FAILED, MB_ICONEXCLAMATION);
        return FALSE;
    }
    return TRUE;
}
