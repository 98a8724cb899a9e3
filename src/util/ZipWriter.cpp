#include "ZipWriter.h"

#include "Crc32.h"
#include "Deflate.h"
#include "PathUtil.h"

#include "platform/mfc/afxstr.h"

#include <algorithm>
#include <cstring>

#include <memory>
#include <string>
#include <vector>

namespace {

ZRESULT g_lastZipResult = ZR_OK;

const size_t COPY_BLOCK = 16384;
const int COMPRESSION_LEVEL = 8;
const WORD FLAG_DATA_DESCRIPTOR = 0x0008;
const WORD FLAG_UTF8_NAME = 0x0800;
const WORD METHOD_STORED = 0;
const WORD METHOD_DEFLATED = 8;
const WORD VERSION_NEEDED = 20;
const WORD VERSION_MADE_BY = 0x0B17;
const size_t LOCAL_HEADER_SIZE = 30;
const size_t LOCAL_EXTRA_SIZE = 17;
const size_t CENTRAL_HEADER_SIZE = 46;
const size_t CENTRAL_EXTRA_SIZE = 9;
const DWORD ATTR_NOT_A_FILE = 0x80000000;
const DWORD ATTR_FOLDER = 0x41C00010;
const DWORD ATTR_UNIX_FILE = 0x81000000;
const DWORD ATTR_UNIX_FOLDER = 0x41000000;
const DWORD ATTR_UNIX_OWNER_WRITE = 0x00800000;

void Put16(std::string& out, unsigned value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& out, DWORD value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// Names of formats that are compressed already: deflating them again gains nothing.
bool IsStoredExtension(const CString& strName)
{
    static const LPCTSTR EXTENSIONS[] = { L".Z", L".zip", L".zoo", L".arc", L".lzh", L".arj", L".gz", L".tgz" };
    int nDot = strName.ReverseFind(L'.');
    if (nDot < 0 || strName.Find(L'/', nDot) >= 0)
        return false;
    CString strExtension = strName.Mid(nDot);
    for (LPCTSTR pszExtension : EXTENSIONS) {
        if (strExtension.CompareNoCase(pszExtension) == 0)
            return true;
    }
    return false;
}

// Names are kept in ASCII when they can be, else in UTF-8 with the flag that says so.
std::string EncodeName(const CString& strName, WORD& flags)
{
    int nLength = ::WideCharToMultiByte(CP_UTF8, 0, strName, strName.GetLength(), nullptr, 0, nullptr, nullptr);
    std::string name(static_cast<size_t>(nLength), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, strName, strName.GetLength(), &name[0], nLength, nullptr, nullptr);
    for (char c : name) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            flags |= FLAG_UTF8_NAME;
            break;
        }
    }
    return name;
}

struct CentralEntry
{
    std::string name;
    WORD flags;
    WORD method;
    DWORD dosTime;
    DWORD crc;
    DWORD compSize;
    DWORD uncSize;
    DWORD externalAttr;
    DWORD offset;
    DWORD mtime;
};

// The item being added: where its bytes come from and what is known of them.
struct ZipSource
{
    HANDLE hFile = INVALID_HANDLE_VALUE;
    bool bOwnsHandle = false;
    const BYTE* pBlock = nullptr;
    size_t nBlockLength = 0;
    size_t nBlockPos = 0;
    LONGLONG nAnnounced = -1;
    ULONGLONG nRead = 0;
    uint32_t crc = 0;
    bool bReadFailed = false;
    DWORD externalAttr = ATTR_NOT_A_FILE;
    DWORD atime = 0, mtime = 0, ctime = 0;   // Unix times
    DWORD dosTime = 0;

    ~ZipSource()
    {
        if (bOwnsHandle)
            ::CloseHandle(hFile);
    }

    void SetTimes(const FILETIME& ftAccess, const FILETIME& ftWrite, const FILETIME& ftCreation)
    {
        atime = FileTimeToUnixTime(ftAccess);
        mtime = FileTimeToUnixTime(ftWrite);
        ctime = FileTimeToUnixTime(ftCreation);
        dosTime = FileTimeToDosTime(ftWrite);
    }

