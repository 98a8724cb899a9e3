#include "afxoledataobj.h"

namespace
{
FORMATETC GlobalFormat(CLIPFORMAT cfFormat) { return {cfFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }
}

void COleDataObject::Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease)
{
    Release();
    m_lpDataObject = lpDataObject;
    m_bAutoRelease = bAutoRelease;
}

LPDATAOBJECT COleDataObject::Detach()
{
    LPDATAOBJECT lpDataObject = m_lpDataObject;
    m_lpDataObject = nullptr;
    return lpDataObject;
}

void COleDataObject::Release()
{
    if (m_lpDataObject && m_bAutoRelease)
        m_lpDataObject->Release();
    m_lpDataObject = nullptr;
}

BOOL COleDataObject::AttachClipboard()
{
    LPDATAOBJECT lpDataObject = nullptr;
    if (FAILED(::OleGetClipboard(&lpDataObject)) || !lpDataObject)
        return FALSE;
    Attach(lpDataObject, TRUE);
    return TRUE;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat) const
{
    FORMATETC format = GlobalFormat(cfFormat);
    return m_lpDataObject && m_lpDataObject->QueryGetData(&format) == S_OK;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat) const
{
    if (!m_lpDataObject)
        return nullptr;
    FORMATETC format = GlobalFormat(cfFormat);
    STGMEDIUM medium = {};
    if (FAILED(m_lpDataObject->GetData(&format, &medium)))
        return nullptr;
    if (medium.tymed != TYMED_HGLOBAL) {
        ::ReleaseStgMedium(&medium);
        return nullptr;
    }
    // A medium with a release owner stays that owner's: the caller gets a copy it can free.
    if (!medium.pUnkForRelease)
        return medium.hGlobal;
    HGLOBAL hCopy = nullptr;
    SIZE_T nSize = ::GlobalSize(medium.hGlobal);
    const void* pSource = ::GlobalLock(medium.hGlobal);
    if (pSource && (hCopy = ::GlobalAlloc(GMEM_MOVEABLE, nSize)) != nullptr) {
        void* pTarget = ::GlobalLock(hCopy);
        ::CopyMemory(pTarget, pSource, nSize);
        ::GlobalUnlock(hCopy);
    }
    if (pSource)
        ::GlobalUnlock(medium.hGlobal);
    ::ReleaseStgMedium(&medium);
    return hCopy;
}
