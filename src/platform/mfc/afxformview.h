// CFormView: a view made from a dialog template, a child of its frame. Its controls work as in a modeless
// dialog (tab, mnemonics, default button); the members are loaded at the initial update.
#pragma once

#include "afxview.h"

class CFormView : public CView
{
    DECLARE_DYNAMIC(CFormView)
protected:
    explicit CFormView(UINT nIDTemplate) : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)) {}
    explicit CFormView(LPCTSTR lpszTemplateName) : m_lpszTemplateName(lpszTemplateName) {}

public:
    // The template gives the controls and the style; dwStyle adds WS_VISIBLE and the border.
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = nullptr) override;
    void OnInitialUpdate() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    void OnDraw(CDC*) override {}

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    DECLARE_MESSAGE_MAP()

    LPCTSTR m_lpszTemplateName;

private:
    CCreateContext* m_pCreateContext = nullptr;   // for OnCreate: a dialog's creation cannot carry it
    HWND m_hWndFocus = nullptr;                   // the control that had the focus when the view lost it
};
