// The one object that attaches command bars to a frame (its site): it makes the menu bar and the toolbars, keeps
// them in order, owns the options and the shortcut manager, relays the frame's messages that concern the bars
// (keys, colours, idle update, activation) and shows context menus through its popup tracking.
#pragma once

#include "ui/commandbars/XTPCommandBarsOptions.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/uires.h"

#include <vector>

class CXTPBarPainter;
class CXTPCustomizeDropSource;
class CXTPCommandBarList;
class CXTPDockState;
class CXTPPropExchange;
class CXTPDockBar;
class CXTPImageManager;
class CXTPMenuBar;
class CXTPShortcutManager;
class CXTPToolBar;
class CTipContext;
class CXTPReBar;
class CMouseManager;
class CKeyboardManager;

// The generated list of toolbars inside menus.
#define XTP_ID_TOOLBARLIST 0xE800

// What a whole-set exchange of the bars covers. The root exchange holds it (m_dwData) for every section below.
struct CXTPCommandBarsExchangeParam
{
    BOOL bSerializeControls = FALSE;      // the bars with their controls ("CommandBars")
    BOOL bSaveOnlyCustomized = TRUE;      // saving leaves out built-in bars the user did not change
    BOOL bLoadSilent = FALSE;             // loading asks nothing about changed toolbars
    BOOL bSaveOriginalControls = TRUE;    // each collection's original copy goes along
    BOOL bSerializeImages = FALSE;        // the image manager ("Images")
    BOOL bSerializeOptions = FALSE;       // "Shortcuts" and "Options"
    BOOL bSerializeLayout = TRUE;         // the dock state and the dock bars' rows ("Layout")
    // The manager's own collection of commands goes along with the bars; loading it makes the loaded shortcuts
    // and controls the ones a reset returns to.
    BOOL bSerializeCommandCollection = FALSE;
    CXTPCommandBars* pCommandBars = nullptr;

    // The record an exchange carries, or null.
    static CXTPCommandBarsExchangeParam* From(const CXTPPropExchange* pPX);
};

class CXTPCommandBars : public CCmdTarget
{
    DECLARE_DYNCREATE(CXTPCommandBars)
public:
    CXTPCommandBars();
    ~CXTPCommandBars() override;

    // Intelligent menus: hidden and not used.
    virtual BOOL IsCommandHidden(UINT nId);
    // Also a popup whose commands are all hidden, when "AutoHideUnusedPopups" is on.
    virtual BOOL IsControlHidden(CXTPControl* pControl);
    // The menu resource of the active document; the default menu id without MDI children.
    virtual UINT GetActiveDocTemplate();
    // The toolbars menu of the frame at a screen point.
    virtual void ContextMenu(WPARAM wParam, CPoint pt);
    virtual CXTPPopupBar* CreateToolbarsPopup();
    // Copies of the controls of the bar's row hidden for lack of room.
    virtual void GetHiddenControls(CXTPToolBar* pBar, CXTPCommandBar* pTarget);
    // One entry per bar of the row for adding and removing buttons, then the customise command.
    virtual void BuildExpandPopup(CXTPToolBar* pBar, CXTPCommandBar* pTarget);
    // The bars docked in the bar's row, in order (the bar alone when it floats).
    std::vector<CXTPToolBar*> GetDockRow(CXTPToolBar* pBar) const;
    virtual void OnToolBarAdded(CXTPToolBar* pBar);
    virtual void OnToolBarRemoved(CXTPToolBar* pBar);
    virtual void OnTrackingModeChanged(CXTPCommandBar* pBar, int nMode);
    // A toolbar for a torn-off popup, floating or docked at the top; null when it cannot be made.
    virtual CXTPToolBar* CreateTearOffBar(LPCTSTR lpszTitle, UINT nId, BOOL bFloating);

