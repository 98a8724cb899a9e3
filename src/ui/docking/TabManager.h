// The window-less model of one strip of tabs: items, selection, hot item, scroll offset, rows and the three
// navigate buttons, with hit testing, clicks, hot tracking, drag reordering and keyboard navigation. Layout and
// drawing belong to the tab painter; the class that embeds a manager supplies window, painter and redraw.
//
// The painter (ui/themes) reads the manager only through the inline accessors and the virtual operations of
// these classes, so the drawing library needs nothing of this one at link time.
#pragma once

#include "platform/mfc/afxwin.h"

#include <vector>

class CXTPTabManager;
class CXTPTabPainter;
class CXTPTabColors;
class CXTPTabStyle;

// Tab colours 0x1000000 + n (n = 0-7) name the painter's predefined colours.
const COLORREF XTP_TABCOLOR_PREDEFINED = 0x1000000;

class CXTPTabManagerItem : public CCmdTarget
{
public:
    explicit CXTPTabManagerItem(CXTPTabManager* pManager = nullptr) : m_pManager(pManager) {}

    void SetCaption(LPCTSTR lpszCaption);
    inline CString GetCaption() const;
    inline CString GetTooltip() const;
    inline COLORREF GetColor() const;
    void SetColor(COLORREF clr);
    // The colour as set (XTP_TABCOLOR_PREDEFINED + n or a colour), before the manager answers for it; setting
    // it draws nothing.
    COLORREF GetOwnColor() const { return m_clrItem; }
    void SetOwnColor(COLORREF clr) { m_clrItem = clr; }
    void SetTooltip(LPCTSTR lpszTooltip) { m_strToolTip = lpszTooltip; }

    HWND GetHandle() const { return m_hWnd; }
    void SetHandle(HWND hWnd) { m_hWnd = hWnd; }
    HICON GetIcon() const { return m_hIcon; }
    void SetIcon(HICON hIcon) { m_hIcon = hIcon; }
    int GetImageIndex() const { return m_nImage; }
    void SetImageIndex(int nImage) { m_nImage = nImage; }

    BOOL IsVisible() const { return m_bVisible; }
    void SetVisible(BOOL bVisible);
    BOOL IsEnabled() const { return m_bEnabled; }
    void SetEnabled(BOOL bEnabled);
    BOOL IsClosable() const { return m_bClosable; }
    void SetClosable(BOOL bClosable) { m_bClosable = bClosable; }

    void Select();
    void Remove();
    void Move(int nIndex);

    inline BOOL IsSelected() const;
    inline BOOL IsHot() const;
    int GetIndex() const { return m_nIndex; }
    CXTPTabManager* GetTabManager() const { return m_pManager; }

    // Set by the painter's layout.
    CRect GetRect() const { return m_rcItem; }
    void SetRect(const CRect& rc) { m_rcItem = rc; }
    int GetLength() const { return m_nLength; }
    void SetLength(int nLength) { m_nLength = nLength; }
    int GetContentLength() const { return m_nContentLength; }
    void SetContentLength(int nLength) { m_nContentLength = nLength; }
    int GetRow() const { return m_nRow; }
    void SetRow(int nRow) { m_nRow = nRow; }

private:
    friend class CXTPTabManager;

    int m_nLength = 0;
    int m_nContentLength = 0;
    int m_nImage = -1;
    int m_nIndex = -1;
    BOOL m_bEnabled = TRUE;
    BOOL m_bVisible = TRUE;
    HWND m_hWnd = nullptr;
    HICON m_hIcon = nullptr;
    CRect m_rcItem;
    CString m_strCaption;
    CString m_strToolTip;
    COLORREF m_clrItem = XTP_TABCOLOR_PREDEFINED;
    CXTPTabManager* m_pManager;
    int m_nRow = 0;
    BOOL m_bClosable = TRUE;
};

// One of the three buttons at the end of the strip: scroll back, scroll forward, close.
class CXTPTabManagerNavigateButton
{
public:
    enum { idBack = 0, idForward = 1, idClose = 2 };
    enum { modeHide = 0, modeAuto = 1, modeShow = 2 };

    CXTPTabManagerNavigateButton(CXTPTabManager* pManager, int nID, int nMode)
        : m_nID(nID), m_nMode(nMode), m_pManager(pManager)
    {
    }
    virtual ~CXTPTabManagerNavigateButton() = default;
    CXTPTabManagerNavigateButton(const CXTPTabManagerNavigateButton&) = delete;
    CXTPTabManagerNavigateButton& operator=(const CXTPTabManagerNavigateButton&) = delete;

    // Takes the button's part of the header length when it will be shown.
    virtual void AdjustWidth(int& nLength);
    // Modal while the left button is held; see the source.
    virtual void PerformClick(HWND hWnd, CPoint pt);
    // Places the button at the far end of the header and shortens the header by it.
    virtual void Reposition(CRect& rcHeader);
    // The glyph, in the pen and brush the painter selected.
    virtual void DrawEntry(CDC* pDC, CRect rc) = 0;
    // bTick: a repeat tick while held; otherwise the release over the button.
    virtual void OnExecute(BOOL bTick) = 0;

