#include "ImportTextFile.h"

#include "platform/mfc/afxfile.h"
#include "platform/mfc/afxmsgbox.h"
#include "resource.h"
#include "util/MessageText.h"

#include <climits>

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

bool HasEightBitBytes(const std::string& content)
{
    for (char c : content) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    }
    return false;
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
    content = ToEightBitText(content);
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

std::string CImportTextFile::ToEightBitText(const std::string& content)
{
    static const char kUtf8Mark[] = "\xEF\xBB\xBF";
    bool bMarked = content.compare(0, 3, kUtf8Mark) == 0;
    std::string text = bMarked ? content.substr(3) : content;
    // Plain ASCII reads alike either way; text that is not valid UTF-8 is the legacy 8-bit form.
    if (!HasEightBitBytes(text) || text.size() > INT_MAX)
        return text;
    int nLength = static_cast<int>(text.size());
    int nWide = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), nLength, nullptr, 0);
    if (nWide <= 0)
        return text;
    std::wstring wide(static_cast<size_t>(nWide), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), nLength, &wide[0], nWide);
    // One byte per character, so that positions count characters; a character that Windows-1252 lacks becomes
    // "?" (only descriptions hold such characters).
    std::string result;
    result.reserve(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) {
        char c = '?';
        bool bPair = IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]);
        if (bPair)
            ++i;
        else
            ::WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, &wide[i], 1, &c, 1, "?", nullptr);
        result += c;
    }
    return result;
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
