// The three bars of the word-processing control, plain child windows of the view: the button bar (bold,
// italic, underline of the selection), the ruler (centimetres of the page's text width) and the status bar
// (the caret's page of the document's pages).
#pragma once

#include "platform/mfc/afxwin.h"
#include "platform/textdoc/TxControl.h"

class CTxBar : public CWnd
{
public:
    enum Kind { buttonBar, ruler, statusBar };

    explicit CTxBar(Kind nKind) : m_nKind(nKind) {}
    BOOL Create(CWnd* pParent, UINT nID, CTX4OLE* pControl);
    // The bar's own height in pixels.
    int GetHeight() const;
    // The status bar shows the page again.
    void Refresh();

protected:
    afx_msg void OnPaint();
    afx_msg void OnButton(UINT nID);
    DECLARE_MESSAGE_MAP()

private:
    Kind m_nKind;
    CTX4OLE* m_pControl = nullptr;
    CButton m_buttons[3];
};
