// The framework's tree: the system tree with multiple selection (Ctrl, Shift, rubber band with automatic
// scrolling), click-versus-drag detection, per-item fonts, bold and colours, hot tracking with underline, text
// search, flicker-free painting and keyboard handling while a label is edited. CXTTreeBase holds the behaviour
// and works on its tree window through messages, so that the control and the view share it.
#pragma once

#include "platform/mfc/afxcmn.h"
#include "platform/mfc/afxview.h"

#include <map>
#include <set>

class CXTTreeBase
{
public:
    // In the base's own state calls bit 0x1 stands for "is the caret item"; 0x10000 is the hot item.
    enum { stateCaret = 0x0001, stateHot = 0x10000 };
    enum { hotTimerID = 85, hotTimerElapse = 55, bandTimerID = 1, bandTimerElapse = 75 };

    explicit CXTTreeBase(CWnd* pTreeWnd) : m_pTreeWnd(pTreeWnd) {}
    virtual ~CXTTreeBase() = default;
    CXTTreeBase(const CXTTreeBase&) = delete;
    CXTTreeBase& operator=(const CXTTreeBase&) = delete;

    // Next in document order: first child, else next sibling, else the next sibling of the nearest ancestor.
    virtual HTREEITEM GetNextItem(HTREEITEM hItem) const;
    virtual HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const;
    // The last descendant of the sibling before it, else the parent.
    virtual HTREEITEM GetItemBefore(HTREEITEM hItem) const;
    // The deepest last descendant of the item (of the first root when none).
    virtual HTREEITEM GetLastItem(HTREEITEM hItem) const;
    // Searches the labels from the start (the caret, else the first root), wrapping round once; with
    // bWholeWord the text must not touch a letter or an underscore on either side.
    virtual HTREEITEM FindItem(LPCTSTR lpszSearch, BOOL bMatchCase = FALSE, BOOL bDown = TRUE,
                               BOOL bWholeWord = FALSE, HTREEITEM hStart = nullptr);
    // The same among the descendants of a parent, depth first, children before their own label.
    virtual HTREEITEM FindItemInBranch(LPCTSTR lpszSearch, BOOL bMatchCase, BOOL bWholeWord, HTREEITEM hParent);
    virtual void SetItemFont(HTREEITEM hItem, const LOGFONT& logfont);
    // TRUE only when a font with a face name is stored.
    virtual BOOL GetItemFont(HTREEITEM hItem, LOGFONT* pLogFont) const;
    virtual void SetItemBold(HTREEITEM hItem, BOOL bBold);
    virtual BOOL GetItemBold(HTREEITEM hItem) const;
    virtual void SetItemColor(HTREEITEM hItem, COLORREF clr);
    // XTP_COLOR_NONE when none is stored.
    virtual COLORREF GetItemColor(HTREEITEM hItem) const;
    // Answers the former value; turning it off keeps only the caret selected (when it was).
    virtual BOOL SetMultiSelect(BOOL bMultiSelect);
    virtual HTREEITEM GetSelectedItemBefore(HTREEITEM hItem) const;
    virtual BOOL InitTree();
    // WM_NOTIFY to the owner window, else the parent.
    virtual LRESULT SendNotify(NMHDR* pNMHDR);
    virtual void SelectAllExcept(BOOL bSelect, HTREEITEM hExcept);
    virtual void OnButtonDown(BOOL bLeft, UINT nFlags, CPoint point);
    virtual void SelectByClick(HTREEITEM hItem, BOOL bLeft, UINT nFlags);
    // Captures the mouse until the button comes up (a click) or the mouse leaves the drag threshold (a drag).
    virtual void TrackClick(HTREEITEM hItem, BOOL bLeft, UINT nFlags, CPoint point);
    virtual void TrackSelectionRect(UINT nFlags, CPoint point);
    virtual void SelectItemsInRect(const CRect& rcBand, UINT nFlags, const std::set<HTREEITEM>& earlier);
    // Accepts a search hit; every item here.
    virtual BOOL IsFindMatch(HTREEITEM /*hItem*/) { return TRUE; }
    // The tree's own painting into an off-screen buffer, the labels painted again over it, copied to pDC.
    virtual void DoPaint(CDC* pDC);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const;
    // With multi-select: the caret bit moves the caret without touching selections; a selection change is
    // offered to the parent first (TVN_SELCHANGING may veto it) and reported after (TVN_SELCHANGED).
    BOOL SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask);
    BOOL SelectItem(HTREEITEM hItem);
    BOOL FocusItem(HTREEITEM hItem);
    HTREEITEM GetFirstSelectedItem() const;
    HTREEITEM GetNextSelectedItem(HTREEITEM hItem) const;
    int GetSelectedCount() const;
    void SelectAll(BOOL bSelect = TRUE, HTREEITEM hFrom = nullptr);
    void SelectItems(HTREEITEM hFirst, HTREEITEM hLast, BOOL bClearOthers = TRUE);
    // Answers whether the caret was among the children.
    BOOL SelectChildren(HTREEITEM hParent, BOOL bSelect = TRUE, BOOL bRecurse = TRUE);
    BOOL IsEditLabels() const { return (TreeStyle() & TVS_EDITLABELS) != 0; }
    BOOL IsMultiSelect() const { return m_bMultiSelect; }
    HTREEITEM GetAnchor() const { return m_hAnchor; }

