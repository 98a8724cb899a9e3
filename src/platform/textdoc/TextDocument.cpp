#include "TextDocument.h"

#include "PdfWriter.h"
#include "RtfReader.h"
#include "TextDocWriters.h"
#include "platform/mfc/afxexcept.h"
#include "platform/mfc/afxfile.h"

#include <algorithm>

namespace {

// Line ends as the rich-edit control keeps them: "\r\n" and "\n" become the paragraph end "\r".
CString ParagraphBreaks(LPCTSTR pszText)
{
    CString text(pszText);
    text.Replace(L"\r\n", L"\r");
    text.Replace(L"\n", L"\r");
    return text;
}

} // namespace

bool CTextCharFormat::operator==(const CTextCharFormat& other) const
{
    return strFace == other.strFace && nCharSet == other.nCharSet && nHalfPoints == other.nHalfPoints &&
           bBold == other.bBold && bItalic == other.bItalic && bUnderline == other.bUnderline;
}

CTextDocument::CTextDocument()
{
    m_formats.push_back(CTextCharFormat());
}

void CTextDocument::New()
{
    *this = CTextDocument();
}

void CTextDocument::Load(LPCTSTR pszPath)
{
    CFile file(pszPath, CFile::modeRead | CFile::shareDenyWrite);
    std::string bytes;
    char buffer[16384];
    for (UINT n; (n = file.Read(buffer, sizeof(buffer))) > 0;)
        bytes.append(buffer, n);
    file.Close();
    CTextDocument loaded;
    if (!CRtfReader(loaded).Read(bytes))
        AfxThrowArchiveException(CArchiveException::badIndex, pszPath);
    *this = loaded;
}

void CTextDocument::LoadRtf(const std::string& rtf)
{
    CTextDocument loaded;
    if (!CRtfReader(loaded).Read(rtf))
        AfxThrowArchiveException(CArchiveException::badIndex);
    *this = loaded;
}

std::string CTextDocument::SaveToBytes(int nFormat) const
{
    switch (nFormat) {
    case txdFormatText:
        return WritePlainText(*this);
    case txdFormatHtml:
        return CHtmlWriter(*this).Write();
    case txdFormatPdf:
        return WritePdf(*this);
    case txdFormatRtf:
    case txdFormatDoc:
        return CRtfWriter(*this, false).Write();
    default:
        return CRtfWriter(*this, true).Write();
    }
}

void CTextDocument::Save(LPCTSTR pszPath, int nFormat) const
{
    const std::string bytes = SaveToBytes(nFormat);
    CFile file(pszPath, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive);
    try {
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        file.Close();
    }
    catch (CException*) {
        file.Abort();
        ::DeleteFileW(pszPath);
        throw;
    }
}

const CTextCharFormat& CTextDocument::GetCharFormat(long nPos) const
{
    return m_formats[nPos >= 0 && nPos < GetLength() ? m_charFormats[nPos] : m_nInsertFormat];
}

long CTextDocument::Find(LPCTSTR pszText, long nStart) const
{
    if (nStart < 0)
        nStart = 0;
    if (nStart > GetLength() || !pszText || !*pszText)
        return -1;
    return m_text.Find(pszText, nStart);
}

void CTextDocument::SetSel(long nStart, long nLength)
{
    nStart = std::clamp(nStart, 0L, GetLength());
    m_nSelStart = nStart;
    m_nSelLength = std::clamp(nLength, 0L, GetLength() - nStart);
}

CString CTextDocument::GetSelText() const
{
    return m_text.Mid(m_nSelStart, m_nSelLength);
}

void CTextDocument::ReplaceSel(LPCTSTR pszText)
{
    const CString text = InsertedText(m_nSelStart, pszText);
    const long nStart = m_nSelStart;
    Replace(nStart, m_nSelLength, text);
    SetSel(nStart + text.GetLength(), 0);
}

void CTextDocument::AppendText(LPCTSTR pszText, const CTextCharFormat& format)
{
    const int nFormat = FormatIndex(format);
    const long nOld = GetLength();
    m_text += ParagraphBreaks(pszText);
    m_charFormats.resize(static_cast<size_t>(GetLength()), nFormat);
    m_nInsertFormat = nFormat;
    m_rows.resize(m_rows.size() + static_cast<size_t>(CountRowEnds(nOld, GetLength())));
}

void CTextDocument::AppendTableRow(const std::vector<CString>& cells, const CTextTableRow& row,
                                   const CTextCharFormat& format)
{
    CString text;
    for (const CString& cell : cells) {
        CString inCell = ParagraphBreaks(cell);
        inCell.Replace(L'\r', L'\v');
        inCell.Remove(kTxCellEnd);
        text += inCell + kTxCellEnd;
    }
    // A row ending right after a row of the text before joins nothing: each row is its own paragraph.
    if (GetLength() > 0 && m_text[GetLength() - 1] != L'\r' && m_text[GetLength() - 1] != L'\x0C')
        AppendText(L"\r", format);
    AppendText(text + L"\r", format);
    m_rows.back() = row;
}

