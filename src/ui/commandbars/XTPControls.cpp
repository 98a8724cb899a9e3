#include "ui/commandbars/XTPControls.h"

#include "ui/commandbars/XTPControlComboBox.h"
#include "ui/commandbars/XTPControlCustom.h"
#include "ui/commandbars/XTPControlEdit.h"
#include "ui/commandbars/XTPControlLists.h"
#include "ui/commandbars/XTPPopupBar.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CXTPControls, CCmdTarget)

namespace
{
const int nGroupGap = 6;

CXTPControl* CreateControl(int nType, int nId, BOOL bFromMenu, const CString& strMenuCaption = CString())
{
    switch (nType) {
    case xtpControlButton: return CreateListPlaceholder(nId, bFromMenu, strMenuCaption);
    case xtpControlLabel: return new CXTPControlLabel;
    case xtpControlPopup:
    case xtpControlButtonPopup:
    case xtpControlSplitButtonPopup: return new CXTPControlPopup;
    case xtpControlEdit: return new CXTPControlEdit;
    case xtpControlComboBox: return new CXTPControlComboBox;
    case xtpControlCustom: return new CXTPControlCustom;
    }
    return nullptr;
}
}

CXTPControls::~CXTPControls()
{
    RemoveAll();
    if (m_pOriginalControls)
        m_pOriginalControls->InternalRelease();
}

void CXTPControls::Insert(CXTPControl* pControl, int nBefore)
{
    if (nBefore < 0 || nBefore >= GetCount())
        m_arrControls.push_back(pControl);
    else
        m_arrControls.insert(m_arrControls.begin() + nBefore, pControl);
}

CXTPControl* CXTPControls::Add(int nType, int nId, LPCTSTR lpszParameter, int nBefore, BOOL bTemporary)
{
    CXTPControl* pControl;
    if (nType >= xtpControlPopup && nType <= xtpControlSplitButtonPopup) {
        CString strCaption;
        pControl = CreatePopup(nId, strCaption, nullptr, FALSE);
        if (nType != xtpControlPopup)
            pControl->SetID(nId);
    } else {
        pControl = CreateControl(nType, nId, FALSE);
        if (!pControl)
            return nullptr;
        pControl->SetID(nId);
    }
    pControl->SetType(nType);
    pControl->SetParameter(lpszParameter);
    pControl->SetTemporary(bTemporary);
    Insert(pControl, nBefore);
    RefreshIndexes();
    return pControl;
}

CXTPControl* CXTPControls::AddControl(CXTPControl* pControl, int nId, LPCTSTR lpszParameter, int nBefore,
                                      BOOL bTemporary)
{
    pControl->SetParameter(lpszParameter);
    pControl->SetTemporary(bTemporary);
    pControl->SetID(nId);
    Insert(pControl, nBefore);
    RefreshIndexes();
    return pControl;
}

CXTPControl* CXTPControls::InsertControl(CXTPControl* pControl, int nIndex, BOOL bRecursive)
{
    CXTPControl* pClone = pControl->Clone(bRecursive);
    Insert(pClone, std::clamp(nIndex, 0, GetCount()));
    RefreshIndexes();
    return pClone;
}

CXTPPopupBar* CXTPControls::CreatePopupBar(int nId, CString& strCaption)
{
    XTP_BAR_CREATE create = {nullptr, TRUE, 0, FALSE, FALSE, strCaption, nId};
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd() &&
        pSite->SendMessage(XTPM_BARCREATE, 0, reinterpret_cast<LPARAM>(&create)) && create.pCommandBar &&
        create.pCommandBar->IsKindOf(RUNTIME_CLASS(CXTPPopupBar))) {
        if (create.lpszCaption)
            strCaption = create.lpszCaption;
        return static_cast<CXTPPopupBar*>(create.pCommandBar);
    }
    return CXTPPopupBar::CreatePopupBar(GetCommandBars());
}

