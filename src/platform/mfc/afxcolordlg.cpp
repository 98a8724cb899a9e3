#include "afxcolordlg.h"

#include "afxthread.h"

IMPLEMENT_DYNAMIC(CColorDialog, CDialog)

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd)
{
    m_pParentWnd = pParentWnd;
    for (COLORREF& clr : m_clrCustom)
        clr = RGB(255, 255, 255);
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.rgbResult = clrInit;
    m_cc.lpCustColors = m_clrCustom;
    m_cc.Flags = dwFlags | CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal()
{
    const COLORREF clrInit = m_cc.rgbResult;
    INT_PTR nResult = IDCANCEL;
    if (const AFX_MODAL_HANDLER& handler = AfxGetModalHandler()) {
        nResult = handler(*this);
    } else {
        if (!m_cc.hwndOwner) {
            CWnd* pOwner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
            m_cc.hwndOwner = pOwner ? pOwner->m_hWnd : nullptr;
        }
        nResult = ::ChooseColorW(&m_cc) ? IDOK : IDCANCEL;
    }
    // A cancelled dialog leaves the starting colour, whatever was shown meanwhile.
    if (nResult != IDOK)
        m_cc.rgbResult = clrInit;
    return nResult;
}
