// Exchange between controls and field values on a hidden dialog: nulls both ways, required edits refused
// with a prompt naming the label, integers refused when they are not integers of 32 bits, the text limit
// of the field, three-state boxes and combo boxes by index and by item data.
#include "FormsTestRes.h"
#include "forms/ADODataExchange.h"
#include "support/DialogTemplate.h"
#include "util/NumberFormat.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

namespace
{
enum
{
    IDC_CAPITOLO = 101,
    IDC_DESCRIZIONE,
    IDC_CODICE,
    IDC_ATTIVO,
    IDC_CHIUSO,
    IDC_TIPO,
    IDC_CENTRO,
};

class CFieldDialog : public CDialog
{
public:
    CADOType<long> m_capitolo;        // required
    CADOString<7> m_descrizione;      // optional, limited to the field's length
    CADOString<20> m_codice;          // required text
    CADOType<long> m_attivo;          // three-state box
    CADOType<long> m_chiuso;          // two-state box
    CADOType<long> m_tipo;            // combo by index
    CADOType<long> m_centro;          // combo by item data

    BOOL Create()
    {
        m_template.AddItem(L"STATIC", L"&Capitolo:", 100, SS_LEFT, 5, 5, 40, 10)
            .AddItem(L"EDIT", L"", IDC_CAPITOLO, WS_BORDER, 50, 5, 60, 12, ADO_REQUIRED_CONTROL)
            .AddItem(L"STATIC", L"&Descrizione:", 100, SS_LEFT, 5, 20, 40, 10)
            .AddItem(L"EDIT", L"", IDC_DESCRIZIONE, WS_BORDER | ES_AUTOHSCROLL, 50, 20, 60, 12)
            .AddItem(L"STATIC", L"C&odice UEB:", 100, SS_LEFT, 5, 35, 40, 10)
            .AddItem(L"EDIT", L"", IDC_CODICE, WS_BORDER, 50, 35, 60, 12, ADO_REQUIRED_CONTROL)
            .AddItem(L"BUTTON", L"&Attivo", IDC_ATTIVO, BS_AUTO3STATE, 5, 50, 60, 10)
            .AddItem(L"BUTTON", L"C&hiuso", IDC_CHIUSO, BS_AUTOCHECKBOX, 70, 50, 60, 10)
            .AddItem(L"COMBOBOX", L"", IDC_TIPO, CBS_DROPDOWNLIST, 5, 65, 60, 60)
            .AddItem(L"COMBOBOX", L"", IDC_CENTRO, CBS_DROPDOWNLIST, 70, 65, 60, 60);
        return CreateIndirect(m_template.Get());
    }

    CString Text(int nID)
    {
        CString s;
        GetDlgItemText(nID, s);
        return s;
    }

protected:
    BOOL OnInitDialog() override
    {
        for (LPCTSTR item : {L"Area", L"Settore", L"Servizi"})
            SendDlgItemMessage(IDC_TIPO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        const long centres[] = {40, 77, 12};
        for (long centre : centres) {
            CString s;
            s.Format(L"Centro %ld", centre);
            int n = static_cast<int>(SendDlgItemMessage(IDC_CENTRO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.GetString())));
            SendDlgItemMessage(IDC_CENTRO, CB_SETITEMDATA, static_cast<WPARAM>(n), centre);
        }
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_ADOLong(pDX, IDC_CAPITOLO, m_capitolo, IDP_TEST_FIELD_INVALID);
        DDX_ADOText(pDX, IDC_DESCRIZIONE, m_descrizione, IDP_TEST_FIELD_INVALID);
        DDV_ADOMaxChars(pDX, m_descrizione);
        DDX_ADOText(pDX, IDC_CODICE, m_codice, IDP_TEST_FIELD_INVALID);
        DDX_ADOCheck(pDX, IDC_ATTIVO, m_attivo, IDP_TEST_FIELD_INVALID);
        DDX_ADOCheck(pDX, IDC_CHIUSO, m_chiuso, IDP_TEST_FIELD_INVALID);
        DDX_ADOComboIndex(pDX, IDC_TIPO, m_tipo, IDP_TEST_FIELD_INVALID);
        DDX_ADOComboData(pDX, IDC_CENTRO, m_centro, IDP_TEST_FIELD_INVALID);
    }

private:
    CDialogTemplate m_template{WS_POPUP | WS_CAPTION, 140, 90, L"Capitolo"};
};

class ADODataExchangeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // A filled record; the tests change what they look at.
        m_dialog.m_capitolo.SetValue(1010);
        m_dialog.m_codice.SetText(L"E.1.01");
        m_dialog.m_attivo.SetValue(1);
        m_dialog.m_chiuso.SetValue(0);
        m_dialog.m_tipo.SetValue(2);
        m_dialog.m_centro.SetValue(77);
        ASSERT_TRUE(m_dialog.Create());   // loads the controls
    }
    void TearDown() override { m_dialog.DestroyWindow(); }

    CString Prompt(LPCTSTR lpszLabel)
    {
        CString s;
        s.Format(IDP_TEST_FIELD_INVALID, lpszLabel);
        return s;
    }

    CFieldDialog m_dialog;
};
} // namespace

