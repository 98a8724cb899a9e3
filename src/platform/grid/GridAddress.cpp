#include "GridAddress.h"

CString GridColumnName(int nCol)
{
    CString strName;
    for (int n = nCol; n > 0; n = (n - 1) / 26)
        strName.Insert(0, static_cast<TCHAR>(L'A' + (n - 1) % 26));
    return strName;
}

CString GridCellName(int nRow, int nCol)
{
    CString strName;
    strName.Format(L"%s%d", static_cast<LPCTSTR>(GridColumnName(nCol)), nRow);
    return strName;
}

namespace
{
bool IsLetter(TCHAR ch) { return (ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z'); }

// Reads letters from p; answers the column (0 when none or too large) and moves p past them.
int ReadColumn(LPCTSTR& p)
{
    int nCol = 0;
    for (; IsLetter(*p); ++p) {
        nCol = nCol * 26 + ((*p | 0x20) - L'a' + 1);
        if (nCol > kGridMaxCols)
            return 0;
    }
    return nCol;
}
} // namespace

int GridParseColumnName(LPCTSTR pszName)
{
    LPCTSTR p = pszName;
    int nCol = ReadColumn(p);
    return *p == 0 ? nCol : 0;
}

bool GridParseCellName(LPCTSTR pszName, int& nRow, int& nCol)
{
    LPCTSTR p = pszName;
    int nC = ReadColumn(p);
    if (nC == 0 || *p < L'1' || *p > L'9')
        return false;
    int nR = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        nR = nR * 10 + (*p - L'0');
        if (nR > kGridMaxRows)
            return false;
    }
    if (*p != 0)
        return false;
    nRow = nR;
    nCol = nC;
    return true;
}
