#include "EmptyView.h"

#include "platform/mfc/afxgdi.h"
#include "resource.h"
#include "util/MessageText.h"

IMPLEMENT_DYNCREATE(CEmptyView, CView)

BEGIN_MESSAGE_MAP(CEmptyView, CView)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

void MakeFont(CFont& font, int nHeight, int nWeight)
{
    font.CreateFont(nHeight, 0, 0, 0, nWeight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Verdana");
}

} // namespace

void CEmptyView::OnDraw(CDC* pDC)
{
    CFont fontTitle, fontSubtitle;
    MakeFont(fontTitle, 24, FW_NORMAL);
    MakeFont(fontSubtitle, 18, FW_BOLD);
    CRect rect;
    GetClientRect(&rect);

    CFont* pOldFont = pDC->SelectObject(&fontTitle);
    pDC->SetTextColor(TITLE_TEXT);
    pDC->SetBkColor(BACKGROUND);
    pDC->DrawText(LoadResString(IDS_START_TITLE), &rect, DT_CENTER | DT_NOPREFIX);
    rect.top += 50;
    pDC->SelectObject(&fontSubtitle);
    pDC->SetTextColor(SUBTITLE_TEXT);
    pDC->DrawText(LoadResString(IDS_START_SUBTITLE), &rect, DT_CENTER | DT_NOPREFIX);
    pDC->SelectObject(pOldFont);
}

BOOL CEmptyView::OnEraseBkgnd(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, BACKGROUND);
    return TRUE;
}