    // The frame; asks its routing whether it handles the customise command.
    void SetSite(CWnd* pSite);
    CWnd* GetSite() const { return m_pSite; }
    // The menu bar from a menu resource, docked at the top; null on failure.
    CXTPMenuBar* SetMenu(LPCTSTR lpszTitle, UINT nIDMenu);
    CXTPMenuBar* GetMenuBar() const { return m_pMenuBar; }
    // A toolbar at a position (0-3 docked, 4 floating); null on failure.
    CXTPToolBar* Add(LPCTSTR lpszTitle, int nPosition, CRuntimeClass* pToolBarClass = nullptr);
    // The four dock bars of the frame (a window that cannot be made throws the resource exception). Until they
    // exist, docked toolbars take their rows themselves.
    void EnableDocking();
    CXTPDockBar* GetDockBar(int nPosition) const
    {
        return nPosition >= 0 && nPosition < 4 ? m_pDocks[nPosition] : nullptr;
    }
    // Docks the bar at a position 0-3 / floats it; FALSE when it cannot.
    BOOL DockCommandBar(CXTPToolBar* pBar, int nPosition);
    // Docks the bar in a dock bar at a screen rectangle (null: a new last row).
    BOOL DockCommandBar(CXTPToolBar* pBar, LPCRECT lpRect, CXTPDockBar* pDockBar);
    BOOL FloatCommandBar(CXTPToolBar* pBar);
    // The dock bar within 20 pixels of a screen point, the preferred one first; null when none.
    CXTPDockBar* CanDock(CPoint pt, CXTPDockBar* pPreferred) const;

    // The arrangement of the bars, the status bar's visibility and the customised bars in the profile.
    void SaveBarState(LPCTSTR lpszProfileName, BOOL bOnlyCustomized = TRUE);
    void LoadBarState(LPCTSTR lpszProfileName, BOOL bSilent = FALSE);
    // The file that holds customised controls too large for the profile: the one set, else "<module>-<profile>".
    void GetControlsFileName(CString& strFileName, LPCTSTR lpszProfileName) const;
    void SetControlsFileName(LPCTSTR lpszFileName) { m_strControlsFileName = lpszFileName; }
    // The whole set through an exchange: what pParam names (null: the default record), see
    // CXTPCommandBarsExchangeParam. Damaged data raises CArchiveException; the bars and their places then stay
    // as they were.
    void DoPropExchange(CXTPPropExchange* pPX, CXTPCommandBarsExchangeParam* pParam = nullptr);
    // The places of the bars, and with bSerializeControls the customised bars, through an archive.
    void SerializeBarState(CArchive& ar, BOOL bSerializeControls = FALSE, BOOL bOnlyCustomized = TRUE,
                           BOOL bSilent = FALSE);
    // The rows of the four dock bars as "DockBars"; loading places the bars at once.
    void ExchangeDockBars(CXTPPropExchange* pPX);
    // One record per bar, in bar order; applying places, shows and hides the bars the records name.
    void GetDockState(CXTPDockState& state) const;
    void SetDockState(const CXTPDockState& state);
    // The commands the manager offers apart from its bars (none by default); the manager takes the reference given
    // and lets the former collection go.
    CXTPControls* GetCommandCollection() const { return m_pCommandCollection; }
    void SetCommandCollection(CXTPControls* pControls);
    // Without customisation the bars keep the program's buttons: their changes are neither saved nor loaded.
    void SetCustomizable(BOOL bCustomizable) { m_bCustomizable = bCustomizable; }
    BOOL IsCustomizable() const { return m_bCustomizable; }
    // The customised bars (with the popup bars their controls open) and their exchange as "CommandBars".
    virtual void GenerateCommandBarList(CXTPCommandBarList& list, const CXTPCommandBarsExchangeParam* pParam);
    virtual void SaveCommandBarList(CXTPPropExchange* pPX, const CXTPCommandBarList& list);
    // FALSE when a bar's class cannot be made; a damaged control raises CArchiveException.
    virtual BOOL LoadCommandBarList(CXTPPropExchange* pPX, CXTPCommandBarList& list);
    // The program's bars take the loaded bars' controls; a loaded toolbar the program lacks (one the user made)
    // joins the bars, docked. When the program's own toolbar has changed since, a customised one is kept only
    // when the user says so (never when silent).
    virtual void RestoreCommandBarList(CXTPCommandBarList& list, BOOL bSilent = FALSE);
    void Remove(CXTPToolBar* pBar);

    int GetCount() const { return static_cast<int>(m_arrBars.size()); }
    CXTPToolBar* GetAt(int nIndex) const
    {
        return nIndex >= 0 && nIndex < GetCount() ? m_arrBars[static_cast<size_t>(nIndex)] : nullptr;
    }
    int IndexOf(const CXTPToolBar* pBar) const;
    // Id 0 finds nothing.
    CXTPToolBar* FindBarById(UINT nId) const;
    // Over the bars from the last to the first.
    CXTPControl* FindControl(int nType, int nId, BOOL bVisible, BOOL bRecursive) const;
    // Shows the bar at the index when it is hidden, else hides it.
    void ToggleVisible(int nIndex);

