#include "TxBars.h"

#include "resource.h"
#include "util/MessageText.h"

#include <richedit.h>

namespace {

const struct
{
    UINT nTextID;
    DWORD dwEffect;
} kButtons[] = {
    {IDS_TX_BOLD, CFE_BOLD}, {IDS_TX_ITALIC, CFE_ITALIC}, {IDS_TX_UNDERLINE, CFE_UNDERLINE},
};
const UINT kFirstButton = 100;

} // namespace

BEGIN_MESSAGE_MAP(CTxBar, CWnd)
    ON_WM_PAINT()
    ON_COMMAND_RANGE(kFirstButton, kFirstButton + 2, &CTxBar::OnButton)
END_MESSAGE_MAP()

BOOL CTxBar::Create(CWnd* pParent, UINT nID, CTX4OLE* pControl)
{
    m_pControl = pControl;
    if (!CWnd::CreateEx(0, AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(nullptr, IDC_ARROW),
                                               ::GetSysColorBrush(COLOR_BTNFACE)),
                        nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 10, GetHeight()), pParent, nID))
        return FALSE;
    if (m_nKind == buttonBar) {
        for (int i = 0; i < 3; ++i) {
            m_buttons[i].Create(LoadResString(kButtons[i].nTextID), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                CRect(4 + i * 26, 2, 28 + i * 26, 24), this, kFirstButton + i);
            m_buttons[i].SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)));
        }
    }
    return TRUE;
}

int CTxBar::GetHeight() const
{
    return m_nKind == buttonBar ? 26 : m_nKind == ruler ? 18 : 20;
}

void CTxBar::Refresh()
{
    if (m_hWnd && m_nKind == statusBar)
        Invalidate();
}

void CTxBar::OnButton(UINT nID)
{
    if (m_pControl && m_pControl->GetSafeHwnd()) {
        m_pControl->ToggleSelectionEffect(kButtons[nID - kFirstButton].dwEffect);
        m_pControl->SetFocus();
    }
}

void CTxBar::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    ::SelectObject(dc.m_hDC, ::GetStockObject(DEFAULT_GUI_FONT));
    dc.SetBkMode(TRANSPARENT);
    if (m_nKind == ruler) {
        // One tick a centimetre of the page's text width, a number every centimetre, at the screen's scale.
        const CTextPageSetup& page = m_pControl->PageSetup();
        const int nTextWidth = page.nWidth - page.nMarginLeft - page.nMarginRight;
        const int nDpi = dc.GetDeviceCaps(LOGPIXELSX);
        CRect rcText(rc.left + 2, rc.top + 2, rc.left + 2 + MulDiv(nTextWidth, nDpi, 1440), rc.bottom - 2);
        dc.FillSolidRect(&rcText, ::GetSysColor(COLOR_WINDOW));
        for (int nCm = 0; nCm * 567 <= nTextWidth; ++nCm) {
            const int x = rcText.left + MulDiv(nCm * 567, nDpi, 1440);
            dc.MoveTo(x, rcText.bottom - 4);
            dc.LineTo(x, rcText.bottom);
            if (nCm > 0)
                dc.TextOut(x - 4, rcText.top, FormatString(L"%d", nCm));
        }
    }
    else if (m_nKind == statusBar) {
        dc.DrawEdge(&rc, BDR_SUNKENOUTER, BF_TOP);
        const CString text = FormatResMessage(IDS_TX_PAGE, m_pControl->GetCaretPage(), m_pControl->GetPageCount());
        dc.TextOut(6, 3, text);
    }
}
