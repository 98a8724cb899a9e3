#include "ViewInputForm.h"

#include "FormHost.h"

#include "data/AdoErrorText.h"
#include "data/SetDati.h"
#include "forms/FormBinding.h"
#include "platform/mfc/afxevent.h"
#include "platform/mfc/afxframe.h"
#include "platform/mfc/afxmsgbox.h"
#include "platform/mfc/afxwaitcursor.h"
#include "resource.h"
#include "util/MessageText.h"
#include "util/NumberFormat.h"
#include "util/PathUtil.h"

namespace
{
// Keeps the grid's redraw off while the view fills it, and repaints it whole however the filling ends.
class CGridRedrawOff
{
public:
    explicit CGridRedrawOff(CWnd& grid) : m_grid(grid) { m_grid.SetRedraw(FALSE); }
    CGridRedrawOff(const CGridRedrawOff&) = delete;
    CGridRedrawOff& operator=(const CGridRedrawOff&) = delete;
    ~CGridRedrawOff()
    {
        m_grid.SetRedraw(TRUE);
        m_grid.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }

private:
    CWnd& m_grid;
};

// The record set a sheet's cells are read from or written to: the sheet's table, replaced when a cell names
// another one ("T"), which then serves the later cells too. It is opened when a cell first needs a row, so a sheet
// without keyed cells needs no table; the row key is looked up only when it changes.
class CSheetRecords
{
public:
    CSheetRecords(CADOConnection& data, const CString& strTable, BOOL bWrite)
        : m_data(data), m_bWrite(bWrite), m_strTable(strTable)
    {
    }

    CSetDati& Set()
    {
        if (!m_pSet) {
            m_pSet = std::make_unique<CSetDati>(m_strTable, m_data);
            m_pSet->Open(nullptr, adOpenStatic, m_bWrite ? adLockOptimistic : adLockReadOnly, adCmdTableDirect);
        }
        return *m_pSet;
    }
    void SwitchTable(const CString& strTable)
    {
        if (!strTable.IsEmpty() && strTable != m_strTable) {
            m_strTable = strTable;
            m_pSet.reset();
            m_bKeyKnown = FALSE;
        }
    }
    // The row of the key; TRUE when it exists. The key is remembered, so that the next cell of the same row
    // costs nothing.
    template <class FFind> BOOL Seek(const CString& strKey, FFind find)
    {
        if (!m_bKeyKnown || strKey != m_strKey) {
            m_strKey = strKey;
            m_bKeyKnown = TRUE;
            m_bFound = find(Set(), strKey);
        }
        return m_bFound;
    }
    void RowAdded() { m_bFound = TRUE; }

private:
    CADOConnection& m_data;
    BOOL m_bWrite;
    CString m_strTable;
    std::unique_ptr<CSetDati> m_pSet;
    CString m_strKey;
    BOOL m_bKeyKnown = FALSE;
    BOOL m_bFound = FALSE;
};

void ReplaceText(BSTR* pText, const CString& strText)
{
    ::SysFreeString(*pText);
    *pText = ::SysAllocString(strText);
}
} // namespace

BEGIN_MESSAGE_MAP(CMyF1Book, CF1Book)
    ON_WM_HSCROLL()
END_MESSAGE_MAP()

void CMyF1Book::OnHScroll(UINT nSBCode, UINT, CScrollBar*)
{
    if (nSBCode != SB_THUMBTRACK && nSBCode != SB_ENDSCROLL) {
        try {
            InvokeMethod149();
        } catch (CException* e) {
            e->Delete();   // the refused entry stays in its editor; the grid scrolls all the same
        }
    }
    Default();
}

IMPLEMENT_DYNCREATE(CViewInputForm, CFormView)

BEGIN_MESSAGE_MAP(CViewInputForm, CFormView)
    ON_WM_SIZE()
    ON_NOTIFY(TCN_SELCHANGE, IDC_FORM_SHEET_TABS, &CViewInputForm::OnSelChangeSheetTab)
    ON_COMMAND(ID_FILE_SAVE, &CViewInputForm::OnFileSave)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, &CViewInputForm::OnUpdateFileSave)
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CViewInputForm, CFormView)
    ON_EVENT(CViewInputForm, IDC_FORM_GRID, DISPID_MOUSEDOWN, &CViewInputForm::OnGridMouseDown,
             VTS_I2 VTS_I2 VTS_I4 VTS_I4)
    ON_EVENT(CViewInputForm, IDC_FORM_GRID, gridEventStartEdit, &CViewInputForm::OnGridStartEdit, VTS_PBSTR VTS_PI2)
    ON_EVENT(CViewInputForm, IDC_FORM_GRID, gridEventEndEdit, &CViewInputForm::OnGridEndEdit, VTS_PBSTR VTS_PI2)
