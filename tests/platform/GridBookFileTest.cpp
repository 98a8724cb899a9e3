#include "platform/grid/GridBook.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace
{
std::string U8(const CString& s) { return s.ToMultiByte(CP_UTF8); }

struct SampleFormats
{
    CGridCellFormat amount, title, signedBalance, box;
};

SampleFormats MakeFormats()
{
    SampleFormats f;
    f.amount.m_strNumberFormat = L"#,##0.00";
    f.amount.m_bLocked = false;
    f.amount.m_nHAlign = gridHAlignRight;
    f.amount.m_borders[gridSideBottom] = CGridBorder{gridBorderThin, RGB(255, 0, 0)};
    f.amount.m_borders[gridSideLeft] = CGridBorder{gridBorderDouble, kGridColorAuto};
    f.title.m_strFontName = L"Tahoma";
    f.title.m_nFontSize = 240;
    f.title.m_bBold = f.title.m_bItalic = f.title.m_bUnderline = true;
    f.title.m_crText = RGB(0, 0, 128);
    f.title.m_crFill = RGB(255, 255, 192);
    f.title.m_nHAlign = gridHAlignCenter;
    f.title.m_nVAlign = gridVAlignCenter;
    f.title.m_bWrap = true;
    f.title.m_bHidden = true;
    f.signedBalance.m_strNumberFormat = L"+#,##0.00;-#,##0.00;#,##0.00";
    f.signedBalance.m_nFontSize = 170;   // 8.5 points
    f.box.m_strFontName = L"Wingdings";
    f.box.m_nVAlign = gridVAlignTop;
    return f;
}

// Two sheets with every kind of content, format and layout the file keeps.
void MakeSampleBook(CGridBook& book)
{
    SampleFormats f = MakeFormats();
    book.RenameSheet(1, L"Entrate (A-2)");
    CGridSheet& data = *book.GetSheet(1);
    data.SetMaxRow(40);
    data.SetMaxCol(12);
    data.SetTitleRows(2);
    data.SetTitleCols(1);
    data.SetDefaultColWidth(1000);
    data.SetDefaultRowHeight(300);
    data.SetColWidth(1, 2000);
    data.SetColHidden(3, TRUE);
    data.SetColWidth(5, 0);
    data.SetRowHeight(2, 400);
    data.SetRowHidden(7, TRUE);
    data.SetText(1, 1, L"Entrate è \"quotate\"\tin € ✓");
    data.SetCellFormat(CGridRange(1, 1, 1, 4), f.title);
    data.SetNumber(3, 2, 1234.5678);
    data.SetNumber(4, 2, 0.1);
    data.SetNumber(5, 2, -1e-7);
    data.SetFormula(6, 2, L"=SUM(B3:B5)");
    data.SetFormula(7, 2, L"=IF(B6>0,\"sì\",\"no\")");
    data.SetFormula(8, 2, L"=1+");
    data.SetFormula(9, 2, L"=-B6");
    data.SetCellFormat(CGridRange(3, 2, 6, 2), f.amount);
    data.SetCellFormat(CGridRange(9, 2, 9, 2), f.signedBalance);
    data.SetText(10, 2, L"\u00FE");
    data.SetCellFormat(CGridRange(10, 2, 10, 2), f.box);
    data.SetCellFormat(CGridRange(12, 4, 12, 4), f.amount);   // a format without content
    CGridSheet& desc = *book.InsertSheet(2, L"Descrizione");
    desc.SetText(1, 1, L"1:3,2;F:2,1;T:Entrate");
    desc.SetText(3, 2, L"I:+V;R:2101;F:Anno4Com");
    desc.SetText(11, 3, L"[EOF]");
}

std::string ReplaceFirst(std::string s, const std::string& from, const std::string& to)
{
    size_t n = s.find(from);
    EXPECT_NE(std::string::npos, n) << from;
    if (n != std::string::npos)
        s.replace(n, from.size(), to);
    return s;
}
} // namespace

