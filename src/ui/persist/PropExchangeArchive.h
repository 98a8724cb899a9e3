// The positional store: every value goes into a CArchive in call order and names are ignored, so a load must
// run the same DoPropExchange, with the same schema decisions, as the save. Defaults do not exist here.
// Errors of the archive (CArchiveException, CFileException) reach the caller.
#pragma once

#include "ui/persist/PropExchange.h"

class CXTPPropExchangeArchive : public CXTPPropExchange
{
    DECLARE_DYNAMIC(CXTPPropExchangeArchive)
public:
    explicit CXTPPropExchangeArchive(CArchive& ar);

    BOOL ExchangeValue(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp, const void* pvDefault = NULL) override;
    // The count, then the bytes; a count beyond what the stream holds fails before anything is allocated
    // for it.
    BOOL ExchangeBlob(LPCTSTR pszPropName, BYTE*& pData, DWORD& nBytes) override;
    // The class as CArchive writes it; loading takes the stored schema into m_nSchema.
    BOOL ExchangeRuntimeClass(LPCTSTR pszPropName, CRuntimeClass*& pClass, CRuntimeClass* pDefaultClass) override;
    BOOL ExchangeObjectInstance(CObject*& pObject, CRuntimeClass* pObjectRuntime) override;
    CArchive* GetArchive(LPCTSTR pszPropName) override;
    void ReleaseArchive(LPCTSTR pszPropName, CArchive* pArchive) override;
    CXTPPropExchange* GetSection(LPCTSTR pszSection) override;
    void WriteCount(DWORD dwCount) override;
    DWORD ReadCount() override;
    BOOL ExchangeBinary(LPCTSTR pszPropName, void* pData, DWORD nBytes) override;
    DWORD ReadBinary(LPCTSTR pszPropName, void* pData, DWORD nBytes) override;
    BOOL IsAllowDefaultValues() const override { return FALSE; }
    BOOL IsAllowBlobValues() const override { return TRUE; }

private:
    CArchive& m_ar;
};
