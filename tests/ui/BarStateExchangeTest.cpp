// The bars' saved form: the archive that SaveBarState keeps, walked key by key in the documented order for a
// toolbar, a button and a combo box; the whole set (bars, places, icons, shortcuts, options) through every store;
// damaged whole-set data refused with the bars, icons and options left as they were; counts beyond the stored data
// refused by every store; a combo's list, an emptied template set; a popup's check boxes and tear-off strip.
#include "FrameTestSupport.h"
#include "IconPixels.h"
#include "PropExchangeStores.h"

#include "ui/commandbars/XTPCommandBarList.h"
#include "ui/commandbars/XTPControlComboBox.h"
#include "ui/commandbars/XTPControlSelector.h"
#include "ui/commandbars/XTPControlLists.h"
#include "ui/commandbars/XTPDockState.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/commandbars/XTPShortcutManager.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/themes/BarPainter.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace
{
const LPCTSTR kCompany = L"QuarzelTestsBarExchange";
const LPCTSTR kProfile = L"CommandBars";

class BarStateExchangeTest : public ::testing::Test
{
protected:
    BarStateExchangeTest() { m_app.SetRegistryKey(kCompany); }
    ~BarStateExchangeTest() override { AfxDelRegTreeHelper(HKEY_CURRENT_USER, CString(L"Software\\") + kCompany); }

    template <class F>
    void WithFrame(F action)
    {
        CTestFrame* pFrame = CreateTestFrame();
        ASSERT_NE(nullptr, pFrame);
        action(pFrame);
        pFrame->DestroyWindow();
        PumpFrame(nullptr);
    }

    CWinApp m_app {L"ProvaScambio"};
};

// Reads the next value of a loading archive exchange as the given type and compares it.
template <class T>
void Expect(CXTPPropExchange* pPX, LPCTSTR pszName, BOOL (*exchange)(CXTPPropExchange*, LPCTSTR, T&), T expected)
{
    T value {};
    ASSERT_TRUE(exchange(pPX, pszName, value)) << std::wstring(pszName);
    EXPECT_TRUE(value == expected) << std::wstring(pszName);
}

// The keys every control writes, in their order, with the values the test gave the control.
void ExpectControlKeys(CXTPPropExchange* pPX, int nType, int nId)
{
    Expect<int>(pPX, L"Type", ExchangeInt, nType);
    Expect<int>(pPX, L"Id", ExchangeInt, nId);
    Expect<int>(pPX, L"IconId", ExchangeInt, 7);
    Expect<BOOL>(pPX, L"BeginGroup", ExchangeBool, TRUE);
    Expect<long>(pPX, L"Tag", ExchangeLong, 42);
    Expect<long>(pPX, L"Flags", ExchangeLong, 0x10);
    Expect<long>(pPX, L"HideFlags", ExchangeLong, 0);
    Expect<CString>(pPX, L"Caption", ExchangeString, CString(L"Apri"));
    Expect<CString>(pPX, L"ShortcutText", ExchangeString, CString(L"Ctrl+A"));
    Expect<CString>(pPX, L"TooltipText", ExchangeString, CString(L"Suggerimento"));
    Expect<CString>(pPX, L"DescriptionText", ExchangeString, CString(L"Descrizione"));
    Expect<CString>(pPX, L"Parameter", ExchangeString, CString(L"P"));
    Expect<int>(pPX, L"CustomIconId", ExchangeInt, 0);
    Expect<CString>(pPX, L"CustomCaption", ExchangeString, CString(L"Mia"));
    Expect<CString>(pPX, L"Category", ExchangeString, CString(L"Archivio"));
    CXTPDocTemplateSet excluded, assigned;
    ASSERT_TRUE(ExchangeSerialize(pPX, L"DocTemplatesExcluded", &excluded));
    EXPECT_EQ(std::set<UINT>({128}), excluded.m_setIds);
    ASSERT_TRUE(ExchangeSerialize(pPX, L"DocTemplatesAssigned", &assigned));
    EXPECT_TRUE(assigned.m_setIds.empty());
    Expect<BOOL>(pPX, L"DefaultItem", ExchangeBool, TRUE);
    Expect<BOOL>(pPX, L"CloseSubMenuOnClick", ExchangeBool, FALSE);
    Expect<int>(pPX, L"CustomStyle", ExchangeInt, 2);
}

void FillControl(CXTPControl* pControl)
{
    pControl->SetIconId(7);
    pControl->SetBeginGroup(TRUE);
    pControl->SetTag(42);
    pControl->SetFlags(0x10);
    pControl->SetCaption(CString(L"Apri"));
    pControl->SetShortcutText(L"Ctrl+A");
    pControl->SetPrompt(L"Descrizione\nSuggerimento");
    pControl->SetParameter(L"P");
    pControl->SetCustomCaption(L"Mia");
    pControl->SetCategory(L"Archivio");
    pControl->GetDocTemplatesExcluded().insert(128);
    pControl->SetDefaultItem(TRUE);
    pControl->SetCloseSubMenuOnClick(FALSE);
    pControl->SetCustomStyle(2);
}
}

