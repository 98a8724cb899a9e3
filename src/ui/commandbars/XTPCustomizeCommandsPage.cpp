#include "ui/commandbars/XTPCustomizeCommandsPage.h"

#include "platform/mfc/afxdatax.h"
#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPCustomizeDropSource.h"
#include "ui/commandbars/XTPCustomizeSheet.h"
#include "ui/commandbars/XTPHookManager.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/themes/BarPainter.h"
#include "ui/themes/MemDC.h"
#include "ui/uires.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CXTPCustomizeCommandsListBox, CListBox)
    ON_WM_LBUTTONDOWN()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CXTPControl* CXTPCustomizeCommandsListBox::GetControl(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    return static_cast<CXTPControl*>(GetItemDataPtr(nIndex));
}

CXTPCommandBars* CXTPCustomizeCommandsListBox::GetCommandBars() const
{
    return m_pCommandsPage->GetSheet()->GetCommandBars();
}

int CXTPCustomizeCommandsListBox::GetEntryHeight() const
{
    CXTPCommandBars* pCommandBars = GetCommandBars();
    return pCommandBars->GetPaintManager()->DrawListBoxControl(nullptr, nullptr, CRect(), FALSE, FALSE, pCommandBars).cy;
}

BOOL CXTPCustomizeCommandsListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        if (pResult)
            *pResult = TRUE;
        return TRUE;
    }
    return CListBox::OnChildNotify(message, wParam, lParam, pResult);
}

void CXTPCustomizeCommandsListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CXTPControl* pControl = GetControl(static_cast<int>(lpDrawItemStruct->itemID));
    if (!pControl)
        return;
    CXTPCommandBars* pCommandBars = GetCommandBars();
    pCommandBars->GetPaintManager()->DrawListBoxControl(CDC::FromHandle(lpDrawItemStruct->hDC), pControl,
                                                        CRect(lpDrawItemStruct->rcItem),
                                                        (lpDrawItemStruct->itemState & ODS_SELECTED) != 0, TRUE,
                                                        pCommandBars);
}

void CXTPCustomizeCommandsListBox::FillBackground(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(rc, GetCommandBars()->GetPaintManager()->GetColor(COLOR_3DFACE));
}

BOOL CXTPCustomizeCommandsListBox::OnEraseBkgnd(CDC* pDC)
{
    FillBackground(pDC);
    return TRUE;
}

void CXTPCustomizeCommandsListBox::OnPaint()
{
    // The entries are drawn into a buffer on the list's background, then shown at once.
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    CXTMemDC buffer(&dc, rc, CColorGradient());
    FillBackground(&buffer);
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(buffer.GetSafeHdc()), 0);
}

void CXTPCustomizeCommandsListBox::OnLButtonDown(UINT /*nFlags*/, CPoint point)
{
    CXTPCommandBars* pCommandBars = m_pCommandsPage->GetSheet()->GetCommandBars();
    pCommandBars->SetDragControl(nullptr);
    BOOL bOutside = TRUE;
    int nIndex = static_cast<int>(ItemFromPoint(point, bOutside));
    if (bOutside)
        return;
    SetCurSel(nIndex);
    GetParent()->PostMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), LBN_SELCHANGE), reinterpret_cast<LPARAM>(m_hWnd));
    SetFocus();
    if (CXTPControl* pControl = GetControl(nIndex))
        pCommandBars->GetDropSource()->DoDragDrop(pControl, TRUE);
}

BEGIN_MESSAGE_MAP(CXTPCustomizeCommandsPage, CPropertyPage)
    ON_LBN_SELCHANGE(XTP_IDC_LIST_CATEGORIES, &CXTPCustomizeCommandsPage::OnCategoryChange)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CXTPCustomizeCommandsPage::CXTPCustomizeCommandsPage(CXTPCustomizeSheet* pSheet)
    : CPropertyPage(XTP_IDD_PAGE_COMMANDS), m_pSheet(pSheet)
{
    m_wndCommands.m_pCommandsPage = this;
}

CXTPCustomizeCommandsPage::~CXTPCustomizeCommandsPage()
{
    for (CCategory& category : m_arrCategories)
        category.pControls->InternalRelease();
}

CXTPControls* CXTPCustomizeCommandsPage::GetControls(LPCTSTR lpszCategory) const
{
    for (const CCategory& category : m_arrCategories)
        if (category.strName == lpszCategory)
            return category.pControls;
    return nullptr;
}

CXTPControls* CXTPCustomizeCommandsPage::NewCategoryControls() const
{
    // Bound to the manager: its controls draw with the manager's painter and icons.
    auto* pControls = new CXTPControls;
    pControls->SetCommandBars(m_pSheet->GetCommandBars());
    return pControls;
}

