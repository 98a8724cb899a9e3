// A static text control made a link: underlined in a link colour, a hand cursor over the text, another colour
// while hovered and after it was followed, a tooltip naming the target, and a click that opens the target with
// the shell's "open" verb (a failure is reported in a message box).
#pragma once

#include "platform/mfc/afxcmn.h"
#include "platform/mfc/afxctrls.h"
#include "ui/themes/ColorTable.h"

class CXTHyperLink : public CStatic
{
    DECLARE_DYNAMIC(CXTHyperLink)
public:
    enum { hoverTimerID = 1, hoverTimerElapse = 10 };

    CXTHyperLink();
    ~CXTHyperLink() override;

    // The text given to the shell; the window text when empty at initialisation.
    virtual void SetTarget(LPCTSTR lpszTarget);
    const CString& GetTarget() const { return m_strTarget; }
    // Colour 15 of the colour table while none is set.
    virtual COLORREF GetBackColor() const;
    // TRUE when the shell opened the target (the stored one when none is given).
    virtual BOOL GotoTarget(LPCTSTR lpszTarget = nullptr, int nShowCmd = SW_SHOW);
    // Left, centred or right-aligned text.
    virtual BOOL IsTextControl() const;
    virtual BOOL IsCursorOverLink() const;
    // Beeps and shows the text of the shell's error code.
    virtual void ReportError(INT_PTR nError);
    virtual void InitLink();
    virtual void UpdateFont();
    virtual void CreateLinkFont(CFont& font, BOOL bUnderline);

    void SetColors(COLORREF clrLink, COLORREF clrVisited, COLORREF clrHover);
    COLORREF GetLinkColor() const { return m_clrLink; }
    COLORREF GetVisitedColor() const { return m_clrVisited; }
    COLORREF GetHoverColor() const { return m_clrHover; }
    void SetVisited(BOOL bVisited);
    BOOL GetVisited() const { return m_bVisited; }
    void SetUnderline(BOOL bUnderline);
    BOOL GetUnderline() const { return m_bUnderline; }
    void SetLinkCursor(HCURSOR hCursor) { m_hcurHand = hCursor; }
    HCURSOR GetLinkCursor() const { return m_hcurHand; }
    void SetBackColor(COLORREF clrBack);
    void SetTipText(LPCTSTR lpszTipText);
    const CString& GetTipText() const { return m_strTipText; }
    void EnableTooltip(BOOL bEnable);
    void SetNavigateOnClick(BOOL bNavigate) { m_bNavigate = bNavigate; }
    BOOL IsHovering() const { return m_bHover; }
    CToolTipCtrl& GetToolTip() { return m_toolTip; }
    // Screen rectangle of the link text of a text control (the window rectangle for other statics).
    CRect GetLinkRect() const;
    // The colour the text is drawn in now.
    COLORREF GetTextColor() const;

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PreSubclassWindow() override;
    void Redraw() { RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE); }

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg BOOL OnClicked();
    DECLARE_MESSAGE_MAP()

private:
    BOOL m_bNavigate = TRUE;
    BOOL m_bInitOnSubclass = TRUE;
    BOOL m_bUnderline = TRUE;
    BOOL m_bHover = FALSE;
    BOOL m_bVisited = FALSE;
    BOOL m_bTooltipActive = TRUE;
    CFont m_fontLink;
    CString m_strTarget;
    CString m_strTipText;
    HCURSOR m_hcurHand = nullptr;
    COLORREF m_clrLink = RGB(0, 0, 255);
    COLORREF m_clrHover = RGB(255, 0, 0);
    COLORREF m_clrVisited = RGB(128, 0, 128);
    COLORREF m_clrBack = XTP_COLOR_NONE;
    CToolTipCtrl m_toolTip;
};
