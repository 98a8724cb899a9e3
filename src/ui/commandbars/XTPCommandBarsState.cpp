// The manager's bar state in the application profile: where each bar is, the rows of the dock bars and whether the
// frame's status bar shows.
#include "ui/commandbars/XTPCommandBars.h"

#include "platform/mfc/afxcontrolbar.h"
#include "ui/commandbars/XTPDockBar.h"
#include "ui/commandbars/XTPDockContext.h"
#include "ui/commandbars/XTPDockState.h"
#include "ui/commandbars/XTPToolBar.h"

namespace
{
const LPCTSTR kStatusBarEntry = L"StatusBar";

CWnd* FindStatusBar(CWnd* pSite)
{
    if (!pSite || !pSite->GetSafeHwnd())
        return nullptr;
    HWND hWnd = ::GetDlgItem(pSite->m_hWnd, AFX_IDW_STATUS_BAR);
    return hWnd ? CWnd::FromHandlePermanent(hWnd) : nullptr;
}
}

void CXTPCommandBars::GetControlsFileName(CString& strFileName, LPCTSTR lpszProfileName) const
{
    if (!m_strControlsFileName.IsEmpty())
    {
        strFileName = m_strControlsFileName;
        return;
    }
    WCHAR szModule[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szModule, MAX_PATH);
    strFileName.Format(L"%s-%s", szModule, lpszProfileName);
}

void CXTPCommandBars::SaveBarState(LPCTSTR lpszProfileName, BOOL bOnlyCustomized)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    CXTPDockState state;
    for (CXTPToolBar* pBar : m_arrBars)
    {
        auto pInfo = std::make_unique<CXTPBarInfo>();
        pInfo->m_nBarID = pBar->GetBarID();
        pInfo->m_bVisible = pBar->IsVisibleFlag();
        pInfo->m_nMRUWidth = pBar->GetMRUWidth();
        pInfo->m_bFloating = pBar->GetPosition() == xtpBarFloating;
        CXTPDockContext* pContext = pBar->GetDockContext();
        if (pBar->GetSafeHwnd())
        {
            CRect rc;
            pBar->GetWindowRect(&rc);
            if (CXTPDockBar* pDockBar = pBar->GetDockBar())
                pDockBar->ScreenToClient(&rc);
            pInfo->m_pointPos = rc.TopLeft();
        }
        else if (pContext)
            pInfo->m_pointPos = pContext->m_ptLastFloat;
        if (pContext)
        {
            pInfo->m_uMRUDockPosition = pContext->m_nLastDockPosition;
            pInfo->m_rectMRUDockPos = pContext->m_rcLastDocked;
            pInfo->m_ptMRUFloatPos = pContext->m_ptLastFloat;
        }
        state.m_arrBarInfo.push_back(std::move(pInfo));
    }
    state.SaveState(lpszProfileName);

    for (int nDockBar = 0; nDockBar < 4; ++nDockBar)
    {
        std::vector<DWORD> arrIds;
        if (CXTPDockBar* pDockBar = GetDockBar(nDockBar))
        {
            for (CXTPToolBar* pBar : pDockBar->GetSlots().GetSlots())
                arrIds.push_back(pBar ? pBar->GetBarID() : 0);
        }
        CXTPDockState::SaveDockBar(lpszProfileName, nDockBar, arrIds);
    }

    CWnd* pStatusBar = FindStatusBar(m_pSite);
    if (pStatusBar && !(pStatusBar->GetStyle() & WS_VISIBLE))
        pApp->WriteProfileInt(lpszProfileName, kStatusBarEntry, 0);
    else
        pApp->WriteProfileString(lpszProfileName, kStatusBarEntry, nullptr);

    (void)bOnlyCustomized;
    m_pOptions->bDirtyState = FALSE;
}

void CXTPCommandBars::LoadBarState(LPCTSTR lpszProfileName, BOOL bSilent)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    (void)bSilent;
    CXTPDockState state;
    state.LoadState(lpszProfileName);

    // The rows of the dock bars; an id that no bar has separates rows.
    for (int nDockBar = 0; nDockBar < 4; ++nDockBar)
    {
        CXTPDockBar* pDockBar = GetDockBar(nDockBar);
        std::vector<DWORD> arrIds = CXTPDockState::LoadDockBar(lpszProfileName, nDockBar);
        if (!pDockBar || arrIds.empty())
            continue;
        for (size_t k = 0; k < arrIds.size(); ++k)
        {
            CXTPToolBar* pBar = FindBarById(arrIds[k]);
            if (pBar && pBar->GetSafeHwnd())
            {
                if (CXTPDockBar* pOldDockBar = pBar->GetDockBar())
                    pOldDockBar->RemoveCommandBar(pBar, -1);
                // A bar named twice keeps its first place.
                if (pDockBar->FindBar(pBar) != -1)
                    pBar = nullptr;
                else
                {
                    pBar->SetFloatingMode(m_pSite, FALSE);
                    if (pBar->GetParent() != pDockBar)
                        pBar->SetParent(pDockBar);
                    pBar->SetDockBar(pDockBar);
                    pBar->CXTPCommandBar::SetPosition(pDockBar->GetDockPosition());
                }
            }
            else
                pBar = nullptr;
            pDockBar->GetSlots().InsertAt(static_cast<int>(k), pBar);
        }
        pDockBar->GetSlots().Normalize();
    }

    CWnd* pStatusBar = FindStatusBar(m_pSite);
    if (pStatusBar && pApp->GetProfileInt(lpszProfileName, kStatusBarEntry, 1) == 0)
        pStatusBar->ShowWindow(SW_HIDE);

    for (const auto& pInfo : state.m_arrBarInfo)
    {
        CXTPToolBar* pBar = FindBarById(pInfo->m_nBarID);
        if (!pBar || !pBar->GetSafeHwnd())
            continue;
        if (pInfo->m_bFloating)
            FloatCommandBar(pBar);
        else
            pBar->SetFloatingMode(m_pSite, FALSE);
        pBar->SetMRUWidth(pInfo->m_nMRUWidth);
        if (CXTPDockContext* pContext = pBar->GetDockContext())
        {
            pContext->m_nLastDockPosition = pInfo->m_uMRUDockPosition;
            pContext->m_rcLastDocked = pInfo->m_rectMRUDockPos;
            pContext->m_ptLastFloat = pInfo->m_ptMRUFloatPos;
            pContext->m_bHasFloated = pContext->m_bHasFloated || pInfo->m_bFloating;
        }
        UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE | (pInfo->m_bFloating ? 0 : SWP_NOSIZE);
        if (!pInfo->m_bFloating && !pBar->GetDockBar())
            nFlags |= SWP_NOMOVE;
        CRect rc;
        pBar->GetWindowRect(&rc);
        pBar->SetWindowPos(nullptr, pInfo->m_pointPos.x, pInfo->m_pointPos.y, rc.Width(), rc.Height(), nFlags);
        pBar->SetVisible(pInfo->m_bVisible);
        if (pInfo->m_bFloating)
            pBar->OnRecalcLayout();
    }
    RecalcFrameLayout(TRUE);
    m_pOptions->bDirtyState = FALSE;
}
