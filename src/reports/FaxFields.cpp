#include "FaxFields.h"

#include "ReportFiller.h"
#include "resource.h"
#include "util/MessageText.h"
#include "util/VersionInfo.h"

CFaxTags GetCurrentFaxTags(LPCTSTR pszProductCode)
{
    CFaxTags tags;
    WCHAR date[80] = {};
    ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, _countof(date));
    tags.strDate = date;
    tags.strProduct = pszProductCode;
    tags.strAppName = LoadResString(IDS_APP_SUBTITLE);
    const DWORD version = GetFileVersionNumber();
    tags.strVersion = FormatString(L"%d.%02d", static_cast<int>(version >> 24), static_cast<int>((version >> 16) & 0xFF));
    return tags;
}

void FillFaxTags(CTextDocument& doc, const CFaxTags& tags)
{
    ReplaceEveryTag(doc, L"$D", tags.strDate);
    ReplaceEveryTag(doc, L"$P", tags.strProduct);
    ReplaceEveryTag(doc, L"$N", tags.strAppName);
    ReplaceEveryTag(doc, L"$V", tags.strVersion);
}
