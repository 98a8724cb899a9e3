#include "WorkbookBinding.h"

#include "WorkbookSource.h"
#include "data/SetDati.h"
#include "support/Utf8File.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <memory>

CString WorkbookSourceFolder()
{
    // The sources of the checkout, through the drive Wine maps to the root.
    CString strFolder = L"Z:" QUARZEL_WORKBOOK_SOURCES;
    strFolder.Replace(L'/', L'\\');
    return strFolder;
}

std::vector<CString> ShippedWorkbookNames()
{
    std::vector<CString> names;
    WIN32_FIND_DATAW found;
    HANDLE hFind = ::FindFirstFileW(WorkbookSourceFolder() + L"\\*.wbs", &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return names;
    do {
        CString strName = found.cFileName;
        names.push_back(strName.Left(strName.GetLength() - 4));
    } while (::FindNextFileW(hFind, &found));
    ::FindClose(hFind);
    std::sort(names.begin(), names.end(), [](const CString& a, const CString& b) { return a.Compare(b) < 0; });
    return names;
}

CString ReadWorkbookSource(const CString& strName)
{
    return ReadUtf8File(WorkbookSourceFolder() + L"\\" + strName + L".wbs");
}

CString CompileSourceText(const CString& strSource, CGridBook& book, CFormInfo& info)
{
    CString strError;
    if (!CompileWorkbookSource(strSource, book, strError))
        return strError.IsEmpty() ? CString(L"refused without a message") : strError;
    info.ReadFromBook(book);
    return CString();
}

std::vector<CBoundCell> BoundCells(const CFormInfo& info)
{
    std::vector<CBoundCell> cells;
    for (int s = 0; s < info.GetSize(); ++s) {
        const CSheetInfo& sheet = info[s];
        CString strTable = sheet.m_strTable;
        for (int r = 1; r < sheet.GetSize(); ++r)
            for (int c = 1; c < sheet[r].GetSize(); ++c) {
                const CCellInfo& cell = sheet[r][c];
                if (cell.m_nKind == formKindNone)
                    continue;
                if (!cell.m_strT.IsEmpty())
                    strTable = cell.m_strT;
                cells.push_back({s, r, c, &cell, strTable});
            }
    }
    return cells;
}

namespace
{
bool IsCentreTable(const CString& strTable)
{
    return strTable.CompareNoCase(L"SaldoFinCalc") == 0;
}

// Opens the table and finds the row; with bAdd a missing row is added.
bool FindRow(CSetDati& set, const CString& strRow, long nCentre, bool bAdd)
{
    if (!set.IsOpen())
        set.Open(L"", adOpenStatic, adLockOptimistic, adCmdTableDirect);
    bool bFound = IsCentreTable(set.GetTableName())
                      ? set.FindByIdAndResp(std::wcstol(strRow, nullptr, 10), nCentre, TRUE)
                      : set.FindByTextKey(strRow, TRUE);
    if (!bFound && bAdd) {
        if (IsCentreTable(set.GetTableName()))
            set.AddNewWithIdAndResp(std::wcstol(strRow, nullptr, 10), nCentre);
        else
            set.AddNewWithKey(strRow);
        return true;
    }
    return bFound;
}
} // namespace

void LoadWorkbook(CGridBook& book, const CFormInfo& info, CADOConnection& data, long nCentre)
{
    std::unique_ptr<CSetDati> pSet;
    for (const CBoundCell& bound : BoundCells(info)) {
        const CCellInfo& cell = *bound.pCell;
        if (cell.m_nKind == formKindComputed || cell.m_strR.IsEmpty() || cell.m_strF.IsEmpty())
            continue;
        if (!pSet || pSet->GetTableName() != bound.strTable)
            pSet = std::make_unique<CSetDati>(bound.strTable, data);
        CGridSheet& sheet = *book.GetSheet(2 * bound.nSheet + 1);
        bool bFound = FindRow(*pSet, cell.m_strR, nCentre, false);
        if (cell.m_nKind == formKindCheckBox) {
            if (bFound)
                sheet.SetText(bound.nRow, bound.nCol,
                              (cell.m_bYesBox == (pSet->GetFieldCurrency(cell.m_strF) != 0)) ? L"\xFE" : L"\xA8");
        }
        else if (cell.m_nType == formTypeText)
            sheet.SetText(bound.nRow, bound.nCol, bFound ? pSet->GetFieldString(cell.m_strF) : CString());
        else
            sheet.SetNumber(bound.nRow, bound.nCol, bFound ? pSet->GetFieldCurrency(cell.m_strF) : 0.0);
    }
}

void SaveWorkbook(const CGridBook& book, const CFormInfo& info, CADOConnection& data, long nCentre)
{
    std::unique_ptr<CSetDati> pSet;
    for (const CBoundCell& bound : BoundCells(info)) {
        const CCellInfo& cell = *bound.pCell;
        if (cell.m_nKind == formKindLoaded || cell.m_strR.IsEmpty() || cell.m_strF.IsEmpty())
            continue;
        if (cell.m_nKind == formKindCheckBox && !cell.m_bYesBox)
            continue;
        if (!pSet || pSet->GetTableName() != bound.strTable)
            pSet = std::make_unique<CSetDati>(bound.strTable, data);
        const CGridSheet& sheet = *book.GetSheet(2 * bound.nSheet + 1);
        FindRow(*pSet, cell.m_strR, nCentre, true);
        if (cell.m_nKind == formKindCheckBox)
            pSet->SetFieldDouble(cell.m_strF, sheet.GetText(bound.nRow, bound.nCol) != L"\xA8" ? 1.0 : 0.0);
        else if (cell.m_nType == formTypeText)
            pSet->SetFieldString(cell.m_strF, sheet.GetText(bound.nRow, bound.nCol));
        else
            pSet->SetFieldDouble(cell.m_strF, sheet.GetNumber(bound.nRow, bound.nCol));
        pSet->UpdateRow();
    }
}

double ReadStoredAmount(CADOConnection& data, const CString& strTable, const CString& strRow, const CString& strField,
                        long nCentre)
{
    CSetDati set(strTable, data);
    return FindRow(set, strRow, nCentre, false) ? set.GetFieldCurrency(strField) : 0.0;
}
