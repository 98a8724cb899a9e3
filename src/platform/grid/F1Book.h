// CF1Book: the framework object of a grid window (GridCtrl.h), with the grid's operations named by their
// dispatch ids as the form views call them. A grid in a dialog template (control class GRID_CLASSNAME) is
// bound with DDX_Control; Create makes one in code.
//
// A call that cannot be carried out (no window, a sheet or cell outside the workbook, a value out of range, an
// in-cell edit that its EndEdit handler refused to end) raises a COleDispatchException whose description says
// why, as a hosted control's failed call does; the caller shows it with its text.
//
// Calls that move the active cell or change cells first end an open in-cell edit, so that the typed text goes
// into the cell it was typed in; when the EndEdit handler refuses the text, the editor stays and the call
// raises. Showing another sheet drops a refused text instead: the handler has told the user why.
//
// Sheets count from 1, rows and columns from 1; positions given in twips are 1/1440 inch of the screen.
#pragma once

#include "GridCtrl.h"

#include "platform/mfc/afxwin.h"

#include <vector>

// A cell format taken from the grid's selection (1438), changed, and applied to a selection (1439).
class CF1CellFormat
{
public:
    CF1CellFormat() = default;
    explicit CF1CellFormat(const CGridCellFormat& format) : m_format(format) {}

    const CGridCellFormat& GetFormat() const { return m_format; }

    void InvokePut14(LPCTSTR lpszNumberFormat) { m_format.m_strNumberFormat = lpszNumberFormat; }   // number format
    void InvokePut19(BOOL bLocked) { m_format.m_bLocked = bLocked != FALSE; }                     // locked
    // Colour of the border nIndex: 0 left, 1 right, 2 top, 3 bottom.
    void InvokePut5(long nIndex, COLORREF crColor);
    void InvokePut13(COLORREF crColor) { m_format.m_crText = crColor; }                           // text colour

private:
    CGridCellFormat m_format;
};

// The answer of a find (1448).
class CF1FindResult
{
public:
    CF1FindResult() = default;
    CF1FindResult(BOOL bFound, long nRow, long nCol) : m_bFound(bFound), m_nRow(nRow), m_nCol(nCol) {}

    BOOL InvokeMethod1() const { return m_bFound; }   // found
    long InvokeGet3() const { return m_nRow; }        // row of the cell found
    long InvokeGet4() const { return m_nCol; }        // column of the cell found

private:
    BOOL m_bFound = FALSE;
    long m_nRow = 0;
    long m_nCol = 0;
};

class CF1Book : public CWnd
{
    DECLARE_DYNAMIC(CF1Book)
public:
    CF1Book() = default;

