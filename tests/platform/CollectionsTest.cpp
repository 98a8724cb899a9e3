#include "platform/mfc/afx.h"
#include "platform/mfc/afxtempl.h"

#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace
{
template <class ARRAY>
std::vector<typename ARRAY::BASE_TYPE> Items(const ARRAY& a)
{
    return std::vector<typename ARRAY::BASE_TYPE>(a.GetData(), a.GetData() + a.GetSize());
}

template <class LIST>
std::vector<typename LIST::BASE_TYPE> Forward(const LIST& list)
{
    std::vector<typename LIST::BASE_TYPE> items;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        items.push_back(list.GetNext(pos));
    return items;
}

template <class LIST>
std::vector<typename LIST::BASE_TYPE> Backward(const LIST& list)
{
    std::vector<typename LIST::BASE_TYPE> items;
    for (POSITION pos = list.GetTailPosition(); pos;)
        items.push_back(list.GetPrev(pos));
    return items;
}

typedef std::vector<int> Ints;
} // namespace

TEST(CArray, InsertAndRemoveInTheMiddleAndPastTheEnd)
{
    CArray<int, int> a;
    EXPECT_EQ(-1, a.GetUpperBound());
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(i, a.Add(i * 10));
    a.InsertAt(2, 99, 2);
    EXPECT_EQ((Ints{0, 10, 99, 99, 20, 30, 40}), Items(a));
    a.RemoveAt(1, 3);
    EXPECT_EQ((Ints{0, 20, 30, 40}), Items(a));
    a.InsertAt(6, 7); // past the end: the gap is filled with zeros
    EXPECT_EQ((Ints{0, 20, 30, 40, 0, 0, 7}), Items(a));
    a.SetAtGrow(8, 5);
    EXPECT_EQ(8, a.GetUpperBound());
    EXPECT_EQ(0, a[7]);

    CArray<int, int> b;
    b.Add(1);
    b.Add(2);
    a.InsertAt(1, &b);
    EXPECT_EQ((Ints{0, 1, 2, 20}), Ints(a.GetData(), a.GetData() + 4));
    EXPECT_EQ(2, b.Append(b)); // appending an array to itself doubles it
    EXPECT_EQ((Ints{1, 2, 1, 2}), Items(b));
    b.InsertAt(2, &b);
    EXPECT_EQ((Ints{1, 2, 1, 2, 1, 2, 1, 2}), Items(b));
    b.Copy(a);
    EXPECT_EQ(Items(a), Items(b));
}

TEST(CArray, IndexesOutsideTheArrayAreRefused)
{
    CArray<int, int> a;
    a.SetSize(3, 16);
    EXPECT_EQ((Ints{0, 0, 0}), Items(a));
    const struct
    {
        const char* what;
        void (*call)(CArray<int, int>&);
    } cases[] = {
        {"GetAt(3)", [](CArray<int, int>& x) { x.GetAt(3); }},
        {"operator[](-1)", [](CArray<int, int>& x) { x[-1] = 1; }},
        {"ElementAt(3)", [](CArray<int, int>& x) { x.ElementAt(3); }},
        {"SetAt(3)", [](CArray<int, int>& x) { x.SetAt(3, 1); }},
        {"RemoveAt(2, 2)", [](CArray<int, int>& x) { x.RemoveAt(2, 2); }},
        {"InsertAt(-1)", [](CArray<int, int>& x) { x.InsertAt(-1, 1); }},
        {"SetSize(-1)", [](CArray<int, int>& x) { x.SetSize(-1); }},
    };
    for (const auto& c : cases) {
        try {
            c.call(a);
            ADD_FAILURE() << c.what;
        } catch (CInvalidArgException* e) {
            e->Delete();
        }
    }
    EXPECT_EQ(3, a.GetSize());
}

TEST(CArray, AddingAnElementOfTheSameArraySurvivesReallocation)
{
    CStringArray a;
    a.Add(CString(L"short"));
    for (int i = 0; i < 200; ++i)
        a.Add(a[0]);
    CArray<CString, LPCTSTR> b; // the argument points into an element's own buffer
    b.Add(L"x");
    for (int i = 0; i < 200; ++i)
        b.Add(b[i]);
    for (INT_PTR i = 0; i < a.GetSize(); ++i)
        ASSERT_EQ(CString(L"short"), a[i]) << i;
    for (INT_PTR i = 0; i < b.GetSize(); ++i)
        ASSERT_EQ(CString(L"x"), b[i]) << i;
}

TEST(CList, InsertRemoveAndWalkBothWays)
{
    CList<int, int> list;
    POSITION p2 = list.AddTail(2);
    list.AddHead(1);
    POSITION p4 = list.AddTail(4);
    list.InsertAfter(p2, 3);
    list.InsertBefore(p4, 35);
    list.InsertBefore(NULL, 0);
    list.InsertAfter(NULL, 5);
    EXPECT_EQ((Ints{0, 1, 2, 3, 35, 4, 5}), Forward(list));
    list.RemoveAt(list.Find(35));
    EXPECT_EQ((Ints{5, 4, 3, 2, 1, 0}), Backward(list));
    EXPECT_EQ(6, list.GetCount());

    list.SetAt(list.FindIndex(2), 20);
    EXPECT_EQ(20, list.GetAt(list.FindIndex(2)));
    EXPECT_EQ(NULL, list.FindIndex(6));
    EXPECT_EQ(NULL, list.FindIndex(-1));

    EXPECT_EQ(0, list.RemoveHead());
    EXPECT_EQ(5, list.RemoveTail());
    EXPECT_EQ((Ints{1, 20, 3, 4}), Forward(list));

    list.AddTail(&list);
    list.AddHead(&list);
    const Ints expected{1, 20, 3, 4, 1, 20, 3, 4, 1, 20, 3, 4, 1, 20, 3, 4};
    EXPECT_EQ(expected, Forward(list));
    EXPECT_EQ(Ints(expected.rbegin(), expected.rend()), Backward(list)); // the back links agree
}

