#include "ADORecordset.h"

#include "platform/mfc/afxmsgbox.h"
#include "util/MessageText.h"
#include "resource.h"

#include <vector>

namespace {

_variant_t ConnectionVariant(const CADOConnection& connection)
{
    return _variant_t(static_cast<IDispatch*>(connection.GetConnection().GetInterfacePtr()), true);
}

// The caller's VARIANT lent as a _variant_t without a copy of its text: given back, not cleared, at the end.
class CBorrowedVariant
{
public:
    explicit CBorrowedVariant(const VARIANT& value) : m_shallow(value), m_value(m_shallow, false) {}
    ~CBorrowedVariant() { m_value.Detach(); }
    CBorrowedVariant(const CBorrowedVariant&) = delete;
    CBorrowedVariant& operator=(const CBorrowedVariant&) = delete;
    const _variant_t& Get() const { return m_value; }

private:
    VARIANT m_shallow;
    _variant_t m_value;
};

// Several key values travel to Seek as one SAFEARRAY of VARIANTs, lower bound 1, in key order. The array of the
// last seek is filled again when it has room for as many keys, so that a run of seeks makes no array each.
void FillSeekArray(_variant_t& keys, int nKeyCount, const VARIANT* pKeyValues)
{
    if (keys.vt != (VT_ARRAY | VT_VARIANT) || keys.parray->rgsabound[0].cElements != static_cast<ULONG>(nKeyCount)) {
        SAFEARRAYBOUND bound = {static_cast<ULONG>(nKeyCount), 1};
        SAFEARRAY* pArray = ::SafeArrayCreate(VT_VARIANT, 1, &bound);
        if (!pArray)
            _com_issue_error(E_OUTOFMEMORY);
        keys.Clear();
        keys.vt = VT_ARRAY | VT_VARIANT;
        keys.parray = pArray;
    }
    for (LONG i = 0; i < nKeyCount; ++i) {
        LONG index = i + 1;
        HRESULT hr = ::SafeArrayPutElement(keys.parray, &index, const_cast<VARIANT*>(&pKeyValues[i]));
        if (FAILED(hr)) {
            keys.Clear();
            _com_issue_error(hr);
        }
    }
}

// The parameter type of a key whose record set binds no record: taken from the value itself.
DataTypeEnum ParameterTypeOf(const VARIANT& value, long& nSize)
{
    nSize = 0;
    switch (value.vt) {
    case VT_BSTR:
        nSize = static_cast<long>(::SysStringLen(value.bstrVal));
        return adVarWChar;
    case VT_CY:
        return adCurrency;
    case VT_R4:
    case VT_R8:
        return adDouble;
    default:
        return adInteger;
    }
}

} // namespace

CADORecordset::CADORecordset(CADOConnection& connection)
    : m_pConnection(&connection), m_pRecord(nullptr)
{
    HRESULT hr = m_pRecordset.CreateInstance(__uuidof(Recordset));
    if (FAILED(hr))
        _com_issue_error(hr);
}

CADORecordset::~CADORecordset()
{
    m_pBinding.Release();
    m_pLookupCommand.Release();
    m_pRecordset.Release();
}

CString CADORecordset::GetKeyName(int /*nKey*/) const
{
    return CString();
}

int CADORecordset::GetKeyType(int /*nKey*/) const
{
    return 0;
}

void CADORecordset::Open(LPCTSTR pszSource, CursorTypeEnum nCursorType, LockTypeEnum nLockType, long nOptions)
{
    CString source(pszSource ? pszSource : L"");
    if (source.IsEmpty()) {
        // DB2 has no table-direct access: read the whole table through a query instead.
        if ((nOptions & adCmdTableDirect) && m_pConnection->GetProviderKind() == CADOConnection::providerDB2) {
            nOptions = (nOptions & ~adCmdTableDirect) | adCmdText;
            source.Format(L"SELECT * FROM %s", static_cast<LPCTSTR>(GetTableName()));
        }
        else {
            source = GetTableName();
        }
    }
    m_pConnection->ClearErrors();
    SetRowProperties(nLockType);
    m_strCurrentIndex.Empty();
    m_knownColumns.clear();
    m_pRecordset->Open(_variant_t(static_cast<LPCTSTR>(source)), ConnectionVariant(*m_pConnection), nCursorType,
                       nLockType, nOptions);
    BindRecord();
}

