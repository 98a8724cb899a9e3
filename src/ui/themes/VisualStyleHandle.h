// The one road to the system's visual styles. UxTheme is never linked: the library is loaded once per process
// and each function is looked up by name on first use, so the program runs unchanged where visual styles do
// not exist; every operation then reports failure (E_FAIL, 0, or no handle) and the callers draw classically.
#pragma once

#include <windows.h>
#include <shlwapi.h>   // DLLGETVERSIONPROC
#include <uxtheme.h>

// One function of a table that stands in for the library (tests): its UxTheme name and the function.
struct XTP_VISUALSTYLE_ENTRY
{
    LPCSTR pszName;
    FARPROC pfn;
};

// The process-wide library record: module, cached entries and the common-controls version.
class CXTPVisualStyleLibrary
{
public:
    enum { entryCount = 48 };

    static CXTPVisualStyleLibrary& GetInstance();

    // Loads the library by module name (normally "UxTheme.dll"; a missing module leaves every entry empty)
    // and reads the common-controls version again; the cached entries are forgotten.
    void Load(LPCWSTR lpszModule = L"UxTheme.dll");
    // Takes the functions from a table ending with a null name instead of a module; the table must outlive its use.
    void SetEntryTable(const XTP_VISUALSTYLE_ENTRY* pTable);
    void SetComCtlVersion(DWORD dwVersion) { m_dwComCtlVersion = dwVersion; }

    BOOL IsLoaded() const { return m_hModule != nullptr || m_pTable != nullptr; }
    // Major version in the high word, minor in the low word; 0 when it cannot be read.
    DWORD GetComCtlVersion() const { return m_dwComCtlVersion; }
    // The cached entry, looked up by name on first use; null when the library or the function is missing.
    FARPROC GetEntry(int nEntry, LPCSTR pszName);

    // "DllGetVersion" of the common-controls library, packed as above.
    static DWORD ReadComCtlVersion();
    // The version a "DllGetVersion" entry reports, packed as above; 0 for a missing entry or a failed call.
    static DWORD ReadDllVersion(DLLGETVERSIONPROC pfnGetVersion);

private:
    CXTPVisualStyleLibrary();
    void ClearEntries();

    HMODULE m_hModule = nullptr;
    const XTP_VISUALSTYLE_ENTRY* m_pTable = nullptr;
    FARPROC m_entries[entryCount];
    DWORD m_dwComCtlVersion = 0;
};

// One visual-style theme handle, owned: closed before a new one is opened and when the holder goes.
class CXTPVisualStyleHandle
{
public:
    CXTPVisualStyleHandle() = default;
    virtual ~CXTPVisualStyleHandle();
    CXTPVisualStyleHandle(const CXTPVisualStyleHandle&) = delete;
    CXTPVisualStyleHandle& operator=(const CXTPVisualStyleHandle&) = delete;

    void OpenThemeData(HWND hWnd, LPCWSTR pszClassList);
    BOOL IsOpen() const { return m_hTheme != nullptr; }
    // The library is there, visual styles are active and the common controls are version 6 or later.
    BOOL IsStyleAvailable();
    HTHEME GetHandle() const { return m_hTheme; }

