// The SQL functions through which translated Jet expressions keep Jet's meaning in SQLite (see JetSql.h):
// amounts as currency counts, Jet's divisions, and text widths. A value they refuse fails the statement with
// Jet's error.
#pragma once

#include "platform/ado/JetErrors.h"

struct sqlite3;

// The error of a refused value, kept until the failed statement raises it.
struct CJetFunctionError
{
    HRESULT m_hr = S_OK;
    std::wstring m_description;
};

// Registers the functions on db; their refusals are written into error.
int JetRegisterFunctions(sqlite3* db, CJetFunctionError* error);
