// Moves and stretches a window's child controls by anchor fractions when the window is resized: each edge of
// a registered control follows a fraction of the growth of the window's client area; a window made smaller
// than at first leaves every control at its first place and size.
#pragma once

#include "platform/mfc/afxwin.h"

#include <vector>

class CMyResize
{
public:
    explicit CMyResize(CWnd* pWnd = nullptr) : m_pWnd(pWnd) {}

    void SetWnd(CWnd* pWnd);
    // Registers a control (its current rectangle is its first one) or updates the fractions of one registered
    // already. bDeferred moves it within the deferred batch; otherwise at once, repainted.
    void AddControl(UINT nID, double dLeft, double dTop, double dRight, double dBottom, BOOL bDeferred = TRUE);
    // Lays the controls out; the window's WM_SIZE handler calls it.
    void Resize();

private:
    struct CONTROL_RECORD
    {
        UINT nID;
        CRect rcInitial;
        CRect rcLast;
        BOOL bDeferred;
        BOOL bUsed[4];       // left, top, right, bottom: the fraction is not 0
        double dFraction[4];
    };

    // The control's rectangle in the window's client coordinates.
    CRect ControlRect(HWND hControl) const;

    CWnd* m_pWnd;
    CRect m_rcInitialClient;
    BOOL m_bInitialised = FALSE;
    std::vector<CONTROL_RECORD> m_records;
};
