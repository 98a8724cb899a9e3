// What the benchmarks of views share: a message ends the run, the program folder's data, a fresh seeded archive
// and a frame holding the measured view.
#pragma once

#include "data/DatabaseSchema.h"
#include "platform/mfc/afxframe.h"
#include "platform/mfc/afxmsgbox.h"

#include "BenchSupport.h"

#include <cstdio>
#include <cstdlib>

// A message would wait for a person: it is printed and the run ends.
inline void BenchEndOnMessage()
{
    AfxSetMessageBoxHandler([](const AFX_MSGBOX_REQUEST& request) -> int {
        std::fwprintf(stderr, L"%ls\n", static_cast<LPCWSTR>(request.text));
        std::exit(1);
    });
}

// The given folder of the program folder beside the benchmark's own folder, unless the command line names one.
inline CString BenchDataFolder(int argc, wchar_t** argv, LPCTSTR pszFolder)
{
    if (argc > 1)
        return argv[1];
    WCHAR szModule[MAX_PATH];
    ::GetModuleFileNameW(nullptr, szModule, MAX_PATH);
    CString strModule(szModule);
    return strModule.Left(strModule.ReverseFind(L'\\')) + L"\\..\\Quarzel08\\" + pszFolder;
}

// A new archive in the temporary folder, opened on the connection and seeded; false (said why) when it fails.
template <typename TSeed>
bool BenchOpenArchive(CADOConnection& data, const CString& strArchive, TSeed seed)
{
    try {
        CreateDataArchive(strArchive, L"bench");
        data.CreateConnection();
        data.Open(CADOConnection::FormatConnectionString(strArchive, L"bench"), TRUE);
        seed(data);
        return true;
    } catch (const _com_error& e) {
        std::fwprintf(stderr, L"archive: %ls\n", static_cast<LPCWSTR>(e.Description()));
        return false;
    }
}

// A shown frame holding a new view of the given class, or null (said why).
template <typename TView>
TView* BenchCreateView(CRuntimeClass* pViewClass, CFrameWnd*& pFrame)
{
    pFrame = new CFrameWnd;
    if (!pFrame->Create(nullptr, L"Banco", WS_OVERLAPPEDWINDOW, CRect(20, 20, 980, 700))) {
        std::fprintf(stderr, "no frame (a display is needed)\n");
        return nullptr;
    }
    CCreateContext context;
    context.m_pNewViewClass = pViewClass;
    context.m_pCurrentFrame = pFrame;
    auto pView = dynamic_cast<TView*>(pFrame->CreateView(&context));
    if (!pView)
        std::fprintf(stderr, "no view\n");
    return pView;
}
