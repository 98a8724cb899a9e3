#include "afxcmdline.h"

void CCommandLineInfo::ParseParam(LPCTSTR lpszParam, BOOL bFlag, BOOL bLast)
{
    if (bFlag)
        ParseParamFlag(lpszParam);
    else
        ParseParamNotFlag(lpszParam);
    ParseLast(bLast);
}

void CCommandLineInfo::ParseParamFlag(LPCTSTR lpszParam)
{
    CString strParam(lpszParam);
    if (strParam.CompareNoCase(L"pt") == 0) {
        m_nShellCommand = FilePrintTo;
        m_nPrintToArgs = 3;
    } else if (strParam.CompareNoCase(L"p") == 0) {
        m_nShellCommand = FilePrint;
    } else if (strParam.CompareNoCase(L"dde") == 0) {
        m_nShellCommand = FileDDE;
    } else if (strParam.CompareNoCase(L"Embedding") == 0) {
        m_bRunEmbedded = TRUE;
        m_bShowSplash = FALSE;
    } else if (strParam.CompareNoCase(L"Automation") == 0) {
        m_bRunAutomated = TRUE;
        m_bShowSplash = FALSE;
    } else if (strParam.CompareNoCase(L"Register") == 0 || strParam.CompareNoCase(L"Regserver") == 0) {
        m_nShellCommand = AppRegister;
    } else if (strParam.CompareNoCase(L"Unregister") == 0 || strParam.CompareNoCase(L"Unregserver") == 0) {
        m_nShellCommand = AppUnregister;
    }
}

void CCommandLineInfo::ParseParamNotFlag(LPCTSTR lpszParam)
{
    // "/pt file printer driver port": the arguments after the file name name the printer.
    if (m_nShellCommand == FilePrintTo && !m_strFileName.IsEmpty() && m_nPrintToArgs > 0) {
        CString* targets[] = {&m_strPortName, &m_strDriverName, &m_strPrinterName};
        *targets[--m_nPrintToArgs] = lpszParam;
        return;
    }
    if (m_strFileName.IsEmpty())
        m_strFileName = lpszParam;
}

void CCommandLineInfo::ParseLast(BOOL bLast)
{
    if (bLast && m_nShellCommand == FileNew && !m_strFileName.IsEmpty())
        m_nShellCommand = FileOpen;
}
