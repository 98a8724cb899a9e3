// The item every command bar holds: a button, a sub-menu entry, an edit field, a label... It carries the command
// id, the texts, the icon ids and the visual state, measures and draws itself only through its painter, and
// turns a click into a command for the frame.
#pragma once

#include "ui/commandbars/CommandBarsDefs.h"
#include "ui/commandbars/XTPControlAccessible.h"

#include <set>

class CXTPBarIcon;
class CXTPBarImages;
class CXTPBarPainter;
class CXTPControls;
class CXTPCommandBars;
class CXTPPropExchange;

// Document templates (their menu resource ids) of a control; saved as a map of each id to 1.
class CXTPDocTemplateSet : public CObject
{
public:
    void Serialize(CArchive& ar) override;
    std::set<UINT> m_setIds;
};

class CXTPControl : public CCmdTarget
{
    DECLARE_DYNCREATE(CXTPControl)
public:
    CXTPControl();
    ~CXTPControl() override;

    virtual CString GetTooltip() const { return m_strTooltipText; }
    virtual void SetBeginGroup(BOOL bBeginGroup) { m_bBeginGroup = bBeginGroup; }
    virtual void SetEnabled(BOOL bEnabled);
    virtual int GetSelected() const { return m_nSelected; }
    virtual void SetRect(CRect rc) { m_rcControl = rc; }
    virtual BOOL IsCaptionVisible() const;
    virtual BOOL Compare(CXTPControl* pOther) const;
    // The popup bar of popup kinds.
    virtual CXTPCommandBar* GetCommandBar() const { return nullptr; }
    virtual void SetHideFlags(DWORD dwFlags) { m_dwHideFlags = dwFlags; }
    virtual void OnExecute();
    virtual CSize GetSize(CDC* pDC);
    virtual void Draw(CDC* pDC);
    virtual void OnCalcDynamicSize(DWORD /*dwMode*/) {}
    // The icon of the effective icon id at a width, or null.
    virtual CXTPBarIcon* GetImage(int nWidth) const;
    // Execution by keyboard (Enter, a mnemonic): buttons execute, popups open.
    virtual void ExecuteByKeyboard() { OnExecute(); }
    // Edit and combo kinds answer 1 (consumed) or 2 (passed on) while they own the keyboard.
    virtual int OnHookKeyDown(UINT /*nChar*/, LPARAM /*lParam*/) { return 0; }
    // Tab reaching the control gives it the keyboard focus when it takes one (edit and combo kinds).
    virtual BOOL OnTabFocus() { return FALSE; }
    virtual void SetParent(CXTPCommandBar* pParent) { m_pParent = pParent; }
    virtual void Copy(CXTPControl* pOther, BOOL bRecursive);
    // Opens or closes the popup bar of popup kinds.
    virtual BOOL SetPopup(BOOL /*bPopup*/) { return FALSE; }
    virtual void OnClick(BOOL /*bKeyboard*/, CPoint /*pt*/) {}
    virtual void OnLButtonUp(CPoint /*pt*/) {}
    virtual void OnRButtonUp(CPoint /*pt*/) {}
    virtual BOOL OnLButtonDblClk(CPoint pt);
    virtual void OnMouseMove(CPoint /*pt*/) {}
    virtual void OnMouseHover();
    virtual BOOL SetSelected(int nSelected);
    virtual CXTPControl* Clone(BOOL bRecursive);
    // The control's keys in the bars' saved form.
    virtual void DoPropExchange(CXTPPropExchange* pPX);
    // A popup control whose whole face opens its popup (no separate arrow part).
    virtual BOOL IsWholeFacePopup() const { return FALSE; }
    // FALSE for a control that never shows the selection's highlight (a label): menus paint it plain.
    virtual BOOL TakesHighlight() const { return TRUE; }
    // What screen readers see of the control; its references are the control's.
    CXTPAccessible* GetAccessible() { return &m_accessible; }
    // Customise mode: a press drags the control (a drop elsewhere or outside every bar takes it off its bar);
    // a drag passing over it closes its bar's popup and selection.
    virtual void OnCustomizeDragStart(CPoint point);
    virtual void OnCustomizeDragOver(CXTPControl* pData, CPoint point);
    // Whether the control, being dragged, may be dropped on the bar; a refusal may set the effect.
    virtual BOOL IsCustomizeDragOverAvail(CXTPCommandBar* /*pCommandBar*/, CPoint /*point*/, DROPEFFECT& /*dropEffect*/)
    {
        return TRUE;
    }
    // Kinds with an adjustable width: the drag control's side edges, pressed in customise mode, drag its width.
    virtual BOOL IsCustomizeResizeAllow() const { return FALSE; }
    virtual int GetCustomizeMinWidth() const { return 0; }
    virtual void SetWidth(int /*nWidth*/) {}
    // Follows the mouse from a press within 2 pixels of the left or right edge until the release (a new width)
    // or Escape; FALSE for a press anywhere else.
    virtual BOOL OnCustomizeResize(CPoint point);

