#include "ui/docking/DockingPaneSplitterContainer.h"

#include "ui/docking/DockingPaneLayout.h"
#include "ui/docking/DockingPaneManager.h"
#include "ui/docking/XTPDockingPaneThemes.h"
#include "ui/persist/PropExchange.h"

#include <algorithm>

namespace
{
int Extent(const CRect& rc, BOOL bHoriz)
{
    return bHoriz ? rc.Width() : rc.Height();
}

LONG& Along(CSize& sz, BOOL bHoriz)
{
    return bHoriz ? sz.cx : sz.cy;
}

LONG Along(const POINT& pt, BOOL bHoriz)
{
    return bHoriz ? pt.x : pt.y;
}
}

CXTPDockingPaneSplitterContainer::CXTPDockingPaneSplitterContainer(CXTPDockingPaneLayout* pLayout)
    : CXTPDockingPaneElement(xtpPaneTypeSplitterContainer, pLayout)
{
}

CXTPDockingPaneSplitterContainer::~CXTPDockingPaneSplitterContainer()
{
    DeleteSplitters();
}

void CXTPDockingPaneSplitterContainer::Init(CXTPDockingPaneElement* pElement, BOOL bHoriz, CWnd* pSite)
{
    m_pDockingSite = pSite;
    m_bHoriz = bHoriz;
    m_lstChildren.clear();
    m_lstChildren.push_back(pElement);
    pElement->SetParentContainer(this);
    pElement->SetDockingSite(pSite);
    m_szDocking = pElement->m_szDocking;
}

void CXTPDockingPaneSplitterContainer::InsertChild(CXTPDockingPaneElement* pElement, CXTPDockingPaneElement* pNeighbour,
                                                   BOOL bAfter)
{
    auto it = std::find(m_lstChildren.begin(), m_lstChildren.end(), pNeighbour);
    if (bAfter)
        m_lstChildren.insert(it == m_lstChildren.end() ? it : it + 1, pElement);
    else
        m_lstChildren.insert(it == m_lstChildren.end() ? m_lstChildren.begin() : it, pElement);
    pElement->SetParentContainer(this);
    pElement->SetDockingSite(m_pDockingSite);
    DelayRecalcLayout(m_pDockingSite);
    RecreateSplitters();
    if (m_pParentContainer)
        m_pParentContainer->OnChildContainerChanged(this);
    pElement->OnParentContainerChanged(this);
}

void CXTPDockingPaneSplitterContainer::ReplaceChild(CXTPDockingPaneElement* pOld, CXTPDockingPaneElement* pNew)
{
    auto it = std::find(m_lstChildren.begin(), m_lstChildren.end(), pOld);
    if (it == m_lstChildren.end())
        return;
    *it = pNew;
    pNew->SetParentContainer(this);
}

void CXTPDockingPaneSplitterContainer::RemovePane(CXTPDockingPaneElement* pElement)
{
    auto it = std::find(m_lstChildren.begin(), m_lstChildren.end(), pElement);
    if (it == m_lstChildren.end())
        return;
    m_lstChildren.erase(it);
    RecreateSplitters();
    DelayRecalcLayout(m_pDockingSite);
    if (m_pParentContainer)
        m_pParentContainer->OnChildContainerChanged(this);
    pElement->SetParentContainer(nullptr);
    if (m_lstChildren.empty() && m_pParentContainer)
        m_pParentContainer->RemovePane(this);
}

void CXTPDockingPaneSplitterContainer::OnChildContainerChanged(CXTPDockingPaneElement* /*pContainer*/)
{
    if (m_pParentContainer)
        m_pParentContainer->OnChildContainerChanged(this);
    RecreateSplitters();
    DelayRecalcLayout(m_pDockingSite);
}

void CXTPDockingPaneSplitterContainer::OnParentContainerChanged(CXTPDockingPaneElement* pContainer)
{
    if (pContainer)
        m_pDockingSite = pContainer->GetDockingSite();
    RecreateSplitters();
    for (CXTPDockingPaneElement* pChild : m_lstChildren) {
        pChild->SetDockingSite(m_pDockingSite);
        pChild->OnParentContainerChanged(this);
    }
}

BOOL CXTPDockingPaneSplitterContainer::ContainsPane(CXTPDockingPaneElement* pElement) const
{
    if (pElement == this)
        return TRUE;
    for (CXTPDockingPaneElement* pChild : m_lstChildren) {
        if (pChild->ContainsPane(pElement))
            return TRUE;
    }
    return FALSE;
}

