#include "ui/commandbars/XTPCustomizeCommands.h"

#include "ui/commandbars/XTPControl.h"
#include "ui/commandbars/XTPControls.h"
#include "ui/uires.h"

namespace
{
// Buttons and popups have icons and styles; edit boxes, combo boxes, labels and custom controls do not.
BOOL HasIconAndStyle(const CXTPControl* pControl)
{
    return pControl->GetType() >= xtpControlButton && pControl->GetType() <= xtpControlSplitButtonPopup;
}

// CustomStyle of each style command.
int StyleOfCommand(UINT nID)
{
    switch (nID) {
    case XTP_ID_CUSTOMIZE_IMAGEANDTEXT: return xtpButtonIconAndCaption;
    case XTP_ID_CUSTOMIZE_TEXTONLY: return xtpButtonCaption;
    default: return xtpButtonAutomatic;
    }
}
}

BOOL CXTPCustomizeControlCommands::Execute(UINT nID)
{
    switch (nID) {
    case XTP_ID_CUSTOMIZE_RESET:
    case XTP_ID_CUSTOMIZE_DELETE:
    case XTP_ID_CUSTOMIZE_RESETBUTTONIMAGE:
    case XTP_ID_CUSTOMIZE_DEFAULTSTYLE:
    case XTP_ID_CUSTOMIZE_IMAGEANDTEXT:
    case XTP_ID_CUSTOMIZE_TEXTONLY:
    case XTP_ID_CUSTOMIZE_BEGINAGROUP: break;
    default: return FALSE;
    }
    CXTPControl* pControl = m_pCommandBars->GetDragControl();
    if (!pControl)
        return TRUE;
    switch (nID) {
    case XTP_ID_CUSTOMIZE_RESET:
        pControl->SetCustomIconId(0);
        pControl->SetCustomCaption(CString());
        pControl->SetCustomStyle(0);
        break;
    case XTP_ID_CUSTOMIZE_DELETE: DeleteControl(pControl); return TRUE;
    case XTP_ID_CUSTOMIZE_RESETBUTTONIMAGE: pControl->SetCustomIconId(0); break;
    case XTP_ID_CUSTOMIZE_BEGINAGROUP: pControl->SetBeginGroup(!pControl->GetBeginGroup()); break;
    default: pControl->SetCustomStyle(StyleOfCommand(nID)); break;
    }
    RecalcBar(pControl->GetParent());
    return TRUE;
}

void CXTPCustomizeControlCommands::DeleteControl(CXTPControl* pControl)
{
    // The collection may hold the last reference: the bar is taken, and the control kept alive, before it goes.
    pControl->InternalAddRef();
    CXTPCommandBar* pBar = pControl->GetParent();
    m_pCommandBars->SetDragControl(nullptr);
    if (CXTPControls* pControls = pControl->GetControls())
        pControls->Remove(pControl);
    if (pBar)
        pBar->OnControlsChanged();
    RecalcBar(pBar);
    pControl->InternalRelease();
}

void CXTPCustomizeControlCommands::Rename(const CString& strCaption)
{
    if (CXTPControl* pControl = m_pCommandBars->GetDragControl()) {
        pControl->SetCustomCaption(strCaption);
        RecalcBar(pControl->GetParent());
    }
}

void CXTPCustomizeControlCommands::RecalcBar(CXTPCommandBar* pBar)
{
    if (!pBar)
        return;
    pBar->OnRecalcLayout();
    if (pBar->GetSafeHwnd())
        pBar->Invalidate(FALSE);
}

CString CXTPCustomizeControlCommands::GetDragControlName() const
{
    const CXTPControl* pControl = m_pCommandBars->GetDragControl();
    return pControl ? pControl->GetCaption() : CString();
}

void CXTPCustomizeControlCommands::UpdateState(CCmdUI* pCmdUI) const
{
    const CXTPControl* pControl = m_pCommandBars->GetDragControl();
    if (!pControl)
        return;
    const BOOL bIconAndStyle = HasIconAndStyle(pControl);
    switch (pCmdUI->m_nID) {
    case XTP_ID_CUSTOMIZE_RESET:
        pCmdUI->Enable(pControl->GetCustomIconId() >= 1 || !pControl->GetCustomCaption().IsEmpty() ||
                       pControl->GetCustomStyle() != 0);
        break;
    case XTP_ID_CUSTOMIZE_NAME: pCmdUI->Enable(TRUE); break;
    case XTP_ID_CUSTOMIZE_COPYBUTTONIMAGE:
    case XTP_ID_CUSTOMIZE_EDITBUTTONIMAGE:
    case XTP_ID_CUSTOMIZE_CHANGEBUTTONIMAGE: pCmdUI->Enable(pControl->GetIconId() > 0 && bIconAndStyle); break;
    case XTP_ID_CUSTOMIZE_PASTEBUTTONIMAGE:
        pCmdUI->Enable(::IsClipboardFormatAvailable(CF_BITMAP) && bIconAndStyle);
        break;
    case XTP_ID_CUSTOMIZE_RESETBUTTONIMAGE: pCmdUI->Enable(pControl->GetCustomIconId() >= 1); break;
    case XTP_ID_CUSTOMIZE_DEFAULTSTYLE:
    case XTP_ID_CUSTOMIZE_IMAGEANDTEXT:
    case XTP_ID_CUSTOMIZE_TEXTONLY:
        pCmdUI->SetCheck(0);
        if (bIconAndStyle)
            pCmdUI->SetCheck(pControl->GetCustomStyle() == StyleOfCommand(pCmdUI->m_nID));
        else
            pCmdUI->Enable(FALSE);
        break;
    case XTP_ID_CUSTOMIZE_BEGINAGROUP:
        pCmdUI->SetCheck(0);
        pCmdUI->SetCheck(pControl->GetBeginGroup());
        pCmdUI->Enable(pControl->GetIndex() != 0);
        break;
    default: break;
    }
}
