#include "ui/themes/VisualStyleHandle.h"

#include <string.h>
#include <utility>

namespace
{
// Every wrapped UxTheme function, one cache entry each.
#define XTP_UXTHEME_FUNCTIONS(X) \
    X(OpenThemeData) X(CloseThemeData) X(DrawThemeBackground) X(DrawThemeBackgroundEx) X(DrawThemeEdge) \
    X(DrawThemeIcon) X(DrawThemeText) X(GetThemeBackgroundContentRect) X(GetThemeBackgroundExtent) \
    X(GetThemeBackgroundRegion) X(GetThemeBool) X(GetThemeColor) X(GetThemeEnumValue) X(GetThemeFilename) \
    X(GetThemeFont) X(GetThemeInt) X(GetThemeIntList) X(GetThemeMargins) X(GetThemeMetric) X(GetThemePartSize) \
    X(GetThemePosition) X(GetThemePropertyOrigin) X(GetThemeRect) X(GetThemeString) X(GetThemeSysBool) \
    X(GetThemeSysColor) X(GetThemeSysColorBrush) X(GetThemeSysFont) X(GetThemeSysInt) X(GetThemeSysSize) \
    X(GetThemeSysString) X(GetThemeTextExtent) X(GetThemeTextMetrics) X(HitTestThemeBackground) \
    X(IsThemeBackgroundPartiallyTransparent) X(IsThemePartDefined) X(DrawThemeParentBackground) \
    X(EnableThemeDialogTexture) X(EnableTheming) X(GetCurrentThemeName) X(GetThemeAppProperties) \
    X(GetThemeDocumentationProperty) X(GetWindowTheme) X(IsAppThemed) X(IsThemeActive) \
    X(IsThemeDialogTextureEnabled) X(SetThemeAppProperties) X(SetWindowTheme)

#define XTP_UXTHEME_ENUM(name) ux##name,
enum { XTP_UXTHEME_FUNCTIONS(XTP_UXTHEME_ENUM) uxCount };
#undef XTP_UXTHEME_ENUM
static_assert(static_cast<int>(uxCount) == static_cast<int>(CXTPVisualStyleLibrary::entryCount), "one cache entry per wrapped function");

template <class Fn>
Fn Entry(int nEntry, LPCSTR pszName)
{
    // Through the generic function type, which converts to any other without a cast warning.
    FARPROC pfn = CXTPVisualStyleLibrary::GetInstance().GetEntry(nEntry, pszName);
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(pfn));
}

// Calls the entry, or answers the failure value when it is missing or the call throws.
template <class Fn, class R, class... A>
R Call(int nEntry, LPCSTR pszName, R failure, A&&... args)
{
    Fn pfn = Entry<Fn>(nEntry, pszName);
    if (!pfn)
        return failure;
    try {
        return static_cast<R>(pfn(std::forward<A>(args)...));
    } catch (...) {
        return failure;
    }
}
}

// decltype of the SDK's own declaration gives each entry's type; the library itself is never linked.
#define XTP_UXCALL(name, failure, ...) Call<decltype(&::name)>(ux##name, #name, failure, ##__VA_ARGS__)

CXTPVisualStyleLibrary::CXTPVisualStyleLibrary()
{
    Load();
}

CXTPVisualStyleLibrary& CXTPVisualStyleLibrary::GetInstance()
{
    static CXTPVisualStyleLibrary s_library;
    return s_library;
}

void CXTPVisualStyleLibrary::ClearEntries()
{
    for (FARPROC& pfn : m_entries)
        pfn = nullptr;
}

void CXTPVisualStyleLibrary::Load(LPCWSTR lpszModule)
{
    // The library is never freed: themed windows may use it until the process ends.
    ClearEntries();
    m_pTable = nullptr;
    m_hModule = ::LoadLibraryW(lpszModule);
    m_dwComCtlVersion = ReadComCtlVersion();
}

void CXTPVisualStyleLibrary::SetEntryTable(const XTP_VISUALSTYLE_ENTRY* pTable)
{
    ClearEntries();
    m_hModule = nullptr;
    m_pTable = pTable;
}

