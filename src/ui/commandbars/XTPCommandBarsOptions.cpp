#include "ui/commandbars/XTPCommandBarsOptions.h"

#include "ui/commandbars/XTPCommandBars.h"
#include "ui/persist/PropExchange.h"
#include "ui/persist/PropExchangeArchive.h"
#include "ui/themes/BarPainter.h"

#include <cstdlib>

namespace
{
const CXTPSystemSettings g_systemSettings;
}

const CXTPSystemSettings* CXTPSystemSettings::s_pCurrent = &g_systemSettings;

BOOL CXTPSystemSettings::GetFlag(UINT nAction, BOOL& bValue) const
{
    BOOL bResult = FALSE;
    if (!::SystemParametersInfoW(nAction, 0, &bResult, 0))
        return FALSE;
    bValue = bResult;
    return TRUE;
}

void CXTPSystemSettings::Set(const CXTPSystemSettings* pSettings)
{
    s_pCurrent = pSettings ? pSettings : &g_systemSettings;
}

void CXTPCommandBarsOptions::SetKeyboardCuesShow(int nMode)
{
    m_nKeyboardCuesShow = nMode;
    if (!m_pCommandBars)
        return;
    BOOL bSystemShows = TRUE;
    BOOL bHideUntilAlt = nMode == 2 && CXTPSystemSettings::Get()->GetFlag(SPI_GETKEYBOARDCUES, bSystemShows) &&
                         !bSystemShows;
    m_pCommandBars->SetKeyboardCuesState(nMode != 1, bHideUntilAlt);
}

std::vector<BYTE> CXTPCommandBarsOptions::CommandSetToBytes(const std::set<UINT>& setCommands)
{
    std::vector<BYTE> bytes;
    auto put = [&bytes](UINT nValue, int nBytes) {
        for (int i = 0; i < nBytes; i++)
            bytes.push_back(static_cast<BYTE>(nValue >> (8 * i)));
    };
    UINT nCount = static_cast<UINT>(setCommands.size());
    if (nCount < 0xFFFF) {
        put(nCount, 2);
    } else {
        put(0xFFFF, 2);
        put(nCount, 4);
    }
    for (UINT nId : setCommands) {
        put(nId, 4);
        put(1, 4);
    }
    return bytes;
}

void CXTPCommandBarsOptions::CommandSetFromBytes(const BYTE* pData, DWORD nBytes, std::set<UINT>& setCommands)
{
    auto get = [pData](DWORD nOffset, int nSize) {
        UINT nValue = 0;
        for (int i = 0; i < nSize; i++)
            nValue |= static_cast<UINT>(pData[nOffset + i]) << (8 * i);
        return nValue;
    };
    if (nBytes < 2)
        return;
    DWORD nOffset = 2;
    DWORD nCount = get(0, 2);
    if (nCount == 0xFFFF) {
        if (nBytes < 6)
            return;
        nCount = get(2, 4);
        nOffset = 6;
    }
    // A count larger than the value holds reads what is there.
    for (DWORD i = 0; i < nCount && nOffset + 8 <= nBytes; i++, nOffset += 8)
        setCommands.insert(get(nOffset, 4));
}

void CXTPCommandBarsOptions::ExchangeCommandSet(CXTPPropExchange* pPX, LPCTSTR lpszName, std::set<UINT>& setCommands)
{
    if (pPX->IsAllowBlobValues()) {
        if (pPX->IsStoring()) {
            if (setCommands.empty() && pPX->IsAllowDefaultValues())
                return;
            std::vector<BYTE> bytes = CommandSetToBytes(setCommands);
            BYTE* pData = bytes.data();
            DWORD nBytes = static_cast<DWORD>(bytes.size());
            ExchangeBlob(pPX, lpszName, pData, nBytes);
            return;
        }
        BYTE* pData = nullptr;
        DWORD nBytes = 0;
        if (ExchangeBlob(pPX, lpszName, pData, nBytes) && pData)
            CommandSetFromBytes(pData, nBytes, setCommands);
        std::free(pData);
        return;
    }
    if (pPX->IsStoring() && setCommands.empty() && pPX->IsAllowDefaultValues())
        return;
    CXTPPropExchangeSection section(pPX->GetSection(lpszName));
    if (!section.Get())
        return;
    if (pPX->IsStoring()) {
        section->WriteCount(static_cast<DWORD>(setCommands.size()));
        int i = 0;
        for (UINT nId : setCommands) {
            CString strName;
            strName.Format(L"Item%i", i++);
            DWORD dwId = nId;
            ExchangeDWord(&section, strName, dwId, 0);
        }
        return;
    }
    setCommands.clear();
    DWORD nCount = section->ReadCount();
    for (DWORD i = 0; i < nCount; i++) {
        CString strName;
        strName.Format(L"Item%i", static_cast<int>(i));
        DWORD dwId = 0;
        if (ExchangeDWord(&section, strName, dwId, 0))
            setCommands.insert(dwId);
    }
}

