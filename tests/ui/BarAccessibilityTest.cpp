// Bars and controls as screen readers see them, through the IAccessible that oleacc's AccessibleObjectFromWindow
// hands out for the bar windows of a test frame: names, roles, states, screen locations, hit tests, children,
// parents, the default action; and the bars without oleacc.
#include "FrameTestSupport.h"

#include "ui/commandbars/XTPAccessible.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/commandbars/XTPToolBar.h"

#include <gtest/gtest.h>

#include <comdef.h>
#include <oleacc.h>

#include <string>

_COM_SMARTPTR_TYPEDEF(IAccessible, __uuidof(IAccessible));

namespace
{
VARIANT ChildId(long nChild)
{
    VARIANT var;
    ::VariantInit(&var);
    var.vt = VT_I4;
    var.lVal = nChild;
    return var;
}

const VARIANT kSelf = ChildId(CHILDID_SELF);

std::wstring Name(IAccessible* pAccessible, VARIANT varChild = kSelf, HRESULT* phr = nullptr)
{
    BSTR bstrName = nullptr;
    HRESULT hr = pAccessible->get_accName(varChild, &bstrName);
    if (phr)
        *phr = hr;
    std::wstring strName = bstrName ? bstrName : L"";
    ::SysFreeString(bstrName);
    return strName;
}

long LongOf(HRESULT hr, const VARIANT& var) { return SUCCEEDED(hr) && var.vt == VT_I4 ? var.lVal : -12345; }

long Role(IAccessible* pAccessible, VARIANT varChild = kSelf)
{
    VARIANT var;
    ::VariantInit(&var);
    return LongOf(pAccessible->get_accRole(varChild, &var), var);
}

long State(IAccessible* pAccessible, VARIANT varChild = kSelf)
{
    VARIANT var;
    ::VariantInit(&var);
    return LongOf(pAccessible->get_accState(varChild, &var), var);
}

CRect Location(IAccessible* pAccessible, VARIANT varChild = kSelf)
{
    long x = -1, y = -1, cx = -1, cy = -1;
    if (FAILED(pAccessible->accLocation(&x, &y, &cx, &cy, varChild)))
        return CRect(-1, -1, -1, -1);
    return CRect(CPoint(x, y), CSize(cx, cy));
}

IAccessiblePtr FromDispatch(IDispatch* pDispatch)
{
    IAccessiblePtr pAccessible;
    if (pDispatch) {
        pDispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&pAccessible));
        pDispatch->Release();
    }
    return pAccessible;
}

IAccessiblePtr Child(IAccessible* pAccessible, long nChild, HRESULT* phr = nullptr)
{
    IDispatch* pDispatch = nullptr;
    HRESULT hr = pAccessible->get_accChild(ChildId(nChild), &pDispatch);
    if (phr)
        *phr = hr;
    return FromDispatch(pDispatch);
}

IAccessiblePtr Parent(IAccessible* pAccessible)
{
    IDispatch* pDispatch = nullptr;
    pAccessible->get_accParent(&pDispatch);
    return FromDispatch(pDispatch);
}

IAccessiblePtr FromWindow(HWND hWnd, LONG idObject = OBJID_CLIENT)
{
    IAccessiblePtr pAccessible;
    ::AccessibleObjectFromWindow(hWnd, static_cast<DWORD>(idObject), __uuidof(IAccessible), reinterpret_cast<void**>(&pAccessible));
    return pAccessible;
}

CRect ScreenRect(CXTPControl* pControl)
{
    CRect rc = pControl->GetRect();
    pControl->GetParent()->ClientToScreen(&rc);
    return rc;
}

class BarAccessibilityTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = CreateTestFrame();
        ASSERT_NE(nullptr, m_pFrame);
        m_pToolBar = m_pFrame->GetToolBar();
        m_pMenuBar = m_pFrame->GetMenuBar();
        ASSERT_TRUE(m_pToolBar && m_pMenuBar);
        m_pToolBarAcc = FromWindow(m_pToolBar->GetSafeHwnd());
        m_pMenuBarAcc = FromWindow(m_pMenuBar->GetSafeHwnd());
        ASSERT_TRUE(m_pToolBarAcc && m_pMenuBarAcc);
    }
    void TearDown() override
    {
        m_pToolBarAcc = nullptr;
        m_pMenuBarAcc = nullptr;
        if (m_pFrame)
            m_pFrame->DestroyWindow();
        PumpFrame(nullptr);
    }
    // The toolbar's control of a command.
    CXTPControl* ToolBarControl(UINT nId) const { return m_pToolBar->GetControls()->FindControl(static_cast<int>(nId)); }
    long ChildOf(CXTPControl* pControl) const { return pControl->GetIndex() + 1; }

    CTestFrame* m_pFrame = nullptr;
    CXTPToolBar* m_pToolBar = nullptr;
    CXTPMenuBar* m_pMenuBar = nullptr;
    IAccessiblePtr m_pToolBarAcc;
    IAccessiblePtr m_pMenuBarAcc;
};
}

TEST_F(BarAccessibilityTest, BarsAndControlsTellTheirNamesAndRoles)
{
    EXPECT_EQ(L"Menu Bar", Name(m_pMenuBarAcc));
    EXPECT_EQ(L"Standard", Name(m_pToolBarAcc));
    EXPECT_EQ(ROLE_SYSTEM_MENUBAR, Role(m_pMenuBarAcc));
    EXPECT_EQ(ROLE_SYSTEM_TOOLBAR, Role(m_pToolBarAcc));
    EXPECT_EQ(ROLE_SYSTEM_MENUITEM, Role(m_pToolBarAcc, ChildId(1)));
    long nCount = -1;
    ASSERT_EQ(S_OK, m_pMenuBarAcc->get_accChildCount(&nCount));
    EXPECT_EQ(m_pMenuBar->GetControls()->GetCount(), nCount);
    EXPECT_EQ(E_INVALIDARG, m_pMenuBarAcc->get_accChildCount(nullptr));

    // The File menu's popup bar, reached through its control.
    IAccessiblePtr pFile = Child(m_pMenuBarAcc, 1);
    ASSERT_TRUE(pFile);
    EXPECT_EQ(L"File", Name(pFile));
    EXPECT_EQ(ROLE_SYSTEM_MENUITEM, Role(pFile));
    EXPECT_EQ(1, [&]() { long n = -1; pFile->get_accChildCount(&n); return n; }());
    IAccessiblePtr pFilePopup = Child(pFile, 1);
    ASSERT_TRUE(pFilePopup);
    EXPECT_EQ(ROLE_SYSTEM_MENUPOPUP, Role(pFilePopup));
    const struct
    {
        long nChild;
        const wchar_t* name;
    } items[] = {
        {1, L"Nuovo\tCtrl+N"},   // the shortcut after a TAB
        {2, L"Apri"},            // no shortcut: no TAB
        {3, L"Stampa"},          // "Stam&pa" without its prefix
    };
    for (const auto& item : items) {
        SCOPED_TRACE(item.nChild);
        EXPECT_EQ(item.name, Name(pFilePopup, ChildId(item.nChild)));
        IAccessiblePtr pItem = Child(pFilePopup, item.nChild);
        ASSERT_TRUE(pItem);
        EXPECT_EQ(item.name, Name(pItem));
    }

    // Toolbar buttons are push buttons, or button menus when they have a popup bar.
    IAccessiblePtr pOpen = Child(m_pToolBarAcc, ChildOf(ToolBarControl(ID_FT_OPEN)));
    ASSERT_TRUE(pOpen);
    EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, Role(pOpen));
    EXPECT_EQ(0, [&]() { long n = -1; pOpen->get_accChildCount(&n); return n; }());
    EXPECT_EQ(L"Apre un documento", [&]() {
        BSTR bstr = nullptr;
        pOpen->get_accDescription(kSelf, &bstr);
        std::wstring str = bstr ? bstr : L"";
        ::SysFreeString(bstr);
        return str;
    }());
    auto* pPopupControl = static_cast<CXTPControlPopup*>(m_pToolBar->GetControls()->Add(xtpControlPopup, 31900));
    ASSERT_NE(nullptr, pPopupControl);
    pPopupControl->SetCaption(L"&Altro");
    CXTPPopupBar* pPopupBar = CXTPPopupBar::CreatePopupBar(m_pFrame->GetCommandBars());
    pPopupControl->SetCommandBar(pPopupBar);
    pPopupBar->InternalRelease();
    IAccessiblePtr pOther = Child(m_pToolBarAcc, ChildOf(pPopupControl));
    ASSERT_TRUE(pOther);
    EXPECT_EQ(L"Altro", Name(pOther));
    EXPECT_EQ(ROLE_SYSTEM_BUTTONMENU, Role(pOther));
    EXPECT_TRUE(State(pOther) & STATE_SYSTEM_HASPOPUP);
    long nOtherChildren = -1;
    EXPECT_EQ(S_OK, pOther->get_accChildCount(&nOtherChildren));
    EXPECT_EQ(1, nOtherChildren);
    IAccessiblePtr pOtherPopup = Child(pOther, 1);
    ASSERT_TRUE(pOtherPopup);
    EXPECT_EQ(ROLE_SYSTEM_MENUPOPUP, Role(pOtherPopup));
    // Its parent is the control that opens it; the control's parent is the toolbar.
    IAccessiblePtr pUp = Parent(pOtherPopup);
    ASSERT_TRUE(pUp);
    EXPECT_EQ(L"Altro", Name(pUp));
    pUp = Parent(pOther);
    ASSERT_TRUE(pUp);
    EXPECT_EQ(L"Standard", Name(pUp));
    // A docked bar's parent is its parent window's object.
    pUp = Parent(m_pToolBarAcc);
    EXPECT_TRUE(pUp);
}

