// Small conveniences of the program's dialogs.
#pragma once

#include "platform/mfc/afxstr.h"

// The text of a custom resource (8-bit text of the system code page), cut to the resource's size.
CString LoadResText(UINT nID, LPCTSTR lpszType);
// Gives the dialog's control its window text as tip; the dialog's tooltip control is created on first use.
BOOL AddControlTip(HWND hDlg, UINT nIDControl, HWND& hToolTip);
// Shows the icon resource at the given size on the button; the caller destroys the icon it answers.
HICON SetButtonIcon(HWND hDlg, UINT nIDControl, UINT nIDIcon, int cx, int cy);
// TRUE when every character is a hexadecimal digit (an empty text counts).
BOOL IsHexText(LPCTSTR lpszText);
