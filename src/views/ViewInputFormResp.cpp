#include "ViewInputFormResp.h"

#include "FormHost.h"

#include "data/SetCapitoli.h"
#include "data/SetDati.h"
#include "data/SetExtraCap.h"
#include "data/SetResponsabili.h"
#include "dialogs/DlgCapitoli.h"
#include "engine/RecalcSaldi.h"
#include "platform/mfc/afxmsgbox.h"
#include "platform/mfc/afxwaitcursor.h"
#include "reports/DlgRappControlli.h"
#include "resource.h"
#include "util/MessageText.h"
#include "util/NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <set>

IMPLEMENT_DYNCREATE(CViewInputFormResp, CViewInputFormSP)

BEGIN_MESSAGE_MAP(CViewInputFormResp, CViewInputFormSP)
    ON_CBN_SELENDOK(IDC_FORM_RESP, &CViewInputFormResp::OnSelChangeResp)
END_MESSAGE_MAP()

CViewInputFormResp::CViewInputFormResp() : CViewInputFormResp(IDD_INPUT_FORM_RESP)
{
}

CViewInputFormResp::CViewInputFormResp(UINT nIDTemplate) : CViewInputFormSP(nIDTemplate)
{
}

void CViewInputFormResp::DoDataExchange(CDataExchange* pDX)
{
    CViewInputFormSP::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FORM_RESP, m_cboResp);
}

void CViewInputFormResp::OnInitialUpdate()
{
    CViewInputFormSP::OnInitialUpdate();
    CRect rcCombo;
    m_cboResp.GetWindowRect(&rcCombo);
    ScreenToClient(&rcCombo);
    m_nComboLeft = rcCombo.left;
    m_nComboHeight = rcCombo.Height();
    CRect rcClient;
    GetClientRect(&rcClient);
    RecalcLayout(rcClient.Width(), rcClient.Height());
    try {
        FillCentres();
    } catch (const _com_error& e) {
        ShowError(e);
    }
}

void CViewInputFormResp::FillCentres()
{
    m_cboResp.ResetContent();
    m_cboResp.SetItemData(m_cboResp.AddString(LoadResString(IDS_SINTESI)), 0);
    m_cboResp.SetCurSel(0);
    CSetResponsabili set(CFormHost::Get().GetDataConnection());
    set.OpenByResponsabile();
    for (; !set.IsEOF(); set.MoveNext()) {
        CString strText;
        strText.Format(L"%s - %s", static_cast<LPCTSTR>(set.m_rec.m_responsabile.GetText()),
                       static_cast<LPCTSTR>(set.m_rec.m_centroServ.GetText()));
        int nIndex = m_cboResp.AddString(strText);
        m_cboResp.SetItemData(nIndex, static_cast<DWORD_PTR>(set.m_rec.m_ID.GetValue()));
    }
}

void CViewInputFormResp::SelectCentreInCombo(long nCentre)
{
    for (int i = 0; i < m_cboResp.GetCount(); i++) {
        if (static_cast<long>(m_cboResp.GetItemData(i)) == nCentre) {
            m_cboResp.SetCurSel(i);
            return;
        }
    }
    m_cboResp.SetCurSel(0);
}

void CViewInputFormResp::RecalcLayout(int cx, int cy)
{
    if (m_cboResp.GetSafeHwnd() && m_nComboHeight > 0)
        m_cboResp.MoveWindow(m_nComboLeft, 0, cx - m_nComboLeft, m_nComboHeight);
    if (m_wndTabs.GetSafeHwnd())
        m_wndTabs.MoveWindow(0, m_nComboHeight, cx, m_nTabHeight);
    if (m_grid.GetSafeHwnd())
        m_grid.MoveWindow(0, m_nComboHeight + m_nTabHeight, cx, cy - m_nTabHeight - m_nComboHeight);
}

