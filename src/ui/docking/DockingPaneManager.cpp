#include "ui/docking/DockingPaneManager.h"

#include "ui/docking/DockingPane.h"
#include "ui/docking/DockingPaneAutoHidePanel.h"
#include "ui/docking/XTPDockingPaneAnimation.h"
#include "ui/docking/DockingPaneContext.h"
#include "ui/docking/DockingPaneMiniWnd.h"
#include "ui/docking/XTPDockingPaneThemes.h"
#include "ui/docking/DockingPaneSplitterContainer.h"
#include "ui/docking/DockingPaneTabbedContainer.h"
#include "ui/persist/ImageManager.h"
#include "ui/persist/PropExchange.h"
#include "ui/themes/ColorTable.h"

#include <ole2.h>

#include <algorithm>

namespace
{
double s_dAnimationDelay = -1.0;

// A shown window draws nothing for the length of a scope and is drawn once at its end, however the scope ends.
class CRedrawOff
{
public:
    explicit CRedrawOff(CWnd* pWnd) : m_pWnd(pWnd && pWnd->GetSafeHwnd() && pWnd->IsWindowVisible() ? pWnd : nullptr)
    {
        if (m_pWnd)
            m_pWnd->SetRedraw(FALSE);
    }
    ~CRedrawOff()
    {
        if (!m_pWnd || !m_pWnd->GetSafeHwnd())
            return;
        m_pWnd->SetRedraw(TRUE);
        m_pWnd->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    }
    CRedrawOff(const CRedrawOff&) = delete;
    CRedrawOff& operator=(const CRedrawOff&) = delete;

private:
    CWnd* m_pWnd;
};
}

BEGIN_MESSAGE_MAP(CXTPDockingPaneManager, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, &CXTPDockingPaneManager::OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CXTPDockingPaneManager::OnIdleUpdateCmdUI)
    ON_WM_SYSCOLORCHANGE()
    ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

CXTPDockingPaneManager::CXTPDockingPaneManager()
    : m_pPaintManager(CXTPDockingPanePaintManager::CreateTheme(0)), m_pImageManager(new CXTPImageManager),
      m_pDockingContext(new CXTPDockingPaneContext(this))
{
    ::OleInitialize(nullptr);
}

CXTPDockingPaneManager::~CXTPDockingPaneManager()
{
    if (m_pActivePane)
        m_pActivePane->InternalRelease();
    m_pActivePane = nullptr;
    if (m_pLayout)
        m_pLayout->InternalRelease();
    m_pLayout = nullptr;
    if (::IsWindow(m_hWnd))
        DestroyWindow();
    m_pPaintManager->InternalRelease();
    delete m_pDockingContext;
    m_pImageManager->InternalRelease();
    ::OleUninitialize();
}

BOOL CXTPDockingPaneManager::InstallDockingPanes(CWnd* pSite)
{
    if (m_pSite)
        return FALSE;
    m_pSite = pSite;
    if (!CreateEx(0, L"STATIC", L"", WS_CHILD, CRect(0, 0, 0, 0), pSite, 0))
        return FALSE;
    m_pLayout = CreateLayout();
    m_pLayout->SetUserLayout(FALSE);
    return TRUE;
}

CXTPDockingPaneLayout* CXTPDockingPaneManager::CreateLayout()
{
    return new CXTPDockingPaneLayout(this);
}

CXTPDockingPaneElement* CXTPDockingPaneManager::CreateElement(int nType, CXTPDockingPaneLayout* pLayout)
{
    switch (nType) {
    case xtpPaneTypeDockingPane:
        return new CXTPDockingPane(pLayout);
    case xtpPaneTypeTabbedContainer:
        return new CXTPDockingPaneTabbedContainer(pLayout);
    case xtpPaneTypeSplitterContainer:
        return new CXTPDockingPaneSplitterContainer(pLayout);
    case xtpPaneTypeMiniWnd:
        return new CXTPDockingPaneMiniWnd(pLayout);
    case xtpPaneTypeClient:
        return new CXTPDockingPaneElement(xtpPaneTypeClient, pLayout);
    case xtpPaneTypeAutoHidePanel:
        return new CXTPDockingPaneAutoHidePanel(pLayout);
    default:
        // Negative types too: a damaged layout names them.
        return nullptr;
    }
}

