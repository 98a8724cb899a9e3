// A static or edit control with text and background colours of its own, answered on the reflected
// WM_CTLCOLOR; where none is set the control gets the colours of its kind.
#pragma once

#include "platform/mfc/afxctrls.h"

// What the colour defaults depend on: the window class the control was made on.
enum ColorCtrlKind
{
    colorKindOther = 0,
    colorKindEdit = 1,
    colorKindListBox = 2,
    colorKindButton = 3,
    colorKindScrollBar = 5,
    colorKindStatic = 6,
};

// The kind of a window class name (compared ignoring case).
ColorCtrlKind GetColorCtrlKind(LPCTSTR lpszClassName);

// The colours a control of that kind and style gets without colours of its own; FALSE for another kind.
BOOL GetDefaultCtlColors(ColorCtrlKind kind, DWORD dwStyle, COLORREF* pclrText, COLORREF* pclrBack);

template <class TBase>
class CColorCtrl : public TBase
{
public:
    CColorCtrl() = default;

    // XTP_COLOR_NONE-style 0xFFFFFFFF restores the kind's default.
    void SetTextColor(COLORREF clr)
    {
        m_clrText = clr;
        Redraw();
    }
    void SetBkColor(COLORREF clr)
    {
        m_clrBack = clr;
        m_brush.DeleteObject();
        if (clr != 0xFFFFFFFF)
            m_brush.CreateSolidBrush(clr);
        Redraw();
    }
    // -1 leaves the DC's mode as it is.
    void SetBkMode(int nMode) { m_nBkMode = nMode; }
    ColorCtrlKind GetKind() const { return m_kind; }

protected:
    void PreSubclassWindow() override
    {
        TBase::PreSubclassWindow();
        WCHAR szClass[64] = {};
        ::GetClassNameW(this->m_hWnd, szClass, _countof(szClass));
        m_kind = GetColorCtrlKind(szClass);
    }

    afx_msg HBRUSH CtlColor(CDC* pDC, UINT /*nCtlColor*/)
    {
        COLORREF clrText = 0, clrBack = 0;
        if (!GetDefaultCtlColors(m_kind, this->GetStyle(), &clrText, &clrBack))
            return nullptr;
        if (m_clrText != 0xFFFFFFFF)
            clrText = m_clrText;
        if (m_clrBack != 0xFFFFFFFF)
            clrBack = m_clrBack;
        pDC->SetTextColor(clrText);
        pDC->SetBkColor(clrBack);
        if (m_nBkMode != -1)
            pDC->SetBkMode(m_nBkMode);
        if (m_brush.GetSafeHandle())
            return static_cast<HBRUSH>(m_brush.GetSafeHandle());
        // The kind's brush: a system colour brush, never freed.
        return ::GetSysColorBrush(clrBack == ::GetSysColor(COLOR_WINDOW) ? COLOR_WINDOW : COLOR_BTNFACE);
    }
    DECLARE_MESSAGE_MAP()

private:
    void Redraw()
    {
        if (::IsWindow(this->m_hWnd))
            this->Invalidate();
    }

    COLORREF m_clrText = 0xFFFFFFFF;
    COLORREF m_clrBack = 0xFFFFFFFF;
    int m_nBkMode = -1;
    CBrush m_brush;
    ColorCtrlKind m_kind = colorKindOther;
};

BEGIN_TEMPLATE_MESSAGE_MAP(CColorCtrl, TBase, TBase)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()
