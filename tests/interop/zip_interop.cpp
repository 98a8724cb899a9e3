// The program's side of the zip interoperability check (tests/interop/zip-interop.py): "write <folder>" writes
// sample files and zips of them with the program's writer, to a file and through a pipe; "list <zip>..." reads zips
// made by other tools with the program's reader and prints one line per item.
#include "util/Crc32.h"
#include "util/PathUtil.h"
#include "util/ZipReader.h"
#include "util/ZipWriter.h"

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

bool WriteFileBytes(LPCTSTR pszPath, const std::string& bytes)
{
    HANDLE h = ::CreateFileW(pszPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool bOk = ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
               written == bytes.size();
    ::CloseHandle(h);
    return bOk;
}

std::string SampleText(size_t nSize)
{
    std::string text;
    unsigned seed = 1;
    while (text.size() < nSize) {
        seed = seed * 1103515245 + 12345;
        text += "Saldo finanziario " + std::to_string((seed >> 8) % 100000) + " competenza e cassa\r\n";
    }
    text.resize(nSize);
    return text;
}

std::string SampleBinary(size_t nSize)
{
    std::string bytes(nSize, '\0');
    unsigned seed = 7;
    for (size_t i = 0; i < nSize; ++i) {
        seed = seed * 1103515245 + 12345;
        bytes[i] = static_cast<char>(i % 4096 < 2048 ? (seed >> 16) : (i / 64) & 0xFF);
    }
    return bytes;
}

const DWORD SUMMER_2008 = 1216116000;   // 15 July 2008 10:00 UTC: its local time has the summer offset

bool SetWriteTime(LPCTSTR pszPath, DWORD dwUnixTime)
{
    HANDLE h = ::CreateFileW(pszPath, FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    FILETIME ft = UnixTimeToFileTime(dwUnixTime);
    bool bOk = ::SetFileTime(h, nullptr, nullptr, &ft) != FALSE;
    ::CloseHandle(h);
    return bOk;
}

struct Item
{
    LPCTSTR name;     // in the zip
    LPCTSTR file;     // below the sample folder, or null for a folder or memory item
    int kind;
};

const Item ITEMS[] = {
    { L"Dati", nullptr, ZIP_FOLDER },
    { L"Dati\\testo.txt", L"testo.txt", ZIP_FILENAME },
    { L"vuoto.txt", L"vuoto.txt", ZIP_FILENAME },
    { L"sola lettura.txt", L"sola lettura.txt", ZIP_FILENAME },
    { L"Dati\\archivio.mdb", L"archivio.mdb", ZIP_FILENAME },
    { L"dati.zip", L"dati.zip", ZIP_FILENAME },
    { L"memoria.bin", nullptr, ZIP_MEMORY },
};

ZRESULT AddItems(ZipHandle hz, const CString& strSamples, const std::string& memory)
{
    for (const Item& item : ITEMS) {
        ZRESULT result = item.kind == ZIP_FILENAME
                             ? ZipAdd(hz, item.name, CombinePath(strSamples, item.file).GetString(), 0, item.kind)
                             : ZipAdd(hz, item.name, memory.data(), memory.size(), item.kind);
        if (result != ZR_OK)
            return result;
    }
    return ZR_OK;
}

int Write(const CString& strFolder)
{
    CString strSamples = CombinePath(strFolder, L"src");
    EnsureFolder(strSamples);
    std::string memory = SampleText(5000);
    if (!WriteFileBytes(CombinePath(strSamples, L"testo.txt"), SampleText(100000)) ||
        !WriteFileBytes(CombinePath(strSamples, L"vuoto.txt"), "") ||
        !WriteFileBytes(CombinePath(strSamples, L"sola lettura.txt"), "non si tocca") ||
        !WriteFileBytes(CombinePath(strSamples, L"archivio.mdb"), SampleBinary(300000)) ||
        !WriteFileBytes(CombinePath(strSamples, L"dati.zip"), SampleBinary(20000)) ||
        !WriteFileBytes(CombinePath(strSamples, L"memoria.bin"), memory) ||
        !SetWriteTime(CombinePath(strSamples, L"testo.txt"), SUMMER_2008) ||
        !::SetFileAttributesW(CombinePath(strSamples, L"sola lettura.txt"), FILE_ATTRIBUTE_READONLY)) {
        std::fprintf(stderr, "cannot write the samples\n");
        return 1;
    }

    CString strZip = CombinePath(strFolder, L"own.zip");
    ZipHandle hz = CreateZip(const_cast<LPTSTR>(strZip.GetString()), 0, ZIP_FILENAME);
    ZRESULT result = hz ? AddItems(hz, strSamples, memory) : ZR_NOFILE;
    if (hz) {
        ZRESULT closed = CloseZip(hz);
        result = result != ZR_OK ? result : closed;
    }
    if (result != ZR_OK) {
        std::fprintf(stderr, "own.zip: result 0x%lX\n", static_cast<unsigned long>(result));
        return 1;
    }

    // Through a pipe, which cannot seek: the sizes follow each item's data.
    HANDLE hRead = nullptr, hWrite = nullptr;
    if (!::CreatePipe(&hRead, &hWrite, nullptr, 65536))
        return 1;
    std::string piped;
    std::thread drain([hRead, &piped] {
        char buffer[65536];
        DWORD n = 0;
        while (::ReadFile(hRead, buffer, sizeof(buffer), &n, nullptr) && n > 0)
            piped.append(buffer, n);
    });
    hz = CreateZip(hWrite, 0, ZIP_HANDLE);
    result = hz ? AddItems(hz, strSamples, memory) : ZR_NODUPH;
    if (hz) {
        ZRESULT closed = CloseZip(hz);
        result = result != ZR_OK ? result : closed;
    }
    ::CloseHandle(hWrite);
    drain.join();
    ::CloseHandle(hRead);
    if (result != ZR_OK || !WriteFileBytes(CombinePath(strFolder, L"own-pipe.zip"), piped)) {
        std::fprintf(stderr, "own-pipe.zip: result 0x%lX\n", static_cast<unsigned long>(result));
        return 1;
    }
    return 0;
}

DWORD UnixTime(const FILETIME& ft)
{
    ULONGLONG ticks = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<DWORD>((ticks - 116444736000000000ULL) / 10000000ULL);
}

std::string Utf8(LPCTSTR psz)
{
    int n = ::WideCharToMultiByte(CP_UTF8, 0, psz, -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
    if (n > 1)
        ::WideCharToMultiByte(CP_UTF8, 0, psz, -1, &s[0], n, nullptr, nullptr);
    return s;
}

// name, size, declared CRC, folder, read-only, modification time (Unix), CRC of the extracted data
int List(LPCTSTR pszZip)
{
    ZipHandle hz = OpenZip(pszZip, 0, ZIP_FILENAME);
    if (!hz) {
        std::fprintf(stderr, "cannot open %s\n", Utf8(pszZip).c_str());
        return 1;
    }
    ZipEntry entry = {};
    GetZipItem(hz, -1, &entry);
    int nCount = entry.index;
    std::vector<BYTE> buffer(65536);
    int nResult = 0;
    for (int i = 0; i < nCount && nResult == 0; ++i) {
        if (GetZipItem(hz, i, &entry) != ZR_OK) {
            nResult = 1;
            break;
        }
        ULONGLONG nSize = 0;
        uint32_t crc = 0;
        ZRESULT result;
        while ((result = UnzipItem(hz, i, buffer.data(), buffer.size(), ZIP_MEMORY)) == ZR_MORE) {
            size_t nPart = static_cast<size_t>(std::min<ULONGLONG>(buffer.size(), entry.unc_size - nSize));
            crc = UpdateCrc32(crc, buffer.data(), nPart);
            nSize += nPart;
        }
        if (result != ZR_OK)
            nResult = 1;
        std::printf("%s\t%lld\t%08lx\t%d\t%d\t%lu\t%08lx\n", Utf8(entry.name).c_str(), entry.unc_size,
                    static_cast<unsigned long>(entry.crc), (entry.attr & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0,
                    (entry.attr & FILE_ATTRIBUTE_READONLY) ? 1 : 0, static_cast<unsigned long>(UnixTime(entry.mtime)),
                    static_cast<unsigned long>(crc));
    }
    CloseUnzip(hz);
    return nResult;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 3 && CString(argv[1]) == L"write")
        return Write(argv[2]);
    if (argc >= 3 && CString(argv[1]) == L"list") {
        int nResult = 0;
        for (int i = 2; i < argc; ++i) {
            std::printf("#\t%s\n", Utf8(argv[i]).c_str());
            nResult |= List(argv[i]);
        }
        return nResult;
    }
    std::fprintf(stderr, "usage: zip_interop write <folder> | list <zip>...\n");
    return 2;
}
