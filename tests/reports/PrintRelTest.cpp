// The combined print of the control forms: the reports the frame opens leaf by leaf gathered into one landscape
// document with a page break between two of them, then printed (pages, range, copies, orientation) or saved as
// PDF whatever filter the user picks. Also the print road that every view shares.
#include "platform/mfc/afxfiledlg.h"
#include "platform/mfc/afxprintdlg.h"
#include "reports/DlgPrintRel.h"
#include "reports/TxPrinting.h"
#include "resource.h"
#include "util/MessageText.h"
#include "support/MessageBoxRecorder.h"
#include "support/ModalDialogDriver.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

// The leaves of a tree as the frame would open them; a null text is a leaf whose view shows no document.
class CFakeLeaves : public CReportLeaves
{
public:
    explicit CFakeLeaves(std::vector<LPCTSTR> reports) : m_reports(std::move(reports)) {}

    void ClearSelection() override
    {
        m_nNext = 0;
        m_nSelected = -1;
        ++m_nCleared;
    }
    bool SelectNextLeaf(bool bTickedOnly) override
    {
        m_tickedOnly.push_back(bTickedOnly);
        if (m_nNext >= m_reports.size())
            return false;
        m_nSelected = static_cast<int>(m_nNext++);
        return true;
    }
    bool GetActiveReportContent(CTextDocument& content) override
    {
        if (m_nSelected < 0 || !m_reports[m_nSelected])
            return false;
        content.New();
        content.AppendText(CString(L"Prospetto ") + m_reports[m_nSelected] + L"\r", CTextCharFormat());
        // Each report holds a field whose data must come through the gathering.
        content.SetSel(0, 9);
        content.SetFieldData(content.MakeField(), m_reports[m_nSelected]);
        return true;
    }

    std::vector<LPCTSTR> m_reports;
    size_t m_nNext = 0;
    int m_nSelected = -1;
    int m_nCleared = 0;
    std::vector<bool> m_tickedOnly;
};

// Takes the pages of the print job, each page marked with a bar before what is drawn on it.
class CRecordingJob : public CTxPrintJob
{
public:
    explicit CRecordingJob(const HGLOBAL& hDevMode) : m_hDevMode(hDevMode) {}

    bool Start(HDC, LPCTSTR pszTitle) override
    {
        m_strTitle = pszTitle;
        if (auto* pMode = static_cast<const DEVMODEW*>(::GlobalLock(m_hDevMode))) {
            m_nOrientation = pMode->dmOrientation;
            m_nPaper = pMode->dmPaperSize;
            m_nPrinterCopies = pMode->dmCopies;
            m_nCollate = pMode->dmCollate;
            ::GlobalUnlock(m_hDevMode);
        }
        return true;
    }
    bool StartPage(HDC hdc) override { return ::ExtTextOutW(hdc, 0, 0, 0, nullptr, L"|", 1, nullptr) != FALSE; }
    bool EndPage(HDC) override { return true; }
    // The job ends the metafile that stands in for the printer, to read back what was drawn; the printing code
    // deleting the device context afterwards finds it gone.
    bool End(HDC hdc) override
    {
        HENHMETAFILE hMeta = ::CloseEnhMetaFile(hdc);
        m_strPages.Empty();
        ::EnumEnhMetaFile(nullptr, hMeta, Record, &m_strPages, nullptr);
        ::DeleteEnhMetaFile(hMeta);
        return true;
    }

    static int CALLBACK Record(HDC, HANDLETABLE*, const ENHMETARECORD* pRecord, int, LPARAM lParam)
    {
        if (pRecord->iType == EMR_EXTTEXTOUTW) {
            auto* pText = reinterpret_cast<const EMREXTTEXTOUTW*>(pRecord);
            auto* pChars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(pRecord) +
                                                            pText->emrtext.offString);
            CString text(pChars, static_cast<int>(pText->emrtext.nChars));
            text.Remove(L' ');
            *reinterpret_cast<CString*>(lParam) += text;
        }
        return 1;
    }

    const HGLOBAL& m_hDevMode;
    CString m_strTitle;
    CString m_strPages;
    short m_nOrientation = 0;
    short m_nPaper = 0;
    short m_nPrinterCopies = 0;
    short m_nCollate = -1;
};

