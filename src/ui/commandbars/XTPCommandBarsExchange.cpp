// The bars' saved form: the keys of every control and bar class, in their fixed order (the archive store keeps
// only the order), and the list of customised bars that the profile keeps under "%s-Controls".
#include "ui/commandbars/XTPCommandBars.h"

#include "platform/mfc/afxmemfile.h"
#include "platform/mfc/afxmsgbox.h"
#include "ui/commandbars/XTPCommandBarList.h"
#include "ui/commandbars/XTPDockState.h"
#include "ui/commandbars/XTPMenuBar.h"
#include "ui/commandbars/XTPShortcutManager.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/persist/ImageManager.h"
#include "ui/persist/PropExchange.h"
#include "ui/persist/PropExchangeArchive.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/themes/BarPainter.h"
#include "ui/uires.h"

#include <set>
#include <vector>

namespace
{
// The id of the toolbar that carries the manager's command collection among the saved bars.
const UINT kCommandCollectionBarId = 0xFFEEFF;

BOOL ExchangeDWordAsLong(CXTPPropExchange* pPX, LPCTSTR pszName, DWORD& dwValue)
{
    long nValue = static_cast<long>(dwValue);
    BOOL bResult = ExchangeLong(pPX, pszName, nValue, 0);
    dwValue = static_cast<DWORD>(nValue);
    return bResult;
}

// The class of a child section: stored when saving; when loading it must be one of the base and creatable.
CObject* ExchangeClass(CXTPPropExchange* pPX, CObject* pObject, CRuntimeClass* pBase)
{
    CRuntimeClass* pClass = pObject ? pObject->GetRuntimeClass() : nullptr;
    if (!pPX->ExchangeRuntimeClass(L"Class", pClass, pBase) || pPX->IsStoring())
        return pObject;
    if (!pClass || !pClass->IsDerivedFrom(pBase))
        return nullptr;
    return pClass->CreateObject();
}
}

CXTPCommandBarsExchangeParam* CXTPCommandBarsExchangeParam::From(const CXTPPropExchange* pPX)
{
    return reinterpret_cast<CXTPCommandBarsExchangeParam*>(pPX->m_dwData);
}

// Controls

void CXTPDocTemplateSet::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar.WriteCount(m_setIds.size());
        for (UINT nId : m_setIds)
            ar << static_cast<DWORD>(nId) << static_cast<DWORD>(1);
        return;
    }
    m_setIds.clear();
    // A damaged count ends at the end of the data.
    for (DWORD_PTR i = 0, nCount = ar.ReadCount(); i < nCount; ++i)
    {
        DWORD dwId = 0, dwValue = 0;
        ar >> dwId >> dwValue;
        m_setIds.insert(dwId);
    }
}

namespace
{
// The icons of the exchanging manager, else the process-wide ones.
CXTPImageManager* ExchangeImageManager(CXTPPropExchange* pPX)
{
    CXTPCommandBarsExchangeParam* pParam = CXTPCommandBarsExchangeParam::From(pPX);
    return pParam && pParam->pCommandBars ? pParam->pCommandBars->GetImageManager() : XTPImageManager();
}

// A keyed store leaves an empty set out; the archive keeps its place.
void ExchangeDocTemplates(CXTPPropExchange* pPX, LPCTSTR pszName, CXTPDocTemplateSet& templates)
{
    if (pPX->IsStoring() && pPX->IsAllowDefaultValues() && templates.m_setIds.empty())
    {
        // A value stored at its default leaves the store: the set an earlier save left there does not come back.
        CString strNone;
        ExchangeString(pPX, pszName, strNone, L"");
        return;
    }
    if (pPX->IsLoading())
        templates.m_setIds.clear();
    if (!ExchangeSerialize(pPX, pszName, &templates) && pPX->IsLoading() && !pPX->IsAllowDefaultValues())
        AfxThrowArchiveException(CArchiveException::genericException);
}
}

