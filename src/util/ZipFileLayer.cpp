#include "ZipFileLayer.h"

#include <algorithm>
#include <cstring>

namespace {

const long SEEK_RESULT_UNSEEKABLE = 29;
const long SEEK_RESULT_BAD_ORIGIN = 19;

bool IsDiskFile(HANDLE hFile)
{
    return ::GetFileType(hFile) == FILE_TYPE_DISK;
}

} // namespace

CZipFileLayer::~CZipFileLayer()
{
    Close();
}

ZRESULT CZipFileLayer::Open(const void* pSource, size_t nLength, int nKind)
{
    Close();
    switch (nKind) {
    case ZIP_HANDLE: {
        HANDLE hProcess = ::GetCurrentProcess();
        if (!::DuplicateHandle(hProcess, const_cast<HANDLE>(pSource), hProcess, &m_hFile, 0, FALSE,
                               DUPLICATE_SAME_ACCESS)) {
            m_hFile = INVALID_HANDLE_VALUE;
            return ZR_NODUPH;
        }
        break;
    }
    case ZIP_FILENAME:
        m_hFile = ::CreateFileW(static_cast<LPCTSTR>(pSource), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
        if (m_hFile == INVALID_HANDLE_VALUE)
            return ZR_NOFILE;
        break;
    case ZIP_MEMORY:
        if (!pSource)
            return ZR_ARGS;
        m_pBlock = static_cast<const BYTE*>(pSource);
        m_nLength = nLength;
        m_bSeekable = true;
        return ZR_OK;
    default:
        return ZR_ARGS;
    }
    m_bSeekable = IsDiskFile(m_hFile);
    LARGE_INTEGER zero = {}, position = {};
    if (m_bSeekable && ::SetFilePointerEx(m_hFile, zero, &position, FILE_CURRENT))
        m_nStart = static_cast<ULONGLONG>(position.QuadPart);
    return ZR_OK;
}

void CZipFileLayer::Close()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_pBlock = nullptr;
    m_nLength = m_nPos = 0;
    m_nStart = 0;
    m_bSeekable = m_bError = false;
}

bool CZipFileLayer::IsEmptyArchive()
{
    const size_t END_RECORD_SIZE = 22;
    BYTE record[END_RECORD_SIZE + 1] = {};
    if (Seek(0, ZLIB_FILEFUNC_SEEK_SET) != 0 || Read(record, sizeof(record)) != END_RECORD_SIZE)
        return false;
    const BYTE SIGNATURE[] = { 0x50, 0x4B, 0x05, 0x06 };
    return memcmp(record, SIGNATURE, sizeof(SIGNATURE)) == 0 && record[8] == 0 && record[9] == 0 &&
           record[10] == 0 && record[11] == 0;
}

unsigned long CZipFileLayer::Read(void* pBuffer, unsigned long nSize)
{
    if (m_pBlock) {
        size_t nRead = m_nPos < m_nLength ? std::min<size_t>(nSize, m_nLength - m_nPos) : 0;
        memcpy(pBuffer, m_pBlock + m_nPos, nRead);
        m_nPos += nRead;
        return static_cast<unsigned long>(nRead);
    }
    DWORD nRead = 0;
    if (!::ReadFile(m_hFile, pBuffer, nSize, &nRead, nullptr)) {
        m_bError = true;
        return 0;
    }
    return nRead;
}

ZPOS64_T CZipFileLayer::Tell() const
{
    if (m_pBlock)
        return m_nPos;
    LARGE_INTEGER zero = {}, position = {};
    if (!::SetFilePointerEx(m_hFile, zero, &position, FILE_CURRENT))
        return static_cast<ZPOS64_T>(-1);
    return static_cast<ZPOS64_T>(position.QuadPart) - m_nStart;
}

long CZipFileLayer::Seek(ZPOS64_T offset, int nOrigin)
{
    if (!m_bSeekable)
        return SEEK_RESULT_UNSEEKABLE;
    ULONGLONG base = 0;
    switch (nOrigin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = Tell(); break;
    case ZLIB_FILEFUNC_SEEK_END:
        if (m_pBlock) {
            base = m_nLength;
        }
        else {
            LARGE_INTEGER size = {};
            if (!::GetFileSizeEx(m_hFile, &size))
                return SEEK_RESULT_BAD_ORIGIN;
            base = static_cast<ULONGLONG>(size.QuadPart) - m_nStart;
        }
        break;
    default:
        return SEEK_RESULT_BAD_ORIGIN;
    }
    ULONGLONG target = base + offset;   // minizip passes backward moves from the end as a wrapped value
    if (m_pBlock) {
        if (target > m_nLength)
            return SEEK_RESULT_BAD_ORIGIN;
        m_nPos = static_cast<size_t>(target);
        return 0;
    }
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(target + m_nStart);
    return ::SetFilePointerEx(m_hFile, position, nullptr, FILE_BEGIN) ? 0 : SEEK_RESULT_BAD_ORIGIN;
}

void CZipFileLayer::FillFunctions(zlib_filefunc64_def& functions)
{
    functions.zopen64_file = OnOpen;
    functions.zread_file = OnRead;
    functions.zwrite_file = OnWrite;
    functions.ztell64_file = OnTell;
    functions.zseek64_file = OnSeek;
    functions.zclose_file = OnClose;
    functions.zerror_file = OnError;
    functions.opaque = nullptr;
}

voidpf ZCALLBACK CZipFileLayer::OnOpen(voidpf, const void* pLayer, int)
{
    return const_cast<void*>(pLayer);
}

uLong ZCALLBACK CZipFileLayer::OnRead(voidpf, voidpf pLayer, void* pBuffer, uLong nSize)
{
    return static_cast<CZipFileLayer*>(pLayer)->Read(pBuffer, nSize);
}

uLong ZCALLBACK CZipFileLayer::OnWrite(voidpf, voidpf, const void*, uLong)
{
    return 0;
}

ZPOS64_T ZCALLBACK CZipFileLayer::OnTell(voidpf, voidpf pLayer)
{
    return static_cast<CZipFileLayer*>(pLayer)->Tell();
}

long ZCALLBACK CZipFileLayer::OnSeek(voidpf, voidpf pLayer, ZPOS64_T offset, int nOrigin)
{
    return static_cast<CZipFileLayer*>(pLayer)->Seek(offset, nOrigin);
}

// The layer's owner closes it.
int ZCALLBACK CZipFileLayer::OnClose(voidpf, voidpf)
{
    return 0;
}

int ZCALLBACK CZipFileLayer::OnError(voidpf, voidpf pLayer)
{
    return static_cast<CZipFileLayer*>(pLayer)->HasFailed() ? 1 : 0;
}
