// Feeds one of the program's readers with generated inputs for a while and reports what breaks it:
//
//     quarzel_fuzz <reader> <seconds> <seed> <folder>
//     quarzel_fuzz <reader> replay <file> [<input number>]
//     quarzel_fuzz <reader> remake <seed> <input number> <file>
//
// Readers: workbook (".vts" files), formula, description (form descriptions), number (numbers and amounts),
// date, sql (the Jet SQL translator), update (the update descriptor), importline (the import files' lines), zip
// (archives in memory), jet (damaged genuine Jet database files read through the data layer), layout (docking
// layouts in the XML, registry and archive stores), resourcefile (the XML resource file), icons (the icon stores),
// textdoc (".txd" documents: read, set fields, make fields, write, read again), filling (the report filling of a
// template's references and tags), barstate (the command-bar state over three sessions). Inputs are mutations of valid samples and texts built from each reader's
// grammar, with the blow-ups hostile files use (deep nesting, long repetitions, huge numbers). Each input is
// written to <folder>\<reader>.input before it is tried, and <folder>\<reader>.at holds the number of the input
// being made or tried, so that a crash leaves both behind; an input whose result breaks a rule of the reader (a
// written workbook that does not read back the same, a formula text that does not read back as itself ...) is kept
// as <reader>-finding-<n>.input. A watchdog ends the process when one input takes more than ten seconds of the
// processor or waits two minutes; one that takes more processor time than its size allows a reader that is linear
// in its input is a finding too. Exit code: 0 nothing found, 1 findings, 2 a hang; a crash ends the process as it is.
// The same seed gives the same inputs, and a reader's own random choices for an input depend on its number alone;
// "replay" tries one kept input again (with the choices of its number) and says how long it took; "remake" makes
// the seed's inputs up to the one numbered, without trying the others, writes it to the file and tries it, so that
// a crash while an input was being made shows again too. scripts/fuzz runs it under Wine.
#include "FuzzReaders.h"

