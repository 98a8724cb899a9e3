#include "ZipReader.h"

#include "Crc32.h"
#include "PathUtil.h"
#include "ZipFileLayer.h"

#include <unzip.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

ZRESULT g_lastUnzipResult = ZR_OK;

const size_t UNZIP_BLOCK = 16384;
const WORD ZIP_FLAG_UTF8_NAME = 0x0800;
const int ZIP_HOST_UNIX = 3;
const WORD EXTRA_TAG_TIMESTAMP = 0x5455;   // "UT"

WORD GetWord(const BYTE* p) { return static_cast<WORD>(p[0] | p[1] << 8); }
DWORD GetDWord(const BYTE* p) { return static_cast<DWORD>(GetWord(p) | GetWord(p + 2) << 16); }

// Windows attributes of an item from its external attributes. The Unix permissions decide read-only only when
// a Unix system wrote them; other systems leave them empty and keep the DOS bit.
DWORD MakeAttributes(const unz_file_info64& info, LPCTSTR pszName)
{
    DWORD ext = static_cast<DWORD>(info.external_fa);
    DWORD attr = FILE_ATTRIBUTE_NORMAL;
    size_t nLength = wcslen(pszName);
    if ((ext & 0x40000000) || (ext & 0x10) || (nLength > 0 && pszName[nLength - 1] == L'/'))
        attr |= FILE_ATTRIBUTE_DIRECTORY;
    if (ext & 0x20)
        attr |= FILE_ATTRIBUTE_ARCHIVE;
    if (ext & 0x02)
        attr |= FILE_ATTRIBUTE_HIDDEN;
    if (ext & 0x04)
        attr |= FILE_ATTRIBUTE_SYSTEM;
    bool bUnixModes = static_cast<int>(info.version >> 8) == ZIP_HOST_UNIX && (ext >> 16) != 0;
    bool bReadOnly = bUnixModes ? !(ext & 0x00800000) : (ext & 0x01) != 0;
    if (bReadOnly)
        attr |= FILE_ATTRIBUTE_READONLY;
    return attr;
}

// The extended timestamp block of a local extra field: the times its flags announce, each read only when it lies
// inside the block, and the block only when it lies inside the field.
void ReadTimestamps(const std::vector<BYTE>& extra, ZipEntry& entry)
{
    size_t nPos = 0;
    while (nPos + 4 <= extra.size()) {
        WORD tag = GetWord(&extra[nPos]);
        size_t nSize = GetWord(&extra[nPos + 2]);
        const BYTE* pData = extra.data() + nPos + 4;
        if (nPos + 4 + nSize > extra.size())
            return;
        if (tag == EXTRA_TAG_TIMESTAMP) {
            if (nSize < 1)
                return;
            BYTE flags = pData[0];
            size_t nOffset = 1;
            FILETIME* times[] = { &entry.mtime, &entry.atime, &entry.ctime };
            for (int bit = 0; bit < 3; ++bit) {
                if (!(flags & (1 << bit)))
                    continue;
                if (nOffset + 4 > nSize)
                    return;
                *times[bit] = UnixTimeToFileTime(GetDWord(pData + nOffset));
                nOffset += 4;
            }
            return;
        }
        nPos += 4 + nSize;
    }
}

bool IsAbsoluteLocalPath(LPCTSTR pszPath)
{
    return (pszPath[0] != 0 && pszPath[1] == L':' && (pszPath[2] == L'\\' || pszPath[2] == L'/')) ||
           (pszPath[0] == L'\\' && pszPath[1] == L'\\');
}

class CUnzipper
{
public:
    CUnzipper() = default;
    ~CUnzipper();
    CUnzipper(const CUnzipper&) = delete;
    CUnzipper& operator=(const CUnzipper&) = delete;

