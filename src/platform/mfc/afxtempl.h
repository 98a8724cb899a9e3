// The framework's collection templates: CArray (growing array), CList (doubly linked list walked by
// POSITION), CMap (hash table) and the typed wrappers over the pointer collections. An index or position
// that does not exist raises CInvalidArgException instead of touching memory it does not own.
#pragma once

#include "afxexcept.h"
#include "afxobject.h"
#include "afxstr.h"

#include <algorithm>
#include <utility>
#include <vector>

// Opaque place in a list or map; NULL after the last element.
struct AFX_POSITION_TAG;
typedef AFX_POSITION_TAG* POSITION;

// Equality used by CList::Find and CMap; overload it for element types without operator==.
template <class TYPE, class ARG_TYPE>
BOOL CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2)
{
    return *pElement1 == *pElement2;
}

// Hash of a map key; overload it for key types of your own.
template <class ARG_KEY>
UINT HashKey(ARG_KEY key)
{
    // Mix the low bits (aligned pointers end in zeros) with the higher ones (small integers live there).
    ULONGLONG value = static_cast<ULONGLONG>((DWORD_PTR)key);
    return static_cast<UINT>(value ^ (value >> 4) ^ (value >> 32));
}
UINT HashKey(LPCWSTR key);
UINT HashKey(LPCSTR key);
UINT HashKey(const CString& key);

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject
{
public:
    typedef TYPE BASE_TYPE;
    typedef ARG_TYPE BASE_ARG_TYPE;

    CArray() = default;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return m_data.empty(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }

    // nGrowBy: elements added at each reallocation (0: the array chooses, -1: keep the current choice).
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        if (nNewSize < 0)
            AfxThrowInvalidArgException();
        if (nGrowBy >= 0)
            m_nGrowBy = nGrowBy;
        Reserve(nNewSize);
        m_data.resize(static_cast<size_t>(nNewSize));
    }
    void FreeExtra() { m_data.shrink_to_fit(); }
    void RemoveAll() { m_data.clear(); }

    const TYPE& GetAt(INT_PTR nIndex) const { return m_data[Checked(nIndex)]; }
    TYPE& GetAt(INT_PTR nIndex) { return m_data[Checked(nIndex)]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_data[Checked(nIndex)] = newElement; }
    const TYPE& ElementAt(INT_PTR nIndex) const { return m_data[Checked(nIndex)]; }
    TYPE& ElementAt(INT_PTR nIndex) { return m_data[Checked(nIndex)]; }
    const TYPE& operator[](INT_PTR nIndex) const { return m_data[Checked(nIndex)]; }
    TYPE& operator[](INT_PTR nIndex) { return m_data[Checked(nIndex)]; }

    const TYPE* GetData() const { return m_data.data(); }
    TYPE* GetData() { return m_data.data(); }

    // Grows the array when nIndex is past its end.
    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
    {
        if (nIndex < 0)
            AfxThrowInvalidArgException();
        TYPE value(newElement); // may refer into this array, which can move
        if (nIndex >= GetSize())
            SetSize(nIndex + 1);
        m_data[static_cast<size_t>(nIndex)] = std::move(value);
    }

    INT_PTR Add(ARG_TYPE newElement)
    {
        TYPE value(newElement);
        Reserve(GetSize() + 1);
        m_data.push_back(std::move(value));
        return GetSize() - 1;
    }

    INT_PTR Append(const CArray& src)
    {
        INT_PTR nOldSize = GetSize();
        std::vector<TYPE> copy(src.m_data); // src may be this array
        Reserve(nOldSize + static_cast<INT_PTR>(copy.size()));
        m_data.insert(m_data.end(), copy.begin(), copy.end());
        return nOldSize;
    }

    void Copy(const CArray& src)
    {
        if (&src != this)
            m_data = src.m_data;
    }

    // An index past the end first grows the array up to it.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount < 0)
            AfxThrowInvalidArgException();
        TYPE value(newElement);
        if (nIndex > GetSize())
            SetSize(nIndex);
        Reserve(GetSize() + nCount);
        m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), value);
    }

    void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray)
    {
        if (!pNewArray || nStartIndex < 0)
            AfxThrowInvalidArgException();
        std::vector<TYPE> copy(pNewArray->m_data);
        if (nStartIndex > GetSize())
            SetSize(nStartIndex);
        Reserve(GetSize() + static_cast<INT_PTR>(copy.size()));
        m_data.insert(m_data.begin() + nStartIndex, copy.begin(), copy.end());
    }

    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount < 0 || nIndex + nCount > GetSize())
            AfxThrowInvalidArgException();
        m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
    }

