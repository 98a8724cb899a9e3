#include "afxstr.h"
#include "afxmodule.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace
{
bool InSet(LPCTSTR set, TCHAR ch) { return set && ch && std::wcschr(set, ch) != nullptr; }

// Message formatting with "%1".."%n" inserts; FALSE when the system refuses the format.
bool FormatMessageV(LPCTSTR format, va_list* args, std::wstring& out)
{
    LPTSTR buffer = nullptr;
    DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER, format, 0, 0,
                               reinterpret_cast<LPTSTR>(&buffer), 0, args);
    if (n == 0 || !buffer)
        return false;
    out.assign(buffer, n);
    ::LocalFree(buffer);
    return true;
}
} // namespace

CString::CString(LPCWSTR psz) { if (psz) m_str = psz; }
CString::CString(LPCWSTR pch, int nLength) { if (pch && nLength > 0) m_str.assign(pch, static_cast<size_t>(nLength)); }
CString::CString(LPCSTR psz) { if (psz) *this = FromMultiByte(psz, -1); }
CString::CString(LPCSTR pch, int nLength) { if (pch && nLength > 0) *this = FromMultiByte(pch, nLength); }
CString::CString(WCHAR ch, int nRepeat) { if (nRepeat > 0) m_str.assign(static_cast<size_t>(nRepeat), ch); }

CString& CString::operator=(LPCWSTR psz) { if (psz) m_str = psz; else m_str.clear(); return *this; }
CString& CString::operator=(LPCSTR psz) { return *this = CString(psz); }
CString& CString::operator=(WCHAR ch) { m_str.assign(1, ch); return *this; }

TCHAR CString::GetAt(int nIndex) const
{
    return (nIndex >= 0 && nIndex < GetLength()) ? m_str[static_cast<size_t>(nIndex)] : 0;
}

void CString::SetAt(int nIndex, TCHAR ch)
{
    if (nIndex >= 0 && nIndex < GetLength())
        m_str[static_cast<size_t>(nIndex)] = ch;
}

CString& CString::operator+=(LPCTSTR psz) { if (psz) m_str += psz; return *this; }

CString& CString::Append(LPCTSTR psz, int nLength)
{
    if (psz && nLength > 0)
        m_str.append(psz, static_cast<size_t>(nLength));
    return *this;
}

CString operator+(const CString& a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, LPCTSTR b) { CString r(a); r += b; return r; }
CString operator+(LPCTSTR a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, TCHAR b) { CString r(a); r += b; return r; }
CString operator+(TCHAR a, const CString& b) { CString r(a); r += b; return r; }

int CString::Compare(LPCTSTR psz) const { return std::wcscmp(m_str.c_str(), psz ? psz : L""); }
int CString::CompareNoCase(LPCTSTR psz) const
{
    return ::CompareStringOrdinal(m_str.c_str(), -1, psz ? psz : L"", -1, TRUE) - CSTR_EQUAL;
}
int CString::Collate(LPCTSTR psz) const
{
    return ::CompareStringW(LOCALE_USER_DEFAULT, 0, m_str.c_str(), -1, psz ? psz : L"", -1) - CSTR_EQUAL;
}

int CString::CollateNoCase(LPCTSTR psz) const
{
    return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, m_str.c_str(), -1, psz ? psz : L"", -1) - CSTR_EQUAL;
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength() - std::max(nFirst, 0)); }

CString CString::Mid(int nFirst, int nCount) const
{
    nFirst = std::max(nFirst, 0);
    nCount = std::max(nCount, 0);
    if (nFirst >= GetLength())
        return CString();
    nCount = std::min(nCount, GetLength() - nFirst);
    return CString(m_str.substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCount)));
}

CString CString::Left(int nCount) const { return Mid(0, nCount); }
CString CString::Right(int nCount) const
{
    nCount = std::clamp(nCount, 0, GetLength());
    return Mid(GetLength() - nCount, nCount);
}

CString CString::SpanIncluding(LPCTSTR pszCharSet) const
{
    return Left(static_cast<int>(std::wcsspn(m_str.c_str(), pszCharSet ? pszCharSet : L"")));
}

CString CString::SpanExcluding(LPCTSTR pszCharSet) const
{
    return Left(static_cast<int>(std::wcscspn(m_str.c_str(), pszCharSet ? pszCharSet : L"")));
}

