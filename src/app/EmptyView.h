// The start page: the view the frame shows while no form or report is open.
#pragma once

#include "platform/mfc/afxview.h"

class CEmptyView : public CView
{
    DECLARE_DYNCREATE(CEmptyView)
public:
    static constexpr COLORREF BACKGROUND = RGB(0x00, 0x5C, 0xC0);
    static constexpr COLORREF TITLE_TEXT = RGB(0xFF, 0xFF, 0x00);
    static constexpr COLORREF SUBTITLE_TEXT = RGB(0x80, 0xFF, 0x00);

    void OnDraw(CDC* pDC) override;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};
