// The framework's common dialogs (file and print dialogs) and property sheets.
#pragma once

#include "afxwin.h"

#include "afxfiledlg.h"
#include "afxprintdlg.h"
#include "afxpropsheet.h"
