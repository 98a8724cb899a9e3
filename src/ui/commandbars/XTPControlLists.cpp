#include "ui/commandbars/XTPControlLists.h"

#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPControls.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/persist/PropExchange.h"
#include "ui/uires.h"

#include "platform/mfc/afxmdi.h"
#include <afxres.h>

#define XTP_ID_WINDOWLIST 35000
#define XTP_ID_FILE_MRU 35003

CString FormatListItemCaption(const CString& strText, int nNumber)
{
    CString strEscaped = strText;
    strEscaped.Replace(L"&", L"&&");
    CString strCaption;
    if (nNumber == 0)
        strCaption = strEscaped;
    else if (nNumber < 10)
        strCaption.Format(L"&%i %s", nNumber, static_cast<LPCTSTR>(strEscaped));
    else if (nNumber == 10)
        strCaption.Format(L"1&0 %s", static_cast<LPCTSTR>(strEscaped));
    else
        strCaption.Format(L"%i %s", nNumber, static_cast<LPCTSTR>(strEscaped));
    return strCaption;
}

IMPLEMENT_SERIAL(CXTPControlToolbar, CXTPControlButton, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

void CXTPControlToolbar::OnExecute()
{
    CXTPCommandBars* pCommandBars = m_pParent ? m_pParent->GetCommandBars() : nullptr;
    if (!pCommandBars)
        return;
    pCommandBars->ClosePopups();
    pCommandBars->ToggleVisible(static_cast<int>(m_nTag));
}

IMPLEMENT_DYNAMIC(CXTPControlListPlaceholder, CXTPControlButton)

BOOL CXTPControlListPlaceholder::IsCustomizeDragOverAvail(CXTPCommandBar* pCommandBar, CPoint /*point*/,
                                                          DROPEFFECT& dropEffect)
{
    if (pCommandBar->GetType() == xtpBarTypePopup)
        return TRUE;
    dropEffect = DROPEFFECT_NONE;
    return FALSE;
}

void CXTPControlListPlaceholder::RemoveListItems()
{
    while (CXTPControl* pNext = m_pControls->GetAt(m_nIndex + 1)) {
        if (!IsListItem(pNext))
            break;
        m_pControls->Remove(pNext);
    }
}

void CXTPControlListPlaceholder::OnCalcDynamicSize(DWORD /*dwMode*/)
{
    if (!m_pControls || !m_pParent)
        return;
    RemoveListItems();
    if (m_pParent->IsCustomizeMode()) {
        m_dwHideFlags = 0;
        return;
    }
    m_dwHideFlags |= xtpHideGeneric;
    FillList();
}

CMDIFrameWnd* CXTPControlListPlaceholder::GetSiteMDIFrame() const
{
    CWnd* pSite = m_pParent ? m_pParent->GetSite() : nullptr;
    return pSite && pSite->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)) ? static_cast<CMDIFrameWnd*>(pSite) : nullptr;
}

CXTPControl* CXTPControlListPlaceholder::InsertListItem(int nItem, int nId, const CString& strCaption)
{
    CXTPControl* pItem = m_pControls->Add(xtpControlButton, nId, L"", m_nIndex + 1 + nItem, TRUE);
    pItem->SetCaption(strCaption);
    pItem->SetFlags(xtpFlagManualUpdate);
    return pItem;
}