#include "forms/FormInfo.h"
#include "platform/ado/JetErrors.h"
#include "platform/ado/JetSql.h"
#include "platform/com/comsupport.h"
#include "platform/grid/GridBook.h"
#include "platform/mfc/afxmsgbox.h"
#include "util/NumberFormat.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace
{
// ----------------------------------------------------------------------------------------------------------
// Readers. Each takes one input and answers an empty text, or the rule the result broke.

std::string SampleWorkbook()
{
    CGridBook book;
    CGridSheet& sheet = *book.GetSheet(1);
    CGridCellFormat amount;
    amount.m_strNumberFormat = L"#,##0.00";
    amount.m_bLocked = false;
    amount.m_borders[gridSideBottom] = CGridBorder{gridBorderThin, RGB(255, 0, 0)};
    sheet.SetCellFormat(CGridRange(2, 2, 4, 2), amount);
    sheet.SetText(1, 1, L"Entrate è");
    sheet.SetNumber(2, 2, 1234.5);
    sheet.SetNumber(3, 2, -0.25);
    sheet.SetFormula(4, 2, L"=SUM(B2:B3)*IF(A1=\"x\",1,2)");
    sheet.SetRowHeight(3, 400);
    sheet.SetColWidth(2, 2000);
    sheet.SetMaxRow(40);
    book.InsertSheet(2, L"Descrizione")->SetText(1, 1, L"I:+V;R:2101;F:Anno1");
    return book.WriteText();
}

std::string FuzzWorkbook(const std::string& input)
{
    CGridBook book;
    CString strError;
    if (!book.ReadText(input, strError))
        return strError.IsEmpty() ? "refused without a text" : "";
    std::string written = book.WriteText();
    CGridBook again;
    if (!again.ReadText(written, strError))
        return "the book written does not read back: " + strError.ToMultiByte(CP_UTF8);
    return again.WriteText() == written ? "" : "the book written reads back different";
}

std::string GenerateWorkbook(CFuzzRandom& rnd)
{
    static const std::string s_sample = SampleWorkbook();
    static const std::vector<std::string> s_words = {
        "{", "}", "[", "]", ",", ":", "\"", "\"at\": \"IV65536\"", "\"formula\": \"=(((1)))\"", "\"number\": 1e308",
        "\"text\": \"\\u00e8\\ud800\"", "\"fmt\": 2", "\"maxRow\": 65536", "\"rows\": [{\"row\": 7}]", "null", "true",
        "-0", "1E400", "\"sheets\"", "\"vts\"", "{\"at\": \"A1\"}", "\"locked\": false", "\"borderTop\": {\"style\": \"double\"}"};
    return Mutate(s_sample, rnd, s_words);
}

std::string RandomExpression(CFuzzRandom& rnd, int nDepth)
{
    static const std::vector<std::string> s_atoms = {"1", "2.5", "1E308", "0", "A1", "$B$7", "A1:C3", "\"x\"", "\"\"\"\"", "TRUE",
                                                     "#REF!", "#DIV/0!", "IV65536", "Z9", "nome", ".5", "1e-300"};
    static const std::vector<std::string> s_ops = {"+", "-", "*", "/", "^", "&", "=", "<>", "<", ">=", ":"};
    static const std::vector<std::string> s_calls = {"SUM", "IF", "ABS", "ROUND", "MIN", "MAX", "AND", "OR", "NOT", "XYZ"};
    if (nDepth <= 0 || rnd.Chance(30))
        return rnd.Pick(s_atoms);
    switch (rnd.Below(5)) {
    case 0: return RandomExpression(rnd, nDepth - 1) + rnd.Pick(s_ops) + RandomExpression(rnd, nDepth - 1);
    case 1: return "(" + RandomExpression(rnd, nDepth - 1) + ")";
    case 2: return std::string(rnd.Count(), '-') + RandomExpression(rnd, nDepth - 1);
    case 3: return RandomExpression(rnd, nDepth - 1) + "%";
    default: {
        std::string s = rnd.Pick(s_calls) + "(";
        for (size_t i = rnd.Below(4); i > 0; --i)
            s += RandomExpression(rnd, nDepth - 1) + (i > 1 ? "," : "");
        return s + ")";
    }
    }
}

std::string GenerateFormula(CFuzzRandom& rnd)
{
    static const std::vector<std::string> s_words = {"(", ")", "-", "+", "ABS(", ",", "\"", "$", ":", "%", "1", "A1", " "};
    std::string s = "=" + RandomExpression(rnd, static_cast<int>(rnd.Below(8)));
    return rnd.Chance(50) ? Mutate(s, rnd, s_words) : s;
}

std::string FuzzFormula(const std::string& input)
{
    CGridBook book;
    CGridSheet& sheet = *book.GetSheet(1);
    sheet.SetNumber(1, 1, 3);
    sheet.SetText(1, 2, L"4");
    if (!sheet.SetFormula(2, 1, Wide(input)))
        return "";
    sheet.GetText(2, 1);
    CGridFormula formula(Wide(input));
    if (!formula.IsValid())
        return "";
    CString strText = formula.GetText();
    CGridFormula again(strText);
    if (!again.IsValid())
        return "the formula's text does not read back: " + strText.ToMultiByte(CP_UTF8);
    if (again.GetText() != strText)
        return "the formula's text reads back different: " + strText.ToMultiByte(CP_UTF8);
    return "";
}

std::string GenerateDescription(CFuzzRandom& rnd)
{
    static const std::vector<std::string> s_keys = {"I", "L", "C", "S", "T", "R", "F", "NAME", "D", "B.Y", "B.N", "1", "FC", "i", " I", ""};
    static const std::vector<std::string> s_values = {"+V", "N", "D.2", "D.2147483647", "D.3000000000", "D.-5", "D.", "B.Y", "B.N", "B",
                                                      "T", "+", "12,5", "2147483648,-1", "x:y:z", "", "[EOF]"};
    std::string s;
    for (size_t n = 1 + rnd.Below(5); n > 0; --n)
        s += rnd.Pick(s_keys) + (rnd.Chance(90) ? ":" : "") + rnd.Pick(s_values) + (n > 1 ? ";" : "");
    return rnd.Chance(30) ? Mutate(s, rnd, s_values) : s;
}

std::string FuzzDescription(const std::string& input)
{
    CString strDesc = Wide(input);
    CCellInfo cell;
    cell.Parse(strDesc);
    if (cell.m_nDecimals < 0 || cell.m_nDecimals > kFormMaxDecimals)
        return "decimals out of range: " + std::to_string(cell.m_nDecimals);
    if (cell.GetNumberFormat().GetLength() > 32)
        return "a number format of " + std::to_string(cell.GetNumberFormat().GetLength()) + " characters";
    for (LPCTSTR pszKey : {L"I", L"R", L"NAME", L"B.N"})
        GetDescValue(strDesc, pszKey);
    return "";
}

std::string GenerateNumber(CFuzzRandom& rnd)
{
    static const std::vector<std::string> s_words = {"0", "1", "9", ".", ",", "-", "+", " ", "e", "E", "1.234,56", "1,234.56", "€"};
    std::string s;
    if (rnd.Chance(50)) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*f", static_cast<int>(rnd.Below(8)), rnd.Double());
        s = buf;
        for (char& ch : s)
            ch = ch == '.' ? ',' : ch;
    }
    return Mutate(s, rnd, s_words);
}

