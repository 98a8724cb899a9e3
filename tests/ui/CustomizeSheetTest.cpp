// The customise sheet on a test frame: it opens through the modal seam with the bars in customise mode, its
// pages and the toolbar-name dialog are worked through their controls, messages go through the message-box seam.
#include "FrameTestFixture.h"
#include "support/MessageBoxRecorder.h"
#include "support/ModalDialogDriver.h"
#include "support/TempFolder.h"

#include "ui/commandbars/XTPCustomizeCommandsPage.h"
#include "ui/commandbars/XTPCustomizeDropSource.h"
#include "ui/commandbars/XTPCustomizeSheet.h"
#include "ui/commandbars/XTPCustomizeToolbarsPage.h"
#include "ui/commandbars/XTPNewToolbarDlg.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/persist/ResourceLoaderXml.h"
#include "ui/uires.h"

#include <gtest/gtest.h>

namespace
{
CString ItemText(const CListBox& list, int nIndex)
{
    int nLength = static_cast<int>(list.SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(nIndex)));
    CString str;
    list.SendMessage(LB_GETTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(str.GetBuffer(nLength + 1)));
    str.ReleaseBuffer();
    return str;
}

CString WindowText(HWND hWnd)
{
    wchar_t szText[256] = {};
    ::GetWindowTextW(hWnd, szText, 256);
    return szText;
}

class CustomizeSheetTest : public CFrameTestFixture
{
protected:
    CMessageBoxRecorder m_boxes;
    // What the test does with the open sheet, and with a toolbar-name dialog opened from it.
    std::function<void(CXTPCustomizeSheet&)> m_onSheet;
    std::function<INT_PTR(CXTPNewToolbarDlg&)> m_onName;
    CModalDialogDriver m_driver{[this](CDialog& dialog) -> INT_PTR {
        if (auto* pName = dynamic_cast<CXTPNewToolbarDlg*>(&dialog))
            return m_onName ? m_onName(*pName) : IDCANCEL;
        if (CXTPCustomizeSheet* pSheet = CXTPCustomizeSheet::GetRunning(); pSheet && m_onSheet)
            m_onSheet(*pSheet);
        return IDCANCEL;
    }};

    CXTPCommandBars* Bars() const { return m_pFrame->GetCommandBars(); }
    INT_PTR RunSheet(std::function<void(CXTPCustomizeSheet&)> onSheet)
    {
        m_onSheet = std::move(onSheet);
        CXTPCustomizeSheet sheet(Bars());
        return sheet.DoModal();
    }
    static void Click(CWnd* pDialog, UINT nID)
    {
        pDialog->SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                             reinterpret_cast<LPARAM>(pDialog->GetDlgItem(static_cast<int>(nID))->GetSafeHwnd()));
    }
    // Selects an entry of the Toolbars page's list as the user's click does.
    static void SelectToolbar(CXTPCustomizeToolbarsPage* pPage, int nIndex)
    {
        CCheckListBox& list = pPage->GetToolbarList();
        list.SetCurSel(nIndex);
        pPage->SendMessage(WM_COMMAND, MAKEWPARAM(XTP_IDC_LIST_TOOLBARS, LBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(list.m_hWnd));
    }
    static std::vector<CString> ListedToolbars(CXTPCustomizeToolbarsPage* pPage)
    {
        std::vector<CString> titles;
        for (int i = 0; i < pPage->GetToolbarList().GetCount(); i++)
            titles.push_back(ItemText(pPage->GetToolbarList(), i));
        return titles;
    }
    // The name dialog answers with the name typed, as OK does.
    std::function<INT_PTR(CXTPNewToolbarDlg&)> TypeName(LPCTSTR lpszName)
    {
        return [lpszName](CXTPNewToolbarDlg& dlg) -> INT_PTR {
            dlg.SetDlgItemText(XTP_IDC_TOOLBAR_NAME, lpszName);
            dlg.SendMessage(WM_COMMAND, IDOK);
            return IDCANCEL;
        };
    }
};
}