    ZRESULT Open(const void* pSource, size_t nLength, int nKind);
    ZRESULT Get(int index, ZipEntry& entry);
    ZRESULT Find(LPCTSTR pszName, bool bIgnoreCase, int& index, ZipEntry& entry);
    ZRESULT Unzip(int index, void* pTarget, size_t nLength, int nKind);

private:
    ZRESULT GoTo(int index);
    ZRESULT Describe(ZipEntry& entry);
    ZRESULT OpenItem(int index, const ZipEntry& entry);
    ZRESULT CloseItem(ZRESULT result);
    ZRESULT ReadItem(void* pBuffer, unsigned nSize, unsigned& nRead);
    ZRESULT CopyItem(int index, const ZipEntry& entry, HANDLE hTarget);
    ZRESULT UnzipToFile(int index, const ZipEntry& entry, LPCTSTR pszTarget);
    ZRESULT ReadError() const { return m_layer.HasFailed() ? ZR_READ : ZR_CORRUPT; }

    CZipFileLayer m_layer;
    CString m_strRoot;            // the current directory at open, with its backslash: relative targets go there
    unzFile m_uf = nullptr;
    int m_nCount = 0;
    int m_nCurrent = -1;          // minizip's current item
    int m_nReading = -1;          // the item whose data is open
    int m_nCached = -1;
    ZipEntry m_cached = {};
    // What the item being read has given so far, checked against what its record declares.
    ZipEntry m_reading = {};
    ULONGLONG m_nReadTotal = 0;
    uint32_t m_nReadCrc = 0;
    // A deflated item is read raw and inflated here, so that no more than its declared size (and one byte to
    // tell) is ever inflated: a small item that would inflate to gigabytes stops at once.
    bool m_bInflating = false;
    bool m_bStreamEnded = false;
    z_stream m_stream = {};
    std::vector<BYTE> m_input;
};

CUnzipper::~CUnzipper()
{
    if (m_bInflating)
        inflateEnd(&m_stream);
    if (m_nReading >= 0)
        unzCloseCurrentFile(m_uf);
    if (m_uf)
        unzClose(m_uf);
}

ZRESULT CUnzipper::Open(const void* pSource, size_t nLength, int nKind)
{
    WCHAR szFolder[MAX_PATH] = {};
    DWORD nFolder = ::GetCurrentDirectoryW(MAX_PATH, szFolder);
    m_strRoot = nFolder > 0 && nFolder < MAX_PATH ? szFolder : L"";
    if (!m_strRoot.IsEmpty() && m_strRoot[m_strRoot.GetLength() - 1] != L'\\')
        m_strRoot += L'\\';
    ZRESULT result = m_layer.Open(pSource, nLength, nKind);
    if (result != ZR_OK)
        return result;
    // A handle that cannot seek cannot reach the central directory at the end.
    if (nKind == ZIP_HANDLE && !m_layer.IsSeekable())
        return ZR_SEEK;
    zlib_filefunc64_def functions = {};
    CZipFileLayer::FillFunctions(functions);
    m_uf = unzOpen2_64(&m_layer, &functions);
    if (!m_uf) {
        if (m_layer.IsEmptyArchive())
            return ZR_OK;   // no items: nothing reaches the missing library archive
        return m_layer.HasFailed() ? ZR_READ : ZR_CORRUPT;
    }
    unz_global_info64 info = {};
    if (unzGetGlobalInfo64(m_uf, &info) != UNZ_OK || info.number_entry > 0x7FFFFFFF)
        return ZR_CORRUPT;
    m_nCount = static_cast<int>(info.number_entry);
    return ZR_OK;
}

ZRESULT CUnzipper::GoTo(int index)
{
    if (m_nCurrent < 0 || index < m_nCurrent) {
        if (unzGoToFirstFile(m_uf) != UNZ_OK)
            return ReadError();
        m_nCurrent = 0;
    }
    while (m_nCurrent < index) {
        if (unzGoToNextFile(m_uf) != UNZ_OK) {
            m_nCurrent = -1;
            return ReadError();
        }
        ++m_nCurrent;
    }
    return ZR_OK;
}

