#include "dialogs/DlgAbout.h"
#include "resource.h"
#include "support/ModalDialogDriver.h"
#include "ui/themes/HyperLink.h"
#include "util/VersionInfo.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CString ItemText(CDialog& dialog, int nID)
{
    CString strText;
    dialog.GetDlgItemText(nID, strText);
    return strText;
}

} // namespace

TEST(AboutBox, ShowsTheVersionTheProductCodeAndTheReleaseNotesNewestFirst)
{
    CDlgAbout dialog(nullptr, L"87654321");
    CString strVersion, strCode, strNotes, strTitle;
    CString strTarget, strTip;
    CModalDialogDriver driver([&](CDialog& dlg) -> INT_PTR {
        strTitle = ItemText(dlg, IDC_ABOUT_TITLE);
        strVersion = ItemText(dlg, IDC_ABOUT_VERSION);
        strCode = ItemText(dlg, IDC_ABOUT_PRODUCT_CODE);
        strNotes = ItemText(dlg, IDC_ABOUT_NEWS);
        if (auto* pLink = dynamic_cast<CXTHyperLink*>(CWnd::FromHandlePermanent(dlg.GetDlgItem(IDC_ABOUT_LINK)->m_hWnd))) {
            strTarget = pLink->GetTarget();
            strTip = pLink->GetTipText();
        }
        return IDOK;
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(CString(L"Verifica Vorsa 2008"), strTitle);
    // The program file is version 2.1.
    EXPECT_EQ(CString(L"Versione 2.01"), strVersion);
    EXPECT_EQ(CString(L"Codice Prodotto: 87654-321"), strCode);
    EXPECT_EQ(CString(L"http://www.lumetra.example/"), strTarget);
    EXPECT_EQ(CString(L"Visita il sito Lumetra Solutions"), strTip);

    // Blocks of dashes, "Versione x.yy", dashes and "- " lines; the first is the running version, the rest older.
    std::vector<CString> lines;
    int nStart = 0;
    while (nStart < strNotes.GetLength()) {
        int nEnd = strNotes.Find(L"\r\n", nStart);
        ASSERT_NE(-1, nEnd) << "every line ends with CR LF";
        lines.push_back(strNotes.Mid(nStart, nEnd - nStart));
        nStart = nEnd + 2;
    }
    std::vector<CString> versions;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].Left(9) == L"Versione ") {
            ASSERT_TRUE(i > 0 && i + 1 < lines.size());
            EXPECT_EQ(L'-', lines[i - 1][0]);
            EXPECT_EQ(lines[i - 1], lines[i + 1]);
            versions.push_back(lines[i].Mid(9));
        }
        else if (lines[i].SpanIncluding(L"-") != lines[i]) {
            EXPECT_EQ(CString(L"- "), lines[i].Left(2)) << lines[i];
        }
    }
    ASSERT_FALSE(versions.empty());
    EXPECT_EQ(strVersion.Mid(9), versions[0]);
    for (size_t i = 1; i < versions.size(); ++i)
        EXPECT_GT(versions[i - 1], versions[i]) << "newest first";
}
