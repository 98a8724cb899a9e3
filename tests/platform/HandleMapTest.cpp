// The handle maps of every wrapped kind (windows, DCs, GDI objects, menus, image lists) follow one rule:
// temporary wrappers come and go with the idle clean-up and never touch the handle, an owner is found
// through the map until it lets go, and a handle has at most one owner.
#include "platform/mfc/afximagelist.h"
#include "platform/mfc/afxthread.h"
#include "platform/mfc/afxwin.h"

#include <gtest/gtest.h>

namespace
{
// How a test makes and ends a raw handle of each kind.
template <class TObject>
struct HandleKind;

template <>
struct HandleKind<CWnd>
{
    static HWND Create()
    {
        return ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    }
    static bool IsAlive(HWND h) { return ::IsWindow(h) != FALSE; }
    static void Destroy(HWND h) { ::DestroyWindow(h); }
};

template <>
struct HandleKind<CDC>
{
    static HDC Create() { return ::CreateCompatibleDC(nullptr); }
    static bool IsAlive(HDC h) { return ::GetObjectType(h) == OBJ_MEMDC; }
    static void Destroy(HDC h) { ::DeleteDC(h); }
};

template <>
struct HandleKind<CGdiObject>
{
    static HGDIOBJ Create() { return ::CreateSolidBrush(RGB(1, 2, 3)); }
    static bool IsAlive(HGDIOBJ h) { return ::GetObjectType(h) == OBJ_BRUSH; }
    static void Destroy(HGDIOBJ h) { ::DeleteObject(h); }
};

template <>
struct HandleKind<CMenu>
{
    static HMENU Create() { return ::CreatePopupMenu(); }
    static bool IsAlive(HMENU h) { return ::IsMenu(h) != FALSE; }
    static void Destroy(HMENU h) { ::DestroyMenu(h); }
};

template <>
struct HandleKind<CImageList>
{
    static HIMAGELIST Create() { return ::ImageList_Create(16, 16, ILC_COLOR32, 1, 1); }
    static bool IsAlive(HIMAGELIST h)
    {
        int cx = 0;
        int cy = 0;
        return ::ImageList_GetIconSize(h, &cx, &cy) && cx == 16;
    }
    static void Destroy(HIMAGELIST h) { ::ImageList_Destroy(h); }
};

template <class TObject>
class HandleMapTest : public ::testing::Test
{
protected:
    using Kind = HandleKind<TObject>;

    void SetUp() override
    {
        m_h = Kind::Create();
        ASSERT_TRUE(m_h);
    }
    void TearDown() override
    {
        AfxDeleteTempMaps();
        if (Kind::IsAlive(m_h))
            Kind::Destroy(m_h);
    }

    static auto HandleOf(const TObject& object) { return object.*TObject::HandleMember; }

    decltype(Kind::Create()) m_h = nullptr;
};

using WrappedKinds = ::testing::Types<CWnd, CDC, CGdiObject, CMenu, CImageList>;
TYPED_TEST_SUITE(HandleMapTest, WrappedKinds);
} // namespace

TYPED_TEST(HandleMapTest, TemporaryWrappersLastUntilIdleAndLeaveTheHandleAlive)
{
    TypeParam* pTemp = TypeParam::FromHandle(this->m_h);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(this->m_h, this->HandleOf(*pTemp));
    EXPECT_EQ(pTemp, TypeParam::FromHandle(this->m_h));
    EXPECT_EQ(nullptr, TypeParam::FromHandlePermanent(this->m_h));
    EXPECT_EQ(nullptr, TypeParam::FromHandle(nullptr));

    AfxDeleteTempMaps();
    EXPECT_TRUE(HandleKind<TypeParam>::IsAlive(this->m_h));
    TypeParam* pAgain = TypeParam::FromHandle(this->m_h);   // a new temporary after the clean-up
    ASSERT_NE(nullptr, pAgain);
    EXPECT_EQ(this->m_h, this->HandleOf(*pAgain));
}

TYPED_TEST(HandleMapTest, TheOwnerIsFoundUntilItLetsGo)
{
    TypeParam* pTemp = TypeParam::FromHandle(this->m_h);   // a temporary wrapper owns nothing
    TypeParam owner;
    ASSERT_TRUE(owner.Attach(this->m_h));
    EXPECT_EQ(&owner, TypeParam::FromHandle(this->m_h));
    EXPECT_EQ(&owner, TypeParam::FromHandlePermanent(this->m_h));
    EXPECT_NE(pTemp, TypeParam::FromHandle(this->m_h));

    AfxDeleteTempMaps();   // the temporary goes; the owner keeps its handle, alive
    EXPECT_EQ(this->m_h, this->HandleOf(owner));
    EXPECT_TRUE(HandleKind<TypeParam>::IsAlive(this->m_h));

    EXPECT_EQ(this->m_h, owner.Detach());
    EXPECT_EQ(nullptr, this->HandleOf(owner));
    EXPECT_EQ(nullptr, TypeParam::FromHandlePermanent(this->m_h));
    EXPECT_TRUE(HandleKind<TypeParam>::IsAlive(this->m_h));
}

TYPED_TEST(HandleMapTest, AHandleHasOneOwner)
{
    TypeParam owner;
    ASSERT_TRUE(owner.Attach(this->m_h));
    {
        TypeParam second;
        EXPECT_FALSE(second.Attach(this->m_h));
        EXPECT_EQ(nullptr, this->HandleOf(second));
        EXPECT_FALSE(second.Attach(nullptr));
    }
    // The refused one ended without destroying the handle under its owner.
    EXPECT_TRUE(HandleKind<TypeParam>::IsAlive(this->m_h));
    EXPECT_EQ(&owner, TypeParam::FromHandlePermanent(this->m_h));
    owner.Detach();
}

TEST(HandleMap, TemporaryGdiWrappersHaveTheClassOfTheirHandle)
{
    HPEN hPen = ::CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HFONT hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_TRUE(CGdiObject::FromHandle(hPen)->IsKindOf(RUNTIME_CLASS(CPen)));
    EXPECT_TRUE(CFont::FromHandle(hFont)->IsKindOf(RUNTIME_CLASS(CFont)));
    AfxDeleteTempMaps();
    ::DeleteObject(hPen);
}
