#include "ImportTextFile.h"

#include "platform/mfc/afxfile.h"
#include "platform/mfc/afxmsgbox.h"
#include "resource.h"
#include "util/MessageText.h"

namespace {

bool ReadAll(LPCTSTR pszPath, std::string& content)
{
    CFileException error;
    CFile file;
    if (!file.Open(pszPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary, &error)) {
        AfxMessageBox(FormatResMessage(IDP_IMPORT_READ_FAILED, pszPath, GetExceptionText(&error, FALSE)),
                      MB_ICONERROR);
        return false;
    }
    try {
        char buffer[65536];
        UINT nRead;
        while ((nRead = file.Read(buffer, sizeof(buffer))) > 0)
            content.append(buffer, nRead);
    }
    catch (CException* e) {
        AfxMessageBox(FormatResMessage(IDP_IMPORT_READ_FAILED, pszPath, GetExceptionText(e)), MB_ICONERROR);
        return false;
    }
    return true;
}

bool IsBlank(const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; }

} // namespace

BOOL CImportTextFile::Read(LPCTSTR pszPath)
{
    m_strPath = pszPath;
    m_lines.clear();
    std::string content;
    if (!ReadAll(pszPath, content))
        return FALSE;
    if (int nLine = FindBinaryLine(content)) {
        AfxMessageBox(FormatResMessage(IDP_IMPORT_NOT_TEXT, pszPath, nLine), MB_ICONWARNING);
        return FALSE;
    }
    SplitLines(content);
    bool bEmpty = true;
    for (const std::string& line : m_lines)
        bEmpty = bEmpty && IsBlank(line);
    if (bEmpty) {
        AfxMessageBox(FormatResMessage(IDP_IMPORT_FILE_EMPTY, pszPath), MB_ICONWARNING);
        return FALSE;
    }
    return TRUE;
}

int CImportTextFile::FindBinaryLine(const std::string& content)
{
    int nLine = 1;
    for (size_t i = 0; i < content.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(content[i]);
        if (c == '\n')
            ++nLine;
        else if (c < 0x20 && c != '\t' && c != '\r' && !(c == 0x1A && i + 1 == content.size()))
            return nLine;
    }
    return 0;
}

void CImportTextFile::SplitLines(const std::string& content)
{
    size_t nEnd = content.size();
    if (nEnd > 0 && content[nEnd - 1] == 0x1A)
        --nEnd;
    size_t nStart = 0;
    while (nStart < nEnd) {
        size_t nBreak = content.find('\n', nStart);
        if (nBreak == std::string::npos || nBreak > nEnd)
            nBreak = nEnd;
        size_t nLineEnd = nBreak;
        if (nLineEnd > nStart && content[nLineEnd - 1] == '\r')
            --nLineEnd;
        m_lines.emplace_back(content, nStart, nLineEnd - nStart);
        nStart = nBreak + 1;
    }
}
