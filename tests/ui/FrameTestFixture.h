#pragma once
// Tests on a fresh test frame, shown before each test and destroyed after it.
#include "FrameTestSupport.h"

#include "ui/commandbars/XTPHookManager.h"

#include <gtest/gtest.h>

class CFrameTestFixture : public ::testing::Test
{
protected:
    CTestFrame* m_pFrame = nullptr;

    // A fixture that adds to the frame calls this first and stops on a fatal failure.
    void SetUp() override
    {
        m_pFrame = CreateTestFrame();
        ASSERT_NE(nullptr, m_pFrame);
    }
    // The frame deletes itself with its window: it is forgotten before the queue is emptied.
    void TearDown() override
    {
        CMouseManager::GetThreadManager()->UntrackAll();
        if (m_pFrame)
            m_pFrame->DestroyWindow();
        m_pFrame = nullptr;
        PumpFrame(nullptr);
    }
    void Pump(DWORD dwQuietMs = 80) { PumpFrame(m_pFrame ? m_pFrame->m_hWnd : nullptr, dwQuietMs); }
    void Layout()
    {
        m_pFrame->RecalcLayout();
        Pump();
    }
};

// Tests that look at a popup as soon as it opens: menus and bars appear without animation.
class CStillFrameTestFixture : public CFrameTestFixture
{
protected:
    void SetUp() override
    {
        CFrameTestFixture::SetUp();
        if (HasFatalFailure())
            return;
        m_pFrame->GetCommandBars()->GetCommandBarsOptions()->nAnimationType = 5;
    }
};
