#include "ADODataExchange.h"

#include "util/MessageText.h"
#include "util/NumberFormat.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cwchar>

namespace
{
// The label of a control is the window before it in the dialog's order (its static text).
CString ControlLabel(HWND hWndCtrl) { return GetWindowTextNoAmp(::GetWindow(hWndCtrl, GW_HWNDPREV)); }

bool IsRequired(HWND hWndCtrl) { return (::GetWindowLongPtrW(hWndCtrl, GWL_EXSTYLE) & ADO_REQUIRED_CONTROL) != 0; }

[[noreturn]] void Refuse(CDataExchange* pDX, UINT nIDPrompt, const CString& strName)
{
    CString strPrompt;
    strPrompt.Format(nIDPrompt, strName.GetString());
    AfxMessageBox(strPrompt, MB_ICONEXCLAMATION);
    pDX->Fail();
}

void CheckRequired(CDataExchange* pDX, HWND hWndCtrl, const CADOField& field, UINT nIDPrompt, const CString& strName)
{
    if (field.IsNull() && IsRequired(hWndCtrl))
        Refuse(pDX, nIDPrompt, strName);
}

// The common road of the edits: a null field shows an empty edit; an edit holding blanks only gives a null
// field; a text that read() refuses, or a required edit left empty, is refused with the prompt.
template <class TField, class TShow, class TRead>
void ExchangeEdit(CDataExchange* pDX, int nIDC, TField& field, UINT nIDPrompt, TShow show, TRead read)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        ::SetWindowTextW(hWndCtrl, field.IsNull() ? CString() : show(field));
        return;
    }
    CString strText = AfxGetWindowText(hWndCtrl);
    if (CString(strText).Trim().IsEmpty())
        field.SetNull();
    else if (!read(strText, field))
        Refuse(pDX, nIDPrompt, ControlLabel(hWndCtrl));
    CheckRequired(pDX, hWndCtrl, field, nIDPrompt, ControlLabel(hWndCtrl));
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// A decimal number in the Italian form with blanks around it: a sign, digits with "," before the decimals,
// and the exponent that "%g" writes for large and small values ("1,23457e+006"). Nothing else: no
// hexadecimal, no "inf" or "nan", no "." (a thousands point in Italian, which "%g" never writes).
bool ParseItalianDecimal(CString strText, double& value)
{
    strText.Trim();
    LPCWSTR p = strText;
    if (*p == L'+' || *p == L'-')
        ++p;
    int nDigits = 0;
    for (; IsDigit(*p); ++p)
        ++nDigits;
    if (*p == L',') {
        for (++p; IsDigit(*p); ++p)
            ++nDigits;
    }
    if (nDigits == 0)
        return false;
    if (*p == L'e' || *p == L'E') {
        ++p;
        if (*p == L'+' || *p == L'-')
            ++p;
        if (!IsDigit(*p))
            return false;
        while (IsDigit(*p))
            ++p;
    }
    if (*p != L'\0')
        return false;
    strText.Replace(L',', L'.');   // the run-time library reads the C locale's point
    value = wcstod(strText, nullptr);
    return std::isfinite(value);
}

// A picker without DTS_SHOWNONE cannot show a null time: it shows midnight, and this property of the
// picker remembers that the midnight stands for null, so that saving keeps the null unless a time was set.
const wchar_t NULL_TIME_PROPERTY[] = L"ADODataExchange.NullTime";

