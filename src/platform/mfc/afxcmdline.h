// CCommandLineInfo: the framework's standard command line. A plain argument names a document to open;
// the flags ("/p", "/pt", "/dde", "/Embedding", "/Automation", "/Register", "/Unregister", with '/' or
// '-') ask for printing, DDE, automation or (un)registration. An automation or embedding start shows no
// splash window.
#pragma once

#include "afx.h"

class CCommandLineInfo : public CObject
{
public:
    CCommandLineInfo() = default;

    enum ShellCommand
    {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        AppRegister,
        AppUnregister,
        FileNothing = -1
    };

    // One argument: lpszParam without its '/' or '-' when bFlag; bLast for the last argument.
    virtual void ParseParam(LPCTSTR lpszParam, BOOL bFlag, BOOL bLast);

    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    ShellCommand m_nShellCommand = FileNew;
    CString m_strFileName;
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;

protected:
    void ParseParamFlag(LPCTSTR lpszParam);
    void ParseParamNotFlag(LPCTSTR lpszParam);
    void ParseLast(BOOL bLast);

    int m_nPrintToArgs = 0;   // arguments of "/pt" still expected: printer, driver, port
};
