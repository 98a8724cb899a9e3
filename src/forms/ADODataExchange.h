// Dialog data exchange between controls and the field values of a bound record. Beyond the framework's own
// exchange: a null field shows an empty control and an empty control gives a null field; a control is
// required when its extended style has the bit 0x2000 (set in the dialog template); a refused or missing
// value shows the caller's prompt (printf-style, "%s" = the control's label without "&") with the
// exclamation icon, puts the focus back on the control and stops the exchange.
#pragma once

#include "data/ADOField.h"
#include "platform/mfc/afxwin.h"

class CNumberFormat;

// The extended-style bit that marks a required control.
const DWORD ADO_REQUIRED_CONTROL = 0x2000;

// A 32-bit floating value with its status.
class CADOFloat : public CADOField
{
public:
    float GetValue() const { return m_nStatus == adFldOK ? m_value : 0.0f; }
    void SetValue(float value) { m_value = value; m_nStatus = adFldOK; }
    void SetVariant(const VARIANT& value) override;

protected:
    void ClearValue() override { m_value = 0.0f; }
    _variant_t ValueVariant() const override { return _variant_t(m_value); }

    float m_value = 0.0f;
};

// A DECIMAL value with its status.
class CADODecimal : public CADOField
{
public:
    CADODecimal() { ClearValue(); }
    DECIMAL GetValue() const;
    void SetValue(const DECIMAL& value) { m_value = value; m_nStatus = adFldOK; }
    void SetVariant(const VARIANT& value) override;

protected:
    void ClearValue() override;
    _variant_t ValueVariant() const override { return _variant_t(m_value); }

    DECIMAL m_value;
};

// A time of day, kept as a date on the base day 30/12/1899 (the fraction of the day).
class CADOTime : public CADOField
{
public:
    DATE GetValue() const { return m_nStatus == adFldOK ? m_value : 0.0; }
    void SetValue(DATE value) { m_value = value; m_nStatus = adFldOK; }
    void SetVariant(const VARIANT& value) override;

protected:
    void ClearValue() override { m_value = 0.0; }
    _variant_t ValueVariant() const override { return _variant_t(m_value, VT_DATE); }

    DATE m_value = 0.0;
};

// Edits. DDX_ADOFloat shows six significant digits and reads a decimal number in the Italian form ("1,5",
// "1,23457e+006"); DDX_ADONumber and DDX_ADODecimal show and read through pFormat, or through the user's
// locale format when it is null; DDX_ADODate shows the date (and the time with bTime) in the locale's
// default text.
void DDX_ADOLong(CDataExchange* pDX, int nIDC, CADOType<long>& field, UINT nIDPrompt);
void DDX_ADOFloat(CDataExchange* pDX, int nIDC, CADOFloat& field, UINT nIDPrompt);
void DDX_ADONumber(CDataExchange* pDX, int nIDC, CADOType<double>& field, UINT nIDPrompt,
                   const CNumberFormat* pFormat = nullptr);
void DDX_ADODecimal(CDataExchange* pDX, int nIDC, CADODecimal& field, UINT nIDPrompt,
                    const CNumberFormat* pFormat = nullptr);
void DDX_ADOCurrency(CDataExchange* pDX, int nIDC, CADOCurrency& field, UINT nIDPrompt);
void DDX_ADODate(CDataExchange* pDX, int nIDC, CADOType<double>& field, UINT nIDPrompt, BOOL bTime = FALSE);
void DDX_ADOText(CDataExchange* pDX, int nIDC, CADOBaseString& field, UINT nIDPrompt);

// Buttons and lists. A check box gives 1, 0, or null when a three-state box is indeterminate; nIDC of
// DDX_ADORadio is the first radio button of its group; the combo routines select by index, by exact text
// or by item data, and no selection gives null.
void DDX_ADOCheck(CDataExchange* pDX, int nIDC, CADOType<long>& field, UINT nIDPrompt);
void DDX_ADORadio(CDataExchange* pDX, int nIDC, CADOType<long>& field, UINT nIDPrompt);
void DDX_ADOComboIndex(CDataExchange* pDX, int nIDC, CADOType<long>& field, UINT nIDPrompt);
void DDX_ADOComboText(CDataExchange* pDX, int nIDC, CADOBaseString& field, UINT nIDPrompt);
void DDX_ADOComboData(CDataExchange* pDX, int nIDC, CADOType<long>& field, UINT nIDPrompt);
// A date-time picker showing "HH:mm". A null time shows as none where the picker has DTS_SHOWNONE; a picker
// without it shows midnight, and saving keeps the null until a time is set.
void DDX_ADOTime(CDataExchange* pDX, int nIDC, CADOTime& field, UINT nIDPrompt);

// Checks of the control exchanged last. DDV_ADOMaxChars limits the edit to nChars (the field's own length
// for -1) when loading and refuses a longer text when saving; the range checks act on non-null values.
void DDV_ADOMaxChars(CDataExchange* pDX, CADOBaseString& field, int nChars = -1);
void DDV_ADOMinMaxLong(CDataExchange* pDX, CADOType<long>& field, long minVal, long maxVal);
void DDV_ADOMinMaxDouble(CDataExchange* pDX, CADOType<double>& field, double minVal, double maxVal);
void DDV_ADOMinMaxDouble(CDataExchange* pDX, CADODecimal& field, double minVal, double maxVal);
