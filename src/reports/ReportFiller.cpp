#include "ReportFiller.h"

#include "data/SetSettings.h"
#include "resource.h"
#include "util/MessageText.h"
#include "util/NumberFormat.h"

#include <cmath>

namespace {

const LPCTSTR kOpen = L"$[";
const LPCTSTR kClose = L"]$";

CString Signed(const CString& text, bool bSign)
{
    return bSign ? L"+" + text : text;
}

bool IsBoxGlyph(const CString& value)
{
    return value.GetLength() == 1 && (value[0] == kBoxTicked || value[0] == kBoxEmpty);
}

// A check box is a glyph of a symbol font: the template's own font would show it as a letter.
void ShowAsSymbol(CTextDocument& doc, long nStart, long nLength)
{
    CTextCharFormat format = doc.GetCharFormat(nStart);
    format.strFace = L"Wingdings";
    format.nCharSet = SYMBOL_CHARSET;
    doc.SetSel(nStart, nLength);
    doc.SetSelCharFormat(format);
}

} // namespace

void CReportFiller::FillSpans(CTextDocument& doc)
{
    for (long p = doc.Find(kOpen, 0); p >= 0; p = doc.Find(kOpen, p)) {
        const long q = doc.Find(kClose, p + 2);
        if (q < 0)
            break;
        doc.SetSel(p + 2, q - p - 2);
        CCellInfo cell;
        cell.Parse(doc.GetSelText());
        m_bInTable = doc.IsInTableRow(p);
        const CString value = ValueOf(cell);
        doc.SetSel(p, q - p + 2);
        doc.ReplaceSel(value);
        if (IsBoxGlyph(value))
            ShowAsSymbol(doc, p, value.GetLength());
        p += value.GetLength();
    }
    m_set.reset();
}

bool CReportFiller::FindRow(CSetDati& set, const CString& strKey)
{
    return set.FindByTextKey(strKey, TRUE);
}

CString CReportFiller::ValueOf(const CCellInfo& cell)
{
    bool bFound = false;
    return LookUp(cell, bFound);
}

void CReportFiller::SwitchTable(const CString& strTable)
{
    if (strTable.IsEmpty() || (m_set && m_set->GetTableName() == strTable))
        return;
    m_set = std::make_unique<CSetDati>(strTable, m_data);
}

CString CReportFiller::LookUp(const CCellInfo& cell, bool& bFound)
{
    const CString value = LookUpField(cell, bFound);
    // In a table an empty amount cell would read as a figure not filled in: what the archive does not hold is 0.
    if (!bFound && m_bInTable && cell.m_nType == formTypeAmount)
        return FormatCurrencyFromDouble(0.0);
    return value;
}

CString CReportFiller::LookUpField(const CCellInfo& cell, bool& bFound)
{
    bFound = false;
    SwitchTable(cell.m_strT);
    if (!m_set || cell.m_strR.IsEmpty())
        return CString();
    try {
        if (!FindRow(*m_set, cell.m_strR))
            return CString();
        bFound = true;
        return FormatField(cell, *m_set);
    }
    catch (const _com_error&) {
        // A table or field that the archive does not have: the reference shows nothing.
        bFound = false;
        return CString();
    }
}

CString CReportFiller::FormatField(const CCellInfo& cell, CSetDati& set) const
{
    const bool bReport = m_nStyle == reportValues;
    const bool bPlus = bReport && cell.m_bNoNegatives;
    switch (cell.m_nType) {
    case formTypeCheckBox: {
        const bool bSet = set.GetFieldCurrency(cell.m_strF) != 0.0;
        return CString(bSet == (cell.m_bYesBox != FALSE) ? kBoxTicked : kBoxEmpty);
    }
    case formTypeWhole: {
        double value = set.GetFieldCurrency(cell.m_strF);
        if (bReport)
            value = std::trunc(value);
        return Signed(FormatNumber(value, 0), bPlus && value >= 1);
    }
    case formTypeDecimal: {
        const double value = set.GetFieldCurrency(cell.m_strF);
        return Signed(FormatNumber(value, cell.m_nDecimals), bPlus && value > 0);
    }
    case formTypeAmount: {
        const double value = set.GetFieldCurrency(cell.m_strF);
        return Signed(FormatCurrencyFromDouble(value), bPlus && value > 0);
    }
    default:
        return set.GetFieldString(cell.m_strF);
    }
}

void ReplaceEveryTag(CTextDocument& doc, LPCTSTR pszTag, LPCTSTR pszValue)
{
    const long nTag = static_cast<long>(wcslen(pszTag));
    const long nValue = static_cast<long>(wcslen(pszValue));
    for (long p = doc.Find(pszTag, 0); p >= 0; p = doc.Find(pszTag, p + nValue)) {
        doc.SetSel(p, nTag);
        doc.ReplaceSel(pszValue);
    }
}

const TCHAR kAccountingHeadingTag[] = L"$[IMPCONT]";

void FillAccountingHeading(CTextDocument& doc, CADOConnection& data)
{
    CString heading = LoadResString(CSetSettings::GetSettingImpExtraCont2(data) == 0 ? IDS_IMPCONT_STRUTTURA
                                                                                        : IDS_IMPCONT_CAPITOLI);
    heading.MakeUpper();
    ReplaceEveryTag(doc, kAccountingHeadingTag, heading);
}

std::vector<long> MakeReferenceFields(CTextDocument& doc, bool bKeepReference)
{
    std::vector<long> ids;
    for (long p = doc.Find(kOpen, 0); p >= 0; p = doc.Find(kOpen, p)) {
        const long q = doc.Find(kClose, p + 2);
        if (q < 0)
            break;
        doc.SetSel(p + 2, q - p - 2);
        const CString reference = doc.GetSelText();
        const long nId = doc.MakeField();
        if (nId == 0) {
            p += 2;   // an empty reference stays as text
            continue;
        }
        doc.SetSel(q, 2);
        doc.ReplaceSel(L"");
        doc.SetSel(p, 2);
        doc.ReplaceSel(L"");
        if (bKeepReference)
            doc.SetFieldData(nId, reference);
        ids.push_back(nId);
        p = q - 2;
    }
    doc.SetSel(0, 0);
    return ids;
}
