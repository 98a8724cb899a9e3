// A combo box that delivers the item-deletion notices of an owner-drawn combo exactly once per item, whether or
// not the system sends them itself when the box is emptied or destroyed, so that a parent freeing its item data
// there frees each item once.
#pragma once

#include "platform/mfc/afxctrls.h"

class CAdComboBox : public CComboBox
{
    DECLARE_DYNAMIC(CAdComboBox)

protected:
    afx_msg LRESULT OnResetContent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDeleteItemNotice(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    BOOL m_bResetting = FALSE;
    int m_nSystemNotices = 0;
};