TEST_F(CustomizeSheetTest, TheLiveSheetRunsInCustomiseModeAndASecondOneIsRefused)
{
    BOOL bShown = FALSE;
    INT_PTR nResult = RunSheet([&](CXTPCustomizeSheet& sheet) {
        bShown = TRUE;
        EXPECT_TRUE(Bars()->IsCustomizeMode());
        EXPECT_EQ(&sheet, Bars()->GetDropSource()->GetSheet());
        EXPECT_TRUE(::IsWindow(sheet.m_hWnd));
        EXPECT_TRUE(m_pFrame->IsWindowEnabled()) << "the frame's bars take part";
        EXPECT_EQ(CString(L"Personalizza"), WindowText(sheet.m_hWnd));
        EXPECT_FALSE(sheet.GetDlgItem(IDOK)->IsWindowVisible());
        EXPECT_EQ(CString(L"Chiudi"), WindowText(sheet.GetDlgItem(IDCANCEL)->m_hWnd));
        ASSERT_EQ(2, sheet.GetTabControl()->GetItemCount());
        CXTPCustomizeSheet second(Bars());
        EXPECT_EQ(IDCANCEL, second.DoModal());
        EXPECT_EQ(nullptr, second.m_hWnd);
        EXPECT_EQ(&sheet, CXTPCustomizeSheet::GetRunning());
    });
    EXPECT_TRUE(bShown);
    EXPECT_EQ(IDCANCEL, nResult);
    EXPECT_FALSE(Bars()->IsCustomizeMode());
    EXPECT_EQ(nullptr, CXTPCustomizeSheet::GetRunning());
    EXPECT_EQ(nullptr, Bars()->GetDropSource()->GetSheet());
}

TEST_F(CustomizeSheetTest, AltAndAPageMnemonicSwitchesPages)
{
    RunSheet([&](CXTPCustomizeSheet& sheet) {
        const struct
        {
            UINT nKey;
            int nPage;
        } cases[] = {{'C', 1}, {'X', 1}, {'B', 0}};
        for (const auto& test : cases) {
            MSG msg = {};
            msg.hwnd = sheet.m_hWnd;
            msg.message = WM_SYSKEYDOWN;
            msg.wParam = test.nKey;
            msg.lParam = 0x20000000;
            sheet.PreTranslateMessage(&msg);
            EXPECT_EQ(test.nPage, sheet.GetActiveIndex()) << static_cast<char>(test.nKey);
        }
    });
}

TEST_F(CustomizeSheetTest, ToolbarsPageCreatesRenamesAndDeletesTheUsersToolbars)
{
    RunSheet([&](CXTPCustomizeSheet& sheet) {
        CXTPCustomizeToolbarsPage* pPage = sheet.GetToolbarsPage();
        EXPECT_EQ((std::vector<CString>{L"Menu Bar", L"Standard"}), ListedToolbars(pPage));

        CString strProposed;
        m_onName = [&](CXTPNewToolbarDlg& dlg) {
            strProposed = WindowText(dlg.GetDlgItem(XTP_IDC_TOOLBAR_NAME)->m_hWnd);
            return TypeName(L"Mia barra")(dlg);
        };
        Click(pPage, XTP_IDC_BUTTON_NEW);
        EXPECT_EQ(CString(L"Personalizzata 1"), strProposed);
        ASSERT_EQ(3, Bars()->GetCount());
        CXTPToolBar* pNew = Bars()->GetAt(2);
        EXPECT_EQ(CString(L"Mia barra"), pNew->GetTitle());
        EXPECT_EQ(0xE800u, pNew->GetBarID());
        EXPECT_FALSE(pNew->IsBuiltIn());
        EXPECT_EQ((std::vector<CString>{L"Menu Bar", L"Standard", L"Mia barra"}), ListedToolbars(pPage));

        // The program's toolbar resets; the user's renames and deletes.
        const struct
        {
            int nIndex;
            BOOL bReset, bRename, bDelete;
        } buttons[] = {{1, TRUE, FALSE, FALSE}, {2, FALSE, TRUE, TRUE}};
        for (const auto& test : buttons) {
            SelectToolbar(pPage, test.nIndex);
            EXPECT_EQ(test.bReset, pPage->GetDlgItem(XTP_IDC_BUTTON_RESET)->IsWindowEnabled()) << test.nIndex;
            EXPECT_EQ(test.bRename, pPage->GetDlgItem(XTP_IDC_BUTTON_RENAME)->IsWindowEnabled()) << test.nIndex;
            EXPECT_EQ(test.bDelete, pPage->GetDlgItem(XTP_IDC_BUTTON_DELETE)->IsWindowEnabled()) << test.nIndex;
            EXPECT_TRUE(pPage->GetDlgItem(XTP_IDC_BUTTON_NEW)->IsWindowEnabled());
        }

        m_onName = TypeName(L"Altra barra");
        Click(pPage, XTP_IDC_BUTTON_RENAME);
        EXPECT_EQ(CString(L"Altra barra"), pNew->GetTitle());
        EXPECT_EQ(CString(L"Altra barra"), ItemText(pPage->GetToolbarList(), 2));
        EXPECT_EQ(2, pPage->GetToolbarList().GetCurSel());
        EXPECT_EQ(BST_CHECKED, pPage->GetToolbarList().GetCheck(2));

        m_boxes.QueueAnswer(IDCANCEL);
        Click(pPage, XTP_IDC_BUTTON_DELETE);
        ASSERT_EQ(1u, m_boxes.Count());
        EXPECT_EQ(CString(L"Eliminare la barra degli strumenti \"Altra barra\"?"), m_boxes.Last().text);
        EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL), m_boxes.LastButtons());
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), m_boxes.LastIcon());
        EXPECT_EQ(3, Bars()->GetCount()) << "cancelled";
        Click(pPage, XTP_IDC_BUTTON_DELETE);
        EXPECT_EQ(2, Bars()->GetCount());
        EXPECT_EQ((std::vector<CString>{L"Menu Bar", L"Standard"}), ListedToolbars(pPage));
    });
}

