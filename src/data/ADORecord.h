// The bound row buffer of a record set: field value objects described by a static binding table, so that the
// record set keeps them in line with its current row.
#pragma once

#include "data/ADOField.h"

class CADORecord : public CADORecordBinding
{
public:
    virtual ~CADORecord() = default;

    // Sets every bound field null.
    void SetAllNull();
    // The field that an entry of this record's binding table points into.
    CADOField& FieldAt(const ADO_BINDING_ENTRY& entry);
    // A heap copy of the record, for the records that offer one; null otherwise.
    virtual CADORecord* Clone() const { return nullptr; }

protected:
    CADORecord() = default;
    CADORecord(const CADORecord&) = default;
    CADORecord& operator=(const CADORecord&) = default;

    // Entries of a binding table for the fields of this record. The tables are built once, on the first call of
    // GetADOBindingEntries: the places are offsets from the record, the same for every object of its class.
    ADO_BINDING_ENTRY Bind(ULONG_PTR nOrdinal, const CADOType<long>& field, BOOL bModify) const;
    ADO_BINDING_ENTRY Bind(ULONG_PTR nOrdinal, const CADOType<double>& field, BOOL bModify) const;
    ADO_BINDING_ENTRY Bind(ULONG_PTR nOrdinal, const CADOCurrency& field, BOOL bModify) const;
    template <int N>
    ADO_BINDING_ENTRY Bind(ULONG_PTR nOrdinal, const CADOString<N>& field, BOOL bModify) const
    {
        return Entry(nOrdinal, adVarWChar, N + 1, field, field.m_szValue, &field.m_nLength, bModify);
    }
    static ADO_BINDING_ENTRY EndOfBindings();

private:
    ADO_BINDING_ENTRY Entry(ULONG_PTR nOrdinal, DataTypeEnum nType, ULONG_PTR nSize, const CADOField& field,
                            const void* pValue, const void* pLength, BOOL bModify) const;
    ULONG_PTR OffsetOf(const void* pSlot) const;
};