CXTPControl* CXTPControls::CreatePopup(int nId, CString& strCaption, CMenu* pSubMenu, BOOL bFromMenu)
{
    CXTPControlPopup* pPopup = new CXTPControlPopup;
    CMenu menuResource;
    if (!pSubMenu && nId > 0 && menuResource.LoadMenu(static_cast<UINT>(nId))) {
        pSubMenu = menuResource.GetSubMenu(0);
        if (!bFromMenu)
            menuResource.GetMenuString(0, strCaption, MF_BYPOSITION);
    }
    CXTPPopupBar* pPopupBar = CreatePopupBar(nId, strCaption);
    // The sub-menu's controls reach the site through the popup control's bar.
    pPopup->SetParent(m_pParent);
    pPopup->SetCommandBar(pPopupBar);
    pPopupBar->InternalRelease();
    if (bFromMenu) {
        CString strTitle = strCaption;
        strTitle.Remove(L'&');
        pPopupBar->SetTitle(strTitle);
    } else {
        pPopup->SetCaption(strCaption);
    }
    if (pSubMenu)
        pPopupBar->LoadMenu(pSubMenu, !bFromMenu);
    return pPopup;
}

CXTPControl* CXTPControls::AddMenuItem(CMenu* pMenu, int nPosition)
{
    UINT nPos = static_cast<UINT>(nPosition);
    CMenu* pSubMenu = pMenu->GetSubMenu(nPosition);
    // An item that opens a sub-menu carries no command.
    int nId = pSubMenu ? 0 : static_cast<int>(pMenu->GetMenuItemID(nPosition));
    if (nId == 0xFF00)
        return nullptr;
    BOOL bDefault = ::GetMenuDefaultItem(*pMenu, TRUE, GMDI_USEDISABLED) == nPos;

    XTP_CONTROL_CREATE create;
    create.nId = nId;
    create.pControl = nullptr;
    create.nReserved = 0;
    create.nIndex = nPosition;
    create.pMenu = pMenu;
    create.pCommandBar = m_pParent;
    pMenu->GetMenuString(nPos, create.strCaption, MF_BYPOSITION);
    create.nType = pSubMenu ? xtpControlPopup : xtpControlButton;
    create.nStyle = 0;
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd()) {
        // Only a site that answers has changed the record.
        XTP_CONTROL_CREATE changed = create;
        if (pSite->SendMessage(XTPM_CONTROLCREATE, 0, reinterpret_cast<LPARAM>(&changed)))
            create = changed;
    }

    CXTPControl* pControl = create.pControl;
    if (!pControl) {
        if (create.nType >= xtpControlPopup && create.nType <= xtpControlSplitButtonPopup)
            pControl = CreatePopup(create.nId, create.strCaption, pSubMenu, TRUE);
        else
            pControl = CreateControl(create.nType, create.nId, TRUE, create.strCaption);
        if (!pControl)
            return nullptr;
        pControl->SetType(create.nType);
        pControl->SetStyle(create.nStyle);
        if (m_pParent)
            m_pParent->SetLayoutNeeded();
    }
    pControl->SetID(create.nId);
    pControl->SetCaption(create.strCaption);
    pControl->SetDefaultItem(bDefault);
    m_arrControls.push_back(pControl);
    RefreshIndexes();

    create.pControl = pControl;
    if (pSite && ::IsWindow(pSite->GetSafeHwnd()))
        pSite->SendMessage(XTPM_CONTROLCREATED, 0, reinterpret_cast<LPARAM>(&create));
    return pControl;
}

void CXTPControls::Remove(CXTPControl* pControl)
{
    if (!pControl || pControl->GetIndex() < 0 || pControl->GetIndex() >= GetCount() ||
        m_arrControls[static_cast<size_t>(pControl->GetIndex())] != pControl)
        return;
    if (pControl->GetSelected() && m_pParent)
        m_pParent->SetSelected(-1);
    m_arrControls.erase(m_arrControls.begin() + pControl->GetIndex());
    pControl->m_pControls = nullptr;
    pControl->SetParent(nullptr);
    pControl->InternalRelease();
    RefreshIndexes();
}

void CXTPControls::RemoveAll()
{
    std::vector<CXTPControl*> arrControls;
    arrControls.swap(m_arrControls);
    for (CXTPControl* pControl : arrControls) {
        pControl->m_pControls = nullptr;
        pControl->SetParent(nullptr);
        pControl->InternalRelease();
    }
    // The bar's hot and open indexes pointed into the controls just released.
    if (m_pParent && !arrControls.empty())
        m_pParent->OnControlsChanged();
}

