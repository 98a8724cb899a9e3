// The command bar shown as a drop-down or cascading menu: a top-level popup window opened under a popup
// control, at a point for a context menu, or as a toolbar's list of hidden controls. It lays its controls out
// in one column (or in wrapping rows as a popup toolbar), places itself inside the work area, scrolls when
// taller than it, and hides rarely used commands until expanded.
#pragma once

#include "ui/commandbars/XTPCommandBar.h"

class CXTPCommandBars;
class CXTPToolBar;

// Ids of the popup's own controls and timers.
#define XTP_ID_POPUPBAR_EXPAND 9402
enum { XTP_TID_SCROLLDOWN = 5001, XTP_TID_SCROLLUP = 5002, XTP_TID_TEAROFF = 5003 };

// Bits of the popup's direction flags.
enum { xtpPopupLeft = 1, xtpPopupDown = 2 };

// Where a popup of a size goes: ptPopup is the point asked for, rcExclude the parent control (empty width or
// height: a point), rcWork the work area. Changes dwFlags as the popup turns; *pbScroll when it must scroll
// (the height is cut to what fits).
CRect CalcPopupPlacement(CSize sz, CPoint ptPopup, const CRect& rcExclude, const CRect& rcWork, DWORD& dwFlags,
                         BOOL* pbScroll);

// Whether a screen point counts as still on the tear-off strip while it is dragged (10 pixels of slack around it).
BOOL IsInTearOffStrip(CPoint ptScreen, const CRect& rcStripScreen);

// A strip of the scrolling popup with its repeat timer.
struct XTP_SCROLL_ARROW
{
    CRect rc;
    UINT_PTR nTimer = 0;
};

class CXTPPopupBar : public CXTPCommandBar
{
    DECLARE_DYNCREATE(CXTPPopupBar)
public:
    CXTPPopupBar();
    ~CXTPPopupBar() override;

    static CXTPPopupBar* CreatePopupBar(CXTPCommandBars* pCommandBars = nullptr);

    BOOL SetTrackingMode(int nMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE) override;
    BOOL SetSelected(int nSelected, BOOL bKeyboard = FALSE) override;
    BOOL IsVisible() const override;
    // Lays the open popup out again and places it (after an expansion, with its animation).
    void OnRecalcLayout() override;
    CXTPCommandBar* GetParentCommandBar() const override;
    CXTPControl* GetParentControl() const override { return m_pControlPopup; }
    // The painter draws check marks in a column of their own beside the icons.
    BOOL IsCheckboxesBesideIcons() const override { return m_bDoubleGripper; }
    int OnKeyDown(UINT nChar, LPARAM lKeyData) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void DrawCommandBar(CDC* pDC) override;
    void OnControlsChanged() override;
    void Copy(CXTPCommandBar* pOther, BOOL bRecursive) override;
    void DoPropExchange(CXTPPropExchange* pPX) override;
    virtual void UpdateShortcuts();
    virtual void UpdatePopupPosition();

    // Opens under the control (null: at the stored point); FALSE when it cannot.
    BOOL Popup(CXTPControlPopup* pControl, BOOL bSelectFirst = FALSE);
    BOOL PopupAt(int x, int y, const RECT* lpExclude = nullptr);
    // Shows the rarely used commands.
    void ExpandBar();
    BOOL IsExpanded() const { return m_bExpanded; }
    BOOL HasHiddenCommands() const { return m_bCollapsed; }
    // Marks the rarely used controls (hide bit 32) unless the popup is expanded.
    void UpdateExpandingState();
    // The popup's rectangle for its content size, after the placement rules.
    CRect CalcPopupRect(CSize sz);
    void SetPopupToolBar(BOOL bToolBar) { m_nType = bToolBar ? xtpBarTypeNormal : xtpBarTypePopup; }
    void SetParentControl(CXTPControl* pControl) { m_pControlPopup = static_cast<CXTPControlPopup*>(pControl); }
    void SetDefaultItem(UINT nItem, BOOL bByPosition);
    int GetDefaultItem(BOOL bByPosition) const;
    DWORD GetPopupFlags() const { return m_dwPopupFlags; }
    void SetPopupFlags(DWORD dwFlags) { m_dwPopupFlags = dwFlags; }
    BOOL IsScrolling() const { return m_bScrolling; }
    int GetFirstVisible() const { return m_nFirstVisible; }
    int GetLastVisible() const { return m_nLastVisible; }
    // Lays the controls out for scrolling: downwards from the first visible one, or upwards from the last.
    void UpdateScrollLayout(const SIZE* pSize, BOOL bFromEnd, BOOL bRedraw);
    // 2 slide, 3 unfold, 4 fade, 5 none.
    int GetAnimationType() const;
    // The popup can be torn off into a floating toolbar of that title, id and width (id 0: it cannot).
    void SetTearOffPopup(const CString& strCaption, UINT nId, int nWidth = 400);
    BOOL IsTearOffPopup(CString& strCaption, UINT& nId, int& nWidth) const;
    // The strip above the controls that is dragged to tear the popup off (client coordinates).
    CRect GetTearOffRect() const { return m_rcTearOffGripper; }

