#include "ui/commandbars/XTPStatusBar.h"

#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPStatusBarLayout.h"
#include "ui/persist/ImageManager.h"
#include "ui/themes/BarPainter.h"
#include "ui/themes/MemDC.h"

#include <commctrl.h>

#include <memory>

namespace
{
// The window styles every status bar gets: the frame places it, not the control.
const DWORD kFixedControlStyle = CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;

// The command-update state of one pane: enabling, checking and texts go to the pane.
class CXTPStatusCmdUI : public CCmdUI
{
public:
    explicit CXTPStatusCmdUI(CXTPStatusBar* pBar) : m_pBar(pBar) {}

    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        UINT nStyle = m_pBar->GetPaneStyle(static_cast<int>(m_nIndex));
        m_pBar->SetPaneStyle(static_cast<int>(m_nIndex), bOn ? nStyle & ~CXTPStatusBarPane::styleDisabled
                                                              : nStyle | CXTPStatusBarPane::styleDisabled);
    }
    void SetCheck(int nCheck) override
    {
        UINT nStyle = m_pBar->GetPaneStyle(static_cast<int>(m_nIndex));
        m_pBar->SetPaneStyle(static_cast<int>(m_nIndex), nCheck ? nStyle | CXTPStatusBarPane::stylePopout
                                                                : nStyle & ~CXTPStatusBarPane::stylePopout);
    }
    void SetText(LPCTSTR lpszText) override { m_pBar->SetPaneText(static_cast<int>(m_nIndex), lpszText, TRUE); }

private:
    CXTPStatusBar* m_pBar;
};
}

IMPLEMENT_DYNAMIC(CXTPStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CXTPStatusBar, CControlBar)
    ON_WM_CREATE()
    ON_MESSAGE(WM_NCHITTEST, &CXTPStatusBar::OnNcHitTest)
    ON_MESSAGE(WM_NCCALCSIZE, &CXTPStatusBar::OnNcCalcSize)
    ON_MESSAGE(WM_NCPAINT, &CXTPStatusBar::OnNcPaint)
    ON_MESSAGE(WM_SIZE, &CXTPStatusBar::OnSize)
    ON_MESSAGE(WM_WINDOWPOSCHANGING, &CXTPStatusBar::OnWindowPosChanging)
    ON_MESSAGE(WM_SETTEXT, &CXTPStatusBar::OnSetText)
    ON_MESSAGE(WM_GETTEXT, &CXTPStatusBar::OnGetText)
    ON_MESSAGE(WM_GETTEXTLENGTH, &CXTPStatusBar::OnGetTextLength)
    ON_MESSAGE(SB_SETMINHEIGHT, &CXTPStatusBar::OnSetMinHeight)
    ON_MESSAGE(WM_PAINT, &CXTPStatusBar::OnPaint)
    ON_MESSAGE(WM_ERASEBKGND, &CXTPStatusBar::OnEraseBkgnd)
END_MESSAGE_MAP()

CXTPStatusBar::CXTPStatusBar() : m_pToolTipContext(new CTipContext(this))
{
    m_cyTopBorder = 2;
    m_cxLeftBorder = m_cxRightBorder = m_cyBottomBorder = 0;

    NONCLIENTMETRICSW ncm = {};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    m_font.CreateFontIndirect(&ncm.lfStatusFont);
}

CXTPStatusBar::~CXTPStatusBar()
{
    RemoveAll();
    m_pToolTipContext->InternalRelease();
}

BOOL CXTPStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CXTPStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    DWORD dwWindowStyle = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | kFixedControlStyle;
    if (pParentWnd && (pParentWnd->GetStyle() & WS_THICKFRAME))
        dwWindowStyle |= SBARS_SIZEGRIP;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    return CWnd::Create(STATUSCLASSNAMEW, nullptr, dwWindowStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CXTPStatusBar::PreCreateWindow(CREATESTRUCT& cs)
{
    // A bottom bar with only the top border draws no border line of its own.
    if ((m_dwStyle & 0xFF00) == (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP))
        m_dwStyle &= ~(CBRS_BORDER_ANY | CBRS_BORDER_3D);
    return CControlBar::PreCreateWindow(cs);
}

LRESULT CXTPStatusBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_pToolTipContext->ToolHitTest(this, message, wParam, lParam);
    return CControlBar::WindowProc(message, wParam, lParam);
}

int CXTPStatusBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), 0);
    SendMessage(SB_SETMINHEIGHT, 20, 0);
    return 0;
}

// Panes

void CXTPStatusBar::SetupPane(CXTPStatusBarPane* pPane, UINT nID)
{
    pPane->m_pStatusBar = this;
    pPane->m_nID = nID;
    pPane->m_nFlags |= CXTPStatusBarPane::flagTextChanged;
}

BOOL CXTPStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    RemoveAll();
    BOOL bResult = TRUE;
    for (int i = 0; i < nIDCount; ++i)
    {
        auto* pPane = new CXTPStatusBarPane();
        m_arrPanes.push_back(pPane);
        SetupPane(pPane, lpIDArray[i]);
        if (lpIDArray[i] != 0)
        {
            if (!pPane->m_strText.LoadString(lpIDArray[i]))
            {
                bResult = FALSE;
                break;
            }
            pPane->m_cxText = pPane->BestFit();
        }
        else
        {
            pPane->m_cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
            if (i == 0)
                pPane->m_nStyle |= CXTPStatusBarPane::styleStretch | CXTPStatusBarPane::styleNoBorders;
        }
    }
    UpdateAllPanes(TRUE, TRUE);
    return bResult;
}

CXTPStatusBarPane* CXTPStatusBar::AddIndicator(UINT nID, int nIndex)
{
    if (nIndex < 0)
        nIndex = GetPaneCount();
    if (nIndex > GetPaneCount() || CommandToIndex(nID) != -1)
        return nullptr;
    // As SetIndicators: a pane whose text has no string is not made.
    CString strText;
    if (nID != 0 && !strText.LoadString(nID))
        return nullptr;
    auto* pPane = new CXTPStatusBarPane();
    m_arrPanes.insert(m_arrPanes.begin() + nIndex, pPane);
    SetupPane(pPane, nID);
    if (nID != 0)
    {
        pPane->m_strText = strText;
        pPane->m_cxText = pPane->BestFit();
    }
    else
        pPane->m_cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
    RenumberParts();
    return pPane;
}

BOOL CXTPStatusBar::RemoveIndicator(UINT nID)
{
    return RemoveAt(CommandToIndex(nID));
}

BOOL CXTPStatusBar::RemoveAt(int nIndex)
{
    CXTPStatusBarPane* pPane = GetPane(nIndex);
    if (!pPane)
        return FALSE;
    m_arrPanes.erase(m_arrPanes.begin() + nIndex);
    pPane->m_pStatusBar = nullptr;
    pPane->InternalRelease();
    RenumberParts();
    return TRUE;
}

void CXTPStatusBar::RenumberParts()
{
    // The control keeps texts by part: the panes after a change send theirs again.
    for (CXTPStatusBarPane* pPane : m_arrPanes)
        pPane->m_nFlags |= CXTPStatusBarPane::flagTextChanged;
    UpdateAllPanes(TRUE, TRUE);
}

void CXTPStatusBar::RemoveAll()
{
    std::vector<CXTPStatusBarPane*> arrPanes;
    arrPanes.swap(m_arrPanes);
    for (CXTPStatusBarPane* pPane : arrPanes)
    {
        pPane->m_pStatusBar = nullptr;
        pPane->InternalRelease();
    }
}

int CXTPStatusBar::GetVisiblePaneCount() const
{
    int nCount = 0;
    for (const CXTPStatusBarPane* pPane : m_arrPanes)
        nCount += pPane->m_bVisible ? 1 : 0;
    return nCount;
}

CXTPStatusBarPane* CXTPStatusBar::GetPane(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetPaneCount() ? m_arrPanes[static_cast<size_t>(nIndex)] : nullptr;
}

CXTPStatusBarPane* CXTPStatusBar::FindPane(UINT nID) const
{
    return GetPane(CommandToIndex(nID));
}

int CXTPStatusBar::CommandToIndex(UINT nID) const
{
    for (int i = 0; i < GetPaneCount(); ++i)
    {
        if (m_arrPanes[static_cast<size_t>(i)]->m_nID == nID)
            return i;
    }
    return -1;
}

UINT CXTPStatusBar::GetItemID(int nIndex) const
{
    CXTPStatusBarPane* pPane = GetPane(nIndex);
    return pPane ? pPane->m_nID : 0;
}

