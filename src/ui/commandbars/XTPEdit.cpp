#include "ui/commandbars/XTPEdit.h"

#include "platform/mfc/afxres.h"
#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPHookManager.h"
#include "ui/commandbars/XTPPopupBar.h"

#include <imm.h>

#include <algorithm>

IMPLEMENT_DYNCREATE(CXTPEdit, CEdit)

CXTPRichEditLibrary* CXTPRichEditLibrary::GetInstance()
{
    static CXTPRichEditLibrary library;
    return &library;
}

CXTPRichEditLibrary::CXTPRichEditLibrary()
{
    m_hModule = ::LoadLibraryW(L"RICHED20.DLL");
    if (m_hModule) {
        m_strClassName = RICHEDIT_CLASSW;
        m_bVersion2 = TRUE;
        return;
    }
    m_hModule = ::LoadLibraryW(L"RICHED32.DLL");
    if (m_hModule)
        m_strClassName = L"RICHEDIT";
}

CXTPRichEditLibrary::~CXTPRichEditLibrary()
{
    if (m_hModule)
        ::FreeLibrary(m_hModule);
}

BOOL CXTPEdit::Create(DWORD dwStyle, CWnd* pParentWnd)
{
    CXTPRichEditLibrary* pLibrary = CXTPRichEditLibrary::GetInstance();
    m_bRichEdit = pLibrary->IsLoaded();
    if (!m_bRichEdit)
        return CEdit::Create(dwStyle, CRect(0, 0, 0, 0), pParentWnd, 0);
    if (!CWnd::CreateEx(0, pLibrary->GetClassName(), nullptr, dwStyle, CRect(0, 0, 0, 0), pParentWnd, 0))
        return FALSE;
    SendMessage(EM_SETEVENTMASK, 0, ENM_CHANGE);
    SendMessage(EM_SETTEXTMODE, TM_PLAINTEXT | TM_SINGLELEVELUNDO);
    return TRUE;
}

BOOL CXTPEdit::IsCommandEnabled(UINT nID) const
{
    switch (nID) {
    case ID_EDIT_PASTE: return ::IsClipboardFormatAvailable(CF_TEXT);
    case ID_EDIT_CUT:
    case ID_EDIT_COPY: {
        int nStart = 0, nEnd = 0;
        GetSel(nStart, nEnd);
        return nStart != nEnd;
    }
    }
    return TRUE;
}

BOOL CXTPEdit::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    static const UINT messages[][2] = {{ID_EDIT_CUT, WM_CUT}, {ID_EDIT_COPY, WM_COPY}, {ID_EDIT_PASTE, WM_PASTE}};
    for (const auto& entry : messages) {
        if (entry[0] != nID || !m_hWnd)
            continue;
        if (nCode == static_cast<int>(CN_UPDATE_COMMAND_UI)) {
            static_cast<CCmdUI*>(pExtra)->Enable(IsCommandEnabled(nID));
            return TRUE;
        }
        if (nCode == static_cast<int>(CN_COMMAND)) {
            SendMessage(entry[1]);
            return TRUE;
        }
    }
    return CEdit::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CXTPEdit::ShowContextMenu(CPoint ptClient)
{
    CXTPCommandBar* pBar = GetOwnerBar();
    CXTPCommandBars* pCommandBars = pBar ? pBar->GetCommandBars() : nullptr;
    if (!pCommandBars)
        return FALSE;
    static const UINT commands[] = {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE};
    CString captions[3];
    for (int i = 0; i < 3; i++) {
        if (!captions[i].LoadString(commands[i]))
            return FALSE;
        // The command string is a prompt and, after the line feed, the short name shown.
        int nFeed = captions[i].Find(L'\n');
        if (nFeed >= 0)
            captions[i] = captions[i].Mid(nFeed + 1);
    }
    CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBar(pCommandBars);
    for (int i = 0; i < 3; i++) {
        CXTPControl* pControl = pPopup->GetControls()->Add(xtpControlButton, static_cast<int>(commands[i]));
        pControl->SetCaption(captions[i]);
        pControl->SetEnabled(IsCommandEnabled(commands[i]));
    }
    UINT nFlags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_RECURSE;
    if (GetExStyle() & (WS_EX_LAYOUTRTL | WS_EX_RIGHT))
        nFlags |= TPM_RIGHTALIGN;
    CPoint pt = ptClient;
    ClientToScreen(&pt);
    // Clicks must reach the menu while the field holds the bars' mouse handling.
    CMouseManager* pMouse = CMouseManager::GetThreadManager();
    pMouse->m_nCaptureLoops--;
    int nCommand = CXTPCommandBars::TrackPopup(pPopup, nFlags, pt.x, pt.y, pBar->GetSite(), nullptr, nullptr);
    pMouse->m_nCaptureLoops++;
    pPopup->InternalRelease();
    if (nCommand > 0 && m_hWnd)
        OnCmdMsg(static_cast<UINT>(nCommand), static_cast<int>(CN_COMMAND), nullptr, nullptr);
    if (::IsWindow(pBar->GetSafeHwnd()))
        pBar->UpdateWindow();
    return TRUE;
}

