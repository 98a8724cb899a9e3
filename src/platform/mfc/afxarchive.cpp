#include "afxarchive.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace
{
// Tags that precede an object or a class in the stream.
const WORD wNullTag = 0;                // the null object
const WORD wNewClassTag = 0xFFFF;       // a class seen for the first time: schema, name
const WORD wClassTag = 0x8000;          // flag of a reference to a class seen before
const WORD wBigObjectTag = 0x7FFF;      // the index follows as a DWORD
const DWORD dwBigClassTag = 0x80000000; // flag of a class reference in a DWORD index
const DWORD nMaxMapCount = 0x3FFFFFFE;

ULONGLONG ReadStringLength(CArchive& ar, int& nCharSize)
{
    nCharSize = 1;
    BYTE bLength;
    ar >> bLength;
    if (bLength < 0xFF)
        return bLength;
    WORD wLength;
    ar >> wLength;
    if (wLength == 0xFFFE) { // UTF-16 text: the length starts again
        nCharSize = 2;
        ar >> bLength;
        if (bLength < 0xFF)
            return bLength;
        ar >> wLength;
    }
    if (wLength < 0xFFFF)
        return wLength;
    DWORD dwLength;
    ar >> dwLength;
    if (dwLength < 0xFFFFFFFF)
        return dwLength;
    ULONGLONG qwLength;
    ar >> qwLength;
    return qwLength;
}

// Reads nBytes in pieces, so that a damaged length runs into the end of the data before it can
// exhaust memory.
std::string ReadBytes(CArchive& ar, ULONGLONG nBytes)
{
    std::string bytes;
    while (nBytes > 0) {
        UINT nChunk = static_cast<UINT>(std::min<ULONGLONG>(nBytes, 0x10000));
        size_t nOld = bytes.size();
        bytes.resize(nOld + nChunk);
        if (ar.Read(&bytes[nOld], nChunk) != nChunk)
            AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
        nBytes -= nChunk;
    }
    return bytes;
}
} // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize)
    : m_strFileName(pFile ? pFile->GetFilePath() : CString()), m_pFile(pFile), m_nMode(nMode),
      m_buffer(static_cast<size_t>(std::max(nBufSize, 128)))
{
    if (!pFile)
        AfxThrowInvalidArgException();
    if (IsLoading())
        m_loadArray.push_back({nullptr, false, 0});
}

