// What the zip reader and the zip writer share: the handle, the result codes and their texts, the kinds of
// source and target, and the conversions between zip times and file times.
#pragma once

#include <windows.h>

typedef DWORD ZRESULT;

enum : ZRESULT
{
    ZR_OK = 0,
    ZR_NODUPH = 0x100,          // the handle could not be duplicated
    ZR_NOFILE = 0x200,          // the file could not be created or opened
    ZR_NOALLOC = 0x300,
    ZR_WRITE = 0x400,
    ZR_NOTFOUND = 0x500,
    ZR_MORE = 0x600,            // the buffer is full: call again for the rest
    ZR_CORRUPT = 0x700,
    ZR_READ = 0x800,
    ZR_ARGS = 0x10000,
    ZR_NOTMMAP = 0x20000,
    ZR_MEMSIZE = 0x30000,
    ZR_FAILED = 0x40000,
    ZR_ENDED = 0x50000,
    ZR_MISSIZE = 0x60000,
    ZR_PARTIALUNZ = 0x70000,
    ZR_ZMODE = 0x80000,
    ZR_NOTINITED = 0x1000000,
    ZR_SEEK = 0x2000000,
    ZR_NOCHANGE = 0x4000000,
    ZR_FLATE = 0x5000000,
};

// The text functions take this code for "the last result" of the reader (ZipResultText) or of the writer
// (FormatZipMessage).
const ZRESULT ZR_RECENT = 1;

// How a source or target is given.
enum
{
    ZIP_HANDLE = 1,
    ZIP_FILENAME = 2,
    ZIP_MEMORY = 3,
    ZIP_FOLDER = 4,     // writer only: a folder item without data
};

struct ZipHandleData
{
    enum { READER = 1, WRITER = 2 };
    int kind;
    void* object;
};
typedef ZipHandleData* ZipHandle;

// Copies the code's text (at most nBufferLength - 1 characters and a terminator) and answers the text's full
// length; with no buffer or a zero length it only answers the length. Code ZR_RECENT must be resolved first.
unsigned CopyZipResultText(ZRESULT code, LPTSTR pszBuffer, unsigned nBufferLength);

// Zip times. DOS date and time are local time (date in the high word); Unix times are seconds since 1970 UTC;
// file times are UTC.
FILETIME DosTimeToFileTime(DWORD dwDosDateTime);
DWORD FileTimeToDosTime(const FILETIME& ftUtc);
FILETIME UnixTimeToFileTime(DWORD dwUnixTime);
// Times before 1970 become 1 January 1970, times past 2037 become 31 December 2037.
DWORD FileTimeToUnixTime(const FILETIME& ftUtc);

// A ".." part between slashes of either kind.
bool HasParentFolderPart(LPCTSTR pszPath);
// True when the item name stays inside the folder it is extracted to: not empty, not absolute, no drive or
// stream colon, no ".." part (with either slash). The writer stores no name that the reader would refuse.
bool IsSafeZipItemName(LPCTSTR pszName);
