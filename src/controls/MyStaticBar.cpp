#include "controls/MyStaticBar.h"

#include <cwctype>

IMPLEMENT_DYNAMIC(CMyStaticBar, CStatic)

CMyStaticBar::CMyStaticBar()
{
    m_hMsimg32 = ::LoadLibraryW(L"msimg32.dll");
    if (m_hMsimg32)
        m_pfnGradientFill = reinterpret_cast<PFNGRADIENTFILL>(
            reinterpret_cast<void*>(::GetProcAddress(m_hMsimg32, "GradientFill")));
}

CMyStaticBar::~CMyStaticBar()
{
    if (m_hMsimg32)
        ::FreeLibrary(m_hMsimg32);
}

void CMyStaticBar::SetGradientColors(COLORREF clrStart, COLORREF clrEnd)
{
    m_clrStart = clrStart;
    m_clrEnd = clrEnd;
}

void CMyStaticBar::SetText(LPCTSTR lpszText)
{
    SetWindowText(lpszText);
    Invalidate();
    UpdateWindow();
}

CString CMyStaticBar::FormatText(const CString& strText, BOOL bUpperCase, BOOL bCapitalise)
{
    CString strResult = strText;
    if (bUpperCase) {
        strResult.MakeUpper();
        return strResult;
    }
    if (!bCapitalise)
        return strResult;
    for (int i = 0; i < strResult.GetLength(); i++) {
        const wchar_t ch = strResult[i];
        const BOOL bUpper = i == 0 || (i >= 2 && strResult[i - 1] == L' ');
        strResult.SetAt(i, static_cast<wchar_t>(bUpper ? std::towupper(ch) : std::towlower(ch)));
    }
    return strResult;
}

void CMyStaticBar::CreateOwnFont()
{
    CFont* pFont = GetFont();
    if (!pFont && GetParent())
        pFont = GetParent()->GetFont();
    LOGFONT logfont = {};
    if (!pFont || !pFont->GetLogFont(&logfont))
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(logfont), &logfont);
    logfont.lfWeight = FW_SEMIBOLD;
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&logfont);
}

void CMyStaticBar::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    ModifyStyle(SS_SUNKEN, 0);
    ModifyStyleEx(0, WS_EX_TRANSPARENT);
    CreateOwnFont();
}

int CMyStaticBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CStatic::OnCreate(lpCreateStruct) == -1)
        return -1;
    CreateOwnFont();
    return 0;
}

void CMyStaticBar::Paint(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    COLORREF clrText = ::GetSysColor(COLOR_BTNTEXT);
    if (m_pfnGradientFill) {
        TRIVERTEX vertices[2] = {};
        vertices[0].x = rc.left;
        vertices[0].y = rc.top;
        vertices[0].Red = static_cast<COLOR16>(GetRValue(m_clrStart) << 8);
        vertices[0].Green = static_cast<COLOR16>(GetGValue(m_clrStart) << 8);
        vertices[0].Blue = static_cast<COLOR16>(GetBValue(m_clrStart) << 8);
        vertices[1].x = rc.right;
        vertices[1].y = rc.bottom;
        vertices[1].Red = static_cast<COLOR16>(GetRValue(m_clrEnd) << 8);
        vertices[1].Green = static_cast<COLOR16>(GetGValue(m_clrEnd) << 8);
        vertices[1].Blue = static_cast<COLOR16>(GetBValue(m_clrEnd) << 8);
        GRADIENT_RECT mesh = {0, 1};
        m_pfnGradientFill(pDC->GetSafeHdc(), vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
        clrText = m_clrText;
    }
    CString strText;
    GetWindowText(strText);
    strText = FormatText(strText, m_bUpperCase, m_bCapitalise);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOld = pDC->SetTextColor(clrText);
    CFont* pOldFont = m_font.GetSafeHandle() ? pDC->SelectObject(&m_font) : nullptr;
    pDC->DrawText(strText, &rc, m_nFormat | DT_VCENTER | DT_SINGLELINE);
    if (pOldFont)
        pDC->SelectObject(pOldFont);
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nOldMode);
}

void CMyStaticBar::OnPaint()
{
    CPaintDC dc(this);
    Paint(&dc);
}

BOOL CMyStaticBar::OnEraseBkgnd(CDC* /*pDC*/)
{
    return TRUE;
}

BEGIN_MESSAGE_MAP(CMyStaticBar, CStatic)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()
