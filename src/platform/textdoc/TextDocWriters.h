// The writers of a text document's save formats: RTF (the ".txd" form adds the field table), HTML and plain text.
#pragma once

#include "TextDocument.h"

#include <string>

class CRtfWriter
{
public:
    CRtfWriter(const CTextDocument& doc, bool bFieldTable) : m_doc(doc), m_bFieldTable(bFieldTable) {}
    std::string Write() const;

private:
    static std::string RowDefinition(const CTextTableRow& row);
    static std::string CellStart(const CTextTableRow& row, size_t nCell);

    const CTextDocument& m_doc;
    bool m_bFieldTable;
};

// A page of HTML in UTF-8: one paragraph per text paragraph, the rows of a table in a <table>, the character formats
// as inline styles, a page break before the paragraph that follows one; the check-box glyphs of symbol fonts as the
// Unicode boxes.
class CHtmlWriter
{
public:
    explicit CHtmlWriter(const CTextDocument& doc) : m_doc(doc) {}
    std::string Write() const;

private:
    void Runs(std::string& out, long nFrom, long nTo) const;
    void Row(std::string& out, const CTextRowExtent& extent) const;

    const CTextDocument& m_doc;
};

// The text in Windows-1252 with CR LF line ends; the check-box glyphs of symbol fonts as "[X]" and "[ ]".
std::string WritePlainText(const CTextDocument& doc);

// The character a symbol-font glyph stands for where the font may be missing (the two check boxes); 0 for others.
wchar_t SymbolGlyphAsUnicode(wchar_t glyph);
