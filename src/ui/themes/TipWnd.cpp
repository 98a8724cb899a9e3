#include "ui/themes/TipWnd.h"

#include "ui/themes/ColorTable.h"
#include "ui/themes/DrawHelpers.h"
#include "ui/themes/InputSource.h"
#include "ui/themes/TipContext.h"
#include "ui/themes/VisualStyleHandle.h"

#include <richedit.h>

#include <string>

namespace
{
// The one tip window that holds the thread's mouse hook while its tip shows.
HHOOK g_hMouseHook = nullptr;
CTipWnd* g_pHookOwner = nullptr;

BOOL IsMouseMessage(UINT message)
{
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}
}

CTipWnd::~CTipWnd()
{
    if (g_pHookOwner == this) {
        ::UnhookWindowsHookEx(g_hMouseHook);
        g_hMouseHook = nullptr;
        g_pHookOwner = nullptr;
    }
}

BOOL CTipWnd::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    m_dwTipStyle = dwStyle;
    UINT nClassStyle = CS_SAVEBITS | CS_OWNDC;
    if (CXTPVisualStyleLibrary::GetInstance().GetComCtlVersion() >= MAKELONG(0, 6) &&
        !(dwStyle & CTipContext::styleNoShadow))
        nClassStyle |= CS_DROPSHADOW;
    LPCTSTR lpszClass = AfxRegisterWndClass(nClassStyle, ::LoadCursorW(nullptr, IDC_ARROW));
    NONCLIENTMETRICS ncm = {};
    if (GetNonClientMetrics(&ncm))
        m_font.CreateFontIndirect(&ncm.lfStatusFont);
    return CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, lpszClass, L"", WS_POPUP, 0, 0, 0, 0,
                    pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, nullptr);
}

// Tool list

void CTipWnd::SetText(XTP_TIP_TOOL& tool, LPCWSTR lpszText)
{
    tool.bCallback = lpszText == LPSTR_TEXTCALLBACKW;
    tool.strText = tool.bCallback || !lpszText ? L"" : lpszText;
}

XTP_TIP_TOOL* CTipWnd::FindTool(const TTTOOLINFOW* pInfo)
{
    if (!pInfo)
        return nullptr;
    for (const std::unique_ptr<XTP_TIP_TOOL>& pTool : m_tools) {
        if (pTool->nID == pInfo->uId && pTool->hWnd == pInfo->hwnd)
            return pTool.get();
    }
    return nullptr;
}

LRESULT CTipWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case TTM_ACTIVATE:
        m_bActive = static_cast<BOOL>(wParam);
        if (!m_bActive)
            ShowTool(nullptr);
        return 0;
    case TTM_ADDTOOLW: {
        const TTTOOLINFOW* pInfo = reinterpret_cast<const TTTOOLINFOW*>(lParam);
        if (!pInfo)
            return FALSE;
        auto pTool = std::make_unique<XTP_TIP_TOOL>();
        pTool->hWnd = pInfo->hwnd;
        pTool->uFlags = pInfo->uFlags;
        pTool->nID = pInfo->uId;
        pTool->rect = pInfo->rect;
        pTool->hInstance = pInfo->hinst;
        SetText(*pTool, pInfo->lpszText);
        m_tools.push_back(std::move(pTool));
        return TRUE;
    }
    case TTM_DELTOOLW: {
        XTP_TIP_TOOL* pTool = FindTool(reinterpret_cast<const TTTOOLINFOW*>(lParam));
        if (!pTool)
            return 0;
        if (pTool->IsSame(m_shown))
            ShowTool(nullptr);
        if (pTool->IsSame(m_clicked))
            m_clicked.Clear();
        if (pTool->IsSame(m_pending))
            m_pending.Clear();
        for (auto it = m_tools.begin(); it != m_tools.end(); ++it) {
            if (it->get() == pTool) {
                m_tools.erase(it);
                break;
            }
        }
        return 0;
    }
    case TTM_UPDATETIPTEXTW:
        if (XTP_TIP_TOOL* pTool = FindTool(reinterpret_cast<const TTTOOLINFOW*>(lParam)))
            SetText(*pTool, reinterpret_cast<const TTTOOLINFOW*>(lParam)->lpszText);
        return 0;
    case TTM_RELAYEVENT:
        RelayEvent(reinterpret_cast<const MSG*>(lParam));
        return 0;
    case TTM_SETTITLEW:
        m_strTitle = lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"";
        return TRUE;
    case TTM_WINDOWFROMPOINT:
        return reinterpret_cast<LRESULT>(::WindowFromPoint(*reinterpret_cast<const POINT*>(lParam)));
    case WM_PAINT: {
        CPaintDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        DrawBackground(&dc, rc);
        DrawContent(&dc, rc);
        return 0;
    }
    case WM_ERASEBKGND:
        return TRUE;
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_MOUSEMOVE:
        ShowTool(nullptr);
        return 0;
    case WM_TIMER:
        if (wParam == showTimerID) {
            KillTimer(showTimerID);
            XTP_TIP_TOOL* pTool = FindToolAtCursor();
            if (pTool && !m_pending.IsEmpty() && pTool->IsSame(m_pending))
                ShowTool(pTool);
            m_pending.Clear();
            return 0;
        }
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// Showing

