// The property exchange through each of its stores: every type code saved and read back, blobs, sections,
// lists, emptied sections, defaults that remove older values, the schema gate and the stored class.
#include "PropExchangeStores.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>

namespace
{
enum StoreColumn { kArchive, kRegistry, kXmlCompact, kXmlElements, kIni, kStoreCount };

struct StoreKind
{
    const char* name;
    StoreColumn column;
    std::function<std::unique_ptr<CStoreBacking>()> make;
};

std::vector<StoreKind> Stores()
{
    return {
        {"archive", kArchive, [] { return std::make_unique<CArchiveBacking>(); }},
        {"registry", kRegistry, [] { return std::make_unique<CRegistryBacking>(); }},
        {"xml compact", kXmlCompact, [] { return std::make_unique<CXmlBacking>(TRUE); }},
        {"xml elements", kXmlElements, [] { return std::make_unique<CXmlBacking>(FALSE); }},
        {"ini", kIni, [] { return std::make_unique<CIniBacking>(); }},
    };
}

// RoundTrip: saved and read back. Refused: the save and the load fail, the variable keeps its value.
// SaveRefused: the save fails; the load, finding nothing, gives the default.
enum Answer { RoundTrip, Refused, SaveRefused };

bool Same(const CString& a, const CString& b) { return a == b; }
bool Same(const COleDateTime& a, const COleDateTime& b) { return a.GetStatus() == b.GetStatus() && a.m_dt == b.m_dt; }
bool Same(const COleVariant& a, const COleVariant& b) { return a == b; }
bool Same(const CRect& a, const CRect& b) { return a == b; }
bool Same(const CSize& a, const CSize& b) { return a == b; }
bool Same(const CURRENCY& a, const CURRENCY& b) { return a.int64 == b.int64; }
bool Same(const BSTR& a, const BSTR& b) { return wcscmp(a ? a : L"", b ? b : L"") == 0; }
template <class T>
bool Same(const T& a, const T& b) { return a == b; }

// A loaded BSTR replaces (frees) the one the variable held: each load starts from its own copy of the sentinel
// and frees what it was left with, so the shared sentinel is never freed.
template <class T>
T Fresh(const T& value) { return value; }
BSTR Fresh(const BSTR& value) { return ::SysAllocString(value); }
template <class T>
void Release(T&) {}
void Release(BSTR& value) { ::SysFreeString(value); }

struct TypeCase
{
    std::string name;
    std::array<Answer, kStoreCount> answers;
    // Saves the case's value; loads into a variable that starts at a sentinel and tells whether it now holds the
    // saved value (and for a refusal, whether it kept the sentinel).
    std::function<BOOL(CXTPPropExchange*)> save;
    std::function<BOOL(CXTPPropExchange*, Answer answer)> load;
};

template <class T>
TypeCase Case(std::string name, VARTYPE vt, T value, T def, T sentinel, std::array<Answer, kStoreCount> answers)
{
    TypeCase c;
    c.name = std::move(name);
    c.answers = answers;
    c.save = [=](CXTPPropExchange* px) {
        T v = value;
        T d = def;
        return px->ExchangeValue(L"Value", vt, &v, &d);
    };
    c.load = [=](CXTPPropExchange* px, Answer answer) {
        T v = Fresh(sentinel);
        T d = def;
        BOOL bLoaded = px->ExchangeValue(L"Value", vt, &v, &d);
        BOOL bAsExpected = FALSE;
        switch (answer) {
        case RoundTrip: bAsExpected = bLoaded && Same(v, value); break;
        case SaveRefused: bAsExpected = bLoaded && Same(v, def); break;
        default: bAsExpected = !bLoaded && Same(v, sentinel); break;
        }
        Release(v);
        return bAsExpected;
    };
    return c;
}

const std::array<Answer, kStoreCount> kAll = {RoundTrip, RoundTrip, RoundTrip, RoundTrip, RoundTrip};
const std::array<Answer, kStoreCount> kKeyedNumbersOnly = {RoundTrip, Refused, RoundTrip, RoundTrip, RoundTrip};

std::vector<TypeCase> TypeCases()
{
    COleDateTime dt(2008, 3, 31, 17, 45, 12);
    COleDateTime dtDefault(2000, 1, 1, 0, 0, 0);
    CURRENCY cy;
    cy.int64 = -123456789012345LL;
    CURRENCY cyDefault;
    cyDefault.int64 = 0;
    static BSTR bstrValue = ::SysAllocString(L"Ciò che è \\n detto");
    static BSTR bstrEmpty = ::SysAllocString(L"");
    static BSTR bstrSentinel = ::SysAllocString(L"sentinella");
    return {
        Case<BYTE>("byte 255", VT_UI1, 255, 0, 7, kAll),
        Case<BYTE>("byte equal to its default", VT_UI1, 3, 3, 7, kAll),
        Case<short>("short minimum", VT_I2, SHRT_MIN, 0, 7, kAll),
        Case<WORD>("word maximum", VT_I2, 0xFFFF, 0, 7, kAll),
        Case<long>("long minimum", VT_I4, LONG_MIN, 0, 7, kAll),
        Case<long>("long maximum", VT_I4, LONG_MAX, 0, 7, kAll),
        Case<DWORD>("dword all bits", VT_I4, 0xFFFFFFFF, 0, 7, kAll),
        Case<long>("long equal to its default", VT_I4, 42, 42, 7, kAll),
        Case<BOOL>("bool", VT_BOOL, TRUE, FALSE, 7, kAll),
        Case<float>("float", VT_R4, 3.1415927f, 0.0f, 7.0f, kAll),
        Case<float>("float maximum", VT_R4, FLT_MAX, 0.0f, 7.0f, kAll),
        Case<double>("double with every digit", VT_R8, 1234.5678901234567, 0.0, 7.0, kAll),
        Case<double>("double smallest", VT_R8, DBL_MIN, 0.0, 7.0, kAll),
        Case<double>("double negative huge", VT_R8, -1.7976931348623157e308, 0.0, 7.0, kAll),
        Case<CURRENCY>("currency", VT_CY, cy, cyDefault, cyDefault,
                       {RoundTrip, Refused, SaveRefused, SaveRefused, SaveRefused}),
        Case<COleDateTime>("date", VT_DATE, dt, dtDefault, dtDefault, kKeyedNumbersOnly),
        Case<BSTR>("bstr", VT_BSTR, bstrValue, bstrEmpty, bstrSentinel, {Refused, Refused, RoundTrip, RoundTrip, RoundTrip}),
        Case<COleVariant>("variant", VT_VARIANT, COleVariant(L"variante"), COleVariant(), COleVariant(7L),
                          {RoundTrip, Refused, RoundTrip, RoundTrip, RoundTrip}),
        Case<CString>("text with escapes and accents", VT_LPSTR, CString(L"C:\\Dati\\nuovo\tperché\r\nè così"),
                      CString(), CString(L"sentinella"), kAll),
        Case<CString>("text of a backslash and n letters", VT_LPSTR, CString(L"\\n\\\\n"), CString(),
                      CString(L"sentinella"), kAll),
        Case<CString>("text of control bytes", VT_LPSTR, CString(L"a\x01\x01" L"b\\\\"), CString(),
                      CString(L"sentinella"), {RoundTrip, RoundTrip, SaveRefused, SaveRefused, RoundTrip}),
        Case<CString>("text equal to its default", VT_LPSTR, CString(L"uguale"), CString(L"uguale"),
                      CString(L"sentinella"), kAll),
        Case<CRect>("rectangle", VT_EX_RECT, CRect(-5, 10, 2000, INT_MAX), CRect(), CRect(1, 1, 1, 1), kAll),
        Case<CSize>("size", VT_EX_SIZE, CSize(INT_MIN, 17), CSize(), CSize(1, 1), kAll),
        Case<long>("unknown type code", 99, 1, 0, 7, {Refused, Refused, Refused, Refused, Refused}),
    };
}
}

