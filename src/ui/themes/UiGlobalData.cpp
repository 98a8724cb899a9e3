#include "ui/themes/UiGlobalData.h"

#include "ui/persist/ResourceLoader.h"
#include "ui/themes/ColorTable.h"
#include "ui/themes/DrawHelpers.h"
#include "ui/themes/ThemeManager.h"
#include "ui/themes/VisualStyleHandle.h"
#include "ui/uires.h"

#include <algorithm>
#include <iterator>
#include <vector>

COsVersion::COsVersion()
{
    m_info.dwOSVersionInfoSize = sizeof(m_info);
    ::GetVersionExW(&m_info);
}

const COsVersion& GetOsVersion()
{
    static const COsVersion s_version;
    return s_version;
}

namespace
{
// The colour-table index behind each colour field.
struct GLOBAL_COLOR
{
    COLORREF CUiGlobalData::*pField;
    int nIndex;
};

const GLOBAL_COLOR g_colors[] = {
    {&CUiGlobalData::m_clrBtnFace, COLOR_BTNFACE},
    {&CUiGlobalData::m_clrBtnShadow, COLOR_BTNSHADOW},
    {&CUiGlobalData::m_clr3DDkShadow, COLOR_3DDKSHADOW},
    {&CUiGlobalData::m_clrBtnHilite, COLOR_BTNHIGHLIGHT},
    {&CUiGlobalData::m_clr3DLight, COLOR_3DLIGHT},
    {&CUiGlobalData::m_clrBtnText, COLOR_BTNTEXT},
    {&CUiGlobalData::m_clrGrayText, COLOR_GRAYTEXT},
    {&CUiGlobalData::m_clrHighlight, COLOR_HIGHLIGHT},
    {&CUiGlobalData::m_clrHighlightText, COLOR_HIGHLIGHTTEXT},
    {&CUiGlobalData::m_clrMenu, COLOR_MENU},
    {&CUiGlobalData::m_clrMenuText, COLOR_MENUTEXT},
    {&CUiGlobalData::m_clrWindow, COLOR_WINDOW},
    {&CUiGlobalData::m_clrWindowFrame, COLOR_WINDOWFRAME},
    {&CUiGlobalData::m_clrWindowText, COLOR_WINDOWTEXT},
    {&CUiGlobalData::m_clrActiveCaption, COLOR_ACTIVECAPTION},
    {&CUiGlobalData::m_clrInactiveCaption, COLOR_INACTIVECAPTION},
    {&CUiGlobalData::m_clrGradActiveCaption, COLOR_GRADIENTACTIVECAPTION},
    {&CUiGlobalData::m_clrGradInactiveCaption, COLOR_GRADIENTINACTIVECAPTION},
    {&CUiGlobalData::m_clrCaptionText, COLOR_CAPTIONTEXT},
    {&CUiGlobalData::m_clrInactiveCaptionText, COLOR_INACTIVECAPTIONTEXT},
};

// A font from a logical font; weight, underline, escapement and orientation change only when given.
BOOL MakeFont(CFont& font, LOGFONT lf, int nWeight = -1, BYTE bUnderline = 255, int nEscapement = -1,
              int nOrientation = -1)
{
    if (nWeight != -1)
        lf.lfWeight = nWeight;
    if (bUnderline != 255)
        lf.lfUnderline = bUnderline;
    if (nEscapement != -1)
        lf.lfEscapement = nEscapement;
    if (nOrientation != -1)
        lf.lfOrientation = nOrientation;
    font.DeleteObject();
    return font.CreateFontIndirect(&lf);
}

void SetFace(LOGFONT& lf, LPCTSTR lpszFace)
{
    lstrcpynW(lf.lfFaceName, lpszFace, LF_FACESIZE);
}

LOGFONT GetLogFont(CFont* pFont)
{
    LOGFONT lf = {};
    pFont->GetLogFont(&lf);
    return lf;
}

const int nVertEscapement = 2700, nVertOrientation = 900;

CFont CUiGlobalData::* const g_fonts[] = {
    &CUiGlobalData::m_fontNormal, &CUiGlobalData::m_fontBold, &CUiGlobalData::m_fontUnderline,
    &CUiGlobalData::m_fontVert, &CUiGlobalData::m_fontVertBold, &CUiGlobalData::m_fontIconTitle,
    &CUiGlobalData::m_fontIconTitleBold, &CUiGlobalData::m_fontMarlett, &CUiGlobalData::m_fontStatus,
    &CUiGlobalData::m_fontSmallCaption,
};

// Lasts through a rebuild of the shared fonts. Windows were given them by handle (headers, lists, any SetFont of
// a shared font) and would keep drawing with the deleted one: at the start it takes the former fonts out of the
// record and notes which window of this thread shows which; at the end each of those windows gets its font's
// successor, and only then are the former fonts deleted. A font not made again (not asked for, or failed) stays.
class CFontHandover
{
public:
    explicit CFontHandover(CUiGlobalData& data) : m_data(data)
    {
        for (size_t i = 0; i < _countof(g_fonts); i++)
            m_hOld[i] = static_cast<HFONT>((m_data.*g_fonts[i]).GetSafeHandle());
        if (std::any_of(std::begin(m_hOld), std::end(m_hOld), [](HFONT hFont) { return hFont != nullptr; }))
            ::EnumThreadWindows(::GetCurrentThreadId(), &CFontHandover::NoteTree, reinterpret_cast<LPARAM>(this));
        for (CFont CUiGlobalData::*pFont : g_fonts)
            (m_data.*pFont).Detach();
    }
    ~CFontHandover()
    {
        for (size_t i = 0; i < _countof(g_fonts); i++) {
            CFont& font = m_data.*g_fonts[i];
            if (!font.GetSafeHandle() && m_hOld[i] && font.Attach(m_hOld[i]))
                m_hOld[i] = nullptr;
        }
        // Parents first, as they were noted: a list passes its font on to its header, which then gets its own.
        for (const USER& user : m_users) {
            HGDIOBJ hNew = (m_data.*g_fonts[user.nFont]).GetSafeHandle();
            if (m_hOld[user.nFont] && ::IsWindow(user.hWnd))
                ::SendMessageW(user.hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hNew), TRUE);
        }
        for (HFONT hFont : m_hOld)
            if (hFont)
                ::DeleteObject(hFont);
    }
    CFontHandover(const CFontHandover&) = delete;
    CFontHandover& operator=(const CFontHandover&) = delete;

private:
    struct USER
    {
        HWND hWnd;
        size_t nFont;
    };