END_EVENTSINK_MAP()

CViewInputForm::CViewInputForm() : CViewInputForm(IDD_INPUT_FORM)
{
}

CViewInputForm::CViewInputForm(UINT nIDTemplate) : CFormView(nIDTemplate)
{
    GridRegisterWindowClasses();
}

void CViewInputForm::DoDataExchange(CDataExchange* pDX)
{
    CFormView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FORM_GRID, m_grid);
}

void CViewInputForm::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();
    CRect rcTabs;
    if (CWnd* pPlaceholder = GetDlgItem(IDC_FORM_SHEET_TABS)) {
        pPlaceholder->GetWindowRect(&rcTabs);
        ScreenToClient(&rcTabs);
        pPlaceholder->DestroyWindow();
    }
    m_nTabHeight = rcTabs.Height();
    m_wndTabs.Create(WS_CHILD | WS_VISIBLE, rcTabs, this, IDC_FORM_SHEET_TABS);
    m_wndTabs.SetStyle(5);
    m_wndTabs.SetColors(4);
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->SetActiveView(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    RecalcLayout(rcClient.Width(), rcClient.Height());
}

void CViewInputForm::RecalcLayout(int cx, int cy)
{
    if (m_wndTabs.GetSafeHwnd())
        m_wndTabs.MoveWindow(0, 0, cx, m_nTabHeight);
    if (m_grid.GetSafeHwnd())
        m_grid.MoveWindow(0, m_nTabHeight, cx, cy - m_nTabHeight);
}

void CViewInputForm::OnSize(UINT nType, int cx, int cy)
{
    CFormView::OnSize(nType, cx, cy);
    RecalcLayout(cx, cy);
}

BOOL CViewInputForm::IsModified() const
{
    if (CDataView::IsModified())
        return TRUE;
    CGridCtrl* pGrid = CGridCtrl::FromHandle(m_grid.GetSafeHwnd());
    return pGrid && pGrid->IsEditing();
}

CString CViewInputForm::GetCellField(int nSheet, int nRow, int nCol) const
{
    const CCellInfo* pCell = m_formInfo.GetCell(nSheet, nRow, nCol);
    return pCell ? pCell->m_strF : CString();
}

CCellInfo* CViewInputForm::GetCellInfo(int nSheet, int nRow, int nCol)
{
    return const_cast<CCellInfo*>(m_formInfo.GetCell(nSheet, nRow, nCol));
}

BOOL CViewInputForm::FindRecord(CSetDati& set, LPCTSTR pszKey, BOOL bQuiet)
{
    return set.FindByTextKey(pszKey, bQuiet);
}

void CViewInputForm::AddRecord(CSetDati& set, LPCTSTR pszKey)
{
    set.AddNewWithKey(pszKey);
}

void CViewInputForm::ShowError(CException* e)
{
    AfxMessageBox(GetExceptionText(e), MB_ICONERROR);
}

void CViewInputForm::ShowError(const _com_error& e)
{
    CFormHost* pHost = dynamic_cast<CFormHost*>(AfxGetApp());
    AfxMessageBox(GetComErrorText(e, pHost ? &pHost->GetDataConnection() : nullptr), MB_ICONERROR);
}

int CViewInputForm::GetShownPair() const
{
    return (m_grid.GetProperty106() - 1) / 2;
}

void CViewInputForm::ShowPair(int nPair)
{
    m_grid.SetProperty106(2 * nPair + 1);
    if (nPair < m_wndTabs.GetItemCount())
        m_wndTabs.SetCurSel(nPair);
}

BOOL CViewInputForm::EndCellEdit()
{
    try {
        m_grid.InvokeMethod149();
        return TRUE;
    } catch (CException* e) {
        e->Delete();   // the end-of-edit check has told the user why
        return FALSE;
    }
}

