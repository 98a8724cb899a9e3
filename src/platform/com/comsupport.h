// COM support of the data layer: MinGW's comdef.h declares _com_error, _bstr_t and _variant_t; the
// out-of-line helpers they call are ours (comsupport.cpp).
#pragma once

#include <windows.h>
#include <comdef.h>
