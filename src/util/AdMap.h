// A framework map that can be assigned, so that maps can be kept as values of other maps (the importers
// keep the amounts of each source row by field name: CAdMap<CString, LPCTSTR, COleCurrency, const
// COleCurrency&>). Text keys compare case-sensitively.
#pragma once

#include "platform/mfc/afxtempl.h"

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CAdMap : public CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>
{
public:
    CAdMap() = default;

    // Replaces every entry by the source's, in a hash table of the source's size.
    CAdMap& operator=(const CAdMap& src)
    {
        if (this == &src)
            return *this;
        this->RemoveAll();
        if (!src.IsEmpty()) {
            this->InitHashTable(src.GetHashTableSize());
            KEY key;
            VALUE value;
            for (POSITION pos = src.GetStartPosition(); pos;) {
                src.GetNextAssoc(pos, key, value);
                this->SetAt(key, value);
            }
        }
        return *this;
    }
};
