// A window class made fit for a docking pane: the framework's GUI font, and a one-pixel frame in the colour
// table's pane border colour drawn in the non-client area.
#pragma once

#include "platform/mfc/afxwin.h"
#include "ui/themes/ColorTable.h"
#include "ui/themes/UiGlobalData.h"

#include <utility>

template <class TBase>
class CDockPaneWnd : public TBase
{
public:
    enum { BORDER_COLOR = 52 };

    template <class... Args>
    explicit CDockPaneWnd(Args&&... args) : TBase(std::forward<Args>(args)...) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_CREATE: {
            LRESULT lResult = TBase::WindowProc(message, wParam, lParam);
            HFONT hFont = static_cast<HFONT>(GetUiGlobalData()->m_fontNormal.GetSafeHandle());
            this->SendMessage(WM_SETFONT,
                              reinterpret_cast<WPARAM>(hFont ? hFont : ::GetStockObject(DEFAULT_GUI_FONT)));
            return lResult;
        }
        case WM_NCCALCSIZE: {
            auto* pRect = reinterpret_cast<RECT*>(lParam);   // the first rectangle of either form
            ::InflateRect(pRect, -1, -1);
            return 0;
        }
        case WM_NCPAINT: {
            HDC hDC = ::GetWindowDC(this->m_hWnd);
            RECT rect;
            ::GetWindowRect(this->m_hWnd, &rect);
            ::OffsetRect(&rect, -rect.left, -rect.top);
            HBRUSH hBrush = ::CreateSolidBrush(GetColorTable()->GetColor(BORDER_COLOR));
            ::FrameRect(hDC, &rect, hBrush);
            ::DeleteObject(hBrush);
            ::ReleaseDC(this->m_hWnd, hDC);
            return 0;
        }
        default:
            return TBase::WindowProc(message, wParam, lParam);
        }
    }
};
