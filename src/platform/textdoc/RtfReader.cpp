#include "RtfReader.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>

namespace {

// Destinations whose content is no text of the document.
const char* const kSkipped[] = {
    "colortbl", "stylesheet", "info", "pict", "object", "header", "headerl", "headerr", "headerf",
    "footerl", "footerr", "footerf", "listtable", "listoverridetable", "rsidtbl", "generator", "xmlnstbl",
    "themedata", "colorschememapping", "datastore", "latentstyles", "fldinst", "footnote", "annotation",
    "bkmkstart", "bkmkend", "filetbl", "revtbl", "pgdsctbl", "userprops", "docvar",
};

const struct
{
    const char* word;
    wchar_t ch;
} kCharacters[] = {
    {"par", L'\r'}, {"sect", L'\r'}, {"line", L'\v'}, {"tab", L'\t'}, {"page", L'\x0C'}, {"emdash", 0x2014},
    {"endash", 0x2013}, {"lquote", 0x2018}, {"rquote", 0x2019}, {"ldblquote", 0x201C}, {"rdblquote", 0x201D},
    {"bullet", 0x2022}, {"emspace", L' '}, {"enspace", L' '},
};

} // namespace

bool CRtfReader::Read(const std::string& rtf)
{
    size_t i = 0;
    while (i < rtf.size() && std::isspace(static_cast<unsigned char>(rtf[i])))
        ++i;
    if (rtf.compare(i, 5, "{\\rtf") != 0)
        return false;

    for (; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '{') {
            m_stack.push_back(m_state);
            m_bStarred = false;
        }
        else if (c == '}') {
            if (m_stack.empty())
                return false;
            const Destination closed = m_state.dest;
            m_state = m_stack.back();
            m_stack.pop_back();
            if (closed != m_state.dest)
                EndGroup(closed);
            if (m_stack.empty())
                break;   // the end of the document: what follows is not read
        }
        else if (c == '\\') {
            if (++i >= rtf.size())
                return false;
            const char n = rtf[i];
            if (std::isalpha(static_cast<unsigned char>(n))) {
                size_t start = i;
                while (i < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[i])))
                    ++i;
                std::string word = rtf.substr(start, i - start);
                bool bHasParam = false;
                int nParam = 0;
                if (i < rtf.size() && (rtf[i] == '-' || std::isdigit(static_cast<unsigned char>(rtf[i])))) {
                    size_t p = i;
                    if (rtf[i] == '-')
                        ++i;
                    while (i < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[i])))
                        ++i;
                    nParam = std::atoi(rtf.substr(p, i - p).c_str());
                    bHasParam = true;
                }
                if (i >= rtf.size() || rtf[i] != ' ')
                    --i;   // the delimiter belongs to the text
                ControlWord(word, bHasParam, nParam);
            }
            else if (n == '\'') {
                if (i + 2 >= rtf.size())
                    return false;
                const unsigned char byte = static_cast<unsigned char>(std::strtoul(rtf.substr(i + 1, 2).c_str(), nullptr, 16));
                i += 2;
                Byte(byte);
            }
            else if (n == '*') {
                m_bStarred = true;
            }
            else if (n == '~') {
                Character(0xA0);
            }
            else if (n == '_') {
                Character(0x2011);
            }
            else if (n == '\\' || n == '{' || n == '}') {
                Byte(static_cast<unsigned char>(n));
            }
            else if (n == '\r' || n == '\n') {
                Character(L'\r');
            }
            // Other control symbols (\- optional hyphen, \| formula) carry no text.
        }
        else if (c == '\r' || c == '\n') {
            // Line ends of the file are not text.
        }
        else if (c == ';' && m_state.dest == destFontTable) {
            EndFontName();   // only as written: an escaped one belongs to the name
        }
        else {
            Byte(static_cast<unsigned char>(c));
        }
    }
    if (!m_stack.empty())
        return false;
    EndOpenCells();

    // Fields that do not lie inside the text, or overlap, are dropped rather than trusted. Empty fields at one
    // position keep the file's order, before the field that starts there with text.
    std::vector<CTextField>& fields = m_doc.m_fields;
    std::stable_sort(fields.begin(), fields.end(), [](const CTextField& a, const CTextField& b) {
        return a.nStart != b.nStart ? a.nStart < b.nStart : a.nLength < b.nLength;
    });
    long nEnd = 0;
    std::vector<CTextField> kept;
    for (CTextField& field : fields) {
        // Compared without adding: a length near the largest number would wrap the sum.
        if (field.nStart < nEnd || field.nLength < 0 || field.nStart > m_doc.GetLength() ||
            field.nLength > m_doc.GetLength() - field.nStart)
            continue;
        field.nId = static_cast<long>(kept.size()) + 1;
        nEnd = field.nStart + field.nLength;
        kept.push_back(field);
    }
    fields = kept;
    m_doc.m_nNextFieldId = static_cast<long>(fields.size()) + 1;
    return true;
}

