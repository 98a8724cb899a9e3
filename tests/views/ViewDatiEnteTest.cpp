// The authority data form: nine fields, one DatiEnte row each, saved and read back; a text longer than its
// field is refused by the data exchange and nothing is written.
#include "FormViewFixture.h"

#include "views/ViewDatiEnte.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace
{
class ViewDatiEnteTest : public CFormViewFixture
{
protected:
    CViewDatiEnte* Open()
    {
        auto pView = static_cast<CViewDatiEnte*>(MakeView(RUNTIME_CLASS(CViewDatiEnte)));
        return pView && pView->LoadData(nullptr) ? pView : nullptr;
    }
    _variant_t Value(LPCTSTR pszKey)
    {
        CString sql;
        sql.Format(L"SELECT [value] FROM DatiEnte WHERE ID = '%s'", pszKey);
        return Scalar(sql);
    }
    long RowCount() { return ScalarLong(L"SELECT COUNT(*) FROM DatiEnte"); }
};

CString GetWindowTextOf(CWnd* pWnd)
{
    CString strText;
    pWnd->GetWindowText(strText);
    return strText;
}

const struct
{
    UINT nEditID;
    LPCTSTR pszKey;
    LPCTSTR pszValue;
} kValues[] = {
    {IDC_ENTE_NAME, L"ENTE", L"Comune di Cantù"},
    {IDC_ENTE_PIVA, L"PIVA", L"00123456789"},
    {IDC_ENTE_TEL, L"TEL", L"031 123456"},
    {IDC_ENTE_FAX, L"FAX", L""},
    {IDC_ENTE_MAIL, L"MAIL", L"ragioneria@comune.cantu.co.it"},
    {IDC_ENTE_ADDRESS, L"INDIRIZZO", L"Piazza Parini, 1\r\nPalazzo comunale"},
    {IDC_ENTE_CAP, L"CAP", L"22063"},
    {IDC_ENTE_CITY, L"CITY", L"Cantù"},
    {IDC_ENTE_PROV, L"PROV", L"CO"},
};
} // namespace

TEST_F(ViewDatiEnteTest, TheNineFieldsAreSavedAndReadBack)
{
    CViewDatiEnte* pView = Open();
    ASSERT_NE(nullptr, pView);
    EXPECT_EQ(0L, RowCount());
    for (const auto& v : kValues)
        EXPECT_EQ(CString(), GetWindowTextOf(pView->GetDlgItem(static_cast<int>(v.nEditID))));
    EXPECT_FALSE(pView->IsModified());

    for (const auto& v : kValues)
        pView->GetDlgItem(static_cast<int>(v.nEditID))->SetWindowText(v.pszValue);
    EXPECT_TRUE(pView->IsModified());
    ASSERT_TRUE(pView->SaveData());
    EXPECT_FALSE(pView->IsModified());
    EXPECT_EQ(9L, RowCount());
    for (const auto& v : kValues) {
        _variant_t value = Value(v.pszKey);
        if (*v.pszValue)
            EXPECT_EQ(CString(v.pszValue), CString(value.bstrVal)) << CString(v.pszKey).ToMultiByte(CP_UTF8);
        else
            EXPECT_EQ(VT_NULL, value.vt) << "an empty field is stored as null";
    }

    m_pFrame->DestroyWindow();
    CViewDatiEnte* pReloaded = Open();
    ASSERT_NE(nullptr, pReloaded);
    for (const auto& v : kValues)
        EXPECT_EQ(CString(v.pszValue), GetWindowTextOf(pReloaded->GetDlgItem(static_cast<int>(v.nEditID))));
    EXPECT_FALSE(pReloaded->IsModified());
}

TEST_F(ViewDatiEnteTest, AProvinceOfThreeLettersIsRefusedAndNothingIsWritten)
{
    CViewDatiEnte* pView = Open();
    ASSERT_NE(nullptr, pView);
    pView->GetDlgItem(IDC_ENTE_NAME)->SetWindowText(L"Comune di Prova");
    CWnd* pProv = pView->GetDlgItem(IDC_ENTE_PROV);
    // The edit takes two characters from the keyboard; a text put in otherwise is refused on saving.
    EXPECT_EQ(2, static_cast<int>(pProv->SendMessage(EM_GETLIMITTEXT)));
    pProv->SetWindowText(L"COM");
    CMessageBoxRecorder boxes;
    EXPECT_FALSE(pView->SaveData());
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes.LastIcon());
    EXPECT_EQ(pProv->m_hWnd, ::GetFocus());
    EXPECT_TRUE(pView->IsModified());
    EXPECT_EQ(0L, RowCount());
}
