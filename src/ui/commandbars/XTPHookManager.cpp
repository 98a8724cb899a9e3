#include "ui/commandbars/XTPHookManager.h"

#include "platform/mfc/afxstate.h"
#include "ui/commandbars/XTPCommandBar.h"
#include "ui/themes/DrawHelpers.h"

#include <algorithm>

namespace
{
const UINT_PTR nLeaveTimer = 113341;
const UINT WM_XTP_RUNAFTERKEY = WM_APP + 1;   // of the keyboard manager's own window
const wchar_t szAfterKeyClass[] = L"XTPKeyboardAfterKey";

template <class T>
BOOL Contains(const std::vector<T>& items, T item)
{
    return std::find(items.begin(), items.end(), item) != items.end();
}

template <class T>
void Erase(std::vector<T>& items, T item)
{
    items.erase(std::remove(items.begin(), items.end(), item), items.end());
}
}

int GetOutsideMouseAction(UINT nMessage, int nCaptureLoops)
{
    switch (nMessage) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: return xtpMouseMove;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN: return xtpMouseUntrack;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP: return nCaptureLoops > 0 ? xtpMouseNothing : xtpMouseUntrack;
    }
    return xtpMouseNothing;
}

int GetKeyboardHookAction(WPARAM nKey, LPARAM lKeyData, int nCaptureLoops)
{
    if (lKeyData & 0x80000000)
        return xtpKeyPass;
    if ((lKeyData & 0x20000000) && nKey == VK_MENU && nCaptureLoops < 1)
        return (lKeyData & 0x40000000) ? xtpKeyPass : xtpKeyUntrack;
    return xtpKeyOffer;
}

CMouseManager::CMouseManager()
{
    m_hHook = ::SetWindowsHookExW(WH_MOUSE, MouseProc, nullptr, ::GetCurrentThreadId());
}

CMouseManager::~CMouseManager()
{
    if (m_hHook)
        ::UnhookWindowsHookEx(m_hHook);
}

CMouseManager* CMouseManager::GetThreadManager()
{
    static thread_local CMouseManager manager;
    return &manager;
}

void CMouseManager::AddTrackedBar(CXTPTrackedBar* pBar)
{
    if (m_arrTracked.empty() && m_pHotBar && static_cast<CXTPTrackedBar*>(m_pHotBar) != pBar)
        m_pHotBar->SetSelected(-1);
    if (!Contains(m_arrTracked, pBar))
        m_arrTracked.push_back(pBar);
}

void CMouseManager::RemoveTrackedBar(CXTPTrackedBar* pBar)
{
    BOOL bWasTracked = Contains(m_arrTracked, pBar);
    Erase(m_arrTracked, pBar);
    if (bWasTracked && m_arrTracked.empty()) {
        // The windows under the cursor get a fresh mouse move.
        CPoint pt;
        ::GetCursorPos(&pt);
        ::SetCursorPos(pt.x, pt.y);
    }
    m_bSwallowRelease = FALSE;
}

void CMouseManager::UntrackAll()
{
    while (!m_arrTracked.empty()) {
        CXTPTrackedBar* pBar = m_arrTracked.front();
        pBar->StopTracking();
        // A bar that did not leave the list would be asked for ever.
        if (!m_arrTracked.empty() && m_arrTracked.front() == pBar)
            RemoveTrackedBar(pBar);
    }
}

void CMouseManager::CloseUnlockedBars()
{
    if (m_arrTracked.empty() || m_arrTracked.front()->GetInputLock() < 1)
        return;
    std::vector<CXTPTrackedBar*> arrBars = m_arrTracked;
    for (CXTPTrackedBar* pBar : arrBars)
        if (IsTracked(pBar) && pBar->GetInputLock() == 0)
            pBar->StopTracking();
}

void CMouseManager::LockTrackedBars(BOOL bLock)
{
    for (CXTPTrackedBar* pBar : m_arrTracked)
        pBar->GetInputLock() += bLock ? 1 : -1;
}

BOOL CMouseManager::IsTracked(CXTPTrackedBar* pBar) const
{
    return Contains(m_arrTracked, pBar);
}

BOOL CMouseManager::IsTrackingActive(CXTPTrackedBar* pBar) const
{
    if (m_arrTracked.empty())
        return FALSE;
    return !pBar || pBar->GetInputLock() > 0 || !IsTracked(pBar);
}

BOOL CMouseManager::IsTopBarLocked() const
{
    return !m_arrTracked.empty() && m_arrTracked.front()->GetInputLock() > 0;
}

void CMouseManager::RemoveTrustedWindow(HWND hWnd)
{
    Erase(m_arrTrusted, hWnd);
}

