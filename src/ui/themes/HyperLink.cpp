#include "ui/themes/HyperLink.h"

#include "platform/mfc/afxmsgbox.h"
#include "platform/mfc/afxshell.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/themes/DrawHelpers.h"
#include "ui/themes/MemDC.h"
#include "ui/uires.h"

IMPLEMENT_DYNAMIC(CXTHyperLink, CStatic)

CXTHyperLink::CXTHyperLink()
{
    m_hcurHand = ::LoadCursorW(nullptr, IDC_HAND);
    if (!m_hcurHand)
        m_hcurHand = XTPGetResourceLoader()->LoadCursor(XTP_IDC_HAND);
}

CXTHyperLink::~CXTHyperLink() = default;

BOOL CXTHyperLink::PreCreateWindow(CREATESTRUCT& cs)
{
    // OnCreate initialises the link of a window made here.
    m_bInitOnSubclass = FALSE;
    return CStatic::PreCreateWindow(cs);
}

void CXTHyperLink::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    if (m_bInitOnSubclass)
        InitLink();
}

int CXTHyperLink::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CStatic::OnCreate(lpCreateStruct) == -1)
        return -1;
    InitLink();
    return 0;
}

void CXTHyperLink::InitLink()
{
    if (!::IsWindow(m_hWnd))
        return;
    if (IsTextControl()) {
        CString strTarget = m_strTarget;
        if (strTarget.IsEmpty())
            GetWindowText(strTarget);
        SetTarget(strTarget);
    }
    ModifyStyle(0, SS_NOTIFY);
    UpdateFont();
}

void CXTHyperLink::CreateLinkFont(CFont& font, BOOL bUnderline)
{
    LOGFONT logfont = {};
    HFONT hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (!hFont || !::GetObjectW(hFont, sizeof(logfont), &logfont)) {
        NONCLIENTMETRICS metrics = {};
        GetNonClientMetrics(&metrics);
        logfont = metrics.lfStatusFont;
    }
    logfont.lfUnderline = static_cast<BYTE>(bUnderline ? TRUE : FALSE);
    // The control holds the old font until the new one is set: keep it alive until then.
    CFont fontOld;
    fontOld.Attach(font.Detach());
    font.CreateFontIndirect(&logfont);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.GetSafeHandle()), TRUE);
}

void CXTHyperLink::UpdateFont()
{
    if (!::IsWindow(m_hWnd))
        return;
    CreateLinkFont(m_fontLink, m_bUnderline);
    Redraw();
}

void CXTHyperLink::SetTarget(LPCTSTR lpszTarget)
{
    m_strTarget = lpszTarget;
    if (m_strTipText.IsEmpty())
        m_strTipText = m_strTarget;
    if (!::IsWindow(m_hWnd) || m_strTipText.IsEmpty())
        return;
    if (!m_toolTip.GetSafeHwnd()) {
        if (m_toolTip.Create(this)) {
            m_toolTip.AddTool(this, m_strTipText);
            m_toolTip.Activate(m_bTooltipActive);
        }
    } else {
        m_toolTip.UpdateTipText(m_strTarget, this);
    }
}

void CXTHyperLink::SetTipText(LPCTSTR lpszTipText)
{
    m_strTipText = lpszTipText;
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.UpdateTipText(m_strTipText, this);
}

void CXTHyperLink::EnableTooltip(BOOL bEnable)
{
    m_bTooltipActive = bEnable;
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.Activate(bEnable);
}

void CXTHyperLink::SetColors(COLORREF clrLink, COLORREF clrVisited, COLORREF clrHover)
{
    m_clrLink = clrLink;
    m_clrVisited = clrVisited;
    m_clrHover = clrHover;
    if (::IsWindow(m_hWnd))
        Redraw();
}

void CXTHyperLink::SetVisited(BOOL bVisited)
{
    m_bVisited = bVisited;
    if (::IsWindow(m_hWnd))
        Redraw();
}

void CXTHyperLink::SetUnderline(BOOL bUnderline)
{
    m_bUnderline = bUnderline;
    UpdateFont();
}

void CXTHyperLink::SetBackColor(COLORREF clrBack)
{
    m_clrBack = clrBack;
    if (::IsWindow(m_hWnd))
        Redraw();
}

COLORREF CXTHyperLink::GetBackColor() const
{
    return m_clrBack == XTP_COLOR_NONE ? GetStandardColor(COLOR_3DFACE) : m_clrBack;
}

COLORREF CXTHyperLink::GetTextColor() const
{
    return m_bHover ? m_clrHover : m_bVisited ? m_clrVisited : m_clrLink;
}

BOOL CXTHyperLink::GotoTarget(LPCTSTR lpszTarget, int nShowCmd)
{
    const INT_PTR nResult = AfxShellOpen(m_hWnd, lpszTarget ? lpszTarget : static_cast<LPCTSTR>(m_strTarget), nShowCmd);
    if (nResult > 32)
        return TRUE;
    ReportError(nResult);
    return FALSE;
}

