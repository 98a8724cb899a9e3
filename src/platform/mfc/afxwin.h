// The framework's window classes: what application code includes for windows, drawing, the application
// object, documents and views, frames, dialogs and the standard controls (afx.h comes with it).
#pragma once

#include "afx.h"
#include "afxres.h"

#include "afxgeom.h"
#include "afxgdi.h"
#include "afxdc.h"
#include "afxmenu.h"
#include "afxcmdtarget.h"
#include "afxwnd.h"
#include "afxctrls.h"
#include "afxchecklistbox.h"
#include "afxthread.h"
#include "afxapp.h"
#include "afxdoc.h"
#include "afxview.h"
#include "afxframe.h"
#include "afxminiframe.h"
#include "afxdoctempl.h"
#include "afxdialog.h"
#include "afxdatax.h"
#include "afxformview.h"
