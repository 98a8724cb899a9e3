// Codes shared by the command bars, their controls and the frame that is their site.
#pragma once

#include "platform/mfc/afxwin.h"

class CXTPCommandBar;
class CXTPControl;

// Control types.
enum
{
    xtpControlError = 0,
    xtpControlButton = 1,
    xtpControlPopup = 2,
    xtpControlButtonPopup = 3,
    xtpControlSplitButtonPopup = 4,
    xtpControlComboBox = 5,
    xtpControlEdit = 6,
    xtpControlCustom = 7,
    xtpControlLabel = 8
};

// Bar types and positions.
enum { xtpBarTypeMenuBar = 0, xtpBarTypeNormal = 1, xtpBarTypePopup = 2 };
enum
{
    xtpBarTop = 0,
    xtpBarBottom = 1,
    xtpBarLeft = 2,
    xtpBarRight = 3,
    xtpBarFloating = 4,
    xtpBarPopup = 5,
    xtpBarListBox = 6,
    xtpBarNone = 7
};

// Control styles: automatic, caption, icon only, icon and caption.
enum { xtpButtonAutomatic = 0, xtpButtonCaption = 1, xtpButtonIcon = 2, xtpButtonIconAndCaption = 3 };

// Hide bits of a control.
enum
{
    xtpHideGeneric = 1,
    xtpHideWrap = 2,
    xtpHideDockingPosition = 4,
    xtpHideScroll = 8,
    xtpHideCustomize = 16,
    xtpHideExpand = 32,
    xtpHideDocTemplate = 64
};

// Behaviour bits of a control.
enum
{
    xtpFlagRightAlign = 1,
    xtpFlagSkipFocus = 2,
    xtpFlagManualUpdate = 8,
    xtpFlagNoMovable = 16,
    xtpFlagControlStretched = 32
};

// Styles of the frame's control bars: the edge a bar aligns to, its borders, tooltips.
#ifndef CBRS_TOP
#define CBRS_ALIGN_LEFT   0x1000L
#define CBRS_ALIGN_TOP    0x2000L
#define CBRS_ALIGN_RIGHT  0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_BORDER_LEFT   0x0100L
#define CBRS_BORDER_TOP    0x0200L
#define CBRS_BORDER_RIGHT  0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_TOOLTIPS     0x0010L
#define CBRS_TOP    (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)
#define CBRS_LEFT   (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_RIGHT  (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#endif

// Layout bits of the frame's control bars.
#ifndef LM_STRETCH
#define LM_STRETCH   0x01
#define LM_HORZ      0x02
#define LM_MRUWIDTH  0x04
#define LM_HORZDOCK  0x08
#define LM_VERTDOCK  0x10
#define LM_LENGTHY   0x20
#define LM_COMMIT    0x40
#endif
// Layout bits of the dynamic size beside the frame's LM_ bits.
enum { xtpLayoutHideWrap = 0x80, xtpLayoutPopupRows = 0x100 };

// Results of a customise drag of a control: the values of the OLE drop effects, and a drag that ended without
// dropping and without changing anything.
typedef DWORD DROPEFFECT;
#ifndef DROPEFFECT_NONE
#define DROPEFFECT_NONE 0
#define DROPEFFECT_COPY 1
#define DROPEFFECT_MOVE 2
#endif
#define XTP_DROPEFFECT_CANCEL 5

// Site messages that bars and controls send to the frame.
#define XTPM_BARVISIBLE         0x052C  // wParam the bar, lParam visible
#define XTPM_CONTROLNOTIFY      0x052D  // wParam id, lParam XTP_CONTROL_NOTIFY*; non-zero: handled
#define XTPM_CONTROLCREATE      0x052F  // lParam XTP_CONTROL_CREATE*; non-zero: the site changed the record
#define XTPM_BARCREATE          0x0530  // lParam XTP_BAR_CREATE*
#define XTPM_HOTCONTROL         0x0531  // wParam the hot control or 0
#define XTPM_DRAGCONTROL        0x0532  // the customise drag control changed
#define XTPM_POPUPSHOWING       0x0533  // lParam the popup bar about to show
#define XTPM_TRACKINGENTERED    0x0534  // wParam the menu bar
#define XTPM_POPUPCLOSED        0x0535  // lParam the popup bar closed
#define XTPM_CONTROLCREATED     0x0536  // lParam XTP_CONTROL_CREATE*
#define XTPM_RBUTTONUP          0x0538  // wParam POINT* (client), lParam the control; 1: handled
#define XTPM_TRACKINGKEY        0x0539  // wParam XTP_TRACKING_KEY*, lParam the bar
#define XTPM_TOOLBARSMENU       0x053A  // wParam the caller's value, lParam the toolbars popup about to show

// The frame's status-bar prompt messages.
#ifndef WM_SETMESSAGESTRING
#define WM_SETMESSAGESTRING 0x0362
#define WM_POPMESSAGESTRING 0x0375
#endif
#ifndef AFX_IDS_IDLEMESSAGE
#define AFX_IDS_IDLEMESSAGE 0xE001
#endif

// Codes of the control notification.
#define XTP_CN_EXECUTE 100

// Notification record of XTPM_CONTROLNOTIFY.
struct XTP_CONTROL_NOTIFY
{
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
    CXTPControl* pControl;
};

// Record of XTPM_CONTROLCREATE (before a control is made from a menu item or a toolbar's id list) and
// XTPM_CONTROLCREATED (after).
struct XTP_CONTROL_CREATE
{
    int nId;
    CXTPControl* pControl;
    INT_PTR nReserved;   // 1 while a toolbar makes its buttons
    int nIndex;
    CMenu* pMenu;
    CXTPCommandBar* pCommandBar;
    CString strCaption;
    int nType;
    int nStyle;
};

// Record of XTPM_BARCREATE (a popup bar is wanted for a popup control).
struct XTP_BAR_CREATE
{
    CXTPCommandBar* pCommandBar;
    BOOL bPopup;
    INT_PTR nReserved;
    BOOL bToolBar;
    BOOL bFloating;
    LPCTSTR lpszCaption;
    int nId;
};

// Record of XTPM_TRACKINGKEY: the site may change the key.
struct XTP_TRACKING_KEY
{
    UINT nKey;
    LPARAM lKeyData;
};
