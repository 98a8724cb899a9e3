#include "ui/themes/ThemedTree.h"

#include "ui/themes/ColorTable.h"
#include "ui/themes/MemDC.h"
#include "ui/themes/UiGlobalData.h"

#include <cstdlib>
#include <cwctype>

namespace
{
BOOL IsKeyDown(int nVirtKey)
{
    return (::GetKeyState(nVirtKey) & 0x8000) != 0;
}

BOOL IsWordChar(TCHAR ch)
{
    return ch == L'_' || std::iswalpha(ch);
}

// Reads the thread's messages until the end condition holds; every other message is dispatched. A WM_QUIT met
// on the way is put back for the outer loop.
template <class Handle>
void TrackMessages(HWND hWnd, Handle handle)
{
    MSG msg;
    while (::GetCapture() == hWnd) {
        if (!AfxGetModalLoopMessage(&msg))
            return;
        if (handle(msg))
            return;
    }
}
}

HTREEITEM CXTTreeBase::GetNextItem(HTREEITEM hItem, UINT nCode) const
{
    return TreeView_GetNextItem(TreeHwnd(), hItem, nCode);
}

HTREEITEM CXTTreeBase::GetNextItem(HTREEITEM hItem) const
{
    if (HTREEITEM hChild = GetNextItem(hItem, TVGN_CHILD))
        return hChild;
    for (HTREEITEM h = hItem; h; h = GetNextItem(h, TVGN_PARENT)) {
        if (HTREEITEM hNext = GetNextItem(h, TVGN_NEXT))
            return hNext;
    }
    return nullptr;
}

HTREEITEM CXTTreeBase::GetItemBefore(HTREEITEM hItem) const
{
    if (HTREEITEM hPrev = GetNextItem(hItem, TVGN_PREVIOUS))
        return GetLastItem(hPrev);
    return GetNextItem(hItem, TVGN_PARENT);
}

HTREEITEM CXTTreeBase::GetLastItem(HTREEITEM hItem) const
{
    HTREEITEM hLast = hItem;
    if (!hLast) {
        // The last root.
        for (HTREEITEM h = GetNextItem(nullptr, TVGN_ROOT); h; h = GetNextItem(h, TVGN_NEXT))
            hLast = h;
    }
    while (HTREEITEM hChild = hLast ? GetNextItem(hLast, TVGN_CHILD) : nullptr) {
        hLast = hChild;
        while (HTREEITEM hNext = GetNextItem(hLast, TVGN_NEXT))
            hLast = hNext;
    }
    return hLast;
}

CString CXTTreeBase::GetLabel(HTREEITEM hItem) const
{
    TCHAR szText[1024] = {};
    TVITEM item = {};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = hItem;
    item.pszText = szText;
    item.cchTextMax = _countof(szText);
    TreeView_GetItem(TreeHwnd(), &item);
    return szText;
}

BOOL CXTTreeBase::IsLabelMatch(HTREEITEM hItem, const CString& strSearch, BOOL bMatchCase, BOOL bWholeWord) const
{
    CString strLabel = GetLabel(hItem);
    if (!bMatchCase)
        strLabel.MakeLower();
    for (int nFound = strLabel.Find(strSearch); nFound >= 0; nFound = strLabel.Find(strSearch, nFound + 1)) {
        if (!bWholeWord)
            return TRUE;
        const int nEnd = nFound + strSearch.GetLength();
        const BOOL bBefore = nFound > 0 && IsWordChar(strLabel[nFound - 1]);
        const BOOL bAfter = nEnd < strLabel.GetLength() && IsWordChar(strLabel[nEnd]);
        if (!bBefore && !bAfter)
            return TRUE;
    }
    return FALSE;
}

HTREEITEM CXTTreeBase::FindItem(LPCTSTR lpszSearch, BOOL bMatchCase, BOOL bDown, BOOL bWholeWord, HTREEITEM hStart)
{
    CString strSearch = lpszSearch;
    if (strSearch.IsEmpty())
        return nullptr;
    if (!bMatchCase)
        strSearch.MakeLower();
    if (!hStart)
        hStart = GetNextItem(nullptr, TVGN_CARET);
    if (!hStart)
        hStart = GetNextItem(nullptr, TVGN_ROOT);
    if (!hStart)
        return nullptr;

    HTREEITEM hItem = hStart;
    do {
        hItem = bDown ? GetNextItem(hItem) : GetItemBefore(hItem);
        if (!hItem)
            hItem = bDown ? GetNextItem(nullptr, TVGN_ROOT) : GetLastItem(nullptr);
        if (IsLabelMatch(hItem, strSearch, bMatchCase, bWholeWord) && IsFindMatch(hItem))
            return hItem;
    } while (hItem != hStart);
    return nullptr;
}

HTREEITEM CXTTreeBase::FindItemInBranch(LPCTSTR lpszSearch, BOOL bMatchCase, BOOL bWholeWord, HTREEITEM hParent)
{
    CString strSearch = lpszSearch;
    if (strSearch.IsEmpty())
        return nullptr;
    if (!bMatchCase)
        strSearch.MakeLower();
    for (HTREEITEM hChild = GetNextItem(hParent, TVGN_CHILD); hChild; hChild = GetNextItem(hChild, TVGN_NEXT)) {
        if (HTREEITEM hFound = FindItemInBranch(lpszSearch, bMatchCase, bWholeWord, hChild))
            return hFound;
        if (IsLabelMatch(hChild, strSearch, bMatchCase, bWholeWord) && IsFindMatch(hChild))
            return hChild;
    }
    return nullptr;
}

CXTTreeBase::ITEM_ATTR& CXTTreeBase::Attributes(HTREEITEM hItem)
{
    auto it = m_mapAttributes.find(hItem);
    if (it == m_mapAttributes.end()) {
        ITEM_ATTR attr = {};
        attr.clrText = XTP_COLOR_NONE;
        it = m_mapAttributes.emplace(hItem, attr).first;
    }
    return it->second;
}

