#include "ui/persist/ResourceLoader.h"

#include "ui/persist/ResourceLoaderXml.h"

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

// The framework's place in the chain of extension modules (XTPInitExtensionModule).
std::unique_ptr<CDynLinkLibrary>& ExtensionLibrary()
{
    static std::unique_ptr<CDynLinkLibrary> s_pLibrary;
    return s_pLibrary;
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

void XTPInitExtensionModule(HMODULE hResource, HMODULE hInstance)
{
    if (hInstance != g_hFrameworkInstance) {
        ExtensionLibrary().reset();
        AFX_EXTENSION_MODULE extension = {FALSE, hInstance, hResource};
        ExtensionLibrary().reset(new CDynLinkLibrary(extension));
    }
    XTPSetResourceHandles(hResource, hInstance);
}

CXTPResourceHandleSwitch::CXTPResourceHandleSwitch()
{
    if (!g_hFrameworkResource)
        return;
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    m_hSavedResource = pState->m_hCurrentResourceHandle;
    m_hSavedInstance = pState->m_hCurrentInstanceHandle;
    pState->m_hCurrentResourceHandle = g_hFrameworkResource;
    if (!pState->m_hCurrentInstanceHandle)
        pState->m_hCurrentInstanceHandle = g_hFrameworkInstance;
    m_bActive = TRUE;
}

CXTPResourceHandleSwitch::~CXTPResourceHandleSwitch()
{
    if (!m_bActive)
        return;
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    pState->m_hCurrentResourceHandle = m_hSavedResource;
    pState->m_hCurrentInstanceHandle = m_hSavedInstance;
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
    LPCTSTR lpszName = MAKEINTRESOURCE(nID);
    return LoadFromEither(lpszName, RT_MENU, [=] {
        return pMenu->Attach(::LoadMenuW(AfxFindResourceHandle(lpszName, RT_MENU), lpszName));
    });
}

BOOL CXTPResourceLoader::LoadToolBar(CToolBar* pToolBar, UINT nID)
{
    CXTPResourceHandleSwitch framework;
    return pToolBar->LoadToolBar(nID);
}

BOOL CXTPResourceLoader::LoadBitmap(CBitmap* pBitmap, UINT nID)
{
    LPCTSTR lpszName = MAKEINTRESOURCE(nID);
    return LoadFromEither(lpszName, RT_BITMAP, [=] {
        return pBitmap->Attach(::LoadBitmapW(AfxFindResourceHandle(lpszName, RT_BITMAP), lpszName));
    });
}

HCURSOR CXTPResourceLoader::LoadCursor(UINT nID)
{
    LPCTSTR lpszName = MAKEINTRESOURCE(nID);
    return LoadFromEither(lpszName, RT_GROUP_CURSOR,
                          [=] { return ::LoadCursorW(AfxFindResourceHandle(lpszName, RT_GROUP_CURSOR), lpszName); });
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
        hModule = AfxFindResourceHandle(lpszName, RT_DIALOG);
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

int CXTPResourceLoader::ShowMessageBox(UINT nIDPrompt, UINT nType)
{
    CString strText;
    LoadString(&strText, nIDPrompt);
    return AfxMessageBox(strText, nType, 0);
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

void XTPSetResourceFile(LPCTSTR lpszPath)
{
    const CString strPath(lpszPath);
    const CString strExtension = strPath.GetLength() >= 4 ? strPath.Right(3) : CString();
    if (strExtension.CompareNoCase(L"xml") == 0) {
        auto* pLoader = new CXTPResourceLoaderXML(strPath);
        // The current loader's library goes with it: the framework's module must not stay pointing there.
        const HMODULE hOldLibrary = XTPGetResourceLoader()->m_hResourceFile;
        if (pLoader->IsValid() && hOldLibrary && g_hFrameworkResource == hOldLibrary)
            XTPSetResourceHandle(AfxGetInstanceHandle());
        XTPSetResourceLoader(pLoader);
        return;
    }

    auto* pLoader = new CXTPResourceLoader;
    if (!strPath.IsEmpty())
        pLoader->m_hResourceFile = ::LoadLibraryW(strPath);
    if (pLoader->m_hResourceFile)
        XTPSetResourceHandle(pLoader->m_hResourceFile);
    else
        XTPSetResourceHandle(AfxGetInstanceHandle());
    XTPSetResourceLoader(pLoader);
}
