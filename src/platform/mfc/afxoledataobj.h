// COleDataObject: the receiving side of a data transfer (the clipboard or a drop), over the system's
// IDataObject.
#pragma once

#include <windows.h>
#include <ole2.h>

class COleDataObject
{
public:
    COleDataObject() = default;
    ~COleDataObject() { Release(); }
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // Takes a data object (released with this one when bAutoRelease); Detach gives it back unreleased.
    void Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease = TRUE);
    LPDATAOBJECT Detach();
    void Release();
    // The clipboard's current content; FALSE when the clipboard cannot be read.
    BOOL AttachClipboard();

    BOOL IsDataAvailable(CLIPFORMAT cfFormat) const;
    // A global memory copy of the data in that format, the caller's to free; null when the format is absent.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat) const;

private:
    LPDATAOBJECT m_lpDataObject = nullptr;
    BOOL m_bAutoRelease = TRUE;
};
