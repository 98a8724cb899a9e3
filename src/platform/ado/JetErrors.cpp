#include "platform/ado/JetErrors.h"

#include <sqlite3.h>

namespace
{
class CJetError : public CJetObject<Error>
{
public:
    explicit CJetError(const CJetErrorEntry& entry) : m_entry(entry) {}
    _bstr_t GetDescription() override { return _bstr_t(m_entry.m_description.c_str()); }
    long GetNumber() override { return m_entry.m_number; }
    long GetNativeError() override { return m_entry.m_nativeError; }

private:
    CJetErrorEntry m_entry;
};
} // namespace

void CJetErrorLog::Record(const CJetErrorEntry& entry)
{
    m_entries.assign(1, entry);
}

void CJetErrorLog::Clear()
{
    m_entries.clear();
}

void JetRaise(CJetErrorLog* log, HRESULT hr, const std::wstring& description, long nativeError)
{
    if (log)
        log->Record(CJetErrorEntry{description, hr, nativeError});
    IErrorInfo* info = nullptr;
    ICreateErrorInfo* create = nullptr;
    if (SUCCEEDED(::CreateErrorInfo(&create))) {
        create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
        create->SetSource(const_cast<LPOLESTR>(L"Microsoft JET Database Engine"));
        if (FAILED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info))))
            info = nullptr;
        create->Release();
    }
    throw _com_error(hr, info);
}

void JetRaiseSqlite(CJetErrorLog* log, sqlite3* db, int rc)
{
    int code = db ? ::sqlite3_extended_errcode(db) : rc;
    std::wstring text = db ? JetWide(::sqlite3_errmsg(db)) : JetWide(::sqlite3_errstr(rc));
    if (code == SQLITE_CONSTRAINT_UNIQUE || code == SQLITE_CONSTRAINT_PRIMARYKEY)
        JetRaise(log, E_FAIL, text, JET_NATIVE_DUPLICATEKEY);
    HRESULT hr = (code & 0xff) == SQLITE_CONSTRAINT ? JET_E_INTEGRITYVIOLATION
                 : code == SQLITE_ERROR             ? JET_E_ERRORSINCOMMAND
                                                    : E_FAIL;
    JetRaise(log, hr, text, code);
}

long CJetErrors::GetCount()
{
    return static_cast<long>(m_log.Entries().size());
}

ErrorPtr CJetErrors::GetItem(const _variant_t& index)
{
    _variant_t position;
    if (FAILED(::VariantChangeType(&position, const_cast<_variant_t*>(&index), 0, VT_I4)) || position.lVal < 0 ||
        static_cast<size_t>(position.lVal) >= m_log.Entries().size())
        JetRaise(nullptr, JET_E_ITEMNOTFOUND, L"Item cannot be found in the Errors collection.");
    return JetMake<Error>(new CJetError(m_log.Entries()[static_cast<size_t>(position.lVal)]));
}

HRESULT CJetErrors::Clear()
{
    m_log.Clear();
    return S_OK;
}