BOOL CViewInputForm::LoadData(const CRecordID* pItem)
{
    const CTextID* pText = dynamic_cast<const CTextID*>(pItem);
    if (!pText)
        return FALSE;
    if (m_pItem && m_pItem->IsEqual(pText))
        return TRUE;
    try {
        return LoadBook(pText->GetText());
    } catch (CException* e) {
        ShowError(e);
    } catch (const _com_error& e) {
        ShowError(e);
    }
    return FALSE;
}

BOOL CViewInputForm::LoadBook(const CString& strFile)
{
    m_pItem = std::make_unique<CTextID>(strFile);
    m_wndTabs.DeleteAllItems();
    // An entry left open in the editor belongs to the workbook being left.
    if (CGridCtrl* pGrid = CGridCtrl::FromHandle(m_grid.GetSafeHwnd()))
        pGrid->CancelEdit();
    CString strPath = CombinePath(CFormHost::Get().GetFormDir(), strFile);
    if (!FileExists(strPath)) {
        AfxMessageBox(FormatResMessage(IDP_FILE_NOT_FOUND, strPath), MB_ICONERROR);
        return FALSE;
    }
    CWaitCursor wait;
    {
        CGridRedrawOff redrawOff(m_grid);
        m_grid.SetMousePointer(1);
        m_grid.InvokeMethod1375(strPath);
        m_formInfo.ReadFromBook(m_grid);
        // A description naming a table or field the archive lacks would load from and save into nothing, and
        // a row key outside the program's numbering would be added as a row of its own at the save.
        CString strUnbound;
        if (!CheckFormBinding(m_formInfo, CFormHost::Get().GetDataConnection(), strUnbound) ||
            !CheckFormRows(m_formInfo, strUnbound)) {
            m_formInfo.RemoveAll();
            AfxMessageBox(strUnbound, MB_ICONERROR);
            return FALSE;
        }
        for (int nPair = 0; nPair < m_formInfo.GetSize(); nPair++) {
            const CSheetInfo& sheet = m_formInfo[nPair];
            m_wndTabs.InsertItem(nPair, sheet.m_strSheetName);
            m_grid.SetProperty106(2 * nPair + 1);
            m_grid.SetProperty21(FALSE);
            m_grid.SetProperty22(FALSE);
            m_grid.SetProperty59(FALSE);
            m_grid.SetProperty15(FALSE);
            m_grid.SetProperty14(FALSE);
            m_grid.SetProperty110(FALSE);
            m_grid.SetProperty100(FALSE);
            m_grid.SetProperty109(0);
            m_grid.SetProperty1427(TRUE);
            m_grid.SetProperty11(sheet.m_nTitleCols);
            m_grid.SetProperty13(sheet.m_nTitleRows);
            CF1FindResult eof = m_grid.InvokeMethod1448(L"[EOF]", 2 * nPair + 1, -1, -1, 0, 0, 3);
            if (eof.InvokeMethod1()) {
                m_grid.SetProperty19(std::max(1L, eof.InvokeGet3() - 1));
                m_grid.SetProperty18(std::max(1L, eof.InvokeGet4() - 1));
            }
            if (sheet.GetSize() > 1)
                FillSheet(nPair);
            if (sheet.m_nFirstRow > 0 && sheet.m_nFirstCol > 0)
                m_grid.InvokeMethod211(sheet.m_nFirstRow, sheet.m_nFirstCol);
        }
        if (m_formInfo.GetSize() > 0) {
            m_grid.SetProperty106(1);
            m_wndTabs.SetCurSel(0);
        }
    }
    SetModified(FALSE);
    // The grid lays itself out again for its sheet.
    CRect rcGrid;
    m_grid.GetWindowRect(&rcGrid);
    ScreenToClient(&rcGrid);
    m_grid.MoveWindow(0, 0, 100, 100);
    m_grid.MoveWindow(&rcGrid);
    return TRUE;
}

void CViewInputForm::ApplyCellFormat(int nRow, int nCol, const CCellInfo& cell)
{
    m_grid.InvokeMethod228(nRow, nCol, nRow, nCol);
    CF1CellFormat format = m_grid.InvokeMethod1438();
    if (cell.m_nKind == formKindInput)
        format.InvokePut19(FALSE);
    CString strFormat = cell.GetNumberFormat();
    if (!strFormat.IsEmpty())
        format.InvokePut14(strFormat);
    m_grid.InvokeMethod1439(format);
}

