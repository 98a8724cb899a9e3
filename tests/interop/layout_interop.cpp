// The program's side of the layout file check (tests/interop/layout-interop.py): "write <file>" saves a layout
// with docked, tabbed, floating, auto-hidden and closed panes as section "NormalLayout" of an XML file; "read
// <file>" loads that section onto a test frame and prints the tree, then one line per pane: id, options and title
// (UTF-8). A file that does not load prints "refused" and ends with 1.
#include "ui/DockingTestSupport.h"

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const CString& str)
{
    int nBytes = ::WideCharToMultiByte(CP_UTF8, 0, str, str.GetLength(), nullptr, 0, nullptr, nullptr);
    std::string bytes(nBytes, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, str, str.GetLength(), &bytes[0], nBytes, nullptr, nullptr);
    return bytes;
}

void BuildLayout(CXTPDockingPaneManager* pManager)
{
    CXTPDockingPane* pTree = pManager->CreatePane(4000, CRect(0, 0, 230, 120), xtpPaneDockLeft);
    pTree->SetTitle(L"Navigazione\nAlbero dei capitoli");
    pTree->SetOptions(xtpPaneNoCloseable);
    CXTPDockingPane* pProps = pManager->CreatePane(4001, CRect(0, 0, 200, 120), xtpPaneDockRight, pTree);
    pProps->SetTitle(L"Propriet\u00e0 dell'ente");
    CXTPDockingPane* pNotes = pManager->CreatePane(4002, CRect(0, 0, 200, 120), xtpPaneDockBottom);
    pNotes->SetTitle(L"Note <bozza> & \"prova\"");
    pManager->AttachPane(pNotes, pProps);
    CXTPDockingPane* pFloating = pManager->CreatePane(4003, CRect(0, 0, 180, 90), xtpPaneDockBottom);
    pFloating->SetTitle(L"Entit\u00e0 correnti");
    pManager->FloatPane(pFloating, CRect(300, 200, 520, 360));
    CXTPDockingPane* pHidden = pManager->CreatePane(4004, CRect(0, 0, 150, 70), xtpPaneDockTop);
    pHidden->SetTitle(L"Riepiloghi");
    pManager->HidePane(pHidden);
    CXTPDockingPane* pClosed = pManager->CreatePane(4005, CRect(0, 0, 150, 70), xtpPaneDockRight);
    pClosed->SetTitle(L"Citt\u00e0");
    pManager->ClosePane(pClosed);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3)
        return 2;
    CWinApp app(L"LayoutInterop");
    CDockTestFrame* pFrame = new CDockTestFrame;
    if (!pFrame->CreateHidden())
        return 2;
    CXTPDockingPaneManager* pManager = &pFrame->m_paneManager;
    std::wstring strCommand = argv[1];
    int nResult = 0;
    if (strCommand == L"write") {
        BuildLayout(pManager);
        CXTPDockingPaneLayout* pLayout = pManager->CreateLayout();
        pManager->GetLayout(pLayout);
        nResult = pLayout->SaveToFile(argv[2], L"NormalLayout") ? 0 : 1;
        std::printf("%s\n", DescribeLayout(pLayout).c_str());
        pLayout->InternalRelease();
    } else {
        CXTPDockingPaneLayout* pLayout = pManager->CreateLayout();
        if (pLayout->LoadFromFile(argv[2], L"NormalLayout")) {
            std::printf("%s\n", DescribeLayout(pLayout).c_str());
            for (const XTP_DOCKINGPANE_INFO& info : pLayout->GetPaneList())
                std::printf("%u %lu %s\n", info.pPane->GetID(), static_cast<unsigned long>(info.pPane->GetOptions()),
                            Utf8(info.pPane->GetFullTitle()).c_str());
        } else {
            std::printf("refused\n");
            nResult = 1;
        }
        pLayout->InternalRelease();
    }
    pFrame->DestroyWindow();
    return nResult;
}
