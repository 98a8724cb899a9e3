// One of the four dock bars along the frame's edges: it holds the toolbars docked there in rows, takes its share
// of the frame when the frame lays out its children, paints its background through the bar painter and opens the
// toolbars menu on a right click.
#pragma once

#include "platform/mfc/afxcontrolbar.h"
#include "ui/commandbars/XTPDockBarLayout.h"
#include "ui/commandbars/XTPDockBarSlots.h"

class CXTPCommandBars;
class CXTPToolBar;

class CXTPDockBar : public CWnd
{
    DECLARE_DYNAMIC(CXTPDockBar)
public:
    explicit CXTPDockBar(CXTPCommandBars* pCommandBars);

    // dwStyle: the window style with the CBRS_ alignment and border bits of the edge.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

    CXTPToolBar* GetAt(int nSlot) const { return m_slots.GetAt(nSlot); }
    int GetCount() const { return m_slots.GetCount(); }
    int GetVisibleCount() const;
    int FindBar(const CXTPToolBar* pBar, int nSkip = -1) const { return m_slots.FindBar(pBar, nSkip); }
    CXTPDockBarSlots& GetSlots() { return m_slots; }
    DWORD GetDockStyle() const { return m_dwStyle; }
    // 0 top, 1 bottom, 2 left, 3 right.
    int GetDockPosition() const;
    BOOL IsVerticalPosition() const { return !(m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)); }

    // Docks the bar at a rectangle (screen; its centre chooses the row), or without one in a new last row.
    void DockCommandBar(CXTPToolBar* pBar, LPCRECT lpRect = nullptr);
    // Takes the bar out (its first slot other than nSkip); an emptied row goes too.
    void RemoveCommandBar(CXTPToolBar* pBar, int nSkip = -1);
    // The visible bars of the row holding a slot, in their order along the row.
    void GetVisibleRowBars(int nSlot, std::vector<CXTPToolBar*>& arrBars) const;
    // The layout mode of a bar in this dock bar's rows.
    DWORD GetBarMode(CXTPToolBar* pBar) const;
    // Lays out every row at a length; answers the thickness of all rows. With bCommit the bars are moved (through
    // hDWP when there is one).
    int LayoutRows(int nLength, HDWP& hDWP, BOOL bCommit);

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrint(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    CXTPCommandBars* m_pCommandBars;
    DWORD m_dwStyle = 0;
    CXTPDockBarSlots m_slots;
};