ZRESULT CUnzipper::Describe(ZipEntry& entry)
{
    unz_file_info64 info = {};
    char szName[1024] = {};
    if (unzGetCurrentFileInfo64(m_uf, &info, szName, sizeof(szName), nullptr, 0, nullptr, 0) != UNZ_OK)
        return ReadError();
    // A name that does not fit, or that hides a part behind a zero, would name another file than the item's.
    if (info.size_filename >= sizeof(szName) || strlen(szName) != info.size_filename)
        return ZR_CORRUPT;
    UINT nCodePage = (info.flag & ZIP_FLAG_UTF8_NAME) ? CP_UTF8 : CP_OEMCP;
    int nNameLength = 0;
    if (info.size_filename > 0) {
        nNameLength = ::MultiByteToWideChar(nCodePage, nCodePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0, szName,
                                            static_cast<int>(info.size_filename), entry.name, MAX_PATH - 1);
        if (nNameLength == 0)
            return ZR_CORRUPT;
    }
    entry.name[nNameLength] = 0;
    entry.attr = MakeAttributes(info, entry.name);
    entry.comp_size = static_cast<LONGLONG>(info.compressed_size);
    entry.unc_size = static_cast<LONGLONG>(info.uncompressed_size);
    if (entry.comp_size < 0 || entry.unc_size < 0)
        return ZR_CORRUPT;
    entry.crc = static_cast<DWORD>(info.crc);
    entry.flags = static_cast<WORD>(info.flag);
    entry.mtime = entry.atime = entry.ctime = DosTimeToFileTime(static_cast<DWORD>(info.dosDate));

    // The local header must match; its extra field may carry the exact times.
    if (unzOpenCurrentFile(m_uf) != UNZ_OK)
        return ReadError();
    int nExtra = unzGetLocalExtrafield(m_uf, nullptr, 0);
    std::vector<BYTE> extra(nExtra > 0 ? static_cast<size_t>(nExtra) : 0);
    bool bRead = nExtra >= 0 && (extra.empty() || unzGetLocalExtrafield(m_uf, extra.data(),
                                                                        static_cast<unsigned>(extra.size())) == nExtra);
    unzCloseCurrentFile(m_uf);
    if (!bRead)
        return ZR_READ;
    ReadTimestamps(extra, entry);
    return ZR_OK;
}

ZRESULT CUnzipper::Get(int index, ZipEntry& entry)
{
    if (index < -1 || index >= m_nCount)
        return ZR_ARGS;
    if (m_nReading >= 0)
        CloseItem(ZR_OK);
    if (index >= 0 && index == m_nCached) {
        entry = m_cached;
        return ZR_OK;
    }
    entry = ZipEntry();
    if (index == -1) {
        entry.index = m_nCount;
        return ZR_OK;
    }
    entry.index = index;
    ZRESULT result = GoTo(index);
    if (result == ZR_OK)
        result = Describe(entry);
    if (result != ZR_OK) {
        entry = ZipEntry();
        entry.index = index;
        return result;
    }
    m_cached = entry;
    m_nCached = index;
    return ZR_OK;
}

ZRESULT CUnzipper::Find(LPCTSTR pszName, bool bIgnoreCase, int& index, ZipEntry& entry)
{
    CString strWanted(pszName);
    strWanted.Replace(L'\\', L'/');
    for (int i = 0; i < m_nCount; ++i) {
        // An item that cannot be described is not the one wanted: the items after it are searched still.
        if (Get(i, entry) != ZR_OK)
            continue;
        // Names compare with either slash between folders: some writers store "\\", as GetZipItem reports.
        CString strItem(entry.name);
        strItem.Replace(L'\\', L'/');
        int nCompare = bIgnoreCase ? strWanted.CompareNoCase(strItem) : strWanted.Compare(strItem);
        if (nCompare == 0) {
            index = i;
            return ZR_OK;
        }
    }
    index = -1;
    entry = ZipEntry();
    entry.index = -1;
    return ZR_NOTFOUND;
}

