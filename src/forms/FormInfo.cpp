#include "FormInfo.h"

#include "platform/grid/F1Book.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>

namespace
{
// "%d,%d" as far as it reads; what it cannot read stays as it was.
void ReadPair(const CString& strValue, int& nFirst, int& nSecond)
{
    std::swscanf(strValue, L"%d,%d", &nFirst, &nSecond);
}

// The decimals of a "D.n" value: n brought into what a number can show (0 to 15), so that no description
// asks for a format of millions of zeros; 0 when no number follows "D.".
int ReadDecimals(const CString& strValue)
{
    if (strValue.Left(2) != L"D.")
        return 0;
    LPCTSTR pszNumber = static_cast<LPCTSTR>(strValue) + 2;
    LPTSTR pszEnd = nullptr;
    long long n = std::wcstoll(pszNumber, &pszEnd, 10);
    if (pszEnd == pszNumber)
        return 0;
    return static_cast<int>(std::clamp<long long>(n, 0, kFormMaxDecimals));
}

// Gives the grid back the sheet it showed, however the reading ends.
class CShownSheetKeeper
{
public:
    explicit CShownSheetKeeper(CF1Book& grid) : m_grid(grid), m_nSheet(grid.GetProperty106()) {}
    CShownSheetKeeper(const CShownSheetKeeper&) = delete;
    CShownSheetKeeper& operator=(const CShownSheetKeeper&) = delete;
    ~CShownSheetKeeper()
    {
        try {
            m_grid.SetProperty106(m_nSheet);
        } catch (CException* e) {
            e->Delete();   // the failure that ended the reading is the one reported
        }
    }

private:
    CF1Book& m_grid;
    long m_nSheet;
};
} // namespace

CString GetDescValue(const CString& strText, const CString& strKey)
{
    if (strText.IsEmpty() || strKey.IsEmpty())
        return CString();
    int nLength = strKey.GetLength();
    for (int nStart = 0; nStart <= strText.GetLength();) {
        int nEnd = strText.Find(L';', nStart);
        if (nEnd < 0)
            nEnd = strText.GetLength();
        CString strItem = strText.Mid(nStart, nEnd - nStart);
        if (strItem.Find(L':') == nLength && strItem.Left(nLength).CompareNoCase(strKey) == 0)
            return strItem.Mid(nLength + 1);
        nStart = nEnd + 1;
    }
    return CString();
}

void CCellInfo::Parse(const CString& strDesc)
{
    *this = CCellInfo();
    static const LPCTSTR s_kinds[] = {L"I:", L"L:", L"C:", L"S:"};
    for (int i = 0; i < 4; ++i)
        if (strDesc.Left(2) == s_kinds[i])
            m_nKind = formKindInput + i;
    if (m_nKind == formKindNone)
        return;

    CString strValue = GetDescValue(strDesc, strDesc.Left(1));
    if (strValue.Left(1) == L"+") {
        m_bNoNegatives = TRUE;
        strValue = strValue.Mid(1);
    }
    TCHAR chType = strValue.IsEmpty() ? 0 : strValue[0];
    switch (chType) {
    case L'N': m_nType = formTypeWhole; break;
    case L'D':
        m_nType = formTypeDecimal;
        m_nDecimals = ReadDecimals(strValue);
        break;
    case L'V': m_nType = formTypeAmount; break;
    case L'T': m_nType = formTypeText; break;
    case L'B':
        m_bReadOnlyBox = m_nKind == formKindLoaded;
        m_nKind = formKindCheckBox;
        m_nType = formTypeCheckBox;
        if (strValue.GetLength() >= 3) {
            m_bYesBox = strValue.Mid(1, 2) == L".Y";
            ReadPair(GetDescValue(strDesc, m_bYesBox ? L"B.N" : L"B.Y"), m_nPartnerRow, m_nPartnerCol);
        }
        break;
    }
    m_strT = GetDescValue(strDesc, L"T");
    m_strR = GetDescValue(strDesc, L"R");
    m_strF = GetDescValue(strDesc, L"F");
    m_strName = GetDescValue(strDesc, L"NAME");
    m_strD = GetDescValue(strDesc, L"D");
}

CString CCellInfo::GetNumberFormat() const
{
    switch (m_nType) {
    case formTypeWhole: return L"#,##0";
    case formTypeAmount: return L"#,##0.00";
    case formTypeText: return L"@";
    case formTypeDecimal: return m_nDecimals > 0 ? L"#,##0." + CString(L'0', m_nDecimals) : CString(L"#,##0");
    default: return CString();
    }
}