void CXTPDockingPaneManager::SetActivePane(BOOL bActive, CXTPDockingPane* pPane)
{
    if (bActive) {
        if (pPane == m_pActivePane)
            return;
        CXTPDockingPane* pOld = m_pActivePane;
        m_pActivePane = pPane;
        if (pOld) {
            NotifyAction(xtpPaneActionDeactivated, pOld);
            pOld->InternalRelease();
        }
        if (pPane) {
            pPane->InternalAddRef();
            NotifyAction(xtpPaneActionActivated, pPane);
        }
    } else if (pPane && pPane == m_pActivePane) {
        m_pActivePane = nullptr;
        NotifyAction(xtpPaneActionDeactivated, pPane);
        pPane->InternalRelease();
    }
}

LRESULT CXTPDockingPaneManager::NotifyFrame(WPARAM nCode, LPARAM lParam) const
{
    if (!m_pSite || !m_pSite->GetSafeHwnd())
        return 0;
    return m_pSite->SendMessage(WM_DOCKINGPANE_NOTIFY, nCode, lParam);
}

BOOL CXTPDockingPaneManager::NotifyAction(int nAction, CXTPDockingPane* pPane, CXTPDockingPaneElement* pContainer,
                                          INT_PTR nExtra) const
{
    XTP_DOCKINGPANE_ACTION action = {nAction, 0, pPane, pContainer, nExtra};
    NotifyFrame(XTP_DPN_ACTION, reinterpret_cast<LPARAM>(&action));
    return action.bCancel != 0;
}

CXTPDockingPane* CXTPDockingPaneManager::CreatePane(UINT nID, CRect rc, int nDirection, CXTPDockingPaneElement* pNeighbour)
{
    CXTPDockingPane* pPane = static_cast<CXTPDockingPane*>(CreateElement(xtpPaneTypeDockingPane, m_pLayout));
    pPane->SetID(nID);
    pPane->SetDockingRect(rc);
    XTP_DOCKINGPANE_INFO info;
    info.pPane = pPane;
    m_pLayout->GetPaneList().push_back(info);
    DockElement(pPane, nDirection, pNeighbour);
    UpdatePaneHolders();
    return pPane;
}

void CXTPDockingPaneManager::DockElement(CXTPDockingPaneElement* pElement, int nDirection, CXTPDockingPaneElement* pNeighbour)
{
    CXTPDockingPaneSplitterContainer* pTop = m_pLayout->GetTopContainer();
    if (CXTPDockingPane* pPaneNeighbour = dynamic_cast<CXTPDockingPane*>(pNeighbour)) {
        if (pPaneNeighbour->IsHidden() || pPaneNeighbour->IsClosed())
            pNeighbour = nullptr;
        else
            pNeighbour = pPaneNeighbour->GetContainer();
    }
    if (!pNeighbour)
        pNeighbour = pTop;
    BOOL bHoriz = nDirection == xtpPaneDockLeft || nDirection == xtpPaneDockRight;
    BOOL bAfter = nDirection == xtpPaneDockRight || nDirection == xtpPaneDockBottom;

    if (CXTPDockingPane* pPane = dynamic_cast<CXTPDockingPane*>(pElement)) {
        CXTPDockingPaneTabbedContainer* pContainer =
            static_cast<CXTPDockingPaneTabbedContainer*>(CreateElement(xtpPaneTypeTabbedContainer, m_pLayout));
        pContainer->Init(pPane, pNeighbour->GetDockingSite());
        pElement = pContainer;
    }

    if (pNeighbour == pTop) {
        if (pTop->IsHoriz() == bHoriz) {
            pTop->InsertChild(pElement, nullptr, bAfter);
        } else {
            CXTPDockingPaneSplitterContainer* pSplitter =
                static_cast<CXTPDockingPaneSplitterContainer*>(CreateElement(xtpPaneTypeSplitterContainer, m_pLayout));
            pSplitter->Init(pTop, bHoriz, m_pSite);
            pSplitter->InsertChild(pElement, nullptr, bAfter);
            m_pLayout->SetTopContainer(pSplitter);
        }
    } else {
        CXTPDockingPaneSplitterContainer* pParent = dynamic_cast<CXTPDockingPaneSplitterContainer*>(pNeighbour->GetContainer());
        if (pParent && pParent->IsHoriz() == bHoriz) {
            pParent->InsertChild(pElement, pNeighbour, bAfter);
        } else if (pParent) {
            CXTPDockingPaneSplitterContainer* pSplitter =
                static_cast<CXTPDockingPaneSplitterContainer*>(CreateElement(xtpPaneTypeSplitterContainer, m_pLayout));
            pParent->ReplaceChild(pNeighbour, pSplitter);
            pSplitter->Init(pNeighbour, bHoriz, pParent->GetDockingSite());
            pSplitter->InsertChild(pElement, pNeighbour, bAfter);
        }
    }
    CXTPDockingPaneElement::DelayRecalcLayout(pElement->GetDockingSite());
}