TEST_F(ADODataExchangeTest, LoadingShowsValuesAndNullsAsEmptyControls)
{
    EXPECT_EQ(CString(L"1010"), m_dialog.Text(IDC_CAPITOLO));
    EXPECT_EQ(CString(L""), m_dialog.Text(IDC_DESCRIZIONE));
    EXPECT_EQ(CString(L"E.1.01"), m_dialog.Text(IDC_CODICE));
    EXPECT_EQ(BST_CHECKED, m_dialog.IsDlgButtonChecked(IDC_ATTIVO));
    EXPECT_EQ(2, m_dialog.SendDlgItemMessage(IDC_TIPO, CB_GETCURSEL));
    EXPECT_EQ(1, m_dialog.SendDlgItemMessage(IDC_CENTRO, CB_GETCURSEL));   // the item whose data is 77
    // The edit takes no more than the field holds.
    EXPECT_EQ(7, m_dialog.SendDlgItemMessage(IDC_DESCRIZIONE, EM_GETLIMITTEXT));

    m_dialog.m_capitolo.SetNull();
    m_dialog.m_attivo.SetNull();
    m_dialog.m_chiuso.SetNull();
    m_dialog.m_tipo.SetNull();
    m_dialog.m_centro.SetValue(99);   // no such item
    ASSERT_TRUE(m_dialog.UpdateData(FALSE));
    EXPECT_EQ(CString(L""), m_dialog.Text(IDC_CAPITOLO));
    EXPECT_EQ(BST_INDETERMINATE, m_dialog.IsDlgButtonChecked(IDC_ATTIVO));
    EXPECT_EQ(BST_UNCHECKED, m_dialog.IsDlgButtonChecked(IDC_CHIUSO));
    EXPECT_EQ(0, m_dialog.m_chiuso.GetValue());   // a two-state box cannot show null: the field becomes 0
    EXPECT_FALSE(m_dialog.m_chiuso.IsNull());
    EXPECT_EQ(CB_ERR, m_dialog.SendDlgItemMessage(IDC_TIPO, CB_GETCURSEL));
    EXPECT_EQ(CB_ERR, m_dialog.SendDlgItemMessage(IDC_CENTRO, CB_GETCURSEL));
}

TEST_F(ADODataExchangeTest, SavingGivesValuesAndNulls)
{
    CMessageBoxRecorder boxes;
    m_dialog.SetDlgItemText(IDC_CAPITOLO, L"  -2147483648 ");
    m_dialog.SetDlgItemText(IDC_DESCRIZIONE, L"");
    m_dialog.CheckDlgButton(IDC_ATTIVO, BST_INDETERMINATE);
    m_dialog.CheckDlgButton(IDC_CHIUSO, BST_CHECKED);
    m_dialog.SendDlgItemMessage(IDC_TIPO, CB_SETCURSEL, static_cast<WPARAM>(-1));
    m_dialog.SendDlgItemMessage(IDC_CENTRO, CB_SETCURSEL, 2);
    ASSERT_TRUE(m_dialog.UpdateData(TRUE));
    EXPECT_EQ(0u, boxes.Count());
    EXPECT_EQ(-2147483647L - 1, m_dialog.m_capitolo.GetValue());
    EXPECT_TRUE(m_dialog.m_descrizione.IsNull());   // optional and empty
    EXPECT_TRUE(m_dialog.m_attivo.IsNull());        // the third state
    EXPECT_EQ(1, m_dialog.m_chiuso.GetValue());
    EXPECT_TRUE(m_dialog.m_tipo.IsNull());          // nothing selected
    EXPECT_EQ(12, m_dialog.m_centro.GetValue());    // the item data, not the index
}

