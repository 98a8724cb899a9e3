#include "FormTable.h"

#include "ViewInputFormResp.h"
#include "ViewInputFormVariants.h"

namespace
{
// The forecast forms of 2008/09/10 save with the recomputation, as the totals forms do: their figures feed
// the verification balances and the reports.
const FORM_TABLE_ENTRY kForms[] = {
    {40002, L"Entrate1.vts", RUNTIME_CLASS(CViewInputFormTot)},
    {40003, L"Entrate2.vts", RUNTIME_CLASS(CViewInputFormTot)},
    {40004, L"SpNette1.vts", RUNTIME_CLASS(CViewInputFormTot)},
    {40005, L"SpNette2.vts", RUNTIME_CLASS(CViewInputFormTot)},
    {40006, L"SaldoFin.vts", RUNTIME_CLASS(CViewInputFormTot)},
    {40007, L"SaldoPro.vts", RUNTIME_CLASS(CViewInputFormCSP)},
    {40008, L"MonEntr1.vts", RUNTIME_CLASS(CViewInputFormMon)},
    {40009, L"MonEntr2.vts", RUNTIME_CLASS(CViewInputFormMon)},
    {40010, L"MonSpNt1.vts", RUNTIME_CLASS(CViewInputFormMon)},
    {40011, L"MonSpNt2.vts", RUNTIME_CLASS(CViewInputFormMon)},
    {40041, L"EntVeri1.vts", RUNTIME_CLASS(CViewInputFormTot)},
    {40049, L"EntVeri2.vts", RUNTIME_CLASS(CViewInputFormTot)},
    {40043, L"SpNVeri1.vts", RUNTIME_CLASS(CViewInputFormTot)},
    {40050, L"SpNVeri2.vts", RUNTIME_CLASS(CViewInputFormTot)},
    {40045, L"VerVerif.vts", RUNTIME_CLASS(CViewInputFormSP)},
    {40016, L"EntExtr1.vts", RUNTIME_CLASS(CViewInputFormResp)},
    {40017, L"SpNExtr1.vts", RUNTIME_CLASS(CViewInputFormResp)},
    {40018, L"VerExtra.vts", RUNTIME_CLASS(CViewInputFormResp)},
};

const FORM_TABLE_ENTRY kCapExtra = {40016, L"CapExtra.vts", RUNTIME_CLASS(CViewInputFormRespCap)};
} // namespace

const FORM_TABLE_ENTRY* FindFormEntry(UINT nCommand, BOOL bByChapter)
{
    if (bByChapter) {
        if (nCommand == kCapExtra.nCommand)
            return &kCapExtra;
        if (nCommand == 40017)
            return nullptr;
    }
    for (const FORM_TABLE_ENTRY& entry : kForms) {
        if (entry.nCommand == nCommand)
            return &entry;
    }
    return nullptr;
}