void CXTPDockingPaneSplitterContainer::FindPane(int nType, CXTPDockingPaneElementList* pList)
{
    for (CXTPDockingPaneElement* pChild : m_lstChildren) {
        if (pChild->IsEmpty())
            continue;
        if (pChild->GetType() == nType)
            pList->push_back(pChild);
        else
            pChild->FindPane(nType, pList);
    }
}

void CXTPDockingPaneSplitterContainer::FindChildren(int nType, CXTPDockingPaneElementList* pList) const
{
    for (CXTPDockingPaneElement* pChild : m_lstChildren) {
        if (!pChild->IsEmpty() && pChild->GetType() == nType)
            pList->push_back(pChild);
    }
}

BOOL CXTPDockingPaneSplitterContainer::IsEmpty() const
{
    return std::all_of(m_lstChildren.begin(), m_lstChildren.end(),
                       [](CXTPDockingPaneElement* pChild) { return pChild->IsEmpty(); });
}

BOOL CXTPDockingPaneSplitterContainer::IsChildBefore(CXTPDockingPaneElement* pChild, CXTPDockingPaneElement* pOther) const
{
    auto itChild = std::find(m_lstChildren.begin(), m_lstChildren.end(), pChild);
    auto itOther = std::find(m_lstChildren.begin(), m_lstChildren.end(), pOther);
    return itChild < itOther;
}

CXTPDockingPaneElementList CXTPDockingPaneSplitterContainer::NonEmptyChildren() const
{
    CXTPDockingPaneElementList lst;
    for (CXTPDockingPaneElement* pChild : m_lstChildren) {
        if (!pChild->IsEmpty())
            lst.push_back(pChild);
    }
    return lst;
}

void CXTPDockingPaneSplitterContainer::GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const
{
    CXTPDockingPaneElement::GetMinMaxInfo(pMinMaxInfo);
    CXTPDockingPaneElementList lst = NonEmptyChildren();
    for (size_t i = 0; i < lst.size(); i++) {
        MINMAXINFO mmi;
        lst[i]->GetMinMaxInfo(&mmi);
        if (i == 0) {
            *pMinMaxInfo = mmi;
            continue;
        }
        LONG& nMinAlong = m_bHoriz ? pMinMaxInfo->ptMinTrackSize.x : pMinMaxInfo->ptMinTrackSize.y;
        LONG& nMaxAlong = m_bHoriz ? pMinMaxInfo->ptMaxTrackSize.x : pMinMaxInfo->ptMaxTrackSize.y;
        LONG& nMinAcross = m_bHoriz ? pMinMaxInfo->ptMinTrackSize.y : pMinMaxInfo->ptMinTrackSize.x;
        LONG& nMaxAcross = m_bHoriz ? pMinMaxInfo->ptMaxTrackSize.y : pMinMaxInfo->ptMaxTrackSize.x;
        nMinAlong += Along(mmi.ptMinTrackSize, m_bHoriz);
        nMaxAlong += Along(mmi.ptMaxTrackSize, m_bHoriz);
        nMinAcross = std::max(nMinAcross, Along(mmi.ptMinTrackSize, !m_bHoriz));
        nMaxAcross = std::min(nMaxAcross, Along(mmi.ptMaxTrackSize, !m_bHoriz));
    }
    if (lst.size() > 1) {
        int nGaps = static_cast<int>(lst.size() - 1) * GetPaintManager()->GetSplitterWidth();
        (m_bHoriz ? pMinMaxInfo->ptMinTrackSize.x : pMinMaxInfo->ptMinTrackSize.y) += nGaps;
        (m_bHoriz ? pMinMaxInfo->ptMaxTrackSize.x : pMinMaxInfo->ptMaxTrackSize.y) += nGaps;
    }
}