    CXTPBarPainter* GetPaintManager() const;
    // Null when the manager has none of its own.
    CXTPBarPainter* GetOwnPaintManager() const { return m_pPaintManager; }
    CXTPImageManager* GetOwnImageManager() const { return m_pImageManager; }
    // Takes the reference given; releases the former painter.
    void SetPaintManager(CXTPBarPainter* pPainter);
    CXTPImageManager* GetImageManager() const;
    // Takes the reference given.
    void SetImageManager(CXTPImageManager* pImageManager);
    CXTPShortcutManager* GetShortcutManager() const { return m_pShortcutManager; }
    // Takes the object given; releases the former one.
    void SetShortcutManager(CXTPShortcutManager* pShortcutManager);
    CXTPCommandBarsOptions* GetCommandBarsOptions() const { return m_pOptions; }
    CTipContext* GetToolTipContext() const { return m_pToolTipContext; }
    CMouseManager* GetMouseManager();
    CKeyboardManager* GetKeyboardManager();

    void HideCommands(const UINT* pCommands, int nCount);
    // Customise mode for the customise sheet: every bar's controls are enabled and the frame laid out again. The
    // temporary form of an Alt-drag keeps the bars as they are.
    void SetCustomizeMode(BOOL bMode, BOOL bTemporary = FALSE);
    BOOL IsCustomizeMode() const { return m_bCustomizeMode; }
    BOOL IsTemporaryCustomizeMode() const { return m_bTemporaryCustomizeMode; }
    // Whether the system's call for the menu bar as Alt is let go (SC_KEYMENU) stands: not once after an Alt-drag,
    // whose Alt key it was.
    BOOL AcceptKeyMenu();
    BOOL IsCustomizeAvail() const { return m_bCustomizeAvail; }
    // The control chosen in customise mode (the manager holds a reference); null when none.
    CXTPControl* GetDragControl() const { return m_pDragControl; }
    // Repaints the former and the new control's bars and tells the site (message 1330).
    void SetDragControl(CXTPControl* pControl);
    void ClosePopups();
    // The customise drag of controls and its drop targets.
    CXTPCustomizeDropSource* GetDropSource() const { return m_pDropSource; }

    // nothing while the layout lock is held; with bDelay the frame lays out at its next idle update.
    void RecalcFrameLayout(BOOL bDelay = FALSE);
    void RecalcLayoutAll();
    void RedrawCommandBars();
    void InvalidateCommandBars();
    void UpdateCommandBars();
    void OnSetPreviewMode(BOOL bPreview);
    // The site frame chooses its menu again (the active document's): the menu bar follows.
    void UpdateFrameMenu();

    // The options' registry key "%s-Options" under the application's key.
    void LoadOptions(LPCTSTR lpszProfileName);
    void SaveOptions(LPCTSTR lpszProfileName);

    // The frame's keyboard input before its translation; TRUE when the bars consumed it.
    BOOL PreTranslateFrameMessage(MSG* pMsg);
    // The frame's messages before its own handling; TRUE when consumed (*pResult is the answer).
    BOOL OnFrameWndMsg(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The Alt-letter search of the bars; TRUE when a control took the key.
    BOOL OnFrameAccel(UINT nVirtKey);
    // Ctrl+Tab in a tracking toolbar: the next (bForward) or preceding visible bar takes the keyboard.
    BOOL SetTrackingNextBar(CXTPCommandBar* pBar, BOOL bForward);

    // The keyboard cues: visible, and whether they follow the Alt key.
    void SetKeyboardCuesState(BOOL bVisible, BOOL bHideUntilAlt);
    BOOL IsKeyboardCuesVisible() const { return m_bCustomizeMode || m_bKeyboardCuesVisible; }
    void ShowKeyboardCues(BOOL bShow);

    // Tracks a popup at a screen point until it closes; with TPM_RETURNCMD the chosen command (0 for none) and
    // nothing is sent, else TRUE when it opened.
    static int TrackPopup(CXTPPopupBar* pPopup, UINT nFlags, int x, int y, CWnd* pSite, const RECT* lpExclude = nullptr,
                          CWnd* pOwner = nullptr);
    // A popup bar made from a menu for the manager, tracked; FALSE when the menu does not load.
    static int TrackPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pSite, const RECT* lpExclude = nullptr,
                              CWnd* pOwner = nullptr, CXTPCommandBars* pCommandBars = nullptr);

