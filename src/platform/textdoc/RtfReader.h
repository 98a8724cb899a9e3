// Reads RTF into a text document: the text, the character formats (font, size, bold, italic, underline), page
// breaks, the page set-up, tables (\trowd ... \cell ... \row: cell widths, alignment, rules, shading, heading
// rows), the page footer and our field table. Everything else of RTF (colours, styles, pictures, paragraph
// layout) is skipped, so that documents written by other programs load with their text intact.
#pragma once

#include "TextDocument.h"

#include <map>
#include <string>
#include <vector>

class CRtfReader
{
public:
    explicit CRtfReader(CTextDocument& doc) : m_doc(doc) {}
    // False when the bytes are no RTF document or its groups do not close.
    bool Read(const std::string& rtf);

private:
    enum Destination { destText, destFontTable, destSkip, destFieldTable, destField, destFieldData, destFooter };
    struct CState
    {
        Destination dest = destText;
        int nFont = 0;           // RTF font number
        int nHalfPoints = 24;
        bool bBold = false, bItalic = false, bUnderline = false;
        int nUc = 1;             // characters that stand for each \u character
        int nAlign = 0;          // of the paragraph: TxCellAlign
        bool bInTable = false;   // the paragraph is in a table cell (\intbl)
    };
    struct CFont
    {
        int nNumber;
        BYTE nCharSet;
        CString strName;
    };

    void ControlWord(const std::string& word, bool bHasParam, int nParam);
    void Character(wchar_t ch);
    void Byte(unsigned char byte);
    void EndGroup(Destination closed);
    bool TableWord(const std::string& word, int nParam);
    void EndOpenCells();
    void EndFontName();
    CFont* FontByNumber(int nNumber);
    CTextCharFormat CurrentFormat();

    CTextDocument& m_doc;
    CState m_state;
    std::vector<CState> m_stack;
    std::vector<CFont> m_fonts;
    std::map<int, size_t> m_fontIndex;   // font number -> the first font of m_fonts with it
    int m_nSkipChars = 0;            // characters still to skip after a \u
    bool m_bStarred = false;         // the group began with \*
    CString m_strFontName;
    CTextField m_field;
    CTextTableRow m_row;             // the row being defined (\trowd, \cellx) and filled (\cell)
    std::vector<long> m_openCells;   // where the ends of the row's cells read so far (no \row yet) lie in the text
    bool m_bCellEnd = false;         // the character coming is a cell's end, not a control character of the text
    bool m_bCellRuled = false;       // borders and shading given for the next \cellx
    bool m_bCellShaded = false;
};
