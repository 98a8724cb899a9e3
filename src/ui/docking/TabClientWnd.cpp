#include "ui/docking/TabClientWnd.h"

#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPControls.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/persist/ImageManager.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/themes/BarPainter.h"
#include "ui/themes/DrawHelpers.h"
#include "ui/themes/InputSource.h"
#include "ui/themes/TabPainter.h"
#include "ui/themes/TipContext.h"
#include "ui/uires.h"

#include "platform/mfc/afxmdi.h"

#include <algorithm>

namespace
{
// The styles a document window loses in a tab group.
const DWORD kChildFrameStyles = WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

BOOL IsDocumentWindow(HWND hWnd)
{
    return (::GetWindowLongPtrW(hWnd, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
}

CPoint PointOf(LPARAM lParam)
{
    return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}


BOOL IsWorkspaceCommand(UINT nID)
{
    return nID >= XTP_ID_WORKSPACE_MOVEPREVIOUS && nID <= XTP_ID_WORKSPACE_NEWVERTICAL;
}
}

// The window-list button: a small triangle pointing down; its click lists the group's tabs.
class CXTPTabClientWnd::CWindowListButton : public CXTPTabManagerNavigateButton
{
public:
    explicit CWindowListButton(CWorkspace* pWorkspace)
        : CXTPTabManagerNavigateButton(pWorkspace, idWindowList, modeHide), m_pWorkspace(pWorkspace)
    {
    }

    void Reposition(CRect& rcHeader) override
    {
        m_rc.SetRectEmpty();
        if (m_nMode != modeHide)
            PlaceAtEnd(rcHeader);
    }
    void DrawEntry(CDC* pDC, CRect rc) override
    {
        int cx = (rc.left + rc.right) / 2, cy = (rc.top + rc.bottom) / 2;
        POINT pts[3] = {{cx - 3, cy - 2}, {cx + 3, cy - 2}, {cx, cy + 1}};
        pDC->Polygon(pts, 3);
    }
    void OnExecute(BOOL bTick) override
    {
        if (!bTick)
            m_pWorkspace->GetClient()->ShowWindowList(m_pWorkspace);
    }

private:
    CWorkspace* m_pWorkspace;
};

// The strip of the simple mode: a window of its own above the MDI area.
class CXTPTabClientWnd::CWorkspaceWnd : public CWnd, public CWorkspace
{
public:
    explicit CWorkspaceWnd(CXTPTabClientWnd* pClient) : CWorkspace(pClient) {}
    ~CWorkspaceWnd() override
    {
        if (::IsWindow(m_hWnd))
            DestroyWindow();
    }

    using CXTPTabManager::GetClientRect;
    HWND GetHostWindow() const override { return m_hWnd; }
    void RedrawControl() override
    {
        if (::IsWindow(m_hWnd) && !GetClient()->IsUpdating())
            InvalidateRect(nullptr, FALSE);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_ERASEBKGND:
            return TRUE;
        case WM_PAINT: {
            CPaintDC dc(this);
            CRect rc;
            CWnd::GetClientRect(&rc);
            COffscreenDC buffer(&dc, rc);
            GetPaintManager()->DrawTabControl(this, &buffer, rc);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            PerformClick(m_hWnd, PointOf(lParam));
            return 0;
        case WM_MOUSEMOVE:
            PerformMouseMove(m_hWnd, PointOf(lParam));
            break;
        case WM_MOUSELEAVE:
            PerformMouseMove(m_hWnd, CPoint(-1, -1));
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// Groups

CXTPTabClientWnd::CWorkspace::CWorkspace(CXTPTabClientWnd* pClient)
    : m_pClient(pClient), m_pWindowListButton(new CWindowListButton(this))
{
    // The window-list button stands before the close button.
    m_arrNavigateButtons.insert(m_arrNavigateButtons.end() - 1, m_pWindowListButton);
}

CXTPTabClientWnd::CWorkspace::~CWorkspace() = default;

void CXTPTabClientWnd::CWorkspace::Reposition()
{
    m_pClient->Reposition();
}

void CXTPTabClientWnd::CWorkspace::RedrawControl()
{
    if (::IsWindow(m_pClient->m_hWnd) && !m_pClient->m_bUpdating)
        m_pClient->InvalidateRect(nullptr, FALSE);
}

BOOL CXTPTabClientWnd::CWorkspace::IsDrawStaticFrame() const
{
    return !m_pClient->m_bWorkspaceMode && CXTPTabManager::IsDrawStaticFrame();
}

HICON CXTPTabClientWnd::CWorkspace::GetItemIcon(const CXTPTabManagerItem* pItem)
{
    HWND hWnd = pItem->GetHandle();
    if (!::IsWindow(hWnd))
        return nullptr;
    if (HICON hIcon = reinterpret_cast<HICON>(::SendMessageW(hWnd, WM_XTP_GETTABICON, 0, 0)))
        return hIcon;
    if (HICON hIcon = reinterpret_cast<HICON>(::SendMessageW(hWnd, WM_GETICON, ICON_SMALL, 0)))
        return hIcon;
    if (HICON hIcon = reinterpret_cast<HICON>(::SendMessageW(hWnd, WM_GETICON, ICON_BIG, 0)))
        return hIcon;
    if (HICON hIcon = reinterpret_cast<HICON>(::GetClassLongPtrW(hWnd, GCLP_HICONSM)))
        return hIcon;
    if (HICON hIcon = reinterpret_cast<HICON>(::GetClassLongPtrW(hWnd, GCLP_HICON)))
        return hIcon;
    return ::LoadIconW(nullptr, IDI_WINLOGO);
}

BOOL CXTPTabClientWnd::CWorkspace::DrawIcon(CDC* pDC, CPoint pt, CXTPTabManagerItem* pItem, BOOL bDraw, CSize szIcon)
{
    if (!GetPaintManager()->m_bShowIcons)
        return FALSE;
    if (!pItem)
        return TRUE;
    HICON hIcon = GetItemIcon(pItem);
    if (!hIcon)
        return FALSE;
    if (bDraw)
        ::DrawIconEx(pDC->GetSafeHdc(), pt.x, pt.y, hIcon, szIcon.cx, szIcon.cy, 0, nullptr, DI_NORMAL);
    return TRUE;
}

COLORREF CXTPTabClientWnd::CWorkspace::GetItemColor(const CXTPTabManagerItem* pItem)
{
    if (::IsWindow(pItem->GetHandle())) {
        COLORREF clr = static_cast<COLORREF>(::SendMessageW(pItem->GetHandle(), WM_XTP_GETTABCOLOR, 0, 0));
        if (clr != 0)
            const_cast<CXTPTabManagerItem*>(pItem)->SetOwnColor(clr);
    }
    return CXTPTabManager::GetItemColor(pItem);
}

CString CXTPTabClientWnd::CWorkspace::GetItemTooltip(const CXTPTabManagerItem* pItem)
{
    CString strTip = CXTPTabManager::GetItemTooltip(pItem);
    return strTip.IsEmpty() ? GetChildCaption(pItem->GetHandle()) : strTip;
}

void CXTPTabClientWnd::CWorkspace::OnItemClick(CXTPTabManagerItem* pItem)
{
    CXTPTabManager::OnItemClick(pItem);
    m_pClient->ActivateChild(pItem->GetHandle());
}

void CXTPTabClientWnd::CWorkspace::OnNavigateButtonClick(int nID)
{
    if (nID != CXTPTabManagerNavigateButton::idClose || !m_pSelected)
        return;
    m_pClient->PostMessage(WM_IDLEUPDATECMDUI);
    ::SendMessageW(m_pSelected->GetHandle(), WM_CLOSE, 0, 0);
}

BOOL CXTPTabClientWnd::CWorkspace::IsMouseLocked() const
{
    return CMouseManager::GetThreadManager()->IsTracking();
}

void CXTPTabClientWnd::CWorkspace::ReOrderItem(HWND hWnd, CPoint pt, CXTPTabManagerItem* pItem)
{
    if (m_pClient->GetWorkspaceCount() == 1 && GetItemCount() == 1) {
        OnItemClick(pItem);
        return;
    }
    if (!m_pClient->m_bWorkspaceMode) {
        CXTPTabManager::ReOrderItem(hWnd, pt, pItem);
        return;
    }
    m_pClient->OnGroupDrag(this, pItem);
}

// The client

IMPLEMENT_DYNAMIC(CXTPTabClientWnd, CWnd)

BEGIN_MESSAGE_MAP(CXTPTabClientWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_SIZE()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONDBLCLK()
    ON_WM_MBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_SYSCOLORCHANGE()
    ON_MESSAGE(WM_MDIACTIVATE, &CXTPTabClientWnd::OnMDIActivate)
    ON_MESSAGE(WM_MDICREATE, &CXTPTabClientWnd::OnMDICreate)
    ON_MESSAGE(WM_MDIDESTROY, &CXTPTabClientWnd::OnMDIDestroy)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CXTPTabClientWnd::OnIdleUpdateCmdUI)
    ON_COMMAND_RANGE(XTP_ID_WORKSPACE_MOVEPREVIOUS, XTP_ID_WORKSPACE_NEWVERTICAL,
                     &CXTPTabClientWnd::OnWorkspaceCommandRange)
    ON_UPDATE_COMMAND_UI_RANGE(XTP_ID_WORKSPACE_MOVEPREVIOUS, XTP_ID_WORKSPACE_NEWVERTICAL,
                               &CXTPTabClientWnd::OnUpdateWorkspaceCommand)
END_MESSAGE_MAP()

CXTPTabClientWnd::CXTPTabClientWnd()
    : m_pPaintManager(new CXTPTabPainter),
      m_hCursorHoriz(XTPGetResourceLoader()->LoadCursor(XTP_IDC_HSPLITBAR)),
      m_hCursorVert(XTPGetResourceLoader()->LoadCursor(XTP_IDC_VSPLITBAR)),
      m_hCursorNewHoriz(XTPGetResourceLoader()->LoadCursor(XTP_IDC_WORKSPACE_NEWHORIZ)),
      m_hCursorNewVert(XTPGetResourceLoader()->LoadCursor(XTP_IDC_WORKSPACE_NEWVERT)),
      m_pToolTipContext(std::make_unique<CTipContext>(this))
{
    m_pPaintManager->SetOption(TRUE);
    const UINT commands[] = {XTP_ID_WORKSPACE_NEWHORIZONTAL, XTP_ID_WORKSPACE_NEWVERTICAL};
    XTPImageManager()->AddIcons(XTP_IDB_WORKSPACE_ICONS, commands, 2, CSize(16, 16));
}

CXTPTabClientWnd::~CXTPTabClientWnd()
{
    Detach();
    m_pPaintManager->InternalRelease();
}

BOOL CXTPTabClientWnd::Attach(CWnd* pFrame, BOOL bEnableGroups)
{
    auto* pMDIFrame = pFrame && pFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)) ? static_cast<CMDIFrameWnd*>(pFrame)
                                                                              : nullptr;
    if (!pMDIFrame || !::IsWindow(pMDIFrame->m_hWndMDIClient) || m_hWnd)
        return FALSE;
    if (!SubclassWindow(pMDIFrame->m_hWndMDIClient))
        return FALSE;
    m_pFrame = pMDIFrame;
    m_bWorkspaceMode = bEnableGroups;
    CWindowHookManager::GetInstance()->SetHook(m_pFrame->m_hWnd, this);
    EnableToolTips();
    m_dropTarget.Register(this);
    if (m_bWorkspaceMode) {
        ModifyStyle(WS_HSCROLL | WS_VSCROLL, 0, SWP_FRAMECHANGED);
        // Documents already open lose their frames as new ones do.
        for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
            if (IsDocumentWindow(hChild)) {
                ::SetWindowLongPtrW(hChild, GWL_STYLE, ::GetWindowLongPtrW(hChild, GWL_STYLE) & ~kChildFrameStyles);
                ::SetWindowLongPtrW(hChild, GWL_EXSTYLE,
                                    ::GetWindowLongPtrW(hChild, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
            }
        }
    }
    UpdateWorkspaces();
    return TRUE;
}

void CXTPTabClientWnd::Detach()
{
    CWindowHookManager::GetInstance()->RemoveHookFromAll(this);
    m_dropTarget.Revoke();
    m_pToolTipContext->ReleaseTipWindow();
    DeleteWorkspaces();
    if (m_hWnd) {
        HWND hWnd = m_hWnd;
        UnsubclassWindow();
        // The MDI client's own frame comes back in place of the workspace's.
        if (m_bWorkspaceMode)
            ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        if (m_pFrame && ::IsWindow(m_pFrame->m_hWnd))
            m_pFrame->RecalcLayout();
        ::InvalidateRect(hWnd, nullptr, TRUE);
    }
    m_pFrame = nullptr;
}

void CXTPTabClientWnd::DeleteWorkspaces()
{
    std::vector<CWorkspace*> groups;
    groups.swap(m_arrWorkspace);
    m_pActiveWorkspace = nullptr;
    for (CWorkspace* pWorkspace : groups) {
        m_pPaintManager->RemoveOwner(pWorkspace);
        delete pWorkspace;
    }
}

CXTPTabClientWnd::CWorkspace* CXTPTabClientWnd::GetWorkspace(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetWorkspaceCount() ? m_arrWorkspace[static_cast<size_t>(nIndex)] : nullptr;
}

int CXTPTabClientWnd::FindWorkspace(const CWorkspace* pWorkspace) const
{
    auto it = std::find(m_arrWorkspace.begin(), m_arrWorkspace.end(), pWorkspace);
    return it == m_arrWorkspace.end() ? -1 : static_cast<int>(it - m_arrWorkspace.begin());
}

CXTPTabClientWnd::CWorkspace* CXTPTabClientWnd::AddWorkspace(int nIndex)
{
    CWorkspace* pWorkspace = nullptr;
    if (m_bWorkspaceMode) {
        pWorkspace = new CWorkspace(this);
    } else {
        auto* pWnd = new CWorkspaceWnd(this);
        pWnd->CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW)), L"",
                       WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                       m_pFrame ? m_pFrame->m_hWnd : nullptr, nullptr);
        pWorkspace = pWnd;
    }
    if (nIndex < 0 || nIndex > GetWorkspaceCount())
        nIndex = GetWorkspaceCount();
    m_arrWorkspace.insert(m_arrWorkspace.begin() + nIndex, pWorkspace);
    m_pPaintManager->AddOwner(pWorkspace);
    pWorkspace->SetActive(FALSE);
    pWorkspace->SetItemMetrics(CSize(70, 18), CSize(0, 0), CSize(220, 0));
    ApplyFlags(pWorkspace);
    m_bPendingLayout = TRUE;
    return pWorkspace;
}

void CXTPTabClientWnd::RemoveWorkspace(CWorkspace* pWorkspace)
{
    int nIndex = FindWorkspace(pWorkspace);
    if (nIndex < 0)
        return;
    m_arrWorkspace.erase(m_arrWorkspace.begin() + nIndex);
    if (m_pActiveWorkspace == pWorkspace)
        m_pActiveWorkspace = nullptr;
    m_pPaintManager->RemoveOwner(pWorkspace);
    delete pWorkspace;
    m_bPendingLayout = TRUE;
}

void CXTPTabClientWnd::SetActiveWorkspace(CWorkspace* pWorkspace)
{
    if (m_pActiveWorkspace == pWorkspace)
        return;
    if (m_pActiveWorkspace)
        m_pActiveWorkspace->SetActive(FALSE);
    m_pActiveWorkspace = pWorkspace;
    if (pWorkspace)
        pWorkspace->SetActive(TRUE);
}

void CXTPTabClientWnd::SetFlags(DWORD dwFlags)
{
    m_dwFlags = dwFlags;
    for (CWorkspace* pWorkspace : m_arrWorkspace)
        ApplyFlags(pWorkspace);
    Reposition();
}

void CXTPTabClientWnd::ApplyFlags(CWorkspace* pWorkspace) const
{
    typedef CXTPTabManagerNavigateButton CButton;
    int nArrows = (m_dwFlags & flagArrowsAuto) && (m_dwFlags & flagHideArrows) ? CButton::modeHide
                  : (m_dwFlags & flagArrowsAuto)                                ? CButton::modeAuto
                                                                                : CButton::modeShow;
    pWorkspace->FindNavigateButton(CButton::idBack)->SetMode(nArrows);
    pWorkspace->FindNavigateButton(CButton::idForward)->SetMode(nArrows);
    pWorkspace->FindNavigateButton(CButton::idClose)->SetMode((m_dwFlags & flagHideClose) ? CButton::modeHide
                                                                                          : CButton::modeAuto);
    pWorkspace->GetWindowListButton()->SetMode((m_dwFlags & flagShowWindowList) ? CButton::modeShow
                                                                                : CButton::modeHide);
}

CXTPTabManagerItem* CXTPTabClientWnd::FindItem(HWND hWnd) const
{
    for (CWorkspace* pWorkspace : m_arrWorkspace) {
        for (int i = 0; i < pWorkspace->GetItemCount(); i++) {
            if (pWorkspace->GetItem(i)->GetHandle() == hWnd)
                return pWorkspace->GetItem(i);
        }
    }
    return nullptr;
}

CXTPTabManagerItem* CXTPTabClientWnd::AddItem(HWND hWnd)
{
    if (!::IsWindow(hWnd) || !IsDocumentWindow(hWnd))
        return nullptr;
    CWorkspace* pWorkspace = m_pActiveWorkspace ? m_pActiveWorkspace : GetWorkspace(0);
    if (!pWorkspace)
        pWorkspace = AddWorkspace();
    int nIndex = -1;
    if (m_nNewTabPosition == newTabFirst)
        nIndex = 0;
    else if (m_nNewTabPosition == newTabAfterSelected && pWorkspace->GetSelectedItem())
        nIndex = pWorkspace->GetSelectedItem()->GetIndex() + 1;
    CXTPTabManagerItem* pItem = pWorkspace->InsertItem(nIndex);
    pItem->SetHandle(hWnd);
    pItem->SetCaption(GetChildCaption(hWnd));
    return pItem;
}

CString CXTPTabClientWnd::GetChildCaption(HWND hWnd)
{
    if (!::IsWindow(hWnd))
        return CString();
    WCHAR szText[256] = {};
    ::SendMessageW(hWnd, WM_XTP_GETWINDOWTEXT, std::size(szText), reinterpret_cast<LPARAM>(szText));
    if (szText[0])
        return szText;
    ::GetWindowTextW(hWnd, szText, static_cast<int>(std::size(szText)));
    return szText;
}

void CXTPTabClientWnd::ActivateChild(HWND hWnd)
{
    if (!::IsWindow(hWnd))
        return;
    SendMessage(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hWnd));
    HWND hFocus = ::GetFocus();
    if (hFocus != hWnd && !::IsChild(hWnd, hFocus))
        ::SetFocus(hWnd);
}