XTP_TIP_TOOL* CTipWnd::FindToolAtCursor()
{
    if (::GetKeyState(VK_LBUTTON) < 0 || ::GetKeyState(VK_RBUTTON) < 0 || ::GetKeyState(VK_MBUTTON) < 0)
        return nullptr;
    CPoint pt;
    CXTPInputSource::GetCursorPos(&pt);
    for (const std::unique_ptr<XTP_TIP_TOOL>& pTool : m_tools) {
        if (pTool->uFlags & TTF_IDISHWND) {
            CRect rc;
            if (::GetWindowRect(reinterpret_cast<HWND>(pTool->nID), &rc) && rc.PtInRect(pt))
                return pTool.get();
            continue;
        }
        CRect rc = pTool->rect;
        ::MapWindowPoints(pTool->hWnd, nullptr, reinterpret_cast<LPPOINT>(&rc), 2);
        if (!rc.PtInRect(pt))
            continue;
        // A child that answers TTM_WINDOWFROMPOINT stands for its parent.
        HWND hAt = ::WindowFromPoint(pt);
        while (hAt && hAt != pTool->hWnd && ::IsChild(pTool->hWnd, hAt) &&
               ::SendMessageW(hAt, TTM_WINDOWFROMPOINT, 0, reinterpret_cast<LPARAM>(&pt)))
            hAt = ::GetParent(hAt);
        if (hAt == pTool->hWnd)
            return pTool.get();
    }
    return nullptr;
}

void CTipWnd::RelayEvent(const MSG* pMsg)
{
    if (!m_bActive || !pMsg || !IsMouseMessage(pMsg->message))
        return;
    XTP_TIP_TOOL* pTool = FindToolAtCursor();
    if (pMsg->message == WM_LBUTTONDOWN || pMsg->message == WM_NCLBUTTONDOWN) {
        if (pTool)
            m_clicked = *pTool;
        ShowTool(nullptr);
        return;
    }
    // A clicked tool shows no tip until another tool's tip has been shown.
    if (pTool && pTool->IsSame(m_clicked))
        pTool = nullptr;
    if (!m_pending.IsEmpty() && (!pTool || !pTool->IsSame(m_pending))) {
        KillTimer(showTimerID);
        m_pending.Clear();
    }
    if (!pTool) {
        ShowTool(nullptr);
        return;
    }
    if (pTool->IsSame(m_shown) || pTool->IsSame(m_pending))
        return;
    if (CXTPInputSource::GetTickCount() - m_dwLastShowHide < static_cast<DWORD>(reshowTime)) {
        ShowTool(pTool);
    } else {
        m_pending = *pTool;
        SetTimer(showTimerID, initialDelay);
    }
}

