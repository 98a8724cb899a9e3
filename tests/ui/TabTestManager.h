// A window-less tab manager for the painter, style and manager tests: it owns a painter with a pinned font,
// lays out over a fixed control rect in a 32-bit memory DC, counts layouts and redraws, and gives chosen tabs
// an icon cell.
#pragma once

#include "PixelCanvas.h"

#include "ui/docking/TabManager.h"
#include "ui/themes/ColorTable.h"
#include "ui/themes/TabPainter.h"

#include <set>

// Tahoma at a pixel height: the tests' fonts do not follow the display's settings.
inline LOGFONT PinnedTabFont(int nHeight = -11)
{
    LOGFONT lf = {};
    lf.lfHeight = nHeight;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpyW(lf.lfFaceName, L"Tahoma");
    return lf;
}

// For its lifetime the process-wide colour table answers the classic grey system colours under a chosen scheme.
class CPinnedTabColors
{
public:
    explicit CPinnedTabColors(int nScheme = CColorTable::schemeNone)
    {
        GetColorTable()->SetScheme(nScheme);
        GetColorTable()->SetColorHook(Classic);
        GetColorTable()->RefreshColors();
    }
    ~CPinnedTabColors()
    {
        GetColorTable()->SetColorHook(nullptr);
        GetColorTable()->SetScheme(CColorTable::schemeAuto);
        GetColorTable()->SetSchemeColorsDisabled(FALSE);
        GetColorTable()->RefreshColors();
    }
    CPinnedTabColors(const CPinnedTabColors&) = delete;
    CPinnedTabColors& operator=(const CPinnedTabColors&) = delete;

    static COLORREF C(UINT nIndex) { return GetColorTable()->GetColor(nIndex); }

private:
    static COLORREF Classic(int nIndex)
    {
        static const COLORREF classic[28] = {
            0, RGB(58, 110, 165), RGB(10, 36, 106), RGB(128, 128, 128), RGB(212, 208, 200), RGB(255, 255, 255), 0,
            0, 0, RGB(255, 255, 255), RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106),
            RGB(255, 255, 255), RGB(212, 208, 200), RGB(128, 128, 128), RGB(172, 168, 153), 0, RGB(212, 208, 200),
            RGB(255, 255, 255), RGB(64, 64, 64), RGB(212, 208, 200), 0, RGB(255, 255, 225), RGB(181, 181, 181),
            RGB(0, 0, 128), RGB(166, 202, 240)};
        return nIndex >= 0 && nIndex < 28 ? classic[nIndex] : 0;
    }
};

class CTestTabManager : public CXTPTabManager
{
public:
    explicit CTestTabManager(CRect rcControl = CRect(0, 0, 300, 100)) : m_rcLayout(rcControl)
    {
        LOGFONT lf = PinnedTabFont();
        m_pPainter->SetFontIndirect(&lf);
        m_pPainter->AddOwner(this);
    }
    ~CTestTabManager() override
    {
        m_pPainter->RemoveOwner(this);
        m_pPainter->InternalRelease();
    }

    void Reposition() override
    {
        m_nLayouts++;
        CPixelCanvas canvas(1, 1);
        m_pPainter->RepositionTabControl(this, &canvas, m_rcLayout);
    }
    CXTPTabPainter* GetPaintManager() const override { return m_pPainter; }
    void RedrawControl() override { m_nRedraws++; }
    BOOL DrawIcon(CDC* pDC, CPoint pt, CXTPTabManagerItem* pItem, BOOL bDraw, CSize szIcon) override
    {
        if (!pItem)
            return TRUE;
        if (!m_iconItems.count(pItem->GetIndex()))
            return FALSE;
        if (bDraw)
            pDC->FillSolidRect(pt.x, pt.y, szIcon.cx, szIcon.cy, RGB(255, 0, 255));
        return TRUE;
    }

    // One tab per caption, appended.
    void AddTabs(std::initializer_list<LPCTSTR> captions)
    {
        for (LPCTSTR lpszCaption : captions)
            InsertItem(-1)->SetCaption(lpszCaption);
    }
    void Paint(CDC* pDC) { m_pPainter->DrawTabControl(this, pDC, m_rcLayout); }

    CXTPTabPainter* m_pPainter = new CXTPTabPainter;
    CRect m_rcLayout;
    std::set<int> m_iconItems;
    int m_nLayouts = 0;
    int m_nRedraws = 0;
};