// Synchronisation

void CXTPTabClientWnd::SyncTabs()
{
    if (m_bLocked || m_bPressed || m_bInSync || !::IsWindow(m_hWnd) || !m_pFrame)
        return;
    m_bInSync = TRUE;
    m_bUpdating = TRUE;
    std::vector<CXTPTabManagerItem*> found;
    HWND hWndActive = m_pFrame->MDIGetActive();
    CXTPTabManagerItem* pActiveItem = nullptr;
    CXTPTabManagerItem* pNewItem = nullptr;
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (!IsDocumentWindow(hChild))
            continue;
        CXTPTabManagerItem* pItem = FindItem(hChild);
        if (!::IsWindowVisible(hChild)) {
            if (pItem)
                pItem->Remove();
            continue;
        }
        if (pItem) {
            pItem->SetCaption(GetChildCaption(hChild));
        } else {
            pItem = AddItem(hChild);
            m_pFrame->SendMessage(WM_XTP_NEWTABITEM, reinterpret_cast<WPARAM>(pItem));
            pItem->GetTabManager()->SetSelectedItem(pItem);
            pNewItem = pItem;
        }
        found.push_back(pItem);
        if (hChild == hWndActive)
            pActiveItem = pItem;
    }
    for (int i = GetWorkspaceCount() - 1; i >= 0; i--) {
        CWorkspace* pWorkspace = m_arrWorkspace[static_cast<size_t>(i)];
        for (int j = pWorkspace->GetItemCount() - 1; j >= 0; j--) {
            if (std::find(found.begin(), found.end(), pWorkspace->GetItem(j)) == found.end())
                pWorkspace->DeleteItem(j);
        }
        if (pWorkspace->GetItemCount() > 0)
            continue;
        // The emptied group's share goes to its neighbour: the group before, or after the first one. The only
        // group has no neighbour to take it.
        CWorkspace* pNeighbour = GetWorkspace(i > 0 ? i - 1 : i + 1);
        if (pNeighbour)
            pNeighbour->SetWeight(pNeighbour->GetWeight() + pWorkspace->GetWeight() + m_nSplitterWidth);
        RemoveWorkspace(pWorkspace);
    }
    if (pActiveItem) {
        auto* pWorkspace = static_cast<CWorkspace*>(pActiveItem->GetTabManager());
        pWorkspace->SetSelectedItem(pActiveItem);
        SetActiveWorkspace(pWorkspace);
    }
    m_bUpdating = FALSE;
    if (m_bPendingLayout) {
        m_bPendingLayout = FALSE;
        RecalcFrameLayout();
    } else {
        Reposition();
    }
    if (pNewItem)
        m_pPaintManager->EnsureVisible(pNewItem->GetTabManager(), pNewItem);
    m_bInSync = FALSE;
}

