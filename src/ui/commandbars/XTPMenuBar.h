// The command bar in place of the frame's Windows menu: a toolbar of type 0 filled from a menu resource. It takes
// the frame's menu away, hooks the frame to open on Alt or F10, and follows the active MDI child (its system menu
// and window buttons while maximised; one set of controls per document menu).
#pragma once

#include "ui/commandbars/XTPToolBar.h"

#include <map>

// Ids of the MDI controls of the menu bar.
#define XTP_ID_MENUBAR_CLOSE    9403
#define XTP_ID_MENUBAR_RESTORE  9404
#define XTP_ID_MENUBAR_MINIMIZE 9405
#define XTP_ID_MENUBAR_SYSMENU  9406
// The deferred refresh of the MDI controls.
#define XTP_TID_MDIREFRESH 12223

// Menu-bar flags that leave MDI controls out (or keep the frame's menus).
enum
{
    xtpFlagHideMinimizeBox = 0x0100,
    xtpFlagHideMaximizeBox = 0x0200,
    xtpFlagIgnoreSetMenuMessage = 0x0400,
    xtpFlagHideClose = 0x1000,
    xtpFlagAddMDISysPopup = 0x2000
};

// Which MDI controls a maximised child wants: the decision of the refresh, kept apart from the windows.
struct XTP_MDI_BUTTONS
{
    BOOL bSysMenu, bMinimize, bRestore, bClose;
};
XTP_MDI_BUTTONS GetWantedMdiButtons(BOOL bMaximized, DWORD dwChildStyle, DWORD dwBarFlags, BOOL bHasSysMenu);

class CXTPMenuBar : public CXTPToolBar
{
    DECLARE_DYNCREATE(CXTPMenuBar)
public:
    CXTPMenuBar();
    ~CXTPMenuBar() override;

    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
    void Copy(CXTPCommandBar* pOther, BOOL bRecursive) override;
    void Reset() override;
    // The toolbar keys, "ResourceId" and the document menus ("MDIMenu%i" with "Id" and the controls); saving
    // shows the bar's own menu first.
    void DoPropExchange(CXTPPropExchange* pPX) override;

    // Fills the bar from the menu resource (0: none), hooks the frame and takes its menu away.
    BOOL LoadMenuBar(UINT nIDResource);
    void SetupHook();
    HWND GetActiveMdiChild(BOOL* pbMaximized = nullptr) const;
    void RefreshMenu();
    void SwitchMDIMenu(HMENU hMenu);
    // Back from a document's menu to the bar's own.
    void SwitchToOwnMenu();
    // The controls of each document menu, by the document template's menu id.
    const std::map<UINT, CXTPControls*>& GetDocMenus() const { return m_mapDocMenus; }
    BOOL HasDocMenus() const { return !m_mapDocMenus.empty(); }
    UINT GetCurrentMenuResource() const { return m_nIDResourceCurrent; }
    // The text of a menu item, as long as the item has it.
    static int GetMenuString(HMENU hMenu, UINT nIDItem, CString& rString, UINT nFlags);

protected:
    void SyncActiveMdiChild();
    void RefreshMdiButtons();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

    BOOL m_bMdiApp = FALSE;
    HWND m_hWndActiveChild = nullptr;
    HMENU m_hMenu = nullptr;
    UINT m_nIDResource = 0;
    UINT m_nIDResourceCurrent = 0;
    std::map<UINT, CXTPControls*> m_mapDocMenus;
    BOOL m_bDirtyMenu = FALSE;
};

// A button of a maximised MDI child (minimise, restore, close), drawn with its Marlett glyph.
class CXTPMenuBarMDIButton : public CXTPControlButton
{
    DECLARE_DYNCREATE(CXTPMenuBarMDIButton)
public:
    CXTPMenuBarMDIButton() { m_nType = xtpControlButton; }
    void OnExecute() override;
    void Draw(CDC* pDC) override;
    CSize GetSize(CDC* /*pDC*/) override { return CSize(16, 16); }
    void SetBeginGroup(BOOL /*bBeginGroup*/) override {}
};