UINT CXTPStatusBar::GetPaneStyle(int nIndex) const
{
    CXTPStatusBarPane* pPane = GetPane(nIndex);
    return pPane ? pPane->m_nStyle : 0;
}

void CXTPStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    CXTPStatusBarPane* pPane = GetPane(nIndex);
    if (!pPane || pPane->m_nStyle == nStyle)
        return;
    BOOL bStretchChanged = ((pPane->m_nStyle ^ nStyle) & CXTPStatusBarPane::styleStretch) != 0;
    pPane->m_nStyle = nStyle;
    if (bStretchChanged)
        UpdateAllPanes(TRUE, FALSE);
    pPane->m_nFlags |= CXTPStatusBarPane::flagTextChanged;
    SetPaneText(nIndex, pPane->m_strText, TRUE);
}

void CXTPStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    CXTPStatusBarPane* pPane = GetPane(nIndex);
    nID = pPane ? pPane->m_nID : 0;
    nStyle = pPane ? pPane->m_nStyle : 0;
    cxWidth = pPane ? pPane->m_cxText : 0;
}

void CXTPStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    CXTPStatusBarPane* pPane = GetPane(nIndex);
    if (!pPane)
        return;
    pPane->m_nID = nID;
    BOOL bLayout = FALSE;
    if (pPane->m_nStyle != nStyle)
    {
        if ((pPane->m_nStyle ^ nStyle) & CXTPStatusBarPane::styleStretch)
            bLayout = TRUE;
        else
        {
            pPane->m_nStyle = nStyle;
            pPane->m_nFlags |= CXTPStatusBarPane::flagTextChanged;
            SetPaneText(nIndex, pPane->m_strText, TRUE);
        }
        pPane->m_nStyle = nStyle;
    }
    if (pPane->m_cxText != cxWidth)
    {
        pPane->m_cxText = cxWidth;
        bLayout = TRUE;
    }
    if (bLayout)
        UpdateAllPanes(TRUE, TRUE);
}

CString CXTPStatusBar::GetPaneText(int nIndex) const
{
    CXTPStatusBarPane* pPane = GetPane(nIndex);
    return pPane ? pPane->m_strText : CString();
}

BOOL CXTPStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate)
{
    CXTPStatusBarPane* pPane = GetPane(nIndex);
    if (!pPane)
        return FALSE;
    CString strNew = lpszNewText ? lpszNewText : L"";
    if (!(pPane->m_nFlags & CXTPStatusBarPane::flagTextChanged) && pPane->m_strText == strNew)
        return TRUE;
    pPane->m_strText = strNew;
    if (!pPane->m_bVisible)
        return FALSE;
    if (!bUpdate)
    {
        pPane->m_nFlags |= CXTPStatusBarPane::flagTextChanged;
        return TRUE;
    }
    pPane->m_nFlags &= ~CXTPStatusBarPane::flagTextChanged;
    if (m_hWnd)
    {
        BOOL bDisabled = (pPane->m_nStyle & CXTPStatusBarPane::styleDisabled) != 0;
        SendMessage(SB_SETTEXTW, static_cast<WPARAM>(pPane->m_nPart) | (pPane->m_nStyle & 0xFFFF),
                    reinterpret_cast<LPARAM>(bDisabled ? nullptr : pPane->m_strText.GetString()));
        Invalidate(FALSE);
    }
    return TRUE;
}

void CXTPStatusBar::SetPaneWidth(int nIndex, int cxText)
{
    CXTPStatusBarPane* pPane = GetPane(nIndex);
    if (!pPane)
        return;
    if (cxText < 1)
        cxText = pPane->BestFit();
    if (pPane->m_cxText != cxText)
    {
        pPane->m_cxText = cxText;
        UpdateAllPanes(TRUE, FALSE);
    }
}

BOOL CXTPStatusBar::SetPaneControl(HWND hWnd, UINT nID, BOOL bDestroyChild)
{
    CXTPStatusBarPane* pPane = FindPane(nID);
    if (!pPane)
        return FALSE;
    // A child the pane owns goes when another takes its place.
    if (pPane->m_bDestroyChild && pPane->m_hWndChild != hWnd)
        pPane->DestroyChild();
    pPane->m_hWndChild = hWnd;
    pPane->m_bDestroyChild = bDestroyChild;
    pPane->m_pChildWnd = bDestroyChild ? CWnd::FromHandlePermanent(hWnd) : nullptr;
    PlaceChildren();
    return TRUE;
}

