// The window base of every command bar: it owns the controls, keeps which control is hot and which has its popup
// open, tracks with the mouse and the keyboard, routes mouse messages to controls, draws itself through its
// painter and refreshes its controls' states through the frame's command-update handlers.
#pragma once

#include "ui/commandbars/XTPCommandBarAccessible.h"
#include "ui/commandbars/XTPControls.h"
#include "ui/commandbars/XTPHookManager.h"


class CXTPBarImages;
class CXTPCommandBarsOptions;
class CXTPPropExchange;
class CTipContext;
class CXTPBarPainter;
class CXTPCommandBars;

// Timers of a bar: the hover on a control, and the expansion of an open menu whose title the mouse rests on.
enum { XTP_TID_HOVER = 112223, XTP_TID_EXPANDED_POPUP = 112224 };
// Direction codes of keyboard navigation.
enum
{
    xtpKeyNext = 0,
    xtpKeyBack = 1,
    xtpKeyPopupClose = 2,
    xtpKeyPopupOpen = 3,
    xtpKeyEscape = 4,
    xtpKeyReturn = 5,
    xtpKeyHome = 6,
    xtpKeyEnd = 7
};

// The accelerator letters of two captions match (the shortcuts' comparison; case does not count).
BOOL CompareAccelKey(TCHAR chAccel, TCHAR chKey);
// The accelerator of a caption: the character after the first '&' not doubled, else the first character; bExplicit
// tells which. 0 for an empty caption.
TCHAR GetAccelKey(const CString& strCaption, BOOL* pbExplicit);
// The direction code of a navigation key on a bar (-1 for other keys).
int GetDirectionCode(UINT nKey, BOOL bHorizontal, BOOL bRTL);
// The accelerator search: the first control after the hot one whose caption carries the key, an explicit '&'
// winning over first letters (only explicit ones count without bFirstLetter); bAmbiguous when another control
// carries it as well. -1 when none does.
int FindAccelIndex(const CXTPControls* pControls, int nSelected, TCHAR chKey, BOOL* pbAmbiguous,
                   BOOL bFirstLetter = TRUE);
// The same search for a key of the keyboard: a bar with a manager compares through its shortcut manager (a letter
// of any installed layout matches), else through the key's character in the current layout.
int FindAccelIndex(const CXTPControls* pControls, int nSelected, UINT nVirtKey, const CXTPCommandBars* pCommandBars,
                   BOOL* pbAmbiguous, BOOL bFirstLetter = TRUE);
// The tip of a control: its tooltip text, with its shortcut in brackets when the options ask for it; empty on a
// toolbar when the options turn the toolbars' tips off (pOptions null: a bar without a manager).
CString GetControlTipText(const CXTPControl* pControl, const CXTPCommandBarsOptions* pOptions, BOOL bPopupBar);

// A control's hide flags under the active document template: bit 64 follows the templates the control is shown
// for (when it names any), then those it is hidden for (when it names any); the other bits stay.
DWORD GetDocTemplateHideFlags(DWORD dwHideFlags, const std::set<UINT>& setAssigned,
                              const std::set<UINT>& setExcluded, UINT nTemplate);

class CXTPCommandBar : public CWnd, public CXTPHookHandler, public CXTPTrackedBar
{
    DECLARE_DYNCREATE(CXTPCommandBar)
public:
    CXTPCommandBar();
    ~CXTPCommandBar() override;

    // The final release destroys the window, then the object.
    void OnFinalRelease() override;

