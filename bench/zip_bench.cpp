// Compression of a 20 MB data archive by the zip writer's own deflate engine against zlib at the same level
// (8), in the same run, and the restore of the backup of that archive. Prints the best of three runs of each, in
// milliseconds, with the compressed sizes and the ratios.
#include "app/ArchiveBackup.h"
#include "app/ArchiveRestore.h"
#include "app/TheApp.h"
#include "data/ADOConnection.h"
#include "data/DatabasePassword.h"
#include "data/DatabaseSchema.h"
#include "util/Deflate.h"
#include "util/MessageText.h"

#include "BenchSupport.h"

#include <zlib.h>

#include <cstdio>
#include <string>

namespace
{
const LONGLONG kArchiveSize = 20LL << 20;
const int kRuns = 3;

LONGLONG FileSize(LPCTSTR pszPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW(pszPath, GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string ReadFileBytes(LPCTSTR pszPath)
{
    std::string bytes;
    HANDLE h = ::CreateFileW(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    char buffer[65536];
    DWORD n = 0;
    while (h != INVALID_HANDLE_VALUE && ::ReadFile(h, buffer, sizeof(buffer), &n, nullptr) && n > 0)
        bytes.append(buffer, n);
    if (h != INVALID_HANDLE_VALUE)
        ::CloseHandle(h);
    return bytes;
}

// An archive grown to the size with rows of the kind an authority's data hold: names, codes and amounts.
void MakeArchive(LPCTSTR pszPath)
{
    static const LPCTSTR words[] = { L"Entrate", L"correnti", L"tributarie", L"trasferimenti", L"Regione",
                                     L"spese", L"personale", L"servizi", L"Ragioneria", L"capitolo", L"art.",
                                     L"competenza", L"cassa", L"residui", L"Comune", L"Provincia" };
    CreateDataArchive(pszPath, GetArchivePassword());
    CADOConnection connection;
    connection.CreateConnection();
    connection.Open(CADOConnection::FormatConnectionString(pszPath, GetArchivePassword()), TRUE);
    unsigned seed = 12345;
    int nRow = 0;
    while (FileSize(pszPath) < kArchiveSize) {
        CADOTransaction transaction(connection);
        for (int i = 0; i < 5000; ++i, ++nRow) {
            CString strValue;
            while (strValue.GetLength() < 200) {
                seed = seed * 1103515245 + 12345;
                strValue += words[(seed >> 16) % 16];
                strValue += FormatString(L" %u,%02u ", (seed >> 8) % 100000, seed % 100);
            }
            connection.Execute(FormatString(L"INSERT INTO [DatiEnte] ([ID], [value]) VALUES ('r%07d', '%s')", nRow,
                                            strValue.Left(250).GetString()),
                               nullptr, adCmdText | adExecuteNoRecords);
        }
        transaction.Commit();
    }
    connection.Close();
}

double Best(double best, double elapsed)
{
    return best < 0 || elapsed < best ? elapsed : best;
}

double RunOwn(const std::string& data, size_t& nCompressed)
{
    double start = BenchNow();
    size_t nPos = 0;
    nCompressed = 0;
    CDeflater deflater(8);
    deflater.Compress(
        [&](BYTE* pBuffer, size_t nSize) {
            size_t n = std::min(nSize, data.size() - nPos);
            memcpy(pBuffer, data.data() + nPos, n);
            nPos += n;
            return n;
        },
        [&](const BYTE*, size_t nSize) {
            nCompressed += nSize;
            return true;
        });
    return BenchNow() - start;
}

// zlib fed as the writer feeds its engine: 64 KiB in, 16 KiB out at a time.
double RunZlib(const std::string& data, size_t& nCompressed)
{
    double start = BenchNow();
    z_stream stream = {};
    deflateInit2(&stream, 8, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(16384, '\0');
    size_t nPos = 0;
    nCompressed = 0;
    int result = Z_OK;
    while (result != Z_STREAM_END) {
        if (stream.avail_in == 0 && nPos < data.size()) {
            size_t n = std::min<size_t>(65536, data.size() - nPos);
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + nPos));
            stream.avail_in = static_cast<uInt>(n);
            nPos += n;
        }
        stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
        stream.avail_out = static_cast<uInt>(out.size());
        result = deflate(&stream, nPos < data.size() ? Z_NO_FLUSH : Z_FINISH);
        nCompressed += out.size() - stream.avail_out;
    }
    deflateEnd(&stream);
    return BenchNow() - start;
}

} // namespace

int main()
{
    ::CoInitialize(nullptr);
    CString strArchive = BenchTempFile(L"zip", L"Archivio.mdb");
    CString strZip = BenchTempFile(L"zip", L"backup.zip");
    MakeArchive(strArchive);
    std::string data = ReadFileBytes(strArchive);
    std::printf("archive: %.1f MB\n", static_cast<double>(data.size()) / (1 << 20));

    double own = -1, zlib = -1;
    size_t nOwn = 0, nZlib = 0;
    for (int run = 0; run < kRuns; ++run) {
        own = Best(own, RunOwn(data, nOwn));
        zlib = Best(zlib, RunZlib(data, nZlib));
    }
    std::printf("own deflate, level 8:  %8.1f ms  %10zu bytes\n", own, nOwn);
    std::printf("zlib deflate, level 8: %8.1f ms  %10zu bytes\n", zlib, nZlib);
    std::printf("time ratio own/zlib: %.2f (target at most 1.50); size ratio: %.4f\n", own / zlib,
                static_cast<double>(nOwn) / static_cast<double>(nZlib));

    double backup = BenchNow();
    bool bWritten = WriteArchiveZip(strZip, strArchive, L"Archivio.mdb");
    backup = BenchNow() - backup;
    double restore = -1;
    for (int run = 0; run < kRuns && bWritten; ++run) {
        double start = BenchNow();
        if (!CArchiveRestore(strArchive, L"Archivio.mdb", CTheApp::ARCHIVE_VERSION).Run(strZip))
            break;
        restore = Best(restore, BenchNow() - start);
    }
    std::printf("backup (zip written): %8.1f ms, %lld bytes\n", backup, FileSize(strZip));
    std::printf("restore of that backup: %8.1f ms (target under 1000)\n", restore);
    ::DeleteFileW(strArchive);
    ::DeleteFileW(strZip);
    ::CoUninitialize();
    return bWritten && restore >= 0 ? 0 : 1;
}
