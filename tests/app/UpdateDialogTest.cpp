#include "dialogs/DlgUpdate.h"
#include "platform/mfc/afxshell.h"
#include "resource.h"
#include "support/MessageBoxRecorder.h"
#include "support/ModalDialogDriver.h"
#include "support/TempFolder.h"
#include "util/MessageText.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

// An update server in memory: its files, a folder that may be missing, a download that may break after some bytes
// or end early while the server reports the whole size, and a hook run before each read (where a test presses
// Annulla).
class CFakeUpdateServer : public CUpdateServer
{
public:
    struct Share
    {
        std::map<CString, std::string> files;
        CString folder = L"SwDownload/Ragioneria/Quarzel08";
        size_t nBreakAfter = std::string::npos;
        size_t nEndAfter = std::string::npos;   // the transfer ends there
        bool bReportsSize = true;
        std::function<void(size_t)> beforeRead;
        std::vector<std::pair<CString, BOOL>> opened;
    };

    explicit CFakeUpdateServer(Share& share) : m_share(share) {}

    void Connect() override {}
    BOOL SetCurrentDirectory(LPCTSTR lpszFolder) override
    {
        if (m_share.folder == lpszFolder)
            return TRUE;
        ::SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    BOOL GetFileSize(LPCTSTR lpszName, ULONGLONG& nSize) override
    {
        auto it = m_share.files.find(lpszName);
        if (!m_share.bReportsSize || it == m_share.files.end())
            return FALSE;
        nSize = it->second.size();
        return TRUE;
    }
    std::unique_ptr<CUpdateServerFile> OpenFile(LPCTSTR lpszName, BOOL bBinary) override
    {
        m_share.opened.emplace_back(lpszName, bBinary);
        auto it = m_share.files.find(lpszName);
        if (it == m_share.files.end())
            AfxThrowInternetException(1, ERROR_INTERNET_EXTENDED_ERROR + 1);
        return std::make_unique<File>(m_share, it->second);
    }

private:
    class File : public CUpdateServerFile
    {
    public:
        File(Share& share, const std::string& bytes) : m_share(share), m_bytes(bytes) {}
        UINT Read(void* lpBuf, UINT nCount) override
        {
            if (m_share.beforeRead)
                m_share.beforeRead(m_nPos);
            if (m_nPos >= m_share.nBreakAfter)
                AfxThrowInternetException(1, ERROR_INTERNET_CONNECTION_RESET);
            size_t nRead = std::min<size_t>(nCount, std::min(m_bytes.size(), m_share.nEndAfter) - m_nPos);
            memcpy(lpBuf, m_bytes.data() + m_nPos, nRead);
            m_nPos += nRead;
            return static_cast<UINT>(nRead);
        }

    private:
        Share& m_share;
        const std::string& m_bytes;
        size_t m_nPos = 0;
    };

    Share& m_share;
};

std::vector<CString> g_started;

INT_PTR RecordStart(HWND, LPCWSTR lpszTarget, int)
{
    g_started.push_back(lpszTarget);
    return 42;
}

const size_t kSetupSize = 40 * 1024 + 100;   // announced as 41 KB
const char kInfo[] = "Msg01$Versione di prova: aggiornamento non previsto\r\n"
                     "Msg02$Leggere le note di rilascio\r\n"
                     "Info$1.05$Msg01\r\n"
                     "Update$1.05$2.00$Msg02\r\n"
                     "Release$2.01$Setup201.exe$41$Correzioni\r\n";

enum class Setup { None, Whole, Partial };

struct UpdateCase
{
    const char* name;
    int nMajor, nMinor;
    const char* info;          // null: the descriptor above
    const char* folder;        // null: the program's folder on the server
    Setup existing;            // what the update folder holds before
    std::vector<int> answers;  // to the message boxes, in order
    size_t nBreakAfter;        // the download breaks after this many bytes
    size_t nEndAfter;          // the server ends the transfer after this many bytes, its size reported whole
    size_t nCancelAt;          // Annulla pressed before the read at this offset
    UINT nLastMessage;         // the last message box shown (0: its text is the Info message)
    UINT nLastIcon;
    BOOL bStarted;
    Setup left;                // what the update folder holds after
    bool bServerSize = true;   // the server tells the setup's size
};

const size_t npos = std::string::npos;

const UpdateCase kCases[] = {
    { "already current", 2, 1, nullptr, nullptr, Setup::None, {}, npos, npos, npos, IDP_UPD_ALREADY_CURRENT,
      MB_ICONINFORMATION, FALSE, Setup::None },
    { "Info version refused though listed under Update", 1, 5, nullptr, nullptr, Setup::None, {}, npos, npos, npos,
      0, MB_ICONERROR, FALSE, Setup::None },
    { "not in Update", 1, 90, nullptr, nullptr, Setup::None, {}, npos, npos, npos, IDP_UPD_NOT_COMPATIBLE,
      MB_ICONERROR, FALSE, Setup::None },
    { "folder missing on the server", 2, 0, nullptr, "Altrove", Setup::None, {}, npos, npos, npos, 0, MB_ICONERROR,
      FALSE, Setup::None },
    { "descriptor syntax error", 2, 0, "Release$2.01$$41$x\r\n", nullptr, Setup::None, {}, npos, npos, npos,
      IDP_UPD_SYNTAX, MB_ICONERROR, FALSE, Setup::None },
    { "question No", 2, 0, nullptr, nullptr, Setup::None, { IDOK, IDNO }, npos, npos, npos, IDP_UPD_AVAILABLE,
      MB_ICONQUESTION, FALSE, Setup::None },
    { "question Yes, download, OK starts it", 2, 0, nullptr, nullptr, Setup::None, { IDOK, IDYES, IDOK }, npos,
      npos, npos, IDP_UPD_CLOSE_PROGRAM, MB_ICONINFORMATION, TRUE, Setup::Whole },
    { "question Yes, download, Cancel keeps it", 2, 0, nullptr, nullptr, Setup::None, { IDOK, IDYES, IDCANCEL },
      npos, npos, npos, IDP_UPD_CLOSE_PROGRAM, MB_ICONINFORMATION, FALSE, Setup::Whole },
    { "existing whole copy, No runs it", 2, 0, nullptr, nullptr, Setup::Whole, { IDOK, IDYES, IDNO, IDOK }, npos,
      npos, npos, IDP_UPD_CLOSE_PROGRAM, MB_ICONINFORMATION, TRUE, Setup::Whole },
    // The user's No runs the copy that is there, whatever its size: the descriptor's figure is a rounded one.
    { "existing copy of another size, No runs it", 2, 0, nullptr, nullptr, Setup::Partial,
      { IDOK, IDYES, IDNO, IDOK }, npos, npos, npos, IDP_UPD_CLOSE_PROGRAM, MB_ICONINFORMATION, TRUE,
      Setup::Partial },
    { "existing partial copy, Yes downloads again", 2, 0, nullptr, nullptr, Setup::Partial,
      { IDOK, IDYES, IDYES, IDOK }, npos, npos, npos, IDP_UPD_CLOSE_PROGRAM, MB_ICONINFORMATION, TRUE,
      Setup::Whole },
    { "cancel midway, Yes", 2, 0, nullptr, nullptr, Setup::None, { IDOK, IDYES, IDYES }, npos, npos, 16384,
      IDP_UPD_CANCEL_DOWNLOAD, MB_ICONQUESTION, FALSE, Setup::None },
    { "cancel midway, No goes on", 2, 0, nullptr, nullptr, Setup::None, { IDOK, IDYES, IDNO, IDOK }, npos, npos,
      16384, IDP_UPD_CLOSE_PROGRAM, MB_ICONINFORMATION, TRUE, Setup::Whole },
    { "download broken midway", 2, 0, nullptr, nullptr, Setup::None, { IDOK, IDYES }, 32768, npos, npos, 0,
      MB_ICONERROR, FALSE, Setup::None },
    { "transfer ended short of the size the server reports", 2, 0, nullptr, nullptr, Setup::None, { IDOK, IDYES },
      npos, 20000, npos, IDP_UPD_SIZE_MISMATCH, MB_ICONERROR, FALSE, Setup::None },
    // Without the server's figure the descriptor's kilobytes are an estimate: a transfer that ends without an error
    // is the whole setup, however the descriptor rounds it.
    { "no size from the server, the whole setup", 2, 0, nullptr, nullptr, Setup::None, { IDOK, IDYES, IDOK }, npos,
      npos, npos, IDP_UPD_CLOSE_PROGRAM, MB_ICONINFORMATION, TRUE, Setup::Whole, false },
    { "no size from the server, the descriptor rounds the size up", 2, 0,
      "Update$2.00\r\nRelease$2.01$Setup201.exe$60$x\r\n", nullptr, Setup::None, { IDYES, IDOK }, npos, npos, npos,
      IDP_UPD_CLOSE_PROGRAM, MB_ICONINFORMATION, TRUE, Setup::Whole, false },
    { "no size from the server, the descriptor rounds the size down", 2, 0,
      "Update$2.00\r\nRelease$2.01$Setup201.exe$40$x\r\n", nullptr, Setup::None, { IDYES, IDOK }, npos, npos, npos,
      IDP_UPD_CLOSE_PROGRAM, MB_ICONINFORMATION, TRUE, Setup::Whole, false },
    { "no size from the server, download broken midway", 2, 0, nullptr, nullptr, Setup::None, { IDOK, IDYES }, 32768,
      npos, npos, 0, MB_ICONERROR, FALSE, Setup::None, false },
    { "descriptor rounds the size up", 2, 0, "Update$2.00\r\nRelease$2.01$Setup201.exe$60$x\r\n", nullptr,
      Setup::None, { IDYES, IDOK }, npos, npos, npos, IDP_UPD_CLOSE_PROGRAM, MB_ICONINFORMATION, TRUE,
      Setup::Whole },
    { "descriptor rounds the size down", 2, 0, "Update$2.00\r\nRelease$2.01$Setup201.exe$40$x\r\n", nullptr,
      Setup::None, { IDYES, IDOK }, npos, npos, npos, IDP_UPD_CLOSE_PROGRAM, MB_ICONINFORMATION, TRUE,
      Setup::Whole },
};

std::string SetupBytes(size_t nSize)
{
    std::string bytes(nSize, '\0');
    for (size_t i = 0; i < nSize; ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    return bytes;
}

std::string ReadFileBytes(const CString& strPath)
{
    std::string bytes;
    CFile file;
    if (!file.Open(strPath, CFile::modeRead))
        return bytes;
    bytes.resize(static_cast<size_t>(file.GetLength()));
    if (!bytes.empty())
        file.Read(&bytes[0], static_cast<UINT>(bytes.size()));
    return bytes;
}

} // namespace

TEST(UpdateDialog, RunUpdateDecisions)
{
    const std::string setup = SetupBytes(kSetupSize);
    for (const UpdateCase& c : kCases) {
        SCOPED_TRACE(c.name);
        CTempFolder temp;
        const CString strLocal = temp.File(L"WebUpd\\Setup201.exe");
        if (c.existing != Setup::None) {
            ::CreateDirectoryW(temp.File(L"WebUpd"), nullptr);
            temp.Write(L"WebUpd\\Setup201.exe", c.existing == Setup::Whole ? setup : setup.substr(0, 5000));
        }
        CFakeUpdateServer::Share share;
        share.files[L"info.txt"] = c.info ? c.info : kInfo;
        share.files[L"Setup201.exe"] = setup;
        if (c.folder)
            share.folder = c.folder;
        share.nBreakAfter = c.nBreakAfter;
        share.nEndAfter = c.nEndAfter;
        share.bReportsSize = c.bServerSize;

        CDlgUpdate dialog(nullptr, L"Vorsa", L"12345-678", L"SwDownload/Ragioneria/Quarzel08", c.nMajor, c.nMinor,
                          temp.File(L"WebUpd"), std::make_unique<CFakeUpdateServer>(share));
        share.beforeRead = [&](size_t nPos) {
            if (nPos == c.nCancelAt)
                dialog.SendMessage(WM_COMMAND, IDCANCEL);
        };
        CMessageBoxRecorder messages(IDOK);
        for (int nAnswer : c.answers)
            messages.QueueAnswer(nAnswer);
        g_started.clear();
        AFX_SHELLOPEN_HANDLER previous = AfxSetShellOpenHandler(&RecordStart);
        CModalDialogDriver driver([](CDialog& dlg) -> INT_PTR {
            dlg.SendMessage(WM_COMMAND, IDOK);
            return IDCANCEL;
        });
        INT_PTR nResult = dialog.DoModal();
        AfxSetShellOpenHandler(previous);

        EXPECT_EQ(c.bStarted ? IDOK : IDCANCEL, nResult);
        EXPECT_EQ(c.bStarted ? std::vector<CString>{ strLocal } : std::vector<CString>{}, g_started);
        ASSERT_GE(messages.Count(), 1u);
        if (c.nLastMessage) {
            EXPECT_NE(-1, messages.Last().text.Find(LoadResString(c.nLastMessage).Left(20))) << messages.Last().text;
        }
        EXPECT_EQ(c.nLastIcon, messages.LastIcon());
        if (c.left == Setup::Whole)
            EXPECT_TRUE(ReadFileBytes(strLocal) == setup) << "the setup is not the served one";
        else if (c.left == Setup::Partial)
            EXPECT_TRUE(ReadFileBytes(strLocal) == setup.substr(0, 5000)) << "the copy there was replaced";
        else
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(strLocal)) << "a partial setup stayed";
        // info.txt travels in ASCII mode, the setup in binary.
        if (!share.opened.empty()) {
            EXPECT_EQ(FALSE, share.opened[0].second);
        }
        for (size_t i = 1; i < share.opened.size(); ++i)
            EXPECT_EQ(TRUE, share.opened[i].second);
    }
}