BOOL CXTPEdit::ProcessDialogKey(UINT nChar, LPARAM lKeyData)
{
    BOOL bCtrl = ::GetKeyState(VK_CONTROL) < 0;
    BOOL bFieldKey = nChar == VK_BACK || (nChar >= VK_PRIOR && nChar <= VK_DELETE) ||
                     (bCtrl && (nChar == 'C' || nChar == 'V' || nChar == 'X' || nChar == 'Z'));
    if (!bFieldKey || !m_hWnd)
        return FALSE;
    MSG msg = {m_hWnd, WM_KEYDOWN, nChar, lKeyData, 0, {0, 0}};
    return ::IsDialogMessageW(m_hWnd, &msg);
}

void CXTPEdit::SetColors(COLORREF clrText, COLORREF clrBack)
{
    if (m_clrText == clrText && m_clrBack == clrBack)
        return;
    m_clrText = clrText;
    m_clrBack = clrBack;
    if (!m_hWnd)
        return;
    if (m_bRichEdit) {
        CHARFORMAT2 cf = {};
        // The older library knows only the shorter record.
        cf.cbSize = CXTPRichEditLibrary::GetInstance()->IsVersion2() ? sizeof(CHARFORMAT2) : sizeof(CHARFORMAT);
        cf.dwMask = CFM_COLOR;
        cf.crTextColor = clrText;
        SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
        SendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
        SendMessage(EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(clrBack));
    }
    Invalidate(FALSE);
}

void CXTPEdit::PasteText()
{
    if (!::IsClipboardFormatAvailable(CF_UNICODETEXT) || !::OpenClipboard(m_hWnd))
        return;
    CString strText;
    if (HANDLE hText = ::GetClipboardData(CF_UNICODETEXT)) {
        if (auto* pszText = static_cast<LPCWSTR>(::GlobalLock(hText))) {
            strText = pszText;
            ::GlobalUnlock(hText);
        }
    }
    ::CloseClipboard();
    int nBreak = strText.FindOneOf(L"\r\n");
    if (nBreak >= 0)
        strText = strText.Left(nBreak);
    SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(strText)));
}

