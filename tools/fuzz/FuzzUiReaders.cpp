// Readers of the framework's saved forms: docking layouts in the three stores, the XML resource file and the icon
// stores. What reads is used as the program uses it, written again, and must read back the same from every store.
#include "FuzzReaders.h"

#include "platform/mfc/afxframe.h"
#include "platform/mfc/afxmemfile.h"
#include "platform/mfc/afxmenu.h"
#include "ui/docking/DockingPane.h"
#include "ui/docking/DockingPaneLayout.h"
#include "ui/docking/DockingPaneManager.h"
#include "ui/persist/ImageManager.h"
#include "ui/persist/PropExchangeArchive.h"
#include "ui/persist/PropExchangeIni.h"
#include "ui/persist/PropExchangeRegistry.h"
#include "ui/persist/PropExchangeXml.h"
#include "ui/persist/ResourceLoaderXml.h"

#include <algorithm>
#include <cwchar>
#include <memory>

namespace
{
// Stores that live in a file (ScratchFile) or in the registry use one place per process, emptied before each use.
// A key of its own, emptied; closed by the caller.
HKEY ScratchKey()
{
    CString strKey;
    strKey.Format(L"Software\\QuarzelFuzz\\%lu", ::GetCurrentProcessId());
    AfxDelRegTreeHelper(HKEY_CURRENT_USER, strKey);
    HKEY hKey = nullptr;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, strKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr);
    return hKey;
}

std::string ArchiveBytes(const std::function<void(CXTPPropExchange*)>& exchange)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        CXTPPropExchangeArchive px(ar);
        exchange(&px);
        ar.Close();
    }
    UINT nLength = static_cast<UINT>(file.GetLength());
    BYTE* pData = file.Detach();
    std::string bytes(reinterpret_cast<const char*>(pData), nLength);
    free(pData);
    return bytes;
}