// SQL Server record sets that write must see the rows they insert and forget the rows they delete.
void CADORecordset::SetRowProperties(LockTypeEnum nLockType)
{
    if (nLockType == adLockReadOnly || m_pConnection->GetProviderKind() != CADOConnection::providerSqlServer)
        return;
    PropertiesPtr properties = m_pRecordset->GetProperties();
    if (IsRowPropertyOn(m_nChangeInsertedRows, m_pConnection->GetChangeInsertedRows()))
        properties->GetItem(_variant_t(L"Change Inserted Rows"))->PutValue(_variant_t(true));
    if (IsRowPropertyOn(m_nRemoveDeletedRows, m_pConnection->GetRemoveDeletedRows()))
        properties->GetItem(_variant_t(L"Remove Deleted Rows"))->PutValue(_variant_t(true));
}

void CADORecordset::BindRecord()
{
    m_pRecord = GetRecord();
    if (!m_pRecord)
        return;
    if (!m_pBinding) {
        IADORecordBinding* pBinding = nullptr;
        HRESULT hr = m_pRecordset->QueryInterface(__uuidof(IADORecordBinding), reinterpret_cast<void**>(&pBinding));
        if (FAILED(hr))
            _com_issue_error(hr);
        m_pBinding.Attach(pBinding);
    }
    m_pBinding->BindToRecordset(m_pRecord);
}

bool CADORecordset::FindByKey(int nKeyCount, const VARIANT* pKeyValues, BOOL bQuiet, LPCTSTR pszIndex)
{
    m_pConnection->ClearErrors();
    if (m_pConnection->IsSeekAllowed())
        SeekKey(nKeyCount, pKeyValues, pszIndex);
    else
        QueryKey(nKeyCount, pKeyValues);
    if (!IsEOF())
        return true;
    if (!bQuiet) {
        CString text;
        text.Format(LoadResString(IDP_RECORD_NOT_FOUND), static_cast<LPCTSTR>(FormatKeyText(nKeyCount, pKeyValues)),
                    static_cast<LPCTSTR>(GetTableName()));
        AfxMessageBox(text, MB_ICONEXCLAMATION);
    }
    return false;
}

void CADORecordset::SeekKey(int nKeyCount, const VARIANT* pKeyValues, LPCTSTR pszIndex)
{
    // One key is sought as it is; several as an array.
    if (nKeyCount > 1)
        FillSeekArray(m_seekKeys, nKeyCount, pKeyValues);
    CBorrowedVariant seekValue(nKeyCount == 1 ? pKeyValues[0] : static_cast<const VARIANT&>(m_seekKeys));
    if (!IsOpen())
        Open(nullptr, adOpenStatic, m_pRecordset->GetLockType(), adCmdTableDirect);
    if (!pszIndex || !*pszIndex) {
        if (m_strPrimaryIndex.IsEmpty()) {
            m_strPrimaryIndex = L"PK_" + GetTableName();
            m_strPrimaryIndex.MakeUpper();
        }
        pszIndex = m_strPrimaryIndex;
    }
    // Changing the index is not free: set it only when it differs. Only this class sets it, so the index it set
    // last on the open Recordset is the current one.
    if (m_strCurrentIndex != pszIndex) {
        m_pRecordset->PutIndex(_bstr_t(pszIndex));
        m_strCurrentIndex = pszIndex;
    }
    m_pRecordset->Seek(seekValue.Get(), adSeekFirstEQ);
}

// Without index seek the lookup is a prepared parameterised query, re-run with new values.
void CADORecordset::QueryKey(int nKeyCount, const VARIANT* pKeyValues)
{
    if (IsOpen() &&
        (!m_pLookupCommand || CString(static_cast<LPCWSTR>(_bstr_t(m_pRecordset->GetSource()))).Find(L'?') < 0))
        Close();
    if (IsOpen()) {
        ParametersPtr parameters = m_pLookupCommand->GetParameters();
        for (int i = 0; i < nKeyCount; ++i)
            parameters->GetItem(_variant_t(static_cast<long>(i)))->PutValue(_variant_t(pKeyValues[i]));
        m_pRecordset->Requery(adOptionUnspecified);
    }
    else {
        PrepareLookupCommand(nKeyCount, pKeyValues);
    }
    BindRecord();
}

