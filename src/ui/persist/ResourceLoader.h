// The framework's own resources (strings, cursors, menus, tool bars, bitmaps, dialog templates) are loaded
// through one process-wide loader: first from the framework's resource module, then from the application's
// resources. An application can point the framework at a resource library with one call.
#pragma once

#include "platform/mfc/afxext.h"
#include "platform/mfc/afxmodule.h"
#include "platform/mfc/afxwin.h"

// The framework's module handles; null until set (the global interface data sets both to the program's module).
void XTPSetResourceHandles(HMODULE hResource, HMODULE hInstance);
void XTPSetResourceHandle(HMODULE hResource);
HMODULE XTPGetResourceHandle();
HMODULE XTPGetInstanceHandle();

// For a framework living in an extension module: when the instance differs from the stored one, the module joins
// the module state's chain of extension modules (in place of the one joined before, if any), so that the
// framework's own loaders find its resources; then both handles are stored.
void XTPInitExtensionModule(HMODULE hResource, HMODULE hInstance);

// For its lifetime, makes the framework's resource module the module state's resource module (and the framework's
// instance its instance, when it has none), so that the framework's own loaders search it; inactive while no
// framework module is set. Both are given back at the end.
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
    HINSTANCE m_hSavedInstance = nullptr;
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
    // Only where the switched module state searches (the framework's module and the extension modules): a tool
    // bar does not fall back to the program's resources.
    virtual BOOL LoadToolBar(CToolBar* pToolBar, UINT nID);
    virtual BOOL LoadBitmap(CBitmap* pBitmap, UINT nID);
    virtual HCURSOR LoadCursor(UINT nID);
    virtual LPCDLGTEMPLATE LoadDialogTemplate(UINT nID);
    virtual LPCDLGTEMPLATE LoadDialogTemplate(LPCTSTR lpszName);
    // Frees the resource library when one is held.
    virtual void Close();

    // The string (through LoadString, so a loader's own strings are shown) in a message box of that type;
    // answers the button chosen.
    int ShowMessageBox(UINT nIDPrompt, UINT nType);

    BOOL IsValid() const { return m_bValid; }

protected:
    // The framework module holds a resource of that type and name: the first place to look.
    static BOOL IsInFrameworkModule(LPCTSTR lpszName, LPCTSTR lpszType);
    // Loads under the switch when the framework module holds the resource, then (or when that fails) from the
    // program's resources; load answers a handle or success.
    template <class Load>
    static auto LoadFromEither(LPCTSTR lpszName, LPCTSTR lpszType, Load load) -> decltype(load());

    BOOL m_bValid = TRUE;
    HMODULE m_hResourceFile = nullptr;

    friend void XTPSetResourceFile(LPCTSTR lpszPath);
};

// The process's loader, a plain one made on first use.
CXTPResourceLoader* XTPGetResourceLoader();
// Installs a loader (owned from then on); a null one or the current one changes nothing, an invalid one is
// deleted and the current loader stays.
void XTPSetResourceLoader(CXTPResourceLoader* pLoader);

// Points the framework at its resources: a path ending in "xml" (any case) names an XML resource file (one that
// does not load keeps the current loader and its library); any other
// path a resource library, loaded and made the framework's module (both handles). An empty path, or a library
// that does not load, makes the program's module the framework's. The new loader replaces the current one, whose
// library is freed.
void XTPSetResourceFile(LPCTSTR lpszPath);
