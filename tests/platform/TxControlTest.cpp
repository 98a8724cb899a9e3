// The word-processing control on the system's rich-edit window: the model follows the user's edits with its
// fields, the locked mode refuses typing, and pages are laid out and printed into a given device context.
#include "platform/textdoc/TxControl.h"

#include <gtest/gtest.h>

#include <commdlg.h>
#include <richedit.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class TxControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"documento", WS_POPUP, CRect(0, 0, 600, 400), nullptr, 0));
        ASSERT_TRUE(m_control.Create(WS_VISIBLE, CRect(0, 0, 600, 400), &m_parent, 1008));
    }

    // Types as the user does: the selection is replaced through the window.
    void Type(long nStart, long nLength, LPCTSTR pszText)
    {
        m_control.SendMessage(EM_SETSEL, nStart, nStart + nLength);
        m_control.SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pszText));
    }

    static CTextDocument Lines(int nLines, LPCTSTR pszBreakAfter = nullptr)
    {
        CTextDocument doc;
        for (int i = 0; i < nLines; ++i)
            doc.AppendText(i == 0 && pszBreakAfter ? pszBreakAfter : L"Riga del prospetto\r", CTextCharFormat());
        return doc;
    }

    CWnd m_parent;
    CTX4OLE m_control;
};

} // namespace

TEST_F(TxControlTest, FieldsFollowTheUsersEdits)
{
    CTextDocument doc;
    doc.AppendText(L"Saldo: 1.234 euro\r", CTextCharFormat());
    doc.SetSel(7, 5);
    const long nId = doc.MakeField();
    doc.SetFieldData(nId, L"L:V;T:SaldoFin;R:300;F:Anno1");
    m_control.SetDocument(doc);

    Type(0, 0, L"Il ");          // before the field: it moves
    Type(16, 4, L"EUR");         // after it: it stays
    Type(8, 1, L"");             // the colon before it
    const CTextDocument& shown = m_control.GetDocument();
    EXPECT_EQ(CString(L"Il Saldo 1.234 EUR"), shown.GetText().Left(18));
    EXPECT_EQ(CString(L"1.234"), shown.GetFieldText(nId));
    EXPECT_EQ(CString(L"L:V;T:SaldoFin;R:300;F:Anno1"), shown.GetFieldData(nId));
}

TEST_F(TxControlTest, LockedDocumentRefusesTyping)
{
    m_control.SetDocument(Lines(1));
    m_control.SetLocked(true);
    m_control.SendMessage(WM_CHAR, L'x', 0);
    EXPECT_EQ(CString(L"Riga del prospetto"), m_control.GetDocument().GetText().Left(18));
    EXPECT_EQ(-1, m_control.GetDocument().Find(L"x", 0));
}

TEST_F(TxControlTest, PagesFollowOrientationAndPageBreaks)
{
    const struct
    {
        int nLines;
        LPCTSTR pszFirst;
        bool bLandscape;
        int nPages;
    } cases[] = {
        {1, nullptr, false, 1},
        // A page break at the end, or on a page that holds nothing yet, opens no empty page.
        {1, L"Prima\r\x0CSeconda\r\x0C", false, 2},
        {2, L"Prima\r\x0C\x0C", false, 2},
        {60, nullptr, false, 1},     // A4 portrait holds 63 lines of 10 points, landscape 42
        {60, nullptr, true, 2},
        {63, nullptr, false, 1},
        {64, nullptr, false, 2},
        {100, nullptr, true, 3},
    };
    for (const auto& c : cases) {
        CTextDocument doc = Lines(c.nLines, c.pszFirst);
        m_control.SetDocument(doc);
        CTextPageSetup& page = m_control.PageSetup();
        page.nWidth = c.bLandscape ? 16838 : 11905;
        page.nHeight = c.bLandscape ? 11905 : 16838;
        EXPECT_EQ(c.nPages, m_control.GetPageCount()) << c.nLines << " lines, landscape " << c.bLandscape;
    }
}

namespace {

// Takes the pages of a print job into a metafile, each page starting with a bar.
class CRecordingJob : public CTxPrintJob
{
public:
    bool Start(HDC, LPCTSTR pszTitle) override
    {
        m_strTitle = pszTitle;
        return true;
    }
    bool StartPage(HDC hdc) override { return ::ExtTextOutW(hdc, 0, 0, 0, nullptr, L"|", 1, nullptr) != FALSE; }
    bool EndPage(HDC) override { return true; }
    bool End(HDC) override { return true; }

