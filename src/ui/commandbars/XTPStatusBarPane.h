// One pane of the status bar: its id, style, width, text, colours, font, icon, tooltip and an optional child
// window placed over it. Its setters go through its bar, which keeps the control's parts and texts in step; the
// painter reads its fields to draw it.
#pragma once

#include "platform/mfc/afxwin.h"

class CXTPBarIcon;
class CXTPStatusBar;

class CXTPStatusBarPane : public CCmdTarget
{
    DECLARE_DYNAMIC(CXTPStatusBarPane)
public:
    enum { styleNoBorders = 0x100, stylePopout = 0x200, styleDisabled = 0x04000000, styleStretch = 0x08000000 };
    enum { alignLeft = 0, alignCenter = 1, alignRight = 2 };
    // The text has changed and the control has not had it yet.
    enum { flagTextChanged = 1 };

    CXTPStatusBarPane() = default;
    ~CXTPStatusBarPane() override;

    virtual CString GetText() const { return m_strText; }
    // The pane's own font, else the bar's (null without a bar: the painter's).
    virtual CFont* GetFont();
    // The icon of the icon id from the bar's image store, null without one.
    virtual CXTPBarIcon* GetImage() const;
    // Through the bar's painter, when it has one.
    virtual void Draw(CDC* pDC, CRect rcItem);

    UINT GetID() const { return m_nID; }
    int GetIndex() const { return m_nIndex; }
    int GetWidth() const { return m_cxText; }
    UINT GetStyle() const { return m_nStyle; }
    BOOL IsVisible() const { return m_bVisible; }
    COLORREF GetTextColor() const { return m_clrText; }
    COLORREF GetBackgroundColor() const { return m_clrBackground; }
    int GetTextAlignment() const { return m_nAlignment; }
    CString GetTooltip() const { return m_strToolTip; }
    int GetIconId() const { return m_nIconId; }
    HWND GetChildWindow() const { return m_hWndChild; }
    CXTPStatusBar* GetStatusBar() const { return m_pStatusBar; }

    void SetText(LPCTSTR lpszText);
    void SetStyle(UINT nStyle);
    void SetWidth(int nWidth);
    void SetVisible(BOOL bVisible);
    void SetTextColor(COLORREF clr);
    void SetBackgroundColor(COLORREF clr);
    void SetTextAlignment(int nAlign);
    void SetFont(CFont* pFont);
    void SetFontIndirect(const LOGFONT* pLogFont);
    void SetIconId(int nIconId);
    void SetTooltip(LPCTSTR lpszTooltip) { m_strToolTip = lpszTooltip; }
    // The width that shows the text (and the icon) in the pane's font.
    int BestFit();
    void Remove();

    // Fields of the pane; the bar and the painter read them directly.
    UINT m_nID = 0;
    int m_cxText = 0;
    UINT m_nStyle = 0;
    UINT m_nFlags = 0;
    CString m_strText;
    BOOL m_bVisible = TRUE;
    COLORREF m_clrText = (COLORREF)-1;
    COLORREF m_clrBackground = (COLORREF)-1;
    CString m_strToolTip;
    HWND m_hWndChild = nullptr;
    BOOL m_bDestroyChild = FALSE;   // the child's window object is deleted with the pane
    // That object, kept from the start: the child window may be gone (and its handle forgotten) before the pane.
    CWnd* m_pChildWnd = nullptr;
    int m_nAlignment = alignLeft;
    CXTPStatusBar* m_pStatusBar = nullptr;
    int m_nIndex = -1;
    int m_nPart = -1;
    CFont m_font;
    int m_nIconId = -1;

    // Destroys the child window, and deletes its object when the pane owns it; the pane keeps no child.
    void DestroyChild();

private:
    void Invalidate();
};
