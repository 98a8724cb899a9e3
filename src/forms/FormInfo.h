// The description that every input-form workbook carries: sheets come in pairs, a data sheet shown to the
// user and, after it, its description sheet. Cell (r, c) of the description sheet describes cell (r, c) of
// the data sheet with a text of items "KEY:value" separated by ';' ("I:+V;R:2101;F:Anno4Com"); cell (1, 1)
// also holds the sheet's settings, and a cell "[EOF]" ends the described area. CFormInfo holds the parsed
// description of a whole workbook and answers the views' questions about it.
#pragma once

#include "util/AdArray.h"

class CF1Book;
class CGridBook;

// The value of key in a description text: the text after the ':' of the first item whose key is the key,
// ignoring case; empty when the text or the key is empty or no item has the key.
CString GetDescValue(const CString& strText, const CString& strKey);

// Kinds of described cells.
enum
{
    formKindNone,       // not described
    formKindInput,      // "I": loaded, typed into, saved
    formKindLoaded,     // "L": loaded only
    formKindComputed,   // "C": computed by the sheet, saved
    formKindSet,        // "S": loaded and saved, not typed into, emptied by Delete
    formKindCheckBox    // a box of a Yes/No pair (type "B")
};

// The most decimals a "D.n" cell shows.
const int kFormMaxDecimals = 15;

// Types of described cells.
enum
{
    formTypeNone,
    formTypeCheckBox,   // "B"
    formTypeWhole,      // "N"
    formTypeDecimal,    // "D", "D.2"
    formTypeAmount,     // "V"
    formTypeText        // "T"
};

class CCellInfo
{
public:
    // Fills the cell from one cell description; a malformed item is never an error (see the .cpp).
    void Parse(const CString& strDesc);
    // The number format the views give the cell; empty when it keeps the workbook's own (boxes, cells without a
    // type). Text cells get "@", so that the grid keeps what is typed as a text ("0012", "=...").
    CString GetNumberFormat() const;
    BOOL IsDataCell() const { return m_nKind >= formKindInput && m_nKind <= formKindSet; }

    int m_nKind = formKindNone;
    int m_nType = formTypeNone;
    BOOL m_bNoNegatives = FALSE;     // a leading '+' in the kind value
    int m_nDecimals = 0;             // "D.%d", 0 to kFormMaxDecimals
    BOOL m_bYesBox = FALSE;          // the Yes box of a Yes/No pair
    int m_nPartnerRow = 0;           // the other box of the pair; 0 when none
    int m_nPartnerCol = 0;
    BOOL m_bReadOnlyBox = FALSE;     // declared with "L:": clicking does nothing
    CString m_strName;               // NAME: for lookups by name
    CString m_strT;                  // T: a table other than the sheet's, for this cell and the later ones
    CString m_strR;                  // R: row key, the value of the row's "ID"
    CString m_strF;                  // F: field name
    CString m_strD;                  // D: kept with the cell
};

// One described row: its cells (element 0 stays empty) and the text of its last column.
class CRowInfo : public CAdArray<CCellInfo>
{
public:
    CString m_strText;
};

// One sheet pair: the described rows (element 0 stays empty) and the settings of cell (1, 1).
class CSheetInfo : public CAdArray<CRowInfo>
{
public:
    CString m_strSheetName;          // the data sheet's name, the caption of its tab
    BOOL m_bFormatsOn = TRUE;        // "FC:0" switches the number formats off
    int m_nFirstRow = 0;             // "1:row,col": the cell selected after loading
    int m_nFirstCol = 0;
    int m_nTitleRows = 0;            // "F:rows,cols": the fixed title area
    int m_nTitleCols = 0;
    CString m_strTable;              // "T": the table whose rows fill the sheet
};

// The description of a workbook: one CSheetInfo per sheet pair, in sheet order. Sheet indices count from 0.
class CFormInfo : public CAdArray<CSheetInfo>
{
public:
    // Rebuilds the description from the workbook loaded in the grid; the grid shows the same sheet after, also
    // when a grid call raises (the exception goes on, the description stays as it was).
    BOOL ReadFromBook(CF1Book& grid);
    // The same from a workbook held in memory, with no grid window (the workbook compiler, the checks).
    BOOL ReadFromBook(const CGridBook& book);

    // The described cell; null outside the description.
    const CCellInfo* GetCell(int nSheet, int nRow, int nCol) const;
    // The first cell whose NAME is the name, ignoring case.
    BOOL FindCell(const CString& strName, int nSheet, int& nRow, int& nCol) const;
    BOOL IsCheckBox(int nSheet, int nRow, int nCol) const;
    // The data cell (kind 1 to 4) nearest to the position within the area below and right of the title area
    // up to (nLastRow, nLastCol); the position is updated.
    BOOL FindNearestDataCell(int nSheet, int& nRow, int& nCol, int nLastRow, int nLastCol) const;
    // The next data cell from the position in a direction: 0 left, 1 right, 2 up, 3 down; boxes are passed over.
    BOOL FindNextDataCell(int nSheet, int& nRow, int& nCol, int nDirection) const;

    // Kinds changed or read in place; nSheet -1 means every sheet. A row or column holding a sheet's first
    // cell moves the first cell one row down or one column right.
    void SetColumnKind(int nSheet, int nCol, int nKind);
    void SetRowKind(int nSheet, int nRow, int nKind);
    void SetCellKind(int nSheet, int nCol, int nRow, int nKind);
    int GetCellKind(int nSheet, int nCol, int nRow) const;

private:
    // Calls f for sheet nSheet, or for every sheet when it is -1.
    template <class F> void ForSheets(int nSheet, F f);
};
