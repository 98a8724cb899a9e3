#include "util/MailLink.h"

#include "util/MakerInfo.h"
#include "util/MessageText.h"
#include "resource.h"

#include <string>

CString PercentEncode(LPCTSTR lpszText)
{
    CString strText(lpszText);
    CString strEncoded;
    if (strText.IsEmpty())
        return strEncoded;
    int nBytes = ::WideCharToMultiByte(CP_UTF8, 0, strText, strText.GetLength(), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(nBytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, strText, strText.GetLength(), &utf8[0], nBytes, nullptr, nullptr);
    static const char kHex[] = "0123456789ABCDEF";
    for (unsigned char byte : utf8)
    {
        bool bUnreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
        if (bUnreserved)
            strEncoded += static_cast<TCHAR>(byte);
        else
        {
            strEncoded += L'%';
            strEncoded += static_cast<TCHAR>(kHex[byte >> 4]);
            strEncoded += static_cast<TCHAR>(kHex[byte & 0x0F]);
        }
    }
    return strEncoded;
}

CString BuildMailtoLink(LPCTSTR lpszAddress, LPCTSTR lpszSubject, LPCTSTR lpszBody)
{
    return CString(L"mailto:") + lpszAddress + L"?subject=" + PercentEncode(lpszSubject) + L"&body=" +
           PercentEncode(lpszBody);
}

namespace {

const CString& OrPlaceholder(const CString& strValue, const CString& strPlaceholder)
{
    return strValue.IsEmpty() ? strPlaceholder : strValue;
}

} // namespace

CString BuildInfoRequestLink(const CEnteContatti& ente)
{
    const CEnteContatti placeholders;
    const CString& strEnte = OrPlaceholder(ente.strEnte, placeholders.strEnte);
    CString strSubject = FormatString(LoadResString(IDS_MAIL_INFO_SUBJECT), strEnte.GetString());
    CString strBody = FormatString(LoadResString(IDS_MAIL_INFO_BODY), strEnte.GetString(),
                                   OrPlaceholder(ente.strProvincia, placeholders.strProvincia).GetString(),
                                   OrPlaceholder(ente.strTelefono, placeholders.strTelefono).GetString(),
                                   OrPlaceholder(ente.strFax, placeholders.strFax).GetString(),
                                   OrPlaceholder(ente.strMail, placeholders.strMail).GetString());
    return BuildMailtoLink(MakerInfo::kInfoMail, strSubject, strBody);
}
