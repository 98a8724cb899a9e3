// Recomputation of every derived figure of the data archive from the rows the user typed or imported.
//
// RecalcSaldi is the one entry: the totals and averages of Entrate, then CalcSaldoFin, which calls
// CalcSaldoFinSaldoProg, which ends with CalcMonitor, CalcSaldoFinProg and CalcSaldoFinCalc. Each step runs under
// its own transaction guard on the given data-archive connection, so that inside RecalcSaldi the whole chain
// commits at once; database errors leave as _com_error after the guards have rolled back. Each step answers
// true once done.
#pragma once

#include "data/ADOConnection.h"

bool RecalcSaldi(CADOConnection& data);

// Financial balances of 2003/04/05 (SaldoFin) on the accrual, cash and mixed bases.
bool CalcSaldoFin(CADOConnection& data);
// Programmed balance targets of 2008/09/10 (SaldoProg).
bool CalcSaldoFinSaldoProg(CADOConnection& data);
// Differences of the quarterly balances of 2008 from their targets (Monitor).
bool CalcMonitor(CADOConnection& data);
// Forecast balances of 2008/09/10 and their differences from the targets (SaldoFinProg).
bool CalcSaldoFinProg(CADOConnection& data);
// Forecast balances of 2008 of every responsible centre and of all centres together (SaldoFinCalc).
bool CalcSaldoFinCalc(CADOConnection& data);

// Empties one year (1 to 6) of the accrual rows of Entrate, before an import writes it again.
void ClearEntrateYear(CADOConnection& data, int nYear);
