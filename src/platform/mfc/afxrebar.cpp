#include "afxrebar.h"

#include "afxframe.h"

IMPLEMENT_DYNAMIC(CReBar, CControlBar)

BEGIN_MESSAGE_MAP(CReBar, CControlBar)
    ON_NOTIFY_REFLECT(RBN_HEIGHTCHANGE, &CReBar::OnHeightChange)
END_MESSAGE_MAP()

BOOL CReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&icc);
    m_dwStyle = dwStyle & CBRS_ALL;
    // The frame places the control: it neither sizes itself nor sticks to the parent's edge.
    DWORD dwWindowStyle = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    return CreateEx(0, REBARCLASSNAMEW, nullptr, dwWindowStyle, 0, 0, 0, 0, pParentWnd->GetSafeHwnd(),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}

BOOL CReBar::AddBar(CWnd* pBar, LPCTSTR pszText, DWORD dwStyle)
{
    CRect rc;
    pBar->GetWindowRect(&rc);
    REBARBANDINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | (pszText ? RBBIM_TEXT : 0);
    info.fStyle = dwStyle;
    info.hwndChild = pBar->GetSafeHwnd();
    info.cxMinChild = static_cast<UINT>(rc.Width());
    info.cyMinChild = static_cast<UINT>(rc.Height());
    info.cx = static_cast<UINT>(rc.Width());
    info.lpText = const_cast<LPWSTR>(pszText);
    return SendMessage(RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&info)) != 0;
}

CSize CReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
    int nHeight = static_cast<int>(SendMessage(RB_GETBARHEIGHT));
    if (bHorz)
        size.cy = nHeight;
    else
        size.cx = nHeight;
    return size;
}

void CReBar::OnHeightChange(NMHDR* /*pNMHDR*/, LRESULT* pResult)
{
    *pResult = 0;
    if (CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(GetParent()))
        pFrame->RecalcLayout();
}