FARPROC CXTPVisualStyleLibrary::GetEntry(int nEntry, LPCSTR pszName)
{
    if (!IsLoaded() || nEntry < 0 || nEntry >= entryCount)
        return nullptr;
    if (!m_entries[nEntry]) {
        if (m_pTable) {
            for (const XTP_VISUALSTYLE_ENTRY* p = m_pTable; p->pszName; ++p)
                if (strcmp(p->pszName, pszName) == 0)
                    m_entries[nEntry] = p->pfn;
        } else {
            m_entries[nEntry] = ::GetProcAddress(m_hModule, pszName);
        }
    }
    return m_entries[nEntry];
}

DWORD CXTPVisualStyleLibrary::ReadComCtlVersion()
{
    HMODULE hComCtl = ::LoadLibraryW(L"comctl32.dll");
    if (!hComCtl)
        return 0;
    FARPROC pfn = ::GetProcAddress(hComCtl, "DllGetVersion");
    DWORD dwVersion = ReadDllVersion(reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void (*)()>(pfn)));
    ::FreeLibrary(hComCtl);
    return dwVersion;
}

DWORD CXTPVisualStyleLibrary::ReadDllVersion(DLLGETVERSIONPROC pfnGetVersion)
{
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof(info);
    if (!pfnGetVersion || FAILED(pfnGetVersion(&info)))
        return 0;
    return ((info.dwMajorVersion & 0xFFFF) << 16) | (info.dwMinorVersion & 0xFFFF);
}

CXTPVisualStyleHandle::~CXTPVisualStyleHandle()
{
    if (m_hTheme)
        CloseThemeData();
}

void CXTPVisualStyleHandle::OpenThemeData(HWND hWnd, LPCWSTR pszClassList)
{
    if (m_hTheme)
        CloseThemeData();
    m_hTheme = XTP_UXCALL(OpenThemeData, HTHEME(nullptr), hWnd, pszClassList);
}

BOOL CXTPVisualStyleHandle::IsStyleAvailable()
{
    CXTPVisualStyleLibrary& library = CXTPVisualStyleLibrary::GetInstance();
    return library.IsLoaded() && IsThemeActive() && (library.GetComCtlVersion() & 0xFFFF0000) > 0x50000;
}

HRESULT CXTPVisualStyleHandle::CloseThemeData()
{
    HRESULT hr = XTP_UXCALL(CloseThemeData, E_FAIL, m_hTheme);
    m_hTheme = nullptr;
    return hr;
}

HRESULT CXTPVisualStyleHandle::DrawThemeBackground(HDC hDC, int iPartId, int iStateId, const RECT* pRect,
                                                   const RECT* pClipRect)
{
    return XTP_UXCALL(DrawThemeBackground, E_FAIL, m_hTheme, hDC, iPartId, iStateId, pRect, pClipRect);
}

HRESULT CXTPVisualStyleHandle::DrawThemeBackgroundEx(HDC hDC, int iPartId, int iStateId, const RECT* pRect,
                                                     const DTBGOPTS* pOptions)
{
    return XTP_UXCALL(DrawThemeBackgroundEx, E_FAIL, m_hTheme, hDC, iPartId, iStateId, pRect, pOptions);
}

HRESULT CXTPVisualStyleHandle::DrawThemeEdge(HDC hDC, int iPartId, int iStateId, const RECT* pDestRect, UINT uEdge,
                                             UINT uFlags, RECT* pContentRect)
{
    return XTP_UXCALL(DrawThemeEdge, E_FAIL, m_hTheme, hDC, iPartId, iStateId, pDestRect, uEdge, uFlags,
                      pContentRect);
}

HRESULT CXTPVisualStyleHandle::DrawThemeIcon(HDC hDC, int iPartId, int iStateId, const RECT* pRect,
                                             HIMAGELIST himl, int iImageIndex)
{
    return XTP_UXCALL(DrawThemeIcon, E_FAIL, m_hTheme, hDC, iPartId, iStateId, pRect, himl, iImageIndex);
}

HRESULT CXTPVisualStyleHandle::DrawThemeText(HDC hDC, int iPartId, int iStateId, LPCWSTR pszText, int iCharCount,
                                             DWORD dwTextFlags, DWORD dwTextFlags2, const RECT* pRect)
{
    return XTP_UXCALL(DrawThemeText, E_FAIL, m_hTheme, hDC, iPartId, iStateId, pszText, iCharCount, dwTextFlags,
                      dwTextFlags2, pRect);
}

