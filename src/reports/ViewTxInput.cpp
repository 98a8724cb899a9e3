#include "ViewTxInput.h"

#include "FaxFields.h"
#include "ReportFiller.h"
#include "ReportHost.h"
#include "ReportTables.h"
#include "ReportVariants.h"
#include "TxPrinting.h"
#include "UserCopy.h"

#include "data/AdoErrorText.h"
#include "platform/mfc/afxfiledlg.h"
#include "platform/mfc/afxmsgbox.h"
#include "resource.h"
#include "util/MessageText.h"
#include "util/PathUtil.h"

#include <richedit.h>

namespace {

const UINT IDC_TX_CONTROL = 1008;
const UINT IDC_TX_BUTTONBAR = 1025;
const UINT IDC_TX_RULER = 1026;
const UINT IDC_TX_STATUSBAR = 1027;

// The filter's position chooses the export format; "all documents" and anything else write PDF.
long ExportFormatOfFilter(DWORD nFilterIndex)
{
    static const long kFormats[] = {txdFormatPdf, txdFormatDoc, txdFormatRtf, txdFormatHtml, txdFormatText};
    return nFilterIndex >= 1 && nFilterIndex <= _countof(kFormats) ? kFormats[nFilterIndex - 1] : long{txdFormatPdf};
}

void ShowError(CException* e)
{
    AfxMessageBox(GetExceptionText(e), MB_ICONERROR);
}

} // namespace

// CViewTxInput

IMPLEMENT_DYNCREATE(CViewTxInput, CFormView)

BEGIN_MESSAGE_MAP(CViewTxInput, CFormView)
    ON_WM_SIZE()
    ON_EN_CHANGE(IDC_TX_CONTROL, &CViewTxInput::OnChangeDocument)
    ON_NOTIFY(EN_SELCHANGE, IDC_TX_CONTROL, &CViewTxInput::OnSelChangeDocument)
    ON_COMMAND(ID_FILE_SAVE, &CViewTxInput::OnFileSave)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, &CViewTxInput::OnUpdateFileSave)
END_MESSAGE_MAP()

CViewTxInput::CViewTxInput() : CFormView(IDD_TX_INPUT)
{
}

CViewTxInput::~CViewTxInput() = default;

void CViewTxInput::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();
    if (m_control.GetSafeHwnd())
        return;
    m_control.Create(WS_VISIBLE | WS_BORDER, CRect(0, 0, 10, 10), this, IDC_TX_CONTROL);
    m_buttonBar.Create(this, IDC_TX_BUTTONBAR, &m_control);
    m_ruler.Create(this, IDC_TX_RULER, &m_control);
    m_statusBar.Create(this, IDC_TX_STATUSBAR, &m_control);
    CRect rc;
    GetClientRect(&rc);
    LayoutControls(rc.Width(), rc.Height());
}

void CViewTxInput::LayoutControls(int cx, int cy)
{
    if (!m_control.GetSafeHwnd())
        return;
    const int cyButtons = m_buttonBar.GetHeight();
    const int cyRuler = m_ruler.GetHeight();
    const int cyStatus = m_statusBar.GetHeight();
    m_buttonBar.MoveWindow(0, 0, cx, cyButtons);
    m_ruler.MoveWindow(0, cyButtons, cx, cyRuler);
    m_control.MoveWindow(0, cyButtons + cyRuler, cx, std::max(0, cy - cyButtons - cyRuler - cyStatus));
    m_statusBar.MoveWindow(0, std::max(0, cy - cyStatus), cx, cyStatus);
}

void CViewTxInput::OnSize(UINT nType, int cx, int cy)
{
    CFormView::OnSize(nType, cx, cy);
    LayoutControls(cx, cy);
}

BOOL CViewTxInput::LoadData(const CRecordID* pItem)
{
    const auto* pText = dynamic_cast<const CTextBoolID*>(pItem);
    if (!pText)
        return FALSE;
    if (m_pItem && m_pItem->IsEqual(pItem))
        return TRUE;
    m_pItem.reset(pText->Clone());
    return LoadDocument(pText->GetText(), pText->GetBool() != FALSE);
}

BOOL CViewTxInput::LoadDocument(const CString& strName, bool bLocked)
{
    m_strName = strName;
    m_bLoading = true;
    SetRedraw(FALSE);
    BOOL bLoaded = FALSE;
    try {
        CReportHost& host = CReportHost::Get();
        CTextDocument doc;
        doc.Load(ResolveDocumentPath(host.GetDocUtDir(), host.GetDocDir(), strName));
        SetupPage(doc.PageSetup());
        FillFields(doc);
        RemoveFieldDelimiters(doc);
        FitTablesToPage(doc);
        doc.SetSel(0, 0);
        m_control.SetLocked(bLocked);
        m_control.SetDocument(doc);
        m_control.PageSetup() = doc.PageSetup();
        bLoaded = TRUE;
    } catch (CException* e) {
        ShowError(e);
    } catch (const _com_error& e) {
        AfxMessageBox(GetComErrorText(e, nullptr), MB_ICONERROR);
    }
    if (!bLoaded)
        m_pItem.reset();   // a later attempt with the same item loads again
    SetModified(FALSE);
    m_bLoading = false;
    SetRedraw(TRUE);
    // The bars and their buttons were not drawn while drawing was off: they are drawn again with the view.
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return bLoaded;
}