CXTPControl* CXTPControls::SetControlType(CXTPControl* pControl, int nType)
{
    auto isPopup = [](int n) { return n >= xtpControlPopup && n <= xtpControlSplitButtonPopup; };
    if (isPopup(pControl->GetType()) && isPopup(nType)) {
        pControl->SetType(nType);
        return pControl;
    }
    CXTPControl* pNew = Add(nType, 0, L"", pControl->GetIndex() + 1);
    if (!pNew)
        return pControl;
    pNew->Copy(pControl, FALSE);
    pNew->SetType(nType);
    Remove(pControl);
    return pNew;
}

void CXTPControls::Move(CXTPControl* pControl, int nIndex)
{
    int nOld = pControl->GetIndex();
    if (nOld < 0 || nOld >= GetCount() || m_arrControls[static_cast<size_t>(nOld)] != pControl)
        return;
    m_arrControls.erase(m_arrControls.begin() + nOld);
    if (nIndex > nOld)
        nIndex--;
    Insert(pControl, nIndex);
    RefreshIndexes();
}

int CXTPControls::FindIndex(const CXTPControl* pControl, int nStart) const
{
    if (!pControl)
        return -1;
    for (int i = std::max(nStart, 0); i < GetCount(); i++) {
        const CXTPControl* pCandidate = GetAt(i);
        if (pCandidate->GetID() == pControl->GetID() && pCandidate->GetType() == pControl->GetType())
            return i;
    }
    return -1;
}

CXTPControl* CXTPControls::FindControl(int nType, int nId, BOOL bVisible, BOOL bRecursive) const
{
    for (CXTPControl* pControl : m_arrControls) {
        if ((nType == 0 || pControl->GetType() == nType) && (nId == -1 || pControl->GetID() == nId) &&
            (!bVisible || pControl->IsVisible()))
            return pControl;
        int nOwnType = pControl->GetType();
        if (bRecursive && nOwnType >= xtpControlPopup && nOwnType <= xtpControlSplitButtonPopup &&
            pControl->GetCommandBar())
            if (CXTPControl* pFound = pControl->GetCommandBar()->GetControls()->FindControl(nType, nId, bVisible, TRUE))
                return pFound;
    }
    return nullptr;
}

CXTPControl* CXTPControls::HitTest(CPoint pt) const
{
    for (CXTPControl* pControl : m_arrControls)
        if (pControl->IsVisible() && pControl->GetRect().PtInRect(pt))
            return pControl;
    return nullptr;
}

int CXTPControls::GetNextIndex(int nStart, int nStep, BOOL bSkipFlagged, BOOL bSkipTemporary,
                               BOOL bAllowScrollHidden) const
{
    int nCount = GetCount();
    if (nCount == 0)
        return -1;
    DWORD dwAllowed = bAllowScrollHidden ? xtpHideScroll : xtpHideScroll | xtpHideExpand;

    BOOL bWrapped = FALSE;
    int nIndex = nStart == -1 && nStep == -1 ? nCount : nStart;
    for (;;) {
        nIndex += nStep;
        if (nIndex >= nCount) {
            if ((nStart == -1 && nStep == 1) || bWrapped)
                return -1;
            bWrapped = TRUE;
            nIndex = 0;
        } else if (nIndex < 0) {
            if ((nStart == -1 && nStep == -1) || bWrapped)
                return -1;
            bWrapped = TRUE;
            nIndex = nCount - 1;
        }
        if (nIndex == nStart)
            return nStart;
        CXTPControl* pControl = m_arrControls[static_cast<size_t>(nIndex)];
        if (pControl->GetHideFlags() & ~dwAllowed)
            continue;
        if (bSkipFlagged && (pControl->GetFlags() & xtpFlagSkipFocus))
            continue;
        if (bSkipTemporary && pControl->IsTemporary())
            continue;
        return nIndex;
    }
}

int CXTPControls::GetVisibleCount(BOOL bStrict) const
{
    DWORD dwIgnored = bStrict ? 0 : xtpHideWrap;
    return static_cast<int>(std::count_if(m_arrControls.begin(), m_arrControls.end(), [&](CXTPControl* p) {
        return (p->GetHideFlags() & ~dwIgnored) == 0;
    }));
}

