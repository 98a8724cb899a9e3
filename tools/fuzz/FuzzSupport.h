// What the fuzzing program's readers share: the generator's random source, byte-level mutation of a sample, and
// the entry of a reader in the program's table (tools/fuzz/quarzel_fuzz.cpp).
#pragma once

#include "platform/mfc/afx.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

class CFuzzRandom
{
public:
    explicit CFuzzRandom(unsigned long long nSeed) : m_gen(nSeed) {}

    size_t Below(size_t n) { return n == 0 ? 0 : static_cast<size_t>(m_gen() % n); }
    bool Chance(int nPercent) { return static_cast<int>(Below(100)) < nPercent; }
    template <class T> const T& Pick(const std::vector<T>& items) { return items[Below(items.size())]; }
    // Mostly small counts, now and then the lengths hostile files use.
    size_t Count()
    {
        static const size_t s_counts[] = {1, 2, 3, 5, 10, 50, 200, 1000, 20000};
        return Chance(80) ? 1 + Below(4) : s_counts[Below(sizeof s_counts / sizeof s_counts[0])];
    }
    double Double()
    {
        switch (Below(4)) {
        case 0: return static_cast<double>(static_cast<long long>(m_gen() % 2000001) - 1000000) / 100;
        case 1: return std::ldexp(static_cast<double>(m_gen() % 1000000) / 1000000, static_cast<int>(Below(2100)) - 1050);
        case 2: {
            unsigned long long bits = m_gen();
            double d;
            std::memcpy(&d, &bits, sizeof d);
            return d;
        }
        default: return (Chance(50) ? -1 : 1) * static_cast<double>(m_gen() % 100000000000000000ULL) / std::pow(10.0, Below(20));
        }
    }

private:
    std::mt19937_64 m_gen;
};

// Byte-level changes of a sample: flips, cuts, copies, dictionary words, long repetitions.
inline std::string Mutate(std::string s, CFuzzRandom& rnd, const std::vector<std::string>& dictionary)
{
    for (size_t n = 1 + rnd.Below(4); n > 0; --n) {
        size_t at = rnd.Below(s.size() + 1);
        switch (rnd.Below(7)) {
        case 0:
            if (!s.empty())
                s[rnd.Below(s.size())] = static_cast<char>(rnd.Below(256));
            break;
        case 1: s.erase(at, rnd.Count()); break;
        case 2: s.insert(at, s.substr(at, rnd.Count())); break;
        case 3: s.insert(at, rnd.Pick(dictionary)); break;
        case 4: {
            std::string word = rnd.Pick(dictionary), repeated;
            for (size_t i = rnd.Count(); i > 0; --i)
                repeated += word;
            s.insert(at, repeated);
            break;
        }
        case 5: s.resize(at); break;
        default: s.insert(at, std::to_string(rnd.Chance(50) ? rnd.Below(100) : rnd.Below(4000000000U)) + std::string(rnd.Below(3) * 20, '9')); break;
        }
    }
    return s;
}

inline CString Wide(const std::string& s) { return CString::FromMultiByte(s.data(), static_cast<int>(s.size()), 1252); }

// Files of the run: the input kept before it is tried, the findings, the stores that live in files.
inline bool ReadInput(const CString& strPath, std::string& input)
{
    HANDLE hFile = ::CreateFileW(strPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    DWORD dwRead = 0;
    bool bRead = ::GetFileSizeEx(hFile, &size) && size.QuadPart < 256 * 1024 * 1024;
    if (bRead) {
        input.resize(static_cast<size_t>(size.QuadPart));
        bRead = input.empty() || (::ReadFile(hFile, &input[0], static_cast<DWORD>(input.size()), &dwRead, nullptr) &&
                                  dwRead == input.size());
    }
    ::CloseHandle(hFile);
    return bRead;
}

inline bool WriteInput(const CString& strPath, const std::string& input)
{
    HANDLE hFile = ::CreateFileW(strPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD dwWritten = 0;
    BOOL bWritten = ::WriteFile(hFile, input.data(), static_cast<DWORD>(input.size()), &dwWritten, nullptr);
    ::CloseHandle(hFile);
    return bWritten && dwWritten == input.size();
}

// A file of the reader's own in the temporary folder, one per process.
inline CString ScratchFile(LPCTSTR lpszName)
{
    WCHAR szTemp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, szTemp);
    CString strPath;
    strPath.Format(L"%sQuarzelFuzz%lu-%s", szTemp, ::GetCurrentProcessId(), lpszName);
    return strPath;
}

// A reader: makes an input from the random source, and tries one, answering an empty text or the rule its result
// broke; a reader that counts what its inputs reach says so in the summary of the run.
struct CReader
{
    const char* pszName;
    std::function<std::string(CFuzzRandom&)> generate;
    std::function<std::string(const std::string&, CFuzzRandom&)> run;
    std::function<std::string()> summary = nullptr;
};
