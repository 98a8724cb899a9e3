#include "ADORecord.h"

#include <cstddef>

void CADORecord::SetAllNull()
{
    for (const ADO_BINDING_ENTRY* entry = GetADOBindingEntries(); entry->ulOrdinal != 0; ++entry)
        FieldAt(*entry).SetNull();
}

CADOField& CADORecord::FieldAt(const ADO_BINDING_ENTRY& entry)
{
    // Every entry has a status slot, and the status lies at the same place in every field object.
    BYTE* pRecord = reinterpret_cast<BYTE*>(static_cast<CADORecordBinding*>(this));
    return *reinterpret_cast<CADOField*>(pRecord + entry.ulStatusOffset - offsetof(CADOField, m_nStatus));
}

ADO_BINDING_ENTRY CADORecord::Bind(ULONG_PTR nOrdinal, const CADOType<long>& field, BOOL bModify) const
{
    return Entry(nOrdinal, adInteger, 0, field, &field.m_value, nullptr, bModify);
}

ADO_BINDING_ENTRY CADORecord::Bind(ULONG_PTR nOrdinal, const CADOType<double>& field, BOOL bModify) const
{
    return Entry(nOrdinal, adDouble, 0, field, &field.m_value, nullptr, bModify);
}

ADO_BINDING_ENTRY CADORecord::Bind(ULONG_PTR nOrdinal, const CADOCurrency& field, BOOL bModify) const
{
    return Entry(nOrdinal, adCurrency, 0, field, &field.m_value, nullptr, bModify);
}

ADO_BINDING_ENTRY CADORecord::EndOfBindings()
{
    return ADO_BINDING_ENTRY{};
}

ADO_BINDING_ENTRY CADORecord::Entry(ULONG_PTR nOrdinal, DataTypeEnum nType, ULONG_PTR nSize, const CADOField& field,
                                    const void* pValue, const void* pLength, BOOL bModify) const
{
    ADO_BINDING_ENTRY entry{};
    entry.ulOrdinal = nOrdinal;
    entry.wDataType = static_cast<WORD>(nType);
    entry.ulSize = nSize;
    entry.ulBufferOffset = OffsetOf(pValue);
    entry.ulStatusOffset = OffsetOf(&field.m_nStatus);
    entry.ulLengthOffset = pLength ? OffsetOf(pLength) : 0;
    entry.fModify = bModify;
    return entry;
}

ULONG_PTR CADORecord::OffsetOf(const void* pSlot) const
{
    const BYTE* pRecord = reinterpret_cast<const BYTE*>(static_cast<const CADORecordBinding*>(this));
    return static_cast<ULONG_PTR>(static_cast<const BYTE*>(pSlot) - pRecord);
}