BOOL CViewInputFormResp::FindRecord(CSetDati& set, LPCTSTR pszKey, BOOL bQuiet)
{
    if (set.GetTableName().CompareNoCase(L"SaldoFinCalc") != 0)
        return CViewInputFormSP::FindRecord(set, pszKey, bQuiet);
    return set.FindByIdAndResp(_wtol(pszKey), GetCentre(), bQuiet);
}

void CViewInputFormResp::AddRecord(CSetDati& set, LPCTSTR pszKey)
{
    if (set.GetTableName().CompareNoCase(L"SaldoFinCalc") != 0)
        CViewInputFormSP::AddRecord(set, pszKey);
    else
        set.AddNewWithIdAndResp(_wtol(pszKey), GetCentre());
}

BOOL CViewInputFormResp::LoadData(const CRecordID* pItem)
{
    if (!CViewInputFormSP::LoadData(pItem))
        return FALSE;
    if (!IsSynthesis())
        return TRUE;
    try {
        LockSynthesis();
    } catch (CException* e) {
        ShowError(e);
    }
    return TRUE;
}

void CViewInputFormResp::LockSynthesis()
{
    for (int nPair = 0; nPair < m_formInfo.GetSize(); nPair++) {
        CSheetInfo& sheet = m_formInfo[nPair];
        if (sheet.GetSize() <= 1)
            break;
        m_grid.SetProperty106(2 * nPair + 1);
        for (int nRow = 1; nRow < sheet.GetSize(); nRow++) {
            for (int nCol = 1; nCol < sheet[nRow].GetSize(); nCol++) {
                CCellInfo& cell = sheet[nRow][nCol];
                if (cell.m_nKind == formKindCheckBox) {
                    cell.m_bReadOnlyBox = TRUE;
                } else if (cell.m_nKind == formKindInput || cell.m_nKind == formKindSet) {
                    // Set cells too: Delete would otherwise empty them in a form that saves nothing.
                    cell.m_nKind = formKindLoaded;
                    m_grid.InvokeMethod228(nRow, nCol, nRow, nCol);
                    CF1CellFormat format = m_grid.InvokeMethod1438();
                    format.InvokePut19(TRUE);
                    m_grid.InvokeMethod1439(format);
                }
            }
        }
        m_grid.InvokeMethod211(1, 1);
    }
    m_grid.SetProperty106(1);
}

void CViewInputFormResp::ShowConsistencyReport(CADOConnection& data)
{
    // The figures are stored already: a failing check is shown, and the save still answers that it succeeded.
    try {
        CheckSaldiConsistency(data);
    } catch (const _com_error& e) {
        ShowError(e);
    }
}

BOOL CViewInputFormResp::SaveData()
{
    if (!IsModified())
        return TRUE;
    if (!EndCellEdit())
        return FALSE;
    if (IsSynthesis())
        return TRUE;
    CADOConnection& data = CFormHost::Get().GetDataConnection();
    try {
        CADOTransaction transaction(data);
        BOOL bSaved = CViewInputFormSP::SaveData();
        // The inner commit reaches the archive only with this one: until then the changes are not stored.
        SetModified(TRUE);
        if (!bSaved)
            return FALSE;
        CalcSaldoFinCalc(data);
        transaction.Commit();
        SetModified(FALSE);
        ShowConsistencyReport(data);
        return TRUE;
    } catch (const _com_error& e) {
        ShowError(e);
    } catch (CException* e) {
        ShowError(e);
    }
    return FALSE;
}

void CViewInputFormResp::OnSelChangeResp()
{
    int nSel = m_cboResp.GetCurSel();
    long nNew = nSel >= 0 ? static_cast<long>(m_cboResp.GetItemData(nSel)) : 0;
    long nOld = GetCentre();
    if (nNew == nOld)
        return;
    if (!QuerySave(TRUE)) {
        SelectCentreInCombo(nOld);
        return;
    }
    CADOType<long> former = m_centre;
    m_centre.SetValue(nNew);
    if (!m_pItem)
        return;
    CTextID item(m_pItem->GetText());
    ForgetItem();
    if (LoadData(&item))
        return;
    // The grid holds part of the centre that failed: it shows the former centre again, read anew, or, when that
    // fails too, holds nothing that a save would write.
    m_centre = former;
    SelectCentreInCombo(nOld);
    ForgetItem();
    if (!LoadData(&item)) {
        m_formInfo.RemoveAll();
        SetModified(FALSE);
    }
}

