// Test support for the shipped workbooks: a workbook compiled from its source, and the loading and saving of its
// described cells against a data archive the way the input-form views do it (the table in force is the sheet's
// until a cell names another; rows of SaldoFinCalc are those of one centre), without any window.
#pragma once

#include "data/ADOConnection.h"
#include "forms/FormInfo.h"
#include "platform/grid/GridBook.h"

#include <functional>
#include <vector>

// The folder of the workbook sources and the names (without extension) of the sources in it.
CString WorkbookSourceFolder();
std::vector<CString> ShippedWorkbookNames();
// The text of a shipped source; empty when it cannot be read.
CString ReadWorkbookSource(const CString& strName);

// Compiles the source text into the book and reads its description; returns the compiler's error, empty when
// it compiled.
CString CompileSourceText(const CString& strSource, CGridBook& book, CFormInfo& info);

// One described cell with the table that serves it.
struct CBoundCell
{
    int nSheet;   // sheet pair, from 0
    int nRow;
    int nCol;
    const CCellInfo* pCell;
    CString strTable;
};

// Every described cell in the order the views walk them.
std::vector<CBoundCell> BoundCells(const CFormInfo& info);

// Fills the loaded, input and set cells from the archive (a missing row gives 0 or an empty text).
void LoadWorkbook(CGridBook& book, const CFormInfo& info, CADOConnection& data, long nCentre = 0);
// Writes the input, computed and set cells that have a row key, adding missing rows.
void SaveWorkbook(const CGridBook& book, const CFormInfo& info, CADOConnection& data, long nCentre = 0);
// The stored amount of a field; 0 when the row is missing or the field null.
double ReadStoredAmount(CADOConnection& data, const CString& strTable, const CString& strRow, const CString& strField,
                        long nCentre = 0);
