#include "ui/themes/TipContext.h"

#include "ui/themes/ColorTable.h"
#include "ui/themes/DrawHelpers.h"
#include "ui/themes/InputSource.h"
#include "ui/themes/TipWnd.h"
#include "ui/themes/VisualStyleHandle.h"

#include "platform/mfc/afxcmn.h"
#include "platform/mfc/afxtooltip.h"

#include <cstdlib>

namespace
{
// The system tooltip, answering TTM_WINDOWFROMPOINT with the parent of a child window that answers it itself.
class CTipToolTipCtrl : public CWnd
{
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT lResult = CWnd::WindowProc(message, wParam, lParam);
        if (message == TTM_WINDOWFROMPOINT) {
            HWND hFound = reinterpret_cast<HWND>(lResult);
            if (hFound && (::GetWindowLongPtrW(hFound, GWL_STYLE) & WS_CHILD) &&
                ::SendMessageW(hFound, TTM_WINDOWFROMPOINT, 0, lParam))
                lResult = reinterpret_cast<LRESULT>(::GetParent(hFound));
        }
        return lResult;
    }
};
}

namespace
{
thread_local CTipContext* t_pInstalled = nullptr;

BOOL IsMouseButtonDown()
{
    return ::GetKeyState(VK_LBUTTON) < 0 || ::GetKeyState(VK_RBUTTON) < 0 || ::GetKeyState(VK_MBUTTON) < 0;
}

BOOL IsButtonDownMessage(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
        return TRUE;
    }
    return FALSE;
}

// The title of a hit tool, when it carries one.
const XTP_TOOLTIP_TITLE* GetToolTitle(const TTTOOLINFOW& info)
{
    return info.cbSize >= CTipContext::titledToolInfoSize
               ? reinterpret_cast<const XTP_TOOLTIP_TITLE*>(info.lParam)
               : nullptr;
}

// The texts handed over by a hit test belong to the caller: allocated with malloc, freed here.
void FreeToolText(TTTOOLINFOW& info)
{
    if (info.lpszText && info.lpszText != LPSTR_TEXTCALLBACKW && !IS_INTRESOURCE(info.lpszText))
        ::free(info.lpszText);
    info.lpszText = nullptr;
    if (const XTP_TOOLTIP_TITLE* pTitle = GetToolTitle(info)) {
        ::free(pTitle->lpszTitle);
        ::free(pTitle->lpszDescription);
        ::free(const_cast<XTP_TOOLTIP_TITLE*>(pTitle));
        info.lParam = 0;
    }
}
}

CTipContext::CTipContext(CWnd* pOwner)
    : m_pOwner(pOwner),
      m_lastTool(),
      m_dwComCtlVersion(CXTPVisualStyleLibrary::GetInstance().GetComCtlVersion()),
      m_nMaxTipWidth(::GetSystemMetrics(SM_CXSCREEN) / 2)
{
    AfxInitRichEdit2();
}

CTipContext::~CTipContext()
{
    if (t_pInstalled == this) {
        AfxSetToolTipFilter(nullptr);
        t_pInstalled = nullptr;
    }
}

void CTipContext::InstallFilter()
{
    t_pInstalled = this;
    AfxSetToolTipFilter(ThreadFilter);
}

void CTipContext::ThreadFilter(const MSG* pMsg)
{
    if (t_pInstalled)
        t_pInstalled->FilterToolTipMessage(pMsg, FALSE);
}

void CTipContext::ShowTipAtCursor()
{
    if (!m_pOwner || !::IsWindow(m_pOwner->m_hWnd))
        return;
    CPoint pt;
    CXTPInputSource::GetCursorPos(&pt);
    CPoint ptClient = pt;
    m_pOwner->ScreenToClient(&ptClient);
    MSG msg = {m_pOwner->m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(ptClient.x, ptClient.y), 0, pt};
    FilterToolTipMessage(&msg, TRUE);
}