// Loads from archive bytes; FALSE when the archive raised its exception.
BOOL FromArchiveBytes(const std::string& bytes, const std::function<BOOL(CXTPPropExchange*)>& exchange)
{
    CMemFile file(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    try {
        CXTPPropExchangeArchive px(ar);
        BOOL bResult = exchange(&px);
        ar.Close();
        return bResult;
    } catch (CArchiveException* e) {
        e->Delete();
        return FALSE;
    }
}

CString XmlText(LPCTSTR lpszRoot, const std::function<void(CXTPPropExchange*)>& exchange)
{
    CXTPPropExchangeXMLNode px(FALSE, nullptr, lpszRoot);
    px.SetCompactMode(TRUE);
    exchange(&px);
    return px.GetXML();
}

BOOL FromXmlText(LPCTSTR lpszRoot, const CString& strXml, const std::function<BOOL(CXTPPropExchange*)>& exchange)
{
    CXTPPropExchangeXMLNode px(TRUE, nullptr, lpszRoot);
    return px.LoadFromString(strXml) && px.OnBeforeExchange() && exchange(&px);
}

CString Utf8(const std::string& s) { return CString::FromMultiByte(s.data(), static_cast<int>(s.size()), CP_UTF8); }

// ---- docking layouts

class CLayoutFrame : public CFrameWnd
{
public:
    CXTPDockingPaneManager m_paneManager;
};

// One hidden frame for the whole run: the layouts are applied to its manager one after another.
CXTPDockingPaneManager& LayoutManager()
{
    static CLayoutFrame* s_pFrame = [] {
        auto* pFrame = new CLayoutFrame;
        pFrame->CreateEx(0, AfxRegisterWndClass(0), L"docking", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                         CRect(0, 0, 640, 480), nullptr, 0);
        pFrame->m_paneManager.InstallDockingPanes(pFrame);
        return pFrame;
    }();
    return s_pFrame->m_paneManager;
}

// A layout's saved form in each store, and a read of each into a new layout (released by the caller).
enum LayoutStore
{
    layoutXml,
    layoutRegistry,
    layoutArchive
};
const char* const s_layoutStores[] = {"XML", "registry", "archive"};

CString LayoutXml(CXTPDockingPaneLayout* pLayout)
{
    return XmlText(L"DockingPaneLayouts", [&](CXTPPropExchange* px) {
        CXTPPropExchangeSection sec(px, L"NormalLayout");
        pLayout->DoPropExchange(sec.Get());
    });
}

BOOL ReadLayoutXml(CXTPDockingPaneLayout* pLayout, const CString& strXml)
{
    return FromXmlText(L"DockingPaneLayouts", strXml, [&](CXTPPropExchange* px) {
        CXTPPropExchangeSection sec(px, L"NormalLayout");
        return sec.Get() && sec->OnBeforeExchange() && pLayout->DoPropExchange(sec.Get());
    });
}

BOOL ReadLayoutRegistry(CXTPDockingPaneLayout* pLayout, HKEY hKey)
{
    CXTPPropExchangeRegistry px(TRUE, hKey, L"NormalLayout");
    return pLayout->DoPropExchange(&px);
}

// The keys a saved layout can hold, for copying an XML layout into the registry as the registry holds one.
void CopySection(CXTPPropExchange* pFrom, CXTPPropExchange* pTo)
{
    static const LPCTSTR s_keys[] = {L"Panes", L"TopContainer", L"Client", L"Type", L"DockingCX", L"DockingCY", L"Title",
                                     L"ID", L"IconID", L"Options", L"DockingHolder", L"FloatingHolder", L"LastHolder",
                                     L"MinTrackX", L"MinTrackY", L"MaxTrackX", L"MaxTrackY", L"Horiz", L"Selected",
                                     L"Direction", L"Collapsed", L"ExpandedHeight", L"TopContaner", L"WindowRectTopPos",
                                     L"WindowRectBottomPos", L"WindowRectLeftPos", L"WindowRectRightPos", L"Pane-1",
                                     L"Pane-2", L"Pane-3", L"Pane-4", L"Pane-5"};
    pTo->UseDefaultOnSave(FALSE);
    for (LPCTSTR lpszKey : s_keys) {
        CString strValue;
        ExchangeString(pFrom, lpszKey, strValue, L"\x01");
        if (strValue == L"\x01")
            continue;
        LPWSTR pszEnd = nullptr;
        long nValue = std::wcstol(strValue, &pszEnd, 10);
        if (!strValue.IsEmpty() && *pszEnd == 0) {
            int n = static_cast<int>(nValue);
            ExchangeInt(pTo, lpszKey, n);
        } else {
            ExchangeString(pTo, lpszKey, strValue);
        }
    }
}

void CopyLayoutToRegistry(const CString& strXml, HKEY hKey)
{
    CXTPPropExchangeXMLNode from(TRUE, nullptr, L"DockingPaneLayouts");
    if (!from.LoadFromString(strXml))
        return;
    CXTPPropExchangeSection layout(&from, L"NormalLayout");
    CXTPPropExchangeRegistry to(FALSE, hKey, L"NormalLayout");
    for (int i = 0; i <= 64; i++) {
        CString strSection = L"Summary";
        if (i > 0)
            strSection.Format(L"Pane-%d", i);
        CXTPPropExchangeSection secFrom(layout.Get(), strSection);
        CXTPPropExchangeSection secTo(&to, strSection);
        CopySection(secFrom.Get(), secTo.Get());
    }
}

// The program's use of a layout read: applied, some panes floated, the closed ones shown again at their last
// holder; then the saved form must read back from every store and write itself again unchanged.
std::string ExerciseLayout(CXTPDockingPaneLayout* pLoaded)
{
    CXTPDockingPaneManager& manager = LayoutManager();
    manager.SetLayout(pLoaded);
    std::vector<UINT> open, closed;
    for (const XTP_DOCKINGPANE_INFO& info : manager.GetCurrentLayout()->GetPaneList())
        (info.pPane->IsClosed() ? closed : open).push_back(info.pPane->GetID());
    for (size_t i = 0; i < open.size(); i += 2)
        manager.FloatPane(manager.FindPane(open[i]), CRect(100, 100, 300, 250));
    for (UINT nID : closed)
        manager.ShowPane(nID);

    CXTPDockingPaneLayout* pNow = manager.CreateLayout();
    manager.GetLayout(pNow);
    CString strSaved = LayoutXml(pNow);
    std::string archive = ArchiveBytes([&](CXTPPropExchange* px) { pNow->DoPropExchange(px); });
    HKEY hKey = ScratchKey();
    {
        CXTPPropExchangeRegistry px(FALSE, hKey, L"NormalLayout");
        pNow->DoPropExchange(&px);
    }
    pNow->InternalRelease();

    std::string fault;
    for (int nStore : {layoutXml, layoutRegistry, layoutArchive}) {
        CXTPDockingPaneLayout* pBack = manager.CreateLayout();
        BOOL bRead = nStore == layoutXml        ? ReadLayoutXml(pBack, strSaved)
                     : nStore == layoutRegistry ? ReadLayoutRegistry(pBack, hKey)
                                                : FromArchiveBytes(archive, [&](CXTPPropExchange* px) { return pBack->DoPropExchange(px); });
        if (!bRead)
            fault = std::string("the layout saved does not read back from the ") + s_layoutStores[nStore];
        else if (LayoutXml(pBack) != strSaved)
            fault = std::string("the layout saved reads back different from the ") + s_layoutStores[nStore];
        pBack->InternalRelease();
        if (!fault.empty())
            break;
    }
    ::RegCloseKey(hKey);
    manager.ResetLayout();
    return fault;
}

std::string SampleLayout(int nSample)
{
    CXTPDockingPaneManager& manager = LayoutManager();
    manager.ResetLayout();
    auto create = [&](UINT nID, int nDirection) { return manager.CreatePane(nID, CRect(0, 0, 200, 120), nDirection); };
    create(4000, xtpPaneDockLeft)->SetTitle(L"Navigazione\nAlbero");
    create(4001, xtpPaneDockRight);
    if (nSample > 0) {
        create(4002, xtpPaneDockBottom);
        manager.AttachPane(manager.FindPane(4002), manager.FindPane(4001));
        create(4003, xtpPaneDockBottom);
        manager.FloatPane(manager.FindPane(4003), CRect(300, 200, 520, 360));
        create(4004, xtpPaneDockTop);
        manager.HidePane(manager.FindPane(4004));
        create(4005, xtpPaneDockRight);
        manager.ClosePane(manager.FindPane(4005));
    }
    CXTPDockingPaneLayout* pLayout = manager.CreateLayout();
    manager.GetLayout(pLayout);
    std::string xml = LayoutXml(pLayout).ToMultiByte(CP_UTF8);
    pLayout->InternalRelease();
    manager.ResetLayout();
    return xml;
}
} // namespace