void ShowTime(HWND hWndCtrl, WORD wHour, WORD wMinute)
{
    // Only the time of day is shown: it goes onto today's date, which the picker always accepts.
    SYSTEMTIME st = {};
    ::GetLocalTime(&st);
    st.wHour = wHour;
    st.wMinute = wMinute;
    st.wSecond = 0;
    st.wMilliseconds = 0;
    ::SendMessageW(hWndCtrl, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

CString FormatNumber(const CNumberFormat* pFormat, double value)
{
    return pFormat ? pFormat->Format(value) : CNumberFormat().Format(value);
}

bool ParseNumber(const CNumberFormat* pFormat, LPCTSTR lpszText, double& value)
{
    BOOL bError = FALSE;
    value = pFormat ? pFormat->Parse(lpszText, bError) : CNumberFormat().Parse(lpszText, bError);
    return !bError;
}

double DecimalToDouble(DECIMAL value)
{
    double d = 0.0;
    ::VarR8FromDec(&value, &d);
    return d;
}

CString ComboItemText(HWND hWndCtrl, LRESULT nIndex)
{
    CString strText;
    LRESULT nLength = ::SendMessageW(hWndCtrl, CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex), 0);
    if (nLength == CB_ERR)
        return strText;
    ::SendMessageW(hWndCtrl, CB_GETLBTEXT, static_cast<WPARAM>(nIndex),
                   reinterpret_cast<LPARAM>(strText.GetBuffer(static_cast<int>(nLength) + 1)));
    strText.ReleaseBuffer(static_cast<int>(nLength));
    return strText;
}

LRESULT ComboItemData(HWND hWndCtrl, LRESULT nIndex)
{
    return ::SendMessageW(hWndCtrl, CB_GETITEMDATA, static_cast<WPARAM>(nIndex), 0);
}

// The common road of the drop-down lists: loading selects the first item that matches(item) the field (none
// for a null field), saving gives read(item) of the selected item to the field (null without a selection).
template <class TField, class TMatch, class TRead>
void ExchangeCombo(CDataExchange* pDX, int nIDC, TField& field, UINT nIDPrompt, TMatch matches, TRead read)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        LRESULT nFound = -1;
        LRESULT nCount = field.IsNull() ? 0 : ::SendMessageW(hWndCtrl, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < nCount && nFound < 0; ++i) {
            if (matches(hWndCtrl, i))
                nFound = i;
        }
        ::SendMessageW(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(nFound), 0);
        return;
    }
    LRESULT nIndex = ::SendMessageW(hWndCtrl, CB_GETCURSEL, 0, 0);
    if (nIndex == CB_ERR)
        field.SetNull();
    else
        read(hWndCtrl, nIndex);
    CheckRequired(pDX, hWndCtrl, field, nIDPrompt, ControlLabel(hWndCtrl));
}
} // namespace

void CADOFloat::SetVariant(const VARIANT& value)
{
    _variant_t converted;
    if (ConvertVariant(value, VT_R4, converted))
        SetNull();
    else
        SetValue(static_cast<float>(converted));
}

DECIMAL CADODecimal::GetValue() const
{
    if (m_nStatus == adFldOK)
        return m_value;
    DECIMAL zero = {};
    return zero;
}

void CADODecimal::SetVariant(const VARIANT& value)
{
    _variant_t converted;
    if (ConvertVariant(value, VT_DECIMAL, converted))
        SetNull();
    else
        SetValue(converted.decVal);
}

void CADODecimal::ClearValue()
{
    DECIMAL zero = {};
    m_value = zero;
}

void CADOTime::SetVariant(const VARIANT& value)
{
    _variant_t converted;
    if (ConvertVariant(value, VT_DATE, converted))
        SetNull();
    else
        SetValue(converted.date);
}

void DDX_ADOLong(CDataExchange* pDX, int nIDC, CADOType<long>& field, UINT nIDPrompt)
{
    ExchangeEdit(
        pDX, nIDC, field, nIDPrompt,
        [](const CADOType<long>& f) {
            CString s;
            s.Format(L"%ld", f.GetValue());
            return s;
        },
        [](const CString& strText, CADOType<long>& f) {
            LONGLONG n = 0;
            if (!AfxParseInteger(strText, LONG_MIN, LONG_MAX, n))
                return false;
            f.SetValue(static_cast<long>(n));
            return true;
        });
}

void DDX_ADOFloat(CDataExchange* pDX, int nIDC, CADOFloat& field, UINT nIDPrompt)
{
    ExchangeEdit(
        pDX, nIDC, field, nIDPrompt,
        [](const CADOFloat& f) {
            CString s;
            s.Format(L"%.*g", 6, static_cast<double>(f.GetValue()));
            s.Replace(L'.', L',');
            return s;
        },
        [](const CString& strText, CADOFloat& f) {
            double d = 0.0;
            if (!ParseItalianDecimal(strText, d) || std::fabs(d) > FLT_MAX)
                return false;
            f.SetValue(static_cast<float>(d));
            return true;
        });
}

void DDX_ADONumber(CDataExchange* pDX, int nIDC, CADOType<double>& field, UINT nIDPrompt, const CNumberFormat* pFormat)
{
    ExchangeEdit(
        pDX, nIDC, field, nIDPrompt, [pFormat](const CADOType<double>& f) { return FormatNumber(pFormat, f.GetValue()); },
        [pFormat](const CString& strText, CADOType<double>& f) {
            double d = 0.0;
            if (!ParseNumber(pFormat, strText, d))
                return false;
            f.SetValue(d);
            return true;
        });
}

