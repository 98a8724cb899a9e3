// The program's push button: the framework's themed button that, when it carries an icon or a bitmap, shows
// its caption as a tooltip instead of on its face.
#pragma once

#include "ui/themes/ThemedButton.h"

#include "platform/mfc/afxcmn.h"

class CMyButton : public CXTButton
{
    DECLARE_DYNAMIC(CMyButton)
public:
    // Semi-flat through the visual styles; with BS_ICON or BS_BITMAP the caption moves into the tooltip.
    void UpdateTooltip();
    CToolTipCtrl& GetToolTip() { return m_toolTip; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    DECLARE_MESSAGE_MAP()

private:
    CToolTipCtrl m_toolTip;
};
