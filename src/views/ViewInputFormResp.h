// The per-responsible forms: the forecast of one responsible centre at a time, chosen in a combo box whose first
// entry, the synthesis of all centres, is read-only. CViewInputFormResp keys its cells of SaldoFinCalc by row and
// centre; CViewInputFormRespCap lists the centre's budget items by chapter, with buttons to add, change and
// remove them. Saving either recomputes the per-responsible balances and checks them against the totals.
#pragma once

#include "ViewInputFormVariants.h"

#include "controls/MyButton.h"

#include "data/ADOConnection.h"
#include "data/ADOField.h"

#include <utility>
#include <vector>

class CViewInputFormResp : public CViewInputFormSP
{
    DECLARE_DYNCREATE(CViewInputFormResp)
public:
    CViewInputFormResp();

    BOOL LoadData(const CRecordID* pItem) override;
    BOOL SaveData() override;
    void OnInitialUpdate() override;

    // The centre shown; 0 for the synthesis.
    long GetCentre() const { return m_centre.GetValue(); }
    BOOL IsSynthesis() const { return GetCentre() <= 0; }
    CComboBox& GetCentreCombo() { return m_cboResp; }

protected:
    explicit CViewInputFormResp(UINT nIDTemplate);

    void RecalcLayout(int cx, int cy) override;
    BOOL FindRecord(CSetDati& set, LPCTSTR pszKey, BOOL bQuiet) override;
    void AddRecord(CSetDati& set, LPCTSTR pszKey) override;
    void DoDataExchange(CDataExchange* pDX) override;
    // The consistency check after a stored save of the centre's figures: its report dialog when the centres'
    // totals differ from the forecast balance.
    static void ShowConsistencyReport(CADOConnection& data);

    afx_msg void OnSelChangeResp();
    DECLARE_MESSAGE_MAP()

    CComboBox m_cboResp;
    int m_nComboLeft = 0;
    int m_nComboHeight = 0;
    CADOType<long> m_centre;

private:
    void FillCentres();
    void SelectCentreInCombo(long nCentre);
    // The synthesis: every cell read-only, boxes included.
    void LockSynthesis();
};

class CViewInputFormRespCap : public CViewInputFormResp
{
    DECLARE_DYNCREATE(CViewInputFormRespCap)
public:
    CViewInputFormRespCap();

    // Reads the workbook again every time, so that the item rows are never inserted twice.
    BOOL LoadData(const CRecordID* pItem) override;
    BOOL SaveData() override;
    void OnInitialUpdate() override;

    // Item rows run from this row to the sheet's row limit minus 3.
    enum { kFirstItemRow = 5 };
    enum ItemColumn { colCodUEB = 2, colCapitolo = 3, colArticolo = 4, colDescrizione = 5, colBlank = 6,
                      colComp = 7, colCassa = 8, colID = 10 };

    void InsertItemRows(int nPair, int nCount);
    void RefreshChapterColumns();

    BOOL CanAddItem();
    BOOL CanChangeItem();

protected:
    void RecalcLayout(int cx, int cy) override;
    void OnGridEndEdit(BSTR* pText, short* pCancel) override;

    afx_msg void OnAggiungiVoce();
    afx_msg void OnModificaVoce();
    afx_msg void OnEliminaVoce();
    afx_msg void OnUpdateAggiungiVoce(CCmdUI* pCmdUI);
    afx_msg void OnUpdateModificaVoce(CCmdUI* pCmdUI);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    int LastItemRow() const { return m_grid.GetProperty19() - 3; }
    void FillItems(int nPair);
    // Saves the item rows of one pair; FALSE after the message on a row that lacks its code or chapter.
    BOOL SaveItems(int nPair, CADOConnection& data, std::vector<std::pair<int, long>>& added);
    void RemoveItemRow(int nPair, int nRow);
    void EmptyItemRow(int nRow);
    void ClearItemValues(int nRow);

    CMyButton m_btnAdd;
    CMyButton m_btnModify;
    CMyButton m_btnDelete;
};