void CXTTreeBase::SetItemFont(HTREEITEM hItem, const LOGFONT& logfont)
{
    Attributes(hItem).logfont = logfont;
    InvalidateItem(hItem);
}

BOOL CXTTreeBase::GetItemFont(HTREEITEM hItem, LOGFONT* pLogFont) const
{
    auto it = m_mapAttributes.find(hItem);
    if (it == m_mapAttributes.end() || it->second.logfont.lfFaceName[0] == 0)
        return FALSE;
    *pLogFont = it->second.logfont;
    return TRUE;
}

void CXTTreeBase::SetItemBold(HTREEITEM hItem, BOOL bBold)
{
    TreeView_SetItemState(TreeHwnd(), hItem, bBold ? TVIS_BOLD : 0, TVIS_BOLD);
    InvalidateItem(hItem);
}

BOOL CXTTreeBase::GetItemBold(HTREEITEM hItem) const
{
    return (TreeView_GetItemState(TreeHwnd(), hItem, TVIS_BOLD) & TVIS_BOLD) != 0;
}

void CXTTreeBase::SetItemColor(HTREEITEM hItem, COLORREF clr)
{
    Attributes(hItem).clrText = clr;
    ::InvalidateRect(TreeHwnd(), nullptr, FALSE);
}

COLORREF CXTTreeBase::GetItemColor(HTREEITEM hItem) const
{
    auto it = m_mapAttributes.find(hItem);
    return it == m_mapAttributes.end() ? XTP_COLOR_NONE : it->second.clrText;
}

void CXTTreeBase::InvalidateItem(HTREEITEM hItem)
{
    RECT rc;
    if (TreeView_GetItemRect(TreeHwnd(), hItem, &rc, FALSE))
        ::InvalidateRect(TreeHwnd(), &rc, FALSE);
}

BOOL CXTTreeBase::SetMultiSelect(BOOL bMultiSelect)
{
    const BOOL bOld = m_bMultiSelect;
    m_bMultiSelect = bMultiSelect;
    if (bOld && !bMultiSelect) {
        HTREEITEM hCaret = GetNextItem(nullptr, TVGN_CARET);
        const BOOL bCaretSelected = hCaret && (TreeView_GetItemState(TreeHwnd(), hCaret, TVIS_SELECTED) & TVIS_SELECTED);
        SelectAllExcept(FALSE, bCaretSelected ? hCaret : nullptr);
    }
    return bOld;
}

HTREEITEM CXTTreeBase::GetSelectedItemBefore(HTREEITEM hItem) const
{
    for (HTREEITEM h = GetNextItem(hItem, TVGN_PREVIOUSVISIBLE); h; h = GetNextItem(h, TVGN_PREVIOUSVISIBLE)) {
        if (GetItemState(h, TVIS_SELECTED) & TVIS_SELECTED)
            return h;
    }
    return nullptr;
}

BOOL CXTTreeBase::InitTree()
{
    return ::IsWindow(TreeHwnd());
}

LRESULT CXTTreeBase::SendNotify(NMHDR* pNMHDR)
{
    HWND hTree = TreeHwnd();
    pNMHDR->hwndFrom = hTree;
    pNMHDR->idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(hTree));
    HWND hTarget = ::GetWindow(hTree, GW_OWNER);
    if (!hTarget)
        hTarget = ::GetParent(hTree);
    return hTarget ? ::SendMessageW(hTarget, WM_NOTIFY, pNMHDR->idFrom, reinterpret_cast<LPARAM>(pNMHDR)) : 0;
}

UINT CXTTreeBase::GetItemState(HTREEITEM hItem, UINT nStateMask) const
{
    UINT nState = TreeView_GetItemState(TreeHwnd(), hItem, nStateMask & ~(stateCaret | stateHot)) & ~(stateCaret | stateHot);
    if ((nStateMask & stateCaret) && hItem && GetNextItem(nullptr, TVGN_CARET) == hItem)
        nState |= stateCaret;
    if ((nStateMask & stateHot) && hItem && hItem == m_hHotItem)
        nState |= stateHot;
    return nState & nStateMask;
}

void CXTTreeBase::SetItemSelected(HTREEITEM hItem, BOOL bSelect)
{
    TreeView_SetItemState(TreeHwnd(), hItem, bSelect ? TVIS_SELECTED : 0, TVIS_SELECTED);
}

BOOL CXTTreeBase::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask)
{
    HWND hTree = TreeHwnd();
    if (!m_bMultiSelect) {
        TVITEM item = {};
        item.mask = TVIF_STATE | TVIF_HANDLE;
        item.hItem = hItem;
        item.state = nState;
        item.stateMask = nStateMask & ~(stateCaret | stateHot);
        return TreeView_SetItem(hTree, &item);
    }

    if (nStateMask & stateCaret) {
        HTREEITEM hCaret = GetNextItem(nullptr, TVGN_CARET);
        if ((nState & stateCaret) && hCaret != hItem) {
            // The system selects whatever becomes the caret and deselects the old one: both keep their own
            // selection here.
            const BOOL bItemSelected = hItem && (TreeView_GetItemState(hTree, hItem, TVIS_SELECTED) & TVIS_SELECTED);
            const BOOL bCaretSelected = hCaret && (TreeView_GetItemState(hTree, hCaret, TVIS_SELECTED) & TVIS_SELECTED);
            if (hCaret) {
                TreeView_SelectItem(hTree, nullptr);
                if (bCaretSelected)
                    SetItemSelected(hCaret, TRUE);
                ::UpdateWindow(hTree);
            }
            if (hItem) {
                TreeView_SelectItem(hTree, hItem);
                SetItemSelected(hItem, bItemSelected);
            }
        } else if (!(nState & stateCaret) && hCaret == hItem && hItem) {
            const BOOL bSelected = (TreeView_GetItemState(hTree, hItem, TVIS_SELECTED) & TVIS_SELECTED) != 0;
            TreeView_SelectItem(hTree, nullptr);
            SetItemSelected(hItem, bSelected);
        }
    }

    if ((nStateMask & TVIS_SELECTED) && hItem) {
        const BOOL bSelect = (nState & TVIS_SELECTED) != 0;
        const BOOL bSelected = (TreeView_GetItemState(hTree, hItem, TVIS_SELECTED) & TVIS_SELECTED) != 0;
        if (bSelect != bSelected) {
            NMTREEVIEW nm = {};
            nm.action = TVC_UNKNOWN;
            TVITEM& part = bSelect ? nm.itemNew : nm.itemOld;
            part.mask = TVIF_HANDLE | TVIF_PARAM;
            part.hItem = hItem;
            TreeView_GetItem(hTree, &part);
            nm.hdr.code = TVN_SELCHANGING;
            if (SendNotify(&nm.hdr))
                return FALSE;
            SetItemSelected(hItem, bSelect);
            nm.hdr.code = TVN_SELCHANGED;
            SendNotify(&nm.hdr);
        }
    }

    const UINT nRest = nStateMask & ~(stateCaret | stateHot | TVIS_SELECTED);
    if (nRest && hItem)
        TreeView_SetItemState(hTree, hItem, nState, nRest);
    return TRUE;
}