    int GetIndex() const { return m_nIndex; }
    int GetID() const { return m_nId; }
    // Loads the prompt of the id's string resource.
    void SetID(int nId);
    int GetType() const { return m_nType; }
    void SetType(int nType) { m_nType = nType; }
    int GetIconId() const { return m_nCustomIconId ? m_nCustomIconId : m_nIconId >= 1 ? m_nIconId : m_nId; }
    void SetIconId(int nIconId) { m_nIconId = nIconId; }
    int GetCustomIconId() const { return m_nCustomIconId; }
    void SetCustomIconId(int nIconId) { m_nCustomIconId = nIconId; }
    // The icon joins the image manager as a custom icon and becomes the control's; an empty one changes nothing.
    void SetCustomIcon(HICON hIcon);
    // Back to the control's own icon and caption; the bar learns that its controls changed.
    void Reset();
    BOOL GetWrap() const { return m_bWrap; }
    void SetWrap(BOOL bWrap) { m_bWrap = bWrap; }
    BOOL GetBeginGroup() const { return m_bBeginGroup; }
    BOOL GetEnabled() const { return m_bEnabled; }
    BOOL GetChecked() const { return m_bChecked; }
    void SetChecked(BOOL bChecked);
    int GetPressed() const { return m_nPressed; }
    void SetPressed(int nPressed) { m_nPressed = nPressed; }
    BOOL IsTemporary() const { return m_bTemporary; }
    void SetTemporary(BOOL bTemporary) { m_bTemporary = bTemporary; }
    CRect GetRect() const { return m_rcControl; }
    CRect GetRowRect() const { return m_rcRow; }
    void SetRowRect(CRect rc) { m_rcRow = rc; }
    DWORD GetHideFlags() const { return m_dwHideFlags; }
    // Shown in its bar: no reason to hide it.
    virtual BOOL IsVisible() const { return m_dwHideFlags == 0; }
    DWORD GetFlags() const { return m_dwFlags; }
    void SetFlags(DWORD dwFlags) { m_dwFlags = dwFlags; }
    // The custom caption when there is one, else the caption.
    CString GetCaption() const { return m_strCustomCaption.IsEmpty() ? m_strCaption : m_strCustomCaption; }
    // A TAB splits off the shortcut text.
    void SetCaption(const CString& strCaption);
    void SetCaption(UINT nIDString);
    void SetCustomCaption(const CString& strCaption) { m_strCustomCaption = strCaption; }
    CString GetCustomCaption() const { return m_strCustomCaption; }
    CString GetShortcutText() const { return m_strShortcutText.IsEmpty() ? m_strAccelShortcut : m_strShortcutText; }
    void SetShortcutText(const CString& strText) { m_strShortcutText = strText; }
    // The text the shortcut manager found for the command.
    CString GetAccelShortcutText() const { return m_strAccelShortcut; }
    void SetAccelShortcutText(const CString& strText) { m_strAccelShortcut = strText; }
    // A line feed splits description and tooltip.
    void SetPrompt(const CString& strPrompt);
    CString GetDescription() const { return m_strDescriptionText; }
    CString GetParameter() const { return m_strParameter; }
    void SetParameter(const CString& strParameter) { m_strParameter = strParameter; }
    // The customise sheet's category of the control.
    CString GetCategory() const { return m_strCategory; }
    void SetCategory(const CString& strCategory) { m_strCategory = strCategory; }
    DWORD_PTR GetTag() const { return m_nTag; }
    void SetTag(DWORD_PTR nTag) { m_nTag = nTag; }
    int GetStyle() const { return m_nCustomStyle ? m_nCustomStyle : m_nStyle; }
    void SetStyle(int nStyle) { m_nStyle = nStyle; }
    void SetCustomStyle(int nStyle) { m_nCustomStyle = nStyle; }
    int GetCustomStyle() const { return m_nCustomStyle; }
    BOOL IsDefaultItem() const { return m_bDefaultItem; }
    void SetDefaultItem(BOOL bDefault);
    BOOL GetCloseSubMenuOnClick() const { return m_bCloseSubMenuOnClick; }
    void SetCloseSubMenuOnClick(BOOL bClose) { m_bCloseSubMenuOnClick = bClose; }
    // The document templates for which the control shows, and those for which it hides (both empty: always).
    std::set<UINT>& GetDocTemplatesAssigned() { return m_docTemplatesAssigned.m_setIds; }
    std::set<UINT>& GetDocTemplatesExcluded() { return m_docTemplatesExcluded.m_setIds; }
    CXTPCommandBar* GetParent() const { return m_pParent; }
    CXTPControls* GetControls() const { return m_pControls; }

