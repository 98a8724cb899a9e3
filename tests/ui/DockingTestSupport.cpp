#include "DockingTestSupport.h"

BEGIN_MESSAGE_MAP(CDockTestFrame, CFrameWnd)
    ON_MESSAGE(WM_DOCKINGPANE_NOTIFY, &CDockTestFrame::OnDockingPaneNotify)
END_MESSAGE_MAP()
