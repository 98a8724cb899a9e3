#include "WorkbookSource.h"

#include "forms/FormInfo.h"
#include "platform/grid/GridAddress.h"

#include "util/MessageText.h"

#include <algorithm>
#include <cwctype>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

namespace
{
// A fault of the source; the line is added where it is caught.
struct CSourceError
{
    CString strText;
};

[[noreturn]] void Fail(const CString& strText)
{
    throw CSourceError{strText};
}

CString Quote(const CString& str)
{
    return L"\"" + str + L"\"";
}

// One line split into words: quoted texts ("" inside stands for one quote) come as one word with the quotes
// kept; '|' is a word of its own; everything else is split at blanks.
std::vector<CString> SplitWords(const CString& strLine)
{
    std::vector<CString> words;
    int i = 0, n = strLine.GetLength();
    while (i < n) {
        if (std::iswspace(strLine[i])) {
            ++i;
            continue;
        }
        if (strLine[i] == L'|') {
            words.push_back(L"|");
            ++i;
            continue;
        }
        int nStart = i;
        bool bQuoted = false;
        while (i < n && (bQuoted || (!std::iswspace(strLine[i]) && strLine[i] != L'|'))) {
            if (strLine[i] == L'"')
                bQuoted = !bQuoted;
            ++i;
        }
        if (bQuoted)
            Fail(L"unclosed quotes");
        words.push_back(strLine.Mid(nStart, i - nStart));
    }
    return words;
}

// The text of a quoted word.
CString Unquote(const CString& strWord)
{
    if (strWord.GetLength() < 2 || strWord[0] != L'"' || strWord[strWord.GetLength() - 1] != L'"')
        Fail(L"a text in quotes was expected instead of " + strWord);
    CString str = strWord.Mid(1, strWord.GetLength() - 2);
    str.Replace(L"\"\"", L"\"");
    return str;
}

int ReadInt(const CString& strWord, int nMin, int nMax)
{
    LPTSTR pszEnd = nullptr;
    long n = std::wcstol(strWord, &pszEnd, 10);
    if (strWord.IsEmpty() || *pszEnd != 0 || n < nMin || n > nMax)
        Fail(FormatString(L"a whole number from %d to %d was expected instead of %ls", nMin, nMax,
                          strWord.GetString()));
    return static_cast<int>(n);
}

bool ReadNumber(const CString& strWord, double& d)
{
    LPTSTR pszEnd = nullptr;
    d = std::wcstod(strWord, &pszEnd);
    return !strWord.IsEmpty() && *pszEnd == 0 && (std::iswdigit(strWord[0]) || strWord[0] == L'-');
}

COLORREF ReadColor(const CString& strWord)
{
    if (strWord.GetLength() != 7 || strWord[0] != L'#')
        Fail(L"a colour #RRGGBB was expected instead of " + strWord);
    LPTSTR pszEnd = nullptr;
    unsigned long rgb = std::wcstoul(static_cast<LPCTSTR>(strWord) + 1, &pszEnd, 16);
    if (*pszEnd != 0)
        Fail(L"a colour #RRGGBB was expected instead of " + strWord);
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

int ReadColumn(const CString& strWord)
{
    int nCol = GridParseColumnName(strWord);
    if (nCol == 0)
        Fail(L"a column letter was expected instead of " + strWord);
    return nCol;
}

template <class T, size_t N>
T ReadChoice(const CString& strWord, const LPCTSTR (&names)[N], const T (&values)[N])
{
    for (size_t i = 0; i < N; ++i)
        if (strWord == names[i])
            return values[i];
    Fail(L"unknown value " + strWord);
}

GridBorderStyle ReadBorderStyle(const CString& strWord)
{
    static const LPCTSTR names[] = {L"none", L"thin", L"medium", L"thick", L"dashed", L"dotted", L"double"};
    static const GridBorderStyle values[] = {gridBorderNone, gridBorderThin, gridBorderMedium, gridBorderThick,
                                             gridBorderDashed, gridBorderDotted, gridBorderDouble};
    return ReadChoice(strWord, names, values);
}

// Reads the words after a keyword one by one.
class CWordReader
{
public:
    CWordReader(const std::vector<CString>& words, size_t nFirst) : m_words(words), m_nNext(nFirst) {}

    bool AtEnd() const { return m_nNext >= m_words.size(); }
    const CString& Next()
    {
        if (AtEnd())
            Fail(L"the line ends too early");
        return m_words[m_nNext++];
    }
    void ExpectEnd() const
    {
        if (!AtEnd())
            Fail(L"unexpected " + m_words[m_nNext]);
    }

private:
    const std::vector<CString>& m_words;
    size_t m_nNext;
};

class CStyleTable
{
public:
    // style NAME [like BASE] attributes...
    void Define(CWordReader& words)
    {
        CString strName = words.Next();
        if (m_styles.count(strName))
            Fail(L"style " + strName + L" defined twice");
        CGridCellFormat format;
        while (!words.AtEnd()) {
            CString strWord = words.Next();
            if (strWord == L"like")
                format = Get(words.Next());
            else if (strWord == L"bold")
                format.m_bBold = true;
            else if (strWord == L"italic")
                format.m_bItalic = true;
            else if (strWord == L"underline")
                format.m_bUnderline = true;
            else if (strWord == L"wrap")
                format.m_bWrap = true;
            else if (strWord == L"unlocked")
                format.m_bLocked = false;
            else if (strWord == L"hidden")
                format.m_bHidden = true;
            else if (strWord == L"font")
                format.m_strFontName = Unquote(words.Next());
            else if (strWord == L"size")
                format.m_nFontSize = ReadInt(words.Next(), 1, 409) * 20;
            else if (strWord == L"color")
                format.m_crText = ReadColor(words.Next());
            else if (strWord == L"fill")
                format.m_crFill = ReadColor(words.Next());
            else if (strWord == L"number")
                format.m_strNumberFormat = Unquote(words.Next());
            else if (strWord == L"align") {
                static const LPCTSTR names[] = {L"general", L"left", L"center", L"right"};
                static const GridHAlign values[] = {gridHAlignGeneral, gridHAlignLeft, gridHAlignCenter,
                                                    gridHAlignRight};
                format.m_nHAlign = ReadChoice(words.Next(), names, values);
            }
            else if (strWord == L"valign") {
                static const LPCTSTR names[] = {L"top", L"center", L"bottom"};
                static const GridVAlign values[] = {gridVAlignTop, gridVAlignCenter, gridVAlignBottom};
                format.m_nVAlign = ReadChoice(words.Next(), names, values);
            }
            else if (strWord == L"border") {
                GridBorderStyle nStyle = ReadBorderStyle(words.Next());
                for (CGridBorder& border : format.m_borders)
                    border.m_nStyle = nStyle;
            }
            else if (strWord.Left(7) == L"border-") {
                static const LPCTSTR names[] = {L"border-left", L"border-right", L"border-top", L"border-bottom"};
                static const GridBorderSide values[] = {gridSideLeft, gridSideRight, gridSideTop, gridSideBottom};
                GridBorderSide nSide = ReadChoice(strWord, names, values);
                format.m_borders[nSide].m_nStyle = ReadBorderStyle(words.Next());
            }
            else
                Fail(L"unknown style attribute " + strWord);
        }
        m_styles[strName] = format;
    }

    const CGridCellFormat& Get(const CString& strName) const
    {
        auto it = m_styles.find(strName);
        if (it == m_styles.end())
            Fail(L"unknown style " + strName);
        return it->second;
    }

private:
    std::map<CString, CGridCellFormat> m_styles;
};

// What a row or cell statement puts into one cell.
struct CCellItem
{
    enum Content { none, text, number, formula } nContent = none;
    CString strContent;
    double dNumber = 0;
    CString strDesc;
    CString strStyle;
    int nRepeat = 1;
};

CCellItem ReadCellItem(const std::vector<CString>& words)
{
    CCellItem item;
    auto setContent = [&item](CCellItem::Content nContent) {
        if (item.nContent != CCellItem::none)
            Fail(L"a cell holds one text, number or formula");
        item.nContent = nContent;
    };
    for (const CString& strWord : words) {
        double d;
        if (strWord[0] == L'"') {
            setContent(CCellItem::text);
            item.strContent = Unquote(strWord);
        }
        else if (strWord[0] == L'=') {
            setContent(CCellItem::formula);
            item.strContent = strWord;
        }
        else if (strWord[0] == L'@')
            item.strStyle = strWord.Mid(1);
        else if (strWord[0] == L'*')
            item.nRepeat = ReadInt(strWord.Mid(1), 1, kGridMaxCols);
        else if (strWord.GetLength() >= 2 && strWord[1] == L':' && CString(L"ILCS").Find(strWord[0]) >= 0) {
            if (!item.strDesc.IsEmpty())
                Fail(L"a cell has one description");
            item.strDesc = strWord;
        }
        else if (ReadNumber(strWord, d)) {
            setContent(CCellItem::number);
            item.dNumber = d;
        }
        else
            Fail(L"not a text, number, formula, description or style: " + strWord);
    }
    return item;
}

bool HasKey(const CString& strDesc, LPCTSTR pszKey)
{
    CString strItem = CString(pszKey) + L":";
    for (int nStart = 0; nStart < strDesc.GetLength();) {
        int nEnd = strDesc.Find(L';', nStart);
        if (nEnd < 0)
            nEnd = strDesc.GetLength();
        if (strDesc.Mid(nStart, nEnd - nStart).Left(strItem.GetLength()).CompareNoCase(strItem) == 0)
            return true;
        nStart = nEnd + 1;
    }
    return false;
}

struct CColumnInfo
{
    CString strStyle;
    CString strField;
};

// A description written for a cell, kept until the sheet ends: the table each cell is served by is known only
// once every cell of the sheet is in place, in the order the views walk them.
struct CDescCell
{
    int nRow;
    int nCol;
    CString strDesc;
    CString strTable;   // the table that serves the cell: its own T, its row's or the sheet's
};

class CSheetBuilder
{
public:
    CSheetBuilder(CGridBook& book, const CStyleTable& styles, const CString& strName)
        : m_book(book), m_styles(styles), m_strName(strName), m_strDescName(L"Descrizione " + strName.Left(19))
    {
        m_pData = book.InsertSheet(book.GetSheetCount() + 1, strName);
        if (!m_pData)
            Fail(L"sheet name " + Quote(strName) + L" not valid or used twice");
    }

    void Setting(const CString& strKeyword, CWordReader& words)
    {
        if (strKeyword == L"size") {
            m_nRows = ReadInt(words.Next(), 1, kGridMaxRows - 1);
            m_nCols = ReadInt(words.Next(), 1, kGridMaxCols - 2);
        }
        else if (strKeyword == L"table")
            m_strTable = words.Next();
        else if (strKeyword == L"first") {
            if (!GridParseCellName(words.Next(), m_nFirstRow, m_nFirstCol))
                Fail(L"a cell name was expected after first");
        }
        else if (strKeyword == L"titles") {
            m_nTitleRows = ReadInt(words.Next(), 0, kGridMaxRows);
            m_nTitleCols = ReadInt(words.Next(), 0, kGridMaxCols);
            m_pData->SetTitleRows(m_nTitleRows);
            m_pData->SetTitleCols(m_nTitleCols);
        }
        else if (strKeyword == L"formats") {
            if (words.Next() != L"off")
                Fail(L"formats off was expected");
            m_bFormatsOff = true;
        }
        else if (strKeyword == L"description")
            m_strDescName = Unquote(words.Next());
        else if (strKeyword == L"merge") {
            CString strRange = words.Next();
            int nColon = strRange.Find(L':');
            CGridRange range;
            if (nColon < 0 || !GridParseCellName(strRange.Left(nColon), range.m_nRow1, range.m_nCol1) ||
                !GridParseCellName(strRange.Mid(nColon + 1), range.m_nRow2, range.m_nCol2))
                Fail(L"a range such as B1:F1 was expected after merge");
            if (!m_pData->MergeCells(range))
                Fail(L"merged area " + strRange + L" is a single cell, out of order or overlaps another");
        }
        else if (strKeyword == L"width")
            m_pData->SetDefaultColWidth(ReadInt(words.Next(), 0, kGridMaxColWidth));
        else if (strKeyword == L"height")
            m_pData->SetDefaultRowHeight(ReadInt(words.Next(), 0, kGridMaxRowHeight));
        else
            Fail(L"unknown statement " + strKeyword);
        words.ExpectEnd();
    }

    // column C[:E] [width N] [hidden] [style S] [field F]
    void Column(CWordReader& words)
    {
        CString strCols = words.Next();
        int nColon = strCols.Find(L':');
        int nFirst = ReadColumn(nColon < 0 ? strCols : strCols.Left(nColon));
        int nLast = nColon < 0 ? nFirst : ReadColumn(strCols.Mid(nColon + 1));
        if (nLast < nFirst)
            Fail(L"columns out of order: " + strCols);
        while (!words.AtEnd()) {
            CString strWord = words.Next();
            if (strWord == L"width") {
                int nWidth = ReadInt(words.Next(), 0, kGridMaxColWidth);
                for (int c = nFirst; c <= nLast; ++c)
                    m_pData->SetColWidth(c, nWidth);
            }
            else if (strWord == L"hidden") {
                for (int c = nFirst; c <= nLast; ++c)
                    m_pData->SetColHidden(c, TRUE);
            }
            else if (strWord == L"style") {
                CString strStyle = words.Next();
                m_styles.Get(strStyle);
                for (int c = nFirst; c <= nLast; ++c)
                    m_columns[c].strStyle = strStyle;
            }
            else if (strWord == L"field") {
                if (nFirst != nLast)
                    Fail(L"a field belongs to a single column");
                m_columns[nFirst].strField = words.Next();
            }
            else
                Fail(L"unknown column attribute " + strWord);
        }
    }

    // row N [key K] [table T] [height H] [hidden] [: items | items ...]
    void Row(const CString& strLine)
    {
        int nColon = strLine.Find(L':');
        std::vector<CString> header = SplitWords(nColon < 0 ? strLine : strLine.Left(nColon));
        CWordReader words(header, 1);
        int nRow = ReadInt(words.Next(), 1, kGridMaxRows);
        CString strKey, strTable;
        while (!words.AtEnd()) {
            CString strWord = words.Next();
            if (strWord == L"key")
                strKey = words.Next();
            else if (strWord == L"table")
                strTable = words.Next();
            else if (strWord == L"height")
                m_pData->SetRowHeight(nRow, ReadInt(words.Next(), 0, kGridMaxRowHeight));
            else if (strWord == L"hidden")
                m_pData->SetRowHidden(nRow, TRUE);
            else
                Fail(L"unknown row attribute " + strWord);
        }
        if (nColon < 0)
            return;
        std::vector<CString> cells = SplitWords(strLine.Mid(nColon + 1));
        int nCol = 1;
        std::vector<CString> itemWords;
        auto putItem = [&]() {
            if (itemWords.empty()) {   // nothing between the bars: the cell stays untouched
                ++nCol;
                return;
            }
            CCellItem item = ReadCellItem(itemWords);
            for (int i = 0; i < item.nRepeat; ++i)
                Put(nRow, nCol++, item, strKey, strTable);
            itemWords.clear();
        };
        for (const CString& strWord : cells) {
            if (strWord == L"|")
                putItem();
            else
                itemWords.push_back(strWord);
        }
        if (!itemWords.empty())
            putItem();
    }

    // cell ADDR items...
    void Cell(CWordReader& words, const std::vector<CString>& all)
    {
        int nRow, nCol;
        if (!GridParseCellName(words.Next(), nRow, nCol))
            Fail(L"a cell name was expected after cell");
        CCellItem item = ReadCellItem(std::vector<CString>(all.begin() + 2, all.end()));
        for (int i = 0; i < item.nRepeat; ++i)
            Put(nRow, nCol + i, item, CString(), CString());
    }

    // Adds the description sheet and the "[EOF]" markers; the table switches are written now that every
    // description is known.
    void Finish()
    {
        if (m_nRows == 0)
            Fail(L"sheet " + Quote(m_strName) + L" has no size");
        CGridSheet* pDesc = m_book.InsertSheet(m_book.GetSheetCount() + 1, m_strDescName);
        if (!pDesc)
            Fail(L"description sheet name " + Quote(m_strDescName) + L" not valid or used twice");
        CString strSettings;
        strSettings.Format(L"1:%d,%d;F:%d,%d", m_nFirstRow, m_nFirstCol, m_nTitleRows, m_nTitleCols);
        if (!m_strTable.IsEmpty())
            strSettings += L";T:" + m_strTable;
        if (m_bFormatsOff)
            strSettings += L";FC:0";
        pDesc->SetText(1, 1, strSettings);

        std::sort(m_descs.begin(), m_descs.end(), [](const CDescCell& a, const CDescCell& b) {
            return a.nRow != b.nRow ? a.nRow < b.nRow : a.nCol < b.nCol;
        });
        CString strInForce = m_strTable;
        for (CDescCell& desc : m_descs) {
            if (desc.nRow == 1 && desc.nCol == 1)
                Fail(L"cell A1 of a description sheet holds the sheet's settings");
            if (desc.strTable != strInForce) {
                if (!HasKey(desc.strDesc, L"T"))
                    desc.strDesc += L";T:" + desc.strTable;
                strInForce = desc.strTable;
            }
            pDesc->SetText(desc.nRow, desc.nCol, desc.strDesc);
        }
        m_pData->SetText(m_nRows + 1, m_nCols + 1, L"[EOF]");
        pDesc->SetText(m_nRows + 1, m_nCols + 2, L"[EOF]");
    }

    // Formulas whose value is an error: a misspelt name, a reference to a text, a division by zero.
    void CheckFormulas() const
    {
        for (const CFormulaCell& formula : m_formulas) {
            const CGridValue& value = m_pData->GetCellValue(formula.nRow, formula.nCol);
            if (value.IsError())
                Fail(L"the formula of cell " + GridCellName(formula.nRow, formula.nCol) + L" of sheet " +
                     Quote(m_strName) + L" gives " + m_pData->GetText(formula.nRow, formula.nCol) + L": " +
                     formula.strFormula);
        }
    }

private:
    void Put(int nRow, int nCol, const CCellItem& item, const CString& strKey, const CString& strRowTable)
    {
        if (m_nRows == 0)
            Fail(L"the sheet's size comes before its cells");
        if (nRow > m_nRows || nCol > m_nCols)
            Fail(L"cell " + GridCellName(nRow, nCol) + L" lies outside the sheet's size");
        if (m_used.count({nRow, nCol}))
            Fail(L"cell " + GridCellName(nRow, nCol) + L" written twice");
        m_used.insert({nRow, nCol});

        CString strStyle = item.strStyle.IsEmpty() ? m_columns[nCol].strStyle : item.strStyle;
        if (!strStyle.IsEmpty())
            m_pData->SetCellFormat(CGridRange(nRow, nCol, nRow, nCol), m_styles.Get(strStyle));
        switch (item.nContent) {
        case CCellItem::text: m_pData->SetText(nRow, nCol, item.strContent); break;
        case CCellItem::number: m_pData->SetNumber(nRow, nCol, item.dNumber); break;
        case CCellItem::formula: {
            CString strFormula = item.strContent;
            strFormula.Replace(L"{c}", GridColumnName(nCol));
            strFormula.Replace(L"{r}", FormatString(L"%d", nRow));
            if (!m_pData->SetFormula(nRow, nCol, strFormula))
                Fail(L"formula too complex: " + strFormula);
            m_formulas.push_back({nRow, nCol, strFormula});
            break;
        }
        case CCellItem::none: break;
        }
        if (item.strDesc.IsEmpty())
            return;
        CString strDesc = item.strDesc;
        if (!strKey.IsEmpty() && !HasKey(strDesc, L"R"))
            strDesc += L";R:" + strKey;
        if (!m_columns[nCol].strField.IsEmpty() && HasKey(strDesc, L"R") && !HasKey(strDesc, L"F"))
            strDesc += L";F:" + m_columns[nCol].strField;
        CCellInfo cell;
        cell.Parse(strDesc);
        if (cell.m_nKind == formKindNone)
            Fail(L"not a cell description: " + strDesc);
        CString strTable = !cell.m_strT.IsEmpty() ? cell.m_strT : !strRowTable.IsEmpty() ? strRowTable : m_strTable;
        m_descs.push_back({nRow, nCol, strDesc, strTable});
    }

    struct CFormulaCell
    {
        int nRow;
        int nCol;
        CString strFormula;
    };

    CGridBook& m_book;
    const CStyleTable& m_styles;
    CString m_strName;
    CString m_strDescName;
    CGridSheet* m_pData = nullptr;
    int m_nRows = 0, m_nCols = 0;
    int m_nFirstRow = 0, m_nFirstCol = 0;
    int m_nTitleRows = 0, m_nTitleCols = 0;
    bool m_bFormatsOff = false;
    CString m_strTable;
    std::map<int, CColumnInfo> m_columns;
    std::set<std::pair<int, int>> m_used;
    std::vector<CDescCell> m_descs;
    std::vector<CFormulaCell> m_formulas;
};
} // namespace

BOOL CompileWorkbookSource(const CString& strSource, CGridBook& book, CString& strError)
{
    // A book always holds a sheet: the one it has stands aside until the source's sheets are in.
    while (book.GetSheetCount() > 1)
        book.DeleteSheet(1);
    book.RenameSheet(1, L"~");
    CStyleTable styles;
    std::vector<std::unique_ptr<CSheetBuilder>> sheets;
    int nLine = 0;
    try {
        int nStart = 0;
        CString strPending;
        while (nStart <= strSource.GetLength()) {
            int nEnd = strSource.Find(L'\n', nStart);
            if (nEnd < 0)
                nEnd = strSource.GetLength();
            CString strLine = strSource.Mid(nStart, nEnd - nStart);
            nStart = nEnd + 1;
            ++nLine;
            strLine.TrimRight(L"\r");
            // A line ending in '\' goes on in the next one.
            CString strTrimmed = strLine;
            strTrimmed.TrimRight();
            if (strTrimmed.Right(1) == L"\\") {
                strPending += strTrimmed.Left(strTrimmed.GetLength() - 1) + L" ";
                continue;
            }
            strLine = strPending + strLine;
            strPending.Empty();
            strLine.Trim();
            if (strLine.IsEmpty() || strLine[0] == L'#')
                continue;

            std::vector<CString> words = SplitWords(strLine);
            CWordReader reader(words, 1);
            const CString& strKeyword = words[0];
            if (strKeyword == L"style")
                styles.Define(reader);
            else if (strKeyword == L"sheet") {
                if (!sheets.empty())
                    sheets.back()->Finish();
                sheets.push_back(std::make_unique<CSheetBuilder>(book, styles, Unquote(reader.Next())));
                reader.ExpectEnd();
            }
            else if (sheets.empty())
                Fail(L"a sheet statement must come first, after the styles");
            else if (strKeyword == L"column")
                sheets.back()->Column(reader);
            else if (strKeyword == L"row")
                sheets.back()->Row(strLine);
            else if (strKeyword == L"cell")
                sheets.back()->Cell(reader, words);
            else
                sheets.back()->Setting(strKeyword, reader);
        }
        if (sheets.empty())
            Fail(L"the source has no sheet");
        sheets.back()->Finish();
        nLine = 0;
        for (const auto& sheet : sheets)
            sheet->CheckFormulas();
    } catch (const CSourceError& e) {
        strError = nLine > 0 ? FormatString(L"line %d: %ls", nLine, e.strText.GetString()) : e.strText;
        return FALSE;
    }
    book.DeleteSheet(1);
    book.SetActiveSheet(1);
    return TRUE;
}