void CViewInputForm::FillSheet(int nPair)
{
    const CSheetInfo& sheet = m_formInfo[nPair];
    int nCols = sheet[1].GetSize() - 1;
    CSheetRecords records(CFormHost::Get().GetDataConnection(), sheet.m_strTable, FALSE);
    auto find = [this](CSetDati& set, const CString& strKey) { return FindRecord(set, strKey, TRUE); };
    for (int nRow = 1; nRow < sheet.GetSize(); nRow++) {
        const CRowInfo& row = sheet[nRow];
        for (int nCol = 1; nCol <= nCols && nCol < row.GetSize(); nCol++) {
            const CCellInfo& cell = row[nCol];
            records.SwitchTable(cell.m_strT);
            if (cell.m_nKind == formKindNone)
                continue;
            if (sheet.m_bFormatsOn && m_bFormatsOn)
                ApplyCellFormat(nRow, nCol, cell);
            if (cell.m_nKind == formKindComputed || cell.m_strR.IsEmpty())
                continue;
            BOOL bFound = records.Seek(cell.m_strR, find);
            CString strField = GetCellField(nPair, nRow, nCol);
            if (cell.m_nKind == formKindCheckBox) {
                if (bFound && !strField.IsEmpty()) {
                    BOOL bSet = records.Set().GetFieldCurrency(strField) != 0;
                    TCHAR chBox = (cell.m_bYesBox == bSet) ? kGridBoxTicked : kGridBoxEmpty;
                    m_grid.InvokePut281(nRow, nCol, CString(chBox));
                }
            } else if (cell.m_nType == formTypeText) {
                m_grid.InvokePut281(nRow, nCol, bFound && !strField.IsEmpty()
                                                    ? records.Set().GetFieldString(strField) : CString());
            } else {
                m_grid.InvokePut279(nRow, nCol, bFound && !strField.IsEmpty()
                                                    ? records.Set().GetFieldCurrency(strField) : 0.0);
            }
        }
    }
}

BOOL CViewInputForm::SaveData()
{
    if (!IsModified())
        return TRUE;
    if (!EndCellEdit())
        return FALSE;
    try {
        SaveCells();
        return TRUE;
    } catch (CException* e) {
        ShowError(e);
    } catch (const _com_error& e) {
        ShowError(e);
    }
    return FALSE;
}

void CViewInputForm::SaveCells()
{
    m_grid.InvokeMethod149();
    long nShown = m_grid.GetProperty106();
    for (int nPair = 0; nPair < m_formInfo.GetSize(); nPair++) {
        if (m_formInfo[nPair].GetSize() > 1)
            SaveSheet(nPair);
    }
    m_grid.SetProperty106(nShown);
    SetModified(FALSE);
}

void CViewInputForm::SaveSheet(int nPair)
{
    const CSheetInfo& sheet = m_formInfo[nPair];
    m_grid.SetProperty106(2 * nPair + 1);
    long nActiveRow = 0, nActiveCol = 0;
    m_grid.InvokeMethod169(&nActiveRow, &nActiveCol);
    int nCols = sheet[1].GetSize() - 1;
    CSheetRecords records(CFormHost::Get().GetDataConnection(), sheet.m_strTable, TRUE);
    auto find = [this](CSetDati& set, const CString& strKey) { return FindRecord(set, strKey, TRUE); };
    for (int nRow = 1; nRow < sheet.GetSize(); nRow++) {
        const CRowInfo& row = sheet[nRow];
        for (int nCol = 1; nCol <= nCols && nCol < row.GetSize(); nCol++) {
            const CCellInfo& cell = row[nCol];
            records.SwitchTable(cell.m_strT);
            if (cell.m_nKind == formKindNone || cell.m_nKind == formKindLoaded || cell.m_strR.IsEmpty())
                continue;
            CString strField = GetCellField(nPair, nRow, nCol);
            // A No box is never written: its Yes box carries the pair's value.
            if (strField.IsEmpty() || (cell.m_nKind == formKindCheckBox && !cell.m_bYesBox))
                continue;
            CSetDati& set = records.Set();
            if (!records.Seek(cell.m_strR, find)) {
                AddRecord(set, cell.m_strR);
                records.RowAdded();
            }
            if (cell.m_nKind == formKindCheckBox)
                set.SetFieldDouble(strField, m_grid.InvokeGet281(nRow, nCol) != CString(kGridBoxEmpty) ? 1.0 : 0.0);
            else if (cell.m_nType == formTypeText)
                set.SetFieldString(strField, m_grid.InvokeGet281(nRow, nCol));
            else
                set.SetFieldDouble(strField, m_grid.InvokeGet279(nRow, nCol));
            set.UpdateRow();
        }
    }
    m_grid.InvokeMethod211(nActiveRow, nActiveCol);
}

