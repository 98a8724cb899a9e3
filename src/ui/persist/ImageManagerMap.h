// The image manager's maps from command id or width to an object: 17 buckets by (key >> 4) mod 17, walked in
// bucket order and, within a bucket, newest key first. Which width a set chooses on a tie and the order in which
// icons are saved follow this walk.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

template <class TValue>
class CXTPImageManagerMap
{
public:
    static const UINT nHashTableSize = 17;

    BOOL Lookup(UINT nKey, TValue*& pValue) const
    {
        for (const auto& entry : m_buckets[Bucket(nKey)]) {
            if (entry.first == nKey) {
                pValue = entry.second;
                return TRUE;
            }
        }
        return FALSE;
    }
    TValue* Lookup(UINT nKey) const
    {
        TValue* pValue = nullptr;
        return Lookup(nKey, pValue) ? pValue : nullptr;
    }
    // A key already present keeps its place and gets the new value.
    void SetAt(UINT nKey, TValue* pValue)
    {
        auto& bucket = m_buckets[Bucket(nKey)];
        for (auto& entry : bucket) {
            if (entry.first == nKey) {
                entry.second = pValue;
                return;
            }
        }
        bucket.insert(bucket.begin(), {nKey, pValue});
    }
    BOOL RemoveKey(UINT nKey)
    {
        auto& bucket = m_buckets[Bucket(nKey)];
        for (auto it = bucket.begin(); it != bucket.end(); ++it) {
            if (it->first == nKey) {
                bucket.erase(it);
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll()
    {
        for (auto& bucket : m_buckets)
            bucket.clear();
    }
    int GetCount() const
    {
        size_t nCount = 0;
        for (const auto& bucket : m_buckets)
            nCount += bucket.size();
        return static_cast<int>(nCount);
    }
    BOOL IsEmpty() const { return GetCount() == 0; }
    // The entries in walk order, as a copy: the caller may change the map while going through it.
    std::vector<std::pair<UINT, TValue*>> GetEntries() const
    {
        std::vector<std::pair<UINT, TValue*>> entries;
        for (const auto& bucket : m_buckets)
            entries.insert(entries.end(), bucket.begin(), bucket.end());
        return entries;
    }

private:
    static UINT Bucket(UINT nKey) { return (nKey >> 4) % nHashTableSize; }

    std::vector<std::pair<UINT, TValue*>> m_buckets[nHashTableSize];
};
