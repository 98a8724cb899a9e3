#include "ArchiveRestore.h"

#include "app/ArchiveOpening.h"
#include "data/ADOConnection.h"
#include "data/AdoErrorText.h"
#include "data/DatabasePassword.h"
#include "data/SetSettings.h"
#include "platform/mfc/afxmsgbox.h"
#include "resource.h"
#include "util/Crc32.h"
#include "util/MessageText.h"
#include "util/PathUtil.h"

#include <vector>

namespace {

bool Refuse(const CString& strMessage)
{
    AfxMessageBox(strMessage, MB_ICONWARNING);
    return false;
}

CString ZipCodeText(ZRESULT code)
{
    TCHAR szText[1024] = {};
    ZipResultText(code, szText, _countof(szText));
    return szText;
}

// Closes the reader on every road out of the restore.
class CUnzipScope
{
public:
    explicit CUnzipScope(ZipHandle hz) : m_hz(hz) {}
    ~CUnzipScope() { CloseUnzip(m_hz); }
    CUnzipScope(const CUnzipScope&) = delete;
    CUnzipScope& operator=(const CUnzipScope&) = delete;

private:
    ZipHandle m_hz;
};

// The temporary copy goes unless it has taken the archive's place.
class CTempCopy
{
public:
    explicit CTempCopy(const CString& strPath) : m_strPath(strPath) {}
    ~CTempCopy()
    {
        if (!m_strPath.IsEmpty())
            ::DeleteFileW(m_strPath);
    }
    CTempCopy(const CTempCopy&) = delete;
    CTempCopy& operator=(const CTempCopy&) = delete;

