// The themed button: faces of each drawing style and state painted into a memory DC, the hot look polled from
// the cursor (placed with SetCursorPos), clicks by messages, and the visual-styles road through a stand-in table.
#include "PixelCanvas.h"

#include "ui/themes/ThemedButton.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
const UINT kButtonID = 1401;

// Counts the clicks its button reports.
class CButtonParentWnd : public CWnd
{
public:
    int m_nClicks = 0;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (LOWORD(wParam) == kButtonID && HIWORD(wParam) == BN_CLICKED) {
            ++m_nClicks;
            return TRUE;
        }
        return CWnd::OnCommand(wParam, lParam);
    }
};

// A stand-in for UxTheme: an open handle, active styles, and the part and state of each background drawn.
struct CFakeButtonStyles
{
    static std::vector<int> states;
    static HTHEME WINAPI OpenThemeData(HWND, LPCWSTR) { return reinterpret_cast<HTHEME>(7); }
    static HRESULT WINAPI CloseThemeData(HTHEME) { return S_OK; }
    static BOOL WINAPI IsThemeActive() { return TRUE; }
    static HRESULT WINAPI DrawThemeBackground(HTHEME, HDC, int iPartId, int iStateId, const RECT*, const RECT*)
    {
        states.push_back(iPartId * 10 + iStateId);
        return S_OK;
    }
};
std::vector<int> CFakeButtonStyles::states;

FARPROC Entry(void (*pfn)()) { return reinterpret_cast<FARPROC>(pfn); }
#define FAKE_ENTRY(name) {#name, Entry(reinterpret_cast<void (*)()>(&CFakeButtonStyles::name))}
const XTP_VISUALSTYLE_ENTRY g_fakeStyles[] = {
    FAKE_ENTRY(OpenThemeData), FAKE_ENTRY(CloseThemeData), FAKE_ENTRY(IsThemeActive), FAKE_ENTRY(DrawThemeBackground),
    {nullptr, nullptr},
};

class ThemedButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), L"button", WS_POPUP | WS_VISIBLE, 20, 20, 200,
                                      100, nullptr, nullptr));
        ASSERT_TRUE(m_button.Create(L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 90, 34), &m_parent,
                                    kButtonID));
        ::SetCursorPos(0, 0);
    }
    void TearDown() override
    {
        m_button.SetDrawStyle(0, FALSE);
        if (::IsWindow(m_parent.m_hWnd))
            m_parent.DestroyWindow();
        CXTPVisualStyleLibrary::GetInstance().Load();
    }

    // The face for an item state, painted over a canvas of a colour no face uses.
    void Paint(CPixelCanvas& canvas, UINT nState)
    {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = kButtonID;
        dis.hwndItem = m_button.m_hWnd;
        dis.hDC = canvas.GetSafeHdc();
        dis.itemState = nState;
        m_button.GetClientRect(&dis.rcItem);
        m_button.DrawItem(&dis);
    }
    void MoveCursorOver(BOOL bOver)
    {
        CRect rc;
        m_button.GetWindowRect(&rc);
        const CPoint pt = bOver ? rc.CenterPoint() : CPoint(rc.right + 40, rc.bottom + 40);
        ::SetCursorPos(pt.x, pt.y);
        m_button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    }
    CSize Size()
    {
        CRect rc;
        m_button.GetClientRect(&rc);
        return rc.Size();
    }

    CButtonParentWnd m_parent;
    CXTButton m_button;
};
}

TEST_F(ThemedButtonTest, CreatedButtonsBecomeOwnerDrawn)
{
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), m_button.GetStyle() & 0x0F);
}

TEST_F(ThemedButtonTest, FacesFollowStyleAndState)
{
    const COLORREF face = GetStandardColor(COLOR_3DFACE), light = GetStandardColor(COLOR_3DFACE),
                   shadow = GetStandardColor(COLOR_3DSHADOW), hilite = GetStandardColor(COLOR_3DHILIGHT),
                   dark = GetStandardColor(COLOR_3DDKSHADOW);
    enum { normal, hot, pressed };
    struct Case
    {
        const char* what;
        DWORD dwStyle;
        int nLook;
        COLORREF topLeft, bottomRight, innerTopLeft, innerBottomRight;
    } cases[] = {
        {"3-D", 0, normal, hilite, dark, light, shadow},
        {"3-D pressed", 0, pressed, dark, hilite, shadow, light},
        {"flat", CXTButton::styleFlat, normal, face, face, face, face},
        {"flat hot", CXTButton::styleFlat, hot, hilite, shadow, face, face},
        {"flat pressed", CXTButton::styleFlat, pressed, shadow, hilite, face, face},
        {"semi-flat", CXTButton::styleSemiFlat, normal, hilite, shadow, face, face},
        {"semi-flat pressed", CXTButton::styleSemiFlat, pressed, shadow, hilite, face, face},
        {"flat theme hot", CXTButton::styleFlatTheme | CXTButton::styleFlat, hot, GetStandardColor(32), GetStandardColor(32),
         GetStandardColor(31), GetStandardColor(31)},
        {"flat theme pressed", CXTButton::styleFlatTheme | CXTButton::styleFlat, pressed, GetStandardColor(32), GetStandardColor(32),
         GetStandardColor(33), GetStandardColor(33)},
    };
    const CSize sz = Size();
    for (const Case& c : cases) {
        m_button.SetDrawStyle(c.dwStyle);
        MoveCursorOver(c.nLook == hot);
        ASSERT_EQ(c.nLook == hot, m_button.IsHot()) << c.what;
        CPixelCanvas canvas(sz.cx, sz.cy, RGB(1, 2, 3));
        Paint(canvas, c.nLook == pressed ? ODS_SELECTED : 0);
        EXPECT_EQ(c.topLeft, canvas.At(0, 0)) << c.what;
        EXPECT_EQ(c.bottomRight, canvas.At(sz.cx - 1, sz.cy - 1)) << c.what;
        EXPECT_EQ(c.innerTopLeft, canvas.At(1, 1)) << c.what;
        EXPECT_EQ(c.innerBottomRight, canvas.At(sz.cx - 2, sz.cy - 2)) << c.what;
    }
}