void CTipWnd::ShowTool(const XTP_TIP_TOOL* pTool)
{
    if (pTool && pTool->IsSame(m_shown))
        return;
    if (!pTool && m_shown.IsEmpty())
        return;
    CSize size;
    if (pTool) {
        m_shown = *pTool;
        CClientDC dc(this);
        size = CalcSize(&dc);
        if (size.cx <= 0 || size.cy <= 0)
            pTool = nullptr;
    }
    ShowWindow(SW_HIDE);
    if (pTool) {
        if (!pTool->IsSame(m_clicked))
            m_clicked.Clear();
        CPoint pt;
        CXTPInputSource::GetCursorPos(&pt);
        CRect rc(CPoint(pt.x, pt.y + offsetBelowCursor), size);
        // Near the screen's edge the tip moves back onto the work area.
        CRect rcWork;
        GetWorkArea(&rcWork, CRect(pt, CSize(1, 1)));
        if (rc.right > rcWork.right)
            rc.OffsetRect(rcWork.right - rc.right, 0);
        if (rc.bottom > rcWork.bottom)
            rc.OffsetRect(0, rcWork.bottom - rc.bottom);
        if (rc.left < rcWork.left)
            rc.OffsetRect(rcWork.left - rc.left, 0);
        if (rc.top < rcWork.top)
            rc.OffsetRect(0, rcWork.top - rc.top);
        SetWindowPos(&wndTopMost, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
        Invalidate(FALSE);
        if (!g_hMouseHook)
            g_hMouseHook = ::SetWindowsHookExW(WH_MOUSE, MouseHookProc, nullptr, ::GetCurrentThreadId());
        g_pHookOwner = this;
    } else {
        m_shown.Clear();
        if (g_pHookOwner == this) {
            ::UnhookWindowsHookEx(g_hMouseHook);
            g_hMouseHook = nullptr;
            g_pHookOwner = nullptr;
        }
    }
    m_dwLastShowHide = CXTPInputSource::GetTickCount();
}

LRESULT CALLBACK CTipWnd::MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    HHOOK hHook = g_hMouseHook;
    if (nCode >= 0 && g_pHookOwner) {
        const MOUSEHOOKSTRUCT* pInfo = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        if (pInfo->hwnd != g_pHookOwner->m_shown.hWnd) {
            // The mouse left the tool's window: relayed as a move, it hides the tip.
            MSG msg = {pInfo->hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(pInfo->pt.x, pInfo->pt.y), 0, pInfo->pt};
            g_pHookOwner->RelayEvent(&msg);
        }
    }
    return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}

// Size and drawing

CString CTipWnd::GetToolText(const XTP_TIP_TOOL& tool)
{
    CString strText = tool.strText;
    if (tool.bCallback) {
        NMTTDISPINFOW info = {};
        info.hdr.hwndFrom = m_hWnd;
        info.hdr.idFrom = tool.nID;
        info.hdr.code = TTN_NEEDTEXTW;
        info.uFlags = tool.uFlags;
        info.hinst = tool.hInstance;
        ::SendMessageW(::GetParent(m_hWnd), WM_NOTIFY, tool.nID, reinterpret_cast<LPARAM>(&info));
        if (info.lpszText && IS_INTRESOURCE(info.lpszText)) {
            WCHAR szBuffer[512] = {};
            ::LoadStringW(info.hinst, static_cast<UINT>(reinterpret_cast<UINT_PTR>(info.lpszText)), szBuffer,
                          static_cast<int>(std::size(szBuffer)));
            strText = szBuffer;
        } else if (info.lpszText && info.lpszText != LPSTR_TEXTCALLBACKW) {
            strText = info.lpszText;
        } else {
            strText = info.szText;
        }
    }
    if (!(m_dwTipStyle & TTS_NOPREFIX))
        StripAmpersands(strText);
    return strText;
}

