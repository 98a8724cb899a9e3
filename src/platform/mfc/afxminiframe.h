// CMiniFrameWnd: the small-caption frame of floating panes and toolbars. Its MFS_ styles are kept by the
// object (the system would read them as class bits) and change how the frame behaves.
#pragma once

#include "afxframe.h"

#define MFS_SYNCACTIVE   0x00000100L   // the caption looks active while its owner frame is active
#define MFS_4THICKFRAME  0x00000200L   // sizing at the four sides only, not at the corners
#define MFS_THICKFRAME   0x00000400L   // a sizing frame
#define MFS_MOVEFRAME    0x00000800L   // dragging any edge moves the window
#define MFS_BLOCKSYSMENU 0x00001000L   // the system menu never opens

class CMiniFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMiniFrameWnd)
public:
    CMiniFrameWnd() = default;

    // A tool window owned by pParentWnd, or its child with id nID when dwStyle has WS_CHILD (a popup has no
    // id: its menu slot cannot carry one).
    BOOL Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd = nullptr, UINT nID = 0);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd = nullptr, UINT nID = 0);

    DWORD GetMiniStyle() const { return m_dwMiniStyle; }
    // Whether the caption is drawn active (with MFS_SYNCACTIVE also while the owner frame is active).
    BOOL IsCaptionActive() const { return m_bCaptionActive; }
    // The system commands a synchronised frame hands to its owner: the keyboard's menu, and the close that
    // Alt+F4 asks for (not the close of its own button or menu).
    static BOOL IsOwnersSysCommand(UINT nCommand, BOOL bAltF4Down);
    // Whether the keyboard belongs to hWndFrame while hWndActive is active: it is the frame itself or a
    // synchronised frame it owns.
    static BOOL IsActiveWith(HWND hWndFrame, HWND hWndActive);

protected:
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    BOOL LooksActiveWith(HWND hWndActive) const;
    void SetCaptionActive(BOOL bActive);

    DWORD m_dwMiniStyle = 0;
    BOOL m_bCaptionActive = FALSE;
};