private:
    size_t Checked(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= GetSize())
            AfxThrowInvalidArgException();
        return static_cast<size_t>(nIndex);
    }

    void Reserve(INT_PTR nNeeded)
    {
        if (static_cast<size_t>(nNeeded) <= m_data.capacity())
            return;
        INT_PTR nGrowBy = m_nGrowBy;
        if (nGrowBy == 0)
            nGrowBy = std::max<INT_PTR>(GetSize() / 2, 4); // geometric: adding n elements costs O(n)
        m_data.reserve(static_cast<size_t>(std::max(nNeeded, GetSize() + nGrowBy)));
    }

    std::vector<TYPE> m_data;
    INT_PTR m_nGrowBy = 0;
};

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject
{
protected:
    struct CNode
    {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    typedef TYPE BASE_TYPE;
    typedef ARG_TYPE BASE_ARG_TYPE;

    CList() = default;
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return NonNull(m_pNodeHead)->data; }
    const TYPE& GetHead() const { return NonNull(m_pNodeHead)->data; }
    TYPE& GetTail() { return NonNull(m_pNodeTail)->data; }
    const TYPE& GetTail() const { return NonNull(m_pNodeTail)->data; }

    TYPE RemoveHead()
    {
        CNode* pNode = NonNull(m_pNodeHead);
        TYPE value(std::move(pNode->data));
        Unlink(pNode);
        return value;
    }
    TYPE RemoveTail()
    {
        CNode* pNode = NonNull(m_pNodeTail);
        TYPE value(std::move(pNode->data));
        Unlink(pNode);
        return value;
    }

    POSITION AddHead(ARG_TYPE newElement) { return ToPosition(LinkBefore(m_pNodeHead, newElement)); }
    POSITION AddTail(ARG_TYPE newElement) { return ToPosition(LinkBefore(nullptr, newElement)); }

    // The elements of pNewList keep their order; pNewList may be this list.
    void AddHead(const CList* pNewList)
    {
        CNode* pBefore = m_pNodeHead;
        CNode* pNode = pNewList->m_pNodeHead;
        for (INT_PTR n = pNewList->m_nCount; n > 0; --n, pNode = pNode->pNext)
            LinkBefore(pBefore, pNode->data);
    }
    void AddTail(const CList* pNewList)
    {
        CNode* pNode = pNewList->m_pNodeHead;
        for (INT_PTR n = pNewList->m_nCount; n > 0; --n, pNode = pNode->pNext)
            LinkBefore(nullptr, pNode->data);
    }

    void RemoveAll()
    {
        while (m_pNodeHead)
            Unlink(m_pNodeHead);
    }

    POSITION GetHeadPosition() const { return ToPosition(m_pNodeHead); }
    POSITION GetTailPosition() const { return ToPosition(m_pNodeTail); }

    // Answers the element at rPosition and moves rPosition on (NULL after the last one).
    TYPE& GetNext(POSITION& rPosition)
    {
        CNode* pNode = FromPosition(rPosition);
        rPosition = ToPosition(pNode->pNext);
        return pNode->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const
    {
        CNode* pNode = FromPosition(rPosition);
        rPosition = ToPosition(pNode->pNext);
        return pNode->data;
    }
    TYPE& GetPrev(POSITION& rPosition)
    {
        CNode* pNode = FromPosition(rPosition);
        rPosition = ToPosition(pNode->pPrev);
        return pNode->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const
    {
        CNode* pNode = FromPosition(rPosition);
        rPosition = ToPosition(pNode->pPrev);
        return pNode->data;
    }

    TYPE& GetAt(POSITION position) { return FromPosition(position)->data; }
    const TYPE& GetAt(POSITION position) const { return FromPosition(position)->data; }
    void SetAt(POSITION position, ARG_TYPE newElement) { FromPosition(position)->data = newElement; }
    void RemoveAt(POSITION position) { Unlink(FromPosition(position)); }

    // A NULL position inserts at the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        CNode* pNode = position ? FromPosition(position) : m_pNodeHead;
        return ToPosition(LinkBefore(pNode, newElement));
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        CNode* pNode = position ? FromPosition(position)->pNext : nullptr;
        return ToPosition(LinkBefore(pNode, newElement));
    }

    // Searches after startAfter (from the head when NULL); NULL when not found.
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = NULL) const
    {
        CNode* pNode = startAfter ? FromPosition(startAfter)->pNext : m_pNodeHead;
        for (; pNode; pNode = pNode->pNext) {
            if (CompareElements<TYPE>(&pNode->data, &searchValue))
                return ToPosition(pNode);
        }
        return NULL;
    }

    // Position of the zero-based nIndex-th element; NULL when there is none.
    POSITION FindIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            return NULL;
        CNode* pNode = m_pNodeHead;
        while (nIndex-- > 0)
            pNode = pNode->pNext;
        return ToPosition(pNode);
    }