void CXTPControl::DoPropExchange(CXTPPropExchange* pPX)
{
    long nTag = static_cast<long>(m_nTag);
    ExchangeInt(pPX, L"Type", m_nType, xtpControlButton);
    ExchangeInt(pPX, L"Id", m_nId, -1);
    ExchangeInt(pPX, L"IconId", m_nIconId, 0);
    ExchangeBool(pPX, L"BeginGroup", m_bBeginGroup, FALSE);
    ExchangeLong(pPX, L"Tag", nTag, 0);
    m_nTag = static_cast<DWORD_PTR>(nTag);
    ExchangeDWordAsLong(pPX, L"Flags", m_dwFlags);
    ExchangeDWordAsLong(pPX, L"HideFlags", m_dwHideFlags);
    ExchangeString(pPX, L"Caption", m_strCaption, L"");
    ExchangeString(pPX, L"ShortcutText", m_strShortcutText, L"");
    ExchangeString(pPX, L"TooltipText", m_strTooltipText, L"");
    ExchangeString(pPX, L"DescriptionText", m_strDescriptionText, L"");
    ExchangeString(pPX, L"Parameter", m_strParameter, L"");
    ExchangeInt(pPX, L"CustomIconId", m_nCustomIconId, 0);
    ExchangeString(pPX, L"CustomCaption", m_strCustomCaption, L"");
    if (pPX->m_nSchema > 1)
        ExchangeString(pPX, L"Category", m_strCategory, L"");
    // The icon the user gave the control travels with it.
    if (m_nCustomIconId > 0)
    {
        CXTPPropExchangeSection section(pPX, L"CustomIcon");
        ExchangeImageManager(pPX)->DoPropExchange(static_cast<UINT>(m_nCustomIconId), section.Get());
    }
    if (pPX->m_nSchema > 3)
    {
        ExchangeDocTemplates(pPX, L"DocTemplatesExcluded", m_docTemplatesExcluded);
        ExchangeDocTemplates(pPX, L"DocTemplatesAssigned", m_docTemplatesAssigned);
        ExchangeBool(pPX, L"DefaultItem", m_bDefaultItem, FALSE);
    }
    if (pPX->m_nSchema > 6)
        ExchangeBool(pPX, L"CloseSubMenuOnClick", m_bCloseSubMenuOnClick, TRUE);
    if (pPX->m_nSchema > 7)
        ExchangeInt(pPX, L"CustomStyle", m_nCustomStyle, 0);
}

void CXTPControlButton::DoPropExchange(CXTPPropExchange* pPX)
{
    CXTPControl::DoPropExchange(pPX);
    ExchangeInt(pPX, L"Style", m_nStyle, 0);
}

void CXTPControlPopup::DoPropExchange(CXTPPropExchange* pPX)
{
    CXTPControl::DoPropExchange(pPX);
    DWORD dwBarId = pPX->IsStoring() && m_pPopupBar ? m_pPopupBar->GetBarID() : 0;
    ExchangeDWordAsLong(pPX, L"CommandBarId", dwBarId);
    if (pPX->IsLoading())
        m_dwPendingBarId = dwBarId;
    if (pPX->m_nSchema > 4)
        ExchangeInt(pPX, L"Style", m_nStyle, 0);
}