CXTPDockingPaneElement* CXTPDockingPaneManager::PrepareToMove(CXTPDockingPaneElement* pElement)
{
    if (CXTPDockingPaneSplitterContainer* pSplitter = dynamic_cast<CXTPDockingPaneSplitterContainer*>(pElement)) {
        CXTPDockingPaneElementList lst;
        pSplitter->FindPane(xtpPaneTypeTabbedContainer, &lst);
        if (lst.size() == 1)
            pElement = lst.front();
    }
    if (CXTPDockingPane* pPane = dynamic_cast<CXTPDockingPane*>(pElement)) {
        if (pPane->GetContainer())
            pPane->GetContainer()->RemovePane(pPane);
        return pPane;
    }
    return pElement->Clone(m_pLayout, nullptr);
}

void CXTPDockingPaneManager::MoveElement(CXTPDockingPaneElement* pElement, int nDirection, CXTPDockingPaneElement* pNeighbour)
{
    DockElement(PrepareToMove(pElement), nDirection, pNeighbour);
    UpdatePaneHolders();
    m_pLayout->Purge();
}

CXTPDockingPaneElement* CXTPDockingPaneManager::ElementToAttach(CXTPDockingPaneElement* pElement) const
{
    if (CXTPDockingPane* pPane = dynamic_cast<CXTPDockingPane*>(pElement))
        return pPane->GetContainer();
    return pElement;
}

void CXTPDockingPaneManager::AttachPane(CXTPDockingPaneElement* pElement, CXTPDockingPaneElement* pNeighbour)
{
    CXTPDockingPaneTabbedContainer* pTarget = dynamic_cast<CXTPDockingPaneTabbedContainer*>(ElementToAttach(pNeighbour));
    if (!pTarget)
        return;
    CXTPDockingPaneElementList lst;
    if (pElement->GetType() == xtpPaneTypeDockingPane)
        lst.push_back(pElement);
    else
        pElement->FindPane(xtpPaneTypeDockingPane, &lst);
    for (CXTPDockingPaneElement* p : lst) {
        CXTPDockingPane* pPane = static_cast<CXTPDockingPane*>(p);
        if (pPane->GetContainer() == pTarget)
            continue;
        if (pPane->GetContainer())
            pPane->GetContainer()->RemovePane(pPane);
        pTarget->AddPane(pPane);
    }
    UpdatePaneHolders();
    m_pLayout->Purge();
}

