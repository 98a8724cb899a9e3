#include "DlgPrint.h"

#include "platform/mfc/afxdatax.h"
#include "resource.h"

CDlgPrint::CDlgPrint(CWnd* pParent) : CDialog(IDD_PRINT, pParent)
{
}

void CDlgPrint::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_PRINT_CONTROL_FORMS, m_nFormSet);
    DDX_Radio(pDX, IDC_PRINT_ALL_FORMS, m_nExtent);
}