namespace
{
// One sheet pair from its description sheet: the settings of cell (1, 1), the extent up to "[EOF]" (or the
// sheet's limits without it) and every described cell. text(r, c) answers the text the description cell shows.
template <class Text>
void ReadSheetDescription(CSheetInfo& sheet, const Text& text, long nLastRow, long nLastCol, long nMaxRow,
                          long nMaxCol)
{
    CString strSettings = text(1, 1);
    ReadPair(GetDescValue(strSettings, L"1"), sheet.m_nFirstRow, sheet.m_nFirstCol);
    ReadPair(GetDescValue(strSettings, L"F"), sheet.m_nTitleRows, sheet.m_nTitleCols);
    sheet.m_bFormatsOn = GetDescValue(strSettings, L"FC") != L"0";
    sheet.m_strTable = GetDescValue(strSettings, L"T");

    long nRows, nCols;
    if (nLastRow >= 1 && nLastCol >= 1 && text(nLastRow, nLastCol) == L"[EOF]") {
        nRows = nLastRow - 1;
        nCols = nLastCol - 1;
    } else {
        nRows = nMaxRow;
        nCols = nMaxCol;
    }
    // Past the last used row and column every cell is empty, so nothing is read there, and the rows past the
    // last used one hold no cells (a lookup finds nothing there, as in an undescribed cell): without "[EOF]"
    // the limits reach 65536 rows of 256 cells, far too many to keep.
    sheet.SetSize(nRows + 1);
    for (long r = 1; r <= nRows && r <= nLastRow; ++r) {
        CRowInfo& row = sheet.ElementAt(r);
        row.SetSize(nCols);
        if (nCols >= 1 && nCols <= nLastCol)
            row.m_strText = text(r, nCols);
        for (long c = 1; c < nCols && c <= nLastCol; ++c)
            row.ElementAt(c).Parse(text(r, c));
    }
}
} // namespace

BOOL CFormInfo::ReadFromBook(CF1Book& grid)
{
    CShownSheetKeeper keeper(grid);
    CFormInfo info;
    info.SetSize(grid.GetProperty105() / 2);
    for (int k = 0; k < info.GetSize(); ++k) {
        CSheetInfo& sheet = info.ElementAt(k);
        long nDataSheet = 2 * k + 1;
        sheet.m_strSheetName = grid.InvokeGet286(nDataSheet);
        grid.SetProperty106(nDataSheet + 1);
        long nActiveRow, nActiveCol;
        grid.InvokeMethod169(&nActiveRow, &nActiveCol);
        ReadSheetDescription(sheet, [&grid](long r, long c) { return grid.InvokeGet281(r, c); },
                             grid.GetProperty88(), grid.GetProperty87(), grid.GetProperty19(), grid.GetProperty18());
        grid.InvokeMethod211(nActiveRow, nActiveCol);
    }
    *this = info;
    return TRUE;
}

BOOL CFormInfo::ReadFromBook(const CGridBook& book)
{
    CFormInfo info;
    info.SetSize(book.GetSheetCount() / 2);
    for (int k = 0; k < info.GetSize(); ++k) {
        CSheetInfo& sheet = info.ElementAt(k);
        sheet.m_strSheetName = book.GetSheet(2 * k + 1)->GetName();
        const CGridSheet& desc = *book.GetSheet(2 * k + 2);
        ReadSheetDescription(sheet, [&desc](long r, long c) { return desc.GetText(r, c); }, desc.GetLastRow(),
                             desc.GetLastCol(), desc.GetMaxRow(), desc.GetMaxCol());
    }
    *this = info;
    return TRUE;
}

const CCellInfo* CFormInfo::GetCell(int nSheet, int nRow, int nCol) const
{
    if (nSheet < 0 || nSheet >= GetSize())
        return nullptr;
    const CSheetInfo& sheet = GetAt(nSheet);
    if (nRow < 1 || nRow >= sheet.GetSize())
        return nullptr;
    const CRowInfo& row = sheet.GetAt(nRow);
    return nCol >= 1 && nCol < row.GetSize() ? &row.GetAt(nCol) : nullptr;
}

BOOL CFormInfo::FindCell(const CString& strName, int nSheet, int& nRow, int& nCol) const
{
    if (strName.IsEmpty() || nSheet < 0 || nSheet >= GetSize())
        return FALSE;
    const CSheetInfo& sheet = GetAt(nSheet);
    for (int r = 1; r < sheet.GetSize(); ++r)
        for (int c = 1; c < sheet[r].GetSize(); ++c)
            if (sheet[r][c].m_strName.CompareNoCase(strName) == 0) {
                nRow = r;
                nCol = c;
                return TRUE;
            }
    return FALSE;
}

BOOL CFormInfo::IsCheckBox(int nSheet, int nRow, int nCol) const
{
    const CCellInfo* pCell = GetCell(nSheet, nRow, nCol);
    return pCell && pCell->m_nKind == formKindCheckBox;
}