void CXTPTabClientWnd::UpdateWorkspaces(BOOL bRecalcLayout)
{
    if (m_bInUpdate)
        return;
    m_bInUpdate = TRUE;
    RefreshTheme();
    SyncTabs();
    if (::IsWindow(m_hWnd)) {
        CPoint pt;
        CXTPInputSource::GetCursorPos(&pt);
        for (CWorkspace* pWorkspace : m_arrWorkspace) {
            CPoint ptClient = pt;
            ::ScreenToClient(pWorkspace->GetHostWindow(), &ptClient);
            pWorkspace->PerformMouseMove(pWorkspace->GetHostWindow(), ptClient);
        }
        // The strip of the simple mode keeps its place; groups are laid out with the frame.
        if (bRecalcLayout && m_bWorkspaceMode)
            RecalcFrameLayout();
    }
    m_bInUpdate = FALSE;
}

void CXTPTabClientWnd::RefreshTheme()
{
    CXTPBarPainter* pBarPainter = CXTPBarPainter::GetInstalled();
    if (!m_bFollowTheme || !pBarPainter || pBarPainter->GetThemeId() == m_nCachedThemeId)
        return;
    m_nCachedThemeId = pBarPainter->GetThemeId();
    CXTPTabPainter* pPainter = m_pPaintManager;
    pPainter->m_bHotTracking = FALSE;
    pPainter->m_nClientFrame = CXTPTabPainter::frameNone;
    switch (m_nCachedThemeId) {
    case CXTPBarPainter::themeShadowed:
        pPainter->SetStyle(5);
        pPainter->m_nClientFrame = CXTPTabPainter::frameBorder;
        break;
    case CXTPBarPainter::themeGradient:
        pPainter->SetStyle(3);
        pPainter->m_bHotTracking = TRUE;
        break;
    case CXTPBarPainter::themeVisualStyles:
        pPainter->SetStyle(0);
        pPainter->SetColors(8);
        pPainter->m_bHotTracking = TRUE;
        break;
    case CXTPBarPainter::themeGradientVariant:
        pPainter->SetStyle(3);
        pPainter->SetColors(16);
        pPainter->m_nClientFrame = CXTPTabPainter::frameBorder;
        break;
    default:
        pPainter->SetStyle(0);
        break;
    }
    pPainter->RefreshMetrics();
    Reposition();
}

