#include "ui/commandbars/XTPReBar.h"

#include "platform/mfc/afxapp.h"
#include "ui/commandbars/XTPDockBar.h"
#include "ui/commandbars/XTPReBarState.h"
#include "ui/commandbars/XTPToolBar.h"

IMPLEMENT_DYNAMIC(CXTPReBar, CReBar)

BEGIN_MESSAGE_MAP(CXTPReBar, CReBar)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    // A band whose child changed size changes the bar's height as well: the frame lays out again.
    ON_NOTIFY_REFLECT(RBN_CHILDSIZE, &CXTPReBar::OnHeightChange)
END_MESSAGE_MAP()

namespace
{
const int nUnlimited = 32000;
// A toolbar in a band may give up buttons to the band's width.
const DWORD dwLayoutMayShrink = 0x80;

REBARBANDINFOW BandInfo(UINT fMask)
{
    REBARBANDINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = fMask;
    return info;
}
}

BOOL CXTPReBar::AddToolBar(CXTPToolBar* pToolBar, DWORD dwStyle)
{
    CSize size = pToolBar->CalcDockingLayout(nUnlimited, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
    pToolBar->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    if (CXTPDockBar* pDockBar = pToolBar->GetDockBar())
        pDockBar->RemoveCommandBar(pToolBar, -1);
    pToolBar->EnableDocking(0);
    pToolBar->SetBarStyle(pToolBar->GetBarStyle() & ~static_cast<DWORD>(CBRS_GRIPPER));
    if (!AddBar(pToolBar, nullptr, dwStyle))
        return FALSE;
    REBARBANDINFOW info = BandInfo(RBBIM_ID);
    info.wID = pToolBar->GetBarID();
    SendMessage(RB_SETBANDINFOW, static_cast<WPARAM>(GetBandCount() - 1), reinterpret_cast<LPARAM>(&info));
    return TRUE;
}

void CXTPReBar::DeleteToolBar(CXTPToolBar* pToolBar)
{
    int nBand = FindBand(pToolBar);
    if (nBand != -1)
        SendMessage(RB_DELETEBAND, static_cast<WPARAM>(nBand));
}

int CXTPReBar::FindBand(CXTPToolBar* pToolBar) const
{
    for (int nBand = GetBandCount() - 1; nBand >= 0; --nBand)
        if (GetToolBar(nBand) == pToolBar)
            return nBand;
    return -1;
}

CXTPToolBar* CXTPReBar::GetToolBar(int nBand) const
{
    REBARBANDINFOW info = BandInfo(RBBIM_STYLE | RBBIM_CHILD | RBBIM_SIZE);
    if (!SendMessage(RB_GETBANDINFOW, static_cast<WPARAM>(nBand), reinterpret_cast<LPARAM>(&info)))
        return nullptr;
    return dynamic_cast<CXTPToolBar*>(CWnd::FromHandlePermanent(info.hwndChild));
}

CSize CXTPReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    // The bands first, so that the bar's own height follows them.
    Invalidate(FALSE);
    for (int nBand = GetBandCount() - 1; nBand >= 0; --nBand) {
        CXTPToolBar* pToolBar = GetToolBar(nBand);
        if (!pToolBar)
            continue;
        CSize sizeFull = pToolBar->CalcDockingLayout(nUnlimited, LM_HORZ | LM_HORZDOCK);
        CRect rcBar;
        pToolBar->GetWindowRect(&rcBar);
        DWORD dwMode = pToolBar->GetType() == xtpBarTypeMenuBar
                           ? LM_STRETCH | LM_HORZ | LM_HORZDOCK | LM_COMMIT
                           : LM_HORZ | LM_HORZDOCK | LM_COMMIT | dwLayoutMayShrink;
        CSize sizeNow = pToolBar->CalcDockingLayout(rcBar.Width(), dwMode);
        REBARBANDINFOW info = BandInfo(RBBIM_CHILDSIZE | RBBIM_IDEALSIZE);
        info.cxMinChild = static_cast<UINT>(sizeFull.cx);
        info.cyMinChild = static_cast<UINT>(sizeNow.cy);
        info.cxIdeal = static_cast<UINT>(sizeNow.cx);
        SendMessage(RB_SETBANDINFOW, static_cast<WPARAM>(nBand), reinterpret_cast<LPARAM>(&info));
        pToolBar->Invalidate(FALSE);
    }
    return CReBar::CalcFixedLayout(bStretch, bHorz);
}

void CXTPReBar::SaveState(LPCTSTR lpszProfileName)
{
    std::vector<XTP_REBAR_BANDSTATE> arrBands;
    for (int nBand = 0; nBand < GetBandCount(); ++nBand) {
        REBARBANDINFOW info = BandInfo(RBBIM_STYLE | RBBIM_SIZE | RBBIM_ID);
        SendMessage(RB_GETBANDINFOW, static_cast<WPARAM>(nBand), reinterpret_cast<LPARAM>(&info));
        arrBands.push_back({info.wID, static_cast<int>(info.cx), info.fStyle});
    }
    AfxGetApp()->WriteProfileString(lpszProfileName, L"RebarStateInfo", CXTPReBarState::Format(arrBands));
}

void CXTPReBar::LoadState(LPCTSTR lpszProfileName)
{
    CString strState = AfxGetApp()->GetProfileString(lpszProfileName, L"RebarStateInfo", L"");
    std::vector<UINT> arrIds;
    for (int nBand = 0; nBand < GetBandCount(); ++nBand) {
        REBARBANDINFOW info = BandInfo(RBBIM_ID);
        SendMessage(RB_GETBANDINFOW, static_cast<WPARAM>(nBand), reinterpret_cast<LPARAM>(&info));
        arrIds.push_back(info.wID);
    }
    for (const CXTPReBarState::MOVE& move : CXTPReBarState::PlanLoad(strState, arrIds)) {
        SendMessage(RB_MOVEBAND, static_cast<WPARAM>(move.nFrom), static_cast<LPARAM>(move.nTo));
        REBARBANDINFOW info = BandInfo(RBBIM_STYLE | RBBIM_SIZE | RBBIM_ID);
        SendMessage(RB_GETBANDINFOW, static_cast<WPARAM>(move.nTo), reinterpret_cast<LPARAM>(&info));
        info.fMask = RBBIM_STYLE | RBBIM_SIZE;
        info.cx = static_cast<UINT>(move.state.cx);
        info.fStyle = CXTPReBarState::MergeStyle(info.fStyle, move.state.fStyle);
        SendMessage(RB_SETBANDINFOW, static_cast<WPARAM>(move.nTo), reinterpret_cast<LPARAM>(&info));
        if (move.state.fStyle & RBBS_HIDDEN)
            if (CXTPToolBar* pToolBar = GetToolBar(move.nTo))
                pToolBar->SetVisible(FALSE);
    }
}

void CXTPReBar::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rc;
    GetClientRect(&rc);
    CDC dc;
    CBitmap bitmap;
    if (!dc.CreateCompatibleDC(&dcPaint) || !bitmap.CreateCompatibleBitmap(&dcPaint, rc.Width(), rc.Height()))
        return;
    CBitmap* pOld = dc.SelectObject(&bitmap);
    dc.FillSolidRect(rc, ::GetSysColor(COLOR_BTNFACE));
    // The control draws its bands and borders into the copy.
    DefWindowProc(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    dcPaint.BitBlt(0, 0, rc.Width(), rc.Height(), &dc, 0, 0, SRCCOPY);
    dc.SelectObject(pOld);
}

BOOL CXTPReBar::OnEraseBkgnd(CDC* /*pDC*/)
{
    return TRUE;
}