void CRtfReader::ControlWord(const std::string& word, bool bHasParam, int nParam)
{
    const bool bStarred = m_bStarred;
    m_bStarred = false;
    if (m_state.dest == destSkip)
        return;
    if (word == "qzfields") {
        m_state.dest = destFieldTable;
        return;
    }
    if (m_state.dest == destFieldTable || m_state.dest == destField) {
        if (word == "qzfield") {
            m_state.dest = destField;
            m_field = CTextField();
        }
        else if (word == "qzpos")
            m_field.nStart = nParam;
        else if (word == "qzlen")
            m_field.nLength = nParam;
        else if (word == "qzdata")
            m_state.dest = destFieldData;
        return;
    }
    static const std::set<std::string> s_skipped(std::begin(kSkipped), std::end(kSkipped));
    if (bStarred || s_skipped.count(word)) {
        m_state.dest = destSkip;
        return;
    }
    if (word == "footer") {
        m_state.dest = destFooter;
        return;
    }
    if (m_state.dest == destFooter && (word == "chpgn" || word == "chdate")) {
        m_doc.m_strFooter += word == "chpgn" ? kTxPageNumber : kTxPrintDate;
        return;
    }
    if (word == "u") {
        Character(static_cast<wchar_t>(nParam < 0 ? nParam + 65536 : nParam));
        m_nSkipChars = m_state.nUc;
        return;
    }
    if (word == "uc") {
        m_state.nUc = nParam;
        return;
    }
    if (word == "fonttbl") {
        m_state.dest = destFontTable;
        return;
    }
    if (m_state.dest == destFontTable) {
        if (word == "f") {
            m_fontIndex.emplace(nParam, m_fonts.size());
            m_fonts.push_back({nParam, DEFAULT_CHARSET, CString()});
            m_strFontName.Empty();
        }
        else if (word == "fcharset" && !m_fonts.empty())
            m_fonts.back().nCharSet = static_cast<BYTE>(nParam);
        return;
    }

    if (TableWord(word, nParam))
        return;
    static const std::map<std::string, wchar_t> s_characters = [] {
        std::map<std::string, wchar_t> characters;
        for (const auto& c : kCharacters)
            characters.emplace(c.word, c.ch);
        return characters;
    }();
    const auto character = s_characters.find(word);
    if (character != s_characters.end()) {
        Character(character->second);
        return;
    }
    if (word == "plain") {
        m_state.nFont = m_fonts.empty() ? 0 : m_fonts.front().nNumber;
        m_state.nHalfPoints = 24;
        m_state.bBold = m_state.bItalic = m_state.bUnderline = false;
    }
    else if (word == "f")
        m_state.nFont = nParam;
    else if (word == "fs")
        m_state.nHalfPoints = nParam;
    else if (word == "b")
        m_state.bBold = !bHasParam || nParam != 0;
    else if (word == "i")
        m_state.bItalic = !bHasParam || nParam != 0;
    else if (word == "ul")
        m_state.bUnderline = !bHasParam || nParam != 0;
    else if (word == "ulnone")
        m_state.bUnderline = false;
    else if (word == "paperw")
        m_doc.m_page.nWidth = nParam;
    else if (word == "paperh")
        m_doc.m_page.nHeight = nParam;
    else if (word == "margl")
        m_doc.m_page.nMarginLeft = nParam;
    else if (word == "margr")
        m_doc.m_page.nMarginRight = nParam;
    else if (word == "margt")
        m_doc.m_page.nMarginTop = nParam;
    else if (word == "margb")
        m_doc.m_page.nMarginBottom = nParam;
}

