#include "ReportVariants.h"

#include "data/SetResponsabili.h"
#include "engine/SetSaldi.h"
#include "resource.h"
#include "util/MessageText.h"
#include "util/NumberFormat.h"

namespace {

// Hidden names per case.
const LPCTSTR kHidden0[] = {L"s2com", L"s3", L"s4", L"s5", L"s6", L"u1", L"u2"};
const LPCTSTR kHidden1[] = {L"e", L"f", L"g", L"h", L"i", L"l", L"m", L"n", L"o", L"p", L"M1", L"M2", L"M3",
                            L"SFNA1", L"SFNA2", L"SFNA3", L"t", L"8P", L"q1", L"r1", L"s1", L"s2com", L"s3", L"s4",
                            L"s5", L"S6", L"u1", L"u2"};
const LPCTSTR kHidden2[] = {L"s3", L"s4", L"s5", L"s6"};
const LPCTSTR kHidden3[] = {L"e", L"f", L"g", L"h", L"i", L"l", L"m", L"n", L"o", L"p", L"M1", L"M2", L"M3",
                            L"SFNA1", L"SFNA2", L"SFNA3", L"t", L"8P", L"s2com", L"u1", L"u2"};
const LPCTSTR kHidden4[] = {L"e", L"f", L"g", L"h", L"i", L"l", L"m", L"n", L"o", L"p", L"M1", L"M2", L"M3",
                            L"SFNA1", L"SFNA2", L"SFNA3", L"t", L"8P", L"q1", L"r1", L"s1", L"s2com", L"s3", L"s4",
                            L"s5", L"s6"};

const struct
{
    const LPCTSTR* names;
    size_t nCount;
} kHidden[] = {
    {kHidden0, _countof(kHidden0)}, {kHidden1, _countof(kHidden1)}, {kHidden2, _countof(kHidden2)},
    {kHidden3, _countof(kHidden3)}, {kHidden4, _countof(kHidden4)},
};

// The explanatory texts by name and case.
const struct
{
    LPCTSTR pszName;
    UINT ids[5];
} kCaseTexts[] = {
    {L"CASO_C_1", {IDS_CASO_C_1_0, IDS_CASO_C_1_1, IDS_CASO_C_1_2, IDS_CASO_C_1_3, IDS_CASO_C_1_4}},
    {L"CASO_C_U", {IDS_CASO_C_U_0, IDS_CASO_C_U_1, IDS_CASO_C_U_2, IDS_CASO_C_U_3, IDS_CASO_C_U_4}},
    {L"CASO_C_V", {IDS_CASO_C_V_0, IDS_CASO_C_V_1, IDS_CASO_C_V_2, IDS_CASO_C_V_3, IDS_CASO_C_V_4}},
    {L"CASO_C_Z", {IDS_CASO_C_Z_0, IDS_CASO_C_Z_1, IDS_CASO_C_Z_2, IDS_CASO_C_Z_3, IDS_CASO_C_Z_4}},
    {L"CASO_C_2", {IDS_CASO_C_2_MISTA, IDS_CASO_C_2_MISTA, IDS_CASO_C_2_CASSA, IDS_CASO_C_2_MISTA, IDS_CASO_C_2_CASSA}},
};

const wchar_t kLetters[] = {L'q', L'r', L's'};

} // namespace

int CspCase(double d, double d2, double x)
{
    if (d <= 0)
        return d >= d2 ? 0 : 2;
    if (d < d2)
        return 4;
    return x > 0 ? 3 : 1;
}

int ReadCspCase(CADOConnection& data)
{
    CSetSaldi saldoProg(L"SaldoProg", data);
    saldoProg.OpenRows(CSetSaldi::readOnly);
    const double d = saldoProg.ReadDouble(1100, L"media123");
    const double d2 = saldoProg.ReadDouble(2100, L"media123");
    const double x = saldoProg.ReadDouble(1107, L"media123");
    return CspCase(d, d2, x);
}

bool IsHiddenInCspCase(int nCase, const CString& strName)
{
    if (nCase < 0 || nCase >= static_cast<int>(_countof(kHidden)))
        return false;
    for (size_t i = 0; i < kHidden[nCase].nCount; ++i) {
        if (strName.CompareNoCase(kHidden[nCase].names[i]) == 0)
            return true;
    }
    return false;
}