void CXTHyperLink::ReportError(INT_PTR nError)
{
    struct SHELL_ERROR_TEXT
    {
        INT_PTR nError;
        UINT nID;
    };
    static const SHELL_ERROR_TEXT texts[] = {
        {0, XTP_IDS_SE_0},
        {SE_ERR_FNF, XTP_IDS_SE_ERR_FNF},
        {SE_ERR_PNF, XTP_IDS_SE_ERR_PNF},
        {SE_ERR_ACCESSDENIED, XTP_IDS_SE_ERR_ACCESSDENIED},
        {SE_ERR_OOM, XTP_IDS_SE_ERR_OOM},
        {ERROR_BAD_FORMAT, XTP_IDS_SE_ERR_BAD_FORMAT},
        {SE_ERR_SHARE, XTP_IDS_SE_ERR_SHARE},
        {SE_ERR_ASSOCINCOMPLETE, XTP_IDS_SE_ERR_ASSOCINCOMPLETE},
        {SE_ERR_DDETIMEOUT, XTP_IDS_SE_ERR_DDETIMEOUT},
        {SE_ERR_DDEFAIL, XTP_IDS_SE_ERR_DDEFAIL},
        {SE_ERR_DDEBUSY, XTP_IDS_SE_ERR_DDEBUSY},
        {SE_ERR_NOASSOC, XTP_IDS_SE_ERR_NOASSOC},
        {SE_ERR_DLLNOTFOUND, XTP_IDS_SE_ERR_DLLNOTFOUND},
    };
    CString strText;
    UINT nID = XTP_IDS_SE_ERR_UNKOWN;
    for (const SHELL_ERROR_TEXT& entry : texts) {
        if (entry.nError == nError)
            nID = entry.nID;
    }
    XTPGetResourceLoader()->LoadString(&strText, nID);
    if (nID == XTP_IDS_SE_ERR_UNKOWN) {
        CString strFormat = strText;
        strText.Format(strFormat, static_cast<int>(nError));
    }
    ::MessageBeep(MB_ICONEXCLAMATION);
    AfxMessageBox(strText, MB_ICONEXCLAMATION);
}

BOOL CXTHyperLink::IsTextControl() const
{
    return (GetStyle() & 0xFF) < SS_ICON;
}

CRect CXTHyperLink::GetLinkRect() const
{
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    if (!IsTextControl())
        return rcWindow;
    CString strText;
    GetWindowText(strText);
    CClientDC dc(const_cast<CXTHyperLink*>(this));
    CFont* pFont = GetFont();
    CFont* pOldFont = dc.SelectObject(pFont ? pFont : CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))));
    const CSize szText = dc.GetTextExtent(strText);
    dc.SelectObject(pOldFont);

    CRect rcLink(rcWindow.left, rcWindow.top, rcWindow.left + szText.cx, rcWindow.top + szText.cy);
    switch (GetStyle() & 0xFF) {
    case SS_CENTER:
        rcLink.OffsetRect((rcWindow.Width() - szText.cx) / 2, 0);
        break;
    case SS_RIGHT:
        rcLink.OffsetRect(rcWindow.Width() - szText.cx, 0);
        break;
    }
    return rcLink;
}

BOOL CXTHyperLink::IsCursorOverLink() const
{
    CPoint pt;
    ::GetCursorPos(&pt);
    return GetLinkRect().PtInRect(pt);
}

BOOL CXTHyperLink::PreTranslateMessage(MSG* pMsg)
{
    if (m_toolTip.GetSafeHwnd() && m_bTooltipActive && pMsg->message >= WM_MOUSEFIRST
        && pMsg->message <= WM_MOUSELAST)
        m_toolTip.RelayEvent(pMsg);
    return CStatic::PreTranslateMessage(pMsg);
}

BOOL CXTHyperLink::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_hcurHand && IsCursorOverLink()) {
        ::SetCursor(m_hcurHand);
        return TRUE;
    }
    return CStatic::OnSetCursor(pWnd, nHitTest, message);
}

LRESULT CXTHyperLink::OnNcHitTest(CPoint /*point*/)
{
    // A static is transparent to the mouse by default.
    return HTCLIENT;
}

void CXTHyperLink::OnMouseMove(UINT nFlags, CPoint point)
{
    CStatic::OnMouseMove(nFlags, point);
    if (IsTextControl() && IsCursorOverLink())
        SetTimer(hoverTimerID, hoverTimerElapse);
}

void CXTHyperLink::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != hoverTimerID || !IsTextControl()) {
        CStatic::OnTimer(nIDEvent);
        return;
    }
    if (IsCursorOverLink()) {
        m_bHover = TRUE;
    } else {
        KillTimer(hoverTimerID);
        m_bHover = FALSE;
    }
    Redraw();
}

BOOL CXTHyperLink::OnEraseBkgnd(CDC* /*pDC*/)
{
    return TRUE;
}

void CXTHyperLink::OnPaint()
{
    if (GetExStyle() & WS_EX_TRANSPARENT) {
        Default();
        return;
    }
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CXTMemDC memDC(&dc, rcClient, CColorGradient(GetBackColor()));
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.GetSafeHdc()), 0);
}

void CXTHyperLink::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    CStatic::OnWindowPosChanged(lpwndpos);
    Redraw();
}

HBRUSH CXTHyperLink::CtlColor(CDC* pDC, UINT /*nCtlColor*/)
{
    if (!IsTextControl())
        return nullptr;
    pDC->SetTextColor(GetTextColor());
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL CXTHyperLink::OnClicked()
{
    if (IsCursorOverLink()) {
        if (m_bNavigate)
            m_bVisited = GotoTarget(nullptr, SW_SHOW);
        else
            m_bVisited = TRUE;
    }
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.Pop();
    if (::IsWindow(m_hWnd))
        Redraw();
    // The parent hears of a click on a text link as well.
    return !IsTextControl();
}

BEGIN_MESSAGE_MAP(CXTHyperLink, CStatic)
    ON_WM_CREATE()
    ON_WM_SETCURSOR()
    ON_WM_NCHITTEST()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_CTLCOLOR_REFLECT()
    ON_CONTROL_REFLECT_EX(STN_CLICKED, &CXTHyperLink::OnClicked)
END_MESSAGE_MAP()
