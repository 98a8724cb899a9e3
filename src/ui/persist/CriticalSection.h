// The framework's critical section, and a guard that holds one for the length of a scope.
#pragma once

#include <windows.h>

class CXTPCriticalSection
{
public:
    CXTPCriticalSection() { ::InitializeCriticalSection(&m_cs); }
    ~CXTPCriticalSection() { ::DeleteCriticalSection(&m_cs); }
    CXTPCriticalSection(const CXTPCriticalSection&) = delete;
    CXTPCriticalSection& operator=(const CXTPCriticalSection&) = delete;

    void EnterCritical() { ::EnterCriticalSection(&m_cs); }
    void LeaveCritical() { ::LeaveCriticalSection(&m_cs); }

private:
    CRITICAL_SECTION m_cs;
};

class CXTPLockGuard
{
public:
    explicit CXTPLockGuard(CXTPCriticalSection& cs) : m_pCS(&cs) { m_pCS->EnterCritical(); }
    ~CXTPLockGuard() { m_pCS->LeaveCritical(); }
    CXTPLockGuard(const CXTPLockGuard&) = delete;
    CXTPLockGuard& operator=(const CXTPLockGuard&) = delete;

private:
    CXTPCriticalSection* m_pCS;
};