double CCspReportFiller::ReadNumber(const CCellInfo& cell)
{
    return GetRecordset()->GetFieldCurrency(cell.m_strF);
}

CString CCspReportFiller::ValueOf(const CCellInfo& cell)
{
    bool bFound = false;
    CString value = LookUp(cell, bFound);
    // The report says its amounts are rounded to the euro.
    if (cell.m_nType == formTypeAmount && !value.IsEmpty())
        value = FormatNumber(bFound ? ReadNumber(cell) : 0.0, 0);
    const CString& name = cell.m_strName;
    if (name.IsEmpty())
        return value;
    if (IsHiddenInCspCase(m_nCase, name))
        value.Empty();

    for (int k = 1; k <= 3; ++k) {
        const bool bME = name.CompareNoCase(FormatString(L"ME%d", k)) == 0;
        if ((m_nCase == 1 || m_nCase == 4) && bME)
            value.Empty();
        else if (m_nCase == 3 && bME)
            value = L"secondo L.F. 2007";
    }
    if (m_nCase == 0 || m_nCase == 2) {
        if (bFound && name.CompareNoCase(L"8P") == 0)
            m_p = ReadNumber(cell);
        for (int k = 1; k <= 3; ++k) {
            if (bFound && name.CompareNoCase(FormatString(L"M%d", k)) == 0)
                m_m[k - 1] = ReadNumber(cell);
            else if (name.CompareNoCase(FormatString(L"ME%d", k)) == 0)
                value = FormatString(L"%c%s supera l'8%% di t", kLetters[k - 1], m_m[k - 1] > m_p ? L"" : L" non");
        }
    }
    if (name.Left(7).CompareNoCase(L"CASO_C_") == 0) {
        for (const auto& text : kCaseTexts) {
            if (name.CompareNoCase(text.pszName) == 0)
                value = LoadResString(text.ids[m_nCase]);
        }
    }
    return value;
}

bool CRespReportFiller::FindRow(CSetDati& set, const CString& strKey)
{
    const CString table = set.GetTableName();
    if (table.CompareNoCase(L"SaldoFinCalc") == 0) {
        _variant_t keys[2] = {_variant_t(static_cast<LPCTSTR>(strKey)), _variant_t(m_nIdResp)};
        return set.FindByKey(2, keys, TRUE);
    }
    if (table.CompareNoCase(L"Responsabili") == 0)
        return set.FindByTextKey(FormatString(L"%d", static_cast<int>(m_nIdResp)), TRUE);
    return CReportFiller::FindRow(set, strKey);
}

namespace {

class CConfServFiller : public CReportFiller
{
public:
    explicit CConfServFiller(CADOConnection& data) : CReportFiller(data, documentValues) {}

    CString FieldValue(const CString& strReference)
    {
        CCellInfo cell;
        cell.Parse(strReference);
        SwitchTable(cell.m_strT);
        CString value;
        if (GetRecordset() && GetRecordset()->GetTableName() == L"Responsabili")
            value = CentreList();
        else
            value = ValueOf(cell);
        return value.IsEmpty() ? cell.m_strD : value;
    }

private:
    CString CentreList()
    {
        CString list;
        CSetResponsabili centres(GetData());
        centres.OpenByResponsabile();
        for (; !centres.IsEOF(); centres.MoveNext()) {
            if (centres.m_rec.m_ID.GetValue() > 0)
                list += FormatString(L"%s\t%s\n", static_cast<LPCTSTR>(centres.m_rec.m_responsabile.GetText()),
                                     static_cast<LPCTSTR>(centres.m_rec.m_centroServ.GetText()));
        }
        if (!list.IsEmpty())
            list.Delete(list.GetLength() - 1);   // the last line break
        return list;
    }
};

} // namespace

void FillConfServFields(CTextDocument& doc, CADOConnection& data)
{
    MakeReferenceFields(doc, true);
    CConfServFiller filler(data);
    std::vector<std::pair<long, CString>> texts;
    for (const CTextField& field : doc.GetFields())
        texts.emplace_back(field.nId, filler.FieldValue(field.strData));
    doc.SetFieldTexts(texts);
}
