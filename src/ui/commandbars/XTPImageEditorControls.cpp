#include "ui/commandbars/XTPImageEditorControls.h"

#include "ui/commandbars/XTPImageEditorDlg.h"
#include "ui/persist/ImageManager.h"
#include "ui/themes/ColorTable.h"

#include <commctrl.h>

BEGIN_MESSAGE_MAP(CXTPImageEditorPicker, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

void CXTPImageEditorPicker::SetColor(COLORREF clr)
{
    m_clr = clr;
    if (GetSafeHwnd())
        Invalidate(FALSE);
}

void CXTPImageEditorPicker::SetSelected(BOOL bSelected)
{
    m_bSelected = bSelected;
    if (GetSafeHwnd())
        Invalidate(FALSE);
}

BOOL CXTPImageEditorPicker::OnEraseBkgnd(CDC*) { return TRUE; }

void CXTPImageEditorPicker::OnPaint()
{
    CPaintDC dc(this);
    Draw(&dc);
}

void CXTPImageEditorPicker::Draw(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    if (m_clr == XTP_IMAGEEDITOR_MARKER) {
        // Transparency: white with the top-left and bottom-right quarters grey.
        pDC->FillSolidRect(&rc, RGB(255, 255, 255));
        const CPoint ptCentre = rc.CenterPoint();
        pDC->FillSolidRect(CRect(rc.TopLeft(), ptCentre), RGB(235, 235, 235));
        pDC->FillSolidRect(CRect(ptCentre, rc.BottomRight()), RGB(235, 235, 235));
    } else {
        pDC->FillSolidRect(&rc, m_clr);
    }
    if (m_bSelected) {
        pDC->Draw3dRect(&rc, RGB(0, 0, 0), RGB(0, 0, 0));
        rc.DeflateRect(1, 1);
        pDC->Draw3dRect(&rc, RGB(255, 255, 255), RGB(255, 255, 255));
        rc.DeflateRect(1, 1);
        pDC->Draw3dRect(&rc, RGB(0, 0, 0), RGB(0, 0, 0));
    } else {
        pDC->Draw3dRect(&rc, GetStandardColor(COLOR_3DDKSHADOW), GetStandardColor(COLOR_3DDKSHADOW));
    }
}

void CXTPImageEditorPicker::OnLButtonDown(UINT, CPoint)
{
    NMHDR nm = {m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), static_cast<UINT>(NM_CLICK)};
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_NOTIFY, nm.idFrom, reinterpret_cast<LPARAM>(&nm));
}

BEGIN_MESSAGE_MAP(CXTPImageEditorPreview, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CXTPImageEditorPreview::OnEraseBkgnd(CDC*) { return TRUE; }

void CXTPImageEditorPreview::OnPaint()
{
    CPaintDC dc(this);
    Draw(&dc);
}

void CXTPImageEditorPreview::Draw(CDC* pDC)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    pDC->FillSolidRect(&rcClient, GetStandardColor(COLOR_BTNFACE));
    if (!m_pDlg)
        return;
    const CSize szPicture = m_pDlg->GetSize();
    const CPoint pt(10, (rcClient.Height() - szPicture.cy) / 2);
    CRect rcFrame(pt, szPicture);
    rcFrame.InflateRect(3, 3);
    pDC->Draw3dRect(&rcFrame, RGB(255, 255, 255), GetStandardColor(COLOR_BTNSHADOW));
    rcFrame.InflateRect(1, 1);
    pDC->Draw3dRect(&rcFrame, GetStandardColor(COLOR_BTNFACE), GetStandardColor(COLOR_3DDKSHADOW));

    const CXTPImageEditorBitmap* pPicture = m_pDlg->GetPicture();
    if (!pPicture)
        return;
    if (pPicture->IsAlpha()) {
        CXTPImageManagerIconHandle hAlpha;
        hAlpha.CopyBitmap(*pPicture);
        if (HBITMAP hPremultiplied = hAlpha.PreMultiply())
            CXTPImageManager::AlphaBlendBitmap(pDC, hPremultiplied, pt, szPicture, CPoint(0, 0), szPicture);
        return;
    }
    std::unique_ptr<CXTPImageEditorBitmap> pShown = CXTPImageEditorBitmap::Copy(pPicture, szPicture);
    if (!pShown)
        return;
    pShown->ReplaceColor(XTP_IMAGEEDITOR_MARKER, GetStandardColor(COLOR_BTNFACE));
    ::DrawStateW(pDC->m_hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(pShown->GetSafeHandle()), 0, pt.x, pt.y,
                 szPicture.cx, szPicture.cy, DST_BITMAP | DSS_NORMAL);
}

namespace
{
// The state of one tool bar button.
class CToolButtonCmdUI : public CCmdUI
{
public:
    explicit CToolButtonCmdUI(CToolBar* pToolBar) : m_pToolBar(pToolBar) {}

    void Enable(BOOL bOn) override
    {
        m_pToolBar->SendMessage(TB_ENABLEBUTTON, m_nID, MAKELPARAM(bOn ? TRUE : FALSE, 0));
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override { m_pToolBar->SendMessage(TB_CHECKBUTTON, m_nID, MAKELPARAM(nCheck != 0, 0)); }
    void SetText(LPCTSTR) override {}

private:
    CToolBar* m_pToolBar;
};
} // namespace

BEGIN_MESSAGE_MAP(CXTPImageEditorToolBar, CToolBar)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CXTPImageEditorToolBar::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

LRESULT CXTPImageEditorToolBar::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    CWnd* pParent = GetParent();
    if (!pParent || !(GetStyle() & WS_VISIBLE))
        return 0;
    CToolButtonCmdUI state(this);
    const int nCount = GetCount();
    state.m_nIndexMax = static_cast<UINT>(nCount);
    for (int i = 0; i < nCount; i++) {
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nID = GetItemID(i);
        if (state.m_nID != 0)
            state.DoUpdate(pParent, FALSE);
    }
    return 0;
}
