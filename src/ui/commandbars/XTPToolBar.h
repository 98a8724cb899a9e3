// The dockable, floatable bar of command controls, filled from a list of ids or a toolbar resource. Docked it
// lays itself out in a row, floating in its own window; it adds an expand button for what does not fit and,
// while floating, a close button.
#pragma once

#include "ui/commandbars/XTPCommandBar.h"

class CXTPDockBar;
class CXTPDockContext;
class CXTPCommandBars;
class CXTPPropExchange;

// Ids of the toolbar's own controls.
#define XTP_ID_TOOLBAR_EXPAND 9400
#define XTP_ID_TOOLBAR_HIDE   9401

class CXTPToolBar : public CXTPCommandBar
{
    DECLARE_DYNCREATE(CXTPToolBar)
public:
    CXTPToolBar();
    ~CXTPToolBar() override;

    BOOL IsVisible() const override;
    void OnRecalcLayout() override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void Copy(CXTPCommandBar* pOther, BOOL bRecursive) override;
    void DoPropExchange(CXTPPropExchange* pPX) override;
    BOOL HasHiddenControls() const override;
    // Docked layout in a row of thickness nWidth.
    virtual CSize CalcDockingLayout(int nLength, DWORD dwMode, int nWidth = 0);
    // Back to the controls of the bar's resource, after the user agrees.
    virtual void Reset();
    // Asks the user, in a message box of the bar's site, whether the bar goes back to how the program made it.
    BOOL ConfirmReset();
    // Hiding a torn-off bar also removes it from its manager.
    BOOL SetVisible(BOOL bVisible) override;
    // A bar without docking (one placed in a dialog) hands Tab and Shift+Tab to the dialog's next tab stop.
    int OnKeyDown(UINT nChar, LPARAM lKeyData) override;
    // Docks at 0-3 or floats at 4 through the manager.
    BOOL SetPosition(int nPosition) override;
    // Hidden during print preview, back after it as it was.
    virtual void OnSetPreviewMode(BOOL bPreview);
    // Floating: a popup owned by pParent (made first when the bar has no window); docked: a child again.
    virtual BOOL SetFloatingMode(CWnd* pParent, BOOL bFloat);

    // dwStyle keeps its CBRS_ bits (and the gripper bit) as the bar's style; the rest makes the child window.
    BOOL CreateToolBar(DWORD dwStyle, CWnd* pParentWnd, UINT nID = 0xE800);
    void EnableDocking(DWORD dwFlags);
    // The base's load, the resource id as the bar's id and the buttons as its first layout.
    BOOL LoadToolBar(UINT nIDResource, BOOL bLoadIcons = TRUE) override;
    // The Add-or-remove-buttons list of this bar.
    void BuildCustomizePopup(CXTPCommandBar* pPopup);

    CXTPDockBar* GetDockBar() const { return m_pDockBar; }
    void SetDockBar(CXTPDockBar* pDockBar) { m_pDockBar = pDockBar; }
    CXTPDockContext* GetDockContext() const { return m_pDockContext; }
    BOOL IsBuiltIn() const { return m_bBuiltIn; }
    void SetBuiltIn(BOOL bBuiltIn) { m_bBuiltIn = bBuiltIn; }
    BOOL IsTearOff() const { return m_bTearOff; }
    void SetTearOff(BOOL bTearOff) { m_bTearOff = bTearOff; }
    BOOL GetShowExpandButton() const { return m_bShowExpandButton; }
    void SetShowExpandButton(BOOL bShow) { m_bShowExpandButton = bShow; }
    BOOL IsVisibleFlag() const { return m_bVisible; }

    // The margins of the docked layout: the painter's borders and, with the gripper, its size.
    CRect GetDockingBorders(CDC* pDC);

protected:
    // Until the frame has dock bars, a bar docked at an edge takes its row of the frame itself.
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    // The toolbars menu opens on the press, anywhere on the bar.
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    // Moving, resizing and floating (the docking part of the bar).
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    // A click on a floating bar, in customise mode, or while the focus is in a floating pane's frame leaves the
    // active window and the focus where they are.
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnClose();
    afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    // A bar without docking that gets the focus (by Tab in a dialog) tracks from its first control.
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    DECLARE_MESSAGE_MAP()

    // Shows or hides the window (a bar going out of sight leaves tracking; the site of a bar with a manager hears of
    // a change); TRUE when it changed. Print preview hides a torn-off bar this way too, to give it back afterwards.
    BOOL ChangeVisible(BOOL bVisible);
    // The bar's frame is active and the focus lies in a mini frame window.
    BOOL IsFocusInMiniFrame() const;
    // Finds the own control of an id or makes it; hidden until the layout places it.
    CXTPControl* EnsureOwnControl(int nId, CRuntimeClass* pClass);
    // The Add-or-remove list's two steps: the controls the user hid back in the bar (hidden), then one item per
    // control and the reset.
    void RestoreOriginalControls();
    void FillCustomizeItems(CXTPCommandBar* pPopup);

    CXTPDockBar* m_pDockBar = nullptr;
    CXTPDockContext* m_pDockContext = nullptr;
    BOOL m_bBuiltIn = TRUE;
    BOOL m_bTearOff = FALSE;
    BOOL m_bPreviewVisible = FALSE;
    BOOL m_bPreviewMode = FALSE;
    DWORD m_dwReserved = 0;
    BOOL m_bShowExpandButton = TRUE;
    BOOL m_bVisible = TRUE;
};

// The button at the end of a toolbar: a popup of the controls that did not fit and the Add-or-remove list.
class CXTPToolBarExpandButton : public CXTPControlPopup
{
    DECLARE_DYNCREATE(CXTPToolBarExpandButton)
public:
    CXTPToolBarExpandButton();
    // The bar's own buttons close its row: no separator goes before them.
    void SetBeginGroup(BOOL /*bBeginGroup*/) override {}
    BOOL SetPopup(BOOL bPopup) override;
    void Draw(CDC* pDC) override;
    CSize GetSize(CDC* /*pDC*/) override { return CSize(11, 0); }

private:
    DWORD m_dwData = 0;
};

// The close button of a floating toolbar.
class CXTPToolBarCloseButton : public CXTPControlButton
{
    DECLARE_DYNCREATE(CXTPToolBarCloseButton)
public:
    CXTPToolBarCloseButton() { m_nType = xtpControlButton; }
    void SetBeginGroup(BOOL /*bBeginGroup*/) override {}
    void OnExecute() override;
    void Draw(CDC* pDC) override;
};

// An entry of the Add-or-remove list: a control of the bar shown or hidden, or the bar's reset.
class CXTPToolBarCustomizeItem : public CXTPControlButton
{
    DECLARE_DYNCREATE(CXTPToolBarCustomizeItem)
public:
    ~CXTPToolBarCustomizeItem() override;
    void OnExecute() override;
    // The item holds a reference of its control: a reset of the bar releases the controls other items point to.
    // The bar owns the list through its expand button and outlives it.
    void SetTarget(CXTPControl* pControl, CXTPToolBar* pBar);

private:
    CXTPControl* m_pTargetControl = nullptr;
    CXTPToolBar* m_pTargetBar = nullptr;
};