// The chapter items of the centres

IMPLEMENT_DYNCREATE(CViewInputFormRespCap, CViewInputFormResp)

BEGIN_MESSAGE_MAP(CViewInputFormRespCap, CViewInputFormResp)
    ON_BN_CLICKED(IDC_VOCE_ADD, &CViewInputFormRespCap::OnAggiungiVoce)
    ON_BN_CLICKED(IDC_VOCE_MODIFY, &CViewInputFormRespCap::OnModificaVoce)
    ON_BN_CLICKED(IDC_VOCE_DELETE, &CViewInputFormRespCap::OnEliminaVoce)
    ON_UPDATE_COMMAND_UI(IDC_VOCE_ADD, &CViewInputFormRespCap::OnUpdateAggiungiVoce)
    ON_UPDATE_COMMAND_UI(IDC_VOCE_MODIFY, &CViewInputFormRespCap::OnUpdateModificaVoce)
    ON_UPDATE_COMMAND_UI(IDC_VOCE_DELETE, &CViewInputFormRespCap::OnUpdateModificaVoce)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CViewInputFormRespCap::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CViewInputFormRespCap::CViewInputFormRespCap() : CViewInputFormResp(IDD_INPUT_FORM_RESPCAP)
{
}

void CViewInputFormRespCap::OnInitialUpdate()
{
    m_btnAdd.SubclassDlgItem(IDC_VOCE_ADD, this);
    m_btnModify.SubclassDlgItem(IDC_VOCE_MODIFY, this);
    m_btnDelete.SubclassDlgItem(IDC_VOCE_DELETE, this);
    CViewInputFormResp::OnInitialUpdate();
    // The icon left of the caption.
    const struct { CMyButton* pButton; UINT nIcon; } icons[] = {
        {&m_btnAdd, IDI_VOCE_ADD}, {&m_btnModify, IDI_VOCE_MODIFY}, {&m_btnDelete, IDI_VOCE_DELETE}};
    for (const auto& icon : icons) {
        icon.pButton->UpdateTooltip();
        icon.pButton->SetIcon(CSize(16, 16), icon.nIcon);
        icon.pButton->SetImageTextPositions(CPoint(4, 4), CPoint(28, 4));
    }
}

void CViewInputFormRespCap::RecalcLayout(int cx, int cy)
{
    CViewInputFormResp::RecalcLayout(cx, cy);
    if (!m_btnAdd.GetSafeHwnd() || !m_wndTabs.GetSafeHwnd())
        return;
    // The buttons keep their sizes and their distances from the right edge of the template, on the tab row.
    CRect rcTemplate(0, 0, 400, 240);
    ::MapDialogRect(m_hWnd, &rcTemplate);
    int nFirstLeft = cx;
    for (CButton* pButton : {&m_btnAdd, &m_btnModify, &m_btnDelete}) {
        CRect rcButton(0, 0, 0, 0);
        UINT nID = static_cast<UINT>(pButton->GetDlgCtrlID());
        static const struct { UINT nID; int nLeft, nWidth; } layout[] = {
            {IDC_VOCE_ADD, 192, 68}, {IDC_VOCE_MODIFY, 262, 68}, {IDC_VOCE_DELETE, 332, 68}};
        for (const auto& item : layout) {
            if (item.nID == nID)
                rcButton.SetRect(item.nLeft, 0, item.nLeft + item.nWidth, 14);
        }
        ::MapDialogRect(m_hWnd, &rcButton);
        int nFromRight = rcTemplate.right - rcButton.left;
        int nLeft = cx - nFromRight;
        pButton->MoveWindow(nLeft, m_nComboHeight, rcButton.Width(), m_nTabHeight);
        nFirstLeft = std::min(nFirstLeft, nLeft);
    }
    m_wndTabs.MoveWindow(0, m_nComboHeight, std::max(0, nFirstLeft - 1), m_nTabHeight);
}

