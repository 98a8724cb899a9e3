// An INI file's sections and keys, read and changed in memory the way the system's profile functions read and
// write the file: names compare without case and without surrounding blanks, the first of repeated sections
// holds the keys that are read and set (and the first of repeated keys in it), a line without "=" is a key
// without a value, and the text keeps the file's encoding (ANSI, or UTF-8 or UTF-16 after a byte-order mark).
// The profile functions read the whole file again at every call; here a look-up does not grow with the file.
#pragma once

#include "platform/mfc/afx.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

class CIniDocument
{
public:
    // Takes the file's bytes in place of what the document held.
    void Load(const std::string& bytes);
    // The file's bytes: as they were loaded while nothing changed, else as the profile functions write them.
    std::string Save() const;
    bool IsChanged() const { return m_bChanged; }

    // The key's value with one pair of surrounding quotes dropped; false for no key or a key without a value.
    bool Lookup(LPCTSTR lpszSection, LPCTSTR lpszKey, CString& strValue) const;
    // A new key goes to the end of its section, a new section to the end of the file.
    void SetValue(LPCTSTR lpszSection, LPCTSTR lpszKey, LPCTSTR lpszValue);
    // Removes the first key of that name in the sections of that name.
    void RemoveValue(LPCTSTR lpszSection, LPCTSTR lpszKey);
    // Removes every section of that name or below it ("name\child").
    void RemoveTree(LPCTSTR lpszSection);
    // Whether a section of that name or below it is there, with keys or without.
    bool HasTree(LPCTSTR lpszSection) const;

private:
    enum class Encoding { Ansi, Utf8, Utf16, Utf16BigEndian };
    struct CKey
    {
        std::wstring strName;
        std::wstring strValue;
        bool bValue;
        bool bRemoved;
    };
    struct CSection
    {
        std::wstring strName;
        size_t nNameId;
        std::vector<CKey> keys;
        bool bRemoved;
    };
    // The sections of one name (lower case): a number for the name while any is there, and their positions.
    struct CNamedSections
    {
        size_t nNameId;
        std::set<size_t> sections;
    };
    // A key of one name (lower case) in the sections of one name, by position: (section, key).
    using CKeyId = std::pair<size_t, std::wstring>;
    using CPlaces = std::set<std::pair<size_t, size_t>>;

    void AddSection(const std::wstring& strName);
    void AddKey(size_t nSection, const std::wstring& strName, const std::wstring& strValue, bool bValue);
    void RemoveKeyAt(size_t nSection, size_t nKey);
    // The text as the profile functions write it.
    std::string Written() const;
    // The profile functions write the file at each change and read it again at their next call: after the first
    // change the document is what that reading gives (lines without a name or value dropped, blanks before a zero
    // trimmed, the keys of a section without a name part of the section before).
    void Changed();
    // The place of the first key of that name in the first section of that name, if there is one.
    const std::pair<size_t, size_t>* FindKey(const std::wstring& strSection, const std::wstring& strKey) const;

    std::vector<CSection> m_sections;
    // Ordered by name, so that a section's children follow it.
    std::map<std::wstring, CNamedSections> m_sectionsByName;
    std::map<CKeyId, CPlaces> m_keysByName;
    size_t m_nNextNameId = 0;
    std::string m_loaded;
    Encoding m_encoding = Encoding::Ansi;
    bool m_bChanged = false;
};