TEST(UpdateDialog, TheInfoMessageAndTheVersionsReachTheUser)
{
    CTempFolder temp;
    CFakeUpdateServer::Share share;
    share.files[L"info.txt"] = kInfo;
    for (auto [nMajor, nMinor, strExpected] :
         { std::tuple<int, int, CString>{ 1, 5, L"Versione di prova: aggiornamento non previsto" },
           { 1, 90, L"La versione corrente del Programma (1.90) non \u00e8 compatibile con il presente aggiornamento "
                    L"via Internet." } }) {
        CDlgUpdate dialog(nullptr, L"Vorsa", L"12345-678", L"SwDownload/Ragioneria/Quarzel08", nMajor, nMinor,
                          temp.Path(), std::make_unique<CFakeUpdateServer>(share));
        CMessageBoxRecorder messages;
        CModalDialogDriver driver([](CDialog& dlg) -> INT_PTR {
            dlg.SendMessage(WM_COMMAND, IDOK);
            return IDCANCEL;
        });
        dialog.DoModal();
        ASSERT_EQ(1u, messages.Count());
        EXPECT_EQ(strExpected, messages.Last().text);
    }
}

TEST(UpdateDialog, TheOfferNamesBothVersionsAndTheSize)
{
    CTempFolder temp;
    CFakeUpdateServer::Share share;
    share.files[L"info.txt"] = "Update$1.09\r\nRelease$2.01$Setup201.exe$30720$x\r\n";
    CDlgUpdate dialog(nullptr, L"Vorsa", L"12345-678", L"SwDownload/Ragioneria/Quarzel08", 1, 9, temp.Path(),
                      std::make_unique<CFakeUpdateServer>(share));
    CMessageBoxRecorder messages(IDNO);
    CModalDialogDriver driver([](CDialog& dlg) -> INT_PTR {
        dlg.SendMessage(WM_COMMAND, IDOK);
        return IDCANCEL;
    });
    dialog.DoModal();
    ASSERT_EQ(1u, messages.Count());
    // The system's message formatting writes the line ends of the string table as CR LF.
    EXPECT_EQ(CString(L"Sul sito Internet di Lumetra Solutions \u00e8 presente un aggiornamento del programma.\r\n\r\n"
                      L"La versione del programma in esecuzione \u00e8 la 1.09.\r\n"
                      L"La versione presente su Internet \u00e8 la 2.01 (Dimensione: 30.720 KB).\n\n"
                      L"Si vuole proseguire con l'aggiornamento?"),
              messages.Last().text);
}