// A row is defined before its cells (\trowd, then a \cellx per cell with the cell's borders and shading before
// it); each cell's paragraph gives the cell's alignment when \cell ends it.
bool CRtfReader::TableWord(const std::string& word, int nParam)
{
    if (word == "trowd") {
        m_row = CTextTableRow();
        m_row.bRuled = false;
        m_row.cells.clear();
        m_bCellRuled = m_bCellShaded = false;
    }
    else if (word == "trhdr")
        m_row.bHeading = true;
    else if (word == "clbrdrt" || word == "clbrdrb" || word == "clbrdrl" || word == "clbrdrr")
        m_bCellRuled = true;
    else if (word == "clshdng" || word == "clcbpat")
        m_bCellShaded = m_bCellShaded || nParam > 0;
    else if (word == "cellx") {
        CTextTableCell cell;
        cell.nRight = nParam;
        m_row.cells.push_back(cell);
        m_row.bRuled = m_row.bRuled || m_bCellRuled;
        m_row.bShaded = m_row.bShaded || m_bCellShaded;
        m_bCellRuled = m_bCellShaded = false;
    }
    else if (word == "ql" || word == "qj")
        m_state.nAlign = txAlignLeft;
    else if (word == "qc")
        m_state.nAlign = txAlignCenter;
    else if (word == "qr")
        m_state.nAlign = txAlignRight;
    else if (word == "pard") {
        m_state.nAlign = txAlignLeft;
        m_state.bInTable = false;
    }
    else if (word == "intbl")
        m_state.bInTable = true;
    else if (word == "par" && m_state.bInTable)
        Character(L'\v');   // a cell of more paragraphs: its lines stay in the cell
    else if (word == "cell" || word == "nestcell") {
        if (m_state.dest != destText)
            return true;
        const size_t nCell = m_openCells.size();
        if (m_row.cells.size() <= nCell)
            m_row.SetCellCount(nCell + 1);
        m_row.cells[nCell].nAlign = m_state.nAlign;
        const long nEnd = m_doc.GetLength();
        m_bCellEnd = true;
        Character(kTxCellEnd);
        m_bCellEnd = false;
        if (m_doc.GetLength() > nEnd)
            m_openCells.push_back(nEnd);
    }
    else if (word == "row" || word == "nestrow") {
        if (m_state.dest != destText || m_openCells.empty())
            return true;
        CTextTableRow row = m_row;
        row.SetCellCount(m_openCells.size());
        const long nLength = m_doc.GetLength();
        std::vector<long> cells;
        cells.swap(m_openCells);   // this paragraph end is the row's, when it follows a cell's end
        Character(L'\r');
        m_openCells.swap(cells);
        if (m_doc.IsRowEnd(m_doc.GetLength() - 1)) {
            m_doc.m_rows.back() = row;
            m_openCells.clear();
        }
        else if (m_doc.GetLength() > nLength) {
            EndOpenCells();   // text after the last cell: the paragraph ended without a row
        }
    }
    else
        return false;
    return true;
}

// Cells that a paragraph end or the document's end finds without their \row are in no row: each cell's end is a
// paragraph end, as word processors take it, so that their text stays and reads back the same once written.
void CRtfReader::EndOpenCells()
{
    for (long nEnd : m_openCells)
        m_doc.m_text.SetAt(nEnd, L'\r');
    m_openCells.clear();
}

void CRtfReader::EndGroup(Destination closed)
{
    if (closed == destField)
        m_doc.m_fields.push_back(m_field);
}

CRtfReader::CFont* CRtfReader::FontByNumber(int nNumber)
{
    const auto it = m_fontIndex.find(nNumber);
    return it == m_fontIndex.end() ? nullptr : &m_fonts[it->second];
}

CTextCharFormat CRtfReader::CurrentFormat()
{
    CTextCharFormat format;
    if (const CFont* font = FontByNumber(m_state.nFont)) {
        if (!font->strName.IsEmpty())
            format.strFace = font->strName;
        format.nCharSet = font->nCharSet;
    }
    format.nHalfPoints = m_state.nHalfPoints;
    format.bBold = m_state.bBold;
    format.bItalic = m_state.bItalic;
    format.bUnderline = m_state.bUnderline;
    return format;
}

void CRtfReader::Byte(unsigned char byte)
{
    const CFont* font = FontByNumber(m_state.nFont);
    if (m_state.dest == destText && font && font->nCharSet == SYMBOL_CHARSET) {
        Character(byte);   // a glyph number of the symbol font
        return;
    }
    char ansi = static_cast<char>(byte);
    wchar_t wide = byte;
    ::MultiByteToWideChar(1252, 0, &ansi, 1, &wide, 1);
    Character(wide);
}

void CRtfReader::EndFontName()
{
    if (!m_fonts.empty() && m_fonts.back().strName.IsEmpty())
        m_fonts.back().strName = m_strFontName.Trim();
    m_strFontName.Empty();
}

void CRtfReader::Character(wchar_t ch)
{
    if (m_nSkipChars > 0) {
        --m_nSkipChars;
        return;
    }
    if (m_state.dest == destText) {
        if (ch == kTxCellEnd && !m_bCellEnd)
            return;   // a control character of the text, which would be taken for a cell's end
        if (ch == L'\r' || ch == L'\x0C')
            EndOpenCells();
        const wchar_t text[2] = {ch, 0};
        m_doc.AppendText(text, CurrentFormat());
    }
    else if (m_state.dest == destFieldData) {
        m_field.strData += ch;
    }
    else if (m_state.dest == destFooter && ch >= L' ') {
        m_doc.m_strFooter += ch;
    }
    else if (m_state.dest == destFontTable) {
        m_strFontName += ch;
    }
}