    static int CALLBACK Record(HDC, HANDLETABLE*, const ENHMETARECORD* pRecord, int, LPARAM lParam)
    {
        if (pRecord->iType == EMR_EXTTEXTOUTW) {
            auto* pText = reinterpret_cast<const EMREXTTEXTOUTW*>(pRecord);
            auto* pChars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(pRecord) + pText->emrtext.offString);
            *reinterpret_cast<CString*>(lParam) += CString(pChars, static_cast<int>(pText->emrtext.nChars));
        }
        return 1;
    }

    CString m_strTitle;
};

} // namespace

TEST_F(TxControlTest, PrintDrawsTheRangeForEachCopy)
{
    m_control.SetDocument(Lines(1, L"Uno\r\x0C" L"Due\r\x0C" L"Tre\r\x0C" L"Quattro\r"));
    const struct
    {
        int nFirst, nLast, nCopies, nSent;
        LPCTSTR pszPages;
    } cases[] = {
        {-1, -1, 1, 4, L"|Uno|Due|Tre|Quattro"}, {2, 3, 1, 2, L"|Due|Tre"},
        {2, 9, 2, 6, L"|Due|Tre|Quattro|Due|Tre|Quattro"}, {4, 4, 1, 1,
        L"|Quattro"}, {5, 6, 1, 0, L""},
    };
    for (const auto& c : cases) {
        HDC hdc = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
        CRecordingJob job;
        EXPECT_EQ(c.nSent, m_control.Print(hdc, L"Prova", c.nFirst, c.nLast, c.nCopies, &job))
            << c.nFirst << "-" << c.nLast << " x" << c.nCopies;
        HENHMETAFILE hMeta = ::CloseEnhMetaFile(hdc);
        CString drawn;
        ::EnumEnhMetaFile(nullptr, hMeta, CRecordingJob::Record, &drawn, nullptr);
        ::DeleteEnhMetaFile(hMeta);
        EXPECT_EQ(CString(c.pszPages), drawn) << c.nFirst << "-" << c.nLast;
        EXPECT_EQ(CString(c.nSent ? L"Prova" : L""), job.m_strTitle);
    }
}

namespace {

// A job whose device refuses one step, as a printer that goes offline does.
class CFailingJob : public CTxPrintJob
{
public:
    enum Step { stepStartPage, stepEndPage, stepEnd };
    CFailingJob(Step failing, int nFailingPage) : m_failing(failing), m_nFailingPage(nFailingPage) {}

    bool Start(HDC, LPCTSTR) override { return true; }
    bool StartPage(HDC) override { return !(m_failing == stepStartPage && ++m_nPage == m_nFailingPage); }
    bool EndPage(HDC) override { return !(m_failing == stepEndPage && ++m_nPage == m_nFailingPage); }
    bool End(HDC) override
    {
        m_bEnded = true;
        return m_failing != stepEnd;
    }
    void Abort(HDC) override { m_bAborted = true; }

    Step m_failing;
    int m_nFailingPage;
    int m_nPage = 0;
    bool m_bEnded = false;
    bool m_bAborted = false;
};

} // namespace

