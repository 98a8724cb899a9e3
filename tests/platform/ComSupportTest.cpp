// The COM support that MinGW declares without implementing: text conversions of _bstr_t and _variant_t in
// the system code page (1252 here), raising errors, and the rich error information of an object.
#include "platform/com/comsupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace
{
const char kCitta1252[] = "Citt\xE0";
const wchar_t kCitta[] = L"Citt\u00E0";

TEST(ComSupport, BstrConvertsBothWays)
{
    _bstr_t fromAnsi(kCitta1252);
    EXPECT_EQ(5u, fromAnsi.length());
    EXPECT_STREQ(kCitta, static_cast<const wchar_t*>(fromAnsi));

    _bstr_t fromWide(kCitta);
    EXPECT_STREQ(kCitta1252, static_cast<const char*>(fromWide));
    char* writable = fromWide;
    EXPECT_STREQ(kCitta1252, writable);

    _bstr_t empty("");
    EXPECT_EQ(0u, empty.length());
    EXPECT_STREQ("", static_cast<const char*>(empty));
    _bstr_t none(static_cast<const char*>(nullptr));
    EXPECT_EQ(nullptr, static_cast<const char*>(none));
}

TEST(ComSupport, BstrConcatenation)
{
    _bstr_t name(kCitta1252);
    EXPECT_STREQ(L"Citt\u00E0 di Roma", static_cast<const wchar_t*>(name + _bstr_t(" di Roma")));
    EXPECT_STREQ("La Citt\xE0", static_cast<const char*>("La " + name));
    EXPECT_STREQ(L"La Citt\u00E0", static_cast<const wchar_t*>(L"La " + name));
    name += _bstr_t(L"!");
    EXPECT_STREQ("Citt\xE0!", static_cast<const char*>(name));
}

TEST(ComSupport, VariantTextConvertsBothWays)
{
    _variant_t fromAnsi(kCitta1252);
    ASSERT_EQ(VT_BSTR, fromAnsi.vt);
    EXPECT_STREQ(kCitta, fromAnsi.bstrVal);

    _variant_t fromWide(kCitta);
    EXPECT_STREQ(kCitta1252, static_cast<const char*>(_bstr_t(fromWide)));

    _variant_t number(12.5);
    EXPECT_STREQ(L"12,5", static_cast<const wchar_t*>(_bstr_t(number)));   // the Italian decimal comma
}

TEST(ComSupport, VariantChangeType)
{
    _variant_t value(L"1234,5");
    value.ChangeType(VT_R8);
    ASSERT_EQ(VT_R8, value.vt);
    EXPECT_EQ(1234.5, static_cast<double>(value));

    _variant_t text(kCitta1252);
    try {
        text.ChangeType(VT_R8);
        ADD_FAILURE() << "no error raised";
    } catch (const _com_error& e) {
        EXPECT_EQ(DISP_E_TYPEMISMATCH, e.Error());
    }
}

TEST(ComSupport, IssueErrorThrowsTheResult)
{
    try {
        _com_issue_error(E_OUTOFMEMORY);
        ADD_FAILURE() << "no error raised";
    } catch (const _com_error& e) {
        EXPECT_EQ(E_OUTOFMEMORY, e.Error());
        EXPECT_EQ(nullptr, e.ErrorInfo());
    }
}

TEST(ComSupport, MissingArgument)
{
    EXPECT_EQ(VT_ERROR, vtMissing.vt);
    EXPECT_EQ(DISP_E_PARAMNOTFOUND, vtMissing.scode);
}

// An object that offers rich error information for one interface, as the data-access objects do.
class CErrorSource : public ISupportErrorInfo
{
public:
    explicit CErrorSource(REFIID riid) : m_iid(riid) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_ISupportErrorInfo) {
            *ppv = static_cast<ISupportErrorInfo*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override { return --m_refs; }
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override { return riid == m_iid ? S_OK : S_FALSE; }

    ULONG m_refs = 1;

private:
    IID m_iid;
};

void SetThreadErrorDescription(LPCOLESTR description)
{
    ICreateErrorInfo* create = nullptr;
    ASSERT_EQ(S_OK, ::CreateErrorInfo(&create));
    create->SetDescription(const_cast<LPOLESTR>(description));
    IErrorInfo* info = nullptr;
    create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info));
    ::SetErrorInfo(0, info);
    info->Release();
    create->Release();
}

TEST(ComSupport, IssueErrorExCarriesTheObjectsDescription)
{
    CErrorSource source(IID_IDispatch);
    SetThreadErrorDescription(L"Chiave duplicata");
    try {
        _com_issue_errorex(E_FAIL, &source, IID_IDispatch);
        ADD_FAILURE() << "no error raised";
    } catch (const _com_error& e) {
        EXPECT_EQ(E_FAIL, e.Error());
        EXPECT_STREQ(L"Chiave duplicata", static_cast<const wchar_t*>(e.Description()));
    }

    // For an interface without error information the pending description is not the object's.
    SetThreadErrorDescription(L"Altro errore");
    try {
        _com_issue_errorex(E_FAIL, &source, IID_IUnknown);
        ADD_FAILURE() << "no error raised";
    } catch (const _com_error& e) {
        EXPECT_EQ(E_FAIL, e.Error());
        EXPECT_EQ(0u, e.Description().length());
    }
    ::SetErrorInfo(0, nullptr);
    EXPECT_EQ(1u, source.m_refs);
}
} // namespace

namespace
{
// The nearest 1/10000 to the double's exact binary value, ties to the even count.
TEST(ComSupport, CurrencyFromDoubleRoundsTheExactValue)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct
    {
        double m_value;
        HRESULT m_result;
        LONGLONG m_count;
    } cases[] = {
        {0.0, S_OK, 0},
        {12.5, S_OK, 125000},
        {0.03125, S_OK, 312},                 // a tie: 312.5 counts, to the even one
        {0.09375, S_OK, 938},                 // 937.5
        {-0.03125, S_OK, -312},
        {-0.09375, S_OK, -938},
        {1.32815, S_OK, 13281},               // the double lies just below ...815
        {0.00005, S_OK, 1},                   // the double lies just above half a count
        {-1234.56785, S_OK, -12345678},       // the double lies just inside ...785
        {1e-300, S_OK, 0},
        {922337203685477.5, S_OK, 9223372036854775000LL},
        {-922337203685477.5, S_OK, -9223372036854775000LL},
        {922337203685477.625, DISP_E_OVERFLOW, 0}, // the nearest double to the largest amount
        {-922337203685477.625, DISP_E_OVERFLOW, 0},
        {1e300, DISP_E_OVERFLOW, 0},
        {inf, DISP_E_OVERFLOW, 0},
        {-inf, DISP_E_OVERFLOW, 0},
        {std::numeric_limits<double>::quiet_NaN(), DISP_E_OVERFLOW, 0},
    };
    for (const auto& c : cases) {
        CY result = {};
        result.int64 = 7;
        EXPECT_EQ(c.m_result, CurrencyFromDoubleExact(c.m_value, &result)) << c.m_value;
        if (c.m_result == S_OK) {
            EXPECT_EQ(c.m_count, result.int64) << c.m_value;
        }
    }
}
} // namespace