    virtual void DelayRedraw() { m_dwState |= stateRedraw; }
    virtual BOOL SetTrackingMode(int nMode, BOOL bSelectFirst = TRUE, BOOL bKeyboard = FALSE);
    virtual BOOL SetSelected(int nSelected, BOOL bKeyboard = FALSE);
    // The buttons of toolbar resource nIDResource (0 begins a group), with bLoadIcons its bitmap's icons in the
    // bar's image store; FALSE when the resource or its icons do not load (the controls are gone by then).
    virtual BOOL LoadToolBar(UINT nIDResource, BOOL bLoadIcons = TRUE);
    // Toolbars show or hide; other bars have nothing to do.
    virtual BOOL SetVisible(BOOL /*bVisible*/) { return FALSE; }
    virtual BOOL IsVisible() const { return FALSE; }
    // Toolbars dock or float there; other bars only record the place (FALSE: nothing moved).
    virtual BOOL SetPosition(int nPosition)
    {
        m_nPosition = nPosition;
        return FALSE;
    }
    virtual void OnRecalcLayout() {}
    virtual void OnControlSelected(BOOL bSelected, CXTPControl* pControl);
    virtual CXTPCommandBar* GetParentCommandBar() const { return nullptr; }
    virtual BOOL IsKeyboardCuesVisible() const;
    // 0 not mine, 1 consumed, 2 passed on to the focused window.
    virtual int OnKeyDown(UINT nChar, LPARAM lKeyData);
    virtual CSize CalcDynamicLayout(int /*nLength*/, DWORD /*dwMode*/) { return CSize(0, 0); }
    virtual BOOL ProcessSpecialKey(int nCode);
    virtual void DrawCommandBar(CDC* pDC);
    virtual void OnControlsChanged();
    virtual void Copy(CXTPCommandBar* pOther, BOOL bRecursive);
    virtual BOOL IsPointInside(CPoint ptScreen) const;
    virtual void OnUpdateCmdUI(BOOL bDisableIfNoHandler);
    virtual CXTPCommandBar* Clone(BOOL bRecursive);
    // The bar's keys and its controls in the bars' saved form.
    virtual void DoPropExchange(CXTPPropExchange* pPX);
    // Queries of the painter.
    virtual BOOL IsFullGripperShape() const { return FALSE; }
    virtual BOOL IsCheckboxesBesideIcons() const { return FALSE; }
    virtual BOOL HasHiddenControls() const { return FALSE; }
    virtual CXTPControl* GetParentControl() const { return nullptr; }
    // The customise drag of a control over the bar (client points): whether the bar takes it here (the drop
    // position shows as an I-beam), and the drop, which places a copy of the control and makes it the drag
    // control; a control dropped onto its own place stays (nEffect becomes XTP_DROPEFFECT_CANCEL).
    virtual DROPEFFECT OnCustomizeDragEnter(CXTPControl* pData, CPoint point);
    virtual void OnCustomizeDragLeave();
    virtual DROPEFFECT OnCustomizeDragOver(CXTPControl* pData, CPoint point);
    virtual void OnCustomizeDrop(CXTPControl* pData, DROPEFFECT& nEffect, CPoint ptDrop, CPoint ptDrag);

    // The control under the point with its tip (GetControlTipText), the control's index + 1 as the tool id.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    // The tips of the bar: the manager's context, or the bar's own without a manager; null when it shows none.
    CTipContext* GetToolTipContext() const { return m_pToolTipContext; }

    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
    HWND GetTrackedWindow() const override { return m_hWnd; }
    int OnMouseHitTest(CPoint ptScreen) override { return IsPointInside(ptScreen) ? 1 : 0; }
    void OnTrackedMouseMove(CPoint ptClient) override { OnMouseMove(0, ptClient); }
    void StopTracking() override { SetTrackingMode(0, TRUE, FALSE); }
    int& GetInputLock() override { return m_nInputLock; }

    // The popup of a control opens (index -1 closes the open one).
    BOOL SetPopuped(int nPopuped, BOOL bKeyboard = FALSE);
    int GetSelectedIndex() const { return m_nSelected; }
    int GetPopupedIndex() const { return m_nPopuped; }
    CXTPControl* GetSelectedControl() const { return m_pControls->GetAt(m_nSelected); }
    int GetTrackingMode() const { return m_nTrackingMode; }
    BOOL IsTrackingMode() const { return m_nTrackingMode != 0; }
    BOOL IsKeyboardSelected() const { return m_bKeyboardSelect; }
    int GetLastPressedIndex() const { return m_nLastPressed; }
    void SetLastPressedIndex(int nIndex) { m_nLastPressed = nIndex; }

