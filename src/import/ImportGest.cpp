#include "ImportGest.h"

#include "engine/RecalcSaldi.h"
#include "import/ImportTarget.h"
#include "import/ImportTextFile.h"
#include "platform/mfc/afxmsgbox.h"
#include "platform/mfc/afxwaitcursor.h"
#include "resource.h"
#include "util/MessageText.h"

#include <cstdio>
#include <iterator>

namespace {

const LPCTSTR kForecastFields[] = {L"Anno4Com", L"Anno5Com", L"Anno6Com"};

std::string CodeText(int nCode)
{
    char code[16];
    snprintf(code, sizeof(code), "%03d", nCode);
    return code;
}

} // namespace

const CImportGest::CEntry CImportGest::s_revenues[] = {
    {2, 2101}, {3, 2102}, {4, 2103}, {6, 2201}, {7, 2202}, {8, 2203}, {9, 2204}, {10, 2205}, {12, 2301},
    {13, 2302}, {14, 2303}, {15, 2304}, {16, 2305}, {18, 2401}, {19, 2402}, {20, 2403}, {21, 2404},
    {22, 2405}, {23, 2406},
};
const CImportGest::CEntry CImportGest::s_expenses[] = {{1, 201}, {170, 202}};

CImportGest::CImportGest(CADOConnection& data, int nOption) : m_data(data), m_nOption(nOption)
{
}

// A file without any record is another kind of file: with option 0 it would only erase. A file whose records
// are all of codes the program does not import gives nothing, and the user reads so; the other file still counts.
bool CImportGest::ReadFile(LPCTSTR pszPath, UINT nKind, CLineMap& lines, const CEntry* pEntries, size_t nCount)
{
    CWaitCursor wait;
    CImportTextFile file;
    if (!file.Read(pszPath))
        return false;
    lines.clear();
    bool bRecords = false;
    int nLine = 0;
    for (const std::string& text : file.GetLines()) {
        ++nLine;
        if (!IsGestRecord(text))
            continue;
        bRecords = true;
        CGestLine line;
        std::string badField;
        if (!ParseGestLine(text, line, badField)) {
            AfxMessageBox(FormatResMessage(IDP_IMPORT_GEST_BAD_AMOUNT, LoadResString(nKind), pszPath, nLine,
                                           CString::FromMultiByte(badField.data(), static_cast<int>(badField.size()), 1252)),
                          MB_ICONWARNING);
            return false;
        }
        lines[line.code] = line;
    }
    if (!bRecords) {
        AfxMessageBox(FormatResMessage(IDP_IMPORT_NO_GEST_DATA, pszPath), MB_ICONWARNING);
        return false;
    }
    if (!HasImportedCode(lines, pEntries, nCount))
        AfxMessageBox(FormatResMessage(IDP_IMPORT_GEST_UNMAPPED, LoadResString(nKind), pszPath), MB_ICONINFORMATION);
    return true;
}

bool CImportGest::HasImportedCode(const CLineMap& lines, const CEntry* pEntries, size_t nCount)
{
    for (size_t i = 0; i < nCount; ++i) {
        if (lines.count(CodeText(pEntries[i].nCode)))
            return true;
    }
    return false;
}

bool CImportGest::Import(LPCTSTR pszRevenuePath, LPCTSTR pszExpensePath)
{
    if (!ReadFile(pszRevenuePath, IDS_GEST_REVENUES, m_revenues, s_revenues, std::size(s_revenues)) ||
        !ReadFile(pszExpensePath, IDS_GEST_EXPENSES, m_expenses, s_expenses, std::size(s_expenses)))
        return false;
    // With nothing to import, even option 0 changes nothing: the user has read why for each file.
    if (!HasImportedCode(m_revenues, s_revenues, std::size(s_revenues)) &&
        !HasImportedCode(m_expenses, s_expenses, std::size(s_expenses)))
        return false;
    return StoreImport(m_data, [&] {
        {
            CSetSaldi set(L"SaldoFinProg", m_data);
            if (m_nOption == importEraseAll) {
                for (LPCTSTR pszField : kForecastFields)
                    set.ClearColumn(pszField);
            }
            set.OpenRows(CSetSaldi::forUpdate);
            WriteRows(set, m_revenues, s_revenues, std::size(s_revenues));
            WriteRows(set, m_expenses, s_expenses, std::size(s_expenses));
        }
        CalcSaldoFinProg(m_data);
    });
}

void CImportGest::WriteRows(CSetSaldi& set, const CLineMap& lines, const CEntry* pEntries, size_t nCount)
{
    for (size_t i = 0; i < nCount; ++i) {
        set.FindOrAddRow(pEntries[i].nRow);
        auto found = lines.find(CodeText(pEntries[i].nCode));
        if (found != lines.end()) {
            for (size_t y = 0; y < std::size(kForecastFields); ++y)
                WriteImportedAmount(set, kForecastFields[y], CurrencyFromCents(found->second.cents[y]), m_nOption);
        }
        set.UpdateRow();
    }
}