HRESULT CXTPVisualStyleHandle::GetThemeBackgroundContentRect(HDC hDC, int iPartId, int iStateId,
                                                             const RECT* pBoundingRect, RECT* pContentRect)
{
    return XTP_UXCALL(GetThemeBackgroundContentRect, E_FAIL, m_hTheme, hDC, iPartId, iStateId, pBoundingRect,
                      pContentRect);
}

HRESULT CXTPVisualStyleHandle::GetThemeBackgroundExtent(HDC hDC, int iPartId, int iStateId,
                                                        const RECT* pContentRect, RECT* pExtentRect)
{
    return XTP_UXCALL(GetThemeBackgroundExtent, E_FAIL, m_hTheme, hDC, iPartId, iStateId, pContentRect,
                      pExtentRect);
}

HRESULT CXTPVisualStyleHandle::GetThemeBackgroundRegion(HDC hDC, int iPartId, int iStateId, const RECT* pRect,
                                                        HRGN* pRegion)
{
    return XTP_UXCALL(GetThemeBackgroundRegion, E_FAIL, m_hTheme, hDC, iPartId, iStateId, pRect, pRegion);
}

HRESULT CXTPVisualStyleHandle::GetThemeBool(int iPartId, int iStateId, int iPropId, BOOL* pfVal)
{
    return XTP_UXCALL(GetThemeBool, E_FAIL, m_hTheme, iPartId, iStateId, iPropId, pfVal);
}

HRESULT CXTPVisualStyleHandle::GetThemeColor(int iPartId, int iStateId, int iPropId, COLORREF* pColor)
{
    return XTP_UXCALL(GetThemeColor, E_FAIL, m_hTheme, iPartId, iStateId, iPropId, pColor);
}

HRESULT CXTPVisualStyleHandle::GetThemeEnumValue(int iPartId, int iStateId, int iPropId, int* piVal)
{
    return XTP_UXCALL(GetThemeEnumValue, E_FAIL, m_hTheme, iPartId, iStateId, iPropId, piVal);
}

HRESULT CXTPVisualStyleHandle::GetThemeFilename(int iPartId, int iStateId, int iPropId, LPWSTR pszThemeFileName,
                                                int cchMaxBuffChars)
{
    return XTP_UXCALL(GetThemeFilename, E_FAIL, m_hTheme, iPartId, iStateId, iPropId, pszThemeFileName,
                      cchMaxBuffChars);
}

HRESULT CXTPVisualStyleHandle::GetThemeFont(HDC hDC, int iPartId, int iStateId, int iPropId, LOGFONTW* pFont)
{
    return XTP_UXCALL(GetThemeFont, E_FAIL, m_hTheme, hDC, iPartId, iStateId, iPropId, pFont);
}

HRESULT CXTPVisualStyleHandle::GetThemeInt(int iPartId, int iStateId, int iPropId, int* piVal)
{
    return XTP_UXCALL(GetThemeInt, E_FAIL, m_hTheme, iPartId, iStateId, iPropId, piVal);
}

HRESULT CXTPVisualStyleHandle::GetThemeIntList(int iPartId, int iStateId, int iPropId, INTLIST* pIntList)
{
    return XTP_UXCALL(GetThemeIntList, E_FAIL, m_hTheme, iPartId, iStateId, iPropId, pIntList);
}

HRESULT CXTPVisualStyleHandle::GetThemeMargins(HDC hDC, int iPartId, int iStateId, int iPropId, RECT* pRect,
                                               MARGINS* pMargins)
{
    return XTP_UXCALL(GetThemeMargins, E_FAIL, m_hTheme, hDC, iPartId, iStateId, iPropId, pRect, pMargins);
}

HRESULT CXTPVisualStyleHandle::GetThemeMetric(HDC hDC, int iPartId, int iStateId, int iPropId, int* piVal)
{
    return XTP_UXCALL(GetThemeMetric, E_FAIL, m_hTheme, hDC, iPartId, iStateId, iPropId, piVal);
}

