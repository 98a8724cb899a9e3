#include "import/DlgImportOptions.h"
#include "platform/mfc/afxdlgs.h"
#include "resource.h"
#include "support/ModalDialogDriver.h"

#include <gtest/gtest.h>

namespace {

CString ItemText(CWnd& dialog, int nID)
{
    CString strText;
    dialog.GetDlgItemText(nID, strText);
    return strText;
}

// Answers the file dialogs with the given path; works the option dialog with the handler.
class CImportDialogDriver
{
public:
    CImportDialogDriver(LPCTSTR pszChosen, std::function<void(CDialog&)> handler)
        : m_driver([this, pszChosen, handler](CDialog& dlg) -> INT_PTR {
              if (auto* pFile = dynamic_cast<CFileDialog*>(&dlg)) {
                  m_titles.push_back(pFile->m_ofn.lpstrTitle);
                  m_initialNames.push_back(pFile->m_ofn.lpstrFile);
                  wcscpy_s(pFile->m_ofn.lpstrFile, pFile->m_ofn.nMaxFile, pszChosen);
                  return IDOK;
              }
              handler(dlg);
              return IDCANCEL;
          })
    {
    }

    std::vector<CString> m_titles;
    std::vector<CString> m_initialNames;

private:
    CModalDialogDriver m_driver;
};

TEST(ImportDialogTest, CertificateDialogProposesTheYearsFileAndRefusesAnEmptyPath)
{
    CDlgImpCert dialog(nullptr, 2003);
    CImportDialogDriver driver(L"D:\\cert\\CC0301.txt", [](CDialog& dlg) {
        EXPECT_EQ(CString(L"A:\\Archivi\\CC0301.txt"), ItemText(dlg, IDC_IMP_CERT_PATH));
        EXPECT_NE(-1, ItemText(dlg, IDC_IMP_CERT_GROUP).Find(L"Conto 2003"));
        EXPECT_NE(-1, ItemText(dlg, IDC_IMP_OPTION_ERASE).Find(L"per l'anno 2003 prima"));
        EXPECT_EQ(BST_CHECKED, dlg.IsDlgButtonChecked(IDC_IMP_OPTION_ERASE));
        dlg.SetDlgItemText(IDC_IMP_CERT_PATH, L"  ");
        dlg.SendMessage(WM_COMMAND, IDOK);
        EXPECT_TRUE(::IsWindow(dlg.m_hWnd)) << "empty path";
        dlg.SendMessage(WM_COMMAND, IDC_IMP_CERT_BROWSE);
        EXPECT_EQ(CString(L"D:\\cert\\CC0301.txt"), ItemText(dlg, IDC_IMP_CERT_PATH));
        dlg.CheckRadioButton(IDC_IMP_OPTION_ERASE, IDC_IMP_OPTION_EMPTY, IDC_IMP_OPTION_EMPTY);
        dlg.SendMessage(WM_COMMAND, IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(CString(L"D:\\cert\\CC0301.txt"), dialog.m_strPath);
    EXPECT_EQ(2, dialog.m_nOption);
    ASSERT_EQ(1u, driver.m_titles.size());
    EXPECT_EQ(CString(L"Selezionare il file ministeriale del Certificato al Conto per l'anno 2003"),
              driver.m_titles[0]);
}

TEST(ImportDialogTest, ChosenRevenueFolderCarriesTheExpenseFileName)
{
    CDlgImpGest dialog(nullptr);
    CImportDialogDriver driver(L"D:\\exp\\nentrate.txt", [](CDialog& dlg) {
        dlg.SetDlgItemText(IDC_IMP_EXPENSE_PATH, L"");
        dlg.SendMessage(WM_COMMAND, IDOK);
        EXPECT_TRUE(::IsWindow(dlg.m_hWnd)) << "empty expense path";
        dlg.SetDlgItemText(IDC_IMP_EXPENSE_PATH, L"A:\\nuscite.txt");
        dlg.SendMessage(WM_COMMAND, IDC_IMP_REVENUE_BROWSE);
        EXPECT_EQ(CString(L"D:\\exp\\nentrate.txt"), ItemText(dlg, IDC_IMP_REVENUE_PATH));
        EXPECT_EQ(CString(L"D:\\exp\\nuscite.txt"), ItemText(dlg, IDC_IMP_EXPENSE_PATH));
        dlg.SendMessage(WM_COMMAND, IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(CString(L"D:\\exp\\nuscite.txt"), dialog.m_strExpensePath);
    ASSERT_EQ(1u, driver.m_initialNames.size());
    EXPECT_EQ(CString(L"A:\\nentrate.txt"), driver.m_initialNames[0]);
    EXPECT_EQ(CString(L"Selezionare il file delle entrate"), driver.m_titles[0]);
}

TEST(ImportDialogTest, PlanningDialogShowsItsNote)
{
    CDlgImpRel dialog(nullptr);
    CImportDialogDriver driver(L"", [](CDialog& dlg) {
        EXPECT_FALSE(ItemText(dlg, IDC_IMP_NOTE).IsEmpty());
        dlg.CheckRadioButton(IDC_IMP_OPTION_ERASE, IDC_IMP_OPTION_EMPTY, IDC_IMP_OPTION_SOURCE);
        dlg.SendMessage(WM_COMMAND, IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(1, dialog.m_nOption);
}

} // namespace
