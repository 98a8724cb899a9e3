// The grid window in a dialog: typing through keyboard messages and the edit events, navigation, the mouse
// event, check boxes drawn by the grid, and the CF1Book calls with their errors.
#include "platform/grid/F1Book.h"
#include "platform/mfc/afxevent.h"
#include "support/DialogTemplate.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <vector>

namespace
{
const UINT kGridID = 1006;

class CGridDialog : public CDialog
{
    DECLARE_DYNAMIC(CGridDialog)
public:
    CF1Book m_grid;
    std::vector<CString> m_events;
    CString m_strRefusedText;          // EndEdit refuses this text
    CString m_strReplacement;          // EndEdit puts this text in place of the typed one
    BOOL m_bRefuseStart = FALSE;
    BOOL m_bFailEnd = FALSE;           // EndEdit fails before it can check the text

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, kGridID, m_grid); }

    void OnStartEdit(BSTR* pText, short* pCancel)
    {
        m_events.push_back(L"start:" + CString(*pText));
        if (m_bRefuseStart)
            *pCancel = 1;
    }
    void OnEndEdit(BSTR* pText, short* pCancel)
    {
        m_events.push_back(L"end:" + CString(*pText));
        if (m_bFailEnd)
            AfxThrowOleDispatchException(0, L"Archivio non disponibile");
        if (m_strRefusedText == *pText)
            *pCancel = 1;
        else if (!m_strReplacement.IsEmpty())
            ::SysReAllocString(pText, m_strReplacement);
    }
    void OnMouseDown(short nButton, short nShift, long x, long y)
    {
        CString s;
        s.Format(L"mouse:%d,%d,%ld,%ld@%ld,%ld", nButton, nShift, x, y, m_grid.GetProperty5(), m_grid.GetProperty4());
        m_events.push_back(s);
    }
    DECLARE_EVENTSINK_MAP()
};
IMPLEMENT_DYNAMIC(CGridDialog, CDialog)
BEGIN_EVENTSINK_MAP(CGridDialog, CDialog)
    ON_EVENT(CGridDialog, kGridID, gridEventStartEdit, &CGridDialog::OnStartEdit, VTS_PBSTR VTS_PI2)
    ON_EVENT(CGridDialog, kGridID, gridEventEndEdit, &CGridDialog::OnEndEdit, VTS_PBSTR VTS_PI2)
    ON_EVENT(CGridDialog, kGridID, DISPID_MOUSEDOWN, &CGridDialog::OnMouseDown, VTS_I2 VTS_I2 VTS_I4 VTS_I4)
END_EVENTSINK_MAP()

class GridCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(GridRegisterWindowClasses());
        m_template.AddItem(GRID_CLASSNAME, L"", kGridID, WS_TABSTOP, 0, 0, 300, 150);
        ASSERT_TRUE(m_dialog.CreateIndirect(m_template.Get()));
        m_dialog.m_grid.SetFocus();
        m_dialog.m_grid.SetProperty21(FALSE);   // no headers: cell (1, 1) at the top left corner
        m_dialog.m_grid.SetProperty22(FALSE);
        // Cells are locked until unlocked, as the views unlock their input cells.
        CGridCellFormat input;
        input.m_bLocked = false;
        Ctrl().GetShownSheet().SetCellFormat(CGridRange(1, 1, 30, 10), input);
    }
    void TearDown() override { m_dialog.DestroyWindow(); }

    CF1Book& Grid() { return m_dialog.m_grid; }
    CGridCtrl& Ctrl() { return m_dialog.m_grid.GetControl(); }

    // A key pressed on the window that has the focus, through the dialog's pre-translation and the
    // translation into characters, as the message loop does it.
    void Press(UINT nVirtKey)
    {
        HWND hFocus = ::GetFocus();
        ASSERT_NE(nullptr, hFocus);
        LPARAM lParam = 1 | (static_cast<LPARAM>(::MapVirtualKeyW(nVirtKey, MAPVK_VK_TO_VSC)) << 16);
        ::PostMessageW(hFocus, WM_KEYDOWN, nVirtKey, lParam);
        ::PostMessageW(hFocus, WM_KEYUP, nVirtKey, lParam | 0xC0000000);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (CWnd::WalkPreTranslateTree(m_dialog.m_hWnd, &msg))
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    void Type(LPCTSTR pszText)
    {
        for (; *pszText; ++pszText) {
            SHORT nScan = ::VkKeyScanW(*pszText);
            ASSERT_EQ(0, HIBYTE(nScan)) << "a character typed without shift: " << static_cast<int>(*pszText);
            Press(LOBYTE(nScan));
        }
    }
    CString EditorText()
    {
        CString s;
        ::GetWindowTextW(Ctrl().GetEditWindow(), s.GetBuffer(256), 256);
        s.ReleaseBuffer();
        return s;
    }

    CDialogTemplate m_template{WS_POPUP, 200, 100, L"Griglia"};
    CGridDialog m_dialog;
};
} // namespace