BOOL CFormInfo::FindNearestDataCell(int nSheet, int& nRow, int& nCol, int nLastRow, int nLastCol) const
{
    if (nSheet < 0 || nSheet >= GetSize())
        return FALSE;
    const CSheetInfo& sheet = GetAt(nSheet);
    int nFirstRow = sheet.m_nTitleRows + 1, nFirstCol = sheet.m_nTitleCols + 1;
    if (nFirstRow > nLastRow || nFirstCol > nLastCol)
        return FALSE;
    int nAtRow = std::min(std::max(nRow, nFirstRow), nLastRow);
    int nAtCol = std::min(std::max(nCol, nFirstCol), nLastCol);
    auto isData = [&](int r, int c) {
        const CCellInfo* pCell = GetCell(nSheet, r, c);
        return pCell && pCell->IsDataCell();
    };
    if (isData(nAtRow, nAtCol)) {
        nRow = nAtRow;
        nCol = nAtCol;
        return TRUE;
    }
    int nBest = -1;
    for (int r = nFirstRow; r <= nLastRow && !(nBest >= 0 && nBest < 2); ++r)
        for (int c = nFirstCol; c <= nLastCol; ++c) {
            if (!isData(r, c))
                continue;
            int nDistance = std::abs(r - nAtRow) + std::abs(c - nAtCol);
            if (nBest < 0 || nDistance < nBest) {
                nBest = nDistance;
                nRow = r;
                nCol = c;
                if (nBest < 2)
                    break;
            }
        }
    return nBest >= 0;
}

BOOL CFormInfo::FindNextDataCell(int nSheet, int& nRow, int& nCol, int nDirection) const
{
    if (nSheet < 0 || nSheet >= GetSize() || nDirection < 0 || nDirection > 3)
        return FALSE;
    const CSheetInfo& sheet = GetAt(nSheet);
    int nFirstRow = sheet.m_nTitleRows + 1, nFirstCol = sheet.m_nTitleCols + 1;
    int nLastRow = static_cast<int>(sheet.GetSize()) - 1;
    if (nFirstRow > nLastRow)
        return FALSE;
    int nLastCol = static_cast<int>(sheet[nFirstRow].GetSize()) - 1;
    if (nFirstCol > nLastCol)
        return FALSE;
    int r = std::min(std::max(nRow, nFirstRow), nLastRow);
    int c = std::min(std::max(nCol, nFirstCol), nLastCol);
    static const int s_steps[4][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
    for (;;) {
        r += s_steps[nDirection][0];
        c += s_steps[nDirection][1];
        if (r < nFirstRow || r > nLastRow || c < nFirstCol || c > nLastCol)
            return FALSE;
        const CCellInfo* pCell = GetCell(nSheet, r, c);
        if (pCell && pCell->IsDataCell()) {
            nRow = r;
            nCol = c;
            return TRUE;
        }
    }
}

template <class F> void CFormInfo::ForSheets(int nSheet, F f)
{
    for (int i = 0; i < GetSize(); ++i)
        if (nSheet == -1 || nSheet == i)
            f(ElementAt(i));
}

void CFormInfo::SetColumnKind(int nSheet, int nCol, int nKind)
{
    ForSheets(nSheet, [&](CSheetInfo& sheet) {
        for (int r = 1; r < sheet.GetSize(); ++r)
            if (nCol >= 1 && nCol < sheet[r].GetSize())
                sheet[r][nCol].m_nKind = nKind;
        if (sheet.m_nFirstCol == nCol)
            ++sheet.m_nFirstCol;
    });
}

void CFormInfo::SetRowKind(int nSheet, int nRow, int nKind)
{
    ForSheets(nSheet, [&](CSheetInfo& sheet) {
        if (nRow >= 1 && nRow < sheet.GetSize())
            for (int c = 1; c < sheet[nRow].GetSize(); ++c)
                sheet[nRow][c].m_nKind = nKind;
        if (sheet.m_nFirstRow == nRow)
            ++sheet.m_nFirstRow;
    });
}

void CFormInfo::SetCellKind(int nSheet, int nCol, int nRow, int nKind)
{
    ForSheets(nSheet, [&](CSheetInfo& sheet) {
        if (nRow >= 1 && nRow < sheet.GetSize() && nCol >= 1 && nCol < sheet[nRow].GetSize())
            sheet[nRow][nCol].m_nKind = nKind;
    });
}

int CFormInfo::GetCellKind(int nSheet, int nCol, int nRow) const
{
    const CCellInfo* pCell = GetCell(nSheet, nRow, nCol);
    return pCell ? pCell->m_nKind : formKindNone;
}
