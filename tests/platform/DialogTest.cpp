// Dialogs: a modal dialog from the resources driven through the seam with its data exchange and refusals,
// the real modal loop, a modeless dialog from a template in memory, the file dialog behind the seam and a
// form view inside a frame.
#include "PlatformTestRes.h"
#include "platform/mfc/afxdlgs.h"
#include "support/DialogTemplate.h"
#include "support/MessageBoxRecorder.h"
#include "support/ModalDialogDriver.h"

#include <gtest/gtest.h>

namespace
{
class CTestDialog : public CDialog
{
public:
    explicit CTestDialog(CWnd* pParentWnd = nullptr) : CDialog(IDD_TEST_DIALOG, pParentWnd) {}

    CString m_strName = L"Bilancio";
    int m_nCount = 5;
    int m_nCheck = BST_CHECKED;
    int m_nChoice = 1;
    int m_nInitDialogs = 0;

protected:
    BOOL OnInitDialog() override
    {
        ++m_nInitDialogs;
        for (LPCTSTR item : {L"Comune", L"Provincia", L"Unione"})
            SendDlgItemMessage(IDC_TEST_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_TEST_NAME, m_strName);
        DDV_MaxChars(pDX, m_strName, 10);
        DDX_Text(pDX, IDC_TEST_COUNT, m_nCount);
        DDV_MinMaxInt(pDX, m_nCount, 1, 99);
        DDX_Check(pDX, IDC_TEST_CHECK, m_nCheck);
        DDX_CBIndex(pDX, IDC_TEST_COMBO, m_nChoice);
    }
};

CString ItemText(CWnd& dialog, int nID)
{
    CString strText;
    dialog.GetDlgItemText(nID, strText);
    return strText;
}

// Ends the first dialog titled "Prova" that appears, from the modal loop's own message pump.
void CALLBACK CancelTestDialog(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    if (HWND hDialog = ::FindWindowW(L"#32770", L"Prova")) {
        ::KillTimer(nullptr, nIDEvent);
        ::PostMessageW(hDialog, WM_COMMAND, IDCANCEL, 0);
    }
}

class CTestForm : public CFormView
{
    DECLARE_DYNCREATE(CTestForm)
public:
    CTestForm() : CFormView(IDD_TEST_FORM) {}
    CString m_strText = L"iniziale";
    int m_nChanges = 0;
    int m_nAdded = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_TEST_FORMEDIT, m_strText); }
    void OnChange() { ++m_nChanges; }
    void OnAdd() { ++m_nAdded; }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestForm, CFormView)
BEGIN_MESSAGE_MAP(CTestForm, CFormView)
    ON_EN_CHANGE(IDC_TEST_FORMEDIT, &CTestForm::OnChange)
    ON_BN_CLICKED(IDC_TEST_FORMBUTTON, &CTestForm::OnAdd)
END_MESSAGE_MAP()

class CFormDoc : public CDocument
{
    DECLARE_DYNCREATE(CFormDoc)
};
IMPLEMENT_DYNCREATE(CFormDoc, CDocument)
} // namespace