    CXTPBarPainter* GetPaintManager() const;
    CXTPBarImages* GetImageManager() const;
    // The cursor lies on the control.
    BOOL IsCursorOver() const;
    void RedrawParent();
    void InvalidateParentLayout();
    // Sends the control notification to the owner site; its answer (non-zero: handled).
    LRESULT NotifySite(UINT nCode);
    LRESULT NotifySite(UINT nCode, HWND hWndSite);

protected:
    friend class CXTPControls;
    // After a drag that moved the control away: it leaves its bar, its group start passing to the next one.
    void RemoveAfterDrag(CXTPCommandBars* pCommandBars);
    // The executed command to the site, then the bar's states again when it stays open.
    void SendCommand(CXTPCommandBar* pParent, HWND hWndSite);

    int m_nIndex = 0;
    int m_nId = 0;
    int m_nIconId = 0;
    int m_nCustomIconId = 0;
    BOOL m_bWrap = FALSE;
    BOOL m_bBeginGroup = FALSE;
    BOOL m_bEnabled = TRUE;
    BOOL m_bChecked = FALSE;
    int m_nSelected = 0;
    int m_nPressed = 0;
    BOOL m_bTemporary = FALSE;
    CRect m_rcRow;
    CRect m_rcControl;
    DWORD m_dwHideFlags = 0;
    DWORD m_dwFlags = 0;
    CString m_strCaption;
    CString m_strCustomCaption;
    CString m_strShortcutText;
    CString m_strAccelShortcut;
    CString m_strTooltipText;
    CString m_strDescriptionText;
    CString m_strParameter;
    CString m_strCategory;
    DWORD_PTR m_nTag = 0;
    CXTPControls* m_pControls = nullptr;
    int m_nType = 0;
    CXTPCommandBar* m_pParent = nullptr;
    BOOL m_bDefaultItem = FALSE;
    int m_nStyle = 0;
    int m_nCustomStyle = 0;
    BOOL m_bCloseSubMenuOnClick = TRUE;
    CXTPDocTemplateSet m_docTemplatesAssigned;
    CXTPDocTemplateSet m_docTemplatesExcluded;
    CXTPControlAccessible m_accessible {this};
};

// The plain push button.
class CXTPControlButton : public CXTPControl
{
    DECLARE_DYNCREATE(CXTPControlButton)
public:
    CXTPControlButton() { m_nType = xtpControlButton; }

    void OnClick(BOOL bKeyboard, CPoint pt) override;
    void OnLButtonUp(CPoint pt) override;
    void DoPropExchange(CXTPPropExchange* pPX) override;

protected:
    // The press loop: the button shows pressed while the mouse holds it; TRUE when released in rcPress.
    BOOL TrackPress(const CRect& rcPress);
};

