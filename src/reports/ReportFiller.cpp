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

// The values are found on the template's text and the text is changed once: a value is never searched again, and
// the document is not rebuilt for each reference.
void CReportFiller::FillSpans(CTextDocument& doc)
{
    const CString text = doc.GetText();
    std::vector<CTextChange> changes;
    long nBreak = -1;   // the paragraph end after the reference
    for (long p = text.Find(kOpen); p >= 0;) {
        const long q = text.Find(kClose, p + 2);
        if (q < 0)
            break;
        CCellInfo cell;
        cell.Parse(text.Mid(p + 2, q - p - 2));
        // A value in a table row is filled as a cell's.
        if (nBreak < p) {
            nBreak = p;
            while (nBreak < text.GetLength() && text[nBreak] != L'\r' && text[nBreak] != L'\x0C')
                ++nBreak;
        }
        m_bInTable = doc.IsRowEnd(nBreak);
        changes.push_back({p, q - p + 2, ValueOf(cell)});
        p = text.Find(kOpen, q + 2);
    }
    m_set.reset();
    doc.ReplaceRanges(changes);
    for (const CTextChange& change : changes) {
        if (IsBoxGlyph(change.strText))
            ShowAsSymbol(doc, change.nStart, 1);
    }
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
    bool bBound = false;
    const CString value = LookUpField(cell, bFound, bBound);
    // In a table an empty amount cell would read as a figure not filled in: what the archive does not hold is 0.
    // A reference to a table or field the archive lacks is a fault of the template, not a zero.
    if (!bFound && bBound && m_bInTable && cell.m_nType == formTypeAmount)
        return FormatCurrencyFromDouble(0.0);
    return value;
}

CString CReportFiller::LookUpField(const CCellInfo& cell, bool& bFound, bool& bBound)
{
    bFound = bBound = false;
    SwitchTable(cell.m_strT);
    if (!m_set || cell.m_strR.IsEmpty())
        return CString();
    try {
        if (!FindRow(*m_set, cell.m_strR)) {
            // A row that the archive does not hold, of a field that it has.
            bBound = m_set->HasColumn(cell.m_strF);
            return CString();
        }
        CString value = FormatField(cell, *m_set);
        bFound = bBound = true;
        return value;
    }
    catch (const _com_error&) {
        // A table or field that the archive does not have: the reference shows nothing.
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
    const CString value(pszValue);
    std::vector<CTextChange> changes;
    for (long p = doc.Find(pszTag, 0); p >= 0; p = doc.Find(pszTag, p + nTag))
        changes.push_back({p, nTag, value});
    doc.ReplaceRanges(changes);
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
    // The delimiters of every reference are removed in one pass, and the fields made after it.
    const CString text = doc.GetText();
    std::vector<CTextChange> delimiters;
    std::vector<CTextField> made;   // at their places after the removal
    for (long p = text.Find(kOpen); p >= 0;) {
        const long q = text.Find(kClose, p + 2);
        if (q < 0)
            break;
        if (!doc.CanMakeField(p + 2, q - p - 2)) {
            p = text.Find(kOpen, p + 2);   // an empty reference, or one inside a field, stays as text
            continue;
        }
        delimiters.push_back({p, 2, CString()});
        delimiters.push_back({q, 2, CString()});
        CTextField field;   // its start is known after the removal
        field.nLength = q - p - 2;
        if (bKeepReference)
            field.strData = text.Mid(p + 2, q - p - 2);
        made.push_back(field);
        p = text.Find(kOpen, q + 2);
    }
    doc.ReplaceRanges(delimiters);
    std::vector<long> ids;
    for (size_t i = 0; i < made.size(); ++i) {
        const CTextField& field = made[i];
        doc.SetSel(delimiters[2 * i].nStart, field.nLength);
        if (const long nId = doc.MakeField(field.strData))
            ids.push_back(nId);
    }
    doc.SetSel(0, 0);
    return ids;
}
