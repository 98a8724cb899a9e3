// CViewInputForm: one input-form workbook in the grid, one tab per data sheet. Every described cell is filled
// from the data archive, the user types only into input cells (checked by cell type, the Italian way), and the
// described cells are written back. The variants (totals, case selection, monitoring, signed balances, the
// per-responsible forms, the D-07 attachment) derive from it.
#pragma once

#include "forms/DataView.h"
#include "forms/FormInfo.h"
#include "platform/com/comsupport.h"
#include "platform/grid/F1Book.h"
#include "platform/mfc/afxevent.h"
#include "platform/mfc/afxformview.h"
#include "ui/docking/TabCtrl.h"

#include <memory>

class CSetDati;

// The grid of the views: a horizontal scroll step first puts an open in-cell edit into its cell.
class CMyF1Book : public CF1Book
{
protected:
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()
};

class CViewInputForm : public CFormView, public CDataView
{
    DECLARE_DYNCREATE(CViewInputForm)
public:
    CViewInputForm();

    // CDataView. An entry still open in the grid's editor counts as a change.
    BOOL IsModified() const override;
    BOOL LoadData(const CRecordID* pItem) override;
    BOOL SaveData() override;
    const CRecordID* GetRecordID() const override { return m_pItem.get(); }

    CMyF1Book& GetGrid() { return m_grid; }
    CXTPTabCtrl& GetSheetTabs() { return m_wndTabs; }
    const CFormInfo& GetFormInfo() const { return m_formInfo; }

    void OnInitialUpdate() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    explicit CViewInputForm(UINT nIDTemplate);

    virtual void RecalcLayout(int cx, int cy);
    // The F text of a described cell of sheet pair nSheet (from 0).
    virtual CString GetCellField(int nSheet, int nRow, int nCol) const;
    // Positions the record set on the row whose "ID" is the key (opening it when needed); quiet: a missing
    // row is no error.
    virtual BOOL FindRecord(CSetDati& set, LPCTSTR pszKey, BOOL bQuiet);
    virtual void AddRecord(CSetDati& set, LPCTSTR pszKey);

    // The base load and save; database and grid errors leave by raising, for the callers to show. LoadBook
    // answers FALSE when the workbook is missing (the user has been told).
    BOOL LoadBook(const CString& strFile);
    void SaveCells();
    // Ends an open in-cell edit; FALSE when the entry was refused (the user has been told why).
    BOOL EndCellEdit();
    // The sheet pair shown (from 0).
    int GetShownPair() const;
    // Shows data sheet nPair and selects its tab.
    void ShowPair(int nPair);
    void ForgetItem() { m_pItem.reset(); }
    CCellInfo* GetCellInfo(int nSheet, int nRow, int nCol);
    // Errors of an operation the user started: shown with the error icon.
    static void ShowError(CException* e);
    static void ShowError(const _com_error& e);

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSelChangeSheetTab(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnFileSave();
    afx_msg void OnUpdateFileSave(CCmdUI* pCmdUI);
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()

    void OnGridMouseDown(short nButton, short nShift, long x, long y);
    void OnGridStartEdit(BSTR* pText, short* pCancel);
    virtual void OnGridEndEdit(BSTR* pText, short* pCancel);
    DECLARE_EVENTSINK_MAP()

    std::unique_ptr<CTextID> m_pItem;
    CFormInfo m_formInfo;
    CXTPTabCtrl m_wndTabs;
    CMyF1Book m_grid;
    int m_nTabHeight = 0;
    BOOL m_bFormatsOn = TRUE;
    BOOL m_bInEndEdit = FALSE;

private:
    void FillSheet(int nPair);
    void SaveSheet(int nPair);
    void ApplyCellFormat(int nRow, int nCol, const CCellInfo& cell);
    // The arrow and Delete keys of the grid; TRUE when the key was taken.
    BOOL OnGridKey(const MSG* pMsg);
    void ClearCell();
    BOOL MoveToNextDataCell(int nDirection);
    void ClickCell(long x, long y);

    int m_nLogPixelsX = 0;
    int m_nLogPixelsY = 0;
};