void CXTPControls::DoPropExchange(CXTPPropExchange* pPX)
{
    if (pPX->IsStoring())
    {
        DWORD dwCount = 0;
        for (CXTPControl* pControl : m_arrControls)
            dwCount += pControl->IsTemporary() ? 0 : 1;
        CXTPPropExchangeEnumerator enumerator(pPX, L"Control");
        POSITION pos = enumerator.GetPosition(dwCount);
        for (CXTPControl* pControl : m_arrControls)
        {
            if (pControl->IsTemporary() || !pos)
                continue;
            CXTPPropExchangeSection section(enumerator.GetNext(pos));
            ExchangeClass(section.Get(), pControl, RUNTIME_CLASS(CXTPControl));
            pControl->DoPropExchange(section.Get());
        }
        CXTPCommandBarsExchangeParam* pParam = CXTPCommandBarsExchangeParam::From(pPX);
        BOOL bOriginal = m_pOriginalControls && (!pParam || pParam->bSaveOriginalControls);
        ExchangeBool(pPX, L"OriginalControls", bOriginal, FALSE);
        if (bOriginal)
        {
            CXTPPropExchangeSection section(pPX, L"OriginalControls");
            m_pOriginalControls->DoPropExchange(section.Get());
        }
        BOOL bCustomized = FALSE;
        ExchangeBool(pPX, L"CustomizedControls", bCustomized, FALSE);
        return;
    }

    RemoveAll();
    CXTPPropExchangeEnumerator enumerator(pPX, L"Control");
    POSITION pos = enumerator.GetPosition();
    while (pos)
    {
        // A keyed store's count is only a number: beyond the stored controls it is damage, not empty controls.
        if (!enumerator.IsNextStored(pos))
            AfxThrowArchiveException(CArchiveException::endOfFile);
        CXTPPropExchangeSection section(enumerator.GetNext(pos));
        CObject* pObject = ExchangeClass(section.Get(), nullptr, RUNTIME_CLASS(CXTPControl));
        if (!pObject)
            AfxThrowArchiveException(CArchiveException::badClass);
        auto* pControl = static_cast<CXTPControl*>(pObject);
        // Held by the collection at once: a damaged rest of the data releases it with the others.
        Insert(pControl, -1);
        pControl->DoPropExchange(section.Get());
    }
    RefreshIndexes();
    if (pPX->m_nSchema > 2)
    {
        BOOL bOriginal = FALSE;
        ExchangeBool(pPX, L"OriginalControls", bOriginal, FALSE);
        if (bOriginal)
        {
            if (m_pOriginalControls)
                m_pOriginalControls->InternalRelease();
            m_pOriginalControls = new CXTPControls;
            CXTPPropExchangeSection section(pPX, L"OriginalControls");
            m_pOriginalControls->DoPropExchange(section.Get());
        }
        BOOL bCustomized = FALSE;
        ExchangeBool(pPX, L"CustomizedControls", bCustomized, FALSE);
        if (bCustomized)
        {
            auto* pCustomized = new CXTPControls;
            CXTPPropExchangeSection section(pPX, L"CustomizedControls");
            try
            {
                pCustomized->DoPropExchange(section.Get());
            }
            catch (...)
            {
                pCustomized->InternalRelease();
                throw;
            }
            pCustomized->InternalRelease();
        }
    }
}

// Bars

void CXTPCommandBar::DoPropExchange(CXTPPropExchange* pPX)
{
    ExchangeInt(pPX, L"Type", m_nType, xtpBarTypeNormal);
    ExchangeInt(pPX, L"Position", m_nPosition, xtpBarTop);
    UINT nBarID = m_nBarID;
    ExchangeUInt(pPX, L"BarID", nBarID, 0);
    m_nBarID = nBarID;
    ExchangeDWordAsLong(pPX, L"Flags", m_dwFlags);
    ExchangeDWordAsLong(pPX, L"Style", m_dwStyle);
    ExchangeString(pPX, L"Title", m_strTitle, L"");
    ExchangeBool(pPX, L"Customizable", m_bCustomizable, TRUE);
    ExchangeInt(pPX, L"MRUWidth", m_nMRUWidth, 0);
    if (pPX->m_nSchema > 2)
        ExchangeSize(pPX, L"IconSize", m_szIcons, CSize(0, 0));
    CXTPCommandBarsExchangeParam* pParam = CXTPCommandBarsExchangeParam::From(pPX);
    if (pPX->IsLoading() && pParam && pParam->pCommandBars)
        m_pCommandBars = pParam->pCommandBars;
    CXTPPropExchangeSection section(pPX, L"Controls");
    m_pControls->DoPropExchange(section.Get());
    if (pPX->IsLoading())
        m_pControls->SetParent(this);
}

void CXTPToolBar::DoPropExchange(CXTPPropExchange* pPX)
{
    CXTPCommandBar::DoPropExchange(pPX);
    ExchangeBool(pPX, L"BuiltIn", m_bBuiltIn, TRUE);
    ExchangeBool(pPX, L"TearOff", m_bTearOff, FALSE);
    if (pPX->m_nSchema > 6)
        ExchangeBool(pPX, L"Closeable", m_bCloseable, TRUE);
    if (pPX->m_nSchema > 7)
        ExchangeBool(pPX, L"ContextMenuPresent", m_bContextMenuPresent, TRUE);
}

