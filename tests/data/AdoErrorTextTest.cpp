#include "data/AdoErrorText.h"
#include "DataTestArchive.h"

class AdoErrorText : public CDataTestArchive
{
};

TEST_F(AdoErrorText, DescriptionThenEveryEntryOfTheConnection)
{
    OpenDatabases(TRUE);
    try {
        Execute(L"INSERT INTO Settings (name, [value]) VALUES ('VersioneDB', '200')");
        FAIL() << "a duplicate key was accepted";
    } catch (const _com_error& e) {
        CString own(static_cast<LPCWSTR>(e.Description()));
        ASSERT_FALSE(own.IsEmpty());
        ErrorsPtr errors = m_data.GetConnection()->GetErrors();
        ASSERT_EQ(1, errors->GetCount());
        CString entry = GetAdoErrorDescription(errors->GetItem(_variant_t(0L)));
        EXPECT_EQ(own + L"\n\n" + entry, GetComErrorText(e, &m_data));
        EXPECT_EQ(own + L"\n", GetComErrorText(e, nullptr));
    }
}

TEST_F(AdoErrorText, BracketedFallbackWhenNothingDescribesTheError)
{
    const struct { HRESULT hr; const wchar_t* text; } cases[] = {
        { E_FAIL, L"[Errore 80004005 -- (16389)]" },
        { E_POINTER, L"[Errore 80004003 -- (16387)]" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CString(c.text), GetComErrorText(_com_error(c.hr), nullptr));
        CADOConnection neverOpened;
        EXPECT_EQ(CString(c.text), GetComErrorText(_com_error(c.hr), &neverOpened));
    }
    EXPECT_TRUE(GetAdoErrorDescription(nullptr).IsEmpty());
}
