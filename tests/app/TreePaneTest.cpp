#include "ProgramFolder.h"

#include "app/CtlAlbero.h"
#include "data/DatabasePassword.h"
#include "support/MessageBoxRecorder.h"
#include "util/MessageText.h"
#include "util/PathUtil.h"
#include "resource.h"

#include <sstream>

namespace {

std::string Narrow(const CString& text)
{
    int nBytes = ::WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(nBytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), &bytes[0], nBytes, nullptr, nullptr);
    return bytes;
}

// The navigation tree pane on a program database whose Albero rows the test writes, with the centres Rossi and
// Bianchi in the archive.
class TreePaneTest : public CProgramFolderTest
{
protected:
    void SetUp() override
    {
        CProgramFolderTest::SetUp();
        MakeArchive(200);
        ConnectTo(m_folder.File(L"Prog03.mdb"));
        Execute(m_data, L"INSERT INTO [Responsabili] ([responsabile], [centroServ]) VALUES ('Bianchi', 'Tributi')");
        Execute(m_prog, L"DELETE FROM [Albero]");
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP, CRect(0, 0, 300, 400), nullptr, 0));
    }

    void TearDown() override
    {
        m_pane.reset();
        m_parent.DestroyWindow();
        if (m_prog.IsOpen())
            m_prog.Close();
        if (m_data.IsOpen())
            m_data.Close();
        CProgramFolderTest::TearDown();
    }

    void ConnectTo(const CString& strProgPath)
    {
        ASSERT_TRUE(SUCCEEDED(m_prog.CreateConnection()));
        m_prog.Open(CADOConnection::FormatConnectionString(strProgPath, GetProgDatabasePassword()), TRUE);
        ASSERT_TRUE(SUCCEEDED(m_data.CreateConnection()));
        OpenArchive(m_data);
    }

    // One row: key, first child, next sibling (0: null), image (NULL_IMAGE: null), code, caption, file.
    void Row(long nKey, long nChild, long nNext, long nImage, LPCTSTR pszCode, LPCTSTR pszText, LPCTSTR pszFile = L"")
    {
        auto number = [](long n) { return n ? FormatString(L"%ld", n) : CString(L"NULL"); };
        Execute(m_prog, FormatString(L"INSERT INTO [Albero] VALUES (%ld, %s, %s, %s, '%s', '%s', '%s', NULL)", nKey,
                                     number(nChild).GetString(), number(nNext).GetString(),
                                     nImage == NULL_IMAGE ? L"NULL" : FormatString(L"%ld", nImage).GetString(),
                                     pszCode, pszText, pszFile));
    }

    CCtlAlbero& Pane()
    {
        if (!m_pane) {
            m_pane = std::make_unique<CCtlAlbero>(m_prog, m_data);
            EXPECT_TRUE(m_pane->Create(&m_parent, 4000));
        }
        return *m_pane;
    }

    // The tree as text: one line per item, indented by depth, with the item's image.
    std::string Dump(int nTab)
    {
        std::ostringstream out;
        DumpLevel(nTab, Pane().GetTree(nTab).GetRootItem(), 0, out);
        return out.str();
    }

    void DumpLevel(int nTab, HTREEITEM hItem, int nDepth, std::ostringstream& out)
    {
        for (; hItem; hItem = Pane().GetTree(nTab).GetNextSiblingItem(hItem)) {
            out << std::string(nDepth * 2, ' ') << Narrow(Pane().GetTree(nTab).GetItemText(hItem))
                << " [" << Pane().GetItemImage(nTab, hItem) << "]\n";
            DumpLevel(nTab, Pane().GetTree(nTab).GetChildItem(hItem), nDepth + 1, out);
        }
    }

    HTREEITEM Find(int nTab, LPCTSTR pszText)
    {
        for (HTREEITEM hItem = nullptr; (hItem = NextItem(nTab, hItem)) != nullptr;) {
            if (Pane().GetTree(nTab).GetItemText(hItem) == pszText)
                return hItem;
        }
        return nullptr;
    }

    HTREEITEM NextItem(int nTab, HTREEITEM hItem)
    {
        const CXTTreeCtrl& tree = Pane().GetTree(nTab);
        if (!hItem)
            return tree.GetRootItem();
        if (HTREEITEM hChild = tree.GetChildItem(hItem))
            return hChild;
        for (; hItem; hItem = tree.GetParentItem(hItem)) {
            if (HTREEITEM hNext = tree.GetNextSiblingItem(hItem))
                return hNext;
        }
        return nullptr;
    }

    static const long NULL_IMAGE = -99;
    CADOConnection m_prog;
    CADOConnection m_data;
    CWnd m_parent;
    std::unique_ptr<CCtlAlbero> m_pane;
};

