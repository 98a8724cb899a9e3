#include "ImportTestArchive.h"

#include "engine/RecalcSaldi.h"
#include "import/ImportGest.h"
#include "import/ImportTarget.h"
#include "resource.h"
#include "support/MessageBoxRecorder.h"
#include "util/MessageText.h"

namespace {

class ImportGestTest : public CImportTestArchive
{
protected:
    static std::string Line(const char* code, long long y2008, long long y2009, long long y2010)
    {
        return std::string(code) + "Descrizione voce    " + Right(std::to_string(y2008), 15) +
               Right(std::to_string(y2009), 15) + Right(std::to_string(y2010), 15);
    }

    void Seed()
    {
        Execute(L"DELETE FROM SaldoFinProg");
        Put(L"SaldoFinProg", 2101, {{L"Anno5Com", 10}});
        Put(L"SaldoFinProg", 2406, {{L"Anno4Com", 9}, {L"Anno5Com", 9}, {L"Anno6Com", 9}});
        Put(L"SaldoFinProg", 201, {{L"Anno4Com", 0}});
    }

    CString Revenues()
    {
        // No line for code 023; the last line with a code wins; a short line reads 0.
        return WriteFile(L"nentrate.txt", {Line("002", 999, 999, 999), Line("002", 123456, -50000, 0),
                                           "003 short line", Line("XYZ", 1, 1, 1)});
    }
    CString Expenses()
    {
        return WriteFile(L"nuscite.txt", {Line("001", 2147483648LL, 7, 8), Line("170", 999999999999999LL, 0, 1)});
    }
};

TEST_F(ImportGestTest, OptionsAndAmountsOfTheThreeForecastYears)
{
    const double N = Null;
    const struct { long nID; LPCTSTR pszField; double expected[3]; } fields[] = {
        {2101, L"Anno4Com", {1234.56, 1234.56, 1234.56}},
        {2101, L"Anno5Com", {-500, -500, 10}},             // option 2 keeps a figure
        {2101, L"Anno6Com", {0, 0, 0}},
        {2102, L"Anno4Com", {0, 0, 0}},                    // a short line writes zeros
        {2406, L"Anno4Com", {N, 9, 9}},                    // absent from the file
        {2406, L"Anno6Com", {N, 9, 9}},
        {201, L"Anno4Com", {21474836.48, 21474836.48, 21474836.48}},   // beyond 32-bit cents
        {202, L"Anno4Com", {9999999999999.99, 9999999999999.99, 9999999999999.99}},
        {202, L"Anno6Com", {0.01, 0.01, 0.01}},
    };
    for (int nOption = 0; nOption <= 2; ++nOption) {
        Seed();
        CMessageBoxRecorder boxes;
        ASSERT_TRUE(CImportGest(m_data, nOption).Import(Revenues(), Expenses())) << nOption;
        ASSERT_EQ(1u, boxes.Count());
        EXPECT_EQ(LoadResString(IDP_IMPORT_DONE), boxes.Last().text);
        for (const auto& f : fields) {
            double expected = f.expected[nOption];
            if (std::isnan(expected))
                EXPECT_TRUE(IsNull(L"SaldoFinProg", f.nID, f.pszField)) << f.nID << " option " << nOption;
            else
                EXPECT_EQ(expected, Get(L"SaldoFinProg", f.nID, f.pszField)) << f.nID << " option " << nOption;
        }
        EXPECT_FALSE(HasRow(L"SaldoFinProg", 203));
        // The forecast balances are recomputed with the figures.
        std::string imported = DumpTable(L"SaldoFinProg");
        ASSERT_TRUE(CalcSaldoFinProg(m_data));
        EXPECT_EQ(imported, DumpTable(L"SaldoFinProg")) << nOption;
    }
}

TEST_F(ImportGestTest, FailuresLeaveTheArchiveAsItWas)
{
    Seed();
    ASSERT_TRUE(RecalcSaldi(m_data));
    const struct { const char* name; CString revenues; CString expenses; UINT nIcon; CString expected; } cases[] = {
        {"expense file missing", Revenues(), m_folder.File(L"none.txt"), MB_ICONERROR, m_folder.File(L"none.txt")},
        {"revenue file empty", m_folder.Write(L"empty.txt", "\r\n  \r\n"), Expenses(), MB_ICONWARNING,
         FormatResMessage(IDP_IMPORT_FILE_EMPTY, m_folder.File(L"empty.txt"))},
        {"another kind of file", m_folder.Write(L"lettera.txt", "Spett.le Comune\r\nsi trasmettono i dati richiesti.\r\n"),
         Expenses(), MB_ICONWARNING, FormatResMessage(IDP_IMPORT_NO_GEST_DATA, m_folder.File(L"lettera.txt"))},
        {"binary expense file", Revenues(), m_folder.Write(L"bin.txt", Line("001", 1, 2, 3) + "\n\x7f\x05\x06"),
         MB_ICONWARNING, FormatResMessage(IDP_IMPORT_NOT_TEXT, m_folder.File(L"bin.txt"), 2)},
    };
    for (const auto& c : cases) {
        const std::string before = ArchiveBytes();
        CMessageBoxRecorder boxes;
        EXPECT_FALSE(CImportGest(m_data, 0).Import(c.revenues, c.expenses)) << c.name;
        ASSERT_EQ(1u, boxes.Count()) << c.name;
        EXPECT_EQ(c.nIcon, boxes.LastIcon()) << c.name;
        EXPECT_NE(-1, boxes.Last().text.Find(c.expected)) << c.name;
        EXPECT_TRUE(before == ArchiveBytes()) << c.name;
    }

    // The recomputation fails after the rows are written.
    Execute(L"DROP TABLE SaldoProg");
    const std::string before = ArchiveBytes();
    CMessageBoxRecorder boxes;
    EXPECT_FALSE(CImportGest(m_data, 0).Import(Revenues(), Expenses()));
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.LastIcon());
    EXPECT_TRUE(before == ArchiveBytes());
}