class CXTPPopupBar;

// A sub-menu entry that owns a popup bar.
class CXTPControlPopup : public CXTPControlButton
{
    DECLARE_DYNCREATE(CXTPControlPopup)
public:
    CXTPControlPopup() { m_nType = xtpControlPopup; }
    ~CXTPControlPopup() override;

    // A new popup control of a popup type (2 to 4), with the caller's reference.
    static CXTPControlPopup* CreateControlPopup(int nType);

    CXTPCommandBar* GetCommandBar() const override;
    // The control takes its own reference of the bar (and lets go of the former one).
    void SetCommandBar(CXTPPopupBar* pPopupBar);
    // The popup bar (made for the bar's manager when there is none) takes the items of the menu instead of its own.
    void SetCommandBarMenu(CMenu* pMenu);
    // The popup is this control's, or lies in its menu or holds it, however deep: a menu dragged there would go
    // inside itself.
    BOOL IsContainPopup(const CXTPControlPopup* pPopup) const;
    // Opens the popup bar under the control (its first control selected when chosen by keyboard), or closes it.
    BOOL SetPopup(BOOL bPopup) override;
    BOOL IsWholeFacePopup() const override { return m_bShowWholeFace; }
    // A press or the keyboard opens the popup instead of executing; a press on the control of the open popup of
    // a bar that is no popup closes it. A split button executes its button part and opens on its arrow.
    void OnClick(BOOL bKeyboard, CPoint pt) override;
    void OnLButtonUp(CPoint pt) override;
    // A double click runs the open popup's default item, or expands a popup that hides commands.
    BOOL OnLButtonDblClk(CPoint pt) override;
    // Resting on the control opens its popup in a popup bar or while its bar has a popup open.
    void OnMouseHover() override;
    // Selection opens the popup of a menu title while its bar has another one open, and closes it on leaving.
    BOOL SetSelected(int nSelected) override;
    void ExecuteByKeyboard() override;
    // The open popup shows its hidden commands too.
    void ExpandCommandBar();
    // The shadow the control casts beside its open popup.
    virtual void AddShadow();
    // The rectangle (the control's) that its opening popup keeps clear of, as the painter draws the two together.
    virtual void AdjustExcludeRect(CRect& rc);
    // A customise drag over the control opens its popup to take the control, unless the dragged menu holds this
    // one: then the bar's popup closes.
    void OnCustomizeDragOver(CXTPControl* pData, CPoint point) override;
    void SetWholeFace(BOOL bWholeFace) { m_bShowWholeFace = bWholeFace; }
    void Copy(CXTPControl* pOther, BOOL bRecursive) override;
    // Equal popup controls also have equal popups (when both have one).
    BOOL Compare(CXTPControl* pOther) const override;
    // "CommandBarId": the id of the popup bar; a loaded one waits until the bar list links it.
    void DoPropExchange(CXTPPropExchange* pPX) override;
    DWORD GetPendingCommandBarId() const { return m_dwPendingBarId; }
    void SetPendingCommandBarId(DWORD dwId) { m_dwPendingBarId = dwId; }
    // The class of the popup bars the control works on: a loaded id that names a bar of another class is left.
    virtual CRuntimeClass* GetPopupBarClass() const;

private:
    // The press on a split button's button part, handled here (TRUE) or left to the arrow part (FALSE).
    BOOL OnSplitButtonClick(BOOL bKeyboard, CPoint pt);
    void OpenPopup(BOOL bKeyboard);

    CXTPPopupBar* m_pPopupBar = nullptr;
    DWORD m_dwPendingBarId = 0;
    BOOL m_bShowWholeFace = FALSE;
};

// The edge of a control that a customise-mode press at the point takes: -1 the left, 1 the right, 0 none (more
// than 2 pixels inside both).
int GetCustomizeResizeEdge(const CRect& rcControl, CPoint point);
// The control's rectangle with that edge moved by dx, no narrower than the minimum width.
CRect GetCustomizeResizedRect(const CRect& rcControl, int nEdge, int dx, int nMinWidth);
