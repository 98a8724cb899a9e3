#include "afxsharedfile.h"

IMPLEMENT_DYNAMIC(CSharedFile, CMemFile)

CSharedFile::~CSharedFile() { Unlock(); }

void CSharedFile::SetHandle(HGLOBAL hGlobalMemory)
{
    Close();
    BYTE* pData = hGlobalMemory ? static_cast<BYTE*>(::GlobalLock(hGlobalMemory)) : nullptr;
    if (!pData)
        AfxThrowMemoryException();
    m_hGlobalMemory = hGlobalMemory;
    // A block bigger than a UINT can address is read up to that size.
    SIZE_T nSize = ::GlobalSize(hGlobalMemory);
    Attach(pData, static_cast<UINT>(nSize > UINT_MAX ? UINT_MAX : nSize), 0);
}

void CSharedFile::Close()
{
    CMemFile::Close();
    Unlock();
}

void CSharedFile::Unlock()
{
    if (m_hGlobalMemory) {
        ::GlobalUnlock(m_hGlobalMemory);
        m_hGlobalMemory = nullptr;
    }
}
