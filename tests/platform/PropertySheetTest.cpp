// Property sheets: a modal sheet driven through the seam with a page from the resources and a page from a
// template in memory, its pages' data saved when they are left and applied on OK, a refused value that keeps
// the sheet open, Cancel, the real modal loop and a modeless sheet.
#include "PlatformTestRes.h"
#include "platform/mfc/afxdlgs.h"
#include "support/DialogTemplate.h"
#include "support/MessageBoxRecorder.h"
#include "support/ModalDialogDriver.h"

#include <gtest/gtest.h>

namespace
{
const int IDC_TEST_SHOWICONS = 301;
const int ID_APPLY_NOW = 0x3021;   // the sheet's Apply button

// A page of the resources with a text limited to 10 characters.
class CNamePage : public CPropertyPage
{
public:
    CNamePage() : CPropertyPage(IDD_TEST_PAGE) {}
    CString m_strName = L"Bilancio";
    int m_nSetActive = 0;
    int m_nApplied = 0;
    int m_nReset = 0;

    BOOL OnSetActive() override
    {
        ++m_nSetActive;
        return CPropertyPage::OnSetActive();
    }
    void OnOK() override { ++m_nApplied; }
    void OnCancel() override { ++m_nReset; }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_TEST_PAGENAME, m_strName);
        DDV_MaxChars(pDX, m_strName, 10);
    }
};

// A page whose template is supplied in memory, as a resource loader would.
class COptionsPage : public CPropertyPage
{
public:
    COptionsPage() : CPropertyPage(1u)
    {
        m_template.AddItem(L"BUTTON", L"&Mostra icone", IDC_TEST_SHOWICONS, BS_AUTOCHECKBOX | WS_TABSTOP, 7, 7, 100, 10);
        m_psp.pResource = m_template.Get();
        m_psp.dwFlags |= PSP_DLGINDIRECT;
    }
    int m_nShowIcons = BST_CHECKED;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Check(pDX, IDC_TEST_SHOWICONS, m_nShowIcons); }

private:
    CDialogTemplate m_template{DS_CONTROL | WS_CHILD | WS_CAPTION, 180, 80, L"Opzioni"};
};

class PropertySheetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
        m_sheet.AddPage(&m_namePage);
        m_sheet.AddPage(&m_optionsPage);
    }

    // The sheet of the page the seam's handler gets.
    static CPropertySheet& SheetOf(CDialog& page)
    {
        CWnd* pParent = page.GetParent();
        EXPECT_TRUE(pParent->IsKindOf(RUNTIME_CLASS(CPropertySheet)));
        return *static_cast<CPropertySheet*>(pParent);
    }
    static void Press(CPropertySheet& sheet, int nID) { sheet.GetDlgItem(nID)->SendMessage(BM_CLICK); }

    CNamePage m_namePage;
    COptionsPage m_optionsPage;
    CPropertySheet m_sheet{L"Personalizza"};
};
} // namespace

TEST_F(PropertySheetTest, ModalSheetSavesEachPageItLeavesAndAppliesOnOK)
{
    m_sheet.SetActivePage(1);
    CModalDialogDriver driver([this](CDialog& page) {
        EXPECT_EQ(&m_optionsPage, &page);   // the start page
        CPropertySheet& sheet = SheetOf(page);
        EXPECT_EQ(&m_sheet, &sheet);
        EXPECT_FALSE(sheet.IsWindowVisible());
        CString strCaption;
        sheet.GetWindowText(strCaption);
        EXPECT_EQ(CString(L"Personalizza"), strCaption);
        CWnd* pApply = sheet.GetDlgItem(ID_APPLY_NOW);
        EXPECT_TRUE(!pApply || !pApply->IsWindowVisible());
        EXPECT_EQ(2, sheet.GetTabControl()->GetItemCount());

        EXPECT_EQ(BST_CHECKED, page.IsDlgButtonChecked(IDC_TEST_SHOWICONS));
        page.CheckDlgButton(IDC_TEST_SHOWICONS, BST_UNCHECKED);
        EXPECT_TRUE(sheet.SetActivePage(0));   // leaving the page saves it
        EXPECT_EQ(BST_UNCHECKED, m_optionsPage.m_nShowIcons);
        EXPECT_EQ(0, sheet.GetActiveIndex());
        EXPECT_EQ(&m_namePage, CWnd::FromHandlePermanent(m_namePage.m_hWnd));
        EXPECT_EQ(1, m_namePage.m_nSetActive);
        CString strName;
        m_namePage.GetDlgItemText(IDC_TEST_PAGENAME, strName);
        EXPECT_EQ(CString(L"Bilancio"), strName);
        m_namePage.SetDlgItemText(IDC_TEST_PAGENAME, L"Rendiconto");
        Press(sheet, IDOK);
        return IDCANCEL;   // not used: OK has ended the sheet
    });
    EXPECT_EQ(IDOK, m_sheet.DoModal());
    EXPECT_EQ(1, driver.Shown());
    EXPECT_EQ(CString(L"Rendiconto"), m_namePage.m_strName);
    EXPECT_EQ(1, m_namePage.m_nApplied);
    EXPECT_EQ(nullptr, m_sheet.m_hWnd);
    EXPECT_EQ(nullptr, m_namePage.m_hWnd);
    EXPECT_EQ(nullptr, m_optionsPage.m_hWnd);
}

