// The status bar's decisions that need no window: where the control's parts end, how wide the last pane is, and
// how the bar answers the window-text messages for its message pane (id 0).
#pragma once

#include "platform/mfc/afxwin.h"

#include <vector>

struct XTP_STATUSBAR_PART
{
    int nWidth;       // content width, without the pane margin
    BOOL bStretch;    // shares the free width with the other stretch panes
};

class CXTPStatusBarLayout
{
public:
    enum { paneMargin = 6 };

    // The right edges for SB_SETPARTS of the visible panes in order, given the inside width and the control's
    // horizontal border and gap. Stretch panes share what the fixed ones leave (the first gets free / n, and so
    // on); with nothing left, every pane keeps its own width and the parts still follow one another.
    static std::vector<int> CalcPartEdges(const std::vector<XTP_STATUSBAR_PART>& arrParts, int nInsideWidth,
                                          int nBorderX, int nGap);

    // The right edge of the last visible pane: its content and three edges, or the client's right (less the
    // size grip) when it stretches.
    static int CalcLastPaneRight(int nLeft, const XTP_STATUSBAR_PART& part, int nClientRight, BOOL bSizeGrip);

    // WM_SETTEXT answers as Win32 does: TRUE when the text was set.
    static LRESULT AnswerSetText(BOOL bSet) { return bSet ? TRUE : FALSE; }
    // WM_GETTEXT: at most nMaxCount - 1 characters and the terminator; the count copied without it. pText is null
    // when the bar has no message pane: an empty text.
    static LRESULT CopyText(const CString* pText, LPTSTR lpszBuffer, WPARAM nMaxCount);
    static LRESULT GetTextLength(const CString* pText) { return pText ? pText->GetLength() : 0; }
};
