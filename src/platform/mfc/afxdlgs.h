// The framework's common dialogs (colour, file and print dialogs) and property sheets.
#pragma once

#include "afxwin.h"

#include "afxcolordlg.h"
#include "afxfiledlg.h"
#include "afxprintdlg.h"
#include "afxpropsheet.h"