    void PerformMouseMove(HWND hWnd, CPoint pt);

    int GetID() const { return m_nID; }
    int GetMode() const { return m_nMode; }
    void SetMode(int nMode) { m_nMode = nMode; }
    CRect GetRect() const { return m_rc; }
    BOOL IsEnabled() const { return m_bEnabled; }
    BOOL IsPressed() const { return m_bPressed; }
    BOOL IsHot() const { return m_bHot; }
    CXTPTabManager* GetTabManager() const { return m_pManager; }

protected:
    // The rect of a visible button at the far end of the header.
    void PlaceAtEnd(CRect& rcHeader);

    int m_nID;
    int m_nMode;
    int m_nWidth = 14;
    int m_nHeight = 15;
    CXTPTabManager* m_pManager;
    CRect m_rc;
    BOOL m_bEnabled = TRUE;
    BOOL m_bPressed = FALSE;
    BOOL m_bHot = FALSE;
};

class CXTPTabManagerBase
{
public:
    virtual void Refresh() { Reposition(); }
    virtual ~CXTPTabManagerBase() = default;
    virtual void Reposition() = 0;
};

class CXTPTabManager : public CXTPTabManagerBase
{
public:
    // Rows of a multi-row header: first and last item index of each.
    class CRowIndexer
    {
    public:
        struct ROW
        {
            int nFirst;
            int nLast;
        };
        explicit CRowIndexer(CXTPTabManager* pManager) : m_pManager(pManager) { SetRowCount(1); }
        void SetRowCount(int nCount)
        {
            m_rows.assign(nCount > 0 ? nCount : 0, ROW{0, -1});
            if (nCount > 0)
                m_rows[0] = ROW{0, m_pManager->GetItemCount() - 1};
        }
        int GetRowCount() const { return static_cast<int>(m_rows.size()); }
        ROW& GetRow(int nRow) { return m_rows[nRow]; }

    private:
        CXTPTabManager* m_pManager;
        std::vector<ROW> m_rows;
    };

    CXTPTabManager();
    ~CXTPTabManager() override;
    CXTPTabManager(const CXTPTabManager&) = delete;
    CXTPTabManager& operator=(const CXTPTabManager&) = delete;

    virtual CString GetItemCaption(const CXTPTabManagerItem* pItem) { return pItem->m_strCaption; }
    virtual HICON GetItemIcon(const CXTPTabManagerItem* pItem) { return pItem->m_hIcon; }
    virtual COLORREF GetItemColor(const CXTPTabManagerItem* pItem);
    virtual CString GetItemTooltip(const CXTPTabManagerItem* pItem) { return pItem->m_strToolTip; }
    virtual void OnItemsChanged();
    virtual void SetSelectedItem(CXTPTabManagerItem* pItem);
    virtual void OnKeyboardSelect(CXTPTabManagerItem* pItem);
    virtual void GetItemMetrics(CSize* pszNormal, CSize* pszMin, CSize* pszMax) const;
    virtual CXTPTabPainter* GetPaintManager() const = 0;
    virtual void SetPaintManager(CXTPTabPainter* /*pPainter*/) {}
    virtual void RedrawControl() = 0;
    virtual BOOL IsAllowReorder() const { return m_bAllowReorder; }
    virtual void SetAllowReorder(BOOL bAllowReorder) { m_bAllowReorder = bAllowReorder; }
    // TRUE when the painter gives the client area its own border.
    virtual BOOL IsDrawStaticFrame() const;
    // Draws (bDraw) or only asks for the item's icon at pt in szIcon; TRUE when there is one. Without an item:
    // whether icons are shown at all.
    virtual BOOL DrawIcon(CDC* pDC, CPoint pt, CXTPTabManagerItem* pItem, BOOL bDraw, CSize szIcon) = 0;
    virtual int GetPosition() const;
    virtual void OnNavigateScroll(BOOL bForward);
    virtual BOOL IsNavigateButtonAutoVisible(const CXTPTabManagerNavigateButton* pButton) const;
    virtual void OnItemClick(CXTPTabManagerItem* pItem) { SetSelectedItem(pItem); }
    virtual void ReOrderItem(HWND hWnd, CPoint pt, CXTPTabManagerItem* pItem);
    virtual void OnNavigateButtonClick(int /*nID*/) {}
    virtual BOOL IsMouseLocked() const { return FALSE; }
    virtual BOOL OnKeyDown(HWND hWnd, UINT nKey);
    virtual BOOL IsFocusCueVisible() const { return FALSE; }

    // Items
    CXTPTabManagerItem* InsertItem(int nIndex, CXTPTabManagerItem* pItem = nullptr);
    BOOL DeleteItem(int nIndex);
    void DeleteAllItems();
    void MoveItem(CXTPTabManagerItem* pItem, int nIndex);
    // The items at two valid indexes change places.
    void SwapItems(int nFirst, int nSecond);
    int GetItemCount() const { return static_cast<int>(m_arrItems.size()); }
    CXTPTabManagerItem* GetItem(int nIndex) const
    {
        return nIndex >= 0 && nIndex < GetItemCount() ? m_arrItems[nIndex] : nullptr;
    }
    void SetCurSel(int nIndex);
    int GetCurSel() const { return m_pSelected ? m_pSelected->GetIndex() : -1; }
    CXTPTabManagerItem* GetSelectedItem() const { return m_pSelected; }
    CXTPTabManagerItem* GetHotItem() const { return m_pHot; }
    CXTPTabManagerItem* FindNextSelectableItem(int nIndex, int nStep) const;
    CXTPTabManagerItem* HitTest(CPoint pt) const;
    int GetItemsLength() const;

