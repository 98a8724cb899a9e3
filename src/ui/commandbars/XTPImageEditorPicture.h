// The enlarged picture of the button image editor: one cell of screen pixels per picture pixel, transparent
// pixels on a checkerboard. The mouse paints with the editor's current tool; every finished change can be
// undone (the last 16) and redone.
#pragma once

#include "platform/mfc/afxctrls.h"
#include "ui/commandbars/XTPImageEditorBitmap.h"

#include <deque>

class CXTPImageEditorDlg;

enum XTPImageEditorTool
{
    xtpImageEditorToolPencil = 0,
    xtpImageEditorToolFill = 1,
    xtpImageEditorToolPickColor = 2,
    xtpImageEditorToolLine = 3,
    xtpImageEditorToolRectangle = 4,
    xtpImageEditorToolEllipse = 5
};

class CXTPImageEditorPicture : public CStatic
{
public:
    CXTPImageEditorPicture();
    ~CXTPImageEditorPicture() override;

    // Takes the dialog's editor size: the cells fill the window (at least one screen pixel each) and the window
    // shrinks to the cells and its frame.
    void Init(CXTPImageEditorDlg* pDlg);
    CSize GetCellSize() const { return m_szCell; }
    // The picture that starts the editing (no undo step); null for an empty picture.
    void SetPicture(std::unique_ptr<CXTPImageEditorBitmap> pPicture);
    CXTPImageEditorBitmap* GetPicture() const { return m_pPicture.get(); }

    // A finished change: the picture given replaces the current one, which can be undone.
    void Apply(std::unique_ptr<CXTPImageEditorBitmap> pPicture);
    // The current picture emptied, moved by one pixel (as a change).
    void Clear();
    void Move(int dx, int dy);
    BOOL CanUndo() const { return !m_undo.empty(); }
    BOOL CanRedo() const { return !m_redo.empty(); }
    void Undo();
    void Redo();

    // The client area: every pixel shows the picture pixel under it.
    void Draw(CDC* pDC);

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()

private:
    typedef std::deque<std::unique_ptr<CXTPImageEditorBitmap>> CPictureList;

    CPoint PixelFromPoint(CPoint point) const;
    // The picture starts a change: it becomes the snapshot, a copy of it the current picture.
    void BeginChange();
    void PushChange();
    void Stroke(CPoint ptPixel);
    void FloodFill(CPoint ptPixel);
    void Changed();

    CXTPImageEditorDlg* m_pDlg = nullptr;
    CSize m_szPicture;
    CSize m_szCell;
    std::unique_ptr<CXTPImageEditorBitmap> m_pPicture;
    std::unique_ptr<CXTPImageEditorBitmap> m_pSnapshot;
    BOOL m_bChangeOpen = FALSE;   // the snapshot waits to be pushed
    CPictureList m_undo;
    CPictureList m_redo;
    BOOL m_bDrawing = FALSE;
    CPoint m_ptStart;
    COLORREF m_clrStroke = 0;
    HCURSOR m_hCursorShape = nullptr;
    HCURSOR m_hCursorPick = nullptr;
    HCURSOR m_hCursorFill = nullptr;
    HCURSOR m_hCursorPencil = nullptr;
};
