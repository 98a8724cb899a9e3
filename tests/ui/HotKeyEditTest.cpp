// The hot-key edit field: key messages in order, with the modifiers held, and what the field shows after them.
#include "ui/commandbars/XTPHotKeyEdit.h"
#include "ui/commandbars/XTPShortcutManager.h"

#include <gtest/gtest.h>

namespace
{
struct KEY
{
    UINT nMessage;
    UINT nKey;
    BYTE fModifiers;
    BOOL bRepeat;
};
}

TEST(HotKeyEdit, KeysMakeOneCombinationTheManagerAllows)
{
    struct Case
    {
        const char* pszName;
        BOOL bAllowEscape;
        std::vector<KEY> keys;
        const wchar_t* pszText;
        BOOL bCompleted;
        BOOL bLastTaken;
    } cases[] = {
        {"modifier held", FALSE, {{WM_KEYDOWN, VK_CONTROL, FCONTROL, FALSE}}, L"Ctrl", FALSE, TRUE},
        {"modifier released", FALSE, {{WM_KEYDOWN, VK_CONTROL, FCONTROL, FALSE}, {WM_KEYUP, VK_CONTROL, 0, FALSE}}, L"",
         FALSE, TRUE},
        {"Ctrl+Shift+F5",
         FALSE,
         {{WM_KEYDOWN, VK_CONTROL, FCONTROL, FALSE},
          {WM_KEYDOWN, VK_SHIFT, FCONTROL | FSHIFT, FALSE},
          {WM_KEYDOWN, VK_F5, FCONTROL | FSHIFT, FALSE},
          {WM_KEYUP, VK_F5, FCONTROL | FSHIFT, FALSE},
          {WM_KEYUP, VK_SHIFT, FCONTROL, FALSE},
          {WM_KEYUP, VK_CONTROL, 0, FALSE}},
         L"Ctrl+Shift+F5",
         TRUE,
         TRUE},
        {"auto-repeat keeps the combination",
         FALSE,
         {{WM_KEYDOWN, 'A', FALT, FALSE}, {WM_SYSKEYDOWN, 'A', FALT, TRUE}},
         L"Alt+A",
         TRUE,
         TRUE},
        {"a new press starts again", FALSE, {{WM_KEYDOWN, 'A', FALT, FALSE}, {WM_KEYDOWN, 'B', 0, FALSE}}, L"B", TRUE,
         TRUE},
        {"Escape alone refused", FALSE, {{WM_KEYDOWN, VK_ESCAPE, 0, FALSE}}, L"", FALSE, TRUE},
        {"Escape allowed", TRUE, {{WM_KEYDOWN, VK_ESCAPE, 0, FALSE}}, L"Esc", TRUE, TRUE},
        {"Tab goes to the dialog", FALSE, {{WM_KEYDOWN, VK_SHIFT, FSHIFT, FALSE}, {WM_KEYDOWN, VK_TAB, FSHIFT, FALSE}},
         L"", FALSE, FALSE},
        {"Ctrl+Tab is a combination", FALSE, {{WM_KEYDOWN, VK_TAB, FCONTROL, FALSE}}, L"Ctrl+Tab", TRUE, TRUE},
    };
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 200, 50), nullptr, 0));
    for (const Case& c : cases) {
        CXTPShortcutManager shortcuts;
        shortcuts.m_bAllowEscapeShortcut = c.bAllowEscape;
        CXTPHotKeyEdit edit(&shortcuts);
        ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 20), &parent, 1));
        BOOL bTaken = FALSE;
        for (const KEY& key : c.keys)
            bTaken = edit.OnKeyMessage(key.nMessage, key.nKey, key.bRepeat ? 0x40000000 : 0, key.fModifiers);
        CString strText;
        edit.GetWindowText(strText);
        EXPECT_EQ(CString(c.pszText), strText) << c.pszName;
        EXPECT_EQ(c.bCompleted, edit.IsCompleted()) << c.pszName;
        EXPECT_EQ(c.bCompleted, edit.GetAccel().key != 0) << c.pszName;
        EXPECT_EQ(c.bLastTaken, bTaken) << c.pszName;
        edit.DestroyWindow();
    }
    parent.DestroyWindow();
}
