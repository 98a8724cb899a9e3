// A disk that fails on request: while it is failing, every write of the SQLite databases opened after its
// construction answers the error given (SQLITE_FULL, SQLITE_IOERR_WRITE ...), as a full disk or a broken one
// would. It wraps the system's file layer and is the default one for as long as it lives.
#pragma once

class CFailingDisk
{
public:
    CFailingDisk();
    ~CFailingDisk();
    CFailingDisk(const CFailingDisk&) = delete;
    CFailingDisk& operator=(const CFailingDisk&) = delete;

    // 0 writes again.
    void FailWrites(int nError);
};