TEST(GridBookFile, WrittenBookReadsBackUnchanged)
{
    CGridBook book;
    MakeSampleBook(book);
    std::string text = book.WriteText();

    CGridBook copy;
    CString strError;
    ASSERT_TRUE(copy.ReadText(text, strError)) << U8(strError);
    EXPECT_EQ(text, copy.WriteText());

    ASSERT_EQ(2, copy.GetSheetCount());
    EXPECT_EQ(CString(L"Descrizione"), copy.GetSheet(2)->GetName());
    const CGridSheet& data = *copy.GetSheet(1);
    EXPECT_EQ(CString(L"Entrate (A-2)"), data.GetName());
    EXPECT_EQ(40, data.GetMaxRow());
    EXPECT_EQ(12, data.GetMaxCol());
    EXPECT_EQ(2, data.GetTitleRows());
    EXPECT_EQ(1, data.GetTitleCols());
    EXPECT_EQ(2000, data.GetColWidth(1));
    EXPECT_EQ(1000, data.GetColWidth(2));
    EXPECT_EQ(0, data.GetColWidth(5));
    EXPECT_TRUE(data.IsColHidden(3));
    EXPECT_EQ(400, data.GetRowHeight(2));
    EXPECT_EQ(300, data.GetRowHeight(3));
    EXPECT_TRUE(data.IsRowHidden(7));

    SampleFormats f = MakeFormats();
    EXPECT_TRUE(f.title == data.GetCellFormat(1, 4));
    EXPECT_TRUE(f.amount == data.GetCellFormat(6, 2));
    EXPECT_TRUE(f.amount == data.GetCellFormat(12, 4));
    EXPECT_TRUE(f.signedBalance == data.GetCellFormat(9, 2));
    EXPECT_TRUE(f.box == data.GetCellFormat(10, 2));
    EXPECT_TRUE(CGridCellFormat() == data.GetCellFormat(8, 2));

    EXPECT_EQ(CString(L"Entrate è \"quotate\"\tin € ✓"), data.GetText(1, 1));
    EXPECT_EQ(1234.5678, data.GetNumber(3, 2));
    EXPECT_EQ(0.1, data.GetNumber(4, 2));
    EXPECT_EQ(-1e-7, data.GetNumber(5, 2));
    EXPECT_EQ(CString(L"=SUM(B3:B5)"), data.GetFormula(6, 2));
    EXPECT_EQ(CString(L"1.234,67"), data.GetText(6, 2));       // computed again after reading
    EXPECT_EQ(CString(L"sì"), data.GetText(7, 2));
    EXPECT_EQ(CString(L"=1+"), data.GetFormula(8, 2));
    EXPECT_EQ(CString(L"#NAME?"), data.GetText(8, 2));
    EXPECT_EQ(CString(L"-1.234,67"), data.GetText(9, 2));
    EXPECT_EQ(CString(L"\u00FE"), data.GetText(10, 2));
    EXPECT_EQ(CString(L"[EOF]"), copy.GetSheet(2)->GetText(11, 3));
}

TEST(GridBookFile, FileIsReplacedWholeAndReadBack)
{
    CTempFolder folder;
    CGridBook book;
    MakeSampleBook(book);
    CString strPath = folder.Write(L"Entrate.vts", "old content");
    CString strError;
    ASSERT_TRUE(book.WriteFile(strPath, strError)) << U8(strError);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(strPath + L".tmp"));

    CGridBook copy;
    ASSERT_TRUE(copy.ReadFile(strPath, strError)) << U8(strError);
    EXPECT_EQ(book.WriteText(), copy.WriteText());
    CGridBook fromEditor;   // text editors may put a byte-order mark in front
    ASSERT_TRUE(fromEditor.ReadFile(folder.Write(L"Bom.vts", "\xEF\xBB\xBF" + book.WriteText()), strError)) << U8(strError);
    EXPECT_EQ(book.WriteText(), fromEditor.WriteText());

    EXPECT_FALSE(book.WriteFile(folder.File(L"missing\\Entrate.vts"), strError));
    EXPECT_NE(-1, strError.Find(L"missing\\Entrate.vts"));
    EXPECT_FALSE(copy.ReadFile(folder.File(L"none.vts"), strError));
    EXPECT_NE(-1, strError.Find(L"Impossibile leggere il file"));
    EXPECT_EQ(book.WriteText(), copy.WriteText());
}

