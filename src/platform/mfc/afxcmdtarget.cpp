#include "afxcmdtarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, &_messageEntries[0]};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode, UINT nID)
{
    for (; pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfn; ++pEntry) {
            if (pEntry->pnRegistered) {
                if (*pEntry->pnRegistered == nMessage && nMessage >= 0xC000)
                    return pEntry;
            } else if (pEntry->nMessage == nMessage && pEntry->nCode == nCode && nID >= pEntry->nID &&
                       nID <= pEntry->nLastID) {
                return pEntry;
            }
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The code packs the message kind in its high word (0: WM_COMMAND) and the notification in its low word.
    UINT nMessage = WM_COMMAND;
    UINT nNotify = static_cast<UINT>(nCode);
    if (nNotify != CN_UPDATE_COMMAND_UI) {
        nMessage = HIWORD(nNotify) ? HIWORD(nNotify) : WM_COMMAND;
        nNotify = LOWORD(nNotify);
    }
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(GetMessageMap(), nMessage, nNotify, nID);
    if (!pEntry)
        return FALSE;
    if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pEntry = pEntry;
        return TRUE;
    }
    AFX_MSGCALL call = {nMessage, 0, 0, nID, pExtra, 0};
    return pEntry->pfn(this, call);
}

DWORD CCmdTarget::InternalRelease()
{
    LONG nRef = --m_dwRef;
    if (nRef == 0)
        OnFinalRelease();
    return static_cast<DWORD>(nRef);
}

void CCmdTarget::OnFinalRelease() { delete this; }
