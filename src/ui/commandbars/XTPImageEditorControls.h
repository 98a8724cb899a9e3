// The smaller controls of the button image editor: a colour cell of the palette, the preview at real size, and
// the tool bars whose buttons take their states from the dialog on idle.
#pragma once

#include "platform/mfc/afxctrls.h"
#include "platform/mfc/afxext.h"

class CXTPImageEditorDlg;

// A colour cell: a click tells the parent (WM_NOTIFY, NM_CLICK with the cell's id).
class CXTPImageEditorPicker : public CStatic
{
public:
    void SetColor(COLORREF clr);
    COLORREF GetColor() const { return m_clr; }
    void SetSelected(BOOL bSelected);
    BOOL IsSelected() const { return m_bSelected; }

    void Draw(CDC* pDC);

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    COLORREF m_clr = 0;
    BOOL m_bSelected = FALSE;
};

// The dialog's picture at its real size.
class CXTPImageEditorPreview : public CStatic
{
public:
    void Init(CXTPImageEditorDlg* pDlg) { m_pDlg = pDlg; }
    void Draw(CDC* pDC);

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    CXTPImageEditorDlg* m_pDlg = nullptr;
};

class CXTPImageEditorToolBar : public CToolBar
{
protected:
    // While visible, every button asks the parent for its command's state (enabled, checked).
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
