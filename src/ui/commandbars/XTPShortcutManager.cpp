#include "ui/commandbars/XTPShortcutManager.h"

#include "platform/mfc/afxframe.h"
#include "platform/mfc/afxmodule.h"
#include "ui/persist/PropExchange.h"

#include <algorithm>
#include <iterator>
#include <memory>

namespace
{
const LPCTSTR kAcceleratorsEntry = L"Accelerators";
const UINT kAccelRecordBytes = 6;   // fVirt, padding, key, cmd: the stored form on both targets
const BYTE kModifiers = FSHIFT | FCONTROL | FALT;

struct KeyName
{
    UINT nVirtKey;
    LPCTSTR lpszName;
};

// Names that do not depend on the keyboard; digits and letters are named by themselves.
const KeyName kKeyNames[] = {
    {1, L"Left Button"}, {2, L"Right Button"}, {3, L"Ctrl+Break"}, {4, L"Middle Button"}, {8, L"Backspace"},
    {9, L"Tab"}, {12, L"Clear"}, {13, L"Enter"}, {16, L"Shift"}, {17, L"Ctrl"}, {18, L"Alt"}, {19, L"Pause"},
    {20, L"Caps Lock"}, {27, L"Esc"}, {32, L"Space"}, {33, L"Page Up"}, {34, L"Page Down"}, {35, L"End"},
    {36, L"Home"}, {37, L"Left Arrow"}, {38, L"Up Arrow"}, {39, L"Right Arrow"}, {40, L"Down Arrow"},
    {41, L"Select"}, {42, L"Print"}, {43, L"Execute"}, {44, L"Snapshot"}, {45, L"Ins"}, {46, L"Del"},
    {47, L"Help"}, {91, L"Left Windows"}, {92, L"Right Windows"}, {93, L"Application"}, {96, L"Num 0"},
    {97, L"Num 1"}, {98, L"Num 2"}, {99, L"Num 3"}, {100, L"Num 4"}, {101, L"Num 5"}, {102, L"Num 6"},
    {103, L"Num 7"}, {104, L"Num 8"}, {105, L"Num 9"}, {106, L"Num *"}, {107, L"Num +"}, {108, L"Separator"},
    {109, L"Num -"}, {110, L"Num ."}, {111, L"Num /"}, {112, L"F1"}, {113, L"F2"}, {114, L"F3"}, {115, L"F4"},
    {116, L"F5"}, {117, L"F6"}, {118, L"F7"}, {119, L"F8"}, {120, L"F9"}, {121, L"F10"}, {122, L"F11"},
    {123, L"F12"}, {144, L"Num Lock"}, {145, L"Scrl Lock"}, {246, L"Attn"}, {247, L"Crsel"}, {248, L"Exsel"},
    {249, L"Ereof"}, {250, L"Play"}, {251, L"Zoom"}, {252, L"No Name"}, {253, L"Pa1"}, {254, L"Oem Clear"}};

HACCEL CopyTable(HACCEL hAccelTable)
{
    return CXTPShortcutManager::CreateTable(CXTPShortcutManager::GetEntries(hAccelTable));
}

int RankOf(BYTE fVirt)
{
    if (fVirt & FCONTROL)
        return 3;
    if (fVirt & FALT)
        return 2;
    return (fVirt & FSHIFT) ? 1 : 4;
}
} // namespace

UINT CXTPKeyboardLayouts::VirtualKeyToChar(UINT nVirtKey) const
{
    return ::MapVirtualKeyW(nVirtKey, MAPVK_VK_TO_CHAR);
}

UINT CXTPKeyboardLayouts::VirtualKeyToScanCode(UINT nVirtKey) const
{
    return ::MapVirtualKeyExW(nVirtKey, MAPVK_VK_TO_VSC, ::GetKeyboardLayout(0));
}

