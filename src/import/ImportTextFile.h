// An import file read whole into its lines of 8-bit text (Windows-1252; a UTF-8 file is read as characters), before anything is written: a file that vanishes or
// is locked later cannot leave an import half done. A file that cannot be read, is empty or is not text is
// refused with a message naming it (and the line), with the warning or error icon.
#pragma once

#include "platform/mfc/afxstr.h"

#include <string>
#include <vector>

class CImportTextFile
{
public:
    // FALSE after the refusal has been shown.
    BOOL Read(LPCTSTR pszPath);

    const CString& GetPath() const { return m_strPath; }
    // Without their line ends; the first line is line 1.
    const std::vector<std::string>& GetLines() const { return m_lines; }

    // A UTF-8 file (with or without its byte-order mark) turned into Windows-1252 text, one byte per character;
    // other content as it is, without a byte-order mark.
    static std::string ToEightBitText(const std::string& content);

    // The line number of the first byte that text files do not hold (control characters other than tab, line
    // ends and a closing end-of-file mark); 0 when there is none.
    static int FindBinaryLine(const std::string& content);

private:
    void SplitLines(const std::string& content);

    CString m_strPath;
    std::vector<std::string> m_lines;
};
