// A frame with its own menu, toolbar and accelerators (FrameTest.rc) that writes down, in order, the control
// notifications (1325) and commands it receives; its update handlers tick "Griglia" and grey "Copia" as the test
// says, "Esci" has no handler. Beside it: a pump that gives the frame its pre-translation, and real input.
#pragma once

#include "FrameTestRes.h"
#include "support/RealInput.h"

#include "ui/commandbars/XTPFrameWnd.h"
#include "ui/commandbars/XTPMenuBar.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/persist/ImageManager.h"

#include <functional>
#include <vector>

class CTestFrame : public CXTPFrameWnd
{
    DECLARE_DYNCREATE(CTestFrame)
public:
    struct EVENT
    {
        UINT message;   // XTPM_CONTROLNOTIFY, WM_COMMAND or XTPM_TOOLBARSMENU
        UINT nId;
        UINT nCode;     // the notification code of 1325
        bool operator==(const EVENT& other) const
        {
            return message == other.message && nId == other.nId && nCode == other.nCode;
        }
    };

    std::vector<EVENT> m_events;
    BOOL m_bGridChecked = TRUE;
    BOOL m_bCopyEnabled = FALSE;
    // The command whose notification the frame answers as handled (no WM_COMMAND follows).
    UINT m_nHandledNotify = 0;
    CString m_strStatus;

    CXTPToolBar* GetToolBar() const { return m_pCommandBars ? m_pCommandBars->GetAt(1) : nullptr; }
    CXTPMenuBar* GetMenuBar() const { return m_pCommandBars ? m_pCommandBars->GetMenuBar() : nullptr; }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        if (CXTPFrameWnd::OnCreate(lpCreateStruct) == -1 || !InitCommandBars())
            return -1;
        // The frame's own icon store: the process-wide one stays as other tests expect it.
        auto* pImages = new CXTPImageManager;
        pImages->SetMaskColor(0xC0C0C0);
        m_pCommandBars->SetImageManager(pImages);
        if (!m_pCommandBars->SetMenu(L"Menu Bar", IDR_FRAMETEST))
            return -1;
        CXTPToolBar* pToolBar = m_pCommandBars->Add(L"Standard", xtpBarTop);
        if (!pToolBar || !pToolBar->LoadToolBar(IDR_FRAMETEST))
            return -1;
        return 0;
    }
    void OnCommandRange(UINT nId) { m_events.push_back({WM_COMMAND, nId, 0}); }
    void OnUpdateGrid(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bGridChecked); }
    void OnUpdateCopy(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bCopyEnabled); }
    LRESULT OnSetMessageString(WPARAM /*wParam*/, LPARAM lParam)
    {
        m_strStatus = lParam ? reinterpret_cast<LPCTSTR>(lParam) : L"";
        return 0;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == XTPM_CONTROLNOTIFY) {
            auto* pNotify = reinterpret_cast<XTP_CONTROL_NOTIFY*>(lParam);
            m_events.push_back({message, static_cast<UINT>(wParam), pNotify->code});
            if (wParam == m_nHandledNotify)
                return 1;
        }
        if (message == XTPM_TOOLBARSMENU)
            m_events.push_back({message, 0, 0});
        return CXTPFrameWnd::WindowProc(message, wParam, lParam);
    }
    DECLARE_MESSAGE_MAP()
};

// Dispatches, with the frame's pre-translation, until the queue has been quiet (but for timers) for a while; never
// longer than five seconds.
void PumpFrame(HWND hWndFrame, DWORD dwQuietMs = 80);


// A window that counts the presses it receives (a second click on the same spot comes as a double click).
template <class TBase>
class CPressCounter : public TBase
{
public:
    int m_nPresses = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK)
            m_nPresses++;
        return TBase::WindowProc(message, wParam, lParam);
    }
};

// The ids of a bar's own controls, in order: not the temporary ones (its expand and close buttons).
inline std::vector<int> OwnIds(CXTPCommandBar* pBar)
{
    std::vector<int> ids;
    for (int i = 0; i < pBar->GetControls()->GetCount(); i++)
        if (!pBar->GetControls()->GetAt(i)->IsTemporary())
            ids.push_back(pBar->GetControls()->GetAt(i)->GetID());
    return ids;
}

// A window whose posted WM_APP runs the next probe of a script inside a loop of the bars (a drag, a press), once
// the input posted before it has been seen there.
class CProbeScriptWnd : public CWnd
{
public:
    std::vector<std::function<void()>> m_probes;
    size_t m_nNext = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_APP && m_nNext < m_probes.size()) {
            m_probes[m_nNext++]();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// The controls of a collection that are not temporary (a bar's expand and close buttons come and go with its
// layout).
inline int OwnCount(CXTPControls* pControls)
{
    int nCount = 0;
    for (int i = 0; i < pControls->GetCount(); ++i)
        nCount += pControls->GetAt(i)->IsTemporary() ? 0 : 1;
    return nCount;
}

// Shows a frame of the class at a place of the shared display away from other test programs; null when it cannot.
CTestFrame* CreateTestFrame();

// The popup on top of those the bars track, once its window shows; null while no menu is open. A step that works
// a menu waits for it so, whether a loop of the menu's own runs it or the hooks do.
CXTPPopupBar* GetOpenPopup();

// Runs an action once from a timer after a fixed delay, in whatever loop of the frame's own runs then (popup
// tracking): for the show programs, which only take pictures. A test waits on state instead (RunWhen).
void RunLater(std::function<void()> action, UINT nDelay = 100);