CString CString::Tokenize(LPCTSTR pszTokens, int& iStart) const
{
    if (iStart < 0 || iStart >= GetLength()) {
        iStart = -1;
        return CString();
    }
    size_t from = m_str.find_first_not_of(pszTokens ? pszTokens : L"", static_cast<size_t>(iStart));
    if (from == std::wstring::npos) {
        iStart = -1;
        return CString();
    }
    size_t to = m_str.find_first_of(pszTokens ? pszTokens : L"", from);
    if (to == std::wstring::npos)
        to = m_str.size();
    iStart = static_cast<int>(to) + 1;
    return CString(m_str.substr(from, to - from));
}

CString& CString::MakeUpper()
{
    if (!m_str.empty())
        ::CharUpperBuffW(&m_str[0], static_cast<DWORD>(m_str.size()));
    return *this;
}

CString& CString::MakeLower()
{
    if (!m_str.empty())
        ::CharLowerBuffW(&m_str[0], static_cast<DWORD>(m_str.size()));
    return *this;
}

CString& CString::MakeReverse() { std::reverse(m_str.begin(), m_str.end()); return *this; }

int CString::Replace(TCHAR chOld, TCHAR chNew)
{
    int n = 0;
    for (auto& c : m_str)
        if (c == chOld) { c = chNew; ++n; }
    return n;
}

int CString::Replace(LPCTSTR pszOld, LPCTSTR pszNew)
{
    if (!pszOld || !*pszOld)
        return 0;
    const std::wstring from(pszOld), to(pszNew ? pszNew : L"");
    size_t pos = m_str.find(from);
    if (pos == std::wstring::npos)
        return 0;
    // Built anew in one pass: replacing in place would move the rest of the text at every match.
    std::wstring result;
    result.reserve(m_str.size());
    size_t nDone = 0;
    int n = 0;
    for (; pos != std::wstring::npos; pos = m_str.find(from, nDone)) {
        result.append(m_str, nDone, pos - nDone).append(to);
        nDone = pos + from.size();
        ++n;
    }
    result.append(m_str, nDone, std::wstring::npos);
    m_str.swap(result);
    return n;
}

int CString::Remove(TCHAR ch)
{
    size_t before = m_str.size();
    m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
    return static_cast<int>(before - m_str.size());
}

int CString::Insert(int nIndex, TCHAR ch) { return Insert(nIndex, CString(ch)); }

