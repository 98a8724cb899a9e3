// The document of the word-processing control without its window: the text with a character format per
// character, the fields (ranges of the text that keep a data string beside their text), the selection, the page
// set-up, and reading and writing of ".txd" documents and of the export formats. The control shows and edits
// this document; filling, fields and saving are done here, so that they work (and are tested) without a window.
//
// Text conventions are the rich-edit control's: '\r' ends a paragraph, '\v' is a line break inside a paragraph,
// '\t' a tab and 0x0C a page break. Positions and lengths count characters of this text.
//
// A table row is a paragraph whose cells each end with kTxCellEnd: "A\aB\aC\a\r" is a row of three cells. The row's
// layout (cell widths, alignment, rules, shading, heading) is kept beside the text, one entry per row in document
// order, so that filling and editing the cells' text never touches it.
#pragma once

#include "platform/mfc/afxstr.h"

#include <map>
#include <string>
#include <vector>

// Save formats, by the codes the views pass.
enum TxdFormat
{
    txdFormatOwn = 0,     // ".txd": RTF with the field table
    txdFormatText = 1,    // plain text, Windows-1252
    txdFormatHtml = 4,
    txdFormatRtf = 5,
    txdFormatDoc = 9,     // the RTF content under a Word name: Word opens it
    txdFormatPdf = 12,
};

struct CTextCharFormat
{
    CString strFace = L"Arial";
    BYTE nCharSet = DEFAULT_CHARSET;   // SYMBOL_CHARSET: the characters are glyph numbers of a symbol font
    int nHalfPoints = 20;
    bool bBold = false;
    bool bItalic = false;
    bool bUnderline = false;

    bool IsSymbol() const { return nCharSet == SYMBOL_CHARSET; }
    bool operator==(const CTextCharFormat& other) const;
    bool operator!=(const CTextCharFormat& other) const { return !(*this == other); }
    // Any strict order, for looking formats up.
    bool operator<(const CTextCharFormat& other) const;
};

const wchar_t kTxCellEnd = L'\a';
// In the page footer: the page's number and the date the pages are laid out (printed).
const wchar_t kTxPageNumber = L'\x01';
const wchar_t kTxPrintDate = L'\x02';

enum TxCellAlign { txAlignLeft, txAlignCenter, txAlignRight };

struct CTextTableCell
{
    long nRight = 1440;          // twips from the left margin: the cell's right edge
    int nAlign = txAlignLeft;

    bool operator==(const CTextTableCell& other) const { return nRight == other.nRight && nAlign == other.nAlign; }
};

struct CTextTableRow
{
    std::vector<CTextTableCell> cells;
    bool bHeading = false;    // repeated at the top of every page the table goes on to
    bool bShaded = false;     // a total row
    bool bRuled = true;       // ruled lines around every cell

    // As many cells as the row's text has: those beyond the definition an inch wide each, the rest dropped.
    void SetCellCount(size_t nCells);

    bool operator==(const CTextTableRow& other) const
    {
        return cells == other.cells && bHeading == other.bHeading && bShaded == other.bShaded && bRuled == other.bRuled;
    }
};

// Where a table row lies in the text: [nStart, nEnd) holds its cells, nEnd is its paragraph end.
struct CTextRowExtent
{
    long nStart;
    long nEnd;
    size_t nRow;     // the row's layout: CTextDocument::GetTableRow
    std::vector<std::pair<long, long>> cells;   // [start, end) of each cell's text
};

// A field: a range of the text and the data string kept with it. Ids are given from 1 up and never reused.
struct CTextField
{
    long nId = 0;
    long nStart = 0;
    long nLength = 0;
    CString strData;
};

// One change of the text: the characters [nStart, nStart + nLength) become strText.
struct CTextChange
{
    long nStart = 0;
    long nLength = 0;
    CString strText;
};

struct CTextPageSetup
{
    long nWidth = 11905;      // twips: A4 portrait
    long nHeight = 16838;
    long nMarginLeft = 850;
    long nMarginTop = 850;
    long nMarginRight = 850;
    long nMarginBottom = 850;
};

class CTextDocument
{
public:
    CTextDocument();
    // An empty document with the default format (Arial, 10 points).
    void New();

    // Reading raises CFileException for a file that cannot be read and CArchiveException (badIndex) for a file
    // that is no RTF document; the document is unchanged then.
    void Load(LPCTSTR pszPath);
    void LoadRtf(const std::string& rtf);
    // Writes the whole file or raises CFileException; a file that could not be written completely is removed.
    void Save(LPCTSTR pszPath, int nFormat) const;
    // The file's bytes in a format.
    std::string SaveToBytes(int nFormat) const;

    const CString& GetText() const { return m_text; }
    long GetLength() const { return m_text.GetLength(); }
    const CTextCharFormat& GetCharFormat(long nPos) const;

    // The position of the first occurrence at or after nStart (case matters), -1 when none.
    long Find(LPCTSTR pszText, long nStart) const;

