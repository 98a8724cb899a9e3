// ADO with the Jet OLE DB provider, as the data layer uses it, over SQLite.
//
// The objects and members keep the names of ADO client code of the "#import msado15 no_namespace" kind:
//
//     _ConnectionPtr connection;
//     HRESULT hr = connection.CreateInstance(__uuidof(Connection));   // fails only for an unknown class id
//     connection->Open(L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Dati\\Prog03.mdb;"
//                      L"Persist Security Info=False;Jet OLEDB:Database Password=secret", L"", L"", -1);
//     _RecordsetPtr rs;
//     rs.CreateInstance(__uuidof(Recordset));
//     rs->Open(L"Config", _variant_t((IDispatch*)connection, true), adOpenStatic, adLockOptimistic,
//              adCmdTableDirect);
//     rs->PutIndex(L"PK_CONFIG");
//     rs->Seek(_variant_t(L"anno"), adSeekFirstEQ);
//     if (!rs->GetEOF())
//         value = rs->GetFields()->GetItem(L"value")->GetValue();
//
// What differs from ADO, on purpose:
// - The objects are plain C++ objects with COM reference counting (they derive from IDispatch so that they travel
//   in VARIANTs as ADO objects do); nothing is registered, CreateInstance knows Connection, Recordset, Command.
// - Every member raises _com_error on failure (with an IErrorInfo carrying the description) and otherwise
//   returns S_OK or its value; this holds for IADORecordBinding too (adobinding.h). After any failure the
//   connection's Errors collection holds one entry for it: its description, its number (the HRESULT) and its
//   native error: -105121349 for a duplicate key (as Jet), otherwise SQLite's extended result code, 0 for
//   failures of this layer itself (no current row, closed object, unknown field ...).
// - The database files are SQLite databases whatever their name. The connection string's keys are read without
//   regard to case ("Data Source", "Jet OLEDB:Database Password"; values may be quoted); the password is checked
//   against the one the database was created with (JetCreateDatabase), a wrong one is refused.
// - Jet SQL is translated where SQLite differs: [names], COUNTER, CURRENCY, VARCHAR(n), CREATE UNIQUE INDEX ...
//   WITH PRIMARY, ALTER TABLE ... ADD CONSTRAINT ... FOREIGN KEY (enforced, cascades included; as in Jet, the
//   child columns get an index named as the constraint), and Jet's operators: "\" integer division (below "*"
//   and "/" in precedence), "/" real division, both refusing a zero divisor with "Division by zero" and a text
//   that is no number with "Data type mismatch in criteria expression.". Text columns compare and sort as Jet
//   does: without regard to case, accented letters in the Italian order; a text longer than its column is
//   refused (0x80040E57), by a statement or a Recordset. "?" marks a Command parameter. Nesting deeper than 64
//   (brackets, signs, calls, subqueries) is refused with "Query is too complex.".
// - Currency columns (declared CURRENCY) hold the 64-bit count of 1/10000 and read back as VT_CY. In SQL text
//   every number meeting a currency column is an amount, as in Jet: literals (12.5 is 125000 counts, rounded
//   half to even past four decimals), comparisons, values stored into the column, and the results of SUM, MIN,
//   MAX, AVG, "+", "-" and "*" over currency, which read back as VT_CY; "/" gives a double. A double put into a
//   currency column is rounded to the nearest 1/10000 of its exact value, ties to even; a value out of range is
//   refused with "Overflow".
// - Recordsets are static: a record set sees the rows it added, changed or deleted itself. Table-direct record
//   sets (adCmdTableDirect) seek through the index named by PutIndex on the live table, so a seek finds rows
//   added since the open, by this record set or another one; moving goes through the rows in the order they
//   were added. Record sets of a single-table "SELECT * | columns FROM table ..." are updatable; others (joins,
//   GROUP BY, expressions) are read-only. Moving away from a row with pending PutValue changes writes them.
// - BeginTrans does not nest. When a full disk or an I/O error makes the database end a transaction by itself,
//   the connection's transaction stays open but refuses every statement (0x8004D019) until RollbackTrans ends
//   it without error; CommitTrans then raises. Nothing runs outside the transaction the caller believes open.
// - Field positions in Fields->GetItem(long) count from 0, as in ADO; binding ordinals count from 1.
// - Only what the program uses is there; see the members below.
#pragma once