// The settings of a printer: portrait Letter at first, with the copies and collation given.
HGLOBAL MakeDevMode(short nCopies, short nCollate = DMCOLLATE_TRUE)
{
    HGLOBAL hDevMode = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEW));
    auto* pMode = static_cast<DEVMODEW*>(::GlobalLock(hDevMode));
    pMode->dmSize = sizeof(DEVMODEW);
    pMode->dmFields = DM_COPIES | DM_ORIENTATION | DM_PAPERSIZE | DM_COLLATE;
    pMode->dmCopies = nCopies;
    pMode->dmCollate = nCollate;
    pMode->dmOrientation = DMORIENT_PORTRAIT;
    pMode->dmPaperSize = DMPAPER_LETTER;
    ::GlobalUnlock(hDevMode);
    return hDevMode;
}

HGLOBAL MakeDevNames()
{
    const wchar_t names[] = L"winspool\0Stampante\0LPT1:";
    HGLOBAL hDevNames = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVNAMES) + sizeof(names));
    auto* pNames = static_cast<DEVNAMES*>(::GlobalLock(hDevNames));
    const WORD nFirst = sizeof(DEVNAMES) / sizeof(wchar_t);
    pNames->wDriverOffset = nFirst;
    pNames->wDeviceOffset = nFirst + 9;
    pNames->wOutputOffset = nFirst + 19;
    memcpy(pNames + 1, names, sizeof(names));
    ::GlobalUnlock(hDevNames);
    return hDevNames;
}

// The default printer as the print dialog's defaults query answers it; false for another call of the dialog.
bool AnswerDefaults(CPrintDialog& print)
{
    if (!(print.m_pd.Flags & PD_RETURNDEFAULT))
        return false;
    // Only the settings are asked for: a device context here would be lost.
    EXPECT_FALSE(print.m_pd.Flags & PD_RETURNDC);
    print.m_pd.hDevNames = MakeDevNames();
    print.m_pd.hDevMode = MakeDevMode(1);
    return true;
}

int CountOf(const CString& text, wchar_t ch)
{
    int n = 0;
    for (int i = 0; i < text.GetLength(); ++i)
        n += text[i] == ch;
    return n;
}

class PrintRelTest : public ::testing::Test
{
protected:
    CWinApp m_app{L"Prova"};
};

} // namespace

TEST_F(PrintRelTest, ReportsAreGatheredWithOnePageBreakBetweenTwo)
{
    const struct
    {
        std::vector<LPCTSTR> reports;
        int nExtent;
        LPCTSTR pszText;   // the gathered text, page breaks as '|'
    } cases[] = {
        {{L"A", L"B", L"C"}, 0, L"Prospetto A\r|Prospetto B\r|Prospetto C\r"},
        {{L"A"}, 1, L"Prospetto A\r"},
        // Leaves whose view shows no document add nothing, not even a page break, first or not.
        {{nullptr, L"A", nullptr, nullptr, L"B"}, 0, L"Prospetto A\r|Prospetto B\r"},
        // No (ticked) leaf: the document stays empty.
        {{}, 1, L""},
        {{nullptr}, 0, L""},
    };
    for (const auto& c : cases) {
        CFakeLeaves leaves(c.reports);
        std::vector<CString> texts;
        std::vector<CString> fieldData;
        CTextPageSetup page;
        long nSelStart = -1;
        int nPages = 0;
        CModalDialogDriver driver([&](CDialog& dialog) -> INT_PTR {
            CTX4OLE& control = dynamic_cast<CDlgPrintRel&>(dialog).GetControl();
            const CTextDocument& doc = control.GetDocument();
            CString text = doc.GetText();
            text.Replace(L'\x0C', L'|');
            texts.push_back(text);
            for (long nId : doc.GetFieldIds())
                fieldData.push_back(doc.GetFieldData(nId));
            page = control.PageSetup();
            nSelStart = doc.GetSelStart();
            nPages = control.GetPageCount();
            return IDCANCEL;
        });
        CDlgPrintRel dialog(nullptr, c.nExtent, leaves);
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
        ASSERT_EQ(1u, texts.size());
        // The control may close the text with a paragraph mark of its own.
        CString text = texts[0];
        if (text.GetLength() > static_cast<int>(wcslen(c.pszText)) && text.Right(1) == L"\r")
            text.Delete(text.GetLength() - 1);
        EXPECT_EQ(CString(c.pszText), text) << c.reports.size() << " leaves";
        EXPECT_EQ(1, leaves.m_nCleared);
        EXPECT_EQ(c.reports.size() + 1, leaves.m_tickedOnly.size());
        for (bool bTicked : leaves.m_tickedOnly)
            EXPECT_EQ(c.nExtent == 1, bTicked);
        std::vector<CString> expectedData;
        for (LPCTSTR pszReport : c.reports) {
            if (pszReport)
                expectedData.push_back(pszReport);
        }
        EXPECT_EQ(expectedData, fieldData);
        EXPECT_EQ(std::max<int>(1, static_cast<int>(expectedData.size())), nPages);
        EXPECT_EQ(0, nSelStart);
        EXPECT_EQ(16838, page.nWidth);
        EXPECT_EQ(11905, page.nHeight);
        EXPECT_EQ(850, page.nMarginLeft);
        EXPECT_EQ(850, page.nMarginBottom);
        EXPECT_EQ(CountOf(CString(c.pszText), L'|'), CountOf(text, L'|'));
    }
}

