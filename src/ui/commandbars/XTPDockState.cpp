#include "ui/commandbars/XTPDockState.h"

#include "ui/persist/PropExchange.h"

#include <algorithm>

namespace
{
CString Section(LPCTSTR lpszFormat, LPCTSTR lpszProfileName, int n = 0)
{
    CString str;
    str.Format(lpszFormat, lpszProfileName, n);
    return str;
}

CWinApp* App()
{
    return AfxGetApp();
}

int ReadInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    return static_cast<int>(App()->GetProfileInt(lpszSection, lpszEntry, nDefault));
}
}

// Bar records

void CXTPBarInfo::SaveState(LPCTSTR lpszProfileName, int nIndex) const
{
    CWinApp* pApp = App();
    CString strSection = Section(L"%s-Bar%d", lpszProfileName, nIndex);
    // No key of an earlier save may outlive this one.
    pApp->WriteProfileString(strSection, nullptr, nullptr);

    pApp->WriteProfileInt(strSection, L"BarID", static_cast<int>(m_nBarID));
    if (!m_bVisible)
        pApp->WriteProfileInt(strSection, L"Visible", 0);
    if (m_bFloating)
        pApp->WriteProfileInt(strSection, L"Floating", m_bFloating);
    if (m_pointPos.x != -1)
        pApp->WriteProfileInt(strSection, L"XPos", m_pointPos.x);
    if (m_pointPos.y != -1)
        pApp->WriteProfileInt(strSection, L"YPos", m_pointPos.y);
    if (m_nMRUWidth != 32767)
        pApp->WriteProfileInt(strSection, L"MRUWidth", m_nMRUWidth);
    pApp->WriteProfileInt(strSection, L"MRUDockID", m_uMRUDockPosition);
    pApp->WriteProfileInt(strSection, L"MRUDockLeftPos", m_rectMRUDockPos.left);
    pApp->WriteProfileInt(strSection, L"MRUDockTopPos", m_rectMRUDockPos.top);
    pApp->WriteProfileInt(strSection, L"MRUDockRightPos", m_rectMRUDockPos.right);
    pApp->WriteProfileInt(strSection, L"MRUDockBottomPos", m_rectMRUDockPos.bottom);
    pApp->WriteProfileInt(strSection, L"MRUFloatXPos", m_ptMRUFloatPos.x);
    pApp->WriteProfileInt(strSection, L"MRUFloatYPos", m_ptMRUFloatPos.y);
    pApp->WriteProfileInt(strSection, L"DialogBar", m_bDialogBar);
    if (m_bDialogBar)
    {
        pApp->WriteProfileInt(strSection, L"DialogBarDockingClientCx", m_szDockingClient.cx);
        pApp->WriteProfileInt(strSection, L"DialogBarDockingClientCy", m_szDockingClient.cy);
        pApp->WriteProfileInt(strSection, L"DialogBarFloatingClientCx", m_szFloatingClient.cx);
        pApp->WriteProfileInt(strSection, L"DialogBarFloatingClientCy", m_szFloatingClient.cy);
    }
}

void CXTPBarInfo::LoadState(LPCTSTR lpszProfileName, int nIndex, const CXTPDockState* pState)
{
    CString strSection = Section(L"%s-Bar%d", lpszProfileName, nIndex);
    m_nBarID = static_cast<DWORD>(ReadInt(strSection, L"BarID", 0));
    m_bVisible = ReadInt(strSection, L"Visible", TRUE);
    m_bFloating = ReadInt(strSection, L"Floating", FALSE);
    m_pointPos = CPoint(ReadInt(strSection, L"XPos", -1), ReadInt(strSection, L"YPos", -1));
    m_nMRUWidth = ReadInt(strSection, L"MRUWidth", 32767);
    m_uMRUDockPosition = ReadInt(strSection, L"MRUDockID", 0);
    m_rectMRUDockPos.SetRect(ReadInt(strSection, L"MRUDockLeftPos", 0), ReadInt(strSection, L"MRUDockTopPos", 0),
                             ReadInt(strSection, L"MRUDockRightPos", 0), ReadInt(strSection, L"MRUDockBottomPos", 0));
    m_ptMRUFloatPos = CPoint(ReadInt(strSection, L"MRUFloatXPos", 0), ReadInt(strSection, L"MRUFloatYPos", 0));
    m_bDialogBar = ReadInt(strSection, L"DialogBar", FALSE);
    if (m_bDialogBar)
    {
        m_szDockingClient = CSize(ReadInt(strSection, L"DialogBarDockingClientCx", m_szDockingClient.cx),
                                  ReadInt(strSection, L"DialogBarDockingClientCy", m_szDockingClient.cy));
        m_szFloatingClient = CSize(ReadInt(strSection, L"DialogBarFloatingClientCx", m_szFloatingClient.cx),
                                   ReadInt(strSection, L"DialogBarFloatingClientCy", m_szFloatingClient.cy));
    }
    // A dock side that does not exist docks at the top.
    if (m_uMRUDockPosition < 0 || m_uMRUDockPosition > 3)
        m_uMRUDockPosition = 0;
    if (pState)
    {
        if (m_pointPos != CPoint(-1, -1))
            m_pointPos = pState->ScalePoint(m_pointPos);
        m_ptMRUFloatPos = pState->ScalePoint(m_ptMRUFloatPos);
        m_rectMRUDockPos = pState->ScaleRect(m_rectMRUDockPos);
    }
}

