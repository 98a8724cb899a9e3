// The framework's umbrella header: what application code includes to get CString, CObject, the exceptions,
// the collections, files and archives. Window classes have their own header.
#pragma once

#include <windows.h>
#include <assert.h>

#include "afxstr.h"
#include "afxappinfo.h"
#include "afxmsgbox.h"
#include "afxobject.h"
#include "afxexcept.h"
#include "afxcoll.h"
#include "afxfile.h"
#include "afxstdiofile.h"
#include "afxmemfile.h"
#include "afxarchive.h"
#include "afxwaitcursor.h"

// Checks of the program's own assumptions: active in debug builds; VERIFY always evaluates its argument.
#define ASSERT(f) assert(f)
#ifdef NDEBUG
#define VERIFY(f) ((void)(f))
#else
#define VERIFY(f) assert(f)
#endif
