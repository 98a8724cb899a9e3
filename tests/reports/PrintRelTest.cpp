// The combined print of the control forms: the reports the frame opens leaf by leaf gathered into one landscape
// document with a page break between two of them, then printed (pages, range, copies, orientation) or saved as
// PDF whatever filter the user picks. Also the print road that every view shares.
#include "platform/mfc/afxfiledlg.h"
#include "platform/mfc/afxprintdlg.h"
#include "reports/DlgPrintRel.h"
#include "reports/TxPrinting.h"
#include "resource.h"
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
            ::GlobalUnlock(m_hDevMode);
        }
        return true;
    }
    void StartPage(HDC hdc) override { ::ExtTextOutW(hdc, 0, 0, 0, nullptr, L"|", 1, nullptr); }
    void EndPage(HDC) override {}
    // The job ends the metafile that stands in for the printer, to read back what was drawn; the printing code
    // deleting the device context afterwards finds it gone.
    void End(HDC hdc) override
    {
        HENHMETAFILE hMeta = ::CloseEnhMetaFile(hdc);
        m_strPages.Empty();
        ::EnumEnhMetaFile(nullptr, hMeta, Record, &m_strPages, nullptr);
        ::DeleteEnhMetaFile(hMeta);
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
};

HGLOBAL MakeDevMode(short nCopies)
{
    HGLOBAL hDevMode = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEW));
    auto* pMode = static_cast<DEVMODEW*>(::GlobalLock(hDevMode));
    pMode->dmSize = sizeof(DEVMODEW);
    pMode->dmFields = DM_COPIES | DM_ORIENTATION | DM_PAPERSIZE;
    pMode->dmCopies = nCopies;
    pMode->dmOrientation = DMORIENT_PORTRAIT;
    pMode->dmPaperSize = DMPAPER_LETTER;
    ::GlobalUnlock(hDevMode);
    return hDevMode;
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

TEST_F(PrintRelTest, PrintSendsTheChosenLandscapeA4PagesForEachCopy)
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
        {true, 2, 3, 2, L"|ProspettoB|ProspettoC|ProspettoB|ProspettoC"},
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
            nMaxPage = print.m_pd.nMaxPage;
            print.m_pd.hDevMode = hDevMode = MakeDevMode(c.nCopies);
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
        EXPECT_EQ(2, driver.Shown());
        EXPECT_EQ(4, nMaxPage);
        ASSERT_NE(nullptr, hdc);
        EXPECT_EQ(CString(c.pszPages), job.m_strPages) << c.nFrom << "-" << c.nTo << " x" << c.nCopies;
        EXPECT_EQ(CString(L"Stampa Modello Verifica Vorsa 2008"), job.m_strTitle);
        EXPECT_EQ(DMORIENT_LANDSCAPE, job.m_nOrientation);
        EXPECT_EQ(DMPAPER_A4, job.m_nPaper);
        // The copies are printed as pages: the printer is not asked to copy them again.
        EXPECT_EQ(1, job.m_nPrinterCopies);
    }
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

// Every view prints through the same road: the sheet is A4, turned as the document's page is.
TEST_F(PrintRelTest, EachDocumentPrintsOnA4TurnedAsItsPage)
{
    const struct
    {
        long nWidth, nHeight;
        short nOrientation;
    } cases[] = {{11905, 16838, DMORIENT_PORTRAIT}, {16838, 11905, DMORIENT_LANDSCAPE}};
    for (const auto& c : cases) {
        CTX4OLE control;
        control.PageSetup().nWidth = c.nWidth;
        control.PageSetup().nHeight = c.nHeight;
        HGLOBAL hDevMode = nullptr;
        CRecordingJob job(hDevMode);
        CModalDialogDriver driver([&](CDialog& dialog) -> INT_PTR {
            auto& print = dynamic_cast<CPrintDialog&>(dialog);
            print.m_pd.hDevMode = hDevMode = MakeDevMode(3);
            print.m_pd.hDC = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
            return IDOK;
        });
        EXPECT_TRUE(PrintTextDocument(nullptr, control, L"Prova", &job));
        EXPECT_EQ(c.nOrientation, job.m_nOrientation) << c.nWidth << " x " << c.nHeight;
        EXPECT_EQ(DMPAPER_A4, job.m_nPaper);
        EXPECT_EQ(1, job.m_nPrinterCopies);
        EXPECT_EQ(CString(L"|||"), job.m_strPages);
    }
}
