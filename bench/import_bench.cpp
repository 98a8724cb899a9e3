// Import of a 10,000-line certificate file into a new data archive with its recomputation: the best of five runs
// in milliseconds, with the reading and parsing of the file alone beside it.
#include "data/DatabaseSchema.h"
#include "import/ImportCC.h"
#include "import/ImportLines.h"
#include "import/ImportTarget.h"
#include "platform/mfc/afxmsgbox.h"

#include "BenchSupport.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace
{
const int kRuns = 5;
const int kLines = 10000;
const LPCTSTR kPassword = L"bench";

std::string Right(const std::string& text, size_t nWidth) { return std::string(nWidth - text.size(), ' ') + text; }

// A header, then "B" records of 417 characters (every code of the mapping among many others) and "A" records.
std::string MakeCertificate()
{
    std::string content = "02005 CERTIFICATO AL CONTO DEL BILANCIO\r\n";
    for (int i = 1; i < kLines; ++i) {
        char code[8];
        std::snprintf(code, sizeof(code), "%05d", 2000 + i % 2000);
        std::string line;
        if (i % 4 == 0) {
            line = "A" + std::string(11, ' ') + code + Right(std::to_string(i * 13), 20);
            line.resize(kCertLengthA, ' ');
        }
        else {
            line = "B" + std::string(11, ' ') + code;
            for (int k = 0; k < 20; ++k)
                line += Right(std::to_string((i * 31 + k * 7) % 1000000), 20);
        }
        content += line + "\r\n";
    }
    return content;
}

// The import's own messages (the confirmation at the end) are answered without a window.
int AnswerOk(const AFX_MSGBOX_REQUEST& /*request*/) { return IDOK; }

bool WriteAll(LPCTSTR pszPath, const std::string& content)
{
    HANDLE hFile = ::CreateFileW(pszPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD nWritten = 0;
    BOOL bOk = ::WriteFile(hFile, content.data(), static_cast<DWORD>(content.size()), &nWritten, nullptr);
    ::CloseHandle(hFile);
    return bOk && nWritten == content.size();
}
} // namespace

int main()
{
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    AfxSetMessageBoxHandler(AnswerOk);
    CString archive = BenchTempFile(L"import", L"Archivio.mdb");
    CString certificate = BenchTempFile(L"import", L"CC0501.txt");
    std::string content = MakeCertificate();
    if (!WriteAll(certificate, content)) {
        std::printf("cannot write %ls\n", certificate.GetString());
        return 1;
    }
    double parseBest = 1e9, importBest = 1e9;
    try {
        CreateDataArchive(archive, kPassword);
        CADOConnection data;
        data.CreateConnection();
        data.Open(CADOConnection::FormatConnectionString(archive, kPassword), TRUE);
        for (int run = 0; run < kRuns; ++run) {
            double start = BenchNow();
            size_t nStart = 0;
            int nRecords = 0;
            while (nStart < content.size()) {
                size_t nEnd = content.find("\r\n", nStart);
                nRecords += ParseCertLine(std::string_view(content).substr(nStart, nEnd - nStart)).kind == certRecord;
                nStart = nEnd + 2;
            }
            parseBest = std::min(parseBest, BenchNow() - start);
            start = BenchNow();
            if (!CImportCC(data, 2005, importSourceFields).Import(certificate)) {
                std::printf("the import failed\n");
                return 1;
            }
            importBest = std::min(importBest, BenchNow() - start);
            if (nRecords != kLines - 1)
                std::printf("parsed %d records of %d\n", nRecords, kLines - 1);
        }
        data.Close();
    }
    catch (const _com_error& e) {
        std::printf("error 0x%08lX\n", static_cast<unsigned long>(e.Error()));
        return 1;
    }
    std::printf("certificate of %d lines (%zu bytes), best of %d runs\n", kLines, content.size(), kRuns);
    std::printf("  parsing the lines        %7.1f ms\n", parseBest);
    std::printf("  import and recomputation %7.1f ms\n", importBest);
    ::DeleteFileW(certificate);
    ::DeleteFileW(archive);
    return 0;
}
