// The manager's bar state in the application profile: where each bar is, the rows of the dock bars and whether the
// frame's status bar shows.
#include "ui/commandbars/XTPCommandBars.h"

#include "platform/mfc/afxcontrolbar.h"
#include "platform/mfc/afxmsgbox.h"
#include "ui/commandbars/XTPCommandBarList.h"
#include "ui/commandbars/XTPDockBar.h"
#include "ui/commandbars/XTPDockContext.h"
#include "ui/commandbars/XTPDialogBar.h"
#include "ui/commandbars/XTPDockState.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/persist/PropExchangeArchive.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/persist/WholeFile.h"
#include "ui/uires.h"

#include <memory>
#include <new>
#include <vector>

namespace
{
const LPCTSTR kStatusBarEntry = L"StatusBar";
const LPCTSTR kControlsEntry = L"Controls";
const LPCTSTR kLoadFromFileEntry = L"LoadFromFile";
// Larger controls data goes into a file of its own.
const UINT kMaxProfileControls = 16000;

CString ControlsSection(LPCTSTR lpszProfileName)
{
    CString strSection;
    strSection.Format(L"%s-Controls", lpszProfileName);
    return strSection;
}

// Written beside the destination first, then put in its place: a failed write leaves the old file.
BOOL WriteHiddenFile(LPCTSTR lpszPath, const std::vector<BYTE>& arrData)
{
    // A hidden destination refuses to be replaced: its attribute goes first, and comes back whatever happens.
    DWORD dwAttributes = ::GetFileAttributesW(lpszPath);
    if (dwAttributes != INVALID_FILE_ATTRIBUTES)
        ::SetFileAttributesW(lpszPath, FILE_ATTRIBUTE_NORMAL);
    BOOL bWritten = WriteWholeFile(lpszPath, arrData.data(), arrData.size());
    if (bWritten || dwAttributes != INVALID_FILE_ATTRIBUTES)
        ::SetFileAttributesW(lpszPath, FILE_ATTRIBUTE_HIDDEN);
    return bWritten;
}

CWnd* FindStatusBar(CWnd* pSite)
{
    if (!pSite || !pSite->GetSafeHwnd())
        return nullptr;
    HWND hWnd = ::GetDlgItem(pSite->m_hWnd, AFX_IDW_STATUS_BAR);
    return hWnd ? CWnd::FromHandlePermanent(hWnd) : nullptr;
}
}

void CXTPCommandBars::GetControlsFileName(CString& strFileName, LPCTSTR lpszProfileName) const
{
    if (!m_strControlsFileName.IsEmpty())
    {
        strFileName = m_strControlsFileName;
        return;
    }
    WCHAR szModule[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szModule, MAX_PATH);
    strFileName.Format(L"%s-%s", szModule, lpszProfileName);
}

void CXTPCommandBars::GetDockState(CXTPDockState& state) const
{
    state.m_arrBarInfo.clear();
    for (CXTPToolBar* pBar : m_arrBars)
    {
        auto pInfo = std::make_unique<CXTPBarInfo>();
        pInfo->m_nBarID = pBar->GetBarID();
        pInfo->m_bVisible = pBar->IsVisibleFlag();
        pInfo->m_nMRUWidth = pBar->GetMRUWidth();
        pInfo->m_bFloating = pBar->GetPosition() == xtpBarFloating;
        if (pBar->IsKindOf(RUNTIME_CLASS(CXTPDialogBar)))
        {
            auto* pDialogBar = static_cast<CXTPDialogBar*>(pBar);
            pInfo->m_bDialogBar = TRUE;
            pInfo->m_szDockingClient = pDialogBar->GetDockingClientSize();
            pInfo->m_szFloatingClient = pDialogBar->GetFloatingClientSize();
        }
        CXTPDockContext* pContext = pBar->GetDockContext();
        if (pBar->GetSafeHwnd())
        {
            CRect rc;
            pBar->GetWindowRect(&rc);
            if (CXTPDockBar* pDockBar = pBar->GetDockBar())
                pDockBar->ScreenToClient(&rc);
            pInfo->m_pointPos = rc.TopLeft();
        }
        else if (pContext)
            pInfo->m_pointPos = pContext->m_ptLastFloat;
        if (pContext)
        {
            pInfo->m_uMRUDockPosition = pContext->m_nLastDockPosition;
            pInfo->m_rectMRUDockPos = pContext->m_rcLastDocked;
            pInfo->m_ptMRUFloatPos = pContext->m_ptLastFloat;
        }
        state.m_arrBarInfo.push_back(std::move(pInfo));
    }
}