ZRESULT CUnzipper::OpenItem(int index, const ZipEntry& entry)
{
    if (entry.flags & ZIP_FLAG_ENCRYPTED)
        return ZR_CORRUPT;
    ZRESULT result = GoTo(index);
    if (result != ZR_OK)
        return result;
    int nMethod = 0, nLevel = 0;
    if (unzOpenCurrentFile2(m_uf, &nMethod, &nLevel, 1) != UNZ_OK)
        return ReadError();
    if (nMethod != 0 && nMethod != Z_DEFLATED) {
        unzCloseCurrentFile(m_uf);
        return ZR_CORRUPT;
    }
    if (nMethod == Z_DEFLATED) {
        m_stream = z_stream();
        if (inflateInit2(&m_stream, -MAX_WBITS) != Z_OK) {
            unzCloseCurrentFile(m_uf);
            return ZR_NOALLOC;
        }
        m_input.resize(UNZIP_BLOCK);
        m_bInflating = true;
        m_bStreamEnded = false;
    }
    m_nReading = index;
    m_reading = entry;
    m_nReadTotal = 0;
    m_nReadCrc = 0;
    return ZR_OK;
}

// Ends the item being read. When it was read to its end, what came out must be what the archive declares: the
// library checks the CRC only after every declared byte, so a stream that ends early would pass unseen.
ZRESULT CUnzipper::CloseItem(ZRESULT result)
{
    int nClose = unzCloseCurrentFile(m_uf);
    if (m_bInflating) {
        inflateEnd(&m_stream);
        m_bInflating = false;
    }
    m_nReading = -1;
    if (result != ZR_OK)
        return result;
    if (nClose != UNZ_OK || m_nReadTotal != static_cast<ULONGLONG>(m_reading.unc_size) ||
        m_nReadCrc != m_reading.crc)
        return ZR_CORRUPT;
    return ZR_OK;
}

// Data beyond the declared size is an error as soon as its first byte appears.
ZRESULT CUnzipper::ReadItem(void* pBuffer, unsigned nSize, unsigned& nRead)
{
    nRead = 0;
    const ULONGLONG nDeclared = static_cast<ULONGLONG>(m_reading.unc_size);
    const ULONGLONG nAllowed = nDeclared - std::min(m_nReadTotal, nDeclared) + 1;
    const unsigned nWanted = static_cast<unsigned>(std::min<ULONGLONG>(nSize, nAllowed));
    if (!m_bInflating) {
        int n = unzReadCurrentFile(m_uf, pBuffer, nWanted);
        if (n < 0)
            return ReadError();
        nRead = static_cast<unsigned>(n);
    }
    else {
        m_stream.next_out = static_cast<Bytef*>(pBuffer);
        m_stream.avail_out = nWanted;
        while (m_stream.avail_out > 0 && !m_bStreamEnded) {
            if (m_stream.avail_in == 0) {
                int n = unzReadCurrentFile(m_uf, m_input.data(), static_cast<unsigned>(m_input.size()));
                if (n < 0)
                    return ReadError();
                if (n == 0)
                    break;   // the data ends before the stream: the size or CRC check refuses it
                m_stream.next_in = m_input.data();
                m_stream.avail_in = static_cast<uInt>(n);
            }
            int nInflate = inflate(&m_stream, Z_NO_FLUSH);
            if (nInflate == Z_STREAM_END)
                m_bStreamEnded = true;
            else if (nInflate != Z_OK && nInflate != Z_BUF_ERROR)
                return ZR_CORRUPT;
        }
        nRead = nWanted - m_stream.avail_out;
    }
    m_nReadTotal += nRead;
    m_nReadCrc = UpdateCrc32(m_nReadCrc, pBuffer, nRead);
    return m_nReadTotal > nDeclared ? ZR_CORRUPT : ZR_OK;
}

ZRESULT CUnzipper::CopyItem(int index, const ZipEntry& entry, HANDLE hTarget)
{
    ZRESULT result = OpenItem(index, entry);
    if (result != ZR_OK)
        return result;
    std::vector<BYTE> buffer(UNZIP_BLOCK);
    for (;;) {
        unsigned nRead = 0;
        result = ReadItem(buffer.data(), static_cast<unsigned>(buffer.size()), nRead);
        if (result != ZR_OK || nRead == 0)
            break;
        DWORD nWritten = 0;
        if (!::WriteFile(hTarget, buffer.data(), nRead, &nWritten, nullptr) || nWritten != nRead) {
            result = ZR_WRITE;
            break;
        }
    }
    return CloseItem(result);
}