BOOL CXTPDockingPaneManager::DockPane(CXTPDockingPane* pPane, CXTPDockingPaneTabbedContainer* pHolder)
{
    BOOL bDocked = !dynamic_cast<CXTPDockingPaneMiniWnd*>(pPane->GetSite()) && !pPane->IsHidden();
    if (bDocked && (pPane->GetOptions() & xtpPaneNoFloatable))
        return FALSE;
    if (NotifyAction(bDocked ? xtpPaneActionFloating : xtpPaneActionDocking, pPane, pHolder))
        return FALSE;
    if (!pHolder) {
        FloatPane(pPane, pPane->GetTabbedContainer() ? pPane->GetTabbedContainer()->GetScreenRect() : CRect(100, 100, 300, 300));
    } else {
        m_bAttachingPane = TRUE;
        AttachPane(pPane, pHolder);
        m_bAttachingPane = FALSE;
    }
    NotifyAction(bDocked ? xtpPaneActionFloated : xtpPaneActionDocked, pPane, pHolder);
    return TRUE;
}

void CXTPDockingPaneManager::FloatPane(CXTPDockingPaneElement* pElement, CRect rc)
{
    CXTPDockingPaneElement* pContent = PrepareToMove(pElement);
    CXTPDockingPaneMiniWnd* pFrame = static_cast<CXTPDockingPaneMiniWnd*>(CreateElement(xtpPaneTypeMiniWnd, m_pLayout));
    pFrame->Init(pContent, rc);
    UpdatePaneHolders();
    m_pLayout->Purge();
}

void CXTPDockingPaneManager::CalcDockingRect(CRect& rc, CXTPDockingPaneElement* pElement, int nDirection,
                                             CXTPDockingPaneElement* pNeighbour)
{
    CXTPDockingPaneSplitterContainer* pTop = m_pLayout->GetTopContainer();
    if (CXTPDockingPane* pPane = dynamic_cast<CXTPDockingPane*>(pNeighbour))
        pNeighbour = pPane->GetContainer();
    if (!pNeighbour)
        pNeighbour = pTop;
    BOOL bHoriz = nDirection == xtpPaneDockLeft || nDirection == xtpPaneDockRight;
    CXTPDockingPaneSplitterContainer* pParent = dynamic_cast<CXTPDockingPaneSplitterContainer*>(pNeighbour->GetContainer());
    if (pNeighbour != pTop && pParent && pParent->IsHoriz() == bHoriz)
        rc = pParent->CalcDockingRect(pElement, nDirection, pNeighbour);
    else
        rc = CXTPDockingPaneSplitterContainer::CalcDockingRect(this, pElement, nDirection, pNeighbour, pNeighbour->GetScreenRect());
}

void CXTPDockingPaneManager::ShowPane(CXTPDockingPane* pPane)
{
    if (!pPane)
        return;
    CXTPDockingPaneTabbedContainer* pContainer = pPane->GetTabbedContainer();
    if (!pContainer) {
        XTP_DOCKINGPANE_INFO* pInfo = m_pLayout->FindPaneInfo(pPane);
        pContainer = pInfo ? pInfo->pLastHolder : nullptr;
        if (!pContainer)
            return;
        pContainer->AddPane(pPane);
    } else {
        pContainer->SelectPane(pPane, TRUE, TRUE);
    }
    pContainer->ShowInContainer();
    UpdatePaneHolders();
    if (m_bLayoutCreated) {
        pPane->ShowWindow(TRUE);
        pPane->SetFocus();
    }
}

void CXTPDockingPaneManager::ClosePane(CXTPDockingPane* pPane)
{
    if (!pPane || pPane->IsClosed())
        return;
    if (NotifyFrame(XTP_DPN_CLOSEPANE, reinterpret_cast<LPARAM>(pPane)) == XTP_ACTION_NOCLOSE)
        return;
    if (pPane->GetContainer())
        pPane->GetContainer()->RemovePane(pPane);
}

void CXTPDockingPaneManager::DestroyPane(CXTPDockingPane* pPane)
{
    if (!pPane)
        return;
    SetActivePane(FALSE, pPane);
    m_pLayout->DestroyPane(pPane);
    if (CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(m_pSite))
        pFrame->RecalcLayout();
}