void CXTPPopupBar::DoPropExchange(CXTPPropExchange* pPX)
{
    CXTPCommandBar::DoPropExchange(pPX);
    ExchangeBool(pPX, L"TearOffPopup", m_bTearOffPopup, FALSE);
    ExchangeString(pPX, L"TearOffCaption", m_strTearOffCaption, L"");
    ExchangeUInt(pPX, L"TearOffId", m_nTearOffId, 0);
    ExchangeInt(pPX, L"TearOffWidth", m_nTearOffWidth, 0);
    if (pPX->m_nSchema > 3)
    {
        ExchangeRect(pPX, L"Borders", m_rcBorders, CRect(2, 4, 2, 4));
        ExchangeBool(pPX, L"ShowShadow", m_bShowShadow, TRUE);
    }
    if (pPX->m_nSchema > 8)
        ExchangeBool(pPX, L"DoubleGripper", m_bDoubleGripper, FALSE);
}

// The list of customised bars

namespace
{
// The collections of a bar: its controls, their original copy, and a menu bar's document menus.
std::vector<CXTPControls*> AllControls(CXTPCommandBar* pBar)
{
    std::vector<CXTPControls*> arrControls = {pBar->GetControls()};
    if (CXTPControls* pOriginal = pBar->GetControls()->GetOriginalControls())
        arrControls.push_back(pOriginal);
    if (auto* pMenuBar = dynamic_cast<CXTPMenuBar*>(pBar))
    {
        for (const auto& entry : pMenuBar->GetDocMenus())
        {
            arrControls.push_back(entry.second);
            if (CXTPControls* pOriginal = entry.second->GetOriginalControls())
                arrControls.push_back(pOriginal);
        }
    }
    return arrControls;
}

// A bar, then the popup bars of its controls (and of their original copies), each once.
void AddToList(CXTPCommandBar* pBar, CXTPCommandBarList& list, DWORD& dwNextId)
{
    if (list.Contains(pBar))
        return;
    list.Add(pBar);
    if (!pBar->IsKindOf(RUNTIME_CLASS(CXTPToolBar)) && (pBar->GetBarID() == 0 || pBar->GetBarID() >= 0x1000000))
        pBar->SetBarID(dwNextId++);
    for (CXTPControls* pControls : AllControls(pBar))
    {
        for (int i = 0; i < pControls->GetCount(); ++i)
        {
            CXTPControl* pControl = pControls->GetAt(i);
            if (!pControl->IsTemporary() && pControl->GetCommandBar())
                AddToList(pControl->GetCommandBar(), list, dwNextId);
        }
    }
}

// Gives the popup controls of a bar the list bars their stored ids name. A popup bar that holds, however deep,
// the bar that would take it is not taken: damaged ids in a cycle make no loop of popups.
void LinkPopups(CXTPCommandBar* pBar, const CXTPCommandBarList& list, std::set<CXTPCommandBar*>& setAncestors)
{
    setAncestors.insert(pBar);
    for (CXTPControls* pControls : AllControls(pBar))
    {
        for (int i = 0; i < pControls->GetCount(); ++i)
        {
            auto* pPopup = dynamic_cast<CXTPControlPopup*>(pControls->GetAt(i));
            if (!pPopup || !pPopup->GetPendingCommandBarId())
                continue;
            auto* pTarget = dynamic_cast<CXTPPopupBar*>(list.FindBar(pPopup->GetPendingCommandBarId()));
            pPopup->SetPendingCommandBarId(0);
            // A bar of another class would be taken for the one the control works on.
            if (!pTarget || !pTarget->IsKindOf(pPopup->GetPopupBarClass()) || setAncestors.count(pTarget))
                continue;
            // The control takes its own reference; the list keeps its one until it goes.
            pPopup->SetCommandBar(pTarget);
            LinkPopups(pTarget, list, setAncestors);
        }
    }
    setAncestors.erase(pBar);
}
}

void CXTPCommandBars::GenerateCommandBarList(CXTPCommandBarList& list, const CXTPCommandBarsExchangeParam* pParam)
{
    BOOL bOnlyCustomized = !pParam || pParam->bSaveOnlyCustomized;
    DWORD dwNextId = 0x1000000;
    for (CXTPToolBar* pBar : m_arrBars)
    {
        if (bOnlyCustomized && pBar->IsBuiltIn() && !pBar->IsCustomizable())
            continue;
        // A menu bar is saved with its own menu in front.
        BOOL bDocMenus = FALSE;
        if (auto* pMenuBar = dynamic_cast<CXTPMenuBar*>(pBar))
        {
            if (pMenuBar->SwitchToOwnMenu())
                m_bFrameMenuLeft = TRUE;
            bDocMenus = pMenuBar->HasDocMenus();
        }
        CXTPControls* pControls = pBar->GetControls();
        if (bOnlyCustomized && !bDocMenus && pControls->GetOriginalControls() && !pControls->IsChanged())
            continue;
        AddToList(pBar, list, dwNextId);
    }
}