TEST_F(CustomizeSheetTest, ResetAsksFirstAndGivesTheProgramsToolbarItsButtonsBack)
{
    RunSheet([&](CXTPCustomizeSheet& sheet) {
        CXTPCustomizeToolbarsPage* pPage = sheet.GetToolbarsPage();
        CXTPControls* pControls = m_pFrame->GetToolBar()->GetControls();
        const int nButtons = pControls->GetCount();
        const int nFirstID = pControls->GetAt(0)->GetID();
        pControls->Remove(pControls->GetAt(0));
        SelectToolbar(pPage, 1);

        m_boxes.QueueAnswer(IDCANCEL);
        Click(pPage, XTP_IDC_BUTTON_RESET);
        ASSERT_EQ(1u, m_boxes.Count());
        EXPECT_EQ(CString(L"Annullare le modifiche apportate a 'Standard' alla barra degli strumenti?"),
                  m_boxes.Last().text);
        EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL), m_boxes.LastButtons());
        EXPECT_EQ(nButtons - 1, pControls->GetCount()) << "cancelled";

        Click(pPage, XTP_IDC_BUTTON_RESET);
        EXPECT_EQ(2u, m_boxes.Count());
        ASSERT_EQ(nButtons, pControls->GetCount());
        EXPECT_EQ(nFirstID, pControls->GetAt(0)->GetID());
        EXPECT_EQ(1, pPage->GetToolbarList().GetCurSel()) << "the list is refreshed with the bar still selected";
    });
}

TEST_F(CustomizeSheetTest, ChecksShowAndHideClosableToolbarsOnly)
{
    RunSheet([&](CXTPCustomizeSheet& sheet) {
        CXTPCustomizeToolbarsPage* pPage = sheet.GetToolbarsPage();
        CCheckListBox& list = pPage->GetToolbarList();
        auto uncheck = [&](int nIndex) {
            SelectToolbar(pPage, nIndex);
            list.SetCheck(nIndex, BST_UNCHECKED);
            pPage->SendMessage(WM_COMMAND, MAKEWPARAM(XTP_IDC_LIST_TOOLBARS, CLBN_CHKCHANGE),
                               reinterpret_cast<LPARAM>(list.m_hWnd));
        };
        uncheck(0);
        EXPECT_TRUE(m_pFrame->GetMenuBar()->IsVisible());
        EXPECT_EQ(BST_CHECKED, list.GetCheck(0)) << "the menu bar stays";

        uncheck(1);
        EXPECT_FALSE(m_pFrame->GetToolBar()->IsVisible());
        EXPECT_EQ(BST_UNCHECKED, list.GetCheck(1));

        m_pFrame->GetToolBar()->SetVisible(TRUE);
        m_pFrame->GetToolBar()->SetCloseable(FALSE);
        pPage->RefreshToolbarList();
        uncheck(1);
        EXPECT_TRUE(m_pFrame->GetToolBar()->IsVisible());
        EXPECT_EQ(BST_CHECKED, list.GetCheck(1)) << "a toolbar that may not be closed keeps its check";
        EXPECT_EQ(1, list.GetCurSel()) << "the selection survives the refresh";
    });
}