TEST_F(GridCtrlTest, TypingFiresStartAndEndEditAndStoresTheNumberTheItalianWay)
{
    Grid().InvokeMethod211(2, 2);
    Type(L"1.234,56");
    ASSERT_TRUE(Ctrl().IsEditing());
    WCHAR szClass[32];
    ::GetClassNameW(::GetFocus(), szClass, 32);
    EXPECT_STREQ(L"TTF16.CSSEDITCTL", szClass);
    EXPECT_EQ(CString(L"1.234,56"), EditorText());
    Press(VK_RETURN);

    EXPECT_FALSE(Ctrl().IsEditing());
    ASSERT_EQ(2u, m_dialog.m_events.size());
    EXPECT_EQ(CString(L"start:"), m_dialog.m_events[0]);
    EXPECT_EQ(CString(L"end:1.234,56"), m_dialog.m_events[1]);
    EXPECT_TRUE(Ctrl().GetShownSheet().GetCellValue(2, 2).IsNumber());
    EXPECT_DOUBLE_EQ(1234.56, Grid().InvokeGet279(2, 2));
    EXPECT_EQ(3, Grid().GetProperty5());   // Enter moves down
    EXPECT_EQ(2, Grid().GetProperty4());
    EXPECT_EQ(Grid().m_hWnd, ::GetFocus());
}

// As in a spreadsheet, a cell formatted as text ("@") keeps what is typed as it is: leading zeros of codes
// stay, and "=" starts no formula.
TEST_F(GridCtrlTest, EntriesOfTextFormattedCellsStayTexts)
{
    CGridCellFormat text;
    text.m_strNumberFormat = L"@";
    Ctrl().GetShownSheet().SetCellFormat(CGridRange(1, 1, 2, 1), text);
    const struct
    {
        int nRow, nCol;
        LPCTSTR pszEntry;
        GridValueType nType;
    } cases[] = {
        {1, 1, L"0012", gridValueText}, {2, 1, L"=1+1", gridValueText},
        {1, 2, L"0012", gridValueNumber}, {2, 2, L"=1+1", gridValueNumber},
    };
    for (const auto& c : cases) {
        Ctrl().SetEntry(c.nRow, c.nCol, c.pszEntry);
        EXPECT_EQ(c.nType, Ctrl().GetShownSheet().GetCellValue(c.nRow, c.nCol).GetType()) << c.nRow << "," << c.nCol;
    }
    EXPECT_EQ(CString(L"0012"), Grid().InvokeGet281(1, 1));
    EXPECT_EQ(CString(L"=1+1"), Grid().InvokeGet281(2, 1));
}

TEST_F(GridCtrlTest, EndEditHandlerRefusesOrReplacesTheText)
{
    m_dialog.m_strRefusedText = L"12a";
    Grid().InvokeMethod211(1, 1);
    Type(L"12a");
    Press(VK_RETURN);
    // Refused: the editor stays open with the text, the cell stays empty, the active cell stays.
    ASSERT_TRUE(Ctrl().IsEditing());
    EXPECT_EQ(Ctrl().GetEditWindow(), ::GetFocus());
    EXPECT_EQ(CString(L"12a"), EditorText());
    EXPECT_EQ(CString(), Grid().InvokeGet281(1, 1));
    EXPECT_EQ(1, Grid().GetProperty5());
    // The program cannot end it either.
    try {
        Grid().InvokeMethod149();
        ADD_FAILURE() << "the refused edit was ended";
    } catch (COleDispatchException* e) {
        EXPECT_NE(-1, e->m_strDescription.Find(L"modifica"));
        e->Delete();
    }

    // Corrected, and reformatted by the handler: the handler's text goes into the cell.
    m_dialog.m_strReplacement = L"1.200";
    Press(VK_BACK);
    Press(VK_BACK);
    Press(VK_BACK);
    Type(L"1200");
    Press(VK_TAB);
    EXPECT_FALSE(Ctrl().IsEditing());
    EXPECT_DOUBLE_EQ(1200, Grid().InvokeGet279(1, 1));
    EXPECT_EQ(2, Grid().GetProperty4());   // Tab moves right
    std::vector<CString> expected = {L"start:", L"end:12a", L"end:12a", L"end:1200"};
    EXPECT_EQ(expected, m_dialog.m_events);
}