ZRESULT CUnzipper::UnzipToFile(int index, const ZipEntry& entry, LPCTSTR pszTarget)
{
    // A relative target lies under the folder that was current at open, not wherever the current directory has
    // moved since (the file dialogs move it); neither kind of target may climb out with "..".
    if (!IsSafeZipItemName(entry.name) || HasParentFolderPart(pszTarget))
        return ZR_ARGS;
    CString strTarget;
    if (IsAbsoluteLocalPath(pszTarget))
        strTarget = pszTarget;
    else if (IsSafeZipItemName(pszTarget) && !m_strRoot.IsEmpty())
        strTarget = m_strRoot + pszTarget;
    else
        return ZR_ARGS;
    strTarget.Replace(L'/', L'\\');
    if (entry.attr & FILE_ATTRIBUTE_DIRECTORY)
        return EnsureFolder(strTarget) ? ZR_OK : ZR_NOFILE;
    CString strFolder = GetPathDir(strTarget);
    if (!strFolder.IsEmpty() && !EnsureFolder(strFolder))
        return ZR_NOFILE;
    HANDLE hFile = ::CreateFileW(strTarget, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return ZR_NOFILE;
    ZRESULT result = CopyItem(index, entry, hFile);
    if (result == ZR_OK)
        ::SetFileTime(hFile, &entry.ctime, &entry.atime, &entry.mtime);
    ::CloseHandle(hFile);
    if (result != ZR_OK) {
        ::DeleteFileW(strTarget);
        return result;
    }
    DWORD attr = entry.attr & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                               FILE_ATTRIBUTE_ARCHIVE);
    ::SetFileAttributesW(strTarget, attr ? attr : FILE_ATTRIBUTE_NORMAL);
    return ZR_OK;
}

ZRESULT CUnzipper::Unzip(int index, void* pTarget, size_t nLength, int nKind)
{
    if (index < 0 || index >= m_nCount || !pTarget)
        return ZR_ARGS;
    if (nKind == ZIP_MEMORY) {
        if (index != m_nReading) {
            if (m_nReading >= 0)
                CloseItem(ZR_OK);
            ZipEntry entry;
            ZRESULT result = Get(index, entry);
            if (result == ZR_OK)
                result = OpenItem(index, entry);
            if (result != ZR_OK)
                return result;
        }
        unsigned nRead = 0;
        unsigned nSize = nLength > 0x7FFFFFFF ? 0x7FFFFFFFu : static_cast<unsigned>(nLength);
        ZRESULT result = ReadItem(pTarget, nSize, nRead);
        if (result != ZR_OK)
            return CloseItem(ZR_FLATE);
        if (nRead > 0)
            return ZR_MORE;
        return CloseItem(ZR_OK);
    }
    if (nKind != ZIP_HANDLE && nKind != ZIP_FILENAME)
        return ZR_ARGS;
    ZipEntry entry;
    ZRESULT result = Get(index, entry);
    if (result != ZR_OK)
        return result;
    if (nKind == ZIP_FILENAME)
        return UnzipToFile(index, entry, static_cast<LPCTSTR>(pTarget));
    if (entry.attr & FILE_ATTRIBUTE_DIRECTORY)
        return ZR_OK;
    HANDLE hTarget = static_cast<HANDLE>(pTarget);
    result = CopyItem(index, entry, hTarget);
    if (result == ZR_OK && ::GetFileType(hTarget) == FILE_TYPE_DISK)
        ::SetFileTime(hTarget, &entry.ctime, &entry.atime, &entry.mtime);
    return result;
}

ZRESULT Remember(ZRESULT result)
{
    g_lastUnzipResult = result;
    return result;
}

// The reader behind a handle, or the code that refuses the handle.
ZRESULT GetUnzipper(ZipHandle hz, CUnzipper*& pUnzipper)
{
    if (!hz)
        return ZR_ARGS;
    if (hz->kind != ZipHandleData::READER)
        return ZR_ZMODE;
    pUnzipper = static_cast<CUnzipper*>(hz->object);
    return ZR_OK;
}

} // namespace

