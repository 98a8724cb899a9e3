// The framework's common dialogs (file dialogs).
#pragma once

#include "afxwin.h"

#include "afxfiledlg.h"
