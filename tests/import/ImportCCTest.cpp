#include "ImportTestArchive.h"

#include "engine/RecalcSaldi.h"
#include "import/ImportCC.h"
#include "import/ImportLines.h"
#include "import/ImportTarget.h"
#include "resource.h"
#include "support/MessageBoxRecorder.h"
#include "util/MessageText.h"

#include <vector>

namespace {

class ImportCCTest : public CImportTestArchive
{
protected:
    static std::string Header(int nYear) { return "0" + std::to_string(nYear) + " CERTIFICATO AL CONTO"; }
    static std::string RecordB(const std::string& code, const std::vector<long long>& amounts)
    {
        std::string line = "B" + std::string(11, ' ') + code;
        for (size_t k = 0; k < 20; ++k)
            line += Right(std::to_string(k < amounts.size() ? amounts[k] : 0), 20);
        return line;
    }
    static std::string RecordA(const std::string& code, long long amount)
    {
        std::string line = "A" + std::string(11, ' ') + code + Right(std::to_string(amount), 20);
        line.resize(kCertLengthA, ' ');
        return line;
    }
    static std::string ShortB() { return RecordB("02005", {}).substr(0, kCertLengthB - 1); }

    // A certificate of 2005 with revenues 2005 (accrual 100, cash 20 + 30), 2065 as an "A" record with only an
    // accrual amount, 2035 under a code with a blank after it (no match), and spending 3005.
    CString WriteCertificate(LPCTSTR pszName = L"CC0501.txt")
    {
        return WriteFile(pszName, {Header(2005), RecordB("02005", {100, 20, 30}), RecordA("02065", 1500),
                                   RecordB("2035 ", {55, 55, 55}), "C trailer", "", RecordB("03005", {500, 1, 2})});
    }

    void Seed()
    {
        Execute(L"DELETE FROM Entrate");
        Execute(L"DELETE FROM SaldoFin");
        Put(L"Entrate", 2101, {{L"Anno3", 10}, {L"Anno2", 99}});
        Put(L"Entrate", 3101, {{L"Anno3", Null}});
        Put(L"Entrate", 2102, {{L"Anno3", 7}});
        Put(L"Entrate", 3103, {{L"Anno3", 4}});
        Put(L"SaldoFin", 201, {{L"Anno3", 5}});
        Put(L"SaldoFin", 1201, {{L"Anno3", 0}});
    }
};

TEST_F(ImportCCTest, OptionsDecideWhichFieldsOfTheYearAreWrittenAndEverythingIsRecomputed)
{
    const double N = Null;   // null after the import
    const struct { LPCTSTR pszTable; long nID; double expected[3]; } rows[] = {
        {L"Entrate", 2101, {100, 100, 10}},     // in the file; option 2 keeps a figure
        {L"Entrate", 3101, {50, 50, 50}},       // null target: amounts 2 + 3
        {L"Entrate", 2102, {N, 7, 7}},          // the file's code "2035 " does not match 02035
        {L"Entrate", 2103, {1500, 1500, 1500}}, // added by the import
        {L"Entrate", 3103, {N, 4, 4}},          // a single amount leaves the cash row alone
        {L"SaldoFin", 201, {500, 500, 5}},
        {L"SaldoFin", 1201, {3, 3, 3}},         // 0 counts as empty
    };
    for (int nOption = 0; nOption <= 2; ++nOption) {
        Seed();
        CMessageBoxRecorder boxes;
        CImportCC importer(m_data, 2005, nOption);
        ASSERT_TRUE(importer.Import(WriteCertificate())) << nOption;
        ASSERT_EQ(1u, boxes.Count());
        EXPECT_EQ(LoadResString(IDP_IMPORT_DONE), boxes.Last().text);
        EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), boxes.LastIcon());

        for (const auto& row : rows) {
            double expected = row.expected[nOption];
            if (std::isnan(expected))
                EXPECT_TRUE(IsNull(row.pszTable, row.nID, L"Anno3")) << row.nID << " option " << nOption;
            else
                EXPECT_EQ(expected, Get(row.pszTable, row.nID, L"Anno3")) << row.nID << " option " << nOption;
        }
        EXPECT_EQ(99.0, Get(L"Entrate", 2101, L"Anno2")) << "another year's field";
        // The derived rows are what the recomputation makes of the imported ones.
        const double titleOne = Get(L"Entrate", 2101, L"Anno3") + (nOption == 0 ? 0 : 7) + 1500;
        EXPECT_EQ(titleOne, Get(L"Entrate", 2104, L"Anno3")) << nOption;
        EXPECT_EQ(titleOne, Get(L"SaldoFin", 101, L"Anno3")) << nOption;
        std::string imported = DumpBalances();
        ASSERT_TRUE(RecalcSaldi(m_data));
        EXPECT_EQ(imported, DumpBalances()) << nOption;
    }
}

TEST_F(ImportCCTest, YearFieldFollowsTheChosenYear)
{
    const struct { int nYear; LPCTSTR pszField; } years[] = {{2003, L"Anno1"}, {2004, L"Anno2"}, {2005, L"Anno3"}};
    for (const auto& y : years) {
        CMessageBoxRecorder boxes;
        CString path = WriteFile(L"CC.txt", {Header(y.nYear), RecordB("02005", {y.nYear})});
        ASSERT_TRUE(CImportCC(m_data, y.nYear, importSourceFields).Import(path));
        EXPECT_EQ(static_cast<double>(y.nYear), Get(L"Entrate", 2101, y.pszField));
    }
}

