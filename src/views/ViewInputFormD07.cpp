#include "ViewInputFormD07.h"

#include "platform/mfc/afxfiledlg.h"
#include "platform/mfc/afxmsgbox.h"
#include "platform/mfc/afxprintdlg.h"
#include "platform/mfc/afxwaitcursor.h"
#include "resource.h"
#include "util/MessageText.h"

#include <vector>

IMPLEMENT_DYNCREATE(CViewInputFormD07, CViewInputForm)

BEGIN_MESSAGE_MAP(CViewInputFormD07, CViewInputForm)
    ON_COMMAND(ID_FILE_SAVE, &CViewInputFormD07::OnFileSave)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, &CViewInputFormD07::OnUpdateFileSave)
    ON_COMMAND(ID_FILE_PRINT, &CViewInputFormD07::OnFilePrint)
END_MESSAGE_MAP()

BOOL CViewInputFormD07::LoadData(const CRecordID* pItem)
{
    if (!CViewInputForm::LoadData(pItem))
        return FALSE;
    try {
        m_grid.InvokeMethod248(2, 1);
        // The description sheets hold field names and keys: only the data sheets leave the program.
        std::vector<int> dataSheets;
        for (int nPair = 0; nPair < m_formInfo.GetSize(); nPair++)
            dataSheets.push_back(2 * nPair + 1);
        m_grid.SetOutputSheets(dataSheets);
    } catch (CException* e) {
        ShowError(e);
    }
    return TRUE;
}

void CViewInputFormD07::OnUpdateFileSave(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

void CViewInputFormD07::OnFileSave()
{
    CString strFilter = LoadResString(IDS_XLS_FILTER);
    CFileDialog dlg(FALSE, L"xls", LoadResString(IDS_D07_FILE_NAME), OFN_EXPLORER | OFN_OVERWRITEPROMPT, strFilter,
                    this);
    dlg.m_ofn.nFilterIndex = 1;
    if (dlg.DoModal() != IDOK)
        return;
    try {
        CWaitCursor wait;
        m_grid.InvokeMethod1428(dlg.GetPathName(), 11);
    } catch (CException* e) {
        ShowError(e);
    }
}

void CViewInputFormD07::OnFilePrint()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->SelectPrinter(nullptr, nullptr);
    CPrintDialog dlg(FALSE, PD_NOSELECTION | PD_RETURNDC | PD_USEDEVMODECOPIES | PD_HIDEPRINTTOFILE, this);
    if (!dlg.GetDefaults()) {
        AfxMessageBox(IDP_NO_PRINTER, MB_ICONEXCLAMATION);
        return;
    }
    // The dialog starts on the default printer; the context made for it is not the one printed on.
    if (HDC hDefaultDC = dlg.GetPrinterDC())
        ::DeleteDC(hDefaultDC);
    if (dlg.DoModal() != IDOK)
        return;
    HDC hDC = dlg.GetPrinterDC();
    try {
        CWaitCursor wait;
        m_grid.SetProperty1450(dlg.m_pd.hDevNames);
        m_grid.SetProperty104(dlg.m_pd.hDevMode);
        m_grid.SetPrinterDC(hDC);
        m_grid.InvokeMethod1324(0, 0);
    } catch (CException* e) {
        ShowError(e);
    }
    m_grid.SetPrinterDC(nullptr);
    if (hDC)
        ::DeleteDC(hDC);
}
