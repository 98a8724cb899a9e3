// The command-bar state in the profile over three sessions. A frame is made as the program makes its own, the user
// customises it and it saves its state; then three sessions each make a new frame, load the state and save it
// again. From the first saving session on, every session saves what the one before saved.
#include "FuzzReaders.h"

#include "platform/mfc/afxapp.h"
#include "ui/commandbars/XTPControlComboBox.h"
#include "ui/commandbars/XTPFrameWnd.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/persist/PropExchangeRegistry.h"

#include "resource.h"

#include <algorithm>
#include <map>

namespace
{
const LPCTSTR kProfile = L"CommandBars";

// The application whose profile holds the state: a key of its own per process, emptied for each input.
CWinApp& BarApp()
{
    static CWinApp* s_pApp = [] {
        CString strApp;
        strApp.Format(L"Barre%lu", ::GetCurrentProcessId());
        auto* pApp = new CWinApp(_wcsdup(strApp));
        pApp->SetRegistryKey(L"QuarzelFuzz");
        return pApp;
    }();
    return *s_pApp;
}

CString ProfileKey()
{
    return CString(L"Software\\QuarzelFuzz\\") + BarApp().m_pszAppName;
}

CString ControlsFile()
{
    return ScratchFile(L"barre.dat");
}

// A frame with the program's menu and toolbar, as the main frame makes them.
CXTPFrameWnd* MakeFrame()
{
    auto* pFrame = new CXTPFrameWnd;
    if (!pFrame->CreateEx(0, AfxRegisterWndClass(0), L"barre", WS_OVERLAPPEDWINDOW, CRect(0, 0, 640, 480), nullptr, 0))
        return nullptr;
    CXTPCommandBars* pCommandBars = pFrame->InitCommandBars() ? pFrame->GetCommandBars() : nullptr;
    CXTPToolBar* pToolBar = pCommandBars && pCommandBars->SetMenu(L"Menu Bar", IDR_MAINFRAME)
                                ? pCommandBars->Add(L"Standard", xtpBarTop)
                                : nullptr;
    if (!pToolBar || !pToolBar->LoadToolBar(IDR_TOOLBAR)) {
        pFrame->DestroyWindow();
        return nullptr;
    }
    pCommandBars->SetControlsFileName(ControlsFile());
    return pFrame;
}

// The user's changes, one letter each, on the program's toolbar and on toolbars of the user's own.
void Customise(CXTPCommandBars* pCommandBars, const std::string& ops)
{
    CXTPToolBar* pBar = pCommandBars->GetAt(1);
    int nUserBars = 0;
    for (char op : ops) {
        CXTPControls* pControls = pBar->GetControls();
        UINT nID = 32800 + static_cast<UINT>(pControls->GetCount());
        switch (op) {
        case 'b': pControls->Add(xtpControlButton, static_cast<int>(nID)); break;
        case 'c': pControls->Add(xtpControlComboBox, static_cast<int>(nID)); break;
        case 'C': {
            auto* pCombo = static_cast<CXTPControlComboBox*>(pControls->Add(xtpControlComboBox, static_cast<int>(nID)));
            pCombo->AddString(L"Entrate");
            pCombo->AddString(L"Uscite");
            break;
        }
        case 'e': pControls->Add(xtpControlEdit, static_cast<int>(nID)); break;
        case 'l': pControls->Add(xtpControlLabel, static_cast<int>(nID))->SetCaption(L"Esercizio"); break;
        case 'p': {
            CXTPControl* pPopup = pControls->Add(xtpControlPopup, static_cast<int>(nID));
            if (pPopup->GetCommandBar())
                pPopup->GetCommandBar()->GetControls()->Add(xtpControlButton, static_cast<int>(nID) + 1);
            break;
        }
        case 'h':
            if (pControls->GetCount() > 0)
                pControls->GetAt(0)->SetHideFlags(xtpHideCustomize);
            break;
        case 'g':
            if (pControls->GetCount() > 0)
                pControls->GetAt(pControls->GetCount() - 1)->SetBeginGroup(TRUE);
            break;
        case 'r':
            if (pControls->GetCount() > 0)
                pControls->Remove(0);
            break;
        case 'f': pCommandBars->FloatCommandBar(pBar); break;
        case 'n':
            if (nUserBars < 3) {
                CString strTitle;
                strTitle.Format(L"Barra %d", ++nUserBars);
                // As the customise dialog makes a new toolbar: the first free id of the users' range.
                UINT nBarID = 0xE800;
                while (pCommandBars->FindBarById(nBarID))
                    nBarID++;
                if (CXTPToolBar* pUserBar = pCommandBars->CreateTearOffBar(strTitle, nBarID, FALSE))
                    pBar = pUserBar;
            }
            break;
        default: break;
        }
    }
}

// Every value under the profile's key and the controls file, as one text.
void DumpKey(HKEY hKey, const std::wstring& prefix, std::vector<std::wstring>& lines)
{
    for (DWORD i = 0;; i++) {
        wchar_t szName[256];
        DWORD cchName = 256, dwType = 0, cbData = 0;
        if (::RegEnumValueW(hKey, i, szName, &cchName, nullptr, &dwType, nullptr, &cbData) != ERROR_SUCCESS)
            break;
        std::vector<BYTE> data(cbData + 2);
        cchName = 256;
        ::RegEnumValueW(hKey, i, szName, &cchName, nullptr, &dwType, data.data(), &cbData);
        std::wstring value;
        for (DWORD j = 0; j < cbData; j++)
            value += L"0123456789ABCDEF"[data[j] >> 4], value += L"0123456789ABCDEF"[data[j] & 15];
        lines.push_back(prefix + szName + L"=" + value);
    }
    for (DWORD i = 0;; i++) {
        wchar_t szName[256];
        DWORD cchName = 256;
        if (::RegEnumKeyExW(hKey, i, szName, &cchName, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY hSub = nullptr;
        if (::RegOpenKeyExW(hKey, szName, 0, KEY_READ, &hSub) == ERROR_SUCCESS) {
            DumpKey(hSub, prefix + szName + L"\\", lines);
            ::RegCloseKey(hSub);
        }
    }
}

std::string SavedState()
{
    std::vector<std::wstring> lines;
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, ProfileKey(), 0, KEY_READ, &hKey) == ERROR_SUCCESS) {
        DumpKey(hKey, L"", lines);
        ::RegCloseKey(hKey);
    }
    std::sort(lines.begin(), lines.end());
    std::wstring text;
    for (const std::wstring& line : lines)
        text += line + L"\n";
    std::string file;
    ::SetFileAttributesW(ControlsFile(), FILE_ATTRIBUTE_NORMAL);
    ReadInput(ControlsFile(), file);
    return CString(text.c_str()).ToMultiByte(CP_UTF8) + "file:" + file;
}

void ForgetState()
{
    AfxDelRegTreeHelper(HKEY_CURRENT_USER, ProfileKey());
    ::SetFileAttributesW(ControlsFile(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(ControlsFile());
}

// The first line where two saved states part, from each.
std::string FirstDifference(const std::string& a, const std::string& b)
{
    size_t n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n])
        n++;
    size_t nStart = a.rfind('\n', n);
    nStart = nStart == std::string::npos ? 0 : nStart + 1;
    auto line = [&](const std::string& s) { return s.substr(nStart, std::min<size_t>(s.find('\n', nStart) - nStart, 160)); };
    return "\"" + line(a) + "\" against \"" + line(b) + "\"";
}

// One session: a new frame, the state loaded (when asked), the changes, the state saved; answers what it saved.
// Loading and saving raise nothing: damaged data loads as what it can, and whatever a user made can be saved.
std::string Session(bool bLoad, const std::string& ops, std::string& fault)
{
    CXTPFrameWnd* pFrame = MakeFrame();
    if (!pFrame) {
        fault = "no frame";
        return "";
    }
    try {
        if (bLoad)
            pFrame->GetCommandBars()->LoadBarState(kProfile, TRUE);
        Customise(pFrame->GetCommandBars(), ops);
        pFrame->GetCommandBars()->SaveBarState(kProfile);
    } catch (CException* e) {
        fault = std::string(bLoad ? "loading or saving" : "saving") + " raised " + e->GetRuntimeClass()->m_lpszClassName;
        e->Delete();
    }
    pFrame->DestroyWindow();
    return SavedState();
}
} // namespace

