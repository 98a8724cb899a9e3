#include "FailingDisk.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

sqlite3_vfs* g_pSystem = nullptr;
int g_nWriteError = 0;

struct CShimFile
{
    sqlite3_file base;
    sqlite3_file* pReal;   // follows this structure in the same block
};

sqlite3_file* Real(sqlite3_file* pFile) { return reinterpret_cast<CShimFile*>(pFile)->pReal; }

int Close(sqlite3_file* f) { return Real(f)->pMethods->xClose(Real(f)); }
int Read(sqlite3_file* f, void* p, int n, sqlite3_int64 o) { return Real(f)->pMethods->xRead(Real(f), p, n, o); }
int Write(sqlite3_file* f, const void* p, int n, sqlite3_int64 o)
{
    return g_nWriteError ? g_nWriteError : Real(f)->pMethods->xWrite(Real(f), p, n, o);
}
int Truncate(sqlite3_file* f, sqlite3_int64 n) { return Real(f)->pMethods->xTruncate(Real(f), n); }
int Sync(sqlite3_file* f, int flags) { return Real(f)->pMethods->xSync(Real(f), flags); }
int FileSize(sqlite3_file* f, sqlite3_int64* p) { return Real(f)->pMethods->xFileSize(Real(f), p); }
int Lock(sqlite3_file* f, int n) { return Real(f)->pMethods->xLock(Real(f), n); }
int Unlock(sqlite3_file* f, int n) { return Real(f)->pMethods->xUnlock(Real(f), n); }
int CheckReservedLock(sqlite3_file* f, int* p) { return Real(f)->pMethods->xCheckReservedLock(Real(f), p); }
int FileControl(sqlite3_file* f, int op, void* p) { return Real(f)->pMethods->xFileControl(Real(f), op, p); }
int SectorSize(sqlite3_file* f) { return Real(f)->pMethods->xSectorSize(Real(f)); }
int DeviceCharacteristics(sqlite3_file* f) { return Real(f)->pMethods->xDeviceCharacteristics(Real(f)); }

// Version 1: no shared memory (no WAL) and no memory mapping, which the archives do not use.
const sqlite3_io_methods g_methods = {1,       Close,   Read,    Write,   Truncate,          Sync,
                                      FileSize, Lock,    Unlock,  CheckReservedLock, FileControl, SectorSize,
                                      DeviceCharacteristics, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* pFile, int flags, int* pOutFlags)
{
    auto pShim = reinterpret_cast<CShimFile*>(pFile);
    pShim->pReal = reinterpret_cast<sqlite3_file*>(pShim + 1);
    int rc = g_pSystem->xOpen(g_pSystem, name, pShim->pReal, flags, pOutFlags);
    pShim->base.pMethods = rc == SQLITE_OK && pShim->pReal->pMethods ? &g_methods : nullptr;
    return rc;
}
int Delete(sqlite3_vfs*, const char* name, int sync) { return g_pSystem->xDelete(g_pSystem, name, sync); }
int Access(sqlite3_vfs*, const char* name, int flags, int* p) { return g_pSystem->xAccess(g_pSystem, name, flags, p); }
int FullPathname(sqlite3_vfs*, const char* name, int n, char* out)
{
    return g_pSystem->xFullPathname(g_pSystem, name, n, out);
}
void* DlOpen(sqlite3_vfs*, const char* name) { return g_pSystem->xDlOpen(g_pSystem, name); }
void DlError(sqlite3_vfs*, int n, char* p) { g_pSystem->xDlError(g_pSystem, n, p); }
void (*DlSym(sqlite3_vfs*, void* h, const char* name))(void) { return g_pSystem->xDlSym(g_pSystem, h, name); }
void DlClose(sqlite3_vfs*, void* h) { g_pSystem->xDlClose(g_pSystem, h); }
int Randomness(sqlite3_vfs*, int n, char* p) { return g_pSystem->xRandomness(g_pSystem, n, p); }
int Sleep(sqlite3_vfs*, int n) { return g_pSystem->xSleep(g_pSystem, n); }
int CurrentTime(sqlite3_vfs*, double* p) { return g_pSystem->xCurrentTime(g_pSystem, p); }
int GetLastError(sqlite3_vfs*, int n, char* p) { return g_pSystem->xGetLastError(g_pSystem, n, p); }
int CurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* p) { return g_pSystem->xCurrentTimeInt64(g_pSystem, p); }

sqlite3_vfs g_vfs = {};

} // namespace

CFailingDisk::CFailingDisk()
{
    g_pSystem = ::sqlite3_vfs_find(nullptr);
    g_nWriteError = 0;
    g_vfs = sqlite3_vfs{2,       static_cast<int>(sizeof(CShimFile)) + g_pSystem->szOsFile,
                        g_pSystem->mxPathname, nullptr, "failing-disk", nullptr, Open, Delete, Access,
                        FullPathname, DlOpen, DlError, DlSym, DlClose, Randomness, Sleep, CurrentTime,
                        GetLastError, CurrentTimeInt64, nullptr, nullptr, nullptr};
    EXPECT_EQ(SQLITE_OK, ::sqlite3_vfs_register(&g_vfs, 1));
}

CFailingDisk::~CFailingDisk()
{
    g_nWriteError = 0;
    ::sqlite3_vfs_unregister(&g_vfs);
}

void CFailingDisk::FailWrites(int nError)
{
    g_nWriteError = nError;
}