#include "platform/com/comsupport.h"

// Our own class ids of the three creatable objects (not registered anywhere).
struct Connection;
struct Recordset;
struct Command;
__CRT_UUID_DECL(Connection, 0x70ba590a, 0xca98, 0x4fe5, 0xb2, 0x79, 0x10, 0xc1, 0x16, 0x93, 0xd7, 0x45)
__CRT_UUID_DECL(Recordset, 0x39dd8aa1, 0x5ce8, 0x419e, 0x9b, 0xcc, 0x57, 0xfa, 0x89, 0xb9, 0x78, 0x4f)
__CRT_UUID_DECL(Command, 0x74327bca, 0x344a, 0x42d6, 0xbc, 0xf7, 0xc2, 0xca, 0x3f, 0x06, 0x64, 0xf1)

enum CursorTypeEnum { adOpenUnspecified = -1, adOpenForwardOnly = 0, adOpenKeyset = 1, adOpenDynamic = 2,
                      adOpenStatic = 3 };
enum LockTypeEnum { adLockUnspecified = -1, adLockReadOnly = 1, adLockPessimistic = 2, adLockOptimistic = 3,
                    adLockBatchOptimistic = 4 };
enum CommandTypeEnum { adCmdUnspecified = -1, adCmdText = 1, adCmdTable = 2, adCmdUnknown = 8,
                       adCmdTableDirect = 512 };
enum ExecuteOptionEnum { adOptionUnspecified = -1, adExecuteNoRecords = 128 };
enum CursorLocationEnum { adUseNone = 1, adUseServer = 2, adUseClient = 3 };
enum ObjectStateEnum { adStateClosed = 0, adStateOpen = 1 };
enum AffectEnum { adAffectCurrent = 1 };
enum SeekEnum { adSeekFirstEQ = 1 };
enum ParameterDirectionEnum { adParamUnknown = 0, adParamInput = 1 };
enum DataTypeEnum { adEmpty = 0, adSmallInt = 2, adInteger = 3, adSingle = 4, adDouble = 5, adCurrency = 6, adDate = 7,
                    adBoolean = 11, adUnsignedTinyInt = 17, adBigInt = 20, adGUID = 72, adNumeric = 131,
                    adVarChar = 200, adVarWChar = 202, adLongVarWChar = 203 };

