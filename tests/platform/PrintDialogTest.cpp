// The print dialog and the application's printer behind the modal seam: the system's default printer taken
// once, the printer chosen in a dialog kept by the application (the system replaces the handles it is given),
// the pages, copies and device context the dialog answers, and the handles a dialog frees.
#include "platform/mfc/afxdlgs.h"
#include "support/ModalDialogDriver.h"

#include <gtest/gtest.h>

namespace
{
// A DEVNAMES block for a printer of the spooler, as the system gives it.
HGLOBAL MakeDevNames(LPCWSTR pszDevice)
{
    LPCWSTR parts[] = {L"winspool", pszDevice, L"LPT1:"};
    size_t nChars = sizeof(DEVNAMES) / sizeof(WCHAR);
    for (LPCWSTR part : parts)
        nChars += wcslen(part) + 1;
    HGLOBAL hDevNames = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, nChars * sizeof(WCHAR));
    auto pDevNames = static_cast<DEVNAMES*>(::GlobalLock(hDevNames));
    WORD* offsets[] = {&pDevNames->wDriverOffset, &pDevNames->wDeviceOffset, &pDevNames->wOutputOffset};
    WORD nOffset = sizeof(DEVNAMES) / sizeof(WCHAR);
    for (int i = 0; i < 3; ++i) {
        *offsets[i] = nOffset;
        wcscpy(reinterpret_cast<LPWSTR>(pDevNames) + nOffset, parts[i]);
        nOffset = static_cast<WORD>(nOffset + wcslen(parts[i]) + 1);
    }
    ::GlobalUnlock(hDevNames);
    return hDevNames;
}

HGLOBAL MakeDevMode(short nCopies)
{
    HGLOBAL hDevMode = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEW));
    auto pDevMode = static_cast<DEVMODEW*>(::GlobalLock(hDevMode));
    pDevMode->dmSize = sizeof(DEVMODEW);
    pDevMode->dmFields = DM_COPIES | DM_ORIENTATION | DM_PAPERSIZE;
    pDevMode->dmCopies = nCopies;
    pDevMode->dmOrientation = DMORIENT_PORTRAIT;
    ::GlobalUnlock(hDevMode);
    return hDevMode;
}

CString DeviceName(HGLOBAL hDevNames)
{
    auto pDevNames = static_cast<const DEVNAMES*>(::GlobalLock(hDevNames));
    CString strDevice(reinterpret_cast<LPCWSTR>(pDevNames) + pDevNames->wDeviceOffset);
    ::GlobalUnlock(hDevNames);
    return strDevice;
}

// Stands in for the system: the default printer "Predefinita" (or none), and a user who picks "Ufficio"
// with its own copies and pages. Like the system, it frees the handles it replaces.
class CPrinterSystem
{
public:
    BOOL m_bHasPrinter = TRUE;
    int m_nDefaultQueries = 0;
    std::vector<PRINTDLGW> m_dialogs;   // what each dialog looked like when it opened
    HDC m_hDC = nullptr;

    INT_PTR Handle(CDialog& dialog)
    {
        PRINTDLGW& pd = static_cast<CPrintDialog&>(dialog).m_pd;
        if (pd.Flags & PD_RETURNDEFAULT) {
            ++m_nDefaultQueries;
            if (!m_bHasPrinter)
                return IDCANCEL;
            pd.hDevNames = MakeDevNames(L"Predefinita");
            pd.hDevMode = MakeDevMode(1);
            return IDOK;
        }
        m_dialogs.push_back(pd);
        ::GlobalFree(pd.hDevNames);
        ::GlobalFree(pd.hDevMode);
        pd.hDevNames = MakeDevNames(L"Ufficio");
        pd.hDevMode = MakeDevMode(3);
        pd.Flags |= PD_PAGENUMS;
        pd.nFromPage = 2;
        pd.nToPage = 5;
        if (pd.Flags & PD_RETURNDC)
            pd.hDC = m_hDC = ::CreateCompatibleDC(nullptr);
        return IDOK;
    }
};

class PrintDialogTest : public ::testing::Test
{
protected:
    CWinApp m_app{L"Prova"};
    CPrinterSystem m_system;
    CModalDialogDriver m_driver{[this](CDialog& dialog) { return m_system.Handle(dialog); }};
};
} // namespace

