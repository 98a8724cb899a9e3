#include "ZipCommon.h"

#include "platform/mfc/afxstr.h"

#include <cwchar>

namespace {

struct ZipResultEntry
{
    ZRESULT code;
    LPCTSTR text;
};

const ZipResultEntry ZIP_RESULT_TEXTS[] = {
    { ZR_OK, L"Success" },
    { ZR_NODUPH, L"Culdn't duplicate handle" },
    { ZR_NOFILE, L"Couldn't create/open file" },
    { ZR_NOALLOC, L"Failed to allocate memory" },
    { ZR_WRITE, L"Error writing to file" },
    { ZR_NOTFOUND, L"File not found in the zipfile" },
    { ZR_MORE, L"Still more data to unzip" },
    { ZR_CORRUPT, L"Zipfile is corrupt or not a zipfile" },
    { ZR_READ, L"Error reading file" },
    { ZR_ARGS, L"Caller: faulty arguments" },
    { ZR_NOTMMAP, L"Caller: can only get memory of a memory zipfile" },
    { ZR_MEMSIZE, L"Caller: not enough space allocated for memory zipfile" },
    { ZR_FAILED, L"Caller: there was a previous error" },
    { ZR_ENDED, L"Caller: additions to the zip have already been ended" },
    { ZR_MISSIZE, L"Zip-bug: the anticipated size turned out wrong" },
    { ZR_PARTIALUNZ, L"Caller: the file had already been partially unzipped" },
    { ZR_ZMODE, L"Caller: mixing creation and opening of zip" },
    { ZR_NOTINITED, L"Zip-bug: internal initialisation not completed" },
    { ZR_SEEK, L"Zip-bug: trying to seek the unseekable" },
    { ZR_NOCHANGE, L"Zip-bug: tried to change mind, but not allowed" },
    { ZR_FLATE, L"Zip-bug: an internal error during flation" },
};

const ULONGLONG FILETIME_TICKS_PER_SECOND = 10000000ULL;
const ULONGLONG FILETIME_OF_1970 = 116444736000000000ULL;
const DWORD UNIX_TIME_END_OF_2037 = 2145916799;   // 31 December 2037 23:59:59 UTC

ULONGLONG ToTicks(const FILETIME& ft)
{
    return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

FILETIME FromTicks(ULONGLONG ticks)
{
    FILETIME ft = { static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32) };
    return ft;
}

} // namespace

unsigned CopyZipResultText(ZRESULT code, LPTSTR pszBuffer, unsigned nBufferLength)
{
    LPCTSTR pszText = L"unknown zip result code";
    for (const ZipResultEntry& entry : ZIP_RESULT_TEXTS) {
        if (entry.code == code) {
            pszText = entry.text;
            break;
        }
    }
    unsigned nLength = static_cast<unsigned>(::lstrlenW(pszText));
    if (pszBuffer && nBufferLength > 0)
        ::lstrcpynW(pszBuffer, pszText, static_cast<int>(nBufferLength));
    return nLength;
}

// DOS times are the local time of the machine that wrote them: the conversion goes through the time zone's rules
// for that date, so that a summer date keeps its summer offset.
FILETIME DosTimeToFileTime(DWORD dwDosDateTime)
{
    FILETIME ftLocal = {}, ftUtc = {};
    SYSTEMTIME stLocal = {}, stUtc = {};
    if (!::DosDateTimeToFileTime(HIWORD(dwDosDateTime), LOWORD(dwDosDateTime), &ftLocal) ||
        !::FileTimeToSystemTime(&ftLocal, &stLocal) || !::TzSpecificLocalTimeToSystemTime(nullptr, &stLocal, &stUtc) ||
        !::SystemTimeToFileTime(&stUtc, &ftUtc))
        return ftLocal;
    return ftUtc;
}

DWORD FileTimeToDosTime(const FILETIME& ftUtc)
{
    SYSTEMTIME stUtc = {}, stLocal = {};
    FILETIME ftLocal = {};
    WORD wDate = 0, wTime = 0;
    if (!::FileTimeToSystemTime(&ftUtc, &stUtc) || !::SystemTimeToTzSpecificLocalTime(nullptr, &stUtc, &stLocal) ||
        !::SystemTimeToFileTime(&stLocal, &ftLocal) || !::FileTimeToDosDateTime(&ftLocal, &wDate, &wTime))
        return MAKELONG(0, (1980 - 1980) << 9 | 1 << 5 | 1);   // 1 January 1980, the first DOS date
    return MAKELONG(wTime, wDate);
}

FILETIME UnixTimeToFileTime(DWORD dwUnixTime)
{
    return FromTicks(FILETIME_OF_1970 + dwUnixTime * FILETIME_TICKS_PER_SECOND);
}

DWORD FileTimeToUnixTime(const FILETIME& ftUtc)
{
    ULONGLONG ticks = ToTicks(ftUtc);
    if (ticks <= FILETIME_OF_1970)
        return 0;
    ULONGLONG seconds = (ticks - FILETIME_OF_1970) / FILETIME_TICKS_PER_SECOND;
    return seconds > UNIX_TIME_END_OF_2037 ? UNIX_TIME_END_OF_2037 : static_cast<DWORD>(seconds);
}

bool HasParentFolderPart(LPCTSTR pszPath)
{
    CString strPath(pszPath);
    strPath.Replace(L'/', L'\\');
    strPath = L"\\" + strPath + L"\\";
    return strPath.Find(L"\\..\\") >= 0;
}

bool IsSafeZipItemName(LPCTSTR pszName)
{
    if (!pszName || !*pszName || pszName[0] == L'/' || pszName[0] == L'\\' || wcschr(pszName, L':'))
        return false;
    return !HasParentFolderPart(pszName);
}
