// The maker's addresses and the program's product code, kept in one place.
#pragma once

#include <windows.h>

namespace MakerInfo
{
const TCHAR kFtpHost[] = L"ftp.lumetra.example";
const TCHAR kFtpUser[] = L"aggiornamenti";
const TCHAR kFtpPassword[] = L"qdLurevo";
const TCHAR kFtpFolder[] = L"SwDownload/Ragioneria/Quarzel08";
const TCHAR kProductCode[] = L"12345678";
const TCHAR kInfoMail[] = L"informazioni@lumetra.example";
const TCHAR kSupportMail[] = L"assistenza@lumetra.example";
const TCHAR kWebSite[] = L"http://www.lumetra.example/";
} // namespace MakerInfo