void CXTPCommandBars::SaveCommandBarList(CXTPPropExchange* pPX, const CXTPCommandBarList& list)
{
    CXTPPropExchangeSection section(pPX, L"CommandBars");
    CXTPPropExchangeEnumerator enumerator(section.Get(), L"CommandBar");
    POSITION pos = enumerator.GetPosition(static_cast<DWORD>(list.GetCount()));
    for (int i = 0; pos && i < list.GetCount(); ++i)
    {
        CXTPPropExchangeSection bar(enumerator.GetNext(pos));
        ExchangeClass(bar.Get(), list.GetAt(i), RUNTIME_CLASS(CXTPCommandBar));
        list.GetAt(i)->DoPropExchange(bar.Get());
    }
}

BOOL CXTPCommandBars::LoadCommandBarList(CXTPPropExchange* pPX, CXTPCommandBarList& list)
{
    CXTPPropExchangeSection section(pPX, L"CommandBars");
    CXTPPropExchangeEnumerator enumerator(section.Get(), L"CommandBar");
    POSITION pos = enumerator.GetPosition();
    while (pos)
    {
        if (!enumerator.IsNextStored(pos))
            AfxThrowArchiveException(CArchiveException::endOfFile);
        CXTPPropExchangeSection bar(enumerator.GetNext(pos));
        CObject* pObject = ExchangeClass(bar.Get(), nullptr, RUNTIME_CLASS(CXTPCommandBar));
        if (!pObject)
            return FALSE;
        auto* pBar = static_cast<CXTPCommandBar*>(pObject);
        list.Add(pBar);
        pBar->InternalRelease();   // the list holds it
        pBar->DoPropExchange(bar.Get());
        pBar->GetControls()->RefreshIndexes();
    }
    return TRUE;
}

BOOL CXTPCommandBars::AskResetForUpdate(CXTPToolBar* pBar)
{
    CString strFormat, strMessage;
    XTPGetResourceLoader()->LoadString(&strFormat, XTP_IDS_CONFIRM_UPDATE);
    strMessage.Format(strFormat, static_cast<LPCTSTR>(pBar->GetTitle()));
    return AfxMessageBox(strMessage, MB_YESNO | MB_ICONQUESTION) != IDNO;
}

void CXTPCommandBars::RestoreCommandBarList(CXTPCommandBarList& list, BOOL bSilent)
{
    for (int i = 0; i < list.GetCount(); ++i)
    {
        auto* pLoaded = dynamic_cast<CXTPToolBar*>(list.GetAt(i));
        if (!pLoaded)
            continue;
        std::set<CXTPCommandBar*> setAncestors;
        LinkPopups(pLoaded, list, setAncestors);
        CXTPToolBar* pExisting = FindBarById(pLoaded->GetBarID());
        if (!pExisting)
        {
            AddLoadedToolBar(pLoaded);
            continue;
        }
        // A menu bar takes the loaded controls with its own menu in front, as it saved them.
        if (auto* pMenuBar = dynamic_cast<CXTPMenuBar*>(pExisting))
            pMenuBar->SwitchToOwnMenu();
        CXTPControls* pOriginal = pExisting->GetControls()->GetOriginalControls();
        CXTPControls* pLoadedOriginal = pLoaded->GetControls()->GetOriginalControls();
        // The program's toolbar changed since the data was written: the new toolbar stays unless the user wants
        // to keep the buttons customised on the old one.
        if (pOriginal && pLoadedOriginal && !pOriginal->IsEqual(pLoadedOriginal) &&
            (bSilent || !pLoaded->GetControls()->IsChanged() || AskResetForUpdate(pExisting)))
            continue;
        if (pOriginal)
            pOriginal->InternalAddRef();
        int nPosition = pExisting->GetPosition();
        pExisting->Copy(pLoaded, FALSE);
        pExisting->CXTPCommandBar::SetPosition(nPosition);
        if (pOriginal)
            pExisting->GetControls()->SetOriginalControls(pOriginal);
    }
}

