// CReBar: the system's rebar control as a control bar. Each band carries one child window; the control arranges
// the bands itself, and the frame gives it the width of its edge and the height the bands need.
#pragma once

#include "afxcontrolbar.h"
#include "afxres.h"

#include <commctrl.h>

class CReBar : public CControlBar
{
    DECLARE_DYNAMIC(CReBar)
public:
    BOOL Create(CWnd* pParentWnd, DWORD dwCtrlStyle = RBS_BANDBORDERS,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP,
                UINT nID = AFX_IDW_REBAR);
    // A band at the end carrying the window (made a child of the rebar), at the window's present size.
    BOOL AddBar(CWnd* pBar, LPCTSTR pszText = nullptr, DWORD dwStyle = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP);
    int GetBandCount() const { return static_cast<int>(SendMessage(RB_GETBANDCOUNT)); }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* /*pTarget*/, BOOL /*bDisableIfNoHndler*/) override {}

protected:
    // The bands took another height: the frame lays its bars out again.
    afx_msg void OnHeightChange(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()
};