// The program's toolbar changed into a button and a combo box: the saved archive holds the toolbar's keys, then
// each control's, in the documented order.
TEST_F(BarStateExchangeTest, SavedArchiveHoldsTheKeysInTheirOrder)
{
    std::vector<BYTE> arrData;
    UINT nBarId = 0;
    WithFrame([&](CTestFrame* pFrame) {
        CXTPToolBar* pBar = pFrame->GetToolBar();
        nBarId = pBar->GetBarID();
        CXTPControls* pControls = pBar->GetControls();
        for (int i = pControls->GetCount() - 1; i >= 0; --i)
            pControls->Remove(pControls->GetAt(i));
        CXTPControl* pButton = pControls->Add(xtpControlButton, ID_FT_OPEN);
        FillControl(pButton);
        pButton->SetStyle(3);
        auto* pCombo = static_cast<CXTPControlComboBox*>(pControls->Add(xtpControlComboBox, ID_FT_LONG));
        FillControl(pCombo);
        pCombo->SetStyle(1);
        pCombo->SetDropDown(FALSE);
        pCombo->SetWidth(150);
        pCombo->SetComboStyle(1);
        pCombo->SetEditHint(L"Cerca");
        pCombo->SetAutoComplete(TRUE);
        pCombo->SetEditIconId(9);
        pCombo->SetDropDownItemCount(5);
        pBar->SetTitle(L"Standard");
        pFrame->GetCommandBars()->SaveBarState(kProfile);
        LPBYTE pData = nullptr;
        UINT nBytes = 0;
        ASSERT_TRUE(m_app.GetProfileBinary(L"CommandBars-Controls", L"Controls", &pData, &nBytes));
        arrData.assign(pData, pData + nBytes);
        delete[] pData;
    });
    ASSERT_FALSE(arrData.empty());

    CArchiveBacking backing;
    backing.m_bytes = arrData;
    backing.Load([&](CXTPPropExchange* pPX) {
        CXTPPropExchangeSection bars(pPX, L"CommandBars");
        CXTPPropExchangeEnumerator barList(bars.Get(), L"CommandBar");
        POSITION posBar = barList.GetPosition();
        ASSERT_NE(nullptr, posBar);
        CXTPPropExchangeSection bar(barList.GetNext(posBar));
        CRuntimeClass* pClass = nullptr;
        ASSERT_TRUE(bar->ExchangeRuntimeClass(L"Class", pClass, RUNTIME_CLASS(CXTPCommandBar)));
        EXPECT_EQ(RUNTIME_CLASS(CXTPToolBar), pClass);
        Expect<int>(&bar, L"Type", ExchangeInt, static_cast<int>(xtpBarTypeNormal));
        Expect<int>(&bar, L"Position", ExchangeInt, static_cast<int>(xtpBarTop));
        Expect<long>(&bar, L"BarID", ExchangeLong, static_cast<long>(nBarId));
        long nFlags = 0, nStyle = 0;
        ASSERT_TRUE(ExchangeLong(&bar, L"Flags", nFlags));
        ASSERT_TRUE(ExchangeLong(&bar, L"Style", nStyle));
        Expect<CString>(&bar, L"Title", ExchangeString, CString(L"Standard"));
        Expect<BOOL>(&bar, L"Customizable", ExchangeBool, TRUE);
        int nMRUWidth = 0;
        ASSERT_TRUE(ExchangeInt(&bar, L"MRUWidth", nMRUWidth));
        CSize szIcons;
        ASSERT_TRUE(bar->ExchangeValue(L"IconSize", VT_EX_SIZE, &szIcons));
        {
            CXTPPropExchangeSection controls(bar.Get(), L"Controls");
            CXTPPropExchangeEnumerator controlList(controls.Get(), L"Control");
            POSITION pos = controlList.GetPosition();
            {
                CXTPPropExchangeSection control(controlList.GetNext(pos));
                ASSERT_TRUE(control->ExchangeRuntimeClass(L"Class", pClass, RUNTIME_CLASS(CXTPControl)));
                EXPECT_EQ(RUNTIME_CLASS(CXTPControlButton), pClass);
                ExpectControlKeys(control.Get(), xtpControlButton, ID_FT_OPEN);
                Expect<int>(&control, L"Style", ExchangeInt, 3);
            }
            ASSERT_NE(nullptr, pos);
            {
                CXTPPropExchangeSection control(controlList.GetNext(pos));
                ASSERT_TRUE(control->ExchangeRuntimeClass(L"Class", pClass, RUNTIME_CLASS(CXTPControl)));
                EXPECT_EQ(RUNTIME_CLASS(CXTPControlComboBox), pClass);
                ExpectControlKeys(control.Get(), xtpControlComboBox, ID_FT_LONG);
                long nListId = 0;
                ASSERT_TRUE(ExchangeLong(&control, L"CommandBarId", nListId));
                EXPECT_EQ(0x1000000, nListId);
                Expect<int>(&control, L"Style", ExchangeInt, 1);
                Expect<BOOL>(&control, L"DropDown", ExchangeBool, FALSE);
                Expect<int>(&control, L"Width", ExchangeInt, 150);
                Expect<int>(&control, L"ComboStyle", ExchangeInt, 1);
                Expect<CString>(&control, L"EditHint", ExchangeString, CString(L"Cerca"));
                Expect<DWORD>(&control, L"ShellAutoCompleteFlags", ExchangeDWord, 0);
                Expect<BOOL>(&control, L"AutoComplete", ExchangeBool, TRUE);
                Expect<int>(&control, L"EditIconId", ExchangeInt, 9);
                Expect<int>(&control, L"DropDownItemCount", ExchangeInt, 5);
            }
            EXPECT_EQ(nullptr, pos);
            Expect<BOOL>(&controls, L"OriginalControls", ExchangeBool, TRUE);
            auto* pOriginal = new CXTPControls;
            {
                CXTPPropExchangeSection original(controls.Get(), L"OriginalControls");
                pOriginal->DoPropExchange(original.Get());
            }
            EXPECT_LT(2, OwnCount(pOriginal));
            pOriginal->InternalRelease();
            Expect<BOOL>(&controls, L"CustomizedControls", ExchangeBool, FALSE);
        }
        Expect<BOOL>(&bar, L"BuiltIn", ExchangeBool, TRUE);
        Expect<BOOL>(&bar, L"TearOff", ExchangeBool, FALSE);
        Expect<BOOL>(&bar, L"Closeable", ExchangeBool, TRUE);
        Expect<BOOL>(&bar, L"ContextMenuPresent", ExchangeBool, TRUE);
    });
}

