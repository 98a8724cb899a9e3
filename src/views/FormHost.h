// What the form views need from the program: the data archive's connection and the folder of the workbooks.
// The application object provides it; the views find it through AfxGetApp, so that a view made by its run-time
// class needs nothing handed to it.
#pragma once

#include "data/ADOConnection.h"
#include "platform/mfc/afxwin.h"

class CFormHost
{
public:
    virtual CADOConnection& GetDataConnection() = 0;
    virtual CString GetFormDir() const = 0;

    // The application object's host; raises a framework error when the application provides none.
    static CFormHost& Get()
    {
        CFormHost* pHost = dynamic_cast<CFormHost*>(AfxGetApp());
        if (!pHost)
            AfxThrowNotSupportedException();
        return *pHost;
    }

protected:
    CFormHost() = default;
    ~CFormHost() = default;
};
