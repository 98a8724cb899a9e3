// Writing zip archives to a file, an open file handle or memory: items from files, handles, memory blocks and
// folders, deflated by the writer's own engine at level 8 (or stored, for names of compressed formats), and the
// central directory when the archive is ended. Every call keeps its result as the writer's last result.
#pragma once

#include "ZipCommon.h"

#include <cstddef>

// A new writer, or null with the last result set. A memory target of nLength bytes is the caller's block, or one
// the writer allocates when pTarget is null. A file target is written to a temporary file beside it, which takes
// the target's name only when CloseZip has ended the archive: until then, and after any failure, the file of that
// name stays as it was. A target that cannot be opened for writing (held by a handle that does not share writing,
// say) is refused here already.
ZipHandle CreateZip(void* pTarget, size_t nLength, int nKind);
// Adds an item: "\" in the name becomes "/", a folder's name ends in "/". A name that the reader would refuse
// (IsSafeZipItemName) gives ZR_ARGS and leaves the archive as it was. nLength is a memory block's size, or the
// size announced for a handle that is no disk file (0: not announced).
ZRESULT ZipAdd(ZipHandle hz, LPCTSTR pszName, const void* pSource, size_t nLength, int nKind);
// Ends the archive and gives the memory block and the archive's length (memory targets only).
ZRESULT ZipGetMemory(ZipHandle hz, void** ppData, size_t* pnLength);
// Ends the archive unless ended, puts a file target in place, releases the target and the writer. Answers the
// ending's result, or the error that stopped an earlier addition; ZR_NOFILE when the file target could not be put
// in place.
ZRESULT CloseZip(ZipHandle hz);
// Releases the writer without ending the archive: a file target is left as it was, and what was written to a
// handle or memory target stays there.
ZRESULT DiscardZip(ZipHandle hz);
// True for a null handle or a writer's.
bool IsZipHandle(ZipHandle hz);
// The code's text (ZR_RECENT: the writer's last result); see CopyZipResultText.
unsigned FormatZipMessage(ZRESULT code, LPTSTR pszBuffer, unsigned nBufferLength);