LRESULT CALLBACK CMouseManager::MouseProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    CMouseManager* pManager = GetThreadManager();
    if (nCode == HC_ACTION) {
        const MOUSEHOOKSTRUCT* pInfo = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        if (pManager->OnMouseHookAction(static_cast<UINT>(wParam), pInfo->pt))
            return 1;
    }
    return ::CallNextHookEx(pManager->m_hHook, nCode, wParam, lParam);
}

BOOL CMouseManager::OnMouseHookAction(UINT nMessage, CPoint pt)
{
    if (nMessage == WM_LBUTTONDOWN || nMessage == WM_RBUTTONDOWN)
        m_bSwallowRelease = FALSE;
    if ((nMessage == WM_LBUTTONUP || nMessage == WM_NCLBUTTONUP) && m_bSwallowRelease) {
        m_bSwallowRelease = FALSE;
        return TRUE;
    }
    if ((nMessage == WM_MOUSEMOVE || nMessage == WM_NCMOUSEMOVE) && IsTracking() && pt == m_ptLast)
        return TRUE;
    m_ptLast = pt;
    if (IsTracking())
        OnHookMouseMessage(nMessage, pt);
    return FALSE;
}

void CMouseManager::OnHookMouseMessage(UINT nMessage, CPoint pt)
{
    HWND hWndUnder = ::WindowFromPoint(pt);
    for (size_t i = m_arrTracked.size(); i-- > 0;) {
        CXTPTrackedBar* pBar = m_arrTracked[i];
        HWND hWndBar = pBar->GetTrackedWindow();
        if (!hWndBar)
            continue;
        int nHit = pBar->OnMouseHitTest(pt);
        if (nHit == -2)
            continue;
        if (nHit != 1 && !::IsChild(hWndBar, hWndUnder))
            continue;
        if (pBar->GetInputLock() >= 1 && nMessage != WM_MOUSEMOVE && nMessage != WM_NCMOUSEMOVE && !m_bSwallowRelease) {
            // A click on a bar below a nested popup closes the popups opened after it.
            CloseUnlockedBars();
            m_ptLast = CPoint(0, 0);
        }
        return;
    }
    for (HWND hWndTrusted : m_arrTrusted) {
        CRect rc;
        if (::IsWindow(hWndTrusted) && ::IsWindowVisible(hWndTrusted) && ::GetWindowRect(hWndTrusted, &rc) &&
            rc.PtInRect(pt))
            return;
    }
    switch (GetOutsideMouseAction(nMessage, m_nCaptureLoops)) {
    case xtpMouseUntrack:
        UntrackAll();
        break;
    case xtpMouseMove: {
        std::vector<CXTPTrackedBar*> arrBars = m_arrTracked;
        for (CXTPTrackedBar* pBar : arrBars) {
            if (!IsTracked(pBar) || pBar->GetInputLock() >= 1)
                continue;
            CPoint ptClient = pt;
            ::ScreenToClient(pBar->GetTrackedWindow(), &ptClient);
            pBar->OnTrackedMouseMove(ptClient);
        }
        break;
    }
    }
}

void CMouseManager::TrackMouseLeave(HWND hWnd)
{
    if (hWnd == m_hWndWatched)
        return;
    if (m_hWndWatched && ::IsWindow(m_hWndWatched)) {
        ::KillTimer(m_hWndWatched, nLeaveTimer);
        ::SendMessageW(m_hWndWatched, WM_MOUSELEAVE, 0, 0);
    }
    m_hWndWatched = hWnd;
    ::SetTimer(hWnd, nLeaveTimer, 50, LeaveTimerProc);
}

void CALLBACK CMouseManager::LeaveTimerProc(HWND hWnd, UINT /*nMsg*/, UINT_PTR /*nIDEvent*/, DWORD /*dwTime*/)
{
    GetThreadManager()->OnLeaveTimer(hWnd);
}

void CMouseManager::OnLeaveTimer(HWND hWnd)
{
    if (hWnd != m_hWndWatched || !::IsWindow(hWnd)) {
        ::KillTimer(hWnd, nLeaveTimer);
        if (hWnd == m_hWndWatched)
            m_hWndWatched = nullptr;
        return;
    }
    CPoint pt;
    ::GetCursorPos(&pt);
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    BOOL bActive = !::GetParent(hWnd) || (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_POPUP) || IsTopParentActive(hWnd);
    if (rc.PtInRect(pt) && bActive)
        return;
    ::KillTimer(hWnd, nLeaveTimer);
    m_hWndWatched = nullptr;
    ::PostMessageW(hWnd, WM_MOUSELEAVE, 0, 0);
}

