#include "DataTestArchive.h"
#include "FailingDisk.h"

#include "data/SetCapitoli.h"
#include "support/MessageBoxRecorder.h"

#include <sqlite3.h>

namespace {

class ADOConnectionTest : public CDataTestArchive
{
protected:
    void InsertChapter(long nID)
    {
        CString sql;
        sql.Format(L"INSERT INTO CapEntrate (ID, descrizione, codUEB) VALUES (%ld, 'Tributi', '1010101')", nID);
        Execute(sql);
    }
    // Counted through a connection of its own, so that only committed rows are seen.
    long CommittedChapters()
    {
        CADOConnection reader;
        OpenConnection(reader, m_dataPath, TRUE);
        _RecordsetPtr result = reader.Execute(L"SELECT COUNT(*) FROM CapEntrate", nullptr, adCmdText);
        long nCount = static_cast<long>(result->GetFields()->GetItem(_variant_t(0L))->GetValue());
        reader.Close();
        return nCount;
    }
};

TEST_F(ADOConnectionTest, NestedGuardsReachTheDatabaseOnlyAtTheOutermostLevel)
{
    struct Case { bool bInnerCommits; bool bOuterCommits; };
    const Case cases[] = {{true, true}, {false, true}, {true, false}, {false, false}};
    long nID = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "inner commits " << c.bInnerCommits << ", outer " << c.bOuterCommits);
        long nBefore = CommittedChapters();
        {
            CADOTransaction outer(m_data);
            {
                // A second BEGIN would be refused by the database: the inner guard must only count.
                CADOTransaction inner(m_data);
                EXPECT_EQ(2, m_data.GetTransactionDepth());
                InsertChapter(nID++);
                if (c.bInnerCommits)
                    inner.Commit();
            }
            EXPECT_EQ(1, m_data.GetTransactionDepth());
            EXPECT_EQ(nBefore, CommittedChapters());
            if (c.bOuterCommits)
                outer.Commit();
        }
        EXPECT_EQ(0, m_data.GetTransactionDepth());
        EXPECT_EQ(nBefore + (c.bOuterCommits ? 1 : 0), CommittedChapters());
    }
}

TEST_F(ADOConnectionTest, CloseForgetsAnOpenTransaction)
{
    {
        CADOTransaction outer(m_data);
        CADOTransaction inner(m_data);
        InsertChapter(1);
        m_data.Close();
        EXPECT_EQ(0, m_data.GetTransactionDepth());
        EXPECT_FALSE(m_data.IsOpen());
        EXPECT_EQ(CADOConnection::providerUnknown, m_data.GetProviderKind());
        OpenConnection(m_data, m_dataPath, TRUE);
    }   // the guards end nothing: the depth stays at 0
    EXPECT_EQ(0, m_data.GetTransactionDepth());
    CADOTransaction next(m_data);
    InsertChapter(2);
    next.Commit();
    EXPECT_EQ(1, CommittedChapters());
}

TEST_F(ADOConnectionTest, FailedCommitEndsTheTransactionAndLeavesTheDepthAtZero)
{
    // A reader inside its own transaction keeps the archive from being written, so the commit fails.
    CADOConnection reader;
    OpenConnection(reader, m_dataPath, TRUE);
    reader.BeginTrans();
    reader.Execute(L"SELECT COUNT(*) FROM CapEntrate", nullptr, adCmdText);

    {
        CADOTransaction transaction(m_data);
        InsertChapter(1);
        EXPECT_THROW(transaction.Commit(), _com_error);
    }   // the guard is left as the exception would leave it
    EXPECT_EQ(0, m_data.GetTransactionDepth());
    reader.RollbackTrans();
    reader.Close();

    // Later transactions of the run still reach the database.
    CADOTransaction next(m_data);
    InsertChapter(2);
    next.Commit();
    EXPECT_EQ(1, CommittedChapters());
    EXPECT_EQ(2L, ScalarLong(L"SELECT MAX(ID) FROM CapEntrate"));
}

TEST_F(ADOConnectionTest, FailedRollbackIsShownNotRaised)
{
    // A guard rolls back from its destructor, where an exception would end the program.
    CMessageBoxRecorder recorder;
    {
        CADOTransaction transaction(m_data);
        InsertChapter(1);
        m_data.GetConnection()->Close();   // the database is gone behind the data layer's back
    }
    ASSERT_EQ(1u, recorder.Count());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), recorder.LastIcon());
    EXPECT_FALSE(recorder.Last().text.IsEmpty());
    EXPECT_EQ(0, m_data.GetTransactionDepth());
    CString reopen = CADOConnection::FormatConnectionString(m_dataPath, Password);
    m_data.GetConnection()->Open(_bstr_t(static_cast<LPCTSTR>(reopen)), L"", L"", adOptionUnspecified);
}

