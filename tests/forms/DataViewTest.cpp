// The data-view interface: the save question through the message-box seam, the answers and what they do
// to the view, and the "Salva" command enabled only while the view holds changes.
#include "forms/DataView.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

namespace
{
// A view with data: its save succeeds or fails as the test says, and it logs the saves.
class CTestDataView : public CView, public CDataView
{
public:
    BOOL m_bSaveSucceeds = TRUE;
    int m_nSaves = 0;

    void OnDraw(CDC*) override {}
    BOOL LoadData(const CRecordID* pItem) override
    {
        m_item.reset(pItem ? pItem->Clone() : nullptr);
        SetModified(FALSE);
        return TRUE;
    }
    BOOL SaveData() override
    {
        ++m_nSaves;
        if (m_bSaveSucceeds)
            SetModified(FALSE);
        return m_bSaveSucceeds;
    }
    const CRecordID* GetRecordID() const override { return m_item.get(); }

protected:
    void PostNcDestroy() override {}   // lives on the test's stack
    void OnFileSave() { SaveWithWaitCursor(); }
    void OnUpdateFileSave(CCmdUI* pCmdUI) { UpdateSaveCommand(pCmdUI); }
    DECLARE_MESSAGE_MAP()

    std::unique_ptr<CRecordID> m_item;
};

BEGIN_MESSAGE_MAP(CTestDataView, CView)
    ON_COMMAND(ID_FILE_SAVE, &CTestDataView::OnFileSave)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, &CTestDataView::OnUpdateFileSave)
END_MESSAGE_MAP()

// Reads the state an update handler gives a command.
class CStateCmdUI : public CCmdUI
{
public:
    BOOL m_bEnabled = TRUE;
    void Enable(BOOL bOn) override
    {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
};

BOOL SaveCommandEnabled(CCmdTarget& target)
{
    CStateCmdUI state;
    state.m_nID = ID_FILE_SAVE;
    state.DoUpdate(&target, TRUE);
    return state.m_bEnabled;
}
} // namespace

TEST(DataView, TheSaveQuestionAndWhatEachAnswerDoes)
{
    struct
    {
        BOOL bModified;
        BOOL bCanCancel;
        int nAnswer;
        BOOL bSaveSucceeds;
        BOOL bResult;
        int nSaves;
        BOOL bModifiedAfter;
    } cases[] = {
        {FALSE, TRUE, IDYES, TRUE, TRUE, 0, FALSE},     // clean: no question
        {TRUE, TRUE, IDYES, TRUE, TRUE, 1, FALSE},
        {TRUE, TRUE, IDYES, FALSE, FALSE, 1, TRUE},     // a failed save keeps the caller where it is
        {TRUE, TRUE, IDNO, TRUE, TRUE, 0, TRUE},        // dropped by the caller, the flag is not touched here
        {TRUE, TRUE, IDCANCEL, TRUE, FALSE, 0, TRUE},
        {TRUE, FALSE, IDNO, TRUE, TRUE, 0, TRUE},
    };
    CString strQuestion;
    ASSERT_TRUE(strQuestion.LoadString(1024));
    for (const auto& c : cases) {
        CMessageBoxRecorder boxes;
        boxes.QueueAnswer(c.nAnswer);
        CTestDataView view;
        view.SetModified(c.bModified);
        view.m_bSaveSucceeds = c.bSaveSucceeds;
        EXPECT_EQ(c.bResult, view.QuerySave(c.bCanCancel));
        EXPECT_EQ(c.nSaves, view.m_nSaves);
        EXPECT_EQ(c.bModifiedAfter, view.IsModified());
        ASSERT_EQ(c.bModified ? 1u : 0u, boxes.Count());
        if (c.bModified) {
            EXPECT_EQ(strQuestion, boxes.Last().text);
            EXPECT_EQ(static_cast<UINT>(MB_ICONQUESTION), boxes.LastIcon());
            // Without the right to cancel the user can never stop the caller.
            EXPECT_EQ(static_cast<UINT>(c.bCanCancel ? MB_YESNOCANCEL : MB_YESNO), boxes.LastButtons());
        }
    }
}

TEST(DataView, SaveCommandIsEnabledOnlyWhileModified)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
    CTestDataView view;
    ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 50, 50), &parent, AFX_IDW_PANE_FIRST));
    CTextID item(L"Entrate1.vts");
    ASSERT_TRUE(view.LoadData(&item));
    EXPECT_FALSE(SaveCommandEnabled(view));

    view.SetModified(TRUE);
    EXPECT_TRUE(SaveCommandEnabled(view));
    view.SendMessage(WM_COMMAND, ID_FILE_SAVE);
    EXPECT_EQ(1, view.m_nSaves);
    EXPECT_FALSE(SaveCommandEnabled(view));
    EXPECT_TRUE(view.GetRecordID()->IsEqual(&item));
    parent.DestroyWindow();
}
