// Writes sheets of a workbook as an Excel workbook (".xls": BIFF8 records in the "Workbook" stream of an OLE
// compound file): each cell's value (a formula's last result), number format, font, colours, alignment and
// borders, column widths, hidden columns and row heights. Texts are written as UTF-16.
#pragma once

#include "GridBook.h"

#include <string>
#include <vector>

class CGridXlsWriter
{
public:
    explicit CGridXlsWriter(const CGridBook& book) : m_book(book) {}

    // The sheets to write, by number; all of them when none is given.
    void SetSheets(const std::vector<int>& sheets) { m_sheets = sheets; }

    // The file's bytes.
    std::string Write() const;
    // Writes the file; it is replaced only once the new content is complete on disk.
    BOOL WriteFile(LPCTSTR pszPath, CString& strError) const;

private:
    const CGridBook& m_book;
    std::vector<int> m_sheets;
};

// An OLE compound file holding one stream: the sectors of the stream, its directory and its allocation table.
std::string GridMakeCompoundFile(LPCWSTR pszStreamName, const std::string& strStream);
