// The drag of a container by its caption or tab, or of a floating frame by its title bar: a modal loop with the
// mouse captured that shows where the element would land (an inverted outline on the screen) and on release
// docks it beside a container or at a frame edge, attaches it as a tab, or floats it. Escape cancels; Ctrl held
// down suppresses docking.
#pragma once

#include "ui/docking/DockingPaneBase.h"

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

    // Replaces the outline (the context owns it); null restores the screen outline.
    void SetOutline(CXTPDockingPaneOutline* pOutline);
    // The shown outline's rectangle (empty when none).
    CRect GetDrawnRect() const { return m_rcDrawn; }

    // Distance within which an edge takes the drop, and the frame width of the outline.
    static const int nDockingDistance = 20;
    static const int nMoveThreshold = 4;

protected:
    BOOL IsActionVetoed(int nAction, CXTPDockingPaneElement* pContainer, INT_PTR nExtra) const;

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
};