LRESULT CTipContext::SendToTip(UINT message, WPARAM wParam, const void* pParam)
{
    CWnd* pTip = m_pTipWnd.get();
    return pTip && ::IsWindow(pTip->m_hWnd)
               ? pTip->SendMessage(message, wParam, reinterpret_cast<LPARAM>(pParam))
               : 0;
}

void CTipContext::RelayToTip(const MSG* pMsg)
{
    MSG msg = *pMsg;
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
        // The point in the client coordinates of the window the tip finds there.
        CPoint pt = msg.pt;
        HWND hAt = reinterpret_cast<HWND>(SendToTip(TTM_WINDOWFROMPOINT, 0, &pt));
        if (hAt) {
            ::ScreenToClient(hAt, &pt);
            msg.hwnd = hAt;
            msg.lParam = MAKELPARAM(pt.x, pt.y);
        }
    }
    SendToTip(TTM_RELAYEVENT, 0, &msg);
}

void CTipContext::FilterToolTipMessage(const MSG* pMsg, BOOL bOwnerCall)
{
    Filter(m_pOwner, pMsg, bOwnerCall);
}

void CTipContext::ToolHitTest(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD dwPos = ::GetMessagePos();
    MSG msg = {pWnd ? pWnd->GetSafeHwnd() : nullptr, message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()),
               {static_cast<short>(LOWORD(dwPos)), static_cast<short>(HIWORD(dwPos))}};
    Filter(pWnd, &msg, TRUE);
}