TEST_F(GridCtrlTest, StartEditHandlerKeepsTheCellClosedAndEscapeDropsTheEdit)
{
    Grid().InvokePut281(1, 1, L"fisso");
    m_dialog.m_bRefuseStart = TRUE;
    Type(L"7");
    EXPECT_FALSE(Ctrl().IsEditing());
    EXPECT_EQ(CString(L"fisso"), Grid().InvokeGet281(1, 1));

    m_dialog.m_bRefuseStart = FALSE;
    Press(VK_F2);   // edits the text as it is
    ASSERT_TRUE(Ctrl().IsEditing());
    EXPECT_EQ(CString(L"fisso"), EditorText());
    Type(L"x");
    Press(VK_ESCAPE);
    EXPECT_FALSE(Ctrl().IsEditing());
    EXPECT_EQ(CString(L"fisso"), Grid().InvokeGet281(1, 1));
    std::vector<CString> expected = {L"start:", L"start:fisso"};
    EXPECT_EQ(expected, m_dialog.m_events);
}

// The views move the active cell, switch sheets and change rows while the editor may be open: the typed text
// goes into the cell it was typed in first, and a text the EndEdit handler refuses stops the call.
TEST_F(GridCtrlTest, CallsThatMoveOrChangeCellsEndTheEditInItsOwnCellFirst)
{
    CGridBook& book = Grid().GetBook();
    book.InsertSheet(2, L"Altro");
    Ctrl().GetShownSheet().SetText(4, 1, L"sotto");
    const struct
    {
        const char* pszWhat;
        std::function<void()> call;
        long nRow, nCol;   // active cell afterwards
    } cases[] = {
        {"active cell", [&] { Grid().InvokeMethod211(3, 2); }, 3, 2},
        {"active row", [&] { Grid().SetProperty5(5); }, 5, 1},
        {"selection", [&] { Grid().InvokeMethod228(5, 1, 6, 3); }, 5, 1},
        {"row inserted", [&] { Grid().InvokeMethod178(2, -1, 2, 0, 3); }, 1, 1},
        {"row deleted", [&] { Grid().InvokeMethod139(2, -1, 2, 0, 3); }, 1, 1},
        {"sheet shown", [&] { Grid().SetProperty106(2); }, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        Grid().SetProperty106(1);
        Grid().InvokeMethod211(1, 1);
        Grid().InvokeMethod129(gridContents);
        Type(L"42");
        c.call();
        EXPECT_FALSE(Ctrl().IsEditing());
        EXPECT_DOUBLE_EQ(42, book.GetSheet(1)->GetNumber(1, 1));
        EXPECT_EQ(c.nRow, Grid().GetProperty5());
        EXPECT_EQ(c.nCol, Grid().GetProperty4());
    }
    EXPECT_EQ(CString(L"sotto"), book.GetSheet(1)->GetText(4, 1));   // one row in, one row out

    // A refused text keeps the editor on its cell and the call fails.
    Grid().SetProperty106(1);
    Grid().InvokeMethod211(2, 2);
    m_dialog.m_strRefusedText = L"12a";
    Type(L"12a");
    EXPECT_THROW(Grid().InvokeMethod211(3, 3), COleDispatchException*);
    EXPECT_THROW(Grid().InvokeMethod139(2, -1, 2, 0, 3), COleDispatchException*);
    EXPECT_TRUE(Ctrl().IsEditing());
    EXPECT_EQ(2, Grid().GetProperty5());
    EXPECT_EQ(2, Grid().GetProperty4());
    EXPECT_EQ(CString(L"sotto"), book.GetSheet(1)->GetText(4, 1));
    // A sheet switch cannot be refused: the refused text is dropped.
    Grid().SetProperty106(2);
    EXPECT_FALSE(Ctrl().IsEditing());
    EXPECT_EQ(CString(), book.GetSheet(1)->GetText(2, 2));
}

// Italian keyboards type @, #, [ and the euro sign with AltGr, which Windows reports as Ctrl and Alt held down.
TEST_F(GridCtrlTest, CharactersTypedWithAltGrStartTheEdit)
{
    BYTE keys[256], saved[256];
    ::GetKeyboardState(saved);
    ::memcpy(keys, saved, sizeof keys);
    for (BYTE nKey : {VK_CONTROL, VK_LCONTROL, VK_MENU, VK_RMENU})
        keys[nKey] = 0x80;
    ::SetKeyboardState(keys);
    m_dialog.m_grid.SendMessage(WM_CHAR, L'@', 0);
    ::SetKeyboardState(saved);
    ASSERT_TRUE(Ctrl().IsEditing());
    EXPECT_EQ(CString(L"@"), EditorText());
}

TEST_F(GridCtrlTest, KeysMoveTheActiveCellWithinTheLimits)
{
    Grid().SetProperty19(20);
    Grid().SetProperty18(5);
    struct
    {
        UINT nKey;
        long nRow, nCol;
    } steps[] = {
        {VK_RIGHT, 1, 2}, {VK_DOWN, 2, 2}, {VK_DOWN, 3, 2}, {VK_LEFT, 3, 1}, {VK_LEFT, 3, 1},   // stops at column 1
        {VK_UP, 2, 1},    {VK_END, 2, 1},  {VK_NEXT, 0, 1}, {VK_HOME, 0, 1}, {VK_PRIOR, 2, 1},
    };
    for (const auto& step : steps) {
        Press(step.nKey);
        if (step.nRow) {
            EXPECT_EQ(step.nRow, Grid().GetProperty5()) << "key " << step.nKey;
        }
        EXPECT_EQ(step.nCol, Grid().GetProperty4()) << "key " << step.nKey;
    }
    Grid().InvokeMethod211(20, 5);
    Press(VK_DOWN);
    Press(VK_RIGHT);
    EXPECT_EQ(20, Grid().GetProperty5());
    EXPECT_EQ(5, Grid().GetProperty4());

    // Typing over a cell lets the arrow keys end the edit and move on.
    Grid().InvokeMethod211(4, 2);
    Type(L"5");
    Press(VK_DOWN);
    EXPECT_FALSE(Ctrl().IsEditing());
    EXPECT_DOUBLE_EQ(5, Grid().InvokeGet279(4, 2));
    EXPECT_EQ(5, Grid().GetProperty5());
}

TEST_F(GridCtrlTest, PageDownScrollsTheRowsBelowTheTitleRows)
{
    Grid().SetProperty13(2);
    Grid().InvokeMethod211(3, 1);
    Press(VK_NEXT);
    long nRow = Grid().GetProperty5();
    EXPECT_GT(nRow, 5);
    // The active cell is in view, the title rows still at the top.
    CRect rcActive = Ctrl().GetCellRect(nRow, 1);
    CRect rcTitle = Ctrl().GetCellRect(1, 1);
    EXPECT_FALSE(rcActive.IsRectEmpty());
    EXPECT_EQ(0, rcTitle.top);
    EXPECT_TRUE(Ctrl().GetCellRect(3, 1).IsRectEmpty());   // scrolled away
}

TEST_F(GridCtrlTest, MouseDownSelectsTheCellThenReachesTheSink)
{
    CRect rc = Ctrl().GetCellRect(2, 3);
    ASSERT_FALSE(rc.IsRectEmpty());
    CPoint pt = rc.CenterPoint();
    m_dialog.m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(pt.x, pt.y));
    m_dialog.m_grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    CString strExpected;
    strExpected.Format(L"mouse:1,1,%ld,%ld@2,3", pt.x, pt.y);
    ASSERT_EQ(1u, m_dialog.m_events.size());
    EXPECT_EQ(strExpected, m_dialog.m_events[0]);

    // The same point in twips, as the views ask for it.
    HDC hDC = ::GetDC(nullptr);
    long nX = ::MulDiv(pt.x, 1440, ::GetDeviceCaps(hDC, LOGPIXELSX));
    long nY = ::MulDiv(pt.y, 1440, ::GetDeviceCaps(hDC, LOGPIXELSY));
    ::ReleaseDC(nullptr, hDC);
    long nRow = -1, nCol = -1;
    Grid().InvokeMethod237(nX, nY, &nRow, &nCol);
    EXPECT_EQ(2, nRow);
    EXPECT_EQ(3, nCol);
    Grid().SetProperty21(TRUE);   // on the row headers there is no cell
    Grid().InvokeMethod237(10, nY, &nRow, &nCol);
    EXPECT_EQ(0, nRow);
    EXPECT_EQ(0, nCol);
}

