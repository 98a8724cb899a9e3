// What the docking tests share: a frame that owns a docking-pane manager and writes down every notification
// the docking code sends it (answering with the vetoes a test sets), and a compact text form of the element tree
// so that expected trees read as one line: H[...] / V[...] splitters, T(ids) tabbed containers with the selected
// pane marked '*', C the client placeholder, F{...} floating frames, A0..A3{...} auto-hide panels.
#pragma once

#include "platform/mfc/afxframe.h"
#include "ui/docking/DockingPane.h"
#include "ui/docking/DockingPaneAutoHidePanel.h"
#include "ui/docking/DockingPaneManager.h"
#include "ui/docking/DockingPaneMiniWnd.h"
#include "ui/docking/DockingPaneSplitterContainer.h"
#include "ui/docking/DockingPaneTabbedContainer.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

class CDockTestFrame : public CFrameWnd
{
public:
    BOOL CreateHidden(CRect rc = CRect(40, 40, 640, 440), DWORD dwExStyle = 0)
    {
        if (!CreateEx(dwExStyle, AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW)), L"docking",
                      WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, rc, nullptr, 0))
            return FALSE;
        return m_paneManager.InstallDockingPanes(this);
    }

    // "code N id" for codes 1, 3, and "action N id" for code 4.
    std::vector<std::string> m_log;
    std::set<int> m_vetoedActions;
    std::set<UINT> m_keptPanes;   // code 3 answers -1 for these ids
    std::vector<UINT> m_shownPanes;
    // Runs while the frame is asked for a pane's menu (code 5).
    std::function<void(XTP_DOCKINGPANE_CLICK*)> m_onPaneMenu;
    CXTPDockingPaneManager m_paneManager;

protected:
    afx_msg LRESULT OnDockingPaneNotify(WPARAM wParam, LPARAM lParam)
    {
        if (wParam == XTP_DPN_ACTION) {
            XTP_DOCKINGPANE_ACTION* pAction = reinterpret_cast<XTP_DOCKINGPANE_ACTION*>(lParam);
            m_log.push_back("action " + std::to_string(pAction->action) + " " +
                            std::to_string(pAction->pPane ? pAction->pPane->GetID() : 0));
            if (m_vetoedActions.count(static_cast<int>(pAction->action)))
                pAction->bCancel = TRUE;
            return 0;
        }
        if (wParam == XTP_DPN_CONTEXTMENU && m_onPaneMenu) {
            m_onPaneMenu(reinterpret_cast<XTP_DOCKINGPANE_CLICK*>(lParam));
            return 0;
        }
        if (wParam == XTP_DPN_SHOWWINDOW || wParam == XTP_DPN_CLOSEPANE) {
            UINT nID = reinterpret_cast<CXTPDockingPane*>(lParam)->GetID();
            m_log.push_back("code " + std::to_string(wParam) + " " + std::to_string(nID));
            if (wParam == XTP_DPN_SHOWWINDOW)
                m_shownPanes.push_back(nID);
            if (wParam == XTP_DPN_CLOSEPANE && m_keptPanes.count(nID))
                return XTP_ACTION_NOCLOSE;
        }
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

inline std::string DescribeElement(CXTPDockingPaneElement* pElement)
{
    if (!pElement)
        return "-";
    switch (pElement->GetType()) {
    case xtpPaneTypeClient:
        return "C";
    case xtpPaneTypeDockingPane:
        return std::to_string(static_cast<CXTPDockingPane*>(pElement)->GetID());
    case xtpPaneTypeTabbedContainer: {
        auto* pContainer = dynamic_cast<CXTPDockingPaneTabbedContainer*>(pElement);
        std::string s = "T(";
        for (size_t i = 0; i < pContainer->GetPanes().size(); i++) {
            CXTPDockingPane* pPane = pContainer->GetPanes()[i];
            s += (i ? "," : "") + std::to_string(pPane->GetID());
            if (pContainer->GetPanes().size() > 1 && pPane == pContainer->GetSelected())
                s += "*";
        }
        return s + ")";
    }
    case xtpPaneTypeSplitterContainer: {
        auto* pSplitter = static_cast<CXTPDockingPaneSplitterContainer*>(pElement);
        std::string s = pSplitter->IsHoriz() ? "H[" : "V[";
        for (size_t i = 0; i < pSplitter->GetChildren().size(); i++)
            s += (i ? "," : "") + DescribeElement(pSplitter->GetChildren()[i]);
        return s + "]";
    }
    case xtpPaneTypeMiniWnd:
        return "F{" + DescribeElement(dynamic_cast<CXTPDockingPaneMiniWnd*>(pElement)->GetTopContainer()) + "}";
    case xtpPaneTypeAutoHidePanel: {
        auto* pPanel = static_cast<CXTPDockingPaneAutoHidePanel*>(pElement);
        std::string s = "A" + std::to_string(pPanel->GetDirection()) + "{";
        for (size_t i = 0; i < pPanel->GetContainers().size(); i++)
            s += (i ? "," : "") + DescribeElement(pPanel->GetContainers()[i]);
        return s + "}";
    }
    }
    return "?";
}

// The docked tree, then each floating frame and panel in element-list order, then closed panes as "closed(id)".
inline std::string DescribeLayout(CXTPDockingPaneLayout* pLayout)
{
    std::string s = DescribeElement(pLayout->GetTopContainer());
    for (CXTPDockingPaneElement* pElement : pLayout->GetElementList()) {
        if (pElement->GetType() == xtpPaneTypeMiniWnd || pElement->GetType() == xtpPaneTypeAutoHidePanel)
            s += " " + DescribeElement(pElement);
    }
    for (const XTP_DOCKINGPANE_INFO& info : pLayout->GetPaneList()) {
        if (info.pPane->IsClosed())
            s += " closed(" + std::to_string(info.pPane->GetID()) + ")";
    }
    return s;
}
