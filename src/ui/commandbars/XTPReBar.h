// A rebar that hosts command bars: each band carries one toolbar (band id = the bar's id), sized from the bar's
// docked layout; the bands' order, widths and styles go to the profile and come back from it.
#pragma once

#include "platform/mfc/afxrebar.h"

class CXTPToolBar;

class CXTPReBar : public CReBar
{
    DECLARE_DYNAMIC(CXTPReBar)
public:
    // The bar leaves its dock bar and docking, loses its gripper and goes into a new last band.
    BOOL AddToolBar(CXTPToolBar* pToolBar, DWORD dwStyle = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP);
    void DeleteToolBar(CXTPToolBar* pToolBar);
    // The band of the bar, from the last band to the first; -1 when none carries it.
    int FindBand(CXTPToolBar* pToolBar) const;
    CXTPToolBar* GetToolBar(int nBand) const;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

    // "RebarStateInfo" in the section.
    void SaveState(LPCTSTR lpszProfileName);
    void LoadState(LPCTSTR lpszProfileName);

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};