void CViewInputForm::OnFileSave()
{
    SaveWithWaitCursor();
}

void CViewInputForm::OnUpdateFileSave(CCmdUI* pCmdUI)
{
    UpdateSaveCommand(pCmdUI);
}

void CViewInputForm::OnSelChangeSheetTab(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    int nTab = m_wndTabs.GetCurSel();
    if (nTab < 0)
        return;
    try {
        m_grid.SetProperty106(2 * nTab + 1);
    } catch (CException* e) {
        ShowError(e);
    }
}

void CViewInputForm::OnGridStartEdit(BSTR*, short* pCancel)
{
    long nRow = 0, nCol = 0;
    m_grid.InvokeMethod169(&nRow, &nCol);
    const CCellInfo* pCell = m_formInfo.GetCell(GetShownPair(), nRow, nCol);
    if (!pCell || pCell->m_nKind != formKindInput)
        *pCancel = TRUE;
}

void CViewInputForm::OnGridEndEdit(BSTR* pText, short* pCancel)
{
    if (m_bInEndEdit)
        return;
    m_bInEndEdit = TRUE;
    struct CGuard
    {
        BOOL& m_bFlag;
        ~CGuard() { m_bFlag = FALSE; }
    } guard{m_bInEndEdit};

    long nRow = 0, nCol = 0;
    m_grid.InvokeMethod169(&nRow, &nCol);
    const CCellInfo* pCell = m_formInfo.GetCell(GetShownPair(), nRow, nCol);
    int nType = pCell ? pCell->m_nType : formTypeNone;
    BOOL bNoNegatives = pCell && pCell->m_bNoNegatives;
    CString strText(*pText ? *pText : L"");
    if (strText.IsEmpty() && nType != formTypeText)
        strText = L"0";

    UINT nRefused = 0;
    switch (nType) {
    case formTypeWhole:
    case formTypeDecimal: {
        BOOL bError = FALSE;
        double dValue = ParseNumber(strText, bError);
        if (bError)
            nRefused = IDP_FORM_NOT_NUMERIC;
        else if (bNoNegatives && dValue < 0)
            nRefused = IDP_FORM_NO_NEGATIVES;
        else
            strText = FormatNumber(dValue, nType == formTypeWhole ? 0 : pCell->m_nDecimals);
        break;
    }
    case formTypeAmount: {
        COleCurrency amount = ParseCurrency(strText);
        if (amount.GetStatus() != COleCurrency::valid)
            nRefused = IDP_FORM_NOT_NUMERIC;
        else if (bNoNegatives && amount < COleCurrency())
            nRefused = IDP_FORM_NO_NEGATIVES;
        else
            strText = FormatCurrency(amount);
        break;
    }
    case formTypeText:
        break;
    default:
        strText.Empty();
        break;
    }
    if (nRefused) {
        AfxMessageBox(nRefused, MB_ICONWARNING | MB_OK);
        *pCancel = TRUE;
        return;
    }
    ReplaceText(pText, strText);
    SetModified(TRUE);
}

void CViewInputForm::OnGridMouseDown(short nButton, short nShift, long x, long y)
{
    if (nButton != 1 || nShift != 0)
        return;
    try {
        ClickCell(x, y);
    } catch (CException* e) {
        ShowError(e);
    }
}

