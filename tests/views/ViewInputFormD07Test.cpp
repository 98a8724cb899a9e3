// The attachment D-07: "Salva" exports the data sheets to an Excel file chosen in the save dialog (the archive
// untouched), and stays enabled; the print command prints them on the printer chosen.
#include "FormViewFixture.h"

#include "forms/RecordID.h"
#include "forms/WorkbookBinding.h"
#include "views/ViewInputFormD07.h"
#include "platform/mfc/afxfiledlg.h"
#include "platform/mfc/afxprintdlg.h"
#include "resource.h"
#include "support/AuthorityArchive.h"
#include "support/ModalDialogDriver.h"
#include "util/MessageText.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
class ViewInputFormD07Test : public CFormViewFixture
{
protected:
    void SetUp() override
    {
        CFormViewFixture::SetUp();
        CFormSheetPair pair{"Allegato D-07", "1:3,2;T:Entrate", {}, {}, "D5", "E5"};
        pair.data = {{"A1", {{"text", "Allegato D-07 (A-2)"}}}, {"A3", {{"text", "Entrate tributarie"}}}};
        pair.descriptions = {{"B3", "I:V;R:2101;F:Anno4"}, {"B4", "I:V;R:2102;F:Anno4"}};
        WriteWorkbook(L"D07.vts", MakeWorkbook({pair}));
    }
    CViewInputFormD07* Open()
    {
        auto pView = static_cast<CViewInputFormD07*>(MakeView(RUNTIME_CLASS(CViewInputFormD07)));
        CTextID item(L"D07.vts");
        return pView && pView->LoadData(&item) ? pView : nullptr;
    }
};

// Reads the state an update handler gives a command.
class CStateCmdUI : public CCmdUI
{
public:
    BOOL m_bEnabled = FALSE;
    void Enable(BOOL bOn) override
    {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
};

// The UTF-16 bytes of a text, as the Excel file holds names.
std::string Utf16(LPCWSTR psz)
{
    return std::string(reinterpret_cast<const char*>(psz), 2 * wcslen(psz));
}
} // namespace

TEST_F(ViewInputFormD07Test, SaveExportsTheDataSheetsToTheFileChosen)
{
    Put(L"Entrate", 2101, {{L"Anno4", 1234.56}});
    CViewInputFormD07* pView = Open();
    ASSERT_NE(nullptr, pView);
    CString strTarget = m_folder.File(L"Allegato.xls");
    CString strProposed, strFilter;
    DWORD dwFlags = 0;
    {
        CModalDialogDriver dialogs([&](CDialog& dialog) -> INT_PTR {
            auto& fileDialog = dynamic_cast<CFileDialog&>(dialog);
            strProposed = fileDialog.m_ofn.lpstrFile;
            dwFlags = fileDialog.m_ofn.Flags;
            ::lstrcpynW(fileDialog.m_ofn.lpstrFile, strTarget, static_cast<int>(fileDialog.m_ofn.nMaxFile));
            return IDOK;
        });
        // Enabled with nothing to save, and it saves nothing to the archive.
        EXPECT_FALSE(pView->IsModified());
        CStateCmdUI state;
        state.m_nID = ID_FILE_SAVE;
        state.DoUpdate(pView, TRUE);
        EXPECT_TRUE(state.m_bEnabled);
        pView->SendMessage(WM_COMMAND, ID_FILE_SAVE);
        EXPECT_EQ(1, dialogs.Shown());
    }
    EXPECT_EQ(CString(L"Allegato D-07 (A-2)"), strProposed);
    EXPECT_TRUE(dwFlags & OFN_OVERWRITEPROMPT);
    std::string file = ReadBytes(strTarget);
    ASSERT_GT(file.size(), 4096u);
    EXPECT_EQ(0, file.compare(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"));
    EXPECT_NE(std::string::npos, file.find(Utf16(L"Allegato D-07")));
    EXPECT_NE(std::string::npos, file.find(Utf16(L"Entrate tributarie")));
    // The description sheet and its keys stay in the program.
    EXPECT_EQ(std::string::npos, file.find(Utf16(L"Descr1")));
    EXPECT_EQ(std::string::npos, file.find(Utf16(L"R:2101")));
    EXPECT_FALSE(pView->IsModified());

    // Cancelling the dialog writes nothing.
    ::DeleteFileW(strTarget);
    CModalDialogDriver cancel([](CDialog&) -> INT_PTR { return IDCANCEL; });
    pView->SendMessage(WM_COMMAND, ID_FILE_SAVE);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(strTarget));
}

TEST_F(ViewInputFormD07Test, LeavingAfterTypingStillAsksAndStoresTheCells)
{
    CViewInputFormD07* pView = Open();
    ASSERT_NE(nullptr, pView);
    pView->GetGrid().InvokePut279(3, 2, 99.5);
    pView->SetModified(TRUE);
    CMessageBoxRecorder boxes(IDYES);
    EXPECT_TRUE(pView->QuerySave(TRUE));
    EXPECT_EQ(99.5, Get(L"Entrate", 2101, L"Anno4"));
}

// The pages themselves are checked on the grid's printout; here the road to the printer: the default printer's
// dialog, and a printer that refuses the document (a metafile DC takes no documents) told to the user. The
// context the system made for the default printer is freed, not left behind at each print.
TEST_F(ViewInputFormD07Test, PrintGoesToThePrinterChosenAndARefusalIsTold)
{
    CViewInputFormD07* pView = Open();
    ASSERT_NE(nullptr, pView);
    HDC hPrinterDC = nullptr;
    HDC hDefaultDC = nullptr;
    int nDialogs = 0;
    CModalDialogDriver dialogs([&](CDialog& dialog) -> INT_PTR {
        auto& printDialog = dynamic_cast<CPrintDialog&>(dialog);
        ++nDialogs;
        EXPECT_TRUE(printDialog.m_pd.Flags & PD_RETURNDC);
        EXPECT_TRUE(printDialog.m_pd.Flags & PD_NOSELECTION);
        EXPECT_TRUE(printDialog.m_pd.Flags & PD_HIDEPRINTTOFILE);
        if (printDialog.m_pd.Flags & PD_RETURNDEFAULT) {
            // A default printer: its names (driver, device, port) in a DEVNAMES block.
            const WCHAR names[] = L"winspool\0Stampante\0LPT1:\0";
            printDialog.m_pd.hDevNames = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVNAMES) + sizeof(names));
            auto pNames = static_cast<DEVNAMES*>(::GlobalLock(printDialog.m_pd.hDevNames));
            pNames->wDriverOffset = sizeof(DEVNAMES) / sizeof(WCHAR);
            pNames->wDeviceOffset = pNames->wDriverOffset + 9;
            pNames->wOutputOffset = pNames->wDeviceOffset + 10;
            std::memcpy(pNames + 1, names, sizeof(names));
            ::GlobalUnlock(printDialog.m_pd.hDevNames);
            printDialog.m_pd.hDC = hDefaultDC = ::CreateCompatibleDC(nullptr);
            return IDOK;
        }
        printDialog.m_pd.hDC = hPrinterDC = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
        return IDOK;
    });
    CMessageBoxRecorder boxes;
    pView->SendMessage(WM_COMMAND, ID_FILE_PRINT);
    EXPECT_EQ(2, nDialogs);
    EXPECT_NE(nullptr, hPrinterDC);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(CString(L"Impossibile stampare: la stampante ha rifiutato il documento."), CString(boxes.Last().text));
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.LastIcon());
    ASSERT_NE(nullptr, hDefaultDC);
    EXPECT_EQ(0u, ::GetObjectType(hDefaultDC));
}