void CXTPCommandBars::AddLoadedToolBar(CXTPToolBar* pBar)
{
    // A menu bar is the program's own: without one of its own the program has no use for it.
    if (pBar->GetType() == xtpBarTypeMenuBar || !m_pSite)
        return;
    pBar->SetCommandBars(this);
    pBar->SetSite(m_pSite);
    pBar->EnableDocking(pBar->GetFlags());
    if (!pBar->CreateToolBar(WS_CHILD | WS_VISIBLE | CBRS_TOP | pBar->GetBarStyle(), m_pSite))
        return;
    pBar->SetFloatingMode(m_pSite, FALSE);
    if (!DockCommandBar(pBar, pBar->GetPosition() >= xtpBarTop && pBar->GetPosition() <= xtpBarBottom
                                  ? pBar->GetPosition()
                                  : xtpBarTop))
    {
        pBar->DestroyWindow();
        return;
    }
    pBar->InternalAddRef();
    m_arrBars.push_back(pBar);
    OnToolBarAdded(pBar);
}

void CXTPCommandBars::RestoreLoadedBars(CXTPCommandBarList& list, BOOL bSilent)
{
    RestoreCommandBarList(list, bSilent);
    if (auto* pMenuBar = dynamic_cast<CXTPMenuBar*>(FindBarById(1)))
    {
        m_pMenuBar = pMenuBar;
        pMenuBar->SetupHook();
        pMenuBar->RestoreMDIMenus();
        pMenuBar->RefreshMenu();
    }
}

// The whole set

void CXTPCommandBars::ExchangeImagesAndOptions(CXTPPropExchange* pPX, const CXTPCommandBarsExchangeParam& param)
{
    if (param.bSerializeImages)
    {
        CXTPPropExchangeSection section(pPX, L"Images");
        GetImageManager()->DoPropExchange(section.Get());
    }
    if (!param.bSerializeOptions)
        return;
    {
        CXTPPropExchangeSection section(pPX, L"Shortcuts");
        m_pShortcutManager->DoPropExchange(section.Get());
    }
    CXTPPropExchangeSection section(pPX, L"Options");
    int nTheme = GetPaintManager()->GetStoredThemeId();
    ExchangeInt(&section, L"Theme", nTheme, 0);
    if (pPX->IsLoading())
        SetPaintManager(CXTPBarPainter::CreateTheme(nTheme));
    m_pOptions->DoPropExchange(section.Get());
    ExchangeBool(&section, L"Customizable", m_bCustomizable, TRUE);
}

void CXTPCommandBars::LoadImagesAndOptions(CXTPPropExchange* pPX, const CXTPCommandBarsExchangeParam& param)
{
    if (!param.bSerializeImages && !param.bSerializeOptions)
        return;
    // They are read into the manager's own objects: what those held is kept aside first.
    CMemFile held;
    {
        CArchive ar(&held, CArchive::store);
        CXTPPropExchangeArchive px(ar);
        px.m_dwData = pPX->m_dwData;
        ExchangeImagesAndOptions(&px, param);
        ar.Close();
    }
    CXTPBarPainter* pPainter = m_pPaintManager;
    if (pPainter)
        pPainter->InternalAddRef();
    try
    {
        ExchangeImagesAndOptions(pPX, param);
    }
    catch (...)
    {
        held.SeekToBegin();
        CArchive ar(&held, CArchive::load);
        CXTPPropExchangeArchive px(ar);
        px.m_dwData = pPX->m_dwData;
        ExchangeImagesAndOptions(&px, param);
        ar.Close();
        SetPaintManager(pPainter);   // the same painter object, not a new one of its theme
        throw;
    }
    if (pPainter)
        pPainter->InternalRelease();
}