CArchive::~CArchive()
{
    if (m_pFile && !(m_nMode & bNoFlushOnDelete)) {
        try {
            Close();
        } catch (CException* e) {
            e->Delete();
        }
    }
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    CheckLoading();
    BYTE* pDest = static_cast<BYTE*>(lpBuf);
    UINT nRead = 0;
    while (nRead < nMax) {
        if (m_nBufCur == m_nBufMax) {
            m_nBufCur = 0;
            m_nBufMax = m_pFile->Read(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
            if (m_nBufMax == 0)
                break;
        }
        size_t nCopy = std::min<size_t>(nMax - nRead, m_nBufMax - m_nBufCur);
        std::memcpy(pDest + nRead, m_buffer.data() + m_nBufCur, nCopy);
        m_nBufCur += nCopy;
        nRead += static_cast<UINT>(nCopy);
    }
    return nRead;
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    CheckStoring();
    const BYTE* pSource = static_cast<const BYTE*>(lpBuf);
    while (nMax > 0) {
        if (m_nBufCur == m_buffer.size())
            Flush();
        size_t nCopy = std::min<size_t>(nMax, m_buffer.size() - m_nBufCur);
        std::memcpy(m_buffer.data() + m_nBufCur, pSource, nCopy);
        m_nBufCur += nCopy;
        pSource += nCopy;
        nMax -= static_cast<UINT>(nCopy);
    }
}

void CArchive::Flush()
{
    if (!m_pFile)
        return;
    if (IsStoring()) {
        size_t nPending = m_nBufCur;
        m_nBufCur = 0;
        m_pFile->Write(m_buffer.data(), static_cast<UINT>(nPending));
    } else {
        size_t nUnread = m_nBufMax - m_nBufCur;
        m_nBufCur = m_nBufMax = 0;
        if (nUnread > 0)
            m_pFile->Seek(-static_cast<LONGLONG>(nUnread), CFile::current);
    }
}

void CArchive::Close()
{
    Flush();
    m_pFile = nullptr;
}

void CArchive::Abort() { m_pFile = nullptr; }

void CArchive::WriteCount(DWORD_PTR dwCount)
{
    if (dwCount < 0xFFFF) {
        *this << static_cast<WORD>(dwCount);
        return;
    }
    *this << static_cast<WORD>(0xFFFF);
    if (static_cast<ULONGLONG>(dwCount) < 0xFFFFFFFF) {
        *this << static_cast<DWORD>(dwCount);
        return;
    }
    *this << static_cast<DWORD>(0xFFFFFFFF) << static_cast<ULONGLONG>(dwCount);
}

DWORD_PTR CArchive::ReadCount()
{
    WORD wCount;
    *this >> wCount;
    if (wCount != 0xFFFF)
        return wCount;
    DWORD dwCount;
    *this >> dwCount;
    if (dwCount != 0xFFFFFFFF)
        return dwCount;
    ULONGLONG qwCount;
    *this >> qwCount;
    if (qwCount > static_cast<ULONGLONG>(static_cast<DWORD_PTR>(-1)))
        ThrowArchive(CArchiveException::badIndex);
    return static_cast<DWORD_PTR>(qwCount);
}

void CArchive::WriteObject(const CObject* pOb)
{
    CheckStoring();
    if (!pOb) {
        *this << wNullTag;
        return;
    }
    auto it = m_storeMap.find(pOb);
    if (it != m_storeMap.end()) {
        WriteTag(it->second, false);
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    m_storeMap[pOb] = NextMapIndex(); // before its data: references to it from inside resolve
    const_cast<CObject*>(pOb)->Serialize(*this);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    CheckLoading();
    UINT nSchema = 0;
    DWORD obTag = 0;
    CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);
    if (!pClassRef) {
        if (obTag >= m_loadArray.size() || m_loadArray[obTag].bClass)
            ThrowArchive(CArchiveException::badIndex);
        CObject* pOb = static_cast<CObject*>(m_loadArray[obTag].p);
        if (pOb && pClassRefRequested && !pOb->IsKindOf(pClassRefRequested))
            ThrowArchive(CArchiveException::badClass);
        return pOb;
    }
    CObject* pOb = pClassRef->CreateObject();
    if (!pOb)
        ThrowArchive(CArchiveException::badClass);
    MapLoaded(pOb, false, 0);
    m_nObjectSchema = nSchema;
    pOb->Serialize(*this);
    m_nObjectSchema = static_cast<UINT>(-1);
    return pOb;
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    CheckStoring();
    if (pClassRef->m_wSchema == 0xFFFF) // not declared serializable
        AfxThrowNotSupportedException();
    auto it = m_storeMap.find(pClassRef);
    if (it != m_storeMap.end()) {
        WriteTag(it->second, true);
        return;
    }
    m_storeMap[pClassRef] = NextMapIndex();
    WORD nLength = static_cast<WORD>(std::strlen(pClassRef->m_lpszClassName));
    *this << wNewClassTag << static_cast<WORD>(pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) << nLength;
    Write(pClassRef->m_lpszClassName, nLength);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag)
{
    CheckLoading();
    WORD wTag;
    *this >> wTag;
    DWORD obTag;
    if (wTag == wBigObjectTag)
        *this >> obTag;
    else
        obTag = (static_cast<DWORD>(wTag & wClassTag) << 16) | (wTag & ~wClassTag);

    if (!(obTag & dwBigClassTag)) { // an object reference (or the null object)
        if (!pObTag)
            ThrowArchive(CArchiveException::badIndex);
        *pObTag = obTag;
        return nullptr;
    }

    CRuntimeClass* pClassRef = nullptr;
    UINT nSchema = 0;
    if (wTag == wNewClassTag) {
        pClassRef = LoadNewClass(nSchema);
    } else {
        DWORD nIndex = obTag & ~dwBigClassTag;
        if (nIndex == 0 || nIndex >= m_loadArray.size() || !m_loadArray[nIndex].bClass)
            ThrowArchive(CArchiveException::badIndex);
        pClassRef = static_cast<CRuntimeClass*>(m_loadArray[nIndex].p);
        nSchema = m_loadArray[nIndex].nSchema;
    }
    if (pClassRefRequested && !pClassRef->IsDerivedFrom(pClassRefRequested))
        ThrowArchive(CArchiveException::badClass);
    if (pSchema)
        *pSchema = nSchema;
    else
        m_nObjectSchema = nSchema;
    return pClassRef;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef)
{
    if (IsStoring())
        WriteClass(pClassRef);
    else
        ReadClass(pClassRef, &m_nObjectSchema);
}

void CArchive::MapObject(const CObject* pOb)
{
    if (IsStoring()) {
        if (m_storeMap.find(pOb) == m_storeMap.end())
            m_storeMap[pOb] = NextMapIndex();
    } else {
        MapLoaded(const_cast<CObject*>(pOb), false, 0);
    }
}

UINT CArchive::GetObjectSchema()
{
    UINT nResult = m_nObjectSchema;
    m_nObjectSchema = static_cast<UINT>(-1);
    return nResult;
}

void CArchive::ReadExactly(void* lpBuf, UINT nCount)
{
    if (Read(lpBuf, nCount) != nCount)
        ThrowArchive(CArchiveException::endOfFile);
}

void CArchive::CheckLoading() const
{
    if (!m_pFile)
        ThrowArchive(CArchiveException::genericException);
    if (IsStoring())
        ThrowArchive(CArchiveException::writeOnly);
}

void CArchive::CheckStoring() const
{
    if (!m_pFile)
        ThrowArchive(CArchiveException::genericException);
    if (IsLoading())
        ThrowArchive(CArchiveException::readOnly);
}

void CArchive::ThrowArchive(int cause) const { AfxThrowArchiveException(cause, m_strFileName); }

void CArchive::WriteTag(DWORD nIndex, bool bClass)
{
    if (nIndex < wBigObjectTag) {
        *this << static_cast<WORD>(bClass ? (wClassTag | nIndex) : nIndex);
    } else {
        *this << wBigObjectTag << (bClass ? (dwBigClassTag | nIndex) : nIndex);
    }
}

DWORD CArchive::NextMapIndex()
{
    if (m_nMapCount >= nMaxMapCount)
        ThrowArchive(CArchiveException::badIndex);
    return m_nMapCount++;
}

void CArchive::MapLoaded(void* p, bool bClass, UINT nSchema)
{
    NextMapIndex();
    m_loadArray.push_back({p, bClass, nSchema});
}

CRuntimeClass* CArchive::LoadNewClass(UINT& nSchema)
{
    WORD wSchema, nLength;
    *this >> wSchema >> nLength;
    std::string name(nLength, '\0');
    ReadExactly(&name[0], nLength);
    CRuntimeClass* pClassRef = name.find('\0') == std::string::npos ? CRuntimeClass::FromName(name.c_str()) : nullptr;
    if (!pClassRef)
        ThrowArchive(CArchiveException::badClass);
    // A versionable class reads every schema itself; any other must find its own.
    if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != wSchema && !(pClassRef->m_wSchema & VERSIONABLE_SCHEMA))
        ThrowArchive(CArchiveException::badSchema);
    MapLoaded(pClassRef, true, wSchema);
    nSchema = wSchema;
    return pClassRef;
}

CArchive& operator<<(CArchive& ar, const CString& str)
{
    DWORD nLength = static_cast<DWORD>(str.GetLength());
    ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFE); // UTF-16 text follows
    if (nLength < 0xFF)
        ar << static_cast<BYTE>(nLength);
    else if (nLength < 0xFFFE)
        ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(nLength);
    else
        ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << nLength;
    ar.Write(str.GetString(), nLength * sizeof(WCHAR));
    return ar;
}

CArchive& operator>>(CArchive& ar, CString& str)
{
    int nCharSize = 1;
    ULONGLONG nLength = ReadStringLength(ar, nCharSize);
    if (nLength > 0x7FFFFFFF)
        AfxThrowArchiveException(CArchiveException::badIndex, ar.m_strFileName);
    std::string bytes = ReadBytes(ar, nLength * static_cast<ULONGLONG>(nCharSize));
    if (nCharSize == 2) {
        std::wstring text(static_cast<size_t>(nLength), L'\0');
        std::memcpy(&text[0], bytes.data(), bytes.size());
        str = CString(text);
    } else // 8-bit text in the system code page
        str = CString::FromMultiByte(bytes.data(), static_cast<int>(bytes.size()));
    return ar;
}