// The dialog offers landscape A4 on the default printer; the pages chosen go once, the printer makes the copies.
TEST_F(PrintRelTest, PrintSendsTheChosenPagesOnLandscapeA4)
{
    CFakeLeaves leaves({L"A", L"B", L"C", L"D"});
    HGLOBAL hDevMode = nullptr;
    CRecordingJob job(hDevMode);
    const struct
    {
        bool bRange;
        WORD nFrom, nTo;
        short nCopies;
        LPCTSTR pszPages;
    } cases[] = {
        {false, 0, 0, 1, L"|ProspettoA|ProspettoB|ProspettoC|ProspettoD"},
        {true, 2, 3, 2, L"|ProspettoB|ProspettoC"},
        {true, 4, 4, 1, L"|ProspettoD"},
    };
    for (const auto& c : cases) {
        WORD nMaxPage = 0;
        HDC hdc = nullptr;
        CModalDialogDriver driver([&](CDialog& dialog) -> INT_PTR {
            if (auto* pPrintRel = dynamic_cast<CDlgPrintRel*>(&dialog)) {
                pPrintRel->SetPrintJob(&job);
                pPrintRel->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PRINT_REL_PRINT, BN_CLICKED));
                return IDCANCEL;
            }
            auto& print = dynamic_cast<CPrintDialog&>(dialog);
            if (AnswerDefaults(print))
                return IDOK;
            nMaxPage = print.m_pd.nMaxPage;
            hDevMode = print.m_pd.hDevMode;
            if (auto* pMode = static_cast<DEVMODEW*>(::GlobalLock(hDevMode))) {
                pMode->dmCopies = c.nCopies;
                ::GlobalUnlock(hDevMode);
            }
            if (c.bRange) {
                print.m_pd.Flags |= PD_PAGENUMS;
                print.m_pd.nFromPage = c.nFrom;
                print.m_pd.nToPage = c.nTo;
            }
            print.m_pd.hDC = hdc = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
            return IDOK;
        });
        CDlgPrintRel dialog(nullptr, 0, leaves);
        dialog.DoModal();
        EXPECT_EQ(3, driver.Shown());
        EXPECT_EQ(4, nMaxPage);
        ASSERT_NE(nullptr, hdc);
        EXPECT_EQ(CString(c.pszPages), job.m_strPages) << c.nFrom << "-" << c.nTo << " x" << c.nCopies;
        EXPECT_EQ(CString(L"Stampa Modello Verifica Vorsa 2008"), job.m_strTitle);
        EXPECT_EQ(DMORIENT_LANDSCAPE, job.m_nOrientation);
        EXPECT_EQ(DMPAPER_A4, job.m_nPaper);
        EXPECT_EQ(c.nCopies, job.m_nPrinterCopies);
    }
}

