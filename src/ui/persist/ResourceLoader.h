// The framework's own resources (strings, cursors, menus, bitmaps, dialog templates) are loaded through one
// process-wide loader: first from the framework's resource module, then from the application's resources.
#pragma once

#include "platform/mfc/afxwin.h"

// The framework's module handles; null until set (the global interface data sets both to the program's module).
void XTPSetResourceHandles(HMODULE hResource, HMODULE hInstance);
void XTPSetResourceHandle(HMODULE hResource);
HMODULE XTPGetResourceHandle();
HMODULE XTPGetInstanceHandle();

// For its lifetime, makes the framework's resource module the one the framework's own loaders search
// (AfxGetResourceHandle); inactive while no framework module is set.
class CXTPResourceHandleSwitch
{
public:
    CXTPResourceHandleSwitch();
    ~CXTPResourceHandleSwitch();
    CXTPResourceHandleSwitch(const CXTPResourceHandleSwitch&) = delete;
    CXTPResourceHandleSwitch& operator=(const CXTPResourceHandleSwitch&) = delete;

private:
    BOOL m_bActive = FALSE;
    HINSTANCE m_hSavedResource = nullptr;
};

class CXTPResourceLoader
{
public:
    CXTPResourceLoader() = default;
    virtual ~CXTPResourceLoader();
    CXTPResourceLoader(const CXTPResourceLoader&) = delete;
    CXTPResourceLoader& operator=(const CXTPResourceLoader&) = delete;

    // Every load answers FALSE or null when the resource is in neither module; nothing is raised.
    virtual BOOL LoadString(CString* pString, UINT nID);
    // The menu or bitmap is attached to the object given, which must be empty.
    virtual BOOL LoadMenu(CMenu* pMenu, UINT nID);
    virtual BOOL LoadBitmap(CBitmap* pBitmap, UINT nID);
    virtual HCURSOR LoadCursor(UINT nID);
    virtual LPCDLGTEMPLATE LoadDialogTemplate(UINT nID);
    virtual LPCDLGTEMPLATE LoadDialogTemplate(LPCTSTR lpszName);
    // Frees the resource library when one is held.
    virtual void Close();

    BOOL IsValid() const { return m_bValid; }

protected:
    // The framework module holds a resource of that type and name: the first place to look.
    static BOOL IsInFrameworkModule(LPCTSTR lpszName, LPCTSTR lpszType);
    // Loads under the switch when the framework module holds the resource, then (or when that fails) from the
    // program's resources; load reads the module from AfxGetResourceHandle and answers a handle or success.
    template <class Load>
    static auto LoadFromEither(LPCTSTR lpszName, LPCTSTR lpszType, Load load) -> decltype(load());

    BOOL m_bValid = TRUE;
    HMODULE m_hResourceFile = nullptr;
};

// The process's loader, a plain one made on first use.
CXTPResourceLoader* XTPGetResourceLoader();
// Installs a loader (owned from then on); a null one or the current one changes nothing, an invalid one is
// deleted and the current loader stays.
void XTPSetResourceLoader(CXTPResourceLoader* pLoader);
