#include "afxhandlemap.h"

#include <algorithm>
#include <vector>

namespace
{
// Made by the first map of the thread, so it outlives them all at the thread's end.
std::vector<CHandleMapBase*>& ThreadMaps()
{
    static thread_local std::vector<CHandleMapBase*> maps;
    return maps;
}
} // namespace

CHandleMapBase::CHandleMapBase() { ThreadMaps().push_back(this); }

CHandleMapBase::~CHandleMapBase()
{
    std::vector<CHandleMapBase*>& maps = ThreadMaps();
    maps.erase(std::remove(maps.begin(), maps.end(), this), maps.end());
}

void CHandleMapBase::DeleteAllTemp()
{
    // By index: a destructor may bring a new kind's map to life.
    std::vector<CHandleMapBase*>& maps = ThreadMaps();
    for (size_t i = 0; i < maps.size(); ++i)
        maps[i]->DeleteTemp();
}