BOOL CViewInputFormRespCap::LoadData(const CRecordID* pItem)
{
    ForgetItem();
    if (!CViewInputFormResp::LoadData(pItem))
        return FALSE;
    try {
        for (int nPair = 0; nPair < 2 && nPair < m_formInfo.GetSize(); nPair++)
            FillItems(nPair);
        m_grid.SetProperty106(1);
        m_wndTabs.SetCurSel(0);
        SetModified(FALSE);
        return TRUE;
    } catch (CException* e) {
        ShowError(e);
    } catch (const _com_error& e) {
        ShowError(e);
    }
    return FALSE;
}

void CViewInputFormRespCap::FillItems(int nPair)
{
    CADOConnection& data = CFormHost::Get().GetDataConnection();
    m_grid.SetProperty106(2 * nPair + 1);
    long nActiveRow = 0, nActiveCol = 0;
    m_grid.InvokeMethod169(&nActiveRow, &nActiveCol);
    CCapitoliMap chapters;
    CSetCapitoli::LoadCapitoliMap(data, nPair, chapters);
    CSetExtraCap set(data, nPair);
    set.OpenByResp(std::max(GetCentre(), 0L));
    long nCount = set.GetRecordCount();
    if (nCount > 1)
        InsertItemRows(nPair, nCount - 1);
    for (int nRow = kFirstItemRow; !set.IsEOF(); set.MoveNext(), nRow++) {
        const CRecExtraCap& item = set.m_rec;
        long nChapter = item.m_capitolo.GetValue();
        CRecCapitolo chapter;
        CString strDescription;
        if (chapters.Lookup(nChapter, chapter))
            strDescription = chapter.m_descrizione.GetText();
        m_grid.InvokePut281(nRow, colCodUEB, item.m_codUEB.GetText());
        m_grid.InvokePut279(nRow, colCapitolo, nChapter);
        m_grid.InvokePut281(nRow, colArticolo, item.m_articolo.GetText());
        m_grid.InvokePut281(nRow, colDescrizione, strDescription);
        m_grid.InvokePut281(nRow, colBlank, L" ");
        m_grid.InvokePut279(nRow, colComp, CADOCurrency::CurrencyToDouble(item.m_importoComp.GetValue()));
        m_grid.InvokePut279(nRow, colCassa, CADOCurrency::CurrencyToDouble(item.m_importoCassa.GetValue()));
        m_grid.InvokePut279(nRow, colID, item.m_ID.GetValue());
    }
    if (nActiveRow > 0 && nActiveCol > 0)
        m_grid.InvokeMethod211(nActiveRow, nActiveCol);
}

void CViewInputFormRespCap::InsertItemRows(int nPair, int nCount)
{
    int nLast = LastItemRow();
    long nMaxCol = m_grid.GetProperty18();
    m_grid.SetProperty19(m_grid.GetProperty19() + nCount);
    m_grid.InvokeMethod178(nLast + 1, 1, nLast + nCount, nMaxCol, 3);
    m_grid.InvokeMethod228(nLast, 1, nLast, nMaxCol);
    m_grid.InvokeMethod142();
    m_grid.InvokeMethod228(nLast + 1, 1, nLast + nCount, nMaxCol);
    m_grid.InvokeMethod1422(3, 0);
    m_grid.InvokeMethod132();
    // The copies keep the pattern's formats and formulas, not its item: an item number copied along would make
    // the save write the new row over the pattern's item.
    for (int nRow = nLast + 1; nRow <= nLast + nCount; nRow++)
        ClearItemValues(nRow);
    CSheetInfo& sheet = m_formInfo[nPair];
    if (nLast < sheet.GetSize())
        sheet.InsertAt(nLast + 1, sheet[nLast], nCount);
}