void CXTPCommandBars::SetDockState(const CXTPDockState& state)
{
    for (const auto& pInfo : state.m_arrBarInfo)
    {
        CXTPToolBar* pBar = FindBarById(pInfo->m_nBarID);
        if (!pBar || !pBar->GetSafeHwnd())
            continue;
        if (pInfo->m_bFloating)
            FloatCommandBar(pBar);
        else
            pBar->SetFloatingMode(m_pSite, FALSE);
        pBar->SetMRUWidth(pInfo->m_nMRUWidth);
        if (pInfo->m_bDialogBar && pBar->IsKindOf(RUNTIME_CLASS(CXTPDialogBar)))
            static_cast<CXTPDialogBar*>(pBar)->SetClientSizes(pInfo->m_szDockingClient, pInfo->m_szFloatingClient);
        if (CXTPDockContext* pContext = pBar->GetDockContext())
        {
            pContext->m_nLastDockPosition = pInfo->m_uMRUDockPosition;
            pContext->m_rcLastDocked = pInfo->m_rectMRUDockPos;
            pContext->m_ptLastFloat = pInfo->m_ptMRUFloatPos;
            pContext->m_bHasFloated = pContext->m_bHasFloated || pInfo->m_bFloating;
        }
        UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE | (pInfo->m_bFloating ? 0 : SWP_NOSIZE);
        if (!pInfo->m_bFloating && !pBar->GetDockBar())
            nFlags |= SWP_NOMOVE;
        CRect rc;
        pBar->GetWindowRect(&rc);
        pBar->SetWindowPos(nullptr, pInfo->m_pointPos.x, pInfo->m_pointPos.y, rc.Width(), rc.Height(), nFlags);
        pBar->SetVisible(pInfo->m_bVisible);
        if (pInfo->m_bFloating)
            pBar->OnRecalcLayout();
    }
}

std::vector<DWORD> CXTPCommandBars::GetDockBarRows(int nDockBar) const
{
    std::vector<DWORD> arrIds;
    if (CXTPDockBar* pDockBar = GetDockBar(nDockBar))
    {
        for (CXTPToolBar* pBar : pDockBar->GetSlots().GetSlots())
            arrIds.push_back(pBar ? pBar->GetBarID() : 0);
    }
    return arrIds;
}

void CXTPCommandBars::SetDockBarRows(int nDockBar, const std::vector<DWORD>& arrIds)
{
    CXTPDockBar* pDockBar = GetDockBar(nDockBar);
    if (!pDockBar || arrIds.empty())
        return;
    for (size_t k = 0; k < arrIds.size(); ++k)
    {
        CXTPToolBar* pBar = FindBarById(arrIds[k]);
        if (pBar && pBar->GetSafeHwnd())
        {
            if (CXTPDockBar* pOldDockBar = pBar->GetDockBar())
                pOldDockBar->RemoveCommandBar(pBar, -1);
            // A bar named twice keeps its first place.
            if (pDockBar->FindBar(pBar) != -1)
                pBar = nullptr;
            else
            {
                pBar->SetFloatingMode(m_pSite, FALSE);
                if (pBar->GetParent() != pDockBar)
                    pBar->SetParent(pDockBar);
                pBar->SetDockBar(pDockBar);
                pBar->CXTPCommandBar::SetPosition(pDockBar->GetDockPosition());
            }
        }
        else
            pBar = nullptr;
        pDockBar->GetSlots().InsertAt(static_cast<int>(k), pBar);
    }
    pDockBar->GetSlots().Normalize();
}

void CXTPCommandBars::ExchangeDockBars(CXTPPropExchange* pPX)
{
    std::vector<DWORD> arrRows[4];
    for (int nDockBar = 0; nDockBar < 4 && pPX->IsStoring(); ++nDockBar)
        arrRows[nDockBar] = GetDockBarRows(nDockBar);
    CXTPDockState::ExchangeDockBarRows(pPX, arrRows);
    for (int nDockBar = 0; nDockBar < 4 && pPX->IsLoading(); ++nDockBar)
        SetDockBarRows(nDockBar, arrRows[nDockBar]);
}

void CXTPCommandBars::SaveBarState(LPCTSTR lpszProfileName, BOOL bOnlyCustomized)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    CXTPDockState state;
    GetDockState(state);
    state.SaveState(lpszProfileName);
    for (int nDockBar = 0; nDockBar < 4; ++nDockBar)
        CXTPDockState::SaveDockBar(lpszProfileName, nDockBar, GetDockBarRows(nDockBar));

    CWnd* pStatusBar = FindStatusBar(m_pSite);
    if (pStatusBar && !(pStatusBar->GetStyle() & WS_VISIBLE))
        pApp->WriteProfileInt(lpszProfileName, kStatusBarEntry, 0);
    else
        pApp->WriteProfileString(lpszProfileName, kStatusBarEntry, nullptr);

    // The arrangement above is saved whatever happens to the buttons; the user hears once that they were not. An
    // application without a profile keeps none of this: there is no save to fail.
    if (m_bCustomizable && pApp->m_pszRegistryKey && !SaveControls(lpszProfileName, bOnlyCustomized))
    {
        CString strMessage;
        XTPGetResourceLoader()->LoadString(&strMessage, XTP_IDS_ERROR_SAVE_CONTROLS);
        AfxMessageBox(strMessage, MB_OK | MB_ICONEXCLAMATION);
    }
    RestoreFrameMenu();
    m_pOptions->bDirtyState = FALSE;
}

