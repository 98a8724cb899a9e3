// A data archive holding the figures of a real-size authority, for the tests and the show programs that print,
// export or show what a real office would: every amount of every numbered row of the balance tables lies in the
// millions or tens of millions (1.000.000,00 to 89.999.999,99, cents included), the balances and the differences
// from the targets are negative, as are about a quarter of the other figures, and the accrual, cash and mixed
// figures of a row all differ. Four responsible centres, one of each type and a second area, hold their own
// forecast of 2008 and their chapters of revenue and expenditure; the accounting mode is chosen by the caller.
// The figures come from AuthorityFigure, so a test compares what it reads with what the archive holds.
#pragma once

#include "data/ADOConnection.h"

// The centres' IDs run from 1 to kAuthorityCentres; 0 is the totals' row that a new archive has.
const long kAuthorityCentres = 4;

// The accounting modes ("imp_extra_cont2"): title totals per centre, or amounts by budget chapter.
enum AuthorityAccounting { authorityByStructure = 0, authorityByChapter = 1 };

// A new archive at pszPath (the schema of the program's resources) holding the authority's figures. Database
// errors raise _com_error; the file is then left as far as it was written.
void CreateAuthorityArchive(LPCTSTR pszPath, LPCTSTR pszPassword, AuthorityAccounting nMode);

// Writes the authority's figures into a new, empty archive open on the connection.
void FillAuthorityArchive(CADOConnection& data, AuthorityAccounting nMode);

// The amount the archive holds in a numbered row's amount column, in counts of 1/10000 (a whole number of cents);
// nCentre names the centre of a SaldoFinCalc row or of a chapter's amount (0: the totals, and every other table).
long long AuthorityFigure(LPCTSTR pszTable, long nRow, LPCTSTR pszField, long nCentre = 0);

// The authority's name and province as the archive holds them ("DatiEnte" rows "ENTE" and "PROV").
extern const LPCTSTR kAuthorityName;
extern const LPCTSTR kAuthorityProvince;