TEST(PropExchangeTest, EveryTypeCodeThroughEveryStore)
{
    for (const StoreKind& store : Stores()) {
        for (const TypeCase& c : TypeCases()) {
            SCOPED_TRACE(std::string(store.name) + ": " + c.name);
            std::unique_ptr<CStoreBacking> backing = store.make();
            Answer answer = c.answers[store.column];
            BOOL bSaved = FALSE;
            backing->Save([&](CXTPPropExchange* px) { bSaved = c.save(px); });
            EXPECT_EQ(answer == RoundTrip, bSaved);
            BOOL bLoaded = FALSE;
            backing->Load([&](CXTPPropExchange* px) { bLoaded = c.load(px, answer); });
            EXPECT_TRUE(bLoaded);
        }
    }
}

TEST(PropExchangeTest, DoubleUnderTheItalianLocaleKeepsEveryDigit)
{
    ASSERT_EQ(0x0410u, ::GetUserDefaultLCID());
    for (const StoreKind& store : Stores()) {
        SCOPED_TRACE(store.name);
        std::unique_ptr<CStoreBacking> backing = store.make();
        double d = 0.1 + 0.2;
        backing->Save([&](CXTPPropExchange* px) { ExchangeDouble(px, L"D", d, 0.0); });
        double dLoaded = 0;
        backing->Load([&](CXTPPropExchange* px) { EXPECT_TRUE(ExchangeDouble(px, L"D", dLoaded, 0.0)); });
        EXPECT_EQ(d, dLoaded);
    }
}

