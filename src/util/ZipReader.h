// Reading zip archives given as a file name, an open file handle or a memory block: list the items, find one by
// name, extract one to a file, a handle or memory. Every call keeps its result as the reader's last result.
#pragma once

#include "ZipCommon.h"

#include <cstddef>

struct ZipEntry
{
    int index;                      // the item's index; for index -1 the number of items
    TCHAR name[MAX_PATH];           // as stored, with "/" between folders
    DWORD attr;                     // Windows file attributes
    FILETIME atime, ctime, mtime;   // UTC
    LONGLONG comp_size;
    LONGLONG unc_size;
    DWORD crc;                      // CRC-32 of the data as the archive declares it
    WORD flags;                     // general-purpose flags of the item (ZIP_FLAG_ENCRYPTED)
};

const WORD ZIP_FLAG_ENCRYPTED = 0x0001;

// The same record without padding between its fields, for callers that keep items in packed tables.
#pragma pack(push, 1)
struct ZipEntryCompact
{
    int index;
    TCHAR name[MAX_PATH];
    DWORD attr;
    FILETIME atime, ctime, mtime;
    LONGLONG comp_size;
    LONGLONG unc_size;
    DWORD crc;
    WORD flags;
};
#pragma pack(pop)

// A new reader, or null with the last result set. nLength is the size of a memory block (kind ZIP_MEMORY).
// A source that holds no zip archive gives ZR_CORRUPT.
ZipHandle OpenZip(const void* pSource, size_t nLength, int nKind);
// Index -1 describes the archive: its index field is the number of items. An item whose name does not fit the
// record gives ZR_CORRUPT.
ZRESULT GetZipItem(ZipHandle hz, int index, ZipEntry* pEntry);
// Either output may be null. Names compare with "/" and "\\" alike between folders. Not found: index -1, the record zeroed, ZR_NOTFOUND.
ZRESULT FindZipItem(ZipHandle hz, LPCTSTR pszName, bool bIgnoreCase, int* pIndex, ZipEntry* pEntry);
// Extracts an item to a file (an absolute path, or a path relative to the folder that was current at OpenZip;
// without ".."; missing folders are created), to an open handle, or
// into a buffer of nLength bytes (ZR_MORE while data remains: call again for the rest). Data that does not match
// the size or CRC the archive declares, and an encrypted item, give ZR_CORRUPT; a file written here is then
// removed again.
ZRESULT UnzipItem(ZipHandle hz, int index, void* pTarget, size_t nLength, int nKind);
// GetZipItem and FindZipItem into the compact record: the same results, the same fields.
ZRESULT GetZipItemCompact(ZipHandle hz, int index, ZipEntryCompact* pEntry);
ZRESULT FindZipItemCompact(ZipHandle hz, LPCTSTR pszName, bool bIgnoreCase, int* pIndex, ZipEntryCompact* pEntry);
// Frees the reader; answers the last result.
ZRESULT CloseUnzip(ZipHandle hz);
// True for a null handle or a reader's: callers choose CloseUnzip or CloseZip by it.
bool IsUnzipHandle(ZipHandle hz);
// The code's text (ZR_RECENT: the reader's last result); see CopyZipResultText.
unsigned ZipResultText(ZRESULT code, LPTSTR pszBuffer, unsigned nBufferLength);
