// The frame that carries command bars: its command-bars manager sees the frame's messages first, its keyboard
// input after the frame's own accelerators, and the bars' control notification (1325) travels the frame's command
// routing as a notification command.
#pragma once

#include "platform/mfc/afxframe.h"
#include "platform/mfc/afxmdi.h"
#include "ui/commandbars/XTPCommandBars.h"

// The site part of a frame class: it owns the manager once the frame makes it.
template <class TBase>
class CXTPCommandBarsSiteBase : public TBase
{
public:
    ~CXTPCommandBarsSiteBase() override
    {
        if (m_pCommandBars) {
            // Whoever still holds the bars (a running customise sheet) must not reach the frame any more.
            m_pCommandBars->SetSite(nullptr);
            m_pCommandBars->InternalRelease();
        }
    }

    CXTPCommandBars* GetCommandBars() const { return m_pCommandBars; }
    // The manager through the class given (its runtime class), with this frame as site; FALSE when it cannot be
    // made.
    BOOL InitCommandBars(CRuntimeClass* pCommandBarsClass = RUNTIME_CLASS(CXTPCommandBars))
    {
        if (m_pCommandBars)
            return TRUE;
        CObject* pObject = pCommandBarsClass->CreateObject();
        if (!pObject)
            return FALSE;
        if (!pObject->IsKindOf(RUNTIME_CLASS(CXTPCommandBars))) {
            delete pObject;
            return FALSE;
        }
        m_pCommandBars = static_cast<CXTPCommandBars*>(pObject);
        m_pCommandBars->SetSite(this);
        m_pCommandBars->EnableDocking();
        return TRUE;
    }

    BOOL PreTranslateMessage(MSG* pMsg) override;
    // A menu bar shows the menu of a frame without document windows: such a frame keeps no Windows menu beside
    // it. An MDI frame's menu reaches the menu bar through its MDI client.
    void OnUpdateFrameMenu(HMENU hMenuAlt) override
    {
        if (m_pCommandBars && m_pCommandBars->GetMenuBar() && !TBase::IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
            return;
        TBase::OnUpdateFrameMenu(hMenuAlt);
    }

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    CXTPCommandBars* m_pCommandBars = nullptr;
};

// Whether the focus is in an edit field of the bars (keys other than Enter, Tab and Esc stay its own).
BOOL XTPIsCommandBarsEditFocused(const MSG* pMsg);
// Routes the bars' control notification through the frame's commands; TRUE when a handler took it.
BOOL XTPRouteControlNotify(CCmdTarget* pFrame, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

template <class TBase>
BOOL CXTPCommandBarsSiteBase<TBase>::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && XTPIsCommandBarsEditFocused(pMsg))
        return FALSE;
    if (TBase::PreTranslateMessage(pMsg))
        return TRUE;
    return m_pCommandBars && m_pCommandBars->PreTranslateFrameMessage(pMsg);
}

template <class TBase>
BOOL CXTPCommandBarsSiteBase<TBase>::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (m_pCommandBars) {
        // The manager may be released by what a message does: it lives until the message is over.
        CXTPCommandBars* pCommandBars = m_pCommandBars;
        pCommandBars->InternalAddRef();
        BOOL bHandled = pCommandBars->OnFrameWndMsg(message, wParam, lParam, pResult);
        pCommandBars->InternalRelease();
        if (bHandled)
            return TRUE;
    }
    if (message == XTPM_CONTROLNOTIFY && XTPRouteControlNotify(this, wParam, lParam, pResult))
        return TRUE;
    return TBase::OnWndMsg(message, wParam, lParam, pResult);
}

class CXTPFrameWnd : public CXTPCommandBarsSiteBase<CFrameWnd>
{
    DECLARE_DYNCREATE(CXTPFrameWnd)
public:
    CXTPFrameWnd() = default;

    // The frame's menu becomes the menu bar's when the bars exist.
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    // Toolbars hide in print preview and come back after it.
    virtual void OnSetPreviewMode(BOOL bPreview);
};
