// The number of GDI objects the process holds, for tests that a gesture or a drawing gives back what it made.
// Windows counts them in GetGuiResources; Wine answers 0 there, and its handle table (the PEB's
// GdiSharedHandleTable) belongs to the process alone, so its entries in use are the count.
#pragma once

#include <windows.h>
#include <winternl.h>

inline DWORD GdiObjectCount()
{
    if (DWORD nCount = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS))
        return nCount;
    struct HandleEntry   // Wine's entry: the same size for both targets
    {
        ULONGLONG nObject;
        ULONG nOwner;
        USHORT nUnique;
        UCHAR nType;
        UCHAR nFlags;
        ULONGLONG nUser;
    };
    typedef NTSTATUS(WINAPI * QueryProcess)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    auto pfnQuery = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION info = {};
    if (!pfnQuery || pfnQuery(::GetCurrentProcess(), ProcessBasicInformation, &info, sizeof(info), nullptr) != 0)
        return 0;
    const size_t nTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;
    const BYTE* pPeb = reinterpret_cast<const BYTE*>(info.PebBaseAddress);
    const HandleEntry* pTable = *reinterpret_cast<const HandleEntry* const*>(pPeb + nTableOffset);
    DWORD nCount = 0;
    for (size_t i = 0; pTable && i < 0x10000; ++i)
        nCount += pTable[i].nType != 0;
    return nCount;
}