// Each file whose amounts are not whole numbers of cents is refused naming the file's kind, the file and the line,
// and the archive keeps every byte.
TEST_F(ImportGestTest, MalformedAmountsRefuseTheImport)
{
    Seed();
    ASSERT_TRUE(RecalcSaldi(m_data));
    const char* const malformed[] = {"12A456", "1.5", "12,345", "1e5", "- 5", "0x10", "+7", "5-"};
    for (const char* amount : malformed) {
        for (bool bExpenses : {false, true}) {
            SCOPED_TRACE(std::string(amount) + (bExpenses ? " in the expenses" : " in the revenues"));
            std::string bad = (bExpenses ? "170" : "003") + std::string("Descrizione voce    ") +
                              Right("100", 15) + Right(amount, 15) + Right("0", 15);
            CString strBad = WriteFile(L"bad.txt", {Line(bExpenses ? "001" : "002", 1, 2, 3), bad});
            const std::string before = ArchiveBytes();
            CMessageBoxRecorder boxes;
            EXPECT_FALSE(CImportGest(m_data, 0).Import(bExpenses ? Revenues() : strBad,
                                                       bExpenses ? strBad : Expenses()));
            ASSERT_EQ(1u, boxes.Count());
            EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING), boxes.LastIcon());
            EXPECT_EQ(FormatResMessage(IDP_IMPORT_GEST_BAD_AMOUNT,
                                       LoadResString(bExpenses ? IDS_GEST_EXPENSES : IDS_GEST_REVENUES), strBad, 2,
                                       CString(Right(amount, 15).c_str())),
                      boxes.Last().text);
            EXPECT_TRUE(before == ArchiveBytes());
        }
    }
}

// A line cut inside an amount lost some of its digits (a 2010 amount of 12.345.678,90 cut at 65 characters would
// read 12.345,67): the import is refused naming the line and the field as the line holds it.
TEST_F(ImportGestTest, ALineCutInsideAnAmountRefusesTheImport)
{
    Seed();
    ASSERT_TRUE(RecalcSaldi(m_data));
    const std::string cut = Line("003", 1, 2, 1234567890).substr(0, 65);
    CString strCut = WriteFile(L"nentrate.txt", {Line("002", 1, 2, 3), cut});
    const std::string before = ArchiveBytes();
    CMessageBoxRecorder boxes;
    EXPECT_FALSE(CImportGest(m_data, importSourceFields).Import(strCut, Expenses()));
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(FormatResMessage(IDP_IMPORT_GEST_BAD_AMOUNT, LoadResString(IDS_GEST_REVENUES), strCut, 2,
                               CString(cut.substr(53).c_str())),
              boxes.Last().text);
    EXPECT_TRUE(before == ArchiveBytes());
}

