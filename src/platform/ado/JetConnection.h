// The ADO Connection of the stand-in: one SQLite database opened by a Jet connection string.
#pragma once

#include "platform/ado/JetSql.h"
#include "platform/ado/SqliteDatabase.h"

class CJetConnection : public CJetObject<_Connection>
{
public:
    CJetConnection() : m_database(&m_log) {}

    HRESULT Open(_bstr_t connectionString, _bstr_t userId, _bstr_t password, long options) override;
    HRESULT Close() override;
    long BeginTrans() override;
    HRESULT CommitTrans() override;
    HRESULT RollbackTrans() override;
    _RecordsetPtr Execute(_bstr_t commandText, VARIANT* recordsAffected, long options) override;
    _bstr_t GetProvider() override;
    void PutCursorLocation(CursorLocationEnum location) override { m_cursorLocation = location; }
    CursorLocationEnum GetCursorLocation() override { return m_cursorLocation; }
    ErrorsPtr GetErrors() override { return ErrorsPtr(&m_errors); }
    long GetState() override { return m_database.IsOpen() ? adStateOpen : adStateClosed; }

    CSqliteDatabase& Database() { return m_database; }
    CJetErrorLog* Log() { return &m_log; }

private:
    CJetErrorLog m_log;
    CSqliteDatabase m_database;
    CursorLocationEnum m_cursorLocation = adUseServer;
    CJetErrors m_errors{m_log, *this};
};

// The connection a VARIANT carries (VT_DISPATCH of a Connection), or null.
CAdoPtr<CJetConnection> JetConnectionOf(const VARIANT& connection);
