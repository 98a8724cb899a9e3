// The module state: the module whose resources the framework's loaders search, the module the program runs as,
// and the chain of extension modules (CDynLinkLibrary) whose resources are searched after the first.
#pragma once

#include <windows.h>

class CDynLinkLibrary;

// Trivially destructible: extension modules that go at process exit still find it.
struct AFX_MODULE_STATE
{
    HINSTANCE m_hCurrentInstanceHandle;   // null: the program's (AfxGetInstanceHandle)
    HINSTANCE m_hCurrentResourceHandle;   // null: the program's module (AfxGetResourceHandle)
    CDynLinkLibrary* m_pDllList;          // the extension modules, the latest first
};

AFX_MODULE_STATE* AfxGetModuleState();

// The module that holds a resource of that type and name: the current resource module, else the first extension
// module of the chain that holds it; the current resource module when none does.
HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);

// What an extension module describes of itself when it joins the chain.
struct AFX_EXTENSION_MODULE
{
    BOOL bInitialized;
    HMODULE hModule;
    HMODULE hResource;
};

// An extension module in the module state's chain, from its construction to its destruction: its resources are
// found by AfxFindResourceHandle and CString::LoadString after the current resource module's.
class CDynLinkLibrary
{
public:
    explicit CDynLinkLibrary(const AFX_EXTENSION_MODULE& state);
    ~CDynLinkLibrary();
    CDynLinkLibrary(const CDynLinkLibrary&) = delete;
    CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;

    HMODULE m_hModule;
    HMODULE m_hResource;
    CDynLinkLibrary* m_pNextDLL = nullptr;
};