void CTextDocument::AppendRange(const CTextDocument& from, long nFrom, long nTo)
{
    // A document joined from pieces is footed as its first piece is.
    if (m_strFooter.IsEmpty())
        m_strFooter = from.m_strFooter;
    nFrom = std::clamp(nFrom, 0L, from.GetLength());
    nTo = std::clamp(nTo, nFrom, from.GetLength());
    const long nOld = GetLength();
    std::vector<int> formats(from.m_formats.size(), -1);
    m_text += from.m_text.Mid(nFrom, nTo - nFrom);
    for (long i = nFrom; i < nTo; ++i) {
        int& nFormat = formats[static_cast<size_t>(from.m_charFormats[i])];
        if (nFormat < 0)
            nFormat = FormatIndex(from.m_formats[static_cast<size_t>(from.m_charFormats[i])]);
        m_charFormats.push_back(nFormat);
    }
    size_t nFromRow = static_cast<size_t>(from.CountRowEnds(0, nFrom));
    for (long i = nOld; i < GetLength(); ++i) {
        if (!IsRowEnd(i))
            continue;
        const bool bOwn = from.IsRowEnd(i - nOld + nFrom);
        m_rows.push_back(bOwn ? from.GetTableRow(nFromRow) : CTextTableRow());
        nFromRow += bOwn ? 1 : 0;
    }
    for (const CTextField& field : from.m_fields) {
        if (field.nStart < nFrom || field.nStart + field.nLength > nTo)
            continue;
        SetSel(field.nStart - nFrom + nOld, field.nLength);
        if (const long nId = MakeField())
            SetFieldData(nId, field.strData);
    }
    SetSel(GetLength(), 0);
}

bool CTextDocument::IsRowEnd(long nPos) const
{
    return nPos > 0 && nPos < GetLength() && m_text[nPos] == L'\r' && m_text[nPos - 1] == kTxCellEnd;
}

long CTextDocument::CountRowEnds(long nFrom, long nTo) const
{
    long n = 0;
    for (long i = std::max(nFrom, 1L); i < nTo && i < GetLength(); ++i)
        n += IsRowEnd(i) ? 1 : 0;
    return n;
}

bool CTextDocument::IsInTableRow(long nPos) const
{
    for (long i = std::max(nPos, 0L); i < GetLength(); ++i) {
        if (m_text[i] == L'\r' || m_text[i] == L'\x0C')
            return IsRowEnd(i);
    }
    return false;
}

std::vector<CTextRowExtent> CTextDocument::GetRowExtents() const
{
    std::vector<CTextRowExtent> rows;
    long nStart = 0;
    for (long i = 0; i < GetLength(); ++i) {
        if (m_text[i] != L'\r' && m_text[i] != L'\x0C')
            continue;
        if (IsRowEnd(i)) {
            CTextRowExtent row{nStart, i, rows.size(), {}};
            for (long c = nStart, e = nStart; e < i; ++e) {
                if (m_text[e] == kTxCellEnd) {
                    row.cells.emplace_back(c, e);
                    c = e + 1;
                }
            }
            rows.push_back(std::move(row));
        }
        nStart = i + 1;
    }
    return rows;
}

const CTextTableRow& CTextDocument::GetTableRow(size_t nRow) const
{
    static const CTextTableRow s_default;
    return nRow < m_rows.size() ? m_rows[nRow] : s_default;
}

void CTextDocument::SetTableRow(size_t nRow, const CTextTableRow& row)
{
    if (nRow < m_rows.size())
        m_rows[nRow] = row;
}

CString CTextDocument::InsertedText(long nAt, LPCTSTR pszText) const
{
    CString text = ParagraphBreaks(pszText);
    if (IsInTableRow(nAt)) {
        text.Replace(L'\r', L'\v');
        text.Remove(L'\x0C');
        text.Remove(kTxCellEnd);
    }
    return text;
}

void CTextDocument::SetSelCharFormat(const CTextCharFormat& format)
{
    const int nFormat = FormatIndex(format);
    for (long i = m_nSelStart; i < m_nSelStart + m_nSelLength; ++i)
        m_charFormats[i] = nFormat;
    if (m_nSelLength == 0)
        m_nInsertFormat = nFormat;
}

int CTextDocument::FormatIndex(const CTextCharFormat& format)
{
    auto it = std::find(m_formats.begin(), m_formats.end(), format);
    if (it != m_formats.end())
        return static_cast<int>(it - m_formats.begin());
    m_formats.push_back(format);
    return static_cast<int>(m_formats.size() - 1);
}