void CViewInputForm::ClickCell(long x, long y)
{
    if (!m_nLogPixelsX) {
        CClientDC dc(nullptr);
        m_nLogPixelsX = dc.GetDeviceCaps(LOGPIXELSX);
        m_nLogPixelsY = dc.GetDeviceCaps(LOGPIXELSY);
    }
    long nRow = 0, nCol = 0;
    m_grid.InvokeMethod237(::MulDiv(x, 1440, m_nLogPixelsX), ::MulDiv(y, 1440, m_nLogPixelsY), &nRow, &nCol);
    if (nRow < 1 || nCol < 1)
        return;
    m_grid.InvokeMethod211(1, 1);
    m_grid.InvokeMethod211(nRow, nCol);
    m_grid.InvokeMethod169(&nRow, &nCol);
    int nPair = m_wndTabs.GetCurSel();
    if (m_formInfo.IsCheckBox(nPair, nRow, nCol)) {
        m_grid.InvokeMethod149();
        m_grid.InvokeMethod228(nRow, nCol, nRow, nCol);
        const CCellInfo* pCell = m_formInfo.GetCell(nPair, nRow, nCol);
        if (!pCell->m_bReadOnlyBox) {
            m_grid.InvokePut281(nRow, nCol, CString(kGridBoxTicked));
            if (pCell->m_nPartnerRow > 0 && pCell->m_nPartnerCol > 0)
                m_grid.InvokePut281(pCell->m_nPartnerRow, pCell->m_nPartnerCol, CString(kGridBoxEmpty));
            SetModified(TRUE);
        }
        return;
    }
    int nFoundRow = nRow, nFoundCol = nCol;
    if (m_formInfo.FindNearestDataCell(nPair, nFoundRow, nFoundCol, m_grid.GetProperty19(), m_grid.GetProperty18())) {
        m_grid.InvokeMethod228(nFoundRow, nFoundCol, nFoundRow, nFoundCol);
        m_grid.InvokeMethod229();
        const CCellInfo* pCell = m_formInfo.GetCell(nPair, nFoundRow, nFoundCol);
        if (pCell && pCell->m_nKind == formKindInput)
            m_grid.InvokeMethod232(0, 0, 1);
    }
}

BOOL CViewInputForm::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && OnGridKey(pMsg))
        return TRUE;
    return CFormView::PreTranslateMessage(pMsg);
}

BOOL CViewInputForm::OnGridKey(const MSG* pMsg)
{
    HWND hGrid = m_grid.GetSafeHwnd();
    if (!hGrid)
        return FALSE;
    if (pMsg->wParam == VK_DELETE && pMsg->hwnd == hGrid) {
        try {
            ClearCell();
        } catch (CException* e) {
            ShowError(e);
        }
        return TRUE;
    }
    int nDirection;
    switch (pMsg->wParam) {
    case VK_LEFT: nDirection = 0; break;
    case VK_RIGHT: nDirection = 1; break;
    case VK_UP: nDirection = 2; break;
    case VK_DOWN: nDirection = 3; break;
    default: return FALSE;
    }
    if (pMsg->hwnd != hGrid) {
        if (::GetParent(pMsg->hwnd) != hGrid)
            return FALSE;
        if (nDirection < 2) {
            // Inside the editor Left and Right move the caret, except at the ends of an unselected text.
            DWORD dwStart = 0, dwEnd = 0;
            ::SendMessageW(pMsg->hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
            int nLength = ::GetWindowTextLengthW(pMsg->hwnd);
            if (dwStart != dwEnd || (nDirection == 0 ? dwStart != 0 : static_cast<int>(dwEnd) != nLength))
                return FALSE;
        }
    }
    try {
        return MoveToNextDataCell(nDirection);
    } catch (CException* e) {
        e->Delete();   // the grid's own handling of the key follows
        return FALSE;
    }
}

void CViewInputForm::ClearCell()
{
    long nRow = 0, nCol = 0;
    m_grid.InvokeMethod169(&nRow, &nCol);
    const CCellInfo* pCell = m_formInfo.GetCell(GetShownPair(), nRow, nCol);
    if (!pCell || (pCell->m_nKind != formKindInput && pCell->m_nKind != formKindSet))
        return;
    switch (pCell->m_nType) {
    case formTypeWhole:
    case formTypeDecimal:
    case formTypeAmount:
        m_grid.InvokePut279(nRow, nCol, 0);
        break;
    case formTypeText:
        m_grid.InvokePut281(nRow, nCol, L"");
        break;
    default:
        return;
    }
    SetModified(TRUE);
}

BOOL CViewInputForm::MoveToNextDataCell(int nDirection)
{
    long nActiveRow = 0, nActiveCol = 0;
    m_grid.InvokeMethod169(&nActiveRow, &nActiveCol);
    int nRow = nActiveRow, nCol = nActiveCol;
    if (!m_formInfo.FindNextDataCell(m_wndTabs.GetCurSel(), nRow, nCol, nDirection) ||
        nRow > m_grid.GetProperty19() || nCol > m_grid.GetProperty18())
        return FALSE;
    m_grid.InvokeMethod228(nRow, nCol, nRow, nCol);
    m_grid.InvokeMethod229();
    return TRUE;
}