TEST(GridBookFile, DamagedFileIsRefusedAndTheBookStaysAsItWas)
{
    CGridBook sample;
    MakeSampleBook(sample);
    const std::string good = sample.WriteText();
    const struct
    {
        const char* pszWhat;
        std::string text;
        const wchar_t* pszError;
    } cases[] = {
        {"truncated", good.substr(0, good.size() / 2), L"JSON"},
        {"not JSON", "ciao", L"JSON"},
        {"not a workbook", "[1, 2]", L"non è una cartella di lavoro VTS"},
        {"wrong version", ReplaceFirst(good, "\"vts\": 1", "\"vts\": 2"), L"versione 2 non supportata"},
        {"row 0", ReplaceFirst(good, "\"at\": \"B3\"", "\"at\": \"B0\""), L"\"Entrate (A-2)\": indirizzo di cella non valido \"B0\""},
        {"column past IV", ReplaceFirst(good, "\"at\": \"B3\"", "\"at\": \"IW3\""), L"indirizzo di cella non valido \"IW3\""},
        {"cell twice", ReplaceFirst(good, "\"at\": \"B4\"", "\"at\": \"B3\""), L"cella B3 ripetuta"},
        {"limit out of range", ReplaceFirst(good, "\"maxRow\": 40", "\"maxRow\": 0"), L"\"maxRow\""},
        {"unknown key", ReplaceFirst(good, "\"titleRows\"", "\"titleRow\""), L"chiave sconosciuta \"titleRow\""},
        {"sheet name twice", ReplaceFirst(good, "\"Descrizione\"", "\"entrate (a-2)\""), L"nome del foglio"},
        {"format out of range", ReplaceFirst(good, "\"fmt\": 1", "\"fmt\": 99"), L"\"fmt\""},
        {"formula without =", ReplaceFirst(good, "\"=SUM(B3:B5)\"", "\"SUM(B3:B5)\""), L"formula"},
        {"bad colour", ReplaceFirst(good, "\"#FF0000\"", "\"#FF00\""), L"colore non valido"},
        {"bad alignment", ReplaceFirst(good, "\"right\"", "\"destra\""), L"\"hAlign\""},
        {"number as text", ReplaceFirst(good, "\"number\": 0.1", "\"number\": \"0.1\""), L"valore non valido per \"number\""},
        {"two contents", ReplaceFirst(good, "\"number\": 0.1", "\"number\": 0.1, \"text\": \"x\""), L"più di un contenuto"},
        {"no sheets", "{\"vts\": 1, \"sheets\": []}", L"non contiene fogli"},
        {"key twice", ReplaceFirst(good, "\"number\": 0.1", "\"number\": 0.1, \"number\": 0.2"), L"\"number\" ripetuta"},
        {"sheet key twice", ReplaceFirst(good, "\"maxRow\": 40", "\"maxRow\": 40, \"maxRow\": 41"), L"\"maxRow\" ripetuta"},
        {"number too large", ReplaceFirst(good, "\"number\": 0.1", "\"number\": 1e999"), L"JSON"},
        {"invalid UTF-8", ReplaceFirst(good, "\xC3\xA8", "\xC3\x28"), L"JSON"},
    };
    CGridBook book;
    MakeSampleBook(book);
    book.GetSheet(1)->SetText(20, 1, L"unsaved");
    const std::string before = book.WriteText();
    for (const auto& c : cases) {
        CString strError;
        EXPECT_FALSE(book.ReadText(c.text, strError)) << c.pszWhat;
        EXPECT_NE(-1, strError.Find(c.pszError)) << c.pszWhat << ": " << U8(strError);
        EXPECT_EQ(before, book.WriteText()) << c.pszWhat;
    }
}