private:
    static POSITION ToPosition(CNode* pNode) { return reinterpret_cast<POSITION>(pNode); }
    static CNode* FromPosition(POSITION position) { return NonNull(reinterpret_cast<CNode*>(position)); }
    static CNode* NonNull(CNode* pNode)
    {
        if (!pNode)
            AfxThrowInvalidArgException();
        return pNode;
    }

    // Links a new node before pNext (at the tail when null).
    CNode* LinkBefore(CNode* pNext, ARG_TYPE newElement)
    {
        CNode* pPrev = pNext ? pNext->pPrev : m_pNodeTail;
        CNode* pNode = new CNode{pNext, pPrev, TYPE(newElement)};
        (pPrev ? pPrev->pNext : m_pNodeHead) = pNode;
        (pNext ? pNext->pPrev : m_pNodeTail) = pNode;
        ++m_nCount;
        return pNode;
    }

    void Unlink(CNode* pNode)
    {
        (pNode->pPrev ? pNode->pPrev->pNext : m_pNodeHead) = pNode->pNext;
        (pNode->pNext ? pNode->pNext->pPrev : m_pNodeTail) = pNode->pPrev;
        --m_nCount;
        delete pNode;
    }

    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    INT_PTR m_nCount = 0;
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject
{
protected:
    struct CAssoc
    {
        CAssoc* pNext;
        UINT nHashValue;
        KEY key;
        VALUE value;
    };

public:
    typedef KEY BASE_KEY;
    typedef ARG_KEY BASE_ARG_KEY;
    typedef VALUE BASE_VALUE;
    typedef ARG_VALUE BASE_ARG_VALUE;

    CMap() = default;
    ~CMap() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const
    {
        CAssoc* pAssoc = Find(key, HashKey(key));
        if (!pAssoc)
            return FALSE;
        rValue = pAssoc->value;
        return TRUE;
    }

    // The value of key, added (value-initialised) when missing.
    VALUE& operator[](ARG_KEY key)
    {
        UINT nHashValue = HashKey(key);
        if (CAssoc* pAssoc = Find(key, nHashValue))
            return pAssoc->value;
        if (m_buckets.empty())
            m_buckets.assign(m_nHashTableSize, nullptr);
        else if (static_cast<UINT>(m_nCount) >= m_nHashTableSize * 2)
            Rehash(m_nHashTableSize * 2 + 1); // keeps the chains short as the map grows
        CAssoc*& pHead = m_buckets[nHashValue % m_nHashTableSize];
        pHead = new CAssoc{pHead, nHashValue, KEY(key), VALUE()};
        ++m_nCount;
        return pHead->value;
    }

    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }

    BOOL RemoveKey(ARG_KEY key)
    {
        if (m_buckets.empty())
            return FALSE;
        UINT nHashValue = HashKey(key);
        for (CAssoc** ppAssoc = &m_buckets[nHashValue % m_nHashTableSize]; *ppAssoc; ppAssoc = &(*ppAssoc)->pNext) {
            CAssoc* pAssoc = *ppAssoc;
            if (pAssoc->nHashValue == nHashValue && CompareElements(&pAssoc->key, &key)) {
                *ppAssoc = pAssoc->pNext;
                delete pAssoc;
                --m_nCount;
                return TRUE;
            }
        }
        return FALSE;
    }

    void RemoveAll()
    {
        for (CAssoc*& pHead : m_buckets) {
            while (CAssoc* pAssoc = pHead) {
                pHead = pAssoc->pNext;
                delete pAssoc;
            }
        }
        m_buckets.clear();
        m_nCount = 0;
    }

    // NULL when the map is empty.
    POSITION GetStartPosition() const { return ToPosition(FirstFrom(0)); }

    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
    {
        CAssoc* pAssoc = reinterpret_cast<CAssoc*>(rNextPosition);
        if (!pAssoc)
            AfxThrowInvalidArgException();
        rKey = pAssoc->key;
        rValue = pAssoc->value;
        rNextPosition = ToPosition(pAssoc->pNext ? pAssoc->pNext : FirstFrom(pAssoc->nHashValue % m_nHashTableSize + 1));
    }

    UINT GetHashTableSize() const { return m_nHashTableSize; }

    // Sets the number of buckets; entries already in the map are redistributed.
    void InitHashTable(UINT nHashSize, BOOL bAllocNow = TRUE)
    {
        if (nHashSize == 0)
            AfxThrowInvalidArgException();
        if (!m_buckets.empty())
            Rehash(nHashSize);
        else {
            m_nHashTableSize = nHashSize;
            if (bAllocNow)
                m_buckets.assign(m_nHashTableSize, nullptr);
        }
    }