// Layout

void CXTPStatusBar::GetBorders(int& cxBorder, int& cyBorder, int& cxGap) const
{
    int arrBorders[3] = {};
    ::SendMessageW(m_hWnd, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(arrBorders));
    cxBorder = arrBorders[0];
    cyBorder = arrBorders[1];
    cxGap = arrBorders[2];
}

void CXTPStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText)
{
    for (int i = 0; i < GetPaneCount(); ++i)
        m_arrPanes[static_cast<size_t>(i)]->m_nIndex = i;
    if (!m_hWnd)
        return;
    if (bUpdateRects)
    {
        CRect rcInside;
        GetClientRect(&rcInside);
        CalcInsideRect(rcInside, TRUE);
        int cxBorder, cyBorder, cxGap;
        GetBorders(cxBorder, cyBorder, cxGap);

        std::vector<XTP_STATUSBAR_PART> arrParts;
        for (int i = 0; i < GetPaneCount(); ++i)
        {
            CXTPStatusBarPane* pPane = m_arrPanes[static_cast<size_t>(i)];
            pPane->m_nPart = -1;
            if (!pPane->m_bVisible)
                continue;
            pPane->m_nPart = static_cast<int>(arrParts.size());
            arrParts.push_back({pPane->m_cxText, (pPane->m_nStyle & CXTPStatusBarPane::styleStretch) != 0});
        }
        std::vector<int> arrRights = CXTPStatusBarLayout::CalcPartEdges(arrParts, rcInside.Width(), cxBorder, cxGap);
        SendMessage(SB_SETPARTS, arrRights.size(), reinterpret_cast<LPARAM>(arrRights.data()));
        PlaceChildren();
    }
    if (bUpdateText)
    {
        for (int i = 0; i < GetPaneCount(); ++i)
        {
            CXTPStatusBarPane* pPane = m_arrPanes[static_cast<size_t>(i)];
            if (pPane->m_bVisible && (pPane->m_nFlags & CXTPStatusBarPane::flagTextChanged))
                SetPaneText(i, pPane->m_strText, TRUE);
        }
    }
}

void CXTPStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    ::SetRectEmpty(lpRect);
    CXTPStatusBarPane* pPane = GetPane(nIndex);
    if (!pPane || !pPane->m_bVisible || !m_hWnd)
        return;
    if (!::SendMessageW(m_hWnd, SB_GETRECT, static_cast<WPARAM>(pPane->m_nPart), reinterpret_cast<LPARAM>(lpRect)))
    {
        ::SetRectEmpty(lpRect);
        return;
    }
    if (pPane->m_nPart == GetVisiblePaneCount() - 1)
    {
        CRect rcClient;
        GetClientRect(&rcClient);
        XTP_STATUSBAR_PART part = {pPane->m_cxText, (pPane->m_nStyle & CXTPStatusBarPane::styleStretch) != 0};
        lpRect->right = CXTPStatusBarLayout::CalcLastPaneRight(lpRect->left, part, rcClient.right,
                                                              (GetStyle() & SBARS_SIZEGRIP) != 0);
    }
}

CXTPStatusBarPane* CXTPStatusBar::HitTest(CPoint pt, CRect* pRect) const
{
    for (int i = 0; i < GetPaneCount(); ++i)
    {
        if (!m_arrPanes[static_cast<size_t>(i)]->m_bVisible)
            continue;
        CRect rc;
        GetItemRect(i, &rc);
        if (rc.PtInRect(pt))
        {
            if (pRect)
                *pRect = rc;
            return m_arrPanes[static_cast<size_t>(i)];
        }
    }
    return nullptr;
}

