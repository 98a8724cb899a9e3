// The file layer under the zip reader: minizip reads the archive through it from an open handle (from the
// handle's position at open time) or from a memory block.
#pragma once

#include "ZipCommon.h"

#include <ioapi.h>

class CZipFileLayer
{
public:
    CZipFileLayer() = default;
    ~CZipFileLayer();
    CZipFileLayer(const CZipFileLayer&) = delete;
    CZipFileLayer& operator=(const CZipFileLayer&) = delete;

    // Kinds ZIP_HANDLE (duplicated), ZIP_FILENAME (opened for reading) and ZIP_MEMORY.
    ZRESULT Open(const void* pSource, size_t nLength, int nKind);
    void Close();
    bool IsSeekable() const { return m_bSeekable; }
    bool HasFailed() const { return m_bError; }
    // True when the source is nothing but an end record without items, as tools write an empty archive: minizip
    // takes a central directory at offset 0 for a missing one.
    bool IsEmptyArchive();

    // Functions for minizip's open call, whose "file name" is this object.
    static void FillFunctions(zlib_filefunc64_def& functions);

private:
    unsigned long Read(void* pBuffer, unsigned long nSize);
    ZPOS64_T Tell() const;
    long Seek(ZPOS64_T offset, int nOrigin);

    static voidpf ZCALLBACK OnOpen(voidpf, const void* pLayer, int);
    static uLong ZCALLBACK OnRead(voidpf, voidpf pLayer, void* pBuffer, uLong nSize);
    static uLong ZCALLBACK OnWrite(voidpf, voidpf, const void*, uLong);
    static ZPOS64_T ZCALLBACK OnTell(voidpf, voidpf pLayer);
    static long ZCALLBACK OnSeek(voidpf, voidpf pLayer, ZPOS64_T offset, int nOrigin);
    static int ZCALLBACK OnClose(voidpf, voidpf);
    static int ZCALLBACK OnError(voidpf, voidpf pLayer);

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    ULONGLONG m_nStart = 0;           // the archive's offset in the file
    const BYTE* m_pBlock = nullptr;
    size_t m_nLength = 0;
    size_t m_nPos = 0;
    bool m_bSeekable = false;
    bool m_bError = false;
};
