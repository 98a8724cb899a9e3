#include "afxtempl.h"

namespace
{
template <class CHAR>
UINT HashText(const CHAR* key)
{
    UINT nHash = 0;
    for (; key && *key; ++key)
        nHash = (nHash << 5) + nHash + static_cast<UINT>(*key);
    return nHash;
}
} // namespace

UINT HashKey(LPCWSTR key) { return HashText(key); }
UINT HashKey(LPCSTR key) { return HashText(reinterpret_cast<const unsigned char*>(key)); }
UINT HashKey(const CString& key) { return HashText(key.GetString()); }
