// The drop target of a window, driven through its COM interface as the system's drag loop drives it.
#include "HandlerFailures.h"
#include "support/MessageBoxRecorder.h"

#include "platform/mfc/afxoledroptarget.h"

#include <gtest/gtest.h>

namespace
{
// Answers a copy over the left half of the window; records what it was told.
class CRecordingTarget : public COleDropTarget
{
public:
    CString m_strLog;
    CPoint m_ptLast;
    BOOL m_bHadData = FALSE;
    BOOL m_bFail = FALSE;

    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override
    {
        m_strLog += L"enter;";
        return OnDragOver(pWnd, pDataObject, dwKeyState, point);
    }
    DROPEFFECT OnDragOver(CWnd* /*pWnd*/, COleDataObject* pDataObject, DWORD /*dwKeyState*/, CPoint point) override
    {
        if (m_bFail)
            ThrowHandlerFailure(HandlerFailure::standard);
        m_ptLast = point;
        m_bHadData = pDataObject->IsDataAvailable(CF_UNICODETEXT);
        return point.x < 50 ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
    void OnDragLeave(CWnd* /*pWnd*/) override { m_strLog += L"leave;"; }
    BOOL OnDrop(CWnd* /*pWnd*/, COleDataObject* /*pDataObject*/, DROPEFFECT dropEffect, CPoint point) override
    {
        m_strLog.AppendFormat(L"drop %lu at %ld,%ld;", dropEffect, point.x, point.y);
        return TRUE;
    }
};

class OleDropTargetTest : public ::testing::Test
{
protected:
    CWnd m_wnd;
    CRecordingTarget m_target;
    IDataObject* m_pData = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(m_wnd.CreateEx(0, AfxRegisterWndClass(0), L"Destinazione", WS_POPUP, 300, 200, 100, 60, nullptr,
                                   nullptr));
        // Text on the clipboard makes a data object that offers it.
        ASSERT_TRUE(::OpenClipboard(m_wnd.m_hWnd));
        ::EmptyClipboard();
        HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(L"Entrate"));
        ::memcpy(::GlobalLock(hText), L"Entrate", sizeof(L"Entrate"));
        ::GlobalUnlock(hText);
        ::SetClipboardData(CF_UNICODETEXT, hText);
        ::CloseClipboard();
        ASSERT_EQ(S_OK, ::OleGetClipboard(&m_pData));
    }
    void TearDown() override
    {
        m_pData->Release();
        m_target.Revoke();
        m_wnd.DestroyWindow();
    }
    POINTL At(int x, int y) const { return POINTL{300 + x, 200 + y}; }
};
}

TEST_F(OleDropTargetTest, RegistrationNeedsAWindowAndEndsWithRevoke)
{
    CRecordingTarget other;
    EXPECT_FALSE(other.Register(nullptr));
    EXPECT_FALSE(other.IsRegistered());
    ASSERT_TRUE(m_target.Register(&m_wnd));
    EXPECT_TRUE(m_target.IsRegistered());
    // The system knows the window as a drop target: a second registration is refused.
    EXPECT_FALSE(other.Register(&m_wnd));
    m_target.Revoke();
    EXPECT_FALSE(m_target.IsRegistered());
    EXPECT_TRUE(other.Register(&m_wnd));
    other.Revoke();
}

TEST_F(OleDropTargetTest, StepsGetTheDataAndClientPointsAndTheEffectIsLimitedToTheAllowedOnes)
{
    ASSERT_TRUE(m_target.Register(&m_wnd));
    IDropTarget* pTarget = m_target.GetDropTarget();
    struct Case { POINTL pt; DWORD dwAllowed; DWORD dwEffect; } cases[] = {
        {At(10, 20), DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {At(10, 20), DROPEFFECT_MOVE, DROPEFFECT_NONE},
        {At(70, 20), DROPEFFECT_COPY, DROPEFFECT_NONE},
    };
    DWORD dwEffect = DROPEFFECT_COPY;
    ASSERT_EQ(S_OK, pTarget->DragEnter(m_pData, MK_LBUTTON, At(5, 5), &dwEffect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), dwEffect);
    EXPECT_TRUE(m_target.m_bHadData);
    for (const Case& c : cases) {
        dwEffect = c.dwAllowed;
        EXPECT_EQ(S_OK, pTarget->DragOver(MK_LBUTTON, c.pt, &dwEffect));
        EXPECT_EQ(c.dwEffect, dwEffect) << c.pt.x << " " << c.dwAllowed;
        EXPECT_EQ(CPoint(c.pt.x - 300, c.pt.y - 200), m_target.m_ptLast);
        EXPECT_TRUE(m_target.m_bHadData);
    }
    // Dropped where the effect is none: a leave, no drop.
    dwEffect = DROPEFFECT_COPY;
    EXPECT_EQ(S_OK, pTarget->Drop(m_pData, 0, At(70, 20), &dwEffect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), dwEffect);
    dwEffect = DROPEFFECT_COPY;
    pTarget->DragEnter(m_pData, MK_LBUTTON, At(5, 5), &dwEffect);
    EXPECT_EQ(S_OK, pTarget->Drop(m_pData, 0, At(8, 9), &dwEffect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), dwEffect);
    EXPECT_EQ(CString(L"enter;leave;enter;drop 1 at 8,9;"), m_target.m_strLog);
}

TEST_F(OleDropTargetTest, AFailingStepIsShownAndRefusesTheData)
{
    ASSERT_TRUE(m_target.Register(&m_wnd));
    m_target.m_bFail = TRUE;
    CMessageBoxRecorder recorder;
    DWORD dwEffect = DROPEFFECT_COPY;
    EXPECT_EQ(E_UNEXPECTED, m_target.GetDropTarget()->DragEnter(m_pData, MK_LBUTTON, At(5, 5), &dwEffect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), dwEffect);
    ASSERT_EQ(1u, recorder.Count());
    EXPECT_EQ(ExpectedFailureText(HandlerFailure::standard), recorder.Last().text);
    EXPECT_EQ(S_OK, m_target.GetDropTarget()->DragLeave());
}