void CViewInputFormRespCap::ClearItemValues(int nRow)
{
    for (long nCol : {colCodUEB, colArticolo, colDescrizione, colBlank})
        m_grid.InvokePut281(nRow, nCol, L"");
    for (long nCol : {colCapitolo, colComp, colCassa, colID})
        m_grid.InvokePut279(nRow, nCol, 0);
}

void CViewInputFormRespCap::EmptyItemRow(int nRow)
{
    m_grid.InvokeMethod228(nRow, 1, nRow, m_grid.GetProperty18());
    m_grid.InvokeMethod129(gridContents);
    m_grid.InvokeMethod132();
    m_grid.InvokePut279(nRow, colComp, 0);
    m_grid.InvokePut279(nRow, colCassa, 0);
}

void CViewInputFormRespCap::RemoveItemRow(int nPair, int nRow)
{
    if (LastItemRow() <= kFirstItemRow) {
        EmptyItemRow(nRow);
        return;
    }
    m_grid.InvokeMethod139(nRow, -1, nRow, 0, 3);
    m_grid.SetProperty19(m_grid.GetProperty19() - 1);
    CSheetInfo& sheet = m_formInfo[nPair];
    if (nRow < sheet.GetSize())
        sheet.RemoveAt(nRow);
}

void CViewInputFormRespCap::RefreshChapterColumns()
{
    CADOConnection& data = CFormHost::Get().GetDataConnection();
    int nPair = GetShownPair();
    CSetExtraCap::BuildExtraCapTotals(data, nPair);
    CalcSaldoFinCalc(data);
    CCapitoliMap chapters;
    CSetCapitoli::LoadCapitoliMap(data, nPair, chapters);
    for (int nRow = LastItemRow(); nRow >= kFirstItemRow; nRow--) {
        long nChapter = static_cast<long>(m_grid.InvokeGet279(nRow, colCapitolo));
        if (nChapter == 0)
            continue;
        CRecCapitolo chapter;
        if (chapters.Lookup(nChapter, chapter)) {
            m_grid.InvokePut281(nRow, colCodUEB, chapter.m_codUEB.GetText());
            m_grid.InvokePut281(nRow, colDescrizione, chapter.m_descrizione.GetText());
            m_grid.InvokePut281(nRow, colBlank, L" ");
        } else {
            RemoveItemRow(nPair, nRow);
        }
    }
}

BOOL CViewInputFormRespCap::CanAddItem()
{
    if (IsSynthesis() || !m_grid.GetSafeHwnd() || GetShownPair() > 1)
        return FALSE;
    int nLast = LastItemRow();
    return !m_grid.InvokeGet281(nLast, colCodUEB).IsEmpty() && m_grid.InvokeGet279(nLast, colCapitolo) > 0;
}

BOOL CViewInputFormRespCap::CanChangeItem()
{
    if (IsSynthesis() || !m_grid.GetSafeHwnd() || GetShownPair() > 1)
        return FALSE;
    long nRow = m_grid.GetProperty5();
    return nRow >= kFirstItemRow && nRow <= LastItemRow();
}

void CViewInputFormRespCap::OnUpdateAggiungiVoce(CCmdUI* pCmdUI)
{
    try {
        pCmdUI->Enable(CanAddItem());
    } catch (CException* e) {
        e->Delete();
        pCmdUI->Enable(FALSE);
    }
}

void CViewInputFormRespCap::OnUpdateModificaVoce(CCmdUI* pCmdUI)
{
    try {
        pCmdUI->Enable(CanChangeItem());
    } catch (CException* e) {
        e->Delete();
        pCmdUI->Enable(FALSE);
    }
}

LRESULT CViewInputFormRespCap::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    UpdateDialogControls(this, static_cast<BOOL>(wParam));
    return 0;
}

