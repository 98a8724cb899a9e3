#include "controls/MyButton.h"
#include "data/DataTestArchive.h"
#include "dialogs/DlgCapitoli.h"
#include "dialogs/DlgExtraImpCon.h"
#include "resource.h"
#include "support/ModalDialogDriver.h"

#include <functional>
#include <memory>

namespace {

CString ToolTipText(CMyButton& button)
{
    CToolTipCtrl& tip = button.GetToolTip();
    if (!tip.GetSafeHwnd() || tip.GetToolCount() != 1)
        return L"<no tip>";
    WCHAR szText[256] = {};
    TTTOOLINFOW ti = {};
    ti.cbSize = sizeof(ti);
    ti.lpszText = szText;
    if (!tip.SendMessage(TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&ti)) ||
        reinterpret_cast<HWND>(ti.uId) != button.m_hWnd)
        return L"<other tool>";
    return szText;
}

class ListButtonsTest : public CDataTestArchive
{
};

// The add, change and delete buttons of both list dialogs show an icon alone, their caption in the tooltip.
TEST_F(ListButtonsTest, ButtonsShowIconsWithTheirCaptionsAsTooltips)
{
    struct Case {
        const char* pszName;
        std::function<std::unique_ptr<CDialog>(CADOConnection&)> make;
        LPCTSTR pszCaptions[3];
    };
    const Case cases[] = {
        {"chapters",
         [](CADOConnection& data) { return std::make_unique<CDlgCapitoli>(nullptr, data, CSetCapitoli::kindSpese); },
         {L"&Aggiungi Capitolo", L"&Modifica Capitolo", L"&Elimina Capitolo"}},
        {"centres", [](CADOConnection& data) { return std::make_unique<CDlgExtraImpCon>(nullptr, data); },
         {L"&Aggiungi C.d.R.", L"&Modifica C.d.R.", L"&Elimina C.d.R."}},
    };
    const int buttonIds[] = {IDC_ITEM_ADD, IDC_ITEM_MODIFY, IDC_ITEM_DELETE};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        std::unique_ptr<CDialog> pDialog = c.make(m_data);
        int nChecked = 0;
        CModalDialogDriver driver([&](CDialog& dlg) -> INT_PTR {
            for (int i = 0; i < 3; ++i) {
                SCOPED_TRACE(i);
                auto* pButton = dynamic_cast<CMyButton*>(dlg.GetDlgItem(buttonIds[i]));
                EXPECT_NE(nullptr, pButton);
                if (!pButton)
                    continue;
                EXPECT_NE(nullptr, pButton->GetIcon());
                EXPECT_TRUE(pButton->GetStyle() & BS_ICON);
                CString strFace;
                pButton->GetWindowText(strFace);
                EXPECT_EQ(CString(), strFace);
                EXPECT_EQ(CString(c.pszCaptions[i]), ToolTipText(*pButton));
                ++nChecked;
            }
            return IDCANCEL;
        });
        pDialog->DoModal();
        EXPECT_EQ(3, nChecked);
    }
}

} // namespace
