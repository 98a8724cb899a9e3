// The OLE data stand-ins: variants with their archive form, the shared memory file over a global block, the
// clipboard's data object and the checked down cast.
#include "platform/mfc/afxolevariant.h"
#include "platform/mfc/afxoledataobj.h"
#include "platform/mfc/afxsharedfile.h"

#include <gtest/gtest.h>

TEST(OleVariantTest, ArchiveFormKeepsTypeAndValue)
{
    CURRENCY cy;
    cy.int64 = -5;
    const COleVariant values[] = {COleVariant(), COleVariant(static_cast<BYTE>(200)), COleVariant(short(-7)),
                                  COleVariant(short(1), VT_BOOL), COleVariant(123456L), COleVariant(2.5f),
                                  COleVariant(0.1), COleVariant(COleCurrency(cy)),
                                  COleVariant(COleDateTime(2008, 1, 2, 3, 4, 5)), COleVariant(L"perché")};
    for (const COleVariant& value : values) {
        SCOPED_TRACE(value.vt);
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            ar << value;
            ar.Close();
        }
        file.SeekToBegin();
        CArchive ar(&file, CArchive::load);
        COleVariant loaded(99L);
        ar >> loaded;
        EXPECT_EQ(value.vt, loaded.vt);
        EXPECT_TRUE(loaded == value);
    }
}

TEST(OleVariantTest, ChangeTypeFailsWithoutChangingTheValue)
{
    COleVariant var(L"non un numero");
    EXPECT_TRUE(FAILED(var.ChangeType(VT_I4)));
    EXPECT_EQ(VT_BSTR, var.vt);
    COleVariant number(42L);
    EXPECT_TRUE(SUCCEEDED(number.ChangeType(VT_BSTR)));
    EXPECT_STREQ(L"42", number.bstrVal);
}

TEST(SharedFileTest, ReadsAGlobalBlockInPlaceAndLeavesItToTheCaller)
{
    HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, 4);
    memcpy(::GlobalLock(hGlobal), "abcd", 4);
    ::GlobalUnlock(hGlobal);
    {
        CSharedFile file;
        file.SetHandle(hGlobal);
        char buffer[8] = {};
        EXPECT_EQ(4u, file.Read(buffer, sizeof(buffer)));
        EXPECT_STREQ("abcd", buffer);
    }
    EXPECT_EQ(4u, ::GlobalSize(hGlobal));
    EXPECT_EQ(nullptr, ::GlobalFree(hGlobal));
}

TEST(OleDataObjectTest, ClipboardFormatPresentAndAbsent)
{
    UINT cfFormat = ::RegisterClipboardFormatW(L"Quarzel08 prova dati");
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, 3);
    memcpy(::GlobalLock(hGlobal), "xyz", 3);
    ::GlobalUnlock(hGlobal);
    ::SetClipboardData(cfFormat, hGlobal);
    ::CloseClipboard();

    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_TRUE(data.IsDataAvailable(static_cast<CLIPFORMAT>(cfFormat)));
    HGLOBAL hCopy = data.GetGlobalData(static_cast<CLIPFORMAT>(cfFormat));
    ASSERT_NE(nullptr, hCopy);
    EXPECT_EQ(0, memcmp(::GlobalLock(hCopy), "xyz", 3));
    ::GlobalUnlock(hCopy);
    ::GlobalFree(hCopy);
    UINT cfOther = ::RegisterClipboardFormatW(L"Quarzel08 formato assente");
    EXPECT_FALSE(data.IsDataAvailable(static_cast<CLIPFORMAT>(cfOther)));
    EXPECT_EQ(nullptr, data.GetGlobalData(static_cast<CLIPFORMAT>(cfOther)));
}

TEST(DynamicDownCastTest, AnswersTheObjectOnlyForItsClassOrABase)
{
    CMemFile file;
    EXPECT_EQ(&file, AfxDynamicDownCast(RUNTIME_CLASS(CFile), &file));
    EXPECT_EQ(nullptr, AfxDynamicDownCast(RUNTIME_CLASS(CException), &file));
    EXPECT_EQ(nullptr, AfxDynamicDownCast(RUNTIME_CLASS(CFile), nullptr));
}
