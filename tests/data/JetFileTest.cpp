// Genuine Jet files, written by the database product itself, read through the data layer. Every value expected
// here is the one that Debian's mdb-export prints for the same table (its dates month/day/year, its yes/no 1/0).
#include "data/ADOConnection.h"
#include "data/ADORecordset.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <iterator>

namespace {

const LPCTSTR kNoPassword = L"";

std::string ReadBytes(const CString& path)
{
    std::ifstream file(static_cast<LPCWSTR>(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A test file with one byte changed.
std::string Changed(LPCTSTR name, size_t offset, char byte)
{
    std::string bytes = ReadBytes(CString(QUARZEL_JET_FILES) + L"\\" + name);
    bytes.at(offset) = byte;
    return bytes;
}

std::string BytesOfHex(const char* hex)
{
    std::string bytes;
    for (; hex[0] && hex[1]; hex += 2)
        bytes += static_cast<char>(std::stoi(std::string(hex, 2), nullptr, 16));
    return bytes;
}

// The bytes found (once) in the file overwritten where they lie by the put ones; false if they are not found once.
bool ChangeInPlace(std::string& bytes, const char* find, const char* put)
{
    const std::string found = BytesOfHex(find);
    size_t at = bytes.find(found);
    if (at == std::string::npos || bytes.find(found, at + 1) != std::string::npos)
        return false;
    const std::string replacement = BytesOfHex(put);
    bytes.replace(at, replacement.size(), replacement);
    return true;
}

// The value as text in the invariant locale (booleans -1/0, dates month/day/year).
CString InvariantText(const _variant_t& value)
{
    if (value.vt == VT_NULL)
        return L"(null)";
    _variant_t text;
    if (FAILED(::VariantChangeTypeEx(&text, const_cast<_variant_t*>(&value), LOCALE_INVARIANT, 0, VT_BSTR)))
        return L"(no text)";
    return CString(text.bstrVal);
}

class JetFileTest : public ::testing::Test
{
protected:
    // A copy of a test file in the temporary folder, so that no test can touch the shared one.
    CString Copy(LPCTSTR name)
    {
        CString path = m_folder.File(name);
        ::CopyFileW(CString(QUARZEL_JET_FILES) + L"\\" + name, path, FALSE);
        return path;
    }
    void Open(const CString& path, LPCTSTR password)
    {
        ASSERT_HRESULT_SUCCEEDED(m_connection.CreateConnection());
        m_connection.Open(CADOConnection::FormatConnectionString(path, password), TRUE);
    }
    // The HRESULT and text of the failure of opening, or S_OK.
    std::pair<HRESULT, CString> OpenFailure(const CString& path, LPCTSTR password)
    {
        try {
            Open(path, password);
        }
        catch (const _com_error& e) {
            return {e.Error(), CString(static_cast<LPCWSTR>(e.Description()))};
        }
        return {S_OK, CString()};
    }
    // The type and the value of a field of a row (from 0) of a table of the open file.
    std::pair<DataTypeEnum, _variant_t> Field(LPCTSTR table, int row, LPCTSTR field)
    {
        CString sql;
        sql.Format(L"SELECT * FROM [%s]", table);
        _RecordsetPtr rows = m_connection.Execute(sql, nullptr, adCmdText);
        for (int i = 0; i < row; ++i)
            rows->MoveNext();
        FieldPtr item = rows->GetFields()->GetItem(_variant_t(field));
        return {item->GetType(), item->GetValue()};
    }
    void TearDown() override
    {
        if (m_connection.IsOpen())
            m_connection.Close();
    }

    CTempFolder m_folder;
    CADOConnection m_connection;
};

TEST_F(JetFileTest, FieldsReadWithJetsTypesAndValues)
{
    struct Case { LPCTSTR file; LPCTSTR table; int row; LPCTSTR field; DataTypeEnum type; VARTYPE vt; LPCTSTR value; };
    const Case cases[] = {
        {L"jet4-types.mdb", L"Table1", 0, L"A", adVarWChar, VT_BSTR, L"abcdefg"},
        {L"jet4-types.mdb", L"Table1", 0, L"B", adVarWChar, VT_BSTR, L"hijklmnop"},
        {L"jet4-types.mdb", L"Table1", 0, L"C", adUnsignedTinyInt, VT_UI1, L"2"},
        {L"jet4-types.mdb", L"Table1", 0, L"D", adSmallInt, VT_I2, L"222"},
        {L"jet4-types.mdb", L"Table1", 0, L"E", adInteger, VT_I4, L"333333333"},
        {L"jet4-types.mdb", L"Table1", 0, L"F", adDouble, VT_R8, L"444.555"},
        {L"jet4-types.mdb", L"Table1", 0, L"G", adDate, VT_DATE, L"09/21/1974"},
        {L"jet4-types.mdb", L"Table1", 0, L"H", adCurrency, VT_CY, L"3.5"},
        {L"jet4-types.mdb", L"Table1", 0, L"I", adBoolean, VT_BOOL, L"-1"},
        {L"jet4-types.mdb", L"Table1", 1, L"G", adDate, VT_DATE, L"12/12/1981"},
        {L"jet4-types.mdb", L"Table1", 1, L"I", adBoolean, VT_BOOL, L"0"},
        {L"jet4-types.mdb", L"Table1", 1, L"H", adCurrency, VT_CY, L"0"},
        // Jet 3 keeps the same rows in the other order.
        {L"jet3-types.mdb", L"Table1", 1, L"A", adVarWChar, VT_BSTR, L"abcdefg"},
        {L"jet3-types.mdb", L"Table1", 1, L"C", adUnsignedTinyInt, VT_UI1, L"2"},
        {L"jet3-types.mdb", L"Table1", 1, L"D", adSmallInt, VT_I2, L"222"},
        {L"jet3-types.mdb", L"Table1", 1, L"F", adDouble, VT_R8, L"444.555"},
        {L"jet3-types.mdb", L"Table1", 1, L"G", adDate, VT_DATE, L"09/21/1974"},
        {L"jet3-types.mdb", L"Table1", 1, L"H", adCurrency, VT_CY, L"3.5"},
        {L"jet3-types.mdb", L"Table1", 0, L"I", adBoolean, VT_BOOL, L"0"},
        {L"jet4-numeric.mdb", L"test", 0, L"col1", adLongVarWChar, VT_BSTR, L"some data"},
        {L"jet4-numeric.mdb", L"test", 0, L"col2", adNumeric, VT_DECIMAL, L"1"},
        {L"jet4-numeric.mdb", L"test", 0, L"col5", adNumeric, VT_DECIMAL, L"4"},
        {L"jet4-numeric.mdb", L"test", 0, L"col6", adNumeric, VT_DECIMAL, L"-1"},
        {L"jet4-password.mdb", L"Table1", 2, L"Data", adVarWChar, VT_BSTR, L"Three"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<LPCWSTR>(c.file) << " " << static_cast<LPCWSTR>(c.table)
                                        << " row " << c.row << " " << static_cast<LPCWSTR>(c.field));
        Open(Copy(c.file), L"password");
        std::pair<DataTypeEnum, _variant_t> field = Field(c.table, c.row, c.field);
        EXPECT_EQ(c.type, field.first);
        EXPECT_EQ(c.vt, field.second.vt);
        EXPECT_STREQ(c.value, InvariantText(field.second));
        m_connection.Close();
    }
}

TEST_F(JetFileTest, ValuesChangedInPlaceReadAsMdbExportReadsThem)
{
    // A few bytes of a genuine row changed where they lie (the bytes found once in the file): letters beyond ASCII
    // in Jet 4's compressed text, in its plain UCS-2 (a letter outside the Western code page) and in Jet 3's code
    // page; a negative amount; a null (the column's bit of the row's null mask cleared); a numeric of 27 digits.
    struct Case { LPCTSTR file; const char* find; const char* put; LPCTSTR table; int row; LPCTSTR field;
                  LPCTSTR value; };
    const Case cases[] = {
        {L"jet4-types.mdb", "fffe61626364656667", "fffee0", L"Table1", 0, L"A", L"\u00e0bcdefg"},
        {L"jet4-types.mdb", "680069006a006b006c006d006e006f007000", "4201", L"Table1", 0, L"B", L"\u0142ijklmnop"},
        {L"jet3-types.mdb", "61626364656667", "e0", L"Table1", 1, L"A", L"\u00e0bcdefg"},
        {L"jet4-types.mdb", "b888000000000000", "4877ffffffffffff", L"Table1", 0, L"H", L"-3.5"},
        {L"jet4-types.mdb", "0200ff01", "0200ef01", L"Table1", 0, L"E", L"(null)"},
        // The name of column G, among the length-prefixed names of the table's definition.
        {L"jet4-types.mdb", "02004600020047000200", "020046000200c800", L"Table1", 0, L"\u00c8", L"09/21/1974"},
        {L"jet4-numeric.mdb",
         "00000000000000000000000000010000000000000000000000000000000000000000"
         "00000000000000000000000000000000000000000000000000000000000004000000",
         "0000000000fd1e6600a8f258f1874b9f2c", L"test", 0, L"col2", L"123456789012345678901234567"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<LPCWSTR>(c.value));
        std::string bytes = ReadBytes(Copy(c.file));
        ASSERT_TRUE(ChangeInPlace(bytes, c.find, c.put));
        Open(m_folder.Write(L"changed.mdb", bytes), kNoPassword);
        EXPECT_STREQ(c.value, InvariantText(Field(c.table, c.row, c.field).second));
        m_connection.Close();
    }
}

TEST_F(JetFileTest, ValuesOfJetsOtherKindsReadAsJetsProviderGivesThem)
{
    // jet4-types.mdb's Table1 changed where its bytes lie: column F's record (type 7, Double, 8 bytes at 7 in the
    // row) made a replication id of 16 bytes (type 15, its own bytes and G's) or a Single (type 6, 4 bytes, the
    // first row's holding 444.5); the second row's offset of B (the end of A) made A's start, so that A is a text of
    // no characters and B has A's. mdb-export reads the empty text as a null and writes the replication id without
    // its fourth dash.
    struct Change { const char* find; const char* put; };
    struct Case { LPCTSTR what; std::vector<Change> changes; int row; LPCTSTR field; DataTypeEnum type; VARTYPE vt;
                  LPCTSTR value; };
    const char* const kColumnF = "07590600000500020006000904000003000000000007000800";
    const Case cases[] = {
        {L"replication id", {{kColumnF, "0f590600000500020006000904000003000000000007001000"}}, 0, L"F", adGUID,
         VT_BSTR, L"{47AE147B-C8E1-407B-0000-000040A7DA40}"},
        {L"replication id of zeros and a date", {{kColumnF, "0f590600000500020006000904000003000000000007001000"}},
         1, L"F", adGUID, VT_BSTR, L"{00000000-0000-0000-0000-0000003BDD40}"},
        {L"single",
         {{kColumnF, "06590600000500020006000904000003000000000007000400"}, {"7b14ae47e1c87b40", "0040de43"}}, 0,
         L"F", adSingle, VT_R4, L"444.5"},
        {L"empty text", {{"2500230021000200ff00", "25002100"}}, 1, L"A", adVarWChar, VT_BSTR, L""},
        {L"text after an empty one", {{"2500230021000200ff00", "25002100"}}, 1, L"B", adVarWChar, VT_BSTR, L"ab"},
    };
    const std::string whole = ReadBytes(Copy(L"jet4-types.mdb"));
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<LPCWSTR>(c.what));
        std::string bytes = whole;
        for (const Change& change : c.changes)
            ASSERT_TRUE(ChangeInPlace(bytes, change.find, change.put));
        Open(m_folder.Write(L"changed.mdb", bytes), kNoPassword);
        std::pair<DataTypeEnum, _variant_t> field = Field(L"Table1", c.row, c.field);
        EXPECT_EQ(c.type, field.first);
        EXPECT_EQ(c.vt, field.second.vt);
        EXPECT_STREQ(c.value, InvariantText(field.second));
        m_connection.Close();
    }
}

// A record set on one table of the file, as the import opens one to look a row up.
class CFileTableSet : public CADORecordset
{
public:
    CFileTableSet(CADOConnection& connection, LPCTSTR table) : CADORecordset(connection), m_table(table) {}
    CString GetTableName() const override { return m_table; }

private:
    CString m_table;
};

TEST_F(JetFileTest, RowsAreSoughtByTheFilesOwnIndexes)
{
    // The table opened directly and sought through one of its indexes, as the import seeks; the rows found are the
    // ones mdb-export prints (jet4-password.mdb: 1 "One", 2 "Two", 3 "Three"; jet4-types.mdb's Table1 keyed on A,
    // with an index on B: "abcdefg" "hijklmnop" 333333333, "a" "b" 0). Jet's texts compare without letter case.
    struct Case { LPCTSTR file; LPCTSTR index; _variant_t key; LPCTSTR field; LPCTSTR value; };
    const Case cases[] = {
        {L"jet4-password.mdb", L"PrimaryKey", _variant_t(2L), L"Data", L"Two"},
        {L"jet4-password.mdb", L"PrimaryKey", _variant_t(3L), L"Data", L"Three"},
        {L"jet4-password.mdb", L"PrimaryKey", _variant_t(4L), L"Data", nullptr},
        {L"jet4-password.mdb", L"PrimaryKey", _variant_t(0L), L"Data", nullptr},
        {L"jet4-types.mdb", L"PrimaryKey", _variant_t(L"abcdefg"), L"E", L"333333333"},
        {L"jet4-types.mdb", L"PrimaryKey", _variant_t(L"A"), L"B", L"b"},
        {L"jet4-types.mdb", L"PrimaryKey", _variant_t(L"abcdef"), L"B", nullptr},
        {L"jet4-types.mdb", L"B", _variant_t(L"hijklmnop"), L"A", L"abcdefg"},
        {L"jet4-types.mdb", L"B", _variant_t(L"a"), L"A", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<LPCWSTR>(c.file) << " " << static_cast<LPCWSTR>(c.index)
                                        << " " << static_cast<LPCWSTR>(InvariantText(c.key)));
        Open(Copy(c.file), L"password");
        {
            CFileTableSet set(m_connection, L"Table1");
            set.Open(nullptr, adOpenStatic, adLockReadOnly, adCmdTableDirect);
            bool found = set.FindByKey(1, &c.key, TRUE, c.index);
            EXPECT_EQ(c.value != nullptr, found);
            if (found && c.value) {
                EXPECT_STREQ(c.value, InvariantText(set.GetFields()->GetItem(_variant_t(c.field))->GetValue()));
            }
        }
        m_connection.Close();
    }
}

TEST_F(JetFileTest, PasswordIsCheckedAsJetChecksIt)
{
    struct Case { LPCTSTR file; LPCTSTR password; bool opens; };
    const Case cases[] = {
        {L"jet4-password.mdb", L"password", true},
        {L"jet4-password.mdb", L"Password", false},
        {L"jet4-password.mdb", L"passwor", false},
        {L"jet4-password.mdb", L"wrong", false},
        {L"jet4-password.mdb", kNoPassword, false},
        // Jet opens a database without a password whatever password the connection gives.
        {L"jet4-types.mdb", kNoPassword, true},
        {L"jet4-types.mdb", L"password", true},
        {L"jet3-types.mdb", L"anything", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<LPCWSTR>(c.file) << " with '"
                                        << static_cast<LPCWSTR>(c.password) << "'");
        std::pair<HRESULT, CString> failure = OpenFailure(Copy(c.file), c.password);
        if (c.opens) {
            EXPECT_EQ(S_OK, failure.first) << static_cast<LPCWSTR>(failure.second);
            EXPECT_TRUE(m_connection.IsOpen());
        } else {
            EXPECT_EQ(static_cast<HRESULT>(0x80040E4D), failure.first);
            EXPECT_STREQ(L"Not a valid password.", failure.second);
            EXPECT_FALSE(m_connection.IsOpen());
        }
        TearDown();
    }
}

TEST_F(JetFileTest, WritesAreRefusedAndLeaveTheFileAsItWas)
{
    CString path = Copy(L"jet4-types.mdb");
    const std::string before = ReadBytes(path);
    ASSERT_FALSE(before.empty());
    Open(path, kNoPassword);
    // Compaction copies a database with VACUUM INTO (outside any transaction) and puts the copy in the file's
    // place: a Jet file must not become a copy in another format.
    struct Statement { CString sql; bool transaction; };
    const Statement statements[] = {
        {L"INSERT INTO Table1 (A, I) VALUES ('x', 0)", true},
        {L"UPDATE Table1 SET E = E + 1", true},
        {L"DELETE FROM Table1", false},
        {L"CREATE TABLE Nuova (ID INTEGER)", true},
        {L"ALTER TABLE Table1 ADD COLUMN Z INTEGER", false},
        {L"DROP TABLE Table3", true},
        {L"VACUUM INTO '" + m_folder.File(L"copia.mdb") + L"'", false},
    };
    auto expectReadOnly = [](const _com_error& e) {
        EXPECT_EQ(E_FAIL, e.Error());
        EXPECT_STREQ(L"Cannot update. Database or object is read-only.", static_cast<LPCWSTR>(e.Description()));
    };
    for (const Statement& statement : statements) {
        SCOPED_TRACE(static_cast<LPCWSTR>(statement.sql));
        if (statement.transaction)
            m_connection.BeginTrans();
        try {
            m_connection.Execute(statement.sql, nullptr, adCmdText | adExecuteNoRecords);
            ADD_FAILURE() << "the statement ran";
        }
        catch (const _com_error& e) {
            expectReadOnly(e);
        }
        if (statement.transaction)
            m_connection.RollbackTrans();
    }

    // The record set's own writes: a new row, a changed field, a deleted row.
    const std::function<void(_RecordsetPtr&)> edits[] = {
        [](_RecordsetPtr& rows) {
            rows->AddNew();
            rows->PutCollect(_variant_t(L"A"), _variant_t(L"x"));
            rows->Update();
        },
        [](_RecordsetPtr& rows) {
            rows->PutCollect(_variant_t(L"E"), _variant_t(1L));
            rows->Update();
        },
        [](_RecordsetPtr& rows) { rows->Delete(adAffectCurrent); },
    };
    for (const auto& edit : edits) {
        _RecordsetPtr rows;
        rows.CreateInstance(__uuidof(Recordset));
        rows->Open(_variant_t(L"Table1"), _variant_t(static_cast<IDispatch*>(m_connection.GetConnection()), true),
                   adOpenStatic, adLockOptimistic, adCmdTableDirect);
        try {
            edit(rows);
            ADD_FAILURE() << "the record set wrote";
        }
        catch (const _com_error& e) {
            expectReadOnly(e);
        }
        rows->Close();
    }
    _RecordsetPtr count = m_connection.Execute(L"SELECT COUNT(*) FROM Table1", nullptr, adCmdText);
    EXPECT_EQ(2L, static_cast<long>(count->GetFields()->GetItem(_variant_t(0L))->GetValue()));
    count = nullptr;
    m_connection.Close();
    EXPECT_TRUE(before == ReadBytes(path));
}

TEST_F(JetFileTest, DamagedFilesAreRefusedWithJetsText)
{
    const std::string whole = ReadBytes(CString(QUARZEL_JET_FILES) + L"\\jet3-types.mdb");
    ASSERT_EQ(0u, whole.size() % 2048);
    const size_t pages = whole.size() / 2048;
    struct Case { CString name; std::string bytes; LPCTSTR password = kNoPassword; };
    std::vector<Case> cases = {
        {L"header-only.mdb", whole.substr(0, 32)},
        {L"first-page.mdb", whole.substr(0, 2048)},
        {L"cut-in-a-page.mdb", whole.substr(0, whole.size() - 100)},
        {L"half.mdb", whole.substr(0, (pages / 2) * 2048)},
        // A row of the list of objects whose table of field offsets puts a name's end before its start.
        {L"field-ends-before-it-starts.mdb", Changed(L"jet4-password.mdb", 72293, '\xff'), L"password"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<LPCWSTR>(c.name));
        CString path = m_folder.Write(c.name, c.bytes);
        std::pair<HRESULT, CString> failure = OpenFailure(path, c.password);
        EXPECT_EQ(E_FAIL, failure.first);
        EXPECT_STREQ(L"Unrecognized database format '" + path + L"'.", failure.second);
        TearDown();
    }
}

TEST_F(JetFileTest, DamagedTableDefinitionsAreRefusedWithJetsText)
{
    // Table1's definition: page 24 of jet4-types.mdb, page 29 of jet3-types.mdb. libmdb reads a definition as far
    // as its counts say, going on at each page's link (bytes 4-7) to the next; the counts of columns and indexes,
    // and of the real indexes whose entries lie in the first page, are at offsets of each format's own.
    struct Format { LPCTSTR file; size_t pageSize; size_t table1; size_t columns; size_t indexes; size_t realIndexes; };
    const Format jet4 = {L"jet4-types.mdb", 4096, 24, 45, 47, 51};
    const Format jet3 = {L"jet3-types.mdb", 2048, 29, 25, 27, 31};
    const uint32_t kMany = 16000000;
    struct Put { size_t at; uint32_t value; size_t size; };
    struct Case { LPCTSTR what; const Format& format; std::function<std::vector<Put>(const std::string&)> puts; };
    auto definition = [](const Format& f, size_t field, uint32_t value, size_t size = 4) {
        return Put{f.table1 * f.pageSize + field, value, size};
    };
    auto link = [](const Format& f, size_t from, uint32_t to) { return Put{from * f.pageSize + 4, to, 4}; };
    const Case cases[] = {
        {L"continued on itself, with many indexes", jet4,
         [&](const std::string&) { return std::vector<Put>{link(jet4, 24, 24), definition(jet4, jet4.indexes, kMany)}; }},
        {L"continued on itself, with many columns", jet4,
         [&](const std::string&) { return std::vector<Put>{link(jet4, 24, 24), definition(jet4, jet4.columns, 60000, 2)}; }},
        {L"Jet 3, continued on itself, with many indexes", jet3,
         [&](const std::string&) { return std::vector<Put>{link(jet3, 29, 29), definition(jet3, jet3.indexes, kMany)}; }},
        // Table4's definition (page 32) continued on Table1's.
        {L"continued on a definition that continues on it", jet4,
         [&](const std::string&) {
             return std::vector<Put>{link(jet4, 24, 32), link(jet4, 32, 24), definition(jet4, jet4.indexes, kMany)};
         }},
        // A data page's link names the table that owns it.
        {L"continued on one of its data pages", jet4,
         [&](const std::string&) { return std::vector<Put>{link(jet4, 24, 27), definition(jet4, jet4.indexes, kMany)}; }},
        // Page 2^20 + 24, which at 4096 bytes a page wraps past 4 GB to Table1's own.
        {L"continued past the end of the file", jet4,
         [&](const std::string&) {
             return std::vector<Put>{link(jet4, 24, 0x100018), definition(jet4, jet4.indexes, kMany)};
         }},
        {L"counting more indexes than its page holds", jet4,
         [&](const std::string&) { return std::vector<Put>{definition(jet4, jet4.indexes, 200)}; }},
        // Pages 600-630 made one definition's pages: room for the indexes, but not for their entries in the first.
        {L"counting more real indexes than its first page holds", jet4,
         [&](const std::string&) {
             std::vector<Put> puts = {link(jet4, 24, 600), definition(jet4, jet4.indexes, 1100),
                                      definition(jet4, jet4.realIndexes, 1100)};
             for (uint32_t page = 600; page <= 630; ++page) {
                 puts.push_back({page * jet4.pageSize, 0x02, 1});
                 puts.push_back(link(jet4, page, page < 630 ? page + 1 : 0));
             }
             return puts;
         }},
        // Table1's row in the list of objects (Id 24, ParentId 0x0F000001) naming page 2^20 + 24.
        {L"named at a page past the end of the file", jet4,
         [&](const std::string& bytes) {
             size_t at = bytes.find(std::string("\x18\0\0\0\x01\0\0\x0f", 8));
             return std::vector<Put>{{at, 0x100018, 4}};
         }},
        // Column E's record (Long Integer) giving it one byte.
        {L"with a column smaller than its type", jet4,
         [&](const std::string&) { return std::vector<Put>{{98514, 1, 2}}; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<LPCWSTR>(c.what));
        std::string bytes = ReadBytes(CString(QUARZEL_JET_FILES) + L"\\" + c.format.file);
        for (const Put& put : c.puts(bytes))
            for (size_t i = 0; i < put.size; ++i)
                bytes.at(put.at + i) = static_cast<char>(put.value >> (8 * i));
        CString path = m_folder.Write(L"definition.mdb", bytes);
        std::pair<HRESULT, CString> failure = OpenFailure(path, kNoPassword);
        EXPECT_EQ(E_FAIL, failure.first);
        EXPECT_STREQ(L"Unrecognized database format '" + path + L"'.", failure.second);
        TearDown();
    }
}

TEST_F(JetFileTest, ADamagedPageAnywhereIsRefusedOrLeavesTheRowsAsTheyAre)
{
    // Each page in turn zeroed, filled with garbage, or the file cut short where it starts (the pages beyond it
    // lost, as a copy broken off loses them): libmdb's own reader of the list of objects reads such a list for ever,
    // a table must not vanish without a word, and the rows that are read must be the file's.
    enum EDamage { damageZeros, damageGarbage, damageCut };
    static const char* const s_damages[] = {" of zeros", " of garbage", " and the rest cut off"};
    struct Sample { LPCTSTR file; size_t pageSize; LPCTSTR sql; LPCTSTR value; };
    const Sample samples[] = {
        {L"jet3-types.mdb", 2048, L"SELECT B FROM Table1 WHERE C = 2", L"hijklmnop"},
        {L"jet4-numeric.mdb", 4096, L"SELECT col1 FROM test WHERE col6 = -1", L"some data"},
    };
    for (const Sample& sample : samples) {
        const std::string whole = ReadBytes(Copy(sample.file));
        unsigned seed = 12345;
        for (size_t page = 1; page < whole.size() / sample.pageSize; ++page) {
            for (EDamage damage : {damageZeros, damageGarbage, damageCut}) {
                SCOPED_TRACE(testing::Message() << static_cast<LPCWSTR>(sample.file) << " page " << page
                                                << s_damages[damage]);
                std::string bytes = damage == damageCut ? whole.substr(0, page * sample.pageSize) : whole;
                for (size_t i = page * sample.pageSize; i < bytes.size() && i < (page + 1) * sample.pageSize; ++i) {
                    seed = seed * 1103515245u + 12345u;
                    bytes[i] = damage == damageGarbage ? static_cast<char>(seed >> 16) : '\0';
                }
                CString path = m_folder.Write(L"damaged.mdb", bytes);
                std::pair<HRESULT, CString> failure = OpenFailure(path, kNoPassword);
                if (failure.first == S_OK) {
                    try {
                        _RecordsetPtr rows = m_connection.Execute(sample.sql, nullptr, adCmdText);
                        ASSERT_FALSE(rows->GetEOF());
                        EXPECT_STREQ(sample.value, InvariantText(rows->GetCollect(_variant_t(0L))));
                    }
                    catch (const _com_error& e) {
                        ADD_FAILURE() << static_cast<LPCWSTR>(e.Description());
                    }
                } else {
                    EXPECT_EQ(E_FAIL, failure.first);
                    EXPECT_STREQ(L"Unrecognized database format '" + path + L"'.", failure.second);
                }
                TearDown();
            }
        }
    }
}

}  // namespace