void CXTPDockingPaneManager::HidePane(CXTPDockingPaneElement* pElement)
{
    if (m_bHideGroupOnButtonClick) {
        if (CXTPDockingPane* pPane = dynamic_cast<CXTPDockingPane*>(pElement)) {
            if (pPane->GetContainer())
                pElement = pPane->GetContainer();
        }
    }
    if (CXTPDockingPaneAutoHidePanel* pPanel = dynamic_cast<CXTPDockingPaneAutoHidePanel*>(pElement->GetContainer())) {
        pPanel->CloseActiveWindow();
        return;
    }
    m_pLayout->HideElement(pElement);
    m_pLayout->Purge();
    CXTPDockingPaneElement::DelayRecalcLayout(m_pSite);
}

void CXTPDockingPaneManager::ToggleAutoHide(CXTPDockingPaneElement* pElement)
{
    if (pElement->IsHidden())
        ToggleDocking(pElement);
    else
        HidePane(pElement);
}

void CXTPDockingPaneManager::ToggleDockingPane(CXTPDockingPane* pPane, BOOL bFloating,
                                               CXTPDockingPaneTabbedContainer*& pPrevHolder, BOOL& bPrevHadHolder)
{
    CXTPDockingPaneTabbedContainer* pHolder = GetHolder(pPane, bFloating);
    // A pane without a holder of that kind follows the pane before it, when that one had a holder of its own.
    BOOL bOwnHolder = pHolder != nullptr;
    if (!pHolder && bPrevHadHolder)
        pHolder = pPrevHolder;
    if (pHolder && !bFloating && pHolder->CXTPDockingPaneElement::GetLayout() != m_pLayout)
        pHolder = nullptr;
    DockPane(pPane, pHolder);
    pPrevHolder = pPane->GetTabbedContainer();
    bPrevHadHolder = bOwnHolder;
}

void CXTPDockingPaneManager::ToggleDocking(CXTPDockingPaneElement* pElement)
{
    BOOL bFloating = !dynamic_cast<CXTPDockingPaneMiniWnd*>(pElement->GetDockingSite()) && !pElement->IsHidden();
    if (CXTPDockingPane* pPane = dynamic_cast<CXTPDockingPane*>(pElement))
        bFloating = !dynamic_cast<CXTPDockingPaneMiniWnd*>(pPane->GetSite()) && !pPane->IsHidden();

    CXTPDockingPaneElementList lst;
    if (pElement->GetType() == xtpPaneTypeDockingPane)
        lst.push_back(pElement);
    else
        pElement->FindPane(xtpPaneTypeDockingPane, &lst);
    CXTPDockingPaneTabbedContainer* pContainer = dynamic_cast<CXTPDockingPaneTabbedContainer*>(
        pElement->GetType() == xtpPaneTypeDockingPane ? pElement->GetContainer() : pElement);
    UINT nSelected = pContainer && pContainer->GetSelected() ? pContainer->GetSelected()->GetID() : 0;
    UINT nFocused = 0;
    for (CXTPDockingPaneElement* p : lst) {
        if (static_cast<CXTPDockingPane*>(p)->IsFocus())
            nFocused = static_cast<CXTPDockingPane*>(p)->GetID();
    }

    CXTPDockingPaneTabbedContainer* pPrevHolder = nullptr;
    BOOL bPrevHadHolder = FALSE;
    for (CXTPDockingPaneElement* p : lst) {
        CXTPDockingPane* pPane = static_cast<CXTPDockingPane*>(p);
        CXTPDockingPaneElement* pBefore = pPane->GetContainer();
        ToggleDockingPane(pPane, bFloating, pPrevHolder, bPrevHadHolder);
        if (pPane->GetContainer() == pBefore) {
            if (nSelected == pPane->GetID())
                nSelected = 0;
            if (nFocused == pPane->GetID())
                nFocused = 0;
        }
    }
    UINT nShow = nFocused ? nFocused : nSelected;
    if (nShow)
        ShowPane(FindPane(nShow));
}

void CXTPDockingPaneManager::CloseAll()
{
    CXTPDockingPaneInfoList lst = m_pLayout->GetPaneList();
    for (const XTP_DOCKINGPANE_INFO& info : lst)
        ClosePane(info.pPane);
}