TEST_F(ImportCCTest, HeaderOfAnotherYearAsksAndOkImportsIntoTheChosenYear)
{
    Seed();
    CString path = WriteFile(L"CC0401.txt", {Header(2004), RecordB("02005", {100, 20, 30})});
    {
        CMessageBoxRecorder boxes(IDCANCEL);
        const std::string before = ArchiveBytes();
        EXPECT_FALSE(CImportCC(m_data, 2005, 1).Import(path));
        ASSERT_EQ(1u, boxes.Count());
        EXPECT_EQ(FormatResMessage(IDP_IMPORT_OTHER_YEAR, 2004), boxes.Last().text);
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes.LastIcon());
        EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL), boxes.LastButtons());
        EXPECT_TRUE(before == ArchiveBytes());
    }
    CMessageBoxRecorder boxes(IDOK);
    EXPECT_TRUE(CImportCC(m_data, 2005, 1).Import(path));
    EXPECT_EQ(2u, boxes.Count());
    EXPECT_EQ(100.0, Get(L"Entrate", 2101, L"Anno3"));
}

TEST_F(ImportCCTest, BadLineNamesItsNumberAndOkSkipsIt)
{
    Seed();
    CString path = WriteFile(L"CC0501.txt", {Header(2005), RecordB("02005", {100}), ShortB(),
                                             "X unknown record"});
    CMessageBoxRecorder boxes(IDOK);
    EXPECT_TRUE(CImportCC(m_data, 2005, 1).Import(path));
    ASSERT_EQ(3u, boxes.Count());
    EXPECT_EQ(FormatResMessage(IDP_IMPORT_LINE_ERROR, 3), boxes.Shown()[0].text);
    EXPECT_EQ(FormatResMessage(IDP_IMPORT_LINE_ERROR, 4), boxes.Shown()[1].text);
    EXPECT_EQ(100.0, Get(L"Entrate", 2101, L"Anno3"));
    EXPECT_EQ(5.0, Get(L"SaldoFin", 201, L"Anno3"));
}

// Whatever stops the import, the archive file is byte for byte as before.
TEST_F(ImportCCTest, FailuresLeaveTheArchiveAsItWas)
{
    Seed();
    ASSERT_TRUE(RecalcSaldi(m_data));
    const std::string good = RecordB("02005", {100, 20, 30});
    const std::string big = RecordB("03005", {9007199254740992LL});   // 2^53 units: beyond currency
    CString locked = WriteFile(L"locked.txt", {Header(2005), good});
    HANDLE hLock = ::CreateFileW(locked, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hLock);
    const struct { const char* name; CString path; int nAnswer; UINT nIcon; CString expected; } cases[] = {
        {"bad last line, cancel", WriteFile(L"bad.txt", {Header(2005), good, ShortB()}), IDCANCEL,
         MB_ICONEXCLAMATION, FormatResMessage(IDP_IMPORT_LINE_ERROR, 3)},
        {"2^53 amount, cancel", WriteFile(L"big.txt", {Header(2005), good, big}), IDCANCEL, MB_ICONEXCLAMATION,
         FormatResMessage(IDP_IMPORT_LINE_ERROR, 3)},
        {"missing", m_folder.File(L"none.txt"), IDOK, MB_ICONERROR, m_folder.File(L"none.txt")},
        {"locked", locked, IDOK, MB_ICONERROR, locked},
        {"empty", m_folder.Write(L"empty.txt", ""), IDOK, MB_ICONWARNING,
         FormatResMessage(IDP_IMPORT_FILE_EMPTY, m_folder.File(L"empty.txt"))},
        {"binary", m_folder.Write(L"bin.txt", Header(2005) + "\r\n" + good + "\r\n" + std::string("B\0\x01\x02", 4)),
         IDOK, MB_ICONWARNING, FormatResMessage(IDP_IMPORT_NOT_TEXT, m_folder.File(L"bin.txt"), 3)},
        {"no figures", WriteFile(L"nodata.txt", {Header(2005), "C only"}), IDOK, MB_ICONWARNING,
         FormatResMessage(IDP_IMPORT_NO_DATA, m_folder.File(L"nodata.txt"))},
    };
    for (const auto& c : cases) {
        const std::string before = ArchiveBytes();
        CMessageBoxRecorder boxes(c.nAnswer);
        EXPECT_FALSE(CImportCC(m_data, 2005, 0).Import(c.path)) << c.name;
        ASSERT_EQ(1u, boxes.Count()) << c.name;
        EXPECT_EQ(c.nIcon, boxes.LastIcon()) << c.name;
        EXPECT_NE(-1, boxes.Last().text.Find(c.expected)) << c.name << ": " << boxes.Last().text.ToMultiByte(CP_UTF8);
        EXPECT_TRUE(before == ArchiveBytes()) << c.name;
    }
    ::CloseHandle(hLock);
}

TEST_F(ImportCCTest, DatabaseErrorDuringTheRecomputationRollsTheFiguresBack)
{
    Seed();
    Execute(L"DROP TABLE Monitor");
    const std::string before = ArchiveBytes();
    CMessageBoxRecorder boxes;
    EXPECT_FALSE(CImportCC(m_data, 2005, 0).Import(WriteCertificate()));
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.LastIcon());
    EXPECT_FALSE(boxes.Last().text.IsEmpty());
    EXPECT_EQ(0, m_data.GetTransactionDepth());
    EXPECT_TRUE(before == ArchiveBytes());
}

} // namespace