void CViewTxInput::SetupPage(CTextPageSetup& page)
{
    SetupReportPage(page);
}

void CViewTxInput::FillFields(CTextDocument&)
{
}

void CViewTxInput::RemoveFieldDelimiters(CTextDocument& doc)
{
    MakeReferenceFields(doc, false);
}

BOOL CViewTxInput::SaveData()
{
    return SaveUserCopy();
}

BOOL CViewTxInput::SaveUserCopy()
{
    try {
        ::SaveUserCopy(m_control.GetDocument(), CombinePath(CReportHost::Get().GetDocUtDir(), m_strName));
    } catch (CException* e) {
        ShowError(e);
        return FALSE;
    }
    SetModified(FALSE);
    return TRUE;
}

void CViewTxInput::OnChangeDocument()
{
    if (!m_bLoading)
        SetModified(TRUE);
    m_statusBar.Refresh();
}

void CViewTxInput::OnSelChangeDocument(NMHDR*, LRESULT* pResult)
{
    m_statusBar.Refresh();
    *pResult = 0;
}

void CViewTxInput::OnFileSave()
{
    SaveWithWaitCursor();
}

void CViewTxInput::OnUpdateFileSave(CCmdUI* pCmdUI)
{
    UpdateSaveCommand(pCmdUI);
}

// CViewTxInputEx

IMPLEMENT_DYNCREATE(CViewTxInputEx, CViewTxInput)

BEGIN_MESSAGE_MAP(CViewTxInputEx, CViewTxInput)
    ON_COMMAND(ID_FILE_PRINT, &CViewTxInputEx::OnFilePrint)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT, &CViewTxInputEx::OnUpdateFilePrint)
END_MESSAGE_MAP()

BOOL CViewTxInputEx::LoadData(const CRecordID* pItem)
{
    const auto* pText = dynamic_cast<const CTextLongID*>(pItem);
    if (!pText)
        return FALSE;
    if (m_pItem && m_pItem->IsEqual(pItem))
        return TRUE;
    m_pItem.reset(pText->Clone());
    m_strExportPath.Empty();
    return LoadDocument(pText->GetText(), (pText->GetLong() & optLocked) != 0);
}

long CViewTxInputEx::GetOptions() const
{
    const auto* pText = dynamic_cast<const CTextLongID*>(m_pItem.get());
    return pText ? pText->GetLong() : 0;
}

void CViewTxInputEx::SetupPage(CTextPageSetup& page)
{
    CViewTxInput::SetupPage(page);
    if (GetOptions() & optPortrait)
        std::swap(page.nWidth, page.nHeight);
}

void CViewTxInputEx::FillFields(CTextDocument& doc)
{
    CReportFiller filler(CReportHost::Get().GetDataConnection(), CReportFiller::documentValues);
    filler.FillSpans(doc);
}

BOOL CViewTxInputEx::SaveData()
{
    if (!(GetOptions() & optSavable)) {
        if (GetOptions() & optLocked)
            return TRUE;   // nothing the user could change
        return SaveUserCopy();
    }
    if (m_strExportPath.IsEmpty()) {
        CString strFile = GetDocumentName();
        strFile = strFile.Mid(strFile.ReverseFind(L'\\') + 1);
        strFile = strFile.Left(strFile.ReverseFind(L'.') < 0 ? strFile.GetLength() : strFile.ReverseFind(L'.'));
        CFileDialog dialog(FALSE, L"pdf", strFile, OFN_OVERWRITEPROMPT | OFN_EXPLORER, LoadResString(IDS_TX_FILTER),
                           this);
        if (dialog.DoModal() != IDOK)
            return FALSE;
        m_strExportPath = dialog.GetPathName();
        m_nExportFormat = ExportFormatOfFilter(dialog.m_ofn.nFilterIndex);
    }
    try {
        GetControl().SaveDocument(m_strExportPath, m_nExportFormat);
    } catch (CException* e) {
        ShowError(e);
        return FALSE;
    }
    SetModified(FALSE);
    return TRUE;
}

void CViewTxInputEx::OnFilePrint()
{
    if (!(GetOptions() & optPrintable))
        return;
    CString strTitle = GetDocumentName();
    const int nDot = strTitle.ReverseFind(L'.');
    PrintTextDocument(this, GetControl(), nDot < 0 ? strTitle : strTitle.Left(nDot), sheetAsChosen);
}

void CViewTxInputEx::OnUpdateFilePrint(CCmdUI* pCmdUI)
{
    pCmdUI->Enable((GetOptions() & optPrintable) != 0);
}

// CViewTxConfServ

IMPLEMENT_DYNCREATE(CViewTxConfServ, CViewTxInputEx)

void CViewTxConfServ::FillFields(CTextDocument& doc)
{
    FillConfServFields(doc, CReportHost::Get().GetDataConnection());
}

// CViewTxFax

IMPLEMENT_DYNCREATE(CViewTxFax, CViewTxInputEx)

void CViewTxFax::FillFields(CTextDocument& doc)
{
    CViewTxInputEx::FillFields(doc);
    FillFaxTags(doc, GetCurrentFaxTags(CReportHost::Get().GetProductCode()));
}