class TreePaneRules : public TreePaneTest
{
protected:
    void SetUp() override
    {
        TreePaneTest::SetUp();
        Row(1, 11, 2, NULL_IMAGE, L"1", L"Allegato D-07", L"D07.vts");
        Row(11, 0, 12, 1, L"1.1", L"Entrate", L"E.txd");
        Row(12, 121, 0, -1, L"1.2", L"Cartella");
        Row(121, 0, 0, 2, L"1.2.1", L"Circolare", L"C.txd");
        Row(2, 21, 0, -1, L"5", L"Centri");
        Row(21, 0, 22, NULL_IMAGE, L"5.2", L"Per centro", L"P.txd");
        Row(22, 0, 0, 0, L"5.3", L"Conferma", L"S.txd");
        Pane().ReloadTree(TAB_CONTROLLO);
        Pane().ReloadTree(TAB_UFFICIALE);
    }
};

TEST_F(TreePaneRules, ControlTabShowsEveryNodeWithItsImageAndTheCentres)
{
    EXPECT_EQ("Allegato D-07 [1]\n"
              "  Entrate [1]\n"
              "  Cartella [0]\n"
              "    Circolare [2]\n"
              "Centri [3]\n"
              "  Per centro [0]\n"
              "    Bianchi - Tributi [1]\n"
              "    Rossi - Ragioneria [1]\n"
              "  Conferma [2]\n",
              Dump(TAB_CONTROLLO));
    HTREEITEM hCentri = Find(TAB_CONTROLLO, L"Centri");
    EXPECT_TRUE(Pane().GetTree(TAB_CONTROLLO).GetItemBold(hCentri));
    EXPECT_EQ(CCtlAlbero::SECTION_TEXT, Pane().GetTree(TAB_CONTROLLO).GetItemColor(hCentri));
    EXPECT_FALSE(Pane().GetTree(TAB_CONTROLLO).GetItemBold(Find(TAB_CONTROLLO, L"Entrate")));

    // A centre's node carries the centre's ID as its key, and says so.
    const CNodoAlbero* pRossi = Pane().GetItemData(TAB_CONTROLLO, Find(TAB_CONTROLLO, L"Rossi - Ragioneria"));
    ASSERT_NE(nullptr, pRossi);
    EXPECT_TRUE(pRossi->m_bCentro);
    EXPECT_EQ(ScalarLong(m_data, L"SELECT [ID] FROM [Responsabili] WHERE [responsabile] = 'Rossi'"),
              pRossi->m_idNodo.GetValue());
    EXPECT_EQ(CString(L"5.2"), pRossi->m_codSezione.GetText());
    EXPECT_FALSE(Pane().GetItemData(TAB_CONTROLLO, Find(TAB_CONTROLLO, L"Per centro"))->m_bCentro);
}

TEST_F(TreePaneRules, OfficialTabStandsOneNodeForTheFormsAwaitingRulesAndLeavesOutTheCentres)
{
    CString strPlaceholder = L"(" + LoadResString(IDP_NORMATIVA_IN_APPROVAZIONE) + L")";
    EXPECT_EQ("Allegato D-07 [1]\n  " + Narrow(strPlaceholder) + " [1]\n",
              Dump(TAB_UFFICIALE));
    const CNodoAlbero* pNode = Pane().GetItemData(TAB_UFFICIALE, Find(TAB_UFFICIALE, strPlaceholder));
    ASSERT_NE(nullptr, pNode);
    EXPECT_TRUE(pNode->m_nomeFile.IsNull());
    EXPECT_EQ(0L, pNode->m_nImmagine.GetValue());
    EXPECT_FALSE(pNode->m_nImmagine.IsNull());
}

TEST_F(TreePaneRules, CentresAreRebuiltWhenTheyChange)
{
    Execute(m_data, L"DELETE FROM [Responsabili] WHERE [responsabile] = 'Bianchi'");
    Pane().RefreshRespNodes();
    EXPECT_EQ(nullptr, Find(TAB_CONTROLLO, L"Bianchi - Tributi"));
    EXPECT_NE(nullptr, Find(TAB_CONTROLLO, L"Rossi - Ragioneria"));
}