TEST_F(ADODataExchangeTest, RefusedEntriesNameTheirLabel)
{
    struct
    {
        int nIDC;
        const wchar_t* pszText;
        const wchar_t* pszLabel;
    } cases[] = {
        {IDC_CAPITOLO, L"", L"Capitolo:"},             // required
        {IDC_CAPITOLO, L"   ", L"Capitolo:"},
        {IDC_CAPITOLO, L"12a", L"Capitolo:"},          // a letter after the digits
        {IDC_CAPITOLO, L"2147483648", L"Capitolo:"},   // beyond 32 bits
        {IDC_CAPITOLO, L"1 2", L"Capitolo:"},
        {IDC_CODICE, L"", L"Codice UEB:"},             // required text
    };
    for (const auto& c : cases) {
        CMessageBoxRecorder boxes;
        m_dialog.SetDlgItemText(IDC_CAPITOLO, L"1010");
        m_dialog.SetDlgItemText(IDC_CODICE, L"E.1.01");
        m_dialog.SetDlgItemText(c.nIDC, c.pszText);
        EXPECT_FALSE(m_dialog.UpdateData(TRUE)) << c.pszText;
        ASSERT_EQ(1u, boxes.Count()) << c.pszText;
        EXPECT_EQ(Prompt(c.pszLabel), boxes.Last().text);
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes.LastIcon());
    }
    CMessageBoxRecorder boxes;
    m_dialog.SetDlgItemText(IDC_CODICE, L"E.1.01");
    m_dialog.SetDlgItemText(IDC_CAPITOLO, L" 12 ");   // blanks around a number are fine
    EXPECT_TRUE(m_dialog.UpdateData(TRUE));
    EXPECT_EQ(12, m_dialog.m_capitolo.GetValue());
}

TEST_F(ADODataExchangeTest, TextLongerThanTheFieldIsRefusedNotCut)
{
    CMessageBoxRecorder boxes;
    m_dialog.SetDlgItemText(IDC_DESCRIZIONE, L"12345678");   // pasted past the edit's limit
    EXPECT_FALSE(m_dialog.UpdateData(TRUE));
    ASSERT_EQ(1u, boxes.Count());
    CString strExpected;
    strExpected.FormatMessage(AFX_IDP_PARSE_STRING_SIZE, L"7");
    EXPECT_EQ(strExpected, boxes.Last().text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes.LastIcon());

    m_dialog.SetDlgItemText(IDC_DESCRIZIONE, L"1234567");
    EXPECT_TRUE(m_dialog.UpdateData(TRUE));
    EXPECT_EQ(CString(L"1234567"), m_dialog.m_descrizione.GetText());
}

TEST_F(ADODataExchangeTest, ARequiredCheckBoxLeftUndecidedIsNamedAndCaptionedByItsOwnText)
{
    ::SetWindowLongPtrW(m_dialog.GetDlgItem(IDC_ATTIVO)->m_hWnd, GWL_EXSTYLE, ADO_REQUIRED_CONTROL);
    CMessageBoxRecorder boxes;
    m_dialog.CheckDlgButton(IDC_ATTIVO, BST_INDETERMINATE);
    EXPECT_FALSE(m_dialog.UpdateData(TRUE));
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(Prompt(L"Attivo"), boxes.Last().text);
    EXPECT_EQ(CString(L"Attivo"), boxes.Last().caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes.LastIcon());
}

