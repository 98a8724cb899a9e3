// The text-document and report views in a frame, on a seeded archive with a "Doc" and a "DocUt" folder: the
// user's copy of an edited document, the export through the save-file dialog, the print dialog's page range,
// and the items the views accept.
#include "data/DataTestArchive.h"
#include "data/SetSettings.h"
#include "platform/mfc/afxfiledlg.h"
#include "platform/mfc/afxframe.h"
#include "platform/mfc/afxprintdlg.h"
#include "reports/ReportHost.h"
#include "reports/ViewTxInput.h"
#include "reports/ViewTxPrint.h"
#include "resource.h"
#include "support/MessageBoxRecorder.h"
#include "support/ModalDialogDriver.h"
#include "util/MessageText.h"
#include "util/PathUtil.h"

#include <gtest/gtest.h>

#include <richedit.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

class CReportTestApp : public CWinApp, public CReportHost
{
public:
    CReportTestApp(CADOConnection& data, const CString& strFolder) : m_data(data), m_strFolder(strFolder) {}
    CADOConnection& GetDataConnection() override { return m_data; }
    CString GetDocDir() const override { return m_strFolder + L"\\Doc"; }
    CString GetDocUtDir() const override { return m_strFolder + L"\\DocUt"; }
    CString GetProductCode() const override { return L"87654321"; }

private:
    CADOConnection& m_data;
    CString m_strFolder;
};

class TextViewTest : public CDataTestArchive
{
protected:
    void SetUp() override
    {
        CDataTestArchive::SetUp();
        m_pApp = std::make_unique<CReportTestApp>(m_data, m_folder.Path());
        ASSERT_TRUE(::CreateDirectoryW(m_pApp->GetDocDir(), nullptr));
        ASSERT_TRUE(::CreateDirectoryW(m_pApp->GetDocUtDir(), nullptr));
        Execute(L"INSERT INTO SaldoFin (ID, Anno1) VALUES (300, 1234.5)");
    }

    void TearDown() override
    {
        if (m_pFrame && ::IsWindow(m_pFrame->GetSafeHwnd()))
            m_pFrame->DestroyWindow();
        m_pApp.reset();
        CDataTestArchive::TearDown();
    }

    void WriteTemplate(LPCTSTR pszName, LPCTSTR pszText)
    {
        CTextDocument doc;
        doc.AppendText(pszText, CTextCharFormat());
        doc.Save(CombinePath(m_pApp->GetDocDir(), pszName), txdFormatOwn);
    }

    template <class TView>
    TView* MakeView(CRuntimeClass* pViewClass)
    {
        m_pFrame = new CFrameWnd;
        if (!m_pFrame->CreateEx(0, nullptr, L"Documento", WS_POPUP | WS_CAPTION, 0, 0, 640, 480, nullptr, nullptr))
            return nullptr;
        CCreateContext context;
        context.m_pNewViewClass = pViewClass;
        context.m_pCurrentFrame = m_pFrame;
        auto* pView = dynamic_cast<TView*>(m_pFrame->CreateView(&context));
        if (!pView)
            return nullptr;
        // As the main frame does when it switches views.
        m_pFrame->RecalcLayout();
        pView->OnInitialUpdate();
        return pView;
    }

    static BOOL Load(CDataView* pView, const CRecordID& item) { return pView->LoadData(&item); }

