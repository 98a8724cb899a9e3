// The button image editor: a modal dialog that shows a button's icon enlarged on a grid and lets the user paint
// it (pencil, fill, line, rectangle, ellipse, colour pick), move it by one pixel, undo and redo, copy, paste and
// import it from a file. The caller reads the result with GetIcon after DoModal answered IDOK.
#pragma once

#include "platform/mfc/afxdialog.h"
#include "platform/mfc/afximagelist.h"
#include "ui/commandbars/XTPImageEditorControls.h"
#include "ui/commandbars/XTPImageEditorPicture.h"

#include <commctrl.h>

class CXTPControl;
class CXTPImageManagerIconHandle;

class CXTPImageEditorDlg : public CDialog
{
    DECLARE_DYNAMIC(CXTPImageEditorDlg)
public:
    explicit CXTPImageEditorDlg(CWnd* pParent = nullptr);
    ~CXTPImageEditorDlg() override;

    // The picture's size in pixels (16 x 16 until set); set before DoModal.
    void SetSize(int cx, int cy);
    CSize GetSize() const { return m_szPicture; }
    // The picture to edit, taking the image's size; an empty handle changes nothing.
    void SetIcon(const CXTPImageManagerIconHandle& hIcon);
    // The edited picture: an alpha picture as an alpha bitmap, any other as an icon masked by the transparent
    // pixels. Left empty when the icon cannot be made.
    void GetIcon(CXTPImageManagerIconHandle& hIcon) const;

    // What the customise sheet's "edit icon" command runs: the editor on the control's icon at its bar's icon
    // size (an empty picture of that size when the icon is missing), owned by pOwner. On OK the result
    // replaces the control's custom icon, or becomes a new custom icon of the image manager that the control
    // then shows. TRUE when the control's icon changed.
    static BOOL EditControlIcon(CXTPControl* pControl, CWnd* pOwner);

    // The current tool (XTPImageEditorTool) and colour (of the selected colour cell, 0 when none).
    int GetCurrentTool() const { return m_nCurrentTool; }
    COLORREF GetCurrentColor() const { return m_pSelectedPicker ? m_pSelectedPicker->GetColor() : 0; }
    // The current picture, null while empty.
    CXTPImageEditorBitmap* GetPicture() const { return m_wndPicture.GetPicture(); }

    // From the picture: a colour picked from it becomes the custom colour, and the tool before the pick returns.
    void OnPickColor(COLORREF clr);
    void OnPictureChanged();

    // Whether the 32-bit tool images can be used; the common controls' own answer unless replaced.
    BOOL (*m_pfnIsComCtlVersion6)() = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
    afx_msg void OnTool(UINT nID);
    afx_msg void OnUpdateTool(CCmdUI* pCmdUI);
    afx_msg void OnUndo();
    afx_msg void OnUpdateUndo(CCmdUI* pCmdUI);
    afx_msg void OnRedo();
    afx_msg void OnUpdateRedo(CCmdUI* pCmdUI);
    afx_msg void OnClear();
    afx_msg void OnCopy();
    afx_msg void OnPaste();
    afx_msg void OnImportFile();
    afx_msg void OnMove(UINT nID);
    afx_msg void OnColorClick(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    void CreateToolBars();
    void CreatePalette();
    void SelectPicker(CXTPImageEditorPicker* pPicker);

    CWnd m_wndToolsFrame;
    CWnd m_wndMoveFrame;
    CXTPImageEditorToolBar m_wndToolBarTools;
    CImageList m_ilTools;
    CXTPImageEditorToolBar m_wndToolBarMove;
    CImageList m_ilMove;
    CXTPImageEditorPicker m_wndPalette[16];
    CXTPImageEditorPicker m_wndPickerCustom;
    CXTPImageEditorPicker m_wndPickerTransparent;
    CXTPImageEditorPicture m_wndPicture;
    CXTPImageEditorPreview m_wndPreview;
    CXTPImageEditorPicker* m_pSelectedPicker = nullptr;
    int m_nCurrentTool = xtpImageEditorToolPencil;
    int m_nPreviousTool = xtpImageEditorToolPencil;
    CSize m_szPicture = CSize(16, 16);
    std::unique_ptr<CXTPImageEditorBitmap> m_pInitialPicture;   // handed to the picture control when it is made
};
