// Maps from a system handle to the framework object that wraps it, one per thread and object kind.
// Permanent objects are attached by their owner; temporary ones are made on demand by FromHandle for
// handles nobody wraps, and deleted (without touching the handle) when the thread goes idle.
#pragma once

#include <unordered_map>

template <class TObject, class THandle>
class CHandleMap
{
public:
    CHandleMap() = default;
    CHandleMap(const CHandleMap&) = delete;
    CHandleMap& operator=(const CHandleMap&) = delete;
    ~CHandleMap() { DeleteTemp(); }

    TObject* LookupPermanent(THandle h) const
    {
        auto it = m_permanent.find(h);
        return it == m_permanent.end() ? nullptr : it->second;
    }

    TObject* Lookup(THandle h) const
    {
        if (TObject* pObject = LookupPermanent(h))
            return pObject;
        auto it = m_temporary.find(h);
        return it == m_temporary.end() ? nullptr : it->second;
    }

    void SetPermanent(THandle h, TObject* pObject) { m_permanent[h] = pObject; }

    // Forgets the permanent object of h, only when it is pObject (another may have taken the handle since).
    void RemovePermanent(THandle h, const TObject* pObject)
    {
        auto it = m_permanent.find(h);
        if (it != m_permanent.end() && it->second == pObject)
            m_permanent.erase(it);
    }

    // The object of h, made by pfnNew (a new heap object already holding h) when there is none yet.
    template <class TNew>
    TObject* FromHandle(THandle h, TNew pfnNew)
    {
        if (!h)
            return nullptr;
        if (TObject* pObject = Lookup(h))
            return pObject;
        TObject* pTemp = pfnNew(h);
        m_temporary[h] = pTemp;
        return pTemp;
    }

    // Deletes the temporary objects; each is emptied first so that its destructor leaves the handle alone.
    void DeleteTemp()
    {
        std::unordered_map<THandle, TObject*> temporary;
        temporary.swap(m_temporary);
        for (auto& item : temporary) {
            item.second->DetachTemporary();
            delete item.second;
        }
    }

private:
    std::unordered_map<THandle, TObject*> m_permanent;
    std::unordered_map<THandle, TObject*> m_temporary;
};