    static std::string ReadFile(const CString& strPath)
    {
        std::ifstream file(strPath.ToMultiByte(CP_UTF8), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    std::unique_ptr<CReportTestApp> m_pApp;
    CFrameWnd* m_pFrame = nullptr;
};

} // namespace

TEST_F(TextViewTest, EditedTreeDocumentIsKeptAsTheUsersCopy)
{
    WriteTemplate(L"Nota.txd", L"Saldo $[L:V;T:SaldoFin;R:300;F:Anno1]$ euro\r");
    auto* pView = MakeView<CViewTxInputEx>(RUNTIME_CLASS(CViewTxInputEx));
    ASSERT_NE(nullptr, pView);
    // A tree document: printable, portrait, neither locked nor exported.
    ASSERT_TRUE(Load(pView, CTextLongID(L"Nota.txd", 9)));
    CTX4OLE& control = pView->GetControl();
    EXPECT_EQ(0, control.GetDocument().Find(L"Saldo 1.234,50 euro", 0));
    EXPECT_FALSE(pView->IsModified());

    control.SendMessage(EM_SETSEL, 0, 0);
    control.SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"Nuovo "));
    EXPECT_TRUE(pView->IsModified());
    CMessageBoxRecorder messages(IDYES);
    EXPECT_TRUE(pView->QuerySave(TRUE));
    EXPECT_FALSE(pView->IsModified());

    // The copy wins over the template at the next opening; saving again keeps exactly one older copy.
    const CString copy = CombinePath(m_pApp->GetDocUtDir(), L"Nota.txd");
    CTextDocument saved;
    saved.Load(copy);
    EXPECT_EQ(0, saved.Find(L"Nuovo Saldo 1.234,50 euro", 0));
    ASSERT_TRUE(pView->SaveData());
    EXPECT_NE(std::string(), ReadFile(copy + L".old"));
    EXPECT_EQ(std::string(), ReadFile(copy + L".old.old"));
    ASSERT_TRUE(Load(pView, CTextLongID(L"Nota.txd", 8)));
    EXPECT_EQ(0, control.GetDocument().Find(L"Nuovo Saldo", 0));

    // A locked text has nothing to keep.
    ASSERT_TRUE(Load(pView, CTextLongID(L"Nota.txd", 2 | 8)));
    EXPECT_TRUE(control.IsLocked());
}

TEST_F(TextViewTest, ExportAsksOnceAndTheFilterChoosesTheFormat)
{
    WriteTemplate(L"Fax.txd", L"Ente $[L:T;T:DatiEnte;R:ENTE;F:value;D:(ente)]$ del $D\r");
    auto* pView = MakeView<CViewTxFax>(RUNTIME_CLASS(CViewTxFax));
    ASSERT_NE(nullptr, pView);
    ASSERT_TRUE(Load(pView, CTextLongID(L"Fax.txd", 13)));
    EXPECT_EQ(-1, pView->GetControl().GetDocument().Find(L"$D", 0));

    const struct
    {
        DWORD nFilter;
        LPCTSTR pszFile;
        const char* pszStart;
    } cases[] = {
        {1, L"uno.pdf", "%PDF"}, {3, L"due.rtf", "{\\rtf1"}, {6, L"tre.xyz", "%PDF"}, {5, L"quattro.txt", "Ente"},
    };
    for (const auto& c : cases) {
        auto* pFax = MakeView<CViewTxFax>(RUNTIME_CLASS(CViewTxFax));
        ASSERT_TRUE(Load(pFax, CTextLongID(L"Fax.txd", 13)));
        const CString path = m_folder.File(c.pszFile);
        CModalDialogDriver driver([&](CDialog& dialog) -> INT_PTR {
            auto& files = dynamic_cast<CFileDialog&>(dialog);
            wcscpy_s(files.m_ofn.lpstrFile, files.m_ofn.nMaxFile, path);
            files.m_ofn.nFilterIndex = c.nFilter;
            return IDOK;
        });
        EXPECT_TRUE(pFax->SaveData());
        EXPECT_TRUE(pFax->SaveData());
        EXPECT_EQ(1, driver.Shown());
        EXPECT_EQ(0u, ReadFile(path).find(c.pszStart)) << c.nFilter;
    }

    // Cancelled: nothing written, and the next save asks again.
    auto* pFax = MakeView<CViewTxFax>(RUNTIME_CLASS(CViewTxFax));
    ASSERT_TRUE(Load(pFax, CTextLongID(L"Fax.txd", 13)));
    CModalDialogDriver cancel([](CDialog&) -> INT_PTR { return IDCANCEL; });
    EXPECT_FALSE(pFax->SaveData());
    EXPECT_FALSE(pFax->SaveData());
    EXPECT_EQ(2, cancel.Shown());
}