void CXTPControls::CreateOriginalControls()
{
    if (m_pOriginalControls)
        m_pOriginalControls->InternalRelease();
    m_pOriginalControls = nullptr;
    // The sub-menus are copied too: sharing them with the live controls, a customised menu would become its own
    // original and compare unchanged, or compare changed against the program's menu at the next start.
    m_pOriginalControls = Duplicate(TRUE);
}

CXTPControls* CXTPControls::Duplicate(BOOL bRecursive) const
{
    CXTPControls* pControls = new CXTPControls;
    for (CXTPControl* pControl : m_arrControls)
        if (!pControl->IsTemporary())
            pControls->m_arrControls.push_back(pControl->Clone(bRecursive));
    pControls->RefreshIndexes();
    if (m_pOriginalControls)
        pControls->m_pOriginalControls = m_pOriginalControls->Duplicate(bRecursive);
    return pControls;
}

BOOL CXTPControls::IsEqual(const CXTPControls* pOther) const
{
    size_t i = 0, j = 0;
    for (;;) {
        while (i < m_arrControls.size() && m_arrControls[i]->IsTemporary())
            i++;
        while (j < pOther->m_arrControls.size() && pOther->m_arrControls[j]->IsTemporary())
            j++;
        BOOL bEnd = i == m_arrControls.size(), bOtherEnd = j == pOther->m_arrControls.size();
        if (bEnd || bOtherEnd)
            return bEnd && bOtherEnd;
        if (!m_arrControls[i++]->Compare(pOther->m_arrControls[j++]))
            return FALSE;
    }
}

BOOL CXTPControls::IsChanged() const
{
    return !m_pOriginalControls || !m_pOriginalControls->IsEqual(this);
}

void CXTPControls::SetParent(CXTPCommandBar* pParent)
{
    m_pParent = pParent;
    if (!m_arrControls.empty())
        RefreshIndexes();
}

CXTPCommandBars* CXTPControls::GetCommandBars() const
{
    return m_pParent ? m_pParent->GetCommandBars() : m_pCommandBars;
}

CWnd* CXTPControls::GetSite() const
{
    return m_pParent ? m_pParent->GetOwnerSite() : nullptr;
}

void CXTPControls::RefreshIndexes()
{
    for (size_t i = 0; i < m_arrControls.size(); i++) {
        CXTPControl* pControl = m_arrControls[i];
        pControl->m_nIndex = static_cast<int>(i);
        pControl->m_pControls = this;
        pControl->SetParent(m_pParent);
    }
    if (m_pParent)
        m_pParent->OnControlsChanged();
}

int CXTPControls::Wrap(std::vector<LAYOUT_ITEM>& items, int nWidth, DWORD& dwMode)
{
    for (LAYOUT_ITEM& item : items)
        item.bWrap = item.bHidden = FALSE;
    int nRows = 1, x = 0;
    size_t nRowStart = items.size(), nFirst = items.size();
    for (size_t i = 0; i < items.size(); i++) {
        LAYOUT_ITEM& item = items[i];
        if (!item.bVisible)
            continue;
        if (nFirst == items.size())
            nFirst = nRowStart = i;
        BOOL bGroup = item.bBeginGroup && i != nFirst;
        x += item.nAlongSize + (bGroup && i != nRowStart ? nGroupGap : 0);
        BOOL bBreak = (x > nWidth || ((dwMode & xtpLayoutPopupRows) && bGroup)) && i != nRowStart;
        if (!bBreak)
            continue;
        if (dwMode & xtpLayoutHideWrap) {
            for (size_t k = i; k < items.size(); k++)
                items[k].bHidden = items[k].bVisible;
            dwMode |= LM_STRETCH;
            break;
        }
        size_t nBreak = i;
        for (size_t k = i; k > nRowStart; k--)
            if (items[k].bVisible && items[k].bBeginGroup) {
                nBreak = k;
                break;
            }
        items[nBreak].bWrap = TRUE;
        nRowStart = i = nBreak;
        x = items[nBreak].nAlongSize;
        nRows++;
        dwMode |= LM_STRETCH;
    }
    return nRows;
}