// A full or failing disk in the middle of a transaction: the database may end the transaction by itself. The
// guards still end it without a second error, nothing of it reaches the archive (not even a statement run after
// the failure), and the connection goes on working once the disk does.
TEST_F(ADOConnectionTest, ADiskErrorInATransactionLeavesTheArchiveAsItWasAndTheConnectionUsable)
{
    CFailingDisk disk;
    OpenDatabases(TRUE);   // on the failing disk
    InsertChapter(1);
    long nCentres = ScalarLong(L"SELECT COUNT(*) FROM Responsabili");
    long nID = 2;
    for (int nError : {SQLITE_FULL, SQLITE_IOERR_WRITE}) {
        SCOPED_TRACE(nError);
        CMessageBoxRecorder recorder;
        try {
            CADOTransaction outer(m_data);
            CADOTransaction inner(m_data);
            InsertChapter(nID++);
            disk.FailWrites(nError);
            // A page the transaction has not touched yet: the database must write before changing it.
            try {
                Execute(L"INSERT INTO Responsabili (responsabile, centroServ) VALUES ('Rossi', 'Ragioneria')");
                ADD_FAILURE() << "written on a failing disk";
            } catch (const _com_error&) {
            }
            disk.FailWrites(0);
            // Whether the database kept the transaction or not, this row goes with it.
            InsertChapter(nID++);
            inner.Commit();
            outer.Commit();
            ADD_FAILURE() << "committed";
        } catch (const _com_error&) {
            // Refused: the transaction was gone.
        }
        EXPECT_EQ(0u, recorder.Count());
        EXPECT_EQ(0, m_data.GetTransactionDepth());
        EXPECT_EQ(1, CommittedChapters());
        EXPECT_EQ(nCentres, ScalarLong(L"SELECT COUNT(*) FROM Responsabili"));
    }
    CADOTransaction next(m_data);
    InsertChapter(nID);
    next.Commit();
    EXPECT_EQ(2, CommittedChapters());
    m_data.Close();
    m_prog.Close();
}

TEST(ADOConnectionProviderTest, ClassifiesTheProviderText)
{
    struct Case { LPCTSTR pszProvider; CADOConnection::ProviderKind nKind; };
    const Case cases[] = {
        {L"Microsoft.Jet.OLEDB.4.0", CADOConnection::providerJet},
        {L"microsoft.jet.oledb.4.0", CADOConnection::providerJet},
        {L"SQLOLEDB.1", CADOConnection::providerSqlServer},
        {L"SQLNCLI.1", CADOConnection::providerSqlServer},
        {L"OraOLEDB.Oracle.1", CADOConnection::providerOracle},
        {L"MSDAORA.1", CADOConnection::providerOracle},
        {L"IBMDADB2.1", CADOConnection::providerDB2},
        {L"MSDASQL.1", CADOConnection::providerUnknown},
        {L"", CADOConnection::providerUnknown},
        {nullptr, CADOConnection::providerUnknown},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nKind, CADOConnection::ClassifyProvider(c.pszProvider)) << (c.pszProvider ? c.pszProvider : L"null");
}

TEST_F(ADOConnectionTest, SeekOnlyWhenAllowed)
{
    EXPECT_EQ(CADOConnection::providerJet, m_data.GetProviderKind());
    EXPECT_TRUE(m_data.IsSeekAllowed());
    OpenDatabases(FALSE);
    EXPECT_EQ(CADOConnection::providerJet, m_data.GetProviderKind());
    EXPECT_FALSE(m_data.IsSeekAllowed());
}

TEST_F(ADOConnectionTest, DuplicateKeyIsRecognised)
{
    CADOConnection fresh;
    OpenConnection(fresh, m_dataPath, TRUE);
    EXPECT_FALSE(fresh.IsDuplicateKeyError());   // no error yet: the Errors collection is empty
    fresh.Close();

    CSetCapitoli chapters(m_data, CSetCapitoli::kindEntrate);
    chapters.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
    chapters.m_rec.m_ID.SetValue(7);
    chapters.m_rec.m_descrizione.SetText(L"Tributi");
    chapters.m_rec.m_codUEB.SetText(L"1010101");
    chapters.AddNew();
    try {
        chapters.AddNew();
        FAIL() << "a second chapter 7 was accepted";
    }
    catch (const _com_error&) {
        ErrorsPtr errors = m_data.GetConnection()->GetErrors();
        ASSERT_GT(errors->GetCount(), 0);
        EXPECT_EQ(-105121349, errors->GetItem(_variant_t(0L))->GetNativeError());
        EXPECT_TRUE(m_data.IsDuplicateKeyError());
    }
    // The next operation starts afresh: a failure of its own that is not the database's is no duplicate.
    _variant_t key(7L);
    EXPECT_TRUE(chapters.FindByKey(1, &key, TRUE));
    EXPECT_FALSE(m_data.IsDuplicateKeyError());

    EXPECT_THROW(Execute(L"DELETE FROM NoSuchTable"), _com_error);
    EXPECT_FALSE(m_data.IsDuplicateKeyError());
}

} // namespace