    // Navigate buttons
    int GetNavigateButtonCount() const { return static_cast<int>(m_arrNavigateButtons.size()); }
    CXTPTabManagerNavigateButton* GetNavigateButton(int nIndex) const { return m_arrNavigateButtons[nIndex]; }
    CXTPTabManagerNavigateButton* FindNavigateButton(int nID) const;

    // Scrolling: the offset is never positive; a change re-lays out.
    int GetHeaderOffset() const { return m_nHeaderOffset; }
    void SetHeaderOffset(int nOffset)
    {
        if (nOffset > 0)
            nOffset = 0;
        if (nOffset != m_nHeaderOffset) {
            m_nHeaderOffset = nOffset;
            Reposition();
        }
    }
    int GetScrollStep() const { return m_nScrollStep; }

    BOOL IsActive() const { return m_bActive; }
    void SetActive(BOOL bActive);
    void SetItemMetrics(CSize szNormal, CSize szMin, CSize szMax);

    // Painter settings, each followed by a new layout.
    void SetShowIcons(BOOL bShowIcons);
    void SetPosition(int nPosition);
    void SetLayout(int nLayout);
    int GetLayout() const;
    CXTPTabColors* SetColors(int nID);
    CXTPTabStyle* SetStyle(int nID);
    CXTPTabColors* SetColorsObject(CXTPTabColors* pColors);
    CXTPTabStyle* SetStyleObject(CXTPTabStyle* pStyle);
    void EnableTabThemeTexture(HWND hWnd, BOOL bEnable);

    // Mouse: a click on a navigate button or a tab; TRUE when something was hit.
    BOOL PerformClick(HWND hWnd, CPoint pt, BOOL bNavigateOnly = FALSE);
    void PerformMouseMove(HWND hWnd, CPoint pt);
    // The tool of an item for the tip context: its index, or -1 without an item or tip, when tips are off, or (in
    // mode 2) when the caption is not shortened. Filled as CTipContext::FillToolInfo does, the tooltip as text and,
    // in a TOOLINFO of the titled size, the caption as its title over the tooltip.
    INT_PTR OnToolHitTest(HWND hWnd, CXTPTabManagerItem* pItem, TOOLINFO* pTI) const;

    // Geometry of the last layout, kept by the painter.
    CRect GetHeaderRect() const { return m_rcHeaderRect; }
    void SetHeaderRect(const CRect& rc) { m_rcHeaderRect = rc; }
    CRect GetControlRect() const { return m_rcControl; }
    void SetControlRect(const CRect& rc) { m_rcControl = rc; }
    CRect GetClientRect() const { return m_rcClient; }
    void SetClientRect(const CRect& rc) { m_rcClient = rc; }
    void SetHeaderOffsetValue(int nOffset) { m_nHeaderOffset = nOffset > 0 ? 0 : nOffset; }
    CRowIndexer* GetRowIndexer() const { return m_pRowIndexer; }
    void SetHotItem(CXTPTabManagerItem* pItem) { m_pHot = pItem; }

protected:
    CXTPTabManagerItem* m_pSelected = nullptr;
    CXTPTabManagerItem* m_pHot = nullptr;
    int m_nHeaderOffset = 0;
    BOOL m_bAllowReorder = TRUE;
    BOOL m_bActive = TRUE;
    CSize m_szItemNormal{70, 18};
    CSize m_szItemMin{0, 0};
    CSize m_szItemMax{0, 0};
    CRect m_rcHeaderRect;
    CRect m_rcControl;
    CRect m_rcClient;
    std::vector<CXTPTabManagerItem*> m_arrItems;
    std::vector<CXTPTabManagerNavigateButton*> m_arrNavigateButtons;
    CRowIndexer* m_pRowIndexer;
    int m_nScrollStep = 20;
    int m_nColorCounter = 0;
};

inline BOOL CXTPTabManagerItem::IsSelected() const
{
    return m_pManager && m_pManager->GetSelectedItem() == this;
}

inline BOOL CXTPTabManagerItem::IsHot() const
{
    return m_pManager && m_pManager->GetHotItem() == this;
}

inline CString CXTPTabManagerItem::GetCaption() const
{
    return m_pManager ? m_pManager->GetItemCaption(this) : m_strCaption;
}

inline CString CXTPTabManagerItem::GetTooltip() const
{
    return m_pManager ? m_pManager->GetItemTooltip(this) : m_strToolTip;
}

inline COLORREF CXTPTabManagerItem::GetColor() const
{
    return m_pManager ? m_pManager->GetItemColor(this) : m_clrItem;
}