namespace
{
// The bounding box of the dark pixels of a cell, and whether its inside holds dark pixels too.
struct CBoxPixels
{
    CRect m_rcDark;
    bool m_bFrameWhole = true;
    int m_nInsideDark = 0;
};

CBoxPixels ReadBox(CGridCtrl& grid, int nRow, int nCol)
{
    CRect rcClient;
    ::GetClientRect(grid.GetSafeHwnd(), &rcClient);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = rcClient.Width();
    bmi.bmiHeader.biHeight = -rcClient.Height();
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HBITMAP hBitmap = ::CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    grid.Draw(hDC, rcClient);
    ::GdiFlush();
    auto dark = [&](int x, int y) {
        DWORD px = static_cast<const DWORD*>(pBits)[y * rcClient.Width() + x];
        return ((px & 0xFF) + ((px >> 8) & 0xFF) + ((px >> 16) & 0xFF)) < 3 * 100;
    };
    CBoxPixels box;
    CRect rcCell = grid.GetCellRect(nRow, nCol);
    box.m_rcDark.SetRect(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    for (int y = rcCell.top; y < rcCell.bottom; ++y)
        for (int x = rcCell.left; x < rcCell.right; ++x)
            if (dark(x, y)) {
                box.m_rcDark.left = std::min<LONG>(box.m_rcDark.left, x);
                box.m_rcDark.top = std::min<LONG>(box.m_rcDark.top, y);
                box.m_rcDark.right = std::max<LONG>(box.m_rcDark.right, x + 1);
                box.m_rcDark.bottom = std::max<LONG>(box.m_rcDark.bottom, y + 1);
            }
    const CRect& b = box.m_rcDark;
    if (b.left < b.right) {
        for (int x = b.left; x < b.right; ++x)
            box.m_bFrameWhole = box.m_bFrameWhole && dark(x, b.top) && dark(x, b.bottom - 1);
        for (int y = b.top; y < b.bottom; ++y)
            box.m_bFrameWhole = box.m_bFrameWhole && dark(b.left, y) && dark(b.right - 1, y);
        for (int y = b.top + 1; y < b.bottom - 1; ++y)
            for (int x = b.left + 1; x < b.right - 1; ++x)
                box.m_nInsideDark += dark(x, y);
    }
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hDC);
    return box;
}
} // namespace

