#include "platform/ado/JetFields.h"

#include "platform/ado/JetRecordset.h"

namespace
{
class CJetField : public CJetObject<Field>
{
public:
    CJetField(CJetRecordset* recordset, long column) : m_recordset(recordset), m_column(column) {}

    _variant_t GetValue() override { return m_recordset->GetValue(m_column); }
    void PutValue(const _variant_t& value) override { m_recordset->PutValue(m_column, value); }
    _bstr_t GetName() override { return _bstr_t(m_recordset->Column(m_column).m_name.c_str()); }
    DataTypeEnum GetType() override { return m_recordset->ColumnType(m_column); }
    long GetDefinedSize() override { return m_recordset->Column(m_column).m_definedSize; }

private:
    CAdoPtr<CJetRecordset> m_recordset;
    long m_column;
};

class CJetFields : public CJetObject<Fields>
{
public:
    explicit CJetFields(CJetRecordset* recordset) : m_recordset(recordset) {}

    long GetCount() override { return m_recordset->ColumnCount(); }
    FieldPtr GetItem(const _variant_t& index) override
    {
        return FieldPtr(new CJetField(m_recordset, m_recordset->ColumnIndex(index)));
    }

private:
    CAdoPtr<CJetRecordset> m_recordset;
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

FieldsPtr JetMakeFields(CJetRecordset* recordset)
{
    return FieldsPtr(new CJetFields(recordset));
}

PropertiesPtr JetMakeProperties(CJetRecordset* recordset)
{
    return PropertiesPtr(new CJetProperties(recordset));
}