TEST(UpdateDialog, PercentageAndElapsedTime)
{
    // Beyond 21 MB count x 100 overflows 32 bits; a count past the announced total stays at 100.
    const struct { ULONGLONG nCount, nTotal; int nPercent; } percents[] = {
        { 0, 1024, 0 }, { 512, 1024, 50 }, { 30ull << 20, 30ull << 20, 100 }, { 29ull << 20, 30ull << 20, 96 },
        { 5000ull << 20, 4000ull << 20, 100 }, { 1, 0, 100 },
    };
    for (const auto& p : percents)
        EXPECT_EQ(p.nPercent, CDlgUpdate::DownloadPercent(p.nCount, p.nTotal)) << p.nCount << "/" << p.nTotal;
    const struct { DWORD dwSeconds; LPCTSTR pszText; } times[] = {
        { 0, L"0 sec" }, { 59, L"59 sec" }, { 60, L"1 min 00 sec" }, { 75, L"1 min 15 sec" }, { 3725, L"62 min 05 sec" },
    };
    for (const auto& t : times)
        EXPECT_EQ(CString(t.pszText), CDlgUpdate::FormatElapsed(t.dwSeconds));
}

TEST(UpdateDialog, TheProgressPumpLeavesAQuitForTheMessageLoop)
{
    CProgressDlg dialog(IDD_UPDATE);
    ::PostQuitMessage(3);
    dialog.PumpMessages();
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit was swallowed";
    EXPECT_EQ(3u, msg.wParam);
}