    BOOL m_bShowShadow = TRUE;
    CRect m_rcBorders = CRect(2, 4, 2, 4);
    BOOL m_bDoubleGripper = FALSE;

protected:
    BOOL CreatePopupWindow();
    void UpdateLocation(CSize sz);
    // The popup's shadow made again for its rectangle, with that of the control that opened it.
    void ReplaceShadow();
    void AnimatePopup();
    // The finished image of the popup shown by the painter's animation of a kind.
    void PlayAnimation(int nKind);
    void ScrollTimer(UINT_PTR nIDEvent);
    // The drag of the tear-off strip: away from it the popup hides and a floating toolbar follows the mouse.
    void TrackTearOff();
    void SetTearOffFloating(BOOL bShowPopup, CPoint ptScreen);
    // The height of the tear-off strip, 0 without one.
    int GetTearOffHeight(CDC* pDC);

    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    // A popup follows its frame's activation: it answers FS_SYNCACTIVE.
    afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CXTPControlPopup* m_pControlPopup = nullptr;
    CPoint m_ptPopup = CPoint(0, 0);
    CRect m_rcExclude = CRect(0, 0, 0, 0);
    DWORD m_dwPopupFlags = 0;
    BOOL m_bDynamicLayout = FALSE;
    BOOL m_bCollapsed = FALSE;
    BOOL m_bExpanded = FALSE;
    BOOL m_bExpanding = FALSE;
    BOOL m_bScrolling = FALSE;
    int m_nFirstVisible = 0;
    int m_nLastVisible = 0;
    XTP_SCROLL_ARROW m_scrollDown;
    XTP_SCROLL_ARROW m_scrollUp;
    BOOL m_bTearOffPopup = FALSE;
    CRect m_rcTearOffGripper = CRect(0, 0, 0, 0);
    BOOL m_bTearOffSelected = FALSE;
    UINT_PTR m_nTearOffTimer = 0;
    BOOL m_bTearOffTracking = FALSE;
    CXTPToolBar* m_pTearOffBar = nullptr;
    CString m_strTearOffCaption;
    UINT m_nTearOffId = 0;
    int m_nTearOffWidth = 0;
};

// A popup whose controls wrap in rows like a toolbar's (the expand popup of a toolbar).
class CXTPPopupToolBar : public CXTPPopupBar
{
    DECLARE_DYNCREATE(CXTPPopupToolBar)
public:
    CXTPPopupToolBar() { m_nType = xtpBarTypeNormal; }
    static CXTPPopupToolBar* CreatePopupToolBar(CXTPCommandBars* pCommandBars);
};

// The button at the foot of a collapsed popup that shows the rarely used commands.
class CXTPPopupBarExpandButton : public CXTPControlButton
{
    DECLARE_DYNCREATE(CXTPPopupBarExpandButton)
public:
    CXTPPopupBarExpandButton() { m_nType = xtpControlButton; }
    void OnExecute() override;
    void OnMouseHover() override;
    void Draw(CDC* pDC) override;
    CSize GetSize(CDC* pDC) override;
};
