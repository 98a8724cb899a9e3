#include "ui/docking/DockingPaneBase.h"

#include "ui/docking/DockingPaneLayout.h"
#include "ui/docking/DockingPaneManager.h"
#include "ui/persist/PropExchange.h"
#include "ui/persist/ResourceLoader.h"

#include <algorithm>

CXTPDockingPaneElement::CXTPDockingPaneElement(int nType, CXTPDockingPaneLayout* pLayout)
    : m_pLayout(pLayout), m_nType(nType)
{
    m_pDockingSite = pLayout->GetManager()->GetSite();
    pLayout->m_lstElements.push_back(this);
}

CXTPDockingPaneElement::~CXTPDockingPaneElement()
{
    for (INT_PTR i = 0; i < static_cast<INT_PTR>(m_arrCaptionButtons.size()); i++)
        delete m_arrCaptionButtons[i];
}

void CXTPDockingPaneElement::SafeDelete()
{
    if (!m_nMessageDepth) {
        delete this;
        return;
    }
    // No further message may reach a handler of an element its layout has let go.
    m_bDeletePending = TRUE;
    if (HWND hWnd = GetPaneHwnd())
        ::DestroyWindow(hWnd);
}

CXTPDockingPaneElement::CMessageScope::~CMessageScope()
{
    if (--m_pElement->m_nMessageDepth == 0 && m_pElement->m_bDeletePending)
        delete m_pElement;
}

CXTPDockingPaneManager* CXTPDockingPaneElement::GetDockingPaneManager() const
{
    return m_pLayout->GetManager();
}

CXTPDockingPanePaintManager* CXTPDockingPaneElement::GetPaintManager() const
{
    return GetDockingPaneManager()->GetPaintManager();
}

void CXTPDockingPaneElement::InvalidatePane()
{
    HWND hWnd = GetPaneHwnd();
    if (hWnd)
        ::InvalidateRect(hWnd, nullptr, FALSE);
}

BOOL CXTPDockingPaneElement::ContainsPane(CXTPDockingPaneElement* pElement) const
{
    return pElement == this;
}

void CXTPDockingPaneElement::FindPane(int nType, CXTPDockingPaneElementList* pList)
{
    if (m_nType == nType)
        pList->push_back(this);
}

void CXTPDockingPaneElement::GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const
{
    ZeroMemory(pMinMaxInfo, sizeof(MINMAXINFO));
    pMinMaxInfo->ptMaxTrackSize = CPoint(XTP_DOCKINGPANE_MAXSIZE, XTP_DOCKINGPANE_MAXSIZE);
}

void CXTPDockingPaneElement::OnSizeParent(CWnd* /*pParent*/, CRect rect, LPVOID lParam)
{
    m_rcWindow = rect;
    if (lParam)
        static_cast<AFX_SIZEPARENTPARAMS*>(lParam)->rect = rect;
}

void CXTPDockingPaneElement::OnChildChanged(BOOL bRelayout)
{
    if (m_pParentContainer)
        m_pParentContainer->OnChildChanged(bRelayout);
}

BOOL ExchangeDockingSize(CXTPPropExchange* pPX, LPCTSTR pszPropName, LONG& nValue, long nDefault)
{
    long nExchanged = nValue;
    if (!ExchangeLong(pPX, pszPropName, nExchanged, nDefault))
        return FALSE;
    if (pPX->IsLoading())
        nValue = std::clamp(nExchanged, 0L, XTP_DOCKINGPANE_MAXSIZE);
    return TRUE;
}

BOOL CXTPDockingPaneElement::DoPropExchange(CXTPPropExchange* pPX)
{
    ExchangeDockingSize(pPX, L"DockingCX", m_szDocking.cx, 0);
    ExchangeDockingSize(pPX, L"DockingCY", m_szDocking.cy, 0);
    return TRUE;
}

CXTPDockingPaneElement* CXTPDockingPaneElement::Clone(CXTPDockingPaneLayout* pLayout, CXTPPaneToPaneMap* pMap,
                                                      DWORD /*dwIgnoredOptions*/)
{
    CXTPDockingPaneElement* pClone = GetDockingPaneManager()->CreateElement(m_nType, pLayout);
    pClone->m_szDocking = m_szDocking;
    if (pMap)
        (*pMap)[this] = pClone;
    return pClone;
}

BOOL CXTPDockingPaneElement::IsEmpty() const
{
    return m_nType == xtpPaneTypeClient && GetDockingPaneManager()->IsClientHidden();
}

CRect CXTPDockingPaneElement::GetScreenRect() const
{
    CRect rc = m_rcWindow;
    if (m_pDockingSite && m_pDockingSite->GetSafeHwnd())
        m_pDockingSite->ClientToScreen(&rc);
    return rc;
}

CPaneCaptionButton* CXTPDockingPaneElement::FindCaptionButton(UINT nID) const
{
    for (INT_PTR i = 0; i < static_cast<INT_PTR>(m_arrCaptionButtons.size()); i++) {
        if (m_arrCaptionButtons[i]->GetID() == nID)
            return m_arrCaptionButtons[i];
    }
    return nullptr;
}

BOOL CXTPDockingPaneElement::CheckCaptionButtonsHover(CPoint point)
{
    BOOL bChanged = FALSE;
    for (INT_PTR i = 0; i < static_cast<INT_PTR>(m_arrCaptionButtons.size()); i++)
        bChanged |= m_arrCaptionButtons[i]->CheckHover(point);
    return bChanged;
}

void CXTPDockingPaneElement::DelayRecalcLayout(CWnd* pSite)
{
    if (CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(pSite))
        pFrame->DelayRecalcLayout();
}

INT_PTR CXTPDockingPaneElement::CaptionButtonToolHit(const CPaneCaptionButton* pButton, HWND hWnd, const CRect& rc,
                                                     TOOLINFO* pTI)
{
    if (pTI && pTI->cbSize >= TTTOOLINFOW_V1_SIZE) {
        CString strTip;
        XTPGetResourceLoader()->LoadString(&strTip, pButton->GetID());
        pTI->hwnd = hWnd;
        pTI->uId = pButton->GetID();
        pTI->rect = rc;
        pTI->lpszText = _wcsdup(strTip);
    }
    return pButton->GetID();
}

void CXTPDockingPaneElement::PlaceWindow(HWND hWnd, const CRect& rc, CWnd* pParent, LPVOID lParam)
{
    AFX_SIZEPARENTPARAMS* pParams = static_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (pParams && pParams->hDWP && pParent && ::GetParent(hWnd) == pParent->GetSafeHwnd()) {
        HDWP hDWP = ::DeferWindowPos(pParams->hDWP, hWnd, HWND_BOTTOM, rc.left, rc.top, rc.Width(), rc.Height(),
                                     SWP_NOACTIVATE);
        if (hDWP) {
            pParams->hDWP = hDWP;
            return;
        }
    }
    ::SetWindowPos(hWnd, HWND_BOTTOM, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOACTIVATE);
}