namespace
{
enum
{
    IDC_IMPORTO = 201,
    IDC_PERCENTUALE,
    IDC_DATA,
    IDC_ORA,
    IDC_MODO_A,
    IDC_MODO_B,
    IDC_ENTE,
};

// The rest of the family: amounts, numbers and dates in the user's locale, a time picker, radio buttons
// and the combo's exact text.
class COtherFieldsDialog : public CDialog
{
public:
    CADOCurrency m_importo;
    CADOType<double> m_percentuale;
    CADOType<double> m_data;
    CADOTime m_ora;
    CADOType<long> m_modo;
    CADOString<20> m_ente;

    BOOL Create()
    {
        m_template.AddItem(L"STATIC", L"Importo", 100, SS_LEFT, 5, 5, 40, 10)
            .AddItem(L"EDIT", L"", IDC_IMPORTO, WS_BORDER, 50, 5, 80, 12)
            .AddItem(L"STATIC", L"Percentuale", 100, SS_LEFT, 5, 20, 40, 10)
            .AddItem(L"EDIT", L"", IDC_PERCENTUALE, WS_BORDER, 50, 20, 80, 12)
            .AddItem(L"STATIC", L"Data", 100, SS_LEFT, 5, 35, 40, 10)
            .AddItem(L"EDIT", L"", IDC_DATA, WS_BORDER, 50, 35, 80, 12)
            .AddItem(L"SysDateTimePick32", L"", IDC_ORA, DTS_TIMEFORMAT, 50, 50, 80, 12)
            .AddItem(L"BUTTON", L"A", IDC_MODO_A, BS_AUTORADIOBUTTON | WS_GROUP, 5, 65, 30, 10)
            .AddItem(L"BUTTON", L"B", IDC_MODO_B, BS_AUTORADIOBUTTON, 40, 65, 30, 10)
            .AddItem(L"COMBOBOX", L"", IDC_ENTE, CBS_DROPDOWNLIST | WS_GROUP, 5, 80, 80, 60);
        return CreateIndirect(m_template.Get());
    }

protected:
    BOOL OnInitDialog() override
    {
        for (LPCTSTR item : {L"comune", L"Comune", L"Provincia"})
            SendDlgItemMessage(IDC_ENTE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_ADOCurrency(pDX, IDC_IMPORTO, m_importo, IDP_TEST_FIELD_INVALID);
        DDX_ADONumber(pDX, IDC_PERCENTUALE, m_percentuale, IDP_TEST_FIELD_INVALID);
        DDV_ADOMinMaxDouble(pDX, m_percentuale, 0.0, 100.0);
        DDX_ADODate(pDX, IDC_DATA, m_data, IDP_TEST_FIELD_INVALID);
        DDX_ADOTime(pDX, IDC_ORA, m_ora, IDP_TEST_FIELD_INVALID);
        DDX_ADORadio(pDX, IDC_MODO_A, m_modo, IDP_TEST_FIELD_INVALID);
        DDX_ADOComboText(pDX, IDC_ENTE, m_ente, IDP_TEST_FIELD_INVALID);
    }

private:
    CDialogTemplate m_template{WS_POPUP | WS_CAPTION, 140, 100, L"Altri campi"};
};

CString DlgText(CWnd& dialog, int nID)
{
    CString s;
    dialog.GetDlgItemText(nID, s);
    return s;
}
} // namespace

TEST(ADODataExchange, AmountsNumbersDatesTimesRadiosAndExactTexts)
{
    COtherFieldsDialog dialog;
    CURRENCY cy;
    cy.int64 = 12345000;   // 1234,50
    dialog.m_importo.SetValue(cy);
    dialog.m_percentuale.SetValue(12.5);
    dialog.m_data.SetValue(COleDateTime(2008, 3, 31, 18, 30, 0));
    dialog.m_ora.SetValue((17 * 60 + 45) / 1440.0);
    dialog.m_modo.SetValue(1);
    dialog.m_ente.SetText(L"Comune");
    ASSERT_TRUE(dialog.Create());

    EXPECT_EQ(GetLocaleCurrencyFormat().Format(COleCurrency(cy)), DlgText(dialog, IDC_IMPORTO));
    EXPECT_EQ(CNumberFormat().Format(12.5), DlgText(dialog, IDC_PERCENTUALE));
    // The date alone: the time of day is not shown.
    EXPECT_EQ(COleDateTime(2008, 3, 31, 0, 0, 0).Format(VAR_DATEVALUEONLY, LANG_USER_DEFAULT), DlgText(dialog, IDC_DATA));
    EXPECT_EQ(BST_CHECKED, dialog.IsDlgButtonChecked(IDC_MODO_B));
    EXPECT_EQ(1, dialog.SendDlgItemMessage(IDC_ENTE, CB_GETCURSEL));   // "Comune", not "comune"

    CMessageBoxRecorder boxes;
    dialog.SetDlgItemText(IDC_IMPORTO, L" 1.234,57 ");
    dialog.SetDlgItemText(IDC_PERCENTUALE, L"");
    dialog.SetDlgItemText(IDC_DATA, L"1/4/2008");
    dialog.CheckRadioButton(IDC_MODO_A, IDC_MODO_B, IDC_MODO_A);
    dialog.SendDlgItemMessage(IDC_ENTE, CB_SETCURSEL, 0);
    ASSERT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(0u, boxes.Count());
    EXPECT_EQ(12345700, dialog.m_importo.GetValue().int64);
    EXPECT_TRUE(dialog.m_percentuale.IsNull());
    EXPECT_EQ(COleDateTime(2008, 4, 1, 0, 0, 0).m_dt, dialog.m_data.GetValue());
    COleDateTime time(dialog.m_ora.GetValue());
    EXPECT_EQ(17, time.GetHour());
    EXPECT_EQ(45, time.GetMinute());
    EXPECT_LT(dialog.m_ora.GetValue(), 1.0);   // on the base day
    EXPECT_EQ(0, dialog.m_modo.GetValue());
    EXPECT_EQ(CString(L"comune"), dialog.m_ente.GetText());

    struct
    {
        int nIDC;
        const wchar_t* pszText;
        UINT nIDPrompt;
    } refused[] = {
        {IDC_IMPORTO, L"12,3,4", IDP_TEST_FIELD_INVALID},
        {IDC_DATA, L"31/02/2008x", IDP_TEST_FIELD_INVALID},
        {IDC_PERCENTUALE, L"150", AFX_IDP_PARSE_REAL_RANGE},   // the framework's range check
    };
    for (const auto& r : refused) {
        CMessageBoxRecorder refusal;
        dialog.SetDlgItemText(IDC_IMPORTO, L"1");
        dialog.SetDlgItemText(IDC_DATA, L"1/4/2008");
        dialog.SetDlgItemText(IDC_PERCENTUALE, L"1");
        dialog.SetDlgItemText(r.nIDC, r.pszText);
        EXPECT_FALSE(dialog.UpdateData(TRUE)) << r.pszText;
        ASSERT_EQ(1u, refusal.Count()) << r.pszText;
        CString strPrompt;
        strPrompt.LoadString(r.nIDPrompt);
        EXPECT_EQ(strPrompt.Left(8), refusal.Last().text.Left(8)) << r.pszText;
    }
    dialog.DestroyWindow();
}

namespace
{
enum
{
    IDC_PESO = 301,
    IDC_INIZIO,
    IDC_FINE,
};

// A 32-bit floating edit and two time pickers, one that can show no time and one that cannot.
class CFloatTimeDialog : public CDialog
{
public:
    CADOFloat m_peso;
    CADOTime m_inizio;   // picker without DTS_SHOWNONE
    CADOTime m_fine;     // picker with DTS_SHOWNONE

