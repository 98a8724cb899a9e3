// The fields of a status-bar pane that the painter reads.
#pragma once

#include "platform/mfc/afxwin.h"

class CXTPBarIcon;

class CXTPStatusBarPane : public CCmdTarget
{
public:
    enum { styleNoBorders = 0x100, styleDisabled = 0x04000000 };
    enum { alignLeft = 0, alignCenter = 1, alignRight = 2 };

    virtual CString GetText() const { return m_strText; }
    // The pane's own font, or null for the bar's.
    virtual CFont* GetTextFont() { return m_pFont; }
    virtual CXTPBarIcon* GetIcon() const { return m_pIcon; }

    UINT m_nStyle = 0;
    CString m_strText;
    CFont* m_pFont = nullptr;
    CXTPBarIcon* m_pIcon = nullptr;
    COLORREF m_clrText = (COLORREF)-1;
    COLORREF m_clrBackground = (COLORREF)-1;
    int m_nAlignment = alignLeft;
};