IMPLEMENT_SERIAL(CXTPControlToolbars, CXTPControlListPlaceholder, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

BOOL CXTPControlToolbars::IsListItem(CXTPControl* pControl) const
{
    return pControl->GetParameter() == L"CXTPControlToolbar";
}

void CXTPControlToolbars::FillList()
{
    if (CXTPCommandBars* pCommandBars = m_pParent->GetCommandBars())
        FillToolbarsList(pCommandBars, m_pParent, m_nIndex + 1, FALSE);
}

int CXTPControlToolbars::FillToolbarsList(CXTPCommandBars* pCommandBars, CXTPCommandBar* pBar, int nPosition,
                                          BOOL bAddCustomize)
{
    CXTPControls* pControls = pBar->GetControls();
    for (int i = 0; i < pCommandBars->GetCount(); i++) {
        CXTPToolBar* pToolBar = pCommandBars->GetAt(i);
        if (pToolBar->GetType() != xtpBarTypeNormal || !pToolBar->IsContextMenuPresent() || !pToolBar->IsCloseable())
            continue;
        CXTPControl* pItem =
            pControls->AddControl(new CXTPControlToolbar, 0, L"CXTPControlToolbar", nPosition++, TRUE);
        pItem->SetTag(static_cast<DWORD_PTR>(i));
        pItem->SetCaption(pToolBar->GetTitle());
        pItem->SetFlags(xtpFlagManualUpdate);
        pItem->SetChecked(pToolBar->IsVisible());
    }
    if (bAddCustomize && pCommandBars->IsCustomizeAvail()) {
        CXTPControl* pCustomize = pControls->Add(xtpControlButton, XTP_ID_CUSTOMIZE, L"", nPosition++, TRUE);
        pCustomize->SetBeginGroup(TRUE);
    }
    return nPosition;
}

IMPLEMENT_SERIAL(CXTPControlRecentFileList, CXTPControlListPlaceholder, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

int CXTPControlRecentFileList::GetFirstItemId() const
{
    return m_nId == XTP_ID_FILE_MRU ? ID_FILE_MRU_FILE1 : m_nId;
}

BOOL CXTPControlRecentFileList::IsListItem(CXTPControl* pControl) const
{
    CWinApp* pApp = AfxGetApp();
    int nSize = pApp && pApp->m_pRecentFileList ? pApp->m_pRecentFileList->GetSize() : 0;
    return pControl->GetID() >= GetFirstItemId() && pControl->GetID() < GetFirstItemId() + nSize;
}

void CXTPControlRecentFileList::OnCalcDynamicSize(DWORD dwMode)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !pApp->m_pRecentFileList)
        return;
    // Movable in customise mode, whether the list is empty or not.
    if (m_pParent && m_pParent->IsCustomizeMode())
        m_bEnabled = TRUE;
    CXTPControlListPlaceholder::OnCalcDynamicSize(dwMode);
}

void CXTPControlRecentFileList::FillList()
{
    CRecentFileList* pList = AfxGetApp()->m_pRecentFileList;
    if (pList->GetSize() == 0 || (*pList)[0].IsEmpty()) {
        m_dwHideFlags = 0;
        m_bEnabled = FALSE;
        return;
    }
    WCHAR szDir[MAX_PATH + 1] = {};
    DWORD nDir = ::GetCurrentDirectoryW(MAX_PATH, szDir);
    CString strDir = nDir > 0 && nDir < MAX_PATH ? CString(szDir) : CString();
    if (!strDir.IsEmpty() && strDir.Right(1) != L"\\")
        strDir += L'\\';
    for (int i = 0; i < pList->GetSize(); i++) {
        CString strName;
        if (!pList->GetDisplayName(strName, i, strDir, strDir.GetLength()) || strName.IsEmpty())
            break;
        CXTPControl* pItem = InsertListItem(i, GetFirstItemId() + i, FormatListItemCaption(strName.Left(MAX_PATH), i + 1));
        if (i == 0 && m_nIndex > 0)
            pItem->SetBeginGroup(TRUE);
    }
}