    static BOOL CALLBACK NoteTree(HWND hWnd, LPARAM lParam)
    {
        NoteWindow(hWnd, lParam);
        ::EnumChildWindows(hWnd, &CFontHandover::NoteWindow, lParam);
        return TRUE;
    }
    // Windows of other threads are left alone: asking them could wait on a thread that waits on this one.
    static BOOL CALLBACK NoteWindow(HWND hWnd, LPARAM lParam)
    {
        auto* pThis = reinterpret_cast<CFontHandover*>(lParam);
        if (::GetWindowThreadProcessId(hWnd, nullptr) != ::GetCurrentThreadId())
            return TRUE;
        const auto hFont = reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0));
        const HFONT* pFound = hFont ? std::find(std::begin(pThis->m_hOld), std::end(pThis->m_hOld), hFont)
                                    : std::end(pThis->m_hOld);
        if (pFound != std::end(pThis->m_hOld))
            pThis->m_users.push_back({hWnd, static_cast<size_t>(pFound - std::begin(pThis->m_hOld))});
        return TRUE;
    }

    CUiGlobalData& m_data;
    HFONT m_hOld[_countof(g_fonts)] = {};
    std::vector<USER> m_users;
};
}

namespace
{
CString& ProcessName()
{
    static CString s_strName;
    return s_strName;
}
}

CUiGlobalData::CUiGlobalData() : m_pName(&ProcessName()) {}

BOOL CUiGlobalData::Initialize()
{
    const COsVersion& version = GetOsVersion();
    m_bIsWin95 = version.IsWin95();
    m_bIsWin98 = version.IsWin98();
    m_bIsWinNT4 = version.IsWinNT4();
    m_bIsWin2000 = version.IsWin2000();
    m_bIsWinXP = version.IsWinXP();
    GetComCtlVersion();
    RefreshColors();
    RefreshMetrics();
    // The framework's own resources live in the program's module unless the program said otherwise.
    if (!XTPGetResourceHandle())
        XTPSetResourceHandle(AfxGetResourceHandle());
    BOOL bCursors = ReloadCursors();
    BOOL bFonts = CreateFonts();
    return bCursors && bFonts;
}