void CXTPStatusBar::PlaceChildren()
{
    const int cxEdge = ::GetSystemMetrics(SM_CXEDGE);
    for (int i = 0; i < GetPaneCount(); ++i)
    {
        CXTPStatusBarPane* pPane = m_arrPanes[static_cast<size_t>(i)];
        if (!pPane->m_hWndChild || !::IsWindow(pPane->m_hWndChild))
            continue;
        CRect rc;
        GetItemRect(i, &rc);
        if (!(pPane->m_nStyle & CXTPStatusBarPane::styleNoBorders))
            rc.DeflateRect(cxEdge, cxEdge);
        ::MoveWindow(pPane->m_hWndChild, rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
    }
}

BOOL CXTPStatusBar::HasSizeGrip() const
{
    CWnd* pFrame = GetParentFrame();
    return (GetStyle() & SBARS_SIZEGRIP) && !(pFrame && pFrame->IsZoomed());
}

CSize CXTPStatusBar::CalcFixedLayout(BOOL /*bStretch*/, BOOL /*bHorz*/)
{
    int cyHeight = 0;
    if (m_hWnd)
    {
        CClientDC dc(nullptr);
        CFont* pOldFont = dc.SelectObject(&m_font);
        TEXTMETRICW tm = {};
        dc.GetTextMetrics(&tm);
        dc.SelectObject(pOldFont);
        int cxBorder, cyBorder, cxGap;
        GetBorders(cxBorder, cyBorder, cxGap);
        cyHeight = tm.tmHeight - tm.tmInternalLeading - 1 + 2 * (::GetSystemMetrics(SM_CYBORDER) + cyBorder) +
                   m_cyTopBorder + m_cyBottomBorder;
    }
    return CSize(32767, std::max(cyHeight, m_nMinHeight));
}

void CXTPStatusBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
    CControlBar::CalcInsideRect(rect, bHorz);
    if (HasSizeGrip())
    {
        int cxBorder, cyBorder, cxGap;
        GetBorders(cxBorder, cyBorder, cxGap);
        rect.right -= 2 * ::GetSystemMetrics(SM_CXBORDER) + cxBorder + ::GetSystemMetrics(SM_CXVSCROLL);
    }
}

void CXTPStatusBar::SetBarStyle(DWORD dwStyle)
{
    CControlBar::SetBarStyle(dwStyle);
}

// Painters

CXTPBarPainter* CXTPStatusBar::GetPaintManager() const
{
    if (!m_bUsePaintManager)
        return nullptr;
    return m_pCommandBars ? m_pCommandBars->GetPaintManager() : CXTPBarPainter::GetInstalled();
}

CXTPBarImages* CXTPStatusBar::GetImageManager() const
{
    return m_pCommandBars ? m_pCommandBars->GetImageManager() : XTPImageManager();
}

void CXTPStatusBar::DrawPane(CDC* pDC, int nIndex, CRect rcItem)
{
    if (CXTPStatusBarPane* pPane = GetPane(nIndex))
        pPane->Draw(pDC, rcItem);
}

void CXTPStatusBar::DrawGripper(CDC* pDC, CRect rcClient)
{
    if (CXTPBarPainter* pPainter = GetPaintManager())
        pPainter->DrawStatusBarGripper(pDC, rcClient);
}

// Command update

void CXTPStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CXTPStatusCmdUI state(this);
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetPaneCount());
    for (int i = 0; i < GetPaneCount(); ++i)
    {
        state.m_nID = m_arrPanes[static_cast<size_t>(i)]->m_nID;
        state.m_nIndex = static_cast<UINT>(i);
        // The bar's own handlers first; the frame's never disable a pane for want of a handler.
        if (!OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr))
            state.DoUpdate(pTarget, FALSE);
    }
    // Windows placed in panes follow the frame's handlers as dialog controls do.
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

INT_PTR CXTPStatusBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    INT_PTR nHit = CControlBar::OnToolHitTest(point, pTI);
    if (nHit != -1)
        return nHit;
    CRect rc;
    CXTPStatusBarPane* pPane = HitTest(point, &rc);
    if (!pPane || pPane->m_strToolTip.IsEmpty())
        return -1;
    if (pTI)
    {
        pTI->hwnd = m_hWnd;
        pTI->uId = pPane->m_nID;
        pTI->rect = rc;
        pTI->lpszText = _wcsdup(pPane->m_strToolTip);
    }
    return pPane->m_nID;
}

// Messages

LRESULT CXTPStatusBar::OnNcHitTest(WPARAM, LPARAM)
{
    LRESULT nHit = Default();
    return nHit == HTBOTTOMRIGHT ? HTBOTTOMRIGHT : HTCLIENT;
}

