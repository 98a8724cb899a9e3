// The failures of the ADO stand-in: each raises _com_error with an IErrorInfo carrying its description, and
// the connection's error log keeps its entry for the Errors collection.
#pragma once

#include "platform/ado/JetObject.h"

#include <vector>

struct sqlite3;

// Error numbers of ADO itself (MAKE_HRESULT of FACILITY_CONTROL and ADO's error codes) and of the provider.
const HRESULT JET_E_NOCURRENTRECORD = static_cast<HRESULT>(0x800A0BCD);
const HRESULT JET_E_ITEMNOTFOUND = static_cast<HRESULT>(0x800A0CC1);
const HRESULT JET_E_ILLEGALOPERATION = static_cast<HRESULT>(0x800A0C93);
const HRESULT JET_E_FEATURENOTAVAILABLE = static_cast<HRESULT>(0x800A0CB3);
const HRESULT JET_E_INVALIDARGUMENT = static_cast<HRESULT>(0x800A0BB9);
const HRESULT JET_E_OBJECTCLOSED = static_cast<HRESULT>(0x800A0E78);
const HRESULT JET_E_OBJECTOPEN = static_cast<HRESULT>(0x800A0E79);
const HRESULT JET_E_PROVIDERNOTFOUND = static_cast<HRESULT>(0x800A0E7A);
const HRESULT JET_E_ERRORSINCOMMAND = static_cast<HRESULT>(0x80040E14);
const HRESULT JET_E_INTEGRITYVIOLATION = static_cast<HRESULT>(0x80040E2F);
const HRESULT JET_E_AUTHFAILED = static_cast<HRESULT>(0x80040E4D);
const HRESULT JET_E_DELETEDROW = static_cast<HRESULT>(0x80040E23);
const HRESULT JET_E_TYPEMISMATCH = static_cast<HRESULT>(0x80040E07);
const HRESULT JET_E_FIELDTOOSMALL = static_cast<HRESULT>(0x80040E57);
// The transaction of the connection ended by the database itself (XACT_E_ABORTED).
const HRESULT JET_E_TRANSACTIONABORTED = static_cast<HRESULT>(0x8004D019);
// Jet's text for a text longer than its column.
inline constexpr wchar_t JET_FIELD_TOO_SMALL[] =
    L"The field is too small to accept the amount of data you attempted to add.  Try inserting or pasting less data.";
// Jet's text for a change to a database opened read-only (raised as E_FAIL, as Jet's provider does).
inline constexpr wchar_t JET_READ_ONLY[] = L"Cannot update. Database or object is read-only.";
// Jet's native error of a duplicate value in a unique index.
const long JET_NATIVE_DUPLICATEKEY = -105121349;

struct CJetErrorEntry
{
    std::wstring m_description;
    HRESULT m_number;
    long m_nativeError;
};

class CJetErrorLog
{
public:
    const std::vector<CJetErrorEntry>& Entries() const { return m_entries; }
    void Record(const CJetErrorEntry& entry);
    void Clear();

private:
    std::vector<CJetErrorEntry> m_entries;
};

// Raises the failure; log (may be null) then holds it as its only entry.
[[noreturn]] void JetRaise(CJetErrorLog* log, HRESULT hr, const std::wstring& description, long nativeError = 0);
// Raises SQLite's last failure on db (rc the failing result code): a unique index answers Jet's duplicate key.
[[noreturn]] void JetRaiseSqlite(CJetErrorLog* log, sqlite3* db, int rc);

// The Errors collection of a connection, part of the connection that holds the log: it shows what the log holds
// now. Its references are the connection's, so that a holder keeps the log alive and asking the connection for
// its errors (every data operation empties them first) makes no object.
class CJetErrors : public CJetObject<Errors>
{
public:
    CJetErrors(CJetErrorLog& log, IUnknown& owner) : m_log(log), m_owner(owner) {}
    ULONG STDMETHODCALLTYPE AddRef() override { return m_owner.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return m_owner.Release(); }
    long GetCount() override;
    ErrorPtr GetItem(const _variant_t& index) override;
    HRESULT Clear() override;

private:
    CJetErrorLog& m_log;
    IUnknown& m_owner;
};
