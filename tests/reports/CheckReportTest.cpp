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
    CModalDialogDriver driver([&](CDialog& dialog) -> INT_PTR {
        if (auto* pReport = dynamic_cast<CDlgRappControlli*>(&dialog)) {
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
    EXPECT_TRUE(bLocked);
    EXPECT_NE(-1, text.Find(L"- Totale Titolo 1 Spese (cassa/competenza)"));
    EXPECT_EQ(-1, text.Find(L"Entrate ("));
    EXPECT_EQ(-1, text.Find(L'\n'));
}