TEST_F(GridCtrlTest, BoxCellsAreDrawnAsBoxesByTheGrid)
{
    CGridSheet& sheet = Ctrl().GetShownSheet();
    CGridCellFormat box;
    box.m_strFontName = GRID_BOX_FONT;
    box.m_nHAlign = gridHAlignCenter;
    sheet.SetCellFormat(CGridRange(2, 2, 2, 3), box);
    sheet.SetText(2, 2, CString(kGridBoxTicked));
    sheet.SetText(2, 3, CString(kGridBoxEmpty));
    Grid().InvokeMethod211(5, 5);   // the active cell's frame elsewhere

    CBoxPixels ticked = ReadBox(Ctrl(), 2, 2);
    CBoxPixels empty = ReadBox(Ctrl(), 2, 3);
    for (const CBoxPixels* p : {&ticked, &empty}) {
        ASSERT_LT(p->m_rcDark.left, p->m_rcDark.right) << "nothing drawn";
        EXPECT_GE(p->m_rcDark.Width(), 9);
        EXPECT_NEAR(p->m_rcDark.Width(), p->m_rcDark.Height(), 1);
        EXPECT_TRUE(p->m_bFrameWhole);
    }
    EXPECT_GT(ticked.m_nInsideDark, 6);   // the check mark
    EXPECT_EQ(0, empty.m_nInsideDark);
    // Centred in its cell.
    CRect rcCell = Ctrl().GetCellRect(2, 3);
    EXPECT_NEAR(rcCell.CenterPoint().x, empty.m_rcDark.CenterPoint().x, 2);
}

