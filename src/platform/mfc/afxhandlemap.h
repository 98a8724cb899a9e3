// Maps from a system handle to the framework object that wraps it, one per thread and object kind (windows,
// DCs, GDI objects, menus, image lists). Permanent objects are attached by their owner; temporary ones are
// made on demand by FromHandle for handles nobody wraps, and deleted (without touching the handle) when the
// thread goes idle. A wrapper class derives from CHandleWrapper<itself, its handle type> and names the member
// that holds its handle (HandleMember).
#pragma once

#include "afx.h"

#include <unordered_map>

// Every map registers itself with its thread at first use, so that the idle clean-up reaches all kinds.
class CHandleMapBase
{
public:
    CHandleMapBase(const CHandleMapBase&) = delete;
    CHandleMapBase& operator=(const CHandleMapBase&) = delete;

    virtual void DeleteTemp() = 0;
    // Deletes the temporary objects of every map of the calling thread.
    static void DeleteAllTemp();

protected:
    CHandleMapBase();
    virtual ~CHandleMapBase();
};

template <class TObject, class THandle>
class CHandleMap : public CHandleMapBase
{
public:
    // The calling thread's map.
    static CHandleMap& Get()
    {
        static thread_local CHandleMap map;
        return map;
    }

    ~CHandleMap() override { DeleteTemp(); }

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

    // Forgets the permanent object of h, only when it is pObject.
    void RemovePermanent(THandle h, const TObject* pObject)
    {
        auto it = m_permanent.find(h);
        if (it != m_permanent.end() && it->second == pObject)
            m_permanent.erase(it);
    }

    TObject* AddTemporary(THandle h, TObject* pTemp)
    {
        m_temporary[h] = pTemp;
        return pTemp;
    }

    // Each temporary object is emptied first, so that its destructor leaves the handle alone.
    void DeleteTemp() override
    {
        std::unordered_map<THandle, TObject*> temporary;
        temporary.swap(m_temporary);
        for (auto& item : temporary) {
            item.second->*TObject::HandleMember = nullptr;
            delete item.second;
        }
    }

private:
    CHandleMap() = default;

    std::unordered_map<THandle, TObject*> m_permanent;
    std::unordered_map<THandle, TObject*> m_temporary;
};

// The handle-map members of a wrapper class. One handle has at most one owner: Attach refuses a handle
// that another object owns, since that owner would destroy it under this one.
template <class TObject, class THandle>
class CHandleWrapper
{
public:
    // The permanent object of h, else a temporary one that lives until the thread is idle; null for null.
    static TObject* FromHandle(THandle h)
    {
        if (!h)
            return nullptr;
        if (TObject* pObject = Map().Lookup(h))
            return pObject;
        return Map().AddTemporary(h, TObject::NewTemporary(h));
    }

    static TObject* FromHandlePermanent(THandle h) { return h ? Map().LookupPermanent(h) : nullptr; }

    static void DeleteTempMap() { Map().DeleteTemp(); }

    // FALSE for a null handle and for a handle another object owns.
    BOOL Attach(THandle h)
    {
        if (!h || Map().LookupPermanent(h))
            return FALSE;
        ASSERT(Handle() == nullptr);
        Handle() = h;
        Map().SetPermanent(h, static_cast<TObject*>(this));
        return TRUE;
    }

    // Lets go of the handle without destroying it.
    THandle Detach()
    {
        THandle h = Handle();
        if (h)
            Map().RemovePermanent(h, static_cast<TObject*>(this));
        Handle() = nullptr;
        return h;
    }

protected:
    // The factory of temporary objects; a kind whose handles come in several classes hides it with its own.
    static TObject* NewTemporary(THandle h)
    {
        TObject* pObject = new TObject;
        pObject->*TObject::HandleMember = h;
        return pObject;
    }

private:
    static CHandleMap<TObject, THandle>& Map() { return CHandleMap<TObject, THandle>::Get(); }
    THandle& Handle() { return static_cast<TObject*>(this)->*TObject::HandleMember; }
};