ZipHandle OpenZip(const void* pSource, size_t nLength, int nKind)
{
    auto pUnzipper = std::make_unique<CUnzipper>();
    ZRESULT result = pUnzipper->Open(pSource, nLength, nKind);
    Remember(result);
    if (result != ZR_OK)
        return nullptr;
    return new ZipHandleData{ ZipHandleData::READER, pUnzipper.release() };
}

ZRESULT GetZipItem(ZipHandle hz, int index, ZipEntry* pEntry)
{
    CUnzipper* pUnzipper = nullptr;
    ZRESULT result = GetUnzipper(hz, pUnzipper);
    if (result != ZR_OK || !pEntry)
        return Remember(result != ZR_OK ? result : ZR_ARGS);
    return Remember(pUnzipper->Get(index, *pEntry));
}

ZRESULT FindZipItem(ZipHandle hz, LPCTSTR pszName, bool bIgnoreCase, int* pIndex, ZipEntry* pEntry)
{
    CUnzipper* pUnzipper = nullptr;
    ZRESULT result = GetUnzipper(hz, pUnzipper);
    if (result != ZR_OK || !pszName)
        return Remember(result != ZR_OK ? result : ZR_ARGS);
    int index = -1;
    ZipEntry entry;
    result = pUnzipper->Find(pszName, bIgnoreCase, index, entry);
    if (pIndex)
        *pIndex = index;
    if (pEntry)
        *pEntry = entry;
    return Remember(result);
}

namespace {

void CopyToCompact(const ZipEntry& entry, ZipEntryCompact& compact)
{
    compact.index = entry.index;
    memcpy(compact.name, entry.name, sizeof(compact.name));
    compact.attr = entry.attr;
    compact.atime = entry.atime;
    compact.ctime = entry.ctime;
    compact.mtime = entry.mtime;
    compact.comp_size = entry.comp_size;
    compact.unc_size = entry.unc_size;
    compact.crc = entry.crc;
    compact.flags = entry.flags;
}

} // namespace

ZRESULT GetZipItemCompact(ZipHandle hz, int index, ZipEntryCompact* pEntry)
{
    ZipEntry entry = {};
    ZRESULT result = GetZipItem(hz, index, pEntry ? &entry : nullptr);
    if (pEntry)
        CopyToCompact(entry, *pEntry);
    return result;
}

ZRESULT FindZipItemCompact(ZipHandle hz, LPCTSTR pszName, bool bIgnoreCase, int* pIndex, ZipEntryCompact* pEntry)
{
    ZipEntry entry = {};
    ZRESULT result = FindZipItem(hz, pszName, bIgnoreCase, pIndex, pEntry ? &entry : nullptr);
    if (pEntry)
        CopyToCompact(entry, *pEntry);
    return result;
}

ZRESULT UnzipItem(ZipHandle hz, int index, void* pTarget, size_t nLength, int nKind)
{
    CUnzipper* pUnzipper = nullptr;
    ZRESULT result = GetUnzipper(hz, pUnzipper);
    if (result != ZR_OK)
        return Remember(result);
    return Remember(pUnzipper->Unzip(index, pTarget, nLength, nKind));
}

ZRESULT CloseUnzip(ZipHandle hz)
{
    CUnzipper* pUnzipper = nullptr;
    ZRESULT result = GetUnzipper(hz, pUnzipper);
    if (result != ZR_OK)
        return Remember(result);
    delete pUnzipper;
    delete hz;
    return g_lastUnzipResult;
}

bool IsUnzipHandle(ZipHandle hz)
{
    return !hz || hz->kind == ZipHandleData::READER;
}

unsigned ZipResultText(ZRESULT code, LPTSTR pszBuffer, unsigned nBufferLength)
{
    return CopyZipResultText(code == ZR_RECENT ? g_lastUnzipResult : code, pszBuffer, nBufferLength);
}