TEST_F(GridCtrlTest, CallsOutsideTheWorkbookRaiseDispatchExceptionsWithATextAndChangeNothing)
{
    CTempFolder folder;
    Grid().SetProperty19(10);
    Grid().InvokePut281(3, 2, L"resta");
    struct
    {
        const char* pszWhat;
        std::function<void()> call;
    } cases[] = {
        {"cell in row 0", [&] { Grid().InvokeGet281(0, 1); }},
        {"cell past the row limit", [&] { Grid().InvokePut279(11, 1, 5); }},
        {"sheet 2 of 1", [&] { Grid().SetProperty106(2); }},
        {"sheet name of sheet 0", [&] { Grid().InvokeGet286(0); }},
        {"selection in reverse", [&] { Grid().InvokeMethod228(3, 1, 2, 1); }},
        {"row limit 0", [&] { Grid().SetProperty19(0); }},
        {"paste without a copy", [&] { Grid().InvokeMethod1422(gridAll, 0); }},
        {"rows shifted sideways", [&] { Grid().InvokeMethod139(2, -1, 2, 0, 1); }},
        {"find on sheet 3", [&] { Grid().InvokeMethod1448(L"x", 3, -1, -1, 0, 0, 3); }},
        {"damaged workbook", [&] { Grid().InvokeMethod1375(folder.Write(L"Rotto.vts", "{\"vts\": 1, \"sheets\": [")); }},
        {"missing workbook", [&] { Grid().InvokeMethod1375(folder.File(L"Nessuno.vts")); }},
    };
    for (const auto& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.pszWhat << ": no exception";
        } catch (COleDispatchException* e) {
            TCHAR szText[256];
            EXPECT_TRUE(e->GetErrorMessage(szText, 256)) << c.pszWhat;
            EXPECT_GT(::lstrlenW(szText), 10) << c.pszWhat;
            e->Delete();
        }
    }
    EXPECT_EQ(10, Grid().GetProperty19());
    EXPECT_EQ(1, Grid().GetProperty106());
    EXPECT_EQ(CString(L"resta"), Grid().InvokeGet281(3, 2));

    CF1Book unbound;
    try {
        unbound.GetProperty105();
        ADD_FAILURE() << "a grid without a window answered";
    } catch (COleDispatchException* e) {
        e->Delete();
    }
}

TEST_F(GridCtrlTest, RowsAreCopiedInsertedPastedAndDeletedThroughTheWrapper)
{
    CGridSheet& sheet = Ctrl().GetShownSheet();
    for (int r : {2, 3}) {
        sheet.SetNumber(r, 1, r);
        sheet.SetNumber(r, 2, 10 * r);
        sheet.SetFormula(r, 3, L"=A" + GridCellName(r, 2).Mid(1) + L"+B" + GridCellName(r, 2).Mid(1));
    }
    sheet.SetText(4, 1, L"Totale");
    sheet.SetFormula(4, 3, L"=SUM(C2:C3)");

    // A new item row made from the last one, as the item forms add rows.
    Grid().InvokeMethod228(3, 1, 3, 3);
    Grid().InvokeMethod142();
    Grid().InvokeMethod178(3, -1, 3, 0, 3);
    Grid().InvokeMethod228(3, 1, 3, 3);
    Grid().InvokeMethod1422(gridAll, 0);
    EXPECT_EQ(CString(L"=A3+B3"), sheet.GetFormula(3, 3));
    EXPECT_EQ(CString(L"=A4+B4"), sheet.GetFormula(4, 3));
    EXPECT_EQ(CString(L"=SUM(C2:C4)"), sheet.GetFormula(5, 3));
    EXPECT_DOUBLE_EQ(22 + 33 + 33, Grid().InvokeGet279(5, 3));

    Grid().InvokeMethod129(gridContents);   // empties the selected row
    EXPECT_EQ(CString(), sheet.GetFormula(3, 3));
    EXPECT_DOUBLE_EQ(22 + 33, Grid().InvokeGet279(5, 3));
    Grid().InvokeMethod139(3, -1, 3, 0, 3);
    EXPECT_EQ(CString(L"Totale"), Grid().InvokeGet281(4, 1));
    EXPECT_EQ(CString(L"=SUM(C2:C3)"), sheet.GetFormula(4, 3));
    Grid().InvokeMethod132();
    Grid().InvokeMethod228(6, 1, 6, 3);
    EXPECT_THROW(Grid().InvokeMethod1422(gridAll, 0), COleDispatchException*) << "the copy was forgotten";

    CF1FindResult found = Grid().InvokeMethod1448(L"totale", 1, -1, -1, 0, 0, gridFindWholeCell);
    EXPECT_TRUE(found.InvokeMethod1());
    EXPECT_EQ(4, found.InvokeGet3());
    EXPECT_EQ(1, found.InvokeGet4());
    EXPECT_FALSE(Grid().InvokeMethod1448(L"totale", 1, -1, -1, 0, 0, gridFindMatchCase).InvokeMethod1());
    EXPECT_FALSE(Grid().InvokeMethod1448(L"Totale", 1, -1, -1, 3, 0, 0).InvokeMethod1()) << "past the last row";
}