    BOOL Create()
    {
        m_template.AddItem(L"STATIC", L"Peso", 100, SS_LEFT, 5, 5, 40, 10)
            .AddItem(L"EDIT", L"", IDC_PESO, WS_BORDER, 50, 5, 80, 12)
            .AddItem(L"SysDateTimePick32", L"", IDC_INIZIO, DTS_TIMEFORMAT, 50, 20, 80, 12)
            .AddItem(L"SysDateTimePick32", L"", IDC_FINE, DTS_TIMEFORMAT | DTS_SHOWNONE, 50, 35, 80, 12);
        return CreateIndirect(m_template.Get());
    }

    void SetPickerTime(int nIDC, WORD wHour, WORD wMinute)
    {
        SYSTEMTIME st = {};
        ::GetLocalTime(&st);
        st.wHour = wHour;
        st.wMinute = wMinute;
        SendDlgItemMessage(nIDC, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_ADOFloat(pDX, IDC_PESO, m_peso, IDP_TEST_FIELD_INVALID);
        DDX_ADOTime(pDX, IDC_INIZIO, m_inizio, IDP_TEST_FIELD_INVALID);
        DDX_ADOTime(pDX, IDC_FINE, m_fine, IDP_TEST_FIELD_INVALID);
    }

private:
    CDialogTemplate m_template{WS_POPUP | WS_CAPTION, 140, 60, L"Peso e orari"};
};
} // namespace

TEST(ADODataExchange, FloatsAreDecimalNumbersInTheItalianForm)
{
    CFloatTimeDialog dialog;
    dialog.m_peso.SetValue(1234567.0f);
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(CString(L"1,23457e+"), DlgText(dialog, IDC_PESO).Left(9));   // the exponent's width is the library's
    ASSERT_TRUE(dialog.UpdateData(TRUE));   // what loading shows reads back
    EXPECT_FLOAT_EQ(1234570.0f, dialog.m_peso.GetValue());

    struct
    {
        const wchar_t* pszText;
        float expected;
    } accepted[] = {
        {L" 1,5 ", 1.5f}, {L"-0,25", -0.25f}, {L"+3", 3.0f}, {L",5", 0.5f}, {L"0", 0.0f}, {L"2,5E-3", 0.0025f},
    };
    for (const auto& a : accepted) {
        CMessageBoxRecorder boxes;
        dialog.SetDlgItemText(IDC_PESO, a.pszText);
        EXPECT_TRUE(dialog.UpdateData(TRUE)) << a.pszText;
        EXPECT_FLOAT_EQ(a.expected, dialog.m_peso.GetValue()) << a.pszText;
        EXPECT_EQ(0u, boxes.Count()) << a.pszText;
    }

    const wchar_t* refused[] = {L"0x10", L"1.5", L"1.234,5", L"inf", L"nan", L"1e", L",", L"-", L"1,5 kg", L"1e39"};
    for (const wchar_t* pszText : refused) {
        CMessageBoxRecorder boxes;
        dialog.m_peso.SetValue(7.0f);
        dialog.SetDlgItemText(IDC_PESO, pszText);
        EXPECT_FALSE(dialog.UpdateData(TRUE)) << pszText;
        EXPECT_EQ(1u, boxes.Count()) << pszText;
        EXPECT_FLOAT_EQ(7.0f, dialog.m_peso.GetValue()) << pszText;
    }
    dialog.DestroyWindow();
}

TEST(ADODataExchange, ANullTimeStaysNullUntilATimeIsSet)
{
    CFloatTimeDialog dialog;
    ASSERT_TRUE(dialog.Create());   // both times null
    ASSERT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_TRUE(dialog.m_inizio.IsNull());
    EXPECT_TRUE(dialog.m_fine.IsNull());

    dialog.SetPickerTime(IDC_INIZIO, 8, 30);
    ASSERT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_DOUBLE_EQ((8 * 60 + 30) / 1440.0, dialog.m_inizio.GetValue());
    dialog.SetPickerTime(IDC_INIZIO, 0, 0);   // once a time was set, midnight is a time
    ASSERT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_FALSE(dialog.m_inizio.IsNull());
    EXPECT_DOUBLE_EQ(0.0, dialog.m_inizio.GetValue());

    // Loading a null again, over a picker that showed a value.
    dialog.m_inizio.SetNull();
    ASSERT_TRUE(dialog.UpdateData(FALSE));
    ASSERT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_TRUE(dialog.m_inizio.IsNull());
    dialog.DestroyWindow();
}