IMPLEMENT_SERIAL(CXTPControlWindowList, CXTPControlListPlaceholder, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

UINT CXTPControlWindowList::s_nFirstMDIChild = AFX_IDM_FIRST_MDICHILD;

BOOL CXTPControlWindowList::IsListItem(CXTPControl* pControl) const
{
    return static_cast<UINT>(pControl->GetID()) >= s_nFirstMDIChild;
}

void CXTPControlWindowList::FillList()
{
    CMDIFrameWnd* pFrame = GetSiteMDIFrame();
    if (!pFrame || !pFrame->m_hWndMDIClient) {
        m_dwHideFlags = 0;
        return;
    }
    HWND hWndActive = pFrame->MDIGetActive();
    int nActiveId = hWndActive ? ::GetDlgCtrlID(hWndActive) : 0;
    if (nActiveId >= 0x8000 && nActiveId < 0x800F)
        s_nFirstMDIChild = 0x8000;
    else if (nActiveId >= 1 && nActiveId < 15)
        s_nFirstMDIChild = 1;
    int nItem = 0;
    for (UINT nId = s_nFirstMDIChild; nItem < 9; nId++) {
        HWND hWndChild = ::GetDlgItem(pFrame->m_hWndMDIClient, static_cast<int>(nId));
        if (!hWndChild)
            break;
        if (!::IsWindowVisible(hWndChild))
            continue;
        WCHAR szTitle[257] = {};
        ::GetWindowTextW(hWndChild, szTitle, 257);
        CXTPControl* pItem = InsertListItem(nItem, static_cast<int>(nId), FormatListItemCaption(szTitle, nItem + 1));
        pItem->SetBeginGroup(nItem == 0);
        pItem->SetChecked(hWndChild == hWndActive);
        nItem++;
    }
}

CXTPWorkspaceActionsSite* CXTPWorkspaceActionsSite::FromSite(CWnd* pSite)
{
    if (!pSite || !pSite->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        return nullptr;
    return dynamic_cast<CXTPWorkspaceActionsSite*>(
        CWnd::FromHandlePermanent(static_cast<CMDIFrameWnd*>(pSite)->m_hWndMDIClient));
}

IMPLEMENT_SERIAL(CXTPControlWorkspaceActions, CXTPControlListPlaceholder, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

BOOL CXTPControlWorkspaceActions::IsListItem(CXTPControl* pControl) const
{
    return pControl->GetID() >= XTP_ID_WORKSPACE_MOVEPREVIOUS && pControl->GetID() <= XTP_ID_WORKSPACE_NEWVERTICAL;
}

void CXTPControlWorkspaceActions::FillList()
{
    CXTPWorkspaceActionsSite* pClient = CXTPWorkspaceActionsSite::FromSite(m_pParent ? m_pParent->GetSite() : nullptr);
    if (!pClient) {
        m_dwHideFlags = 0;
        return;
    }
    const UINT actions[] = {XTP_ID_WORKSPACE_NEWHORIZONTAL, XTP_ID_WORKSPACE_NEWVERTICAL,
                            XTP_ID_WORKSPACE_MOVEPREVIOUS, XTP_ID_WORKSPACE_MOVENEXT};
    int nItem = 0;
    for (UINT nID : actions) {
        if (!pClient->IsWorkspaceCommandEnabled(nID))
            continue;
        // The command strings hold the caption after their line feed.
        CString strText;
        strText.LoadString(nID);
        CXTPControl* pItem = InsertListItem(nItem, static_cast<int>(nID), strText.Mid(strText.Find(L'\n') + 1));
        pItem->SetBeginGroup(nItem == 0 && GetBeginGroup());
        nItem++;
    }
}

IMPLEMENT_SERIAL(CXTPControlOleItems, CXTPControlListPlaceholder, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

BOOL CXTPControlOleItems::IsListItem(CXTPControl* pControl) const
{
    return pControl->GetParameter() == L"OLEMENUPOPUP";
}

void CXTPControlOleItems::FillList()
{
    // The verbs come from the active document's selected OLE item, and this platform has no OLE documents or
    // client items: there is never a verb to list.
}

IMPLEMENT_SERIAL(CXTPControlLabel, CXTPControl, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

CXTPControlLabel::CXTPControlLabel()
{
    m_nType = xtpControlLabel;
    m_dwFlags = xtpFlagSkipFocus | xtpFlagNoMovable;
}

CXTPControl* CreateListPlaceholder(int nId, BOOL bFromMenu, const CString& strMenuCaption)
{
    if (nId == (bFromMenu ? ID_FILE_MRU_FILE1 : XTP_ID_FILE_MRU))
        return new CXTPControlRecentFileList;
    if (bFromMenu && nId == ID_OLE_VERB_FIRST && strMenuCaption == L"<<OLE VERBS GO HERE>>")
        return new CXTPControlOleItems;
    if (nId == XTP_ID_WINDOWLIST)
        return new CXTPControlWindowList;
    if (nId == XTP_ID_TOOLBARLIST)
        return new CXTPControlToolbars;
    if (nId == XTP_ID_WORKSPACE_ACTIONS)
        return new CXTPControlWorkspaceActions;
    return new CXTPControlButton;
}