TEST_F(GridCtrlTest, CellFormatOfTheSelectionIsChangedAndApplied)
{
    Grid().InvokePut279(2, 2, -1234.5);
    Grid().InvokeMethod211(2, 2);
    CF1CellFormat format = Grid().InvokeMethod1438();
    format.InvokePut14(L"+#,##0.00;-#,##0.00;#,##0.00");
    format.InvokePut19(FALSE);
    format.InvokePut13(RGB(255, 0, 0));
    Grid().InvokeMethod228(2, 2, 3, 2);
    Grid().InvokeMethod1439(format);
    EXPECT_EQ(CString(L"-1.234,50"), Grid().InvokeGet281(2, 2));
    const CGridCellFormat& applied = Ctrl().GetShownSheet().GetCellFormat(3, 2);
    EXPECT_FALSE(applied.m_bLocked);
    EXPECT_EQ(RGB(255, 0, 0), applied.m_crText);
}

// The program writes amounts in the fixed Italian form ("1.234,56") whatever the regional settings; the grid
// reads back what it writes, and what the user types the regional way, so an amount is never lost to a text.
TEST_F(GridCtrlTest, TypedAmountsAreTheSameNumbersUnderItalianAndEnglishSettings)
{
    CGridSeparators english;
    english.m_chDecimal = L'.';
    english.m_chThousands = L',';
    const struct
    {
        const char* pszSettings;
        CGridSeparators separators;
        LPCTSTR pszTyped;      // what reaches the cell once the EndEdit handler has reformatted it
        double dStored;
    } cases[] = {
        {"Italian", CGridSeparators(), L"1.234,56", 1234.56},
        {"Italian", CGridSeparators(), L"-0,50", -0.5},
        {"Italian", CGridSeparators(), L"1234", 1234},
        {"English", english, L"1.234,56", 1234.56},
        {"English", english, L"-0,50", -0.5},
        {"English", english, L"1.234.567,00", 1234567},
        {"English", english, L"1,234.56", 1234.56},   // typed the English way
        {"English", english, L"12.5", 12.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pszSettings) + " " + CString(c.pszTyped).ToMultiByte(CP_UTF8));
        Grid().GetBook().SetSeparators(c.separators);
        Grid().InvokePut281(2, 2, L"");
        Grid().InvokeMethod211(2, 2);
        m_dialog.m_strReplacement = c.pszTyped;
        Type(L"1");
        Press(VK_RETURN);
        ASSERT_FALSE(Ctrl().IsEditing());
        EXPECT_TRUE(Ctrl().GetShownSheet().GetCellValue(2, 2).IsNumber());
        EXPECT_DOUBLE_EQ(c.dStored, Grid().InvokeGet279(2, 2));
    }
}

TEST_F(GridCtrlTest, LockedCellRefusesEveryWayOfEditingButTheProgramStillWritesIt)
{
    CGridCellFormat locked;
    Ctrl().GetShownSheet().SetCellFormat(CGridRange(3, 3, 3, 3), locked);
    Grid().InvokePut281(3, 3, L"fisso");
    Grid().InvokeMethod211(3, 3);
    Type(L"7");
    EXPECT_FALSE(Ctrl().IsEditing());
    Press(VK_F2);
    EXPECT_FALSE(Ctrl().IsEditing());
    Grid().InvokeMethod232(0, 0, 1);
    EXPECT_FALSE(Ctrl().IsEditing());
    CRect rc = Ctrl().GetCellRect(3, 3);
    m_dialog.m_grid.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(rc.CenterPoint().x, rc.CenterPoint().y));
    EXPECT_FALSE(Ctrl().IsEditing());
    EXPECT_EQ(CString(L"fisso"), Grid().InvokeGet281(3, 3));
    for (const CString& strEvent : m_dialog.m_events)
        EXPECT_EQ(-1, strEvent.Find(L"start:")) << "the StartEdit handler was asked";

    // Unlocked through the wrapper, as the views unlock their input cells.
    CF1CellFormat format = Grid().InvokeMethod1438();
    format.InvokePut19(FALSE);
    Grid().InvokeMethod1439(format);
    Type(L"7");
    EXPECT_TRUE(Ctrl().IsEditing());
}

TEST_F(GridCtrlTest, EndEditHandlerThatFailsDropsTheEdit)
{
    CMessageBoxRecorder recorder;
    Grid().InvokePut281(1, 1, L"prima");
    Grid().InvokeMethod211(1, 1);
    m_dialog.m_bFailEnd = TRUE;
    Type(L"12a");
    Press(VK_RETURN);
    EXPECT_FALSE(Ctrl().IsEditing());
    EXPECT_EQ(CString(L"prima"), Grid().InvokeGet281(1, 1));
    ASSERT_EQ(1u, recorder.Count());
    EXPECT_EQ(CString(L"Archivio non disponibile"), recorder.Last().text);
}

