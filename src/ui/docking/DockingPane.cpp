#include "ui/docking/DockingPane.h"

#include "platform/mfc/afxdoctempl.h"
#include "platform/mfc/afxframe.h"

#include "ui/docking/DockingPaneLayout.h"
#include "ui/docking/DockingPaneManager.h"
#include "ui/docking/DockingPaneMiniWnd.h"
#include "ui/docking/DockingPaneTabbedContainer.h"
#include "ui/docking/TabManager.h"
#include "ui/persist/ImageManager.h"
#include "ui/persist/PropExchange.h"

namespace
{
// The message a pane's client window may answer with its own tab colour.
const UINT WM_XTP_GETTABCOLOR = 0x0486;
}

CXTPDockingPane::CXTPDockingPane(CXTPDockingPaneLayout* pLayout)
    : CXTPDockingPaneElement(xtpPaneTypeDockingPane, pLayout)
{
}

void CXTPDockingPane::SetID(UINT nID)
{
    m_nID = nID;
    m_strTitle.LoadString(nID);
}

void CXTPDockingPane::SetDockingRect(const CRect& rc)
{
    m_rcWindow = rc;
    m_szDocking = CSize(rc.Width(), rc.Height());
}

CString CXTPDockingPane::GetTitle() const
{
    int nNewLine = m_strTitle.Find(L'\n');
    return nNewLine < 0 ? m_strTitle : m_strTitle.Left(nNewLine);
}

CString CXTPDockingPane::GetTabCaption() const
{
    int nNewLine = m_strTitle.Find(L'\n');
    return nNewLine < 0 ? m_strTitle : m_strTitle.Mid(nNewLine + 1);
}

void CXTPDockingPane::SetTitle(LPCTSTR lpszTitle)
{
    m_strTitle = lpszTitle;
    OnChildChanged(FALSE);
}

DWORD CXTPDockingPane::GetOptions() const
{
    return m_dwOptions | GetDockingPaneManager()->m_dwDefaultPaneOptions;
}

CXTPImageManagerIcon* CXTPDockingPane::GetIcon(int nWidth) const
{
    return GetDockingPaneManager()->GetIcon(m_nIconID == -1 ? m_nID : static_cast<UINT>(m_nIconID), nWidth);
}

COLORREF CXTPDockingPane::GetItemColor()
{
    if (m_hwndChild) {
        COLORREF clr = static_cast<COLORREF>(::SendMessageW(m_hwndChild, WM_XTP_GETTABCOLOR, 0, 0));
        if (clr != 0)
            return clr;
    }
    return XTP_TABCOLOR_PREDEFINED + m_nID % 8;
}

void CXTPDockingPane::Attach(CWnd* pWnd)
{
    m_hwndChild = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    GetDockingPaneManager()->RecalcFramesLayout();
    if (m_hwndChild && m_pParentContainer && m_pParentContainer->GetPaneHwnd())
        ::SetParent(m_hwndChild, m_pParentContainer->GetPaneHwnd());
}

CWnd* CXTPDockingPane::AttachView(CWnd* pParentWnd, CRuntimeClass* pViewClass, CDocument* pDocument,
                                  CCreateContext* pContext)
{
    CCreateContext context;
    if (!pContext) {
        context.m_pNewViewClass = pViewClass;
        context.m_pCurrentDoc = pDocument;
        pContext = &context;
    }
    // The frame deletes itself with its window, also when its creation fails.
    CFrameWnd* pFrame = new CFrameWnd;
    if (!pFrame->Create(nullptr, nullptr, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), pParentWnd,
                        nullptr, 0, pContext))
        return nullptr;
    Attach(pFrame);
    return pFrame->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
}

void CXTPDockingPane::Detach()
{
    if (m_hwndChild) {
        ::ShowWindow(m_hwndChild, SW_HIDE);
        CWnd* pSite = GetDockingPaneManager()->GetSite();
        ::SetParent(m_hwndChild, pSite ? pSite->GetSafeHwnd() : nullptr);
        m_hwndChild = nullptr;
    }
    GetDockingPaneManager()->RecalcFramesLayout();
}

