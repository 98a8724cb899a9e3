// The program's own workbooks (the program folder's "Form", assembled by the build) each open in the view that the
// form table names, with no message, and save what they show into the tables their descriptions name.
#include "FormViewFixture.h"

#include "forms/RecordID.h"
#include "views/FormTable.h"
#include "views/ViewInputFormD07.h"
#include "views/ViewInputFormVariants.h"

#include <gtest/gtest.h>

namespace
{
class ProgramFormsTest : public CFormViewFixture
{
protected:
    void SetUp() override
    {
        CFormViewFixture::SetUp();
        WCHAR szModule[MAX_PATH];
        ::GetModuleFileNameW(nullptr, szModule, MAX_PATH);
        CString strFolder(szModule);
        strFolder = strFolder.Left(strFolder.ReverseFind(L'\\')) + L"\\..\\Quarzel08\\Form";
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(strFolder)) << "the program folder is not built";
        m_pApp.reset();   // one application object at a time
        m_pApp = std::make_unique<CFormTestApp>(m_data, strFolder);
    }
};
} // namespace

TEST_F(ProgramFormsTest, EveryFormOpensInItsViewAndSaves)
{
    Put(L"Entrate", 2101, {{L"Anno1", 1234.56}});
    struct
    {
        UINT nCommand;
        BOOL bByChapter;
    } commands[] = {{40002, FALSE}, {40003, FALSE}, {40004, FALSE}, {40005, FALSE}, {40006, FALSE},
                    {40007, FALSE}, {40008, FALSE}, {40009, FALSE}, {40010, FALSE}, {40011, FALSE},
                    {40041, FALSE}, {40049, FALSE}, {40043, FALSE}, {40050, FALSE}, {40045, FALSE},
                    {40016, FALSE}, {40017, FALSE}, {40018, FALSE}, {40016, TRUE}};
    std::vector<FORM_TABLE_ENTRY> forms;
    for (const auto& command : commands) {
        const FORM_TABLE_ENTRY* pEntry = FindFormEntry(command.nCommand, command.bByChapter);
        ASSERT_NE(nullptr, pEntry) << command.nCommand;
        forms.push_back(*pEntry);
    }
    forms.push_back(FORM_TABLE_ENTRY{0, L"AllegD07.vts", RUNTIME_CLASS(CViewInputFormD07)});
    for (const FORM_TABLE_ENTRY& form : forms) {
        std::string strName = CString(form.pszWorkbook).ToMultiByte(CP_UTF8);
        CMessageBoxRecorder boxes;
        auto pView = dynamic_cast<CViewInputForm*>(MakeView(form.pViewClass));
        ASSERT_NE(nullptr, pView) << strName;
        CTextID item(form.pszWorkbook);
        EXPECT_TRUE(pView->LoadData(&item)) << strName;
        EXPECT_GT(pView->GetSheetTabs().GetItemCount(), 0) << strName;
        EXPECT_FALSE(pView->IsModified()) << strName;
        pView->SetModified(TRUE);
        EXPECT_TRUE(pView->SaveData()) << strName;
        for (const AFX_MSGBOX_REQUEST& box : boxes.Shown())
            ADD_FAILURE() << strName << ": " << box.text.ToMultiByte(CP_UTF8);
        m_pFrame->DestroyWindow();
        m_pFrame = nullptr;
    }
    // What the revenue form showed went back unchanged, and the recomputation ran over it.
    EXPECT_EQ(1234.56, Get(L"Entrate", 2101, L"Anno1"));
}

// Entrate1 as the program ships it: figures typed through the keyboard are stored with every figure derived from
// them in one save; a recomputation that fails stores nothing.
TEST_F(ProgramFormsTest, Entrate1SavesTypedFiguresWithTheirDerivedRows)
{
    auto pView = static_cast<CViewInputForm*>(MakeView(RUNTIME_CLASS(CViewInputFormTot)));
    ASSERT_NE(nullptr, pView);
    CTextID item(L"Entrate1.vts");
    ASSERT_TRUE(pView->LoadData(&item));
    CF1Book& grid = pView->GetGrid();
    const CSheetInfo& sheet = pView->GetFormInfo()[0];
    long nRow = sheet.m_nFirstRow, nCol = sheet.m_nFirstCol;
    const CCellInfo* pCell = pView->GetFormInfo().GetCell(0, nRow, nCol);
    ASSERT_NE(nullptr, pCell);
    ASSERT_EQ(formKindInput, pCell->m_nKind);
    long nKey = _wtol(pCell->m_strR);

    grid.InvokeMethod211(nRow, nCol);
    ASSERT_TRUE(TakeFocus(grid.m_hWnd));
    SendText(L"1.234,56");
    SendKey(VK_RETURN);
    EXPECT_EQ(1234.56, grid.InvokeGet279(nRow, nCol));
    CMessageBoxRecorder boxes;
    ASSERT_TRUE(pView->SaveData());
    EXPECT_EQ(0u, boxes.Count());
    EXPECT_EQ(1234.56, Get(L"Entrate", nKey, pCell->m_strF));
    // The title's total (2104 for the first category of title 1) and its copy in SaldoFin were recomputed.
    EXPECT_EQ(1234.56, Get(L"Entrate", 2104, pCell->m_strF));
    EXPECT_EQ(1234.56, Get(L"SaldoFin", 101, pCell->m_strF));
    std::string saved = ReadBytes(m_dataPath);

    Execute(L"DROP TABLE SaldoProg");
    saved = ReadBytes(m_dataPath);
    grid.InvokeMethod211(nRow, nCol);
    ASSERT_TRUE(TakeFocus(grid.m_hWnd));
    SendText(L"99");
    SendKey(VK_RETURN);
    EXPECT_FALSE(pView->SaveData());
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.LastIcon());
    EXPECT_TRUE(pView->IsModified());
    EXPECT_TRUE(saved == ReadBytes(m_dataPath));
    EXPECT_EQ(1234.56, Get(L"Entrate", nKey, pCell->m_strF));
}