TEST(CList, FindContinuesAfterAPositionAndEmptyListsRefuseRemoval)
{
    CStringList list;
    list.AddTail(L"a");
    list.AddTail(L"b");
    list.AddTail(L"a");
    POSITION first = list.Find(L"a");
    POSITION second = list.Find(L"a", first);
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first, second);
    EXPECT_EQ(list.GetTailPosition(), second);
    EXPECT_EQ(nullptr, list.Find(L"a", second));
    EXPECT_EQ(nullptr, list.Find(L"A"));

    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    try {
        list.RemoveHead();
        ADD_FAILURE();
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
}

TEST(CMap, GrowsItsTableAndVisitsEveryEntryOnce)
{
    CMap<int, int, int, int> map;
    EXPECT_EQ(nullptr, map.GetStartPosition());
    const int nKeys = 20000;
    for (int i = 0; i < nKeys; ++i)
        map.SetAt(i * 7, i);
    EXPECT_EQ(nKeys, map.GetCount());
    EXPECT_GT(map.GetHashTableSize(), UINT(nKeys / 2));
    for (int i = 0; i < nKeys; ++i) {
        int value = -1;
        ASSERT_TRUE(map.Lookup(i * 7, value)) << i;
        ASSERT_EQ(i, value);
    }
    int missing = 0;
    EXPECT_FALSE(map.Lookup(3, missing));

    for (int i = 0; i < nKeys; i += 2)
        ASSERT_TRUE(map.RemoveKey(i * 7));
    EXPECT_FALSE(map.RemoveKey(0));

    std::map<int, int> seen;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        int key = 0, value = 0;
        map.GetNextAssoc(pos, key, value);
        EXPECT_EQ(key, value * 7);
        ++seen[key];
    }
    EXPECT_EQ(size_t(nKeys / 2), seen.size());
    for (const auto& entry : seen)
        ASSERT_EQ(1, entry.second) << entry.first;
    EXPECT_EQ(1, seen.count(7));
}

TEST(CMap, StringKeysAndResizingAFilledTable)
{
    CMapStringToString map;
    map.InitHashTable(3);
    map[L"uno"] = L"1";
    map.SetAt(L"due", L"2");
    map.SetAt(L"Uno", L"I");
    map.SetAt(L"uno", L"one");
    EXPECT_EQ(3, map.GetCount());
    map.InitHashTable(101); // entries already there are kept
    EXPECT_EQ(101u, map.GetHashTableSize());
    CString value;
    EXPECT_TRUE(map.Lookup(L"uno", value));
    EXPECT_EQ(CString(L"one"), value);
    EXPECT_TRUE(map.Lookup(L"Uno", value));
    EXPECT_EQ(CString(L"I"), value);
    EXPECT_TRUE(map[L"tre"].IsEmpty());
    EXPECT_EQ(4, map.GetCount());
    map.RemoveAll();
    EXPECT_FALSE(map.Lookup(L"due", value));
    EXPECT_EQ(nullptr, map.GetStartPosition());
}

namespace
{
class CItem : public CObject
{
public:
    explicit CItem(int n) : m_n(n) {}
    int m_n;
};
} // namespace

TEST(CTypedPtrCollections, HandOutTheirOwnPointerType)
{
    CItem one(1), two(2), three(3);

    CTypedPtrArray<CObArray, CItem*> array;
    array.Add(&one);
    array.Add(&three);
    array.InsertAt(1, &two);
    array[2] = &one;
    EXPECT_EQ(2, array[1]->m_n);
    EXPECT_EQ(1, array.GetAt(2)->m_n);

    CTypedPtrList<CPtrList, CItem*> list;
    list.AddTail(&two);
    list.AddHead(&one);
    POSITION pos = list.GetHeadPosition();
    EXPECT_EQ(1, list.GetNext(pos)->m_n);
    EXPECT_EQ(2, list.GetNext(pos)->m_n);
    EXPECT_EQ(nullptr, pos);
    EXPECT_EQ(&one, list.RemoveHead());

    CTypedPtrMap<CMapStringToPtr, CString, CItem*> map;
    map.SetAt(L"due", &two);
    map[L"tre"] = &three;
    CItem* pItem = nullptr;
    EXPECT_TRUE(map.Lookup(L"tre", pItem));
    EXPECT_EQ(3, pItem->m_n);
    int total = 0;
    for (POSITION p = map.GetStartPosition(); p;) {
        CString key;
        map.GetNextAssoc(p, key, pItem);
        total += pItem->m_n;
    }
    EXPECT_EQ(5, total);
    EXPECT_TRUE(map.RemoveKey(L"due"));
    EXPECT_FALSE(map.Lookup(L"due", pItem));
}