BOOL CXTTreeBase::SelectItem(HTREEITEM hItem)
{
    if (!m_bMultiSelect)
        return TreeView_SelectItem(TreeHwnd(), hItem);
    return SetItemState(hItem, TVIS_SELECTED | stateCaret, TVIS_SELECTED | stateCaret);
}

BOOL CXTTreeBase::FocusItem(HTREEITEM hItem)
{
    if (!m_bMultiSelect)
        return TreeView_SelectItem(TreeHwnd(), hItem);
    if (!hItem) {
        HTREEITEM hCaret = GetNextItem(nullptr, TVGN_CARET);
        return hCaret ? SetItemState(hCaret, 0, stateCaret) : TRUE;
    }
    return SetItemState(hItem, stateCaret, stateCaret);
}

HTREEITEM CXTTreeBase::GetFirstSelectedItem() const
{
    for (HTREEITEM h = GetNextItem(nullptr, TVGN_ROOT); h; h = GetNextItem(h, TVGN_NEXTVISIBLE)) {
        if (GetItemState(h, TVIS_SELECTED) & TVIS_SELECTED)
            return h;
    }
    return nullptr;
}

HTREEITEM CXTTreeBase::GetNextSelectedItem(HTREEITEM hItem) const
{
    for (HTREEITEM h = GetNextItem(hItem, TVGN_NEXTVISIBLE); h; h = GetNextItem(h, TVGN_NEXTVISIBLE)) {
        if (GetItemState(h, TVIS_SELECTED) & TVIS_SELECTED)
            return h;
    }
    return nullptr;
}

int CXTTreeBase::GetSelectedCount() const
{
    int nCount = 0;
    for (HTREEITEM h = GetFirstSelectedItem(); h; h = GetNextSelectedItem(h))
        ++nCount;
    return nCount;
}

void CXTTreeBase::SelectAll(BOOL bSelect, HTREEITEM hFrom)
{
    for (HTREEITEM h = hFrom ? hFrom : GetNextItem(nullptr, TVGN_ROOT); h; h = GetNextItem(h, TVGN_NEXTVISIBLE))
        SetItemState(h, bSelect ? TVIS_SELECTED : 0, TVIS_SELECTED);
}

void CXTTreeBase::SelectAllExcept(BOOL bSelect, HTREEITEM hExcept)
{
    for (HTREEITEM h = GetNextItem(nullptr, TVGN_ROOT); h; h = GetNextItem(h, TVGN_NEXTVISIBLE)) {
        if (h != hExcept)
            SetItemState(h, bSelect ? TVIS_SELECTED : 0, TVIS_SELECTED);
    }
}

void CXTTreeBase::SelectItems(HTREEITEM hFirst, HTREEITEM hLast, BOOL bClearOthers)
{
    BOOL bInside = FALSE;
    for (HTREEITEM h = GetNextItem(nullptr, TVGN_ROOT); h; h = GetNextItem(h, TVGN_NEXTVISIBLE)) {
        const BOOL bEdge = h == hFirst || h == hLast;
        if (bEdge && !bInside) {
            bInside = TRUE;
            SetItemState(h, TVIS_SELECTED, TVIS_SELECTED);
            if (hFirst == hLast)
                bInside = FALSE;
            continue;
        }
        if (bInside) {
            SetItemState(h, TVIS_SELECTED, TVIS_SELECTED);
            if (bEdge)
                bInside = FALSE;
        } else if (bClearOthers) {
            SetItemState(h, 0, TVIS_SELECTED);
        }
    }
}

BOOL CXTTreeBase::SelectChildren(HTREEITEM hParent, BOOL bSelect, BOOL bRecurse)
{
    HTREEITEM hCaret = GetNextItem(nullptr, TVGN_CARET);
    BOOL bCaretAmong = FALSE;
    for (HTREEITEM h = GetNextItem(hParent, TVGN_CHILD); h; h = GetNextItem(h, TVGN_NEXT)) {
        bCaretAmong |= h == hCaret;
        SetItemState(h, bSelect ? TVIS_SELECTED : 0, TVIS_SELECTED);
        if (bRecurse && (TreeView_GetItemState(TreeHwnd(), h, TVIS_EXPANDED) & TVIS_EXPANDED))
            bCaretAmong |= SelectChildren(h, bSelect, TRUE);
    }
    return bCaretAmong;
}

