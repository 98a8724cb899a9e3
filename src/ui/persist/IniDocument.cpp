#include "IniDocument.h"

#include <algorithm>

namespace
{
// The blanks the profile functions trim: white space and the end-of-file mark of old editors.
bool IsBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r') || c == 0x1A; }

std::wstring TrimLeft(const std::wstring& str)
{
    size_t nStart = 0;
    while (nStart < str.size() && IsBlank(str[nStart]))
        nStart++;
    return str.substr(nStart);
}

std::wstring TrimRight(const std::wstring& str)
{
    size_t nEnd = str.size();
    while (nEnd > 0 && IsBlank(str[nEnd - 1]))
        nEnd--;
    return str.substr(0, nEnd);
}

std::wstring Trim(const std::wstring& str) { return TrimLeft(TrimRight(str)); }

// Names and values are C strings to the profile functions: a zero ends them.
std::wstring CutAtZero(const std::wstring& str) { return str.substr(0, str.find(L'\0')); }

std::wstring Lower(std::wstring str)
{
    if (!str.empty())
        ::CharLowerBuffW(&str[0], static_cast<DWORD>(str.size()));
    return str;
}

const char kBomUtf8[] = "\xEF\xBB\xBF";

std::wstring FromCodePage(UINT nCodePage, const char* pBytes, size_t nBytes)
{
    int nChars = ::MultiByteToWideChar(nCodePage, 0, pBytes, static_cast<int>(nBytes), nullptr, 0);
    std::wstring text(nChars > 0 ? nChars : 0, L'\0');
    if (nChars > 0)
        ::MultiByteToWideChar(nCodePage, 0, pBytes, static_cast<int>(nBytes), &text[0], nChars);
    return text;
}

std::string ToCodePage(UINT nCodePage, const std::wstring& text)
{
    int nBytes = ::WideCharToMultiByte(nCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(nBytes > 0 ? nBytes : 0, '\0');
    if (nBytes > 0)
        ::WideCharToMultiByte(nCodePage, 0, text.data(), static_cast<int>(text.size()), &bytes[0], nBytes, nullptr, nullptr);
    return bytes;
}

std::wstring FromUtf16(const std::string& bytes, bool bBigEndian)
{
    std::wstring text((bytes.size() - 2) / 2, L'\0');
    for (size_t i = 0; i < text.size(); i++) {
        auto first = static_cast<unsigned char>(bytes[2 + 2 * i]), second = static_cast<unsigned char>(bytes[3 + 2 * i]);
        text[i] = static_cast<wchar_t>(bBigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return text;
}

std::string ToUtf16(const std::wstring& text, bool bBigEndian)
{
    std::string bytes = bBigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t c : text) {
        char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        bytes += bBigEndian ? high : low;
        bytes += bBigEndian ? low : high;
    }
    return bytes;
}
}

void CIniDocument::Load(const std::string& bytes)
{
    *this = CIniDocument();
    m_loaded = bytes;
    std::wstring text;
    if (bytes.compare(0, 3, kBomUtf8) == 0) {
        m_encoding = Encoding::Utf8;
        text = FromCodePage(CP_UTF8, bytes.data() + 3, bytes.size() - 3);
    } else if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
        m_encoding = bytes[0] == '\xFF' ? Encoding::Utf16 : Encoding::Utf16BigEndian;
        text = FromUtf16(bytes, m_encoding == Encoding::Utf16BigEndian);
    } else {
        text = FromCodePage(CP_ACP, bytes.data(), bytes.size());
    }
    for (size_t nStart = 0; nStart < text.size();) {
        size_t nEnd = std::min(text.find_first_of(L"\r\n", nStart), text.size());
        std::wstring strLine = Trim(text.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
        if (strLine.empty())
            continue;
        // A section's name runs to the last "]"; a line with none is a key.
        size_t nClose = strLine[0] == L'[' ? strLine.rfind(L']') : std::wstring::npos;
        if (nClose != std::wstring::npos && nClose > 0) {
            AddSection(CutAtZero(Trim(strLine.substr(1, nClose - 1))));
            continue;
        }
        if (m_sections.empty())
            AddSection(L"");
        size_t nEquals = strLine.find(L'=');
        std::wstring strName = CutAtZero(nEquals == std::wstring::npos ? strLine : TrimRight(strLine.substr(0, nEquals)));
        // Of keys without a name one after another only the first is kept.
        const std::vector<CKey>& keys = m_sections.back().keys;
        if (strName.empty() && !keys.empty() && keys.back().strName.empty())
            continue;
        if (nEquals == std::wstring::npos)
            AddKey(m_sections.size() - 1, strName, L"", false);
        else
            AddKey(m_sections.size() - 1, strName, CutAtZero(TrimLeft(strLine.substr(nEquals + 1))), true);
    }
}

std::string CIniDocument::Save() const { return m_bChanged ? Written() : m_loaded; }

std::string CIniDocument::Written() const
{
    std::wstring text;
    for (const CSection& section : m_sections) {
        if (section.bRemoved)
            continue;
        if (!section.strName.empty())
            text += L"[" + section.strName + L"]\r\n";
        for (const CKey& key : section.keys) {
            if (!key.bRemoved)
                text += key.strName + (key.bValue ? L"=" + key.strValue : std::wstring()) + L"\r\n";
        }
    }
    switch (m_encoding) {
    case Encoding::Utf8: return kBomUtf8 + ToCodePage(CP_UTF8, text);
    case Encoding::Utf16: return ToUtf16(text, false);
    case Encoding::Utf16BigEndian: return ToUtf16(text, true);
    default: return ToCodePage(CP_ACP, text);
    }
}

bool CIniDocument::Lookup(LPCTSTR lpszSection, LPCTSTR lpszKey, CString& strValue) const
{
    const std::pair<size_t, size_t>* pPlace = FindKey(Trim(lpszSection), Trim(lpszKey));
    if (!pPlace)
        return false;
    const CKey& key = m_sections[pPlace->first].keys[pPlace->second];
    if (!key.bValue)
        return false;
    const std::wstring& str = key.strValue;
    bool bQuoted = str.size() > 1 && (str[0] == L'"' || str[0] == L'\'') && str.back() == str[0];
    strValue = CString(bQuoted ? str.substr(1, str.size() - 2) : str);
    return true;
}

void CIniDocument::SetValue(LPCTSTR lpszSection, LPCTSTR lpszKey, LPCTSTR lpszValue)
{
    std::wstring strSection = Trim(lpszSection), strKey = Trim(lpszKey), strValue = Trim(lpszValue);
    if (const std::pair<size_t, size_t>* pPlace = FindKey(strSection, strKey)) {
        CKey& key = m_sections[pPlace->first].keys[pPlace->second];
        if (key.bValue && key.strValue == strValue)
            return;
        key.strValue = strValue;
        key.bValue = true;
    } else {
        auto named = m_sectionsByName.find(Lower(strSection));
        if (named == m_sectionsByName.end())
            AddSection(strSection);
        AddKey(named == m_sectionsByName.end() ? m_sections.size() - 1 : *named->second.sections.begin(), strKey, strValue, true);
    }
    Changed();
}

void CIniDocument::RemoveValue(LPCTSTR lpszSection, LPCTSTR lpszKey)
{
    auto named = m_sectionsByName.find(Lower(lpszSection));
    if (named == m_sectionsByName.end())
        return;
    auto places = m_keysByName.find(CKeyId(named->second.nNameId, Lower(lpszKey)));
    if (places != m_keysByName.end()) {
        RemoveKeyAt(places->second.begin()->first, places->second.begin()->second);
        Changed();
    }
}

void CIniDocument::RemoveTree(LPCTSTR lpszSection)
{
    std::wstring strName = Lower(lpszSection);
    std::wstring strChildren = strName + L"\\";
    auto removeNamed = [&](std::map<std::wstring, CNamedSections>::iterator named) {
        for (size_t nSection : named->second.sections) {
            CSection& section = m_sections[nSection];
            for (size_t nKey = 0; nKey < section.keys.size(); nKey++) {
                if (!section.keys[nKey].bRemoved)
                    RemoveKeyAt(nSection, nKey);
            }
            section.bRemoved = true;
        }
        return m_sectionsByName.erase(named);
    };
    bool bRemoved = false;
    auto named = m_sectionsByName.find(strName);
    if (named != m_sectionsByName.end()) {
        removeNamed(named);
        bRemoved = true;
    }
    // The children follow one another in the order of names.
    for (named = m_sectionsByName.lower_bound(strChildren);
         named != m_sectionsByName.end() && named->first.compare(0, strChildren.size(), strChildren) == 0;) {
        named = removeNamed(named);
        bRemoved = true;
    }
    if (bRemoved)
        Changed();
}

bool CIniDocument::HasTree(LPCTSTR lpszSection) const
{
    std::wstring strName = Lower(lpszSection);
    if (m_sectionsByName.count(strName))
        return true;
    std::wstring strChildren = strName + L"\\";
    auto child = m_sectionsByName.lower_bound(strChildren);
    return child != m_sectionsByName.end() && child->first.compare(0, strChildren.size(), strChildren) == 0;
}

void CIniDocument::AddSection(const std::wstring& strName)
{
    auto named = m_sectionsByName.emplace(Lower(strName), CNamedSections{m_nNextNameId, {}});
    if (named.second)
        m_nNextNameId++;
    named.first->second.sections.insert(m_sections.size());
    m_sections.push_back(CSection{strName, named.first->second.nNameId, {}, false});
}

void CIniDocument::AddKey(size_t nSection, const std::wstring& strName, const std::wstring& strValue, bool bValue)
{
    CSection& section = m_sections[nSection];
    m_keysByName[CKeyId(section.nNameId, Lower(strName))].emplace(nSection, section.keys.size());
    section.keys.push_back(CKey{strName, strValue, bValue, false});
}

void CIniDocument::RemoveKeyAt(size_t nSection, size_t nKey)
{
    CSection& section = m_sections[nSection];
    CKey& key = section.keys[nKey];
    auto places = m_keysByName.find(CKeyId(section.nNameId, Lower(key.strName)));
    places->second.erase(std::make_pair(nSection, nKey));
    if (places->second.empty())
        m_keysByName.erase(places);
    key.bRemoved = true;
}

void CIniDocument::Changed()
{
    if (m_bChanged)
        return;
    Load(Written());
    m_bChanged = true;
}

const std::pair<size_t, size_t>* CIniDocument::FindKey(const std::wstring& strSection, const std::wstring& strKey) const
{
    auto named = m_sectionsByName.find(Lower(strSection));
    if (named == m_sectionsByName.end())
        return nullptr;
    auto places = m_keysByName.find(CKeyId(named->second.nNameId, Lower(strKey)));
    if (places == m_keysByName.end())
        return nullptr;
    size_t nFirst = *named->second.sections.begin();
    auto place = places->second.lower_bound(std::make_pair(nFirst, size_t(0)));
    return place != places->second.end() && place->first == nFirst ? &*place : nullptr;
}