CXTPControls* CXTPCustomizeCommandsPage::GetCategoryControls(LPCTSTR lpszCategory, int nIndex)
{
    if (CXTPControls* pControls = GetControls(lpszCategory))
        return pControls;
    CCategory category = {lpszCategory, NewCategoryControls()};
    if (nIndex < 0 || nIndex > GetCategoryCount())
        nIndex = GetCategoryCount();
    m_arrCategories.insert(m_arrCategories.begin() + nIndex, category);
    return category.pControls;
}

BOOL CXTPCustomizeCommandsPage::AddCategory(LPCTSTR lpszCategory, UINT nIDToolBar)
{
    auto* pToolBar = static_cast<CXTPToolBar*>(CXTPCommandBars::m_pToolBarClass->CreateObject());
    pToolBar->SetCommandBars(m_pSheet->GetCommandBars());
    BOOL bLoaded = pToolBar->LoadToolBar(nIDToolBar, FALSE);
    if (bLoaded) {
        CXTPControls* pControls = GetCategoryControls(lpszCategory);
        CXTPControls* pButtons = pToolBar->GetControls();
        for (int i = 0; i < pButtons->GetCount(); i++)
            pControls->InsertControl(pButtons->GetAt(i), pControls->GetCount(), TRUE);
    }
    pToolBar->SetCommandBars(nullptr);
    pToolBar->InternalRelease();
    return bLoaded;
}

void CXTPCustomizeCommandsPage::AddCategories(CXTPControls* pControls)
{
    for (int i = 0; i < pControls->GetCount(); i++) {
        CXTPControl* pControl = pControls->GetAt(i);
        if (pControl->GetCategory().IsEmpty())
            continue;
        CXTPControls* pCategory = GetCategoryControls(pControl->GetCategory());
        pCategory->InsertControl(pControl, pCategory->GetCount(), TRUE);
    }
}

void CXTPCustomizeCommandsPage::InsertAllCommandsCategory(UINT nIDString, int nIndex)
{
    CString strName;
    XTPGetResourceLoader()->LoadString(&strName, nIDString);
    CXTPControls* pAll = NewCategoryControls();
    for (const CCategory& category : m_arrCategories)
        for (int i = 0; i < category.pControls->GetCount(); i++)
            pAll->InsertControl(category.pControls->GetAt(i), pAll->GetCount(), TRUE);
    if (nIndex < 0 || nIndex > GetCategoryCount())
        nIndex = GetCategoryCount();
    m_arrCategories.insert(m_arrCategories.begin() + nIndex, CCategory{strName, pAll});
}

void CXTPCustomizeCommandsPage::InsertNewMenuCategory(UINT nIDString, int nIndex)
{
    CString strName;
    XTPGetResourceLoader()->LoadString(&strName, nIDString);
    CXTPControls* pControls = GetCategoryControls(strName, nIndex);
    CXTPControl* pPopup = pControls->Add(xtpControlPopup, 0);
    pPopup->SetCaption(strName);
}

void CXTPCustomizeCommandsPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, XTP_IDC_LIST_CATEGORIES, m_wndCategories);
    DDX_Control(pDX, XTP_IDC_LIST_COMMANDS, m_wndCommands);
}

BOOL CXTPCustomizeCommandsPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    for (int i = 0; i < GetCategoryCount(); i++) {
        int nItem = m_wndCategories.AddString(m_arrCategories[static_cast<size_t>(i)].strName);
        m_wndCategories.SetItemData(nItem, static_cast<DWORD_PTR>(i));
    }
    m_wndCategories.SetCurSel(0);
    m_wndCommands.SetItemHeight(0, m_wndCommands.GetEntryHeight());
    CWnd* pSite = m_pSheet->GetCommandBars()->GetSite();
    if (pSite && pSite->GetSafeHwnd() && (pSite->GetExStyle() & WS_EX_LAYOUTRTL))
        m_wndCommands.ModifyStyleEx(0, WS_EX_LAYOUTRTL);
    // Pressing in the page does not close a popup opened during a drag over the bars.
    m_pSheet->GetCommandBars()->GetMouseManager()->AddTrustedWindow(m_hWnd);
    OnCategoryChange();
    return TRUE;
}

void CXTPCustomizeCommandsPage::OnDestroy()
{
    m_pSheet->GetCommandBars()->GetMouseManager()->RemoveTrustedWindow(m_hWnd);
    CPropertyPage::OnDestroy();
}

void CXTPCustomizeCommandsPage::OnCategoryChange()
{
    m_wndCommands.ResetContent();
    int nSelected = m_wndCategories.GetCurSel();
    if (nSelected < 0)
        return;
    size_t nCategory = static_cast<size_t>(m_wndCategories.GetItemData(nSelected));
    if (nCategory >= m_arrCategories.size())
        return;
    CXTPControls* pControls = m_arrCategories[nCategory].pControls;
    for (int i = 0; i < pControls->GetCount(); i++) {
        int nItem = m_wndCommands.AddString(L"");
        m_wndCommands.SetItemDataPtr(nItem, pControls->GetAt(i));
    }
}