void CXTPCommandBarsOptions::Serialize(CArchive& ar)
{
    CXTPPropExchangeArchive px(ar);
    DoPropExchange(&px);
}

void CXTPCommandBarsOptions::DoPropExchange(CXTPPropExchange* pPX, BOOL bUserOptions)
{
    pPX->ExchangeSchema();
    UINT nSchema = pPX->m_nSchema;
    ExchangeBool(pPX, L"AlwaysShowFullMenus", bAlwaysShowFullMenus, TRUE);
    ExchangeBool(pPX, L"ShowFullAfterDelay", bShowFullAfterDelay, TRUE);
    ExchangeBool(pPX, L"ToolBarScreenTips", bToolBarScreenTips, TRUE);
    ExchangeBool(pPX, L"ToolBarAccelTips", bToolBarAccelTips, FALSE);
    ExchangeBool(pPX, L"LargeIcons", bLargeIcons, FALSE);
    if (nSchema > 7)
        ExchangeCommandSet(pPX, L"UsedCommands", m_setUsedCommands);
    if (nSchema > 7 || bUserOptions)
        ExchangeInt(pPX, L"Animation", nAnimationType, 0);
    if (bUserOptions)
        return;

    ExchangeBool(pPX, L"SyncFloatingBars", bSyncFloatingToolbars, TRUE);
    ExchangeBool(pPX, L"ShowExpandButtonAlways", bShowExpandButtonAlways, TRUE);
    ExchangeSize(pPX, L"IconsSize", szIcons, CSize(0, 0));
    ExchangeSize(pPX, L"LargeIconsSize", szLargeIcons, CSize(0, 0));
    ExchangeCommandSet(pPX, L"HiddenCommands", m_setHiddenCommands);

    XTP_ICON_OPTIONS* pIcons = CXTPBarPainter::GetInstalled()->GetIconOptions();
    ExchangeBool(pPX, L"IconsWithShadow", pIcons->bIconsWithShadow, FALSE);
    ExchangeBool(pPX, L"UseDisabledIcons", pIcons->bUseDisabledIcons, TRUE);
    ExchangeBool(pPX, L"UseFadedIcons", pIcons->bUseFadedIcons, TRUE);

    if (nSchema > 7) {
        ExchangeBool(pPX, L"SyncFloatingBars", bSyncFloatingToolbars, TRUE);
        ExchangeBool(pPX, L"ShowExpandButtonAlways", bShowExpandButtonAlways, TRUE);
        ExchangeBool(pPX, L"DblClickFloat", bDblClickFloat, FALSE);
        ExchangeBool(pPX, L"ShowTextBelowIcons", bShowTextBelowIcons, FALSE);
        ExchangeBool(pPX, L"AltDragCustomization", bAltDragCustomization, TRUE);
        ExchangeBool(pPX, L"AutoHideUnusedPopups", bAutoHideUnusedPopups, TRUE);
        ExchangeSize(pPX, L"PopupIconsSize", szPopupIcons, CSize(16, 16));
    }
    if (nSchema > 8) {
        ExchangeInt(pPX, L"KeyboardCuesUse", keyboardCuesUse, 1);
        int nCuesShow = m_nKeyboardCuesShow;
        ExchangeInt(pPX, L"KeyboardCuesShow", nCuesShow, 0);
        if (pPX->IsLoading())
            SetKeyboardCuesShow(nCuesShow);
    }
}
