// What the three importers share: the import option and the writing of one imported amount into a balance row.
#pragma once

#include "engine/SetSaldi.h"
#include "platform/mfc/afxexcept.h"

#include <functional>

enum ImportOption
{
    importEraseAll = 0,       // the target fields are emptied first
    importSourceFields = 1,   // the fields that come from the source are overwritten, the others kept
    importEmptyFields = 2,    // only fields holding 0 or nothing are written
};

// A currency of whole units and cents; the amount is within the range of currency (the parsers see to it).
COleCurrency CurrencyFromUnits(long long units);
COleCurrency CurrencyFromCents(long long cents);

// Writes the amount into the field of the current row unless the option keeps the field's value: with
// importEmptyFields, a field that holds a figure other than 0 (null reads as 0). Answers whether it wrote.
bool WriteImportedAmount(CSetSaldi& set, LPCTSTR pszField, const COleCurrency& amount, int nOption);

// The error of an import, shown with the error icon; the import then answers false. _com_error with the
// connection's error text, framework exceptions with their own.
void ShowImportError(const _com_error& e, const CADOConnection& connection);
void ShowImportError(CException* e);

// Writes an import and its recomputation in one transaction on the archive. Any error undoes all of it, is shown,
// and the answer is false; on success the user is told that the import is done.
bool StoreImport(CADOConnection& data, const std::function<void()>& writeAndRecompute);