LRESULT CXTPStatusBar::OnNcCalcSize(WPARAM, LPARAM lParam)
{
    auto* pParams = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    CRect rc(pParams->rgrc[0]);
    CControlBar::CalcInsideRect(rc, TRUE);
    rc.top -= 2;
    pParams->rgrc[0] = rc;
    return 0;
}

LRESULT CXTPStatusBar::OnNcPaint(WPARAM, LPARAM)
{
    EraseNonClient();
    return 0;
}

LRESULT CXTPStatusBar::OnSize(WPARAM, LPARAM)
{
    Default();
    UpdateAllPanes(TRUE, FALSE);
    Invalidate(FALSE);
    return 0;
}

LRESULT CXTPStatusBar::OnWindowPosChanging(WPARAM, LPARAM)
{
    // The border bits must not change the control's own size handling.
    DWORD dwStyle = m_dwStyle;
    m_dwStyle &= ~CBRS_BORDER_ANY;
    LRESULT lResult = Default();
    m_dwStyle = dwStyle;
    return lResult;
}

LRESULT CXTPStatusBar::OnSetText(WPARAM, LPARAM lParam)
{
    int nIndex = CommandToIndex(0);
    BOOL bSet = nIndex != -1 && SetPaneText(nIndex, reinterpret_cast<LPCTSTR>(lParam), TRUE);
    return CXTPStatusBarLayout::AnswerSetText(bSet);
}

LRESULT CXTPStatusBar::OnGetText(WPARAM wParam, LPARAM lParam)
{
    CXTPStatusBarPane* pPane = FindPane(0);
    return CXTPStatusBarLayout::CopyText(pPane ? &pPane->m_strText : nullptr, reinterpret_cast<LPTSTR>(lParam),
                                         wParam);
}

LRESULT CXTPStatusBar::OnGetTextLength(WPARAM, LPARAM)
{
    CXTPStatusBarPane* pPane = FindPane(0);
    return CXTPStatusBarLayout::GetTextLength(pPane ? &pPane->m_strText : nullptr);
}

LRESULT CXTPStatusBar::OnSetMinHeight(WPARAM wParam, LPARAM)
{
    LRESULT lResult = Default();
    m_nMinHeight = static_cast<int>(wParam);
    return lResult;
}

LRESULT CXTPStatusBar::OnEraseBkgnd(WPARAM, LPARAM)
{
    return GetPaintManager() ? TRUE : Default();
}