// "X" and a layout in XML (read from the XML store, and copied into the registry as the registry holds one), or
// "A" and a layout's archive form.
std::string GenerateLayout(CFuzzRandom& rnd)
{
    static const std::string s_samples[] = {SampleLayout(0), SampleLayout(1)};
    static const std::vector<std::string> s_words = {
        "<Pane-7 Type=\"1\"/>", "<Pane-8 Type=\"0\" ID=\"4000\"/>", " LastHolder=\"4\"", " DockingHolder=\"5\"",
        " FloatingHolder=\"3\"", " Selected=\"2\"", " Panes=\"3\"", " Pane-2=\"1\"", " Type=\"5\"", " Direction=\"1\"",
        " TopContaner=\"2\"", " ID=\"4001\"", " Horiz=\"1\"", "\"0\"", "\"-1\"", "\"2147483647\"", "<", "/>", "\""};
    bool bArchive = rnd.Chance(30);
    std::string sample = s_samples[rnd.Below(2)];
    if (!bArchive)
        return "X" + Mutate(sample, rnd, s_words);
    CXTPDockingPaneLayout* pLayout = LayoutManager().CreateLayout();
    ReadLayoutXml(pLayout, Utf8(sample));
    std::string bytes = ArchiveBytes([&](CXTPPropExchange* px) { pLayout->DoPropExchange(px); });
    pLayout->InternalRelease();
    static const std::vector<std::string> s_bytes = {std::string(4, '\0'), std::string(4, '\xff'), "\x01", "\x05", "\x02\0\0\0"};
    return "A" + Mutate(bytes, rnd, s_bytes);
}

