#include "GridXlsWriter.h"

#include "GridBookFile.h"
#include "gridres.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace
{
// Record types of BIFF8
enum : uint16_t
{
    xlsBOF = 0x0809, xlsEOF = 0x000A, xlsCODEPAGE = 0x0042, xlsWINDOW1 = 0x003D, xlsDATEMODE = 0x0022,
    xlsFONT = 0x0031, xlsFORMAT = 0x041E, xlsXF = 0x00E0, xlsSTYLE = 0x0293, xlsPALETTE = 0x0092,
    xlsBOUNDSHEET = 0x0085, xlsDIMENSIONS = 0x0200, xlsCOLINFO = 0x007D, xlsROW = 0x0208, xlsWINDOW2 = 0x023E,
    xlsNUMBER = 0x0203, xlsLABEL = 0x0204, xlsBLANK = 0x0201, xlsBOOLERR = 0x0205, xlsDEFCOLWIDTH = 0x0055,
    xlsMERGEDCELLS = 0x00E5,
    xlsDEFAULTROWHEIGHT = 0x0225
};

const size_t kMaxRecordData = 8224;
const int kStyleXfs = 15;          // XF 0 to 14: the Normal style and the built-in ones
const int kFirstCustomFormat = 164;
const int kPaletteFirst = 8;
const int kPaletteSize = 56;
const uint16_t kAutoColor = 0x7FFF;
const size_t kMaxLabel = 4000;     // characters of a text cell (a record holds at most 8224 bytes)

class CRecordWriter
{
public:
    std::string m_out;

    void Begin(uint16_t nType) { m_nStart = m_out.size(); U16(nType); U16(0); }
    void End()
    {
        size_t nLength = m_out.size() - m_nStart - 4;
        m_out[m_nStart + 2] = static_cast<char>(nLength & 0xFF);
        m_out[m_nStart + 3] = static_cast<char>((nLength >> 8) & 0xFF);
    }
    void U8(unsigned n) { m_out += static_cast<char>(n & 0xFF); }
    void U16(unsigned n) { U8(n); U8(n >> 8); }
    void U32(uint32_t n) { U16(n & 0xFFFF); U16(n >> 16); }
    void F64(double d)
    {
        char bytes[8];
        std::memcpy(bytes, &d, 8);
        m_out.append(bytes, 8);
    }
    // Characters as UTF-16, after the option byte 1.
    void Chars(const CString& s)
    {
        U8(1);
        for (int i = 0; i < s.GetLength(); ++i)
            U16(static_cast<uint16_t>(s[i]));
    }
    void String16(const CString& s) { U16(static_cast<unsigned>(s.GetLength())); Chars(s); }
    void String8(const CString& s) { U8(static_cast<unsigned>(s.GetLength())); Chars(s); }
    void Patch32(size_t nAt, uint32_t n)
    {
        for (int i = 0; i < 4; ++i)
            m_out[nAt + static_cast<size_t>(i)] = static_cast<char>((n >> (8 * i)) & 0xFF);
    }

private:
    size_t m_nStart = 0;
};

struct CXlsFont
{
    CString strName;
    int nHeight;   // twips
    bool bBold, bItalic, bUnderline;
    int nColor;    // palette index or kAutoColor
    bool operator<(const CXlsFont& f) const
    {
        return std::tie(strName, nHeight, bBold, bItalic, bUnderline, nColor) <
               std::tie(f.strName, f.nHeight, f.bBold, f.bItalic, f.bUnderline, f.nColor);
    }
};

int BorderStyle(GridBorderStyle nStyle)
{
    switch (nStyle) {
    case gridBorderThin: return 1;
    case gridBorderMedium: return 2;
    case gridBorderDashed: return 3;
    case gridBorderDotted: return 4;
    case gridBorderThick: return 5;
    case gridBorderDouble: return 6;
    default: return 0;
    }
}

int ErrorCode(GridError nError)
{
    switch (nError) {
    case gridErrorDiv0: return 0x07;
    case gridErrorRef: return 0x17;
    case gridErrorName: return 0x1D;
    case gridErrorNum: return 0x24;
    default: return 0x0F;   // #VALUE!, and a circular reference, which the format cannot say
    }
}

// What the book's formats turn into: fonts, number formats, colours and XFs, each written once.
class CXlsStyles
{
public:
    explicit CXlsStyles(const CGridFormatTable& formats) : m_formats(formats)
    {
        m_fonts.push_back(FontOf(CGridCellFormat()));
        m_xfByFormat.assign(static_cast<size_t>(formats.GetCount()), -1);
    }

    // The XF index of a cell format of the book.
    int Xf(int nFormat)
    {
        int& nXf = m_xfByFormat[static_cast<size_t>(nFormat)];
        if (nXf < 0) {
            nXf = kStyleXfs + static_cast<int>(m_xfs.size());
            m_xfs.push_back(nFormat);
        }
        return nXf;
    }

    void WriteGlobals(CRecordWriter& w)
    {
        // Everything the XFs refer to is collected before anything is written.
        std::vector<int> fontOfXf, formatOfXf;
        for (int nFormat : m_xfs) {
            const CGridCellFormat& fmt = m_formats.Get(nFormat);
            fontOfXf.push_back(FontIndex(FontOf(fmt)));
            formatOfXf.push_back(NumberFormatIndex(fmt.m_strNumberFormat));
            Color(fmt.m_crFill);
            for (const CGridBorder& border : fmt.m_borders)
                Color(border.m_crColor);
        }
        WritePalette(w);
        // Readers skip font index 4: the default font fills 0 to 3, the others follow from 5.
        for (int i = 0; i < 4; ++i)
            WriteFont(w, m_fonts[0]);
        for (size_t i = 1; i < m_fonts.size(); ++i)
            WriteFont(w, m_fonts[i]);
        for (const auto& format : m_numberFormats) {
            w.Begin(xlsFORMAT);
            w.U16(static_cast<unsigned>(format.second));
            w.String16(format.first);
            w.End();
        }
        for (int i = 0; i < kStyleXfs; ++i)
            WriteXf(w, CGridCellFormat(), 0, 0, true);
        for (size_t i = 0; i < m_xfs.size(); ++i)
            WriteXf(w, m_formats.Get(m_xfs[i]), fontOfXf[i], formatOfXf[i], false);
        w.Begin(xlsSTYLE);   // the Normal style is XF 0
        w.U16(0x8000);
        w.U8(0);
        w.U8(0xFF);
        w.End();
    }

private:
    CXlsFont FontOf(const CGridCellFormat& fmt)
    {
        return CXlsFont{fmt.m_strFontName, fmt.m_nFontSize, fmt.m_bBold, fmt.m_bItalic, fmt.m_bUnderline,
                        fmt.m_crText == kGridColorAuto ? kAutoColor : Color(fmt.m_crText)};
    }
    int FontIndex(const CXlsFont& font)
    {
        for (size_t i = 0; i < m_fonts.size(); ++i) {
            if (!(m_fonts[i] < font) && !(font < m_fonts[i]))
                return i == 0 ? 0 : static_cast<int>(i) + 4;
        }
        m_fonts.push_back(font);
        return static_cast<int>(m_fonts.size()) - 1 + 4;
    }
    int NumberFormatIndex(const CString& strFormat)
    {
        if (strFormat.IsEmpty() || strFormat.CompareNoCase(L"General") == 0)
            return 0;
        auto it = m_numberFormats.find(strFormat);
        if (it != m_numberFormats.end())
            return it->second;
        int nIndex = kFirstCustomFormat + static_cast<int>(m_numberFormats.size());
        m_numberFormats.emplace(strFormat, nIndex);
        return nIndex;
    }
    // The palette index of a colour; the automatic colour for kGridColorAuto or when the palette is full.
    int Color(COLORREF cr)
    {
        if (cr == kGridColorAuto)
            return kAutoColor;
        for (size_t i = 0; i < m_palette.size(); ++i) {
            if (m_palette[i] == cr)
                return kPaletteFirst + static_cast<int>(i);
        }
        if (m_palette.size() >= static_cast<size_t>(kPaletteSize))
            return kAutoColor;
        m_palette.push_back(cr);
        return kPaletteFirst + static_cast<int>(m_palette.size()) - 1;
    }
    void WritePalette(CRecordWriter& w)
    {
        w.Begin(xlsPALETTE);
        w.U16(kPaletteSize);
        for (int i = 0; i < kPaletteSize; ++i) {
            COLORREF cr = i < static_cast<int>(m_palette.size()) ? m_palette[static_cast<size_t>(i)] : RGB(0, 0, 0);
            w.U8(GetRValue(cr));
            w.U8(GetGValue(cr));
            w.U8(GetBValue(cr));
            w.U8(0);
        }
        w.End();
    }
    static void WriteFont(CRecordWriter& w, const CXlsFont& font)
    {
        w.Begin(xlsFONT);
        w.U16(static_cast<unsigned>(font.nHeight));
        // The old bold and underline bits too, which some readers still take from here.
        w.U16((font.bBold ? 0x01 : 0) | (font.bItalic ? 0x02 : 0) | (font.bUnderline ? 0x04 : 0));
        w.U16(static_cast<unsigned>(font.nColor));
        w.U16(font.bBold ? 700 : 400);
        w.U16(0);                       // no super- or subscript
        w.U8(font.bUnderline ? 1 : 0);
        w.U8(0);                        // family
        w.U8(0);                        // character set
        w.U8(0);
        w.String8(font.strName.Left(255));
        w.End();
    }
    void WriteXf(CRecordWriter& w, const CGridCellFormat& fmt, int nFont, int nFormat, bool bStyle)
    {
        w.Begin(xlsXF);
        w.U16(static_cast<unsigned>(nFont));
        w.U16(static_cast<unsigned>(nFormat));
        unsigned nProtection = (fmt.m_bLocked ? 0x01 : 0) | (fmt.m_bHidden ? 0x02 : 0);
        w.U16(bStyle ? (nProtection | 0x04 | 0xFFF0) : nProtection);
        static const unsigned hAlign[] = {0, 1, 2, 3};
        static const unsigned vAlign[] = {0, 1, 2};
        w.U8(hAlign[fmt.m_nHAlign] | (fmt.m_bWrap ? 0x08 : 0) | (vAlign[fmt.m_nVAlign] << 4));
        w.U8(0);                        // rotation
        w.U8(0);                        // indent, shrink, reading order
        w.U8(bStyle ? 0 : 0xFC);        // a cell XF states every attribute itself
        auto side = [&](GridBorderSide n) { return fmt.m_borders[n]; };
        auto color = [&](GridBorderSide n) {
            int nColor = Color(side(n).m_crColor);
            return static_cast<uint32_t>(nColor == kAutoColor ? 0x40 : nColor);
        };
        uint32_t nLines = static_cast<uint32_t>(BorderStyle(side(gridSideLeft).m_nStyle)) |
                          static_cast<uint32_t>(BorderStyle(side(gridSideRight).m_nStyle)) << 4 |
                          static_cast<uint32_t>(BorderStyle(side(gridSideTop).m_nStyle)) << 8 |
                          static_cast<uint32_t>(BorderStyle(side(gridSideBottom).m_nStyle)) << 12 |
                          color(gridSideLeft) << 16 | color(gridSideRight) << 23;
        w.U32(nLines);
        bool bFill = fmt.m_crFill != kGridColorAuto;
        w.U32(color(gridSideTop) | color(gridSideBottom) << 7 | (bFill ? 1u << 26 : 0u));
        int nFill = bFill ? Color(fmt.m_crFill) : 0x40;
        w.U16(static_cast<unsigned>(nFill == kAutoColor ? 0x40 : nFill) | (0x41u << 7));
        w.End();
    }

    const CGridFormatTable& m_formats;
    std::vector<int> m_xfs;            // the book's format of each cell XF
    std::vector<int> m_xfByFormat;
    std::vector<CXlsFont> m_fonts;     // [0] the default font
    std::map<CString, int> m_numberFormats;
    std::vector<COLORREF> m_palette;
};

// Twips to the units of a column width: 1/256 of the width of a digit of the default font (105 twips).
unsigned ColumnUnits(int nTwips)
{
    return static_cast<unsigned>(std::min(65535, ::MulDiv(nTwips, 256, 105)));
}

void WriteBof(CRecordWriter& w, unsigned nKind)
{
    w.Begin(xlsBOF);
    w.U16(0x0600);
    w.U16(nKind);
    w.U16(0x0DBB);
    w.U16(0x07CC);
    w.U32(0);
    w.U32(6);
    w.End();
}

void WriteSheet(CRecordWriter& w, const CGridSheet& sheet, CXlsStyles& styles, bool bFirst)
{
    WriteBof(w, 0x0010);
    int nLastRow = std::min(sheet.GetMaxRow(), kGridMaxRows);
    int nLastCol = std::min(sheet.GetMaxCol(), 256);
    // The cells with content or a format, within the sheet's limits.
    int nUsedRows = 0, nUsedCols = 0;
    for (int r = 1; r <= nLastRow; ++r) {
        for (int c = 1; c <= nLastCol; ++c) {
            const CGridCell* pCell = sheet.GetCell(r, c);
            if (pCell && !pCell->IsUnused()) {
                nUsedRows = r;
                nUsedCols = std::max(nUsedCols, c);
            }
        }
        if (r > sheet.GetLastRow() && r > nUsedRows + 1000)
            break;   // nothing below the last used row but formats, which stop early
    }
    w.Begin(xlsDEFCOLWIDTH);
    w.U16(std::max(1u, ColumnUnits(sheet.GetDefaultColWidth()) / 256));
    w.End();
    w.Begin(xlsDEFAULTROWHEIGHT);
    w.U16(0);
    w.U16(static_cast<unsigned>(sheet.GetDefaultRowHeight()));
    w.End();
    for (int c = 1; c <= nLastCol; ++c) {
        if (sheet.GetColWidth(c) == sheet.GetDefaultColWidth() && !sheet.IsColHidden(c))
            continue;
        w.Begin(xlsCOLINFO);
        w.U16(static_cast<unsigned>(c - 1));
        w.U16(static_cast<unsigned>(c - 1));
        w.U16(ColumnUnits(sheet.GetColWidth(c)));
        w.U16(kStyleXfs);
        w.U16(sheet.IsColHidden(c) ? 1 : 0);
        w.U16(0);
        w.End();
    }
    w.Begin(xlsDIMENSIONS);
    w.U32(0);
    w.U32(static_cast<uint32_t>(nUsedRows));
    w.U16(0);
    w.U16(static_cast<unsigned>(nUsedCols));
    w.U16(0);
    w.End();
    for (int r = 1; r <= nUsedRows; ++r) {
        if (sheet.GetRowHeight(r) == sheet.GetDefaultRowHeight() && !sheet.IsRowHidden(r))
            continue;
        w.Begin(xlsROW);
        w.U16(static_cast<unsigned>(r - 1));
        w.U16(0);
        w.U16(static_cast<unsigned>(nUsedCols));
        w.U16(static_cast<unsigned>(sheet.GetRowHeight(r)));
        w.U16(0);
        w.U16(0);
        w.U32(0x100 | 0x40 | (sheet.IsRowHidden(r) ? 0x20 : 0) | (static_cast<uint32_t>(kStyleXfs) << 16));
        w.End();
    }
    for (int r = 1; r <= nUsedRows; ++r) {
        for (int c = 1; c <= nUsedCols; ++c) {
            const CGridCell* pCell = sheet.GetCell(r, c);
            if (!pCell || pCell->IsUnused())
                continue;
            unsigned nXf = static_cast<unsigned>(styles.Xf(pCell->GetFormat()));
            const CGridValue& value = pCell->GetValue();
            switch (value.GetType()) {
            case gridValueNumber:
                w.Begin(xlsNUMBER);
                break;
            case gridValueText:
                w.Begin(value.GetText().IsEmpty() ? xlsBLANK : xlsLABEL);
                break;
            case gridValueBool:
            case gridValueError:
                w.Begin(xlsBOOLERR);
                break;
            default:
                w.Begin(xlsBLANK);
                break;
            }
            w.U16(static_cast<unsigned>(r - 1));
            w.U16(static_cast<unsigned>(c - 1));
            w.U16(nXf);
            switch (value.GetType()) {
            case gridValueNumber:
                w.F64(value.GetNumber());
                break;
            case gridValueText:
                if (!value.GetText().IsEmpty())
                    w.String16(value.GetText().Left(static_cast<int>(kMaxLabel)));
                break;
            case gridValueBool:
                w.U8(value.GetBool() ? 1 : 0);
                w.U8(0);
                break;
            case gridValueError:
                w.U8(static_cast<unsigned>(ErrorCode(value.GetError())));
                w.U8(1);
                break;
            default:
                break;
            }
            w.End();
        }
    }
    w.Begin(xlsWINDOW2);
    w.U16(0x00B6 | (bFirst ? 0x0600 : 0));
    w.U16(0);
    w.U16(0);
    w.U32(64);
    w.U16(0);
    w.U16(0);
    w.U32(0);
    w.End();
    // Merged areas, at most 1027 to a record.
    const std::vector<CGridRange>& merges = sheet.GetMerges();
    for (size_t nFirst = 0; nFirst < merges.size(); nFirst += 1027) {
        size_t nEnd = std::min(merges.size(), nFirst + 1027);
        w.Begin(xlsMERGEDCELLS);
        w.U16(static_cast<unsigned>(nEnd - nFirst));
        for (size_t i = nFirst; i < nEnd; ++i) {
            w.U16(static_cast<unsigned>(merges[i].m_nRow1 - 1));
            w.U16(static_cast<unsigned>(merges[i].m_nRow2 - 1));
            w.U16(static_cast<unsigned>(merges[i].m_nCol1 - 1));
            w.U16(static_cast<unsigned>(merges[i].m_nCol2 - 1));
        }
        w.End();
    }
    w.Begin(xlsEOF);
    w.End();
}

void PutU16(std::string& s, size_t nAt, unsigned n)
{
    s[nAt] = static_cast<char>(n & 0xFF);
    s[nAt + 1] = static_cast<char>((n >> 8) & 0xFF);
}

void PutU32(std::string& s, size_t nAt, uint32_t n)
{
    PutU16(s, nAt, n & 0xFFFF);
    PutU16(s, nAt + 2, n >> 16);
}
} // namespace