TEST_F(ViewInputFormD07Test, PrintWithoutAPrinterSaysSo)
{
    CViewInputFormD07* pView = Open();
    ASSERT_NE(nullptr, pView);
    int nDialogs = 0;
    CModalDialogDriver dialogs([&](CDialog& dialog) -> INT_PTR {
        ++nDialogs;
        EXPECT_TRUE(dynamic_cast<CPrintDialog&>(dialog).m_pd.Flags & PD_RETURNDEFAULT);
        return IDCANCEL;   // no default printer
    });
    CMessageBoxRecorder boxes;
    pView->SendMessage(WM_COMMAND, ID_FILE_PRINT);
    EXPECT_EQ(1, nDialogs);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(LoadResString(IDP_NO_PRINTER), CString(boxes.Last().text));
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes.LastIcon());
}

// The shipped attachment on a real-size authority's archive: the Excel file holds each figure of the archive as a
// number, exactly, tens of millions and cents.
TEST_F(ViewInputFormD07Test, TheShippedAttachmentExportsAnAuthoritysFiguresExactly)
{
    CGridBook book;
    CFormInfo info;
    ASSERT_EQ(CString(), CompileSourceText(ReadWorkbookSource(L"AllegD07"), book, info));
    WriteWorkbook(L"D07.vts", book.WriteText());
    FillAuthorityArchive(m_data, authorityByStructure);
    CViewInputFormD07* pView = Open();
    ASSERT_NE(nullptr, pView);
    const CString strTarget = m_folder.File(L"Allegato.xls");
    {
        CModalDialogDriver dialogs([&](CDialog& dialog) -> INT_PTR {
            auto& fileDialog = dynamic_cast<CFileDialog&>(dialog);
            ::lstrcpynW(fileDialog.m_ofn.lpstrFile, strTarget, static_cast<int>(fileDialog.m_ofn.nMaxFile));
            return IDOK;
        });
        pView->SendMessage(WM_COMMAND, ID_FILE_SAVE);
    }
    const std::string file = ReadBytes(strTarget);
    const struct
    {
        LPCTSTR pszTable;
        long nRow;
        LPCTSTR pszField;
    } cells[] = {{L"SaldoFinProg", 100, L"Anno4Mis"}, {L"SaldoFinProg", 300, L"Anno6Mis"},
                 {L"SaldoProg", 2400, L"Anno5"},      {L"SaldoFinProg", 401, L"Anno4Mis"},
                 {L"SaldoFinProg", 300, L"Anno4Com"}, {L"SaldoFinProg", 300, L"Anno4Cas"},
                 {L"SaldoProg", 1400, L"Anno4"}};
    for (const auto& cell : cells) {
        const double figure = AuthorityFigure(cell.pszTable, cell.nRow, cell.pszField) / 10000.0;
        std::string bytes(sizeof(figure), '\0');
        std::memcpy(&bytes[0], &figure, sizeof(figure));
        EXPECT_NE(std::string::npos, file.find(bytes)) << CString(cell.pszTable).ToMultiByte(CP_UTF8) << " "
                                                       << cell.nRow << " " << figure;
    }
}
