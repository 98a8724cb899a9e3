// The arrangement of the bars between runs, as it is written in the application profile: one record per bar
// (visible, floating, where, where it was docked and floated last), the screen size it was saved on, and the
// rows of the four dock bars as lists of bar ids. Positions saved on another screen size are scaled, and none may
// land right of or below the screen less an icon.
#pragma once

#include "platform/mfc/afxwin.h"

#include <memory>
#include <vector>

class CXTPCommandBar;
class CXTPPropExchange;

class CXTPBarInfo
{
public:
    // Reads and writes "%s-Bar%d" (profile name, number); loading scales the positions by the state.
    void SaveState(LPCTSTR lpszProfileName, int nIndex) const;
    void LoadState(LPCTSTR lpszProfileName, int nIndex, const class CXTPDockState* pState);
    // The exchange form, "BarId" ... "DialogBarFloatingClientSize"; the dialog-bar keys from version 7.
    void DoPropExchange(CXTPPropExchange* pPX, DWORD dwVersion, const class CXTPDockState* pState);

    DWORD m_nBarID = 0;
    BOOL m_bVisible = TRUE;
    BOOL m_bFloating = FALSE;
    CPoint m_pointPos = CPoint(-1, -1);
    int m_nMRUWidth = 32767;
    int m_uMRUDockPosition = 0;
    CRect m_rectMRUDockPos = CRect(0, 0, 0, 0);
    CPoint m_ptMRUFloatPos = CPoint(0, 0);
    BOOL m_bDialogBar = FALSE;
    CSize m_szDockingClient = CSize(200, 200);
    CSize m_szFloatingClient = CSize(200, 200);
    CXTPCommandBar* m_pBar = nullptr;   // not stored
};

class CXTPDockState
{
public:
    // More bars or dock-bar entries than this in stored data are damage, not an arrangement.
    enum { maxStoredCount = 1024 };

    CXTPDockState();

    // "%s-Summary": the number of bar records written and the screen size.
    void SaveSummary(LPCTSTR lpszProfileName) const;
    // Reads the summary and the bar records it counts. A count beyond any real arrangement loads no record.
    void LoadState(LPCTSTR lpszProfileName);
    void SaveState(LPCTSTR lpszProfileName) const;

    // The exchange form: section "DockState" with "Version", "ScreenSize", "Count" and "BarInfo%i". Loading
    // appends the records; more than maxStoredCount of them are damage (CArchiveException).
    void DoPropExchange(CXTPPropExchange* pPX);
    // "DockBars" with "DockBar%i" (0-3): "Count" and "Id%i", the entries as the profile writes them. Loading fills
    // the rows (empty where fewer than 2 entries are stored).
    static void ExchangeDockBarRows(CXTPPropExchange* pPX, std::vector<DWORD> (&arrRows)[4]);

    // The stored screen size; scaling follows only a stored size that is known (not 0) and differs.
    void SetStoredScreenSize(CSize size);
    BOOL IsScaling() const { return m_bScaling; }
    CPoint ScalePoint(CPoint pt) const;
    // Moved (not resized) like its top-left, then back inside the clip rectangle.
    CRect ScaleRect(CRect rc) const;

    // Writes one dock bar's rows, ids with 0 between rows ("%s-DockBar%d"); fewer than 2 entries leave the
    // section empty.
    static void SaveDockBar(LPCTSTR lpszProfileName, int nDockBar, const std::vector<DWORD>& arrIds);
    // The stored entries of a dock bar (empty when fewer than 2 or damaged).
    static std::vector<DWORD> LoadDockBar(LPCTSTR lpszProfileName, int nDockBar);
    // The entries as written: a 0 right after a 0 is left out (the first entry always stays).
    static std::vector<DWORD> CompactEntries(const std::vector<DWORD>& arrIds);

    DWORD m_dwVersion = 9;
    std::vector<std::unique_ptr<CXTPBarInfo>> m_arrBarInfo;
    CRect m_rectDevice;
    CRect m_rectClip;
    CSize m_sizeStored = CSize(0, 0);

private:
    BOOL m_bScaling = FALSE;
};