    void SetCurrentTime()
    {
        FILETIME now = {};
        ::GetSystemTimeAsFileTime(&now);
        SetTimes(now, now, now);
    }

    size_t Read(BYTE* pBuffer, size_t nSize)
    {
        size_t nDone = 0;
        if (pBlock) {
            nDone = std::min(nSize, nBlockLength - nBlockPos);
            memcpy(pBuffer, pBlock + nBlockPos, nDone);
            nBlockPos += nDone;
        }
        else if (hFile != INVALID_HANDLE_VALUE) {
            DWORD nGot = 0;
            DWORD nWant = static_cast<DWORD>(std::min<size_t>(nSize, 0x40000000));
            if (!::ReadFile(hFile, pBuffer, nWant, &nGot, nullptr)) {
                // A pipe whose writer has gone has simply ended.
                if (::GetLastError() != ERROR_BROKEN_PIPE)
                    bReadFailed = true;
                nGot = 0;
            }
            nDone = nGot;
        }
        crc = UpdateCrc32(crc, pBuffer, nDone);
        nRead += nDone;
        return nDone;
    }
};

class CZipper
{
public:
    CZipper() = default;
    ~CZipper();
    CZipper(const CZipper&) = delete;
    CZipper& operator=(const CZipper&) = delete;

    ZRESULT Create(void* pTarget, size_t nLength, int nKind);
    ZRESULT Add(LPCTSTR pszName, const void* pSource, size_t nLength, int nKind);
    // Writes the central directory once; every later call answers the same result.
    ZRESULT End();
    ZRESULT GetMemory(void** ppData, size_t* pnLength);
    // After End: the written file takes the target's name (nothing to do for other targets).
    ZRESULT PutInPlace();

private:
    ZRESULT CreateFileTarget(LPCTSTR pszTarget);
    ZRESULT WriteCentralDirectory();
    ZRESULT OpenSource(ZipSource& source, const void* pSource, size_t nLength, int nKind);
    ZRESULT AddItem(ZipSource& source, const std::string& name, WORD flags, WORD method);
    ZRESULT Write(const void* pData, size_t nLength);
    ZRESULT Seek(ULONGLONG nPos);
    static std::string LocalHeader(const CentralEntry& entry, size_t nNameLength);

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    HANDLE m_hMapping = nullptr;
    BYTE* m_pBlock = nullptr;
    size_t m_nBlockSize = 0;
    bool m_bSeekable = false;
    ULONGLONG m_nStart = 0;
    ULONGLONG m_nPos = 0;
    ZRESULT m_error = ZR_OK;
    bool m_bEnded = false;
    std::vector<CentralEntry> m_entries;
    CString m_strTarget;
    CString m_strTemp;      // the file being written for the target, until it has taken the target's name
};

CZipper::~CZipper()
{
    if (m_hMapping) {
        ::UnmapViewOfFile(m_pBlock);
        ::CloseHandle(m_hMapping);
    }
    if (m_hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_hFile);
    if (!m_strTemp.IsEmpty())
        ::DeleteFileW(m_strTemp);
}

// Written under the target's name, the zip would empty that file before knowing whether it can be completed, and
// that name may be another one of a file the zip reads.
ZRESULT CZipper::CreateFileTarget(LPCTSTR pszTarget)
{
    m_strTarget = GetFullPath(pszTarget);
    HANDLE hTarget = ::CreateFileW(m_strTarget, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hTarget != INVALID_HANDLE_VALUE)
        ::CloseHandle(hTarget);
    else if (::GetLastError() != ERROR_FILE_NOT_FOUND)
        return ZR_NOFILE;
    m_strTemp = GetTempFileName(GetPathDir(m_strTarget), L"zip");
    if (m_strTemp.IsEmpty())
        return ZR_NOFILE;
    m_hFile = ::CreateFileW(m_strTemp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE)
        return ZR_NOFILE;
    m_bSeekable = true;
    return ZR_OK;
}

