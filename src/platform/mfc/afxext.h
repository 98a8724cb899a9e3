// CToolBar: the system's toolbar control, filled from a toolbar resource (RT_TOOLBAR: version 1, image width and
// height, the count, then one command id per button, 0 for a separator) and the bitmap of the same id.
#pragma once

#include "afxgdi.h"
#include "afxres.h"
#include "afxwnd.h"

#include <commctrl.h>

// The resource type of tool bars (the system defines none).
#define RT_TOOLBAR MAKEINTRESOURCE(241)

class CToolBar : public CWnd
{
    DECLARE_DYNAMIC(CToolBar)
public:
    // The control as a child of the parent, along its top edge.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CCS_TOP, UINT nID = AFX_IDW_TOOLBAR);

    // Replaces the buttons with those of the resource and its images; both are looked up with
    // AfxFindResourceHandle. FALSE (the buttons left as they were) when the control is not made, or the resource
    // or its bitmap is missing or damaged.
    BOOL LoadToolBar(LPCTSTR lpszResourceName);
    BOOL LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCE(nIDResource)); }
    // Replaces the buttons with one per command (0: a separator), the commands taking the images in order.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);

    int GetCount() const;
    // The command id of a button, 0 for a separator.
    UINT GetItemID(int nIndex) const;
    CSize GetImageSize() const { return m_sizeImage; }

private:
    CBitmap m_bitmap;   // the images; the control does not own them
    CSize m_sizeImage;
};
