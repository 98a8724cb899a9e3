// Item data: equality across the classes (same class or derived from it, texts ignoring case) and clones.
#include "forms/RecordID.h"

#include <gtest/gtest.h>
#include <memory>
#include <typeinfo>

TEST(RecordID, EqualityAcrossTheItemClasses)
{
    using Item = std::shared_ptr<CRecordID>;
    auto text = [](LPCTSTR s) { return Item(new CTextID(s)); };
    auto textLong = [](LPCTSTR s, long n) { return Item(new CTextLongID(s, n)); };
    auto text2Long = [](LPCTSTR s, long n, long m) { return Item(new CText2LongID(s, n, m)); };
    auto textBool = [](LPCTSTR s, BOOL b) { return Item(new CTextBoolID(s, b)); };
    auto number = [](long n) { return Item(new CLongID(n)); };
    struct
    {
        Item a;
        Item b;
        BOOL bEqual;
    } cases[] = {
        {text(L"Entrate1.vts"), text(L"ENTRATE1.VTS"), TRUE},
        {text(L"Entrate1.vts"), text(L"Entrate2.vts"), FALSE},
        {text(L"Città"), text(L"CITTÀ"), TRUE},
        // The other item may be of a derived class, not of a base class: the comparison is not symmetric.
        {text(L"Doc.txd"), textLong(L"doc.txd", 11), TRUE},
        {textLong(L"doc.txd", 11), text(L"Doc.txd"), FALSE},
        {textLong(L"doc.txd", 11), textLong(L"DOC.TXD", 11), TRUE},
        {textLong(L"doc.txd", 11), textLong(L"doc.txd", 15), FALSE},
        {textLong(L"5.1", 3), text2Long(L"5.1", 3, 9), TRUE},
        {text2Long(L"5.1", 3, 9), text2Long(L"5.1", 3, 8), FALSE},
        {text2Long(L"5.1", 3, 9), text2Long(L"5.1", 3, 9), TRUE},
        {textBool(L"2.1", TRUE), textBool(L"2.1", TRUE), TRUE},
        {textBool(L"2.1", TRUE), textBool(L"2.1", FALSE), FALSE},
        {text(L"2.1"), textBool(L"2.1", FALSE), TRUE},
        {textBool(L"2.1", FALSE), textLong(L"2.1", 0), FALSE},   // siblings, not derived from each other
        {number(5), number(5), TRUE},
        {number(5), number(6), FALSE},
        {number(5), text(L"5"), FALSE},
        {text(L"5"), number(5), FALSE},
        {number(0), nullptr, FALSE},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
        EXPECT_EQ(cases[i].bEqual, cases[i].a->IsEqual(cases[i].b.get())) << "case " << i;
}

TEST(RecordID, ClonesKeepClassAndValues)
{
    std::unique_ptr<CRecordID> items[] = {
        std::make_unique<CTextID>(L"Entrate1.vts"), std::make_unique<CTextLongID>(L"Leggi.txd", 11),
        std::make_unique<CText2LongID>(L"5.2", 4, 7), std::make_unique<CTextBoolID>(L"x", TRUE),
        std::make_unique<CLongID>(-3)};
    for (const auto& item : items) {
        std::unique_ptr<CRecordID> clone(item->Clone());
        ASSERT_NE(item.get(), clone.get());
        EXPECT_EQ(typeid(*item), typeid(*clone));
        EXPECT_TRUE(clone->IsEqual(item.get()));
        EXPECT_TRUE(item->IsEqual(clone.get()));
    }
    CText2LongID original(L"5.2", 4, 7);
    std::unique_ptr<CRecordID> clone(original.Clone());
    EXPECT_EQ(7, static_cast<CText2LongID*>(clone.get())->GetLong2());
}
