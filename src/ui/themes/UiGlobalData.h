// Process-wide records that the framework's windows read instead of asking the system each time: the
// operating-system version with its tests, and the shared colours, cursors, metrics and fonts.
#pragma once

#include "platform/mfc/afxwin.h"

class COsVersion
{
public:
    // The running system's version.
    COsVersion();
    explicit COsVersion(const OSVERSIONINFO& info) : m_info(info) {}

    const OSVERSIONINFO& GetInfo() const { return m_info; }

    BOOL IsWin32s() const { return m_info.dwPlatformId == VER_PLATFORM_WIN32s; }
    BOOL IsWin95() const { return Is9x() && m_info.dwMajorVersion == 4 && m_info.dwMinorVersion < 10; }
    BOOL IsWin98() const { return Is9x() && IsExactly(4, 10); }
    BOOL IsWinME() const { return Is9x() && IsExactly(4, 90); }
    BOOL IsWinNT4() const { return IsNT() && IsExactly(4, 0); }
    BOOL IsWin2000() const { return IsNT() && IsExactly(5, 0); }
    BOOL IsWinXP() const { return IsNT() && IsExactly(5, 1); }
    BOOL IsWin95OrLater() const { return Is9x() && m_info.dwMajorVersion >= 4; }
    BOOL IsWin98OrLater() const { return Is9x() && IsAtLeast(4, 10); }
    BOOL IsWinMEOrLater() const { return Is9x() && IsAtLeast(4, 90); }
    BOOL IsWinNT4OrLater() const { return m_info.dwPlatformId >= VER_PLATFORM_WIN32_NT && m_info.dwMajorVersion >= 4; }
    BOOL IsWin2000OrLater() const { return m_info.dwPlatformId >= VER_PLATFORM_WIN32_NT && m_info.dwMajorVersion >= 5; }
    BOOL IsWinXPOrLater() const { return m_info.dwPlatformId >= VER_PLATFORM_WIN32_NT && IsAtLeast(5, 1); }

private:
    BOOL Is9x() const { return m_info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS; }
    BOOL IsNT() const { return m_info.dwPlatformId == VER_PLATFORM_WIN32_NT; }
    BOOL IsExactly(DWORD dwMajor, DWORD dwMinor) const
    {
        return m_info.dwMajorVersion == dwMajor && m_info.dwMinorVersion == dwMinor;
    }
    BOOL IsAtLeast(DWORD dwMajor, DWORD dwMinor) const
    {
        return m_info.dwMajorVersion > dwMajor || (m_info.dwMajorVersion == dwMajor && m_info.dwMinorVersion >= dwMinor);
    }

    OSVERSIONINFO m_info = {};
};

const COsVersion& GetOsVersion();

class CUiGlobalData
{
public:
    CUiGlobalData();
    CUiGlobalData(const CUiGlobalData&) = delete;
    CUiGlobalData& operator=(const CUiGlobalData&) = delete;

    // Everything from scratch: FALSE when a cursor or a font could not be had (the rest stays usable).
    BOOL Initialize();
    // Colours, metrics and fonts again, after a change of system settings.
    BOOL RefreshSettings();
    void RefreshColors();
    void RefreshMetrics();
    BOOL ReloadCursors();

    // Major version in the high word, minor in the low word; 0 when it cannot be read.
    DWORD GetComCtlVersion();

    void SetUseTahoma(BOOL bUseTahoma);
    // Empty faces choose the defaults. A rebuild gives each window of this thread that shows one of the former
    // fonts (WM_GETFONT) its successor before deleting the former ones; this also holds for SetFonts.
    BOOL CreateFonts(LPCTSTR lpszFace = L"", LPCTSTR lpszVertFace = L"");
    // The font set derived from two given fonts: the normal ones from the first, the vertical ones from the second.
    BOOL SetFonts(CFont* pFont, CFont* pVertFont);

    // The process-wide theme of the themed controls (1 when enabled, 0 otherwise).
    BOOL IsThemeRegistryEnabled() const;
    BOOL EnableThemeRegistry(BOOL bEnable);

    // The framework's version, "9.80", with the framework's title before it in the long form.
    CString GetVersionText(BOOL bShort) const;

    // A text of the process that the framework sets and reads; empty until set.
    void SetName(LPCTSTR lpszName) { *m_pName = lpszName; }
    LPCTSTR GetName() const { return *m_pName; }

    // Colours, copied from the colour table.
    COLORREF m_clrBtnFace = 0, m_clrBtnShadow = 0, m_clr3DDkShadow = 0, m_clrBtnHilite = 0, m_clr3DLight = 0,
             m_clrBtnText = 0, m_clrGrayText = 0, m_clrHighlight = 0, m_clrHighlightText = 0, m_clrMenu = 0,
             m_clrMenuText = 0, m_clrWindow = 0, m_clrWindowFrame = 0, m_clrWindowText = 0,
             m_clrActiveCaption = 0, m_clrInactiveCaption = 0, m_clrGradActiveCaption = 0,
             m_clrGradInactiveCaption = 0, m_clrCaptionText = 0, m_clrInactiveCaptionText = 0;
    // Colours 30 to 49 of the colour table.
    COLORREF m_clrDerived[20] = {};

    HCURSOR m_hcurDragNone = nullptr, m_hcurDragCopy = nullptr, m_hcurDragMove = nullptr, m_hcurHand = nullptr,
            m_hcurHSplitBar = nullptr, m_hcurVSplitBar = nullptr, m_hcurMove = nullptr;

    int m_cxSmIcon = 0, m_cySmIcon = 0, m_cxSize = 18, m_cySize = 18, m_cxHThumb = 0, m_cyVThumb = 0,
        m_cyMenuItem = 0;

    CFont m_fontNormal, m_fontBold, m_fontUnderline, m_fontVert, m_fontVertBold, m_fontIconTitle,
        m_fontIconTitleBold, m_fontMarlett, m_fontStatus, m_fontSmallCaption;

    BOOL m_bIsWin95 = FALSE, m_bIsWin98 = FALSE, m_bIsWinNT4 = FALSE, m_bIsWin2000 = FALSE, m_bIsWinXP = FALSE;
    BOOL m_bUseTahoma = TRUE;

private:
    DWORD m_dwComCtlVersion = 0xFFFFFFFF;
    CString* m_pName;   // the process's one text, shared by every record
};

// The record, initialised on first use.
CUiGlobalData* GetUiGlobalData();

// Functions whose names the system (or the program) uses for something else.
namespace XTP
{
// The first visible child with a control id below 0xFFFF whose window rectangle holds the point (client
// coordinates of the parent), in z-order; null when none.
HWND ChildWindowFromPointEx(HWND hWndParent, POINT pt);
// TRUE when FindFirstFile finds the path (files and folders, wildcards allowed).
BOOL FileExists(LPCTSTR lpszPath);
}

// Creates the object through its runtime class, then its window as a child of the parent; null when the
// window cannot be made (an exception while making it is caught and the object deleted). A class that cannot
// be created raises a memory exception.
CWnd* CreateViewFromClass(CWnd* pParent, CRuntimeClass* pViewClass, UINT nID, DWORD dwStyle,
                          CCreateContext* pContext = nullptr);