// COM-style smart pointer of this layer's objects: AddRef/Release like _com_ptr_t, and -> on a null pointer
// raises E_POINTER.
template <class T> class CAdoPtr
{
public:
    CAdoPtr() = default;
    CAdoPtr(std::nullptr_t) {}
    CAdoPtr(T* p) : m_p(p) { if (m_p) m_p->AddRef(); }
    CAdoPtr(const CAdoPtr& other) : CAdoPtr(other.m_p) {}
    CAdoPtr(CAdoPtr&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    ~CAdoPtr() { Release(); }
    CAdoPtr& operator=(const CAdoPtr& other) { CAdoPtr copy(other); Swap(copy); return *this; }
    CAdoPtr& operator=(CAdoPtr&& other) noexcept { CAdoPtr moved(static_cast<CAdoPtr&&>(other)); Swap(moved); return *this; }
    CAdoPtr& operator=(T* p) { CAdoPtr copy(p); Swap(copy); return *this; }

    // Creates a new object of the class (Connection, Recordset or Command); answers the HRESULT.
    HRESULT CreateInstance(REFCLSID clsid);
    void Release() { if (m_p) { T* p = m_p; m_p = nullptr; p->Release(); } }
    void Attach(T* p) { Release(); m_p = p; }
    T* Detach() { T* p = m_p; m_p = nullptr; return p; }
    T* GetInterfacePtr() const { return m_p; }

    T* operator->() const { if (!m_p) _com_issue_error(E_POINTER); return m_p; }
    operator T*() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    bool operator!() const { return m_p == nullptr; }

private:
    void Swap(CAdoPtr& other) { T* p = m_p; m_p = other.m_p; other.m_p = p; }
    T* m_p = nullptr;
};

// The class factory behind CAdoPtr::CreateInstance.
HRESULT AdoCreateInstance(REFCLSID clsid, REFIID riid, void** ppv);

template <class T> HRESULT CAdoPtr<T>::CreateInstance(REFCLSID clsid)
{
    Release();
    return AdoCreateInstance(clsid, __uuidof(T), reinterpret_cast<void**>(&m_p));
}

struct _Connection;
struct _Recordset;
struct _Command;
struct _Parameter;
struct Parameters;
struct Field;
struct Fields;
struct Error;
struct Errors;
struct Property;
struct Properties;
typedef CAdoPtr<_Connection> _ConnectionPtr;
typedef CAdoPtr<_Recordset> _RecordsetPtr;
typedef CAdoPtr<_Command> _CommandPtr;
typedef CAdoPtr<_Parameter> _ParameterPtr;
typedef CAdoPtr<Parameters> ParametersPtr;
typedef CAdoPtr<Field> FieldPtr;
typedef CAdoPtr<Fields> FieldsPtr;
typedef CAdoPtr<Error> ErrorPtr;
typedef CAdoPtr<Errors> ErrorsPtr;
typedef CAdoPtr<Property> PropertyPtr;
typedef CAdoPtr<Properties> PropertiesPtr;

// One failure: Description, Number (the HRESULT) and NativeError (see the top of this file).
struct Error : IDispatch
{
    virtual _bstr_t GetDescription() = 0;
    virtual long GetNumber() = 0;
    virtual long GetNativeError() = 0;
};

// The entries of the connection's last failure; Item by position from 0. The collection is the connection's own
// (it shows what the connection holds now); Clear empties it, a later failure fills it again.
struct Errors : IDispatch
{
    virtual long GetCount() = 0;
    virtual ErrorPtr GetItem(const _variant_t& index) = 0;
    virtual HRESULT Clear() = 0;
};

struct _Connection : IDispatch
{
    // Jet connection string; user id, password and options are accepted and ignored (-1 = unspecified).
    // A missing file, a file that is no database or a wrong database password raise.
    virtual HRESULT Open(_bstr_t connectionString, _bstr_t userId, _bstr_t password, long options) = 0;
    // Closes the database; an open transaction is rolled back. Record sets opened on it keep the rows they
    // have read but reach the database no more.
    virtual HRESULT Close() = 0;
    // BEGIN / COMMIT / ROLLBACK: transactions do not nest (BeginTrans inside a transaction raises).
    virtual long BeginTrans() = 0;
    virtual HRESULT CommitTrans() = 0;
    virtual HRESULT RollbackTrans() = 0;
    // Runs one statement. options: adCmdText (1), optionally with adExecuteNoRecords (128, answers null).
    // recordsAffected (may be null) receives the count of changed rows as VT_I4 (-1 for a SELECT).
    // A SELECT answers an open read-only record set; other statements a closed one.
    virtual _RecordsetPtr Execute(_bstr_t commandText, VARIANT* recordsAffected, long options) = 0;
    // "Microsoft.Jet.OLEDB.4.0"
    virtual _bstr_t GetProvider() = 0;
    // Kept only (adUseServer at first): every record set is static in memory anyway.
    virtual void PutCursorLocation(CursorLocationEnum location) = 0;
    virtual CursorLocationEnum GetCursorLocation() = 0;
    virtual ErrorsPtr GetErrors() = 0;
    // adStateOpen or adStateClosed
    virtual long GetState() = 0;
};

// A value of the current row. GetType: adInteger (INTEGER, LONG, COUNTER, and whole-number expressions that fit),
// adBigInt (larger whole numbers), adCurrency (CURRENCY, VT_CY), adDouble (DOUBLE, FLOAT, REAL), adVarWChar (texts,
// BSTR), adEmpty (an expression whose every value is null); the columns of a genuine Jet file also adSmallInt
// (VT_I2), adUnsignedTinyInt (VT_UI1), adBoolean (VT_BOOL), adDate (VT_DATE), adNumeric (VT_DECIMAL),
// adSingle (VT_R4), adLongVarWChar (memo) and adGUID (replication ids, as a "{...}" BSTR). GetDefinedSize: characters of VARCHAR(n), else the size of the value in bytes (4, 8).
// PutValue converts to the column's type (a text "12" into an INTEGER column is 12, a double into a CURRENCY
// column is rounded to 1/10000); an empty VARIANT or VT_NULL is null.
struct Field : IDispatch
{
    virtual _variant_t GetValue() = 0;
    virtual void PutValue(const _variant_t& value) = 0;
    virtual _bstr_t GetName() = 0;
    virtual DataTypeEnum GetType() = 0;
    virtual long GetDefinedSize() = 0;
};

// The columns of a record set: Item by name (without regard to case, VT_BSTR) or by position from 0 (any
// integer VARIANT); an unknown item raises (ADO's "Item cannot be found").
struct Fields : IDispatch
{
    virtual long GetCount() = 0;
    virtual FieldPtr GetItem(const _variant_t& index) = 0;
};

// A dynamic property of a record set.
struct Property : IDispatch
{
    virtual _bstr_t GetName() = 0;
    virtual _variant_t GetValue() = 0;
    virtual void PutValue(const _variant_t& value) = 0;
};

// A record set's dynamic properties by name (without regard to case): "Change Inserted Rows" and "Remove Deleted
// Rows" (VT_BOOL, false at first) are accepted and kept; a static record set sees its own inserts and deletes
// whatever they hold.
struct Properties : IDispatch
{
    virtual long GetCount() = 0;
    virtual PropertyPtr GetItem(const _variant_t& index) = 0;
};

struct _Recordset : IDispatch
{
    // source: a table name with adCmdTableDirect (512), an SQL text with adCmdText (1), or a Command
    // (VT_DISPATCH, activeConnection then vtMissing). activeConnection: the connection as VT_DISPATCH, for
    // example _variant_t((IDispatch*)connection, true). The cursor type is kept (every record set is static);
    // adLockReadOnly refuses changes; adLockUnspecified means read-only.
    virtual HRESULT Open(const _variant_t& source, const _variant_t& activeConnection, CursorTypeEnum cursorType,
                         LockTypeEnum lockType, long options) = 0;
    // Pending changes of the current row are dropped. The record set may be opened again.
    virtual HRESULT Close() = 0;
    virtual VARIANT_BOOL GetEOF() = 0;
    virtual VARIANT_BOOL GetBOF() = 0;
    virtual HRESULT MoveFirst() = 0;
    virtual HRESULT MoveNext() = 0;
    virtual FieldsPtr GetFields() = 0;
    // Shortcuts for GetFields()->GetItem(index)->GetValue() / PutValue(value).
    virtual _variant_t GetCollect(const _variant_t& index) = 0;
    virtual void PutCollect(const _variant_t& index, const _variant_t& value) = 0;
    // Starts a new row (every field null) that becomes current; PutValue fills it, Update inserts it. Columns
    // not put take the table's defaults (a COUNTER the next number), readable once Update has run.
    virtual HRESULT AddNew() = 0;
    // Writes the pending changes of the current row (or inserts the new row); without changes does nothing.
    virtual HRESULT Update() = 0;
    // Deletes the current row (adAffectCurrent); it stays current, unreadable, until the next move.
    virtual HRESULT Delete(AffectEnum affectRecords) = 0;
    // Runs the source again (a Command with its current parameter values) and goes to the first row.
    virtual HRESULT Requery(long options) = 0;
    // The index Seek uses (table-direct record sets only): the name of an index of the table, e.g. "PK_CONFIG".
    virtual _bstr_t GetIndex() = 0;
    virtual void PutIndex(_bstr_t indexName) = 0;
    // adSeekFirstEQ: the row whose first index columns equal keyValues, a single value or a one-dimensional
    // SAFEARRAY of VARIANTs (lower bound 1) in index order; values convert to the columns' types. Not found:
    // EOF, no error.
    virtual HRESULT Seek(const _variant_t& keyValues, SeekEnum seekOption) = 0;
    virtual long GetState() = 0;
    // The table name or the SQL text as given (a Command's text for a Command), as VT_BSTR.
    virtual _variant_t GetSource() = 0;
    // The lock type may be changed while the record set is closed.
    virtual LockTypeEnum GetLockType() = 0;
    virtual void PutLockType(LockTypeEnum lockType) = 0;
    // Rows of the record set, its own deletions excluded.
    virtual long GetRecordCount() = 0;
    virtual PropertiesPtr GetProperties() = 0;
};

// A Command parameter: input only, adInteger, adCurrency, adDouble or adVarWChar/adVarChar; the value converts
// to that type when the command runs.
struct _Parameter : IDispatch
{
    virtual _bstr_t GetName() = 0;
    virtual DataTypeEnum GetType() = 0;
    virtual _variant_t GetValue() = 0;
    virtual void PutValue(const _variant_t& value) = 0;
};

// The parameters of a Command, bound to its "?" marks in order; Item by position from 0 or by name.
struct Parameters : IDispatch
{
    virtual long GetCount() = 0;
    virtual HRESULT Append(IDispatch* parameter) = 0;
    virtual _ParameterPtr GetItem(const _variant_t& index) = 0;
};

// A parameterised command text, run by _Recordset::Open(command, vtMissing, ...) and re-run by Requery.
// Prepared statements are cached by the connection in any case; PutPrepared is accepted.
struct _Command : IDispatch
{
    virtual void PutActiveConnection(const _variant_t& connection) = 0;
    virtual void PutRefActiveConnection(_Connection* connection) = 0;
    virtual _bstr_t GetCommandText() = 0;
    virtual void PutCommandText(_bstr_t text) = 0;
    virtual void PutCommandType(CommandTypeEnum type) = 0;
    virtual void PutPrepared(VARIANT_BOOL prepared) = 0;
    // size: characters for texts, ignored otherwise.
    virtual _ParameterPtr CreateParameter(_bstr_t name, DataTypeEnum type, ParameterDirectionEnum direction,
                                          long size, const _variant_t& value) = 0;
    virtual ParametersPtr GetParameters() = 0;
};

__CRT_UUID_DECL(_Connection, 0x801ad99b, 0x7906, 0x4d0a, 0xb5, 0x13, 0xf6, 0x7d, 0x94, 0x07, 0xc7, 0x5c)
__CRT_UUID_DECL(_Recordset, 0xb3fdcd89, 0xe5c9, 0x41bf, 0x9a, 0x1c, 0x18, 0xde, 0x43, 0x40, 0x11, 0xca)
__CRT_UUID_DECL(_Command, 0x8802e420, 0xebf4, 0x45d0, 0x89, 0xe9, 0x92, 0x0f, 0x24, 0x0e, 0xc2, 0x60)
__CRT_UUID_DECL(_Parameter, 0x38bbdb93, 0x01c8, 0x46d4, 0xb8, 0x07, 0xcc, 0x96, 0xf9, 0x2e, 0xcc, 0x48)
__CRT_UUID_DECL(Parameters, 0xfb273545, 0x107a, 0x4db7, 0xa3, 0xd7, 0xe6, 0xb1, 0xc8, 0x62, 0xfd, 0x81)
__CRT_UUID_DECL(Field, 0x4bc58c71, 0xdc23, 0x414f, 0xa2, 0xfe, 0xbb, 0xb4, 0x20, 0x83, 0xf6, 0xa4)
__CRT_UUID_DECL(Fields, 0x10c9cdfb, 0x8fc2, 0x4de7, 0x9d, 0xf0, 0xaf, 0x2f, 0xed, 0x7b, 0x03, 0x85)
__CRT_UUID_DECL(Error, 0x0f6fc3eb, 0xf55a, 0x4e44, 0x8e, 0x0f, 0xcc, 0xf2, 0xb9, 0xaf, 0xc0, 0xbe)
__CRT_UUID_DECL(Errors, 0xafc0b8ab, 0x732a, 0x4f7e, 0xa4, 0x01, 0xe3, 0x94, 0x9c, 0x6f, 0x24, 0xc0)
__CRT_UUID_DECL(Property, 0x8b0bbad0, 0xd8ec, 0x4e07, 0xa8, 0x88, 0x3f, 0xe7, 0x26, 0x94, 0x4c, 0x57)
__CRT_UUID_DECL(Properties, 0xd48e3c7f, 0xbed5, 0x4cb1, 0xb5, 0xad, 0xcd, 0xe3, 0xb2, 0x58, 0x40, 0x50)

// Creates a new, empty database file at path, protected by password (empty: none). Raises _com_error when the
// file exists or cannot be made. Compaction can copy a database with "VACUUM INTO 'file'" run through Execute
// on an open connection outside a transaction: the copy keeps the password.
void JetCreateDatabase(LPCWSTR path, LPCWSTR password);

#include "platform/ado/adobinding.h"
