#include "F1Book.h"

#include "GridPrinter.h"
#include "GridXlsWriter.h"
#include "gridres.h"

#include "platform/mfc/afxevent.h"

#include <commdlg.h>

void CF1CellFormat::InvokePut5(long nIndex, COLORREF crColor)
{
    if (nIndex < 0 || nIndex >= gridSideCount)
        AfxThrowOleDispatchException(0, GRID_IDS_BAD_VALUE);
    m_format.m_borders[nIndex].m_crColor = crColor;
}

IMPLEMENT_DYNAMIC(CF1Book, CWnd)

BOOL CF1Book::Create(LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return GridRegisterWindowClasses() && CWnd::Create(GRID_CLASSNAME, lpszWindowName, dwStyle, rect, pParentWnd, nID);
}

void CF1Book::ThrowError(UINT nDescriptionID)
{
    AfxThrowOleDispatchException(0, nDescriptionID);
}

CGridCtrl& CF1Book::GetControl() const
{
    CGridCtrl* pGrid = CGridCtrl::FromHandle(m_hWnd);
    if (!pGrid)
        ThrowError(GRID_IDS_NO_WINDOW);
    return *pGrid;
}

void CF1Book::EndEdit()
{
    if (!GetControl().EndEdit())
        ThrowError(GRID_IDS_EDIT_NOT_ENDED);
}

void CF1Book::CheckCell(long nRow, long nCol) const
{
    const CGridSheet& sheet = Sheet();
    if (nRow < 1 || nCol < 1 || nRow > sheet.GetMaxRow() || nCol > sheet.GetMaxCol())
        ThrowError(GRID_IDS_BAD_CELL);
}

void CF1Book::CheckRows(long nRow1, long nRow2, long nShift) const
{
    if (nShift != 3)
        ThrowError(GRID_IDS_NOT_SUPPORTED);
    if (nRow1 < 1 || nRow2 < nRow1 || nRow2 > kGridMaxRows)
        ThrowError(GRID_IDS_BAD_RANGE);
}

void CF1Book::InvokeMethod1375(LPCTSTR lpszPath)
{
    CString strError;
    if (!GetControl().ReadFile(lpszPath, strError))
        AfxThrowOleDispatchException(0, strError);
    m_clip = CGridClip();
}

long CF1Book::GetProperty105() const
{
    return GetBook().GetSheetCount();
}

long CF1Book::GetProperty106() const
{
    return GetControl().GetSheet();
}

void CF1Book::SetProperty106(long nSheet)
{
    if (!GetControl().SetSheet(nSheet))
        ThrowError(GRID_IDS_BAD_SHEET);
}

CString CF1Book::InvokeGet286(long nSheet) const
{
    const CGridSheet* pSheet = GetBook().GetSheet(nSheet);
    if (!pSheet)
        ThrowError(GRID_IDS_BAD_SHEET);
    return pSheet->GetName();
}

long CF1Book::GetProperty5() const
{
    return GetControl().GetActiveRow();
}

void CF1Book::SetProperty5(long nRow)
{
    InvokeMethod211(nRow, GetControl().GetActiveCol());
}

long CF1Book::GetProperty4() const
{
    return GetControl().GetActiveCol();
}

void CF1Book::SetProperty4(long nCol)
{
    InvokeMethod211(GetControl().GetActiveRow(), nCol);
}

CString CF1Book::GetProperty7() const
{
    return InvokeGet281(GetProperty5(), GetProperty4());
}

void CF1Book::SetProperty7(LPCTSTR lpszText)
{
    InvokePut281(GetProperty5(), GetProperty4(), lpszText);
}

double CF1Book::GetProperty8() const
{
    return InvokeGet279(GetProperty5(), GetProperty4());
}

void CF1Book::SetProperty8(double dNumber)
{
    InvokePut279(GetProperty5(), GetProperty4(), dNumber);
}

CString CF1Book::InvokeGet281(long nRow, long nCol) const
{
    CheckCell(nRow, nCol);
    return Sheet().GetText(nRow, nCol);
}

void CF1Book::InvokePut281(long nRow, long nCol, LPCTSTR lpszText)
{
    CheckCell(nRow, nCol);
    Sheet().SetText(nRow, nCol, lpszText);
    GetControl().Invalidate();
}

double CF1Book::InvokeGet279(long nRow, long nCol) const
{
    CheckCell(nRow, nCol);
    return Sheet().GetNumber(nRow, nCol);
}

void CF1Book::InvokePut279(long nRow, long nCol, double dNumber)
{
    CheckCell(nRow, nCol);
    if (!Sheet().SetNumber(nRow, nCol, dNumber))
        ThrowError(GRID_IDS_BAD_VALUE);
    GetControl().Invalidate();
}