std::string GridMakeCompoundFile(LPCWSTR pszStreamName, const std::string& strStream)
{
    const size_t kSector = 512;
    const uint32_t kFree = 0xFFFFFFFF, kEndOfChain = 0xFFFFFFFE, kFatSector = 0xFFFFFFFD;
    // A stream below 4096 bytes would belong in the mini stream: padding it keeps it in the sectors.
    std::string stream = strStream;
    stream.resize(std::max<size_t>(4096, (stream.size() + kSector - 1) / kSector * kSector), '\0');
    size_t nStreamSectors = stream.size() / kSector;
    size_t nFatSectors = 1;
    while (nStreamSectors + 1 + nFatSectors > nFatSectors * (kSector / 4))
        ++nFatSectors;
    if (nFatSectors > 109)
        return std::string();   // beyond what the header's allocation list holds (about 7 MB)
    uint32_t nDirSector = static_cast<uint32_t>(nStreamSectors);
    uint32_t nFirstFat = nDirSector + 1;

    std::string header(kSector, '\0');
    static const unsigned char signature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::memcpy(&header[0], signature, 8);
    PutU16(header, 0x18, 0x003E);
    PutU16(header, 0x1A, 0x0003);
    PutU16(header, 0x1C, 0xFFFE);
    PutU16(header, 0x1E, 9);
    PutU16(header, 0x20, 6);
    PutU32(header, 0x2C, static_cast<uint32_t>(nFatSectors));
    PutU32(header, 0x30, nDirSector);
    PutU32(header, 0x38, 4096);
    PutU32(header, 0x3C, kEndOfChain);
    PutU32(header, 0x44, kEndOfChain);
    for (size_t i = 0; i < 109; ++i)
        PutU32(header, 0x4C + 4 * i, i < nFatSectors ? nFirstFat + static_cast<uint32_t>(i) : kFree);

    std::string directory(kSector, '\0');
    auto entry = [&](size_t nIndex, LPCWSTR pszName, int nType, uint32_t nChild, uint32_t nStart, uint32_t nSize) {
        size_t at = nIndex * 128;
        size_t nLength = pszName ? wcslen(pszName) : 0;
        for (size_t i = 0; i < nLength && i < 31; ++i)
            PutU16(directory, at + 2 * i, pszName[i]);
        PutU16(directory, at + 0x40, nLength ? static_cast<unsigned>(2 * (nLength + 1)) : 0);
        directory[at + 0x42] = static_cast<char>(nType);
        directory[at + 0x43] = 1;   // black
        PutU32(directory, at + 0x44, kFree);
        PutU32(directory, at + 0x48, kFree);
        PutU32(directory, at + 0x4C, nChild);
        PutU32(directory, at + 0x74, nStart);
        PutU32(directory, at + 0x78, nSize);
    };
    entry(0, L"Root Entry", 5, 1, kEndOfChain, 0);
    entry(1, pszStreamName, 2, kFree, 0, static_cast<uint32_t>(stream.size()));
    entry(2, nullptr, 0, kFree, 0, 0);
    entry(3, nullptr, 0, kFree, 0, 0);

    std::string fat(nFatSectors * kSector, '\xFF');
    for (size_t i = 0; i < nStreamSectors; ++i)
        PutU32(fat, 4 * i, i + 1 < nStreamSectors ? static_cast<uint32_t>(i + 1) : kEndOfChain);
    PutU32(fat, 4 * nDirSector, kEndOfChain);
    for (size_t i = 0; i < nFatSectors; ++i)
        PutU32(fat, 4 * (nFirstFat + i), kFatSector);
    return header + stream + directory + fat;
}