void CADORecordset::PrepareLookupCommand(int nKeyCount, const VARIANT* pKeyValues)
{
    CString sql;
    sql.Format(L"SELECT * FROM %s WHERE %s=?", static_cast<LPCTSTR>(GetTableName()),
               static_cast<LPCTSTR>(GetKeyName(0)));
    for (int i = 1; i < nKeyCount; ++i)
        sql.AppendFormat(L" AND %s=?", static_cast<LPCTSTR>(GetKeyName(i)));

    CADORecord* pRecord = GetRecord();
    std::vector<CParameterType> types(static_cast<size_t>(nKeyCount));
    for (int i = 0; i < nKeyCount; ++i) {
        CParameterType& type = types[static_cast<size_t>(i)];
        if (pRecord) {
            const ADO_BINDING_ENTRY& entry = pRecord->GetADOBindingEntries()[GetKeyType(i)];
            type.nType = static_cast<DataTypeEnum>(entry.wDataType);
            type.nSize = static_cast<long>(entry.ulSize);
        }
        else {
            type.nType = ParameterTypeOf(pKeyValues[i], type.nSize);
        }
    }

    LockTypeEnum nLockType = m_pRecordset->GetLockType();
    if (nLockType == adLockUnspecified)
        nLockType = adLockReadOnly;
    m_pLookupCommand.Release();
    m_pLookupCommand = OpenCommand(sql, nKeyCount, pKeyValues, types.data(), nLockType);
}

void CADORecordset::OpenWithParameters(LPCTSTR pszSql, int nCount, const VARIANT* pValues)
{
    std::vector<CParameterType> types(static_cast<size_t>(nCount));
    for (int i = 0; i < nCount; ++i)
        types[static_cast<size_t>(i)].nType = ParameterTypeOf(pValues[i], types[static_cast<size_t>(i)].nSize);
    // What opens now is no key lookup: a later lookup prepares its own command again.
    m_pLookupCommand.Release();
    OpenCommand(pszSql, nCount, pValues, types.data(), adLockReadOnly);
    BindRecord();
}

// Opens the record set, static, on a prepared command of the text with the values as its parameters.
_CommandPtr CADORecordset::OpenCommand(LPCTSTR pszSql, int nCount, const VARIANT* pValues, const CParameterType* pTypes,
                                       LockTypeEnum nLockType)
{
    _CommandPtr pCommand;
    HRESULT hr = pCommand.CreateInstance(__uuidof(Command));
    if (FAILED(hr))
        _com_issue_error(hr);
    pCommand->PutRefActiveConnection(m_pConnection->GetConnection());
    pCommand->PutCommandText(_bstr_t(pszSql));
    pCommand->PutCommandType(adCmdText);
    pCommand->PutPrepared(VARIANT_TRUE);

    ParametersPtr parameters = pCommand->GetParameters();
    for (int i = 0; i < nCount; ++i) {
        _ParameterPtr parameter = pCommand->CreateParameter(_bstr_t(L""), pTypes[i].nType, adParamInput, pTypes[i].nSize,
                                                            _variant_t(pValues[i]));
        parameters->Append(parameter);
    }

    m_pConnection->ClearErrors();
    SetRowProperties(nLockType);
    m_strCurrentIndex.Empty();
    m_knownColumns.clear();
    m_pRecordset->Open(_variant_t(static_cast<IDispatch*>(pCommand.GetInterfacePtr()), true), vtMissing, adOpenStatic,
                       nLockType, adCmdUnspecified);
    return pCommand;
}

CString CADORecordset::FormatKeyText(int nKeyCount, const VARIANT* pKeyValues) const
{
    if (nKeyCount == 1)
        return FormatKeyValue(pKeyValues[0]);
    CString text(L"(");
    for (int i = 0; i < nKeyCount; ++i) {
        if (i > 0)
            text += L",";
        text += FormatKeyValue(pKeyValues[i]);
    }
    return text + L")";
}

