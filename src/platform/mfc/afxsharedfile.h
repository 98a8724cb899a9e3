// CSharedFile: a memory file over a global memory block, as the clipboard and OLE data transfer hand them
// out. The block stays the caller's: the file reads and writes it in place, at its size, and never frees it.
#pragma once

#include "afxmemfile.h"

class CSharedFile : public CMemFile
{
    DECLARE_DYNAMIC(CSharedFile)
public:
    CSharedFile() = default;
    ~CSharedFile() override;

    // Works on the block from now on (locked until the file is closed); a null or unlockable block raises
    // CMemoryException.
    void SetHandle(HGLOBAL hGlobalMemory);
    void Close() override;

private:
    void Unlock();

    HGLOBAL m_hGlobalMemory = nullptr;
};
