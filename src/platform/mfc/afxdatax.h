// Dialog data exchange: DoDataExchange calls one DDX_ routine per control, which loads the control from a
// member or saves the control's value into it, and DDV_ routines that check what was saved. A value that
// is refused is told to the user (exclamation icon), the focus goes back to its control and the exchange
// stops (CDataExchange::Fail throws a CUserException, which UpdateData catches and answers FALSE).
#pragma once

#include "afxwnd.h"

class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;   // TRUE: controls -> members, FALSE: members -> controls
    CWnd* m_pDlgWnd;

    // The control nIDC, remembered as the one a following DDV_ check and Fail refer to. A missing control
    // is a fault of the program: CNotSupportedException.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Puts the focus back on the last control (its text selected when it is an edit) and stops the exchange.
    [[noreturn]] void Fail();

    int m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;
};

// "%1" (and "%2") of string nIDS filled in.
void AfxFormatString1(CString& rString, UINT nIDS, LPCTSTR lpsz1);
void AfxFormatString2(CString& rString, UINT nIDS, LPCTSTR lpsz1, LPCTSTR lpsz2);

// The integer of a text: optional blanks, an optional sign, decimal digits, optional blanks, nothing else,
// within nMin..nMax. FALSE (and rValue untouched) otherwise.
BOOL AfxParseInteger(LPCTSTR lpszText, LONGLONG nMin, LONGLONG nMax, LONGLONG& rValue);

// The control's window object: subclasses the control the first time (the member must be a fresh CWnd).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// Edit text; numbers with blanks around them allowed, anything else refused with the framework's prompt.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);

// Buttons and lists
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);         // BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);         // nIDC: first radio button of the group; -1 none
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);  // selects the first item that begins with value
void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);

// Checks of the value just exchanged; they act when saving. DDV_MaxChars also limits the control's text
// length when loading.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal);