void CXTPTabClientWnd::SetPaintManager(CXTPTabPainter* pPaintManager)
{
    for (CWorkspace* pWorkspace : m_arrWorkspace)
        m_pPaintManager->RemoveOwner(pWorkspace);
    m_pPaintManager->InternalRelease();
    m_pPaintManager = pPaintManager;
    for (CWorkspace* pWorkspace : m_arrWorkspace)
        m_pPaintManager->AddOwner(pWorkspace);
    m_pPaintManager->RefreshMetrics();
    m_bFollowTheme = FALSE;
    UpdateWorkspaces();
}

// Layout

void CXTPTabClientWnd::Reposition()
{
    if (m_bUpdating) {
        m_bPendingLayout = TRUE;
        return;
    }
    if (!::IsWindow(m_hWnd))
        return;
    if (m_bWorkspaceMode) {
        FitFrame();
        RepositionWorkspaces();
        // The frame too: the painter's colours may have changed.
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    } else if (m_pFrame) {
        m_pFrame->RecalcLayout();
    }
}

void CXTPTabClientWnd::RecalcFrameLayout()
{
    if (!::IsWindow(m_hWnd) || !m_pFrame)
        return;
    // The frame skips a window whose place does not change: emptied, the client gets its place again and lays
    // out the groups or the strip.
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
    m_pFrame->RecalcLayout();
}

