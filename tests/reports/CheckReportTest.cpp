// The consistency check as the user meets it: nothing shown while the centres' totals agree with the forecast
// balance; otherwise the report dialog with one line per differing title, read-only, printable.
#include "data/DataTestArchive.h"
#include "platform/mfc/afxprintdlg.h"
#include "reports/DlgRappControlli.h"
#include "resource.h"
#include "support/ModalDialogDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using CheckReportTest = CDataTestArchive;

TEST_F(CheckReportTest, DifferencesAreShownInTheReportDialog)
{
    CModalDialogDriver silent([](CDialog&) -> INT_PTR { return IDCANCEL; });
    EXPECT_TRUE(CheckSaldiConsistency(m_data));
    EXPECT_EQ(0, silent.Shown());
    Execute(L"INSERT INTO SaldoFinProg (ID, Anno4Cas, Anno4Com) VALUES (2104, 10, 4)");
    Execute(L"INSERT INTO SaldoFinCalc (ID, idResp, Anno4Cas, Anno4Com) VALUES (2104, 0, 10, 4)");
    EXPECT_TRUE(CheckSaldiConsistency(m_data));

    Execute(L"INSERT INTO SaldoFinProg (ID, Anno4Cas, Anno4Com) VALUES (201, 7, 7)");
    std::vector<std::string> seen;
    CString text;
    bool bLocked = false;
    std::vector<CRect> layout;   // control, print button, close button; at first and after growing
    CModalDialogDriver driver([&](CDialog& dialog) -> INT_PTR {
        if (auto* pReport = dynamic_cast<CDlgRappControlli*>(&dialog)) {
            for (int nSize = 0; nSize < 2; ++nSize) {
                if (nSize == 1)
                    pReport->SetWindowPos(nullptr, 0, 0, 900, 500, SWP_NOMOVE | SWP_NOZORDER);
                CRect rcClient;
                pReport->GetClientRect(&rcClient);
                layout.push_back(rcClient);
                for (UINT nID : {1008u, static_cast<UINT>(IDC_STAMPA_RAPPORTO), static_cast<UINT>(IDCANCEL)}) {
                    CRect rc;
                    pReport->GetDlgItem(nID)->GetWindowRect(&rc);
                    pReport->ScreenToClient(&rc);
                    layout.push_back(rc);
                }
            }
            seen.push_back("report");
            text = pReport->GetControl().GetDocument().GetText();
            bLocked = pReport->GetControl().IsLocked();
            pReport->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_STAMPA_RAPPORTO, BN_CLICKED));
        }
        else if (dynamic_cast<CPrintDialog*>(&dialog)) {
            seen.push_back("print");
        }
        return IDCANCEL;
    });
    EXPECT_FALSE(CheckSaldiConsistency(m_data));
    EXPECT_EQ((std::vector<std::string>{"report", "print"}), seen);
    // At 750 x 350 and grown, the buttons stay in the client area's bottom right corner, below the text.
    ASSERT_EQ(8u, layout.size());
    for (size_t i = 0; i < layout.size(); i += 4) {
        const CRect& rcClient = layout[i];
        const CRect& rcText = layout[i + 1];
        const CRect& rcPrint = layout[i + 2];
        const CRect& rcClose = layout[i + 3];
        EXPECT_LE(rcClose.right, rcClient.right);
        EXPECT_GE(rcClose.right, rcClient.right - 20);
        EXPECT_LE(rcClose.bottom, rcClient.bottom);
        EXPECT_GE(rcClose.bottom, rcClient.bottom - 20);
        EXPECT_EQ(rcClose.top, rcPrint.top);
        EXPECT_LT(rcPrint.right, rcClose.left);
        EXPECT_LE(rcText.bottom, rcClose.top);
        EXPECT_GE(rcText.Height(), rcClient.Height() / 2);
    }
    EXPECT_GT(layout[5].Height(), layout[1].Height());
    EXPECT_TRUE(bLocked);
    EXPECT_NE(-1, text.Find(L"- Totale Titolo 1 Spese (cassa/competenza)"));
    EXPECT_EQ(-1, text.Find(L"Entrate ("));
    EXPECT_EQ(-1, text.Find(L'\n'));
}