CSize CTipWnd::CalcSize(CDC* pDC)
{
    CString strText = GetToolText(m_shown);
    if (strText.IsEmpty())
        return CSize(0, 0);
    CFontSelector font(pDC, &m_font);
    int nMaxWidth = m_pContext->GetMaxTipWidth();
    CRect rcText(0, 0, nMaxWidth > 0 ? nMaxWidth : 32767, 0);
    pDC->DrawText(strText, &rcText, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    CSize size = rcText.Size();
    if (!m_strTitle.IsEmpty()) {
        CRect rcTitle(0, 0, 0, 0);
        pDC->DrawText(m_strTitle, &rcTitle, DT_CALCRECT | DT_SINGLELINE);
        size.cy += rcTitle.Height() + 8;
        size.cx = std::max(size.cx, static_cast<LONG>(rcTitle.Width()));
    }
    CRect rcMargin = m_pContext->GetMargin();
    size.cx += rcMargin.left + rcMargin.right + 6;
    size.cy += rcMargin.top + rcMargin.bottom + 6;
    return size;
}

void CTipWnd::DrawBackground(CDC* pDC, CRect rc)
{
    pDC->FillSolidRect(rc, m_pContext->GetBackColor());
    if (m_dwTipStyle & CTipContext::styleThreeD)
        pDC->Draw3dRect(rc, ::GetSysColor(COLOR_BTNFACE), 0);
    else
        pDC->Draw3dRect(rc, 0, 0);
}

void CTipWnd::DrawContent(CDC* pDC, CRect rc)
{
    pDC->SetTextColor(m_pContext->GetTextColor());
    pDC->SetBkMode(TRANSPARENT);
    CFontSelector font(pDC, &m_font);
    CRect rcMargin = m_pContext->GetMargin();
    rc.DeflateRect(rcMargin.left + 3, rcMargin.top + 3, rcMargin.right + 3, rcMargin.bottom + 3);
    if (!m_strTitle.IsEmpty()) {
        CRect rcTitle = rc;
        pDC->DrawText(m_strTitle, &rcTitle, DT_SINGLELINE | DT_CALCRECT);
        pDC->DrawText(m_strTitle, &rcTitle, DT_SINGLELINE);
        pDC->FillSolidRect(rc.left, rcTitle.bottom + 4, rc.Width(), 1, 0);
        rc.top = rcTitle.bottom + 8;
    }
    pDC->DrawText(GetToolText(m_shown), &rc, DT_WORDBREAK | DT_NOPREFIX);
}

void CGradientTipWnd::DrawBackground(CDC* pDC, CRect rc)
{
    static const COLORREF frames[3] = {0x800000, 0x385D3F, 0x6F4B4B};
    int nScheme = GetColorScheme();
    if (nScheme >= CColorTable::schemeBlue && nScheme <= CColorTable::schemeSilver) {
        GetGradientPainter()->DrawGradient(pDC, &rc, 0x97D4FF, 0xC8F2FF, FALSE);
        pDC->Draw3dRect(rc, frames[nScheme - 1], frames[nScheme - 1]);
    } else {
        GetGradientPainter()->DrawGradient(pDC, &rc, m_pContext->GetBackColor(), 0xFFFFFF, FALSE);
        pDC->Draw3dRect(rc, 0, 0);
    }
}

// Rich-text tip

namespace
{
struct RICH_STREAM
{
    const BYTE* pData;
    LONG nSize;
    LONG nRead;
};

DWORD CALLBACK RichStreamIn(DWORD_PTR dwCookie, LPBYTE pBuffer, LONG nCount, LONG* pnRead)
{
    RICH_STREAM* pStream = reinterpret_cast<RICH_STREAM*>(dwCookie);
    LONG nLeft = pStream->nSize - pStream->nRead;
    *pnRead = std::min(nCount, nLeft);
    ::memcpy(pBuffer, pStream->pData + pStream->nRead, static_cast<size_t>(*pnRead));
    pStream->nRead += *pnRead;
    return 0;
}

// Right or centred paragraphs ("\qr", "\qc") need a little room beyond the measured width.
BOOL HasAlignedParagraph(const CString& strText)
{
    for (int nPos = strText.Find(L"\\q"); nPos >= 0; nPos = strText.Find(L"\\q", nPos + 2)) {
        WCHAR ch = nPos + 2 < strText.GetLength() ? strText[nPos + 2] : L'\0';
        if (ch == L'r' || ch == L'c')
            return TRUE;
    }
    return FALSE;
}
}

BOOL CRichTipWnd::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    if (!CTipWnd::Create(pParentWnd, dwStyle))
        return FALSE;
    m_hWndEdit = ::CreateWindowExW(0, L"RichEdit20W", L"", WS_CHILD | ES_MULTILINE | ES_READONLY, 0, 0, 0, 0,
                                   m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(richEditID)), nullptr,
                                   nullptr);
    if (m_hWndEdit)
        ::SendMessageW(m_hWndEdit, EM_SETEVENTMASK, 0, ENM_REQUESTRESIZE);
    return TRUE;
}

LRESULT CRichTipWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        const NMHDR* pHeader = reinterpret_cast<const NMHDR*>(lParam);
        if (pHeader && pHeader->code == EN_REQUESTRESIZE) {
            m_rcRequested = reinterpret_cast<const REQRESIZE*>(lParam)->rc;
            return 0;
        }
    }
    return CTipWnd::WindowProc(message, wParam, lParam);
}