void CXTPBarInfo::DoPropExchange(CXTPPropExchange* pPX, DWORD dwVersion, const CXTPDockState* pState)
{
    long nBarId = static_cast<long>(m_nBarID);
    ExchangeLong(pPX, L"BarId", nBarId, 0);
    m_nBarID = static_cast<DWORD>(nBarId);
    ExchangeBool(pPX, L"Visible", m_bVisible, TRUE);
    ExchangeBool(pPX, L"Floating", m_bFloating, FALSE);
    long nMRUWidth = m_nMRUWidth;
    ExchangeLong(pPX, L"MRUWidth", nMRUWidth);
    m_nMRUWidth = static_cast<int>(nMRUWidth);
    ExchangeInt(pPX, L"MRUDockPosition", m_uMRUDockPosition, 0);
    ExchangePoint(pPX, L"PointPos", m_pointPos, CPoint(0, 0));
    ExchangeRect(pPX, L"MRUDockPos", m_rectMRUDockPos, CRect(0, 0, 0, 0));
    ExchangePoint(pPX, L"MRUFloatPos", m_ptMRUFloatPos, CPoint(0, 0));
    if (dwVersion > 6)
    {
        ExchangeBool(pPX, L"DialogBar", m_bDialogBar, FALSE);
        if (m_bDialogBar)
        {
            ExchangeSize(pPX, L"DialogBarDockingClientSize", m_szDockingClient, CSize(0, 0));
            ExchangeSize(pPX, L"DialogBarFloatingClientSize", m_szFloatingClient, CSize(0, 0));
        }
    }
    if (pPX->IsLoading())
    {
        if (m_uMRUDockPosition < 0 || m_uMRUDockPosition > 3)
            m_uMRUDockPosition = 0;
        if (m_pointPos != CPoint(-1, -1))
            m_pointPos = pState->ScalePoint(m_pointPos);
        m_ptMRUFloatPos = pState->ScalePoint(m_ptMRUFloatPos);
        m_rectMRUDockPos = pState->ScaleRect(m_rectMRUDockPos);
    }
}

// The whole state

CXTPDockState::CXTPDockState()
    : m_rectDevice(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)),
      m_rectClip(m_rectDevice)
{
    m_rectClip.right -= ::GetSystemMetrics(SM_CXICON);
    m_rectClip.bottom -= ::GetSystemMetrics(SM_CYICON);
}

void CXTPDockState::SetStoredScreenSize(CSize size)
{
    m_sizeStored = size;
    // Without a known stored size there is nothing to scale by.
    m_bScaling = size.cx > 0 && size.cy > 0 && size != m_rectDevice.Size();
}

CPoint CXTPDockState::ScalePoint(CPoint pt) const
{
    if (m_bScaling)
    {
        pt.x = ::MulDiv(pt.x, m_rectDevice.Width(), m_sizeStored.cx);
        pt.y = ::MulDiv(pt.y, m_rectDevice.Height(), m_sizeStored.cy);
    }
    pt.x = std::min(pt.x, m_rectClip.right);
    pt.y = std::min(pt.y, m_rectClip.bottom);
    return pt;
}

CRect CXTPDockState::ScaleRect(CRect rc) const
{
    CPoint pt = ScalePoint(rc.TopLeft());
    rc.OffsetRect(pt - rc.TopLeft());
    return rc;
}

void CXTPDockState::SaveSummary(LPCTSTR lpszProfileName) const
{
    CString strSection = Section(L"%s-Summary", lpszProfileName);
    App()->WriteProfileInt(strSection, L"Bars", static_cast<int>(m_arrBarInfo.size()));
    App()->WriteProfileInt(strSection, L"ScreenCX", m_rectDevice.Width());
    App()->WriteProfileInt(strSection, L"ScreenCY", m_rectDevice.Height());
}

void CXTPDockState::SaveState(LPCTSTR lpszProfileName) const
{
    for (size_t i = 0; i < m_arrBarInfo.size(); ++i)
        m_arrBarInfo[i]->SaveState(lpszProfileName, static_cast<int>(i));
    SaveSummary(lpszProfileName);
}

void CXTPDockState::LoadState(LPCTSTR lpszProfileName)
{
    m_arrBarInfo.clear();
    CString strSection = Section(L"%s-Summary", lpszProfileName);
    UINT nBars = App()->GetProfileInt(strSection, L"Bars", 0);
    SetStoredScreenSize(CSize(ReadInt(strSection, L"ScreenCX", 0), ReadInt(strSection, L"ScreenCY", 0)));
    if (nBars > maxStoredCount)
        return;
    for (UINT n = 0; n < nBars; ++n)
    {
        auto pInfo = std::make_unique<CXTPBarInfo>();
        pInfo->LoadState(lpszProfileName, static_cast<int>(n), this);
        m_arrBarInfo.push_back(std::move(pInfo));
    }
}

