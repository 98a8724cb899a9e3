// A framework array that can be copied and assigned, element by element, so that arrays can be kept as
// values inside other arrays (the form descriptions nest sheets, rows and cells this way).
#pragma once

#include "platform/mfc/afxtempl.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CAdArray : public CArray<TYPE, ARG_TYPE>
{
public:
    CAdArray() = default;
    CAdArray(const CAdArray& src) : CArray<TYPE, ARG_TYPE>() { this->Copy(src); }
    CAdArray& operator=(const CAdArray& src)
    {
        this->Copy(src);
        return *this;
    }
};