void CXTPCommandBars::DoPropExchange(CXTPPropExchange* pPX, CXTPCommandBarsExchangeParam* pParam)
{
    CXTPCommandBarsExchangeParam defaults;
    if (!pParam)
        pParam = &defaults;
    pParam->pCommandBars = this;
    pPX->m_dwData = reinterpret_cast<DWORD_PTR>(pParam);

    if (pPX->IsStoring())
    {
        if (pParam->bSerializeControls)
        {
            CXTPToolBar* pCommands = pParam->bSerializeCommandCollection ? AddCommandCollectionBar() : nullptr;
            try
            {
                CXTPCommandBarList list;
                GenerateCommandBarList(list, pParam);
                SaveCommandBarList(pPX, list);
            }
            catch (...)
            {
                if (pCommands)
                    RemoveCommandCollectionBar(pCommands)->InternalRelease();
                RestoreFrameMenu();
                throw;
            }
            if (pCommands)
                RemoveCommandCollectionBar(pCommands)->InternalRelease();
            RestoreFrameMenu();
        }
        if (pParam->bSerializeLayout)
        {
            CXTPPropExchangeSection layout(pPX, L"Layout");
            CXTPDockState state;
            GetDockState(state);
            state.DoPropExchange(layout.Get());
            ExchangeDockBars(layout.Get());
        }
        ExchangeImagesAndOptions(pPX, *pParam);
        m_pOptions->bDirtyState = FALSE;
        return;
    }

    // Everything the bars take is read before any bar changes: damaged data leaves them as they were.
    CXTPCommandBarList list;
    if (pParam->bSerializeControls && !LoadCommandBarList(pPX, list))
        return;
    CXTPDockState state;
    std::vector<DWORD> arrRows[4];
    if (pParam->bSerializeLayout)
    {
        CXTPPropExchangeSection layout(pPX, L"Layout");
        state.DoPropExchange(layout.Get());
        CXTPDockState::ExchangeDockBarRows(layout.Get(), arrRows);
    }
    LoadImagesAndOptions(pPX, *pParam);

    if (pParam->bSerializeControls)
        RestoreLoadedBars(list, pParam->bLoadSilent);
    if (pParam->bSerializeLayout)
    {
        for (int nDockBar = 0; nDockBar < 4; ++nDockBar)
            SetDockBarRows(nDockBar, arrRows[nDockBar]);
        SetDockState(state);
    }
    // The bar that carried a command collection is no bar of the program.
    if (CXTPToolBar* pCommands = FindBarById(kCommandCollectionBarId))
    {
        CXTPControls* pControls = RemoveCommandCollectionBar(pCommands);
        if (pParam->bSerializeCommandCollection)
            SetCommandCollection(pControls);
        else
            pControls->InternalRelease();
    }
    RecalcFrameLayout(TRUE);
    // What was loaded with the commands is what a reset now returns to.
    if (pParam->bSerializeCommandCollection)
    {
        m_pShortcutManager->UpdateAcceleratorTable();
        for (CXTPToolBar* pBar : m_arrBars)
            if (m_bCustomizable)
                pBar->GetControls()->CreateOriginalControls();
    }
    m_pOptions->bDirtyState = FALSE;
}

CXTPToolBar* CXTPCommandBars::AddCommandCollectionBar()
{
    if (!m_pCommandCollection)
        return nullptr;
    CXTPToolBar* pBar = Add(L"Controls", xtpBarFloating);
    if (!pBar)
        return nullptr;
    pBar->SetControls(m_pCommandCollection);
    pBar->SetBarID(kCommandCollectionBarId);
    pBar->SetVisible(FALSE);
    return pBar;
}

CXTPControls* CXTPCommandBars::RemoveCommandCollectionBar(CXTPToolBar* pBar)
{
    // A bar empties its collection when it goes: the collection leaves it first.
    CXTPControls* pControls = pBar->GetControls();
    pControls->InternalAddRef();
    auto* pEmpty = new CXTPControls;
    pBar->SetControls(pEmpty);
    pEmpty->InternalRelease();
    Remove(pBar);
    for (int nId : {XTP_ID_TOOLBAR_EXPAND, XTP_ID_TOOLBAR_HIDE})
    {
        while (CXTPControl* pControl = pControls->FindControl(nId))
            pControls->Remove(pControl);
    }
    pControls->SetCommandBars(this);
    return pControls;
}

void CXTPCommandBars::SerializeBarState(CArchive& ar, BOOL bSerializeControls, BOOL bOnlyCustomized, BOOL bSilent)
{
    CXTPCommandBarsExchangeParam param;
    param.bSerializeControls = bSerializeControls;
    param.bSaveOnlyCustomized = bOnlyCustomized;
    param.bLoadSilent = bSilent;
    CXTPPropExchangeArchive px(ar);
    DoPropExchange(&px, &param);
}
