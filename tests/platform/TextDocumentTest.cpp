#include "platform/mfc/afxexcept.h"
#include "platform/textdoc/TextDocument.h"
#include "support/LinearTime.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

CTextCharFormat Symbol()
{
    CTextCharFormat format;
    format.strFace = L"Wingdings";
    format.nCharSet = SYMBOL_CHARSET;
    return format;
}

// A document with what a filled report holds: accented text, bold, a page break, the two box glyphs of a
// symbol font and two fields with data.
CTextDocument SampleDocument()
{
    CTextDocument doc;
    CTextCharFormat bold;
    bold.bBold = true;
    bold.nHalfPoints = 28;
    doc.AppendText(L"Entrate: ", bold);
    doc.AppendText(L"1.234,50 \u20ac perch\u00e9 {\\}\tfine\r", CTextCharFormat());
    doc.AppendText(L"\u00fe\u00a8", Symbol());
    doc.AppendText(L"\x0C" L"Pagina due \u0107", CTextCharFormat());
    doc.SetSel(9, 8);
    doc.SetFieldData(doc.MakeField(), L"L:V;T:SaldoFin;R:1106;F:Anno1");
    doc.SetSel(doc.Find(L"Pagina", 0), 6);
    doc.SetFieldData(doc.MakeField(), L"NAME:\u00e8{x}\\");
    doc.PageSetup().nWidth = 16838;
    doc.PageSetup().nHeight = 11905;
    doc.PageSetup().nMarginTop = 500;
    return doc;
}