    CXTPCommandBar* GetRootParent();
    CWnd* GetSite();
    CWnd* GetOwnerSite();
    void SetSite(CWnd* pSite) { m_pSite = pSite; }
    // The window that receives the commands of a tracked popup.
    void SetCommandOwner(CWnd* pOwner) { m_pOwner = pOwner; }
    CXTPBarPainter* GetPaintManager();
    CXTPBarImages* GetImageManager();
    void SetPaintManager(CXTPBarPainter* pPainter);
    // The bar takes the caller's reference on the store and lets the former one go (as with the painter).
    // Without one the root bar's, else the process-wide store.
    void SetImageManager(CXTPBarImages* pImages);
    BOOL IsCustomizeMode() const;
    // The manager of the bar, else of its root bar.
    CXTPCommandBars* GetCommandBars() const;
    void SetCommandBars(CXTPCommandBars* pCommandBars) { m_pCommandBars = pCommandBars; }
    UINT GetBarID() const { return m_nBarID; }
    void SetBarID(UINT nId) { m_nBarID = nId; }
    virtual BOOL IsCustomizable() const { return m_bCustomizable; }
    void SetCustomizable(BOOL bCustomizable) { m_bCustomizable = bCustomizable; }
    BOOL IsCloseable() const { return m_bCloseable; }
    void SetCloseable(BOOL bCloseable) { m_bCloseable = bCloseable; }
    BOOL IsContextMenuPresent() const { return m_bContextMenuPresent; }
    void SetContextMenuPresent(BOOL bPresent) { m_bContextMenuPresent = bPresent; }
    // The next popup opened from this bar animates.
    void SetAnimateNextPopup(BOOL bAnimate) { m_bAnimateNextPopup = bAnimate; }
    BOOL IsAnimateNextPopup() const { return m_bAnimateNextPopup; }
    BOOL IsLayoutRTL() const
    {
        return m_hWnd && (::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    }
    void InvalidateParents();
    // Closes every tracked popup of this bar's chain.
    void ClosePopups();
    BOOL IsReturnCmd() const { return m_pReturnCmd != nullptr; }
    void SetReturnCmd(int* pReturnCmd) { m_pReturnCmd = pReturnCmd; }
    int* GetReturnCmd() const { return m_pReturnCmd; }
    BOOL IsNestedTracking() const { return m_bNested; }
    void SetTrackFlags(BOOL bRightButton, BOOL bNoNotify, BOOL bNested)
    {
        m_bRightButton = bRightButton;
        m_bNoNotify = bNoNotify;
        m_bNested = bNested;
    }

    CString GetTitle() const { return m_strTitle; }
    void SetTitle(const CString& strTitle) { m_strTitle = strTitle; }
    CXTPControls* GetControls() const { return m_pControls; }
    // The bar shows the collection given (it takes a reference) in place of its own, which it lets go.
    void SetControls(CXTPControls* pControls);
    // What screen readers see of the bar; its references are the bar's.
    CXTPAccessible* GetAccessible() { return &m_accessible; }
    int GetType() const { return m_nType; }
    void SetType(int nType) { m_nType = nType; }
    int GetPosition() const { return m_nPosition; }
    DWORD GetFlags() const { return m_dwFlags; }
    void ModifyFlags(DWORD dwAdd, DWORD dwRemove) { m_dwFlags = (m_dwFlags | dwAdd) & ~dwRemove; }
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    int GetMRUWidth() const { return m_nMRUWidth; }
    void SetMRUWidth(int nWidth) { m_nMRUWidth = nWidth; }
    // The bar's own size, else the options' (popup or toolbar sizes, large icons), else 16 by 16.
    CSize GetIconSize() const;
    void SetIconSize(CSize sz) { m_szIcons = sz; }
    CSize GetButtonSize() const { return m_szButtons.cx ? m_szButtons : GetIconSize() + CSize(7, 7); }
    void SetButtonSize(CSize sz) { m_szButtons = sz; }
    // 2 follows the options.
    BOOL IsTextBelowIcons() const;
    void SetTextBelowIcons(int nTextBelowIcons)
    {
        m_nTextBelowIcons = nTextBelowIcons;
        m_dwState |= stateLayout;
    }
    // The customise drop position; empty when none shows.
    CRect GetDropIndicator() const { return m_rcDropIndicator; }
    BOOL IsLayoutNeeded() const { return (m_dwState & stateLayout) != 0; }
    // A selection change is under way: the bar repaints once when it ends.
    BOOL IsRedrawLocked() const { return m_nRedrawLock > 0; }
    void SetLayoutNeeded() { m_dwState |= stateLayout; }

    // One control per id (the site may supply or change each); 0 begins a group.
    BOOL SetButtons(const UINT* pIDs, int nCount);
    // Fills the bar from a menu (cleared first with bClear); FALSE when there is no menu.
    BOOL LoadMenu(CMenu* pMenu, BOOL bClear = TRUE);

    // The command-update state object of a bar's control.
    class CCommandBarCmdUI : public CCmdUI
    {
    public:
        CXTPControl* m_pControl = nullptr;
        void Enable(BOOL bOn = TRUE) override;
        void SetCheck(int nCheck = 1) override;
        void SetText(LPCTSTR lpszText) override;
    };

protected:
    enum { stateLayout = 1, stateRedraw = 2 };

    // Tracking state for the managers; the menu bar's message goes to the site.
    void EnterTracking(BOOL bSelectFirst, BOOL bKeyboard);
    void LeaveTracking(BOOL bClearSelection);
    // Moves the keyboard selection to the next row (nStep 1) or the preceding one (-1).
    BOOL MoveRow(int nStep);
    void RedrawIfUnlocked();
    // Shows and hides the controls tied to document templates for the manager's active one.
    void UpdateDocTemplateControls();
    // The visible, movable control nearest to a client point for a customise drop (-1 when none) and whether
    // the point lies past its centre.
    int FindDropIndex(CPoint point, BOOL& bAfter) const;
    CRect CalcDropIndicator(int nIndex, BOOL bAfter, const CXTPControl* pData) const;
    BOOL IsVerticalDrop() const;
    void DrawCustomizeMarks(CDC* pDC);
    // Over a side edge of the drag control whose width can be dragged, the cursor says so.
    void ShowCustomizeResizeCursor(CPoint point);
    // A press with Alt held on a toolbar's control drags it as in customise mode (without the customise sheet),
    // when the bar may be changed and the options allow it.
    BOOL IsAltDragPress(const CXTPControl* pControl) const;
    void AltDrag(CXTPControl* pControl, CPoint point);
    // Every message passes the tips first, so that they follow the mouse.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnPrint(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    // The bar's IAccessible for the client and menu objects; E_FAIL when oleacc cannot hand it over.
    afx_msg LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    // While the frame chooses what to get help on (its help mode): a menu title is a menu, so that a press opens
    // it, and a control's help context is its command's (else the bar's own).
    BOOL IsHelpMode();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
    // The first state of a new window that follows its frame's activation (FS_ACTIVATE or FS_DEACTIVATE): active
    // when the frame is the foreground window, or when the foreground window is the frame's last active popup and
    // follows the frame too.
    static UINT GetFirstFloatStatus(HWND hWnd);
    DECLARE_MESSAGE_MAP()

    BOOL m_bHideCaret = TRUE;
    int m_nMRUWidth = 32767;
    int m_nSelected = -1;
    int m_nPopuped = -1;
    HWND m_hWndFocus = nullptr;
    UINT m_nBarID = 0;
    int m_nTrackingMode = 0;
    CWnd* m_pSite = nullptr;
    DWORD m_dwState = 0;
    DWORD m_dwFlags = 0;
    DWORD m_dwStyle = 0;
    CString m_strTitle;
    int m_nType = xtpBarTypeNormal;
    CXTPControls* m_pControls;
    int m_nPosition = xtpBarNone;
    CWnd* m_pOwner = nullptr;
    CSize m_szIcons = CSize(0, 0);
    CSize m_szButtons = CSize(0, 0);
    int m_nTextBelowIcons = 2;
    BOOL m_bRightButton = FALSE;
    BOOL m_bNoNotify = FALSE;
    BOOL m_bNested = FALSE;
    int m_nInputLock = 0;
    BOOL m_bKeyboardSelect = FALSE;
    int* m_pReturnCmd = nullptr;
    BOOL m_bMouseStarted = FALSE;
    int m_nRedrawLock = 0;
    CXTPBarPainter* m_pPainter = nullptr;
    CXTPBarImages* m_pImages = nullptr;
    int m_nLastPressed = -1;
    CXTPCommandBars* m_pCommandBars = nullptr;
    BOOL m_bCustomizable = TRUE;
    BOOL m_bCloseable = FALSE;
    BOOL m_bContextMenuPresent = TRUE;
    BOOL m_bAnimateNextPopup = TRUE;
    CXTPCommandBarAccessible m_accessible {this};
    CRect m_rcDropIndicator;
    CTipContext* m_pToolTipContext = nullptr;
};
