// CControlBar: a bar along an edge of its frame (status bar, dock bar). It keeps the CBRS_ style bits apart from
// the window style, the borders around its inside, takes its part of the frame on WM_SIZEPARENT by its fixed
// size, and refreshes its items' command states on the idle update.
#pragma once

#include "afxwnd.h"

class CFrameWnd;

// Control-bar styles (the bar's own style word, not the window's).
#define CBRS_ALIGN_LEFT     0x1000L
#define CBRS_ALIGN_TOP      0x2000L
#define CBRS_ALIGN_RIGHT    0x4000L
#define CBRS_ALIGN_BOTTOM   0x8000L
#define CBRS_ALIGN_ANY      0xF000L
#define CBRS_BORDER_LEFT    0x0100L
#define CBRS_BORDER_TOP     0x0200L
#define CBRS_BORDER_RIGHT   0x0400L
#define CBRS_BORDER_BOTTOM  0x0800L
#define CBRS_BORDER_ANY     0x0F00L
#define CBRS_BORDER_3D      0x0080L
#define CBRS_TOOLTIPS       0x0010L
#define CBRS_FLYBY          0x0020L
#define CBRS_SIZE_DYNAMIC   0x0004L
#define CBRS_SIZE_FIXED     0x0002L
#define CBRS_FLOATING       0x0001L
#define CBRS_GRIPPER        0x00400000L
#define CBRS_ALL            0x0040FFFFL
#define CBRS_LEFT           (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP            (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT          (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM         (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

class CControlBar : public CWnd
{
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();

    DWORD GetBarStyle() const { return m_dwStyle; }
    // A change of the border bits makes the window recalculate its frame.
    virtual void SetBarStyle(DWORD dwStyle);
    BOOL IsVisible() const { return m_hWnd && (::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0; }
    BOOL IsHorzDocked() const { return (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0; }

    // The size the bar takes along its edge (32767 along the edge: as long as the frame).
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // The client rectangle less the borders.
    virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;

    int m_cxLeftBorder = 6, m_cxRightBorder = 6;
    int m_cyTopBorder = 1, m_cyBottomBorder = 1;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // The borders of the style drawn in the non-client area.
    void EraseNonClient();

    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    DWORD m_dwStyle = 0;
};