TEST(Dialog, ModalDialogThroughTheSeamLoadsAndSavesItsMembers)
{
    CTestDialog dialog;
    CModalDialogDriver driver([](CDialog& dlg) {
        EXPECT_FALSE(dlg.IsWindowVisible());
        EXPECT_EQ(CString(L"Bilancio"), ItemText(dlg, IDC_TEST_NAME));
        EXPECT_EQ(CString(L"5"), ItemText(dlg, IDC_TEST_COUNT));
        EXPECT_EQ(10u, static_cast<UINT>(dlg.SendDlgItemMessage(IDC_TEST_NAME, EM_GETLIMITTEXT)));
        EXPECT_EQ(1, dlg.SendDlgItemMessage(IDC_TEST_COMBO, CB_GETCURSEL));
        dlg.SetDlgItemText(IDC_TEST_NAME, L"Rendiconto");
        dlg.SetDlgItemText(IDC_TEST_COUNT, L" 42 ");
        dlg.CheckDlgButton(IDC_TEST_CHECK, BST_UNCHECKED);
        dlg.SendDlgItemMessage(IDC_TEST_COMBO, CB_SETCURSEL, 2);
        dlg.SendMessage(WM_COMMAND, IDOK);
        return IDCANCEL;   // not used: OK has ended the dialog
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(1, driver.Shown());
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    EXPECT_EQ(CString(L"Rendiconto"), dialog.m_strName);
    EXPECT_EQ(42, dialog.m_nCount);
    EXPECT_EQ(BST_UNCHECKED, dialog.m_nCheck);
    EXPECT_EQ(2, dialog.m_nChoice);
}

TEST(Dialog, RefusedValuesKeepTheDialogOpenWithTheFrameworksPrompt)
{
    struct
    {
        const wchar_t* pszName;
        const wchar_t* pszCount;
        UINT nIDPrompt;
        const wchar_t* pszInsert1;
        const wchar_t* pszInsert2;
        int nIDC;
    } cases[] = {
        {L"Bilancio", L"12a", AFX_IDP_PARSE_INT, nullptr, nullptr, IDC_TEST_COUNT},
        {L"Bilancio", L"", AFX_IDP_PARSE_INT, nullptr, nullptr, IDC_TEST_COUNT},
        {L"Bilancio", L"99999999999", AFX_IDP_PARSE_INT, nullptr, nullptr, IDC_TEST_COUNT},
        {L"Bilancio", L"150", AFX_IDP_PARSE_INT_RANGE, L"1", L"99", IDC_TEST_COUNT},
        {L"Rendiconto1", L"3", AFX_IDP_PARSE_STRING_SIZE, L"10", nullptr, IDC_TEST_NAME},
    };
    for (const auto& c : cases) {
        CMessageBoxRecorder boxes;
        CTestDialog dialog;
        CModalDialogDriver driver([&](CDialog& dlg) {
            dlg.SetDlgItemText(IDC_TEST_NAME, c.pszName);
            dlg.SetDlgItemText(IDC_TEST_COUNT, c.pszCount);
            dlg.SendMessage(WM_COMMAND, IDOK);
            EXPECT_TRUE(::IsWindow(dlg.m_hWnd)) << c.pszCount;
            // The refused text is selected, ready to be typed over.
            DWORD dwSel = static_cast<DWORD>(dlg.SendDlgItemMessage(c.nIDC, EM_GETSEL));
            EXPECT_EQ(ItemText(dlg, c.nIDC).GetLength(), static_cast<int>(HIWORD(dwSel))) << c.pszCount;
            return IDCANCEL;
        });
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
        ASSERT_EQ(1u, boxes.Count()) << c.pszCount;
        CString strExpected;
        strExpected.FormatMessage(c.nIDPrompt, c.pszInsert1, c.pszInsert2);
        EXPECT_EQ(strExpected, boxes.Last().text);
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes.LastIcon());
    }
}

TEST(Dialog, TheRealModalLoopDisablesTheOwnerUntilTheDialogEnds)
{
    CRealModalLoop realLoop;
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    class CWatchingDialog : public CTestDialog
    {
    public:
        explicit CWatchingDialog(CWnd* pOwner) : CTestDialog(pOwner), m_hWndOwner(pOwner->m_hWnd) {}
        HWND m_hWndOwner;
        BOOL m_bOwnerEnabledInside = TRUE;
        void OnCancel() override
        {
            m_bOwnerEnabledInside = ::IsWindowEnabled(m_hWndOwner);
            CTestDialog::OnCancel();
        }
    } dialog(&owner);
    UINT_PTR nTimer = ::SetTimer(nullptr, 0, 50, CancelTestDialog);
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    ::KillTimer(nullptr, nTimer);
    EXPECT_EQ(1, dialog.m_nInitDialogs);
    EXPECT_FALSE(dialog.m_bOwnerEnabledInside);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    owner.DestroyWindow();
}

TEST(Dialog, ModelessDialogFromATemplateInMemory)
{
    CDialogTemplate dlgTemplate(WS_POPUP | WS_CAPTION, 120, 60, L"In memoria");
    dlgTemplate.AddItem(L"STATIC", L"&Codice:", 100, SS_LEFT, 5, 5, 40, 10)
        .AddItem(L"EDIT", L"", 101, WS_BORDER | ES_AUTOHSCROLL, 50, 5, 60, 12)
        .AddItem(L"BUTTON", L"OK", IDOK, BS_DEFPUSHBUTTON, 60, 40, 50, 14);
    class CMemoryDialog : public CDialog
    {
    public:
        CString m_strCode = L"A-7";

    protected:
        void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, 101, m_strCode); }
    } dialog;
    ASSERT_TRUE(dialog.CreateIndirect(dlgTemplate.Get()));
    EXPECT_EQ(CString(L"A-7"), ItemText(dialog, 101));
    CString strCaption;
    dialog.GetWindowText(strCaption);
    EXPECT_EQ(CString(L"In memoria"), strCaption);
    dialog.SetDlgItemText(101, L"B-2");
    EXPECT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(CString(L"B-2"), dialog.m_strCode);
    EXPECT_TRUE(dialog.DestroyWindow());
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