TEST_F(BarAccessibilityTest, ChildIdsAreReadFromEveryKindOfVariant)
{
    long nTwo = 2;
    short nThree = 3;
    VARIANT varTwo = ChildId(2);
    VARIANT cases[9];
    for (VARIANT& var : cases)
        ::VariantInit(&var);
    cases[0].vt = VT_I4, cases[0].lVal = 1;
    cases[1].vt = VT_I2, cases[1].iVal = 3;
    cases[2].vt = VT_I4 | VT_BYREF, cases[2].plVal = &nTwo;
    cases[3].vt = VT_I2 | VT_BYREF, cases[3].piVal = &nThree;
    cases[4].vt = VT_VARIANT | VT_BYREF, cases[4].pvarVal = &varTwo;
    cases[5].vt = VT_I4 | VT_BYREF, cases[5].plVal = nullptr;
    cases[6].vt = VT_BSTR, cases[6].bstrVal = nullptr;
    cases[7].vt = VT_I4, cases[7].lVal = 0;
    cases[8].vt = VT_I4, cases[8].lVal = 99;
    const struct
    {
        const char* what;
        const wchar_t* name;   // null: refused
        long nRole;
    } expected[] = {
        {"VT_I4 1", L"File", ROLE_SYSTEM_MENUITEM},
        {"VT_I2 3", L"Lungo", ROLE_SYSTEM_MENUITEM},
        {"VT_I4 by reference to 2", L"Modifica", ROLE_SYSTEM_MENUITEM},
        {"VT_I2 by reference to 3", L"Lungo", ROLE_SYSTEM_MENUITEM},
        {"VARIANT by reference to VT_I4 2", L"Modifica", ROLE_SYSTEM_MENUITEM},
        {"VT_I4 by a null reference", L"Menu Bar", -12345},
        {"VT_BSTR", L"Menu Bar", -12345},
        {"CHILDID_SELF", L"Menu Bar", ROLE_SYSTEM_MENUBAR},
        {"beyond the controls", nullptr, ROLE_SYSTEM_MENUITEM},
    };
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].what);
        HRESULT hr = S_OK;
        std::wstring strName = Name(m_pMenuBarAcc, cases[i], &hr);
        if (expected[i].name) {
            EXPECT_EQ(S_OK, hr);
            EXPECT_EQ(expected[i].name, strName);
        } else {
            EXPECT_EQ(E_INVALIDARG, hr);
        }
        EXPECT_EQ(expected[i].nRole, Role(m_pMenuBarAcc, cases[i]));
    }
}

