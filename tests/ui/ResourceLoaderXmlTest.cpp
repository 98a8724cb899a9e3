#include "ui/persist/ResourceLoaderXml.h"
#include "ui/uires.h"

#include "UiTestRes.h"
#include "support/LinearTime.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
const UINT kMenu = 500;
const UINT kEmptyMenu = IDR_UITEST_MENU;
const UINT kDialog = 600;
const UINT kPlainDialog = 601;
const UINT kUnconvertibleDialog = IDD_UITEST_DIALOG;
const UINT kFileString = 700;
const UINT kEmptyString = 701;

// Values as attributes; the root says so. The dialog whose font has no multibyte form shadows one of the
// program's.
CString FixtureXml()
{
    CString xml;
    xml.Format(LR"(<?xml version="1.0" encoding="UTF-8"?>
<resource CompactMode="1">
  <string id="%u" value="Interfaccia tradotta"/>
  <string id="%u" value="Barra %%d"/>
  <string id="%u"/>
  <menu id="%u">
    <menuitem caption="&amp;File">
      <menuitem id="100" caption="&amp;Apri"/>
      <menuitem/>
      <menuitem id="65637" caption="&amp;Esci"/>
    </menuitem>
    <menuitem caption="Vuoto"/>
  </menu>
  <menu id="%u"/>
  <dialog id="%u" style="2160066560" styleex="8" position="10, 20, 200, 100" caption="Prova" fontface="Tahoma" fontsize="9">
    <control class="BUTTON" id="1" caption="OK" style="1342242817" position="5, 6, 50, 14"/>
    <control resource="5"/>
  </dialog>
  <dialog id="%u"/>
  <dialog id="%u" fontface="&#x4E2D;"/>
</resource>
)",
               XTP_IDS_TOOLKIT_TITLE, kFileString, kEmptyString, kMenu, kEmptyMenu, kDialog, kPlainDialog,
               kUnconvertibleDialog);
    return xml;
}

class ResourceLoaderXmlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        XTPSetResourceHandle(::GetModuleHandleW(nullptr));
        m_strFile = m_folder.Write(L"risorse.xml", FixtureXml().ToMultiByte(CP_UTF8));
        m_pLoader = std::make_unique<CXTPResourceLoaderXML>(m_strFile);
        ASSERT_TRUE(m_pLoader->IsValid());
    }
    void TearDown() override { XTPSetResourceFile(L""); }

    CString String(UINT nID)
    {
        CString text(L"prima");
        EXPECT_TRUE(m_pLoader->LoadString(&text, nID)) << nID;
        return text;
    }

    CTempFolder m_folder;
    CString m_strFile;
    std::unique_ptr<CXTPResourceLoaderXML> m_pLoader;
};

CString MenuText(HMENU hMenu, UINT nPosition)
{
    WCHAR text[64] = {};
    ::GetMenuStringW(hMenu, nPosition, text, 64, MF_BYPOSITION);
    return text;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

std::vector<WORD> Words(LPCDLGTEMPLATE pTemplate, size_t nWords)
{
    const WORD* p = reinterpret_cast<const WORD*>(pTemplate);
    return std::vector<WORD>(p, p + nWords);
}

// The WORDs of a NUL-terminated wide text.
std::vector<WORD> Text(LPCWSTR lpsz)
{
    std::vector<WORD> words(lpsz, lpsz + std::wcslen(lpsz));
    words.push_back(0);
    return words;
}

std::vector<WORD> Join(std::initializer_list<std::vector<WORD>> parts)
{
    std::vector<WORD> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}
}

TEST_F(ResourceLoaderXmlTest, StringsComeFromTheFileElseFromTheModules)
{
    const struct
    {
        UINT nID;
        LPCTSTR expected;
    } cases[] = {
        {XTP_IDS_TOOLKIT_TITLE, L"Interfaccia tradotta"}, // the file wins over the module
        {kFileString, L"Barra %d"},
        {kEmptyString, L""}, // in the file without a value: empty, not the module's
        {AFX_IDS_APP_TITLE, L"Quarzel08"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.expected), String(c.nID)) << c.nID;

    CString text;
    EXPECT_FALSE(m_pLoader->LoadString(&text, 12345));
}