void CXTPDockingPaneSplitterContainer::AdjustPaneSizes(CXTPDockingPaneManager* pManager,
                                                       const CXTPDockingPaneElementList& lst, CRect rect, BOOL bHoriz,
                                                       BOOL bApply, int& nTotalLength, int& nLengthAvail)
{
    int nGap = pManager->GetPaintManager()->GetSplitterWidth();
    CXTPDockingPaneElement* pClient = pManager->GetClientPane();
    CXTPDockingPaneElement* pClientChild = nullptr;

    for (CXTPDockingPaneElement* pChild : lst) {
        MINMAXINFO mmi;
        pChild->GetMinMaxInfo(&mmi);
        int nLength = Along(pChild->m_szDocking, bHoriz);
        if (nLength > Along(mmi.ptMaxTrackSize, bHoriz))
            nLength = Along(mmi.ptMaxTrackSize, bHoriz);
        if (nLength < Along(mmi.ptMinTrackSize, bHoriz))
            nLength = Along(mmi.ptMinTrackSize, bHoriz);
        pChild->m_nLength = nLength;
        if (!pClientChild && pClient && pChild->ContainsPane(pClient) &&
            !(pManager->IsClientHidden() && (pChild->m_szDocking.cx || pChild->m_szDocking.cy)))
            pClientChild = pChild;
    }
    if (pClientChild) {
        pClientChild->m_nLength = 0;
        if (bApply)
            pClientChild->m_szDocking = CSize(0, 0);
    }
    nTotalLength = 0;
    for (CXTPDockingPaneElement* pChild : lst)
        nTotalLength += pChild->m_nLength;

    nLengthAvail = Extent(rect, bHoriz) - (static_cast<int>(lst.size()) - 1) * nGap;
    if (pClientChild && nTotalLength < nLengthAvail) {
        pClientChild->m_nLength = nLengthAvail - nTotalLength;
        if (bApply)
            Along(pClientChild->m_szDocking, bHoriz) = pClientChild->m_nLength;
        nTotalLength = nLengthAvail;
    }
    if (nLengthAvail < 1)
        return;

    // A share outside a child's track sizes fixes the child there (a negative length); the others then share
    // what is left, from the start again.
    BOOL bRestart = TRUE;
    while (bRestart) {
        bRestart = FALSE;
        for (CXTPDockingPaneElement* pChild : lst) {
            if (pChild->m_nLength < 0)
                continue;
            if (nTotalLength == 0)
                break;
            int nShare = static_cast<int>(static_cast<LONGLONG>(nLengthAvail) * pChild->m_nLength / nTotalLength);
            MINMAXINFO mmi;
            pChild->GetMinMaxInfo(&mmi);
            int nFixed;
            if (nShare < Along(mmi.ptMinTrackSize, bHoriz))
                nFixed = -Along(mmi.ptMinTrackSize, bHoriz);
            else if (nShare > Along(mmi.ptMaxTrackSize, bHoriz))
                nFixed = -Along(mmi.ptMaxTrackSize, bHoriz);
            else
                continue;
            nTotalLength -= pChild->m_nLength;
            pChild->m_nLength = nFixed;
            nLengthAvail += nFixed;
            if (nLengthAvail < 0) {
                pChild->m_nLength -= nLengthAvail;
                nLengthAvail = 0;
                return;
            }
            bRestart = TRUE;
            break;
        }
    }
}

std::vector<CRect> CXTPDockingPaneSplitterContainer::PlaceChildren(const CXTPDockingPaneElementList& lst, CRect rect,
                                                                   BOOL bHoriz, int nGap, int nTotalLength,
                                                                   int nLengthAvail)
{
    std::vector<CRect> rects;
    int nPos = bHoriz ? rect.left : rect.top;
    for (size_t i = 0; i < lst.size(); i++) {
        CXTPDockingPaneElement* pChild = lst[i];
        int nShare;
        if (pChild->m_nLength > 0) {
            nShare = nTotalLength == 0 ? 0 : static_cast<int>(static_cast<LONGLONG>(nLengthAvail) * pChild->m_nLength / nTotalLength);
            nTotalLength -= pChild->m_nLength;
            nLengthAvail -= nShare;
            if (nLengthAvail < 1)
                nLengthAvail = 0;
        } else {
            nShare = -pChild->m_nLength;
        }
        int nEnd = i + 1 == lst.size() ? (bHoriz ? rect.right : rect.bottom) : nPos + nShare;
        rects.push_back(bHoriz ? CRect(nPos, rect.top, nEnd, rect.bottom) : CRect(rect.left, nPos, rect.right, nEnd));
        nPos = nEnd + nGap;
    }
    return rects;
}