std::string FuzzNumber(const std::string& input, CFuzzRandom& rnd)
{
    CString strText = Wide(input);
    BOOL bError = FALSE;
    double d = ParseNumber(strText, bError);
    int nDecimals = static_cast<int>(rnd.Below(16));
    CString strShown = FormatNumber(bError ? rnd.Double() : d, nDecimals);
    if (strShown.GetLength() > 64)
        return "a number shown in " + std::to_string(strShown.GetLength()) + " characters";
    COleCurrency cur = ParseCurrency(strText);
    if (cur.GetStatus() == COleCurrency::valid) {
        // Whole cents survive being shown and read again.
        COleCurrency cents;
        cents.m_cur.int64 = cur.m_cur.int64 / 100 * 100;
        COleCurrency again = ParseCurrency(FormatCurrency(cents));
        if (again.GetStatus() != COleCurrency::valid || again.m_cur.int64 != cents.m_cur.int64)
            return "an amount does not read back as shown: " + FormatCurrency(cents).ToMultiByte(CP_UTF8);
    }
    FormatCurrencyFromDouble(rnd.Double());
    return "";
}

std::string GenerateDate(CFuzzRandom& rnd)
{
    static const std::vector<std::string> s_words = {"31/12/2008", "1/1/100", "29/02/2009", "10:30", "23:59:59", "/", ":", " ",
                                                     "9999", "0", "-1", "gennaio", "PM", "2008-12-31"};
    return Mutate(rnd.Pick(s_words), rnd, s_words);
}

std::string FuzzDate(const std::string& input)
{
    COleDateTime date;
    if (date.ParseDateTime(Wide(input)) && date.GetStatus() == COleDateTime::valid &&
        (date.GetYear() < 100 || date.GetYear() > 9999))
        return "a valid date in year " + std::to_string(date.GetYear());
    return "";
}

std::string GenerateSql(CFuzzRandom& rnd)
{
    static const std::vector<std::string> s_samples = {
        "SELECT [ID], [Anno1] FROM [Entrate] WHERE [ID] = 2101 ORDER BY [ID]",
        "UPDATE Entrate SET Anno3 = Anno1 * 2 \\ 3 WHERE Descr = \"a \"\"b\"\"\"",
        "CREATE TABLE t (a COUNTER, b CURRENCY, c TEXT(50), d MEMO)",
        "ALTER TABLE t ADD CONSTRAINT fk FOREIGN KEY (a) REFERENCES u (a)",
        "CREATE INDEX PK_t ON t (a) WITH PRIMARY", "INSERT INTO t (a, b) VALUES (1, 12.5)",
        "SELECT SUM(a) AS s FROM t GROUP BY b"};
    static const std::vector<std::string> s_words = {"(", ")", "[", "]", "\"", "'", "\\", "COUNTER(", "CURRENCY", "TEXT(", ",", " ",
                                                     "SELECT", "WITH PRIMARY", "ADD CONSTRAINT", "--", ";"};
    return Mutate(rnd.Pick(s_samples), rnd, s_words);
}

