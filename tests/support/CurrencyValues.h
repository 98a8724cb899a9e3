// Currency values built from their stored 1/10000 count or their status, for the tests of amounts.
#pragma once

#include "platform/mfc/afxdisp.h"

inline COleCurrency Count(LONGLONG value)
{
    CURRENCY cy;
    cy.int64 = value;
    return COleCurrency(cy);
}

inline COleCurrency WithStatus(COleCurrency::CurrencyStatus status)
{
    COleCurrency cur;
    cur.SetStatus(status);
    return cur;
}
