// Compiles the workbook sources into the ".vts" files of the "Form" folder:
//
//     make_workbooks <Form folder> <source.wbs>...
//
// Each source becomes the workbook of the same name. A source that cannot be read, or whose description names
// a table, field or row that a new data archive does not have, or whose first cell is not a cell the user
// works in, is refused with a message naming the place; nothing is written for it and the tool fails, so the
// build stops. Runs under Wine at build time.
#include "WorkbookSource.h"

#include "data/AdoErrorText.h"
#include "data/DatabasePassword.h"
#include "data/DatabaseSchema.h"
#include "forms/FormBinding.h"
#include "platform/grid/GridAddress.h"
#include "platform/mfc/afxmsgbox.h"
#include "util/MessageText.h"
#include "util/PathUtil.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

// One line on the error output, in UTF-8 as the build's terminal reads it.
void PrintError(const CString& strText)
{
    std::fputs((strText + L"\n").ToMultiByte(CP_UTF8).c_str(), stderr);
}

// Nobody can answer a message box at build time: its text goes to the error output.
int PrintMessageBox(const AFX_MSGBOX_REQUEST& request)
{
    PrintError(request.text);
    return IDOK;
}

bool ReadUtf8File(LPCTSTR pszPath, CString& strText)
{
    std::ifstream file(pszPath, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream text;
    text << file.rdbuf();
    std::string bytes = text.str();
    strText = CString::FromMultiByte(bytes.data(), static_cast<int>(bytes.size()), CP_UTF8);
    return true;
}

// The sheet's first cell must be one the user types into, or, on a sheet that has none, a cell that shows
// data.
bool CheckFirstCells(const CFormInfo& info, CString& strError)
{
    for (int s = 0; s < info.GetSize(); ++s) {
        const CSheetInfo& sheet = info[s];
        bool bHasInput = false;
        for (int r = 1; r < sheet.GetSize(); ++r)
            for (int c = 1; c < sheet[r].GetSize(); ++c)
                bHasInput = bHasInput || sheet[r][c].m_nKind == formKindInput;
        const CCellInfo* pFirst = info.GetCell(s, sheet.m_nFirstRow, sheet.m_nFirstCol);
        bool bGood = pFirst && (bHasInput ? pFirst->m_nKind == formKindInput : pFirst->IsDataCell());
        if (!bGood) {
            strError = L"the first cell " + GridCellName(sheet.m_nFirstRow, sheet.m_nFirstCol) + L" of sheet \"" +
                       sheet.m_strSheetName + (bHasInput ? L"\" is not an input cell" : L"\" is not a data cell");
            return false;
        }
    }
    return true;
}

bool CompileOne(LPCTSTR pszSource, const CString& strFolder, CADOConnection& archive)
{
    CString strSource, strError;
    if (!ReadUtf8File(pszSource, strSource)) {
        PrintError(CString(pszSource) + L": cannot be read");
        return false;
    }
    CGridBook book;
    CFormInfo info;
    if (!CompileWorkbookSource(strSource, book, strError) || !info.ReadFromBook(book) ||
        !CheckFormBinding(info, archive, strError) || !CheckFormRows(info, strError) ||
        !CheckFirstCells(info, strError)) {
        PrintError(CString(pszSource) + L": " + strError);
        return false;
    }
    if (!book.WriteFile(CombinePath(strFolder, GetPathFileTitle(pszSource) + L".vts"), strError)) {
        PrintError(CString(pszSource) + L": " + strError);
        return false;
    }
    return true;
}

} // namespace

int wmain(int argc, wchar_t* argv[])
{
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: make_workbooks <Form folder> <source.wbs>...\n");
        return 2;
    }
    AfxSetMessageBoxHandler(PrintMessageBox);
    CString strFolder = GetFullPath(argv[1]);
    if (!EnsureFolder(strFolder)) {
        PrintError(L"make_workbooks: " + strFolder + L": " + GetSystemErrorText(::GetLastError()));
        return 1;
    }
    // The bindings are checked against a new data archive, made from the schema the program ships.
    CString strArchive = GetTempFileName(nullptr, L"wbk");
    ::DeleteFileW(strArchive);   // the archive is made new in its place
    bool bAllGood = true;
    try {
        CreateDataArchive(strArchive, GetArchivePassword());
        CADOConnection archive;
        HRESULT hr = archive.CreateConnection();
        if (FAILED(hr))
            _com_issue_error(hr);
        archive.Open(CADOConnection::FormatConnectionString(strArchive, GetArchivePassword()), TRUE);
        for (int i = 2; i < argc; ++i)
            bAllGood = CompileOne(argv[i], strFolder, archive) && bAllGood;
        archive.Close();
    }
    catch (const _com_error& e) {
        PrintError(L"make_workbooks: " + GetComErrorText(e, nullptr));
        bAllGood = false;
    }
    ::DeleteFileW(strArchive);
    return bAllGood ? 0 : 1;
}