double CF1Book::InvokeGet1319(long nSheet, long nRow, long nCol) const
{
    const CGridSheet* pSheet = GetBook().GetSheet(nSheet);
    if (!pSheet)
        ThrowError(GRID_IDS_BAD_SHEET);
    if (nRow < 1 || nCol < 1 || nRow > pSheet->GetMaxRow() || nCol > pSheet->GetMaxCol())
        ThrowError(GRID_IDS_BAD_CELL);
    return pSheet->GetNumber(nRow, nCol);
}

long CF1Book::GetProperty88() const
{
    return Sheet().GetLastRow();
}

long CF1Book::GetProperty87() const
{
    return Sheet().GetLastCol();
}

long CF1Book::GetProperty19() const
{
    return Sheet().GetMaxRow();
}

void CF1Book::SetProperty19(long nMaxRow)
{
    if (!Sheet().SetMaxRow(nMaxRow))
        ThrowError(GRID_IDS_BAD_VALUE);
    GetControl().Refresh();
}

long CF1Book::GetProperty18() const
{
    return Sheet().GetMaxCol();
}

void CF1Book::SetProperty18(long nMaxCol)
{
    if (!Sheet().SetMaxCol(nMaxCol))
        ThrowError(GRID_IDS_BAD_VALUE);
    GetControl().Refresh();
}

void CF1Book::SetProperty11(long nTitleCols)
{
    if (!Sheet().SetTitleCols(nTitleCols))
        ThrowError(GRID_IDS_BAD_VALUE);
    GetControl().Refresh();
}

void CF1Book::SetProperty13(long nTitleRows)
{
    if (!Sheet().SetTitleRows(nTitleRows))
        ThrowError(GRID_IDS_BAD_VALUE);
    GetControl().Refresh();
}

void CF1Book::SetProperty21(BOOL bShow)
{
    GetControl().SetShowRowHeaders(bShow);
}

void CF1Book::SetProperty22(BOOL bShow)
{
    GetControl().SetShowColHeaders(bShow);
}

void CF1Book::SetProperty59(BOOL bShow)
{
    GetControl().SetShowGridLines(bShow);
}

void CF1Book::SetMousePointer(long nPointer)
{
    if (nPointer != 0 && nPointer != 1)
        ThrowError(GRID_IDS_BAD_VALUE);
    GetControl().SetMousePointer(nPointer);
}

void CF1Book::InvokeMethod228(long nRow1, long nCol1, long nRow2, long nCol2)
{
    EndEdit();
    if (!GetControl().SetSelection(CGridRange(nRow1, nCol1, nRow2, nCol2)))
        ThrowError(GRID_IDS_BAD_RANGE);
}

void CF1Book::InvokeMethod211(long nRow, long nCol)
{
    CheckCell(nRow, nCol);
    EndEdit();
    GetControl().SetActiveCell(nRow, nCol);
}

void CF1Book::InvokeMethod169(long* pRow, long* pCol) const
{
    *pRow = GetProperty5();
    *pCol = GetProperty4();
}

void CF1Book::InvokeMethod229()
{
    GetControl().ShowActiveCell();
}

void CF1Book::InvokeMethod232(long nClear, long nArrowsEnd, long nSelectText)
{
    GetControl().StartEdit(nClear != 0, nArrowsEnd != 0, nSelectText != 0);
}

void CF1Book::InvokeMethod149()
{
    EndEdit();
}

void CF1Book::InvokeMethod237(long nX, long nY, long* pRow, long* pCol) const
{
    CGridCtrl& grid = GetControl();
    POINT pt = {grid.TwipsToPixelsX(nX), grid.TwipsToPixelsY(nY)};
    int nRow, nCol;
    grid.CellFromPoint(pt, nRow, nCol);
    *pRow = nRow;
    *pCol = nCol;
}

CF1CellFormat CF1Book::InvokeMethod1438() const
{
    return CF1CellFormat(Sheet().GetCellFormat(GetProperty5(), GetProperty4()));
}

void CF1Book::InvokeMethod1439(const CF1CellFormat& format)
{
    Sheet().SetCellFormat(GetControl().GetSelection(), format.GetFormat());
    GetControl().Invalidate();
}

CF1FindResult CF1Book::InvokeMethod1448(LPCTSTR lpszText, long nSheet, long nRow, long nCol, long nLastRow,
                                        long nLastCol, long nFlags) const
{
    const CGridSheet* pSheet = GetBook().GetSheet(nSheet);
    if (!pSheet)
        ThrowError(GRID_IDS_BAD_SHEET);
    if (nFlags & ~(gridFindMatchCase | gridFindWholeCell))
        ThrowError(GRID_IDS_BAD_VALUE);
    int nFoundRow = nRow, nFoundCol = nCol;
    for (;;) {
        if (!pSheet->Find(lpszText, static_cast<UINT>(nFlags), nFoundRow, nFoundCol) ||
            (nLastRow > 0 && nFoundRow > nLastRow))
            return CF1FindResult();
        if (nLastCol <= 0 || nFoundCol <= nLastCol)
            return CF1FindResult(TRUE, nFoundRow, nFoundCol);
    }
}