CKeyboardManager::~CKeyboardManager()
{
    Unhook();
    if (m_hWndAfterKey && ::IsWindow(m_hWndAfterKey))
        ::DestroyWindow(m_hWndAfterKey);
}

CKeyboardManager* CKeyboardManager::GetThreadManager()
{
    static thread_local CKeyboardManager manager;
    return &manager;
}

void CKeyboardManager::AddHandler(CXTPHookHandler* pHandler)
{
    if (!m_hKeyboardHook)
        m_hKeyboardHook = ::SetWindowsHookExW(WH_KEYBOARD, KeyboardProc, nullptr, ::GetCurrentThreadId());
    if (!m_hMessageHook)
        m_hMessageHook = ::SetWindowsHookExW(WH_CALLWNDPROC, CallWndProc, nullptr, ::GetCurrentThreadId());
    if (!Contains(m_arrHandlers, pHandler))
        m_arrHandlers.push_back(pHandler);
}

void CKeyboardManager::RemoveHandler(CXTPHookHandler* pHandler)
{
    Erase(m_arrHandlers, pHandler);
    if (m_arrHandlers.empty())
        Unhook();
}

void CKeyboardManager::Unhook()
{
    if (m_hKeyboardHook)
        ::UnhookWindowsHookEx(m_hKeyboardHook);
    if (m_hMessageHook)
        ::UnhookWindowsHookEx(m_hMessageHook);
    m_hKeyboardHook = m_hMessageHook = nullptr;
}

int CKeyboardManager::OfferMessage(UINT nMessage, WPARAM wParamIn, LPARAM lParamIn)
{
    std::vector<CXTPHookHandler*> arrHandlers = m_arrHandlers;
    for (size_t i = arrHandlers.size(); i-- > 0;) {
        // A handler that an earlier one removed is not asked.
        if (!Contains(m_arrHandlers, arrHandlers[i]))
            continue;
        WPARAM wParam = wParamIn;
        LPARAM lParam = lParamIn;
        LRESULT lResult = 0;
        int nAnswer = arrHandlers[i]->OnHookMessage(nullptr, nMessage, wParam, lParam, lResult);
        if (nAnswer != xtpHookContinue)
            return nAnswer;
    }
    return xtpHookContinue;
}

BOOL CKeyboardManager::ProcessKey(WPARAM nKey, LPARAM lKeyData)
{
    return OfferMessage(WM_KEYDOWN, nKey, lKeyData) != xtpHookStop;
}

BOOL CKeyboardManager::ProcessMouseWheel(WPARAM wParam, LPARAM lParam)
{
    return OfferMessage(WM_MOUSEWHEEL, wParam, lParam) == xtpHookHandled;
}

void CKeyboardManager::RunAfterKey(std::function<void()> action)
{
    if (m_nKeysOffered == 0 || !GetAfterKeyWindow()) {
        action();
        return;
    }
    m_arrAfterKey.push_back(std::move(action));
    if (!::PostMessageW(m_hWndAfterKey, WM_XTP_RUNAFTERKEY, 0, 0)) {
        std::function<void()> now = std::move(m_arrAfterKey.back());
        m_arrAfterKey.pop_back();
        now();
    }
}

HWND CKeyboardManager::GetAfterKeyWindow()
{
    if (m_hWndAfterKey && ::IsWindow(m_hWndAfterKey))
        return m_hWndAfterKey;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = AfterKeyWndProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = szAfterKeyClass;
    ::RegisterClassW(&wc);   // the class of an earlier thread stays registered
    m_hWndAfterKey = ::CreateWindowExW(0, szAfterKeyClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                       nullptr);
    return m_hWndAfterKey;
}

LRESULT CALLBACK CKeyboardManager::AfterKeyWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CKeyboardManager* pManager = GetThreadManager();
    if (nMsg != WM_XTP_RUNAFTERKEY || pManager->m_arrAfterKey.empty())
        return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    std::function<void()> action = std::move(pManager->m_arrAfterKey.front());
    pManager->m_arrAfterKey.pop_front();
    try {
        action();
    } catch (...) {
        MSG msg = {hWnd, nMsg, wParam, lParam, 0, {0, 0}};
        AfxProcessCurrentException(&msg);
    }
    return 0;
}

LRESULT CALLBACK CKeyboardManager::KeyboardProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    CKeyboardManager* pManager = GetThreadManager();
    if (nCode == HC_ACTION && !pManager->m_arrHandlers.empty()) {
        switch (GetKeyboardHookAction(wParam, lParam, CMouseManager::GetThreadManager()->m_nCaptureLoops)) {
        case xtpKeyUntrack:
            CMouseManager::GetThreadManager()->UntrackAll();
            return 1;
        case xtpKeyOffer: {
            struct COffering
            {
                int& nCount;
                explicit COffering(int& n) : nCount(n) { ++nCount; }
                ~COffering() { --nCount; }
            } offering(pManager->m_nKeysOffered);
            if (pManager->ProcessKey(wParam, lParam))
                return 1;
            break;
        }
        }
    }
    return ::CallNextHookEx(pManager->m_hKeyboardHook, nCode, wParam, lParam);
}

