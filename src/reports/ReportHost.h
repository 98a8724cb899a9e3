// What the text-document and report views need from the program: the data archive, the folders of the
// templates ("Doc") and of the user's copies ("DocUt"), and the product code that the fax form passes on. The application object provides it; the views find it
// through AfxGetApp, so that a view made by its run-time class needs nothing handed to it.
#pragma once

#include "data/ADOConnection.h"
#include "platform/mfc/afxwin.h"

class CReportHost
{
public:
    virtual CADOConnection& GetDataConnection() = 0;
    virtual CString GetDocDir() const = 0;
    virtual CString GetDocUtDir() const = 0;
    virtual CString GetProductCode() const = 0;

    // The application object's host; raises a framework error when the application provides none.
    static CReportHost& Get()
    {
        CReportHost* pHost = dynamic_cast<CReportHost*>(AfxGetApp());
        if (!pHost)
            AfxThrowNotSupportedException();
        return *pHost;
    }

protected:
    CReportHost() = default;
    ~CReportHost() = default;
};