// A selected centre leaves nothing selected: removing it must not walk the selection, and a report with it, over
// the other centres and their parent.
TEST_F(TreePaneRules, RebuildingTheCentresWithOneSelectedSelectsNothing)
{
    Execute(m_data, L"INSERT INTO [Responsabili] ([responsabile], [centroServ]) VALUES ('Verdi', 'Tecnico')");
    Pane().RefreshRespNodes();
    HTREEITEM hFirst = Pane().GetTree(TAB_CONTROLLO).GetChildItem(Find(TAB_CONTROLLO, L"Per centro"));
    ASSERT_NE(nullptr, hFirst);
    Pane().SelectTreeItem(TAB_CONTROLLO, hFirst);
    ASSERT_EQ(hFirst, Pane().GetTree(TAB_CONTROLLO).GetSelectedItem());
    Pane().RefreshRespNodes();
    EXPECT_EQ(nullptr, Pane().GetTree(TAB_CONTROLLO).GetSelectedItem());
    EXPECT_NE(nullptr, Find(TAB_CONTROLLO, L"Verdi - Tecnico"));
}

TEST_F(TreePaneRules, FolderImageFollowsTheExpandAction)
{
    HTREEITEM hFolder = Find(TAB_CONTROLLO, L"Cartella");
    HTREEITEM hLeaf = Find(TAB_CONTROLLO, L"Entrate");
    auto notify = [&](HTREEITEM hItem, UINT nAction) {
        NMTREEVIEW info = {};
        info.hdr.hwndFrom = Pane().GetTree(TAB_CONTROLLO).GetSafeHwnd();
        info.hdr.idFrom = CCtlAlbero::IDC_TREE_CONTROLLO;
        info.hdr.code = TVN_ITEMEXPANDEDW;
        info.action = nAction;
        info.itemNew.hItem = hItem;
        Pane().SendMessage(WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
    };
    // A repeated notice must not turn an open folder's image back to closed.
    const struct { HTREEITEM hItem; UINT nAction; int nImage; } steps[] = {
        { hFolder, TVE_EXPAND, 3 }, { hFolder, TVE_EXPAND, 3 }, { hFolder, TVE_COLLAPSE, 0 },
        { hFolder, TVE_COLLAPSE, 0 }, { hLeaf, TVE_EXPAND, 1 },
    };
    for (const auto& step : steps) {
        notify(step.hItem, step.nAction);
        EXPECT_EQ(step.nImage, Pane().GetItemImage(TAB_CONTROLLO, step.hItem));
    }
}

TEST_F(TreePaneRules, NextLeafSkipsFoldersAndOptionallyUntickedLeaves)
{
    auto walk = [&](bool bTickedOnly) {
        std::string leaves;
        for (HTREEITEM hItem = nullptr; (hItem = Pane().GetNextLeaf(TAB_CONTROLLO, hItem, bTickedOnly)) != nullptr;)
            leaves += Narrow(Pane().GetTree(TAB_CONTROLLO).GetItemText(hItem)) + ";";
        return leaves;
    };
    EXPECT_EQ("Allegato D-07;Entrate;Circolare;Bianchi - Tributi;Rossi - Ragioneria;Conferma;", walk(false));
    for (LPCTSTR pszText : { L"Circolare", L"Rossi - Ragioneria", L"Centri" })
        Pane().GetTree(TAB_CONTROLLO).CTreeCtrl::SetItemState(Find(TAB_CONTROLLO, pszText), INDEXTOSTATEIMAGEMASK(2),
                                                             TVIS_STATEIMAGEMASK);
    EXPECT_EQ("Circolare;Rossi - Ragioneria;", walk(true));
}

TEST_F(TreePaneTest, DamagedTreeStopsWithAClearMessageAndKeepsWhatWasFilled)
{
    // 4's next sibling leads back to 3: followed blindly the siblings would repeat for ever.
    Row(1, 2, 0, -1, L"1", L"Radice");
    Row(2, 0, 3, 1, L"1.1", L"Primo", L"A.txd");
    Row(3, 4, 0, -1, L"1.2", L"Secondo");
    Row(4, 0, 3, 1, L"1.2.1", L"Terzo", L"B.txd");
    CMessageBoxRecorder messages;
    Pane().ReloadTree(TAB_CONTROLLO);
    ASSERT_EQ(1u, messages.Count());
    EXPECT_EQ(FormatResMessage(IDP_TREE_DAMAGED, L"3"), messages.Last().text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), messages.LastIcon());
    EXPECT_EQ("Radice [3]\n  Primo [1]\n  Secondo [0]\n    Terzo [1]\n", Dump(TAB_CONTROLLO));
}