// Two tables of the program's kind, so that the translator gives expressions their Jet types.
class CFuzzSchema : public CJetSchema
{
public:
    const std::vector<CJetColumn>* TableColumns(const std::wstring& table) override
    {
        static const std::vector<CJetColumn> s_entrate = {
            {L"ID", jetKindInteger, 4}, {L"Descr", jetKindText, 50}, {L"Anno1", jetKindCurrency, 8}, {L"Anno3", jetKindCurrency, 8}};
        static const std::vector<CJetColumn> s_t = {{L"a", jetKindInteger, 4}, {L"b", jetKindCurrency, 8}, {L"c", jetKindText, 50}};
        return table == L"Entrate" ? &s_entrate : table == L"t" ? &s_t : nullptr;
    }
};

std::string FuzzSql(const std::string& input)
{
    CFuzzSchema schema;
    CJetErrorLog log;
    JetTranslate(std::wstring(static_cast<LPCTSTR>(Wide(input))), &schema, &log);
    return "";
}

const CReader s_readers[] = {
    {"workbook", GenerateWorkbook, [](const std::string& s, CFuzzRandom&) { return FuzzWorkbook(s); }},
    {"formula", GenerateFormula, [](const std::string& s, CFuzzRandom&) { return FuzzFormula(s); }},
    {"description", GenerateDescription, [](const std::string& s, CFuzzRandom&) { return FuzzDescription(s); }},
    {"number", GenerateNumber, FuzzNumber},
    {"date", GenerateDate, [](const std::string& s, CFuzzRandom&) { return FuzzDate(s); }},
    {"sql", GenerateSql, [](const std::string& s, CFuzzRandom&) { return FuzzSql(s); }},
    {"update", GenerateUpdateInfo, FuzzUpdateInfo},
    {"importline", GenerateImportLine, FuzzImportLine},
    {"zip", GenerateZip, FuzzZip},
    {"jet", GenerateJet, FuzzJet, JetSummary},
    {"layout", GenerateLayout, FuzzLayout},
    {"resourcefile", GenerateResourceFile, FuzzResourceFile},
    {"icons", GenerateIcons, FuzzIcons},
    {"textdoc", GenerateRtf, FuzzTextDocument},
    {"filling", GenerateTemplate, FuzzFilling},
    {"barstate", GenerateBarState, FuzzBarState},
};

// Tries the input once; answers the rule it broke, or a text for the refusal by exception.
std::string TryInput(const CReader& reader, const std::string& input, CFuzzRandom& rnd)
{
    try {
        return reader.run(input, rnd);
    } catch (CException* e) {
        e->Delete();   // a framework or a database exception is a refusal with a text
    } catch (const _com_error&) {
    } catch (const std::exception& e) {
        return std::string("exception: ") + e.what();
    }
    return "";
}

// The file that holds the input being tried, kept open: opening a file for every input costs more than most
// readers take.
class CInputFile
{
public:
    explicit CInputFile(const CString& strPath)
        : m_hFile(::CreateFileW(strPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr))
    {
    }
    ~CInputFile()
    {
        if (m_hFile != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_hFile);
    }
    bool Write(const std::string& input)
    {
        DWORD dwWritten = 0;
        return m_hFile != INVALID_HANDLE_VALUE && ::SetFilePointer(m_hFile, 0, nullptr, FILE_BEGIN) == 0 &&
               ::WriteFile(m_hFile, input.data(), static_cast<DWORD>(input.size()), &dwWritten, nullptr) &&
               dwWritten == input.size() && ::SetEndOfFile(m_hFile);
    }

private:
    HANDLE m_hFile;
};

// Where the run is: the number of the input and whether it is being made or tried, a record of fixed width
// rewritten in place before each step.
class CProgressFile
{
public:
    explicit CProgressFile(const CString& strPath) : m_file(strPath) {}
    bool Write(unsigned long long nInput, const char* pszStep)
    {
        char szRecord[48];
        std::snprintf(szRecord, sizeof szRecord, "%20llu %-8s\n", nInput, pszStep);
        return m_file.Write(szRecord);
    }

private:
    CInputFile m_file;
};

// A reader's own random choices for an input: from its number, so that a replay makes the same ones.
CFuzzRandom TryRandom(unsigned long long nInput)
{
    return CFuzzRandom(nInput * 0x9E3779B97F4A7C15ULL + 1);
}