TEST_F(PropertySheetTest, ARefusedValueKeepsTheSheetOpenUntilCancel)
{
    CMessageBoxRecorder boxes;
    CModalDialogDriver driver([&](CDialog& page) {
        CPropertySheet& sheet = SheetOf(page);
        page.SetDlgItemText(IDC_TEST_PAGENAME, L"Rendiconto 2008");
        Press(sheet, IDOK);
        EXPECT_EQ(1u, boxes.Count());
        EXPECT_TRUE(sheet.ContinueModal());   // still open on the page
        EXPECT_EQ(0, m_namePage.m_nApplied);
        Press(sheet, IDCANCEL);
        EXPECT_FALSE(sheet.ContinueModal());
        return IDOK;   // not used: Cancel has ended the sheet
    });
    EXPECT_EQ(IDCANCEL, m_sheet.DoModal());
    ASSERT_EQ(1u, boxes.Count());
    CString strExpected;
    strExpected.FormatMessage(AFX_IDP_PARSE_STRING_SIZE, L"10");
    EXPECT_EQ(strExpected, boxes.Last().text);
    EXPECT_EQ(1, m_namePage.m_nReset);
}

TEST_F(PropertySheetTest, TheHandlersAnswerEndsASheetItLeftOpen)
{
    CModalDialogDriver driver([](CDialog&) { return IDCANCEL; });
    EXPECT_EQ(IDCANCEL, m_sheet.DoModal());
    EXPECT_EQ(nullptr, m_sheet.m_hWnd);
}

namespace
{
// Presses OK of the first sheet titled "Personalizza" that is shown, from the modal loop's own pump.
void CALLBACK PressOkWhenShown(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    HWND hSheet = ::FindWindowW(nullptr, L"Personalizza");
    if (hSheet && ::IsWindowVisible(hSheet)) {
        ::KillTimer(nullptr, nIDEvent);
        ::PostMessageW(::GetDlgItem(hSheet, IDOK), BM_CLICK, 0, 0);
    }
}
} // namespace

TEST_F(PropertySheetTest, TheRealModalLoopShowsTheSheetAndEndsWithIt)
{
    CRealModalLoop realLoop;
    UINT_PTR nTimer = ::SetTimer(nullptr, 0, 50, PressOkWhenShown);
    EXPECT_EQ(IDOK, m_sheet.DoModal());
    ::KillTimer(nullptr, nTimer);
    EXPECT_EQ(1, m_namePage.m_nApplied);
    EXPECT_EQ(nullptr, m_sheet.m_hWnd);
}

TEST_F(PropertySheetTest, AModelessSheet)
{
    ASSERT_TRUE(m_sheet.Create(nullptr, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME));
    EXPECT_FALSE(m_sheet.IsWindowVisible());   // the style asked for
    EXPECT_EQ(&m_sheet, CWnd::FromHandlePermanent(m_sheet.m_hWnd));
    EXPECT_EQ(&m_namePage, m_sheet.GetActivePage());
    CString strName;
    m_namePage.GetDlgItemText(IDC_TEST_PAGENAME, strName);
    EXPECT_EQ(CString(L"Bilancio"), strName);
    m_sheet.EndDialog(IDOK);
    EXPECT_EQ(nullptr, m_sheet.m_hWnd);
    EXPECT_EQ(nullptr, m_namePage.m_hWnd);
}
