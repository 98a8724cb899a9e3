#include "ui/commandbars/XTPStatusBarPaneWnd.h"

#include "platform/mfc/afxmodule.h"
#include "ui/themes/ColorTable.h"
#include "ui/themes/DrawHelpers.h"

IMPLEMENT_DYNCREATE(CXTPStatusBarPaneWnd, CWnd)

BEGIN_MESSAGE_MAP(CXTPStatusBarPaneWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CXTPStatusBarPaneWnd::Create(LPCTSTR lpszText, CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_strText = lpszText ? lpszText : L"";
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_BYTEALIGNCLIENT);
    return CreateEx(0, lpszClass, m_strText, dwStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

void CXTPStatusBarPaneWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    COffscreenDC dcBuffer(&dc, rc);
    dcBuffer.FillSolidRect(rc, GetColorTable()->GetColor(COLOR_3DFACE));
    DrawContent(&dcBuffer, rc);
}

BOOL CXTPStatusBarPaneWnd::OnEraseBkgnd(CDC* /*pDC*/)
{
    return TRUE;
}

// Text pane window

IMPLEMENT_DYNCREATE(CXTPStatusBarTextPaneWnd, CXTPStatusBarPaneWnd)

CXTPStatusBarTextPaneWnd::CXTPStatusBarTextPaneWnd()
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    metrics.lfStatusFont.lfWeight = FW_BOLD;
    m_font.CreateFontIndirect(&metrics.lfStatusFont);
}

BOOL CXTPStatusBarTextPaneWnd::Create(LPCTSTR lpszText, CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    if (!CXTPStatusBarPaneWnd::Create(lpszText, pParentWnd, dwStyle, nID))
        return FALSE;
    UpdateTextExtent();
    return TRUE;
}

void CXTPStatusBarTextPaneWnd::SetFont(LPCTSTR lpszFaceName, int nHeight, int nWeight, BOOL bItalic, BOOL bUnderline)
{
    LOGFONT lf = {};
    lf.lfHeight = nHeight;
    lf.lfWeight = nWeight;
    lf.lfItalic = static_cast<BYTE>(bItalic != FALSE);
    lf.lfUnderline = static_cast<BYTE>(bUnderline != FALSE);
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, lpszFaceName, LF_FACESIZE);
    SetFont(&lf);
}

void CXTPStatusBarTextPaneWnd::SetFont(const LOGFONT* pLogFont)
{
    m_font.DeleteObject();
    m_font.CreateFontIndirect(pLogFont);
    UpdateTextExtent();
    if (m_hWnd)
        Invalidate(FALSE);
}

void CXTPStatusBarTextPaneWnd::UpdateTextExtent()
{
    CWindowDC dc(nullptr);
    CFont* pOldFont = dc.SelectObject(&m_font);
    m_szText = dc.GetTextExtent(m_strText);
    dc.SelectObject(pOldFont);
}

void CXTPStatusBarTextPaneWnd::DrawContent(CDC* pDC, CRect rcClient)
{
    CFont* pOldFont = pDC->SelectObject(&m_font);
    pDC->SetTextColor(GetColorTable()->GetColor(COLOR_3DSHADOW));
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(m_strText, rcClient, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    pDC->SelectObject(pOldFont);
}

// Icon pane window

IMPLEMENT_DYNCREATE(CXTPStatusBarIconPaneWnd, CXTPStatusBarPaneWnd)

BEGIN_MESSAGE_MAP(CXTPStatusBarIconPaneWnd, CXTPStatusBarPaneWnd)
    ON_WM_ENABLE()
END_MESSAGE_MAP()

CXTPStatusBarIconPaneWnd::CXTPStatusBarIconPaneWnd()
    : m_cxIcon(::GetSystemMetrics(SM_CXSMICON)), m_cyIcon(::GetSystemMetrics(SM_CYSMICON))
{
}

CXTPStatusBarIconPaneWnd::~CXTPStatusBarIconPaneWnd()
{
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
}

BOOL CXTPStatusBarIconPaneWnd::SetIcon(LPCTSTR lpszResourceName)
{
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
    HINSTANCE hInstance = AfxFindResourceHandle(lpszResourceName, RT_GROUP_ICON);
    m_hIcon = static_cast<HICON>(::LoadImageW(hInstance, lpszResourceName, IMAGE_ICON, m_cxIcon, m_cyIcon, 0));
    if (m_hWnd)
        Invalidate(FALSE);
    return m_hIcon != nullptr;
}

void CXTPStatusBarIconPaneWnd::DrawContent(CDC* pDC, CRect rcClient)
{
    if (!m_hIcon)
        return;
    int x = rcClient.left + (rcClient.Width() - m_cxIcon) / 2;
    int y = rcClient.top + (rcClient.Height() - m_cyIcon) / 2;
    if (IsWindowEnabled()) {
        ::DrawStateW(pDC->GetSafeHdc(), nullptr, nullptr, reinterpret_cast<LPARAM>(m_hIcon), 0, x, y, m_cxIcon,
                     m_cyIcon, DST_ICON);
        return;
    }
    CBrush brush(GetColorTable()->GetColor(COLOR_3DSHADOW));
    ::DrawStateW(pDC->GetSafeHdc(), static_cast<HBRUSH>(brush.GetSafeHandle()), nullptr,
                 reinterpret_cast<LPARAM>(m_hIcon), 0, x, y, m_cxIcon, m_cyIcon, DST_ICON | DSS_MONO);
}

void CXTPStatusBarIconPaneWnd::OnEnable(BOOL /*bEnable*/)
{
    Invalidate();
    UpdateWindow();
}
