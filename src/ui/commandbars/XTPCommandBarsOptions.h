// The user's settings of one manager's command bars: menu behaviour (full or intelligent menus with their hidden
// and used commands), tips, icon sizes, animation, keyboard cues, customisation gestures. They travel through
// one property exchange: the registry key "%s-Options" holds the menu part, the bar state the rest.
#pragma once

#include "platform/mfc/afxwin.h"

#include <set>
#include <vector>

class CXTPCommandBars;
class CXTPPropExchange;

// The system's yes/no settings that the bars follow (keyboard cues, menu animation and fading). The system's by
// default; tests put fixed answers in its place.
class CXTPSystemSettings
{
public:
    virtual ~CXTPSystemSettings() = default;
    // SystemParametersInfo's answer for a BOOL setting; FALSE when the call fails.
    virtual BOOL GetFlag(UINT nAction, BOOL& bValue) const;

    static const CXTPSystemSettings* Get() { return s_pCurrent; }
    // Null puts the system's back.
    static void Set(const CXTPSystemSettings* pSettings);

private:
    static const CXTPSystemSettings* s_pCurrent;
};

class CXTPCommandBarsOptions : public CCmdTarget
{
public:
    CXTPCommandBarsOptions() = default;

    // Intelligent menus: a hidden command shows in popups once it was used.
    void HideCommand(UINT nId) { m_setHiddenCommands.insert(nId); }
    BOOL IsCommandHidden(UINT nId) const
    {
        return m_setHiddenCommands.count(nId) != 0 && m_setUsedCommands.count(nId) == 0;
    }
    // An executed command counts as used only when it is hidden.
    void OnCommandExecuted(UINT nId)
    {
        if (IsCommandHidden(nId))
            m_setUsedCommands.insert(nId);
    }
    void ResetUsageData() { m_setUsedCommands.clear(); }

    // 0 cues always shown, 1 never, 2 as the system says (SPI_GETKEYBOARDCUES).
    void SetKeyboardCuesShow(int nMode);
    int GetKeyboardCuesShow() const { return m_nKeyboardCuesShow; }

    // bUserOptions: only the menu part (the registry key of the options).
    void DoPropExchange(CXTPPropExchange* pPX, BOOL bUserOptions = FALSE);
    // Every option (not only the menu part) through an archive.
    void Serialize(CArchive& ar) override;

    // The set's archive form: a 16-bit count (0xFFFF and a 32-bit count from 65535), then per id the id and 1,
    // 32-bit little-endian each.
    static std::vector<BYTE> CommandSetToBytes(const std::set<UINT>& setCommands);
    // Whole entries only; a damaged tail is ignored.
    static void CommandSetFromBytes(const BYTE* pData, DWORD nBytes, std::set<UINT>& setCommands);

    BOOL bAlwaysShowFullMenus = TRUE;
    BOOL bShowFullAfterDelay = TRUE;
    BOOL bToolBarScreenTips = TRUE;
    BOOL bToolBarAccelTips = FALSE;
    BOOL bLargeIcons = FALSE;
    BOOL bSyncFloatingToolbars = TRUE;
    BOOL bShowExpandButtonAlways = TRUE;
    BOOL bDblClickFloat = FALSE;
    BOOL bShowTextBelowIcons = FALSE;
    BOOL bAltDragCustomization = TRUE;
    BOOL bAutoHideUnusedPopups = TRUE;
    BOOL bDirtyState = FALSE;
    BOOL bShowPopupBarToolTips = FALSE;
    int nAnimationType = 0;
    int keyboardCuesUse = 1;
    BOOL bShowStatusBarPrompts = TRUE;
    // Popups show their commands' shortcut texts (not saved).
    BOOL bShowShortcutsInPopups = TRUE;
    CSize szIcons = CSize(0, 0);
    CSize szLargeIcons = CSize(0, 0);
    CSize szPopupIcons = CSize(16, 16);
    std::set<UINT> m_setHiddenCommands;
    std::set<UINT> m_setUsedCommands;
    CXTPCommandBars* m_pCommandBars = nullptr;

private:
    void ExchangeCommandSet(CXTPPropExchange* pPX, LPCTSTR lpszName, std::set<UINT>& setCommands);

    int m_nKeyboardCuesShow = 0;
};

// Bits of "KeyboardCuesUse".
enum { xtpKeyboardCuesUseAll = 1, xtpKeyboardCuesUseNone = 2, xtpKeyboardCuesNoFirstLetter = 4 };
