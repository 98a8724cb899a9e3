#include "support/RealInput.h"
#include "ui/commandbars/MenuSoundPlayer.h"

#include <gtest/gtest.h>

#include <mmsystem.h>
#include <tlhelp32.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace
{
// A player that holds every sound until the test lets it go, and writes down what it was asked.
struct CBlockingPlayer
{
    static inline HANDLE s_hRelease = nullptr;
    static inline HANDLE s_hPlaying = nullptr;
    static inline std::mutex s_lock;
    static inline std::vector<std::wstring> s_calls;

    static BOOL WINAPI Play(LPCWSTR pszSound, HMODULE, DWORD dwFlags)
    {
        {
            std::lock_guard<std::mutex> guard(s_lock);
            s_calls.push_back(pszSound ? std::wstring(pszSound) : (dwFlags & SND_PURGE) ? L"purge" : L"?");
        }
        if (pszSound) {
            ::SetEvent(s_hPlaying);
            ::WaitForSingleObject(s_hRelease, 5000);
        }
        return TRUE;
    }
    static std::vector<std::wstring> Calls()
    {
        std::lock_guard<std::mutex> guard(s_lock);
        return s_calls;
    }
};

int CountThreads()
{
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    int nCount = 0;
    for (BOOL bMore = ::Thread32First(hSnapshot, &entry); bMore; bMore = ::Thread32Next(hSnapshot, &entry))
        nCount += entry.th32OwnerProcessID == ::GetCurrentProcessId();
    ::CloseHandle(hSnapshot);
    return nCount;
}

// Waits, bounded, for a condition that a worker makes true.
BOOL WaitFor(const std::function<BOOL()>& condition)
{
    return PumpUntil(nullptr, condition);
}

// No test of this program reaches the system's player: a sound (or the worker's purge) there starts audio
// services that outlive the run.
class CSilentSounds : public ::testing::Environment
{
public:
    static BOOL WINAPI Silent(LPCWSTR, HMODULE, DWORD) { return TRUE; }
    void SetUp() override { CMenuSoundPlayer::SetPlayer(Silent); }
    void TearDown() override
    {
        CMenuSoundPlayer::Stop();
        WaitFor([] { return !CMenuSoundPlayer::IsWorkerRunning(); });
    }
};
::testing::Environment* const g_pSilentSounds = ::testing::AddGlobalTestEnvironment(new CSilentSounds);

class MenuSoundTest : public ::testing::Test
{
protected:
    CMenuSoundPlayer::PFN_PLAYSOUND m_pfnOld = nullptr;

    void SetUp() override
    {
        CMenuSoundPlayer::Stop();
        ASSERT_TRUE(WaitFor([] { return !CMenuSoundPlayer::IsWorkerRunning(); }));
        CBlockingPlayer::s_calls.clear();
        CBlockingPlayer::s_hRelease = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        CBlockingPlayer::s_hPlaying = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
        m_pfnOld = CMenuSoundPlayer::SetPlayer(CBlockingPlayer::Play);
    }
    void TearDown() override
    {
        ::SetEvent(CBlockingPlayer::s_hRelease);
        CMenuSoundPlayer::Stop();
        // The system's player is given back only when no worker is left to call it.
        ASSERT_TRUE(WaitFor([] { return !CMenuSoundPlayer::IsWorkerRunning(); }));
        CMenuSoundPlayer::SetPlayer(m_pfnOld);
        ::CloseHandle(CBlockingPlayer::s_hRelease);
        ::CloseHandle(CBlockingPlayer::s_hPlaying);
    }
};
}

TEST_F(MenuSoundTest, RequestsDuringASoundCollapseIntoTheLastAndAreNotLost)
{
    int nThreads = CountThreads();
    CMenuSoundPlayer::Play(CMenuSoundPlayer::soundMenuPopup);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(CBlockingPlayer::s_hPlaying, INPUT_TIMEOUT));
    EXPECT_EQ(nThreads + 1, CountThreads());
    // While the popup sound plays: three requests, of which the last stays.
    CMenuSoundPlayer::Play(CMenuSoundPlayer::soundMenuCommand);
    CMenuSoundPlayer::Play(CMenuSoundPlayer::soundMenuPopup);
    CMenuSoundPlayer::Play(CMenuSoundPlayer::soundMenuCommand);
    EXPECT_EQ(nThreads + 1, CountThreads());
    ::SetEvent(CBlockingPlayer::s_hRelease);
    ASSERT_TRUE(WaitFor([] { return CBlockingPlayer::Calls().size() >= 2; }));
    ::Sleep(50);
    CMenuSoundPlayer::Stop();
    EXPECT_FALSE(CMenuSoundPlayer::IsWorkerRunning());
    EXPECT_EQ((std::vector<std::wstring>{L"MenuPopup", L"MenuCommand", L"purge"}), CBlockingPlayer::Calls());
    EXPECT_TRUE(WaitFor([&] { return CountThreads() == nThreads; }));
}

TEST_F(MenuSoundTest, StopDuringALongSoundReturnsAndTheWorkerStillEnds)
{
    int nThreads = CountThreads();
    CMenuSoundPlayer::Play(CMenuSoundPlayer::soundMenuCommand);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(CBlockingPlayer::s_hPlaying, INPUT_TIMEOUT));
    DWORD dwStart = ::GetTickCount();
    CMenuSoundPlayer::Stop();
    DWORD dwSpent = ::GetTickCount() - dwStart;
    EXPECT_GE(dwSpent, 90u);
    EXPECT_LT(dwSpent, 400u);
    // The worker is not forgotten: a new request goes to it instead of to a second worker.
    EXPECT_TRUE(CMenuSoundPlayer::IsWorkerRunning());
    CMenuSoundPlayer::Play(CMenuSoundPlayer::soundMenuPopup);
    EXPECT_EQ(nThreads + 1, CountThreads());
    ::SetEvent(CBlockingPlayer::s_hRelease);
    ASSERT_TRUE(WaitFor([] { return CBlockingPlayer::Calls().size() >= 2; }));
    EXPECT_EQ(L"MenuPopup", CBlockingPlayer::Calls()[1]);
    // A stop written while the sound plays ends the worker after it.
    ::ResetEvent(CBlockingPlayer::s_hRelease);
    CMenuSoundPlayer::Play(CMenuSoundPlayer::soundMenuCommand);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(CBlockingPlayer::s_hPlaying, INPUT_TIMEOUT));
    CMenuSoundPlayer::Stop();
    ::SetEvent(CBlockingPlayer::s_hRelease);
    EXPECT_TRUE(WaitFor([] { return !CMenuSoundPlayer::IsWorkerRunning(); }));
    EXPECT_EQ(L"purge", CBlockingPlayer::Calls().back());
    EXPECT_TRUE(WaitFor([&] { return CountThreads() == nThreads; }));

    // Play after a stop starts one fresh worker.
    CMenuSoundPlayer::Play(CMenuSoundPlayer::soundMenuPopup);
    EXPECT_TRUE(CMenuSoundPlayer::IsWorkerRunning());
    EXPECT_EQ(nThreads + 1, CountThreads());
    CMenuSoundPlayer::Stop();
    EXPECT_FALSE(CMenuSoundPlayer::IsWorkerRunning());
}