// A printer that stops taking pages after the job started: the user hears that the document was not printed.
TEST_F(PrintRelTest, APrintThatFailsAfterTheJobStartedIsReported)
{
    class CRefusingJob : public CTxPrintJob
    {
    public:
        bool Start(HDC, LPCTSTR) override { return true; }
        bool StartPage(HDC) override { return true; }
        bool EndPage(HDC) override { return false; }
        bool End(HDC) override { return true; }
        void Abort(HDC hdc) override { ::DeleteEnhMetaFile(::CloseEnhMetaFile(hdc)); }
    } job;
    CModalDialogDriver driver([&](CDialog& dialog) -> INT_PTR {
        auto& print = dynamic_cast<CPrintDialog&>(dialog);
        if (!AnswerDefaults(print))
            print.m_pd.hDC = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
        return IDOK;
    });
    CTX4OLE control;
    CMessageBoxRecorder messages;
    EXPECT_FALSE(PrintTextDocument(nullptr, control, L"Prova", sheetAsChosen, &job));
    ASSERT_EQ(1u, messages.Count());
    EXPECT_EQ(LoadResString(IDP_TX_PRINT_FAILED), messages.Last().text);
}

TEST_F(PrintRelTest, SavedAsPdfWhateverFilterIsChosen)
{
    CTempFolder folder;
    CFakeLeaves leaves({L"A", L"B"});
    const struct
    {
        INT_PTR nAnswer;
        DWORD nFilter;
        LPCTSTR pszFile;
        bool bWritten;
    } cases[] = {
        {IDOK, 1, L"uno.pdf", true}, {IDOK, 4, L"due.htm", true}, {IDOK, 5, L"tre.txt", true},
        {IDCANCEL, 1, L"quattro.pdf", false},
    };
    for (const auto& c : cases) {
        const CString path = folder.File(c.pszFile);
        CString strOffered;
        CString strDefExt;
        DWORD dwFlags = 0;
        CModalDialogDriver driver([&](CDialog& dialog) -> INT_PTR {
            if (auto* pPrintRel = dynamic_cast<CDlgPrintRel*>(&dialog)) {
                pPrintRel->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PRINT_REL_PDF, BN_CLICKED));
                return IDCANCEL;
            }
            auto& files = dynamic_cast<CFileDialog&>(dialog);
            strOffered = files.m_ofn.lpstrFile;
            strDefExt = files.m_ofn.lpstrDefExt;
            dwFlags = files.m_ofn.Flags;
            wcscpy_s(files.m_ofn.lpstrFile, files.m_ofn.nMaxFile, path);
            files.m_ofn.nFilterIndex = c.nFilter;
            return c.nAnswer;
        });
        CDlgPrintRel dialog(nullptr, 0, leaves);
        dialog.DoModal();
        EXPECT_EQ(CString(L"Stampa Modello Verifica Vorsa 2008"), strOffered);
        EXPECT_EQ(CString(L"pdf"), strDefExt);
        EXPECT_TRUE(dwFlags & OFN_OVERWRITEPROMPT);
        std::ifstream file(path.ToMultiByte(CP_UTF8), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (c.bWritten) {
            EXPECT_EQ(0u, bytes.find("%PDF")) << c.nFilter;
            EXPECT_NE(std::string::npos, bytes.find("/Count 2")) << c.nFilter;
        }
        else {
            EXPECT_TRUE(bytes.empty());
        }
    }
}