private:
    static POSITION ToPosition(CAssoc* pAssoc) { return reinterpret_cast<POSITION>(pAssoc); }

    CAssoc* Find(ARG_KEY key, UINT nHashValue) const
    {
        if (m_buckets.empty())
            return nullptr;
        for (CAssoc* pAssoc = m_buckets[nHashValue % m_nHashTableSize]; pAssoc; pAssoc = pAssoc->pNext) {
            if (pAssoc->nHashValue == nHashValue && CompareElements(&pAssoc->key, &key))
                return pAssoc;
        }
        return nullptr;
    }

    CAssoc* FirstFrom(UINT nBucket) const
    {
        for (; nBucket < m_buckets.size(); ++nBucket) {
            if (m_buckets[nBucket])
                return m_buckets[nBucket];
        }
        return nullptr;
    }

    void Rehash(UINT nNewSize)
    {
        std::vector<CAssoc*> buckets(nNewSize, nullptr);
        for (CAssoc* pHead : m_buckets) {
            while (CAssoc* pAssoc = pHead) {
                pHead = pAssoc->pNext;
                CAssoc*& pNewHead = buckets[pAssoc->nHashValue % nNewSize];
                pAssoc->pNext = pNewHead;
                pNewHead = pAssoc;
            }
        }
        m_buckets.swap(buckets);
        m_nHashTableSize = nNewSize;
    }

    std::vector<CAssoc*> m_buckets; // allocated on the first insertion
    UINT m_nHashTableSize = 17;
    INT_PTR m_nCount = 0;
};