LRESULT CXTPEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN: {
        // The rich edit pastes by these keys without a WM_PASTE.
        BOOL bCtrl = ::GetKeyState(VK_CONTROL) < 0, bShift = ::GetKeyState(VK_SHIFT) < 0;
        BOOL bPasteKey = (wParam == 'V' && bCtrl && !bShift) || (wParam == VK_INSERT && bShift && !bCtrl);
        if (!m_bRichEdit || !bPasteKey || ::GetKeyState(VK_MENU) < 0)
            break;
        PasteText();
        return 0;
    }
    case WM_PASTE:
        // A rich edit of plain text may put the clipboard's text in place of all of its own (Wine's does).
        if (!m_bRichEdit)
            break;
        PasteText();
        return 0;
    case WM_IME_STARTCOMPOSITION: m_bImeComposing = TRUE; break;
    case WM_IME_ENDCOMPOSITION:
    case WM_KILLFOCUS: m_bImeComposing = FALSE; break;
    case WM_CREATE:
        // Colours asked for before the window existed.
        if (m_clrText != CLR_INVALID) {
            LRESULT lResult = CEdit::WindowProc(message, wParam, lParam);
            COLORREF clrText = m_clrText, clrBack = m_clrBack;
            m_clrText = m_clrBack = CLR_INVALID;
            SetColors(clrText, clrBack);
            return lResult;
        }
        break;
    }
    return CEdit::WindowProc(message, wParam, lParam);
}

BOOL CXTPEdit::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if ((message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) && m_clrText != CLR_INVALID) {
        HDC hDC = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(hDC, m_clrText);
        ::SetBkColor(hDC, m_clrBack);
        m_brBack.DeleteObject();
        m_brBack.CreateSolidBrush(m_clrBack);
        if (pResult)
            *pResult = reinterpret_cast<LRESULT>(m_brBack.GetSafeHandle());
        return TRUE;
    }
    return CEdit::OnChildNotify(message, wParam, lParam, pResult);
}

BOOL IsListKey(UINT nChar)
{
    return nChar == VK_UP || nChar == VK_DOWN || nChar == VK_PRIOR || nChar == VK_NEXT;
}

namespace
{
BOOL IsAltDown()
{
    return ::GetKeyState(VK_MENU) < 0;
}
}


HHOOK CXTPAutoSuggestHook::s_hHook = nullptr;
CXTPAutoSuggestHook* CXTPAutoSuggestHook::s_pOwner = nullptr;

CXTPAutoSuggestHook::~CXTPAutoSuggestHook()
{
    Hook(FALSE);
}

HRESULT CXTPAutoSuggestHook::EnableShellAutoComplete(HWND hWndEdit, DWORD dwFlags)
{
    HMODULE hShell = ::LoadLibraryW(L"shlwapi.dll");
    if (!hShell)
        return E_FAIL;
    using PFNSHAUTOCOMPLETE = HRESULT(WINAPI*)(HWND, DWORD);
    auto pfnAutoComplete = reinterpret_cast<PFNSHAUTOCOMPLETE>(
        reinterpret_cast<void*>(::GetProcAddress(hShell, "SHAutoComplete")));
    HRESULT hr = pfnAutoComplete ? pfnAutoComplete(hWndEdit, dwFlags) : E_FAIL;
    ::FreeLibrary(hShell);
    return hr;
}

void CXTPAutoSuggestHook::Hook(BOOL bHook, HWND hWndEdit)
{
    if (bHook) {
        m_hWndEdit = hWndEdit;
        if (!s_hHook) {
            s_hHook = ::SetWindowsHookExW(WH_CALLWNDPROC, CallWndProc, nullptr, ::GetCurrentThreadId());
            s_pOwner = this;
            CKeyboardManager::GetThreadManager()->AddHandler(this);
        }
    } else if (s_pOwner == this) {
        if (s_hHook)
            ::UnhookWindowsHookEx(s_hHook);
        s_hHook = nullptr;
        s_pOwner = nullptr;
        CKeyboardManager::GetThreadManager()->RemoveHandler(this);
    }
    SetDropDownWindow(nullptr);
}

void CXTPAutoSuggestHook::SetDropDownWindow(HWND hWnd)
{
    CMouseManager* pMouse = CMouseManager::GetThreadManager();
    if (m_hWndDropDown)
        pMouse->RemoveTrustedWindow(m_hWndDropDown);
    m_hWndDropDown = hWnd;
    // Clicks in the shell's drop-down do not close the bars.
    if (hWnd)
        pMouse->AddTrustedWindow(hWnd);
}