// Files made to hurt the reader: each is refused whole with a text that says what and where, and nothing of it
// is built first.
TEST(GridBookFile, HostileFilesAreRefusedWithAClearError)
{
    auto workbook = [](const std::string& strCells) {
        return "{\"vts\": 1, \"sheets\": [{\"name\": \"Foglio\", \"cells\": [" + strCells + "]}]}";
    };
    auto formulaCell = [](const std::string& strFormula) {
        std::string json;
        for (char ch : strFormula)
            json += ch == '"' ? std::string("\\\"") : std::string(1, ch);
        return "{\"at\": \"C3\", \"formula\": \"" + json + "\"}";
    };
    const size_t kDeep = 1000;
    const struct
    {
        const char* pszWhat;
        std::string text;
        const wchar_t* pszError;
    } cases[] = {
        {"16,000 nested lists", "{\"a\":" + std::string(16000, '[') + std::string(16000, ']') + ",\"b\":1}",
         L"struttura annidata troppo in profondità"},
        {"nested objects in a cell", workbook("{\"at\": \"A1\", \"text\": {\"a\": {\"b\": {\"c\": {\"d\": 1}}}}}"),
         L"troppo in profondità"},
        {"formula 1000 brackets deep", workbook(formulaCell("=" + std::string(kDeep, '(') + "1" + std::string(kDeep, ')'))),
         L"foglio \"Foglio\": cella C3: formula troppo complessa"},
        {"formula of 200,000 signs", workbook(formulaCell("=" + std::string(200000, '-') + "1")),
         L"cella C3: formula troppo complessa"},
        {"formula of 150 signs", workbook(formulaCell("=" + std::string(150, '-') + "1")),
         L"cella C3: formula troppo complessa"},
        {"formula of nested calls", workbook(formulaCell("=" + [] {
             std::string s;
             for (int i = 0; i < 150; ++i)
                 s += "ABS(";
             return s + "1" + std::string(150, ')');
         }())),
         L"cella C3: formula troppo complessa"},
        {"formula of 100,000 characters", workbook(formulaCell("=" + std::string(99998, '1') + "+1")),
         L"cella C3: formula troppo complessa"},
        {"row 65537", workbook("{\"at\": \"A65537\", \"number\": 1}"), L"indirizzo di cella non valido \"A65537\""},
        {"row of 30 digits", workbook("{\"at\": \"A" + std::string(30, '9') + "\", \"number\": 1}"),
         L"indirizzo di cella non valido"},
        {"row height of a huge row",
         "{\"vts\": 1, \"sheets\": [{\"name\": \"F\", \"rows\": [{\"row\": 99999999999, \"height\": 300}]}]}",
         L"valore non valido per \"row\""},
        {"unknown top-level key", "{\"vts\": 1, \"sheets\": [{\"name\": \"F\"}], \"extra\": 1}",
         L"danneggiata: primo livello: chiave sconosciuta \"extra\""},
    };
    CGridBook book;
    book.GetSheet(1)->SetText(2, 2, L"resta");
    const std::string before = book.WriteText();
    for (const auto& c : cases) {
        CString strError;
        EXPECT_FALSE(book.ReadText(c.text, strError)) << c.pszWhat;
        EXPECT_NE(-1, strError.Find(c.pszError)) << c.pszWhat << ": " << U8(strError);
        EXPECT_EQ(before, book.WriteText()) << c.pszWhat;
    }
}

