// Compiles the template sources into the ".txd" documents of the "Doc" folder, or with --pdf into PDF files (the
// user manual of the program folder):
//
//     make_reports [--pdf] <folder> <source.rts>...
//
// Each source becomes the document of the same name. A source that cannot be read or holds an unclosed field
// reference is refused with a message naming the place; nothing is written for it and the tool fails, so the
// build stops. Runs under Wine at build time.
#include "ReportSource.h"

#include "platform/mfc/afxexcept.h"
#include "util/PathUtil.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

void PrintError(const CString& strText)
{
    std::fputs((strText + L"\n").ToMultiByte(CP_UTF8).c_str(), stderr);
}

bool CompileOne(const CString& strSource, const CString& strFolder, bool bPdf)
{
    std::ifstream file(static_cast<LPCTSTR>(strSource), std::ios::binary);
    if (!file) {
        PrintError(strSource + L": cannot be read");
        return false;
    }
    std::ostringstream bytes;
    bytes << file.rdbuf();
    const std::string text = bytes.str();
    CTextDocument doc;
    const CString strError =
        CompileReportSource(CString::FromMultiByte(text.data(), static_cast<int>(text.size()), CP_UTF8), doc);
    if (!strError.IsEmpty()) {
        PrintError(strSource + L": " + strError);
        return false;
    }
    CString strName = strSource.Mid(strSource.ReverseFind(L'\\') + 1);
    strName = strName.Left(strName.ReverseFind(L'.')) + (bPdf ? L".pdf" : L".txd");
    try {
        doc.Save(CombinePath(strFolder, strName), bPdf ? txdFormatPdf : txdFormatOwn);
    } catch (CException* e) {
        TCHAR szText[512] = {};
        e->GetErrorMessage(szText, _countof(szText));
        e->Delete();
        PrintError(strSource + L": " + szText);
        return false;
    }
    return true;
}

} // namespace

int wmain(int argc, wchar_t* argv[])
{
    const bool bPdf = argc > 1 && CString(argv[1]) == L"--pdf";
    const int nFolder = bPdf ? 2 : 1;
    if (argc <= nFolder) {
        PrintError(L"usage: make_reports [--pdf] <folder> <source.rts>...");
        return 2;
    }
    ::CreateDirectoryW(argv[nFolder], nullptr);
    bool bGood = true;
    for (int i = nFolder + 1; i < argc; ++i) {
        CString strSource = argv[i];
        strSource.Replace(L'/', L'\\');
        bGood = CompileOne(strSource, argv[nFolder], bPdf) && bGood;
    }
    return bGood ? 0 : 1;
}