BOOL CXTPAutoSuggestHook::ProcessKey(UINT nChar, LPARAM lKeyData)
{
    if (!m_hWndDropDown || !::IsWindowVisible(m_hWndDropDown) || IsAltDown() || !IsListKey(nChar))
        return FALSE;
    HWND hWndChild = ::GetWindow(m_hWndDropDown, GW_CHILD);
    HWND hWndList = hWndChild ? ::GetWindow(::GetWindow(hWndChild, GW_CHILD), GW_HWNDLAST) : nullptr;
    if (!hWndList)
        return FALSE;
    MSG msg = {hWndList, WM_KEYDOWN, nChar, lKeyData, 0, {0, 0}};
    return ::IsDialogMessageW(hWndList, &msg);
}

int CXTPAutoSuggestHook::OnHookMessage(HWND /*hWnd*/, UINT nMessage, WPARAM& /*wParam*/, LPARAM& /*lParam*/,
                                       LRESULT& /*lResult*/)
{
    if (nMessage == WM_MOUSEWHEEL && m_hWndDropDown && ::IsWindowVisible(m_hWndDropDown))
        return xtpHookStop;
    return xtpHookContinue;
}

void CXTPAutoSuggestHook::HideDropDown()
{
    if (m_hWndDropDown)
        ::ShowWindow(m_hWndDropDown, SW_HIDE);
}

void CXTPAutoSuggestHook::OnWindowPosChanging(HWND hWnd, UINT nFlags)
{
    if (m_hWndDropDown) {
        // Only a hide forgets the drop-down: it is moved and sized while shown too.
        if (hWnd == m_hWndDropDown && (nFlags & SWP_HIDEWINDOW))
            SetDropDownWindow(nullptr);
        return;
    }
    if (!(nFlags & SWP_SHOWWINDOW))
        return;
    wchar_t szClass[64] = {};
    ::GetClassNameW(hWnd, szClass, static_cast<int>(std::size(szClass)));
    if (::lstrcmpW(szClass, L"Auto-Suggest Dropdown") != 0)
        return;
    SetDropDownWindow(hWnd);
    if (::IsWindow(m_hWndEdit))
        ::PostMessageW(m_hWndEdit, WM_XTP_SHELLAUTOCOMPLETESTART, 0, 0);
}

LRESULT CALLBACK CXTPAutoSuggestHook::CallWndProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    HHOOK hHook = s_hHook;
    if (nCode == HC_ACTION && s_pOwner) {
        const CWPSTRUCT* pMsg = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (pMsg->message == WM_WINDOWPOSCHANGING && pMsg->lParam)
            s_pOwner->OnWindowPosChanging(pMsg->hwnd, reinterpret_cast<const WINDOWPOS*>(pMsg->lParam)->flags);
    }
    return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}

void CXTPEditField::EnableShellAutoComplete(CWnd* pWnd, DWORD dwFlags)
{
    delete m_pAutoSuggestHook;
    m_pAutoSuggestHook = nullptr;
    m_dwShellAutoCompleteFlags = dwFlags;
    if (!pWnd || !pWnd->GetSafeHwnd() || !dwFlags)
        return;
    m_pAutoSuggestHook = new CXTPAutoSuggestHook;
    if (FAILED(CXTPAutoSuggestHook::EnableShellAutoComplete(pWnd->GetSafeHwnd(), dwFlags))) {
        delete m_pAutoSuggestHook;
        m_pAutoSuggestHook = nullptr;
    }
}

CString CXTPEditField::GetText(const CWnd* pWnd) const
{
    if (pWnd && pWnd->GetSafeHwnd() && m_bStale && !m_bHintShown) {
        pWnd->GetWindowText(m_strText);
        m_bStale = FALSE;
    }
    return m_strText;
}

