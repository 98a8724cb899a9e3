#include "ViewTxPrint.h"

#include "ReportFiller.h"
#include "ReportHost.h"
#include "ReportTables.h"
#include "ReportVariants.h"
#include "TxPrinting.h"

#include "data/AdoErrorText.h"
#include "platform/mfc/afxmsgbox.h"
#include "resource.h"
#include "util/MessageText.h"
#include "util/PathUtil.h"

#include <utility>

namespace {
const UINT IDC_TX_CONTROL = 1008;
const long kPortrait = 1;
} // namespace

IMPLEMENT_DYNCREATE(CViewTxPrint, CFormView)

BEGIN_MESSAGE_MAP(CViewTxPrint, CFormView)
    ON_WM_SIZE()
    ON_COMMAND(ID_FILE_PRINT, &CViewTxPrint::OnFilePrint)
END_MESSAGE_MAP()

CViewTxPrint::CViewTxPrint() : CFormView(IDD_TX_PRINT)
{
}

CViewTxPrint::~CViewTxPrint() = default;

void CViewTxPrint::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();
    if (m_control.GetSafeHwnd())
        return;
    CRect rc;
    GetClientRect(&rc);
    m_control.Create(WS_VISIBLE, rc, this, IDC_TX_CONTROL);
}

void CViewTxPrint::OnSize(UINT nType, int cx, int cy)
{
    CFormView::OnSize(nType, cx, cy);
    if (m_control.GetSafeHwnd())
        m_control.MoveWindow(0, 0, cx, cy);
}

BOOL CViewTxPrint::LoadData(const CRecordID* pItem)
{
    const auto* pText = dynamic_cast<const CTextLongID*>(pItem);
    if (!pText)
        return FALSE;
    if (m_pItem && m_pItem->IsEqual(pItem))
        return TRUE;
    return LoadReport(*pText);
}

BOOL CViewTxPrint::LoadReport(const CTextLongID& item)
{
    m_pItem.reset(static_cast<CTextLongID*>(item.Clone()));
    SetRedraw(FALSE);
    BOOL bLoaded = FALSE;
    try {
        CTextDocument doc;
        doc.Load(CombinePath(CReportHost::Get().GetDocDir(), item.GetText()));
        CTextPageSetup& page = doc.PageSetup();
        SetupReportPage(page);
        if (item.GetLong() & kPortrait)
            std::swap(page.nWidth, page.nHeight);
        FillReport(doc);
        FitTablesToPage(doc);
        doc.SetSel(0, 0);
        m_control.SetDocument(doc);
        m_control.PageSetup() = page;
        bLoaded = TRUE;
    } catch (CException* e) {
        AfxMessageBox(GetExceptionText(e), MB_ICONERROR);
    } catch (const _com_error& e) {
        AfxMessageBox(GetComErrorText(e, nullptr), MB_ICONERROR);
    }
    if (!bLoaded) {
        m_pItem.reset();
        m_control.NewDocument();
    }
    SetRedraw(TRUE);
    Invalidate();
    return bLoaded;
}

void CViewTxPrint::FillReport(CTextDocument& doc)
{
    CADOConnection& data = CReportHost::Get().GetDataConnection();
    FillAccountingHeading(doc, data);
    CReportFiller filler(data, CReportFiller::reportValues);
    filler.FillSpans(doc);
}

void CViewTxPrint::OnFilePrint()
{
    if (!m_pItem)
        return;
    CString strTitle = m_pItem->GetText();
    const int nDot = strTitle.ReverseFind(L'.');
    PrintTextDocument(this, m_control, nDot < 0 ? strTitle : strTitle.Left(nDot), sheetA4AsPage);
}

// CViewTxPrintCSP

IMPLEMENT_DYNCREATE(CViewTxPrintCSP, CViewTxPrint)

void CViewTxPrintCSP::FillReport(CTextDocument& doc)
{
    CADOConnection& data = CReportHost::Get().GetDataConnection();
    CCspReportFiller filler(data, ReadCspCase(data));
    filler.FillSpans(doc);
}

// CViewTxPrintResp

IMPLEMENT_DYNCREATE(CViewTxPrintResp, CViewTxPrint)

BOOL CViewTxPrintResp::LoadData(const CRecordID* pItem)
{
    const auto* pText = dynamic_cast<const CTextLongID*>(pItem);
    if (!pText)
        return FALSE;
    if (m_pRespItem && m_pRespItem->IsEqual(pItem))
        return TRUE;
    m_pRespItem.reset(static_cast<CTextLongID*>(pText->Clone()));
    m_nIdResp = pText->GetLong();
    if (!LoadReport(CTextLongID(pText->GetText(), kPortrait))) {
        m_pRespItem.reset();
        return FALSE;
    }
    return TRUE;
}

void CViewTxPrintResp::FillReport(CTextDocument& doc)
{
    CADOConnection& data = CReportHost::Get().GetDataConnection();
    FillAccountingHeading(doc, data);
    CRespReportFiller filler(data, m_nIdResp);
    filler.FillSpans(doc);
}
