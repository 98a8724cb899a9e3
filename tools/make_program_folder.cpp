// Assembles the program folder of an installation from the reviewable sources under content/:
//
//     make_program_folder <program folder> <rows.sql>...
//
// "Prog03.mdb" is made anew from its schema and the rows of the scripts; the data archive that Config "nomeDB"
// names is made empty at the current version only when it is missing, so that the data typed into it survive a
// rebuild, and is given the numbered rows of the budget and balance tables it lacks, with zeros; the working
// folders are created when missing. Runs under Wine at build time.
#include "data/DatabasePassword.h"
#include "data/DatabaseSchema.h"
#include "data/SetConfig.h"
#include "data/AdoErrorText.h"
#include "engine/BalanceRows.h"
#include "platform/mfc/afxmsgbox.h"
#include "util/PathUtil.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

const LPCTSTR WORKING_FOLDERS[] = { L"Form", L"Doc", L"DocUt", L"WebUpd", L"Backup" };

// Nobody can answer a message box at build time: its text goes to the error output.
int PrintMessageBox(const AFX_MSGBOX_REQUEST& request)
{
    std::fwprintf(stderr, L"%ls\n", request.text.GetString());
    return IDOK;
}

CString ReadUtf8File(LPCTSTR pszPath)
{
    std::ifstream file(pszPath, std::ios::binary);
    if (!file)
        _com_issue_error(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    std::ostringstream text;
    text << file.rdbuf();
    std::string bytes = text.str();
    return CString::FromMultiByte(bytes.data(), static_cast<int>(bytes.size()), CP_UTF8);
}

void OpenDatabase(CADOConnection& connection, LPCTSTR pszPath, LPCTSTR pszPassword)
{
    HRESULT hr = connection.CreateConnection();
    if (FAILED(hr))
        _com_issue_error(hr);
    connection.Open(CADOConnection::FormatConnectionString(pszPath, pszPassword), TRUE);
}

// Makes the program database under a temporary name, so that a failure leaves no half-filled "Prog03.mdb"; answers
// the archive's path.
CString MakeProgramDatabase(const CString& strFolder, const CString& strTarget, int nScripts, LPWSTR* ppszScripts)
{
    CString strNew = strTarget + L".new";
    ::DeleteFileW(strNew);
    CreateProgramDatabase(strNew, GetProgDatabasePassword());
    CString strNomeDB;
    {
        CADOConnection connection;
        try {
            OpenDatabase(connection, strNew, GetProgDatabasePassword());
            for (int i = 0; i < nScripts; ++i)
                ExecuteSqlScript(connection, ReadUtf8File(GetFullPath(ppszScripts[i])));
            strNomeDB = CSetConfig::GetConfigNomeDB(connection);
            connection.Close();
        }
        catch (const _com_error&) {
            if (connection.IsOpen())
                connection.Close();
            ::DeleteFileW(strNew);
            throw;
        }
    }
    if (!::MoveFileExW(strNew, strTarget, MOVEFILE_REPLACE_EXISTING))
        _com_issue_error(HRESULT_FROM_WIN32(::GetLastError()));
    CString strArchive = CombinePath(strFolder, strNomeDB);
    strArchive.Replace(L'/', L'\\');
    return strArchive;
}

} // namespace

int wmain(int argc, wchar_t* argv[])
{
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: make_program_folder <program folder> <rows.sql>...\n");
        return 2;
    }
    AfxSetMessageBoxHandler(PrintMessageBox);
    CString strFolder = GetFullPath(argv[1]);
    try {
        if (!EnsureFolder(strFolder))
            _com_issue_error(HRESULT_FROM_WIN32(::GetLastError()));
        CString strArchive = MakeProgramDatabase(strFolder, CombinePath(strFolder, L"Prog03.mdb"), argc - 2, argv + 2);
        if (!FileExists(strArchive)) {
            if (!EnsureFolder(GetPathDir(strArchive)))
                _com_issue_error(HRESULT_FROM_WIN32(::GetLastError()));
            CreateDataArchive(strArchive, GetArchivePassword());
        }
        CADOConnection archive;
        OpenDatabase(archive, strArchive, GetArchivePassword());
        AddMissingBalanceRows(archive);
        archive.Close();
        for (LPCTSTR pszName : WORKING_FOLDERS) {
            if (!EnsureFolder(CombinePath(strFolder, pszName)))
                _com_issue_error(HRESULT_FROM_WIN32(::GetLastError()));
        }
    }
    catch (const _com_error& e) {
        std::fwprintf(stderr, L"make_program_folder: %ls\n", GetComErrorText(e, nullptr).GetString());
        return 1;
    }
    return 0;
}
