// The tags of the update fax form, filled after its field references.
#pragma once

#include "platform/textdoc/TextDocument.h"

struct CFaxTags
{
    CString strDate;       // "$D": today, the user's short date
    CString strProduct;    // "$P": the product code
    CString strAppName;    // "$N": the application's title
    CString strVersion;    // "$V": "major.minor" of the program file
};

// Today's values; the product code is the caller's.
CFaxTags GetCurrentFaxTags(LPCTSTR pszProductCode);

// Each tag at every occurrence, in the order $D, $P, $N, $V.
void FillFaxTags(CTextDocument& doc, const CFaxTags& tags);