BOOL CUiGlobalData::RefreshSettings()
{
    RefreshColors();
    RefreshMetrics();
    return CreateFonts();
}

void CUiGlobalData::RefreshColors()
{
    CColorTable::RefreshIfStale();
    CColorTable* pTable = GetColorTable();
    for (const GLOBAL_COLOR& color : g_colors)
        this->*color.pField = pTable->GetColor(color.nIndex);
    for (int i = 0; i < 20; i++)
        m_clrDerived[i] = pTable->GetColor(30 + i);
}

void CUiGlobalData::RefreshMetrics()
{
    m_cxSmIcon = ::GetSystemMetrics(SM_CXSMICON);
    m_cySmIcon = ::GetSystemMetrics(SM_CYSMICON);
    m_cxHThumb = ::GetSystemMetrics(SM_CXHTHUMB);
    m_cyVThumb = ::GetSystemMetrics(SM_CYVTHUMB);
    m_cyMenuItem = ::GetSystemMetrics(SM_CYMENU);
}

BOOL CUiGlobalData::ReloadCursors()
{
    CXTPResourceLoader* pLoader = XTPGetResourceLoader();
    m_hcurDragNone = pLoader->LoadCursor(XTP_IDC_DRAGNONE);
    m_hcurDragCopy = pLoader->LoadCursor(XTP_IDC_DRAGCOPY);
    m_hcurDragMove = pLoader->LoadCursor(XTP_IDC_DRAGMOVE);
    m_hcurHand = ::LoadCursorW(nullptr, IDC_HAND);
    if (!m_hcurHand)
        m_hcurHand = pLoader->LoadCursor(XTP_IDC_HAND);
    m_hcurHSplitBar = pLoader->LoadCursor(XTP_IDC_HSPLITBAR);
    m_hcurVSplitBar = pLoader->LoadCursor(XTP_IDC_VSPLITBAR);
    m_hcurMove = ::LoadCursorW(nullptr, IDC_SIZEALL);
    return m_hcurDragNone && m_hcurDragCopy && m_hcurDragMove && m_hcurHand && m_hcurHSplitBar && m_hcurVSplitBar &&
           m_hcurMove;
}

DWORD CUiGlobalData::GetComCtlVersion()
{
    if (m_dwComCtlVersion == 0xFFFFFFFF)
        m_dwComCtlVersion = CXTPVisualStyleLibrary::ReadComCtlVersion();
    return m_dwComCtlVersion;
}

void CUiGlobalData::SetUseTahoma(BOOL bUseTahoma)
{
    m_bUseTahoma = bUseTahoma;
    CreateFonts();
}

BOOL CUiGlobalData::CreateFonts(LPCTSTR lpszFace, LPCTSTR lpszVertFace)
{
    NONCLIENTMETRICS metrics;
    if (!GetNonClientMetrics(&metrics))
        return FALSE;

    LOGFONT lf = metrics.lfMenuFont;
    HDC hScreen = ::GetWindowDC(nullptr);
    lf.lfCharSet = static_cast<BYTE>(::GetTextCharset(hScreen));
    ::ReleaseDC(nullptr, hScreen);
    if (IsFontInstalled(lpszFace))
        SetFace(lf, lpszFace);
    else if (m_bUseTahoma && lf.lfCharSet < 3 && IsFontInstalled(L"Tahoma"))
        SetFace(lf, L"Tahoma");

    // Rotated text needs a TrueType face: the chosen face is one unless the caller names another.
    LOGFONT lfVert = lf;
    if (IsFontInstalled(lpszVertFace))
        SetFace(lfVert, lpszVertFace);

    LOGFONT lfIconTitle = {};
    if (!::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(lfIconTitle), &lfIconTitle, 0))
        lfIconTitle = lf;

    LOGFONT lfMarlett = {};
    lfMarlett.lfHeight = metrics.lfMenuFont.lfHeight;
    lfMarlett.lfCharSet = DEFAULT_CHARSET;
    SetFace(lfMarlett, L"Marlett");

    CFontHandover handover(*this);
    return MakeFont(m_fontNormal, lf) && MakeFont(m_fontBold, lf, FW_BOLD) &&
           MakeFont(m_fontUnderline, lf, -1, TRUE) &&
           MakeFont(m_fontVert, lfVert, -1, 255, nVertEscapement, nVertOrientation) &&
           MakeFont(m_fontVertBold, lfVert, FW_BOLD, 255, nVertEscapement, nVertOrientation) &&
           MakeFont(m_fontIconTitle, lfIconTitle) && MakeFont(m_fontIconTitleBold, lfIconTitle, FW_BOLD) &&
           MakeFont(m_fontStatus, metrics.lfStatusFont) && MakeFont(m_fontSmallCaption, metrics.lfSmCaptionFont) &&
           MakeFont(m_fontMarlett, lfMarlett);
}

