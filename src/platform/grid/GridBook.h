// A workbook: named sheets (numbered from 1), the table of cell formats they share, the separators that
// numbers are shown with, and the reading and writing of workbook files (".vts", see VTS-FORMAT.md).
#pragma once

#include "GridCellFormat.h"
#include "GridSheet.h"

#include <memory>
#include <string>
#include <vector>

class CGridBook
{
public:
    // A book with one empty sheet, "Sheet1".
    CGridBook();
    CGridBook(const CGridBook&) = delete;
    CGridBook& operator=(const CGridBook&) = delete;

    int GetSheetCount() const { return static_cast<int>(m_sheets.size()); }
    // Null outside 1 to GetSheetCount().
    CGridSheet* GetSheet(int nSheet) const;
    // The number of the sheet with that name (ignoring case); 0 when there is none.
    int FindSheet(LPCTSTR pszName) const;
    // A new empty sheet at position nSheet (GetSheetCount() + 1 adds it at the end); null when the
    // position or the name is not valid.
    CGridSheet* InsertSheet(int nSheet, LPCTSTR pszName);
    // The last sheet stays: a book always has one.
    BOOL DeleteSheet(int nSheet);
    BOOL RenameSheet(int nSheet, LPCTSTR pszName);
    // A name is 1 to 31 characters without : \ / ? * [ ] and differs from the other sheets' names.
    BOOL IsValidSheetName(LPCTSTR pszName, int nExceptSheet = 0) const;

    int GetActiveSheet() const { return m_nActiveSheet; }
    BOOL SetActiveSheet(int nSheet);

    CGridFormatTable& GetFormats() { return m_formats; }
    const CGridFormatTable& GetFormats() const { return m_formats; }
    const CGridSeparators& GetSeparators() const { return m_separators; }
    // The user's regional settings changed: numbers are shown and read with these separators from now on.
    void SetSeparators(const CGridSeparators& separators) { m_separators = separators; }

    // Reads a workbook file in place of this book's content. A damaged file is refused whole: the book stays
    // as it was and strError says what is wrong.
    BOOL ReadFile(LPCTSTR pszPath, CString& strError);
    BOOL ReadText(const std::string& strUtf8, CString& strError);
    // Writes the book; the file is replaced only once the new content is complete on disk.
    BOOL WriteFile(LPCTSTR pszPath, CString& strError) const;
    std::string WriteText() const;

private:
    friend class CGridBookReader;

    struct CNoSheets {};
    explicit CGridBook(CNoSheets);
    void Swap(CGridBook& other);

    std::vector<std::unique_ptr<CGridSheet>> m_sheets;
    int m_nActiveSheet = 1;
    CGridFormatTable m_formats;
    CGridSeparators m_separators;
};