TEST(TextDocumentTest, FieldsFollowTheEditsAroundThem)
{
    const struct
    {
        const char* name;
        long nStart, nLength;
        LPCTSTR pszText;
        long nFieldStart, nFieldLength;   // the field was [3, 6) of "0123456789"
    } cases[] = {
        {"insert before", 1, 0, L"ab", 5, 3},
        {"insert at its start", 3, 0, L"ab", 5, 3},
        {"insert at its end", 6, 0, L"ab", 3, 3},
        {"replace inside", 4, 1, L"xyz", 3, 5},
        {"delete after", 7, 2, L"", 3, 3},
        {"replace across its start", 2, 2, L"X", 3, 2},
        {"replace across its end", 5, 3, L"XY", 3, 2},
        {"replace all of it and more", 2, 6, L"Z", 2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CTextDocument doc;
        doc.AppendText(L"0123456789", CTextCharFormat());
        doc.SetSel(3, 3);
        const long nId = doc.MakeField();
        doc.SetSel(c.nStart, c.nLength);
        doc.ReplaceSel(c.pszText);
        const CTextField* field = doc.FindField(nId);
        ASSERT_NE(nullptr, field);
        EXPECT_EQ(c.nFieldStart, field->nStart);
        EXPECT_EQ(c.nFieldLength, field->nLength);
    }
}

TEST(TextDocumentTest, FieldTextIsReplacedWholeAndFieldsWalkInDocumentOrder)
{
    CTextDocument doc;
    doc.AppendText(L"aa bb cc", CTextCharFormat());
    doc.SetSel(6, 2);
    const long nLast = doc.MakeField();
    doc.SetSel(0, 2);
    const long nFirst = doc.MakeField();
    doc.SetSel(1, 3);
    EXPECT_EQ(0, doc.MakeField()) << "overlapping field";
    doc.SetSel(3, 0);
    EXPECT_EQ(0, doc.MakeField()) << "empty field";

    EXPECT_EQ(nFirst, doc.NextField(0));
    EXPECT_EQ(nLast, doc.NextField(nFirst));
    EXPECT_EQ(0, doc.NextField(nLast));

    doc.SetFieldText(nFirst, L"longer");
    doc.SetFieldText(nLast, L"");
    doc.SetFieldText(nLast, L"z");
    EXPECT_EQ(CString(L"longer bb z"), doc.GetText());
    EXPECT_EQ(CString(L"longer"), doc.GetFieldText(nFirst));
    EXPECT_EQ(CString(L"z"), doc.GetFieldText(nLast));
}

TEST(TextDocumentTest, OwnFormatKeepsTextFormatsPageAndFieldsWithTheirData)
{
    CTempFolder folder;
    const CTextDocument doc = SampleDocument();
    doc.Save(folder.File(L"a.txd"), txdFormatOwn);

    CTextDocument loaded;
    loaded.Load(folder.File(L"a.txd"));
    EXPECT_EQ(doc.GetText(), loaded.GetText());
    for (long i = 0; i < doc.GetLength(); ++i)
        EXPECT_TRUE(doc.GetCharFormat(i) == loaded.GetCharFormat(i)) << "character " << i;
    ASSERT_EQ(2u, loaded.GetFieldIds().size());
    for (size_t k = 0; k < 2; ++k) {
        const long a = doc.GetFieldIds()[k], b = loaded.GetFieldIds()[k];
        EXPECT_EQ(doc.GetFieldText(a), loaded.GetFieldText(b));
        EXPECT_EQ(doc.GetFieldData(a), loaded.GetFieldData(b));
    }
    EXPECT_EQ(16838, loaded.PageSetup().nWidth);
    EXPECT_EQ(11905, loaded.PageSetup().nHeight);
    EXPECT_EQ(500, loaded.PageSetup().nMarginTop);
    EXPECT_EQ(850, loaded.PageSetup().nMarginLeft);
}

TEST(TextDocumentTest, ExportsCarryTheTextWithoutTheFieldTable)
{
    const CTextDocument doc = SampleDocument();
    for (int nFormat : {txdFormatRtf, txdFormatDoc}) {
        const std::string rtf = doc.SaveToBytes(nFormat);
        EXPECT_EQ(std::string::npos, rtf.find("qzfield"));
        CTextDocument loaded;
        loaded.LoadRtf(rtf);
        EXPECT_EQ(doc.GetText(), loaded.GetText());
        EXPECT_TRUE(loaded.GetFieldIds().empty());
    }

    const std::string html = doc.SaveToBytes(txdFormatHtml);
    EXPECT_NE(std::string::npos, html.find("perch\xc3\xa9 {\\}")) << html;
    EXPECT_NE(std::string::npos, html.find("\xe2\x98\x92\xe2\x98\x90")) << "boxes";
    EXPECT_NE(std::string::npos, html.find("page-break-before: always\"><span style=\"font-family: 'Arial'; "
                                           "font-size: 10pt\">Pagina"));
    EXPECT_NE(std::string::npos, html.find("font-weight: bold\">Entrate: </span>"));

    EXPECT_EQ(std::string("Entrate: 1.234,50 \x80 perch\xe9 {\\}\tfine\r\n[X][ ]\x0CPagina due c"),
              doc.SaveToBytes(txdFormatText));
}

TEST(TextDocumentTest, ReadsRtfOfOtherWriters)
{
    CTextDocument doc;
    doc.LoadRtf("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}{\\f1\\fnil\\fcharset2 "
                "Symbol;}}{\\colortbl;\\red255\\green0\\blue0;}{\\*\\generator Writer;}\r\n"
                "\\pard\\plain\\fs20 Citt\\'e0 \\b grassetto\\b0  \\u8364?uro\\uc2\\u1234xy!\\par\r\n"
                "{\\f1 \\'fe}{\\field{\\*\\fldinst HYPERLINK}{\\fldrslt link}}\\line fine}trailing");
    EXPECT_EQ(CString(L"Citt\u00e0 grassetto \u20acuro\u04d2!\r\u00fe" L"link\vfine"), doc.GetText());
    EXPECT_TRUE(doc.GetCharFormat(6).bBold);
    EXPECT_FALSE(doc.GetCharFormat(16).bBold);
    EXPECT_EQ(20, doc.GetCharFormat(0).nHalfPoints);
    EXPECT_TRUE(doc.GetCharFormat(doc.Find(L"\u00fe", 0)).IsSymbol());
    EXPECT_EQ(CString(L"Times New Roman"), doc.GetCharFormat(0).strFace);
}

// The fields in document order as "start+length:data", to compare whole tables at once.
std::string FieldTable(const CTextDocument& doc)
{
    std::string table;
    for (long nId : doc.GetFieldIds()) {
        const CTextField* field = doc.FindField(nId);
        table += (table.empty() ? "" : " ") + std::to_string(field->nStart) + "+" + std::to_string(field->nLength) +
                 ":" + field->strData.ToMultiByte(CP_UTF8);
    }
    return table;
}

CTextDocument SavedAndLoaded(const CTextDocument& doc)
{
    CTextDocument loaded;
    loaded.LoadRtf(doc.SaveToBytes(txdFormatOwn));
    return loaded;
}

TEST(TextDocumentTest, FieldTableEntriesOutsideTheTextAreDropped)
{
    const char* const tables[] = {
        "{\\qzfield\\qzpos2\\qzlen2147483647{\\qzdata x}}",
        "{\\qzfield\\qzpos2147483647\\qzlen2147483647{\\qzdata x}}",
        "{\\qzfield\\qzpos7\\qzlen0{\\qzdata x}}",
        "{\\qzfield\\qzpos-1\\qzlen2{\\qzdata x}}",
        "{\\qzfield\\qzpos2\\qzlen-1{\\qzdata x}}",
    };
    for (const char* table : tables) {
        SCOPED_TRACE(table);
        CTextDocument doc;
        doc.LoadRtf(std::string("{\\rtf1\\ansi {\\*\\qzfields{\\qzfield\\qzpos1\\qzlen1{\\qzdata a}}") + table +
                    "}abcdef}");
        EXPECT_EQ("1+1:a", FieldTable(doc));
        doc.SetSel(2, 2);
        EXPECT_NE(0, doc.MakeField());
        for (long nId : doc.GetFieldIds())
            doc.SetFieldText(nId, L"xyz");
        EXPECT_EQ(CString(L"axyzxyzef"), doc.GetText());
    }
}

TEST(TextDocumentTest, EmptyFieldsKeepTheirOrderAndDataThroughSaveAndLoad)
{
    // At each position two empty fields and one with text, in document order: more than a short sort keeps stable.
    std::string rtf = "{\\rtf1\\ansi {\\*\\qzfields";
    std::string expected;
    for (int k = 0; k < 8; ++k) {
        const std::string at = std::to_string(k);
        for (const std::string entry : {"0a", "0b", "1t"}) {
            const std::string length = entry.substr(0, 1), data = at + entry.substr(1);
            rtf += "{\\qzfield\\qzpos" + at + "\\qzlen" + length + "{\\qzdata " + data + "}}";
            expected += (expected.empty() ? "" : " ") + at + "+" + length + ":" + data;
        }
    }
    rtf += "}abcdefgh}";
    CTextDocument doc;
    doc.LoadRtf(rtf);
    EXPECT_EQ(expected, FieldTable(doc));
    EXPECT_EQ(expected, FieldTable(SavedAndLoaded(doc)));
}

TEST(TextDocumentTest, FillingAnEmptyFieldBesideAnotherKeepsBoth)
{
    const struct
    {
        size_t nFilled;
        const char* table;
    } cases[] = {
        {0, "3+3:L:T;NAME:a 6+0:L:T;NAME:b"},
        {1, "3+0:L:T;NAME:a 3+3:L:T;NAME:b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nFilled);
        CTextDocument doc;
        doc.LoadRtf("{\\rtf1\\ansi {\\*\\qzfields{\\qzfield\\qzpos3\\qzlen0{\\qzdata L:T;NAME:a}}"
                    "{\\qzfield\\qzpos3\\qzlen0{\\qzdata L:T;NAME:b}}}abcdef}");
        doc.SetFieldText(doc.GetFieldIds()[c.nFilled], L"xyz");
        EXPECT_EQ(c.table, FieldTable(doc));
        const CTextDocument loaded = SavedAndLoaded(doc);
        EXPECT_EQ(CString(L"abcxyzdef"), loaded.GetText());
        EXPECT_EQ(c.table, FieldTable(loaded));
    }
}

TEST(TextDocumentTest, SymbolRunsAndFontNamesReadBackAsWritten)
{
    const struct
    {
        const char* rtf;
        LPCTSTR pszText;
        LPCTSTR faces[3];   // of the first characters
    } cases[] = {
        {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset2 Wingdings;}{\\f1\\fnil\\fcharset0 Arial;}}"
         "\\f0 \\u8364?\\'fe\\f1  x}",
         L"\u20ac\u00fe x", {L"Wingdings", L"Wingdings", L"Arial"}},
        {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset0 Caf\\'80;}{\\f1\\fnil \\u1055?\\u1088?A;}"
         "{\\f2\\fnil A\\'0dB;}}\\f0 a\\f1 b\\f2 c}",
         L"abc", {L"Caf\u20ac", L"\u041f\u0440A", L"A\rB"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rtf);
        CTextDocument doc;
        doc.LoadRtf(c.rtf);
        for (const CTextDocument& read : {doc, SavedAndLoaded(doc)}) {
            ASSERT_EQ(CString(c.pszText), read.GetText());
            for (long i = 0; i < 3; ++i)
                EXPECT_EQ(CString(c.faces[i]), read.GetCharFormat(i).strFace) << "character " << i;
        }
    }
}

TEST(TextDocumentTest, PdfTakesSizesBeyondWhatItCanDraw)
{
    for (const char* rtf : {"{\\rtf1\\ansi \\fs0 x}", "{\\rtf1\\ansi \\fs1300 x}", "{\\rtf1\\ansi \\paperw40 x}",
                            "{\\rtf1\\ansi \\fs-8\\paperw-100\\paperh999999999 x\\'fe}"}) {
        SCOPED_TRACE(rtf);
        CTextDocument doc;
        doc.LoadRtf(rtf);
        std::string pdf;
        try {
            pdf = doc.SaveToBytes(txdFormatPdf);
        }
        catch (CException* e) {
            e->Delete();
        }
        EXPECT_EQ("%PDF-", pdf.substr(0, 5));
    }
}

// Each character in a size of its own.
std::string ManyFormats(int nCount)
{
    std::string rtf = "{\\rtf1\\ansi ";
    for (int i = 0; i < nCount; ++i)
        rtf += "\\fs" + std::to_string(i) + " x";
    return rtf + "}";
}

// Characters in a font that the long table does not have, then in the table's last one.
std::string ManyFonts(int nCount)
{
    std::string rtf = "{\\rtf1\\ansi{\\fonttbl";
    for (int i = 0; i < nCount - 1; ++i)
        rtf += "\\f" + std::to_string(i) + ";";
    return rtf + "{\\f" + std::to_string(nCount - 1) + " Tahoma;}}\\f" + std::to_string(nCount) + " " +
           std::string(nCount / 2, 'x') + "\\f" + std::to_string(nCount - 1) + " " + std::string(nCount / 2, 'y') + "}";
}

TEST(TextDocumentTest, ManyFontsAndFormatsReadInTimeLinearInTheFile)
{
    CTextDocument once, tenfold;
    const std::string formats = ManyFormats(80000), moreFormats = ManyFormats(800000);
    EXPECT_TRUE(GrowsLinearly([&]() { once.LoadRtf(formats); }, [&]() { tenfold.LoadRtf(moreFormats); }));
    ASSERT_EQ(800000, tenfold.GetLength());
    EXPECT_EQ(799999, tenfold.GetCharFormat(799999).nHalfPoints);

    const std::string fonts = ManyFonts(120000), moreFonts = ManyFonts(1200000);
    EXPECT_TRUE(GrowsLinearly([&]() { once.LoadRtf(fonts); }, [&]() { tenfold.LoadRtf(moreFonts); }));
    ASSERT_EQ(1200000, tenfold.GetLength());
    EXPECT_EQ(CString(L"Arial"), tenfold.GetCharFormat(0).strFace);
    EXPECT_EQ(CString(L"Tahoma"), tenfold.GetCharFormat(1199999).strFace);
}

// Answers whether loading raised a framework exception of the class.
template <class TException>
bool LoadRaises(CTextDocument& doc, const CString& path)
{
    try {
        doc.Load(path);
    }
    catch (TException* e) {
        e->Delete();
        return true;
    }
    return false;
}

TEST(TextDocumentTest, DamagedFilesLeaveTheDocumentAsItWas)
{
    CTempFolder folder;
    const std::pair<const char*, std::string> damaged[] = {
        {"not rtf", "Testo semplice"},
        {"unclosed group", "{\\rtf1 {\\b testo}"},
        {"cut inside an escape", "{\\rtf1 testo\\'e"},
    };
    for (const auto& d : damaged) {
        SCOPED_TRACE(d.first);
        CTextDocument doc = SampleDocument();
        EXPECT_TRUE(LoadRaises<CArchiveException>(doc, folder.Write(L"bad.txd", d.second)));
        EXPECT_EQ(SampleDocument().GetText(), doc.GetText());
        EXPECT_EQ(2u, doc.GetFieldIds().size());
    }
    CTextDocument doc;
    EXPECT_TRUE(LoadRaises<CFileException>(doc, folder.File(L"missing.txd")));
}

} // namespace
