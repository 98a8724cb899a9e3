#include "ui/themes/ThemeManager.h"

#include "ui/themes/ColorTable.h"

void CXTThemeManagerStyle::RefreshMetrics()
{
    CColorTable::RefreshIfStale();
}

IMPLEMENT_DYNCREATE(CXTThemeManagerStyleFactory, CObject)

CXTThemeManagerStyleFactory::CXTThemeManagerStyleFactory()
{
    CThemeRegistry* pRegistry = CThemeRegistry::GetInstance();
    m_pNextFactory = pRegistry->m_pFirstFactory;
    pRegistry->m_pFirstFactory = this;
}

CXTThemeManagerStyleFactory::~CXTThemeManagerStyleFactory()
{
    delete m_pTheme;
    CXTThemeManagerStyleFactory** ppLink = &CThemeRegistry::GetInstance()->m_pFirstFactory;
    while (*ppLink && *ppLink != this)
        ppLink = &(*ppLink)->m_pNextFactory;
    if (*ppLink)
        *ppLink = m_pNextFactory;
}

CXTThemeManagerStyle* CXTThemeManagerStyleFactory::CreateTheme(int /*nTheme*/)
{
    return nullptr;
}

CXTThemeManagerStyle* CXTThemeManagerStyleFactory::CreateThemeWithId(int nTheme)
{
    CXTThemeManagerStyle* pTheme = CreateTheme(nTheme);
    if (pTheme)
        pTheme->m_nThemeId = nTheme;
    return pTheme;
}

void CXTThemeManagerStyleFactory::RefreshMetrics()
{
    if (m_pTheme)
        m_pTheme->RefreshMetrics();
}

CXTThemeManagerStyle* CXTThemeManagerStyleFactory::GetSafeTheme()
{
    if (!m_pTheme) {
        m_pTheme = CreateThemeWithId(CThemeRegistry::GetInstance()->GetThemeId());
        if (m_pTheme) {
            m_pTheme->m_pFactory = this;
            m_pTheme->RefreshMetrics();
        }
    }
    return m_pTheme;
}

void CXTThemeManagerStyleFactory::SetTheme(CXTThemeManagerStyle* pTheme)
{
    // A style has one owner: one that another factory holds leaves it (that factory makes itself a new one
    // when next asked), and handing in the current style again must not delete it.
    CXTThemeManagerStyleFactory* pHolder = pTheme ? pTheme->m_pFactory : nullptr;
    if (pHolder && pHolder != this && pHolder->m_pTheme == pTheme)
        pHolder->m_pTheme = nullptr;
    if (pTheme != m_pTheme)
        delete m_pTheme;
    m_pTheme = pTheme;
    if (m_pTheme) {
        m_pTheme->m_pFactory = this;
        m_pTheme->RefreshMetrics();
    }
    for (CXTThemeManagerStyleHost* pHost = m_pFirstHost; pHost; pHost = pHost->m_pNextHost)
        pHost->OnThemeChanged();
}

void CXTThemeManagerStyleFactory::SetTheme(int nTheme)
{
    SetTheme(CreateThemeWithId(nTheme));
}

void CXTThemeManagerStyleFactory::AddHost(CXTThemeManagerStyleHost* pHost)
{
    pHost->m_pNextHost = m_pFirstHost;
    m_pFirstHost = pHost;
}

void CXTThemeManagerStyleFactory::RemoveHost(CXTThemeManagerStyleHost* pHost)
{
    CXTThemeManagerStyleHost** ppLink = &m_pFirstHost;
    while (*ppLink && *ppLink != pHost)
        ppLink = &(*ppLink)->m_pNextHost;
    if (*ppLink)
        *ppLink = pHost->m_pNextHost;
    pHost->m_pNextHost = nullptr;
}

CXTThemeManagerStyleHost::CXTThemeManagerStyleHost(CRuntimeClass* pFactoryClass)
    : m_pFactoryClass(pFactoryClass)
{
    m_pSharedFactory = CThemeRegistry::GetInstance()->FindFactory(pFactoryClass);
    if (m_pSharedFactory)
        m_pSharedFactory->AddHost(this);
}

