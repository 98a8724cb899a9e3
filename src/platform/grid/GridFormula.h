// Formulas of the workbook model: English function names, ',' between arguments, '.' before decimals, as
// the workbook files store them. A formula is kept parsed (in evaluation order) and its text is made again
// from the parsed form, so that references follow the cells when rows are inserted, deleted or pasted.
#pragma once

#include "GridAddress.h"
#include "GridNumberFormat.h"
#include "GridValue.h"

#include <functional>
#include <vector>

// What a formula reads: the values of the cells of its own sheet.
class IGridCellSource
{
public:
    virtual const CGridValue& GetCellValue(int nRow, int nCol) const = 0;
    // Calls f with the value of each non-empty cell of the range; stops when f answers false.
    virtual void ScanRange(const CGridRange& range, const std::function<bool(const CGridValue&)>& f) const = 0;
    virtual const CGridSeparators& GetSeparators() const = 0;

protected:
    ~IGridCellSource() = default;
};

// A cell reference; '$' marks the parts that stay when the formula is copied elsewhere.
struct CGridRef
{
    int m_nRow = 0;
    int m_nCol = 0;
    bool m_bAbsRow = false;
    bool m_bAbsCol = false;
};

// Limits of what a formula may hold: nesting (brackets, signs and function calls together) far beyond any
// form's formulas, and a length far beyond them too, so that no text can exhaust the stack or the time of a
// reader.
const int kGridMaxFormulaDepth = 100;
const int kGridMaxFormulaLength = 65536;

class CGridFormula
{
public:
    // Reads a formula; the leading '=' may be there or not. A text that cannot be read is kept as it is,
    // and the formula then gives #NAME?; one beyond the limits above is too complex and is kept by no cell.
    explicit CGridFormula(LPCTSTR pszText);

    bool IsValid() const { return m_bValid; }
    bool IsTooComplex() const { return m_bTooComplex; }
    // "=" followed by the formula.
    CString GetText() const;
    CGridValue Evaluate(const IGridCellSource& source) const;

    // The cells the formula reads, one range per reference (a single cell as a range of one).
    void GetReferences(std::vector<CGridRange>& ranges) const;

    // Rows inserted before nRow (nRow and below move down by nCount). True when a reference changed.
    bool AdjustForInsertedRows(int nRow, int nCount);
    // Rows nRow to nRow + nCount - 1 deleted; references to them become #REF!.
    bool AdjustForDeletedRows(int nRow, int nCount);
    // The formula copied nRows down and nCols right: the relative parts of the references move with it;
    // a reference pushed off the sheet becomes #REF!.
    void Offset(int nRows, int nCols);

    enum TokenType
    {
        tokNumber, tokText, tokBool, tokError, tokRef, tokRange, tokName,
        tokNeg, tokPlus, tokPercent,
        tokAdd, tokSub, tokMul, tokDiv, tokPow, tokConcat,
        tokEq, tokNe, tokLt, tokGt, tokLe, tokGe,
        tokParen, tokFunc
    };

    enum Function
    {
        fnUnknown, fnSum, fnIf, fnAbs, fnRound, fnMin, fnMax, fnAnd, fnOr, fnNot
    };

    struct CToken
    {
        TokenType m_nType = tokNumber;
        Function m_nFunction = fnUnknown;
        int m_nArgs = 0;                // functions
        double m_dNumber = 0;           // numbers; 1 or 0 for truth values
        GridError m_nError = gridErrorNone;
        CString m_strText;              // text literals, names, function names
        CGridRef m_ref1, m_ref2;        // references; ranges use both
    };

private:
    friend class CGridFormulaParser;

    std::vector<CToken> m_tokens;   // in evaluation order (operands before their operator)
    CString m_strSource;            // the text as given, for a formula that could not be read
    bool m_bValid = false;
    bool m_bTooComplex = false;
};
