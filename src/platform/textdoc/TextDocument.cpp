#include "TextDocument.h"

#include "PdfWriter.h"
#include "RtfReader.h"
#include "TextDocWriters.h"
#include "platform/mfc/afxexcept.h"
#include "platform/mfc/afxfile.h"

#include <algorithm>
#include <tuple>

bool CTextCharFormat::operator==(const CTextCharFormat& other) const
{
    return strFace == other.strFace && nCharSet == other.nCharSet && nHalfPoints == other.nHalfPoints &&
           bBold == other.bBold && bItalic == other.bItalic && bUnderline == other.bUnderline;
}

bool CTextCharFormat::operator<(const CTextCharFormat& other) const
{
    if (const int nFace = strFace.Compare(other.strFace))
        return nFace < 0;
    return std::tie(nCharSet, nHalfPoints, bBold, bItalic, bUnderline) <
           std::tie(other.nCharSet, other.nHalfPoints, other.bBold, other.bItalic, other.bUnderline);
}

CTextDocument::CTextDocument()
{
    FormatIndex(CTextCharFormat());
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

CString CTextDocument::ParagraphText(LPCTSTR pszText)
{
    CString text(pszText);
    text.Replace(L"\r\n", L"\r");
    text.Replace(L"\n", L"\r");
    return text;
}

void CTextDocument::ReplaceSel(LPCTSTR pszText)
{
    std::vector<CTextChange> changes = {{m_nSelStart, m_nSelLength, pszText}};
    ReplaceRanges(changes);
    SetSel(changes[0].nStart + changes[0].strText.GetLength(), 0);
}

void CTextDocument::AppendText(LPCTSTR pszText, const CTextCharFormat& format)
{
    const int nFormat = FormatIndex(format);
    const long nOld = GetLength();
    m_text += ParagraphText(pszText);
    m_charFormats.resize(static_cast<size_t>(GetLength()), nFormat);
    m_nInsertFormat = nFormat;
    m_rows.resize(m_rows.size() + static_cast<size_t>(CountRowEnds(nOld, GetLength())));
}

void CTextDocument::AppendTableRow(const std::vector<CString>& cells, const CTextTableRow& row,
                                   const CTextCharFormat& format)
{
    CString text;
    for (const CString& cell : cells) {
        CString inCell = ParagraphText(cell);
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
        MakeField(field.strData);
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
    const auto it = m_formatIndex.find(format);
    if (it != m_formatIndex.end())
        return it->second;
    m_formatIndex.emplace(format, static_cast<int>(m_formats.size()));
    m_formats.push_back(format);
    return static_cast<int>(m_formats.size() - 1);
}

// Each change is judged on the text as the changes before it leave it. Those end at or before its start, so the
// first paragraph end at or after the start is where it was; only whether that is a row's end can differ: when it
// is the change's own start and an earlier change ends there, the character before it is what that change left.
void CTextDocument::PrepareChanges(std::vector<CTextChange>& changes) const
{
    long nBreak = -1;    // the first paragraph end at or after the change
    long nDone = -1;     // where the change before ended in the old text
    wchar_t cLast = 0;   // the last character before the change's start once the changes before it are made
    for (CTextChange& change : changes) {
        if (change.strText.Find(L'\n') >= 0)
            change.strText = ParagraphText(change.strText);
        if (change.nStart != nDone)
            cLast = change.nStart > 0 ? m_text[change.nStart - 1] : 0;
        if (nBreak < change.nStart) {
            nBreak = change.nStart;
            while (nBreak < GetLength() && m_text[nBreak] != L'\r' && m_text[nBreak] != L'\x0C')
                ++nBreak;
        }
        const wchar_t cBeforeBreak = nBreak > change.nStart ? m_text[nBreak - 1] : cLast;
        if (nBreak < GetLength() && m_text[nBreak] == L'\r' && cBeforeBreak == kTxCellEnd) {
            change.strText.Replace(L'\r', L'\v');
            change.strText.Remove(L'\x0C');
            change.strText.Remove(kTxCellEnd);
        }
        if (!change.strText.IsEmpty())
            cLast = change.strText[change.strText.GetLength() - 1];
        nDone = change.nStart + change.nLength;
    }
}

// The rows outside the changes keep their layouts; a row end that a change makes, or that forms right after it,
// takes the layout of the row the change replaces or joins, so that a cell edited in place keeps its table.
void CTextDocument::EditText(std::vector<CTextChange>& changes)
{
    std::vector<long> oldRowEnds;
    for (long i = 1; i < GetLength(); ++i) {
        if (IsRowEnd(i))
            oldRowEnds.push_back(i);
    }
    auto oldRow = [this](size_t nRow) { return GetTableRow(nRow); };
    auto rowsBefore = [&oldRowEnds](long nPos) {
        return static_cast<size_t>(std::lower_bound(oldRowEnds.begin(), oldRowEnds.end(), nPos) - oldRowEnds.begin());
    };

    long nGrowth = 0;
    for (const CTextChange& change : changes)
        nGrowth += change.strText.GetLength() - change.nLength;
    CString text;
    text.Preallocate(GetLength() + nGrowth);
    std::vector<int> formats;
    formats.reserve(static_cast<size_t>(GetLength() + nGrowth));
    std::vector<CTextTableRow> likes;   // per change, the layout of a row it makes
    std::vector<long> oldEnds;          // per change, where it ended in the old text
    long nDone = 0;                     // the old text is copied up to here
    for (CTextChange& change : changes) {
        text.Append(static_cast<LPCTSTR>(m_text) + nDone, change.nStart - nDone);
        formats.insert(formats.end(), m_charFormats.begin() + nDone, m_charFormats.begin() + change.nStart);
        // The new text takes the format of the first replaced character, or of the one before an insertion.
        int nFormat = m_nInsertFormat;
        if (change.nLength > 0)
            nFormat = m_charFormats[change.nStart];
        else if (!formats.empty())
            nFormat = formats.back();
        else if (change.nStart < GetLength())
            nFormat = m_charFormats[change.nStart];
        const size_t nBefore = rowsBefore(change.nStart);
        const bool bRemoves = rowsBefore(change.nStart + change.nLength) > nBefore;
        likes.push_back(bRemoves || (nBefore == 0 && !oldRowEnds.empty()) ? oldRow(nBefore)
                        : nBefore > 0                                    ? oldRow(nBefore - 1)
                                                                         : CTextTableRow());
        nDone = change.nStart + change.nLength;
        oldEnds.push_back(nDone);
        change.nStart = text.GetLength();
        text += change.strText;
        formats.insert(formats.end(), static_cast<size_t>(change.strText.GetLength()), nFormat);
    }
    text.Append(static_cast<LPCTSTR>(m_text) + nDone, GetLength() - nDone);
    formats.insert(formats.end(), m_charFormats.begin() + nDone, m_charFormats.end());

    m_text = text;
    m_charFormats.swap(formats);
    std::vector<CTextTableRow> rows;
    size_t k = 0;   // the first change whose new text does not end before the position
    for (long j = 1; j < GetLength(); ++j) {
        if (!IsRowEnd(j))
            continue;
        while (k < changes.size() && changes[k].nStart + changes[k].strText.GetLength() <= j)
            ++k;
        if (k < changes.size() && changes[k].nStart <= j) {
            rows.push_back(likes[k]);   // made by the change
            continue;
        }
        // Unchanged text: a row end that was one keeps its row; one formed after a change takes the change's.
        const long nOld = k > 0 ? j - (changes[k - 1].nStart + changes[k - 1].strText.GetLength()) + oldEnds[k - 1] : j;
        const auto it = std::lower_bound(oldRowEnds.begin(), oldRowEnds.end(), nOld);
        if (it != oldRowEnds.end() && *it == nOld)
            rows.push_back(oldRow(static_cast<size_t>(it - oldRowEnds.begin())));
        else
            rows.push_back(k > 0 ? likes[k - 1] : CTextTableRow());
    }
    m_rows.swap(rows);
    FitRowsToText();
}

void CTextDocument::FitRowsToText()
{
    long nStart = 0;   // of the paragraph
    size_t nRow = 0;
    for (long i = 0; i <= GetLength(); ++i) {
        if (i < GetLength() && m_text[i] != L'\r' && m_text[i] != L'\x0C')
            continue;
        const bool bRow = i < GetLength() && IsRowEnd(i);
        size_t nCells = 0;
        for (long c = nStart; c < i; ++c) {
            if (m_text[c] != kTxCellEnd)
                continue;
            ++nCells;
            if (!bRow)
                m_text.SetAt(c, L'\r');
        }
        if (bRow && nRow < m_rows.size())
            m_rows[nRow++].SetCellCount(nCells);
        nStart = i + 1;
    }
}

void CTextTableRow::SetCellCount(size_t nCells)
{
    while (cells.size() < nCells) {
        CTextTableCell cell;
        cell.nRight = (cells.empty() ? 0 : cells.back().nRight) + 1440;
        cells.push_back(cell);
    }
    cells.resize(nCells);
}

// For each change: positions before the replaced range stay, positions after it move by the change of length,
// and a field boundary inside the replaced range goes to the range's edge, so that a field keeps covering what
// is left of it.
void CTextDocument::ReplaceRanges(std::vector<CTextChange>& changes)
{
    PrepareChanges(changes);
    std::vector<long> moved(changes.size() + 1, 0);   // how far the changes before each one move the text after them
    for (size_t k = 0; k < changes.size(); ++k) {
        moved[k + 1] = moved[k] + changes[k].strText.GetLength() - changes[k].nLength;
    }
    const std::vector<CTextChange> old = changes;
    EditText(changes);

    for (CTextField& field : m_fields) {
        // Changes that end before the field only move it; the others are applied one by one while they reach it.
        size_t k = static_cast<size_t>(
            std::partition_point(old.begin(), old.end(),
                                 [&field](const CTextChange& c) { return c.nStart + c.nLength < field.nStart; }) -
            old.begin());
        long s = field.nStart + moved[k], e = s + field.nLength;
        for (; k < old.size(); ++k) {
            const long a = old[k].nStart + moved[k], b = a + old[k].nLength;
            const long nNew = old[k].strText.GetLength(), nDelta = nNew - old[k].nLength;
            if (e <= a)
                break;   // this change and every later one lie after the field
            if (s >= b) {
                s += nDelta;
                e += nDelta;
            }
            else if (s <= a && e >= b) {
                e += nDelta;   // the change lies inside the field
            }
            else {
                // The change covers one edge of the field: the field keeps its part outside the change.
                const long s2 = s < a ? s : a + nNew;
                e = e > b ? e + nDelta : a;
                s = std::min(s2, e);
            }
        }
        field.nStart = s;
        field.nLength = e - s;
    }
    SetSel(m_nSelStart, m_nSelLength);
}

size_t CTextDocument::FieldFrom(long nPos) const
{
    return static_cast<size_t>(std::partition_point(m_fields.begin(), m_fields.end(),
                                                    [nPos](const CTextField& field) { return field.nStart < nPos; }) -
                               m_fields.begin());
}

bool CTextDocument::CanMakeField(long nStart, long nLength) const
{
    if (nLength <= 0)
        return false;
    // Fields do not overlap and are in document order: only the last one starting before the end can reach in.
    const size_t nNext = FieldFrom(nStart + nLength);
    if (nNext == 0)
        return true;
    const CTextField& before = m_fields[nNext - 1];
    // Compared without adding: the sum of a damaged field could wrap.
    return !(before.nLength > nStart - before.nStart);
}

long CTextDocument::MakeField(LPCTSTR pszData)
{
    if (!CanMakeField(m_nSelStart, m_nSelLength))
        return 0;
    CTextField field;
    field.nId = m_nNextFieldId++;
    field.nStart = m_nSelStart;
    field.nLength = m_nSelLength;
    field.strData = pszData;
    m_fields.insert(m_fields.begin() + static_cast<std::ptrdiff_t>(FieldFrom(m_nSelStart + m_nSelLength)), field);
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
    SetFieldTexts({{nId, pszText}});
}

// Fields do not overlap and are in document order, so each one moves by what the fields before it in the list
// grew: an empty field beside a filled one at the same position stays before it or after it as in the list.
void CTextDocument::SetFieldTexts(const std::vector<std::pair<long, CString>>& texts)
{
    std::map<long, CString> byId(texts.begin(), texts.end());
    std::vector<CTextChange> changes;
    for (const CTextField& field : m_fields) {
        const auto it = byId.find(field.nId);
        if (it != byId.end())
            changes.push_back({field.nStart, field.nLength, it->second});
    }
    PrepareChanges(changes);
    std::vector<long> lengths;
    for (const CTextChange& change : changes)
        lengths.push_back(change.strText.GetLength());
    EditText(changes);
    long nMoved = 0;
    size_t k = 0;
    for (CTextField& field : m_fields) {
        field.nStart += nMoved;
        if (byId.count(field.nId)) {
            nMoved += lengths[k++] - field.nLength;
            field.nLength = lengths[k - 1];
        }
    }
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