CString CXTPKeyboardLayouts::GetKeyNameText(LONG lParam) const
{
    WCHAR szName[50] = {};
    int nLength = ::GetKeyNameTextW(lParam, szName, static_cast<int>(std::size(szName)));
    return CString(szName, nLength > 0 ? nLength : 0);
}

std::vector<HKL> CXTPKeyboardLayouts::GetInstalledLayouts() const
{
    int nCount = ::GetKeyboardLayoutList(0, nullptr);
    std::vector<HKL> arrLayouts(nCount > 0 ? static_cast<size_t>(nCount) : 0);
    if (nCount > 0)
        arrLayouts.resize(static_cast<size_t>(::GetKeyboardLayoutList(nCount, arrLayouts.data())));
    return arrLayouts;
}

int CXTPKeyboardLayouts::TranslateKey(UINT nVirtKey, HKL hLayout, CString& strChars) const
{
    BYTE keyState[256] = {};
    if (!::GetKeyboardState(keyState))
        return 0;
    WCHAR szChars[8] = {};
    int nResult = ::ToUnicodeEx(nVirtKey, ::MapVirtualKeyExW(nVirtKey, MAPVK_VK_TO_VSC, hLayout), keyState, szChars,
                                static_cast<int>(std::size(szChars)), 0, hLayout);
    strChars = CString(szChars, nResult > 0 ? nResult : 0);
    return nResult;
}

CXTPKeyboardLayouts& CXTPKeyboardLayouts::System()
{
    static CXTPKeyboardLayouts s_system;
    return s_system;
}

CXTPShortcutManager::CXTPShortcutManager(CFrameWnd* pSite) : m_pSite(pSite), m_pLayouts(&CXTPKeyboardLayouts::System())
{
}

CXTPShortcutManager::~CXTPShortcutManager()
{
    DestroyTables();
}

void CXTPShortcutManager::DestroyTables()
{
    if (m_hAccelTable)
        ::DestroyAcceleratorTable(m_hAccelTable);
    if (m_hOriginalAccelTable)
        ::DestroyAcceleratorTable(m_hOriginalAccelTable);
    m_hAccelTable = nullptr;
    m_hOriginalAccelTable = nullptr;
}

std::vector<ACCEL> CXTPShortcutManager::GetEntries(HACCEL hAccelTable)
{
    int nCount = hAccelTable ? ::CopyAcceleratorTableW(hAccelTable, nullptr, 0) : 0;
    std::vector<ACCEL> arrEntries(nCount > 0 ? static_cast<size_t>(nCount) : 0);
    if (nCount > 0)
        arrEntries.resize(static_cast<size_t>(::CopyAcceleratorTableW(hAccelTable, arrEntries.data(), nCount)));
    return arrEntries;
}

HACCEL CXTPShortcutManager::CreateTable(const std::vector<ACCEL>& arrEntries)
{
    if (arrEntries.empty())
        return nullptr;
    std::vector<ACCEL> arrCopy(arrEntries);   // the API takes a writable array
    return ::CreateAcceleratorTableW(arrCopy.data(), static_cast<int>(arrCopy.size()));
}

std::vector<BYTE> CXTPShortcutManager::ToBytes(const std::vector<ACCEL>& arrEntries)
{
    std::vector<BYTE> arrBytes;
    arrBytes.reserve(arrEntries.size() * kAccelRecordBytes);
    for (const ACCEL& accel : arrEntries)
    {
        const BYTE record[kAccelRecordBytes] = {accel.fVirt, 0, LOBYTE(accel.key), HIBYTE(accel.key),
                                                LOBYTE(accel.cmd), HIBYTE(accel.cmd)};
        arrBytes.insert(arrBytes.end(), std::begin(record), std::end(record));
    }
    return arrBytes;
}

