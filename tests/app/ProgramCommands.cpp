#include "ProgramCommands.h"

#include "platform/mfc/afxwin.h"
#include "util/MessageText.h"

std::vector<UINT> MenuCommands(HMENU hMenu)
{
    std::vector<UINT> ids;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
        if (HMENU hSub = ::GetSubMenu(hMenu, i)) {
            std::vector<UINT> sub = MenuCommands(hSub);
            ids.insert(ids.end(), sub.begin(), sub.end());
        }
        else if (UINT nID = ::GetMenuItemID(hMenu, i); nID != 0 && nID != static_cast<UINT>(-1)) {
            ids.push_back(nID);
        }
    }
    return ids;
}

std::vector<UINT> ToolbarCommands(UINT nIDResource)
{
    HINSTANCE hInstance = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceW(hInstance, MAKEINTRESOURCEW(nIDResource), MAKEINTRESOURCEW(241));
    auto* pData = hResource ? static_cast<const WORD*>(::LockResource(::LoadResource(hInstance, hResource))) : nullptr;
    std::vector<UINT> ids;
    if (pData) {
        // Version, image width and height, count, then the ids (0 for a separator).
        for (WORD i = 0; i < pData[3]; ++i) {
            if (pData[4 + i])
                ids.push_back(pData[4 + i]);
        }
    }
    return ids;
}

CString CommandName(UINT nID)
{
    CString strPrompt = LoadResString(nID);
    return strPrompt.Mid(strPrompt.Find(L'\n') + 1);
}