// Every document prints through the same road. The reports offer A4 turned as their page on the default printer;
// the check report and the documents offer the printer's own settings. Whatever the user then chooses in the
// dialog (orientation, paper, copies, collation) reaches the printer unchanged, and the pages go once.
TEST_F(PrintRelTest, TheUsersChoiceInThePrintDialogIsWhatPrints)
{
    struct Choice
    {
        bool bChange;
        short nOrientation, nPaper, nCopies, nCollate;
    };
    const Choice keep = {false, 0, 0, 0, 0};
    const struct
    {
        const char* name;
        PrintSheet nSheet;
        long nWidth, nHeight;
        Choice choice;
        short nOffered;             // orientation the dialog starts with
        short nOfferedPaper;
        Choice printed;
    } cases[] = {
        {"report, portrait page", sheetA4AsPage, 11905, 16838, keep, DMORIENT_PORTRAIT, DMPAPER_A4,
         {true, DMORIENT_PORTRAIT, DMPAPER_A4, 1, DMCOLLATE_TRUE}},
        {"report, landscape page", sheetA4AsPage, 16838, 11905, keep, DMORIENT_LANDSCAPE, DMPAPER_A4,
         {true, DMORIENT_LANDSCAPE, DMPAPER_A4, 1, DMCOLLATE_TRUE}},
        {"report turned by the user, copies not collated", sheetA4AsPage, 16838, 11905,
         {true, DMORIENT_PORTRAIT, DMPAPER_A3, 3, DMCOLLATE_FALSE}, DMORIENT_LANDSCAPE, DMPAPER_A4,
         {true, DMORIENT_PORTRAIT, DMPAPER_A3, 3, DMCOLLATE_FALSE}},
        {"check report as the printer is set", sheetAsChosen, 11905, 16838, keep, DMORIENT_PORTRAIT, DMPAPER_LETTER,
         {true, DMORIENT_PORTRAIT, DMPAPER_LETTER, 2, DMCOLLATE_FALSE}},
        {"check report turned by the user", sheetAsChosen, 11905, 16838,
         {true, DMORIENT_LANDSCAPE, DMPAPER_A4, 2, DMCOLLATE_TRUE}, DMORIENT_PORTRAIT, DMPAPER_LETTER,
         {true, DMORIENT_LANDSCAPE, DMPAPER_A4, 2, DMCOLLATE_TRUE}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CTX4OLE control;
        control.PageSetup().nWidth = c.nWidth;
        control.PageSetup().nHeight = c.nHeight;
        HGLOBAL hDevMode = nullptr;
        CRecordingJob job(hDevMode);
        short nOffered = 0, nOfferedPaper = 0;
        int nDefaults = 0;
        CModalDialogDriver driver([&](CDialog& dialog) -> INT_PTR {
            auto& print = dynamic_cast<CPrintDialog&>(dialog);
            if (AnswerDefaults(print)) {
                ++nDefaults;
                return IDOK;
            }
            // Without a preset the dialog starts from the printer's settings: here 2 copies, not collated.
            if (!print.m_pd.hDevMode)
                print.m_pd.hDevMode = MakeDevMode(2, DMCOLLATE_FALSE);
            hDevMode = print.m_pd.hDevMode;
            auto* pMode = static_cast<DEVMODEW*>(::GlobalLock(hDevMode));
            nOffered = pMode->dmOrientation;
            nOfferedPaper = pMode->dmPaperSize;
            if (c.choice.bChange) {
                pMode->dmOrientation = c.choice.nOrientation;
                pMode->dmPaperSize = c.choice.nPaper;
                pMode->dmCopies = c.choice.nCopies;
                pMode->dmCollate = c.choice.nCollate;
            }
            ::GlobalUnlock(hDevMode);
            print.m_pd.hDC = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
            return IDOK;
        });
        EXPECT_TRUE(PrintTextDocument(nullptr, control, L"Prova", c.nSheet, &job));
        EXPECT_EQ(c.nSheet == sheetA4AsPage ? 1 : 0, nDefaults);
        EXPECT_EQ(c.nOffered, nOffered);
        EXPECT_EQ(c.nOfferedPaper, nOfferedPaper);
        EXPECT_EQ(c.printed.nOrientation, job.m_nOrientation);
        EXPECT_EQ(c.printed.nPaper, job.m_nPaper);
        EXPECT_EQ(c.printed.nCopies, job.m_nPrinterCopies);
        EXPECT_EQ(c.printed.nCollate, job.m_nCollate);
        EXPECT_EQ(CString(L"|"), job.m_strPages);
    }
}
