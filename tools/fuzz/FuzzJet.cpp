// Damaged genuine Jet database files, opened through the data layer as the import opens the planning product's
// database: the connection, then every table through a record set on it and through "SELECT *", every value of
// every row. A damaged file may be refused, but only with a _com_error that says why, and reading never changes
// the file.
#include "FuzzReaders.h"

#include "platform/ado/adodb.h"

namespace
{
struct CJetSample
{
    std::string bytes;
    size_t nPageSize;
    std::vector<size_t> pagesInUse;   // pages that are not all zeros: the ones worth damaging
};

// Jet 3 pages are 2048 bytes, Jet 4 pages 4096: the header's version byte says which.
size_t PageSize(const std::string& bytes)
{
    return bytes.size() > 0x14 && bytes[0x14] == 0 ? 2048 : 4096;
}

const std::vector<CJetSample>& Samples()
{
    static const std::vector<CJetSample> s_samples = [] {
        std::vector<CJetSample> samples;
        const CString strFolder = L"Z:" QUARZEL_JET_SAMPLES;
        WIN32_FIND_DATAW found;
        HANDLE hFind = ::FindFirstFileW(strFolder + L"\\*.mdb", &found);
        for (BOOL bMore = hFind != INVALID_HANDLE_VALUE; bMore; bMore = ::FindNextFileW(hFind, &found)) {
            CJetSample sample;
            if (!ReadInput(strFolder + L"\\" + found.cFileName, sample.bytes))
                continue;
            sample.nPageSize = PageSize(sample.bytes);
            for (size_t at = 0; at < sample.bytes.size(); at += sample.nPageSize)
                if (sample.bytes.find_first_not_of('\0', at) < at + sample.nPageSize)
                    sample.pagesInUse.push_back(at / sample.nPageSize);
            samples.push_back(sample);
        }
        if (hFind != INVALID_HANDLE_VALUE)
            ::FindClose(hFind);
        if (samples.empty())
            std::fwprintf(stderr, L"fuzz jet: no sample in %ls\n", static_cast<LPCTSTR>(strFolder));
        return samples;
    }();
    return s_samples;
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
    const std::vector<CJetSample>& samples = Samples();
    if (samples.empty())
        return std::string();
    const CJetSample& sample = samples[rnd.Below(samples.size())];
    std::string bytes = sample.bytes;
    const size_t nPage = sample.nPageSize;
    for (size_t n = 1 + rnd.Below(3); n > 0; --n) {
        const size_t at = PickPage(sample, rnd) * nPage;
        switch (rnd.Below(6)) {
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
        default: {   // byte-level mutation of one page, which may grow or shrink the file
            std::string page = bytes.substr(std::min(at, bytes.size()), nPage);
            bytes.replace(std::min(at, bytes.size()), page.size(), Mutate(page, rnd, s_words));
            break;
        }
        }
    }
    return bytes;
}

std::string FuzzJet(const std::string& input, CFuzzRandom&)
{
    static const CString s_strPath = ScratchFile(L"jet.mdb");
    static const LPCWSTR s_tables[] = {L"Table1", L"Table2", L"Table3", L"Table4", L"test", L"MSysObjects"};
    // The reader's diagnostics of every damaged page would fill the run's log and hide its findings.
    static const bool s_bQuiet = _wfreopen(L"NUL", L"w", stderr) != nullptr;
    (void)s_bQuiet;
    if (!WriteInput(s_strPath, input))
        return "cannot write the file to open";
    const CString strOpen = L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + s_strPath;
    // Without a password first, then with the one of the sample that has one.
    const CString opens[] = {strOpen, strOpen + L";Jet OLEDB:Database Password=password"};
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
