// Small windows to place in status-bar panes (SetPaneControl): a base that paints the face colour off screen and
// leaves the content to its kind, a text window in its own bold font, and an icon window that greys its icon while
// disabled.
#pragma once

#include "platform/mfc/afxwin.h"

class CXTPStatusBarPaneWnd : public CWnd
{
    DECLARE_DYNCREATE(CXTPStatusBarPaneWnd)
public:
    // A child of the bar (or any parent) with an empty rectangle: the bar places it over its pane.
    virtual BOOL Create(LPCTSTR lpszText, CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                        UINT nID = 0xFFFF);
    CString GetText() const { return m_strText; }

protected:
    // The content over the face colour, in client coordinates.
    virtual void DrawContent(CDC* /*pDC*/, CRect /*rcClient*/) {}

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    CString m_strText;
};

// The text centred in the shadow colour, in the status font made bold unless another font is set.
class CXTPStatusBarTextPaneWnd : public CXTPStatusBarPaneWnd
{
    DECLARE_DYNCREATE(CXTPStatusBarTextPaneWnd)
public:
    CXTPStatusBarTextPaneWnd();

    BOOL Create(LPCTSTR lpszText, CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                UINT nID = 0xFFFF) override;
    void SetFont(LPCTSTR lpszFaceName, int nHeight, int nWeight = FW_BOLD, BOOL bItalic = FALSE,
                 BOOL bUnderline = FALSE);
    void SetFont(const LOGFONT* pLogFont);
    CFont* GetTextFont() { return &m_font; }
    // The text's size in the font (on the screen), for the width of its pane.
    CSize GetTextExtent() const { return m_szText; }

protected:
    void DrawContent(CDC* pDC, CRect rcClient) override;

private:
    void UpdateTextExtent();

    CFont m_font;
    CSize m_szText;
};

// A small icon centred in the window; drawn as a grey silhouette while the window is disabled.
class CXTPStatusBarIconPaneWnd : public CXTPStatusBarPaneWnd
{
    DECLARE_DYNCREATE(CXTPStatusBarIconPaneWnd)
public:
    CXTPStatusBarIconPaneWnd();
    ~CXTPStatusBarIconPaneWnd() override;

    // The small icon of a resource, from the module that holds it; FALSE (and no icon) when it does not load.
    BOOL SetIcon(LPCTSTR lpszResourceName);
    BOOL SetIcon(UINT nIDResource) { return SetIcon(MAKEINTRESOURCE(nIDResource)); }
    HICON GetIcon() const { return m_hIcon; }

protected:
    void DrawContent(CDC* pDC, CRect rcClient) override;

    afx_msg void OnEnable(BOOL bEnable);
    DECLARE_MESSAGE_MAP()

private:
    int m_cxIcon;
    int m_cyIcon;
    HICON m_hIcon = nullptr;
};
