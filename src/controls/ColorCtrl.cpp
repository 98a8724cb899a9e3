#include "controls/ColorCtrl.h"

ColorCtrlKind GetColorCtrlKind(LPCTSTR lpszClassName)
{
    static const struct
    {
        LPCTSTR lpszClass;
        ColorCtrlKind kind;
    } kinds[] = {
        {L"EDIT", colorKindEdit}, {L"STATIC", colorKindStatic}, {L"LISTBOX", colorKindListBox},
        {L"BUTTON", colorKindButton}, {L"SCROLLBAR", colorKindScrollBar},
    };
    for (const auto& entry : kinds) {
        if (::lstrcmpiW(lpszClassName, entry.lpszClass) == 0)
            return entry.kind;
    }
    return colorKindOther;
}

BOOL GetDefaultCtlColors(ColorCtrlKind kind, DWORD dwStyle, COLORREF* pclrText, COLORREF* pclrBack)
{
    switch (kind) {
    case colorKindEdit:
        if (dwStyle & (ES_READONLY | WS_DISABLED)) {
            *pclrText = ::GetSysColor(COLOR_WINDOWTEXT);
            *pclrBack = ::GetSysColor(COLOR_BTNFACE);
            return TRUE;
        }
        [[fallthrough]];
    case colorKindListBox:
        *pclrText = ::GetSysColor(COLOR_WINDOWTEXT);
        *pclrBack = ::GetSysColor(COLOR_WINDOW);
        return TRUE;
    case colorKindStatic:
        *pclrText = ::GetSysColor(COLOR_WINDOWTEXT);
        *pclrBack = ::GetSysColor(COLOR_BTNFACE);
        return TRUE;
    case colorKindButton:
    case colorKindScrollBar:
        *pclrText = ::GetSysColor(COLOR_BTNTEXT);
        *pclrBack = ::GetSysColor(COLOR_BTNFACE);
        return TRUE;
    default:
        return FALSE;
    }
}