    // The selection is kept inside the text.
    void SetSel(long nStart, long nLength);
    long GetSelStart() const { return m_nSelStart; }
    long GetSelLength() const { return m_nSelLength; }
    CString GetSelText() const;
    // The new text takes the format of the first replaced character (or of the one before an insertion); the
    // selection becomes empty after it. Fields move with the text around them.
    void ReplaceSel(LPCTSTR pszText);
    // Makes many changes in one pass, with the result of making them one after the other from the first; the
    // changes are in document order and do not overlap. Afterwards each change holds the text as it went in (as
    // ReplaceSel puts it) and where that now starts. Fills and tag replacements of whole documents use it.
    void ReplaceRanges(std::vector<CTextChange>& changes);
    // The text as the document keeps it: "\r\n" and "\n" become the paragraph end "\r".
    static CString ParagraphText(LPCTSTR pszText);
    // Appends text in a format, for documents built by the program.
    void AppendText(LPCTSTR pszText, const CTextCharFormat& format);
    // Appends a table row of the cells' texts (line breaks in a cell stay inside it).
    void AppendTableRow(const std::vector<CString>& cells, const CTextTableRow& row, const CTextCharFormat& format);
    // Appends the characters [nFrom, nTo) of another document with their formats, table rows and the fields
    // that begin there.
    void AppendRange(const CTextDocument& from, long nFrom, long nTo);
    // The format of the selection (of the insertion point when empty).
    void SetSelCharFormat(const CTextCharFormat& format);

    // Turns the selection into a field holding the data; answers its id, or 0 when the selection is empty or
    // overlaps a field.
    long MakeField(LPCTSTR pszData = L"");
    // Whether a field could be made of the range: it is not empty and overlaps no field.
    bool CanMakeField(long nStart, long nLength) const;
    const std::vector<CTextField>& GetFields() const { return m_fields; }
    // The field ids in document order.
    std::vector<long> GetFieldIds() const;
    // The id of the field after nId in document order (0: the first); 0 when none.
    long NextField(long nId) const;
    const CTextField* FindField(long nId) const;
    CString GetFieldText(long nId) const;
    // Replaces the field's text; the field then holds exactly the new text.
    void SetFieldText(long nId, LPCTSTR pszText);
    // The same for many fields (by id, each once) in one pass.
    void SetFieldTexts(const std::vector<std::pair<long, CString>>& texts);
    CString GetFieldData(long nId) const;
    void SetFieldData(long nId, LPCTSTR pszData);

    // The table rows in document order; a row without a layout of its own (text typed in) answers the default.
    std::vector<CTextRowExtent> GetRowExtents() const;
    const CTextTableRow& GetTableRow(size_t nRow) const;
    void SetTableRow(size_t nRow, const CTextTableRow& row);
    // Whether a position lies in a table row (before or at its paragraph end).
    bool IsInTableRow(long nPos) const;
    bool IsRowEnd(long nPos) const;

    CTextPageSetup& PageSetup() { return m_page; }
    const CTextPageSetup& PageSetup() const { return m_page; }
    // One line of small text at the foot of every page, with kTxPageNumber and kTxPrintDate in it.
    const CString& GetFooter() const { return m_strFooter; }
    void SetFooter(LPCTSTR pszFooter) { m_strFooter = pszFooter; }

private:
    friend class CRtfReader;
    friend class CRtfWriter;
    friend class CHtmlWriter;

    int FormatIndex(const CTextCharFormat& format);
    // The texts as they go in: paragraph ends as the document keeps them, and line breaks inside a table cell,
    // so that a value never splits its row.
    void PrepareChanges(std::vector<CTextChange>& changes) const;
    // The text, its formats and the rows' layouts after the prepared changes; each change then holds where its
    // text starts. The fields are not moved.
    void EditText(std::vector<CTextChange>& changes);
    // After an edit: a cell's end in a paragraph that is no table row (an edit took its row's end away) becomes a
    // paragraph end, as RTF has no place for it; each row's layout has as many cells as its text.
    void FitRowsToText();
    long CountRowEnds(long nFrom, long nTo) const;
    // The index of the first field that starts at or after nPos.
    size_t FieldFrom(long nPos) const;
    CTextField* FieldById(long nId);

    CString m_text;
    std::vector<int> m_charFormats;            // one per character, index into m_formats
    std::vector<CTextCharFormat> m_formats;
    std::map<CTextCharFormat, int> m_formatIndex;   // format -> its index in m_formats
    int m_nInsertFormat = 0;                   // the format an insertion into an empty document takes
    std::vector<CTextField> m_fields;          // in document order
    std::vector<CTextTableRow> m_rows;         // one per row end, in document order
    long m_nNextFieldId = 1;
    long m_nSelStart = 0;
    long m_nSelLength = 0;
    CTextPageSetup m_page;
    CString m_strFooter;
};
