#include "platform/ado/JetBinding.h"

#include "platform/ado/JetRecordset.h"

#include <cwchar>

namespace
{
template <class T> T& Slot(CADORecordBinding* record, ULONG_PTR offset)
{
    return *reinterpret_cast<T*>(reinterpret_cast<BYTE*>(record) + offset);
}

bool IsText(WORD type)
{
    return type == adVarChar || type == adVarWChar;
}

void SetStatus(CADORecordBinding* record, const ADO_BINDING_ENTRY& entry, ULONG status)
{
    if (entry.ulStatusOffset)
        Slot<ULONG>(record, entry.ulStatusOffset) = status;
}

void SetLength(CADORecordBinding* record, const ADO_BINDING_ENTRY& entry, ULONG length)
{
    if (entry.ulLengthOffset)
        Slot<ULONG>(record, entry.ulLengthOffset) = length;
}

void ClearValue(CADORecordBinding* record, const ADO_BINDING_ENTRY& entry)
{
    switch (entry.wDataType) {
    case adInteger:
        Slot<LONG>(record, entry.ulBufferOffset) = 0;
        break;
    case adDouble:
        Slot<double>(record, entry.ulBufferOffset) = 0;
        break;
    case adCurrency:
        Slot<CY>(record, entry.ulBufferOffset).int64 = 0;
        break;
    default:
        Slot<wchar_t>(record, entry.ulBufferOffset) = L'\0';
        break;
    }
    SetLength(record, entry, 0);
}

// Writes one value; answers the status.
ULONG WriteValue(CADORecordBinding* record, const ADO_BINDING_ENTRY& entry, const _variant_t& value)
{
    if (value.vt == VT_NULL || value.vt == VT_EMPTY) {
        ClearValue(record, entry);
        return adFldNull;
    }
    VARTYPE type = VT_BSTR;
    if (entry.wDataType == adInteger)
        type = VT_I4;
    else if (entry.wDataType == adDouble)
        type = VT_R8;
    else if (entry.wDataType == adCurrency)
        type = VT_CY;
    _variant_t converted;
    if (FAILED(::VariantChangeType(&converted, const_cast<_variant_t*>(&value), 0, type))) {
        ClearValue(record, entry);
        return adFldCantConvertValue;
    }
    switch (type) {
    case VT_I4:
        Slot<LONG>(record, entry.ulBufferOffset) = converted.lVal;
        return adFldOK;
    case VT_R8:
        Slot<double>(record, entry.ulBufferOffset) = converted.dblVal;
        return adFldOK;
    case VT_CY:
        Slot<CY>(record, entry.ulBufferOffset) = converted.cyVal;
        return adFldOK;
    default:
        break;
    }
    size_t length = ::SysStringLen(converted.bstrVal);
    size_t room = entry.ulSize - 1;
    size_t copied = length < room ? length : room;
    wchar_t* buffer = &Slot<wchar_t>(record, entry.ulBufferOffset);
    std::wmemcpy(buffer, converted.bstrVal, copied);
    buffer[copied] = L'\0';
    SetLength(record, entry, static_cast<ULONG>(length));
    return length > room ? adFldTruncated : adFldOK;
}

_variant_t ReadValue(CADORecordBinding* record, const ADO_BINDING_ENTRY& entry)
{
    switch (entry.wDataType) {
    case adInteger:
        return _variant_t(static_cast<long>(Slot<LONG>(record, entry.ulBufferOffset)));
    case adDouble:
        return _variant_t(Slot<double>(record, entry.ulBufferOffset));
    case adCurrency:
        return _variant_t(Slot<CY>(record, entry.ulBufferOffset));
    default:
        break;
    }
    const wchar_t* buffer = &Slot<wchar_t>(record, entry.ulBufferOffset);
    size_t length = std::wcslen(buffer) < entry.ulSize ? std::wcslen(buffer) : entry.ulSize - 1;
    if (entry.ulLengthOffset && Slot<ULONG>(record, entry.ulLengthOffset) < length)
        length = Slot<ULONG>(record, entry.ulLengthOffset);
    _bstr_t text(::SysAllocStringLen(buffer, static_cast<UINT>(length)), false);
    return _variant_t(text);
}

class CJetRecordBinding : public CJetUnknown<IADORecordBinding>
{
public:
    explicit CJetRecordBinding(CJetRecordset* recordset) : m_recordset(recordset) {}

    HRESULT STDMETHODCALLTYPE BindToRecordset(CADORecordBinding* record) override
    {
        m_recordset->Bind(record);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AddNew(CADORecordBinding* record) override
    {
        JetCheckBinding(record, m_recordset->Log());
        // Collected first: starting the new row must not be able to touch the record.
        std::vector<std::pair<long, _variant_t>> values = JetCollectRecord(record, true);
        m_recordset->AddNew();
        for (const auto& value : values)
            m_recordset->PutValue(value.first, value.second);
        m_recordset->Update();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Update(CADORecordBinding* record) override
    {
        JetCheckBinding(record, m_recordset->Log());
        for (const auto& value : JetCollectRecord(record, false))
            m_recordset->PutValue(value.first, value.second);
        m_recordset->Update();
        return S_OK;
    }

private:
    CAdoPtr<CJetRecordset> m_recordset;
};
} // namespace

void JetCheckBinding(CADORecordBinding* record, CJetErrorLog* log)
{
    ADO_BINDING_ENTRY* entry = record ? record->GetADOBindingEntries() : nullptr;
    if (!entry)
        JetRaise(log, E_POINTER, L"The record has no binding entries.");
    for (; entry->ulOrdinal != 0; ++entry) {
        bool known = entry->wDataType == adInteger || entry->wDataType == adDouble ||
                     entry->wDataType == adCurrency || IsText(entry->wDataType);
        if (!known || (IsText(entry->wDataType) && entry->ulSize == 0))
            JetRaise(log, JET_E_INVALIDARGUMENT,
                     L"Binding entry of column " + std::to_wstring(entry->ulOrdinal) + L" is not supported.");
    }
}

void JetFillRecord(CADORecordBinding* record, CJetRecordset& recordset)
{
    for (ADO_BINDING_ENTRY* entry = record->GetADOBindingEntries(); entry->ulOrdinal != 0; ++entry) {
        long column = static_cast<long>(entry->ulOrdinal) - 1;
        if (column >= recordset.ColumnCount())
            JetRaise(recordset.Log(), JET_E_ITEMNOTFOUND,
                     L"The bound column " + std::to_wstring(entry->ulOrdinal) + L" does not exist.");
        SetStatus(record, *entry, WriteValue(record, *entry, recordset.GetValue(column)));
    }
}

std::vector<std::pair<long, _variant_t>> JetCollectRecord(CADORecordBinding* record, bool skipNull)
{
    std::vector<std::pair<long, _variant_t>> values;
    for (ADO_BINDING_ENTRY* entry = record->GetADOBindingEntries(); entry->ulOrdinal != 0; ++entry) {
        if (!entry->fModify)
            continue;
        ULONG status = entry->ulStatusOffset ? Slot<ULONG>(record, entry->ulStatusOffset) : ULONG(adFldOK);
        long column = static_cast<long>(entry->ulOrdinal) - 1;
        if (status == adFldOK) {
            values.emplace_back(column, ReadValue(record, *entry));
        } else if (status == adFldNull && !skipNull) {
            _variant_t null;
            null.vt = VT_NULL;
            values.emplace_back(column, null);
        }
    }
    return values;
}

IADORecordBinding* JetMakeRecordBinding(CJetRecordset* recordset)
{
    return new CJetRecordBinding(recordset);
}