// "O" and the user's changes, or "B" and the customised controls' data as the profile would hold it, damaged.
std::string GenerateBarState(CFuzzRandom& rnd)
{
    static const std::string s_ops = "bcCelphgrfn";
    std::string ops;
    for (size_t n = 1 + rnd.Below(8); n > 0; --n)
        ops += s_ops[rnd.Below(s_ops.size())];
    if (rnd.Chance(60))
        return "O" + ops;
    static std::map<std::string, std::string> s_blobs;
    std::string& blob = s_blobs[ops];
    if (blob.empty() && s_blobs.size() < 200) {
        BarApp();
        ForgetState();
        std::string fault;
        Session(false, ops, fault);
        LPBYTE pData = nullptr;
        UINT nBytes = 0;
        if (BarApp().GetProfileBinary(L"CommandBars-Controls", L"Controls", &pData, &nBytes)) {
            blob.assign(reinterpret_cast<const char*>(pData), nBytes);
            delete[] pData;
        }
    }
    static const std::vector<std::string> s_words = {std::string(4, '\0'), std::string(4, '\xff'), "\x01", "\x05", "\xff\xff",
                                                     "CXTPControlComboBox", "CXTPControlButton", "CXTPControlPopup"};
    return "B" + ops + ":" + Mutate(blob, rnd, s_words);
}

std::string FuzzBarState(const std::string& input, CFuzzRandom&)
{
    if (input.empty())
        return "";
    BarApp();
    ForgetState();
    size_t nColon = input[0] == 'B' ? input.find(':') : std::string::npos;
    std::string ops = input.substr(1, nColon == std::string::npos ? std::string::npos : nColon - 1);
    std::string fault;
    std::string first = Session(false, ops, fault);
    if (input[0] == 'B' && nColon != std::string::npos) {
        std::string blob = input.substr(nColon + 1);
        ::SetFileAttributesW(ControlsFile(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(ControlsFile());
        BarApp().WriteProfileInt(L"CommandBars-Controls", L"LoadFromFile", 0);
        BarApp().WriteProfileBinary(L"CommandBars-Controls", L"Controls",
                                    reinterpret_cast<LPBYTE>(const_cast<char*>(blob.data())), static_cast<UINT>(blob.size()));
        first.clear();   // damaged data need not read back as it was; what it loads as must
    }
    std::string previous = first;
    for (int nSession = 2; nSession <= 4 && fault.empty(); nSession++) {
        std::string saved = Session(true, "", fault);
        if (!previous.empty() && saved != previous)
            return "session " + std::to_string(nSession) + " saves another state than session " + std::to_string(nSession - 1) +
                   ": " + FirstDifference(saved, previous);
        previous = saved;
    }
    return fault;
}
