// CString: the framework's text type. TCHAR text (Unicode build) kept in a std::wstring, with the
// framework's buffer protocol (GetBuffer/ReleaseBuffer) and its search, trim and case operations.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <stdarg.h>
#include <string>

class CString
{
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(LPCWSTR psz);
    CString(LPCWSTR pch, int nLength);
    CString(LPCSTR psz);                 // 8-bit text in the system code page
    CString(LPCSTR pch, int nLength);
    CString(WCHAR ch, int nRepeat = 1);
    explicit CString(const std::wstring& s) : m_str(s) {}

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(LPCWSTR psz);
    CString& operator=(LPCSTR psz);
    CString& operator=(WCHAR ch);

    // Access
    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    TCHAR GetAt(int nIndex) const;
    void SetAt(int nIndex, TCHAR ch);
    TCHAR operator[](int nIndex) const { return GetAt(nIndex); }
    operator LPCTSTR() const { return m_str.c_str(); }
    LPCTSTR GetString() const { return m_str.c_str(); }
    const std::wstring& str() const { return m_str; }

    // Concatenation
    CString& operator+=(const CString& s) { m_str += s.m_str; return *this; }
    CString& operator+=(LPCTSTR psz);
    CString& operator+=(TCHAR ch) { m_str += ch; return *this; }
    CString& Append(LPCTSTR psz, int nLength);
    CString& AppendChar(TCHAR ch) { m_str += ch; return *this; }
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, LPCTSTR b);
    friend CString operator+(LPCTSTR a, const CString& b);
    friend CString operator+(const CString& a, TCHAR b);
    friend CString operator+(TCHAR a, const CString& b);

    // Comparison
    int Compare(LPCTSTR psz) const;
    int CompareNoCase(LPCTSTR psz) const;
    int Collate(LPCTSTR psz) const;          // locale order
    int CollateNoCase(LPCTSTR psz) const;

    // Extraction
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(LPCTSTR pszCharSet) const;
    CString SpanExcluding(LPCTSTR pszCharSet) const;
    CString Tokenize(LPCTSTR pszTokens, int& iStart) const;

    // Changes
    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    int Replace(TCHAR chOld, TCHAR chNew);
    int Replace(LPCTSTR pszOld, LPCTSTR pszNew);
    int Remove(TCHAR ch);
    int Insert(int nIndex, TCHAR ch);
    int Insert(int nIndex, LPCTSTR psz);
    int Delete(int nIndex, int nCount = 1);
    CString& Trim();
    CString& Trim(TCHAR ch);
    CString& Trim(LPCTSTR pszTargets);
    CString& TrimLeft();
    CString& TrimLeft(TCHAR ch);
    CString& TrimLeft(LPCTSTR pszTargets);
    CString& TrimRight();
    CString& TrimRight(TCHAR ch);
    CString& TrimRight(LPCTSTR pszTargets);
    void Truncate(int nNewLength);

    // Searching; -1 when not found
    int Find(TCHAR ch, int nStart = 0) const;
    int Find(LPCTSTR pszSub, int nStart = 0) const;
    int ReverseFind(TCHAR ch) const;
    int FindOneOf(LPCTSTR pszCharSet) const;

    // Formatting: printf-style with the Microsoft conventions (%s is TCHAR text, %hs 8-bit text)
    void Format(LPCTSTR pszFormat, ...);
    void Format(UINT nFormatID, ...);
    void FormatV(LPCTSTR pszFormat, va_list args);
    void AppendFormat(LPCTSTR pszFormat, ...);
    // "%1".."%n" inserts through the system's message formatting
    void FormatMessage(LPCTSTR pszFormat, ...);
    void FormatMessage(UINT nFormatID, ...);

    // String table of the resource module; FALSE (and empty text) when the id is missing
    BOOL LoadString(UINT nID);
    BOOL LoadString(HINSTANCE hInstance, UINT nID);

    // Buffer protocol
    LPTSTR GetBuffer(int nMinBufLength = 0);
    LPTSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);
    void Preallocate(int nLength) { m_str.reserve(static_cast<size_t>(nLength)); }
    void FreeExtra() { m_str.shrink_to_fit(); }

    // Conversions
    BSTR AllocSysString() const;
    BSTR SetSysString(BSTR* pbstr) const;
    std::string ToMultiByte(UINT codePage = CP_ACP) const;
    static CString FromMultiByte(const char* pch, int nLength, UINT codePage = CP_ACP);

private:
    std::wstring m_str;
};

inline bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
inline bool operator==(const CString& a, LPCTSTR b) { return a.Compare(b) == 0; }
inline bool operator==(LPCTSTR a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
inline bool operator!=(const CString& a, LPCTSTR b) { return a.Compare(b) != 0; }
inline bool operator!=(LPCTSTR a, const CString& b) { return b.Compare(a) != 0; }
inline bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
inline bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
inline bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
inline bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }

// Raises the framework's out-of-memory exception (a CMemoryException*).
[[noreturn]] void AfxThrowMemoryException();

// The module whose resources (string table, dialogs, version) the framework loads from; kept in the module state
// (afxmodule.h).
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInst);