    // Operations on the held handle.
    HRESULT CloseThemeData();
    HRESULT DrawThemeBackground(HDC hDC, int iPartId, int iStateId, const RECT* pRect, const RECT* pClipRect);
    HRESULT DrawThemeBackgroundEx(HDC hDC, int iPartId, int iStateId, const RECT* pRect, const DTBGOPTS* pOptions);
    HRESULT DrawThemeEdge(HDC hDC, int iPartId, int iStateId, const RECT* pDestRect, UINT uEdge, UINT uFlags,
                          RECT* pContentRect);
    HRESULT DrawThemeIcon(HDC hDC, int iPartId, int iStateId, const RECT* pRect, HIMAGELIST himl, int iImageIndex);
    HRESULT DrawThemeText(HDC hDC, int iPartId, int iStateId, LPCWSTR pszText, int iCharCount, DWORD dwTextFlags,
                          DWORD dwTextFlags2, const RECT* pRect);
    HRESULT GetThemeBackgroundContentRect(HDC hDC, int iPartId, int iStateId, const RECT* pBoundingRect,
                                          RECT* pContentRect);
    HRESULT GetThemeBackgroundExtent(HDC hDC, int iPartId, int iStateId, const RECT* pContentRect, RECT* pExtentRect);
    HRESULT GetThemeBackgroundRegion(HDC hDC, int iPartId, int iStateId, const RECT* pRect, HRGN* pRegion);
    HRESULT GetThemeBool(int iPartId, int iStateId, int iPropId, BOOL* pfVal);
    HRESULT GetThemeColor(int iPartId, int iStateId, int iPropId, COLORREF* pColor);
    HRESULT GetThemeEnumValue(int iPartId, int iStateId, int iPropId, int* piVal);
    HRESULT GetThemeFilename(int iPartId, int iStateId, int iPropId, LPWSTR pszThemeFileName, int cchMaxBuffChars);
    HRESULT GetThemeFont(HDC hDC, int iPartId, int iStateId, int iPropId, LOGFONTW* pFont);
    HRESULT GetThemeInt(int iPartId, int iStateId, int iPropId, int* piVal);
    HRESULT GetThemeIntList(int iPartId, int iStateId, int iPropId, INTLIST* pIntList);
    HRESULT GetThemeMargins(HDC hDC, int iPartId, int iStateId, int iPropId, RECT* pRect, MARGINS* pMargins);
    HRESULT GetThemeMetric(HDC hDC, int iPartId, int iStateId, int iPropId, int* piVal);
    HRESULT GetThemePartSize(HDC hDC, int iPartId, int iStateId, RECT* pRect, THEMESIZE eSize, SIZE* pSize);
    HRESULT GetThemePosition(int iPartId, int iStateId, int iPropId, POINT* pPoint);
    HRESULT GetThemePropertyOrigin(int iPartId, int iStateId, int iPropId, PROPERTYORIGIN* pOrigin);
    HRESULT GetThemeRect(int iPartId, int iStateId, int iPropId, RECT* pRect);
    HRESULT GetThemeString(int iPartId, int iStateId, int iPropId, LPWSTR pszBuff, int cchMaxBuffChars);
    BOOL GetThemeSysBool(int iBoolId);
    COLORREF GetThemeSysColor(int iColorId);
    HBRUSH GetThemeSysColorBrush(int iColorId);
    HRESULT GetThemeSysFont(int iFontId, LOGFONTW* pLogFont);
    HRESULT GetThemeSysInt(int iIntId, int* piValue);
    int GetThemeSysSize(int iSizeId);
    HRESULT GetThemeSysString(int iStringId, LPWSTR pszStringBuff, int cchMaxStringChars);
    HRESULT GetThemeTextExtent(HDC hDC, int iPartId, int iStateId, LPCWSTR pszText, int iCharCount,
                               DWORD dwTextFlags, const RECT* pBoundingRect, RECT* pExtentRect);
    HRESULT GetThemeTextMetrics(HDC hDC, int iPartId, int iStateId, TEXTMETRICW* ptm);
    HRESULT HitTestThemeBackground(HDC hDC, int iPartId, int iStateId, DWORD dwOptions, const RECT* pRect,
                                   HRGN hrgn, POINT ptTest, WORD* pwHitTestCode);
    BOOL IsThemeBackgroundPartiallyTransparent(int iPartId, int iStateId);
    BOOL IsThemePartDefined(int iPartId, int iStateId);

    // Operations that take no theme handle.
    HRESULT DrawThemeParentBackground(HWND hWnd, HDC hDC, RECT* pRect);
    HRESULT EnableThemeDialogTexture(HWND hWnd, DWORD dwFlags);
    HRESULT EnableTheming(BOOL fEnable);
    HRESULT GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                                int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars);
    DWORD GetThemeAppProperties();
    HRESULT GetThemeDocumentationProperty(LPCWSTR pszThemeName, LPCWSTR pszPropertyName, LPWSTR pszValueBuff,
                                          int cchMaxValChars);
    HTHEME GetWindowTheme(HWND hWnd);
    // 0 without asking the system while no handle is held.
    BOOL IsAppThemed();
    BOOL IsThemeActive();
    BOOL IsThemeDialogTextureEnabled(HWND hWnd);
    void SetThemeAppProperties(DWORD dwFlags);
    HRESULT SetWindowTheme(HWND hWnd, LPCWSTR pszSubAppName, LPCWSTR pszSubIdList);

private:
    HTHEME m_hTheme = nullptr;
};