void DDX_ADODecimal(CDataExchange* pDX, int nIDC, CADODecimal& field, UINT nIDPrompt, const CNumberFormat* pFormat)
{
    ExchangeEdit(
        pDX, nIDC, field, nIDPrompt,
        [pFormat](const CADODecimal& f) { return FormatNumber(pFormat, DecimalToDouble(f.GetValue())); },
        [pFormat](const CString& strText, CADODecimal& f) {
            double d = 0.0;
            DECIMAL dec = {};
            if (!ParseNumber(pFormat, strText, d) || FAILED(::VarDecFromR8(d, &dec)))
                return false;
            f.SetValue(dec);
            return true;
        });
}

void DDX_ADOCurrency(CDataExchange* pDX, int nIDC, CADOCurrency& field, UINT nIDPrompt)
{
    ExchangeEdit(
        pDX, nIDC, field, nIDPrompt,
        [](const CADOCurrency& f) { return GetLocaleCurrencyFormat().Format(COleCurrency(f.GetValue())); },
        [](const CString& strText, CADOCurrency& f) {
            COleCurrency cur = GetLocaleCurrencyFormat().Parse(strText);
            if (cur.GetStatus() != COleCurrency::valid)
                return false;
            f.SetValue(cur.m_cur);
            return true;
        });
}

void DDX_ADODate(CDataExchange* pDX, int nIDC, CADOType<double>& field, UINT nIDPrompt, BOOL bTime)
{
    ExchangeEdit(
        pDX, nIDC, field, nIDPrompt,
        [bTime](const CADOType<double>& f) {
            COleDateTime date(f.GetValue());
            if (bTime)
                return date.Format(0, LANG_USER_DEFAULT);
            // The date alone: the time of day is dropped before the date is shown.
            COleDateTime day(date.GetYear(), date.GetMonth(), date.GetDay(), 0, 0, 0);
            return day.Format(VAR_DATEVALUEONLY, LANG_USER_DEFAULT);
        },
        [](const CString& strText, CADOType<double>& f) {
            COleDateTime date;
            if (!date.ParseDateTime(strText, 0, LANG_USER_DEFAULT) || date.GetStatus() != COleDateTime::valid)
                return false;
            f.SetValue(date.m_dt);
            return true;
        });
}

void DDX_ADOText(CDataExchange* pDX, int nIDC, CADOBaseString& field, UINT nIDPrompt)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        ::SetWindowTextW(hWndCtrl, field.GetText());
        return;
    }
    field.SetText(AfxGetWindowText(hWndCtrl));   // an empty text gives null
    CheckRequired(pDX, hWndCtrl, field, nIDPrompt, ControlLabel(hWndCtrl));
}

void DDX_ADOCheck(CDataExchange* pDX, int nIDC, CADOType<long>& field, UINT nIDPrompt)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    UINT nType = static_cast<UINT>(::GetWindowLongPtrW(hWndCtrl, GWL_STYLE) & BS_TYPEMASK);
    bool bThreeState = nType == BS_3STATE || nType == BS_AUTO3STATE;
    if (!pDX->m_bSaveAndValidate) {
        // A three-state box shows null as its third state, so that saving again keeps null; a two-state box
        // cannot show it: its field becomes 0.
        WPARAM nCheck = BST_UNCHECKED;
        if (field.IsNull() && bThreeState)
            nCheck = BST_INDETERMINATE;
        else if (field.IsNull())
            field.SetValue(0);
        else if (field.GetValue() != 0)
            nCheck = BST_CHECKED;
        ::SendMessageW(hWndCtrl, BM_SETCHECK, nCheck, 0);
        return;
    }
    switch (::SendMessageW(hWndCtrl, BM_GETCHECK, 0, 0)) {
    case BST_CHECKED:
        field.SetValue(1);
        break;
    case BST_INDETERMINATE:
        field.SetNull();
        break;
    default:
        field.SetValue(0);
        break;
    }
    // A check box carries its label in its own text, which also captions the prompt.
    if (field.IsNull() && IsRequired(hWndCtrl)) {
        CString strName = GetWindowTextNoAmp(hWndCtrl);
        CString strPrompt;
        strPrompt.Format(nIDPrompt, strName.GetString());
        AfxMessageBoxCaption(strPrompt, strName, MB_ICONEXCLAMATION);
        pDX->Fail();
    }
}

void DDX_ADORadio(CDataExchange* pDX, int nIDC, CADOType<long>& field, UINT nIDPrompt)
{
    int nIndex = field.IsNull() ? -1 : static_cast<int>(field.GetValue());
    DDX_Radio(pDX, nIDC, nIndex);
    if (!pDX->m_bSaveAndValidate)
        return;
    if (nIndex < 0)
        field.SetNull();
    else
        field.SetValue(nIndex);
    HWND hWndFirst = pDX->PrepareCtrl(nIDC);
    CheckRequired(pDX, hWndFirst, field, nIDPrompt, ControlLabel(hWndFirst));
}