void CXTPDockingPaneSplitterContainer::OnSizeParent(CWnd* pParent, CRect rect, LPVOID lParam)
{
    m_pDockingSite = pParent;
    m_rcWindow = rect;
    CXTPDockingPaneElementList lst = NonEmptyChildren();
    if (lst.empty())
        return;
    CXTPDockingPaneManager* pManager = GetDockingPaneManager();
    CXTPDockingPaneElement* pClient = pManager->GetClientPane();
    // A hidden client area is laid out empty, so that the frame's view gets no room.
    if (pManager->IsClientHidden() && pClient) {
        for (CXTPDockingPaneElement* pChild : m_lstChildren) {
            if (pChild->ContainsPane(pClient)) {
                pClient->OnSizeParent(pParent, CRect(0, 0, 0, 0), lParam);
                break;
            }
        }
    }
    if (lst.size() == 1) {
        lst[0]->OnSizeParent(pParent, rect, lParam);
        return;
    }
    if (m_bRecalcLayout)
        return;
    m_bRecalcLayout = TRUE;
    int nTotal = 0, nAvail = 0;
    AdjustPaneSizes(pManager, lst, rect, m_bHoriz, TRUE, nTotal, nAvail);
    int nGap = GetPaintManager()->GetSplitterWidth();
    std::vector<CRect> rects = PlaceChildren(lst, rect, m_bHoriz, nGap, nTotal, nAvail);
    for (size_t i = 0; i < lst.size(); i++)
        lst[i]->OnSizeParent(pParent, rects[i], lParam);
    m_bRecalcLayout = FALSE;

    AFX_SIZEPARENTPARAMS* pParams = static_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (!pParams || !pParams->hDWP)
        return;
    for (size_t i = 0; i < m_lstSpliters.size() && i + 1 < rects.size(); i++) {
        CRect rcBar = m_bHoriz ? CRect(rects[i].right, rect.top, rects[i].right + nGap, rect.bottom)
                               : CRect(rect.left, rects[i].bottom, rect.right, rects[i].bottom + nGap);
        rcBar.IntersectRect(rcBar, rect);
        CXTPDockingPaneSplitterWnd* pBar = m_lstSpliters[i];
        if (pBar->GetSafeHwnd()) {
            PlaceWindow(pBar->GetSafeHwnd(), rcBar, pParent, pParams);
            pBar->Invalidate(FALSE);
        }
    }
}

void CXTPDockingPaneSplitterContainer::UpdateDockingSizes()
{
    Along(m_szDocking, m_bHoriz) = Extent(m_rcWindow, m_bHoriz);
    for (CXTPDockingPaneElement* pChild : m_lstChildren) {
        if (!pChild->IsEmpty())
            Along(pChild->m_szDocking, m_bHoriz) = Extent(pChild->GetPaneWindowRect(), m_bHoriz);
    }
}

void CXTPDockingPaneSplitterContainer::DeleteSplitters()
{
    for (CXTPDockingPaneSplitterWnd* pBar : m_lstSpliters)
        delete pBar;
    m_lstSpliters.clear();
}

std::vector<CXTPDockingPaneSplitterWnd*> CXTPDockingPaneSplitterContainer::DetachSplitters()
{
    std::vector<CXTPDockingPaneSplitterWnd*> lstBars;
    lstBars.swap(m_lstSpliters);
    return lstBars;
}

void CXTPDockingPaneSplitterContainer::RecreateSplitters()
{
    if (m_bRecalcLayout)
        return;
    // Bars already made are given their new neighbours: every insert of a copied layout comes here, and making
    // windows anew each time would cost a window per bar per insert.
    CXTPDockingPaneElementList lst;
    if (m_lstChildren.size() >= 2)
        lst = NonEmptyChildren();
    size_t nNeeded = lst.size() > 1 ? lst.size() - 1 : 0;
    while (m_lstSpliters.size() > nNeeded) {
        delete m_lstSpliters.back();
        m_lstSpliters.pop_back();
    }
    for (size_t i = 0; i < nNeeded; i++) {
        if (i == m_lstSpliters.size()) {
            CXTPDockingPaneSplitterWnd* pBar = m_pLayout->TakeSplitterWnd(m_pDockingSite);
            m_lstSpliters.push_back(pBar ? pBar : CreateSplitterWnd());
        }
        m_lstSpliters[i]->Create(this, lst[i], lst[i + 1]);
    }
}

CRect CXTPDockingPaneSplitterContainer::CalcDockingRect(CXTPDockingPaneElement* pElement, int nDirection,
                                                        CXTPDockingPaneElement* pNeighbour)
{
    BOOL bAfter = nDirection == xtpPaneDockRight || nDirection == xtpPaneDockBottom;
    CXTPDockingPaneElementList lst;
    for (CXTPDockingPaneElement* pChild : m_lstChildren) {
        if (pChild->IsEmpty() || pChild == pElement)
            continue;
        if (pChild == pNeighbour && !bAfter)
            lst.push_back(pElement);
        lst.push_back(pChild);
        if (pChild == pNeighbour && bAfter)
            lst.push_back(pElement);
    }
    if (std::find(lst.begin(), lst.end(), pElement) == lst.end())
        lst.insert(bAfter ? lst.end() : lst.begin(), pElement);

    CXTPDockingPaneManager* pManager = GetDockingPaneManager();
    CRect rect = GetScreenRect();
    int nTotal = 0, nAvail = 0;
    AdjustPaneSizes(pManager, lst, rect, m_bHoriz, FALSE, nTotal, nAvail);
    std::vector<CRect> rects = PlaceChildren(lst, rect, m_bHoriz, GetPaintManager()->GetSplitterWidth(), nTotal, nAvail);
    return rects[std::find(lst.begin(), lst.end(), pElement) - lst.begin()];
}

