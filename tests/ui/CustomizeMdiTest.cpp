// The customise sheet on an MDI frame with command bars and a status bar: the sheet lists the frame's bars, and
// while it is open clicks on a document, on the MDI client and on the status bar are swallowed while the bars
// still take theirs.
#include "FrameTestSupport.h"
#include "support/ModalDialogDriver.h"

#include "platform/mfc/afxmdi.h"
#include "ui/commandbars/XTPCustomizeSheet.h"
#include "ui/commandbars/XTPCustomizeToolbarsPage.h"
#include "ui/commandbars/XTPStatusBar.h"
#include "ui/commandbars/XTPToolBar.h"

#include <gtest/gtest.h>

namespace
{
class CBarsMDIFrame : public CXTPCommandBarsSiteBase<CMDIFrameWnd>
{
};

CPoint ScreenCentre(CWnd* pWnd)
{
    CRect rc;
    pWnd->GetWindowRect(&rc);
    return rc.CenterPoint();
}
}

TEST(CustomizeMdiTest, OnAnMdiFrameTheSheetListsItsBarsAndOnlyTheBarsTakeClicks)
{
    auto* pFrame = new CBarsMDIFrame;
    ASSERT_TRUE(pFrame->Create(nullptr, L"Prova MDI", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 560, 400)));
    ASSERT_TRUE(pFrame->InitCommandBars());
    CXTPCommandBars* pCommandBars = pFrame->GetCommandBars();
    ASSERT_NE(nullptr, pCommandBars->SetMenu(L"Menu Bar", IDR_FRAMETEST));
    CXTPToolBar* pToolBar = pCommandBars->Add(L"Standard", xtpBarTop);
    ASSERT_TRUE(pToolBar && pToolBar->LoadToolBar(IDR_FRAMETEST));
    CPressCounter<CXTPStatusBar> status;
    ASSERT_TRUE(status.Create(pFrame));
    status.AddIndicator(0);
    auto* pDocument = new CPressCounter<CMDIChildWnd>;
    ASSERT_TRUE(pDocument->Create(nullptr, L"Documento", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                  CRect(0, 0, 200, 120), pFrame));
    pFrame->RecalcLayout();
    for (int i = 0; i < 20 && ::GetForegroundWindow() != pFrame->m_hWnd; i++) {
        ::SetForegroundWindow(pFrame->m_hWnd);
        PumpFrame(pFrame->m_hWnd, 20);
    }
    PumpFrame(pFrame->m_hWnd);

    // Beside the document, in the MDI client's own area.
    CRect rcClient;
    ::GetWindowRect(pFrame->m_hWndMDIClient, &rcClient);
    const CPoint ptClient(rcClient.right - 30, rcClient.bottom - 30);
    const CPoint ptDocument = ScreenCentre(pDocument), ptStatus = ScreenCentre(&status);
    CPressCounter<CWnd> client;
    ASSERT_TRUE(client.SubclassWindow(pFrame->m_hWndMDIClient));

    std::vector<CString> listed;
    int nDocument = -1, nStatus = -1, nClient = -1;
    CXTPControl* pDragged = nullptr;
    CModalDialogDriver driver([&](CDialog&) -> INT_PTR {
        CXTPCustomizeSheet* pSheet = CXTPCustomizeSheet::GetRunning();
        CCheckListBox& list = pSheet->GetToolbarsPage()->GetToolbarList();
        for (int i = 0; i < list.GetCount(); i++) {
            CString strText;
            list.GetText(i, strText);
            listed.push_back(strText);
        }
        CRect rcFrame;
        pFrame->GetWindowRect(&rcFrame);
        pSheet->SetWindowPos(nullptr, rcFrame.right + 10, rcFrame.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        for (int i = 0; i < 20 && ::GetForegroundWindow() != pSheet->m_hWnd; i++) {
            ::SetForegroundWindow(pSheet->m_hWnd);
            PumpFrame(pFrame->m_hWnd, 20);
        }
        for (CPoint pt : {ptDocument, ptClient, ptStatus}) {
            SendClick(pt);
            PumpFrame(pFrame->m_hWnd);
        }
        nDocument = pDocument->m_nPresses;
        nClient = client.m_nPresses;
        nStatus = status.m_nPresses;
        CPoint ptButton = pToolBar->GetControls()->GetAt(1)->GetRect().CenterPoint();
        pToolBar->ClientToScreen(&ptButton);
        SendClick(ptButton);
        PumpFrame(pFrame->m_hWnd);
        pDragged = pCommandBars->GetDragControl();
        return IDCANCEL;
    });
    CXTPCustomizeSheet sheet(pCommandBars);
    sheet.DoModal();

    EXPECT_EQ((std::vector<CString>{L"Menu Bar", L"Standard"}), listed);
    EXPECT_EQ(0, nDocument) << "the document's click was swallowed";
    EXPECT_EQ(0, nClient) << "the MDI client's click was swallowed";
    EXPECT_EQ(0, nStatus) << "the status bar's click was swallowed";
    EXPECT_EQ(pToolBar->GetControls()->GetAt(1), pDragged) << "the toolbar took its press";

    // Without the sheet the same clicks arrive.
    for (CPoint pt : {ptDocument, ptStatus}) {
        SendClick(pt);
        PumpFrame(pFrame->m_hWnd);
    }
    EXPECT_EQ(1, pDocument->m_nPresses);
    EXPECT_EQ(1, status.m_nPresses);
    client.UnsubclassWindow();
    CMouseManager::GetThreadManager()->UntrackAll();
    status.DestroyWindow();
    pFrame->DestroyWindow();
    PumpFrame(nullptr);
}