namespace
{
// A resource loader whose proposed-name text is the test's.
class CCustomBarNameLoader : public CXTPResourceLoader
{
public:
    explicit CCustomBarNameLoader(LPCTSTR lpszFormat) : m_strFormat(lpszFormat) {}
    BOOL LoadString(CString* pString, UINT nID) override
    {
        if (nID != XTP_IDS_CUSTOM_BAR)
            return CXTPResourceLoader::LoadString(pString, nID);
        *pString = m_strFormat;
        return TRUE;
    }

private:
    CString m_strFormat;
};

}

TEST_F(CustomizeSheetTest, TheNameDialogProposesTheFirstFreeNameAndRefusesEmptyAndTakenNames)
{
    const struct
    {
        const char* name;
        std::vector<std::pair<LPCTSTR, UINT>> bars;
        BOOL bRename;          // the dialog renames the last bar
        LPCTSTR typed;         // null: the proposed name is kept
        LPCTSTR proposed;
        INT_PTR nResult;
        UINT nNewID;
        LPCTSTR message;       // null: none shown
    } cases[] = {
        {"first", {}, FALSE, nullptr, L"Personalizzata 1", IDOK, 0xE800, nullptr},
        {"next free id", {{L"A", 0xE800}, {L"B", 0xE801}}, FALSE, nullptr, L"Personalizzata 1", IDOK, 0xE802, nullptr},
        {"next free name",
         {{L"Personalizzata 2", 0xE801}, {L"Personalizzata 1", 0xE800}},
         FALSE,
         nullptr,
         L"Personalizzata 3",
         IDOK,
         0xE802,
         nullptr},
        {"gap in the names", {{L"Personalizzata 2", 0xE801}}, FALSE, nullptr, L"Personalizzata 1", IDOK, 0xE800, nullptr},
        {"empty", {}, FALSE, L"", L"Personalizzata 1", IDCANCEL, 0,
         L"Impossibile lasciare vuoto il nome della barra degli strumenti. Immettere un nome."},
        {"taken", {}, FALSE, L"Standard", L"Personalizzata 1", IDCANCEL, 0,
         L"Barra degli strumenti \"Standard\" già esistente. Immettere un altro nome."},
        {"rename to its own title", {{L"Mia", 0xE800}}, TRUE, L"Mia", L"Mia", IDOK, 0xE800, nullptr},
        {"rename to another's", {{L"Mia", 0xE800}}, TRUE, L"Standard", L"Mia", IDCANCEL, 0,
         L"Barra degli strumenti \"Standard\" già esistente. Immettere un altro nome."},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        while (Bars()->GetCount() > 2)
            Bars()->Remove(Bars()->GetAt(2));
        for (const auto& bar : test.bars)
            Bars()->CreateTearOffBar(bar.first, bar.second, FALSE);
        size_t nBoxes = m_boxes.Count();
        CString strProposed;
        m_onName = [&](CXTPNewToolbarDlg& dlg) -> INT_PTR {
            strProposed = WindowText(dlg.GetDlgItem(XTP_IDC_TOOLBAR_NAME)->m_hWnd);
            if (test.typed)
                dlg.SetDlgItemText(XTP_IDC_TOOLBAR_NAME, test.typed);
            dlg.SendMessage(WM_COMMAND, IDOK);
            return IDCANCEL;   // still open: the name was refused
        };
        CXTPNewToolbarDlg dlg(m_pFrame, Bars(), test.bRename ? Bars()->GetAt(Bars()->GetCount() - 1) : nullptr);
        EXPECT_EQ(test.nResult, dlg.DoModal());
        EXPECT_EQ(CString(test.proposed), strProposed);
        if (test.nResult == IDOK) {
            EXPECT_EQ(test.nNewID, dlg.m_nNewID);
        }
        ASSERT_EQ(nBoxes + (test.message ? 1 : 0), m_boxes.Count());
        if (test.message) {
            EXPECT_EQ(CString(test.message), m_boxes.Last().text);
            EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), m_boxes.LastIcon());
        }
    }
}

TEST_F(CustomizeSheetTest, TheNameDialogEndsWhenEveryIdOfTheUsersToolbarsIsTaken)
{
    for (UINT nID = 0xE800; nID < 0xE8FF; nID++)
        Bars()->CreateTearOffBar(L"Barra", nID, FALSE);
    m_onName = TypeName(L"Ancora una");
    CXTPNewToolbarDlg dlg(m_pFrame, Bars());
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    ASSERT_EQ(1u, m_boxes.Count());
    EXPECT_EQ(CString(L"Spiacenti, avete raggiunto il vostro limite."), m_boxes.Last().text);
}