    void Release() { m_strPath.Empty(); }

private:
    CString m_strPath;
};

// Size and CRC-32 of a file as it lies on the disk.
bool MeasureFile(LPCTSTR pszPath, ULONGLONG& nSize, uint32_t& crc)
{
    HANDLE hFile = ::CreateFileW(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    std::vector<BYTE> buffer(1 << 16);
    nSize = 0;
    crc = 0;
    DWORD nRead = 0;
    bool bOk = true;
    while ((bOk = ::ReadFile(hFile, buffer.data(), static_cast<DWORD>(buffer.size()), &nRead, nullptr) != FALSE) &&
           nRead > 0) {
        crc = UpdateCrc32(crc, buffer.data(), nRead);
        nSize += nRead;
    }
    ::CloseHandle(hFile);
    return bOk;
}

bool SameItemName(LPCTSTR pszItem, const CString& strWanted)
{
    CString strItem(pszItem);
    strItem.Replace(L'\\', L'/');
    return strItem.CompareNoCase(strWanted) == 0;
}

} // namespace

CString GetFormerArchiveName(LPCTSTR pszArchivePath, const COleDateTime& when)
{
    // Hours and minutes apart with a dot: a colon may not stand in a file name.
    CString strStem = CombinePath(GetPathDir(pszArchivePath),
                                  FormatResMessage(IDS_RESTORE_FORMER_NAME, GetPathFileTitle(pszArchivePath),
                                                   when.Format(L"%Y-%m-%d %H.%M")));
    CString strExtension = GetPathExtension(pszArchivePath);
    if (!strExtension.IsEmpty())
        strExtension = L"." + strExtension;
    CString strName = strStem + strExtension;
    for (int n = 2; FileExists(strName); ++n)
        strName.Format(L"%s (%d)%s", strStem.GetString(), n, strExtension.GetString());
    return strName;
}

CArchiveRestore::CArchiveRestore(LPCTSTR pszArchivePath, LPCTSTR pszRelativePath, int nNewestVersion,
                                 PFN_REPLACE_FILE pfnReplace)
    : m_strArchivePath(pszArchivePath)
    , m_strItemName(pszRelativePath)
    , m_nNewestVersion(nNewestVersion)
    , m_pfnReplace(pfnReplace)
{
    m_strItemName.Replace(L'\\', L'/');
}

bool CArchiveRestore::Run(LPCTSTR pszZipPath)
{
    ZipHandle hz = OpenZip(pszZipPath, 0, ZIP_FILENAME);
    if (!hz) {
        AfxMessageBox(FormatResMessage(IDP_ZIP_OPEN_FAILED, ZipCodeText(ZR_RECENT)), MB_ICONERROR);
        return false;
    }
    CUnzipScope closeZip(hz);
    ZipEntry archive = {};
    if (!FindArchiveItem(hz, archive) || !CheckRoom(archive))
        return false;

    CString strTemp = GetTempFileName(GetPathDir(m_strArchivePath), L"qrz");
    if (strTemp.IsEmpty())
        return Refuse(FormatResMessage(IDP_UNZIP_FAILED, archive.name, GetSystemErrorText(::GetLastError())));
    CTempCopy tempCopy(strTemp);
    if (!Extract(hz, archive, strTemp) || !CheckCopy(strTemp))
        return false;
    // The archive as it was stays beside the new one until the new one has opened.
    CString strFormer = GetFormerArchiveName(m_strArchivePath, COleDateTime::GetCurrentTime());
    if (!::CopyFileW(m_strArchivePath, strFormer, TRUE)) {
        DWORD dwError = ::GetLastError();
        // A part written is removed; a file that took the name meanwhile is not this restore's.
        if (dwError != ERROR_FILE_EXISTS)
            ::DeleteFileW(strFormer);
        return Refuse(FormatResMessage(IDP_UNZIP_FAILED, archive.name, GetSystemErrorText(dwError)));
    }
    if (!m_pfnReplace(m_strArchivePath, strTemp)) {
        DWORD dwError = ::GetLastError();
        ::DeleteFileW(strFormer);
        return Refuse(FormatResMessage(IDP_UNZIP_FAILED, archive.name, GetSystemErrorText(dwError)));
    }
    tempCopy.Release();
    m_strFormer = strFormer;
    return true;
}

CArchiveRestore::~CArchiveRestore()
{
    if (!m_strFormer.IsEmpty())
        ::DeleteFileW(m_strFormer);
}

bool CArchiveRestore::PutBackFormer()
{
    if (m_strFormer.IsEmpty() || ReplaceFileAtomically(m_strArchivePath, m_strFormer)) {
        m_strFormer.Empty();
        return true;
    }
    // Nowhere else is the user's archive: its copy stays where it is.
    AfxMessageBox(FormatResMessage(IDP_RESTORE_FORMER_KEPT, m_strFormer), MB_ICONERROR);
    m_strFormer.Empty();
    return false;
}

// Every item's name is checked, folders included; the one file item must be the archive.
bool CArchiveRestore::FindArchiveItem(ZipHandle hz, ZipEntry& archive)
{
    ZipEntry entry = {};
    GetZipItem(hz, -1, &entry);
    int nCount = entry.index;
    bool bFound = false;
    for (int i = 0; i < nCount; ++i) {
        ZRESULT result = GetZipItem(hz, i, &entry);
        if (result != ZR_OK)
            return Refuse(FormatResMessage(IDP_RESTORE_BAD_ITEM, i + 1, ZipCodeText(result)));
        if (!IsSafeZipItemName(entry.name))
            return Refuse(FormatResMessage(IDP_RESTORE_UNSAFE_NAME, entry.name));
        if (entry.attr & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if (bFound || !SameItemName(entry.name, m_strItemName))
            return Refuse(FormatResMessage(IDP_RESTORE_UNEXPECTED_FILE, entry.name));
        archive = entry;
        bFound = true;
    }
    // An empty item, or a folder under the archive's name, restores nothing.
    if (!bFound || archive.unc_size == 0)
        return Refuse(FormatResMessage(IDP_RESTORE_NO_ARCHIVE, m_strItemName));
    if (archive.flags & ZIP_FLAG_ENCRYPTED)
        return Refuse(FormatResMessage(IDP_RESTORE_ENCRYPTED, archive.name));
    return true;
}

// The old archive stays until the new one has opened, and a copy of it until then: all three must fit.
bool CArchiveRestore::CheckRoom(const ZipEntry& archive)
{
    WIN32_FILE_ATTRIBUTE_DATA current = {};
    ULONGLONG nCurrent = 0;
    if (::GetFileAttributesExW(m_strArchivePath, GetFileExInfoStandard, &current))
        nCurrent = (static_cast<ULONGLONG>(current.nFileSizeHigh) << 32) | current.nFileSizeLow;
    ULARGE_INTEGER available = {};
    if (::GetDiskFreeSpaceExW(GetPathDir(m_strArchivePath), &available, nullptr, nullptr) &&
        static_cast<ULONGLONG>(archive.unc_size) + nCurrent > available.QuadPart)
        return Refuse(FormatResMessage(IDP_RESTORE_NO_SPACE, archive.name));
    return true;
}

bool CArchiveRestore::Extract(ZipHandle hz, const ZipEntry& archive, LPCTSTR pszTemp)
{
    // A fresh file: whatever attributes the item carries, the restored archive stays writable.
    HANDLE hFile = ::CreateFileW(pszTemp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return Refuse(FormatResMessage(IDP_UNZIP_FAILED, archive.name, GetSystemErrorText(::GetLastError())));
    ZRESULT result = UnzipItem(hz, archive.index, hFile, 0, ZIP_HANDLE);
    ::CloseHandle(hFile);
    return CheckExtracted(archive, pszTemp, result);
}

// What was written is counted and checked here again, whatever the reader answered: the cause the user reads is
// the first difference found.
bool CArchiveRestore::CheckExtracted(const ZipEntry& archive, LPCTSTR pszTemp, ZRESULT result)
{
    ULONGLONG nSize = 0;
    uint32_t crc = 0;
    if (result == ZR_WRITE || !MeasureFile(pszTemp, nSize, crc))
        return Refuse(FormatResMessage(IDP_UNZIP_FAILED, archive.name, ZipCodeText(ZR_WRITE)));
    if (nSize != static_cast<ULONGLONG>(archive.unc_size))
        return Refuse(FormatResMessage(IDP_RESTORE_BAD_SIZE, archive.name));
    if (crc != archive.crc)
        return Refuse(FormatResMessage(IDP_RESTORE_BAD_CRC, archive.name));
    if (result != ZR_OK)
        return Refuse(FormatResMessage(IDP_UNZIP_FAILED, archive.name, ZipCodeText(result)));
    return true;
}

// The copy must be an archive of a version this program knows, and go through the steps of every opening on a
// connection of its own: what they refuse is refused here, before anything has been replaced.
bool CArchiveRestore::CheckCopy(LPCTSTR pszTemp)
{
    CADOConnection connection;
    bool bKnown = false;
    CString strReason;
    try {
        HRESULT hr = connection.CreateConnection();
        if (FAILED(hr))
            _com_issue_error(hr);
        connection.Open(CADOConnection::FormatConnectionString(pszTemp, GetArchivePassword()), TRUE);
        int nVersion = CSetSettings::GetSettingVersioneDB(connection);
        bKnown = nVersion >= 0 && nVersion <= m_nNewestVersion;
        if (bKnown)
            PrepareArchive(connection, strReason);
    }
    catch (const _com_error& e) {
        // Before the version has been read: not a database, not the archive's password, or no settings table.
        if (bKnown)
            strReason = GetComErrorText(e, &connection);
    }
    if (connection.IsOpen())
        connection.Close();
    if (!bKnown)
        return Refuse(FormatResMessage(IDP_RESTORE_NOT_AN_ARCHIVE, m_strItemName));
    return strReason.IsEmpty() || Refuse(FormatResMessage(IDP_RESTORE_DOES_NOT_OPEN, m_strItemName, strReason));
}