TEST_F(BarAccessibilityTest, ChildrenOutsideTheBarAreNone)
{
    long nCount = 0;
    ASSERT_EQ(S_OK, m_pToolBarAcc->get_accChildCount(&nCount));
    for (long nChild : {0L, -1L, nCount + 1}) {
        SCOPED_TRACE(nChild);
        HRESULT hr = E_FAIL;
        EXPECT_FALSE(Child(m_pToolBarAcc, nChild, &hr));
        EXPECT_EQ(S_OK, hr);
    }
    for (long nChild = 1; nChild <= nCount; ++nChild) {
        HRESULT hr = E_FAIL;
        IAccessiblePtr pChild = Child(m_pToolBarAcc, nChild, &hr);
        EXPECT_EQ(S_OK, hr) << nChild;
        ASSERT_TRUE(pChild) << nChild;
        IAccessiblePtr pParent = Parent(pChild);
        ASSERT_TRUE(pParent) << nChild;
        EXPECT_EQ(L"Standard", Name(pParent)) << nChild;
    }
    // A control without a popup bar has no child 1.
    IAccessiblePtr pOpen = Child(m_pToolBarAcc, ChildOf(ToolBarControl(ID_FT_OPEN)));
    ASSERT_TRUE(pOpen);
    HRESULT hr = E_FAIL;
    EXPECT_FALSE(Child(pOpen, 1, &hr));
    EXPECT_EQ(S_OK, hr);
    EXPECT_EQ(E_INVALIDARG, [&]() { BSTR b = nullptr; return pOpen->get_accName(ChildId(1), &b); }());
}

TEST_F(BarAccessibilityTest, BarAndControlLocateAControlAtTheSamePlaceOnTheScreen)
{
    // A border puts the client area away from the window's corner.
    m_pToolBar->ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED);
    CPoint ptClient(0, 0);
    m_pToolBar->ClientToScreen(&ptClient);
    CRect rcBar;
    m_pToolBar->GetWindowRect(&rcBar);
    ASSERT_NE(rcBar.TopLeft(), ptClient);
    EXPECT_EQ(rcBar, Location(m_pToolBarAcc));
    for (UINT nId : {ID_FT_NEW, ID_FT_OPEN, ID_FT_PRINT}) {
        SCOPED_TRACE(nId);
        CXTPControl* pControl = ToolBarControl(nId);
        ASSERT_NE(nullptr, pControl);
        CRect rcExpected = ScreenRect(pControl);
        EXPECT_EQ(rcExpected, Location(m_pToolBarAcc, ChildId(ChildOf(pControl))));
        IAccessiblePtr pChild = Child(m_pToolBarAcc, ChildOf(pControl));
        ASSERT_TRUE(pChild);
        EXPECT_EQ(rcExpected, Location(pChild));
        EXPECT_TRUE(rcBar.PtInRect(rcExpected.CenterPoint()));
    }
}