TEST_F(CustomizeSheetTest, AProposedNameTextIsAFormatOnlyWithExactlyOneNumber)
{
    const struct
    {
        LPCTSTR format;
        LPCTSTR proposed;
    } cases[] = {
        {L"Barra %d", L"Barra 1"},
        {L"%d%% barra", L"1% barra"},
        {L"Barra %s", L"Barra %s1"},
        {L"Barra %d %d", L"Barra %d %d1"},
        {L"Barra", L"Barra1"},
    };
    for (const auto& test : cases) {
        XTPSetResourceLoader(new CCustomBarNameLoader(test.format));
        EXPECT_EQ(CString(test.proposed), CXTPNewToolbarDlg::ProposeName(Bars())) << CString(test.format);
    }
    XTPSetResourceLoader(new CXTPResourceLoader);
}

TEST_F(CustomizeSheetTest, ATranslationFileGivesTheSheetItsTextsMenuAndNameDialog)
{
    // The proposed name's text of the file is no format with one number: it is used as it stands.
    CTempFolder folder;
    const CString strFile = folder.Write(L"tradotto.xml", R"(<?xml version="1.0" encoding="UTF-8"?>
<resource CompactMode="1">
  <string id="9312" value="Personalizzazione"/>
  <string id="9330" value="Barra %s"/>
  <menu id="9336">
    <menuitem caption="Menu">
      <menuitem id="9315" caption="Azzera"/>
      <menuitem/>
      <menuitem id="9316" caption="Togli"/>
    </menuitem>
  </menu>
  <dialog id="9328" style="2160066560" position="0, 0, 186, 52" caption="Barra nuova" fontface="MS Shell Dlg">
    <control class="EDIT" id="9329" style="1350631552" position="4, 14, 178, 12"/>
    <control class="BUTTON" id="1" caption="OK" style="1342242817" position="78, 33, 50, 14"/>
    <control class="BUTTON" id="2" caption="Annulla" style="1342242816" position="132, 33, 50, 14"/>
  </dialog>
</resource>
)");
    XTPSetResourceFile(strFile);
    struct CModuleResources
    {
        ~CModuleResources() { XTPSetResourceFile(L""); }
    } restore;
    ASSERT_NE(nullptr, dynamic_cast<CXTPResourceLoaderXML*>(XTPGetResourceLoader()));

    CString strCaption;
    std::vector<std::pair<CString, BOOL>> entries;
    RunSheet([&](CXTPCustomizeSheet& sheet) {
        strCaption = WindowText(sheet.m_hWnd);
        CXTPControls* pMenu = sheet.GetContextMenu()->GetControls();
        for (int i = 0; i < pMenu->GetCount(); i++)
            entries.emplace_back(pMenu->GetAt(i)->GetCaption(), pMenu->GetAt(i)->GetBeginGroup());
    });
    EXPECT_EQ(CString(L"Personalizzazione"), strCaption);
    EXPECT_EQ((std::vector<std::pair<CString, BOOL>>{{L"Azzera", FALSE}, {L"Togli", TRUE}}), entries);

    CString strDialogCaption, strProposed;
    m_onName = [&](CXTPNewToolbarDlg& dlg) {
        strDialogCaption = WindowText(dlg.m_hWnd);
        strProposed = WindowText(dlg.GetDlgItem(XTP_IDC_TOOLBAR_NAME)->m_hWnd);
        return TypeName(L"Mia barra")(dlg);
    };
    CXTPNewToolbarDlg dlg(m_pFrame, Bars());
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(CString(L"Barra nuova"), strDialogCaption);
    EXPECT_EQ(CString(L"Barra %s1"), strProposed);
    EXPECT_EQ(CString(L"Mia barra"), dlg.m_strToolbar);
}

TEST_F(CustomizeSheetTest, TheFrameStaysWhileTheSheetRunsAndTheSheetHoldsTheBars)
{
    HWND hFrame = m_pFrame->m_hWnd;
    BOOL bShown = FALSE;
    RunSheet([&](CXTPCustomizeSheet&) {
        bShown = TRUE;
        // The taskbar's "Close window", or a program asking the frame to close.
        ::SendMessageW(hFrame, WM_CLOSE, 0, 0);
        EXPECT_TRUE(::IsWindow(hFrame));
    });
    EXPECT_TRUE(bShown);
    ASSERT_TRUE(::IsWindow(hFrame));
    EXPECT_FALSE(Bars()->IsCustomizeMode());
    // Without the sheet the frame closes as usual.
    ::SendMessageW(hFrame, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(hFrame));
    m_pFrame = nullptr;
}
