#include "controls/AdComboBox.h"

#include <vector>

IMPLEMENT_DYNAMIC(CAdComboBox, CComboBox)

LRESULT CAdComboBox::OnResetContent(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    const int nCount = GetCount();
    std::vector<ULONG_PTR> data;
    for (int i = 0; i < nCount; i++)
        data.push_back(static_cast<ULONG_PTR>(GetItemData(i)));

    // The list sends its notices through the combo box on their way to the parent: count them.
    m_bResetting = TRUE;
    m_nSystemNotices = 0;
    const LRESULT lResult = Default();
    m_bResetting = FALSE;
    if (m_nSystemNotices > 0 || !(GetStyle() & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)))
        return lResult;

    // The system sent none: the parent hears of each item here.
    CWnd* pParent = GetParent();
    for (int i = 0; i < nCount && pParent; i++) {
        DELETEITEMSTRUCT dis = {};
        dis.CtlType = ODT_COMBOBOX;
        dis.CtlID = static_cast<UINT>(GetDlgCtrlID());
        dis.itemID = static_cast<UINT>(i);
        dis.hwndItem = m_hWnd;
        dis.itemData = data[static_cast<size_t>(i)];
        pParent->SendMessage(WM_DELETEITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    }
    return lResult;
}

LRESULT CAdComboBox::OnDeleteItemNotice(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    if (m_bResetting)
        ++m_nSystemNotices;
    return Default();
}

void CAdComboBox::OnDestroy()
{
    SendMessage(CB_RESETCONTENT);
    CComboBox::OnDestroy();
}

BEGIN_MESSAGE_MAP(CAdComboBox, CComboBox)
    ON_MESSAGE(CB_RESETCONTENT, &CAdComboBox::OnResetContent)
    ON_MESSAGE(WM_DELETEITEM, &CAdComboBox::OnDeleteItemNotice)
    ON_WM_DESTROY()
END_MESSAGE_MAP()