CXTThemeManagerStyleHost::~CXTThemeManagerStyleHost()
{
    if (GetFactory())
        GetFactory()->RemoveHost(this);
    if (m_bOwnsFactory)
        delete m_pOwnFactory;
}

CXTThemeManagerStyleFactory* CXTThemeManagerStyleHost::CreateFactory()
{
    CObject* pObject = m_pFactoryClass ? m_pFactoryClass->CreateObject() : nullptr;
    if (pObject && !pObject->IsKindOf(RUNTIME_CLASS(CXTThemeManagerStyleFactory))) {
        delete pObject;
        pObject = nullptr;
    }
    return static_cast<CXTThemeManagerStyleFactory*>(pObject);
}

void CXTThemeManagerStyleHost::ReplaceOwnFactory(CXTThemeManagerStyleFactory* pFactory, BOOL bOwns)
{
    if (GetFactory())
        GetFactory()->RemoveHost(this);
    if (m_bOwnsFactory)
        delete m_pOwnFactory;
    m_pOwnFactory = pFactory;
    m_bOwnsFactory = pFactory && bOwns;
    OnThemeChanged();
    if (GetFactory())
        GetFactory()->AddHost(this);
}

void CXTThemeManagerStyleHost::SetTheme(CXTThemeManagerStyle* pTheme)
{
    if (!m_pOwnFactory && !pTheme)
        return;
    CXTThemeManagerStyleFactory* pFactory = nullptr;
    if (pTheme) {
        pFactory = CreateFactory();
        if (!pFactory) {
            // Nothing can carry the style: it is ours to delete.
            delete pTheme;
            return;
        }
        pFactory->SetTheme(pTheme);
    }
    ReplaceOwnFactory(pFactory, TRUE);
}

void CXTThemeManagerStyleHost::SetTheme(int nTheme)
{
    SetTheme(m_pSharedFactory ? m_pSharedFactory->CreateThemeWithId(nTheme) : nullptr);
}

void CXTThemeManagerStyleHost::SetFactory(CXTThemeManagerStyleFactory* pFactory)
{
    ReplaceOwnFactory(pFactory, FALSE);
}

CThemeRegistry* CThemeRegistry::GetInstance()
{
    static CThemeRegistry s_registry;
    return &s_registry;
}

CThemeRegistry::~CThemeRegistry()
{
    std::map<CRuntimeClass*, CXTThemeManagerStyleFactory*> mapFactories;
    mapFactories.swap(m_mapFactories);
    for (auto& entry : mapFactories)
        delete entry.second;
}

CXTThemeManagerStyleFactory* CThemeRegistry::FindFactory(CRuntimeClass* pFactoryClass)
{
    auto it = m_mapFactories.find(pFactoryClass);
    if (it != m_mapFactories.end())
        return it->second;
    CObject* pObject = pFactoryClass ? pFactoryClass->CreateObject() : nullptr;
    if (!pObject)
        return nullptr;
    if (!pObject->IsKindOf(RUNTIME_CLASS(CXTThemeManagerStyleFactory))) {
        delete pObject;
        return nullptr;
    }
    auto* pFactory = static_cast<CXTThemeManagerStyleFactory*>(pObject);
    m_mapFactories[pFactoryClass] = pFactory;
    return pFactory;
}

void CThemeRegistry::SetTheme(int nTheme)
{
    if (nTheme == m_nTheme)
        return;
    m_nTheme = nTheme;
    CColorTable::RefreshIfStale();
    for (auto& entry : m_mapFactories)
        entry.second->SetTheme(nTheme);
}

void CThemeRegistry::RefreshMetrics()
{
    CColorTable::RefreshIfStale();
    for (CXTThemeManagerStyleFactory* pFactory = m_pFirstFactory; pFactory; pFactory = pFactory->m_pNextFactory)
        pFactory->RefreshMetrics();
}