    BOOL Create(LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // The workbook and the window behind the dispatch ids.
    CGridCtrl& GetControl() const;
    CGridBook& GetBook() const { return GetControl().GetBook(); }

    // Workbook and sheets
    void InvokeMethod1375(LPCTSTR lpszPath);            // reads a workbook file
    long GetProperty105() const;                         // number of sheets
    long GetProperty106() const;                         // shown sheet
    void SetProperty106(long nSheet);
    CString InvokeGet286(long nSheet) const;             // name of a sheet

    // Active cell of the shown sheet
    long GetProperty5() const;                           // row
    void SetProperty5(long nRow);
    long GetProperty4() const;                           // column
    void SetProperty4(long nCol);
    CString GetProperty7() const;                        // text shown
    void SetProperty7(LPCTSTR lpszText);                 // puts a text (as a text, never read as a number)
    double GetProperty8() const;                         // number; 0 for anything else
    void SetProperty8(double dNumber);

    // Cells of the shown sheet
    CString InvokeGet281(long nRow, long nCol) const;
    void InvokePut281(long nRow, long nCol, LPCTSTR lpszText);
    double InvokeGet279(long nRow, long nCol) const;
    void InvokePut279(long nRow, long nCol, double dNumber);
    double InvokeGet1319(long nSheet, long nRow, long nCol) const;

    // Extent, limits and title area of the shown sheet
    long GetProperty88() const;                          // last row holding something
    long GetProperty87() const;                          // last column holding something
    long GetProperty19() const;                          // row limit
    void SetProperty19(long nMaxRow);
    long GetProperty18() const;                          // column limit
    void SetProperty18(long nMaxCol);
    void SetProperty11(long nTitleCols);                 // fixed title columns
    void SetProperty13(long nTitleRows);                 // fixed title rows

    // Display
    void SetProperty21(BOOL bShow);                      // row headers
    void SetProperty22(BOOL bShow);                      // column headers
    void SetProperty59(BOOL bShow);                      // grid lines
    // Display settings the form views put that this grid has no use for: they are accepted and change nothing.
    void SetProperty15(BOOL) {}
    void SetProperty14(BOOL) {}
    void SetProperty110(BOOL) {}
    void SetProperty100(BOOL) {}
    void SetProperty109(long) {}
    void SetProperty1427(BOOL) {}
    void InvokeMethod248(long, long) {}
    void SetMousePointer(long nPointer);                 // 0 the cross, 1 the arrow

    // Selection and editing
    void InvokeMethod228(long nRow1, long nCol1, long nRow2, long nCol2);   // selects; the first cell is active
    void InvokeMethod211(long nRow, long nCol);                            // makes the cell active
    void InvokeMethod169(long* pRow, long* pCol) const;                    // the active cell
    void InvokeMethod229();                                                // scrolls the active cell into view
    // Starts the in-cell edit of the active cell: nClear starts with an empty text, nArrowsEnd lets the arrow
    // keys end the edit, nSelectText selects the text. Nothing happens when the StartEdit handler cancels.
    void InvokeMethod232(long nClear, long nArrowsEnd, long nSelectText);
    void InvokeMethod149();                                                // ends the in-cell edit
    // The cell under a point of the client area given in twips; 0, 0 on the headers and past the cells.
    void InvokeMethod237(long nX, long nY, long* pRow, long* pCol) const;

    // Formats and find
    CF1CellFormat InvokeMethod1438() const;              // format of the active cell
    void InvokeMethod1439(const CF1CellFormat& format);  // applies it to every cell of the selection
    // Looks for a cell of sheet nSheet showing the text, after (nRow, nCol) (-1: from the first cell), up to
    // row nLastRow and column nLastCol (0: to the end); nFlags gridFindMatchCase | gridFindWholeCell.
    CF1FindResult InvokeMethod1448(LPCTSTR lpszText, long nSheet, long nRow, long nCol, long nLastRow,
                                   long nLastCol, long nFlags) const;

    // Rows of the shown sheet. Ranges are (nRow1, nCol1, nRow2, nCol2); nShift 3 moves whole rows (the only
    // kind this grid has), whatever the columns say.
    void InvokeMethod178(long nRow1, long nCol1, long nRow2, long nCol2, long nShift);   // inserts rows
    void InvokeMethod139(long nRow1, long nCol1, long nRow2, long nCol2, long nShift);   // deletes rows
    void InvokeMethod142();                              // copies the selection (the grid keeps the copy)
    // Pastes the copy into the selection: nWhat gridContents, gridFormats or gridAll; nOperation 0 (replace).
    void InvokeMethod1422(long nWhat, long nOperation);
    void InvokeMethod129(long nWhat);                    // empties the selection: gridContents, gridFormats, gridAll
    void InvokeMethod132();                              // forgets the copy

    // Output: the sheets that the file export and the printout take (all when none is given), the export as an
    // Excel workbook (nType 11, the only type written), and the printout on a printer given by its device names
    // and device mode (global handles, read at once), or on a printer DC handed in (which stays the caller's).
    void SetOutputSheets(const std::vector<int>& sheets) { m_outputSheets = sheets; }
    void InvokeMethod1428(LPCTSTR lpszPath, long nType);
    void SetProperty1450(HGLOBAL hDevNames);
    void SetProperty104(HGLOBAL hDevMode);
    void SetPrinterDC(HDC hDC) { m_hPrinterDC = hDC; }
    void InvokeMethod1324(long nShowDialog, long nPrintAll);

private:
    [[noreturn]] static void ThrowError(UINT nDescriptionID);
    // Puts an open in-cell edit into its cell; raises when the EndEdit handler refuses the text.
    void EndEdit();
    CGridSheet& Sheet() const { return GetControl().GetShownSheet(); }
    void CheckCell(long nRow, long nCol) const;
    // The rows of a row operation, checked.
    void CheckRows(long nRow1, long nRow2, long nShift) const;

    CGridClip m_clip;
    std::vector<int> m_outputSheets;
    CString m_strDriver;
    CString m_strDevice;
    std::vector<BYTE> m_devMode;
    HDC m_hPrinterDC = nullptr;
};