std::vector<ACCEL> CXTPShortcutManager::FromBytes(const BYTE* pData, UINT nBytes)
{
    std::vector<ACCEL> arrEntries;
    for (UINT nOffset = 0; pData && nOffset + kAccelRecordBytes <= nBytes; nOffset += kAccelRecordBytes)
    {
        const BYTE* pRecord = pData + nOffset;
        ACCEL accel = {};
        accel.fVirt = pRecord[0];
        accel.key = MAKEWORD(pRecord[2], pRecord[3]);
        accel.cmd = MAKEWORD(pRecord[4], pRecord[5]);
        arrEntries.push_back(accel);
    }
    return arrEntries;
}

CString CXTPShortcutManager::GetKeyName(UINT nVirtKey)
{
    if ((nVirtKey >= '0' && nVirtKey <= '9') || (nVirtKey >= 'A' && nVirtKey <= 'Z'))
        return CString(static_cast<TCHAR>(nVirtKey));
    for (const KeyName& keyName : kKeyNames)
    {
        if (keyName.nVirtKey == nVirtKey)
            return keyName.lpszName;
    }
    LONG lParam = static_cast<LONG>((m_pLayouts->VirtualKeyToScanCode(nVirtKey) << 16) | 1);
    if (nVirtKey >= VK_PRIOR && nVirtKey <= VK_HELP)
        lParam |= 0x1000000;   // the extended-key bit, so the navigation block is not named as the keypad
    CString strName = m_pLayouts->GetKeyNameText(lParam);
    strName.MakeLower();
    for (int i = 0; i < strName.GetLength(); ++i)
    {
        if (::IsCharLowerW(strName[i]))
        {
            strName.SetAt(i, ToUpper(strName[i]));
            break;
        }
    }
    return strName;
}

CString CXTPShortcutManager::FormatShortcut(const ACCEL* pAccel, int* pnRank)
{
    if (pnRank)
        *pnRank = pAccel ? RankOf(pAccel->fVirt) : 0;
    if (!pAccel)
        return CString();
    CString strText;
    if (pAccel->key != VK_CANCEL)
    {
        if (pAccel->fVirt & FCONTROL)
            strText += GetKeyName(VK_CONTROL) + L"+";
        if (pAccel->fVirt & FSHIFT)
            strText += GetKeyName(VK_SHIFT) + L"+";
        if (pAccel->fVirt & FALT)
            strText += GetKeyName(VK_MENU) + L"+";
    }
    if (pAccel->key == 0)
    {
        if (!strText.IsEmpty())
            strText.Delete(strText.GetLength() - 1);
    }
    else if (pAccel->fVirt & FVIRTKEY)
        strText += GetKeyName(pAccel->key);
    else if (pAccel->key != VK_ESCAPE && pAccel->key != VK_TAB)
        strText += static_cast<TCHAR>(pAccel->key);
    return strText;
}

BOOL CXTPShortcutManager::FindShortcutText(UINT nCmd, CString& strShortcut)
{
    HACCEL hTable = m_hAccelTable;
    if (!hTable && !m_hOriginalAccelTable && m_pSite)
        hTable = m_pSite->GetDefaultAccelerator();
    CString strBest;
    int nBestRank = 0;
    BOOL bFound = FALSE;
    for (const ACCEL& accel : GetEntries(hTable))
    {
        if (accel.cmd != nCmd)
            continue;
        int nRank = 0;
        CString strText = FormatShortcut(&accel, &nRank);
        if (strText == strShortcut)
            return TRUE;
        if (!bFound || nRank > nBestRank)
        {
            strBest = strText;
            nBestRank = nRank;
        }
        bFound = TRUE;
    }
    strShortcut = strBest;
    return bFound;
}

BOOL CXTPShortcutManager::IsAllowedShortcut(const ACCEL& accel) const
{
    return (accel.fVirt & kModifiers) || !(accel.fVirt & FVIRTKEY) || accel.key != VK_ESCAPE ||
           m_bAllowEscapeShortcut;
}

void CXTPShortcutManager::Reset()
{
    if (m_hAccelTable)
        ::DestroyAcceleratorTable(m_hAccelTable);
    m_hAccelTable = CopyTable(m_hOriginalAccelTable);
}

