// The drag of a container by its caption or tab, or of a floating frame by its title bar: a modal loop with the
// mouse captured that shows where the element would land (an inverted outline on the screen, or with the
// manager's translucent drag a ghost window, optionally with docking markers to drop onto) and on release
// docks it beside a container or at a frame edge, attaches it as a tab, or floats it. Escape cancels; Ctrl held
// down suppresses docking.
#pragma once

#include "ui/docking/DockingPaneBase.h"
#include "ui/docking/DockingPaneMarkerWnd.h"

#include <map>
#include <vector>

class CXTPDockingPaneTabbedContainer;

// Where the outline is drawn. The real one inverts a frame on the desktop window's DC; tests put a recorder in.
class CXTPDockingPaneOutline
{
public:
    virtual ~CXTPDockingPaneOutline() = default;
    virtual void Begin() = 0;
    // Replaces the shown outline (an empty rectangle shows none); bTab draws it as a tab below a body.
    virtual void Show(const CRect& rc, BOOL bTab) = 0;
    virtual void End() = 0;
};

class CXTPDockingPaneContext
{
public:
    explicit CXTPDockingPaneContext(CXTPDockingPaneManager* pManager);
    virtual ~CXTPDockingPaneContext();
    CXTPDockingPaneContext(const CXTPDockingPaneContext&) = delete;
    CXTPDockingPaneContext& operator=(const CXTPDockingPaneContext&) = delete;

    // Runs the whole drag from a press at point (screen); returns when it ended.
    virtual void Drag(CXTPDockingPaneElement* pElement, CPoint point);
    virtual void Track();
    virtual void Move(CPoint point);
    virtual void InitLoop();
    virtual void EndDrag();
    virtual void DrawFocusRect(BOOL bRemove = FALSE);
    virtual void FindDockingTarget(CPoint point);

    // The edge test: TRUE (and the target set) when point docks at an edge of rect.
    BOOL IsDockingPosition(CRect rect, CPoint point, CXTPDockingPaneElement* pElement, BOOL bInside);
    // What a drop would do now.
    CXTPDockingPaneElement* GetTarget() const { return m_pTarget; }
    BOOL IsAttachAsTab() const { return m_bAttachAsTab; }
    int GetDirection() const { return m_nDirection; }
    CRect GetDockingRect() const { return m_rcDocking; }
    CRect GetFloatingRect() const { return m_rcFloating; }
    BOOL IsFloatable() const { return m_bFloatable; }
    // Prepares a drag without running its loop (Drag's first steps).
    void BeginDrag(CXTPDockingPaneElement* pElement, CPoint point);
    // The drop: dock, attach, float or nothing, and the actions after it.
    void Drop();

    // This drag shows ghost windows (the manager's setting, when the system can make windows translucent), and
    // docking markers (also the manager's setting, with ghosts only).
    BOOL IsTranslucent() const { return m_bTranslucent; }
    BOOL IsUseMarkers() const { return m_bUseMarkers; }
    CXTPDockingPaneGhostWnd* GetGhost() { return &m_wndGhost; }
    CXTPDockingPaneGhostWnd* GetTabGhost() { return &m_wndTabGhost; }
    // The markers on screen, in the order they were made: the centre one first when there is one.
    const std::vector<CXTPDockingPaneMarkerWnd*>& GetMarkers() const { return m_lstMarkers; }
    // A marker window at rect (screen) shaped to its pieces; none for no flags or a centre without arrows.
    CXTPDockingPaneMarkerWnd* CreateMarker(CRect rect, int nFlags);
    // The markers for the container under the cursor; rebuilt only when that container changes.
    void UpdateMarkers();
    void DestroyMarkers();

    // Replaces the outline (the context owns it); null restores the screen outline.
    void SetOutline(CXTPDockingPaneOutline* pOutline);
    // The shown outline's rectangle (empty when none).
    CRect GetDrawnRect() const { return m_rcDrawn; }

    // Distance within which an edge takes the drop, and the frame width of the outline.
    static const int nDockingDistance = 20;
    static const int nMoveThreshold = 4;

protected:
    BOOL IsActionVetoed(int nAction, CXTPDockingPaneElement* pContainer, INT_PTR nExtra) const;
    // The marker under the point decides the target; every other marker loses its hot piece.
    void HitTestMarkers(CPoint point);
    // The ghosts at rc; as a tab, the body above and a tab below its left end.
    void UpdateGhosts(CRect rc, BOOL bTab);
    void DestroyGhosts();
    int GetMarkerStyle() const;

    CXTPDockingPaneManager* m_pManager;
    CXTPDockingPaneElement* m_pElement = nullptr;
    CXTPDockingPaneElement* m_pTarget = nullptr;
    CPoint m_ptLast;
    CPoint m_ptStart;
    BOOL m_bThresholdPassed = FALSE;
    CRect m_rcFloating;
    CRect m_rcDocking;
    CRect m_rcDrawn;
    BOOL m_bAttachAsTab = FALSE;
    BOOL m_bFloatable = TRUE;
    int m_nDirection = 0;
    CXTPDockingPaneOutline* m_pOutline;

    CXTPDockingPaneGhostWnd m_wndGhost;
    CXTPDockingPaneGhostWnd m_wndTabGhost;
    CXTPDockingPaneGhostWnd::PFN_SETLAYEREDWINDOWATTRIBUTES m_pfnSetLayeredWindowAttributes = nullptr;
    BOOL m_bTranslucent = FALSE;
    BOOL m_bUseMarkers = FALSE;
    BOOL m_bLastTab = FALSE;
    CRect m_rcMarkerContainer;                               // screen
    CXTPDockingPaneElement* m_pMarkerContainer = nullptr;    // null for the top container
    CXTPDockingPaneElement* m_pLastMarkerContainer = nullptr;
    std::vector<CXTPDockingPaneMarkerWnd*> m_lstMarkers;
    std::map<int, HRGN> m_mapMarkerRegions;                  // the shape of each flag set, made once a drag
};