TEST_F(GridCtrlTest, TypedFormulaTooComplexIsRefusedWithAMessage)
{
    CMessageBoxRecorder recorder;
    Grid().InvokeMethod211(1, 1);
    Type(L"=");
    CString strFormula = L"=" + CString(L'(', 500) + L"1" + CString(L')', 500);
    ::SetWindowTextW(Ctrl().GetEditWindow(), strFormula);
    Press(VK_RETURN);
    ASSERT_TRUE(Ctrl().IsEditing());   // the user can shorten it
    EXPECT_EQ(CString(), Grid().InvokeGet281(1, 1));
    ASSERT_EQ(1u, recorder.Count());
    EXPECT_NE(-1, recorder.Last().text.Find(L"troppo complessa"));
    Press(VK_ESCAPE);
}

// Bringing a far cell into view scrolls there at once: the cell is whole at the bottom (right) of the grid.
TEST_F(GridCtrlTest, ActiveCellFarAwayIsBroughtIntoViewAtOnce)
{
    Grid().SetProperty13(2);
    Grid().SetProperty11(1);
    Grid().InvokeMethod211(20000, 200);
    DWORD dwStart = ::GetTickCount();
    Grid().InvokeMethod229();
    DWORD dwElapsed = ::GetTickCount() - dwStart;
    EXPECT_LT(dwElapsed, 1000u);
    CRect rcClient;
    m_dialog.m_grid.GetClientRect(&rcClient);
    CRect rcActive = Ctrl().GetCellRect(20000, 200);
    ASSERT_FALSE(rcActive.IsRectEmpty());
    EXPECT_LE(rcActive.bottom, rcClient.bottom);
    EXPECT_LE(rcActive.right, rcClient.right);
    EXPECT_GT(rcActive.bottom + rcActive.Height(), rcClient.bottom);   // no row below it would fit
    EXPECT_GT(rcActive.right + rcActive.Width(), rcClient.right);
    EXPECT_FALSE(Ctrl().GetCellRect(1, 1).IsRectEmpty());             // the title area stays
    EXPECT_FALSE(Ctrl().GetCellRect(19999, 200).IsRectEmpty());       // as many rows above as fit

    Grid().InvokeMethod211(5, 3);   // back up: the cell becomes the first below the titles
    Grid().InvokeMethod229();
    EXPECT_EQ(Ctrl().GetCellRect(2, 1).bottom, Ctrl().GetCellRect(5, 3).top);
}

TEST_F(GridCtrlTest, AMergedAreaIsOneCellForTheActiveCellAndTheKeys)
{
    CGridSheet& sheet = Ctrl().GetShownSheet();
    ASSERT_TRUE(sheet.MergeCells(CGridRange(2, 2, 3, 4)));
    // A cell inside the area makes the area's first cell active and selects the area.
    Grid().InvokeMethod211(3, 3);
    EXPECT_EQ(2, Grid().GetProperty5());
    EXPECT_EQ(2, Grid().GetProperty4());
    const CGridRange& selection = Ctrl().GetSelection();
    EXPECT_EQ(4, selection.m_nCol2);
    EXPECT_EQ(3, selection.m_nRow2);
    // The area's first cell takes the whole area on the screen (and the in-cell editor with it).
    CRect rcFirst = Ctrl().GetCellRect(2, 2), rcNext = Ctrl().GetCellRect(2, 5), rcBelow = Ctrl().GetCellRect(4, 2);
    EXPECT_EQ(rcNext.left, rcFirst.right);
    EXPECT_EQ(rcBelow.top, rcFirst.bottom);
    // Keys step over it: right from it to the column after it, left into it to its first cell.
    struct
    {
        UINT nKey;
        long nRow, nCol;
    } steps[] = {{VK_RIGHT, 2, 5}, {VK_LEFT, 2, 2}, {VK_DOWN, 4, 2}, {VK_UP, 2, 2}, {VK_LEFT, 2, 1}};
    for (const auto& step : steps) {
        Press(step.nKey);
        EXPECT_EQ(step.nRow, Grid().GetProperty5()) << "key " << step.nKey;
        EXPECT_EQ(step.nCol, Grid().GetProperty4()) << "key " << step.nKey;
    }
}