protected:
    // Message handlers the control and the view forward; each runs the window's default handling itself.
    void OnLButtonDownMsg(UINT nFlags, CPoint point);
    void OnRButtonDownMsg(UINT nFlags, CPoint point);
    void OnFocusChangeMsg();
    void OnKeyDownMsg(UINT nChar);
    void OnSizeMsg();
    void OnMouseMoveMsg(CPoint point);
    void OnTimerMsg(UINT_PTR nIDEvent);
    void OnNcMouseMoveMsg(UINT nHitTest);
    void OnBeginLabelEditMsg(NMHDR* pNMHDR);
    void OnEndLabelEditMsg();
    BOOL OnItemExpandingMsg(NMHDR* pNMHDR);
    void OnDeleteItemMsg(NMHDR* pNMHDR);

    HWND TreeHwnd() const { return m_pTreeWnd->GetSafeHwnd(); }
    DWORD TreeStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(TreeHwnd(), GWL_STYLE)); }
    void InvalidateItem(HTREEITEM hItem);

private:
    struct ITEM_ATTR
    {
        LOGFONT logfont;
        COLORREF clrText;
    };

    CString GetLabel(HTREEITEM hItem) const;
    BOOL IsLabelMatch(HTREEITEM hItem, const CString& strSearch, BOOL bMatchCase, BOOL bWholeWord) const;
    ITEM_ATTR& Attributes(HTREEITEM hItem);
    void SetHotItem(HTREEITEM hItem);
    void SetItemSelected(HTREEITEM hItem, BOOL bSelect);
    void PaintLabel(CDC* pDC, HTREEITEM hItem, BOOL bFocused, BOOL bEnabled, COLORREF clrBack, COLORREF clrText);

    CWnd* m_pTreeWnd;
    BOOL m_bMultiSelect = FALSE;
    BOOL m_bTextOnlyRects = TRUE;
    BOOL m_bSelectOnClick = TRUE;
    HTREEITEM m_hAnchor = nullptr;
    HTREEITEM m_hEditedItem = nullptr;
    HTREEITEM m_hHotItem = nullptr;
    std::map<HTREEITEM, ITEM_ATTR> m_mapAttributes;
};

// The window side of the themed tree over a window class (the control or the view): it forwards the messages
// to the base, and lets the base's helpers override the control's namesakes.
template <class TBase>
class CXTTreeSite : public TBase, public CXTTreeBase
{
public:
    CXTTreeSite() : CXTTreeBase(this) {}

    using CXTTreeBase::GetItemState;
    using CXTTreeBase::GetNextItem;
    using CXTTreeBase::SelectItem;
    using CXTTreeBase::SetItemState;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()
};

class CXTTreeCtrl : public CXTTreeSite<CTreeCtrl>
{
    DECLARE_DYNAMIC(CXTTreeCtrl)
};

// A view that is a tree window ("SysTreeView32", child, visible, bordered).
class CXTTreeView : public CXTTreeSite<CView>
{
    DECLARE_DYNCREATE(CXTTreeView)
public:
    void OnDraw(CDC* /*pDC*/) override {}

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
};