void CXTTreeBase::SelectByClick(HTREEITEM hItem, BOOL bLeft, UINT nFlags)
{
    const BOOL bShift = (nFlags & MK_SHIFT) != 0;
    const BOOL bCtrl = (nFlags & MK_CONTROL) != 0;
    const BOOL bSelected = (GetItemState(hItem, TVIS_SELECTED) & TVIS_SELECTED) != 0;
    if (bLeft) {
        if (bShift) {
            if (!m_hAnchor)
                m_hAnchor = GetNextItem(nullptr, TVGN_CARET);
            SelectItems(m_hAnchor ? m_hAnchor : hItem, hItem, !bCtrl);
            FocusItem(hItem);
            return;
        }
        // A Ctrl click decides when the button comes up (TrackClick toggles the item).
        if (!bCtrl) {
            if (!bSelected)
                SelectAllExcept(FALSE, hItem);
            SetItemState(hItem, TVIS_SELECTED | stateCaret, TVIS_SELECTED | stateCaret);
        }
        m_hAnchor = nullptr;
        return;
    }
    if (!bShift && !bCtrl && !bSelected) {
        SelectAllExcept(FALSE, hItem);
        SetItemState(hItem, TVIS_SELECTED, TVIS_SELECTED);
    } else if (bCtrl && !bShift) {
        m_hAnchor = hItem;
    }
}

void CXTTreeBase::TrackClick(HTREEITEM hItem, BOOL bLeft, UINT nFlags, CPoint point)
{
    HWND hTree = TreeHwnd();
    const UINT nButtonUp = bLeft ? WM_LBUTTONUP : WM_RBUTTONUP;
    const CSize szDrag(::GetSystemMetrics(SM_CXDRAG), ::GetSystemMetrics(SM_CYDRAG));
    enum { pending, click, drag } result = pending;
    ::SetCapture(hTree);
    TrackMessages(hTree, [&](MSG& msg) {
        if (msg.message == nButtonUp) {
            result = click;
            return true;
        }
        if (msg.message == WM_MOUSEMOVE) {
            CPoint pt(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
            if (std::abs(pt.x - point.x) > szDrag.cx || std::abs(pt.y - point.y) > szDrag.cy) {
                result = drag;
                return true;
            }
            return false;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            return true;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
        return false;
    });
    if (::GetCapture() == hTree)
        ::ReleaseCapture();

    if (result == click) {
        if (bLeft && !(nFlags & MK_SHIFT)) {
            if (nFlags & MK_CONTROL) {
                const BOOL bSelected = (GetItemState(hItem, TVIS_SELECTED) & TVIS_SELECTED) != 0;
                SetItemState(hItem, bSelected ? 0 : TVIS_SELECTED, TVIS_SELECTED);
            } else {
                SelectAllExcept(FALSE, hItem);
                SetItemState(hItem, TVIS_SELECTED, TVIS_SELECTED);
            }
            FocusItem(hItem);
        }
        ::SetFocus(hTree);
        NMHDR hdr = {};
        hdr.code = bLeft ? NM_CLICK : NM_RCLICK;
        SendNotify(&hdr);
    } else if (result == drag) {
        SetItemState(hItem, TVIS_SELECTED, TVIS_SELECTED);
        if (!(TreeStyle() & TVS_DISABLEDRAGDROP)) {
            NMTREEVIEW nm = {};
            nm.hdr.code = bLeft ? TVN_BEGINDRAG : TVN_BEGINRDRAG;
            nm.itemNew.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE;
            nm.itemNew.hItem = hItem;
            TreeView_GetItem(hTree, &nm.itemNew);
            nm.ptDrag = point;
            SendNotify(&nm.hdr);
        }
    }
}

void CXTTreeBase::SelectItemsInRect(const CRect& rcBand, UINT nFlags, const std::set<HTREEITEM>& earlier)
{
    const BOOL bCtrl = (nFlags & MK_CONTROL) != 0;
    const BOOL bShift = (nFlags & MK_SHIFT) != 0;
    for (HTREEITEM h = GetNextItem(nullptr, TVGN_FIRSTVISIBLE); h; h = GetNextItem(h, TVGN_NEXTVISIBLE)) {
        CRect rcItem;
        if (!TreeView_GetItemRect(TreeHwnd(), h, &rcItem, m_bTextOnlyRects))
            continue;
        const BOOL bRemembered = earlier.count(h) != 0;
        CRect rcMeet;
        BOOL bSelect;
        if (rcMeet.IntersectRect(&rcItem, &rcBand))
            bSelect = bRemembered ? !bCtrl && !bShift : TRUE;
        else
            bSelect = bRemembered;
        SetItemState(h, bSelect ? TVIS_SELECTED : 0, TVIS_SELECTED);
    }
}

void CXTTreeBase::TrackSelectionRect(UINT nFlags, CPoint point)
{
    HWND hTree = TreeHwnd();
    ::SetFocus(hTree);
    std::set<HTREEITEM> earlier;
    if (nFlags & (MK_CONTROL | MK_SHIFT)) {
        for (HTREEITEM h = GetFirstSelectedItem(); h; h = GetNextSelectedItem(h))
            earlier.insert(h);
    }
    const int nItemHeight = std::max(1, static_cast<int>(TreeView_GetItemHeight(hTree)));
    const int nStartV = ::GetScrollPos(hTree, SB_VERT);
    const int nStartH = ::GetScrollPos(hTree, SB_HORZ);
    const CSize szDrag(::GetSystemMetrics(SM_CXDRAG), ::GetSystemMetrics(SM_CYDRAG));
    ::SetCapture(hTree);
    ::SetTimer(hTree, bandTimerID, bandTimerElapse, nullptr);

    BOOL bFrameDrawn = FALSE;
    CRect rcFrame;
    // The frame is inverted onto the window: drawing it again removes it.
    auto invertFrame = [hTree](const CRect& rc) {
        HDC hDC = ::GetDC(hTree);
        ::PatBlt(hDC, rc.left, rc.top, rc.Width(), 1, DSTINVERT);
        ::PatBlt(hDC, rc.left, rc.bottom - 1, rc.Width(), 1, DSTINVERT);
        ::PatBlt(hDC, rc.left, rc.top + 1, 1, rc.Height() - 2, DSTINVERT);
        ::PatBlt(hDC, rc.right - 1, rc.top + 1, 1, rc.Height() - 2, DSTINVERT);
        ::ReleaseDC(hTree, hDC);
    };
    auto drawFrame = [&](const CRect* pNew) {
        if (bFrameDrawn)
            invertFrame(rcFrame);
        if (pNew)
            invertFrame(*pNew);
        if (pNew)
            rcFrame = *pNew;
        bFrameDrawn = pNew != nullptr;
    };
    BOOL bStarted = FALSE;
    auto follow = [&](CPoint pt) {
        if (!bStarted && std::abs(pt.x - point.x) <= szDrag.cx && std::abs(pt.y - point.y) <= szDrag.cy)
            return;
        if (!bStarted && !(nFlags & (MK_CONTROL | MK_SHIFT)))
            SelectAllExcept(FALSE, nullptr);
        bStarted = TRUE;
        // The frame goes while the items repaint, and comes back at the new place.
        drawFrame(nullptr);
        CRect rcClient;
        ::GetClientRect(hTree, &rcClient);
        if (pt.y < rcClient.top)
            ::SendMessageW(hTree, WM_VSCROLL, SB_LINEUP, 0);
        else if (pt.y >= rcClient.bottom)
            ::SendMessageW(hTree, WM_VSCROLL, SB_LINEDOWN, 0);
        if (pt.x < rcClient.left)
            ::SendMessageW(hTree, WM_HSCROLL, SB_LINELEFT, 0);
        else if (pt.x >= rcClient.right)
            ::SendMessageW(hTree, WM_HSCROLL, SB_LINERIGHT, 0);
        // The start point moves with the scrolled content.
        CPoint ptStart(point.x - (::GetScrollPos(hTree, SB_HORZ) - nStartH),
                       point.y - (::GetScrollPos(hTree, SB_VERT) - nStartV) * nItemHeight);
        CRect rcBand(ptStart, pt);
        rcBand.NormalizeRect();
        SelectItemsInRect(rcBand, nFlags, earlier);
        ::UpdateWindow(hTree);
        drawFrame(&rcBand);
    };

    BOOL bCancelled = FALSE;
    TrackMessages(hTree, [&](MSG& msg) {
        switch (msg.message) {
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            return true;
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE) {
                bCancelled = TRUE;
                return true;
            }
            return false;
        case WM_MOUSEMOVE:
            follow(CPoint(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))));
            return false;
        case WM_TIMER:
            if (msg.hwnd == hTree && msg.wParam == bandTimerID) {
                CPoint pt;
                ::GetCursorPos(&pt);
                ::ScreenToClient(hTree, &pt);
                CRect rcClient;
                ::GetClientRect(hTree, &rcClient);
                if (!rcClient.PtInRect(pt))
                    follow(pt);
                return false;
            }
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
        return false;
    });

    ::KillTimer(hTree, bandTimerID);
    if (::GetCapture() == hTree)
        ::ReleaseCapture();
    drawFrame(nullptr);
    if (bCancelled || (!bStarted && !(nFlags & (MK_CONTROL | MK_SHIFT))))
        SelectAllExcept(FALSE, nullptr);
}

