// One ADO connection to a database, with the provider kind the record sets look at and a transaction depth
// that lets nested begin/commit pairs reach the database only at the outermost level.
#pragma once

#include "platform/ado/adodb.h"
#include "platform/mfc/afxstr.h"

class CADOConnection
{
public:
    enum ProviderKind { providerUnknown = -1, providerJet = 0, providerSqlServer = 1, providerOracle = 2,
                        providerDB2 = 3 };

    CADOConnection();
    CADOConnection(const CADOConnection&) = delete;
    CADOConnection& operator=(const CADOConnection&) = delete;

    // "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<path>;...;Jet OleDB:Database Password=<password>"
    static CString FormatConnectionString(LPCTSTR pszPath, LPCTSTR pszPassword);
    // The kind of provider named by the Connection's Provider text, matched without regard to case.
    static ProviderKind ClassifyProvider(LPCTSTR pszProvider);

    // Creates the ADO Connection object when none is held yet; a reopen reuses it.
    HRESULT CreateConnection();
    bool HasConnection() const { return m_pConnection != nullptr; }
    // Lets go of the ADO Connection object (closed or not); a later open creates a new one.
    void ReleaseConnection() { m_pConnection = nullptr; }
    const _ConnectionPtr& GetConnection() const { return m_pConnection; }

    // Record sets find rows by index seek only when the provider is Jet and the caller allows it.
    void Open(LPCTSTR pszConnectionString, BOOL bSeekAllowed);
    // Also forgets an open transaction: the database has rolled it back.
    void Close();

    void BeginTrans();
    void CommitTrans();
    // Never raises: a failed rollback is shown to the user.
    void RollbackTrans();

    _RecordsetPtr Execute(LPCTSTR pszSQL, VARIANT* pRecordsAffected, long nOptions);
    // The Errors collection keeps a failure until the next one: every operation of the data layer that reaches
    // the database (opening, statements, transactions, the record sets' reads and writes) empties it first, so
    // that an error shows only what its own operation met, never an earlier failure already reported or handled.
    // Rollback and close leave it as it is: they run while a failure is on its way to its report.
    void ClearErrors();
    // Whether the connection's last error is a duplicate key for this provider.
    bool IsDuplicateKeyError() const;

    ProviderKind GetProviderKind() const { return m_nProviderKind; }
    bool IsOpen() const { return m_bOpen; }
    bool IsSeekAllowed() const { return m_bSeekAllowed; }
    int GetTransactionDepth() const { return m_nTransDepth; }
    // What SQL Server record sets that write set their "Change Inserted Rows" / "Remove Deleted Rows" to.
    bool GetChangeInsertedRows() const { return m_bChangeInsertedRows; }
    bool GetRemoveDeletedRows() const { return m_bRemoveDeletedRows; }

private:
    _ConnectionPtr m_pConnection;
    ProviderKind m_nProviderKind;
    bool m_bOpen;
    int m_nTransDepth;
    bool m_bSeekAllowed;
    bool m_bChangeInsertedRows;
    bool m_bRemoveDeletedRows;
};

// Scoped transaction: begun at construction, committed explicitly, rolled back when left without commit.
class CADOTransaction
{
public:
    explicit CADOTransaction(CADOConnection& connection, BOOL bBeginNow = TRUE);
    ~CADOTransaction();
    CADOTransaction(const CADOTransaction&) = delete;
    CADOTransaction& operator=(const CADOTransaction&) = delete;

    void Begin();
    void Commit();
    void Rollback();

private:
    CADOConnection& m_connection;
    bool m_bActive;
};
