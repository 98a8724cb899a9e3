// CCmdTarget: the base of everything that handles commands (windows, documents, the application): its
// message map, the routing entry OnCmdMsg and a reference count for objects that are released rather
// than deleted. CCmdUI carries a command's enabled, checked and text state to the element that shows it.
#pragma once

#include "afx.h"
#include "afxmsgmap.h"

class CMenu;
class CWnd;

class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;

    // Looks the command up in this object's message map and calls its handler. nCode is CN_COMMAND,
    // CN_UPDATE_COMMAND_UI (pExtra: CCmdUI*) or MAKELONG(notification, WM_NOTIFY or reflected message).
    // With pHandlerInfo the handler is only found, not called. Derived classes pass unhandled commands on.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // Reference count, 1 at construction; the last release calls OnFinalRelease, which deletes the object.
    DWORD InternalAddRef() { return ++m_dwRef; }
    DWORD InternalRelease();
    DWORD ExternalAddRef() { return InternalAddRef(); }
    DWORD ExternalRelease() { return InternalRelease(); }
    virtual void OnFinalRelease();

    // The application's wait cursor, for long operations started by a command.
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Finds the entry for a window message (nMessage) or a command (nMessage WM_COMMAND/WM_NOTIFY/reflected).
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode, UINT nID);

    LONG m_dwRef = 1;
};

// The state of one command as an element shows it (menu item, bar button, control). Update handlers call
// Enable/SetCheck/SetRadio/SetText; DoUpdate routes the request to the handlers of a target.
class CCmdUI
{
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;
    UINT m_nIndex = 0;           // position of the item in m_pMenu
    CMenu* m_pMenu = nullptr;    // the popup that holds the item, or null
    CMenu* m_pSubMenu = nullptr; // the item's own popup when the item opens one
    CWnd* m_pOther = nullptr;    // the window that shows the command when it is not a menu item
    UINT m_nIndexMax = 0;

    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);   // 0 clear, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCTSTR lpszText);

    // An update handler that wants the next target of the route to decide calls this.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks pTarget's route for the state; without an update handler and with bDisableIfNoHndler the
    // command is enabled exactly when some target of the route handles it. TRUE when a handler answered.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

// Asks pTarget's route for the state of every item of a popup menu (an item that opens a popup follows the first
// command inside it); with bAutoEnable the commands below 0xF000 that no target handles are disabled.
void AfxUpdateMenuPopup(CMenu* pPopupMenu, CCmdTarget* pTarget, BOOL bAutoEnable);