TEST_F(TextViewTest, ReportPrintOffersItsPagesAndAcceptsItsItemsOnly)
{
    CString text;
    for (int i = 0; i < 50; ++i)
        text += L"Riga $[L:V;T:SaldoFin;R:300;F:Anno1]$\r";
    WriteTemplate(L"Rep.txd", text);
    auto* pView = MakeView<CViewTxPrint>(RUNTIME_CLASS(CViewTxPrint));
    ASSERT_NE(nullptr, pView);
    EXPECT_FALSE(Load(pView, CTextBoolID(L"Rep.txd", TRUE)));
    // Fifty lines fit a portrait page, not a landscape one.
    for (long nFlags : {1L, 0L}) {
        ASSERT_TRUE(Load(pView, CTextLongID(L"Rep.txd", nFlags)));
        EXPECT_EQ(0, pView->GetControl().GetDocument().Find(L"Riga 1.234,50", 0));
        WORD nMaxPage = 0;
        CModalDialogDriver driver([&](CDialog& dialog) -> INT_PTR {
            nMaxPage = dynamic_cast<CPrintDialog&>(dialog).m_pd.nMaxPage;
            return IDCANCEL;
        });
        pView->SendMessage(WM_COMMAND, ID_FILE_PRINT);
        EXPECT_EQ(nFlags ? 1 : 2, nMaxPage);
    }
    // The same item again loads nothing: the template changed on disk stays unseen.
    WriteTemplate(L"Rep.txd", L"Altro\r");
    ASSERT_TRUE(Load(pView, CTextLongID(L"rep.TXD", 0)));
    EXPECT_EQ(0, pView->GetControl().GetDocument().Find(L"Riga", 0));
    // A missing template is reported and shows nothing.
    CMessageBoxRecorder messages;
    EXPECT_FALSE(Load(pView, CTextLongID(L"Manca.txd", 0)));
    EXPECT_EQ(1u, messages.Count());
    EXPECT_LE(pView->GetControl().GetDocument().GetLength(), 1);
}

namespace {

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam)
{
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

} // namespace

// Drawing is off while a document loads: afterwards every window of the view, the bars' buttons too, is drawn
// again, or the shown view keeps what was on the screen before.
// Every report view heads its text with the archive's accounting mode; a centre's report fills its own rows.
TEST_F(TextViewTest, ReportsOfTheWholeAndOfACentreCarryTheAccountingHeading)
{
    Execute(L"INSERT INTO Responsabili (responsabile, centroServ) VALUES ('Rossi', 'Tributi')");
    const long nRossi = ScalarLong(L"SELECT MAX(ID) FROM Responsabili");
    // A centre's report reads the row of its centre whatever the reference's key; the report of the whole, the key's.
    WriteTemplate(L"Resp.txd", L"$[IMPCONT]: $[L:T;T:Responsabili;R:0;F:centroServ]$.");
    const struct { CRuntimeClass* pClass; int nMode; UINT nHeading; LPCTSTR pszCentre; } cases[] = {
        {RUNTIME_CLASS(CViewTxPrintResp), 0, IDS_IMPCONT_STRUTTURA, L"Tributi"},
        {RUNTIME_CLASS(CViewTxPrintResp), 1, IDS_IMPCONT_CAPITOLI, L"Tributi"},
        {RUNTIME_CLASS(CViewTxPrint), 1, IDS_IMPCONT_CAPITOLI, L"Totale"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pClass->m_lpszClassName);
        CSetSettings::SetSettingImpExtraCont2(m_data, c.nMode);
        if (m_pFrame)
            m_pFrame->DestroyWindow();
        auto* pView = MakeView<CViewTxPrint>(c.pClass);
        ASSERT_NE(nullptr, pView);
        ASSERT_TRUE(Load(pView, CTextLongID(L"Resp.txd", nRossi)));
        CString strHeading = LoadResString(c.nHeading);
        strHeading.MakeUpper();
        const CString strExpected = strHeading + L": " + c.pszCentre + L".";
        EXPECT_EQ(strExpected, pView->GetControl().GetDocument().GetText().Left(strExpected.GetLength()));
    }
}

TEST_F(TextViewTest, LoadedDocumentRedrawsTheBarsAndTheirButtons)
{
    WriteTemplate(L"Nota.txd", L"Nota\r");
    auto* pView = MakeView<CViewTxInputEx>(RUNTIME_CLASS(CViewTxInputEx));
    ASSERT_NE(nullptr, pView);
    m_pFrame->ShowWindow(SW_SHOWNOACTIVATE);
    m_pFrame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ASSERT_TRUE(Load(pView, CTextLongID(L"Nota.txd", 9)));
    std::vector<HWND> windows;
    ::EnumChildWindows(pView->GetSafeHwnd(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    ASSERT_GE(windows.size(), 7u) << "the control, three bars and the button bar's three buttons";
    for (HWND hWnd : windows) {
        EXPECT_TRUE(::IsWindowVisible(hWnd));
        EXPECT_TRUE(::GetUpdateRect(hWnd, nullptr, FALSE)) << "window " << ::GetDlgCtrlID(hWnd) << " not redrawn";
    }
}
