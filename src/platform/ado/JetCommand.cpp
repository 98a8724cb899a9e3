#include "platform/ado/JetCommand.h"

#include <sqlite3.h>

namespace
{
EJetKind KindOfParameter(DataTypeEnum type)
{
    switch (type) {
    case adInteger:
        return jetKindInteger;
    case adCurrency:
        return jetKindCurrency;
    case adDouble:
        return jetKindDouble;
    case adVarChar:
    case adVarWChar:
        return jetKindText;
    default:
        return jetKindAny;
    }
}
} // namespace

HRESULT CJetParameter::GetJetValue(CJetValue& value) const
{
    return JetFromVariant(m_value, KindOfParameter(m_type), value);
}

HRESULT CJetParameters::Append(IDispatch* parameter)
{
    _Parameter* found = nullptr;
    if (!parameter || FAILED(parameter->QueryInterface(__uuidof(_Parameter), reinterpret_cast<void**>(&found))))
        JetRaise(nullptr, JET_E_INVALIDARGUMENT, L"The object to append is not a Parameter.");
    m_parameters.push_back(CAdoPtr<CJetParameter>(static_cast<CJetParameter*>(found)));
    found->Release();
    return S_OK;
}

_ParameterPtr CJetParameters::GetItem(const _variant_t& index)
{
    if (index.vt == VT_BSTR) {
        for (const CAdoPtr<CJetParameter>& parameter : m_parameters)
            if (JetSameName(JetText(parameter->GetName()), JetText(index.bstrVal)))
                return _ParameterPtr(parameter);
    } else {
        _variant_t position;
        if (SUCCEEDED(::VariantChangeType(&position, const_cast<_variant_t*>(&index), 0, VT_I4)) &&
            position.lVal >= 0 && static_cast<size_t>(position.lVal) < m_parameters.size())
            return _ParameterPtr(m_parameters[static_cast<size_t>(position.lVal)]);
    }
    JetRaise(nullptr, JET_E_ITEMNOTFOUND, L"Item cannot be found in the collection.");
}

void CJetCommand::PutActiveConnection(const _variant_t& connection)
{
    m_connection = JetConnectionOf(connection);
    if (!m_connection)
        JetRaise(nullptr, JET_E_INVALIDARGUMENT, L"The active connection is not a Connection.");
}

void CJetCommand::PutRefActiveConnection(_Connection* connection)
{
    m_connection = static_cast<CJetConnection*>(connection);
}

_ParameterPtr CJetCommand::CreateParameter(_bstr_t name, DataTypeEnum type, ParameterDirectionEnum direction, long,
                                           const _variant_t& value)
{
    if (direction != adParamInput && direction != adParamUnknown)
        JetRaise(m_connection ? m_connection->Log() : nullptr, JET_E_FEATURENOTAVAILABLE,
                 L"Only input parameters are supported.");
    return _ParameterPtr(new CJetParameter(JetText(name), type, value));
}

void CJetCommand::BindParameters(CSqliteStatement& statement)
{
    CJetErrorLog* log = m_connection ? m_connection->Log() : nullptr;
    const std::vector<CAdoPtr<CJetParameter>>& parameters = m_parameters->Items();
    int count = ::sqlite3_bind_parameter_count(statement.Handle());
    if (static_cast<size_t>(count) > parameters.size())
        JetRaise(log, JET_E_ERRORSINCOMMAND, L"No value given for one or more required parameters.");
    for (int i = 0; i < count; ++i) {
        CJetValue value;
        HRESULT hr = parameters[static_cast<size_t>(i)]->GetJetValue(value);
        if (FAILED(hr))
            JetRaise(log, hr, L"The value of parameter " + std::to_wstring(i + 1) + L" does not fit its type.");
        statement.Bind(i + 1, value);
    }
}

CAdoPtr<CJetCommand> JetCommandOf(const VARIANT& command)
{
    return JetObjectOf<CJetCommand, _Command>(command);
}
