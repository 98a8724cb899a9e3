// CAdMap: assignment of maps of amounts by field name, and maps of them by row as the importers keep them.
#include "util/AdMap.h"

#include "platform/mfc/afxdisp.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
typedef CAdMap<CString, LPCTSTR, COleCurrency, const COleCurrency&> CAmountMap;

COleCurrency Amount(long units) { return COleCurrency(units, 0); }

COleCurrency NullAmount()
{
    COleCurrency cur;
    cur.SetStatus(COleCurrency::null);
    return cur;
}

// Every entry of the map as "key=count/status;" in key order, to compare maps whole.
CString Contents(const CAmountMap& map)
{
    CString keys[16];
    int nKeys = 0;
    CString key;
    COleCurrency value;
    for (POSITION pos = map.GetStartPosition(); pos && nKeys < 16;)
        map.GetNextAssoc(pos, keys[nKeys++], value);
    std::sort(keys, keys + nKeys);
    CString text;
    for (int i = 0; i < nKeys; ++i) {
        map.Lookup(keys[i], value);
        text.AppendFormat(L"%s=%I64d/%d;", keys[i].GetString(), value.m_cur.int64, value.GetStatus());
    }
    return text;
}

class CAdMapTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_source.InitHashTable(31);
        m_source.SetAt(L"Anno1", Amount(100));
        m_source.SetAt(L"anno1", Amount(-7));       // another key: texts compare case-sensitively
        m_source.SetAt(L"Anno2", NullAmount());
    }

    CAmountMap m_source;
};

TEST_F(CAdMapTest, AssignmentReplacesEveryEntry)
{
    CAmountMap target;
    target.SetAt(L"Anno9", Amount(9));
    target = m_source;
    EXPECT_EQ(CString(L"Anno1=1000000/0;Anno2=0/2;anno1=-70000/0;"), Contents(target));
    EXPECT_EQ(31u, target.GetHashTableSize());

    // The copy is independent of its source.
    m_source.SetAt(L"Anno1", Amount(1));
    COleCurrency value;
    ASSERT_TRUE(target.Lookup(L"Anno1", value));
    EXPECT_EQ(Amount(100), value);
}

TEST_F(CAdMapTest, SelfAssignmentAndEmptySource)
{
    CString before = Contents(m_source);
    CAmountMap& alias = m_source;
    m_source = alias;
    EXPECT_EQ(before, Contents(m_source));

    m_source = CAmountMap();
    EXPECT_TRUE(m_source.IsEmpty());
}

TEST_F(CAdMapTest, MapsAsValuesOfAMapByRow)
{
    CMap<long, long, CAmountMap, const CAmountMap&> rows;
    rows.SetAt(2101, m_source);
    rows[2102].SetAt(L"Anno3", Amount(3));

    CAmountMap row;
    ASSERT_TRUE(rows.Lookup(2101, row));
    EXPECT_EQ(Contents(m_source), Contents(row));
    ASSERT_TRUE(rows.Lookup(2102, row));
    EXPECT_EQ(CString(L"Anno3=30000/0;"), Contents(row));
}
} // namespace
