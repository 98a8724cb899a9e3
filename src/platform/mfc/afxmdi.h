// The frame of a multiple-document window: its client area is the system's MDI client window, which holds the
// document windows; unhandled messages go to the frame's default MDI procedure.
#pragma once

#include "afxframe.h"

class CMDIFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    HWND m_hWndMDIClient = nullptr;

    // Creates the MDI client window (child id AFX_IDW_PANE_FIRST, the frame's layout fills it); the window menu
    // receives the document windows' entries.
    virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu);
    // The active document window, or null; pbMaximized tells whether it is maximised.
    HWND MDIGetActive(BOOL* pbMaximized = nullptr) const;
    // The MDI client shows hMenuAlt, else the active document window's menu, else the frame's default menu.
    void OnUpdateFrameMenu(HMENU hMenuAlt) override;
    // The MDI client shows hMenu, or the frame's default menu when it is null.
    void ShowClientMenu(HMENU hMenu);

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A document window inside the MDI client of a CMDIFrameWnd: made through WM_MDICREATE, its unhandled messages
// go to the default MDI child procedure, and it is destroyed through the MDI client. It lives on the heap as
// long as its window.
class CMDIChildWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    // The window class null: a class of the framework's own (double clicks, arrow cursor, window colour).
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                        CMDIFrameWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    CMDIFrameWnd* GetMDIFrame() const { return m_pMDIFrame; }

    // The menu of the window's document type, which the frame shows while the window is active; null: the
    // frame's own. The windows of a type share it: it is not destroyed with the window.
    HMENU m_hMenuShared = nullptr;
    void MDIActivate();
    void MDIDestroy();
    BOOL DestroyWindow() override;

protected:
    DECLARE_MESSAGE_MAP()
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The creation context travels inside the MDI creation record.
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    // Becoming active, the window gives the frame its menu.
    afx_msg LRESULT OnMDIActivate(WPARAM wParam, LPARAM lParam);

private:
    CMDIFrameWnd* m_pMDIFrame = nullptr;
};