ULONGLONG ThreadMilliseconds(HANDLE hThread)
{
    FILETIME created, exited, kernel, user;
    if (!::GetThreadTimes(hThread, &created, &exited, &kernel, &user))
        return 0;
    auto value = [](const FILETIME& ft) { return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime; };
    return (value(kernel) + value(user)) / 10000;
}

// The watchdog: the loop counts its inputs; an input that takes more than ten seconds of the processor ends the
// process, and so does one that waits two minutes. Processor time, so that the first input of a reader that starts
// beside many others (its windows and samples made while Wine starts them all) is not taken for a hang.
std::atomic<unsigned long long> g_nInputs{0};
const ULONGLONG kHangMilliseconds = 10000;
const DWORD kHangWaitMilliseconds = 120000;

struct CWatched
{
    HANDLE hThread;   // the loop's
    const CString* pInputPath;
};

DWORD WINAPI Watchdog(LPVOID pWatched)
{
    const CWatched& watched = *static_cast<CWatched*>(pWatched);
    unsigned long long nLast = g_nInputs.load();
    DWORD dwSince = ::GetTickCount();
    ULONGLONG nSince = ThreadMilliseconds(watched.hThread);
    for (;;) {
        ::Sleep(250);
        unsigned long long n = g_nInputs.load();
        if (n != nLast) {
            nLast = n;
            dwSince = ::GetTickCount();
            nSince = ThreadMilliseconds(watched.hThread);
        } else if (ThreadMilliseconds(watched.hThread) - nSince > kHangMilliseconds ||
                   ::GetTickCount() - dwSince > kHangWaitMilliseconds) {
            std::fwprintf(stdout, L"hang: one input took more than %llu s of the processor or waited %lu s: %ls\n",
                          kHangMilliseconds / 1000, kHangWaitMilliseconds / 1000,
                          static_cast<LPCTSTR>(*watched.pInputPath));
            std::fflush(stdout);
            // Not ExitProcess: the libraries would be shut down under the loop that still runs in them, and the
            // hang would end as a crash.
            ::TerminateProcess(::GetCurrentProcess(), 2);
        }
    }
}

// What an input may take when the reader is linear in it: two seconds of the processor, and four more per megabyte;
// a blow-up of a square shows far beyond. Processor time, not the clock's, so that readers side by side on a
// loaded machine do not count each other's turns.
DWORD LinearMilliseconds(size_t nBytes)
{
    return 2000 + static_cast<DWORD>(nBytes / 250);
}

// Nobody answers a message box here: its text goes to the output.
int PrintMessageBox(const AFX_MSGBOX_REQUEST& request)
{
    std::fwprintf(stdout, L"message box: %ls\n", static_cast<LPCTSTR>(request.text));
    return IDOK;
}
} // namespace

