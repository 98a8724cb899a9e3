// The grid window: a workbook shown one sheet at a time, with its fixed title area, headers, grid lines and
// scroll bars, an active cell that the keyboard and the mouse move, and in-cell editing in a child edit
// window. It is a window class of its own (GRID_CLASSNAME), so dialog templates can hold it as a control;
// CF1Book is the framework object that drives it. What the user does reaches the parent window's event sink
// map: StartEdit and EndEdit (text by reference, cancel flag) and MouseDown.
#pragma once

#include "GridBook.h"
#include "GridCellPainter.h"
#include "platform/mfc/afxgeom.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

#define GRID_CLASSNAME L"F1Book"
// The in-cell editor: an edit control under a class name of its own, so that callers can tell it apart.
#define GRID_EDIT_CLASSNAME L"TTF16.CSSEDITCTL"

// Events, by dispatch id (MouseDown is the standard DISPID_MOUSEDOWN).
enum
{
    gridEventStartEdit = 5,   // (BSTR* text, short* cancel): the editor is about to open with the text
    gridEventEndEdit = 6      // (BSTR* text, short* cancel): the text is about to go into the cell
};

// Registers the grid's window classes (once); a program calls it before it makes dialogs that hold a grid.
BOOL GridRegisterWindowClasses();

class CGridCtrl
{
public:
    // The grid of a window of class GRID_CLASSNAME; null for any other window.
    static CGridCtrl* FromHandle(HWND hWnd);

    HWND GetSafeHwnd() const { return m_hWnd; }
    CGridBook& GetBook() { return *m_pBook; }
    // Reads a workbook file in place of the shown one; the first sheet is shown, every sheet's active cell is
    // its first cell. A refused file leaves the grid as it was.
    BOOL ReadFile(LPCTSTR pszPath, CString& strError);

    // The shown sheet (from 1). Another sheet is shown once an open in-cell edit has gone into its cell, or
    // has been dropped when the EndEdit handler refused its text.
    int GetSheet() const { return m_pBook->GetActiveSheet(); }
    BOOL SetSheet(int nSheet);
    CGridSheet& GetShownSheet() const { return *m_pBook->GetSheet(GetSheet()); }

    // Active cell and selection of the shown sheet. The selection always holds the active cell.
    int GetActiveRow() const { return View().m_nRow; }
    int GetActiveCol() const { return View().m_nCol; }
    const CGridRange& GetSelection() const { return View().m_selection; }
    // FALSE outside the sheet's limits; the selection becomes the cell.
    BOOL SetActiveCell(int nRow, int nCol);
    // The range's first cell becomes active. FALSE when the range is not inside the sheet's limits.
    BOOL SetSelection(const CGridRange& range);
    // Scrolls so that the active cell is shown.
    void ShowActiveCell();

    // In-cell editing. StartEdit answers FALSE for a locked cell or when the StartEdit handler cancelled or
    // failed; bClear starts with an
    // empty text, bArrowsEnd lets the arrow keys end the edit and move (as when typing over a cell),
    // bSelectText selects the text instead of putting the caret at its end.
    BOOL IsEditing() const { return m_hEdit != nullptr; }
    BOOL StartEdit(BOOL bClear, BOOL bArrowsEnd, BOOL bSelectText);
    // Puts the editor's text into the cell; FALSE when the EndEdit handler cancelled or the text is a formula
    // too complex to keep (the editor stays open). A handler that fails drops the edit. TRUE when nothing was
    // being edited.
    BOOL EndEdit();
    void CancelEdit();
    HWND GetEditWindow() const { return m_hEdit; }
    // The text a cell is edited with: its formula, its number in the general format, or its text.
    CString GetEditText(int nRow, int nCol) const;
    // Puts a typed entry into a cell: "=..." a formula, a number read the user's way ("1.234,56") or in the
    // fixed Italian form the program writes amounts in, else a text; a cell formatted as text ("@") takes every
    // entry as a text. FALSE for a formula too complex to keep (the cell is unchanged).
    BOOL SetEntry(int nRow, int nCol, LPCTSTR pszEntry);