void CXTPDockState::DoPropExchange(CXTPPropExchange* pPX)
{
    CXTPPropExchangeSection section(pPX, L"DockState");
    ExchangeDWord(&section, L"Version", m_dwVersion, 0);
    CSize szScreen = m_rectDevice.Size();
    section->ExchangeValue(L"ScreenSize", VT_EX_SIZE, &szScreen, nullptr);
    WORD nCount = static_cast<WORD>(std::min<size_t>(m_arrBarInfo.size(), 0xFFFF));
    ExchangeWord(&section, L"Count", nCount, 0);
    if (section->IsStoring())
    {
        for (WORD i = 0; i < nCount; ++i)
        {
            CString strName;
            strName.Format(L"BarInfo%i", static_cast<int>(i));
            CXTPPropExchangeSection info(section->GetSection(strName));
            m_arrBarInfo[i]->DoPropExchange(&info, m_dwVersion, this);
        }
        return;
    }
    SetStoredScreenSize(szScreen);
    if (nCount > maxStoredCount)
        AfxThrowArchiveException(CArchiveException::genericException);
    for (WORD i = 0; i < nCount; ++i)
    {
        CString strName;
        strName.Format(L"BarInfo%i", static_cast<int>(i));
        if (!section->IsSectionExists(strName))
            AfxThrowArchiveException(CArchiveException::endOfFile);
        CXTPPropExchangeSection info(section->GetSection(strName));
        auto pInfo = std::make_unique<CXTPBarInfo>();
        pInfo->DoPropExchange(&info, m_dwVersion, this);
        m_arrBarInfo.push_back(std::move(pInfo));
    }
}

void CXTPDockState::ExchangeDockBarRows(CXTPPropExchange* pPX, std::vector<DWORD> (&arrRows)[4])
{
    CXTPPropExchangeSection section(pPX, L"DockBars");
    for (int nDockBar = 0; nDockBar < 4; ++nDockBar)
    {
        CString strName;
        strName.Format(L"DockBar%i", nDockBar);
        CXTPPropExchangeSection dockBar(section->GetSection(strName));
        std::vector<DWORD> arrEntries = pPX->IsStoring() ? CompactEntries(arrRows[nDockBar]) : std::vector<DWORD>();
        // A single entry is no arrangement: it is stored as none.
        DWORD nCount = arrEntries.size() < 2 ? 0 : static_cast<DWORD>(arrEntries.size());
        ExchangeDWord(&dockBar, L"Count", nCount, 0);
        if (pPX->IsLoading() && nCount > maxStoredCount)
            AfxThrowArchiveException(CArchiveException::genericException);
        arrEntries.resize(nCount < 2 ? 0 : nCount);
        for (size_t k = 0; k < arrEntries.size(); ++k)
        {
            CString strId;
            strId.Format(L"Id%i", static_cast<int>(k));
            ExchangeDWord(&dockBar, strId, arrEntries[k]);
        }
        arrRows[nDockBar] = arrEntries;
    }
}

std::vector<DWORD> CXTPDockState::CompactEntries(const std::vector<DWORD>& arrIds)
{
    std::vector<DWORD> arrEntries;
    for (size_t i = 0; i < arrIds.size(); ++i)
    {
        if (i == 0 || arrIds[i] != 0 || arrIds[i - 1] != 0)
            arrEntries.push_back(arrIds[i]);
    }
    return arrEntries;
}

void CXTPDockState::SaveDockBar(LPCTSTR lpszProfileName, int nDockBar, const std::vector<DWORD>& arrIds)
{
    CWinApp* pApp = App();
    CString strSection = Section(L"%s-DockBar%d", lpszProfileName, nDockBar);
    pApp->WriteProfileString(strSection, nullptr, nullptr);
    if (arrIds.size() < 2)
        return;
    std::vector<DWORD> arrEntries = CompactEntries(arrIds);
    for (size_t k = 0; k < arrEntries.size(); ++k)
    {
        CString strEntry;
        strEntry.Format(L"Bar#%d", static_cast<int>(k));
        pApp->WriteProfileInt(strSection, strEntry, static_cast<int>(arrEntries[k]));
    }
    pApp->WriteProfileInt(strSection, L"Bars", static_cast<int>(arrEntries.size()));
}

std::vector<DWORD> CXTPDockState::LoadDockBar(LPCTSTR lpszProfileName, int nDockBar)
{
    CString strSection = Section(L"%s-DockBar%d", lpszProfileName, nDockBar);
    UINT nCount = App()->GetProfileInt(strSection, L"Bars", 0);
    std::vector<DWORD> arrIds;
    if (nCount < 2 || nCount > maxStoredCount)
        return arrIds;
    for (UINT k = 0; k < nCount; ++k)
    {
        CString strEntry;
        strEntry.Format(L"Bar#%d", static_cast<int>(k));
        arrIds.push_back(App()->GetProfileInt(strSection, strEntry, 0));
    }
    return arrIds;
}
