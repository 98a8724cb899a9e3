#include "ViewInputFormVariants.h"

#include "FormHost.h"

#include "engine/RecalcSaldi.h"
#include "platform/mfc/afxmsgbox.h"
#include "resource.h"
#include "util/MessageText.h"

namespace
{
// The cells that each case leaves unused, by name on the first sheet pair.
const LPCTSTR kCaseD[] = {L"e", L"f", L"g", L"h", L"i", L"l", L"m", L"n", L"o", L"p", L"q", L"r", L"s",
                          L"SFNA1", L"SFNA2", L"SFNA3", L"t", L"8P"};
const LPCTSTR kCaseA[] = {L"s2com", L"s3", L"s4", L"s5", L"s6"};
const LPCTSTR kCaseBExtra[] = {L"q1", L"q2", L"q3", L"s2com", L"s3", L"s4", L"s5", L"s6"};

const LPCTSTR kSignedFormat = L"+#,##0.00;-#,##0.00;#,##0.00";
const COLORREF kNegativeColor = RGB(255, 0, 0);
const COLORREF kPositiveColor = RGB(0, 128, 0);
} // namespace

IMPLEMENT_DYNCREATE(CViewInputFormTot, CViewInputForm)

BOOL CViewInputFormTot::SaveData()
{
    if (!IsModified())
        return TRUE;
    if (!EndCellEdit())
        return FALSE;
    CADOConnection& data = CFormHost::Get().GetDataConnection();
    try {
        CADOTransaction transaction(data);
        SaveCellsAndRecalc();
        transaction.Commit();
        return TRUE;
    } catch (const _com_error& e) {
        ShowError(e);
    } catch (CException* e) {
        ShowError(e);
    }
    // Nothing was stored: the cells still hold the user's changes.
    SetModified(TRUE);
    return FALSE;
}

void CViewInputFormTot::SaveCellsAndRecalc()
{
    SaveCells();
    RecalcSaldi(CFormHost::Get().GetDataConnection());
}

IMPLEMENT_DYNCREATE(CViewInputFormCSP, CViewInputFormTot)

BOOL CViewInputFormCSP::LoadData(const CRecordID* pItem)
{
    if (!CViewInputFormTot::LoadData(pItem))
        return FALSE;
    try {
        m_grid.SetRedraw(FALSE);
        m_grid.SetProperty106(1);
        DisableCaseCells();
        if (m_formInfo.GetSize() > 0 && m_formInfo[0].m_nFirstRow > 0 && m_formInfo[0].m_nFirstCol > 0)
            m_grid.InvokeMethod211(m_formInfo[0].m_nFirstRow, m_formInfo[0].m_nFirstCol);
    } catch (CException* e) {
        ShowError(e);
    }
    m_grid.SetRedraw(TRUE);
    m_grid.Invalidate();
    return TRUE;
}

void CViewInputFormCSP::DisableCaseCells()
{
    int nRow = 0, nCol = 0;
    CString strCase;
    if (m_formInfo.FindCell(L"CASO_ABCD", 0, nRow, nCol))
        strCase = m_grid.InvokeGet281(nRow, nCol);
    std::vector<LPCTSTR> names;
    if (strCase == L"a") {
        names.assign(std::begin(kCaseA), std::end(kCaseA));
    } else if (strCase == L"c") {
        names.assign(std::begin(kCaseA) + 1, std::end(kCaseA));
    } else {
        names.assign(std::begin(kCaseD), std::end(kCaseD));
        if (strCase != L"d")
            names.insert(names.end(), std::begin(kCaseBExtra), std::end(kCaseBExtra));
    }
    if (!m_formInfo.FindCell(L"DISAB1", 0, nRow, nCol))
        return;
    m_grid.InvokeMethod228(nRow, nCol, nRow, nCol);
    CF1CellFormat disabled = m_grid.InvokeMethod1438();
    for (LPCTSTR pszName : names) {
        if (!m_formInfo.FindCell(pszName, 0, nRow, nCol))
            break;
        m_grid.InvokeMethod228(nRow, nCol, nRow, nCol);
        m_grid.InvokeMethod1439(disabled);
        GetCellInfo(0, nRow, nCol)->m_nKind = formKindNone;
    }
}

IMPLEMENT_DYNCREATE(CViewInputFormMon, CViewInputFormTot)