void CXTTreeBase::OnButtonDown(BOOL bLeft, UINT nFlags, CPoint point)
{
    HWND hTree = TreeHwnd();
    TVHITTESTINFO hit = {};
    hit.pt = point;
    HTREEITEM hItem = TreeView_HitTest(hTree, &hit);
    const BOOL bStateIcon = !bLeft && (TreeStyle() & TVS_CHECKBOXES) && (hit.flags & TVHT_ONITEMSTATEICON);
    if ((hit.flags & TVHT_ONITEMBUTTON) || bStateIcon) {
        m_pTreeWnd->Default();
        return;
    }
    if (hItem && (hit.flags & TVHT_ONITEM)) {
        SelectByClick(hItem, bLeft, nFlags);
        TrackClick(hItem, bLeft, nFlags, point);
    } else {
        TrackSelectionRect(nFlags, point);
    }
}

void CXTTreeBase::OnLButtonDownMsg(UINT nFlags, CPoint point)
{
    if (!m_bMultiSelect) {
        m_pTreeWnd->Default();
        return;
    }
    TVHITTESTINFO hit = {};
    hit.pt = point;
    HTREEITEM hItem = TreeView_HitTest(TreeHwnd(), &hit);
    if (hit.flags & (TVHT_ONITEMBUTTON | TVHT_ONITEMSTATEICON)) {
        m_pTreeWnd->Default();
        return;
    }
    HTREEITEM hCaret = GetNextItem(nullptr, TVGN_CARET);
    const BOOL bPlain = !(nFlags & (MK_SHIFT | MK_CONTROL));
    if (bPlain && hItem && hItem == hCaret && (hit.flags & TVHT_ONITEMLABEL) && m_bSelectOnClick) {
        SelectAllExcept(FALSE, hItem);
        SetItemState(hItem, TVIS_SELECTED, TVIS_SELECTED);
        m_pTreeWnd->Default();
        return;
    }
    if (!hItem || !(hit.flags & TVHT_ONITEM))
        m_bSelectOnClick = FALSE;
    OnButtonDown(TRUE, nFlags, point);
    if (GetNextItem(nullptr, TVGN_CARET) == hCaret)
        m_bSelectOnClick = TRUE;
}

