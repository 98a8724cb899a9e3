// Reading a whole UTF-8 text file, for tests that check the sources the build compiles.
#pragma once

#include "platform/mfc/afxstr.h"

#include <cstdio>
#include <string>

// The file's text, or an empty text when it cannot be opened.
inline CString ReadUtf8File(const CString& strPath)
{
    FILE* pFile = _wfopen(strPath, L"rb");
    if (!pFile)
        return CString();
    std::string bytes;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pFile)) > 0;)
        bytes.append(buffer, n);
    std::fclose(pFile);
    return CString::FromMultiByte(bytes.data(), static_cast<int>(bytes.size()), CP_UTF8);
}