// Files that hold only codes the program does not import give nothing: whatever the option, the archive keeps
// every byte (option 0 does not erase the forecast first) and no success is reported.
TEST_F(ImportGestTest, FilesWithNothingToImportChangeNothingWhateverTheOption)
{
    Seed();
    ASSERT_TRUE(RecalcSaldi(m_data));
    CString strRevenues = WriteFile(L"nentrate.txt", {Line("001", 5, 6, 7), Line("099", 5, 6, 7)});
    CString strExpenses = WriteFile(L"nuscite.txt", {Line("002", 1, 2, 3)});
    for (int nOption = importEraseAll; nOption <= importEmptyFields; ++nOption) {
        SCOPED_TRACE(nOption);
        const std::string before = ArchiveBytes();
        CMessageBoxRecorder boxes;
        EXPECT_FALSE(CImportGest(m_data, nOption).Import(strRevenues, strExpenses));
        ASSERT_EQ(2u, boxes.Count());
        EXPECT_EQ(FormatResMessage(IDP_IMPORT_GEST_UNMAPPED, LoadResString(IDS_GEST_REVENUES), strRevenues),
                  boxes.Shown()[0].text);
        EXPECT_EQ(FormatResMessage(IDP_IMPORT_GEST_UNMAPPED, LoadResString(IDS_GEST_EXPENSES), strExpenses),
                  boxes.Shown()[1].text);
        EXPECT_TRUE(before == ArchiveBytes());
    }
}

// UTF-8 files are read as characters, with or without the byte-order mark; an expense file holds only 001 and
// 170; a file whose records are all of codes the program does not import gives nothing and says so, while the
// other file is imported.
TEST_F(ImportGestTest, FilesOfEveryKindTheSoftwareWrites)
{
    // "à" and "€" take two and three bytes in UTF-8: one character each.
    const std::string utf8Description = "Tributi \xC3\xA0 ruolo \xE2\x82\xAC   ";   // 20 characters
    ASSERT_EQ(23u, utf8Description.size());
    auto utf8Line = [&](const char* code, long long a, long long b, long long c) {
        return std::string(code) + utf8Description + Right(std::to_string(a), 15) + Right(std::to_string(b), 15) +
               Right(std::to_string(c), 15);
    };
    const std::string bom = "\xEF\xBB\xBF";
    struct Case
    {
        const char* name;
        std::string revenues;
        std::string expenses;
        double row2101[3];
        double row201[3];
        UINT nUnmappedKind;     // the file that gives nothing, 0 for none
    };
    const Case cases[] = {
        {"UTF-8 with the mark", bom + utf8Line("002", 123456, -50000, 7) + "\r\n",
         Line("001", 100, 200, 300), {1234.56, -500, 0.07}, {1, 2, 3}, 0u},
        {"UTF-8 without the mark", utf8Line("002", 123456, -50000, 7) + "\r\n" + utf8Line("003", 1, 1, 1),
         Line("001", 100, 200, 300), {1234.56, -500, 0.07}, {1, 2, 3}, 0u},
        {"expenses of 001 and 170 only", Line("002", 5, 6, 7),
         Line("001", 100, 200, 300) + "\r\n" + Line("170", 1, 0, -1), {0.05, 0.06, 0.07}, {1, 2, 3}, 0u},
        {"revenue codes not imported", Line("001", 5, 6, 7) + "\r\n" + Line("099", 5, 6, 7),
         Line("001", 100, 200, 300), {0, 10, 0}, {1, 2, 3}, IDS_GEST_REVENUES},
        {"expense codes not imported", Line("002", 5, 6, 7), Line("002", 100, 200, 300) + "\r\n" + Line("171", 1, 1, 1),
         {0.05, 0.06, 0.07}, {0, 0, 0}, IDS_GEST_EXPENSES},
    };
    const LPCTSTR fields[] = {L"Anno4Com", L"Anno5Com", L"Anno6Com"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Seed();
        CString strRevenues = m_folder.Write(L"nentrate.txt", c.revenues);
        CString strExpenses = m_folder.Write(L"nuscite.txt", c.expenses);
        CMessageBoxRecorder boxes;
        ASSERT_TRUE(CImportGest(m_data, 1).Import(strRevenues, strExpenses));
        ASSERT_EQ(c.nUnmappedKind ? 2u : 1u, boxes.Count());
        if (c.nUnmappedKind) {
            EXPECT_EQ(FormatResMessage(IDP_IMPORT_GEST_UNMAPPED, LoadResString(c.nUnmappedKind),
                                       c.nUnmappedKind == IDS_GEST_EXPENSES ? strExpenses : strRevenues),
                      boxes.Shown()[0].text);
            EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), boxes.Shown()[0].type & MB_ICONMASK);
        }
        EXPECT_EQ(LoadResString(IDP_IMPORT_DONE), boxes.Last().text);
        for (int y = 0; y < 3; ++y) {
            const struct { long nID; double expected; } rows[] = {{2101, c.row2101[y]}, {201, c.row201[y]}};
            for (const auto& r : rows)
                EXPECT_EQ(r.expected, Get(L"SaldoFinProg", r.nID, fields[y])) << r.nID << " " << y;
        }
    }
}

} // namespace
