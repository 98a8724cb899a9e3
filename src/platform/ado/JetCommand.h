// The ADO Command of the stand-in: a command text with "?" parameters, run by Recordset::Open and Requery.
#pragma once

#include "platform/ado/JetConnection.h"

class CJetParameter : public CJetObject<_Parameter>
{
public:
    CJetParameter(const std::wstring& name, DataTypeEnum type, const _variant_t& value)
        : m_name(name), m_type(type), m_value(value)
    {
    }

    _bstr_t GetName() override { return _bstr_t(m_name.c_str()); }
    DataTypeEnum GetType() override { return m_type; }
    _variant_t GetValue() override { return m_value; }
    void PutValue(const _variant_t& value) override { m_value = value; }

    // The value converted to the parameter's type.
    HRESULT GetJetValue(CJetValue& value) const;

private:
    std::wstring m_name;
    DataTypeEnum m_type;
    _variant_t m_value;
};

class CJetParameters : public CJetObject<Parameters>
{
public:
    long GetCount() override { return static_cast<long>(m_parameters.size()); }
    HRESULT Append(IDispatch* parameter) override;
    _ParameterPtr GetItem(const _variant_t& index) override;

    const std::vector<CAdoPtr<CJetParameter>>& Items() const { return m_parameters; }

private:
    std::vector<CAdoPtr<CJetParameter>> m_parameters;
};

class CJetCommand : public CJetObject<_Command>
{
public:
    CJetCommand() : m_parameters(new CJetParameters) {}

    void PutActiveConnection(const _variant_t& connection) override;
    void PutRefActiveConnection(_Connection* connection) override;
    _bstr_t GetCommandText() override { return _bstr_t(m_text.c_str()); }
    void PutCommandText(_bstr_t text) override { m_text = JetText(text); }
    void PutCommandType(CommandTypeEnum) override {}
    void PutPrepared(VARIANT_BOOL) override {}
    _ParameterPtr CreateParameter(_bstr_t name, DataTypeEnum type, ParameterDirectionEnum direction, long size,
                                  const _variant_t& value) override;
    ParametersPtr GetParameters() override { return ParametersPtr(m_parameters); }

    CJetConnection* Connection() const { return m_connection; }
    const std::wstring& Text() const { return m_text; }
    // Binds the parameters to the statement's "?" marks in order; a missing or unconvertible value raises.
    void BindParameters(CSqliteStatement& statement);

private:
    CAdoPtr<CJetConnection> m_connection;
    std::wstring m_text;
    CAdoPtr<CJetParameters> m_parameters;
};

// The command a VARIANT carries (VT_DISPATCH of a Command), or null.
CAdoPtr<CJetCommand> JetCommandOf(const VARIANT& command);