    // The classes of new toolbars and of the menu bar (process-wide).
    static CRuntimeClass* m_pToolBarClass;
    static CRuntimeClass* m_pMenuBarClass;
    // Alt+Shift combinations are left to the frame.
    BOOL m_bIgnoreShiftMenuKey = FALSE;

protected:
    // Question asked when a customised toolbar meets a changed program toolbar: TRUE to take the new one.
    virtual BOOL AskResetForUpdate(CXTPToolBar* pBar);
    // A bar of a runtime class for this manager and its site, not docking yet; null when the class makes no toolbar.
    CXTPToolBar* CreateToolBar(CRuntimeClass* pClass, LPCTSTR lpszTitle);
    // Lets go of a bar whose creation failed after it was docked.
    void ReleaseUnaddedBar(CXTPToolBar* pBar);
    // The frame's rebar (child AFX_IDW_REBAR) when it has one.
    CXTPReBar* GetFrameReBar() const;
    // Whether any bar of this thread tracks.
    BOOL IsAnyBarTracking() const;

    CXTPCustomizeDropSource* m_pDropSource;
    CXTPBarPainter* m_pPaintManager = nullptr;
    CXTPImageManager* m_pImageManager = nullptr;
    BOOL m_bCustomizeMode = FALSE;
    BOOL m_bCustomizeAvail = FALSE;
    BOOL m_bTemporaryCustomizeMode = FALSE;
    // An Alt-drag ended: the Alt key's release is the drag's, not a call for the menu bar (a new press of Alt
    // clears it).
    BOOL m_bAltKeyUsed = FALSE;
    UINT m_nDefaultMenuID = 0;
    CXTPCommandBarsOptions* m_pOptions;
    std::vector<CXTPToolBar*> m_arrBars;
    CXTPDockBar* m_pDocks[4] = {nullptr, nullptr, nullptr, nullptr};
    CWnd* m_pSite = nullptr;
    CXTPMenuBar* m_pMenuBar = nullptr;
    CTipContext* m_pToolTipContext;
    CMouseManager* m_pMouseManager = nullptr;
    CKeyboardManager* m_pKeyboardManager = nullptr;
    BOOL m_bKeyboardCuesVisible = TRUE;
    CXTPShortcutManager* m_pShortcutManager;
    BOOL m_bRecalcLayoutLock = FALSE;
    CString m_strControlsFileName;
    CXTPControl* m_pDragControl = nullptr;
    BOOL m_bCustomizable = TRUE;
    CXTPControls* m_pCommandCollection = nullptr;

private:
    // The ids of a dock bar's entries, 0 between rows; placing takes them back (an unknown id separates rows).
    std::vector<DWORD> GetDockBarRows(int nDockBar) const;
    void SetDockBarRows(int nDockBar, const std::vector<DWORD>& arrIds);
    // "Images", "Shortcuts" and "Options" of a whole-set exchange.
    void ExchangeImagesAndOptions(CXTPPropExchange* pPX, const CXTPCommandBarsExchangeParam& param);
    // Loading them: data that breaks off among them gives the images, shortcuts, options and painter back what
    // they held, and the exception goes on to the caller.
    void LoadImagesAndOptions(CXTPPropExchange* pPX, const CXTPCommandBarsExchangeParam& param);
    // A loaded toolbar the program lacks: it joins the bars, docked.
    void AddLoadedToolBar(CXTPToolBar* pBar);
    // The command collection travels among the saved bars in a hidden toolbar of its own (null without one).
    CXTPToolBar* AddCommandCollectionBar();
    // That bar goes; its collection, without the bar's own buttons and bound to no bar, is the caller's reference.
    CXTPControls* RemoveCommandCollectionBar(CXTPToolBar* pBar);
    // RestoreCommandBarList, then the menu bar (id 1) hooks the frame again and refreshes.
    void RestoreLoadedBars(CXTPCommandBarList& list, BOOL bSilent);
    // The customised bars in "%s-Controls": binary up to 16000 bytes, else a hidden file whose path is stored.
    // FALSE when they could not be written (the section then stays as it was).
    BOOL SaveControls(LPCTSTR lpszProfileName, BOOL bOnlyCustomized);
    // Damaged data loads nothing of it (the rest of the state still loads).
    void LoadControls(LPCTSTR lpszProfileName, BOOL bSilent);
    // After a save: the menu bar showed its own menu while the bars were listed; the document's comes back.
    void RestoreFrameMenu();
    BOOL m_bHideKeyboardCuesUntilAlt = FALSE;
    // The menu bar left a document's menu while the bars were listed.
    BOOL m_bFrameMenuLeft = FALSE;
};

// Through the command bars when a bar painter is installed, else the menu's own TrackPopupMenu; the command
// chosen or the tracking result. nIDToolBar > 0: the popup's icons come from that toolbar resource.
int TrackPopupMenuEx(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pOwner, UINT nIDToolBar = 0);
