// The commands of the customise context menu. Each acts on the manager's drag control (the control the user
// right-clicked in customise mode) and ends by laying out and redrawing that control's bar; without a drag
// control they do nothing and their states stay as they were. The icon commands (copy, paste, edit and change
// the button's icon) work through the clipboard and the image manager and are the sheet's own.
#pragma once

#include "ui/commandbars/XTPCommandBars.h"

class CXTPCustomizeControlCommands
{
public:
    explicit CXTPCustomizeControlCommands(CXTPCommandBars* pCommandBars) : m_pCommandBars(pCommandBars) {}

    // TRUE when the id is one this object carries out.
    BOOL Execute(UINT nID);
    // The name box executed with that text.
    void Rename(const CString& strCaption);
    // Every id of the context menu but for the name box's text, which the sheet puts in its field.
    void UpdateState(CCmdUI* pCmdUI) const;
    // What the name box shows: the drag control's caption, empty without one.
    CString GetDragControlName() const;

private:
    void DeleteControl(CXTPControl* pControl);
    static void RecalcBar(CXTPCommandBar* pBar);

    CXTPCommandBars* m_pCommandBars;
};