TEST_F(TreePaneTest, NodeThatIsItsOwnChildIsRefused)
{
    Row(1, 1, 0, -1, L"1", L"Radice");
    CMessageBoxRecorder messages;
    Pane().ReloadTree(TAB_CONTROLLO);
    ASSERT_EQ(1u, messages.Count());
    EXPECT_EQ(FormatResMessage(IDP_TREE_DAMAGED, L"1"), messages.Last().text);
    EXPECT_EQ("Radice [0]\n", Dump(TAB_CONTROLLO));
}

TEST_F(TreePaneTest, MissingTableShowsTheDatabaseErrorAndAnEmptyTree)
{
    Execute(m_prog, L"DROP TABLE [Albero]");
    CMessageBoxRecorder messages;
    Pane().ReloadTree(TAB_CONTROLLO);
    ASSERT_EQ(1u, messages.Count());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), messages.LastIcon());
    EXPECT_EQ("", Dump(TAB_CONTROLLO));
}

} // namespace

namespace {

// The program database as the build ships it.
CString ShippedProgramDatabase()
{
    return ShippedProgramFolder() + L"\\Prog03.mdb";
}

class ShippedTree : public TreePaneTest
{
protected:
    void SetUp() override
    {
        TreePaneTest::SetUp();
        m_prog.Close();
        CString strCopy = m_folder.File(L"Shipped.mdb");
        ASSERT_TRUE(::CopyFileW(ShippedProgramDatabase(), strCopy, FALSE)) << "the program folder is not built";
        m_prog.Open(CADOConnection::FormatConnectionString(strCopy, GetProgDatabasePassword()), TRUE);
    }
};

TEST_F(ShippedTree, EveryNodeIsShownAndLeadsSomewhere)
{
    Pane().ReloadTree(TAB_CONTROLLO);
    Pane().ReloadTree(TAB_UFFICIALE);
    long nRows = ScalarLong(m_prog, L"SELECT COUNT(*) FROM [Albero]");
    ASSERT_GT(nRows, 0L);

    long nNodes = 0;
    int nCentres = 0, nForms = 0;
    for (int nTab : { TAB_CONTROLLO, TAB_UFFICIALE }) {
        for (HTREEITEM hItem = nullptr; (hItem = NextItem(nTab, hItem)) != nullptr;) {
            const CNodoAlbero* pNode = Pane().GetItemData(nTab, hItem);
            ASSERT_NE(nullptr, pNode);
            CString strText = Pane().GetTree(nTab).GetItemText(hItem);
            SCOPED_TRACE(Narrow(strText) + " in tab " + std::to_string(nTab));
            if (nTab == TAB_CONTROLLO && !pNode->m_bCentro)
                ++nNodes;
            nCentres += pNode->m_bCentro ? 1 : 0;
            int nImage = Pane().GetItemImage(nTab, hItem);
            TreeDispatch dispatch = DispatchTreeNode(nTab, pNode, nImage, pNode->m_bCentro);
            if (IsFolderImage(nImage)) {
                EXPECT_EQ(static_cast<int>(TreeTarget::StartPage), static_cast<int>(dispatch.target));
                continue;
            }
            // A leaf that shows nothing and says nothing is a dead end; the D-07 row is one in the control tab only.
            if (nTab == TAB_CONTROLLO && pNode->m_codSezione.GetText() == L"1")
                continue;
            EXPECT_NE(static_cast<int>(TreeTarget::StartPage), static_cast<int>(dispatch.target));
            if (dispatch.target == TreeTarget::AwaitingRules)
                continue;
            CString strExtension = dispatch.strFile.Right(4);
            const CString strShipped = ShippedProgramFolder();
            if (dispatch.target == TreeTarget::FormD07) {
                ++nForms;
                EXPECT_EQ(CString(L".vts"), strExtension);
                EXPECT_TRUE(FileExists(strShipped + L"\\Form\\" + dispatch.strFile)) << Narrow(dispatch.strFile);
            }
            else {
                EXPECT_EQ(CString(L".txd"), strExtension);
                EXPECT_TRUE(FileExists(strShipped + L"\\Doc\\" + dispatch.strFile)) << Narrow(dispatch.strFile);
            }
        }
    }
    EXPECT_EQ(nRows, nNodes) << "rows that no link reaches";
    EXPECT_EQ(2, nCentres) << "the per-centre node holds the archive's centres";
    EXPECT_EQ(1, nForms) << "the official tab opens the D-07 form";
}

} // namespace