namespace
{
const std::vector<int> kStores = {0, 1, 2, 3, 4};
std::unique_ptr<CStoreBacking> MakeBacking(int nStore)
{
    switch (nStore) {
    case 0: return std::make_unique<CArchiveBacking>();
    case 1: return std::make_unique<CRegistryBacking>();
    case 2: return std::make_unique<CXmlBacking>(TRUE);
    case 3: return std::make_unique<CXmlBacking>(FALSE);
    default: return std::make_unique<CIniBacking>();
    }
}

CXTPCommandBarsExchangeParam WholeSet()
{
    CXTPCommandBarsExchangeParam param;
    param.bSerializeControls = TRUE;
    param.bSerializeImages = TRUE;
    param.bSerializeOptions = TRUE;
    return param;
}

const UINT kIconCommand = 31500;

// What a frame shows of what the whole-set test changed, to compare two frames.
struct SHOWN
{
    std::vector<int> arrIds;           // the Standard toolbar's controls
    std::vector<std::wstring> arrCombo;
    int nPosition = 0;
    BOOL bMineVisible = FALSE;
    int nMineCount = 0;
    COLORREF clrIcon = 0;
    int nTheme = 0;
    BOOL bLargeIcons = FALSE;
    bool operator==(const SHOWN& o) const
    {
        return arrIds == o.arrIds && arrCombo == o.arrCombo && nPosition == o.nPosition &&
               bMineVisible == o.bMineVisible && nMineCount == o.nMineCount && clrIcon == o.clrIcon &&
               nTheme == o.nTheme && bLargeIcons == o.bLargeIcons;
    }
};

SHOWN Shown(CTestFrame* pFrame)
{
    SHOWN shown;
    CXTPCommandBars* pBars = pFrame->GetCommandBars();
    CXTPControls* pControls = pFrame->GetToolBar()->GetControls();
    for (int i = 0; i < pControls->GetCount(); ++i) {
        CXTPControl* pControl = pControls->GetAt(i);
        if (pControl->IsTemporary())
            continue;
        shown.arrIds.push_back(pControl->GetID());
        if (auto* pCombo = dynamic_cast<CXTPControlComboBox*>(pControl)) {
            for (int k = 0; k < pCombo->GetCount(); ++k) {
                pCombo->SetCurSel(k);
                shown.arrCombo.push_back(std::wstring(pCombo->GetListBoxText()));
            }
        }
    }
    shown.nPosition = pFrame->GetToolBar()->GetPosition();
    if (CXTPToolBar* pMine = pBars->FindBarById(0xE801)) {
        shown.bMineVisible = pMine->IsVisible();
        shown.nMineCount = OwnCount(pMine->GetControls());
    }
    if (CXTPImageManagerIcon* pIcon = pBars->GetImageManager()->GetImage(kIconCommand, 16))
        shown.clrIcon = PixelColor(ImagePixel(pIcon->GetIcon(), 5, 5));
    shown.nTheme = pBars->GetPaintManager()->GetStoredThemeId();
    shown.bLargeIcons = pBars->GetCommandBarsOptions()->bLargeIcons;
    return shown;
}

// Changes of every kind the whole set carries.
void ChangeEverything(CTestFrame* pFrame)
{
    CXTPCommandBars* pBars = pFrame->GetCommandBars();
    CXTPControls* pControls = pFrame->GetToolBar()->GetControls();
    pControls->Remove(pControls->GetAt(1));
    auto* pCombo = static_cast<CXTPControlComboBox*>(pControls->Add(xtpControlComboBox, ID_FT_LONG));
    pCombo->AddString(L"Entrate");
    pCombo->AddString(L"Uscite");
    pControls->Add(xtpControlLabel, ID_FT_LONG + 1);
    CXTPToolBar* pMine = pBars->CreateTearOffBar(L"Mia barra", 0xE801, FALSE);
    ASSERT_NE(nullptr, pMine);
    pMine->GetControls()->Add(xtpControlButton, ID_FT_PRINT);
    pMine->GetControls()->Add(xtpControlButton, ID_FT_CUT);
    pBars->FloatCommandBar(pFrame->GetToolBar());
    HICON hIcon = MakeIcon(16, 16, [](int, int) { return RGB(0, 90, 200); });
    pBars->GetImageManager()->SetIcon(CXTPImageManagerIconHandle(hIcon), kIconCommand, CSize(16, 16));
    ::DestroyIcon(hIcon);
    pBars->SetPaintManager(CXTPBarPainter::CreateTheme(2));
    pBars->GetCommandBarsOptions()->bLargeIcons = TRUE;
    pFrame->RecalcLayout();
}
}

