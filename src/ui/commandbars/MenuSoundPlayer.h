// The menu sounds: "MenuCommand" when a command is chosen, "MenuPopup" when a popup opens. One low-priority worker
// plays them so that the interface never waits on a sound; requests pass through one shared word.
#pragma once

#include <windows.h>

class CMenuSoundPlayer
{
public:
    enum { soundNone = 0, soundMenuCommand = 1, soundMenuPopup = 2, soundStop = 3 };
    typedef BOOL(WINAPI* PFN_PLAYSOUND)(LPCWSTR pszSound, HMODULE hModule, DWORD dwFlags);

    // Starts the worker when none runs, then hands it the request (a pending one is replaced).
    static void Play(int nSound);
    // Asks the worker to end and waits for it at most 100 ms; a worker still busy with a sound is kept and
    // ends after it.
    static void Stop();
    // Where the sounds are played (PlaySound unless replaced; null restores it); returns the previous player.
    static PFN_PLAYSOUND SetPlayer(PFN_PLAYSOUND pfnPlayer);
    // A worker runs (or is still ending).
    static BOOL IsWorkerRunning();

private:
    static DWORD WINAPI WorkerProc(LPVOID);
    static BOOL ForgetEndedWorker();
};