CSize CXTPControls::PlaceRows(std::vector<LAYOUT_ITEM>& items, std::vector<LAYOUT_ROW>& rows)
{
    rows.clear();
    int x = 0, nAlongMax = 0;
    BOOL bFirst = TRUE;
    for (LAYOUT_ITEM& item : items) {
        if (!item.bVisible || item.bHidden)
            continue;
        if (bFirst) {
            rows.push_back({0, 0});
        } else if (item.bWrap) {
            const LAYOUT_ROW& last = rows.back();
            rows.push_back({last.nAcross + last.nSize + (item.bBeginGroup ? nGroupGap : 0), 0});
            x = 0;
        } else if (item.bBeginGroup) {
            x += nGroupGap;
        }
        bFirst = FALSE;
        item.nAlong = x;
        item.nRow = static_cast<int>(rows.size()) - 1;
        x += item.nAlongSize;
        rows.back().nSize = std::max(rows.back().nSize, item.nAcrossSize);
        nAlongMax = std::max(nAlongMax, x);
    }
    if (rows.empty())
        return CSize(0, 0);
    return CSize(nAlongMax, rows.back().nAcross + rows.back().nSize);
}

void CXTPControls::Stretch(std::vector<LAYOUT_ITEM>& items, int nLength)
{
    // Right-aligned controls at the end go to the far end of the last row.
    int nLastRow = -1;
    for (const LAYOUT_ITEM& item : items)
        if (item.bVisible && !item.bHidden)
            nLastRow = std::max(nLastRow, item.nRow);
    int nEnd = nLength;
    for (size_t i = items.size(); i-- > 0;) {
        LAYOUT_ITEM& item = items[i];
        if (!item.bVisible || item.bHidden)
            continue;
        if (item.nRow != nLastRow || !(item.pControl->GetFlags() & xtpFlagRightAlign))
            break;
        if (item.nAlong + item.nAlongSize < nEnd)
            item.nAlong = nEnd - item.nAlongSize;
        nEnd = item.nAlong;
    }
    // In each row the free space goes to the stretched controls in turn.
    for (int nRow = 0; nRow <= nLastRow; nRow++) {
        int nRight = 0, nStretched = 0;
        for (const LAYOUT_ITEM& item : items)
            if (item.bVisible && !item.bHidden && item.nRow == nRow) {
                nRight = std::max(nRight, item.nAlong + item.nAlongSize);
                if (item.pControl->GetFlags() & xtpFlagControlStretched)
                    nStretched++;
            }
        int nFree = nLength - nRight, nShift = 0;
        for (LAYOUT_ITEM& item : items) {
            if (!item.bVisible || item.bHidden || item.nRow != nRow || nFree <= 0)
                continue;
            item.nAlong += nShift;
            if (item.pControl->GetFlags() & xtpFlagControlStretched) {
                int nAdd = nFree / nStretched--;
                item.nAlongSize += nAdd;
                nShift += nAdd;
                nFree -= nAdd;
            }
        }
    }
}

