#include "ConsistencyCheck.h"

#include "engine/SetSaldi.h"
#include "resource.h"
#include "util/MessageText.h"

namespace {

struct CCheckedRow
{
    long nRow;
    UINT nLabelId;
};

const CCheckedRow kRows[] = {
    {2104, IDS_TOT_TIT1_ENTRATE}, {2206, IDS_TOT_TIT2_ENTRATE}, {2306, IDS_TOT_TIT3_ENTRATE},
    {2407, IDS_TOT_TIT4_ENTRATE}, {2502, IDS_TIT4_ENTRATE_UFFICI_GIUD}, {2406, IDS_TIT4_ENTRATE_CAT6},
    {201, IDS_TOT_TIT1_SPESE}, {211, IDS_TIT1_SPESE_UFFICI_GIUD}, {202, IDS_TOT_TIT2_SPESE},
    {212, IDS_TIT2_SPESE_UFFICI_GIUD}, {203, IDS_TIT2_SPESE_CREDITI},
};

const struct
{
    LPCTSTR pszField;
    UINT nLabelId;
} kFields[] = {{L"anno4Cas", IDS_CASSA}, {L"anno4Com", IDS_COMPETENZA}};

UINT RowLabelId(long nRow)
{
    for (const CCheckedRow& row : kRows) {
        if (row.nRow == nRow)
            return row.nLabelId;
    }
    return 0;
}

} // namespace

void CheckSaldoFinProgVsCalc(CADOConnection& data, CConsistencyFindings& findings)
{
    findings.RemoveAll();
    CSetSaldi prog(L"SaldoFinProg", data);
    prog.OpenRows(CSetSaldi::readOnly);
    CSetSaldi calc(L"SaldoFinCalc", data);
    calc.OpenRows(CSetSaldi::readOnly);
    calc.SetResp(0);

    for (const CCheckedRow& row : kRows) {
        CConsistencyFinding finding;
        finding.nRow = row.nRow;
        for (const auto& field : kFields) {
            // Amounts are kept to 1/10000, so equal amounts give equal doubles: no tolerance.
            if (prog.ReadDouble(row.nRow, field.pszField) != calc.ReadDouble(row.nRow, field.pszField))
                finding.fieldIds.Add(field.nLabelId);
        }
        if (finding.fieldIds.GetSize() > 0)
            findings.Add(finding);
    }
}

CString FormatConsistencyReport(const CConsistencyFindings& findings)
{
    CString lines;
    for (INT_PTR i = 0; i < findings.GetSize(); ++i) {
        const CConsistencyFinding& finding = findings[i];
        CString fields;
        for (INT_PTR f = 0; f < finding.fieldIds.GetSize(); ++f) {
            if (f > 0)
                fields += L"/";
            fields += LoadResString(finding.fieldIds[f]);
        }
        lines += FormatString(L"- %s (%s)\n", static_cast<LPCTSTR>(LoadResString(RowLabelId(finding.nRow))),
                              static_cast<LPCTSTR>(fields));
    }
    return FormatResMessage(IDP_SALDI_INCONGRUENTI, lines);
}
