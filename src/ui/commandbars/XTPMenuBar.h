// The command bar in place of the frame's Windows menu: a toolbar of type 0 filled from a menu resource. It takes
// the frame's menu away, hooks the frame to open on Alt or F10, and follows the active MDI child (its system menu
// and window buttons while maximised; one set of controls per document menu).
#pragma once

#include "ui/commandbars/XTPPopupBar.h"
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
    // Back from a document's menu to the bar's own; TRUE when the bar showed a document's menu.
    BOOL SwitchToOwnMenu();
    // After the bar state was loaded: with stored document menus the bar shows its own menu, and the document
    // menus that are as the program made them are forgotten (the next switch builds them from the menu again).
    void RestoreMDIMenus();
    // Whether the last RestoreMDIMenus found stored document menus.
    BOOL IsMDIMenusRestored() const { return m_bRestored; }
    // The controls of each document menu, by the document template's menu id.
    const std::map<UINT, CXTPControls*>& GetDocMenus() const { return m_mapDocMenus; }
    BOOL HasDocMenus() const { return !m_mapDocMenus.empty(); }
    UINT GetCurrentMenuResource() const { return m_nIDResourceCurrent; }
    // The text of a menu item, as long as the item has it.
    static int GetMenuString(HMENU hMenu, UINT nIDItem, CString& rString, UINT nFlags);

protected:
    void SyncActiveMdiChild();
    void RefreshMdiButtons();
    // The system-menu control of the active child, at the left while the child is maximised.
    void RefreshSysMenuControl(BOOL bWanted, HWND hWndChild, HMENU hSysMenu);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

    BOOL m_bMdiApp = FALSE;
    HWND m_hWndActiveChild = nullptr;
    HMENU m_hMenu = nullptr;
    UINT m_nIDResource = 0;
    UINT m_nIDResourceCurrent = 0;
    std::map<UINT, CXTPControls*> m_mapDocMenus;
    BOOL m_bRestored = FALSE;
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

// The system menu of a maximised MDI child at the left of the menu bar: the child's icon, opening the child's
// window commands.
class CXTPMenuBarSysMenuControl : public CXTPControlPopup
{
    DECLARE_DYNCREATE(CXTPMenuBarSysMenuControl)
public:
    CXTPMenuBarSysMenuControl() = default;
    ~CXTPMenuBarSysMenuControl() override;

    // Takes the child's icon and fills the popup from its system menu.
    void SetMDISysMenu(HWND hWndChild, HMENU hMenu);
    HMENU GetMDISysMenu() const { return m_hMenu; }
    HICON GetIcon() const { return m_hIcon; }
    CSize GetSize(CDC* /*pDC*/) override { return CSize(16, 16); }
    void Draw(CDC* pDC) override;
    // The icon casts no shadow, and its popup keeps a pixel clear of it on each side.
    void AddShadow() override {}
    void AdjustExcludeRect(CRect& rc) override { rc.InflateRect(1, 1); }

private:
    HMENU m_hMenu = nullptr;
    HICON m_hIcon = nullptr;
};

// The child's icon: what it answers to 0x483, its small or big icon, its class's small icon, else the system logo.
HICON GetMDIChildIcon(HWND hWndChild);

// The popup of the system-menu control: its commands carry their menu's shortcut texts.
class CXTPMenuBarSysMenuPopup : public CXTPPopupBar
{
    DECLARE_DYNCREATE(CXTPMenuBarSysMenuPopup)
public:
    void UpdateShortcuts() override {}
};
