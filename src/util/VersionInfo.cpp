#include "VersionInfo.h"

#include "platform/mfc/afxexcept.h"

#include <vector>

namespace {

// The program file's whole version resource and its first translation.
class CVersionResource
{
public:
    static const CVersionResource& Get()
    {
        // A failed first read throws out of the initialisation, so the next use tries again.
        static const CVersionResource resource;
        return resource;
    }

    // The block at the path, null when the resource has none.
    const void* Query(LPCTSTR lpszBlock, UINT& nSize) const
    {
        void* pValue = nullptr;
        nSize = 0;
        if (!::VerQueryValueW(m_data.data(), lpszBlock, &pValue, &nSize))
            return nullptr;
        return pValue;
    }

    WORD m_wLanguage = 0;
    WORD m_wCodePage = 0;

private:
    CVersionResource()
    {
        TCHAR szModule[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, szModule, MAX_PATH);
        DWORD dwHandle = 0;
        DWORD dwSize = ::GetFileVersionInfoSizeW(szModule, &dwHandle);
        if (dwSize == 0)
            AfxThrowResourceException();
        m_data.resize(dwSize);
        if (!::GetFileVersionInfoW(szModule, 0, dwSize, m_data.data()))
            AfxThrowResourceException();
        UINT nSize;
        auto pTranslation = static_cast<const WORD*>(Query(L"\\VarFileInfo\\Translation", nSize));
        if (pTranslation && nSize >= 2 * sizeof(WORD)) {
            m_wLanguage = pTranslation[0];
            m_wCodePage = pTranslation[1];
        }
    }

    std::vector<BYTE> m_data;
};

} // namespace

VS_FIXEDFILEINFO GetFixedFileInfo()
{
    VS_FIXEDFILEINFO info = {};
    UINT nSize;
    const void* pInfo = CVersionResource::Get().Query(L"\\", nSize);
    if (pInfo && nSize >= sizeof(info))
        memcpy(&info, pInfo, sizeof(info));
    return info;
}

CString GetVersionString(LPCTSTR lpszKey)
{
    const CVersionResource& resource = CVersionResource::Get();
    CString strBlock;
    strBlock.Format(L"\\StringFileInfo\\%04X%04X\\%s", resource.m_wLanguage, resource.m_wCodePage, lpszKey);
    UINT nSize;
    auto pszValue = static_cast<LPCWSTR>(resource.Query(strBlock, nSize));
    if (!pszValue || nSize == 0)
        return CString();
    // The size counts the terminator when there is one.
    return CString(pszValue, static_cast<int>(wcsnlen(pszValue, nSize)));
}

DWORD GetFileVersionNumber()
{
    VS_FIXEDFILEINFO info;
    try {
        info = GetFixedFileInfo();
    } catch (CException* e) {
        e->Delete();
        return 0;
    }
    return (static_cast<DWORD>(LOBYTE(HIWORD(info.dwFileVersionMS))) << 24)
           | (static_cast<DWORD>(LOBYTE(LOWORD(info.dwFileVersionMS))) << 16)
           | (static_cast<DWORD>(LOBYTE(HIWORD(info.dwFileVersionLS))) << 8)
           | LOBYTE(LOWORD(info.dwFileVersionLS));
}