std::string FuzzLayout(const std::string& input, CFuzzRandom&)
{
    if (input.empty())
        return "";
    std::string body = input.substr(1);
    std::string fault;
    CXTPDockingPaneManager& manager = LayoutManager();
    for (int nStore : {layoutXml, layoutRegistry, layoutArchive}) {
        if ((input[0] == 'A') != (nStore == layoutArchive))
            continue;
        CXTPDockingPaneLayout* pLayout = manager.CreateLayout();
        BOOL bRead = FALSE;
        if (nStore == layoutXml) {
            bRead = ReadLayoutXml(pLayout, Utf8(body));
        } else if (nStore == layoutRegistry) {
            HKEY hKey = ScratchKey();
            CopyLayoutToRegistry(Utf8(body), hKey);
            bRead = ReadLayoutRegistry(pLayout, hKey);
            ::RegCloseKey(hKey);
        } else {
            bRead = FromArchiveBytes(body, [&](CXTPPropExchange* px) { return pLayout->DoPropExchange(px); });
        }
        if (bRead)
            fault = ExerciseLayout(pLayout);
        pLayout->InternalRelease();
        if (!fault.empty())
            return fault + " (read from the " + s_layoutStores[nStore] + ")";
    }
    return "";
}

// ---- the XML resource file

namespace
{
const UINT kFuzzDialogs[] = {31001, 31002, 31003};

// A dialog template read as the dialog manager reads it: its font, the controls it walks through and those of them
// whose class no one registered.
struct CTemplateReading
{
    WORD wPointSize = 0;
    size_t nControls = 0;
    size_t nUnregistered = 0;
};

const WORD* SkipText(const WORD* p)
{
    while (*p)
        ++p;
    return p + 1;
}

// A menu, class or title: 0, an ordinal (0xFFFF and a WORD) or a text.
const WORD* SkipNameOrOrdinal(const WORD* p)
{
    return *p == 0xFFFF ? p + 2 : SkipText(p);
}

CTemplateReading ReadTemplate(LPCDLGTEMPLATE pTemplate)
{
    CTemplateReading reading;
    const WORD* p = reinterpret_cast<const WORD*>(pTemplate + 1);
    p = SkipNameOrOrdinal(p);   // menu
    p = SkipNameOrOrdinal(p);   // class
    p = SkipText(p);            // caption
    if (pTemplate->style & DS_SETFONT) {
        reading.wPointSize = *p++;
        if (reading.wPointSize != 0x7FFF)
            p = SkipText(p);
    }
    for (WORD i = 0; i < pTemplate->cdit; i++) {
        auto* pItem = reinterpret_cast<const DLGITEMTEMPLATE*>((reinterpret_cast<UINT_PTR>(p) + 3) & ~UINT_PTR(3));
        reading.nControls++;
        p = reinterpret_cast<const WORD*>(pItem + 1);
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        if (*p != 0xFFFF && !::GetClassInfoExW(::GetModuleHandleW(nullptr), reinterpret_cast<LPCWSTR>(p), &wc))
            reading.nUnregistered++;
        p = SkipNameOrOrdinal(p);   // class
        p = SkipNameOrOrdinal(p);   // title
        p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p + 1) + *p);   // creation data
    }
    return reading;
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

std::string CheckDialog(CXTPResourceLoaderXML& loader, UINT nID)
{
    LPCDLGTEMPLATE pTemplate = loader.LoadDialogTemplate(nID);
    if (!pTemplate)
        return "";
    if (loader.LoadDialogTemplate(nID) != pTemplate)
        return "a dialog built twice";
    CTemplateReading reading = ReadTemplate(pTemplate);
    if (reading.wPointSize < 1 || reading.wPointSize > 72)
        return "a dialog template with a point size of " + std::to_string(reading.wPointSize);
    HWND hDialog = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), pTemplate, nullptr, QuietDialogProc, 0);
    if (!hDialog)
        return "";   // a control of a class nobody registered, a child dialog without a parent ...
    // The count only: a control whose style the file made a popup has no id and stands elsewhere in the order.
    size_t nControls = 0;
    for (HWND hChild = ::GetWindow(hDialog, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        nControls++;
    ::DestroyWindow(hDialog);
    // A dialog that may not fail its creation leaves out the controls it cannot make: those of no class.
    if (pTemplate->style & DS_NOFAILCREATE)
        reading.nControls -= reading.nUnregistered;
    if (nControls != reading.nControls)
        return "a dialog made with " + std::to_string(nControls) + " controls from a template of " +
               std::to_string(reading.nControls);
    return "";
}
} // namespace