TEST(Dialog, FileDialogAnswersThroughTheSeam)
{
    CFileDialog dialog(FALSE, L"xls", L"Allegato D-07 (A-2)", OFN_OVERWRITEPROMPT,
                       L"Fogli di lavoro Excel (*.xls)|*.xls|Tutti i file (*.*)|*.*||");
    CModalDialogDriver driver([](CDialog& dlg) {
        auto& fileDialog = static_cast<CFileDialog&>(dlg);
        EXPECT_FALSE(fileDialog.IsOpenFileDialog());
        EXPECT_EQ(CString(L"Allegato D-07 (A-2)"), fileDialog.GetPathName());
        // The filter's '|' are terminators: two descriptions with their patterns, then the end.
        LPCWSTR pszFilter = fileDialog.m_ofn.lpstrFilter;
        EXPECT_STREQ(L"Fogli di lavoro Excel (*.xls)", pszFilter);
        pszFilter += wcslen(pszFilter) + 1;
        EXPECT_STREQ(L"*.xls", pszFilter);
        pszFilter += wcslen(pszFilter) + 1;
        pszFilter += wcslen(pszFilter) + 1;
        pszFilter += wcslen(pszFilter) + 1;
        EXPECT_EQ(L'\0', *pszFilter);
        wcscpy(fileDialog.m_ofn.lpstrFile, L"C:\\Dati\\Allegato.xls");
        return IDOK;
    });
    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(CString(L"C:\\Dati\\Allegato.xls"), dialog.GetPathName());
    EXPECT_EQ(CString(L"Allegato.xls"), dialog.GetFileName());
    EXPECT_EQ(CString(L"xls"), dialog.GetFileExt());
    EXPECT_EQ(CString(L"Allegato"), dialog.GetFileTitle());
}

TEST(Dialog, ColorDialogAnswersThroughTheSeam)
{
    // The user picks a colour, then confirms or cancels: a cancel keeps the starting colour.
    const struct
    {
        INT_PTR nAnswer;
        COLORREF clrExpected;
    } cases[] = {{IDOK, RGB(12, 34, 56)}, {IDCANCEL, RGB(200, 100, 0)}};
    for (const auto& c : cases) {
        CColorDialog dialog(RGB(200, 100, 0));
        CModalDialogDriver driver([&](CDialog& dlg) {
            auto& colorDialog = static_cast<CColorDialog&>(dlg);
            EXPECT_EQ(RGB(200, 100, 0), colorDialog.m_cc.rgbResult);
            EXPECT_TRUE(colorDialog.m_cc.Flags & CC_RGBINIT);
            EXPECT_EQ(sizeof(CHOOSECOLORW), colorDialog.m_cc.lStructSize);
            colorDialog.m_cc.rgbResult = RGB(12, 34, 56);
            return c.nAnswer;
        });
        EXPECT_EQ(c.nAnswer, dialog.DoModal());
        EXPECT_EQ(1, driver.Shown());
        EXPECT_EQ(c.clrExpected, dialog.GetColor());
    }
}

TEST(FormView, AModelessFormInsideAFrame)
{
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CTestForm);
    context.m_pCurrentDoc = new CFormDoc;
    auto pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->LoadFrame(IDR_TESTFRAME, WS_OVERLAPPEDWINDOW, nullptr, &context));
    pFrame->InitialUpdateFrame(context.m_pCurrentDoc, FALSE);   // hidden: the views' update comes next
    pFrame->SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    CWnd* pView = pFrame->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
    ASSERT_TRUE(pView && pView->IsKindOf(RUNTIME_CLASS(CTestForm)));
    auto pForm = static_cast<CTestForm*>(pView);
    EXPECT_EQ(pForm, pFrame->GetActiveView());
    EXPECT_EQ(context.m_pCurrentDoc, pForm->GetDocument());

    // Loaded at the initial update; the load's own change notification is not an edit.
    EXPECT_EQ(CString(L"iniziale"), ItemText(*pForm, IDC_TEST_FORMEDIT));
    EXPECT_EQ(0, pForm->m_nChanges);
    pForm->SetDlgItemText(IDC_TEST_FORMEDIT, L"modificato");
    EXPECT_EQ(1, pForm->m_nChanges);
    pForm->SendDlgItemMessage(IDC_TEST_FORMBUTTON, BM_CLICK);
    EXPECT_EQ(1, pForm->m_nAdded);
    EXPECT_TRUE(pForm->UpdateData(TRUE));
    EXPECT_EQ(CString(L"modificato"), pForm->m_strText);

    // The form is a child filling the frame's client area.
    EXPECT_TRUE(pForm->GetStyle() & WS_CHILD);
    CRect rectClient, rectForm;
    pFrame->GetClientRect(&rectClient);
    pForm->GetWindowRect(&rectForm);
    pFrame->ScreenToClient(&rectForm);
    EXPECT_TRUE(rectForm == rectClient);

    pFrame->DestroyWindow();   // the frame, the form and the document end together
}