void DDX_ADOComboIndex(CDataExchange* pDX, int nIDC, CADOType<long>& field, UINT nIDPrompt)
{
    ExchangeCombo(
        pDX, nIDC, field, nIDPrompt, [&field](HWND, LRESULT i) { return i == field.GetValue(); },
        [&field](HWND, LRESULT nIndex) { field.SetValue(static_cast<long>(nIndex)); });
}

void DDX_ADOComboText(CDataExchange* pDX, int nIDC, CADOBaseString& field, UINT nIDPrompt)
{
    // The item whose text is exactly the value: the combo's own search ignores case.
    ExchangeCombo(
        pDX, nIDC, field, nIDPrompt,
        [&field](HWND hWndCtrl, LRESULT i) { return ComboItemText(hWndCtrl, i) == field.GetText(); },
        [&field](HWND hWndCtrl, LRESULT nIndex) { field.SetText(ComboItemText(hWndCtrl, nIndex)); });
}

void DDX_ADOComboData(CDataExchange* pDX, int nIDC, CADOType<long>& field, UINT nIDPrompt)
{
    ExchangeCombo(
        pDX, nIDC, field, nIDPrompt,
        [&field](HWND hWndCtrl, LRESULT i) { return static_cast<long>(ComboItemData(hWndCtrl, i)) == field.GetValue(); },
        [&field](HWND hWndCtrl, LRESULT nIndex) { field.SetValue(static_cast<long>(ComboItemData(hWndCtrl, nIndex))); });
}

void DDX_ADOTime(CDataExchange* pDX, int nIDC, CADOTime& field, UINT nIDPrompt)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        ::SendMessageW(hWndCtrl, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"HH:mm"));
        ::RemovePropW(hWndCtrl, NULL_TIME_PROPERTY);
        if (!field.IsNull()) {
            COleDateTime time(field.GetValue());
            ShowTime(hWndCtrl, static_cast<WORD>(time.GetHour()), static_cast<WORD>(time.GetMinute()));
        } else if (::GetWindowLongPtrW(hWndCtrl, GWL_STYLE) & DTS_SHOWNONE) {
            ::SendMessageW(hWndCtrl, DTM_SETSYSTEMTIME, GDT_NONE, 0);
        } else {
            ShowTime(hWndCtrl, 0, 0);
            ::SetPropW(hWndCtrl, NULL_TIME_PROPERTY, reinterpret_cast<HANDLE>(1));
        }
        return;
    }
    SYSTEMTIME st = {};
    bool bValid = ::SendMessageW(hWndCtrl, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) == GDT_VALID;
    if (bValid && ::GetPropW(hWndCtrl, NULL_TIME_PROPERTY) && st.wHour == 0 && st.wMinute == 0)
        bValid = false;   // still the midnight that stands for null
    if (!bValid) {
        field.SetNull();
    } else {
        ::RemovePropW(hWndCtrl, NULL_TIME_PROPERTY);   // a time has been set: from now on midnight is a time
        field.SetValue((st.wHour * 60 + st.wMinute) / 1440.0);
    }
    CheckRequired(pDX, hWndCtrl, field, nIDPrompt, ControlLabel(hWndCtrl));
}

void DDV_ADOMaxChars(CDataExchange* pDX, CADOBaseString& field, int nChars)
{
    // The control's text is checked, not the field's: the field has already cut it to its own length.
    HWND hWndCtrl = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, pDX->m_idLastControl);
    DDV_MaxChars(pDX, AfxGetWindowText(hWndCtrl), nChars == -1 ? field.GetMaxLength() : nChars);
}

void DDV_ADOMinMaxLong(CDataExchange* pDX, CADOType<long>& field, long minVal, long maxVal)
{
    if (pDX->m_bSaveAndValidate && !field.IsNull())
        DDV_MinMaxLong(pDX, field.GetValue(), minVal, maxVal);
}

void DDV_ADOMinMaxDouble(CDataExchange* pDX, CADOType<double>& field, double minVal, double maxVal)
{
    if (pDX->m_bSaveAndValidate && !field.IsNull())
        DDV_MinMaxDouble(pDX, field.GetValue(), minVal, maxVal);
}

void DDV_ADOMinMaxDouble(CDataExchange* pDX, CADODecimal& field, double minVal, double maxVal)
{
    if (pDX->m_bSaveAndValidate && !field.IsNull())
        DDV_MinMaxDouble(pDX, DecimalToDouble(field.GetValue()), minVal, maxVal);
}
