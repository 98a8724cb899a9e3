#include "platform/mfc/afx.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace
{
class CArchNode : public CObject
{
    DECLARE_SERIAL(CArchNode)
public:
    CArchNode() = default;
    CArchNode(LPCTSTR name, double value) : m_name(name), m_value(value) {}

    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << m_name << m_value << m_pNext;
        } else {
            m_nLoadedSchema = ar.GetObjectSchema();
            ar >> m_name >> m_value >> m_pNext;
        }
    }

    CString m_name;
    double m_value = 0;
    CArchNode* m_pNext = nullptr;
    UINT m_nLoadedSchema = 0;
};

class CArchOther : public CObject
{
    DECLARE_SERIAL(CArchOther)
};

IMPLEMENT_SERIAL(CArchNode, CObject, 1)
IMPLEMENT_SERIAL(CArchOther, CObject, 1)

// Changes a class's schema for one test, as a newer program would have it.
class CSchemaChange
{
public:
    CSchemaChange(CRuntimeClass* pClass, UINT wSchema) : m_pClass(pClass), m_wOld(pClass->m_wSchema)
    {
        pClass->m_wSchema = wSchema;
    }
    ~CSchemaChange() { m_pClass->m_wSchema = m_wOld; }

private:
    CRuntimeClass* m_pClass;
    UINT m_wOld;
};

// Bytes stored by fill(ar) into a memory archive.
template <class FILL>
std::string Stored(FILL fill)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        fill(ar);
        ar.Close();
    }
    std::string bytes(static_cast<size_t>(file.GetLength()), '\0');
    file.SeekToBegin();
    file.Read(&bytes[0], static_cast<UINT>(bytes.size()));
    return bytes;
}

// A loading archive over a copy of bytes.
class CLoad
{
public:
    explicit CLoad(const std::string& bytes)
    {
        m_file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        m_file.SeekToBegin();
    }

private:
    CMemFile m_file; // before the archive, which reads it

public:
    CArchive ar{&m_file, CArchive::load};
};

int ArchiveCause(void (*load)(CArchive&), const std::string& bytes)
{
    CLoad in(bytes);
    try {
        load(in.ar);
    } catch (CArchiveException* e) {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}
} // namespace

TEST(CArchive, ObjectGraphRoundTripKeepsSharedObjectsShared)
{
    CArchNode a(L"primo", 1.5), b(L"secondo \u00E0", -2.25);
    a.m_pNext = &b;
    b.m_pNext = &a; // a cycle
    std::string bytes = Stored([&](CArchive& ar) { ar << &a << &b << static_cast<CObject*>(nullptr) << 7; });

    CLoad in(bytes);
    CArchNode* pA = nullptr;
    CArchNode* pB = nullptr;
    CObject* pNull = &a;
    int seven = 0;
    in.ar >> pA >> pB >> pNull >> seven;
    std::unique_ptr<CArchNode> ownA(pA), ownB(pB);
    ASSERT_TRUE(pA && pB);
    EXPECT_EQ(CString(L"primo"), pA->m_name);
    EXPECT_EQ(1.5, pA->m_value);
    EXPECT_EQ(CString(L"secondo \u00E0"), pB->m_name);
    EXPECT_EQ(pB, pA->m_pNext);
    EXPECT_EQ(pA, pB->m_pNext);
    EXPECT_EQ(1u, pA->m_nLoadedSchema);
    EXPECT_EQ(nullptr, pNull);
    EXPECT_EQ(7, seven);
}

TEST(CArchive, SchemaOfTheStoredClassIsChecked)
{
    CArchNode node(L"n", 3);
    std::string bytes = Stored([&](CArchive& ar) { ar << &node; });
    auto load = [](CArchive& ar) {
        CArchNode* p = nullptr;
        ar >> p;
        delete p;
    };
    {
        CSchemaChange change(RUNTIME_CLASS(CArchNode), 2);
        EXPECT_EQ(CArchiveException::badSchema, ArchiveCause(load, bytes));
    }
    {
        // A versionable class takes the older data and reads its schema.
        CSchemaChange change(RUNTIME_CLASS(CArchNode), VERSIONABLE_SCHEMA | 2);
        CLoad in(bytes);
        CArchNode* p = nullptr;
        in.ar >> p;
        std::unique_ptr<CArchNode> own(p);
        ASSERT_TRUE(p);
        EXPECT_EQ(1u, p->m_nLoadedSchema);
        EXPECT_EQ(3.0, p->m_value);
    }
}