TEST_F(ResourceLoaderXmlTest, MenusAreBuiltFromNestedItemsInDocumentOrder)
{
    CMenu menu;
    ASSERT_TRUE(m_pLoader->LoadMenu(&menu, kMenu));
    ASSERT_EQ(2u, menu.GetMenuItemCount());
    HMENU hFile = ::GetSubMenu(menu.GetSafeHmenu(), 0);
    ASSERT_NE(nullptr, hFile) << "an item with children is a popup";
    EXPECT_EQ(CString(L"&File"), MenuText(menu.GetSafeHmenu(), 0));

    // An item without id, caption or children is a separator; ids keep 16 bits.
    const struct
    {
        HMENU hMenu;
        UINT nPosition;
        UINT nID;
        BOOL bSeparator;
        LPCTSTR text;
    } items[] = {
        {hFile, 0, 100, FALSE, L"&Apri"},
        {hFile, 1, 0, TRUE, L""},
        {hFile, 2, 101, FALSE, L"&Esci"},
        {menu.GetSafeHmenu(), 1, 0, TRUE, L"Vuoto"},
    };
    for (const auto& item : items) {
        SCOPED_TRACE(item.nPosition);
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
        ASSERT_TRUE(::GetMenuItemInfoW(item.hMenu, item.nPosition, TRUE, &info));
        EXPECT_EQ(item.bSeparator, (info.fType & MFT_SEPARATOR) != 0);
        EXPECT_EQ(item.nID, info.wID);
        EXPECT_EQ(nullptr, info.hSubMenu);
        if (!item.bSeparator) {
            EXPECT_EQ(CString(item.text), MenuText(item.hMenu, item.nPosition));
        }
    }

    // A menu element without items: the program's menu.
    CMenu fallback;
    ASSERT_TRUE(m_pLoader->LoadMenu(&fallback, kEmptyMenu));
    ASSERT_NE(nullptr, fallback.GetSubMenu(0));
    EXPECT_EQ(102u, fallback.GetSubMenu(0)->GetMenuItemID(1));
    CMenu missing;
    EXPECT_FALSE(m_pLoader->LoadMenu(&missing, 12345));
}

TEST_F(ResourceLoaderXmlTest, DialogTemplatesMatchByteForByte)
{
    const std::vector<WORD> dialog = Join({
        {0x0040, 0x80C0, 8, 0, 2, 10, 20, 200, 100, 0, 0}, // DS_SETFONT added; x, y, cx, cy
        Text(L"Prova"),
        {9},
        Text(L"Tahoma"),
        {0}, // to the DWORD boundary
        {0x0001, 0x5001, 0, 0, 5, 6, 50, 14, 1},
        Text(L"BUTTON"),
        Text(L"OK"),
        {0},
        {0x0000, 0x5002, 0, 0, 0, 0, 0, 0, 0xFFFF}, // the control's defaults
        Text(L"STATIC"),
        {0xFFFF, 5}, // an ordinal title, no caption
        {0, 0},
    });
    const std::vector<WORD> plain = Join({
        {0x0040, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        Text(L""),
        {8},
        Text(L"MS Sans Serif"),
        {0},
    });
    const struct
    {
        UINT nID;
        const std::vector<WORD>& expected;
    } cases[] = {{kDialog, dialog}, {kPlainDialog, plain}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nID);
        LPCDLGTEMPLATE pTemplate = m_pLoader->LoadDialogTemplate(c.nID);
        ASSERT_NE(nullptr, pTemplate);
        EXPECT_EQ(c.expected, Words(pTemplate, c.expected.size()));
        EXPECT_EQ(pTemplate, m_pLoader->LoadDialogTemplate(c.nID)) << "the same block from the cache";
    }
}

TEST_F(ResourceLoaderXmlTest, ABuiltTemplateRunsAsADialog)
{
    HWND hDialog = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), m_pLoader->LoadDialogTemplate(kDialog),
                                                nullptr, PlainDialogProc, 0);
    ASSERT_NE(nullptr, hDialog);
    WCHAR text[32] = {};
    ::GetWindowTextW(hDialog, text, 32);
    EXPECT_STREQ(L"Prova", text);
    HWND hButton = ::GetDlgItem(hDialog, 1);
    ASSERT_NE(nullptr, hButton);
    ::GetClassNameW(hButton, text, 32);
    EXPECT_STREQ(L"Button", text);
    ::GetWindowTextW(hButton, text, 32);
    EXPECT_STREQ(L"OK", text);
    ::DestroyWindow(hDialog);
}

TEST_F(ResourceLoaderXmlTest, AFontWithoutAMultibyteFormFallsBackAndCloseForgetsTheFile)
{
    // The program's DIALOGEX (version 1, signature 0xFFFF) rather than a template with a broken face.
    LPCDLGTEMPLATE pTemplate = m_pLoader->LoadDialogTemplate(kUnconvertibleDialog);
    ASSERT_NE(nullptr, pTemplate);
    EXPECT_EQ((std::vector<WORD>{1, 0xFFFF}), Words(pTemplate, 2));

    ASSERT_NE(nullptr, m_pLoader->LoadDialogTemplate(kDialog));
    m_pLoader->Close();
    EXPECT_FALSE(m_pLoader->IsValid());
    EXPECT_EQ(nullptr, m_pLoader->LoadDialogTemplate(kDialog));
    EXPECT_EQ(CString(L"Libreria dell'interfaccia utente"), String(XTP_IDS_TOOLKIT_TITLE));
}

