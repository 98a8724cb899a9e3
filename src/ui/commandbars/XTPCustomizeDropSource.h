// The manager's customise drag of a control: from a bar to another bar, within a bar, or from the customise
// sheet's command list onto a bar. The bars register as targets while their windows live; a drag follows the
// mouse in a loop of its own until the button is released (drop), or Esc, the right button, a lost capture or
// WM_CANCELMODE cancels it.
#pragma once

#include "ui/commandbars/CommandBarsDefs.h"

#include <vector>

class CXTPCommandBar;
class CXTPCommandBars;
class CXTPControl;
class CXTPCustomizeSheet;

class CXTPCustomizeDropSource
{
public:
    explicit CXTPCustomizeDropSource(CXTPCommandBars* pCommandBars);
    ~CXTPCustomizeDropSource();
    CXTPCustomizeDropSource(const CXTPCustomizeDropSource&) = delete;
    CXTPCustomizeDropSource& operator=(const CXTPCustomizeDropSource&) = delete;

    // A bar window made or destroyed; a destroyed bar is no longer the current target either.
    void Register(CXTPCommandBar* pBar);
    void Unregister(CXTPCommandBar* pBar);
    BOOL IsRegistered(const CXTPCommandBar* pBar) const;

    CXTPCustomizeSheet* GetSheet() const { return m_pSheet; }
    void SetSheet(CXTPCustomizeSheet* pSheet) { m_pSheet = pSheet; }

    // Drags the control until it is dropped: DROPEFFECT_NONE (released outside every bar), DROPEFFECT_COPY,
    // DROPEFFECT_MOVE, or XTP_DROPEFFECT_CANCEL. bCopyOnly: the control always stays where it was.
    DROPEFFECT DoDragDrop(CXTPControl* pControl, BOOL bCopyOnly);

    // While a drag runs: the bar under the pointer that accepts the control, and whether it would move.
    CXTPCommandBar* GetTarget() const { return m_pTarget; }
    BOOL IsMove() const { return m_bMove && !m_bCopyOnly; }
    // The cursor of the drag's state: no drop, move or copy.
    UINT GetCursorId() const;

private:
    // The bar under a screen point gets the drag over, enter or leave; the cursor follows.
    void UpdateTarget(CPoint ptScreen);
    void UpdateCursor();
    void LeaveTarget();
    DROPEFFECT Drop(CPoint ptScreen, DROPEFFECT nResult);
    // One message of the loop; TRUE while the drag goes on (nResult holds the answer once it ends).
    BOOL OnDragMessage(const MSG& msg, DROPEFFECT& nResult, BOOL& bFirstMove);

    HWND m_hWndCapture = nullptr;
    CXTPControl* m_pControl = nullptr;
    BOOL m_bMove = FALSE;
    BOOL m_bCopyOnly = FALSE;
    CXTPCommandBar* m_pTarget = nullptr;
    CXTPCustomizeSheet* m_pSheet = nullptr;
    CPoint m_ptStart;
    std::vector<CXTPCommandBar*> m_arrTargets;
    CXTPCommandBars* m_pCommandBars;
};
