#include "ui/commandbars/XTPCustomizeDropSource.h"

#include "ui/commandbars/XTPCommandBar.h"
#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPCustomizeSheet.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/uires.h"

#include <algorithm>
#include <windowsx.h>

CXTPCustomizeDropSource::CXTPCustomizeDropSource(CXTPCommandBars* pCommandBars) : m_pCommandBars(pCommandBars) {}

CXTPCustomizeDropSource::~CXTPCustomizeDropSource() = default;

void CXTPCustomizeDropSource::Register(CXTPCommandBar* pBar)
{
    m_arrTargets.push_back(pBar);
}

void CXTPCustomizeDropSource::Unregister(CXTPCommandBar* pBar)
{
    m_arrTargets.erase(std::remove(m_arrTargets.begin(), m_arrTargets.end(), pBar), m_arrTargets.end());
    // A drag going on must not drop onto, or leave, a bar that no longer exists.
    if (m_pTarget == pBar)
        m_pTarget = nullptr;
}

BOOL CXTPCustomizeDropSource::IsRegistered(const CXTPCommandBar* pBar) const
{
    return std::find(m_arrTargets.begin(), m_arrTargets.end(), pBar) != m_arrTargets.end();
}

UINT CXTPCustomizeDropSource::GetCursorId() const
{
    if (!m_pTarget)
        return XTP_IDC_CUSTOMIZE_DRAGNONE;
    return IsMove() ? XTP_IDC_CUSTOMIZE_DRAGMOVE : XTP_IDC_CUSTOMIZE_DRAGCOPY;
}

void CXTPCustomizeDropSource::UpdateCursor()
{
    if (HCURSOR hCursor = XTPGetResourceLoader()->LoadCursor(GetCursorId()))
        ::SetCursor(hCursor);
}

void CXTPCustomizeDropSource::LeaveTarget()
{
    if (CXTPCommandBar* pTarget = m_pTarget) {
        m_pTarget = nullptr;
        pTarget->OnCustomizeDragLeave();
    }
}

void CXTPCustomizeDropSource::UpdateTarget(CPoint ptScreen)
{
    CXTPCommandBar* pHit = nullptr;
    for (auto it = m_arrTargets.rbegin(); it != m_arrTargets.rend() && !pHit; ++it) {
        CRect rc;
        if ((*it)->GetSafeHwnd() && (*it)->IsWindowVisible() && ::GetWindowRect((*it)->m_hWnd, &rc) &&
            rc.PtInRect(ptScreen))
            pHit = *it;
    }
    if (pHit) {
        CPoint pt = ptScreen;
        pHit->ScreenToClient(&pt);
        if (pHit == m_pTarget) {
            m_pTarget->OnCustomizeDragOver(m_pControl, pt);
        } else {
            LeaveTarget();
            if (pHit->OnCustomizeDragEnter(m_pControl, pt) != DROPEFFECT_NONE)
                m_pTarget = pHit;
        }
    } else {
        LeaveTarget();
    }
    UpdateCursor();
}

DROPEFFECT CXTPCustomizeDropSource::Drop(CPoint ptScreen, DROPEFFECT nResult)
{
    CXTPCommandBar* pTarget = m_pTarget;
    if (!pTarget)
        return nResult;
    m_pTarget = nullptr;
    DROPEFFECT nEffect = IsMove() ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    CPoint pt = ptScreen;
    CPoint ptStart = m_ptStart;
    pTarget->ScreenToClient(&pt);
    pTarget->ScreenToClient(&ptStart);
    pTarget->OnCustomizeDrop(m_pControl, nEffect, pt, ptStart);
    return nEffect;
}

BOOL CXTPCustomizeDropSource::OnDragMessage(const MSG& msg, DROPEFFECT& nResult, BOOL& bFirstMove)
{
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: {
        CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
        ::ClientToScreen(msg.hwnd, &pt);
        if (msg.message == WM_LBUTTONUP) {
            nResult = Drop(pt, nResult);
            return FALSE;
        }
        if (bFirstMove) {
            bFirstMove = FALSE;
            if (CXTPCommandBar* pBar = m_pControl->GetParent(); pBar && pBar->GetSafeHwnd()) {
                CPoint ptBar = pt;
                pBar->ScreenToClient(&ptBar);
                m_pControl->OnCustomizeDragOver(m_pControl, ptBar);
            }
        }
        m_bMove = (msg.wParam & MK_CONTROL) == 0;
        UpdateTarget(pt);
        nResult = DROPEFFECT_NONE;
        if (msg.wParam & MK_LBUTTON)
            return TRUE;
        nResult = Drop(pt, nResult);
        return FALSE;
    }
    case WM_RBUTTONDOWN:
    case WM_CANCELMODE:
        nResult = XTP_DROPEFFECT_CANCEL;
        return FALSE;
    case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) {
            nResult = XTP_DROPEFFECT_CANCEL;
            return FALSE;
        }
        if (msg.wParam == VK_CONTROL && m_bMove) {
            m_bMove = FALSE;
            UpdateCursor();
        }
        return TRUE;
    case WM_KEYUP:
        if (msg.wParam == VK_CONTROL && !m_bMove) {
            m_bMove = TRUE;
            UpdateCursor();
        }
        return TRUE;
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
        return TRUE;
    default:
        ::DispatchMessageW(&msg);
        return TRUE;
    }
}

DROPEFFECT CXTPCustomizeDropSource::DoDragDrop(CXTPControl* pControl, BOOL bCopyOnly)
{
    CWnd* pSite = m_pCommandBars->GetSite();
    m_hWndCapture = m_pSheet && m_pSheet->GetSafeHwnd() ? m_pSheet->m_hWnd : pSite ? pSite->GetSafeHwnd() : nullptr;
    if (!m_hWndCapture || !pControl)
        return XTP_DROPEFFECT_CANCEL;
    ::SetCapture(m_hWndCapture);
    m_pControl = pControl;
    m_bMove = FALSE;
    m_pTarget = nullptr;
    m_bCopyOnly = bCopyOnly;
    ::GetCursorPos(&m_ptStart);

    DROPEFFECT nResult = XTP_DROPEFFECT_CANCEL;
    BOOL bFirstMove = TRUE;
    for (;;) {
        // The capture taken away (another window, WM_CANCELMODE) ends the drag without a drop.
        if (::GetCapture() != m_hWndCapture) {
            nResult = XTP_DROPEFFECT_CANCEL;
            break;
        }
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            ::DispatchMessageW(&msg);
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            nResult = XTP_DROPEFFECT_CANCEL;
            break;
        }
        if (!OnDragMessage(msg, nResult, bFirstMove))
            break;
    }
    LeaveTarget();
    if (::GetCapture() == m_hWndCapture)
        ::ReleaseCapture();
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    m_pControl = nullptr;
    m_hWndCapture = nullptr;
    return nResult;
}