int CString::Insert(int nIndex, LPCTSTR psz)
{
    nIndex = std::clamp(nIndex, 0, GetLength());
    if (psz)
        m_str.insert(static_cast<size_t>(nIndex), psz);
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    if (nIndex >= 0 && nIndex < GetLength() && nCount > 0)
        m_str.erase(static_cast<size_t>(nIndex), static_cast<size_t>(nCount));
    return GetLength();
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(TCHAR ch) { return TrimRight(ch).TrimLeft(ch); }
CString& CString::Trim(LPCTSTR pszTargets) { return TrimRight(pszTargets).TrimLeft(pszTargets); }

CString& CString::TrimLeft()
{
    size_t i = 0;
    while (i < m_str.size() && std::iswspace(m_str[i]))
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(TCHAR ch)
{
    size_t i = 0;
    while (i < m_str.size() && m_str[i] == ch)
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(LPCTSTR pszTargets)
{
    size_t i = 0;
    while (i < m_str.size() && InSet(pszTargets, m_str[i]))
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimRight()
{
    while (!m_str.empty() && std::iswspace(m_str.back()))
        m_str.pop_back();
    return *this;
}

CString& CString::TrimRight(TCHAR ch)
{
    while (!m_str.empty() && m_str.back() == ch)
        m_str.pop_back();
    return *this;
}

CString& CString::TrimRight(LPCTSTR pszTargets)
{
    while (!m_str.empty() && InSet(pszTargets, m_str.back()))
        m_str.pop_back();
    return *this;
}

void CString::Truncate(int nNewLength)
{
    if (nNewLength >= 0 && nNewLength < GetLength())
        m_str.resize(static_cast<size_t>(nNewLength));
}

int CString::Find(TCHAR ch, int nStart) const
{
    if (nStart < 0 || nStart >= GetLength())
        return -1;
    size_t pos = m_str.find(ch, static_cast<size_t>(nStart));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(LPCTSTR pszSub, int nStart) const
{
    if (!pszSub || nStart < 0 || nStart > GetLength())
        return -1;
    size_t pos = m_str.find(pszSub, static_cast<size_t>(nStart));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(TCHAR ch) const
{
    size_t pos = m_str.rfind(ch);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(LPCTSTR pszCharSet) const
{
    size_t pos = m_str.find_first_of(pszCharSet ? pszCharSet : L"");
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

void CString::FormatV(LPCTSTR pszFormat, va_list args)
{
    // Most texts are short: one pass into a buffer on the stack, the count and the heap only for long ones.
    wchar_t szShort[256];
    va_list attempt;
    va_copy(attempt, args);
    int nShort = _vsnwprintf(szShort, _countof(szShort), pszFormat, attempt);
    va_end(attempt);
    if (nShort >= 0 && nShort < static_cast<int>(_countof(szShort))) {
        m_str.assign(szShort, static_cast<size_t>(nShort));
        return;
    }
    va_list count;
    va_copy(count, args);
    int n = _vscwprintf(pszFormat, count);
    va_end(count);
    if (n < 0)
        AfxThrowMemoryException();
    std::vector<wchar_t> buffer(static_cast<size_t>(n) + 1);
    _vsnwprintf(buffer.data(), buffer.size(), pszFormat, args);
    m_str.assign(buffer.data(), static_cast<size_t>(n));
}

void CString::Format(LPCTSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::Format(UINT nFormatID, ...)
{
    CString format;
    format.LoadString(nFormatID);
    va_list args;
    va_start(args, nFormatID);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(LPCTSTR pszFormat, ...)
{
    CString more;
    va_list args;
    va_start(args, pszFormat);
    more.FormatV(pszFormat, args);
    va_end(args);
    *this += more;
}

void CString::FormatMessage(LPCTSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    bool ok = FormatMessageV(pszFormat, &args, m_str);
    va_end(args);
    if (!ok)
        AfxThrowMemoryException();
}

void CString::FormatMessage(UINT nFormatID, ...)
{
    CString format;
    format.LoadString(nFormatID);
    va_list args;
    va_start(args, nFormatID);
    bool ok = FormatMessageV(format, &args, m_str);
    va_end(args);
    if (!ok)
        AfxThrowMemoryException();
}

BOOL CString::LoadString(UINT nID)
{
    // The current resource module first, then the extension modules.
    if (LoadString(AfxGetResourceHandle(), nID))
        return TRUE;
    for (CDynLinkLibrary* pDLL = AfxGetModuleState()->m_pDllList; pDLL; pDLL = pDLL->m_pNextDLL) {
        if (pDLL->m_hResource && LoadString(pDLL->m_hResource, nID))
            return TRUE;
    }
    return FALSE;
}

BOOL CString::LoadString(HINSTANCE hInstance, UINT nID)
{
    // A length of 0 asks for a read-only pointer to the resource itself, so any length loads whole.
    LPCWSTR text = nullptr;
    int n = ::LoadStringW(hInstance, nID, reinterpret_cast<LPWSTR>(&text), 0);
    if (n <= 0 || !text) {
        m_str.clear();
        return FALSE;
    }
    m_str.assign(text, static_cast<size_t>(n));
    return TRUE;
}

LPTSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength > GetLength())
        m_str.resize(static_cast<size_t>(nMinBufLength));
    return &m_str[0];
}

LPTSTR CString::GetBufferSetLength(int nNewLength)
{
    m_str.resize(static_cast<size_t>(std::max(nNewLength, 0)));
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = static_cast<int>(std::wcslen(m_str.c_str()));
    m_str.resize(static_cast<size_t>(std::min(nNewLength, GetLength())));
}

BSTR CString::AllocSysString() const
{
    BSTR b = ::SysAllocStringLen(m_str.data(), static_cast<UINT>(m_str.size()));
    if (!b)
        AfxThrowMemoryException();
    return b;
}

BSTR CString::SetSysString(BSTR* pbstr) const
{
    if (!::SysReAllocStringLen(pbstr, m_str.data(), static_cast<UINT>(m_str.size())))
        AfxThrowMemoryException();
    return *pbstr;
}

std::string CString::ToMultiByte(UINT codePage) const
{
    if (m_str.empty())
        return std::string();
    int n = ::WideCharToMultiByte(codePage, 0, m_str.data(), GetLength(), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(std::max(n, 0)), '\0');
    if (n > 0)
        ::WideCharToMultiByte(codePage, 0, m_str.data(), GetLength(), &out[0], n, nullptr, nullptr);
    return out;
}

CString CString::FromMultiByte(const char* pch, int nLength, UINT codePage)
{
    CString out;
    if (!pch)
        return out;
    if (nLength < 0)
        nLength = static_cast<int>(std::strlen(pch));
    if (nLength == 0)
        return out;
    int n = ::MultiByteToWideChar(codePage, 0, pch, nLength, nullptr, 0);
    if (n > 0) {
        out.m_str.resize(static_cast<size_t>(n));
        ::MultiByteToWideChar(codePage, 0, pch, nLength, &out.m_str[0], n);
    }
    return out;
}