namespace
{
// A save or load through the backing; a framework exception fails the test with its class.
void Exchange(CStoreBacking& backing, BOOL bLoad, const std::function<void(CXTPPropExchange*)>& exchange)
{
    try {
        if (bLoad)
            backing.Load(exchange);
        else
            backing.Save(exchange);
    } catch (CException* e) {
        ADD_FAILURE() << (bLoad ? "load: " : "save: ") << e->GetRuntimeClass()->m_lpszClassName;
        e->Delete();
    }
}
}

TEST_F(BarStateExchangeTest, WholeSetReadsBackEqualThroughEveryStore)
{
    for (int nStore : kStores) {
        SCOPED_TRACE(nStore);
        std::unique_ptr<CStoreBacking> backing = MakeBacking(nStore);
        SHOWN saved;
        WithFrame([&](CTestFrame* pFrame) {
            ChangeEverything(pFrame);
            saved = Shown(pFrame);
            CXTPCommandBarsExchangeParam param = WholeSet();
            Exchange(*backing, FALSE, [&](CXTPPropExchange* pPX) { pFrame->GetCommandBars()->DoPropExchange(pPX, &param); });
        });
        EXPECT_EQ(xtpBarFloating, saved.nPosition);
        WithFrame([&](CTestFrame* pFrame) {
            SHOWN before = Shown(pFrame);
            EXPECT_FALSE(before == saved);
            CXTPCommandBarsExchangeParam param = WholeSet();
            Exchange(*backing, TRUE, [&](CXTPPropExchange* pPX) { pFrame->GetCommandBars()->DoPropExchange(pPX, &param); });
            EXPECT_TRUE(Shown(pFrame) == saved);
        });
    }
}