void CXTPEditField::SetText(CWnd* pWnd, const CString& strText)
{
    m_strText = strText;
    if (pWnd && pWnd->GetSafeHwnd())
        ShowTextOrHint(pWnd);
    m_bStale = FALSE;
}

void CXTPEditField::SetHint(CWnd* pWnd, const CString& strHint)
{
    BOOL bWindow = pWnd && pWnd->GetSafeHwnd();
    if (bWindow)
        GetText(pWnd);
    m_strHint = strHint;
    if (bWindow)
        ShowTextOrHint(pWnd);
}

void CXTPEditField::ShowTextOrHint(CWnd* pWnd)
{
    BOOL bHint = m_strText.IsEmpty() && !m_strHint.IsEmpty() && !m_bFocused;
    // The flag is set before the window hears the text, so that its change notice is not taken for the user's.
    m_bHintShown = bHint;
    const CString& strShown = bHint ? m_strHint : m_strText;
    CString strWindow;
    pWnd->GetWindowText(strWindow);
    if (strWindow != strShown) {
        // The field's own change: its notice is not the user's.
        m_bSetting = TRUE;
        pWnd->SetWindowText(strShown);
        m_bSetting = FALSE;
    }
    m_bStale = FALSE;
    pWnd->Invalidate(FALSE);
}

void CXTPEditField::TakeHintAway(CWnd* pWnd)
{
    if (!m_bHintShown)
        return;
    // Cleared while the flag still stands: taking the hint away is no change of the user's.
    pWnd->SetWindowText(L"");
    m_bHintShown = FALSE;
    m_bStale = FALSE;
}

BOOL CXTPEditField::OnWindowTextChanged(const CWnd* pWnd)
{
    m_bStale = TRUE;
    return !m_bHintShown && !m_bSetting && ::GetFocus() == pWnd->GetSafeHwnd();
}

BOOL CXTPEditField::OnWindowDestroyed(const CWnd* pWnd)
{
    GetText(pWnd);
    m_bHintShown = FALSE;
    m_bStale = TRUE;
    if (!m_bFocused)
        return FALSE;
    // Gone while being edited: the bars must not stay in the editing state.
    m_bFocused = FALSE;
    m_hWndFocusBefore = nullptr;
    CMouseManager* pMouse = CMouseManager::GetThreadManager();
    pMouse->m_nCaptureLoops = std::max(0, pMouse->m_nCaptureLoops - 1);
    return TRUE;
}

BOOL CXTPEditField::SetFocused(CXTPControl* pControl, CWnd* pWnd, BOOL bFocused, UINT nSetCode, UINT nKillCode)
{
    CXTPCommandBar* pBar = pControl->GetParent();
    if (m_bFocused == bFocused || !pBar)
        return FALSE;
    m_bFocused = bFocused;
    HWND hWndEdit = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    CMouseManager* pMouse = CMouseManager::GetThreadManager();
    if (bFocused) {
        // The bar starts tracking while the former window still has the focus, so that it gets it back.
        pBar->SetTrackingMode(TRUE, FALSE, FALSE);
        if (hWndEdit && ::GetFocus() != hWndEdit)
            ::SetFocus(hWndEdit);
        pBar->SetSelected(pControl->GetIndex(), FALSE);
        pMouse->m_nCaptureLoops++;
        pControl->NotifySite(nSetCode);
    } else {
        if (hWndEdit && ::GetFocus() == hWndEdit) {
            HWND hWndBack = ::IsWindow(m_hWndFocusBefore) ? m_hWndFocusBefore : nullptr;
            if (!hWndBack && pBar->GetSite())
                hWndBack = pBar->GetSite()->GetSafeHwnd();
            ::SetFocus(hWndBack);
        }
        m_hWndFocusBefore = nullptr;
        pMouse->m_nCaptureLoops = std::max(0, pMouse->m_nCaptureLoops - 1);
        pControl->NotifySite(nKillCode);
    }
    pControl->RedrawParent();
    return TRUE;
}
