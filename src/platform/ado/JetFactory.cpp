#include "platform/ado/JetCommand.h"
#include "platform/ado/JetRecordset.h"

HRESULT AdoCreateInstance(REFCLSID clsid, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    CAdoPtr<IDispatch> object;
    if (clsid == __uuidof(Connection))
        object = static_cast<_Connection*>(new CJetConnection);
    else if (clsid == __uuidof(Recordset))
        object = static_cast<_Recordset*>(new CJetRecordset);
    else if (clsid == __uuidof(Command))
        object = static_cast<_Command*>(new CJetCommand);
    else
        return REGDB_E_CLASSNOTREG;
    return object->QueryInterface(riid, ppv);
}