std::string GenerateResourceFile(CFuzzRandom& rnd)
{
    static const std::string s_sample = R"(<?xml version="1.0" encoding="UTF-8"?>
<resource CompactMode="1">
  <string id="31001" value="Interfaccia tradotta"/>
  <menu id="31001"><menuitem caption="&amp;File"><menuitem id="100" caption="&amp;Apri"/><menuitem/></menuitem></menu>
  <dialog id="31001" style="2160066560" styleex="8" position="10, 20, 200, 100" caption="Prova" fontface="Tahoma" fontsize="9">
    <control class="BUTTON" id="1" caption="OK" style="1342242817" position="5, 6, 50, 14"/>
    <control class="EDIT" id="2" style="1350631552"/>
    <control resource="5"/>
  </dialog>
  <dialog id="31002"/>
  <dialog id="31003" fontsize="8"><control class="STATIC" caption="è"/></dialog>
</resource>
)";
    static const std::vector<std::string> s_words = {
        "<control class=\"BUTTON\" id=\"7\" caption=\"x\"/>", "<control/>", " fontsize=\"-32769\"", " fontsize=\"32767\"",
        " fontsize=\"0\"", " fontsize=\"72\"", " fontface=\"\"", " id=\"65536\"", " resource=\"-1\"", " style=\"1073741824\"",
        " style=\"2160590864\"", " class=\"Nessuna\"",
        " class=\"\"", " caption=\"&#x4E2D;\"", " position=\"-1, 70000, 0\"", "<menuitem/>", "<menuitem id=\"5\">",
        "</menuitem>", "\"", "<", ">", "/>"};
    return Mutate(s_sample, rnd, s_words);
}

// Every string, menu and dialog of the file: a dialog template reads as the dialog manager reads it, and the
// dialog made from it holds the controls the template says, in their order.
std::string FuzzResourceFile(const std::string& input, CFuzzRandom&)
{
    auto* pNode = new CXTPPropExchangeXMLNode(TRUE, nullptr, L"resource");
    if (!pNode->LoadFromString(Utf8(input))) {
        pNode->InternalRelease();
        return "";
    }
    CXTPResourceLoaderXML loader(pNode);
    if (!loader.IsValid())
        return "";
    for (UINT nID : kFuzzDialogs) {
        CString strText;
        loader.LoadString(&strText, nID);
        CMenu menu;
        if (loader.LoadMenu(&menu, nID) && !menu.GetSafeHmenu())
            return "a menu loaded without a handle";
        std::string fault = CheckDialog(loader, nID);
        if (!fault.empty())
            return fault;
    }
    return "";
}

// ---- icon stores

namespace
{
HICON SolidIcon(int cx, int cy, COLORREF clr)
{
    std::vector<DWORD> pixels(static_cast<size_t>(cx) * cy, clr | 0xFF000000);
    HBITMAP hColor = ::CreateBitmap(cx, cy, 1, 32, pixels.data());
    HBITMAP hMask = ::CreateBitmap(cx, cy, 1, 1, nullptr);
    ICONINFO info = {TRUE, 0, 0, hMask, hColor};
    HICON hIcon = ::CreateIconIndirect(&info);
    ::DeleteObject(hColor);
    ::DeleteObject(hMask);
    return hIcon;
}

enum IconStore
{
    iconArchive,
    iconRegistry,
    iconXml,
    iconIni
};
const char* const s_iconStores[] = {"archive", "registry", "XML", "INI"};
const char s_iconMarks[] = "ARXI";

// Saves the manager into the store and answers the stored form (the registry keeps its own, under the key).
std::string SaveIcons(CXTPImageManager& images, int nStore, HKEY hKey)
{
    auto exchange = [&](CXTPPropExchange* px) { images.DoPropExchange(px); };
    switch (nStore) {
    case iconArchive: return ArchiveBytes(exchange);
    case iconRegistry: {
        CXTPPropExchangeRegistry px(FALSE, hKey, L"Icons");
        exchange(&px);
        return "";
    }
    case iconXml: return XmlText(L"Icons", exchange).ToMultiByte(CP_UTF8);
    default: {
        CString strFile = ScratchFile(L"icone.ini");
        ::DeleteFileW(strFile);
        CXTPPropExchangeIniFile px(FALSE, nullptr, L"Icons");
        exchange(&px);
        px.SaveToFile(strFile);
        std::string text;
        ReadInput(strFile, text);
        return text;
    }
    }
}

// Loads the stored form into the manager; FALSE when the store refused it.
BOOL LoadIcons(CXTPImageManager& images, int nStore, const std::string& stored, HKEY hKey)
{
    auto exchange = [&](CXTPPropExchange* px) {
        images.DoPropExchange(px);
        return TRUE;
    };
    try {
        switch (nStore) {
        case iconArchive: return FromArchiveBytes(stored, exchange);
        case iconRegistry: {
            CXTPPropExchangeRegistry px(TRUE, hKey, L"Icons");
            return exchange(&px);
        }
        case iconXml: return FromXmlText(L"Icons", Utf8(stored), exchange);
        default: {
            CString strFile = ScratchFile(L"icone.ini");
            if (!WriteInput(strFile, stored))
                return FALSE;
            CXTPPropExchangeIniFile px(TRUE, nullptr, L"Icons");
            return px.LoadFromFile(strFile) && exchange(&px);
        }
        }
    } catch (CArchiveException* e) {
        e->Delete();
        return FALSE;
    }
}
// The manager's archive form after one more load: each load turns round the order of the sets that share a
// bucket of the manager's map, so the same icons save in the same order every second time.
std::string ReloadedArchive(CXTPImageManager& images)
{
    CXTPImageManager again;
    LoadIcons(again, iconArchive, SaveIcons(images, iconArchive, nullptr), nullptr);
    return SaveIcons(again, iconArchive, nullptr);
}
} // namespace