void CXTPDockingPane::ShowWindow(BOOL bShow)
{
    if (bShow)
        GetDockingPaneManager()->NotifyFrame(XTP_DPN_SHOWWINDOW, reinterpret_cast<LPARAM>(this));
    if (m_hwndChild)
        ::ShowWindow(m_hwndChild, bShow ? SW_SHOW : SW_HIDE);
}

void CXTPDockingPane::SetFocus()
{
    if (m_hwndChild && !IsFocus())
        ::SetFocus(m_hwndChild);
}

BOOL CXTPDockingPane::IsFocus() const
{
    HWND hWndFocus = ::GetFocus();
    return m_hwndChild && hWndFocus && (hWndFocus == m_hwndChild || ::IsChild(m_hwndChild, hWndFocus));
}

BOOL CXTPDockingPane::IsSelected() const
{
    CXTPDockingPaneTabbedContainer* pContainer = GetTabbedContainer();
    return pContainer && pContainer->GetSelected() == this;
}

BOOL CXTPDockingPane::IsFloating() const
{
    CXTPDockingPaneTabbedContainer* pContainer = GetTabbedContainer();
    if (!pContainer || IsHidden() || !pContainer->GetSafeHwnd())
        return FALSE;
    return dynamic_cast<CXTPDockingPaneMiniWnd*>(pContainer->GetParentFrame()) != nullptr;
}

CWnd* CXTPDockingPane::GetSite() const
{
    return m_pParentContainer ? m_pParentContainer->GetDockingSite() : nullptr;
}

CXTPDockingPaneTabbedContainer* CXTPDockingPane::GetTabbedContainer() const
{
    return dynamic_cast<CXTPDockingPaneTabbedContainer*>(m_pParentContainer);
}

void CXTPDockingPane::Close()
{
    GetDockingPaneManager()->ClosePane(this);
}

void CXTPDockingPane::Hide()
{
    GetDockingPaneManager()->HidePane(this);
}

void CXTPDockingPane::Select()
{
    GetDockingPaneManager()->ShowPane(this);
}

void CXTPDockingPane::Copy(CXTPDockingPane* pPane)
{
    m_szDocking = pPane->m_szDocking;
    m_strTitle = pPane->m_strTitle;
    m_nIconID = pPane->m_nIconID;
    m_dwOptions = pPane->m_dwOptions;
    m_ptMinTrackSize = pPane->m_ptMinTrackSize;
    m_nID = pPane->m_nID;
    m_ptMaxTrackSize = pPane->m_ptMaxTrackSize;
    m_hwndChild = nullptr;
}

void CXTPDockingPane::SetParentContainer(CXTPDockingPaneElement* pContainer)
{
    m_pParentContainer = pContainer;
    if (!m_hwndChild)
        return;
    if (pContainer) {
        if (pContainer->GetPaneHwnd())
            ::SetParent(m_hwndChild, pContainer->GetPaneHwnd());
    } else {
        ::ShowWindow(m_hwndChild, SW_HIDE);
        CXTPDockingPaneManager* pManager = GetDockingPaneManager();
        ::SetParent(m_hwndChild, pManager->GetSafeHwnd());
        m_pDockingSite = nullptr;
    }
}

