// A caption bar: a static control filled with a vertical gradient (where the system offers GradientFill) and
// its text drawn transparent in its own half-bold font, optionally upper-cased or with capitalised words.
#pragma once

#include "platform/mfc/afxctrls.h"

class CMyStaticBar : public CStatic
{
    DECLARE_DYNAMIC(CMyStaticBar)
public:
    CMyStaticBar();
    ~CMyStaticBar() override;

    void SetGradientColors(COLORREF clrStart, COLORREF clrEnd);
    void SetTextColor(COLORREF clr) { m_clrText = clr; }
    void SetTextFormat(UINT nFormat) { m_nFormat = nFormat; }
    void SetUpperCase(BOOL bUpper) { m_bUpperCase = bUpper; }
    void SetCapitalise(BOOL bCapitalise) { m_bCapitalise = bCapitalise; }
    // Sets the window text and repaints.
    void SetText(LPCTSTR lpszText);

    // The text as the bar shows it: upper-cased, or with the first letter of each word upper-case and the
    // rest lower-case (the second character always lower-case).
    static CString FormatText(const CString& strText, BOOL bUpperCase, BOOL bCapitalise);
    // Gradient, text colour and text, into any DC.
    void Paint(CDC* pDC);

protected:
    void PreSubclassWindow() override;
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    typedef BOOL(WINAPI* PFNGRADIENTFILL)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

    void CreateOwnFont();

    COLORREF m_clrStart = RGB(0xE9, 0xE9, 0xE9);
    COLORREF m_clrEnd = RGB(0xC4, 0xC4, 0xC4);
    COLORREF m_clrText = RGB(0, 0, 0);
    UINT m_nFormat = DT_CENTER;
    BOOL m_bUpperCase = FALSE;
    BOOL m_bCapitalise = FALSE;
    CFont m_font;
    HMODULE m_hMsimg32 = nullptr;
    PFNGRADIENTFILL m_pfnGradientFill = nullptr;
};
