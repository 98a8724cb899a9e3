// COM support of the data layer: MinGW's comdef.h declares _com_error, _bstr_t and _variant_t; the
// out-of-line helpers they call are ours (comsupport.cpp).
#pragma once

#include <windows.h>
#include <comdef.h>

// A double as currency (a count of 1/10000): the nearest count to the double's exact value, ties to the even
// count, so that the fifth decimal never depends on the platform's arithmetic. DISP_E_OVERFLOW when the value
// (or NaN) does not fit.
HRESULT CurrencyFromDoubleExact(double value, CY* pResult);