void CXTTreeBase::OnRButtonDownMsg(UINT nFlags, CPoint point)
{
    if (!m_bMultiSelect) {
        m_pTreeWnd->Default();
        return;
    }
    TVHITTESTINFO hit = {};
    hit.pt = point;
    HTREEITEM hItem = TreeView_HitTest(TreeHwnd(), &hit);
    if (hItem && (hit.flags & TVHT_ONITEM)) {
        if (!(GetItemState(hItem, TVIS_SELECTED) & TVIS_SELECTED)) {
            SelectAllExcept(FALSE, hItem);
            SetItemState(hItem, TVIS_SELECTED, TVIS_SELECTED);
        }
    } else {
        SelectAllExcept(FALSE, nullptr);
    }
    OnButtonDown(FALSE, nFlags, point);
}

void CXTTreeBase::OnFocusChangeMsg()
{
    m_pTreeWnd->Default();
    if (!m_bMultiSelect)
        return;
    for (HTREEITEM h = GetFirstSelectedItem(); h; h = GetNextSelectedItem(h))
        InvalidateItem(h);
}

void CXTTreeBase::OnKeyDownMsg(UINT nChar)
{
    if (!m_bMultiSelect || (nChar != VK_UP && nChar != VK_DOWN)) {
        m_pTreeWnd->Default();
        return;
    }
    HTREEITEM hCaret = GetNextItem(nullptr, TVGN_CARET);
    if (!m_hAnchor)
        m_hAnchor = hCaret;
    const BOOL bShift = IsKeyDown(VK_SHIFT);
    const BOOL bCtrl = IsKeyDown(VK_CONTROL);
    if (bCtrl && !bShift) {
        // The next item only becomes the caret.
        HTREEITEM hNext = hCaret ? GetNextItem(hCaret, nChar == VK_UP ? TVGN_PREVIOUSVISIBLE : TVGN_NEXTVISIBLE) : nullptr;
        if (hNext) {
            FocusItem(hNext);
            TreeView_EnsureVisible(TreeHwnd(), hNext);
        }
        return;
    }
    if (!bShift) {
        m_hAnchor = nullptr;
        if (GetSelectedCount() < 2) {
            HTREEITEM hKeep = hCaret ? hCaret : GetFirstSelectedItem();
            if (!hKeep)
                hKeep = GetNextItem(nullptr, TVGN_ROOT);
            SelectAllExcept(FALSE, hKeep);
            if (hKeep)
                SetItemState(hKeep, TVIS_SELECTED, TVIS_SELECTED);
        } else {
            SelectAllExcept(FALSE, nullptr);
        }
    }
    m_pTreeWnd->Default();
    HTREEITEM hNewCaret = GetNextItem(nullptr, TVGN_CARET);
    if (bShift && hNewCaret)
        SelectItems(m_hAnchor ? m_hAnchor : hNewCaret, hNewCaret, TRUE);
}