int CViewInputFormMon::FindQuarterAfterGap(const BOOL (&bFilled)[4])
{
    int nFirstEmpty = 0;
    while (nFirstEmpty < 4 && bFilled[nFirstEmpty])
        nFirstEmpty++;
    for (int nQuarter = nFirstEmpty + 1; nQuarter < 4; nQuarter++) {
        if (bFilled[nQuarter])
            return nQuarter + 1;
    }
    return 0;
}

BOOL CViewInputFormMon::SaveData()
{
    if (!IsModified())
        return TRUE;
    if (!EndCellEdit())
        return FALSE;
    try {
        if (!ConfirmQuarters())
            return FALSE;
    } catch (CException* e) {
        ShowError(e);
        return FALSE;
    }
    return CViewInputFormTot::SaveData();
}

BOOL CViewInputFormMon::ConfirmQuarters()
{
    static const LPCTSTR numerals[] = {L"I", L"II", L"III", L"IV"};
    for (int nPair = 0; nPair < m_formInfo.GetSize(); nPair++) {
        const CSheetInfo& sheet = m_formInfo[nPair];
        BOOL bFilled[4] = {};
        for (int nQuarter = 0; nQuarter < 4; nQuarter++) {
            int nCol = sheet.m_nFirstCol + nQuarter;
            for (int nRow = std::max(sheet.m_nFirstRow, 1); nRow < sheet.GetSize() && !bFilled[nQuarter]; nRow++) {
                const CCellInfo* pCell = m_formInfo.GetCell(nPair, nRow, nCol);
                bFilled[nQuarter] = pCell && pCell->m_nKind == formKindInput &&
                                    m_grid.InvokeGet1319(2 * nPair + 1, nRow, nCol) != 0;
            }
        }
        int nQuarter = FindQuarterAfterGap(bFilled);
        if (nQuarter &&
            AfxMessageBox(FormatResMessage(IDP_MON_TRIMESTRI, numerals[nQuarter - 1]),
                          MB_ICONWARNING | MB_OKCANCEL | MB_DEFBUTTON2) != IDOK) {
            ShowPair(nPair);
            return FALSE;
        }
    }
    return TRUE;
}

IMPLEMENT_DYNCREATE(CViewInputFormSP, CViewInputFormTot)

BOOL CViewInputFormSP::LoadData(const CRecordID* pItem)
{
    if (!CViewInputFormTot::LoadData(pItem))
        return FALSE;
    try {
        m_grid.SetRedraw(FALSE);
        FormatBalances();
        m_grid.SetProperty106(1);
    } catch (CException* e) {
        ShowError(e);
    }
    m_grid.SetRedraw(TRUE);
    m_grid.Invalidate();
    return TRUE;
}

void CViewInputFormSP::FormatBalances()
{
    for (int nPair = 0; nPair < m_formInfo.GetSize(); nPair++) {
        const CSheetInfo& sheet = m_formInfo[nPair];
        m_grid.SetProperty106(2 * nPair + 1);
        for (int k = 2; k <= 8; k += 3) {
            int nRow = 0, nCol = 0;
            CString strName;
            strName.Format(L"SP%d", k);
            if (!m_formInfo.FindCell(strName, nPair, nRow, nCol))
                break;
            double dBalance = m_grid.InvokeGet279(nRow, nCol);
            COLORREF crSign = dBalance < 0 ? kNegativeColor : kPositiveColor;
            auto format = [&](int nFormatRow, int nFormatCol) {
                m_grid.InvokeMethod228(nFormatRow, nFormatCol, nFormatRow, nFormatCol);
                CF1CellFormat cellFormat = m_grid.InvokeMethod1438();
                cellFormat.InvokePut14(kSignedFormat);
                if (dBalance != 0) {
                    for (long nIndex : {1L, 0L, 3L, 2L})
                        cellFormat.InvokePut5(nIndex, crSign);
                    cellFormat.InvokePut13(crSign);
                }
                m_grid.InvokeMethod1439(cellFormat);
            };
            format(nRow, nCol);
            strName.Format(L"SP%d", k + 1);
            if (m_formInfo.FindCell(strName, nPair, nRow, nCol))
                format(nRow, nCol);
        }
        if (sheet.m_nFirstRow > 0 && sheet.m_nFirstCol > 0)
            m_grid.InvokeMethod211(sheet.m_nFirstRow, sheet.m_nFirstCol);
    }
}
