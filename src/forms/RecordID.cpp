#include "RecordID.h"

BOOL CTextID::IsEqual(const CRecordID* pOther) const
{
    auto pText = dynamic_cast<const CTextID*>(pOther);
    return pText && m_strText.CompareNoCase(pText->m_strText) == 0;
}

BOOL CTextLongID::IsEqual(const CRecordID* pOther) const
{
    auto pItem = dynamic_cast<const CTextLongID*>(pOther);
    return pItem && CTextID::IsEqual(pItem) && m_lNumber == pItem->m_lNumber;
}

BOOL CText2LongID::IsEqual(const CRecordID* pOther) const
{
    auto pItem = dynamic_cast<const CText2LongID*>(pOther);
    return pItem && CTextLongID::IsEqual(pItem) && m_lNumber2 == pItem->m_lNumber2;
}

BOOL CTextBoolID::IsEqual(const CRecordID* pOther) const
{
    auto pItem = dynamic_cast<const CTextBoolID*>(pOther);
    return pItem && CTextID::IsEqual(pItem) && m_bFlag == pItem->m_bFlag;
}

BOOL CLongID::IsEqual(const CRecordID* pOther) const
{
    auto pItem = dynamic_cast<const CLongID*>(pOther);
    return pItem && m_lNumber == pItem->m_lNumber;
}