HRESULT CXTPVisualStyleHandle::GetThemePartSize(HDC hDC, int iPartId, int iStateId, RECT* pRect, THEMESIZE eSize,
                                                SIZE* pSize)
{
    return XTP_UXCALL(GetThemePartSize, E_FAIL, m_hTheme, hDC, iPartId, iStateId, pRect, eSize, pSize);
}

HRESULT CXTPVisualStyleHandle::GetThemePosition(int iPartId, int iStateId, int iPropId, POINT* pPoint)
{
    return XTP_UXCALL(GetThemePosition, E_FAIL, m_hTheme, iPartId, iStateId, iPropId, pPoint);
}

HRESULT CXTPVisualStyleHandle::GetThemePropertyOrigin(int iPartId, int iStateId, int iPropId,
                                                      PROPERTYORIGIN* pOrigin)
{
    return XTP_UXCALL(GetThemePropertyOrigin, E_FAIL, m_hTheme, iPartId, iStateId, iPropId, pOrigin);
}

HRESULT CXTPVisualStyleHandle::GetThemeRect(int iPartId, int iStateId, int iPropId, RECT* pRect)
{
    return XTP_UXCALL(GetThemeRect, E_FAIL, m_hTheme, iPartId, iStateId, iPropId, pRect);
}

HRESULT CXTPVisualStyleHandle::GetThemeString(int iPartId, int iStateId, int iPropId, LPWSTR pszBuff,
                                              int cchMaxBuffChars)
{
    return XTP_UXCALL(GetThemeString, E_FAIL, m_hTheme, iPartId, iStateId, iPropId, pszBuff, cchMaxBuffChars);
}

BOOL CXTPVisualStyleHandle::GetThemeSysBool(int iBoolId)
{
    return XTP_UXCALL(GetThemeSysBool, BOOL(FALSE), m_hTheme, iBoolId);
}

COLORREF CXTPVisualStyleHandle::GetThemeSysColor(int iColorId)
{
    return XTP_UXCALL(GetThemeSysColor, COLORREF(0xFFFFFFFF), m_hTheme, iColorId);
}

HBRUSH CXTPVisualStyleHandle::GetThemeSysColorBrush(int iColorId)
{
    return XTP_UXCALL(GetThemeSysColorBrush, HBRUSH(nullptr), m_hTheme, iColorId);
}

HRESULT CXTPVisualStyleHandle::GetThemeSysFont(int iFontId, LOGFONTW* pLogFont)
{
    return XTP_UXCALL(GetThemeSysFont, E_FAIL, m_hTheme, iFontId, pLogFont);
}

HRESULT CXTPVisualStyleHandle::GetThemeSysInt(int iIntId, int* piValue)
{
    return XTP_UXCALL(GetThemeSysInt, E_FAIL, m_hTheme, iIntId, piValue);
}

int CXTPVisualStyleHandle::GetThemeSysSize(int iSizeId)
{
    return XTP_UXCALL(GetThemeSysSize, 0, m_hTheme, iSizeId);
}

HRESULT CXTPVisualStyleHandle::GetThemeSysString(int iStringId, LPWSTR pszStringBuff, int cchMaxStringChars)
{
    return XTP_UXCALL(GetThemeSysString, E_FAIL, m_hTheme, iStringId, pszStringBuff, cchMaxStringChars);
}

HRESULT CXTPVisualStyleHandle::GetThemeTextExtent(HDC hDC, int iPartId, int iStateId, LPCWSTR pszText,
                                                  int iCharCount, DWORD dwTextFlags, const RECT* pBoundingRect,
                                                  RECT* pExtentRect)
{
    return XTP_UXCALL(GetThemeTextExtent, E_FAIL, m_hTheme, hDC, iPartId, iStateId, pszText, iCharCount,
                      dwTextFlags, pBoundingRect, pExtentRect);
}

HRESULT CXTPVisualStyleHandle::GetThemeTextMetrics(HDC hDC, int iPartId, int iStateId, TEXTMETRICW* ptm)
{
    return XTP_UXCALL(GetThemeTextMetrics, E_FAIL, m_hTheme, hDC, iPartId, iStateId, ptm);
}

