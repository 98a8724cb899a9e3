// The program's small controls: anchored re-layout of a framed window, control colours answered through the
// parent's reflection, the caption bar's text and gradient, and the owner-drawn combo's deletion notices as
// Wine's combo box sends them.
#include "ui/PixelCanvas.h"

#include "controls/AdComboBox.h"
#include "controls/ColorCtrl.h"
#include "controls/MyResize.h"
#include "controls/MyStaticBar.h"

#include <gtest/gtest.h>

#include <map>

namespace
{
// Counts the deletion notices of its owner-drawn combo box, by item data.
class CComboParentWnd : public CWnd
{
public:
    std::map<ULONG_PTR, int> m_notices;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_DELETEITEM) {
            const auto* pDis = reinterpret_cast<const DELETEITEMSTRUCT*>(lParam);
            if (pDis->CtlType == ODT_COMBOBOX && pDis->itemData)
                m_notices[pDis->itemData]++;
            return TRUE;
        }
        if (message == WM_MEASUREITEM) {
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 16;
            return TRUE;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

CRect ChildRect(CWnd& parent, UINT nID)
{
    CRect rc;
    ::GetWindowRect(::GetDlgItem(parent.m_hWnd, static_cast<int>(nID)), &rc);
    ::MapWindowPoints(nullptr, parent.m_hWnd, reinterpret_cast<LPPOINT>(&rc), 2);
    return rc;
}
}

TEST(MyResizeTest, ControlsFollowTheGrowthOfTheClientArea)
{
    // A framed window: its outer size differs from its client size by the frame.
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"ridimensiona", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400,
                             300, nullptr, nullptr));
    struct Control
    {
        UINT nID;
        CRect rc;
        double l, t, r, b;
        CPoint ptMove;   // expected move of the top-left corner after growing by (50, 30)
        CSize szGrow;    // expected growth
    } controls[] = {
        {1, CRect(10, 10, 110, 40), 0, 0, 1, 1, CPoint(0, 0), CSize(50, 30)},
        {2, CRect(200, 10, 280, 30), 1, 0, 1, 0, CPoint(50, 0), CSize(0, 0)},
        {3, CRect(10, 200, 90, 220), 0, 0.5, 0.5, 0.5, CPoint(0, 15), CSize(25, 0)},
    };
    CMyResize resize(&wnd);
    for (const Control& c : controls) {
        ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, c.rc.left, c.rc.top, c.rc.Width(), c.rc.Height(),
                          wnd.m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(c.nID)), nullptr, nullptr);
        resize.AddControl(c.nID, c.l, c.t, c.r, c.b);
    }
    resize.Resize();   // the first call takes the window as it is

    CRect rcWindow;
    wnd.GetWindowRect(&rcWindow);
    wnd.SetWindowPos(nullptr, 0, 0, rcWindow.Width() + 50, rcWindow.Height() + 30, SWP_NOMOVE | SWP_NOZORDER);
    resize.Resize();
    for (const Control& c : controls) {
        const CRect rc = ChildRect(wnd, c.nID);
        EXPECT_EQ(c.rc.TopLeft() + c.ptMove, rc.TopLeft()) << c.nID;
        EXPECT_EQ(c.rc.Size() + c.szGrow, rc.Size()) << c.nID;
    }

    // Smaller than at first: everything back at its first place and size.
    wnd.SetWindowPos(nullptr, 0, 0, rcWindow.Width() - 60, rcWindow.Height() - 40, SWP_NOMOVE | SWP_NOZORDER);
    resize.Resize();
    for (const Control& c : controls)
        EXPECT_EQ(c.rc, ChildRect(wnd, c.nID)) << c.nID;
    wnd.DestroyWindow();
}

