// Themes of the themed controls: a style draws, one factory per control kind creates the kind's styles by id
// and holds the style its controls share, and each control is a host that may carry a style of its own.
// The registry keeps the shared factories and the process-wide theme id.
#pragma once

#include "platform/mfc/afx.h"

#include <map>

class CXTThemeManagerStyleFactory;
class CXTThemeManagerStyleHost;

// Base of every theme.
class CXTThemeManagerStyle
{
public:
    CXTThemeManagerStyle() = default;
    virtual ~CXTThemeManagerStyle() = default;
    CXTThemeManagerStyle(const CXTThemeManagerStyle&) = delete;
    CXTThemeManagerStyle& operator=(const CXTThemeManagerStyle&) = delete;

    // Base: brings the process-wide colour table up to date when it is stale.
    virtual void RefreshMetrics();

    CXTThemeManagerStyleFactory* GetFactory() const { return m_pFactory; }
    int GetThemeId() const { return m_nThemeId; }

private:
    friend class CXTThemeManagerStyleFactory;
    CXTThemeManagerStyleFactory* m_pFactory = nullptr;
    int m_nThemeId = 0;
};

class CXTThemeManagerStyleFactory : public CObject
{
    DECLARE_DYNCREATE(CXTThemeManagerStyleFactory)
public:
    CXTThemeManagerStyleFactory();
    ~CXTThemeManagerStyleFactory() override;

    // The kind's style for a theme id; the base kind has none.
    virtual CXTThemeManagerStyle* CreateTheme(int nTheme);
    virtual void RefreshMetrics();

    // The current style, made for the process-wide theme id on first use; null when the kind makes none.
    CXTThemeManagerStyle* GetSafeTheme();
    // Replaces (and deletes) the current style, refreshes the new one and tells every host. A style that
    // another factory holds is taken from it.
    void SetTheme(CXTThemeManagerStyle* pTheme);
    void SetTheme(int nTheme);

private:
    friend class CXTThemeManagerStyleHost;
    friend class CThemeRegistry;

    CXTThemeManagerStyle* CreateThemeWithId(int nTheme);
    void AddHost(CXTThemeManagerStyleHost* pHost);
    void RemoveHost(CXTThemeManagerStyleHost* pHost);

    CXTThemeManagerStyle* m_pTheme = nullptr;
    CXTThemeManagerStyleHost* m_pFirstHost = nullptr;
    CXTThemeManagerStyleFactory* m_pNextFactory = nullptr;
};

// The theme part of a themed control.
class CXTThemeManagerStyleHost
{
public:
    explicit CXTThemeManagerStyleHost(CRuntimeClass* pFactoryClass);
    virtual ~CXTThemeManagerStyleHost();
    CXTThemeManagerStyleHost(const CXTThemeManagerStyleHost&) = delete;
    CXTThemeManagerStyleHost& operator=(const CXTThemeManagerStyleHost&) = delete;

    virtual CXTThemeManagerStyleFactory* CreateFactory();
    // After every change of the host's style.
    virtual void OnThemeChanged() {}

    // The host's own factory when it has one, else the kind's shared factory.
    CXTThemeManagerStyleFactory* GetFactory() const { return m_pOwnFactory ? m_pOwnFactory : m_pSharedFactory; }
    CXTThemeManagerStyle* GetTheme() { return GetFactory() ? GetFactory()->GetSafeTheme() : nullptr; }

    // A style for this control alone (owned from then on), or none to return to the kind's shared style.
    void SetTheme(CXTThemeManagerStyle* pTheme);
    void SetTheme(int nTheme);
    // A factory of the caller's (not owned), or none to return to the shared one.
    void SetFactory(CXTThemeManagerStyleFactory* pFactory);

private:
    friend class CXTThemeManagerStyleFactory;

    void ReplaceOwnFactory(CXTThemeManagerStyleFactory* pFactory, BOOL bOwns);

    BOOL m_bOwnsFactory = FALSE;
    CRuntimeClass* m_pFactoryClass;
    CXTThemeManagerStyleFactory* m_pOwnFactory = nullptr;
    CXTThemeManagerStyleFactory* m_pSharedFactory = nullptr;
    CXTThemeManagerStyleHost* m_pNextHost = nullptr;
};

class CThemeRegistry
{
public:
    static CThemeRegistry* GetInstance();
    ~CThemeRegistry();
    CThemeRegistry(const CThemeRegistry&) = delete;
    CThemeRegistry& operator=(const CThemeRegistry&) = delete;

    // The shared factory of a kind, made through its runtime class on first request.
    CXTThemeManagerStyleFactory* FindFactory(CRuntimeClass* pFactoryClass);
    // A new process-wide theme id: every shared factory makes its style for it.
    void SetTheme(int nTheme);
    int GetThemeId() const { return m_nTheme; }
    void RefreshMetrics();

private:
    friend class CXTThemeManagerStyleFactory;
    CThemeRegistry() = default;

    std::map<CRuntimeClass*, CXTThemeManagerStyleFactory*> m_mapFactories;
    int m_nTheme = 0;
    CXTThemeManagerStyleFactory* m_pFirstFactory = nullptr;
};