ZRESULT CZipper::PutInPlace()
{
    if (m_strTemp.IsEmpty())
        return ZR_OK;
    ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    if (!::MoveFileExW(m_strTemp, m_strTarget, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return ZR_NOFILE;
    m_strTemp.Empty();
    return ZR_OK;
}

ZRESULT CZipper::Create(void* pTarget, size_t nLength, int nKind)
{
    switch (nKind) {
    case ZIP_HANDLE: {
        HANDLE hProcess = ::GetCurrentProcess();
        if (!::DuplicateHandle(hProcess, pTarget, hProcess, &m_hFile, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
            m_hFile = INVALID_HANDLE_VALUE;
            return ZR_NODUPH;
        }
        m_bSeekable = ::GetFileType(m_hFile) == FILE_TYPE_DISK;
        LARGE_INTEGER zero = {}, position = {};
        if (m_bSeekable && ::SetFilePointerEx(m_hFile, zero, &position, FILE_CURRENT))
            m_nStart = static_cast<ULONGLONG>(position.QuadPart);
        return ZR_OK;
    }
    case ZIP_FILENAME:
        return CreateFileTarget(static_cast<LPCTSTR>(pTarget));
    case ZIP_MEMORY:
        if (nLength == 0)
            return ZR_MEMSIZE;
        if (pTarget) {
            m_pBlock = static_cast<BYTE*>(pTarget);
        }
        else {
            ULONGLONG nSize = nLength;
            m_hMapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                              static_cast<DWORD>(nSize >> 32), static_cast<DWORD>(nSize), nullptr);
            m_pBlock = m_hMapping ? static_cast<BYTE*>(::MapViewOfFile(m_hMapping, FILE_MAP_ALL_ACCESS, 0, 0, 0))
                                  : nullptr;
            if (!m_pBlock)
                return ZR_NOALLOC;
        }
        m_nBlockSize = nLength;
        m_bSeekable = true;
        return ZR_OK;
    default:
        return ZR_ARGS;
    }
}

ZRESULT CZipper::Write(const void* pData, size_t nLength)
{
    if (m_pBlock) {
        // The block's last byte stays unused.
        if (m_nPos + nLength >= m_nBlockSize)
            return ZR_MEMSIZE;
        memcpy(m_pBlock + m_nPos, pData, nLength);
    }
    else {
        const BYTE* p = static_cast<const BYTE*>(pData);
        size_t nLeft = nLength;
        while (nLeft > 0) {
            DWORD nWritten = 0;
            DWORD nPart = static_cast<DWORD>(std::min<size_t>(nLeft, 0x40000000));
            if (!::WriteFile(m_hFile, p, nPart, &nWritten, nullptr) || nWritten == 0)
                return ZR_WRITE;
            p += nWritten;
            nLeft -= nWritten;
        }
    }
    m_nPos += nLength;
    return ZR_OK;
}

ZRESULT CZipper::Seek(ULONGLONG nPos)
{
    if (!m_bSeekable)
        return ZR_SEEK;
    if (m_pBlock) {
        if (nPos >= m_nBlockSize)
            return ZR_MEMSIZE;
    }
    else {
        LARGE_INTEGER position;
        position.QuadPart = static_cast<LONGLONG>(m_nStart + nPos);
        if (!::SetFilePointerEx(m_hFile, position, nullptr, FILE_BEGIN))
            return ZR_SEEK;
    }
    m_nPos = nPos;
    return ZR_OK;
}

ZRESULT CZipper::OpenSource(ZipSource& source, const void* pSource, size_t nLength, int nKind)
{
    switch (nKind) {
    case ZIP_FILENAME:
        source.hFile = ::CreateFileW(static_cast<LPCTSTR>(pSource), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (source.hFile == INVALID_HANDLE_VALUE)
            return ZR_NOFILE;
        source.bOwnsHandle = true;
        break;
    case ZIP_HANDLE:
        source.hFile = const_cast<HANDLE>(pSource);
        break;
    case ZIP_MEMORY:
        if (!pSource || nLength == 0)
            return ZR_ARGS;
        source.pBlock = static_cast<const BYTE*>(pSource);
        source.nBlockLength = nLength;
        source.nAnnounced = static_cast<LONGLONG>(nLength);
        source.SetCurrentTime();
        return ZR_OK;
    case ZIP_FOLDER:
        source.nAnnounced = 0;
        source.externalAttr = ATTR_FOLDER;
        source.SetCurrentTime();
        return ZR_OK;
    default:
        return ZR_ARGS;
    }
    BY_HANDLE_FILE_INFORMATION info = {};
    if (::GetFileType(source.hFile) == FILE_TYPE_DISK && ::GetFileInformationByHandle(source.hFile, &info)) {
        source.nAnnounced = static_cast<LONGLONG>((static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
        DWORD dos = info.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                             FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE);
        source.externalAttr = dos | ((dos & FILE_ATTRIBUTE_DIRECTORY) ? ATTR_UNIX_FOLDER : ATTR_UNIX_FILE);
        if (!(dos & FILE_ATTRIBUTE_READONLY))
            source.externalAttr |= ATTR_UNIX_OWNER_WRITE;
        source.SetTimes(info.ftLastAccessTime, info.ftLastWriteTime, info.ftCreationTime);
        LARGE_INTEGER zero = {};
        ::SetFilePointerEx(source.hFile, zero, nullptr, FILE_BEGIN);
    }
    else {
        source.nAnnounced = nLength ? static_cast<LONGLONG>(nLength) : -1;
        source.SetCurrentTime();
    }
    return ZR_OK;
}

std::string CZipper::LocalHeader(const CentralEntry& entry, size_t nNameLength)
{
    std::string header;
    Put32(header, 0x04034B50);
    Put16(header, VERSION_NEEDED);
    Put16(header, entry.flags);
    Put16(header, entry.method);
    Put32(header, entry.dosTime);
    Put32(header, entry.crc);
    Put32(header, entry.compSize);
    Put32(header, entry.uncSize);
    Put16(header, static_cast<unsigned>(nNameLength));
    Put16(header, LOCAL_EXTRA_SIZE);
    return header;
}

ZRESULT CZipper::Add(LPCTSTR pszName, const void* pSource, size_t nLength, int nKind)
{
    if (m_error != ZR_OK)
        return ZR_FAILED;
    if (m_bEnded)
        return ZR_ENDED;
    CString strName(pszName ? pszName : L"");
    if (!IsSafeZipItemName(strName))
        return ZR_ARGS;
    strName.Replace(L'\\', L'/');
    if (nKind == ZIP_FOLDER && strName[strName.GetLength() - 1] != L'/')
        strName += L'/';
    WORD flags = FLAG_DATA_DESCRIPTOR;
    std::string name = EncodeName(strName, flags);
    if (name.size() > 0xFFFF)
        return ZR_ARGS;
    WORD method = (nKind == ZIP_FOLDER || IsStoredExtension(strName)) ? METHOD_STORED : METHOD_DEFLATED;

    ZipSource source;
    ZRESULT result = OpenSource(source, pSource, nLength, nKind);
    if (result != ZR_OK)
        return result;
    result = AddItem(source, name, flags, method);
    // A failure part way leaves the target without a consistent end: nothing more goes into it.
    if (result != ZR_OK)
        m_error = result;
    return result;
}

ZRESULT CZipper::AddItem(ZipSource& source, const std::string& name, WORD flags, WORD method)
{
    CentralEntry entry = {};
    entry.name = name;
    entry.flags = flags;
    entry.method = method;
    entry.dosTime = source.dosTime;
    entry.externalAttr = source.externalAttr;
    entry.mtime = source.mtime;
    DWORD nAnnounced = source.nAnnounced > 0 ? static_cast<DWORD>(source.nAnnounced) : 0;
    entry.compSize = method == METHOD_STORED ? nAnnounced : 0;
    entry.uncSize = nAnnounced;
    ULONGLONG nHeaderPos = m_nPos;
    entry.offset = static_cast<DWORD>(m_nStart + nHeaderPos);

    std::string header = LocalHeader(entry, name.size()) + name;
    header += "UT";
    Put16(header, 13);
    header.push_back(7);
    Put32(header, source.mtime);
    Put32(header, source.atime);
    Put32(header, source.ctime);
    ZRESULT result = Write(header.data(), header.size());
    if (result != ZR_OK)
        return result;

    ULONGLONG nDataStart = m_nPos;
    ZRESULT writeResult = ZR_OK;
    if (source.externalAttr == ATTR_FOLDER) {
        // no data
    }
    else if (method == METHOD_DEFLATED) {
        CDeflater deflater(COMPRESSION_LEVEL);
        bool bDone = deflater.Compress(
            [&source](BYTE* pBuffer, size_t nSize) { return source.Read(pBuffer, nSize); },
            [this, &writeResult](const BYTE* pData, size_t nSize) {
                writeResult = Write(pData, nSize);
                return writeResult == ZR_OK;
            });
        if (writeResult != ZR_OK)
            return writeResult;
        if (!bDone)
            return ZR_FLATE;
        entry.flags |= deflater.GetZipFlags();
    }
    else {
        std::vector<BYTE> buffer(COPY_BLOCK);
        size_t nRead;
        while ((nRead = source.Read(buffer.data(), buffer.size())) > 0) {
            writeResult = Write(buffer.data(), nRead);
            if (writeResult != ZR_OK)
                return writeResult;
        }
    }
    if (source.bReadFailed)
        return ZR_READ;
    // What was read is what the item holds, whatever size the source had when it was opened. The fields hold
    // 32 bits: a larger item cannot be described.
    ULONGLONG nCompressed = m_nPos - nDataStart;
    if (source.nRead > 0xFFFFFFFFULL || nCompressed > 0xFFFFFFFFULL)
        return ZR_WRITE;
    entry.crc = source.crc;
    entry.uncSize = static_cast<DWORD>(source.nRead);
    entry.compSize = static_cast<DWORD>(nCompressed);

    if (m_bSeekable) {
        entry.flags &= ~FLAG_DATA_DESCRIPTOR;
        ULONGLONG nEnd = m_nPos;
        result = Seek(nHeaderPos);
        if (result != ZR_OK)
            return result;
        std::string rewritten = LocalHeader(entry, name.size());
        result = Write(rewritten.data(), rewritten.size());
        if (result != ZR_OK)
            return result;
        result = Seek(nEnd);
        if (result != ZR_OK)
            return result;
    }
    else {
        // The local header already left; only its announced size may stand for a stored item.
        entry.flags = flags;
        if (method == METHOD_STORED && source.externalAttr != ATTR_FOLDER && entry.uncSize != nAnnounced)
            return ZR_NOCHANGE;
        std::string descriptor;
        Put32(descriptor, 0x08074B50);
        Put32(descriptor, entry.crc);
        Put32(descriptor, entry.compSize);
        Put32(descriptor, entry.uncSize);
        result = Write(descriptor.data(), descriptor.size());
        if (result != ZR_OK)
            return result;
    }
    m_entries.push_back(entry);
    return ZR_OK;
}

// A failed addition or ending leaves an archive without a consistent end: whoever ends it later hears of that failure.
ZRESULT CZipper::End()
{
    if (!m_bEnded) {
        m_bEnded = true;
        ZRESULT result = WriteCentralDirectory();
        if (m_error == ZR_OK)
            m_error = result;
    }
    return m_error;
}

ZRESULT CZipper::WriteCentralDirectory()
{
    ULONGLONG nCentralStart = m_nPos;
    for (const CentralEntry& entry : m_entries) {
        std::string header;
        Put32(header, 0x02014B50);
        Put16(header, VERSION_MADE_BY);
        Put16(header, VERSION_NEEDED);
        Put16(header, entry.flags);
        Put16(header, entry.method);
        Put32(header, entry.dosTime);
        Put32(header, entry.crc);
        Put32(header, entry.compSize);
        Put32(header, entry.uncSize);
        Put16(header, static_cast<unsigned>(entry.name.size()));
        Put16(header, CENTRAL_EXTRA_SIZE);
        Put16(header, 0);
        Put16(header, 0);
        Put16(header, 0);
        Put32(header, entry.externalAttr);
        Put32(header, entry.offset);
        header += entry.name;
        header += "UT";
        Put16(header, 5);
        header.push_back(7);
        Put32(header, entry.mtime);
        ZRESULT result = Write(header.data(), header.size());
        if (result != ZR_OK)
            return result;
    }
    std::string end;
    Put32(end, 0x06054B50);
    Put16(end, 0);
    Put16(end, 0);
    Put16(end, static_cast<unsigned>(m_entries.size()));
    Put16(end, static_cast<unsigned>(m_entries.size()));
    Put32(end, static_cast<DWORD>(m_nPos - nCentralStart));
    Put32(end, static_cast<DWORD>(m_nStart + nCentralStart));
    Put16(end, 0);
    return Write(end.data(), end.size());
}

ZRESULT CZipper::GetMemory(void** ppData, size_t* pnLength)
{
    ZRESULT result = End();
    if (result != ZR_OK)
        return result;
    if (!m_pBlock)
        return ZR_NOTMMAP;
    *ppData = m_pBlock;
    *pnLength = static_cast<size_t>(m_nPos);
    return ZR_OK;
}

ZRESULT Remember(ZRESULT result)
{
    g_lastZipResult = result;
    return result;
}

ZRESULT GetZipper(ZipHandle hz, CZipper*& pZipper)
{
    if (!hz)
        return ZR_ARGS;
    if (hz->kind != ZipHandleData::WRITER)
        return ZR_ZMODE;
    pZipper = static_cast<CZipper*>(hz->object);
    return ZR_OK;
}

} // namespace

ZipHandle CreateZip(void* pTarget, size_t nLength, int nKind)
{
    auto pZipper = std::make_unique<CZipper>();
    if (Remember(pZipper->Create(pTarget, nLength, nKind)) != ZR_OK)
        return nullptr;
    return new ZipHandleData{ ZipHandleData::WRITER, pZipper.release() };
}

ZRESULT ZipAdd(ZipHandle hz, LPCTSTR pszName, const void* pSource, size_t nLength, int nKind)
{
    CZipper* pZipper = nullptr;
    ZRESULT result = GetZipper(hz, pZipper);
    if (result != ZR_OK)
        return Remember(result);
    return Remember(pZipper->Add(pszName, pSource, nLength, nKind));
}

ZRESULT ZipGetMemory(ZipHandle hz, void** ppData, size_t* pnLength)
{
    CZipper* pZipper = nullptr;
    ZRESULT result = GetZipper(hz, pZipper);
    if (ppData)
        *ppData = nullptr;
    if (pnLength)
        *pnLength = 0;
    if (result != ZR_OK)
        return Remember(result);
    if (!ppData || !pnLength)
        return Remember(ZR_ARGS);
    return Remember(pZipper->GetMemory(ppData, pnLength));
}

ZRESULT CloseZip(ZipHandle hz)
{
    CZipper* pZipper = nullptr;
    ZRESULT result = GetZipper(hz, pZipper);
    if (result != ZR_OK)
        return Remember(result);
    result = pZipper->End();
    if (result == ZR_OK)
        result = pZipper->PutInPlace();
    delete pZipper;
    delete hz;
    return Remember(result);
}

ZRESULT DiscardZip(ZipHandle hz)
{
    CZipper* pZipper = nullptr;
    ZRESULT result = GetZipper(hz, pZipper);
    if (result == ZR_OK) {
        delete pZipper;
        delete hz;
    }
    return Remember(result);
}

bool IsZipHandle(ZipHandle hz)
{
    return !hz || hz->kind == ZipHandleData::WRITER;
}

unsigned FormatZipMessage(ZRESULT code, LPTSTR pszBuffer, unsigned nBufferLength)
{
    return CopyZipResultText(code == ZR_RECENT ? g_lastZipResult : code, pszBuffer, nBufferLength);
}