void CXTTreeBase::OnSizeMsg()
{
    m_pTreeWnd->Default();
    HWND hEdit = TreeView_GetEditControl(TreeHwnd());
    if (!hEdit || !m_hEditedItem)
        return;
    CRect rcLabel, rcEdit;
    if (!TreeView_GetItemRect(TreeHwnd(), m_hEditedItem, &rcLabel, TRUE))
        return;
    ::GetWindowRect(hEdit, &rcEdit);
    ::SetWindowPos(hEdit, nullptr, rcLabel.left - 3, rcLabel.top - 1, rcEdit.Width(), rcEdit.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void CXTTreeBase::SetHotItem(HTREEITEM hItem)
{
    if (hItem == m_hHotItem)
        return;
    if (m_hHotItem)
        InvalidateItem(m_hHotItem);
    m_hHotItem = hItem;
    if (m_hHotItem)
        InvalidateItem(m_hHotItem);
}

void CXTTreeBase::OnMouseMoveMsg(CPoint point)
{
    m_pTreeWnd->Default();
    if (!(TreeStyle() & TVS_TRACKSELECT))
        return;
    TVHITTESTINFO hit = {};
    hit.pt = point;
    HTREEITEM hItem = TreeView_HitTest(TreeHwnd(), &hit);
    SetHotItem(hit.flags & TVHT_ONITEM ? hItem : nullptr);
    ::SetTimer(TreeHwnd(), hotTimerID, hotTimerElapse, nullptr);
}

void CXTTreeBase::OnTimerMsg(UINT_PTR nIDEvent)
{
    if (nIDEvent != hotTimerID) {
        m_pTreeWnd->Default();
        return;
    }
    CPoint pt;
    ::GetCursorPos(&pt);
    CRect rcWindow;
    ::GetWindowRect(TreeHwnd(), &rcWindow);
    if (!rcWindow.PtInRect(pt)) {
        ::KillTimer(TreeHwnd(), hotTimerID);
        SetHotItem(nullptr);
    }
}

void CXTTreeBase::OnNcMouseMoveMsg(UINT nHitTest)
{
    m_pTreeWnd->Default();
    if (nHitTest == HTBORDER)
        SetHotItem(nullptr);
}

void CXTTreeBase::OnBeginLabelEditMsg(NMHDR* pNMHDR)
{
    m_hEditedItem = reinterpret_cast<NMTVDISPINFO*>(pNMHDR)->item.hItem;
}

void CXTTreeBase::OnEndLabelEditMsg()
{
    m_hEditedItem = nullptr;
}

BOOL CXTTreeBase::OnItemExpandingMsg(NMHDR* pNMHDR)
{
    auto* pNM = reinterpret_cast<NMTREEVIEW*>(pNMHDR);
    if (!m_bMultiSelect || !(pNM->action & (TVE_COLLAPSE | TVE_COLLAPSERESET)) || (pNM->action & TVE_EXPAND))
        return FALSE;
    HTREEITEM hItem = pNM->itemNew.hItem;
    if (GetItemState(hItem, TVIS_SELECTED) & TVIS_SELECTED)
        return FALSE;
    HTREEITEM hCaret = GetNextItem(nullptr, TVGN_CARET);
    for (HTREEITEM h = hCaret ? GetNextItem(hCaret, TVGN_PARENT) : nullptr; h; h = GetNextItem(h, TVGN_PARENT)) {
        if (h == hItem) {
            SelectChildren(hItem, FALSE, TRUE);
            FocusItem(hItem);
            break;
        }
    }
    return FALSE;
}

void CXTTreeBase::OnDeleteItemMsg(NMHDR* pNMHDR)
{
    HTREEITEM hItem = reinterpret_cast<NMTREEVIEW*>(pNMHDR)->itemOld.hItem;
    m_mapAttributes.erase(hItem);
    if (hItem == m_hHotItem)
        m_hHotItem = nullptr;
    if (hItem == m_hAnchor)
        m_hAnchor = nullptr;
}

BOOL CXTTreeBase::PreTranslateMessage(MSG* pMsg)
{
    HWND hTree = TreeHwnd();
    if (pMsg->message != WM_KEYDOWN)
        return FALSE;
    HWND hEdit = IsEditLabels() ? TreeView_GetEditControl(hTree) : nullptr;
    if (hEdit) {
        // The dialog manager would take Enter and Escape away from the edit control.
        ::TranslateMessage(pMsg);
        ::DispatchMessageW(pMsg);
        return TRUE;
    }
    if (pMsg->hwnd == hTree && pMsg->wParam == VK_RETURN) {
        if (HTREEITEM hCaret = GetNextItem(nullptr, TVGN_CARET)) {
            TreeView_Expand(hTree, hCaret, TVE_TOGGLE);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CXTTreeBase::OnNotify(WPARAM /*wParam*/, LPARAM lParam, LRESULT* /*pResult*/)
{
    auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    if (pNMHDR->code == TTN_SHOW)
        ::SetWindowPos(pNMHDR->hwndFrom, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    return FALSE;
}

void CXTTreeBase::PaintLabel(CDC* pDC, HTREEITEM hItem, BOOL bFocused, BOOL bEnabled, COLORREF clrBack,
                             COLORREF clrText)
{
    HWND hTree = TreeHwnd();
    CRect rcLabel;
    if (!TreeView_GetItemRect(hTree, hItem, &rcLabel, TRUE))
        return;
    const UINT nState = TreeView_GetItemState(hTree, hItem, TVIS_SELECTED | TVIS_DROPHILITED | TVIS_BOLD);
    const BOOL bSelected = (nState & TVIS_SELECTED) != 0;
    const BOOL bTrack = (TreeStyle() & TVS_TRACKSELECT) != 0;
    const BOOL bHot = bTrack && hItem == m_hHotItem;

    COLORREF clrItemBack = clrBack;
    COLORREF clrItemText = clrText;
    if ((bSelected || (nState & TVIS_DROPHILITED)) && bFocused) {
        clrItemBack = ::GetSysColor(bEnabled ? COLOR_HIGHLIGHT : COLOR_GRAYTEXT);
        clrItemText = ::GetSysColor(bEnabled ? COLOR_HIGHLIGHTTEXT : COLOR_3DFACE);
    } else if (bSelected && (TreeStyle() & TVS_SHOWSELALWAYS)) {
        clrItemBack = ::GetSysColor(bEnabled ? COLOR_3DFACE : COLOR_GRAYTEXT);
        clrItemText = ::GetSysColor(bEnabled ? COLOR_WINDOWTEXT : COLOR_3DFACE);
    } else if (bEnabled) {
        const COLORREF clrItem = GetItemColor(hItem);
        if (bHot)
            clrItemText = ::GetSysColor(GetOsVersion().IsWin98OrLater() || GetOsVersion().IsWin2000OrLater()
                                            ? COLOR_HOTLIGHT : COLOR_HIGHLIGHT);
        else if (clrItem != XTP_COLOR_NONE)
            clrItemText = clrItem;
    }

    LOGFONT logfont = {};
    if (!GetItemFont(hItem, &logfont)) {
        HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(hTree, WM_GETFONT, 0, 0));
        ::GetObjectW(hFont ? hFont : ::GetStockObject(DEFAULT_GUI_FONT), sizeof(logfont), &logfont);
    }
    if (nState & TVIS_BOLD)
        logfont.lfWeight = FW_BOLD;
    if (bHot)
        logfont.lfUnderline = TRUE;
    CFont font;
    font.CreateFontIndirect(&logfont);
    CFont* pOldFont = pDC->SelectObject(&font);

    const CString strLabel = GetLabel(hItem);
    const CSize szText = pDC->GetTextExtent(strLabel);
    if (szText.cx + 2 > rcLabel.Width())
        rcLabel.right = rcLabel.left + szText.cx + 2;
    pDC->FillSolidRect(&rcLabel, clrItemBack);
    pDC->SetTextColor(clrItemText);
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(strLabel, &rcLabel, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (bFocused && hItem == GetNextItem(nullptr, TVGN_CARET))
        pDC->DrawFocusRect(&rcLabel);
    pDC->SelectObject(pOldFont);
}

void CXTTreeBase::DoPaint(CDC* pDC)
{
    HWND hTree = TreeHwnd();
    const BOOL bEnabled = ::IsWindowEnabled(hTree);
    COLORREF clrBack = ::GetSysColor(COLOR_3DFACE);
    COLORREF clrText = ::GetSysColor(COLOR_GRAYTEXT);
    if (bEnabled) {
        clrBack = TreeView_GetBkColor(hTree);
        if (clrBack == static_cast<COLORREF>(-1))
            clrBack = ::GetSysColor(COLOR_WINDOW);
        clrText = TreeView_GetTextColor(hTree);
        if (clrText == static_cast<COLORREF>(-1))
            clrText = ::GetSysColor(COLOR_WINDOWTEXT);
    }
    CRect rcClient;
    ::GetClientRect(hTree, &rcClient);
    CXTMemDC memDC(pDC, rcClient, CColorGradient(clrBack));
    m_pTreeWnd->DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.GetSafeHdc()), 0);

    const BOOL bFocused = ::GetFocus() == hTree;
    for (HTREEITEM h = GetNextItem(nullptr, TVGN_FIRSTVISIBLE); h; h = GetNextItem(h, TVGN_NEXTVISIBLE)) {
        CRect rcItem;
        if (!TreeView_GetItemRect(hTree, h, &rcItem, FALSE) || rcItem.top >= rcClient.bottom)
            break;
        PaintLabel(&memDC, h, bFocused, bEnabled, clrBack, clrText);
    }
}

// The window side.

// The tree uses no system key, but Wine's tree keeps them from the default handling: Alt+F4, F10 and the
// release of Alt would never reach the frame. They take the default road, as from any other window.
template <class TBase>
LRESULT CXTTreeSite<TBase>::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSKEYDOWN || message == WM_SYSKEYUP)
        return ::DefWindowProcW(this->m_hWnd, message, wParam, lParam);
    return TBase::WindowProc(message, wParam, lParam);
}

template <class TBase>
void CXTTreeSite<TBase>::PreSubclassWindow()
{
    TBase::PreSubclassWindow();
    InitTree();
}

template <class TBase>
int CXTTreeSite<TBase>::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (TBase::OnCreate(lpCreateStruct) == -1)
        return -1;
    InitTree();
    return 0;
}

template <class TBase>
BOOL CXTTreeSite<TBase>::PreTranslateMessage(MSG* pMsg)
{
    return CXTTreeBase::PreTranslateMessage(pMsg) || TBase::PreTranslateMessage(pMsg);
}

template <class TBase>
BOOL CXTTreeSite<TBase>::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    CXTTreeBase::OnNotify(wParam, lParam, pResult);
    return TBase::OnNotify(wParam, lParam, pResult);
}