void CXTPShortcutManager::LoadAccelerators(UINT nIDResource)
{
    DestroyTables();
    LPCTSTR lpszName = MAKEINTRESOURCEW(nIDResource);
    HACCEL hResource = ::LoadAcceleratorsW(AfxFindResourceHandle(lpszName, RT_ACCELERATOR), lpszName);
    if (!hResource)
        return;
    // A table loaded from a resource lives with its module: only the copies are ours.
    m_hAccelTable = CopyTable(hResource);
    m_hOriginalAccelTable = CopyTable(hResource);
}

void CXTPShortcutManager::SetAccelerators(HACCEL hAccelTable)
{
    DestroyTables();
    m_hAccelTable = hAccelTable;
    m_hOriginalAccelTable = CopyTable(hAccelTable);
}

void CXTPShortcutManager::UpdateAcceleratorTable()
{
    if (m_hOriginalAccelTable)
        ::DestroyAcceleratorTable(m_hOriginalAccelTable);
    m_hOriginalAccelTable = CopyTable(m_hAccelTable);
}

void CXTPShortcutManager::SetAcceleratorTable(const ACCEL* pAccels, int nCount)
{
    if (m_hAccelTable)
        ::DestroyAcceleratorTable(m_hAccelTable);
    m_hAccelTable = CreateTable(std::vector<ACCEL>(pAccels, pAccels + (nCount > 0 ? nCount : 0)));
}

void CXTPShortcutManager::AddShortcut(BYTE fVirt, WORD wKey, WORD wCmd)
{
    ACCEL accelNew = {};
    accelNew.fVirt = static_cast<BYTE>(fVirt | FVIRTKEY);
    accelNew.key = wKey;
    accelNew.cmd = wCmd;
    std::vector<ACCEL> arrEntries = GetEntries(m_hAccelTable);
    auto sameCombination = [&accelNew](const ACCEL& accel) {
        return (accel.fVirt & FVIRTKEY) && accel.key == accelNew.key &&
               (accel.fVirt & ~FNOINVERT) == (accelNew.fVirt & ~FNOINVERT);
    };
    auto it = std::find_if(arrEntries.begin(), arrEntries.end(), sameCombination);
    if (it != arrEntries.end())
        *it = accelNew;
    else
        arrEntries.push_back(accelNew);
    SetAcceleratorTable(arrEntries.data(), static_cast<int>(arrEntries.size()));
}

BOOL CXTPShortcutManager::FindAccel(UINT nCmd, ACCEL& accel) const
{
    std::vector<ACCEL> arrEntries = GetEntries(m_hAccelTable);
    for (auto it = arrEntries.rbegin(); it != arrEntries.rend(); ++it)
    {
        if (it->cmd == nCmd)
        {
            accel = *it;
            accel.fVirt = static_cast<BYTE>(accel.fVirt & ~FVIRTKEY);
            return TRUE;
        }
    }
    return FALSE;
}

void CXTPShortcutManager::SaveShortcuts(LPCTSTR lpszSection)
{
    CWinApp* pApp = AfxGetApp();
    if (!m_hOriginalAccelTable || !pApp)
        return;
    std::vector<BYTE> arrBytes = ToBytes(GetEntries(m_hAccelTable));
    pApp->WriteProfileBinary(lpszSection, kAcceleratorsEntry, arrBytes.data(), static_cast<UINT>(arrBytes.size()));
}

void CXTPShortcutManager::LoadShortcuts(LPCTSTR lpszSection)
{
    CWinApp* pApp = AfxGetApp();
    if (!m_hOriginalAccelTable || !pApp)
        return;
    LPBYTE pData = nullptr;
    UINT nBytes = 0;
    if (!pApp->GetProfileBinary(lpszSection, kAcceleratorsEntry, &pData, &nBytes))
        return;
    std::unique_ptr<BYTE[]> data(pData);
    // A value without one whole entry is damaged: it must not leave the frame without any shortcut.
    std::vector<ACCEL> arrEntries = FromBytes(data.get(), nBytes);
    if (!arrEntries.empty())
        SetAcceleratorTable(arrEntries.data(), static_cast<int>(arrEntries.size()));
}