// A text that is not JSON is refused at the character where it stops being JSON, counted from 1 (the end of
// the text is one past its last character).
TEST(GridBookFile, TextThatIsNotJsonIsRefusedAtItsFirstWrongCharacter)
{
    const struct
    {
        const char* pszWhat;
        std::string text;
        unsigned nCharacter;
    } cases[] = {
        {"empty", "", 1},
        {"only spaces", " \t\r\n", 5},
        {"object not closed", "{", 2},
        {"comma before the end", "{\"vts\": 1,}", 11},
        {"text after the value", "[1, 2] x", 8},
        {"byte-order mark cut short", "\xEF\xBB", 3},
        {"byte-order mark wrong", "\xEF\xBC\xBF{}", 2},
        {"misspelt literal", "nulx", 4},
        {"literal cut short", "tru", 4},
        {"text not closed", "\"ab", 4},
        {"control character in a text", "\"a\x01\"", 3},
        {"unknown escape", "\"\\x\"", 3},
        {"escape with a bad hex digit", "\"\\u12G4\"", 6},
        {"second half of a pair alone", "\"\\uDC00\"", 7},
        {"first half of a pair alone", "\"\\uD800x\"", 8},
        {"first half, then another escape", "\"\\uD800\\x\"", 9},
        {"first half, then no second half", "\"\\uD800\\u0041\"", 13},
        {"UTF-8 sequence cut", "\"\xC3\x28\"", 3},
        {"UTF-8 too long a form", "\"\xE0\x80\x80\"", 3},
        {"UTF-8 of a surrogate", "\"\xED\xA0\x80\"", 3},
        {"UTF-8 past U+10FFFF", "\"\xF4\x90\x80\x80\"", 3},
        {"byte never in UTF-8", "\"\xFF\"", 2},
        {"lone minus", "-", 2},
        {"minus without digit", "-a", 2},
        {"point without digit", "1.e5", 3},
        {"exponent without digit", "1e+x", 4},
        {"leading zero", "01", 2},
        {"number too large", "1e999", 5},
        {"number too large in a cell",
         "{\"vts\": 1, \"sheets\": [{\"name\": \"F\", \"cells\": [{\"at\": \"A1\", \"number\": -1e999}]}]}", 75},
        {"colon missing", "{\"a\" 1}", 6},
        {"key not a text", "{1:2}", 2},
        {"comma missing", "[1 2]", 4},
        {"value missing", "[1,]", 4},
        {"null byte for a value", std::string("[1, \0]", 6), 5},
    };
    CGridBook book;
    book.GetSheet(1)->SetText(2, 2, L"resta");
    const std::string before = book.WriteText();
    for (const auto& c : cases) {
        CString strError, strExpected;
        strExpected.Format(L"Cartella di lavoro danneggiata: il testo non è JSON valido (carattere %u).", c.nCharacter);
        EXPECT_FALSE(book.ReadText(c.text, strError)) << c.pszWhat;
        EXPECT_EQ(U8(strExpected), U8(strError)) << c.pszWhat;
        EXPECT_EQ(before, book.WriteText()) << c.pszWhat;
    }
}

