// The framework's common dialogs (file and print dialogs).
#pragma once

#include "afxwin.h"

#include "afxfiledlg.h"
#include "afxprintdlg.h"