TEST(PropExchangeTest, BlobsThroughEveryStore)
{
    std::vector<BYTE> all(300);
    for (size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<BYTE>(i * 7);
    const std::vector<std::vector<BYTE>> blobs = {{}, {0x12, 0xAB}, {0x00, 0xFF}, all};
    for (const StoreKind& store : Stores()) {
        for (const std::vector<BYTE>& blob : blobs) {
            SCOPED_TRACE(std::string(store.name) + ": " + std::to_string(blob.size()) + " bytes");
            std::unique_ptr<CStoreBacking> backing = store.make();
            backing->Save([&](CXTPPropExchange* px) {
                BYTE* pData = const_cast<BYTE*>(blob.data());
                DWORD nBytes = static_cast<DWORD>(blob.size());
                EXPECT_TRUE(ExchangeBlob(px, L"Blob", pData, nBytes));
            });
            backing->Load([&](CXTPPropExchange* px) {
                BYTE* pData = nullptr;
                DWORD nBytes = 0;
                EXPECT_TRUE(ExchangeBlob(px, L"Blob", pData, nBytes));
                EXPECT_EQ(blob, std::vector<BYTE>(pData, pData + nBytes));
                free(pData);
            });
            // A caller's buffer one byte short of the stored size is refused.
            if (!blob.empty()) {
                backing->Load([&](CXTPPropExchange* px) {
                    std::vector<BYTE> buffer(blob.size() - 1, 0x5A);
                    BYTE* pData = buffer.data();
                    DWORD nBytes = static_cast<DWORD>(buffer.size());
                    EXPECT_FALSE(ExchangeBlob(px, L"Blob", pData, nBytes));
                });
            }
        }
    }
}

namespace
{
// A tree of settings: values in the root and in a section, a numbered list.
struct CTreeSettings
{
    CString strName = L"radice";
    int nInner = 5;
    std::vector<int> items;

    void DoPropExchange(CXTPPropExchange* px)
    {
        ExchangeString(px, L"Name", strName, L"");
        CXTPPropExchangeSection inner(px, L"Inner");
        ExchangeInt(&inner, L"Value", nInner, 0);
        std::unique_ptr<CXTPPropExchangeEnumerator> list(px->GetEnumerator(L"Item"));
        POSITION pos = list->GetPosition(static_cast<DWORD>(items.size()));
        if (px->IsLoading())
            items.clear();
        for (size_t i = 0; pos; ++i) {
            CXTPPropExchangeSection item(list->GetNext(pos));
            int n = px->IsLoading() ? 0 : items[i];
            ExchangeInt(&item, L"N", n, -1);
            if (px->IsLoading())
                items.push_back(n);
        }
    }
};
}

TEST(PropExchangeTest, SectionsAndListsOfZeroOneAndThreeItems)
{
    for (const StoreKind& store : Stores()) {
        for (const std::vector<int>& items : {std::vector<int>(), std::vector<int> {4}, std::vector<int> {1, -1, 3}}) {
            SCOPED_TRACE(std::string(store.name) + ": " + std::to_string(items.size()) + " items");
            std::unique_ptr<CStoreBacking> backing = store.make();
            CTreeSettings saved;
            saved.strName = L"albero";
            saved.nInner = 9;
            saved.items = items;
            backing->Save([&](CXTPPropExchange* px) { saved.DoPropExchange(px); });
            CTreeSettings loaded;
            loaded.items = {8, 8, 8, 8};
            backing->Load([&](CXTPPropExchange* px) { loaded.DoPropExchange(px); });
            EXPECT_EQ(saved.strName, loaded.strName);
            EXPECT_EQ(9, loaded.nInner);
            EXPECT_EQ(items, loaded.items);
        }
    }
}

TEST(PropExchangeTest, KeyedStoresRemoveAnOlderValueThatReturnedToItsDefault)
{
    for (const StoreKind& store : Stores()) {
        if (store.column == kArchive)
            continue;
        SCOPED_TRACE(store.name);
        std::unique_ptr<CStoreBacking> backing = store.make();
        int n = 5;
        CString str = L"cambiato";
        backing->Save([&](CXTPPropExchange* px) {
            ExchangeInt(px, L"N", n, 0);
            ExchangeString(px, L"S", str, L"originale");
        });
        n = 0;
        str = L"originale";
        backing->Save([&](CXTPPropExchange* px) {
            ExchangeInt(px, L"N", n, 0);
            ExchangeString(px, L"S", str, L"originale");
        });
        // Loading without defaults tells an absent value from a present one.
        backing->Load([&](CXTPPropExchange* px) {
            px->UseDefaultOnLoad(FALSE);
            int nLoaded = 77;
            CString strLoaded = L"assente";
            EXPECT_FALSE(ExchangeInt(px, L"N", nLoaded, 0));
            EXPECT_FALSE(ExchangeString(px, L"S", strLoaded, L"originale"));
            EXPECT_EQ(77, nLoaded);
            EXPECT_EQ(CString(L"assente"), strLoaded);
        });
    }
}

TEST(PropExchangeTest, EmptySectionDropsEverythingAndKeepsOnlyWhatDiffers)
{
    for (const StoreKind& store : Stores()) {
        if (store.column == kArchive)
            continue;
        SCOPED_TRACE(store.name);
        std::unique_ptr<CStoreBacking> backing = store.make();
        backing->Save([&](CXTPPropExchange* px) {
            CXTPPropExchangeSection section(px, L"Bar");
            int a = 1, b = 2;
            ExchangeInt(&section, L"A", a, 0);
            ExchangeInt(&section, L"B", b, 0);
            CXTPPropExchangeSection nested(&section, L"Nested");
            ExchangeInt(&nested, L"C", a, 0);
        });
        backing->Save([&](CXTPPropExchange* px) {
            CXTPPropExchangeSection section(px, L"Bar");
            section->EmptySection();
            int a = 0, b = 3;
            EXPECT_TRUE(ExchangeInt(&section, L"A", a, 0));
            EXPECT_TRUE(ExchangeInt(&section, L"B", b, 0));
        });
        backing->Load([&](CXTPPropExchange* px) {
            px->UseDefaultOnLoad(FALSE);
            CXTPPropExchangeSection section(px, L"Bar");
            int a = 9, b = 9, c = 9;
            EXPECT_FALSE(ExchangeInt(&section, L"A", a, 0));
            EXPECT_TRUE(ExchangeInt(&section, L"B", b, 0));
            CXTPPropExchangeSection nested(&section, L"Nested");
            EXPECT_FALSE(ExchangeInt(&nested, L"C", c, 0));
            EXPECT_EQ(9, a);
            EXPECT_EQ(3, b);
            EXPECT_EQ(9, c);
        });
    }
}

TEST(PropExchangeTest, MissingSectionLoadsEveryDefault)
{
    for (const StoreKind& store : Stores()) {
        if (store.column == kArchive)
            continue;
        SCOPED_TRACE(store.name);
        std::unique_ptr<CStoreBacking> backing = store.make();
        backing->Load([&](CXTPPropExchange* px) {
            CXTPPropExchangeSection section(px, L"Assente");
            int n = 9;
            CRect rc(1, 2, 3, 4);
            EXPECT_TRUE(ExchangeInt(&section, L"N", n, 12));
            EXPECT_TRUE(ExchangeRect(&section, L"R", rc, CRect(5, 6, 7, 8)));
            EXPECT_EQ(12, n);
            EXPECT_EQ(CRect(5, 6, 7, 8), rc);
        });
    }
}

namespace
{
// Data of schema 8 lacks "Extra"; schema 9 has it.
struct CGatedSettings
{
    int nFirst = 0;
    int nExtra = 0;
    int nLast = 0;
    void DoPropExchange(CXTPPropExchange* px)
    {
        px->ExchangeSchema();
        ExchangeInt(px, L"First", nFirst, 0);
        if (px->m_nSchema > 8)
            ExchangeInt(px, L"Extra", nExtra, 0);
        ExchangeInt(px, L"Last", nLast, 0);
    }
};
}

TEST(PropExchangeTest, ArchiveReadsBackWhatTheWritersSchemaProduced)
{
    for (UINT nSchema : {8u, 9u}) {
        SCOPED_TRACE(nSchema);
        CArchiveBacking backing;
        backing.Save([&](CXTPPropExchange* px) {
            px->m_nSchema = nSchema;
            CGatedSettings settings {1, 2, 3};
            settings.DoPropExchange(px);
        });
        CGatedSettings loaded;
        backing.Load([&](CXTPPropExchange* px) { loaded.DoPropExchange(px); });
        EXPECT_EQ(1, loaded.nFirst);
        EXPECT_EQ(nSchema > 8 ? 2 : 0, loaded.nExtra);
        EXPECT_EQ(3, loaded.nLast);
    }
}

namespace exchange_classes
{
class CExchangeBase : public CObject
{
    DECLARE_SERIAL(CExchangeBase)
};
IMPLEMENT_SERIAL(CExchangeBase, CObject, 1)

class CExchangeDerived : public CExchangeBase
{
    DECLARE_SERIAL(CExchangeDerived)
};
IMPLEMENT_SERIAL(CExchangeDerived, CExchangeBase, 1)

// Counts its instances: a foreign class named under "Class" must not even be created.
class CExchangeForeign : public CObject
{
    DECLARE_DYNCREATE(CExchangeForeign)
public:
    CExchangeForeign() { ++s_nCreated; }
    static inline int s_nCreated = 0;
};
IMPLEMENT_DYNCREATE(CExchangeForeign, CObject)
}
using namespace exchange_classes;

TEST(PropExchangeTest, StoredClassAbsentKnownUnknownAndForeign)
{
    for (const StoreKind& store : Stores()) {
        if (store.column == kArchive)
            continue;
        SCOPED_TRACE(store.name);
        struct
        {
            const char* what;
            LPCTSTR pszClass;   // null: "Class" absent
            CRuntimeClass* pExpected;
        } cases[] = {
            {"absent", nullptr, RUNTIME_CLASS(CExchangeBase)},
            {"derived", L"CExchangeDerived", RUNTIME_CLASS(CExchangeDerived)},
            {"unknown", L"CNessunaClasse", nullptr},
            {"foreign", L"CExchangeForeign", nullptr},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.what);
            std::unique_ptr<CStoreBacking> backing = store.make();
            backing->Save([&](CXTPPropExchange* px) {
                CString strClass = c.pszClass ? c.pszClass : L"";
                ExchangeString(px, L"Class", strClass, L"");
            });
            int nForeignBefore = CExchangeForeign::s_nCreated;
            backing->Load([&](CXTPPropExchange* px) {
                CObject* pObject = nullptr;
                EXPECT_EQ(c.pExpected != nullptr, px->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CExchangeBase)));
                EXPECT_EQ(c.pExpected, pObject ? pObject->GetRuntimeClass() : nullptr);
                delete pObject;
            });
            EXPECT_EQ(nForeignBefore, CExchangeForeign::s_nCreated);
        }
    }
}