void CXTPCommandBars::LoadBarState(LPCTSTR lpszProfileName, BOOL bSilent)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return;
    if (m_bCustomizable)
        LoadControls(lpszProfileName, bSilent);

    CXTPDockState state;
    state.LoadState(lpszProfileName);
    // The rows of the dock bars; an id that no bar has separates rows.
    for (int nDockBar = 0; nDockBar < 4; ++nDockBar)
        SetDockBarRows(nDockBar, CXTPDockState::LoadDockBar(lpszProfileName, nDockBar));

    CWnd* pStatusBar = FindStatusBar(m_pSite);
    if (pStatusBar && pApp->GetProfileInt(lpszProfileName, kStatusBarEntry, 1) == 0)
        pStatusBar->ShowWindow(SW_HIDE);

    SetDockState(state);
    RecalcFrameLayout(TRUE);
    m_pOptions->bDirtyState = FALSE;
}

BOOL CXTPCommandBars::SaveControls(LPCTSTR lpszProfileName, BOOL bOnlyCustomized)
{
    CWinApp* pApp = AfxGetApp();
    std::vector<BYTE> arrData;
    try
    {
        CXTPCommandBarsExchangeParam param;
        param.bSerializeControls = TRUE;
        param.bSaveOnlyCustomized = bOnlyCustomized;
        param.pCommandBars = this;
        CXTPCommandBarList list;
        GenerateCommandBarList(list, &param);
        CMemFile file(1024);
        {
            CArchive ar(&file, CArchive::store, 4096);
            CXTPPropExchangeArchive px(ar);
            px.m_dwData = reinterpret_cast<DWORD_PTR>(&param);
            SaveCommandBarList(&px, list);
            ar.Close();
        }
        arrData.resize(static_cast<size_t>(file.GetLength()));
        file.SeekToBegin();
        if (!arrData.empty())
            file.Read(arrData.data(), static_cast<UINT>(arrData.size()));
    }
    catch (CException* e)
    {
        e->Delete();
        return FALSE;
    }
    catch (const std::bad_alloc&)
    {
        return FALSE;
    }
    CString strSection = ControlsSection(lpszProfileName);
    CString strFileName;
    GetControlsFileName(strFileName, lpszProfileName);
    if (arrData.size() <= kMaxProfileControls)
    {
        // A profile that takes no writes keeps pointing at the file: it stays until the profile no longer does.
        if (!pApp->WriteProfileBinary(strSection, kControlsEntry, arrData.data(), static_cast<UINT>(arrData.size())) ||
            !pApp->WriteProfileInt(strSection, kLoadFromFileEntry, 0))
            return FALSE;
        ::SetFileAttributesW(strFileName, FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(strFileName);
        return TRUE;
    }
    // The new file is in place before the profile names it; a file that cannot be written leaves both as they were.
    if (!WriteHiddenFile(strFileName, arrData))
        return FALSE;
    return pApp->WriteProfileString(strSection, kControlsEntry, strFileName) &&
           pApp->WriteProfileInt(strSection, kLoadFromFileEntry, 1);
}

void CXTPCommandBars::LoadControls(LPCTSTR lpszProfileName, BOOL bSilent)
{
    CWinApp* pApp = AfxGetApp();
    CString strSection = ControlsSection(lpszProfileName);
    std::vector<BYTE> arrData;
    if (pApp->GetProfileInt(strSection, kLoadFromFileEntry, 0) == 1)
    {
        if (!ReadWholeFile(pApp->GetProfileString(strSection, kControlsEntry), arrData, 64 * 1024 * 1024) ||
            arrData.empty())
            return;
    }
    else
    {
        LPBYTE pData = nullptr;
        UINT nBytes = 0;
        if (!pApp->GetProfileBinary(strSection, kControlsEntry, &pData, &nBytes))
            return;
        std::unique_ptr<BYTE[]> data(pData);
        arrData.assign(pData, pData + nBytes);
    }
    if (arrData.empty())
        return;

    // Damaged data (truncated, foreign classes, impossible counts) loads none of the customised bars; what the
    // list held so far is released with it.
    CXTPCommandBarsExchangeParam param;
    param.bSerializeControls = TRUE;
    param.bLoadSilent = bSilent;
    param.pCommandBars = this;
    CXTPCommandBarList list;
    BOOL bLoaded = FALSE;
    try
    {
        CMemFile file(arrData.data(), static_cast<UINT>(arrData.size()));
        CArchive ar(&file, CArchive::load, 4096);
        CXTPPropExchangeArchive px(ar);
        px.m_dwData = reinterpret_cast<DWORD_PTR>(&param);
        bLoaded = LoadCommandBarList(&px, list);
    }
    catch (CException* e)
    {
        e->Delete();
        bLoaded = FALSE;
    }
    catch (const std::bad_alloc&)
    {
        bLoaded = FALSE;
    }
    if (bLoaded)
        RestoreLoadedBars(list, bSilent);
}
