// The frame's keyboard accelerators for one command-bars manager: the table in use (translation, menu texts,
// saving) and the table a reset restores; display texts of entries, menu letters across keyboard layouts, and
// the user's table kept as the binary profile value "Accelerators".
#pragma once

#include "platform/mfc/afxwin.h"

#include <vector>

class CFrameWnd;
class CXTPPropExchange;

// The keyboard as shortcut texts and menu letters see it. The system's by default; tests put other layouts in
// its place.
class CXTPKeyboardLayouts
{
public:
    virtual ~CXTPKeyboardLayouts() = default;

    // The character of a virtual key in the current layout (MAPVK_VK_TO_CHAR); 0 for none.
    virtual UINT VirtualKeyToChar(UINT nVirtKey) const;
    // The scan code of a virtual key in the current layout.
    virtual UINT VirtualKeyToScanCode(UINT nVirtKey) const;
    // The system's name of a key given as a key message's lParam.
    virtual CString GetKeyNameText(LONG lParam) const;
    virtual std::vector<HKL> GetInstalledLayouts() const;
    // The characters that the key gives in a layout with the current keyboard state; their number as
    // ToUnicodeEx counts them.
    virtual int TranslateKey(UINT nVirtKey, HKL hLayout, CString& strChars) const;

    static CXTPKeyboardLayouts& System();
};

class CXTPShortcutManager : public CCmdTarget
{
public:
    // pSite is the frame of the bars: its own table serves for texts while none was given here.
    explicit CXTPShortcutManager(CFrameWnd* pSite = nullptr);
    ~CXTPShortcutManager() override;
    CXTPShortcutManager(const CXTPShortcutManager&) = delete;
    CXTPShortcutManager& operator=(const CXTPShortcutManager&) = delete;

    // The shortcut text of command nCmd into strShortcut: kept when it is already one of the command's
    // entries, otherwise the entry of the highest rank; emptied without an entry. Whether one exists.
    virtual BOOL FindShortcutText(UINT nCmd, CString& strShortcut);
    // "Ctrl+Shift+F5" for an entry; *pnRank (when given) 3 with Ctrl, 2 with Alt, 1 with Shift, 4 without a
    // modifier, 0 for no entry.
    virtual CString FormatShortcut(const ACCEL* pAccel, int* pnRank = nullptr);
    virtual CString GetKeyName(UINT nVirtKey);
    // A plain virtual Escape is a shortcut only when m_bAllowEscapeShortcut is set.
    virtual BOOL IsAllowedShortcut(const ACCEL& accel) const;
    virtual HACCEL GetAcceleratorTable() const { return m_hAccelTable; }
    // The current table becomes a fresh copy of the reset table.
    virtual void Reset();

    // Both tables from the accelerator resource nIDResource (none when it is missing).
    void LoadAccelerators(UINT nIDResource);
    // hAccelTable (now owned) becomes the current table, a copy of it the reset table.
    void SetAccelerators(HACCEL hAccelTable);
    // The reset table becomes a copy of the current one.
    void UpdateAcceleratorTable();
    void SetAcceleratorTable(const ACCEL* pAccels, int nCount);
    // Replaces the first virtual-key entry of the same key and modifiers, or appends.
    void AddShortcut(BYTE fVirt, WORD wKey, WORD wCmd);
    // The last entry of command nCmd, with FVIRTKEY cleared.
    BOOL FindAccel(UINT nCmd, ACCEL& accel) const;

    // Both do nothing until a reset table exists.
    void SaveShortcuts(LPCTSTR lpszSection);
    void LoadShortcuts(LPCTSTR lpszSection);
    // The current table inside the command-bar state: "Count" and the records as "Data" where the store keeps
    // binary values, else the list "Accel" of "Id", "virt" and "key". A list that says it has entries but gives
    // none, or more than a table can hold, leaves the table in use as it is.
    void DoPropExchange(CXTPPropExchange* pPX);

    // Whether key nVirtKey types the menu letter chAccel, with the keys held now, in any installed layout.
    BOOL CompareAccelKey(TCHAR chAccel, UINT nVirtKey) const;
    static TCHAR ToUpper(TCHAR ch);

    static std::vector<ACCEL> GetEntries(HACCEL hAccelTable);
    // Null for no entries.
    static HACCEL CreateTable(const std::vector<ACCEL>& arrEntries);
    // The six-byte records of the profile value, and back: whole records only.
    static std::vector<BYTE> ToBytes(const std::vector<ACCEL>& arrEntries);
    static std::vector<ACCEL> FromBytes(const BYTE* pData, UINT nBytes);

    void SetKeyboardLayouts(const CXTPKeyboardLayouts* pLayouts) { m_pLayouts = pLayouts; }
    // The frame whose own table serves for texts while the manager has none.
    void SetSite(CFrameWnd* pSite) { m_pSite = pSite; }

    BOOL m_bAllowEscapeShortcut = FALSE;

private:
    void DestroyTables();

    CFrameWnd* m_pSite;
    HACCEL m_hAccelTable = nullptr;
    HACCEL m_hOriginalAccelTable = nullptr;
    const CXTPKeyboardLayouts* m_pLayouts;
};
