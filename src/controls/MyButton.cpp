#include "controls/MyButton.h"

IMPLEMENT_DYNAMIC(CMyButton, CXTButton)

void CMyButton::UpdateTooltip()
{
    SetDrawStyle(styleSemiFlat | styleVisualStyles, FALSE);
    if (!(GetStyle() & (BS_ICON | BS_BITMAP)))
        return;
    if (!m_toolTip.GetSafeHwnd()) {
        if (!m_toolTip.Create(this))
            return;
        m_toolTip.Activate(TRUE);
    }
    CString strCaption;
    GetWindowText(strCaption);
    m_toolTip.DelTool(this);
    m_toolTip.AddTool(this, strCaption);
    SetWindowText(L"");
    Invalidate();
}

BOOL CMyButton::PreTranslateMessage(MSG* pMsg)
{
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.RelayEvent(pMsg);
    return CXTButton::PreTranslateMessage(pMsg);
}

int CMyButton::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CXTButton::OnCreate(lpCreateStruct) == -1)
        return -1;
    UpdateTooltip();
    return 0;
}

BEGIN_MESSAGE_MAP(CMyButton, CXTButton)
    ON_WM_CREATE()
END_MESSAGE_MAP()
