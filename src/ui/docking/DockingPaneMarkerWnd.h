// The windows of a translucent drag: the ghost that shows where the dragged element would land (a layered window
// of alpha 100 in the highlight colour), and the docking markers, arrows the cursor drops onto, cut to their
// artwork's shape by a window region. A centre marker sits on the container under the cursor, edge markers along
// the frame.
#pragma once

#include "platform/mfc/afxwin.h"

class CXTPDockingPaneGhostWnd : public CWnd
{
public:
    CXTPDockingPaneGhostWnd() = default;
    // Makes the window (hidden, no size) owned by pParent, translucent through the entry when there is one.
    typedef BOOL(WINAPI* PFN_SETLAYEREDWINDOWATTRIBUTES)(HWND, COLORREF, BYTE, DWORD);
    BOOL CreateGhost(CWnd* pParent, PFN_SETLAYEREDWINDOWATTRIBUTES pfnSetLayeredWindowAttributes);

    static const BYTE nAlpha = 100;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

// Marker flag bits: the four directions, the centre's tab, and "this is the centre marker" (its arrows refer to the
// container under the cursor, an edge marker's to the frame).
enum XTPDockingPaneMarkerFlags
{
    xtpMarkerLeft = 1,
    xtpMarkerRight = 2,
    xtpMarkerTop = 4,
    xtpMarkerBottom = 8,
    xtpMarkerTab = 16,
    xtpMarkerCentre = 32
};

class CXTPDockingPaneMarkerWnd : public CWnd
{
public:
    // nStyle: the manager's marker style, 0 (scheme arrows on a square) or 1 (one sheet).
    CXTPDockingPaneMarkerWnd(int nFlags, int nStyle);

    int GetFlags() const { return m_nFlags; }
    int GetHotCode() const { return m_nHotCode; }
    // The piece of this flag is drawn hot; a change redraws the marker.
    void SetHotCode(int nHotCode);
    // The flag whose piece lies under the screen point, in the order top, left, bottom, right, tab; 0 for none.
    int HitTest(CPoint ptScreen) const;
    // Every piece of the flags, the one of the hot code hot.
    void DrawMarker(CDC* pDC) const;

    // The window's size for these flags in a style.
    static CSize GetMarkerSize(int nFlags, int nStyle);
    // The marker's shape: every pixel its pieces cover (drawn into black, what is not black).
    static HRGN CreateMarkerRegion(int nFlags, int nStyle);

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    // One piece: the flag's arrow (or the tab, or the centre's background for 0) at its place.
    static void DrawPiece(CDC* pDC, int nFlags, int nStyle, int nPiece, BOOL bHot);
    static void DrawPieces(CDC* pDC, int nFlags, int nStyle, int nHotCode);

    int m_nFlags;
    int m_nHotCode = 0;
    int m_nStyle;
};