void CViewInputFormRespCap::OnAggiungiVoce()
{
    try {
        if (!EndCellEdit() || !CanAddItem())
            return;
        InsertItemRows(GetShownPair(), 1);
        m_grid.InvokeMethod228(LastItemRow(), colCodUEB, LastItemRow(), colCodUEB);
        m_grid.InvokeMethod229();
        SetModified(TRUE);
    } catch (CException* e) {
        ShowError(e);
        return;
    }
    OnModificaVoce();
}

void CViewInputFormRespCap::OnModificaVoce()
{
    try {
        if (!CanChangeItem())
            return;
        CADOConnection& data = CFormHost::Get().GetDataConnection();
        CDlgCapitoli dlg(this, data, GetShownPair());
        INT_PTR nResult = dlg.DoModal();
        if (nResult == IDOK) {
            long nRow = m_grid.GetProperty5();
            m_grid.InvokePut281(nRow, colCodUEB, dlg.m_recResult.m_codUEB.GetText());
            m_grid.InvokePut279(nRow, colCapitolo, dlg.m_recResult.m_ID.GetValue());
            m_grid.InvokePut281(nRow, colDescrizione, dlg.m_recResult.m_descrizione.GetText());
            m_grid.InvokePut281(nRow, colBlank, L" ");
            SetModified(TRUE);
        }
        if (dlg.IsModified()) {
            CWaitCursor wait;
            RefreshChapterColumns();
            SetModified(TRUE);
        }
    } catch (CException* e) {
        ShowError(e);
    } catch (const _com_error& e) {
        ShowError(e);
    }
}

void CViewInputFormRespCap::OnEliminaVoce()
{
    try {
        if (!CanChangeItem() || AfxMessageBox(IDP_VOCE_DELETE, MB_YESNO | MB_ICONQUESTION) == IDNO)
            return;
        RemoveItemRow(GetShownPair(), m_grid.GetProperty5());
        SetModified(TRUE);
    } catch (CException* e) {
        ShowError(e);
    }
}

void CViewInputFormRespCap::OnGridEndEdit(BSTR* pText, short* pCancel)
{
    if (!m_bInEndEdit) {
        long nRow = 0, nCol = 0;
        m_grid.InvokeMethod169(&nRow, &nCol);
        const CCellInfo* pCell = m_formInfo.GetCell(GetShownPair(), nRow, nCol);
        if (pCell && pCell->m_nType == formTypeAmount) {
            COleCurrency amount = ParseCurrency(*pText ? *pText : L"");
            if (amount.GetStatus() == COleCurrency::valid && amount < COleCurrency()) {
                AfxMessageBox(IDP_NO_NEGATIVE_AMOUNTS, MB_ICONWARNING);
                *pCancel = TRUE;
                return;   // refused once: the general check would only say it again
            }
        }
    }
    CViewInputFormResp::OnGridEndEdit(pText, pCancel);
}

BOOL CViewInputFormRespCap::SaveData()
{
    if (!IsModified())
        return TRUE;
    if (!EndCellEdit())
        return FALSE;
    if (IsSynthesis())
        return TRUE;
    CADOConnection& data = CFormHost::Get().GetDataConnection();
    try {
        CADOTransaction transaction(data);
        long nShown = m_grid.GetProperty106();
        std::vector<std::pair<int, long>> added[2];
        for (int nPair = 0; nPair < 2 && nPair < m_formInfo.GetSize(); nPair++) {
            if (!SaveItems(nPair, data, added[nPair]))
                return FALSE;   // the transaction takes back what was written
        }
        m_grid.SetProperty106(nShown);
        CSetExtraCap::BuildExtraCapTotals(data, CSetExtraCap::kindEntrate);
        CSetExtraCap::BuildExtraCapTotals(data, CSetExtraCap::kindSpese);
        CalcSaldoFinCalc(data);
        transaction.Commit();
        // The rows added now carry their numbers, so that a second save changes them instead of adding them again.
        for (int nPair = 0; nPair < 2; nPair++) {
            if (added[nPair].empty())
                continue;
            m_grid.SetProperty106(2 * nPair + 1);
            for (const auto& row : added[nPair])
                m_grid.InvokePut279(row.first, colID, row.second);
        }
        m_grid.SetProperty106(nShown);
        SetModified(FALSE);
        ShowConsistencyReport(data);
        return TRUE;
    } catch (const _com_error& e) {
        ShowError(e);
    } catch (CException* e) {
        ShowError(e);
    }
    return FALSE;
}

