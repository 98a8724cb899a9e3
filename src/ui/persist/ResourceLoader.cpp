#include "ui/persist/ResourceLoader.h"

#include <memory>

namespace
{
HMODULE g_hFrameworkResource = nullptr;
HMODULE g_hFrameworkInstance = nullptr;

std::unique_ptr<CXTPResourceLoader>& LoaderHolder()
{
    static std::unique_ptr<CXTPResourceLoader> s_pLoader;
    return s_pLoader;
}
}

void XTPSetResourceHandles(HMODULE hResource, HMODULE hInstance)
{
    g_hFrameworkResource = hResource;
    g_hFrameworkInstance = hInstance;
}

void XTPSetResourceHandle(HMODULE hResource) { XTPSetResourceHandles(hResource, hResource); }
HMODULE XTPGetResourceHandle() { return g_hFrameworkResource; }
HMODULE XTPGetInstanceHandle() { return g_hFrameworkInstance; }

CXTPResourceHandleSwitch::CXTPResourceHandleSwitch()
{
    if (!g_hFrameworkResource)
        return;
    m_hSavedResource = AfxGetResourceHandle();
    AfxSetResourceHandle(g_hFrameworkResource);
    m_bActive = TRUE;
}

CXTPResourceHandleSwitch::~CXTPResourceHandleSwitch()
{
    if (m_bActive)
        AfxSetResourceHandle(m_hSavedResource);
}

CXTPResourceLoader::~CXTPResourceLoader()
{
    Close();
}

BOOL CXTPResourceLoader::IsInFrameworkModule(LPCTSTR lpszName, LPCTSTR lpszType)
{
    // A null module would make FindResource search the program itself.
    return g_hFrameworkResource && ::FindResourceW(g_hFrameworkResource, lpszName, lpszType);
}

template <class Load>
auto CXTPResourceLoader::LoadFromEither(LPCTSTR lpszName, LPCTSTR lpszType, Load load) -> decltype(load())
{
    if (IsInFrameworkModule(lpszName, lpszType)) {
        CXTPResourceHandleSwitch framework;
        if (auto result = load())
            return result;
    }
    return load();
}

BOOL CXTPResourceLoader::LoadString(CString* pString, UINT nID)
{
    // Strings live in blocks of 16, the block of an id being resource (id / 16) + 1.
    return LoadFromEither(MAKEINTRESOURCE((nID >> 4) + 1), RT_STRING, [=] { return pString->LoadString(nID); });
}

BOOL CXTPResourceLoader::LoadMenu(CMenu* pMenu, UINT nID)
{
    return LoadFromEither(MAKEINTRESOURCE(nID), RT_MENU, [=] {
        return pMenu->Attach(::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCE(nID)));
    });
}

BOOL CXTPResourceLoader::LoadBitmap(CBitmap* pBitmap, UINT nID)
{
    return LoadFromEither(MAKEINTRESOURCE(nID), RT_BITMAP, [=] {
        return pBitmap->Attach(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCE(nID)));
    });
}

HCURSOR CXTPResourceLoader::LoadCursor(UINT nID)
{
    return LoadFromEither(MAKEINTRESOURCE(nID), RT_GROUP_CURSOR,
                          [=] { return ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCE(nID)); });
}

LPCDLGTEMPLATE CXTPResourceLoader::LoadDialogTemplate(UINT nID)
{
    return LoadDialogTemplate(MAKEINTRESOURCE(nID));
}

LPCDLGTEMPLATE CXTPResourceLoader::LoadDialogTemplate(LPCTSTR lpszName)
{
    HMODULE hModule = g_hFrameworkResource;
    HRSRC hResource = hModule ? ::FindResourceW(hModule, lpszName, RT_DIALOG) : nullptr;
    if (!hResource) {
        hModule = AfxGetResourceHandle();
        hResource = ::FindResourceW(hModule, lpszName, RT_DIALOG);
    }
    if (!hResource)
        return nullptr;
    HGLOBAL hTemplate = ::LoadResource(hModule, hResource);
    return hTemplate ? static_cast<LPCDLGTEMPLATE>(::LockResource(hTemplate)) : nullptr;
}

void CXTPResourceLoader::Close()
{
    if (m_hResourceFile) {
        ::FreeLibrary(m_hResourceFile);
        m_hResourceFile = nullptr;
    }
}

CXTPResourceLoader* XTPGetResourceLoader()
{
    std::unique_ptr<CXTPResourceLoader>& pLoader = LoaderHolder();
    if (!pLoader)
        pLoader.reset(new CXTPResourceLoader);
    return pLoader.get();
}

void XTPSetResourceLoader(CXTPResourceLoader* pLoader)
{
    // The current loader again would be deleted while it stays installed.
    if (!pLoader || pLoader == LoaderHolder().get())
        return;
    if (!pLoader->IsValid()) {
        delete pLoader;
        return;
    }
    LoaderHolder().reset(pLoader);
}
