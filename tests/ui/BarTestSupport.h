// What the command-bar tests share: icons that paint one colour per image, a painter of fixed sizes that records
// what it is asked to draw, a hidden frame that records what the bars tell their site, a bar laid out in rows,
// and the process-wide colour table pinned to a known palette.
#pragma once

#include "ui/commandbars/XTPPopupBar.h"
#include "ui/themes/BarIcon.h"
#include "ui/themes/BarThemeDefault.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

// Solid squares: normal red, hot green, checked blue, faded yellow, shadow black, disabled (its own) grey.
class CTestIcon : public CXTPBarIcon
{
public:
    static COLORREF ImageColor(int nImage)
    {
        static const COLORREF colors[] = {RGB(255, 0, 0), RGB(128, 128, 128), RGB(0, 255, 0), RGB(0, 0, 255),
                                          RGB(255, 255, 0), RGB(0, 0, 0)};
        return colors[nImage];
    }

    explicit CTestIcon(BOOL bOwnDisabled = FALSE) : m_bOwnDisabled(bOwnDisabled) {}
    CSize GetExtent() const override { return CSize(16, 16); }
    BOOL HasImage(int nImage) const override { return nImage != imageDisabled || m_bOwnDisabled; }
    BOOL IsAlpha() const override { return FALSE; }
    void Draw(CDC* pDC, CPoint pt, int nImage, CSize sz) override
    {
        pDC->FillSolidRect(pt.x, pt.y, sz.cx, sz.cy, ImageColor(nImage));
    }
    void DrawMono(CDC* pDC, CPoint pt, CSize sz, COLORREF clr) override { pDC->FillSolidRect(pt.x, pt.y, sz.cx, sz.cy, clr); }

private:
    BOOL m_bOwnDisabled;
};

class CTestImages : public CXTPBarImages
{
public:
    CXTPBarIcon* GetIcon(UINT nCommand, int /*nWidth*/) override
    {
        auto it = m_icons.find(nCommand);
        return it == m_icons.end() ? nullptr : &it->second;
    }
    std::map<UINT, CTestIcon> m_icons;
};

// Sizes by command id (23 by 22 when none is given); every drawing call is written down.
class CFakePainter : public CXTPBarThemeDefault
{
public:
    CSize DrawToolBarControl(CDC*, CXTPControl* pControl, BOOL bDraw) override { return Record(pControl, bDraw); }
    CSize DrawPopupBarControl(CDC*, CXTPControl* pControl, BOOL bDraw) override { return Record(pControl, bDraw); }
    void FillCommandBar(CDC*, CXTPCommandBar*) override { m_calls.push_back("fill"); }
    CSize DrawSeparator(CDC*, CXTPControl* pControl, CXTPCommandBar*, BOOL) override
    {
        m_calls.push_back("separator " + std::to_string(pControl->GetID()));
        return CSize(0, 0);
    }
    CSize DrawCommandBarGripper(CDC*, CXTPCommandBar*, BOOL) override
    {
        m_calls.push_back("gripper");
        return CSize(0, 0);
    }
    int GetThemeId() const override { return 99; }

    std::map<int, CSize> m_sizes;
    std::vector<std::string> m_calls;

private:
    CSize Record(CXTPControl* pControl, BOOL bDraw)
    {
        if (bDraw) {
            m_calls.push_back("draw " + std::to_string(pControl->GetID()));
            return CSize(0, 0);
        }
        auto it = m_sizes.find(pControl->GetID());
        return it == m_sizes.end() ? CSize(23, 22) : it->second;
    }
};

// A hidden frame that writes down the site messages and commands it receives and answers as the test says.
class CRecordingSite : public CWnd
{
public:
    struct RECORD
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    BOOL Create()
    {
        return CreateEx(0, nullptr, L"site", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), nullptr, 0);
    }
    // Messages of one kind received.
    std::vector<RECORD> Received(UINT message) const
    {
        std::vector<RECORD> result;
        for (const RECORD& r : m_records)
            if (r.message == message)
                result.push_back(r);
        return result;
    }

    std::vector<RECORD> m_records;
    // Answers by message; an answer function may also change the record it is given.
    std::map<UINT, std::function<LRESULT(WPARAM, LPARAM)>> m_answers;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        static const UINT recorded[] = {XTPM_CONTROLNOTIFY, XTPM_CONTROLCREATE, XTPM_BARCREATE, XTPM_HOTCONTROL, XTPM_DRAGCONTROL,
                                        XTPM_TRACKINGENTERED, XTPM_CONTROLCREATED, XTPM_RBUTTONUP, XTPM_TRACKINGKEY,
                                        WM_COMMAND};
        if (std::find(std::begin(recorded), std::end(recorded), message) != std::end(recorded)) {
            m_records.push_back({message, wParam, lParam});
            auto it = m_answers.find(message);
            if (it != m_answers.end())
                return it->second(wParam, lParam);
            if (message != WM_COMMAND)
                return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A bar that lays its controls out in one docked row (wrapping) through the collection's dynamic size.
class CTestBar : public CXTPCommandBar
{
public:
    BOOL Create(CWnd* pParent, const CRect& rc)
    {
        return CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, rc, pParent, 1);
    }
    void OnRecalcLayout() override
    {
        CRect rc;
        GetClientRect(&rc);
        CClientDC dc(this);
        m_dwState &= ~stateLayout;
        m_pControls->CalcDynamicSize(&dc, rc.Width(), LM_HORZDOCK | LM_COMMIT, CRect(2, 2, 2, 2));
    }
};

// The process-wide colour table on a fixed classic palette and scheme for the length of a test.
class CPinnedPalette
{
public:
    static const COLORREF* Classic()
    {
        static const COLORREF palette[28] = {
            0, RGB(58, 110, 165), RGB(10, 36, 106), RGB(128, 128, 128), RGB(212, 208, 200), RGB(255, 255, 255), 0,
            0, 0, RGB(255, 255, 255), RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106),
            RGB(255, 255, 255), RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), 0, RGB(212, 208, 200),
            RGB(255, 255, 255), RGB(64, 64, 64), RGB(212, 208, 200), 0, RGB(255, 255, 225), RGB(181, 181, 181),
            RGB(0, 0, 128), RGB(166, 202, 240)};
        return palette;
    }
    explicit CPinnedPalette(int nScheme = CColorTable::schemeNone)
    {
        GetColorTable()->SetScheme(nScheme);
        GetColorTable()->SetColorHook([](int nIndex) { return Classic()[nIndex]; });
        GetColorTable()->RefreshColors();
    }
    ~CPinnedPalette()
    {
        GetColorTable()->SetColorHook(nullptr);
        GetColorTable()->SetScheme(CColorTable::schemeAuto);
        GetColorTable()->RefreshColors();
    }
    CPinnedPalette(const CPinnedPalette&) = delete;
    CPinnedPalette& operator=(const CPinnedPalette&) = delete;
};

// Tahoma at 11 pixels for the painter, so that text heights are the same on every run.
inline void PinFont(CXTPBarPainter* pPainter)
{
    LOGFONT lf = {};
    lf.lfHeight = -11;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
    pPainter->SetFont(&lf, FALSE);
}