CRect CXTPDockingPaneSplitterContainer::CalcDockingRect(CXTPDockingPaneManager* pManager,
                                                        CXTPDockingPaneElement* pElement, int nDirection,
                                                        CXTPDockingPaneElement* pNeighbour, CRect rect)
{
    BOOL bHoriz = nDirection == xtpPaneDockLeft || nDirection == xtpPaneDockRight;
    BOOL bAfter = nDirection == xtpPaneDockRight || nDirection == xtpPaneDockBottom;
    CXTPDockingPaneElementList lst;
    lst.push_back(bAfter ? pNeighbour : pElement);
    lst.push_back(bAfter ? pElement : pNeighbour);
    int nTotal = 0, nAvail = 0;
    AdjustPaneSizes(pManager, lst, rect, bHoriz, FALSE, nTotal, nAvail);
    std::vector<CRect> rects =
        PlaceChildren(lst, rect, bHoriz, pManager->GetPaintManager()->GetSplitterWidth(), nTotal, nAvail);
    return rects[bAfter ? 1 : 0];
}

BOOL CXTPDockingPaneSplitterContainer::DoPropExchange(CXTPPropExchange* pPX)
{
    CXTPDockingPaneElement::DoPropExchange(pPX);
    ExchangeBool(pPX, L"Horiz", m_bHoriz, FALSE);
    if (pPX->IsStoring()) {
        int nCount = static_cast<int>(m_lstChildren.size());
        ExchangeInt(pPX, L"Panes", nCount, 0);
        for (int i = 0; i < nCount; i++) {
            CString strKey;
            strKey.Format(L"Pane-%d", i + 1);
            int nNumber = m_lstChildren[i]->m_nLayoutId;
            ExchangeInt(pPX, strKey, nNumber, 0);
        }
        return TRUE;
    }
    int nCount = 0;
    ExchangeInt(pPX, L"Panes", nCount, 0);
    if (nCount < 0 || nCount > static_cast<int>(m_pLayout->GetElementList().size()))
        return FALSE;
    for (int i = 0; i < nCount; i++) {
        CString strKey;
        strKey.Format(L"Pane-%d", i + 1);
        int nNumber = 0;
        ExchangeInt(pPX, strKey, nNumber, 0);
        CXTPDockingPaneElement* pChild = CXTPDockingPaneLayout::ResolveElement(pPX, nNumber);
        // A child has one parent, is no floating frame or panel, and does not hold this container.
        if (!pChild || pChild->GetContainer() || pChild->ContainsPane(this) ||
            pChild->GetType() == xtpPaneTypeMiniWnd || pChild->GetType() == xtpPaneTypeAutoHidePanel ||
            pChild->GetType() == xtpPaneTypeDockingPane)
            return FALSE;
        InsertChild(pChild, nullptr, TRUE);
    }
    return TRUE;
}

CXTPDockingPaneElement* CXTPDockingPaneSplitterContainer::Clone(CXTPDockingPaneLayout* pLayout, CXTPPaneToPaneMap* pMap,
                                                                DWORD dwIgnoredOptions)
{
    CXTPDockingPaneSplitterContainer* pClone = static_cast<CXTPDockingPaneSplitterContainer*>(
        GetDockingPaneManager()->CreateElement(xtpPaneTypeSplitterContainer, pLayout));
    pClone->m_bHoriz = m_bHoriz;
    pClone->m_pDockingSite = GetDockingPaneManager()->GetSite();
    pClone->m_szDocking = m_szDocking;
    pClone->m_rcWindow = m_rcWindow;
    CXTPDockingPaneElementList lstChildren = m_lstChildren;
    for (CXTPDockingPaneElement* pChild : lstChildren) {
        if (!pMap && pChild->IsEmpty())
            continue;
        pClone->InsertChild(pChild->Clone(pLayout, pMap, dwIgnoredOptions), nullptr, TRUE);
    }
    if (pMap)
        (*pMap)[this] = pClone;
    return pClone;
}
