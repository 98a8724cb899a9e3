// The look of a cell: number format, font, colours, alignment, borders and protection. The book keeps each
// distinct format once (CGridFormatTable) and cells refer to it by index; index 0 is the default format.
#pragma once

#include "GridNumberFormat.h"

#include <unordered_map>
#include <vector>

// A colour left to the grid: black text, no fill, black borders.
const COLORREF kGridColorAuto = 0xFFFFFFFF;

enum GridHAlign
{
    gridHAlignGeneral,   // texts to the left, numbers to the right
    gridHAlignLeft,
    gridHAlignCenter,
    gridHAlignRight
};

enum GridVAlign
{
    gridVAlignTop,
    gridVAlignCenter,
    gridVAlignBottom
};

enum GridBorderStyle
{
    gridBorderNone,
    gridBorderThin,
    gridBorderMedium,
    gridBorderThick,
    gridBorderDashed,
    gridBorderDotted,
    gridBorderDouble
};

enum GridBorderSide
{
    gridSideLeft,
    gridSideRight,
    gridSideTop,
    gridSideBottom,
    gridSideCount
};

struct CGridBorder
{
    GridBorderStyle m_nStyle = gridBorderNone;
    COLORREF m_crColor = kGridColorAuto;

    bool operator==(const CGridBorder& b) const { return m_nStyle == b.m_nStyle && m_crColor == b.m_crColor; }
    bool operator!=(const CGridBorder& b) const { return !(*this == b); }
};

struct CGridCellFormat
{
    CString m_strNumberFormat = L"General";
    CString m_strFontName = L"Arial";
    int m_nFontSize = 200;             // twentieths of a point
    bool m_bBold = false;
    bool m_bItalic = false;
    bool m_bUnderline = false;
    COLORREF m_crText = kGridColorAuto;
    COLORREF m_crFill = kGridColorAuto;  // kGridColorAuto: no fill
    GridHAlign m_nHAlign = gridHAlignGeneral;
    GridVAlign m_nVAlign = gridVAlignBottom;
    bool m_bWrap = false;
    CGridBorder m_borders[gridSideCount];
    bool m_bLocked = true;             // not editable in the grid (the program may still change it)
    bool m_bHidden = false;            // formula not shown while the sheet is protected

    bool operator==(const CGridCellFormat& f) const;
    bool operator!=(const CGridCellFormat& f) const { return !(*this == f); }
    size_t Hash() const;
};

class CGridFormatTable
{
public:
    CGridFormatTable();

    // The index of the format, added when it is new.
    int Intern(const CGridCellFormat& fmt);
    int GetCount() const { return static_cast<int>(m_entries.size()); }
    const CGridCellFormat& Get(int nIndex) const { return m_entries[static_cast<size_t>(nIndex)].m_format; }
    const CGridNumberFormat& GetNumberFormat(int nIndex) const
    {
        return m_entries[static_cast<size_t>(nIndex)].m_numberFormat;
    }

private:
    struct CEntry
    {
        CGridCellFormat m_format;
        CGridNumberFormat m_numberFormat;   // m_format's number format, parsed once
    };

    std::vector<CEntry> m_entries;
    std::unordered_multimap<size_t, int> m_byHash;
};
