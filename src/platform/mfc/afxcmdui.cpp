#include "afxctrls.h"

void CCmdUI::Enable(BOOL bOn)
{
    if (m_pMenu) {
        if (!m_pSubMenu)
            m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther) {
        // The focus must not stay in a control that is being disabled: it moves to the next one.
        if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
            if (CWnd* pParent = m_pOther->GetParent())
                pParent->SendMessage(WM_NEXTDLGCTL, 0, FALSE);
        }
        m_pOther->EnableWindow(bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_pMenu) {
        if (!m_pSubMenu)
            m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther && (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON)) {
        m_pOther->SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck));
    }
}

void CCmdUI::SetRadio(BOOL bOn)
{
    if (m_pMenu) {
        if (m_pSubMenu)
            return;
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE;
        ::GetMenuItemInfoW(m_pMenu->m_hMenu, m_nIndex, TRUE, &info);
        info.fType = bOn ? (info.fType | MFT_RADIOCHECK) : (info.fType & ~MFT_RADIOCHECK);
        info.fState = bOn ? (info.fState | MFS_CHECKED) : (info.fState & ~MFS_CHECKED);
        ::SetMenuItemInfoW(m_pMenu->m_hMenu, m_nIndex, TRUE, &info);
    } else {
        SetCheck(bOn ? 1 : 0);
    }
}

void CCmdUI::SetText(LPCTSTR lpszText)
{
    if (m_pMenu) {
        if (m_pSubMenu)
            return;
        // Only the text changes: the item keeps its state and flags.
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING;
        info.dwTypeData = const_cast<LPWSTR>(lpszText);
        ::SetMenuItemInfoW(m_pMenu->m_hMenu, m_nIndex, TRUE, &info);
    } else if (m_pOther) {
        CString strOld;
        m_pOther->GetWindowText(strOld);
        if (strOld != lpszText)   // no flicker for an unchanged text
            m_pOther->SetWindowText(lpszText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    m_bEnableChanged = FALSE;
    if (pTarget->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this, nullptr))
        return TRUE;
    if (bDisableIfNoHndler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info = {nullptr, nullptr};
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return FALSE;
}

void AfxUpdateMenuPopup(CMenu* pPopupMenu, CCmdTarget* pTarget, BOOL bAutoEnable)
{
    CCmdUI state;
    state.m_pMenu = pPopupMenu;
    state.m_nIndexMax = pPopupMenu->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID == 0)
            continue;   // separator
        if (state.m_nID == static_cast<UINT>(-1)) {
            // An item that opens a popup: its state follows the first command inside.
            CMenu* pSub = pPopupMenu->GetSubMenu(static_cast<int>(state.m_nIndex));
            state.m_pSubMenu = pSub;
            state.m_nID = pSub ? pSub->GetMenuItemID(0) : 0;
            if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1))
                continue;
            state.DoUpdate(pTarget, FALSE);
        } else {
            state.m_pSubMenu = nullptr;
            state.DoUpdate(pTarget, bAutoEnable && state.m_nID < 0xF000);
        }
        // An update handler may have removed items: the count is read again.
        state.m_nIndexMax = pPopupMenu->GetMenuItemCount();
    }
}
