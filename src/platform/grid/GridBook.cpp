#include "GridBook.h"

#include <utility>

CGridBook::CGridBook() : CGridBook(CNoSheets())
{
    InsertSheet(1, L"Sheet1");
}

CGridBook::CGridBook(CNoSheets) : m_separators(CGridSeparators::FromUserLocale())
{
}

CGridSheet* CGridBook::GetSheet(int nSheet) const
{
    return nSheet >= 1 && nSheet <= GetSheetCount() ? m_sheets[static_cast<size_t>(nSheet - 1)].get() : nullptr;
}

int CGridBook::FindSheet(LPCTSTR pszName) const
{
    for (int i = 1; i <= GetSheetCount(); ++i)
        if (GetSheet(i)->GetName().CompareNoCase(pszName) == 0)
            return i;
    return 0;
}

BOOL CGridBook::IsValidSheetName(LPCTSTR pszName, int nExceptSheet) const
{
    CString strName(pszName);
    if (strName.IsEmpty() || strName.GetLength() > 31 || strName.FindOneOf(L":\\/?*[]") >= 0)
        return FALSE;
    int nFound = FindSheet(pszName);
    return nFound == 0 || nFound == nExceptSheet;
}

CGridSheet* CGridBook::InsertSheet(int nSheet, LPCTSTR pszName)
{
    if (nSheet < 1 || nSheet > GetSheetCount() + 1 || !IsValidSheetName(pszName))
        return nullptr;
    auto it = m_sheets.insert(m_sheets.begin() + (nSheet - 1), std::make_unique<CGridSheet>(*this, pszName));
    if (GetSheetCount() > 1 && nSheet <= m_nActiveSheet)
        ++m_nActiveSheet;
    return it->get();
}

BOOL CGridBook::DeleteSheet(int nSheet)
{
    if (!GetSheet(nSheet) || GetSheetCount() == 1)
        return FALSE;
    m_sheets.erase(m_sheets.begin() + (nSheet - 1));
    if (nSheet < m_nActiveSheet || m_nActiveSheet > GetSheetCount())
        --m_nActiveSheet;
    return TRUE;
}

BOOL CGridBook::RenameSheet(int nSheet, LPCTSTR pszName)
{
    CGridSheet* pSheet = GetSheet(nSheet);
    if (!pSheet || !IsValidSheetName(pszName, nSheet))
        return FALSE;
    pSheet->m_strName = pszName;
    return TRUE;
}

BOOL CGridBook::SetActiveSheet(int nSheet)
{
    if (!GetSheet(nSheet))
        return FALSE;
    m_nActiveSheet = nSheet;
    return TRUE;
}

void CGridBook::Swap(CGridBook& other)
{
    std::swap(m_sheets, other.m_sheets);
    std::swap(m_nActiveSheet, other.m_nActiveSheet);
    std::swap(m_formats, other.m_formats);
    for (auto& pSheet : m_sheets)
        pSheet->m_pBook = this;
    for (auto& pSheet : other.m_sheets)
        pSheet->m_pBook = &other;
}