void CXTPDockingPaneManager::DetachAll()
{
    for (const XTP_DOCKINGPANE_INFO& info : m_pLayout->GetPaneList())
        info.pPane->Detach();
    RecalcFramesLayout();
}

void CXTPDockingPaneManager::UpdatePaneHolders()
{
    if (!m_pLayout)
        return;
    for (XTP_DOCKINGPANE_INFO& info : m_pLayout->GetPaneList()) {
        CXTPDockingPaneTabbedContainer* pContainer = info.pPane->GetTabbedContainer();
        if (!pContainer || !pContainer->GetDockingSite() || pContainer->IsHidden())
            continue;
        if (dynamic_cast<CXTPDockingPaneMiniWnd*>(info.pPane->GetSite()))
            info.pFloatingHolder = pContainer;
        else
            info.pDockingHolder = pContainer;
        info.pLastHolder = pContainer;
    }
}

CXTPDockingPaneTabbedContainer* CXTPDockingPaneManager::GetHolder(const CXTPDockingPane* pPane, BOOL bFloating) const
{
    XTP_DOCKINGPANE_INFO* pInfo = m_pLayout ? m_pLayout->FindPaneInfo(pPane) : nullptr;
    if (!pInfo)
        return nullptr;
    return bFloating ? pInfo->pFloatingHolder : pInfo->pDockingHolder;
}

CXTPDockingPane* CXTPDockingPaneManager::FindPane(UINT nID) const
{
    if (!m_pLayout)
        return nullptr;
    for (const XTP_DOCKINGPANE_INFO& info : m_pLayout->GetPaneList()) {
        if (info.pPane->GetID() == nID)
            return info.pPane;
    }
    return nullptr;
}

BOOL CXTPDockingPaneManager::SetIcons(UINT nIDBitmap, const int* pIDs, int nCount, COLORREF clrMask)
{
    HIMAGELIST hImageList = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, nCount, 1);
    if (!hImageList)
        return FALSE;
    HBITMAP hBitmap = static_cast<HBITMAP>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDBitmap), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (hBitmap) {
        ImageList_AddMasked(hImageList, hBitmap, clrMask);
        ::DeleteObject(hBitmap);
    }
    BOOL bResult = ImageList_GetImageCount(hImageList) == nCount;
    if (bResult) {
        for (int i = 0; i < nCount; i++) {
            HICON hIcon = ImageList_GetIcon(hImageList, i, ILD_NORMAL);
            if (pIDs[i] > 0)
                SetIcon(static_cast<UINT>(pIDs[i]), hIcon);
            ::DestroyIcon(hIcon);
        }
    }
    ImageList_Destroy(hImageList);
    return bResult;
}

void CXTPDockingPaneManager::SetIcon(UINT nID, HICON hIcon)
{
    m_pImageManager->SetIcon(CXTPImageManagerIconHandle(hIcon), nID);
}

CXTPImageManagerIcon* CXTPDockingPaneManager::GetIcon(UINT nID, int nWidth) const
{
    return m_pImageManager->GetImage(nID, nWidth);
}

void CXTPDockingPaneManager::ClearIconMap()
{
    m_pImageManager->RemoveAll();
}

void CXTPDockingPaneManager::SetImageManager(CXTPImageManager* pImageManager)
{
    if (!pImageManager || pImageManager == m_pImageManager)
        return;
    m_pImageManager->InternalRelease();
    m_pImageManager = pImageManager;
}

void CXTPDockingPaneManager::SetTheme(int nTheme)
{
    m_pPaintManager->InternalRelease();
    m_pPaintManager = CXTPDockingPanePaintManager::CreateTheme(nTheme);
    m_nCurrentTheme = nTheme;
    if (nTheme == 9)
        m_nStickerStyle = 1;
    RecalcFramesLayout();
}