LRESULT CXTPStatusBar::OnPaint(WPARAM, LPARAM)
{
    UpdateAllPanes(FALSE, TRUE);
    CXTPBarPainter* pPainter = GetPaintManager();
    if (!pPainter)
        return Default();

    CPaintDC dcPaint(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CXTMemDC dc(&dcPaint, rcClient, CColorGradient());
    pPainter->FillStatusBar(&dc, this);
    int nLastVisible = -1;
    for (int i = 0; i < GetPaneCount(); ++i)
        nLastVisible = m_arrPanes[static_cast<size_t>(i)]->m_bVisible ? i : nLastVisible;
    for (int i = 0; i < GetPaneCount(); ++i)
    {
        CXTPStatusBarPane* pPane = m_arrPanes[static_cast<size_t>(i)];
        if (!pPane->m_bVisible)
            continue;
        CRect rcItem;
        GetItemRect(i, &rcItem);
        if (!(pPane->m_nStyle & CXTPStatusBarPane::styleNoBorders))
            pPainter->DrawStatusBarPaneBorder(&dc, rcItem, pPane);
        DrawPane(&dc, i, rcItem);
    }
    CWnd* pFrame = GetParentFrame();
    if (pFrame && (pFrame->GetStyle() & WS_THICKFRAME) && (GetStyle() & SBARS_SIZEGRIP) && !pFrame->IsZoomed())
        DrawGripper(&dc, rcClient);
    return 0;
}

// Panes

IMPLEMENT_DYNAMIC(CXTPStatusBarPane, CCmdTarget)

CXTPStatusBarPane::~CXTPStatusBarPane()
{
    DestroyChild();
}

void CXTPStatusBarPane::DestroyChild()
{
    if (m_hWndChild && ::IsWindow(m_hWndChild))
    {
        if (CWnd* pWnd = CWnd::FromHandlePermanent(m_hWndChild))
            pWnd->DestroyWindow();
        else
            ::DestroyWindow(m_hWndChild);
    }
    if (m_bDestroyChild)
        delete m_pChildWnd;
    m_hWndChild = nullptr;
    m_pChildWnd = nullptr;
    m_bDestroyChild = FALSE;
}

CFont* CXTPStatusBarPane::GetFont()
{
    if (m_font.GetSafeHandle())
        return &m_font;
    return m_pStatusBar ? m_pStatusBar->GetFont() : nullptr;
}

CXTPBarIcon* CXTPStatusBarPane::GetImage() const
{
    if (m_nIconId == -1 || !m_pStatusBar)
        return nullptr;
    CXTPBarImages* pImages = m_pStatusBar->GetImageManager();
    return pImages ? pImages->GetIcon(static_cast<UINT>(m_nIconId), 0) : nullptr;
}

void CXTPStatusBarPane::Draw(CDC* pDC, CRect rcItem)
{
    if (CXTPBarPainter* pPainter = m_pStatusBar ? m_pStatusBar->GetPaintManager() : nullptr)
        pPainter->DrawStatusBarPane(pDC, rcItem, this);
}

void CXTPStatusBarPane::Invalidate()
{
    if (m_pStatusBar && m_pStatusBar->m_hWnd)
        m_pStatusBar->Invalidate(FALSE);
}

void CXTPStatusBarPane::SetText(LPCTSTR lpszText)
{
    if (m_pStatusBar)
        m_pStatusBar->SetPaneText(m_nIndex, lpszText, TRUE);
    else
        m_strText = lpszText;
}

void CXTPStatusBarPane::SetStyle(UINT nStyle)
{
    if (m_pStatusBar)
        m_pStatusBar->SetPaneStyle(m_nIndex, nStyle);
    else
        m_nStyle = nStyle;
}

void CXTPStatusBarPane::SetWidth(int nWidth)
{
    if (m_pStatusBar)
        m_pStatusBar->SetPaneWidth(m_nIndex, nWidth);
    else
        m_cxText = nWidth;
}

void CXTPStatusBarPane::SetVisible(BOOL bVisible)
{
    if (m_bVisible == bVisible)
        return;
    m_bVisible = bVisible;
    if (m_hWndChild && ::IsWindow(m_hWndChild))
        ::ShowWindow(m_hWndChild, bVisible ? SW_SHOW : SW_HIDE);
    if (m_pStatusBar)
        m_pStatusBar->RenumberParts();
}

void CXTPStatusBarPane::SetTextColor(COLORREF clr)
{
    m_clrText = clr;
    Invalidate();
}

void CXTPStatusBarPane::SetBackgroundColor(COLORREF clr)
{
    m_clrBackground = clr;
    Invalidate();
}

void CXTPStatusBarPane::SetTextAlignment(int nAlign)
{
    m_nAlignment = nAlign;
    Invalidate();
}

void CXTPStatusBarPane::SetFont(CFont* pFont)
{
    LOGFONT lf;
    if (pFont && pFont->GetLogFont(&lf))
        SetFontIndirect(&lf);
}

void CXTPStatusBarPane::SetFontIndirect(const LOGFONT* pLogFont)
{
    m_font.DeleteObject();
    m_font.CreateFontIndirect(pLogFont);
    Invalidate();
}

void CXTPStatusBarPane::SetIconId(int nIconId)
{
    if (m_nIconId == nIconId)
        return;
    m_nIconId = nIconId;
    if (m_pStatusBar)
        m_pStatusBar->UpdateAllPanes(TRUE, FALSE);
}

int CXTPStatusBarPane::BestFit()
{
    int nWidth = 0;
    {
        CClientDC dc(m_pStatusBar && m_pStatusBar->m_hWnd ? m_pStatusBar : nullptr);
        CFont* pFont = GetFont();
        CFont* pOldFont = pFont ? dc.SelectObject(pFont) : nullptr;
        nWidth = m_strText.IsEmpty() ? 0 : dc.GetTextExtent(m_strText).cx;
        if (pOldFont)
            dc.SelectObject(pOldFont);
    }
    if (CXTPBarIcon* pIcon = GetImage())
        nWidth += pIcon->GetExtent().cx + (nWidth >= 1 ? 2 : 0);
    return nWidth;
}

void CXTPStatusBarPane::Remove()
{
    if (m_pStatusBar)
        m_pStatusBar->RemoveAt(m_nIndex);
}
