#include "platform/mfc/afxexcept.h"
#include "platform/textdoc/TextDocument.h"
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
