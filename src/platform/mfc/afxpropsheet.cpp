#include "afxpropsheet.h"

#include "afxthread.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

namespace
{
// The sheet being made, for the system's callback before its window exists.
CPropertySheet*& SheetInit()
{
    static thread_local CPropertySheet* pSheet = nullptr;
    return pSheet;
}

// A page's window is made next: it runs the framework's procedure from its first message.
UINT CALLBACK PageCallback(HWND, UINT message, LPPROPSHEETPAGEW ppsp)
{
    if (message == PSPCB_CREATE)
        AfxHookWindowCreate(reinterpret_cast<CPropertyPage*>(ppsp->lParam));
    return TRUE;
}
} // namespace

BEGIN_MESSAGE_MAP(CPropertyPage, CDialog)
    ON_MESSAGE(WM_INITDIALOG, &CPropertyPage::HandlePageInit)
END_MESSAGE_MAP()

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption)
    : CPropertyPage(MAKEINTRESOURCEW(nIDTemplate), nIDCaption)
{
    m_nIDHelp = nIDTemplate;
}

CPropertyPage::CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption) : CDialog(lpszTemplateName)
{
    m_psp.dwSize = sizeof(m_psp);
    m_psp.hInstance = AfxGetResourceHandle();
    m_psp.pszTemplate = lpszTemplateName;
    if (nIDCaption && m_strCaption.LoadString(nIDCaption)) {
        m_psp.dwFlags |= PSP_USETITLE;
        m_psp.pszTitle = m_strCaption;
    }
}

LRESULT CPropertyPage::HandlePageInit(WPARAM wParam, LPARAM lParam)
{
    AfxUnhookWindowCreate();   // the page is attached: no later window may be taken for it
    return HandleInitDialog(wParam, lParam);
}

BOOL CPropertyPage::OnSetActive()
{
    if (m_bFirstSetActive)
        m_bFirstSetActive = FALSE;
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }

BOOL CPropertyPage::OnQueryCancel() { return TRUE; }

void CPropertyPage::SetModified(BOOL bChanged)
{
    if (CWnd* pSheet = GetParent())
        pSheet->SendMessage(bChanged ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd));
}

BOOL CPropertyPage::PreTranslateMessage(MSG* pMsg) { return CWnd::PreTranslateMessage(pMsg); }

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CDialog::OnNotify(wParam, lParam, pResult))
        return TRUE;
    auto pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    if (pNMHDR->hwndFrom != ::GetParent(m_hWnd))
        return FALSE;
    // The answers the sheet reads: 0 lets it go on.
    switch (pNMHDR->code) {
    case PSN_SETACTIVE:
        *pResult = OnSetActive() ? 0 : -1;
        return TRUE;
    case PSN_KILLACTIVE:
        *pResult = !OnKillActive();
        return TRUE;
    case PSN_APPLY:
        *pResult = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        return TRUE;
    case PSN_RESET:
        OnReset();
        return TRUE;
    case PSN_QUERYCANCEL:
        *pResult = !OnQueryCancel();
        return TRUE;
    default:
        return FALSE;
    }
}

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
    ON_MESSAGE(WM_INITDIALOG, &CPropertySheet::HandleInitDialog)
END_MESSAGE_MAP()

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    m_strCaption.LoadString(nIDCaption);
    CommonConstruct(pParentWnd, iSelectPage);
}

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage) : m_strCaption(pszCaption)
{
    CommonConstruct(pParentWnd, iSelectPage);
}

void CPropertySheet::CommonConstruct(CWnd* pParentWnd, UINT iSelectPage)
{
    m_pParentWnd = pParentWnd;
    m_psh.dwSize = sizeof(m_psh);
    m_psh.hInstance = AfxGetResourceHandle();
    m_psh.pszCaption = m_strCaption;
    m_psh.nStartPage = iSelectPage;
}

void CPropertySheet::AddPage(CPropertyPage* pPage) { m_pages.push_back(pPage); }

int CPropertySheet::GetPageIndex(const CPropertyPage* pPage) const
{
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i] == pPage)
            return static_cast<int>(i);
    }
    return -1;
}

int CPropertySheet::GetActiveIndex() const
{
    return m_hWnd ? GetTabControl()->GetCurSel() : static_cast<int>(m_psh.nStartPage);
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount())
        return FALSE;
    if (!m_hWnd) {
        m_psh.nStartPage = static_cast<UINT>(nPage);
        return TRUE;
    }
    return static_cast<BOOL>(SendMessage(PSM_SETCURSEL, static_cast<WPARAM>(nPage)));
}

CTabCtrl* CPropertySheet::GetTabControl() const
{
    return static_cast<CTabCtrl*>(CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL))));
}

