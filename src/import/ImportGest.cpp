#include "ImportGest.h"

#include "engine/RecalcSaldi.h"
#include "import/ImportTarget.h"
#include "import/ImportTextFile.h"
#include "platform/mfc/afxmsgbox.h"
#include "platform/mfc/afxwaitcursor.h"
#include "resource.h"

#include <cstdio>
#include <iterator>

namespace {

const LPCTSTR kForecastFields[] = {L"Anno4Com", L"Anno5Com", L"Anno6Com"};

} // namespace

CImportGest::CImportGest(CADOConnection& data, int nOption) : m_data(data), m_nOption(nOption)
{
}

bool CImportGest::ReadFile(LPCTSTR pszPath, CLineMap& lines)
{
    CWaitCursor wait;
    CImportTextFile file;
    if (!file.Read(pszPath))
        return false;
    lines.clear();
    for (const std::string& text : file.GetLines()) {
        CGestLine line = ParseGestLine(text);
        lines[line.code] = line;
    }
    return true;
}

bool CImportGest::Import(LPCTSTR pszRevenuePath, LPCTSTR pszExpensePath)
{
    m_strRevenuePath = pszRevenuePath;
    m_strExpensePath = pszExpensePath;
    if (!ReadFile(pszRevenuePath, m_revenues) || !ReadFile(pszExpensePath, m_expenses))
        return false;

    static const CEntry revenues[] = {
        {2, 2101}, {3, 2102}, {4, 2103}, {6, 2201}, {7, 2202}, {8, 2203}, {9, 2204}, {10, 2205}, {12, 2301},
        {13, 2302}, {14, 2303}, {15, 2304}, {16, 2305}, {18, 2401}, {19, 2402}, {20, 2403}, {21, 2404},
        {22, 2405}, {23, 2406},
    };
    static const CEntry expenses[] = {{1, 201}, {170, 202}};
    try {
        CADOTransaction transaction(m_data);
        {
            CSetSaldi set(L"SaldoFinProg", m_data);
            if (m_nOption == importEraseAll) {
                for (LPCTSTR pszField : kForecastFields)
                    set.ClearColumn(pszField);
            }
            set.OpenRows(CSetSaldi::forUpdate);
            WriteRows(set, m_revenues, revenues, std::size(revenues));
            WriteRows(set, m_expenses, expenses, std::size(expenses));
        }
        CalcSaldoFinProg(m_data);
        transaction.Commit();
    }
    catch (const _com_error& e) {
        ShowImportError(e, m_data);
        return false;
    }
    catch (CException* e) {
        ShowImportError(e);
        return false;
    }
    AfxMessageBox(IDP_IMPORT_DONE, MB_ICONINFORMATION);
    return true;
}

void CImportGest::WriteRows(CSetSaldi& set, const CLineMap& lines, const CEntry* pEntries, size_t nCount)
{
    for (size_t i = 0; i < nCount; ++i) {
        set.FindOrAddRow(pEntries[i].nRow);
        char code[16];
        snprintf(code, sizeof(code), "%03d", pEntries[i].nCode);
        auto found = lines.find(code);
        if (found != lines.end()) {
            for (size_t y = 0; y < std::size(kForecastFields); ++y)
                WriteImportedAmount(set, kForecastFields[y], CurrencyFromCents(found->second.cents[y]), m_nOption);
        }
        set.UpdateRow();
    }
}
