#include "afxdatax.h"

#include "afxres.h"
#include "afxstate.h"

#include <cfloat>
#include <climits>
#include <cwchar>
#include <cwctype>

namespace
{
// Sets the text only when it changes: no flicker, no change notification for nothing.
void SetText(HWND hWnd, LPCTSTR lpszText)
{
    if (AfxGetWindowText(hWnd) != lpszText)
        ::SetWindowTextW(hWnd, lpszText);
}

[[noreturn]] void Refuse(CDataExchange* pDX, const CString& strPrompt, UINT nIDPrompt)
{
    AfxMessageBox(strPrompt, MB_ICONEXCLAMATION, nIDPrompt);
    pDX->Fail();
}

template <class T>
void ExchangeInteger(CDataExchange* pDX, int nIDC, T& value, LONGLONG nMin, LONGLONG nMax, LPCTSTR lpszFormat)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        LONGLONG n = 0;
        if (!AfxParseInteger(AfxGetWindowText(hWndCtrl), nMin, nMax, n)) {
            CString strPrompt;
            strPrompt.LoadString(AFX_IDP_PARSE_INT);
            Refuse(pDX, strPrompt, AFX_IDP_PARSE_INT);
        }
        value = static_cast<T>(n);
    } else {
        CString strText;
        strText.Format(lpszFormat, value);
        SetText(hWndCtrl, strText);
    }
}

template <class T>
void CheckRange(CDataExchange* pDX, T value, T minVal, T maxVal, LPCTSTR lpszFormat, UINT nIDPrompt)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    CString strMin, strMax, strPrompt;
    strMin.Format(lpszFormat, minVal);
    strMax.Format(lpszFormat, maxVal);
    AfxFormatString2(strPrompt, nIDPrompt, strMin, strMax);
    Refuse(pDX, strPrompt, nIDPrompt);
}
} // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (!hWndCtrl)
        AfxThrowNotSupportedException();
    m_idLastControl = nIDC;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_idLastControl) {
        HWND hWndLastControl = ::GetDlgItem(m_pDlgWnd->m_hWnd, m_idLastControl);
        if (hWndLastControl) {
            ::SetFocus(hWndLastControl);
            if (m_bEditLastControl)
                ::SendMessageW(hWndLastControl, EM_SETSEL, 0, -1);
        }
    }
    AfxThrowUserException();
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    // The controls' change notifications while they are loaded are not the user's edits. The lockout ends
    // however the exchange ends: an exception left for the window procedure's net would leave the window
    // deaf to its controls.
    struct CLockout
    {
        HWND& hWndLockout;
        HWND hWndOld;
        ~CLockout() { hWndLockout = hWndOld; }
    } lockout = {AfxGetThreadState()->m_hLockoutNotifyWindow, AfxGetThreadState()->m_hLockoutNotifyWindow};
    lockout.hWndLockout = m_hWnd;
    try {
        DoDataExchange(&dx);
        return TRUE;
    } catch (CUserException* e) {
        e->Delete();   // already told, the focus is on the control
    } catch (CException* e) {
        e->ReportError(MB_ICONSTOP);
        e->Delete();
    }
    return FALSE;
}

void AfxFormatString1(CString& rString, UINT nIDS, LPCTSTR lpsz1)
{
    rString.FormatMessage(nIDS, lpsz1);
}

void AfxFormatString2(CString& rString, UINT nIDS, LPCTSTR lpsz1, LPCTSTR lpsz2)
{
    rString.FormatMessage(nIDS, lpsz1, lpsz2);
}

