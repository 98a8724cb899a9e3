// A row or column of docking elements with a splitter bar between each two neighbours that show. The layout's
// top container is one, and each floating frame holds one. Its size distribution also tells the drag where an
// element would land.
#pragma once

#include "ui/docking/DockingPaneBase.h"

class CXTPDockingPaneSplitterContainer;

// The bar between two children; dragging it moves the border between them.
class CXTPDockingPaneSplitterWnd : public CWnd
{
public:
    CXTPDockingPaneSplitterWnd() = default;

    // Binds the bar to its neighbours; the window is made once per site.
    void Create(CXTPDockingPaneSplitterContainer* pContainer, CXTPDockingPaneElement* pFirst,
                CXTPDockingPaneElement* pSecond);
    // The bar lies across a column (its container is vertical).
    BOOL IsHorizontal() const;
    // Where the bar may go (screen), and the union of its two neighbours; FALSE when it cannot move.
    BOOL CalcTrackRect(CRect* pTrack, CRect* pUnion) const;
    // The neighbours' docking sizes for a bar whose leading edge is at nPosition (screen).
    void SetNewSizes(int nPosition, const CRect& rcUnion);
    CXTPDockingPaneElement* GetFirst() const { return m_pFirst; }
    CXTPDockingPaneElement* GetSecond() const { return m_pSecond; }
    CXTPDockingPaneSplitterContainer* GetContainer() const { return m_pContainer; }

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    BOOL CanMove() const;
    void TrackLive(CPoint point, const CRect& rcTrack, const CRect& rcUnion);

    CXTPDockingPaneSplitterContainer* m_pContainer = nullptr;
    CXTPDockingPaneElement* m_pFirst = nullptr;
    CXTPDockingPaneElement* m_pSecond = nullptr;
    HCURSOR m_hCursor = nullptr;
};

class CXTPDockingPaneSplitterContainer : public CXTPDockingPaneElement
{
public:
    explicit CXTPDockingPaneSplitterContainer(CXTPDockingPaneLayout* pLayout);
    ~CXTPDockingPaneSplitterContainer() override;

    void Init(CXTPDockingPaneElement* pElement, BOOL bHoriz, CWnd* pSite);
    // After pNeighbour (at the end when it is null or no child) with bAfter, else before it (at the start).
    void InsertChild(CXTPDockingPaneElement* pElement, CXTPDockingPaneElement* pNeighbour = nullptr,
                     BOOL bAfter = TRUE);
    void ReplaceChild(CXTPDockingPaneElement* pOld, CXTPDockingPaneElement* pNew);
    BOOL IsHoriz() const { return m_bHoriz; }
    const CXTPDockingPaneElementList& GetChildren() const { return m_lstChildren; }
    void FindChildren(int nType, CXTPDockingPaneElementList* pList) const;
    BOOL IsChildBefore(CXTPDockingPaneElement* pChild, CXTPDockingPaneElement* pOther) const;
    const std::vector<CXTPDockingPaneSplitterWnd*>& GetSplitters() const { return m_lstSpliters; }
    void UpdateDockingSizes();
    void RecreateSplitters();
    // The bars, now the caller's; the container is left without any.
    std::vector<CXTPDockingPaneSplitterWnd*> DetachSplitters();

    // The size distribution over the non-empty children of pList in rect: each child's m_nLength is its share,
    // a negative length a fixed size. With bApply the client child's docking size is updated.
    static void AdjustPaneSizes(CXTPDockingPaneManager* pManager, const CXTPDockingPaneElementList& lst,
                                CRect rect, BOOL bHoriz, BOOL bApply, int& nTotalLength, int& nLengthAvail);
    // The rectangles of the children of lst laid out in rect after AdjustPaneSizes, bars of nGap between them.
    static std::vector<CRect> PlaceChildren(const CXTPDockingPaneElementList& lst, CRect rect, BOOL bHoriz,
                                            int nGap, int nTotalLength, int nLengthAvail);
    // Where pElement would land when put before or after pNeighbour in this container (screen).
    CRect CalcDockingRect(CXTPDockingPaneElement* pElement, int nDirection, CXTPDockingPaneElement* pNeighbour);
    // The same for a two-element row or column in rect (screen).
    static CRect CalcDockingRect(CXTPDockingPaneManager* pManager, CXTPDockingPaneElement* pElement,
                                 int nDirection, CXTPDockingPaneElement* pNeighbour, CRect rect);

    // Element
    BOOL ContainsPane(CXTPDockingPaneElement* pElement) const override;
    void FindPane(int nType, CXTPDockingPaneElementList* pList) override;
    void GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const override;
    void OnSizeParent(CWnd* pParent, CRect rect, LPVOID lParam) override;
    void OnChildContainerChanged(CXTPDockingPaneElement* pContainer) override;
    void OnParentContainerChanged(CXTPDockingPaneElement* pContainer) override;
    BOOL DoPropExchange(CXTPPropExchange* pPX) override;
    CXTPDockingPaneElement* Clone(CXTPDockingPaneLayout* pLayout, CXTPPaneToPaneMap* pMap,
                                  DWORD dwIgnoredOptions = 0) override;
    void RemovePane(CXTPDockingPaneElement* pElement) override;
    BOOL IsEmpty() const override;

protected:
    virtual CXTPDockingPaneSplitterWnd* CreateSplitterWnd() { return new CXTPDockingPaneSplitterWnd; }

private:
    void DeleteSplitters();
    CXTPDockingPaneElementList NonEmptyChildren() const;

    CXTPDockingPaneElementList m_lstChildren;
    std::vector<CXTPDockingPaneSplitterWnd*> m_lstSpliters;
    BOOL m_bHoriz = FALSE;
    BOOL m_bRecalcLayout = FALSE;

    friend class CXTPDockingPaneLayout;
};
