// The ordered controls of one command bar: made by type code or from a Windows menu (the site may replace or
// supply them), kept with their index, owner and bar right after each change, navigated by keyboard, and laid
// out in rows by the toolbars' dynamic size.
#pragma once

#include "ui/commandbars/XTPControl.h"

#include <vector>

class CXTPPropExchange;

class CXTPControls : public CCmdTarget
{
    DECLARE_DYNCREATE(CXTPControls)
public:
    CXTPControls() = default;
    ~CXTPControls() override;

    // A control of the type (1 to 8) inserted before the index (an index outside the list appends); null for
    // another type.
    CXTPControl* Add(int nType, int nId, LPCTSTR lpszParameter = L"", int nBefore = -1, BOOL bTemporary = FALSE);
    // An existing control (the collection takes over its reference).
    CXTPControl* AddControl(CXTPControl* pControl, int nId = 0, LPCTSTR lpszParameter = L"", int nBefore = -1,
                            BOOL bTemporary = FALSE);
    // A clone of the control at the (clamped) index.
    CXTPControl* InsertControl(CXTPControl* pControl, int nIndex, BOOL bRecursive = FALSE);
    // The control made from one item of a menu; null when the item gives none.
    CXTPControl* AddMenuItem(CMenu* pMenu, int nPosition);
    void Remove(CXTPControl* pControl);
    void Remove(int nIndex) { Remove(GetAt(nIndex)); }
    void RemoveAll();
    // The control of the new type in the place of the old one (the same object between popup kinds).
    CXTPControl* SetControlType(CXTPControl* pControl, int nType);
    void Move(CXTPControl* pControl, int nIndex);

    int GetCount() const { return static_cast<int>(m_arrControls.size()); }
    CXTPControl* GetAt(int nIndex) const
    {
        return nIndex >= 0 && nIndex < GetCount() ? m_arrControls[static_cast<size_t>(nIndex)] : nullptr;
    }
    CXTPControl* GetFirst() const { return GetAt(0); }
    CXTPControl* GetNext(CXTPControl* pControl) const { return GetAt(pControl->GetIndex() + 1); }
    // Type 0 any type, id -1 any id; recursive: the popup bars of popup controls after the control itself.
    CXTPControl* FindControl(int nType, int nId, BOOL bVisible, BOOL bRecursive) const;
    CXTPControl* FindControl(int nId) const { return FindControl(0, nId, FALSE, FALSE); }
    CXTPControl* HitTest(CPoint pt) const;
    // The first index from nStart whose control has the id and type of the given one; -1 when none.
    int FindIndex(const CXTPControl* pControl, int nStart) const;
    // Keyboard order with wrap-around; -1 when no control takes the step.
    int GetNextIndex(int nStart, int nStep, BOOL bSkipFlagged = TRUE, BOOL bSkipTemporary = FALSE,
                     BOOL bAllowScrollHidden = TRUE) const;
    // Controls shown; without bStrict a control hidden only for lack of room counts as shown.
    int GetVisibleCount(BOOL bStrict = TRUE) const;

    void CreateOriginalControls();
    CXTPControls* GetOriginalControls() const { return m_pOriginalControls; }
    // Takes the reference given; the former copy is released.
    void SetOriginalControls(CXTPControls* pControls)
    {
        if (m_pOriginalControls)
            m_pOriginalControls->InternalRelease();
        m_pOriginalControls = pControls;
    }
    // A new collection of clones of the non-temporary controls.
    CXTPControls* Duplicate(BOOL bRecursive = FALSE) const;
    BOOL IsEqual(const CXTPControls* pOther) const;
    BOOL IsChanged() const;

    void SetParent(CXTPCommandBar* pParent);
    CXTPCommandBar* GetParent() const { return m_pParent; }
    // The manager: the bar's, or for a collection without a bar (a customise category) the one it is bound to.
    CXTPCommandBars* GetCommandBars() const;
    void SetCommandBars(CXTPCommandBars* pCommandBars) { m_pCommandBars = pCommandBars; }
    // The window that hears the control-creation messages.
    CWnd* GetSite() const;

    // Lays the controls out in rows (the toolbars' layout); the size includes the margins.
    CSize CalcDynamicSize(CDC* pDC, int nLength, DWORD dwMode, const CRect& rcBorder, int nMinWidth = 0);

    // Indexes, owner and bar of every control, then the bar hears that its controls changed.
    void RefreshIndexes();
    // The controls by class and keys; a class that cannot be made throws CArchiveException (badClass).
    void DoPropExchange(CXTPPropExchange* pPX);

private:
    // One control in the layout, in bar-neutral terms: "along" runs with the row, "across" from row to row.
    struct LAYOUT_ITEM
    {
        CXTPControl* pControl;
        int nAlongSize, nAcrossSize;
        int nAlong = 0, nRow = 0;
        BOOL bVisible, bWrap = FALSE, bHidden = FALSE, bBeginGroup;
    };
    struct LAYOUT_ROW
    {
        int nAcross, nSize;
    };

    void Insert(CXTPControl* pControl, int nBefore);
    // A popup control with its popup bar; from a menu the bar takes the item's sub-menu, else the first sub-menu
    // of the menu resource of the id.
    CXTPControl* CreatePopup(int nId, CString& strCaption, CMenu* pSubMenu, BOOL bFromMenu);
    // A popup bar for a popup control: the site's when it answers with one, else a new one.
    CXTPPopupBar* CreatePopupBar(int nId, CString& strCaption);
    // Rows after wrapping at a width; sets LM_STRETCH in the mode when a row breaks.
    static int Wrap(std::vector<LAYOUT_ITEM>& items, int nWidth, DWORD& dwMode);
    // Places the controls in rows; the extent along the widest row and across all rows.
    static CSize PlaceRows(std::vector<LAYOUT_ITEM>& items, std::vector<LAYOUT_ROW>& rows);
    static void Stretch(std::vector<LAYOUT_ITEM>& items, int nLength);

    CXTPCommandBar* m_pParent = nullptr;
    CXTPCommandBars* m_pCommandBars = nullptr;
    std::vector<CXTPControl*> m_arrControls;
    CXTPControls* m_pOriginalControls = nullptr;
};