void CXTPDockingPane::OnSizeParent(CWnd* pParent, CRect rect, LPVOID lParam)
{
    SetDockingSite(pParent);
    AFX_SIZEPARENTPARAMS* pParams = static_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (pParams && !pParams->hDWP)
        return;
    m_rcWindow = rect;
    if (m_hwndChild && m_pParentContainer && m_pParentContainer->GetPaneHwnd()) {
        CRect rc = rect;
        if (pParent && pParent->GetSafeHwnd() != m_pParentContainer->GetPaneHwnd())
            ::MapWindowPoints(pParent->GetSafeHwnd(), m_pParentContainer->GetPaneHwnd(), reinterpret_cast<LPPOINT>(&rc), 2);
        ::MoveWindow(m_hwndChild, rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
    }
}

void CXTPDockingPane::GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const
{
    ZeroMemory(pMinMaxInfo, sizeof(MINMAXINFO));
    pMinMaxInfo->ptMinTrackSize = m_ptMinTrackSize;
    pMinMaxInfo->ptMaxTrackSize = m_ptMaxTrackSize;
}

BOOL CXTPDockingPane::IsHidden() const
{
    return m_pParentContainer ? m_pParentContainer->IsHidden() : FALSE;
}

void CXTPDockingPane::OnIdleUpdate()
{
    if (m_pParentContainer)
        m_pParentContainer->OnIdleUpdate();
}

BOOL CXTPDockingPane::DoPropExchange(CXTPPropExchange* pPX)
{
    CXTPDockingPaneElement::DoPropExchange(pPX);
    ExchangeString(pPX, L"Title", m_strTitle, L"");
    // An archive's string may hold a NUL, which the text stores cannot keep: the title ends there in every store.
    if (pPX->IsLoading())
        m_strTitle = CString(m_strTitle.GetString());
    long nID = static_cast<long>(m_nID);
    ExchangeLong(pPX, L"ID", nID, 0);
    ExchangeInt(pPX, L"IconID", m_nIconID, -1);
    ExchangeDWord(pPX, L"Options", m_dwOptions, 0);

    XTP_DOCKINGPANE_INFO info;
    if (pPX->IsStoring()) {
        // A positional store has no missing keys: there a pane without a record writes no holders as 0.
        const XTP_DOCKINGPANE_INFO* pInfo = m_pLayout->FindPaneInfo(this);
        if (pInfo || !pPX->IsAllowDefaultValues()) {
            if (!pInfo)
                pInfo = &info;
            int nDocking = pInfo->pDockingHolder ? pInfo->pDockingHolder->m_nLayoutId : 0;
            int nFloating = pInfo->pFloatingHolder ? pInfo->pFloatingHolder->m_nLayoutId : 0;
            int nLast = pInfo->pLastHolder ? pInfo->pLastHolder->m_nLayoutId : 0;
            ExchangeInt(pPX, L"DockingHolder", nDocking, 0);
            ExchangeInt(pPX, L"FloatingHolder", nFloating, 0);
            ExchangeInt(pPX, L"LastHolder", nLast, 0);
        }
    } else {
        if (nID <= 0)
            return FALSE;
        m_nID = static_cast<UINT>(nID);
        // A holder is a tabbed container of this layout; any other number spoils the read.
        const wchar_t* const keys[] = {L"DockingHolder", L"FloatingHolder", L"LastHolder"};
        CXTPDockingPaneTabbedContainer** holders[] = {&info.pDockingHolder, &info.pFloatingHolder, &info.pLastHolder};
        for (int i = 0; i < 3; i++) {
            int nNumber = 0;
            ExchangeInt(pPX, keys[i], nNumber, 0);
            if (nNumber == 0)
                continue;
            *holders[i] = dynamic_cast<CXTPDockingPaneTabbedContainer*>(CXTPDockingPaneLayout::ResolveElement(pPX, nNumber));
            if (!*holders[i])
                return FALSE;
        }
        info.pPane = this;
        m_pLayout->GetPaneList().push_back(info);
    }
    ExchangeDockingSize(pPX, L"MinTrackX", m_ptMinTrackSize.x, 0);
    ExchangeDockingSize(pPX, L"MinTrackY", m_ptMinTrackSize.y, 0);
    ExchangeDockingSize(pPX, L"MaxTrackX", m_ptMaxTrackSize.x, XTP_DOCKINGPANE_MAXSIZE);
    ExchangeDockingSize(pPX, L"MaxTrackY", m_ptMaxTrackSize.y, XTP_DOCKINGPANE_MAXSIZE);
    return TRUE;
}

CXTPDockingPaneElement* CXTPDockingPane::Clone(CXTPDockingPaneLayout* pLayout, CXTPPaneToPaneMap* pMap, DWORD)
{
    CXTPDockingPane* pPane = static_cast<CXTPDockingPane*>(GetDockingPaneManager()->CreateElement(xtpPaneTypeDockingPane, pLayout));
    pPane->Copy(this);
    if (pMap)
        (*pMap)[this] = pPane;
    return pPane;
}