CSize CXTPControls::CalcDynamicSize(CDC* pDC, int nLength, DWORD dwMode, const CRect& rcBorder, int nMinWidth)
{
    // By index: list placeholders insert their items after themselves while this runs.
    for (int i = 0; i < GetCount(); i++)
        GetAt(i)->OnCalcDynamicSize(dwMode);
    if (GetVisibleCount(FALSE) == 0)
        return CSize(0, 0);

    BOOL bVert = (dwMode & LM_VERTDOCK) != 0;
    std::vector<LAYOUT_ITEM> items;
    for (CXTPControl* pControl : m_arrControls) {
        CSize sz = pControl->GetSize(pDC);
        LAYOUT_ITEM item;
        item.pControl = pControl;
        item.nAlongSize = bVert ? sz.cy : sz.cx;
        item.nAcrossSize = bVert ? sz.cx : sz.cy;
        item.bVisible = (pControl->GetHideFlags() & ~xtpHideWrap) == 0;
        item.bBeginGroup = pControl->GetBeginGroup();
        items.push_back(item);
    }

    if ((dwMode & LM_MRUWIDTH) && m_pParent)
        nLength = m_pParent->GetMRUWidth();
    int nMarginsAlong = bVert ? rcBorder.top + rcBorder.bottom : rcBorder.left + rcBorder.right;
    std::vector<LAYOUT_ROW> rows;
    if (dwMode & xtpLayoutPopupRows) {
        Wrap(items, m_pParent ? m_pParent->GetMRUWidth() : nLength, dwMode);
    } else if (dwMode & (LM_HORZDOCK | LM_VERTDOCK)) {
        Wrap(items, nLength - nMarginsAlong, dwMode);
    } else if (dwMode & LM_LENGTHY) {
        // The narrowest width whose rows fit the height asked for.
        int nHeight = nLength - rcBorder.top - rcBorder.bottom, nLow = 0, nHigh = 0x7FFF;
        while (nLow < nHigh) {
            int nMid = (nLow + nHigh) / 2;
            DWORD dwProbe = dwMode;
            Wrap(items, nMid, dwProbe);
            if (PlaceRows(items, rows).cy <= nHeight)
                nHigh = nMid;
            else
                nLow = nMid + 1;
        }
        DWORD dwProbe = dwMode;
        Wrap(items, nLow, dwProbe);
    } else {
        // The narrowest width that keeps the row count of the length given.
        int nWidth = nLength - rcBorder.left - rcBorder.right;
        DWORD dwProbe = dwMode;
        int nRows = Wrap(items, nWidth, dwProbe), nLow = 0, nHigh = std::max(nWidth, 0);
        while (nLow < nHigh) {
            int nMid = (nLow + nHigh) / 2;
            dwProbe = dwMode;
            if (Wrap(items, nMid, dwProbe) <= nRows)
                nHigh = nMid;
            else
                nLow = nMid + 1;
        }
        // The width found is the bar's: its rows are not stretched to the length asked for.
        dwProbe = dwMode;
        Wrap(items, nLow, dwProbe);
    }

    CSize szRows = PlaceRows(items, rows);
    int nMin = nMinWidth - nMarginsAlong;
    if (szRows.cx < nMin)
        szRows.cx = nMin;
    if ((dwMode & LM_STRETCH) && szRows.cx < nLength - nMarginsAlong)
        szRows.cx = nLength - nMarginsAlong;

    if (dwMode & LM_COMMIT) {
        Stretch(items, szRows.cx);
        for (LAYOUT_ITEM& item : items) {
            CXTPControl* pControl = item.pControl;
            DWORD dwHide = pControl->GetHideFlags();
            pControl->SetHideFlags(item.bHidden ? dwHide | xtpHideWrap : dwHide & ~xtpHideWrap);
            if (!item.bVisible || item.bHidden)
                continue;
            const LAYOUT_ROW& row = rows[static_cast<size_t>(item.nRow)];
            int nAcross = row.nAcross + (row.nSize - item.nAcrossSize) / 2;
            CRect rcRow, rc;
            if (bVert) {
                // Columns of a vertical bar run from right to left.
                int nRowLeft = szRows.cy - row.nAcross - row.nSize;
                int nLeft = szRows.cy - nAcross - item.nAcrossSize;
                rcRow.SetRect(nRowLeft, item.nAlong, nRowLeft + row.nSize, item.nAlong + item.nAlongSize);
                rc.SetRect(nLeft, item.nAlong, nLeft + item.nAcrossSize, item.nAlong + item.nAlongSize);
            } else {
                rcRow.SetRect(item.nAlong, row.nAcross, item.nAlong + item.nAlongSize, row.nAcross + row.nSize);
                rc.SetRect(item.nAlong, nAcross, item.nAlong + item.nAlongSize, nAcross + item.nAcrossSize);
            }
            rcRow.OffsetRect(rcBorder.left, rcBorder.top);
            rc.OffsetRect(rcBorder.left, rcBorder.top);
            pControl->SetRowRect(rcRow);
            pControl->SetWrap(item.bWrap);
            pControl->SetRect(rc);
        }
    }
    CSize sz = bVert ? CSize(szRows.cy, szRows.cx) : szRows;
    return sz + CSize(rcBorder.left + rcBorder.right, rcBorder.top + rcBorder.bottom);
}