BOOL AfxParseInteger(LPCTSTR lpszText, LONGLONG nMin, LONGLONG nMax, LONGLONG& rValue)
{
    LPCTSTR p = lpszText;
    while (*p == L' ' || *p == L'\t')
        ++p;
    bool bNegative = *p == L'-';
    if (*p == L'-' || *p == L'+')
        ++p;
    if (*p < L'0' || *p > L'9')
        return FALSE;
    // Accumulated as a negative number, whose range is the larger one.
    LONGLONG n = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        int nDigit = *p - L'0';
        if (n < (LLONG_MIN + nDigit) / 10)
            return FALSE;
        n = n * 10 - nDigit;
    }
    while (*p == L' ' || *p == L'\t')
        ++p;
    if (*p)
        return FALSE;
    if (!bNegative) {
        if (n == LLONG_MIN)
            return FALSE;
        n = -n;
    }
    if (n < nMin || n > nMax)
        return FALSE;
    rValue = n;
    return TRUE;
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl))
        AfxThrowNotSupportedException();
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = AfxGetWindowText(hWndCtrl);
    else
        SetText(hWndCtrl, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) { ExchangeInteger(pDX, nIDC, value, INT_MIN, INT_MAX, L"%d"); }
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) { ExchangeInteger(pDX, nIDC, value, 0, UINT_MAX, L"%u"); }
void DDX_Text(CDataExchange* pDX, int nIDC, long& value) { ExchangeInteger(pDX, nIDC, value, LONG_MIN, LONG_MAX, L"%ld"); }
void DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value) { ExchangeInteger(pDX, nIDC, value, 0, ULONG_MAX, L"%lu"); }

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        CString strText = AfxGetWindowText(hWndCtrl);
        strText.Trim();
        LPWSTR pEnd = nullptr;
        double d = wcstod(strText, &pEnd);
        if (strText.IsEmpty() || *pEnd) {
            CString strPrompt;
            strPrompt.LoadString(AFX_IDP_PARSE_REAL);
            Refuse(pDX, strPrompt, AFX_IDP_PARSE_REAL);
        }
        value = d;
    } else {
        CString strText;
        strText.Format(L"%.*g", DBL_DIG, value);
        SetText(hWndCtrl, strText);
    }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageW(hWndCtrl, BM_GETCHECK, 0, 0));
    } else {
        WPARAM nState = (value == BST_CHECKED || value == BST_INDETERMINATE) ? static_cast<WPARAM>(value) : BST_UNCHECKED;
        ::SendMessageW(hWndCtrl, BM_SETCHECK, nState, 0);
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    // The group runs from the first button to the next control that starts a group.
    int iButton = 0;
    do {
        if (::SendMessageW(hWndCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageW(hWndCtrl, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    value = iButton;
            } else {
                ::SendMessageW(hWndCtrl, BM_SETCHECK, iButton == value, 0);
            }
            ++iButton;
        }
        hWndCtrl = ::GetWindow(hWndCtrl, GW_HWNDNEXT);
    } while (hWndCtrl && !(::GetWindowLongPtrW(hWndCtrl, GWL_STYLE) & WS_GROUP));
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageW(hWndCtrl, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageW(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = AfxGetWindowText(hWndCtrl);   // the edit part, or the selected item of a drop-down list
    } else if (::SendMessageW(hWndCtrl, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString())) ==
               CB_ERR) {
        SetText(hWndCtrl, value);   // not in the list: the edit part shows it (a drop-down list ignores it)
    }
}

void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = AfxGetWindowText(hWndCtrl);
        return;
    }
    LRESULT nIndex = ::SendMessageW(hWndCtrl, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString()));
    if (nIndex != CB_ERR)
        ::SendMessageW(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
    else
        SetText(hWndCtrl, value);
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageW(hWndCtrl, LB_GETCURSEL, 0, 0));
    else
        ::SendMessageW(hWndCtrl, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value.Empty();
        LRESULT nIndex = ::SendMessageW(hWndCtrl, LB_GETCURSEL, 0, 0);
        if (nIndex != LB_ERR) {
            LRESULT nLength = ::SendMessageW(hWndCtrl, LB_GETTEXTLEN, static_cast<WPARAM>(nIndex), 0);
            ::SendMessageW(hWndCtrl, LB_GETTEXT, static_cast<WPARAM>(nIndex),
                           reinterpret_cast<LPARAM>(value.GetBuffer(static_cast<int>(nLength) + 1)));
            value.ReleaseBuffer();
        }
    } else {
        ::SendMessageW(hWndCtrl, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString()));
    }
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (!pDX->m_bSaveAndValidate) {
        HWND hWndLastControl = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, pDX->m_idLastControl);
        WCHAR szClass[16] = {};
        ::GetClassNameW(hWndLastControl, szClass, 16);
        UINT nMessage = _wcsicmp(szClass, L"ComboBox") == 0 ? CB_LIMITTEXT : EM_LIMITTEXT;
        ::SendMessageW(hWndLastControl, nMessage, static_cast<WPARAM>(nChars), 0);
        return;
    }
    if (value.GetLength() > nChars) {
        CString strMax, strPrompt;
        strMax.Format(L"%d", nChars);
        AfxFormatString1(strPrompt, AFX_IDP_PARSE_STRING_SIZE, strMax);
        Refuse(pDX, strPrompt, AFX_IDP_PARSE_STRING_SIZE);
    }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    CheckRange(pDX, value, minVal, maxVal, L"%d", AFX_IDP_PARSE_INT_RANGE);
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    CheckRange(pDX, value, minVal, maxVal, L"%u", AFX_IDP_PARSE_INT_RANGE);
}

void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal)
{
    CheckRange(pDX, value, minVal, maxVal, L"%ld", AFX_IDP_PARSE_INT_RANGE);
}

void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal)
{
    CheckRange(pDX, value, minVal, maxVal, L"%g", AFX_IDP_PARSE_REAL_RANGE);
}
