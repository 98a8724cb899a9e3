// CArchive: a buffered binary stream over a CFile that stores or loads values (little-endian), strings
// (length-prefixed UTF-16) and object graphs. An object is written with its class (a name and a schema
// number, the first time the class appears; later as a reference) and its Serialize data; an object
// written twice is stored once and comes back as the same pointer.
// Errors raise CArchiveException (format, end of data, wrong direction) or the file's CFileException.
#pragma once

#include "afxfile.h"

#include <unordered_map>
#include <vector>

class CDocument;

class CArchive
{
public:
    enum Mode
    {
        store = 0,
        load = 1,
        bNoFlushOnDelete = 2
    };

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096);
    // Closes the archive when the caller has not; a failure then goes unseen, so call Close() yourself.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    CFile* GetFile() const { return m_pFile; }

    // Raw bytes. Read answers how many it got (fewer at the end of the data).
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    // Storing: writes the buffer to the file. Loading: gives back to the file what was read ahead.
    void Flush();
    // Flushes and detaches from the file (which stays open); Abort detaches without flushing.
    void Close();
    void Abort();

    // Counts: a WORD, or 0xFFFF and a DWORD from 0xFFFF on.
    void WriteCount(DWORD_PTR dwCount);
    DWORD_PTR ReadCount();

    // Objects. ReadObject raises badClass when the stored object is not of pClassRefRequested.
    void WriteObject(const CObject* pOb);
    CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
    // Classes alone. ReadClass answers the stored schema in *pSchema; pObTag receives the tag when an
    // object reference stands where a class was expected (NULL: that is a badIndex error).
    void WriteClass(const CRuntimeClass* pClassRef);
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = NULL, UINT* pSchema = NULL,
                             DWORD* pObTag = NULL);
    // WriteClass or ReadClass by direction; the loaded schema is then the object schema.
    void SerializeClass(const CRuntimeClass* pClassRef);
    // Registers an object written or read by hand, so that later references to it resolve.
    void MapObject(const CObject* pOb);

    // The schema of the object being loaded, answered once (then (UINT)-1): Serialize of a class with
    // VERSIONABLE_SCHEMA reads older data by it.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

    CArchive& operator<<(BYTE by) { return WriteValue(by); }
    CArchive& operator<<(WORD w) { return WriteValue(w); }
    CArchive& operator<<(LONG l) { return WriteValue(l); }
    CArchive& operator<<(DWORD dw) { return WriteValue(dw); }
    CArchive& operator<<(float f) { return WriteValue(f); }
    CArchive& operator<<(double d) { return WriteValue(d); }
    CArchive& operator<<(LONGLONG dwdw) { return WriteValue(dwdw); }
    CArchive& operator<<(ULONGLONG dwdw) { return WriteValue(dwdw); }
    CArchive& operator<<(int i) { return WriteValue(static_cast<LONG>(i)); }
    CArchive& operator<<(short w) { return WriteValue(w); }
    CArchive& operator<<(char ch) { return WriteValue(ch); }
    CArchive& operator<<(wchar_t ch) { return WriteValue(ch); }
    CArchive& operator<<(unsigned u) { return WriteValue(static_cast<DWORD>(u)); }
    CArchive& operator<<(bool b) { return WriteValue(static_cast<BYTE>(b ? 1 : 0)); }
    CArchive& operator<<(const CObject* pOb) { WriteObject(pOb); return *this; }

    CArchive& operator>>(BYTE& by) { return ReadValue(by); }
    CArchive& operator>>(WORD& w) { return ReadValue(w); }
    CArchive& operator>>(LONG& l) { return ReadValue(l); }
    CArchive& operator>>(DWORD& dw) { return ReadValue(dw); }
    CArchive& operator>>(float& f) { return ReadValue(f); }
    CArchive& operator>>(double& d) { return ReadValue(d); }
    CArchive& operator>>(LONGLONG& dwdw) { return ReadValue(dwdw); }
    CArchive& operator>>(ULONGLONG& dwdw) { return ReadValue(dwdw); }
    CArchive& operator>>(int& i) { LONG l; ReadValue(l); i = l; return *this; }
    CArchive& operator>>(short& w) { return ReadValue(w); }
    CArchive& operator>>(char& ch) { return ReadValue(ch); }
    CArchive& operator>>(wchar_t& ch) { return ReadValue(ch); }
    CArchive& operator>>(unsigned& u) { DWORD dw; ReadValue(dw); u = dw; return *this; }
    CArchive& operator>>(bool& b) { BYTE by; ReadValue(by); b = by != 0; return *this; }
    CArchive& operator>>(CObject*& pOb) { pOb = ReadObject(NULL); return *this; }
    CArchive& operator>>(const CObject*& pOb) { pOb = ReadObject(NULL); return *this; }

    CDocument* m_pDocument = nullptr;   // the document being saved or loaded, for Serialize code that needs it
    CString m_strFileName;              // the file's path, named by the exceptions

private:
    struct CLoadEntry
    {
        void* p;            // CObject* or CRuntimeClass*
        bool bClass;
        UINT nSchema;       // of a class
    };

    template <class T>
    CArchive& WriteValue(T value)
    {
        Write(&value, sizeof(value));
        return *this;
    }
    template <class T>
    CArchive& ReadValue(T& value)
    {
        ReadExactly(&value, sizeof(value));
        return *this;
    }
    // Reads nCount bytes or raises endOfFile.
    void ReadExactly(void* lpBuf, UINT nCount);
    void CheckLoading() const;
    void CheckStoring() const;
    [[noreturn]] void ThrowArchive(int cause) const;
    void WriteTag(DWORD nIndex, bool bClass);
    DWORD NextMapIndex();
    void MapLoaded(void* p, bool bClass, UINT nSchema);
    CRuntimeClass* LoadNewClass(UINT& nSchema);

    CFile* m_pFile;
    UINT m_nMode;
    std::vector<BYTE> m_buffer;
    size_t m_nBufCur = 0;       // next byte to read or write
    size_t m_nBufMax = 0;       // loading: end of the bytes read ahead
    UINT m_nObjectSchema = static_cast<UINT>(-1);

    // Index 0 is the null object; objects and classes share the indexes that follow.
    DWORD m_nMapCount = 1;
    std::unordered_map<const void*, DWORD> m_storeMap;
    std::vector<CLoadEntry> m_loadArray;
};

CArchive& operator<<(CArchive& ar, const CString& str);
CArchive& operator>>(CArchive& ar, CString& str);