// A step the device refuses fails the whole print: nothing counts as sent, and a job failing midway is aborted
// instead of ended.
TEST_F(TxControlTest, PrintThatTheDeviceRefusesMidwayAnswersNothingSent)
{
    m_control.SetDocument(Lines(1, L"Uno\r\x0C" L"Due\r\x0C" L"Tre\r"));
    const struct
    {
        const char* pszName;
        CFailingJob::Step failing;
        int nPage;
        bool bAborted;
    } cases[] = {
        {"first page refused", CFailingJob::stepStartPage, 1, true},
        {"second page not taken", CFailingJob::stepEndPage, 2, true},
        {"last page not taken", CFailingJob::stepEndPage, 3, true},
        {"end of the job refused", CFailingJob::stepEnd, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        HDC hdc = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
        CFailingJob job(c.failing, c.nPage);
        EXPECT_EQ(0, m_control.Print(hdc, L"Prova", -1, -1, 1, &job));
        ::DeleteEnhMetaFile(::CloseEnhMetaFile(hdc));
        EXPECT_EQ(c.bAborted, job.m_bAborted);
        EXPECT_EQ(!c.bAborted, job.m_bEnded);
    }
}

namespace {

// Holds keys down in the thread's keyboard state while it lives, as the user holds Ctrl, Shift or AltGr.
class CHeldKeys
{
public:
    explicit CHeldKeys(const std::vector<int>& keys)
    {
        ::GetKeyboardState(m_saved);
        BYTE state[256];
        memcpy(state, m_saved, sizeof(state));
        for (int nKey : keys)
            state[nKey] = 0x80;
        ::SetKeyboardState(state);
    }
    ~CHeldKeys() { ::SetKeyboardState(m_saved); }

private:
    BYTE m_saved[256];
};

// The format of the document at a position, as "B", "I", "U" letters.
CString Effects(const CTextDocument& doc, long nPos)
{
    const CTextCharFormat& format = doc.GetCharFormat(nPos);
    return CString(format.bBold ? L"B" : L"") + (format.bItalic ? L"I" : L"") + (format.bUnderline ? L"U" : L"");
}

} // namespace

TEST_F(TxControlTest, FormattingKeysAreKeptWhenTheDocumentIsSaved)
{
    const struct
    {
        std::vector<int> held;
        std::vector<UINT> keys;   // each pressed in turn, with the character the system makes of it
        LPCTSTR pszTyped;         // typed at the caret afterwards (empty selection only)
        long nSelStart, nSelLength;
        LPCTSTR pszText;          // the text after it all
        long nCheck;              // the position whose format is checked
        LPCTSTR pszEffects;
    } cases[] = {
        {{VK_CONTROL}, {'B'}, nullptr, 0, 4, L"Riga del prospetto", 3, L"B"},
        {{VK_CONTROL}, {'I'}, nullptr, 5, 3, L"Riga del prospetto", 5, L"I"},   // no tab from Ctrl+I
        {{VK_CONTROL}, {'U'}, nullptr, 0, 4, L"Riga del prospetto", 0, L"U"},
        {{VK_CONTROL}, {'B', 'I'}, nullptr, 0, 4, L"Riga del prospetto", 2, L"BI"},
        {{VK_CONTROL}, {'B', 'B'}, nullptr, 0, 4, L"Riga del prospetto", 0, L""},
        {{VK_CONTROL}, {'B'}, nullptr, 0, 4, L"Riga del prospetto", 4, L""},    // only the selection
        // At the caret the format goes to what is typed there next.
        {{VK_CONTROL}, {'B'}, L"XY", 4, 0, L"RigaXY del prospetto", 5, L"B"},
        {{VK_CONTROL}, {'B'}, L"XY", 4, 0, L"RigaXY del prospetto", 3, L""},
        // Paragraph formats the document cannot keep change nothing; AltGr (Ctrl+Alt) types its character.
        {{VK_CONTROL}, {'E', 'R'}, nullptr, 0, 4, L"Riga del prospetto", 0, L""},
        {{VK_CONTROL, VK_MENU}, {'E'}, nullptr, 4, 0, L"Riga\x20AC del prospetto", 4, L""},
    };
    for (const auto& c : cases) {
        m_control.SetDocument(Lines(1));
        m_control.SendMessage(EM_SETSEL, c.nSelStart, c.nSelStart + c.nSelLength);
        {
            CHeldKeys held(c.held);
            for (UINT nKey : c.keys) {
                m_control.SendMessage(WM_KEYDOWN, nKey, 1);
                const bool bAltGr = c.held.size() > 1;
                const WPARAM ch = bAltGr ? 0x20AC : (nKey & 0x1F);   // Ctrl+letter: the control character
                m_control.SendMessage(WM_CHAR, ch, 1);
            }
        }
        if (c.pszTyped) {
            for (LPCTSTR p = c.pszTyped; *p; ++p)
                m_control.SendMessage(WM_CHAR, *p, 1);
        }
        const CString label = CString(c.pszText) + L" @" + CString(std::to_wstring(c.nCheck).c_str());
        const CTextDocument& doc = m_control.GetDocument();
        EXPECT_EQ(CString(c.pszText), doc.GetText().Left(static_cast<int>(wcslen(c.pszText)))) << label;
        EXPECT_EQ(CString(c.pszEffects), Effects(doc, c.nCheck)) << label;
        // What is saved is what the control shows.
        CTextDocument reloaded;
        reloaded.LoadRtf(doc.SaveToBytes(txdFormatRtf));
        EXPECT_EQ(CString(c.pszEffects), Effects(reloaded, c.nCheck)) << label;
        m_control.SendMessage(EM_SETSEL, c.nCheck, c.nCheck + 1);
        CHARFORMAT2W shown = {};
        shown.cbSize = sizeof(shown);
        m_control.SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&shown));
        const CString strShown = CString((shown.dwEffects & CFE_BOLD) ? L"B" : L"") +
                                 ((shown.dwEffects & CFE_ITALIC) ? L"I" : L"") +
                                 ((shown.dwEffects & CFE_UNDERLINE) ? L"U" : L"");
        EXPECT_EQ(CString(c.pszEffects), strShown) << label;
        PARAFORMAT2 paragraph = {};
        paragraph.cbSize = sizeof(paragraph);
        m_control.SendMessage(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
        EXPECT_EQ(PFA_LEFT, paragraph.wAlignment) << label;
    }
    // Nothing in a locked document.
    m_control.SetDocument(Lines(1));
    m_control.SetLocked(true);
    m_control.SendMessage(EM_SETSEL, 0, 4);
    {
        CHeldKeys held({VK_CONTROL});
        m_control.SendMessage(WM_KEYDOWN, 'B', 1);
    }
    EXPECT_EQ(CString(L""), Effects(m_control.GetDocument(), 0));
    m_control.SetLocked(false);
}