// Typed views of the pointer collections (CPtrArray, CObArray, CPtrList, CObList, CMapStringToPtr, ...):
// the elements are pointers of class TYPE, stored in the base collection.
template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS
{
public:
    TYPE GetAt(INT_PTR nIndex) const { return static_cast<TYPE>(BASE_CLASS::GetAt(nIndex)); }
    TYPE& ElementAt(INT_PTR nIndex) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(nIndex)); }
    void SetAt(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
    void SetAtGrow(INT_PTR nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
    INT_PTR Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
    INT_PTR Append(const CTypedPtrArray& src) { return BASE_CLASS::Append(src); }
    void Copy(const CTypedPtrArray& src) { BASE_CLASS::Copy(src); }
    void InsertAt(INT_PTR nIndex, TYPE newElement, INT_PTR nCount = 1)
    {
        BASE_CLASS::InsertAt(nIndex, newElement, nCount);
    }
    void InsertAt(INT_PTR nStartIndex, const CTypedPtrArray* pNewArray) { BASE_CLASS::InsertAt(nStartIndex, pNewArray); }
    TYPE operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
};

template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS
{
public:
    TYPE& GetHead() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetHead()); }
    TYPE GetHead() const { return static_cast<TYPE>(BASE_CLASS::GetHead()); }
    TYPE& GetTail() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetTail()); }
    TYPE GetTail() const { return static_cast<TYPE>(BASE_CLASS::GetTail()); }
    TYPE RemoveHead() { return static_cast<TYPE>(BASE_CLASS::RemoveHead()); }
    TYPE RemoveTail() { return static_cast<TYPE>(BASE_CLASS::RemoveTail()); }
    POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
    POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
    void AddHead(const CTypedPtrList* pNewList) { BASE_CLASS::AddHead(pNewList); }
    void AddTail(const CTypedPtrList* pNewList) { BASE_CLASS::AddTail(pNewList); }
    TYPE& GetNext(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetNext(rPosition)); }
    TYPE GetNext(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetNext(rPosition)); }
    TYPE& GetPrev(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetPrev(rPosition)); }
    TYPE GetPrev(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetPrev(rPosition)); }
    TYPE& GetAt(POSITION position) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetAt(position)); }
    TYPE GetAt(POSITION position) const { return static_cast<TYPE>(BASE_CLASS::GetAt(position)); }
    void SetAt(POSITION position, TYPE newElement) { BASE_CLASS::SetAt(position, newElement); }
    POSITION InsertBefore(POSITION position, TYPE newElement) { return BASE_CLASS::InsertBefore(position, newElement); }
    POSITION InsertAfter(POSITION position, TYPE newElement) { return BASE_CLASS::InsertAfter(position, newElement); }
};

template <class BASE_CLASS, class KEY, class VALUE>
class CTypedPtrMap : public BASE_CLASS
{
public:
    BOOL Lookup(typename BASE_CLASS::BASE_ARG_KEY key, VALUE& rValue) const
    {
        typename BASE_CLASS::BASE_VALUE value{};
        if (!BASE_CLASS::Lookup(key, value))
            return FALSE;
        rValue = static_cast<VALUE>(value);
        return TRUE;
    }
    VALUE& operator[](typename BASE_CLASS::BASE_ARG_KEY key)
    {
        return reinterpret_cast<VALUE&>(BASE_CLASS::operator[](key));
    }
    void SetAt(KEY key, VALUE newValue) { BASE_CLASS::SetAt(key, newValue); }
    BOOL RemoveKey(KEY key) { return BASE_CLASS::RemoveKey(key); }
    void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const
    {
        typename BASE_CLASS::BASE_KEY key{};
        typename BASE_CLASS::BASE_VALUE value{};
        BASE_CLASS::GetNextAssoc(rPosition, key, value);
        rKey = static_cast<KEY>(key);
        rValue = static_cast<VALUE>(value);
    }
};
