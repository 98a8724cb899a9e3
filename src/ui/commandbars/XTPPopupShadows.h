// Soft shadows to the right of and below open popups: each strip is a small topmost window of its own that
// follows its popup (hidden and shown with it, gone with it), layered with a per-pixel alpha ramp where the
// system has layered windows, a solid dark strip otherwise. One process-wide list owns the strips; the windows of
// strips that went are kept out of sight for the next popups, since making a window costs more than moving one.
// While a bar changes its open menu the windows of the closing menu's strips stay where they are for the menu
// that opens, which moves them straight to its own place.
#pragma once

#include "ui/commandbars/XTPHookManager.h"

#include "platform/mfc/afxwin.h"

#include <list>
#include <vector>

class CXTPCommandBar;
class CXTPControl;

class CPopupShadowWnd : public CWnd, public CXTPHookHandler
{
public:
    CPopupShadowWnd(BOOL bBottom, BOOL bThemeShadow, CXTPCommandBar* pOwner)
        : m_bBottom(bBottom), m_bThemeShadow(bThemeShadow), m_pOwner(pOwner)
    {
    }

    // A kept window serves a new popup.
    void Reuse(BOOL bBottom, BOOL bThemeShadow, CXTPCommandBar* pOwner)
    {
        m_bBottom = bBottom;
        m_bThemeShadow = bThemeShadow;
        m_pOwner = pOwner;
    }
    // The alpha ramp for the window's size now (nothing when the window has it already).
    void UpdateLayered();
    // The strip at rc: its window there, topmost and shown; a layered window takes its ramp for that size in the
    // same move. A strip that its shape hides whole is only noted there: nothing of it shows wherever its window
    // is, so the window is left as it is.
    void Place(const CRect& rc);
    // Where the strip lies.
    const CRect& GetPlace() const { return m_rcPlace; }
    // The window's shape (client coordinates), none for the whole window; the window keeps its own when it
    // already has that one.
    void SetShape(CRgn* pRgn);
    // The window's shape shows nothing of it.
    BOOL IsShapeEmpty() const;
    // The window out of sight, waiting for another popup.
    void Park();
    BOOL IsParked() const { return m_bParked; }

    BOOL IsBottom() const { return m_bBottom; }
    BOOL IsThemeShadow() const { return m_bThemeShadow; }
    CXTPCommandBar* GetOwnerBar() const { return m_pOwner; }
    void ClearOwner() { m_pOwner = nullptr; }

    // The premultiplied pixels of a strip w × h, rows from the top: the shadow colour scaled per channel and an
    // alpha, darkest (60, or 120 for a shadow the theme did not ask for) next to the popup, fading at the ends.
    static std::vector<DWORD> CalcLayeredPixels(int cx, int cy, BOOL bBottom, BOOL bThemeShadow, COLORREF clr);

    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The window given the ramp of size sz, and that size at *pptDest when given, in one UpdateLayeredWindow;
    // FALSE when it failed.
    BOOL PutRamp(CSize sz, const POINT* pptDest);
    // The window shows the ramp of size sz already.
    BOOL HasRamp(CSize sz) const;

    BOOL m_bBottom;
    BOOL m_bThemeShadow;
    CXTPCommandBar* m_pOwner;
    // The ramp the window has.
    CSize m_szLayered;
    BOOL m_bLayeredBottom = FALSE;
    BOOL m_bLayeredTheme = FALSE;
    COLORREF m_clrLayered = CLR_INVALID;
    CRgn m_rgnShape;   // a copy of the shape the window has; none for the whole window
    CRect m_rcPlace;
    BOOL m_bParked = TRUE;   // out of sight (or never shown)
};

class CXTPPopupShadows
{
public:
    typedef BOOL(WINAPI* PFNUPDATELAYEREDWINDOW)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*,
                                                  DWORD);

    static CXTPPopupShadows* GetInstance();
    ~CXTPPopupShadows();

    // The two strips under a popup bar's window (bottom first); rcExclude, the control that opened it, stays
    // uncovered.
    void AddShadow(CXTPCommandBar* pBar, CRect rcExclude);
    // The two strips under a popup control's own rectangle, owned by its bar.
    void AddControlShadow(CXTPControl* pControl);
    void RemoveShadow(CXTPCommandBar* pBar);
    // A strip whose owner window is being destroyed.
    void RemoveStrip(CPopupShadowWnd* pStrip);

    // While held, the windows of strips that go stay where they are; the last release puts those that no new
    // strip took out of sight.
    void HoldSpares() { m_nHold++; }
    void ReleaseSpares();
    class CHold
    {
    public:
        CHold() { GetInstance()->HoldSpares(); }
        ~CHold() { GetInstance()->ReleaseSpares(); }
        CHold(const CHold&) = delete;
        CHold& operator=(const CHold&) = delete;
    };

    BOOL IsLayered() const { return m_pfnUpdateLayeredWindow != nullptr; }
    PFNUPDATELAYEREDWINDOW GetUpdateLayeredWindow() const { return m_pfnUpdateLayeredWindow; }
    // The system's menu drop-shadow setting (replaceable by tests: null restores the system's).
    typedef BOOL (*PFN_DROPSHADOWSETTING)();
    static PFN_DROPSHADOWSETTING SetDropShadowSource(PFN_DROPSHADOWSETTING pfn);
    const std::list<CPopupShadowWnd*>& GetStrips() const { return m_lstStrips; }

    // Where a strip of depth d lies for a popup's window rectangle.
    static CRect CalcStripRect(const CRect& rcPopup, BOOL bBottom, int d);
    // A new strip meeting an earlier strip of the other orientation grows to join its shadow.
    static CRect JoinStrip(CRect rc, BOOL bBottom, const CRect& rcEarlier);

private:
    CXTPPopupShadows();
    void CreateStrip(BOOL bBottom, CXTPCommandBar* pOwner, const CRect& rcPopup, const CRect& rcExclude,
                     BOOL bThemeShadow);
    // A kept window of the owner window, else a new one; null when none can be made. A strip hidden whole by its
    // shape best takes a window that shows nothing already, another one a window with its ramp.
    CPopupShadowWnd* TakeStrip(BOOL bBottom, BOOL bThemeShadow, CXTPCommandBar* pOwner, CSize sz, BOOL bHidden);
    // The shape of a strip at rc: what is left of it by the rectangles it must not fall on (the control that
    // opened the popup, for a theme shadow, and every open popup with a shadow, the owner's among them); FALSE
    // when nothing cuts it.
    BOOL CalcStripShape(CRgn& rgn, const CRect& rc, CXTPCommandBar* pOwner, const CRect& rcExclude,
                        BOOL bThemeShadow) const;

    PFNUPDATELAYEREDWINDOW m_pfnUpdateLayeredWindow = nullptr;
    std::list<CPopupShadowWnd*> m_lstStrips;
    std::vector<CPopupShadowWnd*> m_arrSpare;   // out of sight (or held in place), ready for the next popups
    int m_nHold = 0;
};