void CXTPDockingPaneManager::SetCustomTheme(CXTPDockingPanePaintManager* pTheme)
{
    if (!pTheme)
        return;
    m_pPaintManager->InternalRelease();
    m_pPaintManager = pTheme;
    m_nCurrentTheme = 10;
    m_pPaintManager->RefreshMetrics();
    RecalcFramesLayout();
}

int CXTPDockingPaneManager::GetCurrentTheme() const
{
    return m_nCurrentTheme;
}

void CXTPDockingPaneManager::GetLayout(CXTPDockingPaneLayout* pLayout) const
{
    pLayout->Copy(m_pLayout);
}

void CXTPDockingPaneManager::SetLayout(const CXTPDockingPaneLayout* pLayout)
{
    if (!pLayout || !pLayout->IsValid() || !m_pLayout)
        return;
    SetActivePane(FALSE, m_pActivePane);
    {
        // The frame draws nothing while its windows change hands, and is drawn once after.
        CRedrawOff redrawOff(m_pSite);
        for (const XTP_DOCKINGPANE_INFO& info : m_pLayout->GetPaneList())
            info.pPane->Detach();
        m_pLayout->Copy(pLayout);
        UpdatePaneHolders();
    }
    RecalcFramesLayout();
}

void CXTPDockingPaneManager::ResetLayout()
{
    // The application's windows outlive the containers that showed them.
    SetActivePane(FALSE, m_pActivePane);
    if (m_pLayout) {
        for (const XTP_DOCKINGPANE_INFO& info : m_pLayout->GetPaneList())
            info.pPane->Detach();
        m_pLayout->InternalRelease();
    }
    m_pLayout = CreateLayout();
    m_pLayout->SetUserLayout(FALSE);
}

BOOL CXTPDockingPaneManager::DoPropExchange(CXTPPropExchange* pPX)
{
    CXTPDockingPaneLayout* pLayout = CreateLayout();
    BOOL bResult = TRUE;
    if (pPX->IsLoading()) {
        bResult = pLayout->DoPropExchange(pPX);
        if (bResult)
            SetLayout(pLayout);
    } else {
        GetLayout(pLayout);
        pLayout->DoPropExchange(pPX);
    }
    pLayout->InternalRelease();
    return bResult;
}

int CXTPDockingPaneManager::GetPaneDirection(const CXTPDockingPaneElement* pElement) const
{
    return m_pLayout ? m_pLayout->GetPaneDirection(pElement) : xtpPaneDockLeft;
}

void CXTPDockingPaneManager::UpdateDockingSizes()
{
    if (!m_pLayout)
        return;
    for (CXTPDockingPaneElement* pElement : m_pLayout->GetElementList()) {
        if (CXTPDockingPaneSplitterContainer* pSplitter = dynamic_cast<CXTPDockingPaneSplitterContainer*>(pElement))
            pSplitter->UpdateDockingSizes();
    }
}

BOOL CXTPDockingPaneManager::IsPaneClosed(const CXTPDockingPane* pPane)
{
    return !pPane || pPane->IsClosed();
}

BOOL CXTPDockingPaneManager::IsPaneHidden(const CXTPDockingPane* pPane)
{
    return pPane && pPane->IsHidden();
}

BOOL CXTPDockingPaneManager::IsPaneSelected(const CXTPDockingPane* pPane)
{
    return pPane && pPane->IsSelected();
}

void CXTPDockingPaneManager::RecalcFramesLayout()
{
    if (!m_hWnd || !m_pLayout)
        return;
    CXTPDockingPaneElement::DelayRecalcLayout(m_pSite);
    for (const XTP_DOCKINGPANE_INFO& info : m_pLayout->GetPaneList()) {
        CXTPDockingPaneElement* pContainer = info.pPane->GetContainer();
        if (!pContainer)
            continue;
        CXTPDockingPaneElement::DelayRecalcLayout(pContainer->GetDockingSite());
    }
    // A floating frame's border and caption come from the theme and the option: they are applied again.
    for (CXTPDockingPaneElement* pElement : m_pLayout->GetElementList()) {
        if (CXTPDockingPaneMiniWnd* pFrame = dynamic_cast<CXTPDockingPaneMiniWnd*>(pElement))
            pFrame->SetStyleAndPos();
    }
}