// Positions before the replaced range stay, positions after it move by the change of length, and a field
// boundary inside the replaced range goes to the range's edge, so that a field keeps covering what is left of it.
void CTextDocument::Replace(long nStart, long nLength, LPCTSTR pszText)
{
    const long nNew = static_cast<long>(wcslen(pszText));
    int nFormat = m_nInsertFormat;
    if (nLength > 0)
        nFormat = m_charFormats[nStart];
    else if (nStart > 0)
        nFormat = m_charFormats[nStart - 1];
    else if (GetLength() > 0)
        nFormat = m_charFormats[0];

    const long nEnd = nStart + nLength;
    const long nRowsBefore = CountRowEnds(0, nStart);
    const long nRowsRemoved = CountRowEnds(nStart, nEnd);
    const long nRowsAfter = CountRowEnds(nEnd, GetLength());

    m_text = m_text.Left(nStart) + pszText + m_text.Mid(nStart + nLength);
    m_charFormats.erase(m_charFormats.begin() + nStart, m_charFormats.begin() + nStart + nLength);
    m_charFormats.insert(m_charFormats.begin() + nStart, static_cast<size_t>(nNew), nFormat);
    AdjustRows(nRowsBefore, nRowsRemoved, nRowsAfter, CountRowEnds(nStart, nStart + nNew),
               CountRowEnds(nStart + nNew, GetLength()));

    const long nDelta = nNew - nLength;
    for (CTextField& field : m_fields) {
        long s = field.nStart, e = field.nStart + field.nLength;
        if (e <= nStart)
            continue;
        if (s >= nEnd) {
            field.nStart += nDelta;
            continue;
        }
        if (s <= nStart && e >= nEnd) {
            field.nLength += nDelta;   // the change lies inside the field
            continue;
        }
        // The change covers one edge of the field: the field keeps its part outside the change.
        s = s < nStart ? s : nStart + nNew;
        e = e > nEnd ? e + nDelta : nStart;
        field.nStart = std::min(s, e);
        field.nLength = std::max(0L, e - s);
    }
}

// The rows before and after a replaced range keep their layouts; a row end the new text makes takes the layout
// of the row it replaces or joins, so that a cell edited in place keeps its table.
void CTextDocument::AdjustRows(long nBefore, long nRemoved, long nAfterOld, long nInserted, long nAfterNew)
{
    m_rows.resize(static_cast<size_t>(nBefore + nRemoved + nAfterOld));
    const CTextTableRow like = nRemoved > 0 ? m_rows[static_cast<size_t>(nBefore)]
                               : nBefore > 0 ? m_rows[static_cast<size_t>(nBefore - 1)]
                               : nAfterOld > 0 ? m_rows[static_cast<size_t>(nBefore)]
                                               : CTextTableRow();
    std::vector<CTextTableRow> rows(m_rows.begin(), m_rows.begin() + nBefore);
    rows.insert(rows.end(), static_cast<size_t>(nInserted + std::max(0L, nAfterNew - nAfterOld)), like);
    rows.insert(rows.end(), m_rows.end() - std::min(nAfterOld, nAfterNew), m_rows.end());
    m_rows.swap(rows);
}

long CTextDocument::MakeField()
{
    if (m_nSelLength == 0)
        return 0;
    const long s = m_nSelStart, e = m_nSelStart + m_nSelLength;
    auto pos = m_fields.begin();
    for (; pos != m_fields.end(); ++pos) {
        if (pos->nStart + pos->nLength > s && pos->nStart < e)
            return 0;
        if (pos->nStart >= e)
            break;
    }
    CTextField field;
    field.nId = m_nNextFieldId++;
    field.nStart = s;
    field.nLength = m_nSelLength;
    m_fields.insert(pos, field);
    return field.nId;
}

std::vector<long> CTextDocument::GetFieldIds() const
{
    std::vector<long> ids;
    for (const CTextField& field : m_fields)
        ids.push_back(field.nId);
    return ids;
}

long CTextDocument::NextField(long nId) const
{
    if (nId == 0)
        return m_fields.empty() ? 0 : m_fields.front().nId;
    for (size_t i = 0; i + 1 < m_fields.size(); ++i) {
        if (m_fields[i].nId == nId)
            return m_fields[i + 1].nId;
    }
    return 0;
}

const CTextField* CTextDocument::FindField(long nId) const
{
    for (const CTextField& field : m_fields) {
        if (field.nId == nId)
            return &field;
    }
    return nullptr;
}

CTextField* CTextDocument::FieldById(long nId)
{
    return const_cast<CTextField*>(FindField(nId));
}

CString CTextDocument::GetFieldText(long nId) const
{
    const CTextField* field = FindField(nId);
    return field ? m_text.Mid(field->nStart, field->nLength) : CString();
}

void CTextDocument::SetFieldText(long nId, LPCTSTR pszText)
{
    CTextField* field = FieldById(nId);
    if (!field)
        return;
    const CString text = InsertedText(field->nStart, pszText);
    const long nStart = field->nStart;
    Replace(nStart, field->nLength, text);
    field = FieldById(nId);
    field->nStart = nStart;
    field->nLength = text.GetLength();
    SetSel(m_nSelStart, m_nSelLength);
}

CString CTextDocument::GetFieldData(long nId) const
{
    const CTextField* field = FindField(nId);
    return field ? field->strData : CString();
}

void CTextDocument::SetFieldData(long nId, LPCTSTR pszData)
{
    if (CTextField* field = FieldById(nId))
        field->strData = pszData;
}