    // Display settings
    BOOL GetShowRowHeaders() const { return m_bRowHeaders; }
    void SetShowRowHeaders(BOOL bShow);
    BOOL GetShowColHeaders() const { return m_bColHeaders; }
    void SetShowColHeaders(BOOL bShow);
    BOOL GetShowGridLines() const { return m_bGridLines; }
    void SetShowGridLines(BOOL bShow);
    // 0: the spreadsheet's cross, 1: the arrow.
    void SetMousePointer(int nPointer) { m_nMousePointer = nPointer; }

    // Geometry in client pixels. CellFromPoint answers FALSE on the headers and past the last cell.
    BOOL CellFromPoint(POINT pt, int& nRow, int& nCol) const;
    // Empty when the cell is not shown.
    CRect GetCellRect(int nRow, int nCol) const;
    int TwipsToPixelsX(int nTwips) const { return ::MulDiv(nTwips, m_nDpiX, 1440); }
    int TwipsToPixelsY(int nTwips) const { return ::MulDiv(nTwips, m_nDpiY, 1440); }

    // Draws the visible part of the shown sheet into a DC (the window's paint, and tests).
    void Draw(HDC hDC, const RECT& rcClient);
    // Call after changing the book directly: scroll bars, limits and the picture follow.
    void Refresh();
    // Call after changing cells only.
    void Invalidate();

private:
    friend LRESULT CALLBACK GridWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK GridEditWndProc(HWND, UINT, WPARAM, LPARAM);

    explicit CGridCtrl(HWND hWnd);
    ~CGridCtrl();

    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK EditWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

    // What each sheet remembers while another is shown.
    struct CSheetView
    {
        int m_nRow = 1;
        int m_nCol = 1;
        CGridRange m_selection{1, 1, 1, 1};
        int m_nTopRow = 1;    // first row shown below the title rows
        int m_nLeftCol = 1;   // first column shown right of the title columns
    };
    // A shown row or column: its number and its pixel span.
    struct CSpan
    {
        int m_nIndex;
        int m_nStart;
        int m_nEnd;
    };

    CSheetView& View();
    const CSheetView& View() const;
    void ClampView();
    int RowHeaderWidth() const { return m_bRowHeaders ? m_cxRowHeader : 0; }
    int ColHeaderHeight() const { return m_bColHeaders ? m_cyColHeader : 0; }
    static std::vector<CSpan> LaySpans(int nStart, int nLimit, int nTitles, int nScrolled, int nMax,
                                       const std::function<int(int)>& sizeOf);
    std::vector<CSpan> VisibleRows(int cyClient) const;
    std::vector<CSpan> VisibleCols(int cxClient) const;
    CRect GetClientRect() const;
    int ScrollPageRows() const;
    int ScrollPageCols() const;
    static int FirstLineShowing(int nLine, int nStart, int nLimit, int nTitles, const std::function<int(int)>& sizeOf);
    void UpdateScrollBars();
    void ScrollTo(int nTopRow, int nLeftCol);

    // Drawing
    void OnPaint();
    void DrawHeaders(HDC hDC, const std::vector<CSpan>& rows, const std::vector<CSpan>& cols);

    // Input
    void OnKeyDown(UINT nKey);
    void OnChar(TCHAR ch);
    void OnMouseDown(UINT nMessage, WPARAM wParam, LPARAM lParam);
    void OnScroll(int nBar, UINT nCode);
    BOOL MoveActiveCell(int nRows, int nCols);
    // Editor keys that end the edit; TRUE when the key was taken.
    BOOL OnEditKey(UINT nKey);
    // Fires an edit event; answers FALSE when the handler cancelled or failed (bFailed: it let out an
    // exception, which the user has been shown), the text as the handler left it.
    BOOL FireEditEvent(int nEvent, CString& strText, BOOL& bFailed);

    HWND m_hWnd;
    std::unique_ptr<CGridBook> m_pBook;
    std::map<const CGridSheet*, CSheetView> m_views;
    int m_nDpiX = 96;
    int m_nDpiY = 96;
    int m_cxRowHeader = 40;
    int m_cyColHeader = 17;
    BOOL m_bRowHeaders = TRUE;
    BOOL m_bColHeaders = TRUE;
    BOOL m_bGridLines = TRUE;
    int m_nMousePointer = 0;
    HWND m_hEdit = nullptr;
    BOOL m_bArrowsEnd = FALSE;
    BOOL m_bInEndEdit = FALSE;
    HFONT m_hHeaderFont = nullptr;
    CGridCellPainter m_painter;
};