BOOL CRichTipWnd::StreamIn(const CString& strText, int nFormat)
{
    // RTF is a byte stream: the text goes in as Windows-1252, its escapes carry anything else.
    std::string strBytes;
    const BYTE* pData = nullptr;
    LONG nSize = 0;
    if (nFormat == SF_RTF) {
        int nBytes = ::WideCharToMultiByte(1252, 0, strText, strText.GetLength(), nullptr, 0, nullptr, nullptr);
        strBytes.resize(static_cast<size_t>(nBytes));
        ::WideCharToMultiByte(1252, 0, strText, strText.GetLength(), &strBytes[0], nBytes, nullptr, nullptr);
        pData = reinterpret_cast<const BYTE*>(strBytes.data());
        nSize = nBytes;
    } else {
        nFormat |= SF_UNICODE;
        pData = reinterpret_cast<const BYTE*>(strText.GetString());
        nSize = strText.GetLength() * static_cast<LONG>(sizeof(WCHAR));
    }
    RICH_STREAM stream = {pData, nSize, 0};
    EDITSTREAM editStream = {reinterpret_cast<DWORD_PTR>(&stream), 0, RichStreamIn};
    ::SendMessageW(m_hWndEdit, EM_STREAMIN, static_cast<WPARAM>(nFormat), reinterpret_cast<LPARAM>(&editStream));
    return ::GetWindowTextLengthW(m_hWndEdit) > 0;
}

CSize CRichTipWnd::RequestSize(int nWidth)
{
    ::MoveWindow(m_hWndEdit, 0, 0, nWidth, 1, FALSE);
    m_rcRequested.SetRectEmpty();
    ::SendMessageW(m_hWndEdit, EM_REQUESTRESIZE, 0, 0);
    return m_rcRequested.Size();
}

CSize CRichTipWnd::CalcSize(CDC* /*pDC*/)
{
    CString strText = GetToolText(m_shown);
    if (strText.IsEmpty() || !m_hWndEdit)
        return CSize(0, 0);
    ::SendMessageW(m_hWndEdit, EM_SETBKGNDCOLOR, 0, m_pContext->GetBackColor());
    CHARFORMAT2W format = {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR;
    format.crTextColor = m_pContext->GetTextColor();
    ::SendMessageW(m_hWndEdit, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    ::SendMessageW(m_hWndEdit, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), FALSE);
    if (!StreamIn(strText, SF_RTF))
        StreamIn(strText, SF_TEXT);

    // The narrowest width that keeps the height of the widest layout.
    int nMaxWidth = m_pContext->GetMaxTipWidth();
    int nHigh = nMaxWidth < 0 ? ::GetSystemMetrics(SM_CXSCREEN) : 2 * nMaxWidth;
    int nLow = 0;
    int nHeight = RequestSize(nHigh).cy;
    while (nHigh - nLow > 1) {
        int nMiddle = (nLow + nHigh) / 2;
        if (RequestSize(nMiddle).cy > nHeight)
            nLow = nMiddle;
        else
            nHigh = nMiddle;
    }
    CSize size(nHigh + 2, nHeight + 2);
    CRect rcMargin = m_pContext->GetMargin();
    size.cx += rcMargin.left + rcMargin.right + 4;
    size.cy += rcMargin.top + rcMargin.bottom + 2;
    if (HasAlignedParagraph(strText))
        size.cx += 5;
    ::MoveWindow(m_hWndEdit, 0, 0, size.cx, size.cy, FALSE);
    return size;
}

void CRichTipWnd::DrawContent(CDC* pDC, CRect rc)
{
    if (!m_hWndEdit)
        return;
    CRect rcMargin = m_pContext->GetMargin();
    rc.DeflateRect(rcMargin.left + 3, rcMargin.top + 2, 1, 1);
    int nPixelsX = pDC->GetDeviceCaps(LOGPIXELSX);
    int nPixelsY = pDC->GetDeviceCaps(LOGPIXELSY);
    FORMATRANGE range = {};
    range.hdc = range.hdcTarget = pDC->GetSafeHdc();
    range.rc = CRect(::MulDiv(rc.left, 1440, nPixelsX), ::MulDiv(rc.top, 1440, nPixelsY),
                     ::MulDiv(rc.right, 1440, nPixelsX), ::MulDiv(rc.bottom, 1440, nPixelsY));
    range.rcPage = range.rc;
    range.chrg.cpMin = 0;
    range.chrg.cpMax = -1;
    ::SendMessageW(m_hWndEdit, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    ::SendMessageW(m_hWndEdit, EM_FORMATRANGE, FALSE, 0);
}
