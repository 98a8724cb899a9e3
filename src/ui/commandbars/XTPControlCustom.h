// A control that hosts any child window (a slider, a dialog's control) in a toolbar: the bar sizes and places the
// window like its other controls and hides it as the bar's orientation asks; mouse moves over the window still
// reach the bar for hot tracking. The window is not owned. Clones (the bar's original copy, customise copies)
// share the window: only the control that placed it first hooks it and moves it into its bar.
#pragma once

#include "ui/commandbars/XTPControl.h"
#include "ui/commandbars/XTPHookManager.h"

class CXTPControlCustom : public CXTPControlButton
{
    DECLARE_SERIAL(CXTPControlCustom)
public:
    CXTPControlCustom();
    ~CXTPControlCustom() override;

    // A new control holding the window, remembering its dialog id.
    static CXTPControlCustom* CreateControlCustom(CWnd* pWnd);

    // The window to host; its size becomes the control size. The control takes the window from any other.
    void SetControl(CWnd* pWnd);
    CWnd* GetControl() const { return m_hWndControl ? CWnd::FromHandle(m_hWndControl) : nullptr; }
    void SetSize(int cx, int cy) { m_szControl = CSize(cx, cy); }
    void SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom)
    {
        m_rcBorders.SetRect(cxLeft, cyTop, cxRight, cyBottom);
    }
    // 0: the whole control goes in a vertical bar; 2: only the window goes, the control stays as a button.
    void SetVerticalOptions(int nOptions) { m_nVerticalOptions = nOptions; }
    int GetVerticalOptions() const { return m_nVerticalOptions; }
    int GetControlId() const { return m_nControlId; }
    // This control places and hooks the window.
    BOOL IsWindowOwner() const;

    // Also while its window shows though the hide flags say otherwise (the application showed it): the bar then
    // finds and tracks the control where the user sees the window.
    BOOL IsVisible() const override;
    CSize GetSize(CDC* pDC) override;
    void SetRect(CRect rc) override;
    void SetEnabled(BOOL bEnabled) override;
    void SetHideFlags(DWORD dwFlags) override;
    void OnCalcDynamicSize(DWORD dwMode) override;
    void OnClick(BOOL bKeyboard, CPoint pt) override;
    void Copy(CXTPControl* pOther, BOOL bRecursive) override;
    void DoPropExchange(CXTPPropExchange* pPX) override;
    void SetParent(CXTPCommandBar* pParent) override;

private:
    // Mouse moves over the window go on to the bar.
    class CHookPart : public CXTPHookHandler
    {
    public:
        explicit CHookPart(CXTPControlCustom* pOwner) : m_pOwner(pOwner) {}
        int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

    private:
        CXTPControlCustom* m_pOwner;
    };

    // Makes this control the window's owner and hooks it; FALSE while another control owns it.
    BOOL TakeWindow();
    void ReleaseWindow();
    // Shows or hides the window by the child-shown flag and the hide flags (the owner only).
    void ShowChild();
    // After loading: the window of the saved dialog id, from the site or else from any bar.
    void FindControlWindow();
    void OnWindowDestroyed();

    CHookPart m_hookPart{this};
    HWND m_hWndControl = nullptr;   // kept by handle: a window found after loading has no object of ours
    CRect m_rcBorders;
    BOOL m_bControlVisible = TRUE;
    CSize m_szControl;
    int m_nVerticalOptions = 0;
    int m_nControlId = 0;
};