TEST(CArchive, DamagedOrForeignDataRaisesArchiveExceptions)
{
    CArchNode node(L"n", 3);
    const std::string good = Stored([&](CArchive& ar) { ar << &node; });
    std::string unknownClass = good;
    unknownClass.replace(unknownClass.find("CArchNode"), 9, "CArchNodx");

    const struct
    {
        const char* what;
        std::string bytes;
        void (*load)(CArchive&);
        int cause;
    } cases[] = {
        {"unknown class", unknownClass, [](CArchive& ar) { CObject* p; ar >> p; }, CArchiveException::badClass},
        {"other class requested", good, [](CArchive& ar) { CArchOther* p; ar >> p; }, CArchiveException::badClass},
        {"cut short", good.substr(0, good.size() - 3), [](CArchive& ar) { CObject* p; ar >> p; },
         CArchiveException::endOfFile},
        {"reference to nothing", std::string("\x05\x00", 2), [](CArchive& ar) { CObject* p; ar >> p; },
         CArchiveException::badIndex},
        {"class reference to nothing", std::string("\x03\x80", 2), [](CArchive& ar) { CObject* p; ar >> p; },
         CArchiveException::badIndex},
        {"writing into a loading archive", good, [](CArchive& ar) { ar << 1; }, CArchiveException::readOnly},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.cause, ArchiveCause(c.load, c.bytes)) << c.what;

    CMemFile file;
    CArchive ar(&file, CArchive::store);
    try {
        int n;
        ar >> n;
        ADD_FAILURE();
    } catch (CArchiveException* e) {
        EXPECT_EQ(CArchiveException::writeOnly, e->m_cause);
        e->Delete();
    }
}

TEST(CArchive, ManyObjectsUseLongReferences)
{
    // Past 0x7FFF map entries the indexes no longer fit a WORD tag.
    const int nCount = 0x8100;
    std::vector<std::unique_ptr<CArchNode>> nodes;
    for (int i = 0; i < nCount; ++i)
        nodes.emplace_back(new CArchNode(nullptr, i));
    std::string bytes = Stored([&](CArchive& ar) {
        for (auto& node : nodes)
            ar << node.get();
        ar << nodes.back().get() << nodes.front().get();
    });

    CLoad in(bytes);
    std::vector<std::unique_ptr<CArchNode>> loaded;
    for (int i = 0; i < nCount; ++i) {
        CArchNode* p = nullptr;
        in.ar >> p;
        loaded.emplace_back(p);
        ASSERT_EQ(i, p->m_value);
    }
    CArchNode* pLast = nullptr;
    CArchNode* pFirst = nullptr;
    in.ar >> pLast >> pFirst;
    EXPECT_EQ(loaded.back().get(), pLast);
    EXPECT_EQ(loaded.front().get(), pFirst);
}

TEST(CArchive, StringsAndCountsUseTheirLengthPrefixes)
{
    const struct
    {
        int nLength;
        size_t nPrefix;  // bytes before the text
    } strings[] = {{0, 4}, {254, 4}, {255, 6}, {0xFFFD, 6}, {0xFFFE, 10}, {70000, 10}};
    for (const auto& s : strings) {
        CString text(L'\u00E8', s.nLength);
        std::string bytes = Stored([&](CArchive& ar) { ar << text; });
        EXPECT_EQ(s.nPrefix + 2 * static_cast<size_t>(s.nLength), bytes.size()) << s.nLength;
        CLoad in(bytes);
        CString back(L"x");
        in.ar >> back;
        EXPECT_EQ(text, back) << s.nLength;
    }

    // 8-bit text written by other programs is read in the system code page.
    CLoad ansi(std::string("\x05" "citt\xE0", 6));
    CString city;
    ansi.ar >> city;
    EXPECT_EQ(CString(L"citt\u00E0"), city);

    const struct
    {
        DWORD_PTR nCount;
        size_t nBytes;
    } counts[] = {{0, 2}, {0xFFFE, 2}, {0xFFFF, 6}, {0x123456, 6}};
    for (const auto& c : counts) {
        std::string bytes = Stored([&](CArchive& ar) { ar.WriteCount(c.nCount); });
        EXPECT_EQ(c.nBytes, bytes.size());
        CLoad in(bytes);
        EXPECT_EQ(c.nCount, in.ar.ReadCount());
    }
}

TEST(CArchive, ClosingALoadingArchiveGivesBackWhatItReadAhead)
{
    CTempFolder folder;
    CString path = folder.File(L"misto.bin");
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store, 256);
        for (int i = 0; i < 100; ++i)
            ar << static_cast<WORD>(i);
        ar.Close();
        file.Write("coda", 4);
    }
    CFile file(path, CFile::modeRead);
    CArchive ar(&file, CArchive::load, 256);
    EXPECT_EQ(path, ar.m_strFileName);
    WORD w = 0;
    for (int i = 0; i < 100; ++i)
        ar >> w;
    EXPECT_EQ(99, w);
    ar.Close();
    char tail[8] = {};
    EXPECT_EQ(4u, file.Read(tail, 8));
    EXPECT_EQ(std::string("coda"), std::string(tail, 4));
}