BOOL CUiGlobalData::SetFonts(CFont* pFont, CFont* pVertFont)
{
    LOGFONT lf = GetLogFont(pFont), lfVert = GetLogFont(pVertFont);
    CFontHandover handover(*this);
    return MakeFont(m_fontNormal, lf) && MakeFont(m_fontBold, lf, FW_BOLD) &&
           MakeFont(m_fontUnderline, lf, -1, TRUE) && MakeFont(m_fontStatus, lf) &&
           MakeFont(m_fontVert, lfVert, -1, 255, nVertEscapement, nVertOrientation) &&
           MakeFont(m_fontVertBold, lfVert, FW_BOLD, 255, nVertEscapement, nVertOrientation);
}

BOOL CUiGlobalData::IsThemeRegistryEnabled() const
{
    return CThemeRegistry::GetInstance()->GetThemeId() != 0;
}

BOOL CUiGlobalData::EnableThemeRegistry(BOOL bEnable)
{
    CThemeRegistry::GetInstance()->SetTheme(bEnable ? 1 : 0);
    return IsThemeRegistryEnabled();
}

CString CUiGlobalData::GetVersionText(BOOL bShort) const
{
    CString strVersion;
    strVersion.Format(L"%d.%02d", 9, 80);
    if (bShort)
        return strVersion;
    CString strTitle;
    XTPGetResourceLoader()->LoadString(&strTitle, XTP_IDS_TOOLKIT_TITLE);
    return strTitle + L" " + strVersion;
}

CUiGlobalData* GetUiGlobalData()
{
    static CUiGlobalData s_data;
    static const BOOL s_bInitialized = s_data.Initialize();
    (void)s_bInitialized;
    return &s_data;
}

namespace XTP
{
HWND ChildWindowFromPointEx(HWND hWndParent, POINT pt)
{
    ::ClientToScreen(hWndParent, &pt);
    for (HWND hChild = ::GetWindow(hWndParent, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        BOOL bVisible = (::GetWindowLongPtrW(hChild, GWL_STYLE) & WS_VISIBLE) != 0;
        if (bVisible && static_cast<UINT>(::GetDlgCtrlID(hChild)) < 0xFFFF && CWndRect(hChild).PtInRect(pt))
            return hChild;
    }
    return nullptr;
}

BOOL FileExists(LPCTSTR lpszPath)
{
    WIN32_FIND_DATAW data;
    HANDLE hFind = ::FindFirstFileW(lpszPath, &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return FALSE;
    ::FindClose(hFind);
    return TRUE;
}
}

CWnd* CreateViewFromClass(CWnd* pParent, CRuntimeClass* pViewClass, UINT nID, DWORD dwStyle,
                          CCreateContext* pContext)
{
    CObject* pObject = pViewClass ? pViewClass->CreateObject() : nullptr;
    if (!pObject)
        AfxThrowMemoryException();
    if (!pObject->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete pObject;
        return nullptr;
    }
    auto* pWnd = static_cast<CWnd*>(pObject);
    try {
        // A window that fails to be made is finished by its own PostNcDestroy: views delete themselves, plain
        // windows are deleted here.
        CWndDeleteWatch watch(pWnd);
        if (pWnd->Create(nullptr, nullptr, dwStyle, CRect(0, 0, 0, 0), pParent, nID, pContext))
            return pWnd;
        if (!watch.IsDeleted())
            delete pWnd;
        return nullptr;
    } catch (CException* e) {
        e->Delete();
        delete pWnd;
        return nullptr;
    }
}