TCHAR CXTPShortcutManager::ToUpper(TCHAR ch)
{
    TCHAR szChar[2] = {ch, 0};
    ::CharUpperW(szChar);
    return szChar[0];
}

BOOL CXTPShortcutManager::CompareAccelKey(TCHAR chAccel, UINT nVirtKey) const
{
    if (m_pLayouts->VirtualKeyToChar(nVirtKey) == 0)
        return FALSE;
    if (chAccel == nVirtKey || ToUpper(chAccel) == nVirtKey)
        return TRUE;
    // The character the key gives with the keys held now, in each layout, the only one included: a letter such
    // as "?" or "è" is typed with Shift or lies on a key whose code is no letter.
    for (HKL hLayout : m_pLayouts->GetInstalledLayouts())
    {
        CString strChars;
        if (m_pLayouts->TranslateKey(nVirtKey, hLayout, strChars) != 1 || strChars.GetLength() != 1)
            continue;
        if (strChars[0] == chAccel || ToUpper(strChars[0]) == ToUpper(chAccel))
            return TRUE;
    }
    return FALSE;
}

void CXTPShortcutManager::DoPropExchange(CXTPPropExchange* pPX)
{
    // Command ids are 16 bits: a longer list is no table of ours.
    const DWORD nMaxEntries = 0xFFFF;
    if (pPX->IsStoring()) {
        std::vector<ACCEL> arrEntries = GetEntries(m_hAccelTable);
        DWORD nCount = static_cast<DWORD>(arrEntries.size());
        if (pPX->IsAllowBlobValues()) {
            pPX->WriteCount(nCount);
            std::vector<BYTE> bytes = ToBytes(arrEntries);
            if (!bytes.empty())
                pPX->ExchangeBinary(L"Data", bytes.data(), static_cast<DWORD>(bytes.size()));
            return;
        }
        std::unique_ptr<CXTPPropExchangeEnumerator> pEnumerator(pPX->GetEnumerator(L"Accel"));
        POSITION pos = pEnumerator->GetPosition(nCount);
        for (ACCEL& accel : arrEntries) {
            CXTPPropExchangeSection section(pEnumerator->GetNext(pos));
            ExchangeWord(&section, L"Id", accel.cmd, 0);
            ExchangeByte(&section, L"virt", accel.fVirt, 0);
            ExchangeWord(&section, L"key", accel.key, 0);
        }
        return;
    }

    std::vector<ACCEL> arrEntries;
    DWORD nCount = 0;
    if (pPX->IsAllowBlobValues()) {
        nCount = pPX->ReadCount();
        if (nCount > nMaxEntries)
            return;
        if (nCount) {
            std::vector<BYTE> bytes(nCount * kAccelRecordBytes);
            DWORD nRead = pPX->ReadBinary(L"Data", bytes.data(), static_cast<DWORD>(bytes.size()));
            arrEntries = FromBytes(bytes.data(), std::min(nRead, static_cast<DWORD>(bytes.size())));
        }
    } else {
        std::unique_ptr<CXTPPropExchangeEnumerator> pEnumerator(pPX->GetEnumerator(L"Accel"));
        POSITION pos = pEnumerator->GetPosition();
        while (pos && arrEntries.size() < nMaxEntries) {
            CXTPPropExchangeSection section(pEnumerator->GetNext(pos));
            ACCEL accel = {};
            ExchangeWord(&section, L"Id", accel.cmd, 0);
            ExchangeByte(&section, L"virt", accel.fVirt, 0);
            ExchangeWord(&section, L"key", accel.key, 0);
            arrEntries.push_back(accel);
            nCount++;
        }
    }
    if (nCount && arrEntries.empty())
        return;
    SetAcceleratorTable(arrEntries.data(), static_cast<int>(arrEntries.size()));
}