void CTipContext::Filter(CWnd* pOwner, const MSG* pMsg, BOOL bOwnerCall)
{
    if (!pOwner || !::IsWindow(pOwner->m_hWnd) || !pMsg)
        return;
    UINT message = pMsg->message;
    BOOL bMouse = message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE || message == WM_LBUTTONUP ||
                  message == WM_RBUTTONUP || message == WM_MBUTTONUP;
    BOOL bOwnWindow = pMsg->hwnd == pOwner->m_hWnd || ::IsChild(pOwner->m_hWnd, pMsg->hwnd);
    if (!bMouse || IsMouseButtonDown()) {
        if (bOwnWindow && ((message >= WM_KEYFIRST && message <= WM_KEYLAST) || IsButtonDownMessage(message)))
            SendToTip(TTM_ACTIVATE, FALSE);
        return;
    }
    if (!bOwnerCall) {
        // The first window up from the message's that enabled tooltips must be the owner.
        HWND hWnd = pMsg->hwnd;
        CWnd* pWnd = nullptr;
        for (; hWnd; hWnd = ::GetParent(hWnd)) {
            pWnd = CWnd::FromHandlePermanent(hWnd);
            if (pWnd && pWnd->IsToolTipsEnabled())
                break;
        }
        if (!hWnd || pWnd != pOwner)
            return;
    }
    CWnd* pTip = m_pTipWnd.get();
    if (pTip && pTip->IsWindowVisible() && !IsTopParentActive(pOwner->m_hWnd)) {
        SendToTip(TTM_ACTIVATE, FALSE);
        return;
    }
    CWnd* pParent = pOwner->GetTopLevelParent();
    if (pTip && ::GetParent(pTip->m_hWnd) != pParent->GetSafeHwnd()) {
        ReleaseTipWindow();
        m_lastTool = TTTOOLINFOW();
    }
    if (!m_pTipWnd) {
        if (!CreateTipWindow(pParent))
            return;
        SendToTip(TTM_ACTIVATE, FALSE);
        m_lastTool = TTTOOLINFOW();
    }

    CPoint pt;
    CXTPInputSource::GetCursorPos(&pt);
    pOwner->ScreenToClient(&pt);
    TTTOOLINFOW tool = {};
    tool.cbSize = m_bShowTitles ? titledToolInfoSize : TTTOOLINFOW_V1_SIZE;
    INT_PTR nHit = pOwner->OnToolHitTest(pt, &tool);
    BOOL bHasLast = m_lastTool.cbSize != 0;
    if (nHit == -1 && !bHasLast) {
        // No tool here and none before: the tip holds no tool, so it is inactive and has nothing to follow.
        FreeToolText(tool);
        return;
    }
    BOOL bSameTool = nHit != -1 && bHasLast && tool.hwnd == m_lastTool.hwnd && tool.uId == m_lastTool.uId;
    if (bSameTool && ::EqualRect(&tool.rect, &m_lastTool.rect)) {
        RelayToTip(pMsg);
        FreeToolText(tool);
        return;
    }
    // Only the rect changed: the old entry goes before the new one is added.
    if (bSameTool)
        SendToTip(TTM_DELTOOLW, 0, &m_lastTool);
    if (nHit != -1) {
        UINT uFlags = tool.uFlags;
        tool.uFlags &= 0x3FFFFFFF;
        // The title travels to the tip by its own message, not as the tool's data.
        TTTOOLINFOW added = tool;
        added.lParam = 0;
        SendToTip(TTM_ADDTOOLW, 0, &added);
        if (m_nTipKind != kindRichText && (IsComCtl580() || m_nTipKind != kindSystem)) {
            const XTP_TOOLTIP_TITLE* pTitle = m_bShowTitles ? GetToolTitle(tool) : nullptr;
            if (pTitle && pTitle->lpszTitle && pTitle->lpszDescription) {
                SendToTip(TTM_SETTITLEW, static_cast<WPARAM>(m_nTitleIcon), pTitle->lpszTitle);
                added.lpszText = pTitle->lpszDescription;
                SendToTip(TTM_UPDATETIPTEXTW, 0, &added);
            } else {
                SendToTip(TTM_SETTITLEW, 0, L"");
            }
        }
        if ((uFlags & 0x40000000) || IsTopParentActive(pOwner->m_hWnd)) {
            SendToTip(TTM_ACTIVATE, TRUE);
            m_pTipWnd->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    } else {
        SendToTip(TTM_ACTIVATE, FALSE);
    }
    RelayToTip(pMsg);
    if (bHasLast && !bSameTool)
        SendToTip(TTM_DELTOOLW, 0, &m_lastTool);
    FreeToolText(tool);
    m_lastTool = nHit != -1 ? tool : TTTOOLINFOW();
}

BOOL CTipContext::FillToolInfo(TOOLINFO* pTI, HWND hWnd, UINT_PTR nID, const RECT& rc, UINT uFlags,
                               LPCWSTR lpszText, LPCWSTR lpszTitle, LPCWSTR lpszDescription)
{
    if (!pTI || pTI->cbSize < TTTOOLINFOW_V1_SIZE)
        return FALSE;
    pTI->hwnd = hWnd;
    pTI->uId = nID;
    pTI->rect = rc;
    pTI->uFlags = uFlags;
    pTI->lpszText = _wcsdup(lpszText ? lpszText : L"");
    if (pTI->cbSize >= titledToolInfoSize && lpszTitle && lpszDescription) {
        auto* pTitle = static_cast<XTP_TOOLTIP_TITLE*>(::malloc(sizeof(XTP_TOOLTIP_TITLE)));
        if (pTitle) {
            pTitle->lpszTitle = _wcsdup(lpszTitle);
            pTitle->lpszDescription = _wcsdup(lpszDescription);
            pTI->lParam = reinterpret_cast<LPARAM>(pTitle);
        }
    }
    return TRUE;
}

void CTipContext::SetTitleIcon(BOOL bShowTitles, int nIcon)
{
    m_bShowTitles = bShowTitles;
    m_nTitleIcon = nIcon;
}

void CTipContext::ReleaseTipWindow()
{
    m_pTipWnd.reset();
    m_lastTool = TTTOOLINFOW();
}

void CTipContext::SetTipKind(int nKind)
{
    if (nKind == kindBalloon && !IsComCtl580())
        return;
    if (nKind == m_nTipKind)
        return;
    m_nTipKind = nKind;
    ReleaseTipWindow();
    if (nKind == kindPlain)
        m_dwStyle &= ~static_cast<DWORD>(styleThreeD | styleNoShadow);
    else if (nKind == kindRichText || nKind == kindGradient)
        m_dwStyle |= styleThreeD | styleNoShadow;
}

void CTipContext::ModifyStyle(DWORD dwRemove, DWORD dwAdd)
{
    DWORD dwStyle = (m_dwStyle | dwAdd) & ~dwRemove;
    if (dwStyle == m_dwStyle)
        return;
    m_dwStyle = dwStyle;
    ReleaseTipWindow();
}

void CTipContext::SetDelayTime(DWORD dwWhich, int nMilliseconds)
{
    if (dwWhich == TTDT_RESHOW)
        m_nDelayReshow = nMilliseconds;
    else if (dwWhich == TTDT_AUTOPOP)
        m_nDelayAutopop = nMilliseconds;
    else if (dwWhich == TTDT_INITIAL)
        m_nDelayInitial = nMilliseconds;
    ReleaseTipWindow();
}

void CTipContext::SetMargin(const CRect& rc)
{
    m_rcMargin = rc;
    ReleaseTipWindow();
}

void CTipContext::SetMaxTipWidth(int nWidth)
{
    m_nMaxTipWidth = nWidth;
    ReleaseTipWindow();
}

void CTipContext::SetBackColor(COLORREF clr)
{
    m_clrBack = clr;
    ReleaseTipWindow();
}

void CTipContext::SetTextColor(COLORREF clr)
{
    m_clrText = clr;
    ReleaseTipWindow();
}

COLORREF CTipContext::GetBackColor() const
{
    return m_clrBack != XTP_COLOR_NONE ? m_clrBack : GetColorTable()->GetColor(COLOR_INFOBK);
}

COLORREF CTipContext::GetTextColor() const
{
    return m_clrText != XTP_COLOR_NONE ? m_clrText : GetColorTable()->GetColor(COLOR_INFOTEXT);
}

CWnd* CTipContext::CreateTipWindow(CWnd* pParentWnd)
{
    ReleaseTipWindow();
    DWORD dwStyle = m_dwStyle | TTS_ALWAYSTIP;
    if (m_nTipKind == kindPlain || m_nTipKind == kindRichText || m_nTipKind == kindGradient) {
        std::unique_ptr<CTipWnd> pTip;
        if (m_nTipKind == kindGradient)
            pTip = std::make_unique<CGradientTipWnd>(this);
        else if (m_nTipKind == kindRichText)
            pTip = std::make_unique<CRichTipWnd>(this);
        else
            pTip = std::make_unique<CTipWnd>(this);
        if (!pTip->Create(pParentWnd, dwStyle))
            return nullptr;
        m_pTipWnd = std::move(pTip);
        return m_pTipWnd.get();
    }
    if (m_nTipKind == kindBalloon)
        dwStyle |= TTS_BALLOON;
    HWND hWnd = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, nullptr, nullptr, nullptr);
    if (!hWnd)
        return nullptr;
    auto pCtrl = std::make_unique<CTipToolTipCtrl>();
    pCtrl->SubclassWindow(hWnd);
    pCtrl->SendMessage(TTM_SETMAXTIPWIDTH, 0, m_nMaxTipWidth);
    pCtrl->SendMessage(TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(static_cast<LPRECT>(&m_rcMargin)));
    if (m_clrBack != XTP_COLOR_NONE)
        pCtrl->SendMessage(TTM_SETTIPBKCOLOR, m_clrBack);
    if (m_clrText != XTP_COLOR_NONE)
        pCtrl->SendMessage(TTM_SETTIPTEXTCOLOR, m_clrText);
    const std::pair<DWORD, int> delays[] = {{TTDT_RESHOW, m_nDelayReshow}, {TTDT_INITIAL, m_nDelayInitial},
                                            {TTDT_AUTOPOP, m_nDelayAutopop}};
    for (const auto& delay : delays) {
        if (delay.second >= 0)
            pCtrl->SendMessage(TTM_SETDELAYTIME, delay.first, MAKELPARAM(delay.second, 0));
    }
    pCtrl->SendMessage(TTM_ACTIVATE, FALSE);
    m_pTipWnd = std::move(pCtrl);
    return m_pTipWnd.get();
}