void CPropertySheet::BuildPropPageArray()
{
    m_pageArray.clear();
    for (CPropertyPage* pPage : m_pages) {
        PROPSHEETPAGEW psp = pPage->m_psp;
        psp.dwFlags |= PSP_USECALLBACK;
        psp.pfnCallback = PageCallback;
        psp.pfnDlgProc = AfxDlgProc;
        psp.lParam = reinterpret_cast<LPARAM>(pPage);
        pPage->m_bFirstSetActive = TRUE;
        m_pageArray.push_back(psp);
    }
    m_psh.dwFlags |= PSH_PROPSHEETPAGE;
    m_psh.nPages = static_cast<UINT>(m_pageArray.size());
    m_psh.ppsp = m_pageArray.data();
}

int CALLBACK CPropertySheet::SheetCallback(HWND, UINT message, LPARAM lParam)
{
    CPropertySheet* pSheet = SheetInit();
    if (message != PSCB_PRECREATE || !pSheet)
        return 0;
    // The system's own copy of the sheet's template (DLGTEMPLATE, or DLGTEMPLATEEX after its signature).
    auto pTemplate = reinterpret_cast<BYTE*>(lParam);
    bool bExtended = reinterpret_cast<const WORD*>(pTemplate)[1] == 0xFFFF;
    auto pStyle = reinterpret_cast<DWORD*>(pTemplate + (bExtended ? 12 : 0));
    auto pExStyle = reinterpret_cast<DWORD*>(pTemplate + (bExtended ? 8 : 4));
    if (pSheet->m_dwStyle != static_cast<DWORD>(-1))
        *pStyle = pSheet->m_dwStyle | (*pStyle & DS_SETFONT);   // the template's font data stay readable
    if (!pSheet->m_bModeless)
        *pStyle &= ~WS_VISIBLE;   // a modal sheet shows itself once it is ready
    *pExStyle |= pSheet->m_dwExStyle;
    return 0;
}

BOOL CPropertySheet::CreateSheet(HWND hWndParent, BOOL bModeless)
{
    BuildPropPageArray();
    m_bModeless = bModeless;
    m_psh.hwndParent = hWndParent;
    // The system makes modeless sheets only; a modal one runs the framework's modal loop.
    DWORD dwFlags = m_psh.dwFlags;
    m_psh.dwFlags |= PSH_MODELESS | PSH_USECALLBACK;
    m_psh.pfnCallback = SheetCallback;
    SheetInit() = this;
    AfxHookWindowCreate(this);
    auto hWnd = reinterpret_cast<HWND>(::PropertySheetW(&m_psh));
    AfxUnhookWindowCreate();
    SheetInit() = nullptr;
    m_psh.dwFlags = dwFlags;
    return m_hWnd && hWnd == m_hWnd;
}

INT_PTR CPropertySheet::DoModal()
{
    m_nModalResult = IDCANCEL;   // a sheet closed without a button was cancelled
    return DoModalWindow(
        m_pParentWnd, [this](HWND hWndOwner) { return CreateSheet(hWndOwner, FALSE); },
        [this] { return GetActivePage(); });
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle)
{
    m_dwStyle = dwStyle;
    m_dwExStyle = dwExStyle;
    CWnd* pParent = pParentWnd ? pParentWnd : m_pParentWnd;
    BOOL bCreated = CreateSheet(pParent ? pParent->m_hWnd : nullptr, TRUE);
    m_dwStyle = static_cast<DWORD>(-1);
    m_dwExStyle = 0;
    return bCreated;
}

void CPropertySheet::EndDialog(int nEndID)
{
    EndModalLoop(nEndID);
    if (m_bModeless)
        DestroyWindow();
}

LRESULT CPropertySheet::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CPropertySheet::OnInitDialog() { return static_cast<BOOL>(Default()); }

BOOL CPropertySheet::ContinueModal()
{
    return CWnd::ContinueModal() && m_hWnd && SendMessage(PSM_GETCURRENTPAGEHWND) != 0;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    return static_cast<BOOL>(SendMessage(PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(pMsg)));
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    // The push button pressed (OK, Cancel, Apply) is the answer of a modal sheet; the system does the rest.
    auto hWndCtrl = reinterpret_cast<HWND>(lParam);
    if (hWndCtrl && HIWORD(wParam) == BN_CLICKED && (::SendMessageW(hWndCtrl, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)) {
        UINT nType = static_cast<UINT>(::GetWindowLongPtrW(hWndCtrl, GWL_STYLE) & BS_TYPEMASK);
        if (nType == BS_PUSHBUTTON || nType == BS_DEFPUSHBUTTON)
            m_nModalResult = LOWORD(wParam);
    }
    return FALSE;
}