LRESULT CALLBACK CKeyboardManager::CallWndProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    CKeyboardManager* pManager = GetThreadManager();
    const CWPSTRUCT* pMsg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pMsg->message == WM_ACTIVATEAPP && pMsg->wParam == 0)
        CMouseManager::GetThreadManager()->UntrackAll();
    return ::CallNextHookEx(pManager->m_hMessageHook, nCode, wParam, lParam);
}

CWindowHookManager* CWindowHookManager::GetInstance()
{
    static CWindowHookManager manager;
    return &manager;
}

CWindowHookManager::~CWindowHookManager()
{
    for (auto& entry : m_mapLists) {
        Unsubclass(entry.second);
        delete entry.second;
    }
}

void CWindowHookManager::SetHook(HWND hWnd, CXTPHookHandler* pHook)
{
    CWindowHookList*& pList = m_mapLists[hWnd];
    if (!pList) {
        pList = new CWindowHookList;
        pList->hWnd = hWnd;
        pList->pfnOldProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HookWndProc)));
    }
    if (!Contains(pList->hooks, pHook))
        pList->hooks.push_back(pHook);
}

void CWindowHookManager::RemoveHook(HWND hWnd, CXTPHookHandler* pHook)
{
    auto it = m_mapLists.find(hWnd);
    if (it == m_mapLists.end())
        return;
    CWindowHookList* pList = it->second;
    Erase(pList->hooks, pHook);
    if (pList->hooks.empty())
        Release(pList);
}

void CWindowHookManager::RemoveHookFromAll(CXTPHookHandler* pHook)
{
    std::vector<HWND> arrWindows;
    for (const auto& entry : m_mapLists)
        arrWindows.push_back(entry.first);
    for (HWND hWnd : arrWindows)
        RemoveHook(hWnd, pHook);
}

void CWindowHookManager::Unsubclass(CWindowHookList* pList)
{
    if (::IsWindow(pList->hWnd))
        ::SetWindowLongPtrW(pList->hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pList->pfnOldProc));
}

void CWindowHookManager::Release(CWindowHookList* pList)
{
    m_mapLists.erase(pList->hWnd);
    Unsubclass(pList);
    if (pList->nBusy) {
        pList->hooks.clear();
        pList->bDeletePending = TRUE;
    }
    else
        delete pList;
}

LRESULT CALLBACK CWindowHookManager::HookWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWindowHookManager* pManager = GetInstance();
    auto it = pManager->m_mapLists.find(hWnd);
    if (it == pManager->m_mapLists.end())
        return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    CWindowHookList* pList = it->second;
    WNDPROC pfnOldProc = pList->pfnOldProc;

    AFX_THREAD_STATE* pState = AfxGetThreadState();
    MSG msgSaved = pState->m_lastSentMsg;
    pState->m_lastSentMsg = MSG{hWnd, nMsg, wParam, lParam, 0, {0, 0}};
    struct CRestore
    {
        AFX_THREAD_STATE* pState;
        MSG msg;
        ~CRestore() { pState->m_lastSentMsg = msg; }
    } restore{pState, msgSaved};

    if (nMsg == WM_NCDESTROY) {
        pManager->Release(pList);
        return ::CallWindowProcW(pfnOldProc, hWnd, nMsg, wParam, lParam);
    }

    // The hooks may remove hooks or destroy the window while they are asked: they are asked from a copy, and
    // the list is deleted only when this message is done with it.
    pList->nBusy++;
    std::vector<CXTPHookHandler*> arrHooks = pList->hooks;
    LRESULT lResult = 0;
    BOOL bHandled = FALSE;
    for (size_t i = arrHooks.size(); i-- > 0;) {
        if (!Contains(pList->hooks, arrHooks[i]))
            continue;
        int nAnswer = arrHooks[i]->OnHookMessage(hWnd, nMsg, wParam, lParam, lResult);
        if (nAnswer == xtpHookHandled) {
            bHandled = TRUE;
            break;
        }
        if (nAnswer == xtpHookStop)
            break;
    }
    if (--pList->nBusy == 0 && pList->bDeletePending)
        delete pList;
    if (bHandled || !::IsWindow(hWnd))
        return lResult;
    return ::CallWindowProcW(pfnOldProc, hWnd, nMsg, wParam, lParam);
}