TEST_F(TxControlTest, PageBreakShowsAsADottedLineNotAsAGlyph)
{
    m_parent.SetWindowPos(nullptr, 0, 0, 600, 400, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    CTextDocument doc;
    doc.AppendText(L"Prima pagina\r\x0CSeconda pagina\r", CTextCharFormat());
    m_control.SetDocument(doc);
    m_control.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);

    // What the window shows, read back.
    CRect rcClient;
    m_control.GetClientRect(&rcClient);
    HDC hWindowDC = ::GetDC(m_control.m_hWnd);
    HDC hMemDC = ::CreateCompatibleDC(hWindowDC);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hWindowDC, rcClient.Width(), rcClient.Height());
    HGDIOBJ hOld = ::SelectObject(hMemDC, hBitmap);
    ::BitBlt(hMemDC, 0, 0, rcClient.Width(), rcClient.Height(), hWindowDC, 0, 0, SRCCOPY);
    ::ReleaseDC(m_control.m_hWnd, hWindowDC);
    const COLORREF background = ::GetSysColor(COLOR_WINDOW);
    auto marked = [&](int x, int y) { return ::GetPixel(hMemDC, x, y) != background; };

    RECT rcText = {};
    m_control.SendMessage(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rcText));
    POINTL ptBreak = {}, ptAfter = {}, ptEnd = {};
    m_control.SendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&ptBreak), 13);
    m_control.SendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&ptAfter), 14);
    m_control.SendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&ptEnd), 28);
    ASSERT_GT(ptBreak.y, 0);
    ASSERT_EQ(ptBreak.y, ptAfter.y);
    ASSERT_GT(ptAfter.x, ptBreak.x);
    // A dotted line across the text at the top of the break's line.
    int nLine = 0;
    for (int x = rcText.left; x < rcText.right; ++x)
        nLine += marked(x, ptBreak.y);
    EXPECT_GT(nLine, (rcText.right - rcText.left) / 4);
    // Where the control drew its box, nothing; the text after the break as it was.
    int nGlyph = 0, nText = 0;
    for (int y = ptBreak.y + 1; y < ptBreak.y + 12; ++y) {
        for (int x = ptBreak.x; x < ptAfter.x; ++x)
            nGlyph += marked(x, y);
        for (int x = ptAfter.x; x < ptEnd.x; ++x)
            nText += marked(x, y);
    }
    EXPECT_EQ(0, nGlyph);
    EXPECT_GT(nText, 20);
    ::SelectObject(hMemDC, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMemDC);
}