void CXTPDockingPaneManager::RedrawPanes()
{
    for (CXTPDockingPaneElement* pElement : m_pLayout->GetElementList()) {
        CXTPDockingPaneMiniWnd* pFrame = dynamic_cast<CXTPDockingPaneMiniWnd*>(pElement);
        if (pFrame && pFrame->GetSafeHwnd() && pFrame->IsWindowVisible()) {
            CRect rc;
            pFrame->GetWindowRect(rc);
            pFrame->SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                                 SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(m_pSite))
        pFrame->RecalcLayout(TRUE);
}

BOOL CXTPDockingPaneManager::IsLayoutRTL() const
{
    return m_pSite && m_pSite->GetSafeHwnd() && (m_pSite->GetExStyle() & WS_EX_LAYOUTRTL);
}

int CXTPDockingPaneManager::MirrorDirection(int nDirection) const
{
    if (!IsLayoutRTL())
        return nDirection;
    if (nDirection == xtpPaneDockLeft)
        return xtpPaneDockRight;
    if (nDirection == xtpPaneDockRight)
        return xtpPaneDockLeft;
    return nDirection;
}

void CXTPDockingPaneManager::HideClient(BOOL bHide)
{
    if (CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(m_pSite))
        pFrame->RecalcLayout();
    m_bHideClient = bHide;
    if (GetTopContainer())
        GetTopContainer()->OnParentContainerChanged(nullptr);
    RecalcFramesLayout();
}

void CXTPDockingPaneManager::SetLockSplitters(BOOL bLock)
{
    m_bLockSplitters = bLock;
    if (!m_pLayout)
        return;
    for (const XTP_DOCKINGPANE_INFO& info : m_pLayout->GetPaneList()) {
        CXTPDockingPaneElement* pContainer = info.pPane->GetContainer();
        if (pContainer && pContainer->GetContainer())
            pContainer->GetContainer()->OnChildContainerChanged(pContainer);
    }
}

void CXTPDockingPaneManager::SetFloatingFrameOption(BOOL bOption)
{
    m_bThemedFloatingFrames = bOption;
    RecalcFramesLayout();
}

void CXTPDockingPaneManager::SetAnimationDelay(double dDelay, int nDuration, int nInterval)
{
    s_dAnimationDelay = dDelay;
    CXTPDockingPaneAnimationTiming::Set(nDuration, nInterval);
}

double CXTPDockingPaneManager::GetAnimationDelay(int* pDuration, int* pInterval)
{
    if (pDuration)
        *pDuration = CXTPDockingPaneAnimationTiming::GetDuration();
    if (pInterval)
        *pInterval = CXTPDockingPaneAnimationTiming::GetInterval();
    return s_dAnimationDelay;
}

LRESULT CXTPDockingPaneManager::OnSizeParent(WPARAM, LPARAM lParam)
{
    if (!m_pLayout || !m_pLayout->GetTopContainer())
        return 0;
    AFX_SIZEPARENTPARAMS* pParams = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    m_pLayout->OnSizeParent(m_pSite, pParams->rect, pParams);
    UpdatePaneHolders();
    m_bLayoutCreated = TRUE;
    return 0;
}

LRESULT CXTPDockingPaneManager::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    if (!m_pLayout)
        return 0;
    CXTPDockingPaneInfoList lst = m_pLayout->GetPaneList();
    for (const XTP_DOCKINGPANE_INFO& info : lst) {
        if (info.pPane->GetContainer())
            info.pPane->GetContainer()->OnIdleUpdate();
    }
    return 0;
}

void CXTPDockingPaneManager::OnSysColorChange()
{
    GetColorTable()->RefreshColors();
    m_pPaintManager->RefreshMetrics();
    RecalcFramesLayout();
}

void CXTPDockingPaneManager::OnSettingChange(UINT, LPCTSTR)
{
    m_pPaintManager->RefreshMetrics();
    RecalcFramesLayout();
}