TEST_F(BarStateExchangeTest, DamagedWholeSetIsRefusedAndTheBarsStayAsTheyWere)
{
    CArchiveBacking good;
    WithFrame([&](CTestFrame* pFrame) {
        ChangeEverything(pFrame);
        CXTPCommandBarsExchangeParam param = WholeSet();
        param.bSerializeImages = FALSE;
        param.bSerializeOptions = FALSE;
        good.Save([&](CXTPPropExchange* pPX) { pFrame->GetCommandBars()->DoPropExchange(pPX, &param); });
    });
    auto replaced = [&](const std::string& strFrom, const std::string& strTo) {
        std::vector<BYTE> arrData = good.m_bytes;
        auto it = std::search(arrData.begin(), arrData.end(), strFrom.begin(), strFrom.end());
        EXPECT_NE(arrData.end(), it) << strFrom;
        if (it != arrData.end())
            std::copy(strTo.begin(), strTo.end(), it);
        return arrData;
    };
    const size_t nSize = good.m_bytes.size();
    struct Case
    {
        const char* pszName;
        std::vector<BYTE> arrData;
    } cases[] = {
        {"cut in the bars", std::vector<BYTE>(good.m_bytes.begin(), good.m_bytes.begin() + nSize / 3)},
        {"cut in the places", std::vector<BYTE>(good.m_bytes.begin(), good.m_bytes.end() - 20)},
        {"garbage", std::vector<BYTE>(300, 0xA5)},
        {"huge counts", std::vector<BYTE>(64, 0xFF)},
        {"unknown control class", replaced("CXTPControlButton", "CXTPControlBuXXon")},
        {"a class that is no control", replaced("CXTPControlLabel", "CXTPDockState\0\0\0")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        WithFrame([&](CTestFrame* pFrame) {
            SHOWN before = Shown(pFrame);
            CArchiveBacking damaged;
            damaged.m_bytes = c.arrData;
            CXTPCommandBarsExchangeParam param = WholeSet();
            param.bSerializeImages = FALSE;
            param.bSerializeOptions = FALSE;
            BOOL bRefused = FALSE;
            try {
                damaged.Load([&](CXTPPropExchange* pPX) { pFrame->GetCommandBars()->DoPropExchange(pPX, &param); });
            } catch (CArchiveException* e) {
                bRefused = TRUE;
                e->Delete();
            }
            EXPECT_TRUE(bRefused || pFrame->GetCommandBars()->FindBarById(0xE801) == nullptr);
            EXPECT_TRUE(Shown(pFrame) == before);
        });
    }
}

namespace
{
std::vector<int> ControlIds(const CXTPControls* pControls)
{
    std::vector<int> arrIds;
    for (int i = 0; i < pControls->GetCount(); ++i)
        arrIds.push_back(pControls->GetAt(i)->GetID());
    return arrIds;
}

// The saved bar of an id in a registry store: its title and the ids of its controls; empty when none has the id.
std::pair<CString, std::vector<int>> SavedBar(CRegistryBacking& backing, UINT nBarId)
{
    CXTPPropExchangeRegistry px(TRUE, backing.m_hKey, L"Settings");
    CXTPPropExchangeSection bars(&px, L"CommandBars");
    CXTPPropExchangeEnumerator barList(bars.Get(), L"CommandBar");
    for (POSITION pos = barList.GetPosition(); pos;) {
        CXTPPropExchangeSection bar(barList.GetNext(pos));
        long nId = 0;
        CString strTitle;
        ExchangeLong(&bar, L"BarID", nId, 0);
        ExchangeString(&bar, L"Title", strTitle, L"");
        if (static_cast<UINT>(nId) != nBarId)
            continue;
        std::vector<int> arrIds;
        CXTPPropExchangeSection controls(bar.Get(), L"Controls");
        CXTPPropExchangeEnumerator controlList(controls.Get(), L"Control");
        for (POSITION posControl = controlList.GetPosition(); posControl;) {
            CXTPPropExchangeSection control(controlList.GetNext(posControl));
            int nControlId = 0;
            ExchangeInt(&control, L"Id", nControlId, -1);
            arrIds.push_back(nControlId);
        }
        return {strTitle, arrIds};
    }
    return {};
}
}

// The manager's own commands travel among the saved bars in a hidden toolbar that neither frame keeps; the loaded
// bars and shortcuts become what a reset returns to.
TEST_F(BarStateExchangeTest, CommandCollectionTravelsWithTheWholeSet)
{
    const std::vector<int> arrCommands = {ID_FT_PRINT, ID_FT_CUT};
    for (int nStore : kStores) {
        SCOPED_TRACE(nStore);
        std::unique_ptr<CStoreBacking> backing = MakeBacking(nStore);
        CXTPCommandBarsExchangeParam param = WholeSet();
        param.bSerializeCommandCollection = TRUE;
        WithFrame([&](CTestFrame* pFrame) {
            CXTPCommandBars* pBars = pFrame->GetCommandBars();
            auto* pCommands = new CXTPControls;
            pCommands->Add(xtpControlButton, ID_FT_PRINT)->SetCategory(L"Stampa");
            pCommands->Add(xtpControlButton, ID_FT_CUT)->SetCaption(CString(L"Taglia"));
            pBars->SetCommandCollection(pCommands);
            ChangeEverything(pFrame);
            pBars->GetShortcutManager()->AddShortcut(FCONTROL, 'K', ID_FT_CUT);
            int nBars = pBars->GetCount();
            Exchange(*backing, FALSE, [&](CXTPPropExchange* pPX) { pBars->DoPropExchange(pPX, &param); });
            EXPECT_EQ(nBars, pBars->GetCount());
            EXPECT_EQ(nullptr, pBars->FindBarById(0xFFEEFF));
            EXPECT_EQ(pCommands, pBars->GetCommandCollection());
            EXPECT_EQ(arrCommands, ControlIds(pCommands));
            EXPECT_EQ(nullptr, pCommands->GetParent());
        });
        if (nStore == 1) {
            auto saved = SavedBar(static_cast<CRegistryBacking&>(*backing), 0xFFEEFF);
            EXPECT_EQ(CString(L"Controls"), saved.first);
            EXPECT_EQ(arrCommands, saved.second);
        }
        WithFrame([&](CTestFrame* pFrame) {
            CXTPCommandBars* pBars = pFrame->GetCommandBars();
            int nBars = pBars->GetCount();
            Exchange(*backing, TRUE, [&](CXTPPropExchange* pPX) { pBars->DoPropExchange(pPX, &param); });
            CXTPControls* pLoaded = pBars->GetCommandCollection();
            ASSERT_NE(nullptr, pLoaded);
            EXPECT_EQ(arrCommands, ControlIds(pLoaded));
            EXPECT_EQ(CString(L"Stampa"), pLoaded->GetAt(0)->GetCategory());
            EXPECT_EQ(CString(L"Taglia"), pLoaded->GetAt(1)->GetCaption());
            EXPECT_EQ(nullptr, pLoaded->GetParent());
            EXPECT_EQ(pBars, pLoaded->GetCommandBars());
            // The user's toolbar (0xE801) joined; the carrying bar did not stay.
            EXPECT_EQ(nBars + 1, pBars->GetCount());
            EXPECT_EQ(nullptr, pBars->FindBarById(0xFFEEFF));
            EXPECT_FALSE(pFrame->GetToolBar()->GetControls()->IsChanged());
            pBars->GetShortcutManager()->Reset();
            ACCEL accel = {};
            ASSERT_TRUE(pBars->GetShortcutManager()->FindAccel(ID_FT_CUT, accel));
            EXPECT_EQ('K', accel.key);
        });
    }
}

// A popup that shows check boxes beside its icons keeps that look when it is read back.
TEST(PopupBarExchange, CheckBoxesBesideIconsAreKeptWithThePopup)
{
    CArchiveBacking store;
    CXTPPopupBar* pSaved = CXTPPopupBar::CreatePopupBar();
    pSaved->m_bDoubleGripper = TRUE;
    store.Save([&](CXTPPropExchange* pPX) { pSaved->DoPropExchange(pPX); });
    pSaved->InternalRelease();
    CXTPPopupBar* pLoaded = CXTPPopupBar::CreatePopupBar();
    store.Load([&](CXTPPropExchange* pPX) { pLoaded->DoPropExchange(pPX); });
    EXPECT_TRUE(pLoaded->IsCheckboxesBesideIcons());
    pLoaded->InternalRelease();
}

// A menu that tears off keeps its strip, and the toolbar it becomes, through a save in every store.
TEST(PopupBarExchange, ATearOffMenuKeepsItsStripThroughEveryStore)
{
    for (int nStore : kStores) {
        SCOPED_TRACE(nStore);
        std::unique_ptr<CStoreBacking> backing = MakeBacking(nStore);
        CXTPPopupBar* pSaved = CXTPPopupBar::CreatePopupBar();
        pSaved->SetTearOffPopup(L"Colori", 0xE900, 250);
        Exchange(*backing, FALSE, [&](CXTPPropExchange* pPX) { pSaved->DoPropExchange(pPX); });
        pSaved->InternalRelease();
        CXTPPopupBar* pLoaded = CXTPPopupBar::CreatePopupBar();
        Exchange(*backing, TRUE, [&](CXTPPropExchange* pPX) { pLoaded->DoPropExchange(pPX); });
        CString strCaption;
        UINT nId = 0;
        int nWidth = 0;
        EXPECT_TRUE(pLoaded->IsTearOffPopup(strCaption, nId, nWidth));
        EXPECT_EQ(std::make_tuple(CString(L"Colori"), 0xE900u, 250), std::make_tuple(strCaption, nId, nWidth));
        pLoaded->InternalRelease();
    }
}

namespace
{
// A control of a class saved into the section, with its class as the bars store it.
void SaveControlSection(CXTPPropExchange* pPX, LPCTSTR lpszSection, CXTPControl* pControl)
{
    CXTPPropExchangeSection section(pPX, lpszSection);
    CRuntimeClass* pClass = pControl->GetRuntimeClass();
    section->ExchangeRuntimeClass(L"Class", pClass, RUNTIME_CLASS(CXTPControl));
    pControl->DoPropExchange(section.Get());
}

// Whether the load was refused with the archive's exception.
BOOL IsRefused(CStoreBacking& backing, const std::function<void(CXTPPropExchange*)>& load)
{
    try {
        backing.Load(load);
    } catch (CArchiveException* e) {
        e->Delete();
        return TRUE;
    }
    return FALSE;
}
}

// Counts that say more than a store holds, as damage makes them: each is refused at once by every store, where an
// object made per counted place would take memory and time without end.
TEST_F(BarStateExchangeTest, CountsBeyondTheStoredDataAreRefusedByEveryStore)
{
    const DWORD kHuge = 0x7FFFFFFF;
    for (int nStore : kStores) {
        SCOPED_TRACE(nStore);
        {
            SCOPED_TRACE("controls");
            std::unique_ptr<CStoreBacking> backing = MakeBacking(nStore);
            backing->Save([&](CXTPPropExchange* pPX) {
                DWORD nCount = kHuge;
                ExchangeDWord(pPX, L"Count", nCount, 0);
                auto* pButton = new CXTPControlButton;
                SaveControlSection(pPX, L"Control0", pButton);
                pButton->InternalRelease();
            });
            auto* pControls = new CXTPControls;
            EXPECT_TRUE(IsRefused(*backing, [&](CXTPPropExchange* pPX) { pControls->DoPropExchange(pPX); }));
            EXPECT_GE(1, pControls->GetCount());
            pControls->InternalRelease();
        }
        {
            SCOPED_TRACE("bars");
            std::unique_ptr<CStoreBacking> backing = MakeBacking(nStore);
            WithFrame([&](CTestFrame* pFrame) {
                backing->Save([&](CXTPPropExchange* pPX) {
                    CXTPPropExchangeSection bars(pPX, L"CommandBars");
                    DWORD nCount = kHuge;
                    ExchangeDWord(&bars, L"Count", nCount, 0);
                    CXTPPropExchangeSection bar(&bars, L"CommandBar0");
                    CRuntimeClass* pClass = RUNTIME_CLASS(CXTPToolBar);
                    bar->ExchangeRuntimeClass(L"Class", pClass, RUNTIME_CLASS(CXTPCommandBar));
                    pFrame->GetToolBar()->DoPropExchange(bar.Get());
                });
            });
            WithFrame([&](CTestFrame* pFrame) {
                SHOWN before = Shown(pFrame);
                CXTPCommandBarsExchangeParam param;
                param.bSerializeControls = TRUE;
                param.bSerializeLayout = FALSE;
                EXPECT_TRUE(IsRefused(*backing, [&](CXTPPropExchange* pPX) { pFrame->GetCommandBars()->DoPropExchange(pPX, &param); }));
                EXPECT_TRUE(Shown(pFrame) == before);
            });
        }
        {
            SCOPED_TRACE("combo items");
            std::unique_ptr<CStoreBacking> backing = MakeBacking(nStore);
            backing->Save([&](CXTPPropExchange* pPX) {
                // The keys of the list's bar, then its items.
                CXTPPopupBar* pBar = CXTPPopupBar::CreatePopupBar();
                pBar->DoPropExchange(pPX);
                pBar->InternalRelease();
                CXTPPropExchangeSection items(pPX, L"Items");
                int nCount = static_cast<int>(kHuge);
                CString strItem = L"Entrate";
                ExchangeInt(&items, L"ItemCount", nCount, 0);
                ExchangeString(&items, L"Item0", strItem, L"");
            });
            auto* pList = new CXTPControlComboBoxList;
            EXPECT_TRUE(IsRefused(*backing, [&](CXTPPropExchange* pPX) { pList->DoPropExchange(pPX); }));
            pList->InternalRelease();
        }
        {
            SCOPED_TRACE("selector grid");
            std::unique_ptr<CStoreBacking> backing = MakeBacking(nStore);
            auto* pSaved = new CXTPControlSelector;
            pSaved->SetItemsCount(CSize(100000, 100000));
            backing->Save([&](CXTPPropExchange* pPX) { pSaved->DoPropExchange(pPX); });
            pSaved->InternalRelease();
            auto* pLoaded = new CXTPControlSelector;
            EXPECT_TRUE(IsRefused(*backing, [&](CXTPPropExchange* pPX) { pLoaded->DoPropExchange(pPX); }));
            EXPECT_EQ(CSize(5, 4), pLoaded->GetItemsCount());
            pLoaded->InternalRelease();
        }
    }
}

// A keyed store keeps no value for an empty set of document templates, also where an earlier save left one.
TEST(ControlExchange, AnEmptiedTemplateSetSavedOverTheSameKeyReadsBackEmpty)
{
    for (int nStore : kStores) {
        SCOPED_TRACE(nStore);
        std::unique_ptr<CStoreBacking> backing = MakeBacking(nStore);
        auto* pSaved = new CXTPControlButton;
        pSaved->GetDocTemplatesExcluded().insert(128);
        pSaved->GetDocTemplatesAssigned().insert(129);
        Exchange(*backing, FALSE, [&](CXTPPropExchange* pPX) { pSaved->DoPropExchange(pPX); });
        pSaved->GetDocTemplatesExcluded().clear();
        Exchange(*backing, FALSE, [&](CXTPPropExchange* pPX) { pSaved->DoPropExchange(pPX); });
        pSaved->InternalRelease();
        auto* pLoaded = new CXTPControlButton;
        Exchange(*backing, TRUE, [&](CXTPPropExchange* pPX) { pLoaded->DoPropExchange(pPX); });
        EXPECT_TRUE(pLoaded->GetDocTemplatesExcluded().empty());
        EXPECT_EQ(std::set<UINT>({129}), pLoaded->GetDocTemplatesAssigned());
        pLoaded->InternalRelease();
    }
}

// A combo box takes as its list only a bar that is a combo list: a stored id that names a plain popup bar leaves
// the combo its own list.
TEST_F(BarStateExchangeTest, AComboTakesNoPlainPopupBarForItsList)
{
    WithFrame([&](CTestFrame* pFrame) {
        CXTPCommandBarList list;
        auto* pToolBar = new CXTPToolBar;
        pToolBar->SetBarID(0xE802);
        auto* pCombo = static_cast<CXTPControlComboBox*>(pToolBar->GetControls()->Add(xtpControlComboBox, ID_FT_LONG));
        auto* pPopup = static_cast<CXTPControlPopup*>(pToolBar->GetControls()->Add(xtpControlPopup, ID_FT_OPEN));
        CXTPPopupBar* pMenu = CXTPPopupBar::CreatePopupBar();
        pMenu->SetBarID(0x1000001);
        pCombo->SetPendingCommandBarId(0x1000001);
        pPopup->SetPendingCommandBarId(0x1000001);
        list.Add(pToolBar);
        list.Add(pMenu);
        pToolBar->InternalRelease();
        pMenu->InternalRelease();
        pFrame->GetCommandBars()->RestoreCommandBarList(list, TRUE);
        ASSERT_NE(nullptr, pCombo->GetCommandBar());
        EXPECT_TRUE(pCombo->GetCommandBar()->IsKindOf(RUNTIME_CLASS(CXTPControlComboBoxList)));
        EXPECT_EQ(pMenu, pPopup->GetCommandBar());
    });
}

// A whole set cut inside its options is refused whole: the icons, the theme and the options stay as they were, as
// the bars do.
TEST_F(BarStateExchangeTest, AWholeSetCutInsideItsOptionsChangesNothing)
{
    CArchiveBacking good;
    WithFrame([&](CTestFrame* pFrame) {
        ChangeEverything(pFrame);
        CXTPCommandBarsExchangeParam param = WholeSet();
        good.Save([&](CXTPPropExchange* pPX) { pFrame->GetCommandBars()->DoPropExchange(pPX, &param); });
    });
    CArchiveBacking cut;
    cut.m_bytes.assign(good.m_bytes.begin(), good.m_bytes.end() - 2);
    WithFrame([&](CTestFrame* pFrame) {
        CXTPCommandBars* pBars = pFrame->GetCommandBars();
        CXTPBarPainter* pPainter = pBars->GetPaintManager();
        SHOWN before = Shown(pFrame);
        CXTPCommandBarsExchangeParam param = WholeSet();
        EXPECT_TRUE(IsRefused(cut, [&](CXTPPropExchange* pPX) { pBars->DoPropExchange(pPX, &param); }));
        EXPECT_TRUE(Shown(pFrame) == before);
        EXPECT_EQ(pPainter, pBars->GetPaintManager());
        EXPECT_EQ(nullptr, pBars->FindBarById(0xE801));
    });
}
