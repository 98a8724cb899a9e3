// The value of a cell as formulas see it: empty, a number, a text, a truth value or an error.
#pragma once

#include "platform/mfc/afxstr.h"

#include <utility>

enum GridValueType
{
    gridValueEmpty,
    gridValueNumber,
    gridValueText,
    gridValueBool,
    gridValueError
};

// Error values, shown by their text ("#DIV/0!" ...).
enum GridError
{
    gridErrorNone,
    gridErrorDiv0,     // "#DIV/0!"
    gridErrorValue,    // "#VALUE!": an operand of the wrong kind
    gridErrorRef,      // "#REF!": a reference to a deleted cell or one outside the sheet
    gridErrorName,     // "#NAME?": an unknown name or function, or a formula that cannot be read
    gridErrorNum,      // "#NUM!": a result that is not a finite number
    gridErrorCircular  // "#CIRC!": the cell takes part in a circular reference
};

// The text of an error value; empty for gridErrorNone.
LPCTSTR GridErrorText(GridError nError);

class CGridValue
{
public:
    CGridValue() = default;
    static CGridValue Number(double d) { CGridValue v(gridValueNumber); v.m_dNumber = d; return v; }
    static CGridValue Text(CString s) { CGridValue v(gridValueText); v.m_strText = std::move(s); return v; }
    static CGridValue Bool(bool b) { CGridValue v(gridValueBool); v.m_dNumber = b ? 1 : 0; return v; }
    static CGridValue Error(GridError n) { CGridValue v(gridValueError); v.m_nError = n; return v; }

    GridValueType GetType() const { return m_nType; }
    bool IsEmpty() const { return m_nType == gridValueEmpty; }
    bool IsNumber() const { return m_nType == gridValueNumber; }
    bool IsText() const { return m_nType == gridValueText; }
    bool IsBool() const { return m_nType == gridValueBool; }
    bool IsError() const { return m_nType == gridValueError; }

    double GetNumber() const { return m_dNumber; }     // numbers; 1 or 0 for truth values
    bool GetBool() const { return m_dNumber != 0; }
    const CString& GetText() const { return m_strText; }
    GridError GetError() const { return m_nError; }

private:
    explicit CGridValue(GridValueType nType) : m_nType(nType) {}

    GridValueType m_nType = gridValueEmpty;
    double m_dNumber = 0;
    CString m_strText;
    GridError m_nError = gridErrorNone;
};
