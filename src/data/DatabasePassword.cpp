#include "DatabasePassword.h"

namespace {

// Digits and letters drawn from a linear congruential sequence: the seed and the length are the whole rule.
CString BuildPassword(UINT32 nSeed, int nLength)
{
    CString strPassword;
    UINT32 nState = nSeed;
    for (int i = 0; i < nLength; ++i) {
        nState = nState * 1664525u + 1013904223u;
        UINT32 nSymbol = (nState >> 16) % 62;
        TCHAR ch = static_cast<TCHAR>(nSymbol < 10 ? L'0' + nSymbol
                                      : nSymbol < 36 ? L'A' + (nSymbol - 10) : L'a' + (nSymbol - 36));
        strPassword += ch;
    }
    return strPassword;
}

} // namespace

CString GetProgDatabasePassword()
{
    return BuildPassword(0x51A7E003u, 14);
}

CString GetArchivePassword()
{
    return BuildPassword(0x0D47A208u, 16);
}