void CF1Book::InvokeMethod178(long nRow1, long, long nRow2, long, long nShift)
{
    CheckRows(nRow1, nRow2, nShift);
    EndEdit();
    if (!Sheet().InsertRows(nRow1, nRow2 - nRow1 + 1))
        ThrowError(GRID_IDS_ROWS_FULL);
    GetControl().Refresh();
}

void CF1Book::InvokeMethod139(long nRow1, long, long nRow2, long, long nShift)
{
    CheckRows(nRow1, nRow2, nShift);
    EndEdit();
    Sheet().DeleteRows(nRow1, nRow2 - nRow1 + 1);
    GetControl().Refresh();
}

void CF1Book::InvokeMethod142()
{
    EndEdit();
    Sheet().CopyRange(GetControl().GetSelection(), m_clip);
}

void CF1Book::InvokeMethod1422(long nWhat, long nOperation)
{
    if (nWhat < gridContents || nWhat > gridAll || nOperation != 0)
        ThrowError(GRID_IDS_BAD_VALUE);
    EndEdit();
    if (m_clip.IsEmpty() || !Sheet().PasteRange(m_clip, GetControl().GetSelection(), static_cast<UINT>(nWhat)))
        ThrowError(GRID_IDS_NOTHING_COPIED);
    GetControl().Refresh();
}

void CF1Book::InvokeMethod129(long nWhat)
{
    if (nWhat < gridContents || nWhat > gridAll)
        ThrowError(GRID_IDS_BAD_VALUE);
    EndEdit();
    Sheet().ClearRange(GetControl().GetSelection(), static_cast<UINT>(nWhat));
    GetControl().Refresh();
}

void CF1Book::InvokeMethod132()
{
    m_clip = CGridClip();
}

void CF1Book::InvokeMethod1428(LPCTSTR lpszPath, long nType)
{
    const long kExcelWorkbook = 11;
    if (nType != kExcelWorkbook)
        ThrowError(GRID_IDS_NOT_SUPPORTED);
    EndEdit();
    CGridXlsWriter writer(GetBook());
    writer.SetSheets(m_outputSheets);
    CString strError;
    if (!writer.WriteFile(lpszPath, strError))
        AfxThrowOleDispatchException(0, strError);
}

void CF1Book::SetProperty1450(HGLOBAL hDevNames)
{
    m_strDriver.Empty();
    m_strDevice.Empty();
    auto pNames = static_cast<const DEVNAMES*>(hDevNames ? ::GlobalLock(hDevNames) : nullptr);
    if (!pNames)
        return;
    auto pszBase = reinterpret_cast<LPCWSTR>(pNames);
    m_strDriver = pszBase + pNames->wDriverOffset;
    m_strDevice = pszBase + pNames->wDeviceOffset;
    ::GlobalUnlock(hDevNames);
}

void CF1Book::SetProperty104(HGLOBAL hDevMode)
{
    m_devMode.clear();
    auto pMode = static_cast<const DEVMODEW*>(hDevMode ? ::GlobalLock(hDevMode) : nullptr);
    if (!pMode)
        return;
    auto pBytes = reinterpret_cast<const BYTE*>(pMode);
    m_devMode.assign(pBytes, pBytes + pMode->dmSize + pMode->dmDriverExtra);
    ::GlobalUnlock(hDevMode);
}

void CF1Book::InvokeMethod1324(long, long)
{
    EndEdit();
    HDC hDC = m_hPrinterDC;
    bool bOwnDC = false;
    if (!hDC && !m_strDevice.IsEmpty()) {
        hDC = ::CreateDCW(m_strDriver, m_strDevice, nullptr,
                          m_devMode.empty() ? nullptr : reinterpret_cast<const DEVMODEW*>(m_devMode.data()));
        bOwnDC = hDC != nullptr;
    }
    if (!hDC)
        ThrowError(GRID_IDS_NO_PRINTER);
    CGridPrinter printer(GetBook());
    printer.SetSheets(m_outputSheets);
    BOOL bPrinted = printer.Print(hDC, GetControl().GetShownSheet().GetName());
    if (bOwnDC)
        ::DeleteDC(hDC);
    if (!bPrinted)
        ThrowError(GRID_IDS_PRINT_FAILED);
}