TEST_F(BarAccessibilityTest, HitTestsFindTheControlUnderThePoint)
{
    CXTPControl* pOpen = ToolBarControl(ID_FT_OPEN);
    CXTPControl* pPrint = ToolBarControl(ID_FT_PRINT);
    CRect rcBar;
    m_pToolBar->GetWindowRect(&rcBar);
    CPoint ptOpen = ScreenRect(pOpen).CenterPoint();
    CPoint ptPrint = ScreenRect(pPrint).CenterPoint();
    // The bar's own edge: inside its window, on no control.
    CPoint ptEdge(rcBar.left + 1, rcBar.top + 1);
    ASSERT_EQ(nullptr, m_pToolBar->GetControls()->HitTest([&]() { CPoint pt = ptEdge; m_pToolBar->ScreenToClient(&pt); return pt; }()));
    CPoint ptOutside(rcBar.left - 5, rcBar.top - 5);
    IAccessiblePtr pOpenAcc = Child(m_pToolBarAcc, ChildOf(pOpen));
    ASSERT_TRUE(pOpenAcc);
    const struct
    {
        const char* what;
        IAccessible* pAccessible;
        CPoint pt;
        HRESULT hr;
        VARTYPE vt;
        const wchar_t* name;   // of the control found (VT_DISPATCH)
    } cases[] = {
        {"bar, on Apri", m_pToolBarAcc, ptOpen, S_OK, VT_DISPATCH, L"Apri"},
        {"bar, on Stampa", m_pToolBarAcc, ptPrint, S_OK, VT_DISPATCH, L"Stampa"},
        {"bar, on its edge", m_pToolBarAcc, ptEdge, S_OK, VT_I4, nullptr},
        {"bar, outside", m_pToolBarAcc, ptOutside, S_FALSE, VT_EMPTY, nullptr},
        {"Apri, on itself", pOpenAcc, ptOpen, S_OK, VT_I4, nullptr},
        {"Apri, on Stampa", pOpenAcc, ptPrint, S_FALSE, VT_I4, nullptr},
        {"Apri, outside the bar", pOpenAcc, ptOutside, S_FALSE, VT_EMPTY, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        VARIANT var;
        ::VariantInit(&var);
        EXPECT_EQ(c.hr, c.pAccessible->accHitTest(c.pt.x, c.pt.y, &var));
        ASSERT_EQ(c.vt, var.vt);
        if (var.vt == VT_I4) {
            EXPECT_EQ(CHILDID_SELF, var.lVal);
        }
        if (var.vt == VT_DISPATCH) {
            var.pdispVal->AddRef();
            IAccessiblePtr pFound = FromDispatch(var.pdispVal);
            ASSERT_TRUE(pFound);
            EXPECT_EQ(c.name, Name(pFound));
        }
        ::VariantClear(&var);
    }
    EXPECT_EQ(E_INVALIDARG, m_pToolBarAcc->accHitTest(ptOpen.x, ptOpen.y, nullptr));
    EXPECT_EQ(E_INVALIDARG, pOpenAcc->accHitTest(ptOpen.x, ptOpen.y, nullptr));
}

TEST_F(BarAccessibilityTest, StatesFollowTheControlsAndTheBar)
{
    CXTPControl* pOpen = ToolBarControl(ID_FT_OPEN);
    IAccessiblePtr pOpenAcc = Child(m_pToolBarAcc, ChildOf(pOpen));
    ASSERT_TRUE(pOpenAcc);
    const long kFocusable = STATE_SYSTEM_FOCUSABLE;
    const long kHot = STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED;
    const struct
    {
        const char* what;
        std::function<void()> set;
        std::function<void()> reset;
        long nState;
    } cases[] = {
        {"plain", [] {}, [] {}, kFocusable},
        {"disabled", [&] { pOpen->SetEnabled(FALSE); }, [&] { pOpen->SetEnabled(TRUE); }, kFocusable | STATE_SYSTEM_UNAVAILABLE},
        {"checked", [&] { pOpen->SetChecked(TRUE); }, [&] { pOpen->SetChecked(FALSE); }, kFocusable | STATE_SYSTEM_CHECKED},
        {"pressed", [&] { pOpen->SetPressed(1); }, [&] { pOpen->SetPressed(0); }, kFocusable | STATE_SYSTEM_PRESSED},
        {"hidden", [&] { pOpen->SetHideFlags(xtpHideGeneric); }, [&] { pOpen->SetHideFlags(0); }, kFocusable | STATE_SYSTEM_INVISIBLE},
        {"hot", [&] { m_pToolBar->SetSelected(pOpen->GetIndex()); }, [&] { m_pToolBar->SetSelected(-1); }, kFocusable | kHot},
        {"bar hidden", [&] { m_pToolBar->SetVisible(FALSE); }, [&] { m_pToolBar->SetVisible(TRUE); }, kFocusable | STATE_SYSTEM_INVISIBLE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.set();
        EXPECT_EQ(c.nState, State(pOpenAcc));
        // The bar tells its child apart: focusable and selectable, hot when selected; invisible with the bar.
        long nBarChild = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE | (c.nState & kHot) |
                         (m_pToolBar->IsVisible() ? 0 : STATE_SYSTEM_INVISIBLE);
        EXPECT_EQ(nBarChild, State(m_pToolBarAcc, ChildId(ChildOf(pOpen))));
        EXPECT_EQ(m_pToolBar->IsVisible() ? 0 : STATE_SYSTEM_INVISIBLE, State(m_pToolBarAcc));
        c.reset();
    }
}

TEST_F(BarAccessibilityTest, DefaultActionReachesTheFrameAndSelectTracksTheControl)
{
    CXTPControl* pOpen = ToolBarControl(ID_FT_OPEN);
    IAccessiblePtr pOpenAcc = Child(m_pToolBarAcc, ChildOf(pOpen));
    ASSERT_TRUE(pOpenAcc);
    BSTR bstrAction = nullptr;
    ASSERT_EQ(S_OK, pOpenAcc->get_accDefaultAction(kSelf, &bstrAction));
    EXPECT_STREQ(L"Click", bstrAction);
    ::SysFreeString(bstrAction);
    m_pFrame->m_events.clear();
    EXPECT_EQ(S_OK, pOpenAcc->accDoDefaultAction(kSelf));
    PumpFrame(m_pFrame->m_hWnd);
    EXPECT_NE(m_pFrame->m_events.end(),
              std::find(m_pFrame->m_events.begin(), m_pFrame->m_events.end(), CTestFrame::EVENT {WM_COMMAND, ID_FT_OPEN, 0}));
    EXPECT_EQ(E_INVALIDARG, pOpenAcc->accDoDefaultAction(ChildId(1)));

    EXPECT_EQ(S_OK, pOpenAcc->accSelect(SELFLAG_TAKEFOCUS, kSelf));
    EXPECT_TRUE(m_pToolBar->IsTrackingMode());
    EXPECT_EQ(pOpen->GetIndex(), m_pToolBar->GetSelectedIndex());
    m_pToolBar->SetTrackingMode(0);
}

TEST_F(BarAccessibilityTest, WithoutOleaccTheBarsAnswerEFailAndKeepWorking)
{
    HWND hWndBar = m_pToolBar->GetSafeHwnd();
    CXTPAccessibleEntries::SetLibraryName(L"quarzel-missing-oleacc.dll");
    for (LONG idObject : {OBJID_CLIENT, OBJID_MENU}) {
        SCOPED_TRACE(idObject);
        EXPECT_EQ(static_cast<LRESULT>(E_FAIL), ::SendMessageW(hWndBar, WM_GETOBJECT, 0, static_cast<LPARAM>(static_cast<DWORD>(idObject))));
    }
    // The bar still executes a click.
    m_pFrame->m_events.clear();
    SendClick(ScreenRect(ToolBarControl(ID_FT_PRINT)).CenterPoint());
    PumpFrame(m_pFrame->m_hWnd);
    EXPECT_NE(m_pFrame->m_events.end(),
              std::find(m_pFrame->m_events.begin(), m_pFrame->m_events.end(), CTestFrame::EVENT {WM_COMMAND, ID_FT_PRINT, 0}));
    // The lookup is tried again once the library is there.
    CXTPAccessibleEntries::SetLibraryName(L"oleacc.dll");
    IAccessiblePtr pAgain = FromWindow(hWndBar);
    ASSERT_TRUE(pAgain);
    EXPECT_EQ(ROLE_SYSTEM_TOOLBAR, Role(pAgain));
    // Other objects of the window take the system's route.
    IAccessiblePtr pWindow = FromWindow(hWndBar, OBJID_WINDOW);
    ASSERT_TRUE(pWindow);
    EXPECT_NE(ROLE_SYSTEM_TOOLBAR, Role(pWindow));
}

namespace
{
struct WINEVENT
{
    DWORD dwEvent;
    HWND hWnd;
    LONG idObject;
    LONG idChild;
};
std::vector<WINEVENT> g_winEvents;

void CALLBACK RecordWinEvent(HWINEVENTHOOK, DWORD dwEvent, HWND hWnd, LONG idObject, LONG idChild, DWORD, DWORD)
{
    g_winEvents.push_back({dwEvent, hWnd, idObject, idChild});
}
}

TEST_F(BarAccessibilityTest, ATrackedControlBecomingHotIsAnnouncedAndReadBackFromTheEvent)
{
    HWINEVENTHOOK hHook = ::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, RecordWinEvent,
                                            ::GetCurrentProcessId(), ::GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(nullptr, hHook);
    g_winEvents.clear();
    // Hot without tracking: nothing to announce.
    m_pMenuBar->SetSelected(0);
    PumpFrame(m_pFrame->m_hWnd);
    m_pMenuBar->SetSelected(-1);
    EXPECT_TRUE(g_winEvents.empty());

    m_pMenuBar->SetTrackingMode(TRUE, FALSE, TRUE);
    m_pMenuBar->SetSelected(1, TRUE);
    PumpFrame(m_pFrame->m_hWnd);
    m_pMenuBar->SetTrackingMode(0);
    ::UnhookWinEvent(hHook);
    ASSERT_EQ(1u, g_winEvents.size());
    const WINEVENT& e = g_winEvents[0];
    EXPECT_EQ(m_pMenuBar->GetSafeHwnd(), e.hWnd);
    EXPECT_EQ(OBJID_MENU, e.idObject);
    EXPECT_EQ(2, e.idChild);
    // What a screen reader does with the event: the bar's object for it, and the child's name.
    IAccessible* pAccessible = nullptr;
    VARIANT varChild;
    ::VariantInit(&varChild);
    ASSERT_EQ(S_OK, ::AccessibleObjectFromEvent(e.hWnd, static_cast<DWORD>(e.idObject), static_cast<DWORD>(e.idChild),
                                                &pAccessible, &varChild));
    IAccessiblePtr pBar(pAccessible, false);
    EXPECT_EQ(L"Modifica", Name(pBar, varChild));
}

TEST_F(BarAccessibilityTest, APopupOpeningAndClosingIsAnnouncedForItsMenuObject)
{
    HWINEVENTHOOK hHook = ::SetWinEventHook(EVENT_SYSTEM_MENUPOPUPSTART, EVENT_SYSTEM_MENUPOPUPEND, nullptr,
                                            RecordWinEvent, ::GetCurrentProcessId(), ::GetCurrentThreadId(),
                                            WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(nullptr, hHook);
    g_winEvents.clear();
    m_pMenuBar->SetTrackingMode(TRUE, FALSE, TRUE);
    m_pMenuBar->SetPopuped(0, TRUE);
    PumpFrame(m_pFrame->m_hWnd);
    m_pMenuBar->SetTrackingMode(0);
    PumpFrame(m_pFrame->m_hWnd);
    ::UnhookWinEvent(hHook);
    // The end may not reach the hook: the popup's window is gone by then.
    ASSERT_FALSE(g_winEvents.empty());
    EXPECT_EQ(static_cast<DWORD>(EVENT_SYSTEM_MENUPOPUPSTART), g_winEvents[0].dwEvent);
    for (const WINEVENT& e : g_winEvents)
        EXPECT_EQ(OBJID_MENU, e.idObject);
}
