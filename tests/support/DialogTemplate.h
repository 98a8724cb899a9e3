// Builds a dialog template in memory (DLGTEMPLATE with DLGITEMTEMPLATE items), for tests that need a dialog
// with particular controls, styles or extended styles without a resource.
#pragma once

#include <windows.h>

#include <vector>

class CDialogTemplate
{
public:
    CDialogTemplate(DWORD dwStyle, short cx, short cy, LPCWSTR lpszTitle = L"")
    {
        Add(static_cast<DWORD>(dwStyle | DS_SETFONT));
        Add(static_cast<DWORD>(0));   // extended style
        m_nCountAt = m_words.size();
        m_words.push_back(0);         // item count
        for (short v : {short(0), short(0), cx, cy})
            m_words.push_back(static_cast<WORD>(v));
        m_words.push_back(0);   // no menu
        m_words.push_back(0);   // standard class
        AddText(lpszTitle);
        m_words.push_back(8);   // font size and face
        AddText(L"MS Shell Dlg");
    }

    // A control of a predefined class ("BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX") or of
    // a registered class by name.
    CDialogTemplate& AddItem(LPCWSTR lpszClass, LPCWSTR lpszText, WORD nID, DWORD dwStyle, short x, short y, short cx,
                             short cy, DWORD dwExStyle = 0)
    {
        while (m_words.size() % 2)
            m_words.push_back(0);   // items are DWORD aligned
        Add(static_cast<DWORD>(dwStyle | WS_CHILD | WS_VISIBLE));
        Add(dwExStyle);
        for (short v : {x, y, cx, cy})
            m_words.push_back(static_cast<WORD>(v));
        m_words.push_back(nID);
        AddText(lpszClass);
        AddText(lpszText);
        m_words.push_back(0);   // no creation data
        ++m_words[m_nCountAt];
        return *this;
    }

    LPCDLGTEMPLATE Get() const { return reinterpret_cast<LPCDLGTEMPLATE>(m_words.data()); }

private:
    void Add(DWORD dw)
    {
        m_words.push_back(LOWORD(dw));
        m_words.push_back(HIWORD(dw));
    }
    void AddText(LPCWSTR lpsz)
    {
        for (; *lpsz; ++lpsz)
            m_words.push_back(static_cast<WORD>(*lpsz));
        m_words.push_back(0);
    }

    std::vector<WORD> m_words;
    size_t m_nCountAt = 0;
};