HRESULT CXTPVisualStyleHandle::HitTestThemeBackground(HDC hDC, int iPartId, int iStateId, DWORD dwOptions,
                                                      const RECT* pRect, HRGN hrgn, POINT ptTest,
                                                      WORD* pwHitTestCode)
{
    return XTP_UXCALL(HitTestThemeBackground, E_FAIL, m_hTheme, hDC, iPartId, iStateId, dwOptions, pRect, hrgn,
                      ptTest, pwHitTestCode);
}

BOOL CXTPVisualStyleHandle::IsThemeBackgroundPartiallyTransparent(int iPartId, int iStateId)
{
    return XTP_UXCALL(IsThemeBackgroundPartiallyTransparent, BOOL(FALSE), m_hTheme, iPartId, iStateId);
}

BOOL CXTPVisualStyleHandle::IsThemePartDefined(int iPartId, int iStateId)
{
    return XTP_UXCALL(IsThemePartDefined, BOOL(FALSE), m_hTheme, iPartId, iStateId);
}

HRESULT CXTPVisualStyleHandle::DrawThemeParentBackground(HWND hWnd, HDC hDC, RECT* pRect)
{
    return XTP_UXCALL(DrawThemeParentBackground, E_FAIL, hWnd, hDC, pRect);
}

HRESULT CXTPVisualStyleHandle::EnableThemeDialogTexture(HWND hWnd, DWORD dwFlags)
{
    return XTP_UXCALL(EnableThemeDialogTexture, E_FAIL, hWnd, dwFlags);
}

HRESULT CXTPVisualStyleHandle::EnableTheming(BOOL fEnable)
{
    return XTP_UXCALL(EnableTheming, E_FAIL, fEnable);
}

HRESULT CXTPVisualStyleHandle::GetCurrentThemeName(LPWSTR pszThemeFileName, int cchMaxNameChars,
                                                   LPWSTR pszColorBuff, int cchMaxColorChars, LPWSTR pszSizeBuff,
                                                   int cchMaxSizeChars)
{
    return XTP_UXCALL(GetCurrentThemeName, E_FAIL, pszThemeFileName, cchMaxNameChars, pszColorBuff,
                      cchMaxColorChars, pszSizeBuff, cchMaxSizeChars);
}

DWORD CXTPVisualStyleHandle::GetThemeAppProperties()
{
    return XTP_UXCALL(GetThemeAppProperties, DWORD(0));
}

HRESULT CXTPVisualStyleHandle::GetThemeDocumentationProperty(LPCWSTR pszThemeName, LPCWSTR pszPropertyName,
                                                             LPWSTR pszValueBuff, int cchMaxValChars)
{
    return XTP_UXCALL(GetThemeDocumentationProperty, E_FAIL, pszThemeName, pszPropertyName, pszValueBuff,
                      cchMaxValChars);
}

HTHEME CXTPVisualStyleHandle::GetWindowTheme(HWND hWnd)
{
    return XTP_UXCALL(GetWindowTheme, HTHEME(nullptr), hWnd);
}

BOOL CXTPVisualStyleHandle::IsAppThemed()
{
    if (!m_hTheme)
        return FALSE;
    return XTP_UXCALL(IsAppThemed, BOOL(FALSE));
}

BOOL CXTPVisualStyleHandle::IsThemeActive()
{
    return XTP_UXCALL(IsThemeActive, BOOL(FALSE));
}

BOOL CXTPVisualStyleHandle::IsThemeDialogTextureEnabled(HWND hWnd)
{
    return XTP_UXCALL(IsThemeDialogTextureEnabled, BOOL(FALSE), hWnd);
}

void CXTPVisualStyleHandle::SetThemeAppProperties(DWORD dwFlags)
{
    auto pfn = Entry<decltype(&::SetThemeAppProperties)>(uxSetThemeAppProperties, "SetThemeAppProperties");
    if (!pfn)
        return;
    try {
        pfn(dwFlags);
    } catch (...) {
        // Nothing to report: the caller's settings simply stay as they were.
    }
}

HRESULT CXTPVisualStyleHandle::SetWindowTheme(HWND hWnd, LPCWSTR pszSubAppName, LPCWSTR pszSubIdList)
{
    return XTP_UXCALL(SetWindowTheme, E_FAIL, hWnd, pszSubAppName, pszSubIdList);
}