BOOL CViewInputFormRespCap::SaveItems(int nPair, CADOConnection& data, std::vector<std::pair<int, long>>& added)
{
    m_grid.SetProperty106(2 * nPair + 1);
    long nActiveRow = 0, nActiveCol = 0;
    m_grid.InvokeMethod169(&nActiveRow, &nActiveCol);
    int nLast = LastItemRow();
    std::set<long> onSheet;
    for (int nRow = kFirstItemRow; nRow <= nLast; nRow++) {
        long nID = static_cast<long>(std::floor(m_grid.InvokeGet279(nRow, colID)));
        if (nID > 0)
            onSheet.insert(nID);
    }
    std::vector<long> removed;
    {
        CSetExtraCap stored(data, nPair);
        stored.OpenByResp(GetCentre());
        for (; !stored.IsEOF(); stored.MoveNext()) {
            if (!onSheet.count(stored.m_rec.m_ID.GetValue()))
                removed.push_back(stored.m_rec.m_ID.GetValue());
        }
    }
    for (long nID : removed)
        CSetExtraCap::DeleteExtraCapRow(data, nPair, nID);

    for (int nRow = kFirstItemRow; nRow <= nLast; nRow++) {
        long nID = static_cast<long>(std::floor(m_grid.InvokeGet279(nRow, colID)));
        CString strCodUEB = m_grid.InvokeGet281(nRow, colCodUEB);
        long nChapter = static_cast<long>(std::floor(m_grid.InvokeGet279(nRow, colCapitolo)));
        CString strArticolo = m_grid.InvokeGet281(nRow, colArticolo);
        // Amounts to the nearest 1/10000: 0,57 stays 0,57.
        COleCurrency comp = CurrencyFromDouble(m_grid.InvokeGet279(nRow, colComp));
        COleCurrency cassa = CurrencyFromDouble(m_grid.InvokeGet279(nRow, colCassa));
        strCodUEB.Trim();
        if (strCodUEB.IsEmpty() && nChapter == 0 && strArticolo.IsEmpty() && comp == COleCurrency() &&
            cassa == COleCurrency())
            continue;
        UINT nMessage = strCodUEB.IsEmpty() ? IDP_UEB_REQUIRED : nChapter == 0 ? IDP_CAPITOLO_REQUIRED : 0;
        if (nMessage) {
            ShowPair(nPair);
            long nCol = nMessage == IDP_UEB_REQUIRED ? colCodUEB : colCapitolo;
            m_grid.InvokeMethod228(nRow, nCol, nRow, nCol);
            m_grid.InvokeMethod229();
            AfxMessageBox(nMessage, MB_ICONWARNING);
            return FALSE;
        }
        CSetExtraCap set(data, nPair);
        CRecExtraCap& rec = set.m_rec;
        if (nID > 0) {
            _variant_t key(nID);
            set.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
            if (!set.FindByKey(1, &key, TRUE))
                continue;
        } else {
            set.OpenNullKey();
            rec.m_ID.SetNull();
            rec.m_idResp.SetValue(GetCentre());
        }
        rec.m_codUEB.SetText(strCodUEB);
        rec.m_capitolo.SetValue(nChapter);
        rec.m_articolo.SetText(strArticolo);
        rec.m_importoComp.SetValue(comp);
        rec.m_importoCassa.SetValue(cassa);
        if (nID > 0) {
            set.Update();
        } else {
            set.AddNew();
            added.emplace_back(nRow, rec.m_ID.GetValue());
        }
    }
    m_grid.InvokeMethod211(nActiveRow, nActiveCol);
    return TRUE;
}
