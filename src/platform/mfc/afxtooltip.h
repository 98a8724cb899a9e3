// The thread's tooltip filter: before the message pump translates a message it offers it to the filter, so that
// a window's tooltip context can follow the mouse over the tools of the windows that enabled tooltips
// (CWnd::EnableToolTips, CWnd::OnToolHitTest).
#pragma once

#include <windows.h>

typedef void (*AFX_TOOLTIP_FILTER)(const MSG* pMsg);

// Replaces the calling thread's filter (null: none); answers the previous one.
AFX_TOOLTIP_FILTER AfxSetToolTipFilter(AFX_TOOLTIP_FILTER pfnFilter);
// Offers a message to the calling thread's filter, when there is one.
void AfxFilterToolTipMessage(const MSG* pMsg);