TEST_F(PrintDialogTest, PrintingOnTheDefaultPrinterWithTheUsersChoices)
{
    HGLOBAL hChosen = nullptr;
    {
        CPrintDialog dialog(FALSE, PD_NOSELECTION | PD_RETURNDC | PD_USEDEVMODECOPIES | PD_HIDEPRINTTOFILE);
        // The application forgets its printer and starts again from the system's default one.
        m_app.SelectPrinter(nullptr, nullptr);
        ASSERT_TRUE(m_app.GetPrinterDeviceDefaults(&dialog.m_pd));
        EXPECT_EQ(CString(L"Predefinita"), dialog.GetDeviceName());
        EXPECT_EQ(CString(L"winspool"), dialog.GetDriverName());
        EXPECT_EQ(CString(L"LPT1:"), dialog.GetPortName());
        LPDEVMODEW pDevMode = dialog.GetDevMode();
        ASSERT_NE(nullptr, pDevMode);
        pDevMode->dmOrientation = DMORIENT_LANDSCAPE;
        pDevMode->dmPaperSize = DMPAPER_A4;
        ::GlobalUnlock(dialog.m_pd.hDevMode);
        dialog.m_pd.nMinPage = dialog.m_pd.nFromPage = 1;
        dialog.m_pd.nMaxPage = dialog.m_pd.nToPage = 7;

        ASSERT_EQ(IDOK, dialog.DoModal());
        ASSERT_EQ(1u, m_system.m_dialogs.size());
        const PRINTDLGW& opened = m_system.m_dialogs[0];
        EXPECT_EQ(static_cast<DWORD>(PD_NOSELECTION | PD_RETURNDC | PD_USEDEVMODECOPIES | PD_HIDEPRINTTOFILE),
                  opened.Flags);
        EXPECT_EQ(7, opened.nMaxPage);

        EXPECT_EQ(CString(L"Ufficio"), dialog.GetDeviceName());
        EXPECT_EQ(3, dialog.GetCopies());   // the device mode's, with PD_USEDEVMODECOPIES
        EXPECT_EQ(2, dialog.GetFromPage());
        EXPECT_EQ(5, dialog.GetToPage());
        HDC hDC = dialog.GetPrinterDC();
        EXPECT_EQ(m_system.m_hDC, hDC);
        ::DeleteDC(hDC);
        // The system freed the handles it was given: the application holds the new ones.
        EXPECT_EQ(dialog.m_pd.hDevNames, m_app.m_hDevNames);
        EXPECT_EQ(dialog.m_pd.hDevMode, m_app.m_hDevMode);
        hChosen = m_app.m_hDevNames;
    }
    // The dialog has left the application's printer alone, which is not asked for again.
    EXPECT_EQ(CString(L"Ufficio"), DeviceName(m_app.m_hDevNames));
    PRINTDLGW pd = {};
    ASSERT_TRUE(m_app.GetPrinterDeviceDefaults(&pd));
    EXPECT_EQ(hChosen, pd.hDevNames);
    EXPECT_EQ(1, m_system.m_nDefaultQueries);
}

TEST_F(PrintDialogTest, PrinterSetUpKeepsThePrinterChosen)
{
    m_app.OnFilePrintSetup();
    ASSERT_EQ(1u, m_system.m_dialogs.size());
    EXPECT_NE(0u, m_system.m_dialogs[0].Flags & PD_PRINTSETUP);
    EXPECT_EQ(0u, m_system.m_dialogs[0].Flags & PD_RETURNDC);
    EXPECT_EQ(CString(L"Ufficio"), DeviceName(m_app.m_hDevNames));
    auto pDevMode = static_cast<const DEVMODEW*>(::GlobalLock(m_app.m_hDevMode));
    EXPECT_EQ(3, pDevMode->dmCopies);
    ::GlobalUnlock(m_app.m_hDevMode);
}

TEST_F(PrintDialogTest, WithoutAPrinterThereAreNoDefaults)
{
    m_system.m_bHasPrinter = FALSE;
    PRINTDLGW pd = {};
    EXPECT_FALSE(m_app.GetPrinterDeviceDefaults(&pd));
    EXPECT_EQ(nullptr, pd.hDevNames);
    EXPECT_EQ(nullptr, m_app.m_hDevNames);
    CPrintDialog dialog(TRUE);
    EXPECT_FALSE(dialog.GetDefaults());
    EXPECT_EQ(0u, dialog.m_pd.Flags & PD_RETURNDEFAULT);
}

TEST_F(PrintDialogTest, ADialogFreesWhatNobodyTook)
{
    HDC hDC = nullptr;
    {
        CPrintDialog dialog(FALSE);
        ASSERT_EQ(IDOK, dialog.DoModal());   // not on the application's printer
        hDC = dialog.m_pd.hDC;
        ASSERT_NE(nullptr, hDC);
    }
    EXPECT_EQ(0u, ::GetObjectType(hDC));
    EXPECT_EQ(nullptr, m_app.m_hDevNames);
}
