#include "ui/commandbars/MenuSoundPlayer.h"

#include <mmsystem.h>

#include <cstdlib>

namespace
{
volatile LONG s_nState = CMenuSoundPlayer::soundNone;
HANDLE s_hThread = nullptr;
CMenuSoundPlayer::PFN_PLAYSOUND s_pfnPlayer = ::PlaySoundW;
}

CMenuSoundPlayer::PFN_PLAYSOUND CMenuSoundPlayer::SetPlayer(PFN_PLAYSOUND pfnPlayer)
{
    PFN_PLAYSOUND pfnPrevious = s_pfnPlayer;
    s_pfnPlayer = pfnPlayer ? pfnPlayer : ::PlaySoundW;
    return pfnPrevious;
}

BOOL CMenuSoundPlayer::ForgetEndedWorker()
{
    if (s_hThread && ::WaitForSingleObject(s_hThread, 0) == WAIT_OBJECT_0) {
        ::CloseHandle(s_hThread);
        s_hThread = nullptr;
    }
    return s_hThread == nullptr;
}

BOOL CMenuSoundPlayer::IsWorkerRunning()
{
    return !ForgetEndedWorker();
}

void CMenuSoundPlayer::Play(int nSound)
{
    if (ForgetEndedWorker()) {
        static const bool bRegistered = (std::atexit(Stop), true);
        (void)bRegistered;
        ::InterlockedExchange(&s_nState, soundNone);
        s_hThread = ::CreateThread(nullptr, 0, WorkerProc, nullptr, CREATE_SUSPENDED, nullptr);
        if (!s_hThread)
            return;
        ::SetThreadPriority(s_hThread, THREAD_PRIORITY_BELOW_NORMAL);
        ::ResumeThread(s_hThread);
    }
    // A worker asked to stop but still busy with its sound takes the request instead of ending.
    ::InterlockedExchange(&s_nState, nSound);
}

void CMenuSoundPlayer::Stop()
{
    if (!s_hThread)
        return;
    ::InterlockedExchange(&s_nState, soundStop);
    if (::WaitForSingleObject(s_hThread, 100) == WAIT_OBJECT_0)
        ForgetEndedWorker();
}

DWORD WINAPI CMenuSoundPlayer::WorkerProc(LPVOID)
{
    for (LONG nState; (nState = s_nState) != soundStop;) {
        if (nState == soundMenuCommand || nState == soundMenuPopup) {
            s_pfnPlayer(nState == soundMenuCommand ? L"MenuCommand" : L"MenuPopup", nullptr,
                        SND_ALIAS | SND_NOWAIT | SND_NODEFAULT);
            // Only the request played is done: a stop or a new request written meanwhile stays.
            ::InterlockedCompareExchange(&s_nState, soundNone, nState);
        }
        ::Sleep(5);
    }
    s_pfnPlayer(nullptr, nullptr, SND_PURGE);
    return 0;
}
