#include "ADOConnection.h"

#include "data/AdoErrorText.h"
#include "platform/mfc/afxmsgbox.h"

CADOConnection::CADOConnection()
    : m_nProviderKind(providerUnknown), m_bOpen(false), m_nTransDepth(0), m_bSeekAllowed(false),
      m_bChangeInsertedRows(true), m_bRemoveDeletedRows(true)
{
}

CString CADOConnection::FormatConnectionString(LPCTSTR pszPath, LPCTSTR pszPassword)
{
    CString text;
    text.Format(L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%s;Persist Security Info=False;"
                L"Jet OleDB:Database Password=%s", pszPath, pszPassword);
    return text;
}

CADOConnection::ProviderKind CADOConnection::ClassifyProvider(LPCTSTR pszProvider)
{
    static const struct { LPCTSTR pszName; ProviderKind nKind; } kinds[] = {
        {L"MICROSOFT.JET.OLEDB", providerJet},
        {L"SQLOLEDB.1", providerSqlServer},
        {L"SQLNCLI.1", providerSqlServer},
        {L"ORAOLEDB.ORACLE", providerOracle},
        {L"MSDAORA", providerOracle},
        {L"IBMDADB2.1", providerDB2},
    };
    CString provider(pszProvider ? pszProvider : L"");
    provider.MakeUpper();
    for (const auto& kind : kinds) {
        if (provider.Find(kind.pszName) >= 0)
            return kind.nKind;
    }
    return providerUnknown;
}

HRESULT CADOConnection::CreateConnection()
{
    if (m_pConnection)
        return S_OK;
    return m_pConnection.CreateInstance(__uuidof(Connection));
}

void CADOConnection::Open(LPCTSTR pszConnectionString, BOOL bSeekAllowed)
{
    ClearErrors();
    m_pConnection->Open(_bstr_t(pszConnectionString), _bstr_t(L""), _bstr_t(L""), adOptionUnspecified);
    m_bOpen = true;
    m_nProviderKind = ClassifyProvider(static_cast<LPCWSTR>(m_pConnection->GetProvider()));
    m_bSeekAllowed = m_nProviderKind == providerJet && bSeekAllowed;
    if (m_nProviderKind == providerDB2)
        m_pConnection->PutCursorLocation(adUseClient);
}

void CADOConnection::Close()
{
    m_pConnection->Close();
    m_nProviderKind = providerUnknown;
    m_bOpen = false;
    m_nTransDepth = 0;
    m_bSeekAllowed = false;
}

void CADOConnection::BeginTrans()
{
    ClearErrors();
    if (m_nTransDepth == 0)
        m_pConnection->BeginTrans();
    ++m_nTransDepth;
}

// A commit or rollback without a begin (a guard outliving Close) ends nothing: a depth below 0 would make every
// later transaction of the run a silent no-op.
void CADOConnection::CommitTrans()
{
    if (m_nTransDepth == 0 || --m_nTransDepth > 0)
        return;
    ClearErrors();
    try {
        m_pConnection->CommitTrans();
    }
    catch (const _com_error&) {
        // The database transaction is still open: end it, so that the next begin starts a fresh one.
        // The commit's error is the one to report; a failing rollback adds nothing the user can act on.
        try {
            m_pConnection->RollbackTrans();
        }
        catch (const _com_error&) {
        }
        throw;
    }
}

void CADOConnection::RollbackTrans()
{
    if (m_nTransDepth == 0 || --m_nTransDepth > 0)
        return;
    try {
        m_pConnection->RollbackTrans();
    }
    catch (const _com_error& e) {
        AfxMessageBox(GetComErrorText(e, this), MB_ICONERROR);
    }
}

_RecordsetPtr CADOConnection::Execute(LPCTSTR pszSQL, VARIANT* pRecordsAffected, long nOptions)
{
    ClearErrors();
    return m_pConnection->Execute(_bstr_t(pszSQL), pRecordsAffected, nOptions);
}

void CADOConnection::ClearErrors()
{
    if (m_pConnection)
        m_pConnection->GetErrors()->Clear();
}

bool CADOConnection::IsDuplicateKeyError() const
{
    ErrorsPtr errors = m_pConnection->GetErrors();
    if (errors->GetCount() == 0)
        return false;
    long nNative = errors->GetItem(_variant_t(0L))->GetNativeError();
    switch (m_nProviderKind) {
    case providerJet:
        return nNative == -105121349;
    case providerSqlServer:
        return nNative == 2601 || nNative == 2627;
    case providerOracle:
        return nNative == 1;
    case providerDB2:
        return nNative == 0;
    default:
        return false;
    }
}

CADOTransaction::CADOTransaction(CADOConnection& connection, BOOL bBeginNow)
    : m_connection(connection), m_bActive(false)
{
    if (bBeginNow)
        Begin();
}

CADOTransaction::~CADOTransaction()
{
    if (m_bActive)
        Rollback();
}

void CADOTransaction::Begin()
{
    m_connection.BeginTrans();
    m_bActive = true;
}

void CADOTransaction::Commit()
{
    m_connection.CommitTrans();
    m_bActive = false;
}

void CADOTransaction::Rollback()
{
    m_connection.RollbackTrans();
    m_bActive = false;
}
