// The ways a handler can fail, for the tests of the exception nets, and the text the user is then shown.
#pragma once

#include "platform/mfc/afxwin.h"
#include "platform/mfc/afxres.h"

#include <comdef.h>

#include <new>
#include <stdexcept>

enum class HandlerFailure
{
    file,          // a framework exception with a text of its own
    user,          // the user has already been told
    database,      // a database error with its description
    comCode,       // a COM error with no description: the system's text of its code
    standard,      // a standard-library exception
    memory,        // out of memory outside the framework
    foreign,       // anything else
};

const HandlerFailure g_allHandlerFailures[] = {HandlerFailure::file,     HandlerFailure::user,
                                               HandlerFailure::database, HandlerFailure::comCode,
                                               HandlerFailure::standard, HandlerFailure::memory,
                                               HandlerFailure::foreign};

const wchar_t g_szDatabaseError[] = L"Impossibile trovare la tabella 'Entrate'.";

[[noreturn]] inline void ThrowHandlerFailure(HandlerFailure failure)
{
    switch (failure) {
    case HandlerFailure::file:
        AfxThrowFileException(CFileException::fileNotFound, -1, L"C:\\nessuno.txt");
    case HandlerFailure::user:
        AfxThrowUserException();
    case HandlerFailure::database: {
        ICreateErrorInfo* pCreate = nullptr;
        IErrorInfo* pInfo = nullptr;
        if (SUCCEEDED(::CreateErrorInfo(&pCreate))) {
            pCreate->SetDescription(const_cast<LPOLESTR>(g_szDatabaseError));
            pCreate->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&pInfo));
            pCreate->Release();
        }
        throw _com_error(E_FAIL, pInfo);
    }
    case HandlerFailure::comCode:
        throw _com_error(E_ACCESSDENIED);
    case HandlerFailure::standard:
        throw std::runtime_error("Perché il file \xC3\xA8 bloccato");   // UTF-8
    case HandlerFailure::memory:
        throw std::bad_alloc();
    case HandlerFailure::foreign:
        break;
    }
    throw 42;
}

inline CString ResourceText(UINT nID)
{
    CString text;
    text.LoadString(nID);
    return text;
}

// Empty when nothing is to be shown.
inline CString ExpectedFailureText(HandlerFailure failure)
{
    switch (failure) {
    case HandlerFailure::file: {
        CFileException e(CFileException::fileNotFound, -1, L"C:\\nessuno.txt");
        TCHAR szText[512];
        e.GetErrorMessage(szText, 512);
        return szText;
    }
    case HandlerFailure::user:
        return CString();
    case HandlerFailure::database:
        return g_szDatabaseError;
    case HandlerFailure::comCode:
        return _com_error(E_ACCESSDENIED).ErrorMessage();
    case HandlerFailure::standard:
        return L"Perch\u00E9 il file \u00E8 bloccato";
    case HandlerFailure::memory:
        return ResourceText(AFX_IDS_MEMORY_EXCEPTION);
    case HandlerFailure::foreign:
        break;
    }
    return ResourceText(AFX_IDS_UNKNOWN_EXCEPTION);
}