void CADORecordset::AddNew()
{
    CADORecord* pRecord = GetRecord();
    if (!pRecord)
        _com_issue_error(E_POINTER);   // a record set without a bound record adds rows by column name
    struct Written { const ADO_BINDING_ENTRY* pEntry; _variant_t value; };
    std::vector<Written> written;
    for (const ADO_BINDING_ENTRY* entry = pRecord->GetADOBindingEntries(); entry->ulOrdinal != 0; ++entry) {
        const CADOField& field = pRecord->FieldAt(*entry);
        if (!field.IsNull())
            written.push_back({entry, field.GetVariant()});
    }

    m_pConnection->ClearErrors();
    m_pRecordset->AddNew();
    FieldsPtr fields = m_pRecordset->GetFields();
    for (const Written& w : written)
        fields->GetItem(_variant_t(static_cast<long>(w.pEntry->ulOrdinal - 1)))->PutValue(w.value);
    OnBeforeUpdate();
    m_pRecordset->Update();

    // Moving onto the new row refreshed the record from it: put back what was written and null the rest, but keep
    // the number the database gave a one-column key, so that the caller knows the new row.
    const ADO_BINDING_ENTRY* pEntries = pRecord->GetADOBindingEntries();
    const ADO_BINDING_ENTRY* pKey = GetKeyCount() == 1 ? &pEntries[GetKeyType(0)] : nullptr;
    for (const ADO_BINDING_ENTRY* entry = pEntries; entry->ulOrdinal != 0; ++entry) {
        if (entry != pKey)
            pRecord->FieldAt(*entry).SetNull();
    }
    for (const Written& w : written)
        pRecord->FieldAt(*w.pEntry).SetVariant(w.value);
}

void CADORecordset::Update()
{
    m_pConnection->ClearErrors();
    OnBeforeUpdate();
    m_pBinding->Update(m_pRecord);
}

void CADORecordset::OpenNullKey()
{
    CString sql;
    sql.Format(L"SELECT * FROM %s WHERE %s IS NULL", static_cast<LPCTSTR>(GetTableName()),
               static_cast<LPCTSTR>(GetKeyName(0)));
    Open(sql, adOpenStatic, adLockOptimistic, adCmdText);
}

long CADORecordset::GetCount()
{
    CString sql;
    sql.Format(L"SELECT COUNT(*) FROM %s", static_cast<LPCTSTR>(GetTableName()));
    _RecordsetPtr result = m_pConnection->Execute(sql, nullptr, adCmdText);
    return static_cast<long>(result->GetFields()->GetItem(_variant_t(0L))->GetValue());
}

CString CADORecordset::FormatKeyValue(const VARIANT& value)
{
    CString text;
    switch (value.vt) {
    case VT_I2:
        text.Format(L"%d", value.iVal);
        break;
    case VT_I4:
        text.Format(L"%d", static_cast<int>(value.lVal));
        break;
    case VT_UI1:
        text.Format(L"%d", value.bVal);
        break;
    case VT_R4:
        text.Format(L"%.02f", static_cast<double>(value.fltVal));
        break;
    case VT_R8:
        text.Format(L"%.02f", value.dblVal);
        break;
    case VT_DATE: {
        BSTR date = nullptr;
        if (SUCCEEDED(::VarBstrFromDate(value.date, LOCALE_USER_DEFAULT, 0, &date))) {
            text = date;
            ::SysFreeString(date);
        }
        break;
    }
    case VT_BSTR:
        text = value.bstrVal;
        break;
    case VT_BOOL:
        text = value.boolVal ? L"VERO" : L"FALSO";
        break;
    default:
        break;
    }
    return text;
}

bool CADORecordset::IsOpen() const
{
    return m_pRecordset->GetState() != adStateClosed;
}

long CADORecordset::GetRecordCount() const
{
    return m_pRecordset->GetRecordCount();
}

bool CADORecordset::IsEOF() const
{
    return m_pRecordset->GetEOF() != VARIANT_FALSE;
}

void CADORecordset::MoveNext()
{
    m_pConnection->ClearErrors();
    m_pRecordset->MoveNext();
}

void CADORecordset::Delete()
{
    m_pConnection->ClearErrors();
    m_pRecordset->Delete(adAffectCurrent);
}

void CADORecordset::Close()
{
    m_strCurrentIndex.Empty();
    m_knownColumns.clear();
    m_pRecordset->Close();
}

Field* CADORecordset::ColumnField(LPCTSTR pszColumn) const
{
    for (const CKnownColumn& known : m_knownColumns) {
        if (known.strName == pszColumn)
            return known.pField;
    }
    FieldPtr found;
    FieldsPtr fields = GetFields();
    for (long i = 0, nCount = fields->GetCount(); i < nCount && !found; ++i) {
        FieldPtr field = fields->GetItem(_variant_t(i));
        _bstr_t name = field->GetName();
        // Column names compare as the database compares them: without regard to case.
        if (::CompareStringOrdinal(name, static_cast<int>(name.length()), pszColumn, -1, TRUE) == CSTR_EQUAL)
            found = field;
    }
    m_knownColumns.push_back({pszColumn, found});
    return found;
}

FieldsPtr CADORecordset::GetFields() const
{
    return m_pRecordset->GetFields();
}
