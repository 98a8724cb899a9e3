#include "platform/mfc/afx.h"

#include <gtest/gtest.h>
#include <memory>

namespace
{
class CShape : public CObject
{
    DECLARE_DYNAMIC(CShape)
};

class CCircle : public CShape
{
    DECLARE_DYNCREATE(CCircle)
};

class CSquare : public CShape
{
    DECLARE_DYNCREATE(CSquare)
};
} // namespace

IMPLEMENT_DYNAMIC(CShape, CObject)
IMPLEMENT_DYNCREATE(CCircle, CShape)
IMPLEMENT_DYNCREATE(CSquare, CShape)

TEST(CObject, KindFollowsTheClassChainOnly)
{
    CCircle circle;
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CCircle)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CShape)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(circle.IsKindOf(RUNTIME_CLASS(CSquare)));
    EXPECT_FALSE(circle.IsKindOf(RUNTIME_CLASS(CException)));
    EXPECT_FALSE(RUNTIME_CLASS(CShape)->IsDerivedFrom(RUNTIME_CLASS(CCircle)));
    EXPECT_STREQ("CCircle", circle.GetRuntimeClass()->m_lpszClassName);
}

TEST(CObject, CreatesByClassAndByName)
{
    std::unique_ptr<CObject> byClass(RUNTIME_CLASS(CSquare)->CreateObject());
    ASSERT_TRUE(byClass);
    EXPECT_EQ(RUNTIME_CLASS(CSquare), byClass->GetRuntimeClass());

    std::unique_ptr<CObject> byName(CRuntimeClass::CreateObject(L"CCircle"));
    ASSERT_TRUE(byName);
    EXPECT_EQ(RUNTIME_CLASS(CCircle), byName->GetRuntimeClass());

    // A class without a creator, and names nobody declared, create nothing.
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CShape)->CreateObject());
    EXPECT_EQ(RUNTIME_CLASS(CShape), CRuntimeClass::FromName("CShape"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName(L"CCircl"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName(L"CCirclè"));
    EXPECT_EQ(nullptr, CRuntimeClass::CreateObject("CNobody"));
}