namespace
{
void Usage()
{
    std::fwprintf(stderr, L"usage: quarzel_fuzz <reader> <seconds> <seed> <folder>\n"
                          L"       quarzel_fuzz <reader> replay <file> [<input number>]\n"
                          L"       quarzel_fuzz <reader> remake <seed> <input number> <file>\n");
}

// Tries one input as the run tried it, and says what was found and how long it took.
int TryAgain(const CReader& reader, const std::string& input, unsigned long long nInput)
{
    CFuzzRandom rnd = TryRandom(nInput);
    DWORD dwStart = ::GetTickCount();
    std::string fault = TryInput(reader, input, rnd);
    std::printf("replay %s: %s (%lu ms)\n", reader.pszName, fault.empty() ? "nothing found" : fault.c_str(),
                ::GetTickCount() - dwStart);
    return fault.empty() ? 0 : 1;
}

// The inputs of a seed up to the one numbered, made as the run makes them; the last one written to the file.
int Remake(const CReader& reader, unsigned long long nSeed, unsigned long long nInput, const CString& strFile)
{
    CFuzzRandom rnd(nSeed);
    std::string input;
    for (unsigned long long n = 0; n <= nInput; ++n)
        input = reader.generate(rnd);
    if (!WriteInput(strFile, input)) {
        std::fwprintf(stderr, L"cannot write %ls\n", static_cast<LPCTSTR>(strFile));
        return 64;
    }
    return TryAgain(reader, input, nInput);
}

int Run(const CReader& reader, DWORD dwSeconds, unsigned long long nSeed, const CString& strFolder)
{
    CString strInput = strFolder + L"\\" + CString(reader.pszName) + L".input";
    std::printf("fuzz %s: seed %llu, %lu s\n", reader.pszName, nSeed, dwSeconds);
    std::fflush(stdout);

    CInputFile inputFile(strInput);
    CProgressFile progress(strFolder + L"\\" + CString(reader.pszName) + L".at");
    CWatched watched = {nullptr, &strInput};
    ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(), &watched.hThread, 0, FALSE,
                      DUPLICATE_SAME_ACCESS);
    ::CreateThread(nullptr, 0, Watchdog, &watched, 0, nullptr);
    CFuzzRandom rnd(nSeed);
    int nFindings = 0;
    DWORD dwStart = ::GetTickCount();
    while (::GetTickCount() - dwStart < dwSeconds * 1000) {
        const unsigned long long nInput = g_nInputs.load();
        bool bWritten = progress.Write(nInput, "making");
        std::string input = reader.generate(rnd);
        bWritten = bWritten && inputFile.Write(input) && progress.Write(nInput, "trying");
        if (!bWritten) {
            std::fwprintf(stderr, L"cannot write %ls\n", static_cast<LPCTSTR>(strInput));
            return 64;
        }
        CFuzzRandom rndTry = TryRandom(nInput);
        ULONGLONG nInputStart = ThreadMilliseconds(::GetCurrentThread());
        std::string fault = TryInput(reader, input, rndTry);
        ULONGLONG nTaken = ThreadMilliseconds(::GetCurrentThread()) - nInputStart;
        if (fault.empty() && nTaken > LinearMilliseconds(input.size()))
            fault = "took " + std::to_string(nTaken) + " ms of the processor for " + std::to_string(input.size()) + " bytes";
        if (!fault.empty()) {
            CString strFinding;
            strFinding.Format(L"-finding-%d.input", ++nFindings);
            strFinding = strFolder + L"\\" + CString(reader.pszName) + strFinding;
            WriteInput(strFinding, input);
            std::printf("finding: input %llu: %s: %s\n", nInput, fault.substr(0, 300).c_str(),
                        strFinding.ToMultiByte(CP_UTF8).c_str());
            std::fflush(stdout);
        }
        ++g_nInputs;
    }
    std::printf("fuzz %s: %llu inputs%s, %d findings\n", reader.pszName, g_nInputs.load(),
                reader.summary ? (", " + reader.summary()).c_str() : "", nFindings);
    return nFindings ? 1 : 0;
}
} // namespace

int wmain(int argc, wchar_t* argv[])
{
    const CReader* pReader = nullptr;
    for (const CReader& reader : s_readers)
        if (argc >= 2 && CString(argv[1]) == CString(reader.pszName))
            pReader = &reader;
    const CString strMode = argc >= 3 ? CString(argv[2]) : CString();
    const bool bReplay = strMode == L"replay" && (argc == 4 || argc == 5);
    const bool bRemake = strMode == L"remake" && argc == 6;
    const bool bRun = strMode != L"replay" && strMode != L"remake" && argc == 5;
    if (!pReader || !(bReplay || bRemake || bRun)) {
        Usage();
        return 64;
    }
    AfxSetMessageBoxHandler(PrintMessageBox);
    ::OleInitialize(nullptr);   // the XML stores and the bars' drag and drop
    if (bReplay) {
        std::string input;
        if (!ReadInput(argv[3], input)) {
            std::fwprintf(stderr, L"cannot read %ls\n", argv[3]);
            return 64;
        }
        return TryAgain(*pReader, input, argc == 5 ? std::wcstoull(argv[4], nullptr, 10) : 0);
    }
    if (bRemake)
        return Remake(*pReader, std::wcstoull(argv[3], nullptr, 10), std::wcstoull(argv[4], nullptr, 10), argv[5]);
    return Run(*pReader, static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)), std::wcstoull(argv[3], nullptr, 10),
               argv[4]);
}
