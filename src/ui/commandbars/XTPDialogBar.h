// A toolbar that hosts one child window (typically a modeless dialog) in a resizable client area under a caption.
// The caption shows a title that can open a menu, and a close button; the client sizes, docked and floating, are
// kept with the bars' layout.
#pragma once

#include "ui/commandbars/XTPToolBar.h"

class CXTPPopupBar;

// Ids of the caption's controls.
#define XTP_ID_DIALOGBAR_CAPTION 9399
#define XTP_ID_DIALOGBAR_CLOSE   9401

class CXTPDialogBar : public CXTPToolBar
{
    DECLARE_SERIAL(CXTPDialogBar)
public:
    CXTPDialogBar();
    ~CXTPDialogBar() override;

    // The hosted window, placed in the client area. Not owned.
    void SetChild(CWnd* pChildWnd);
    HWND GetChild() const { return m_hWndChild; }
    // The title; empty: the bar's title.
    void SetCaption(const CString& strCaption);
    CString GetCaption() const { return m_strCaption; }
    void SetCaptionVisible(BOOL bVisible);
    BOOL IsCaptionVisible() const { return m_bCaptionVisible; }
    // The title opens the caption menu (when it has items).
    void EnableCaptionMenu(BOOL bEnable);
    void SetResizable(BOOL bResizable) { m_bResizable = bResizable; }
    BOOL IsResizable() const { return m_bResizable; }
    // Both client sizes, docked and floating.
    void SetSize(CSize szClient);
    CSize GetDockingClientSize() const { return m_szDockingClient; }
    CSize GetFloatingClientSize() const { return m_szFloatingClient; }
    // The sizes as the bars' layout stored them.
    void SetClientSizes(CSize szDocking, CSize szFloating);
    // The first popup of the menu resource becomes the caption menu; FALSE when the menu is missing.
    BOOL SetPopupMenu(UINT nIDMenu);
    CXTPPopupBar* GetCaptionPopupBar() const { return m_pCaptionMenu; }
    BOOL HasCaptionMenu() const;
    int GetCaptionHeight() const { return m_nCaptionHeight; }

    CSize CalcDockingLayout(int nLength, DWORD dwMode, int nWidth = 0) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    // Clicks in the caption strip belong to the bar; anywhere else they close an open caption menu.
    int OnMouseHitTest(CPoint ptScreen) override;

    // The sizing edge of a point (screen coordinates) on a bar with that window rectangle at that position;
    // HTNOWHERE when the point is on none. bStretched: the bar is stretched along its edge.
    static UINT SizingHitTest(const CRect& rcWindow, CPoint pt, int nPosition, BOOL bStretched);
    // The window dragged to a new rectangle by the edge of a hit-test code; FALSE (nothing changes) when the
    // client part would be smaller than its minimum.
    BOOL ResizeTo(const CRect& rcWindow, UINT nHitTest);

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    CSize CalcLayout(int nLength, DWORD dwMode, CSize szClient);
    void PlaceChild();
    // The edge drag: the window follows the mouse until the button goes up; Esc or a lost capture ends it.
    void TrackSizing(UINT nHitTest, CPoint ptStart);

    CRect m_rcBorders = CRect(3, 3, 3, 3);
    BOOL m_bResizable = TRUE;
    CSize m_szMinClient = CSize(50, 50);
    BOOL m_bCaptionVisible = TRUE;
    BOOL m_bCaptionMenu = TRUE;
    int m_nCaptionHeight = 0;
    CSize m_szDockingClient = CSize(200, 200);
    CSize m_szFloatingClient = CSize(200, 200);
    HWND m_hWndChild = nullptr;
    CString m_strCaption;
    CXTPPopupBar* m_pCaptionMenu = nullptr;
};

// The title of a dialog bar, opening the caption menu when there is one.
class CXTPDialogBarCaptionPopup : public CXTPControlPopup
{
    DECLARE_DYNCREATE(CXTPDialogBarCaptionPopup)
public:
    BOOL SetPopup(BOOL bPopup) override;
    // Without a caption menu a click on the title does nothing: the bar does not start tracking the keys.
    void OnClick(BOOL bKeyboard, CPoint pt) override;
    void Draw(CDC* pDC) override;
    void SetArrow(BOOL bArrow) { m_bArrow = bArrow; }
    BOOL HasArrow() const { return m_bArrow; }

private:
    BOOL HasMenu() const;

    BOOL m_bArrow = FALSE;
};

// The close button of a dialog bar: a "Marlett" cross; it hides the bar.
class CXTPDialogBarCloseButton : public CXTPControlButton
{
    DECLARE_DYNCREATE(CXTPDialogBarCloseButton)
public:
    void OnExecute() override;
    void Draw(CDC* pDC) override;
};