void CXTPTabClientWnd::RepositionWorkspaces()
{
    int nCount = GetWorkspaceCount();
    if (nCount == 0)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    int nLength = m_bHorizSplitting ? rcClient.Height() : rcClient.Width();
    int nAvailable = std::max(0, nLength - (nCount - 1) * m_nSplitterWidth);
    double dTotal = 0;
    for (CWorkspace* pWorkspace : m_arrWorkspace)
        dTotal += pWorkspace->GetWeight();
    if (dTotal == 0)
        dTotal = 1.0;

    CClientDC dc(this);
    int nWindows = 0;
    for (CWorkspace* pWorkspace : m_arrWorkspace)
        nWindows += pWorkspace->GetItemCount();
    HDWP hDWP = ::BeginDeferWindowPos(nWindows);
    double dCumulated = 0;
    int nStart = 0;
    for (int i = 0; i < nCount; i++) {
        CWorkspace* pWorkspace = m_arrWorkspace[static_cast<size_t>(i)];
        dCumulated += pWorkspace->GetWeight();
        int nEnd = static_cast<int>(nAvailable * dCumulated / dTotal) + i * m_nSplitterWidth;
        CRect rcGroup = rcClient, rcSplitter;
        if (m_bHorizSplitting) {
            rcGroup.top = rcClient.top + nStart, rcGroup.bottom = rcClient.top + nEnd;
            if (i < nCount - 1)
                rcSplitter.SetRect(rcClient.left, rcGroup.bottom, rcClient.right, rcGroup.bottom + m_nSplitterWidth);
        } else {
            rcGroup.left = rcClient.left + nStart, rcGroup.right = rcClient.left + nEnd;
            if (i < nCount - 1)
                rcSplitter.SetRect(rcGroup.right, rcClient.top, rcGroup.right + m_nSplitterWidth, rcClient.bottom);
        }
        pWorkspace->m_rcSplitter = rcSplitter;
        nStart = nEnd + m_nSplitterWidth;
        m_pPaintManager->RepositionTabControl(pWorkspace, &dc, rcGroup);
        CRect rcPage = rcGroup;
        m_pPaintManager->AdjustClientRect(pWorkspace, rcPage);
        for (int j = 0; j < pWorkspace->GetItemCount(); j++) {
            HWND hChild = pWorkspace->GetItem(j)->GetHandle();
            if (::IsWindow(hChild) && hDWP)
                hDWP = ::DeferWindowPos(hDWP, hChild, nullptr, rcPage.left, rcPage.top, rcPage.Width(),
                                        rcPage.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (hDWP)
        ::EndDeferWindowPos(hDWP);
    // Within a group the selected document lies above the others.
    for (CWorkspace* pWorkspace : m_arrWorkspace) {
        CXTPTabManagerItem* pSelected = pWorkspace->GetSelectedItem();
        if (pSelected && ::IsWindow(pSelected->GetHandle()))
            ::SetWindowPos(pSelected->GetHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

CRect CXTPTabClientWnd::InsideFrame(CRect rcWindow) const
{
    m_pPaintManager->GetStyleObject()->FillClientPart(nullptr, GetWorkspace(0), rcWindow,
                                                      CXTPTabStyle::clientPartInside);
    rcWindow.right = std::max(rcWindow.left, rcWindow.right);
    rcWindow.bottom = std::max(rcWindow.top, rcWindow.bottom);
    return rcWindow;
}

void CXTPTabClientWnd::FitFrame()
{
    CRect rcWindow, rcClient;
    GetWindowRect(&rcWindow);
    GetClientRect(&rcClient);
    ClientToScreen(&rcClient);
    if (!rcWindow.IsRectEmpty() && rcClient != InsideFrame(rcWindow))
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

CRect CXTPTabClientWnd::GetWorkspaceRect(int nIndex) const
{
    CWorkspace* pWorkspace = GetWorkspace(nIndex);
    return pWorkspace ? pWorkspace->GetControlRect() : CRect();
}

void CXTPTabClientWnd::NormalizeWeights()
{
    for (CWorkspace* pWorkspace : m_arrWorkspace) {
        CRect rc = pWorkspace->GetControlRect();
        pWorkspace->SetWeight(m_bHorizSplitting ? rc.Height() : rc.Width());
    }
}

CXTPTabClientWnd::CWorkspace* CXTPTabClientWnd::WorkspaceFromPoint(CPoint pt) const
{
    for (CWorkspace* pWorkspace : m_arrWorkspace) {
        if (pWorkspace->GetControlRect().PtInRect(pt))
            return pWorkspace;
    }
    return nullptr;
}

int CXTPTabClientWnd::SplitterFromPoint(CPoint pt) const
{
    for (int i = 0; i < GetWorkspaceCount() - 1; i++) {
        if (m_arrWorkspace[static_cast<size_t>(i)]->GetSplitterRect().PtInRect(pt))
            return i;
    }
    return -1;
}

// Commands

BOOL CXTPTabClientWnd::IsWorkspaceCommandEnabled(UINT nID)
{
    if (!m_bWorkspaceMode || !m_pFrame || !IsWorkspaceCommand(nID))
        return FALSE;
    CXTPTabManagerItem* pItem = FindItem(m_pFrame->MDIGetActive());
    if (!pItem)
        return FALSE;
    int nIndex = FindWorkspace(static_cast<CWorkspace*>(pItem->GetTabManager()));
    int nCount = GetWorkspaceCount();
    BOOL bCanSplit = pItem->GetTabManager()->GetItemCount() >= 2;
    switch (nID) {
    case XTP_ID_WORKSPACE_MOVEPREVIOUS:
        return nIndex > 0;
    case XTP_ID_WORKSPACE_MOVENEXT:
        return nIndex < nCount - 1;
    case XTP_ID_WORKSPACE_NEWHORIZONTAL:
        return bCanSplit && (nCount == 1 || m_bHorizSplitting);
    default:
        return bCanSplit && (nCount == 1 || !m_bHorizSplitting);
    }
}

void CXTPTabClientWnd::OnWorkspaceCommand(UINT nID)
{
    if (!IsWorkspaceCommandEnabled(nID))
        return;
    CXTPTabManagerItem* pItem = FindItem(m_pFrame->MDIGetActive());
    int nIndex = FindWorkspace(static_cast<CWorkspace*>(pItem->GetTabManager()));
    switch (nID) {
    case XTP_ID_WORKSPACE_MOVEPREVIOUS:
        MoveToWorkspace(pItem, GetWorkspace(nIndex - 1));
        break;
    case XTP_ID_WORKSPACE_MOVENEXT:
        MoveToWorkspace(pItem, GetWorkspace(nIndex + 1));
        break;
    default:
        MoveToWorkspace(pItem, nullptr, nID == XTP_ID_WORKSPACE_NEWHORIZONTAL);
        break;
    }
}

void CXTPTabClientWnd::OnWorkspaceCommandRange(UINT nID)
{
    OnWorkspaceCommand(nID);
}

void CXTPTabClientWnd::OnUpdateWorkspaceCommand(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsWorkspaceCommandEnabled(pCmdUI->m_nID));
}

void CXTPTabClientWnd::MoveToWorkspace(CXTPTabManagerItem* pItem, CWorkspace* pTarget, BOOL bHoriz)
{
    auto* pSource = static_cast<CWorkspace*>(pItem->GetTabManager());
    int nSource = FindWorkspace(pSource);
    if (nSource < 0 || pTarget == pSource)
        return;
    m_bUpdating = TRUE;
    m_bLocked = TRUE;
    COLORREF clrItem = pItem->GetOwnColor();
    if (!pTarget) {
        // A new group takes half of its group's length in the direction of the split.
        m_bHorizSplitting = bHoriz;
        NormalizeWeights();
    }
    // The extra reference keeps the tab through its removal; the target group takes it over.
    pItem->InternalAddRef();
    pSource->DeleteItem(pItem->GetIndex());
    if (!pTarget) {
        pTarget = AddWorkspace(nSource + 1);
        double dWeight = pSource->GetWeight();
        pTarget->SetWeight((dWeight - m_nSplitterWidth) / 2);
        pSource->SetWeight(dWeight - pTarget->GetWeight() - m_nSplitterWidth);
    }
    pTarget->InsertItem(-1, pItem);
    pItem->SetOwnColor(clrItem);
    pTarget->SetSelectedItem(pItem);
    m_bLocked = FALSE;
    m_bUpdating = FALSE;
    m_bPendingLayout = TRUE;
    SyncTabs();
}

int CXTPTabClientWnd::OnHookMessage(HWND /*hWnd*/, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    // The frame's workspace commands reach the client, whichever control sent them.
    if (nMessage == WM_COMMAND && lParam == 0 && IsWorkspaceCommand(LOWORD(wParam)) && HIWORD(wParam) <= 1) {
        OnWorkspaceCommand(LOWORD(wParam));
        lResult = 0;
        return xtpHookHandled;
    }
    return xtpHookContinue;
}

// Window list

void CXTPTabClientWnd::FillWindowList(CWorkspace* pWorkspace, CXTPPopupBar* pPopup)
{
    CXTPControls* pControls = pPopup->GetControls();
    for (int i = 0; i < pWorkspace->GetItemCount(); i++) {
        CXTPTabManagerItem* pItem = pWorkspace->GetItem(i);
        CXTPControl* pControl = pControls->Add(xtpControlButton, i + 1);
        pControl->SetCaption(FormatListItemCaption(pItem->GetCaption(), i + 1));
        pControl->SetChecked(pItem->IsSelected());
    }
}

void CXTPTabClientWnd::ShowWindowList(CWorkspace* pWorkspace)
{
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar(nullptr);
    auto* pImages = new CXTPImageManager;
    for (int i = 0; i < pWorkspace->GetItemCount(); i++) {
        if (HICON hIcon = pWorkspace->GetItemIcon(pWorkspace->GetItem(i)))
            pImages->SetIcon(CXTPImageManagerIconHandle(hIcon), static_cast<UINT>(i + 1), CSize(16, 16));
    }
    pPopup->SetImageManager(pImages);
    FillWindowList(pWorkspace, pPopup);
    CRect rcButton = pWorkspace->GetWindowListButton()->GetRect();
    ::MapWindowPoints(pWorkspace->GetHostWindow(), nullptr, reinterpret_cast<LPPOINT>(&rcButton), 2);
    int nChosen = CXTPCommandBars::TrackPopup(pPopup, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, rcButton.left,
                                              rcButton.bottom, this, &rcButton);
    pPopup->InternalRelease();
    if (CXTPTabManagerItem* pItem = pWorkspace->GetItem(nChosen - 1))
        SendMessage(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pItem->GetHandle()));
}

// Dragging tabs and splitters

void CXTPTabClientWnd::OnGroupDrag(CWorkspace* pWorkspace, CXTPTabManagerItem* pItem)
{
    pWorkspace->SetSelectedItem(pItem);
    SetActiveWorkspace(pWorkspace);
    std::vector<CRect> rects;
    for (int i = 0; i < pWorkspace->GetItemCount(); i++)
        rects.push_back(pWorkspace->GetItem(i)->GetRect());

    CWorkspace* pTarget = nullptr;
    BOOL bOutside = FALSE;
    BOOL bAccepted = FALSE;
    SetCapture();
    MSG msg;
    for (BOOL bLoop = TRUE; bLoop && AfxGetModalLoopMessage(&msg);) {
        if (::GetCapture() != m_hWnd) {
            ::DispatchMessageW(&msg);
            break;
        }
        switch (msg.message) {
        case WM_MOUSEMOVE: {
            CPoint pt = PointOf(msg.lParam);
            if (msg.hwnd != m_hWnd)
                ::MapWindowPoints(msg.hwnd, m_hWnd, &pt, 1);
            bOutside = !pWorkspace->GetHeaderRect().PtInRect(pt);
            if (!bOutside) {
                for (size_t i = 0; i < rects.size(); i++) {
                    if (static_cast<int>(i) != pItem->GetIndex() && static_cast<int>(i) < pWorkspace->GetItemCount() &&
                        rects[i].PtInRect(pt)) {
                        pWorkspace->SwapItems(static_cast<int>(i), pItem->GetIndex());
                        break;
                    }
                }
                ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
                break;
            }
            pTarget = WorkspaceFromPoint(pt);
            ::SetCursor(pTarget && pTarget != pWorkspace ? m_hCursorNewVert
                        : pTarget                         ? m_hCursorNewHoriz
                                                          : ::LoadCursorW(nullptr, IDC_NO));
            break;
        }
        case WM_LBUTTONUP:
            bAccepted = TRUE;
            bLoop = FALSE;
            break;
        case WM_RBUTTONDOWN:
        case WM_CANCELMODE:
            bLoop = FALSE;
            break;
        case WM_KEYDOWN:
            bLoop = msg.wParam != VK_ESCAPE;
            break;
        default:
            ::DispatchMessageW(&msg);
            break;
        }
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (!bAccepted || !bOutside || !pTarget)
        return;
    if (pTarget != pWorkspace) {
        MoveToWorkspace(pItem, pTarget);
        return;
    }
    // Dropped on its own group: the workspace actions are offered.
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar(nullptr);
    pPopup->SetSite(m_pFrame);
    pPopup->GetControls()->Add(xtpControlButton, XTP_ID_WORKSPACE_ACTIONS);
    CXTPControl* pCancel = pPopup->GetControls()->Add(xtpControlButton, XTP_ID_WORKSPACE_CANCEL);
    pCancel->SetCaption(XTP_ID_WORKSPACE_CANCEL);
    pCancel->SetBeginGroup(TRUE);
    CPoint pt;
    CXTPInputSource::GetCursorPos(&pt);
    int nChosen = CXTPCommandBars::TrackPopup(pPopup, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, pt.x, pt.y,
                                              m_pFrame);
    pPopup->InternalRelease();
    if (IsWorkspaceCommand(static_cast<UINT>(nChosen)))
        OnWorkspaceCommand(static_cast<UINT>(nChosen));
}

void CXTPTabClientWnd::TrackSplitter(int nSplitter, CPoint pt)
{
    CWorkspace* pBefore = GetWorkspace(nSplitter);
    CWorkspace* pAfter = GetWorkspace(nSplitter + 1);
    if (!pBefore || !pAfter)
        return;
    NormalizeWeights();
    double dTotal = pBefore->GetWeight() + pAfter->GetWeight();
    int nOrigin = m_bHorizSplitting ? pt.y : pt.x;
    double dStart = pBefore->GetWeight();
    SetCapture();
    MSG msg;
    for (BOOL bLoop = TRUE; bLoop && AfxGetModalLoopMessage(&msg);) {
        if (::GetCapture() != m_hWnd) {
            ::DispatchMessageW(&msg);
            break;
        }
        switch (msg.message) {
        case WM_MOUSEMOVE: {
            CPoint ptNow = PointOf(msg.lParam);
            double dBefore = dStart + ((m_bHorizSplitting ? ptNow.y : ptNow.x) - nOrigin);
            dBefore = std::max(0.0, std::min(dTotal, dBefore));
            pBefore->SetWeight(dBefore);
            pAfter->SetWeight(dTotal - dBefore);
            RepositionWorkspaces();
            Invalidate(FALSE);
            break;
        }
        case WM_LBUTTONUP:
            bLoop = FALSE;
            break;
        case WM_RBUTTONDOWN:
        case WM_CANCELMODE:
        case WM_KEYDOWN:
            if (msg.message != WM_KEYDOWN || msg.wParam == VK_ESCAPE) {
                pBefore->SetWeight(dStart);
                pAfter->SetWeight(dTotal - dStart);
                bLoop = FALSE;
            }
            break;
        default:
            ::DispatchMessageW(&msg);
            break;
        }
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    RepositionWorkspaces();
    NormalizeWeights();
    Invalidate(FALSE);
}

INT_PTR CXTPTabClientWnd::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    CWorkspace* pWorkspace = m_bWorkspaceMode ? WorkspaceFromPoint(point) : nullptr;
    return pWorkspace ? pWorkspace->CXTPTabManager::OnToolHitTest(m_hWnd, pWorkspace->HitTest(point), pTI) : -1;
}

// Drop target

DROPEFFECT CXTPTabClientWnd::CDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                                     CPoint point)
{
    return OnDragOver(pWnd, pDataObject, dwKeyState, point);
}

DROPEFFECT CXTPTabClientWnd::CDropTarget::OnDragOver(CWnd* /*pWnd*/, COleDataObject* /*pDataObject*/,
                                                    DWORD /*dwKeyState*/, CPoint point)
{
    if (!m_pClient->m_pPaintManager->m_bSelectOnDragOver)
        return DROPEFFECT_NONE;
    CWorkspace* pWorkspace = m_pClient->WorkspaceFromPoint(point);
    CXTPTabManagerItem* pItem = pWorkspace ? pWorkspace->HitTest(point) : nullptr;
    if (pItem && !pItem->IsSelected())
        m_pClient->ActivateChild(pItem->GetHandle());
    return DROPEFFECT_NONE;
}

// Messages

LRESULT CXTPTabClientWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_bWorkspaceMode) {
        DWORD dwPos = ::GetMessagePos();
        MSG msg = {m_hWnd, message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()),
                   {static_cast<short>(LOWORD(dwPos)), static_cast<short>(HIWORD(dwPos))}};
        m_pToolTipContext->FilterToolTipMessage(&msg, TRUE);
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

LRESULT CXTPTabClientWnd::OnMDIActivate(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    LRESULT lResult = 0;
    if (!m_bWorkspaceMode) {
        SetRedraw(FALSE);
        lResult = Default();
        SetRedraw(TRUE);
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    } else {
        lResult = Default();
    }
    SyncTabs();
    return lResult;
}

LRESULT CXTPTabClientWnd::OnMDICreate(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    LRESULT lResult = Default();
    HWND hChild = reinterpret_cast<HWND>(lResult);
    if (m_bWorkspaceMode && ::IsWindow(hChild)) {
        ::SetWindowLongPtrW(hChild, GWL_STYLE, ::GetWindowLongPtrW(hChild, GWL_STYLE) & ~kChildFrameStyles);
        ::SetWindowLongPtrW(hChild, GWL_EXSTYLE, ::GetWindowLongPtrW(hChild, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
        ::SetWindowPos(hChild, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    SyncTabs();
    return lResult;
}

LRESULT CXTPTabClientWnd::OnMDIDestroy(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    LRESULT lResult = Default();
    SyncTabs();
    return lResult;
}

LRESULT CXTPTabClientWnd::OnIdleUpdateCmdUI(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    m_bPressed = FALSE;
    SyncTabs();
    return Default();
}

void CXTPTabClientWnd::OnPaint()
{
    if (!m_bWorkspaceMode || m_arrWorkspace.empty()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    COffscreenDC buffer(&dc, rcClient);
    buffer.FillSolidRect(rcClient, ::GetSysColor(COLOR_APPWORKSPACE));
    for (CWorkspace* pWorkspace : m_arrWorkspace) {
        m_pPaintManager->DrawTabControl(pWorkspace, &buffer, pWorkspace->GetControlRect());
        CRect rcSplitter = pWorkspace->GetSplitterRect();
        if (!rcSplitter.IsRectEmpty())
            m_pPaintManager->GetStyleObject()->FillClientPart(
                &buffer, pWorkspace, rcSplitter,
                m_bHorizSplitting ? CXTPTabStyle::clientPartBandAcross : CXTPTabStyle::clientPartBandUpright);
    }
}

void CXTPTabClientWnd::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    if (!m_bWorkspaceMode) {
        CWnd::OnNcCalcSize(bCalcValidRects, lpncsp);
        return;
    }
    // The style's frame takes the place of the client edge and the scroll bars.
    lpncsp->rgrc[0] = InsideFrame(lpncsp->rgrc[0]);
}

void CXTPTabClientWnd::OnNcPaint()
{
    if (!m_bWorkspaceMode) {
        CWnd::OnNcPaint();
        return;
    }
    CWindowDC dc(this);
    CRect rcWindow = ExcludeClientArea(m_hWnd, &dc);
    m_pPaintManager->GetStyleObject()->FillClientPart(&dc, GetWorkspace(0), rcWindow,
                                                      CXTPTabStyle::clientPartBorder);
}

BOOL CXTPTabClientWnd::OnEraseBkgnd(CDC* pDC)
{
    if (m_bWorkspaceMode && !m_arrWorkspace.empty())
        return TRUE;
    return CWnd::OnEraseBkgnd(pDC);
}

void CXTPTabClientWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_bWorkspaceMode)
        RepositionWorkspaces();
    Invalidate(FALSE);
    SyncTabs();
}

void CXTPTabClientWnd::OnWindowPosChanging(WINDOWPOS* lpwndpos)
{
    CWnd::OnWindowPosChanging(lpwndpos);
    // The simple mode's strip takes the top of the place the frame gives the MDI area.
    CWorkspace* pWorkspace = GetWorkspace(0);
    if (m_bWorkspaceMode || !pWorkspace || (lpwndpos->flags & SWP_NOSIZE) || lpwndpos->cx <= 0 || lpwndpos->cy <= 0)
        return;
    auto* pStrip = static_cast<CWorkspaceWnd*>(pWorkspace);
    CRect rcArea(CPoint(lpwndpos->x, lpwndpos->y), CSize(lpwndpos->cx, lpwndpos->cy));
    {
        CClientDC dc(pStrip);
        m_pPaintManager->RepositionTabControl(pStrip, &dc, CRect(CPoint(0, 0), rcArea.Size()));
    }
    CRect rcPage(CPoint(0, 0), rcArea.Size());
    m_pPaintManager->AdjustClientRect(pStrip, rcPage);
    CRect rcHeader = pStrip->GetHeaderRect();
    int nHeader = rcPage.top > 0 ? rcPage.top : rcHeader.bottom;
    pStrip->SetWindowPos(nullptr, rcArea.left, rcArea.top, rcArea.Width(), nHeader,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    lpwndpos->y += nHeader;
    lpwndpos->cy = std::max(0, lpwndpos->cy - nHeader);
}

BOOL CXTPTabClientWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_bWorkspaceMode && nHitTest == HTCLIENT) {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        if (SplitterFromPoint(pt) >= 0) {
            ::SetCursor(m_bHorizSplitting ? m_hCursorVert : m_hCursorHoriz);
            return TRUE;
        }
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CXTPTabClientWnd::OnLButtonDown(UINT /*nFlags*/, CPoint point)
{
    OnPress(WM_LBUTTONDOWN, point);
}

void CXTPTabClientWnd::OnLButtonDblClk(UINT /*nFlags*/, CPoint point)
{
    OnPress(WM_LBUTTONDBLCLK, point);
}

void CXTPTabClientWnd::OnPress(UINT message, CPoint point)
{
    if (!m_bWorkspaceMode) {
        Default();
        return;
    }
    // The tabs stay as they are while the press is handled (a click activates a child): the next idle pass
    // brings them up to date.
    m_bPressed = TRUE;
    int nSplitter = SplitterFromPoint(point);
    if (nSplitter >= 0) {
        TrackSplitter(nSplitter, point);
        return;
    }
    CWorkspace* pWorkspace = WorkspaceFromPoint(point);
    if (!pWorkspace) {
        if (!OfferPressToFrame(message, point))
            Default();
        return;
    }
    if (pWorkspace != m_pActiveWorkspace && pWorkspace->GetSelectedItem())
        pWorkspace->OnItemClick(pWorkspace->GetSelectedItem());
    pWorkspace->PerformClick(m_hWnd, point);
}

void CXTPTabClientWnd::OnRButtonDown(UINT nFlags, CPoint point)
{
    if (!OfferPressToFrame(WM_RBUTTONDOWN, point))
        CWnd::OnRButtonDown(nFlags, point);
}

void CXTPTabClientWnd::OnRButtonDblClk(UINT nFlags, CPoint point)
{
    if (!OfferPressToFrame(WM_RBUTTONDBLCLK, point))
        CWnd::OnRButtonDblClk(nFlags, point);
}

void CXTPTabClientWnd::OnMButtonDown(UINT nFlags, CPoint point)
{
    if (!OfferPressToFrame(WM_MBUTTONDOWN, point))
        CWnd::OnMButtonDown(nFlags, point);
}

BOOL CXTPTabClientWnd::OfferPressToFrame(UINT message, CPoint point)
{
    return m_bWorkspaceMode && m_pFrame && !WorkspaceFromPoint(point) &&
           m_pFrame->SendMessage(WM_XTP_PRETRANSLATEMOUSEMSG, message, MAKELPARAM(point.x, point.y)) != 0;
}

void CXTPTabClientWnd::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bWorkspaceMode) {
        for (CWorkspace* pWorkspace : m_arrWorkspace)
            pWorkspace->PerformMouseMove(m_hWnd, point);
    }
    CWnd::OnMouseMove(nFlags, point);
}

void CXTPTabClientWnd::OnMouseLeave()
{
    for (CWorkspace* pWorkspace : m_arrWorkspace)
        pWorkspace->PerformMouseMove(pWorkspace->GetHostWindow(), CPoint(-1, -1));
}

void CXTPTabClientWnd::OnSysColorChange()
{
    CWnd::OnSysColorChange();
    m_pPaintManager->RefreshMetrics();
    UpdateWorkspaces();
}
