// Record binding: a C++ object whose fields a record set keeps in line with its current row.
//
// A record class derives from CADORecordBinding (as its first base, so that offsetof on the record class gives
// offsets from the CADORecordBinding object) and answers a static table of ADO_BINDING_ENTRY, one entry per
// bound column, ended by an entry of ordinal 0:
//
//     rs->QueryInterface(__uuidof(IADORecordBinding), reinterpret_cast<void**>(&binding));
//     binding->BindToRecordset(&record);    // also fills the record from the current row, if any
//
// From then on every move of the cursor (MoveFirst, MoveNext, Seek, Requery, Open again) and every Update
// (of a changed or a new row) writes each entry's value, status and length slots from the current row; at
// EOF/BOF the record is left as it was, and AddNew() leaves it alone until Update. The binding stays with the
// record set when it is closed and opened again. Update(&record) puts the entries whose fModify is TRUE into
// the current row and writes it; AddNew(&record) inserts a new row from them (null ones left to the table's
// defaults) and makes it current. Like every member of this layer, these raise _com_error on failure.
//
// Slots, by wDataType:
//   adInteger   LONG value
//   adDouble    double value
//   adCurrency  CY value (the 64-bit count of 1/10000)
//   adVarChar / adVarWChar   TCHAR (wchar_t) buffer: ulSize counts CHARACTERS, the terminator included (a text
//               of at most N characters needs ulSize N+1); the length slot (ULONG) counts characters too.
// Status slot (ULONG): adFldOK (0) a value, adFldNull (3) null; when reading, adFldTruncated (4) for a text
// longer than the buffer (the buffer then holds its start) and adFldCantConvertValue (2) for a value that does
// not convert to the slot's type. A status or length offset of 0 means the entry has no such slot.
#pragma once

#include "platform/ado/adodb.h"

enum ADOFieldStatusEnum { adFldOK = 0, adFldCantConvertValue = 2, adFldNull = 3, adFldTruncated = 4 };

struct ADO_BINDING_ENTRY
{
    ULONG_PTR ulOrdinal;      // column position from 1; 0 ends the table
    WORD wDataType;           // DataTypeEnum: adInteger, adDouble, adCurrency, adVarChar, adVarWChar
    BYTE bPrecision;          // 0
    BYTE bScale;              // 0
    ULONG_PTR ulSize;         // texts: buffer size in characters; 0 otherwise
    ULONG_PTR ulBufferOffset; // offset of the value slot
    ULONG_PTR ulStatusOffset; // offset of the status slot (ULONG)
    ULONG_PTR ulLengthOffset; // offset of the length slot (ULONG), texts only
    BOOL fModify;             // FALSE: Update and AddNew never write this column
};

class CADORecordBinding
{
public:
    virtual ADO_BINDING_ENTRY* GetADOBindingEntries() = 0;

protected:
    ~CADORecordBinding() = default;
};

struct IADORecordBinding : IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE BindToRecordset(CADORecordBinding* record) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddNew(CADORecordBinding* record) = 0;
    virtual HRESULT STDMETHODCALLTYPE Update(CADORecordBinding* record) = 0;
};
__CRT_UUID_DECL(IADORecordBinding, 0xda1169d9, 0xcfa1, 0x4638, 0x95, 0xfd, 0x6a, 0x57, 0x82, 0xf1, 0xab, 0x40)

typedef CAdoPtr<IADORecordBinding> IADORecordBindingPtr;
