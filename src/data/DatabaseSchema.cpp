#include "DatabaseSchema.h"

#include "data/ADOConnection.h"
#include "resource.h"

#include <vector>

namespace {

// The schema text embedded in the resources (UTF-8).
CString LoadSchema(UINT nID)
{
    HINSTANCE hInstance = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceW(hInstance, MAKEINTRESOURCEW(nID), RT_RCDATA);
    HGLOBAL hData = hResource ? ::LoadResource(hInstance, hResource) : nullptr;
    const char* pText = hData ? static_cast<const char*>(::LockResource(hData)) : nullptr;
    if (!pText)
        _com_issue_error(HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND));
    return CString::FromMultiByte(pText, static_cast<int>(::SizeofResource(hInstance, hResource)), CP_UTF8);
}

// One statement per ";" outside quoted text; lines that begin with "--" are comments. Quotes are Jet's: '...' with
// '' for a quote inside, so a caption holding ";" or "--" stays whole.
std::vector<CString> SplitStatements(const CString& script)
{
    std::vector<CString> statements;
    CString statement;
    bool bInQuote = false;
    bool bLineStart = true;
    for (int i = 0; i < script.GetLength(); ++i) {
        TCHAR ch = script[i];
        if (!bInQuote && bLineStart) {
            int nFirst = i;
            while (nFirst < script.GetLength() && (script[nFirst] == L' ' || script[nFirst] == L'\t'))
                ++nFirst;
            if (script.Mid(nFirst, 2) == L"--") {
                int nEnd = script.Find(L'\n', nFirst);
                i = nEnd < 0 ? script.GetLength() : nEnd;
                continue;
            }
        }
        bLineStart = (ch == L'\n');
        if (ch == L'\'')
            bInQuote = !bInQuote;   // '' toggles twice and so stays inside the text
        if (ch == L';' && !bInQuote) {
            if (!statement.Trim().IsEmpty())
                statements.push_back(statement);
            statement.Empty();
            continue;
        }
        statement += ch;
    }
    if (!statement.Trim().IsEmpty())
        statements.push_back(statement);
    return statements;
}

void CreateDatabase(LPCTSTR pszPath, LPCTSTR pszPassword, UINT nSchemaID)
{
    CString schema = LoadSchema(nSchemaID);
    JetCreateDatabase(pszPath, pszPassword);
    try {
        CADOConnection connection;
        HRESULT hr = connection.CreateConnection();
        if (FAILED(hr))
            _com_issue_error(hr);
        connection.Open(CADOConnection::FormatConnectionString(pszPath, pszPassword), TRUE);
        ExecuteSqlScript(connection, schema);
        connection.Close();
    }
    catch (const _com_error&) {
        ::DeleteFileW(pszPath);
        throw;
    }
}

} // namespace

void ExecuteSqlScript(CADOConnection& connection, const CString& script)
{
    CADOTransaction transaction(connection);
    for (const CString& statement : SplitStatements(script))
        connection.Execute(statement, nullptr, adCmdText | adExecuteNoRecords);
    transaction.Commit();
}

void CreateProgramDatabase(LPCTSTR pszPath, LPCTSTR pszPassword)
{
    CreateDatabase(pszPath, pszPassword, IDR_SCHEMA_PROG03);
}

void CreateDataArchive(LPCTSTR pszPath, LPCTSTR pszPassword)
{
    CreateDatabase(pszPath, pszPassword, IDR_SCHEMA_ARCHIVIO);
}
