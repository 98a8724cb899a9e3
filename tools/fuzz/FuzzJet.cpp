// Damaged genuine Jet database files, opened through the data layer as the import opens the planning product's
// database: the connection, then every table through a record set on it and through "SELECT *", every value of
// every row. A damaged file may be refused, but only with a _com_error that says why, and reading never changes
// the file.
#include "FuzzReaders.h"

#include "platform/ado/adodb.h"

#include <atomic>

namespace
{
struct CJetSample
{
    std::string bytes;
    size_t nPageSize;
    std::vector<size_t> pagesInUse;   // pages that are not all zeros: the ones worth damaging
    std::vector<size_t> definitions;  // the table-definition pages that the reader reads
    const std::string* pPristine;     // the genuine file it was made from
    size_t nChanged = 0;              // of a seed, the definition it changed
};

// Jet 3 pages are 2048 bytes, Jet 4 pages 4096: the header's version byte says which.
size_t PageSize(const std::string& bytes)
{
    return bytes.size() > 0x14 && bytes[0x14] == 0 ? 2048 : 4096;
}

const unsigned char kDefinitionPage = 0x02;

// The reader's diagnostics of every damaged page would fill the run's log and hide its findings.
void Quiet()
{
    static const bool s_bQuiet = _wfreopen(L"NUL", L"w", stderr) != nullptr;
    (void)s_bQuiet;
}

// Opened without a password first, then with the one of the sample that has one.
std::vector<CString> Connections(const CString& strPath)
{
    const CString strOpen = L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + strPath;
    return {strOpen, strOpen + L";Jet OLEDB:Database Password=password"};
}

bool Opens(const std::string& bytes)
{
    static const CString s_strPath = ScratchFile(L"jet-sample.mdb");
    bool bOpens = false;
    if (WriteInput(s_strPath, bytes)) {
        _ConnectionPtr connection;
        connection.CreateInstance(__uuidof(Connection));
        for (const CString& strConnection : Connections(s_strPath)) {
            try {
                connection->Open(_bstr_t(static_cast<LPCTSTR>(strConnection)), L"", L"", -1);
                connection->Close();
                bOpens = true;
                break;
            } catch (const _com_error&) {
            }
        }
    }
    ::DeleteFileW(s_strPath);
    return bOpens;
}

uint32_t ReadLittle(const std::string& bytes, size_t at, size_t size)
{
    uint32_t value = 0;
    for (size_t i = 0; i < size && at + i < bytes.size(); ++i)
        value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

void WriteLittle(std::string& bytes, size_t at, size_t size, uint32_t value)
{
    for (size_t i = 0; i < size && at + i < bytes.size(); ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
}

// The definitions the reader reads are the ones whose page, zeroed, has the file refused; the others are of the
// system's tables.
std::vector<size_t> ReadDefinitions(const std::string& bytes, size_t nPageSize)
{
    std::vector<size_t> definitions;
    for (size_t page = 1; (page + 1) * nPageSize <= bytes.size(); ++page) {
        if (static_cast<unsigned char>(bytes[page * nPageSize]) != kDefinitionPage)
            continue;
        std::string zeroed = bytes;
        zeroed.replace(page * nPageSize, nPageSize, std::string(nPageSize, '\0'));
        if (!Opens(zeroed))
            definitions.push_back(page);
    }
    return definitions;
}

// The genuine files, and as seeds copies of them with one definition that the reader reads continued on itself or
// on another one.
struct CJetSamples
{
    std::vector<CJetSample> genuine;
    std::vector<CJetSample> seeds;
};

const CJetSamples& Samples()
{
    static const std::vector<std::string> s_files = [] {
        std::vector<std::string> files;
        const CString strFolder = L"Z:" QUARZEL_JET_SAMPLES;
        WIN32_FIND_DATAW found;
        HANDLE hFind = ::FindFirstFileW(strFolder + L"\\*.mdb", &found);
        for (BOOL bMore = hFind != INVALID_HANDLE_VALUE; bMore; bMore = ::FindNextFileW(hFind, &found)) {
            std::string bytes;
            if (ReadInput(strFolder + L"\\" + found.cFileName, bytes))
                files.push_back(bytes);
        }
        if (hFind != INVALID_HANDLE_VALUE)
            ::FindClose(hFind);
        if (files.empty())
            std::fwprintf(stderr, L"fuzz jet: no sample in %ls\n", static_cast<LPCTSTR>(strFolder));
        return files;
    }();
    static const CJetSamples s_samples = [] {
        Quiet();
        CJetSamples samples;
        for (const std::string& file : s_files) {
            CJetSample sample;
            sample.bytes = file;
            sample.pPristine = &file;
            sample.nPageSize = PageSize(file);
            for (size_t at = 0; at < file.size(); at += sample.nPageSize)
                if (file.find_first_not_of('\0', at) < at + sample.nPageSize)
                    sample.pagesInUse.push_back(at / sample.nPageSize);
            sample.definitions = ReadDefinitions(file, sample.nPageSize);
            samples.genuine.push_back(sample);
            for (size_t definition : sample.definitions) {
                for (size_t next : {definition, sample.definitions.front()}) {
                    CJetSample seed = sample;
                    seed.nChanged = definition;
                    WriteLittle(seed.bytes, definition * sample.nPageSize + 4, 4, static_cast<uint32_t>(next));
                    samples.seeds.push_back(seed);
                }
            }
        }
        return samples;
    }();
    return s_samples;
}

// Inputs whose header page is the genuine one (they open as far as the tables) with a definition that the reader
// reads changed and still in the file.
std::atomic<unsigned long long> g_nDefinitionInputs{0};

bool ReachesDefinition(const CJetSample& sample, const std::string& bytes)
{
    const size_t nPage = sample.nPageSize;
    const std::string& pristine = *sample.pPristine;
    if (bytes.size() < nPage || bytes.compare(0, nPage, pristine, 0, nPage) != 0)
        return false;
    for (size_t definition : sample.definitions) {
        const size_t at = definition * nPage;
        if (at + nPage <= bytes.size() && bytes.compare(at, nPage, pristine, at, nPage) != 0)
            return true;
    }
    return false;
}

// One change of a definition: a count (of rows, columns, indexes, real indexes), a usage map's row, its link to
// the page it goes on at, or bytes of its column and index records.
void MutateDefinitionOnce(std::string& bytes, const CJetSample& sample, size_t nDefinition, CFuzzRandom& rnd)
{
    const size_t nPage = sample.nPageSize;
    const bool bJet3 = nPage == 2048;
    const size_t at = nDefinition * nPage;
    const size_t nPages = sample.bytes.size() / nPage;
    struct CField { size_t offset, size; };
    static const CField s_jet3[] = {{12, 4}, {23, 2}, {25, 2}, {27, 4}, {31, 4}, {35, 4}, {39, 4}};
    static const CField s_jet4[] = {{16, 4}, {43, 2}, {45, 2}, {47, 4}, {51, 4}, {55, 4}, {59, 4}};
    switch (rnd.Below(3)) {
    case 0: {
        const CField& field = bJet3 ? s_jet3[rnd.Below(7)] : s_jet4[rnd.Below(7)];
        static const uint32_t s_values[] = {0, 1, 255, 256, 4096, 65535, 65536, 1u << 24, 0x7fffffffu, 0xffffffffu};
        const uint32_t old = ReadLittle(bytes, at + field.offset, field.size);
        uint32_t value = rnd.Chance(50) ? old + static_cast<uint32_t>(rnd.Below(9)) - 4
                                        : s_values[rnd.Below(sizeof s_values / sizeof s_values[0])];
        WriteLittle(bytes, at + field.offset, field.size, value);
        break;
    }
    case 1: {
        // Itself, another definition, a page in use, none, just past the file, a number that wraps past 4 GB to
        // itself, the largest.
        const uint32_t wrap = static_cast<uint32_t>((uint64_t{1} << 32) / nPage);
        const uint32_t links[] = {static_cast<uint32_t>(nDefinition), static_cast<uint32_t>(rnd.Pick(sample.definitions)),
                                  static_cast<uint32_t>(rnd.Pick(sample.pagesInUse)), 0,
                                  static_cast<uint32_t>(nPages), static_cast<uint32_t>(nPages + 1),
                                  wrap + static_cast<uint32_t>(nDefinition), 0xffffffffu};
        WriteLittle(bytes, at + 4, 4, links[rnd.Below(sizeof links / sizeof links[0])]);
        break;
    }
    default: {
        const size_t nRecords = bJet3 ? 43 : 63;
        for (size_t i = rnd.Count(); i > 0; --i) {
            const size_t offset = at + nRecords + rnd.Below(nPage - nRecords);
            WriteLittle(bytes, offset, rnd.Chance(50) ? 1 : 2,
                        rnd.Chance(30) ? 0xffffu : (rnd.Chance(50) ? static_cast<uint32_t>(rnd.Below(65536))
                                                                   : static_cast<uint32_t>(rnd.Below(16))));
        }
        break;
    }
    }
}

// One of the definitions that the reader reads (mostly a seed's own) changed in one to three ways: the damage
// that counts and links do is mostly the two together.
void MutateDefinition(std::string& bytes, const CJetSample& sample, CFuzzRandom& rnd)
{
    if (sample.definitions.empty())
        return;
    const size_t nDefinition = sample.nChanged && rnd.Chance(70) ? sample.nChanged : rnd.Pick(sample.definitions);
    for (size_t n = 1 + rnd.Below(3); n > 0; --n)
        MutateDefinitionOnce(bytes, sample, nDefinition, rnd);
}

// A refusal is clean when it says why.
std::string Unclean(const _com_error& e, const char* pszWhat)
{
    return e.Description().length() ? std::string() : std::string(pszWhat) + " refused without a description";
}

// Every value of every row of the source, its fields' names and types too.
void ReadAll(_ConnectionPtr connection, const CString& strSource, long nOptions)
{
    _RecordsetPtr recordset;
    recordset.CreateInstance(__uuidof(Recordset));
    recordset->Open(_variant_t(static_cast<LPCTSTR>(strSource)), _variant_t(static_cast<IDispatch*>(connection), true),
                    adOpenStatic, adLockReadOnly, nOptions);
    FieldsPtr fields = recordset->GetFields();
    for (; !recordset->GetEOF(); recordset->MoveNext())
        for (long i = 0; i < fields->GetCount(); ++i) {
            FieldPtr field = fields->GetItem(i);
            field->GetName();
            field->GetType();
            field->GetValue();
        }
    recordset->Close();
}

// A page of the sample, mostly one in use.
size_t PickPage(const CJetSample& sample, CFuzzRandom& rnd)
{
    return rnd.Chance(80) ? rnd.Pick(sample.pagesInUse) : rnd.Below(sample.bytes.size() / sample.nPageSize);
}
} // namespace

std::string GenerateJet(CFuzzRandom& rnd)
{
    static const std::vector<std::string> s_words = {std::string(4, '\xff'), std::string(4, '\0'), "\x01\x01", "\x02\x01",
                                                     std::string("\x00\x00\x00\x80", 4), "Table1", "MSysObjects"};
    const CJetSamples& samples = Samples();
    if (samples.genuine.empty())
        return std::string();
    const std::vector<CJetSample>& from = rnd.Chance(25) && !samples.seeds.empty() ? samples.seeds : samples.genuine;
    const CJetSample& sample = rnd.Pick(from);
    std::string bytes = sample.bytes;
    const size_t nPage = sample.nPageSize;
    for (size_t n = 1 + rnd.Below(3); n > 0; --n) {
        const size_t at = PickPage(sample, rnd) * nPage;
        switch (rnd.Below(8)) {
        case 0:   // cut at a page boundary, or a little off it
            bytes.resize(std::min(bytes.size(), at + (rnd.Chance(70) ? 0 : rnd.Below(nPage))));
            break;
        case 1:   // a page of garbage
            for (size_t i = at; i < std::min(bytes.size(), at + nPage); ++i)
                bytes[i] = static_cast<char>(rnd.Below(256));
            break;
        case 2:   // a page of zeros, or another page's copy: its links point where they should not
            if (at + nPage <= bytes.size()) {
                const size_t from = PickPage(sample, rnd) * nPage;
                bytes.replace(at, nPage, rnd.Chance(30) || from + nPage > bytes.size() ? std::string(nPage, '\0')
                                                                                       : bytes.substr(from, nPage));
            }
            break;
        case 3:   // a few bytes of a page in use changed: counts, offsets, page numbers
            for (size_t i = rnd.Count(); i > 0 && !bytes.empty(); --i)
                bytes[std::min(bytes.size() - 1, at + rnd.Below(nPage))] = static_cast<char>(
                    rnd.Chance(50) ? rnd.Below(256) : (rnd.Chance(50) ? 0xff : 0));
            break;
        case 4:   // the header page's bytes, where version, page size and the encrypted area are
            if (!bytes.empty())
                bytes[rnd.Below(std::min(bytes.size(), nPage))] = static_cast<char>(rnd.Below(256));
            break;
        case 6:
        case 7:
            MutateDefinition(bytes, sample, rnd);
            break;
        default: {   // byte-level mutation of one page, which may grow or shrink the file
            std::string page = bytes.substr(std::min(at, bytes.size()), nPage);
            bytes.replace(std::min(at, bytes.size()), page.size(), Mutate(page, rnd, s_words));
            break;
        }
        }
    }
    if (ReachesDefinition(sample, bytes))
        ++g_nDefinitionInputs;
    return bytes;
}

std::string JetSummary()
{
    return std::to_string(g_nDefinitionInputs.load()) + " with a changed table definition that the reader reads";
}

std::string FuzzJet(const std::string& input, CFuzzRandom&)
{
    static const CString s_strPath = ScratchFile(L"jet.mdb");
    static const LPCWSTR s_tables[] = {L"Table1", L"Table2", L"Table3", L"Table4", L"test", L"MSysObjects"};
    Quiet();
    if (!WriteInput(s_strPath, input))
        return "cannot write the file to open";
    const std::vector<CString> opens = Connections(s_strPath);
    std::string fault;
    try {
        _ConnectionPtr connection;
        connection.CreateInstance(__uuidof(Connection));
        for (const CString& strConnection : opens) {
            try {
                if (connection->GetState() == adStateClosed)
                    connection->Open(_bstr_t(static_cast<LPCTSTR>(strConnection)), L"", L"", -1);
            } catch (const _com_error& e) {
                fault = fault.empty() ? Unclean(e, "the file") : fault;
            }
        }
        for (LPCWSTR pszTable : s_tables) {
            const CString sources[] = {pszTable, CString(L"SELECT * FROM [") + pszTable + L"]"};
            for (int i = 0; i < 2 && fault.empty() && connection->GetState() == adStateOpen; ++i) {
                try {
                    ReadAll(connection, sources[i], i == 0 ? adCmdTableDirect : adCmdText);
                } catch (const _com_error& e) {
                    fault = Unclean(e, "a table");
                }
            }
        }
        if (connection->GetState() == adStateOpen)
            connection->Close();
    } catch (CException* e) {
        e->Delete();
        fault = "refused with a framework exception instead of a database error";
    }
    std::string after;
    if (fault.empty() && (!ReadInput(s_strPath, after) || after != input))
        fault = "the file changed while it was read";
    ::DeleteFileW(s_strPath);   // the input is kept anyway; a copy of megabytes need not stay behind
    return fault;
}