TEST(PropExchangeTest, ObjectInstanceRoundTripsItsClass)
{
    for (const StoreKind& store : Stores()) {
        for (CRuntimeClass* pClass : {RUNTIME_CLASS(CExchangeBase), RUNTIME_CLASS(CExchangeDerived)}) {
            SCOPED_TRACE(std::string(store.name) + ": " + pClass->m_lpszClassName);
            std::unique_ptr<CStoreBacking> backing = store.make();
            backing->Save([&](CXTPPropExchange* px) {
                std::unique_ptr<CObject> pSaved(pClass->CreateObject());
                CObject* pObject = pSaved.get();
                EXPECT_TRUE(px->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CExchangeBase)));
            });
            backing->Load([&](CXTPPropExchange* px) {
                CObject* pObject = nullptr;
                EXPECT_TRUE(px->ExchangeObjectInstance(pObject, RUNTIME_CLASS(CExchangeBase)));
                EXPECT_EQ(pClass, pObject ? pObject->GetRuntimeClass() : nullptr);
                delete pObject;
            });
        }
    }
}

TEST(PropExchangeTest, TextFormsEscapeOnceAndReadBlobLetters)
{
    EXPECT_EQ(CString(L"C:\\\\Dati\\\\x"), XTPEscapePropString(L"C:\\Dati\\x"));
    EXPECT_EQ(CString(L"nrt"), XTPUnescapePropString(L"nrt"));
    // The placeholder bytes of a two-pass unescape must not turn into backslashes.
    EXPECT_EQ(CString(L"\x01\x01\\n"), XTPUnescapePropString(L"\x01\x01\\\\n"));
    EXPECT_EQ(CString(L"fine\\"), XTPUnescapePropString(L"fine\\"));
}

TEST(PropExchangeTest, ArchiveBlobCountBeyondTheStreamIsRefused)
{
    CArchiveBacking backing;
    backing.Save([&](CXTPPropExchange* px) {
        CArchive* pArchive = px->GetArchive(L"");
        pArchive->WriteCount(0x7FFFFFF0);   // about 2 GB announced, ten bytes present
        BYTE bytes[10] = {};
        pArchive->Write(bytes, sizeof(bytes));
    });
    backing.Load([&](CXTPPropExchange* px) {
        BYTE* pData = nullptr;
        DWORD nBytes = 0;
        EXPECT_FALSE(ExchangeBlob(px, L"Blob", pData, nBytes));
        EXPECT_EQ(nullptr, pData);
        EXPECT_EQ(0u, nBytes);
    });
}
