#include "ui/commandbars/XTPCustomizeToolbarsPage.h"

#include "platform/mfc/afxdatax.h"
#include "platform/mfc/afxmsgbox.h"
#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPCustomizeSheet.h"
#include "ui/commandbars/XTPNewToolbarDlg.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/uires.h"

BEGIN_MESSAGE_MAP(CXTPCustomizeToolbarsPage, CPropertyPage)
    ON_LBN_SELCHANGE(XTP_IDC_LIST_TOOLBARS, &CXTPCustomizeToolbarsPage::UpdateButtons)
    ON_CONTROL(CLBN_CHKCHANGE, XTP_IDC_LIST_TOOLBARS, &CXTPCustomizeToolbarsPage::OnCheckChange)
    ON_BN_CLICKED(XTP_IDC_BUTTON_NEW, &CXTPCustomizeToolbarsPage::OnNewToolbar)
    ON_BN_CLICKED(XTP_IDC_BUTTON_RENAME, &CXTPCustomizeToolbarsPage::OnRenameToolbar)
    ON_BN_CLICKED(XTP_IDC_BUTTON_DELETE, &CXTPCustomizeToolbarsPage::OnDeleteToolbar)
    ON_BN_CLICKED(XTP_IDC_BUTTON_RESET, &CXTPCustomizeToolbarsPage::OnResetToolbar)
END_MESSAGE_MAP()

CXTPCustomizeToolbarsPage::CXTPCustomizeToolbarsPage(CXTPCustomizeSheet* pSheet)
    : CPropertyPage(XTP_IDD_PAGE_TOOLBARS), m_pSheet(pSheet)
{
}

void CXTPCustomizeToolbarsPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, XTP_IDC_LIST_TOOLBARS, m_wndToolbarList);
}

BOOL CXTPCustomizeToolbarsPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    RefreshToolbarList();
    return TRUE;
}

void CXTPCustomizeToolbarsPage::RefreshToolbarList()
{
    CXTPCommandBars* pCommandBars = m_pSheet->GetCommandBars();
    int nSelected = m_wndToolbarList.GetCurSel();
    INT_PTR nSelectedBar = nSelected >= 0 ? static_cast<INT_PTR>(m_wndToolbarList.GetItemData(nSelected)) : -1;
    int nTop = m_wndToolbarList.GetTopIndex();
    m_wndToolbarList.ResetContent();
    for (int i = 0; i < pCommandBars->GetCount(); i++) {
        CXTPToolBar* pBar = pCommandBars->GetAt(i);
        if (pBar->GetType() == xtpBarTypeMenuBar && !pBar->IsVisible())
            continue;
        int nItem = m_wndToolbarList.AddString(pBar->GetTitle());
        m_wndToolbarList.SetCheck(nItem, pBar->IsVisible() ? BST_CHECKED : BST_UNCHECKED);
        m_wndToolbarList.SetItemData(nItem, static_cast<DWORD_PTR>(i));
        if (i == nSelectedBar)
            m_wndToolbarList.SetCurSel(nItem);
    }
    m_wndToolbarList.SetTopIndex(nTop);
    UpdateButtons();
}

CXTPToolBar* CXTPCustomizeToolbarsPage::GetSelectedToolBar() const
{
    int nSelected = m_wndToolbarList.GetCurSel();
    if (nSelected < 0)
        return nullptr;
    return m_pSheet->GetCommandBars()->GetAt(static_cast<int>(m_wndToolbarList.GetItemData(nSelected)));
}

void CXTPCustomizeToolbarsPage::UpdateButtons()
{
    CXTPToolBar* pBar = GetSelectedToolBar();
    GetDlgItem(XTP_IDC_BUTTON_RESET)->EnableWindow(pBar && pBar->IsBuiltIn());
    GetDlgItem(XTP_IDC_BUTTON_RENAME)->EnableWindow(pBar && !pBar->IsBuiltIn());
    GetDlgItem(XTP_IDC_BUTTON_DELETE)->EnableWindow(pBar && !pBar->IsBuiltIn());
}

void CXTPCustomizeToolbarsPage::OnCheckChange()
{
    int nSelected = m_wndToolbarList.GetCurSel();
    CXTPToolBar* pBar = GetSelectedToolBar();
    if (!pBar)
        return;
    // The menu bar, and a bar the user may not close, stay shown.
    if (pBar->GetType() != xtpBarTypeMenuBar && pBar->IsCloseable())
        pBar->SetVisible(m_wndToolbarList.GetCheck(nSelected) == BST_CHECKED);
    else
        m_wndToolbarList.SetCheck(nSelected, BST_CHECKED);
    RefreshToolbarList();
}

void CXTPCustomizeToolbarsPage::OnNewToolbar()
{
    CXTPCommandBars* pCommandBars = m_pSheet->GetCommandBars();
    CXTPNewToolbarDlg dlg(this, pCommandBars);
    if (dlg.DoModal() != IDOK)
        return;
    pCommandBars->CreateTearOffBar(dlg.m_strToolbar, dlg.m_nNewID, FALSE);
    RefreshToolbarList();
}

void CXTPCustomizeToolbarsPage::OnRenameToolbar()
{
    int nSelected = m_wndToolbarList.GetCurSel();
    CXTPToolBar* pBar = GetSelectedToolBar();
    if (!pBar || pBar->IsBuiltIn())
        return;
    CXTPNewToolbarDlg dlg(this, m_pSheet->GetCommandBars(), pBar);
    if (dlg.DoModal() != IDOK)
        return;
    pBar->SetTitle(dlg.m_strToolbar);
    int nCheck = m_wndToolbarList.GetCheck(nSelected);
    DWORD_PTR nData = m_wndToolbarList.GetItemData(nSelected);
    m_wndToolbarList.DeleteString(static_cast<UINT>(nSelected));
    int nItem = m_wndToolbarList.InsertString(nSelected, dlg.m_strToolbar);
    m_wndToolbarList.SetCheck(nItem, nCheck);
    m_wndToolbarList.SetItemData(nItem, nData);
    m_wndToolbarList.SetCurSel(nItem);
    UpdateButtons();
}

void CXTPCustomizeToolbarsPage::OnDeleteToolbar()
{
    CXTPToolBar* pBar = GetSelectedToolBar();
    if (!pBar || pBar->IsBuiltIn())
        return;
    CString strPrompt;
    XTPGetResourceLoader()->LoadString(&strPrompt, XTP_IDS_CONFIRM_DELETE_TOOLBAR);
    strPrompt.Replace(L"|", pBar->GetTitle());
    if (AfxMessageBox(strPrompt, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
        return;
    m_pSheet->GetCommandBars()->Remove(pBar);
    RefreshToolbarList();
}

void CXTPCustomizeToolbarsPage::OnResetToolbar()
{
    CXTPToolBar* pBar = GetSelectedToolBar();
    if (!pBar || !pBar->IsBuiltIn())
        return;
    pBar->Reset();
    RefreshToolbarList();
}