// A store's mark ("A" archive, "X" XML, "I" INI) and a stored icon manager, mutated.
std::string GenerateIcons(CFuzzRandom& rnd)
{
    static const std::vector<std::string> s_samples = [] {
        CXTPImageManager images;
        const COLORREF colours[] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)};
        for (int i = 0; i < 3; i++) {
            HICON hIcon = SolidIcon(16 + 8 * i, 15 + 8 * i, colours[i]);
            images.SetIcon(CXTPImageManagerIconHandle(hIcon), 120 + i, CSize(0, 0), i == 2 ? xtpImageHot : xtpImageNormal);
            images.SetIcon(CXTPImageManagerIconHandle(hIcon), 120, CSize(0, 0), i == 1 ? xtpImageDisabled : xtpImageNormal);
            ::DestroyIcon(hIcon);
        }
        std::vector<std::string> samples;
        for (int nStore : {iconArchive, iconXml, iconIni})
            samples.push_back(s_iconMarks[nStore] + SaveIcons(images, nStore, nullptr));
        return samples;
    }();
    static const std::vector<std::string> s_words = {"Count=", "Width=", "Icon0", "IconSet0", "\r\n[Icons\\IconSet0\\Icon0]\r\n",
                                                     "Count=\"1\"", "Width=\"16\"", std::string(4, '\0'), std::string(4, '\xff'),
                                                     "=", "[", "]", "<", "/>"};
    const std::string& sample = rnd.Pick(s_samples);
    return sample.substr(0, 1) + Mutate(sample.substr(1), rnd, s_words);
}

// What a store reads is saved in every store and must read back from each as the same icons.
std::string FuzzIcons(const std::string& input, CFuzzRandom&)
{
    const char* pMark = input.empty() ? nullptr : std::strchr(s_iconMarks, input[0]);
    if (!pMark || !input[0])
        return "";
    CXTPImageManager images;
    if (!LoadIcons(images, static_cast<int>(pMark - s_iconMarks), input.substr(1), nullptr))
        return "";
    std::string expected = SaveIcons(images, iconArchive, nullptr);   // the order of two loads later
    std::string fault;
    HKEY hKey = ScratchKey();
    for (int nStore : {iconArchive, iconRegistry, iconXml, iconIni}) {
        CXTPImageManager back;
        if (!LoadIcons(back, nStore, SaveIcons(images, nStore, hKey), hKey))
            fault = std::string("the icons saved do not read back from the ") + s_iconStores[nStore];
        else if (std::string again = ReloadedArchive(back); again != expected)
            fault = std::string("the icons saved read back different from the ") + s_iconStores[nStore] + ": " +
                    std::to_string(again.size()) + " bytes against " + std::to_string(expected.size()) + ", from byte " +
                    std::to_string(std::mismatch(again.begin(), again.end(), expected.begin(), expected.end()).first - again.begin());
        if (!fault.empty())
            break;
    }
    ::RegCloseKey(hKey);
    return fault;
}
