// The program's side of the Jet-file interoperability check (tests/interop/jet-interop.py). It reads genuine
// Jet database files through the data layer and writes what it read as JSON, values raw (a date as its day
// count, an amount as its count of 1/10000, a decimal as its parts), so that the script compares values, not
// texts this program formatted:
//
//     jet_interop read <out.json> <file> <password|-> <table>...
//         {"tables": {"<table>": {"direct": <reading>, "select": <reading>}}} or {"error": <error>};
//         a reading: {"fields": [{"name", "type"}], "rows": [[<value>...]]} or {"error": <error>}; a value: null
//         or {"vt", "v"}; an error: {"number", "description"}. "-": the connection string names no password.
//     jet_interop write <out.json> <file> <password|-> <table> <statement>
//         {"execute": <outcome>, "addnew": <outcome>} or {"error": <error>}: the statement run by Execute, and a row added through a
//         record set on the table; an outcome: {"done": true} or {"error": <error>, "step": "AddNew"|"Update"}.
#include "platform/ado/adodb.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <functional>
#include <string>

namespace
{
using nlohmann::json;

std::string Utf8(const wchar_t* text, UINT nLength)
{
    int nBytes = ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(nLength), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(nBytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(nLength), bytes.data(), nBytes, nullptr, nullptr);
    return bytes;
}

std::string Utf8(const _bstr_t& text)
{
    return text.length() ? Utf8(static_cast<const wchar_t*>(text), text.length()) : std::string();
}

json Failure(const _com_error& e)
{
    return {{"number", static_cast<unsigned long>(e.Error())}, {"description", Utf8(e.Description())}};
}

std::string Hex(const SAFEARRAY* pArray)
{
    static const char s_digits[] = "0123456789abcdef";
    std::string hex;
    const unsigned char* pBytes = static_cast<const unsigned char*>(pArray->pvData);
    for (ULONG i = 0; i < pArray->rgsabound[0].cElements; ++i) {
        hex += s_digits[pBytes[i] >> 4];
        hex += s_digits[pBytes[i] & 15];
    }
    return hex;
}

json Value(const _variant_t& value)
{
    json v;
    switch (value.vt) {
    case VT_NULL: return nullptr;
    case VT_EMPTY: break;
    case VT_BOOL: v = value.boolVal; break;   // raw: true must be VARIANT_TRUE (-1)
    case VT_UI1: v = value.bVal; break;
    case VT_I2: v = value.iVal; break;
    case VT_I4: v = value.lVal; break;
    case VT_I8: v = value.llVal; break;
    case VT_R4: v = value.fltVal; break;
    case VT_R8: v = value.dblVal; break;
    case VT_DATE: v = value.date; break;
    case VT_CY: v = value.cyVal.int64; break;
    case VT_DECIMAL:
        v = {{"scale", value.decVal.scale}, {"sign", value.decVal.sign}, {"hi", value.decVal.Hi32},
             {"lo", value.decVal.Lo64}};
        break;
    case VT_BSTR: v = Utf8(value.bstrVal, ::SysStringLen(value.bstrVal)); break;
    case VT_ARRAY | VT_UI1: v = Hex(value.parray); break;
    default: v = "unexpected VARIANT type";
    }
    return {{"vt", value.vt}, {"v", v}};
}

json Reading(_RecordsetPtr recordset)
{
    json reading;
    FieldsPtr fields = recordset->GetFields();
    const long nFields = fields->GetCount();
    for (long i = 0; i < nFields; ++i) {
        FieldPtr field = fields->GetItem(i);
        reading["fields"].push_back({{"name", Utf8(field->GetName())}, {"type", static_cast<int>(field->GetType())}});
    }
    reading["rows"] = json::array();
    for (; !recordset->GetEOF(); recordset->MoveNext()) {
        json row = json::array();
        for (long i = 0; i < nFields; ++i)
            row.push_back(Value(fields->GetItem(i)->GetValue()));
        reading["rows"].push_back(row);
    }
    recordset->Close();
    return reading;
}

_ConnectionPtr Connect(const std::wstring& file, const std::wstring& password)
{
    std::wstring text = L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file + L";Persist Security Info=False";
    if (password != L"-")
        text += L";Jet OLEDB:Database Password=" + password;
    _ConnectionPtr connection;
    connection.CreateInstance(__uuidof(Connection));
    connection->Open(_bstr_t(text.c_str()), L"", L"", -1);
    return connection;
}

_RecordsetPtr OpenRecordset(_ConnectionPtr connection, const std::wstring& source, LockTypeEnum lock, long options)
{
    _RecordsetPtr recordset;
    recordset.CreateInstance(__uuidof(Recordset));
    recordset->Open(_variant_t(source.c_str()), _variant_t(static_cast<IDispatch*>(connection), true), adOpenStatic,
                    lock, options);
    return recordset;
}

// Each reading in a try of its own: a table that one way refuses is still read the other.
json ReadTable(_ConnectionPtr connection, const std::wstring& table)
{
    json both;
    const std::pair<const char*, std::function<_RecordsetPtr()>> ways[] = {
        {"direct", [&] { return OpenRecordset(connection, table, adLockReadOnly, adCmdTableDirect); }},
        {"select", [&] { return OpenRecordset(connection, L"SELECT * FROM [" + table + L"]", adLockReadOnly, adCmdText); }},
    };
    for (const auto& way : ways) {
        try {
            both[way.first] = Reading(way.second());
        } catch (const _com_error& e) {
            both[way.first] = {{"error", Failure(e)}};
        }
    }
    return both;
}

json Read(int argc, wchar_t** argv)
{
    _ConnectionPtr connection;
    try {
        connection = Connect(argv[3], argv[4]);
    } catch (const _com_error& e) {
        return {{"error", Failure(e)}};
    }
    json result;
    result["tables"] = json::object();
    for (int i = 5; i < argc; ++i)
        result["tables"][Utf8(_bstr_t(argv[i]))] = ReadTable(connection, argv[i]);
    connection->Close();
    return result;
}

json Write(wchar_t** argv)
{
    json result;
    _ConnectionPtr connection;
    try {
        connection = Connect(argv[3], argv[4]);
    } catch (const _com_error& e) {
        return {{"error", Failure(e)}};
    }
    try {
        connection->Execute(_bstr_t(argv[6]), nullptr, adCmdText | adExecuteNoRecords);
        result["execute"] = {{"done", true}};
    } catch (const _com_error& e) {
        result["execute"] = {{"error", Failure(e)}};
    }
    const char* pszStep = "Open";
    try {
        _RecordsetPtr recordset = OpenRecordset(connection, argv[5], adLockOptimistic, adCmdTableDirect);
        pszStep = "AddNew";
        recordset->AddNew();
        pszStep = "Update";
        recordset->Update();
        result["addnew"] = {{"done", true}};
    } catch (const _com_error& e) {
        result["addnew"] = {{"error", Failure(e)}, {"step", pszStep}};
    }
    connection->Close();
    return result;
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (!((mode == L"read" && argc >= 5) || (mode == L"write" && argc == 7))) {
        std::fprintf(stderr, "usage: jet_interop read <out.json> <file> <password|-> <table>...\n"
                             "       jet_interop write <out.json> <file> <password|-> <table> <statement>\n");
        return 2;
    }
    json result;
    try {
        result = mode == L"read" ? Read(argc, argv) : Write(argv);
    } catch (const _com_error& e) {
        std::fprintf(stderr, "jet_interop: %s\n", Failure(e).dump().c_str());
        return 1;
    }
    std::FILE* pOut = _wfopen(argv[2], L"wb");
    const std::string text = result.dump(1);
    bool bWritten = pOut && std::fwrite(text.data(), 1, text.size(), pOut) == text.size();
    bWritten = pOut && std::fclose(pOut) == 0 && bWritten;
    return bWritten ? 0 : 1;
}