TEST_F(TxControlTest, PastedTextTakesTheFormatAroundItAsTheSavedDocumentDoes)
{
    // The clipboard holds the text and a bold rich-text form of it.
    const char rtf[] = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\b Incollato\\b0}";
    const wchar_t text[] = L"Incollato";
    auto place = [&] {
        ASSERT_TRUE(::OpenClipboard(m_parent.m_hWnd));
        ::EmptyClipboard();
        HGLOBAL hRtf = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(rtf));
        memcpy(::GlobalLock(hRtf), rtf, sizeof(rtf));
        ::GlobalUnlock(hRtf);
        ::SetClipboardData(::RegisterClipboardFormatW(L"Rich Text Format"), hRtf);
        HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(text));
        memcpy(::GlobalLock(hText), text, sizeof(text));
        ::GlobalUnlock(hText);
        ::SetClipboardData(CF_UNICODETEXT, hText);
        ::CloseClipboard();
    };
    const struct
    {
        std::vector<int> held;
        UINT nKey;   // 0: a WM_PASTE
    } cases[] = {{{VK_CONTROL}, 'V'}, {{VK_SHIFT}, VK_INSERT}, {{}, 0}};
    for (const auto& c : cases) {
        place();
        m_control.SetDocument(Lines(1));
        m_control.SendMessage(EM_SETSEL, 4, 4);
        if (c.nKey) {
            CHeldKeys held(c.held);
            m_control.SendMessage(WM_KEYDOWN, c.nKey, 1);
            m_control.SendMessage(WM_CHAR, c.nKey & 0x1F, 1);
        }
        else {
            m_control.SendMessage(WM_PASTE);
        }
        const CTextDocument& doc = m_control.GetDocument();
        EXPECT_EQ(CString(L"RigaIncollato del prospetto"), doc.GetText().Left(27)) << c.nKey;
        EXPECT_EQ(CString(L""), Effects(doc, 6)) << c.nKey;
        m_control.SendMessage(EM_SETSEL, 6, 7);
        CHARFORMAT2W shown = {};
        shown.cbSize = sizeof(shown);
        m_control.SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&shown));
        EXPECT_FALSE(shown.dwEffects & CFE_BOLD) << c.nKey;
    }
}

TEST_F(TxControlTest, TableShowsWithItsRowsAndTypingInACellReachesThatCell)
{
    CTextTableRow row;
    row.cells = {{1500, txAlignLeft}, {3000, txAlignRight}};
    CTextDocument doc;
    doc.AppendText(L"Prima\r", CTextCharFormat());
    doc.AppendTableRow({L"A1", L"B1"}, row, CTextCharFormat());
    row.bShaded = true;
    doc.AppendTableRow({L"A2", L"B2"}, row, CTextCharFormat());
    doc.AppendText(L"Dopo\r", CTextCharFormat());
    m_control.SetDocument(doc);
    // Showing the table changes nothing of the document, however the control marks its rows.
    EXPECT_EQ(doc.GetText(), m_control.GetDocument().GetText());

    // The selection the program sets is the same text in the window.
    m_control.SetSel(doc.Find(L"A2", 0), 2);
    std::vector<wchar_t> selected(16);
    m_control.SendMessage(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(selected.data()));
    EXPECT_EQ(CString(L"A2"), CString(selected.data()));

    // Typing over B2 where the window shows it.
    FINDTEXTEXW find = {};
    find.chrg = {0, -1};
    find.lpstrText = L"B2";
    const LRESULT nFound = m_control.SendMessage(EM_FINDTEXTEXW, FR_DOWN, reinterpret_cast<LPARAM>(&find));
    ASSERT_GE(nFound, 0);
    Type(static_cast<long>(nFound), 2, L"12,50");
    const CTextDocument& edited = m_control.GetDocument();
    EXPECT_EQ(CString(L"Prima\rA1\aB1\a\rA2\a12,50\a\rDopo\r"), edited.GetText().Left(30));
    ASSERT_EQ(2u, edited.GetRowExtents().size());
    EXPECT_TRUE(edited.GetTableRow(1).bShaded);
    EXPECT_EQ(txAlignRight, edited.GetTableRow(1).cells[1].nAlign);
}
