// The refinements of the input form: the save in one transaction with the recomputation of the balances
// (CViewInputFormTot), and after it the case selection that disables unused cells (CViewInputFormCSP), the
// quarterly monitoring that warns about empty earlier quarters (CViewInputFormMon) and the balance cells
// formatted and coloured by sign (CViewInputFormSP).
#pragma once

#include "ViewInputForm.h"

class CViewInputFormTot : public CViewInputForm
{
    DECLARE_DYNCREATE(CViewInputFormTot)
public:
    CViewInputFormTot() = default;

    // The described cells and the recomputation, committed together or not at all; after a failure the view
    // keeps its changes (modified) and the error has been shown.
    BOOL SaveData() override;

protected:
    explicit CViewInputFormTot(UINT nIDTemplate) : CViewInputForm(nIDTemplate) {}
    // Raises on a database error; the caller's transaction takes everything back.
    void SaveCellsAndRecalc();
};

class CViewInputFormCSP : public CViewInputFormTot
{
    DECLARE_DYNCREATE(CViewInputFormCSP)
public:
    BOOL LoadData(const CRecordID* pItem) override;

private:
    void DisableCaseCells();
};

class CViewInputFormMon : public CViewInputFormTot
{
    DECLARE_DYNCREATE(CViewInputFormMon)
public:
    BOOL SaveData() override;

    // The first quarter (1 to 4) that holds data after an empty one; 0 when the filled quarters come first.
    static int FindQuarterAfterGap(const BOOL (&bFilled)[4]);

private:
    BOOL ConfirmQuarters();
};

class CViewInputFormSP : public CViewInputFormTot
{
    DECLARE_DYNCREATE(CViewInputFormSP)
public:
    CViewInputFormSP() = default;

    BOOL LoadData(const CRecordID* pItem) override;

protected:
    explicit CViewInputFormSP(UINT nIDTemplate) : CViewInputFormTot(nIDTemplate) {}
    // The balance cells of every sheet pair in their signed format and colour.
    void FormatBalances();
};