TEST_F(ThemedButtonTest, APressedHalftoneFaceIsAPattern)
{
    m_button.SetDrawStyle(CXTButton::styleFlat | CXTButton::styleHalftone);
    const CSize sz = Size();
    CPixelCanvas canvas(sz.cx, sz.cy, RGB(1, 2, 3));
    Paint(canvas, ODS_SELECTED);
    EXPECT_NE(canvas.At(5, 5), canvas.At(6, 5));
    EXPECT_EQ(canvas.At(5, 5), canvas.At(6, 6));
    m_button.SetToggled(TRUE);
    CPixelCanvas toggled(sz.cx, sz.cy, RGB(1, 2, 3));
    Paint(toggled, 0);
    EXPECT_EQ(canvas.At(5, 5), toggled.At(5, 5));
    EXPECT_EQ(canvas.At(6, 5), toggled.At(6, 5));
}

TEST_F(ThemedButtonTest, TheCaptionTakesTheStateColour)
{
    m_button.SetWindowText(L"&Salva");
    m_button.SetDrawStyle(0);
    const CSize sz = Size();
    for (UINT nState : {0u, static_cast<UINT>(ODS_DISABLED)}) {
        const COLORREF clrText = GetStandardColor(nState ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
        CPixelCanvas canvas(sz.cx, sz.cy, RGB(1, 2, 3));
        Paint(canvas, nState);
        int nText = 0;
        for (int y = 2; y < sz.cy - 2; y++)
            for (int x = 2; x < sz.cx - 2; x++)
                nText += canvas.At(x, y) == clrText;
        EXPECT_GT(nText, 10) << nState;
    }
    // An empty caption draws the face alone.
    m_button.SetWindowText(L"");
    CPixelCanvas canvas(sz.cx, sz.cy, RGB(1, 2, 3));
    Paint(canvas, 0);
    for (int x = 2; x < sz.cx - 2; x++)
        ASSERT_EQ(GetStandardColor(COLOR_3DFACE), canvas.At(x, sz.cy / 2)) << x;
}

TEST_F(ThemedButtonTest, HotLookFollowsTheCursorButNotWhilePressed)
{
    m_button.SetDrawStyle(CXTButton::styleFlat);
    MoveCursorOver(TRUE);
    EXPECT_TRUE(m_button.IsHot());
    MoveCursorOver(FALSE);
    EXPECT_FALSE(m_button.IsHot());

    MoveCursorOver(TRUE);
    m_button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    m_button.SendMessage(WM_TIMER, CXTButton::hotTimerID);
    EXPECT_TRUE(m_button.IsPressed());
    EXPECT_FALSE(m_button.IsHot());
    m_button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_FALSE(m_button.IsPressed());

    // The classic face tracks nothing.
    m_button.SetDrawStyle(0);
    MoveCursorOver(TRUE);
    EXPECT_FALSE(m_button.IsHot());
}

TEST_F(ThemedButtonTest, ADoubleClickClicksTwice)
{
    MoveCursorOver(TRUE);
    const LPARAM lParam = MAKELPARAM(10, 10);
    m_button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    m_button.SendMessage(WM_LBUTTONUP, 0, lParam);
    m_button.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, lParam);
    m_button.SendMessage(WM_LBUTTONUP, 0, lParam);
    EXPECT_EQ(2, m_parent.m_nClicks);
}

TEST_F(ThemedButtonTest, VisualStylesDrawThePushButtonPartOnlyFromVersionSix)
{
    CXTPVisualStyleLibrary& library = CXTPVisualStyleLibrary::GetInstance();
    library.SetEntryTable(g_fakeStyles);
    const CSize sz = Size();
    struct Case
    {
        UINT nState;
        BOOL bHot;
        int nExpected;   // part × 10 + state
    } cases[] = {
        {0, FALSE, 11}, {ODS_FOCUS, FALSE, 15}, {ODS_FOCUS, TRUE, 12}, {ODS_SELECTED, TRUE, 13},
        {ODS_SELECTED | ODS_DISABLED, FALSE, 14},
    };
    library.SetComCtlVersion(0x00060000);
    m_button.SetDrawStyle(CXTButton::styleFlat | CXTButton::styleVisualStyles);
    for (const Case& c : cases) {
        CFakeButtonStyles::states.clear();
        MoveCursorOver(c.bHot);
        CPixelCanvas canvas(sz.cx, sz.cy, RGB(1, 2, 3));
        Paint(canvas, c.nState);
        EXPECT_EQ(std::vector<int>{c.nExpected}, CFakeButtonStyles::states) << c.nState;
        // The styles drew the face: nothing classic under it.
        EXPECT_EQ(RGB(1, 2, 3), canvas.At(sz.cx / 2, 1));
    }

    // Older common controls: the classic face.
    library.SetComCtlVersion(0x00050051);
    CFakeButtonStyles::states.clear();
    MoveCursorOver(FALSE);
    CPixelCanvas canvas(sz.cx, sz.cy, RGB(1, 2, 3));
    Paint(canvas, 0);
    EXPECT_TRUE(CFakeButtonStyles::states.empty());
    EXPECT_EQ(GetStandardColor(COLOR_3DFACE), canvas.At(sz.cx / 2, sz.cy / 2));
    m_button.SetDrawStyle(0, FALSE);
}
