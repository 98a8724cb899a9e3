#include "ui/themes/TipContext.h"

#include "ui/themes/ColorTable.h"
#include "ui/themes/TipWnd.h"
#include "ui/themes/VisualStyleHandle.h"

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

CTipContext::CTipContext()
    : m_dwComCtlVersion(CXTPVisualStyleLibrary::GetInstance().GetComCtlVersion()),
      m_nMaxTipWidth(::GetSystemMetrics(SM_CXSCREEN) / 2)
{
}

CTipContext::~CTipContext() = default;

void CTipContext::ReleaseTipWindow()
{
    m_pTipWnd.reset();
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
        std::unique_ptr<CTipWnd> pTip(m_nTipKind == kindGradient ? new CGradientTipWnd(this) : new CTipWnd(this));
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