std::string CGridXlsWriter::Write() const
{
    std::vector<int> sheets = m_sheets;
    if (sheets.empty()) {
        for (int n = 1; n <= m_book.GetSheetCount(); ++n)
            sheets.push_back(n);
    }
    CXlsStyles styles(m_book.GetFormats());
    // The sheets first, so that the styles know every format the cells use.
    std::vector<std::string> sheetRecords;
    for (size_t i = 0; i < sheets.size(); ++i) {
        CRecordWriter sheet;
        WriteSheet(sheet, *m_book.GetSheet(sheets[i]), styles, i == 0);
        sheetRecords.push_back(std::move(sheet.m_out));
    }

    CRecordWriter w;
    WriteBof(w, 0x0005);
    w.Begin(xlsCODEPAGE);
    w.U16(1200);
    w.End();
    w.Begin(xlsWINDOW1);
    w.U16(0);
    w.U16(0);
    w.U16(0x3000);
    w.U16(0x2000);
    w.U16(0x38);
    w.U16(0);
    w.U16(0);
    w.U16(1);
    w.U16(600);
    w.End();
    w.Begin(xlsDATEMODE);
    w.U16(0);
    w.End();
    styles.WriteGlobals(w);
    std::vector<size_t> positions;
    for (int nSheet : sheets) {
        w.Begin(xlsBOUNDSHEET);
        positions.push_back(w.m_out.size());
        w.U32(0);
        w.U8(0);
        w.U8(0);
        w.String8(m_book.GetSheet(nSheet)->GetName());
        w.End();
    }
    w.Begin(xlsEOF);
    w.End();
    for (size_t i = 0; i < sheetRecords.size(); ++i) {
        w.Patch32(positions[i], static_cast<uint32_t>(w.m_out.size()));
        w.m_out += sheetRecords[i];
    }
    return GridMakeCompoundFile(L"Workbook", w.m_out);
}

BOOL CGridXlsWriter::WriteFile(LPCTSTR pszPath, CString& strError) const
{
    std::string content = Write();
    if (content.empty()) {
        strError.Format(GRID_IDS_XLS_TOO_LARGE, pszPath);
        return FALSE;
    }
    return GridReplaceFile(pszPath, content, strError);
}
