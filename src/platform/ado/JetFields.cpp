#include "platform/ado/JetFields.h"

#include "platform/ado/JetRecordset.h"

namespace
{
// A part of the record set: its references are the record set's.
template <class I> class CJetPart : public CJetObject<I>
{
public:
    explicit CJetPart(CJetRecordset* recordset) : m_recordset(recordset) {}
    ULONG STDMETHODCALLTYPE AddRef() override { return m_recordset->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return m_recordset->Release(); }

protected:
    CJetRecordset* m_recordset;
};

class CJetField : public CJetPart<Field>
{
public:
    CJetField(CJetRecordset* recordset, long column) : CJetPart(recordset), m_column(column) {}

    _variant_t GetValue() override { return m_recordset->GetValue(Column()); }
    void PutValue(const _variant_t& value) override { m_recordset->PutValue(Column(), value); }
    _bstr_t GetName() override { return _bstr_t(m_recordset->Column(Column()).m_name.c_str()); }
    DataTypeEnum GetType() override { return m_recordset->ColumnType(Column()); }
    long GetDefinedSize() override { return m_recordset->Column(Column()).m_definedSize; }

private:
    // A field kept from an earlier open of the record set may name a column it no longer has.
    long Column() const
    {
        if (m_column >= m_recordset->ColumnCount())
            JetRaise(m_recordset->Log(), JET_E_ITEMNOTFOUND,
                     L"Item cannot be found in the collection corresponding to the requested name or ordinal.");
        return m_column;
    }

    long m_column;
};

class CJetFields : public CJetPart<Fields>
{
public:
    using CJetPart::CJetPart;

    long GetCount() override { return m_recordset->ColumnCount(); }
    FieldPtr GetItem(const _variant_t& index) override { return m_recordset->FieldAt(m_recordset->ColumnIndex(index)); }
};

class CJetProperty : public CJetObject<Property>
{
public:
    CJetProperty(CJetRecordset* recordset, size_t index) : m_recordset(recordset), m_index(index) {}

    _bstr_t GetName() override { return _bstr_t(Entry().m_name.c_str()); }
    _variant_t GetValue() override { return Entry().m_value; }
    void PutValue(const _variant_t& value) override { Entry().m_value = value; }

private:
    CJetDynamicProperty& Entry() { return m_recordset->DynamicProperties()[m_index]; }

    CAdoPtr<CJetRecordset> m_recordset;
    size_t m_index;
};

class CJetProperties : public CJetObject<Properties>
{
public:
    explicit CJetProperties(CJetRecordset* recordset) : m_recordset(recordset) {}

    long GetCount() override { return static_cast<long>(m_recordset->DynamicProperties().size()); }
    PropertyPtr GetItem(const _variant_t& index) override
    {
        std::vector<CJetDynamicProperty>& properties = m_recordset->DynamicProperties();
        for (size_t i = 0; i < properties.size(); ++i) {
            if (index.vt == VT_BSTR ? JetSameName(properties[i].m_name, JetText(index.bstrVal))
                                    : static_cast<long>(i) == ItemPosition(index))
                return PropertyPtr(new CJetProperty(m_recordset, i));
        }
        JetRaise(m_recordset->Log(), JET_E_ITEMNOTFOUND,
                 L"Item cannot be found in the collection corresponding to the requested name or ordinal.");
    }

private:
    static long ItemPosition(const _variant_t& index)
    {
        _variant_t position;
        return SUCCEEDED(::VariantChangeType(&position, const_cast<_variant_t*>(&index), 0, VT_I4)) ? position.lVal : -1;
    }

    CAdoPtr<CJetRecordset> m_recordset;
};
} // namespace

CJetUnknown<Fields>* JetNewFields(CJetRecordset* recordset)
{
    return new CJetFields(recordset);
}

CJetUnknown<Field>* JetNewField(CJetRecordset* recordset, long column)
{
    return new CJetField(recordset, column);
}

PropertiesPtr JetMakeProperties(CJetRecordset* recordset)
{
    return PropertiesPtr(new CJetProperties(recordset));
}