// Every form JSON allows for a value reads as the value it stands for.
TEST(GridBookFile, JsonFormsOfValuesAreReadAsTheValues)
{
    const struct
    {
        const char* pszWhat;
        std::string cell;                 // members after "at": "A1"
        double dNumber;                   // when no text
        const wchar_t* pszText;
    } cases[] = {
        {"escapes", "\"text\": \"a\\\"\\\\\\/\\b\\f\\n\\r\\tA\"", 0, L"a\"\\/\b\f\n\r\tA"},
        {"escaped letters", "\"text\": \"\\u00e8\\u20AC\"", 0, L"\u00E8\u20AC"},
        {"escaped pair", "\"text\": \"\\uD83D\\uDE00!\"", 0, L"\U0001F600!"},
        {"UTF-8 of every length", "\"text\": \"\xC3\xA8\xE2\x82\xAC\xF0\x9F\x98\x80\"", 0, L"\u00E8\u20AC\U0001F600"},
        {"negative whole number", "\"number\": -42", -42, nullptr},
        {"minus zero, whole", "\"number\": -0", 0, nullptr},
        {"exponent", "\"number\": 1.5E+3", 1500, nullptr},
        {"fraction with exponent", "\"number\": -2.5e-3", -0.0025, nullptr},
        {"largest whole number of 64 bits", "\"number\": 18446744073709551615", 18446744073709551615.0, nullptr},
        {"whole number past 64 bits", "\"number\": 123456789012345678901234567890", 1.2345678901234568e29, nullptr},
        {"smallest number", "\"number\": 4.9406564584124654e-324", 4.9406564584124654e-324, nullptr},
        {"number below the smallest", "\"number\": 1e-400", 0, nullptr},
        {"closest to 0.1", "\"number\": 0.1000000000000000055511151231257827", 0.1, nullptr},
    };
    for (const auto& c : cases) {
        std::string text = "\xEF\xBB\xBF {\r\n\t\"vts\":1,\"sheets\":[{\"name\":\"F\",\"cells\":[{\"at\":\"A1\"," + c.cell + "}]}]}\n";
        CGridBook book;
        CString strError;
        ASSERT_TRUE(book.ReadText(text, strError)) << c.pszWhat << ": " << U8(strError);
        const CGridCell* pCell = book.GetSheet(1)->GetCell(1, 1);
        ASSERT_NE(nullptr, pCell) << c.pszWhat;
        if (c.pszText) {
            ASSERT_TRUE(pCell->GetValue().IsText()) << c.pszWhat;
            EXPECT_EQ(U8(c.pszText), U8(pCell->GetValue().GetText())) << c.pszWhat;
        } else {
            ASSERT_TRUE(pCell->GetValue().IsNumber()) << c.pszWhat;
            EXPECT_EQ(c.dNumber, pCell->GetValue().GetNumber()) << c.pszWhat;
        }
    }
    // A text may end at a null byte, as a C string does: what follows is not read.
    CGridBook book;
    CString strError;
    EXPECT_TRUE(book.ReadText(std::string("{\"vts\": 1, \"sheets\": [{\"name\": \"F\"}]}\0\0\x01", 40), strError))
        << U8(strError);
    // Whole numbers and fractional ones stay apart where a whole number is asked for.
    EXPECT_FALSE(book.ReadText("{\"vts\": 1.0, \"sheets\": [{\"name\": \"F\"}]}", strError));
    EXPECT_NE(-1, strError.Find(L"non è una cartella di lavoro VTS")) << U8(strError);
    EXPECT_FALSE(book.ReadText("{\"vts\": 1, \"sheets\": [{\"name\": \"F\", \"maxRow\": 4e1}]}", strError));
    EXPECT_NE(-1, strError.Find(L"valore non valido per \"maxRow\"")) << U8(strError);
}

TEST(GridBookFile, MergedAreasAreWrittenReadBackAndChecked)
{
    CGridBook book;
    book.GetSheet(1)->SetText(1, 1, L"Entrate finali");
    ASSERT_TRUE(book.GetSheet(1)->MergeCells(CGridRange(1, 1, 1, 6)));
    ASSERT_TRUE(book.GetSheet(1)->MergeCells(CGridRange(3, 2, 5, 2)));
    std::string text = book.WriteText();
    EXPECT_NE(std::string::npos, text.find("\"merges\": [\n        \"A1:F1\",\n        \"B3:B5\"\n      ]"));
    CGridBook again;
    CString strError;
    ASSERT_TRUE(again.ReadText(text, strError)) << U8(strError);
    EXPECT_EQ(text, again.WriteText());

    auto workbook = [](const std::string& strMerges) {
        return "{\"vts\": 1, \"sheets\": [{\"name\": \"Foglio\", \"merges\": [" + strMerges + "]}]}";
    };
    const char* refused[] = {"\"A1\"", "\"A1:A1\"", "\"A1:C1\", \"B1:B2\"", "\"A1:IW1\"", "5", "\"C3:A1\""};
    for (const char* pszMerges : refused) {
        EXPECT_FALSE(again.ReadText(workbook(pszMerges), strError)) << pszMerges;
        EXPECT_NE(-1, strError.Find(L"\"merges\"")) << pszMerges << ": " << U8(strError);
    }
}
