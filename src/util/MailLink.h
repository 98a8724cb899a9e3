// mailto: links that open the user's mail program on a prepared message.
#pragma once

#include "platform/mfc/afxstr.h"

// The authority's contact data as the maker's messages show it; an empty value keeps its dotted placeholder.
struct CEnteContatti
{
    CString strEnte = L"Comune di ....................";
    CString strProvincia = L"....................";
    CString strTelefono = L"....................";
    CString strFax = L"....................";
    CString strMail = L"....................";
};

// Every byte of the text's UTF-8 form outside the unreserved set (letters, digits, "-", ".", "_", "~") written as
// "%XX", so that no character of the data can end a field or start another one.
CString PercentEncode(LPCTSTR lpszText);

// "mailto:<address>?subject=<subject>&body=<body>" with subject and body percent-encoded.
CString BuildMailtoLink(LPCTSTR lpszAddress, LPCTSTR lpszSubject, LPCTSTR lpszBody);

// The information request to the maker, filled with the authority's data.
CString BuildInfoRequestLink(const CEnteContatti& ente);