TEST(ColorCtrlTest, ControlsTakeTheirKindsColoursUnlessGivenTheirOwn)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"colori", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                nullptr));
    CColorCtrl<CEdit> edit, readOnly, disabled, own;
    CColorCtrl<CStatic> label;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), &parent, 1));
    ASSERT_TRUE(readOnly.Create(WS_CHILD | WS_VISIBLE | ES_READONLY, CRect(0, 30, 100, 50), &parent, 2));
    ASSERT_TRUE(disabled.Create(WS_CHILD | WS_VISIBLE | WS_DISABLED, CRect(0, 60, 100, 80), &parent, 3));
    ASSERT_TRUE(own.Create(WS_CHILD | WS_VISIBLE, CRect(0, 90, 100, 110), &parent, 4));
    ASSERT_TRUE(label.Create(L"Anno", WS_CHILD | WS_VISIBLE, CRect(0, 120, 100, 140), &parent, 5));
    own.SetTextColor(RGB(200, 0, 0));
    own.SetBkColor(RGB(255, 255, 200));

    struct Case
    {
        CWnd* pControl;
        UINT message;
        ColorCtrlKind kind;
        COLORREF clrText, clrBack;
    } cases[] = {
        {&edit, WM_CTLCOLOREDIT, colorKindEdit, ::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_WINDOW)},
        {&readOnly, WM_CTLCOLORSTATIC, colorKindEdit, ::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_BTNFACE)},
        {&disabled, WM_CTLCOLORSTATIC, colorKindEdit, ::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_BTNFACE)},
        {&own, WM_CTLCOLOREDIT, colorKindEdit, RGB(200, 0, 0), RGB(255, 255, 200)},
        {&label, WM_CTLCOLORSTATIC, colorKindStatic, ::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_BTNFACE)},
    };
    CPixelCanvas canvas(4, 4);
    for (const Case& c : cases) {
        canvas.SetTextColor(RGB(1, 2, 3));
        canvas.SetBkColor(RGB(1, 2, 3));
        auto hBrush = reinterpret_cast<HBRUSH>(parent.SendMessage(c.message, reinterpret_cast<WPARAM>(canvas.GetSafeHdc()),
                                                                   reinterpret_cast<LPARAM>(c.pControl->m_hWnd)));
        const int nID = c.pControl->GetDlgCtrlID();
        EXPECT_EQ(c.clrText, canvas.GetTextColor()) << nID;
        EXPECT_EQ(c.clrBack, canvas.GetBkColor()) << nID;
        LOGBRUSH lb = {};
        ASSERT_TRUE(::GetObjectW(hBrush, sizeof(lb), &lb)) << nID;
        EXPECT_EQ(c.clrBack, lb.lbColor) << nID;
    }
    EXPECT_EQ(colorKindOther, GetColorCtrlKind(L"SysListView32"));
    EXPECT_EQ(colorKindScrollBar, GetColorCtrlKind(L"scrollbar"));
    parent.DestroyWindow();
}

TEST(MyStaticBarTest, TextIsShapedAndTheFaceIsAVerticalGradient)
{
    struct Case
    {
        const wchar_t* text;
        BOOL bUpper, bCapitalise;
        const wchar_t* expected;
    } cases[] = {
        {L"bilancio di previsione", TRUE, FALSE, L"BILANCIO DI PREVISIONE"},
        {L"bilancio di previsione", FALSE, TRUE, L"Bilancio Di Previsione"},
        {L"IVA  e SPESE", FALSE, TRUE, L"Iva  E Spese"},
        {L" a b", FALSE, TRUE, L" a B"},   // the second character is always lower-case
        {L"Saldo", FALSE, FALSE, L"Saldo"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CString(c.expected), CMyStaticBar::FormatText(c.text, c.bUpper, c.bCapitalise))
            << CString(c.text).ToMultiByte(CP_UTF8);

    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"barra", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100, nullptr,
                                nullptr));
    CMyStaticBar bar;
    ASSERT_TRUE(bar.Create(L"", WS_CHILD | WS_VISIBLE | SS_SUNKEN, CRect(0, 0, 200, 40), &parent, 1));
    bar.SetGradientColors(RGB(0, 0, 255), RGB(255, 0, 0));
    CPixelCanvas canvas(200, 40, RGB(0, 255, 0));
    bar.Paint(&canvas);
    const COLORREF top = canvas.At(100, 0), bottom = canvas.At(100, 39);
    EXPECT_GT(GetBValue(top), 240);
    EXPECT_GT(GetRValue(bottom), 240);
    // Vertical: one colour along each row.
    EXPECT_EQ(canvas.At(0, 20), canvas.At(199, 20));
    parent.DestroyWindow();
}

TEST(AdComboBoxTest, EachItemIsReportedDeletedOnce)
{
    CComboParentWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"combo", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                nullptr));
    for (BOOL bDestroy : {FALSE, TRUE}) {
        parent.m_notices.clear();
        CAdComboBox combo;
        ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                                 CRect(0, 0, 200, 150), &parent, 7));
        for (ULONG_PTR nData : {101, 102, 103})
            combo.SetItemData(combo.AddString(L"voce"), nData);
        if (bDestroy)
            combo.DestroyWindow();
        else
            combo.ResetContent();
        const std::map<ULONG_PTR, int> expected = {{101, 1}, {102, 1}, {103, 1}};
        EXPECT_EQ(expected, parent.m_notices) << (bDestroy ? "destroyed" : "emptied");
        if (!bDestroy) {
            EXPECT_EQ(0, combo.GetCount());
        }
    }
    parent.DestroyWindow();
}
