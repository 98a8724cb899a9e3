// A child window showing a strip of tabs and, beside it, the window bound to the selected tab. The input-form
// views hold one (style 5, colour set 4) and switch sheets on its TCN_SELCHANGE.
#pragma once

#include "ui/docking/TabManager.h"
#include "ui/themes/TipContext.h"

#include "platform/mfc/afxoledroptarget.h"
#include "platform/mfc/afxwin.h"

class CImageList;
class CXTPImageManager;

class CXTPTabCtrl : public CWnd, public CXTPTabManager
{
    DECLARE_DYNAMIC(CXTPTabCtrl)
public:
    CXTPTabCtrl();
    ~CXTPTabCtrl() override;

    // Both CWnd's and the manager's names stay reachable.
    using CWnd::GetClientRect;
    using CXTPTabManager::GetClientRect;
    using CXTPTabManager::InsertItem;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // A tab with a caption, bound to a window (hidden until its tab is selected) and an image id.
    CXTPTabManagerItem* InsertItem(int nIndex, LPCTSTR lpszCaption, HWND hWndItem = nullptr, int nImage = -1);
    // The list's images become the icons of image ids 0, 1, ... (their size from the first image).
    void SetImageList(CImageList* pImageList);
    CXTPImageManager* GetImageManager() const { return m_pImageManager; }
    // bLarger FALSE: the page area the painter leaves in a window rect; TRUE: the window rect around a page.
    void AdjustRect(BOOL bLarger, LPRECT lpRect);
    // 0 no tips, 1 always, 2 only for shortened captions.
    void SetToolTipMode(int nMode);
    HWND GetShownWindow() const { return m_hWndShown; }

    // The tab manager's operations that need the window.
    void Reposition() override;
    CXTPTabPainter* GetPaintManager() const override { return m_pPainter; }
    // Takes one reference of the painter; the former one is released, not deleted, so that a painter shared
    // with another strip lives on.
    void SetPaintManager(CXTPTabPainter* pPainter) override;
    void RedrawControl() override;
    void SetSelectedItem(CXTPTabManagerItem* pItem) override;
    void OnItemClick(CXTPTabManagerItem* pItem) override;
    void OnKeyboardSelect(CXTPTabManagerItem* pItem) override;
    void OnNavigateButtonClick(int nID) override;
    BOOL IsFocusCueVisible() const override;
    BOOL DrawIcon(CDC* pDC, CPoint pt, CXTPTabManagerItem* pItem, BOOL bDraw, CSize szIcon) override;
    // The tab under the point, through the manager.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    CTipContext* GetToolTipContext() { return &m_tipContext; }
    // Registered with the window: dragging data over a tab selects it (when the painter says so); the data is
    // never accepted.
    COleDropTarget* GetDropTarget() { return &m_dropTarget; }

protected:
    DECLARE_MESSAGE_MAP()

    void PreSubclassWindow() override;
    // Every message passes the tip context first.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg LRESULT OnKeyDownMessage(WPARAM wParam, LPARAM lParam);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnSysColorChange();

private:
    class CDropTarget : public COleDropTarget
    {
    public:
        explicit CDropTarget(CXTPTabCtrl* pCtrl) : m_pCtrl(pCtrl) {}
        DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
        DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;

    private:
        CXTPTabCtrl* m_pCtrl;
    };

    // The parent hides focus cues (WM_QUERYUISTATE).
    BOOL IsFocusHiddenByParent() const;

    HWND m_hWndShown = nullptr;
    CXTPTabPainter* m_pPainter;
    CXTPImageManager* m_pImageManager;
    CDropTarget m_dropTarget{this};
    CTipContext m_tipContext{this};
};
