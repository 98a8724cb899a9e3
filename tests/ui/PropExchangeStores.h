// The stores of the property exchange behind one interface, so that one table of cases runs through each:
// a save opens a root exchange over the store's backing (an archive in memory, a throw-away registry key,
// an XML document, an INI file) and a load opens one over what the save left.
#pragma once

#include "ui/persist/PropExchangeArchive.h"
#include "ui/persist/PropExchangeIni.h"
#include "ui/persist/PropExchangeRegistry.h"
#include "ui/persist/PropExchangeXml.h"
#include "support/TempFolder.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CStoreBacking
{
public:
    virtual ~CStoreBacking() = default;
    // Runs the exchange over a new root; loading after saving reads what the save left.
    virtual void Save(const std::function<void(CXTPPropExchange*)>& exchange) = 0;
    virtual void Load(const std::function<void(CXTPPropExchange*)>& exchange) = 0;
};

// What a storing archive holds after the write.
inline std::vector<BYTE> StoredArchive(const std::function<void(CArchive&)>& write)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        write(ar);
        ar.Close();
    }
    UINT nLength = static_cast<UINT>(file.GetLength());
    BYTE* pData = file.Detach();
    std::vector<BYTE> bytes(pData, pData + nLength);
    free(pData);
    return bytes;
}

class CArchiveBacking : public CStoreBacking
{
public:
    void Save(const std::function<void(CXTPPropExchange*)>& exchange) override
    {
        m_bytes = StoredArchive([&](CArchive& ar) {
            CXTPPropExchangeArchive px(ar);
            exchange(&px);
        });
    }
    void Load(const std::function<void(CXTPPropExchange*)>& exchange) override
    {
        CMemFile file(m_bytes.data(), static_cast<UINT>(m_bytes.size()));
        CArchive ar(&file, CArchive::load);
        CXTPPropExchangeArchive px(ar);
        exchange(&px);
        ar.Close();
    }

    std::vector<BYTE> m_bytes;
};

// A key under HKCU\Software\QuarzelTests, removed with its content at the end.
class CRegistryBacking : public CStoreBacking
{
public:
    CRegistryBacking()
    {
        m_strKey.Format(L"Software\\QuarzelTests\\Persist%lu", ::GetTickCount() ^ s_nNext++);
        ::RegCreateKeyExW(HKEY_CURRENT_USER, m_strKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_hKey, nullptr);
    }
    ~CRegistryBacking() override
    {
        ::RegCloseKey(m_hKey);
        AfxDelRegTreeHelper(HKEY_CURRENT_USER, m_strKey);
    }
    void Save(const std::function<void(CXTPPropExchange*)>& exchange) override { Run(FALSE, exchange); }
    void Load(const std::function<void(CXTPPropExchange*)>& exchange) override { Run(TRUE, exchange); }

    void Run(BOOL bLoading, const std::function<void(CXTPPropExchange*)>& exchange)
    {
        CXTPPropExchangeRegistry px(bLoading, m_hKey, L"Settings");
        exchange(&px);
    }
    // The section key, opened for the test's own checks (closed by the caller).
    HKEY OpenSection(LPCTSTR lpszSubKey = L"Settings") const
    {
        HKEY hKey = nullptr;
        ::RegOpenKeyExW(m_hKey, lpszSubKey, 0, KEY_ALL_ACCESS, &hKey);
        return hKey;
    }

    HKEY m_hKey = nullptr;
    CString m_strKey;

private:
    static inline DWORD s_nNext = 1;
};

// An XML document kept as its text between the save and the load; a later save starts from that text.
class CXmlBacking : public CStoreBacking
{
public:
    explicit CXmlBacking(BOOL bCompactMode) : m_bCompactMode(bCompactMode) {}
    void Save(const std::function<void(CXTPPropExchange*)>& exchange) override
    {
        CXTPPropExchangeXMLNode px(FALSE, nullptr, L"Settings");
        if (!m_strXml.IsEmpty())
            px.LoadFromString(m_strXml);
        px.SetCompactMode(m_bCompactMode);
        exchange(&px);
        m_strXml = px.GetXML();
    }
    void Load(const std::function<void(CXTPPropExchange*)>& exchange) override
    {
        CXTPPropExchangeXMLNode px(TRUE, nullptr, L"Settings");
        if (!m_strXml.IsEmpty())
            px.LoadFromString(m_strXml);
        exchange(&px);
    }

    BOOL m_bCompactMode;
    CString m_strXml;
};

// An INI file in a temporary folder, copied in before and out after each save.
class CIniBacking : public CStoreBacking
{
public:
    void Save(const std::function<void(CXTPPropExchange*)>& exchange) override
    {
        CXTPPropExchangeIniFile px(FALSE, nullptr, L"Settings");
        px.LoadFromFile(Path());
        exchange(&px);
        px.SaveToFile(Path());
    }
    void Load(const std::function<void(CXTPPropExchange*)>& exchange) override
    {
        CXTPPropExchangeIniFile px(TRUE, nullptr, L"Settings");
        px.LoadFromFile(Path());
        exchange(&px);
    }
    CString Path() const { return m_folder.File(L"impostazioni.ini"); }

    CTempFolder m_folder;
};