template <class TBase>
void CXTTreeSite<TBase>::OnLButtonDown(UINT nFlags, CPoint point)
{
    OnLButtonDownMsg(nFlags, point);
}

template <class TBase>
void CXTTreeSite<TBase>::OnRButtonDown(UINT nFlags, CPoint point)
{
    OnRButtonDownMsg(nFlags, point);
}

template <class TBase>
void CXTTreeSite<TBase>::OnSetFocus(CWnd* /*pOldWnd*/)
{
    OnFocusChangeMsg();
}

template <class TBase>
void CXTTreeSite<TBase>::OnKillFocus(CWnd* /*pNewWnd*/)
{
    OnFocusChangeMsg();
}

template <class TBase>
void CXTTreeSite<TBase>::OnKeyDown(UINT nChar, UINT /*nRepCnt*/, UINT /*nFlags*/)
{
    OnKeyDownMsg(nChar);
}

template <class TBase>
void CXTTreeSite<TBase>::OnSize(UINT /*nType*/, int /*cx*/, int /*cy*/)
{
    OnSizeMsg();
}

template <class TBase>
void CXTTreeSite<TBase>::OnMouseMove(UINT /*nFlags*/, CPoint point)
{
    OnMouseMoveMsg(point);
}

template <class TBase>
void CXTTreeSite<TBase>::OnTimer(UINT_PTR nIDEvent)
{
    OnTimerMsg(nIDEvent);
}

template <class TBase>
void CXTTreeSite<TBase>::OnNcMouseMove(UINT nHitTest, CPoint /*point*/)
{
    OnNcMouseMoveMsg(nHitTest);
}

template <class TBase>
void CXTTreeSite<TBase>::OnPaint()
{
    CPaintDC dc(this);
    DoPaint(&dc);
}

template <class TBase>
BOOL CXTTreeSite<TBase>::OnEraseBkgnd(CDC* /*pDC*/)
{
    return TRUE;
}

template <class TBase>
BOOL CXTTreeSite<TBase>::OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* /*pResult*/)
{
    OnBeginLabelEditMsg(pNMHDR);
    return FALSE;
}

template <class TBase>
BOOL CXTTreeSite<TBase>::OnEndLabelEdit(NMHDR* /*pNMHDR*/, LRESULT* /*pResult*/)
{
    OnEndLabelEditMsg();
    return FALSE;
}

template <class TBase>
BOOL CXTTreeSite<TBase>::OnItemExpanding(NMHDR* pNMHDR, LRESULT* /*pResult*/)
{
    return OnItemExpandingMsg(pNMHDR);
}

template <class TBase>
BOOL CXTTreeSite<TBase>::OnDeleteItem(NMHDR* pNMHDR, LRESULT* /*pResult*/)
{
    OnDeleteItemMsg(pNMHDR);
    return FALSE;
}

// The reflected notifications answer FALSE, so that the parent sees them as well.
BEGIN_TEMPLATE_MESSAGE_MAP(CXTTreeSite, TBase, TBase)
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_KEYDOWN()
    ON_WM_SIZE()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_NCMOUSEMOVE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_CREATE()
    ON_NOTIFY_REFLECT_EX(TVN_BEGINLABELEDITW, &ThisClass::OnBeginLabelEdit)
    ON_NOTIFY_REFLECT_EX(TVN_ENDLABELEDITW, &ThisClass::OnEndLabelEdit)
    ON_NOTIFY_REFLECT_EX(TVN_ITEMEXPANDINGW, &ThisClass::OnItemExpanding)
    ON_NOTIFY_REFLECT_EX(TVN_DELETEITEMW, &ThisClass::OnDeleteItem)
END_MESSAGE_MAP()

template class CXTTreeSite<CTreeCtrl>;
template class CXTTreeSite<CView>;

IMPLEMENT_DYNAMIC(CXTTreeCtrl, CTreeCtrl)
IMPLEMENT_DYNCREATE(CXTTreeView, CView)

BOOL CXTTreeView::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.lpszClass = WC_TREEVIEWW;
    cs.style |= WS_CHILD | WS_VISIBLE | WS_BORDER;
    return CXTTreeSite<CView>::PreCreateWindow(cs);
}