TEST_F(ResourceLoaderXmlTest, AnUnreadableFileKeepsThePreviousLoaderAndItsLibrary)
{
    XTPSetResourceFile(m_strFile);
    CXTPResourceLoader* pXmlLoader = XTPGetResourceLoader();
    ASSERT_NE(nullptr, dynamic_cast<CXTPResourceLoaderXML*>(pXmlLoader));

    const std::string broken[] = {"<resource><string id=\"9001\" value=\"x\"></resource>", "", "\xFF\xFE\x00",
                                  "<?xml version=\"1.6299999999999999999999999999999999999999990\"?><resource/>"};
    for (const std::string& bytes : broken) {
        XTPSetResourceFile(m_folder.Write(L"rotto.xml", bytes));
        EXPECT_EQ(pXmlLoader, XTPGetResourceLoader());
    }
    XTPSetResourceFile(m_folder.File(L"assente.xml"));
    EXPECT_EQ(pXmlLoader, XTPGetResourceLoader());
    CString text;
    XTPGetResourceLoader()->LoadString(&text, XTP_IDS_TOOLKIT_TITLE);
    EXPECT_EQ(CString(L"Interfaccia tradotta"), text);
}

namespace
{
// One dialog of the file, its font size given, as the loader builds it.
std::unique_ptr<CXTPResourceLoaderXML> LoaderOf(const CTempFolder& folder, const std::string& dialog)
{
    std::string xml = "<resource CompactMode=\"1\">" + dialog + "</resource>";
    return std::make_unique<CXTPResourceLoaderXML>(folder.Write(L"dialogo.xml", xml));
}
}

// A point size of 0x7FFF tells the dialog manager that no face name follows, so every control was read two bytes
// off: the file's dialog is not built outside 1..72 (the program's own module has no such dialog, so nothing).
TEST_F(ResourceLoaderXmlTest, APointSizeOutsideOneToSeventyTwoIsNotBuilt)
{
    const struct
    {
        const char* size;
        BOOL bBuilt;
    } cases[] = {{"-32769", FALSE}, {"32767", FALSE}, {"0", FALSE}, {"73", FALSE}, {"-1", FALSE}, {"1", TRUE}, {"72", TRUE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        auto pLoader = LoaderOf(m_folder, std::string("<dialog id=\"602\" fontsize=\"") + c.size +
                                              "\"><control class=\"BUTTON\" id=\"1\" caption=\"OK\"/></dialog>");
        ASSERT_TRUE(pLoader->IsValid());
        LPCDLGTEMPLATE pTemplate = pLoader->LoadDialogTemplate(602);
        EXPECT_EQ(c.bBuilt, pTemplate != nullptr);
        if (!pTemplate)
            continue;
        HWND hDialog = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), pTemplate, nullptr, PlainDialogProc, 0);
        ASSERT_NE(nullptr, hDialog);
        WCHAR text[32] = {};
        ::GetWindowTextW(::GetDlgItem(hDialog, 1), text, 32);
        EXPECT_STREQ(L"OK", text);
        ::DestroyWindow(hDialog);
    }
}

// The control count is a WORD of the template: one control more than it holds is refused rather than wrapped to
// none, and the loader decides in time linear in the controls (making the windows is the dialog manager's part).
TEST_F(ResourceLoaderXmlTest, AsManyControlsAsATemplateHoldsAreBuiltAndMoreAreRefused)
{
    auto loaderWith = [&](size_t nControls) {
        std::string dialog = "<dialog id=\"603\">";
        for (size_t i = 0; i < nControls; i++)
            dialog += "<control class=\"BUTTON\" id=\"" + std::to_string(i + 1) + "\"/>";
        dialog += "</dialog>";
        return LoaderOf(m_folder, dialog);
    };
    const struct
    {
        size_t nControls;
        BOOL bBuilt;
    } cases[] = {{65535, TRUE}, {65536, FALSE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nControls);
        auto pLoader = loaderWith(c.nControls);
        ASSERT_TRUE(pLoader->IsValid());
        LPCDLGTEMPLATE pTemplate = pLoader->LoadDialogTemplate(603);
        ASSERT_EQ(c.bBuilt, pTemplate != nullptr);
        if (pTemplate) {
            EXPECT_EQ(c.nControls, pTemplate->cdit);
        }
    }
    auto pOnce = loaderWith(6553);
    auto pTenfold = loaderWith(65530);
    EXPECT_TRUE(GrowsLinearly([&]() { pOnce->LoadDialogTemplate(603); }, [&]() { pTenfold->LoadDialogTemplate(603); }));
}
