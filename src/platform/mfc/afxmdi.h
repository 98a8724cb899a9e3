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

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
