#include "GridCellFormat.h"

#include <functional>

bool CGridCellFormat::operator==(const CGridCellFormat& f) const
{
    for (int i = 0; i < gridSideCount; ++i)
        if (m_borders[i] != f.m_borders[i])
            return false;
    return m_strNumberFormat == f.m_strNumberFormat && m_strFontName == f.m_strFontName &&
           m_nFontSize == f.m_nFontSize && m_bBold == f.m_bBold && m_bItalic == f.m_bItalic &&
           m_bUnderline == f.m_bUnderline && m_crText == f.m_crText && m_crFill == f.m_crFill &&
           m_nHAlign == f.m_nHAlign && m_nVAlign == f.m_nVAlign && m_bWrap == f.m_bWrap &&
           m_bLocked == f.m_bLocked && m_bHidden == f.m_bHidden;
}

size_t CGridCellFormat::Hash() const
{
    size_t h = std::hash<std::wstring>()(m_strNumberFormat.str());
    auto mix = [&h](size_t v) { h ^= v + 0x9E3779B9u + (h << 6) + (h >> 2); };
    mix(std::hash<std::wstring>()(m_strFontName.str()));
    mix(static_cast<size_t>(m_nFontSize));
    mix(static_cast<size_t>(m_bBold) | static_cast<size_t>(m_bItalic) << 1 | static_cast<size_t>(m_bUnderline) << 2 |
        static_cast<size_t>(m_bWrap) << 3 | static_cast<size_t>(m_bLocked) << 4 | static_cast<size_t>(m_bHidden) << 5);
    mix(m_crText);
    mix(m_crFill);
    mix(static_cast<size_t>(m_nHAlign) << 4 | static_cast<size_t>(m_nVAlign));
    for (const CGridBorder& b : m_borders) {
        mix(static_cast<size_t>(b.m_nStyle));
        mix(b.m_crColor);
    }
    return h;
}

CGridFormatTable::CGridFormatTable()
{
    Intern(CGridCellFormat());
}

int CGridFormatTable::Intern(const CGridCellFormat& fmt)
{
    size_t h = fmt.Hash();
    auto range = m_byHash.equal_range(h);
    for (auto it = range.first; it != range.second; ++it)
        if (m_entries[static_cast<size_t>(it->second)].m_format == fmt)
            return it->second;
    m_entries.push_back(CEntry{fmt, CGridNumberFormat(fmt.m_strNumberFormat)});
    int nIndex = static_cast<int>(m_entries.size()) - 1;
    m_byHash.emplace(h, nIndex);
    return nIndex;
}
