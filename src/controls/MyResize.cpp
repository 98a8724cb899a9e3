#include "controls/MyResize.h"

#include <algorithm>
#include <cmath>

void CMyResize::SetWnd(CWnd* pWnd)
{
    m_pWnd = pWnd;
    m_bInitialised = FALSE;
}

CRect CMyResize::ControlRect(HWND hControl) const
{
    CRect rc;
    ::GetWindowRect(hControl, &rc);
    ::MapWindowPoints(nullptr, m_pWnd->GetSafeHwnd(), reinterpret_cast<LPPOINT>(&rc), 2);
    return rc;
}

void CMyResize::AddControl(UINT nID, double dLeft, double dTop, double dRight, double dBottom, BOOL bDeferred)
{
    const double fractions[4] = {dLeft, dTop, dRight, dBottom};
    auto it = std::find_if(m_records.begin(), m_records.end(), [nID](const CONTROL_RECORD& r) { return r.nID == nID; });
    if (it == m_records.end()) {
        HWND hControl = m_pWnd ? ::GetDlgItem(m_pWnd->GetSafeHwnd(), static_cast<int>(nID)) : nullptr;
        if (!hControl)
            return;
        CONTROL_RECORD record = {};
        record.nID = nID;
        record.rcInitial = ControlRect(hControl);
        record.rcLast = record.rcInitial;
        m_records.push_back(record);
        it = m_records.end() - 1;
    }
    it->bDeferred = bDeferred;
    for (int i = 0; i < 4; i++) {
        it->dFraction[i] = fractions[i];
        it->bUsed[i] = fractions[i] != 0;
    }
}

void CMyResize::Resize()
{
    if (!m_pWnd || !::IsWindow(m_pWnd->GetSafeHwnd()))
        return;
    HWND hWnd = m_pWnd->GetSafeHwnd();
    CRect rcClient;
    ::GetClientRect(hWnd, &rcClient);
    // Client size against client size: the window's outer size would count its frame as growth.
    if (!m_bInitialised || m_records.empty()) {
        m_rcInitialClient = rcClient;
        m_bInitialised = TRUE;
        return;
    }
    const int dx = std::max(0, static_cast<int>(rcClient.Width() - m_rcInitialClient.Width()));
    const int dy = std::max(0, static_cast<int>(rcClient.Height() - m_rcInitialClient.Height()));

    HDWP hDWP = ::BeginDeferWindowPos(static_cast<int>(m_records.size()));
    for (CONTROL_RECORD& record : m_records) {
        HWND hControl = ::GetDlgItem(hWnd, static_cast<int>(record.nID));
        if (!hControl)
            continue;
        const CRect rcCurrent = ControlRect(hControl);
        const int initial[4] = {record.rcInitial.left, record.rcInitial.top, record.rcInitial.right, record.rcInitial.bottom};
        const int current[4] = {rcCurrent.left, rcCurrent.top, rcCurrent.right, rcCurrent.bottom};
        const int delta[4] = {dx, dy, dx, dy};
        int edges[4];
        for (int i = 0; i < 4; i++)
            edges[i] = record.bUsed[i] ? initial[i] + static_cast<int>(std::floor(delta[i] * record.dFraction[i])) : current[i];
        const CRect rc(edges[0], edges[1], edges[2], edges[3]);
        record.rcLast = rc;
        if (record.bDeferred && hDWP)
            hDWP = ::DeferWindowPos(hDWP, hControl, nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                                    SWP_NOZORDER | SWP_NOACTIVATE);
        else
            ::MoveWindow(hControl, rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
    }
    if (hDWP)
        ::EndDeferWindowPos(hDWP);
}
