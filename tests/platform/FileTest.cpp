#include "platform/mfc/afx.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
std::string ReadAll(const CString& path)
{
    CFile file(path, CFile::modeRead | CFile::shareDenyNone);
    std::string bytes(static_cast<size_t>(file.GetLength()), '\0');
    if (!bytes.empty()) {
        EXPECT_EQ(bytes.size(), file.Read(&bytes[0], static_cast<UINT>(bytes.size())));
    }
    return bytes;
}

CString MessageOf(const CException& e)
{
    TCHAR text[512];
    return e.GetErrorMessage(text, 512) ? CString(text) : CString();
}
} // namespace

TEST(CFile, OpenFailuresNameTheCauseAndThePath)
{
    CTempFolder folder;
    const CString missing = folder.File(L"manca.txt");
    const CString badPath = folder.File(L"nessuna\\cartella\\f.txt");
    const struct
    {
        CString path;
        UINT flags;
        int cause;
    } cases[] = {
        {missing, CFile::modeRead, CFileException::fileNotFound},
        {badPath, CFile::modeCreate | CFile::modeWrite, CFileException::badPath},
    };
    for (const auto& c : cases) {
        CFile file;
        CFileException error;
        EXPECT_FALSE(file.Open(c.path, c.flags, &error));
        EXPECT_EQ(c.cause, error.m_cause) << c.path.GetString();
        EXPECT_EQ(c.path, error.m_strFileName);
        EXPECT_NE(0, error.m_lOsError);
        EXPECT_EQ(CFile::hFileNull, file.m_hFile);
    }

    try {
        CFile file(missing, CFile::modeRead);
        ADD_FAILURE() << "opened a missing file";
    } catch (CFileException* e) {
        EXPECT_EQ(CFileException::fileNotFound, e->m_cause);
        EXPECT_EQ(CString(L"Impossibile trovare il file ") + missing + L".", MessageOf(*e));
        e->Delete();
    }
}

TEST(CFile, SharingAndStaticOperationsReportTheirFailures)
{
    CTempFolder folder;
    CString path = folder.Write(L"a.dat", "12345");
    {
        CFile exclusive(path, CFile::modeReadWrite | CFile::shareExclusive);
        CFile second;
        CFileException error;
        EXPECT_FALSE(second.Open(path, CFile::modeRead | CFile::shareDenyNone, &error));
        EXPECT_EQ(CFileException::sharingViolation, error.m_cause);
    }

    CFile::Rename(path, folder.File(L"b.dat"));
    CFileStatus status;
    EXPECT_FALSE(CFile::GetStatus(path, status));
    ASSERT_TRUE(CFile::GetStatus(folder.File(L"b.dat"), status));
    EXPECT_EQ(5u, status.m_size);
    EXPECT_EQ(folder.File(L"b.dat"), CString(status.m_szFullName));
    EXPECT_LE(std::abs(static_cast<long long>(status.m_mtime.GetTime() - time(nullptr))), 60);

    const struct
    {
        const char* what;
        void (*call)(const CTempFolder&);
        int cause;
    } failures[] = {
        {"Remove", [](const CTempFolder& f) { CFile::Remove(f.File(L"a.dat")); }, CFileException::fileNotFound},
        {"Rename", [](const CTempFolder& f) { CFile::Rename(f.File(L"a.dat"), f.File(L"c.dat")); },
         CFileException::fileNotFound},
    };
    for (const auto& f : failures) {
        try {
            f.call(folder);
            ADD_FAILURE() << f.what;
        } catch (CFileException* e) {
            EXPECT_EQ(f.cause, e->m_cause) << f.what;
            EXPECT_EQ(folder.File(L"a.dat"), e->m_strFileName) << f.what;
            e->Delete();
        }
    }
    CFile::Remove(folder.File(L"b.dat"));
    EXPECT_FALSE(CFile::GetStatus(folder.File(L"b.dat"), status));
}

TEST(CFile, ReadWriteSeekAndLength)
{
    CTempFolder folder;
    CFile file(folder.File(L"dati.bin"), CFile::modeCreate | CFile::modeReadWrite);
    EXPECT_EQ(folder.File(L"dati.bin"), file.GetFilePath());
    EXPECT_EQ(CString(L"dati.bin"), file.GetFileName());
    file.Write("abcdefgh", 8);
    EXPECT_EQ(8u, file.GetPosition());
    EXPECT_EQ(3u, file.Seek(-5, CFile::current));
    char buf[8] = {};
    EXPECT_EQ(5u, file.Read(buf, 8));
    EXPECT_EQ(std::string("defgh"), std::string(buf, 5));
    EXPECT_EQ(0u, file.Read(buf, 8));
    file.SetLength(4);
    EXPECT_EQ(4u, file.GetLength());
    EXPECT_EQ(4u, file.GetPosition());
    file.SeekToBegin();
    EXPECT_EQ(4u, file.Read(buf, 8));
    try {
        file.Seek(-1, CFile::begin);
        ADD_FAILURE();
    } catch (CFileException* e) {
        EXPECT_EQ(CFileException::badSeek, e->m_cause);
        EXPECT_EQ(folder.File(L"dati.bin"), e->m_strFileName);
        e->Delete();
    }
    file.Close();
    EXPECT_EQ(CFile::hFileNull, file.m_hFile);
    EXPECT_EQ("abcd", ReadAll(folder.File(L"dati.bin")));
}

TEST(CStdioFile, ReadsCrLfAndLfLinesInWindows1252)
{
    CTempFolder folder;
    CString path = folder.Write(L"righe.txt", "uno\r\ndue\n\r\ncitt\xE0 \r tre\r\nultima");
    CStdioFile file(path, CFile::modeRead | CFile::typeText);
    const LPCTSTR expected[] = {L"uno", L"due", L"", L"citt\u00E0 \r tre", L"ultima"};
    CString line;
    for (LPCTSTR text : expected) {
        ASSERT_TRUE(file.ReadString(line)) << text;
        EXPECT_EQ(CString(text), line);
    }
    EXPECT_FALSE(file.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());

    // The position is the reader's, not the read-ahead's.
    file.SeekToBegin();
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(5u, file.GetPosition());
    char raw[3] = {};
    EXPECT_EQ(3u, file.Read(raw, 3));
    EXPECT_EQ(std::string("due"), std::string(raw, 3));
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_TRUE(line.IsEmpty()); // the rest of "due"'s line
}

TEST(CStdioFile, WritesWindows1252WithCrLfAndAppendsWithoutTruncating)
{
    CTempFolder folder;
    CString path = folder.File(L"out.txt");
    {
        CStdioFile file(path, CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        file.WriteString(L"citt\u00E0\n");
        file.WriteString(L"gi\u00E0\r\nfine");
    }
    EXPECT_EQ("citt\xE0\r\ngi\xE0\r\nfine", ReadAll(path));
    {
        CStdioFile file(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        file.WriteString(L"\nancora\n");
    }
    EXPECT_EQ("citt\xE0\r\ngi\xE0\r\nfine\r\nancora\r\n", ReadAll(path));
    {
        CStdioFile file(path, CFile::modeRead);
        CString line;
        ASSERT_TRUE(file.ReadString(line));
        EXPECT_EQ(CString(L"citt\u00E0"), line);
    }
    {
        CStdioFile file(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        file.WriteString(L"a\nb");
    }
    EXPECT_EQ("a\nb", ReadAll(path));
}

TEST(CMemFile, GrowsAndReadsBack)
{
    CMemFile file(16);
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        char piece[8];
        int n = wsprintfA(piece, "%07d", i);
        file.Write(piece, static_cast<UINT>(n));
        expected.append(piece, static_cast<size_t>(n));
    }
    ASSERT_EQ(expected.size(), file.GetLength());
    file.SeekToBegin();
    std::string actual(expected.size(), '\0');
    EXPECT_EQ(expected.size(), file.Read(&actual[0], static_cast<UINT>(actual.size()) + 10));
    EXPECT_EQ(expected, actual);

    // Writing after a seek past the end leaves zeros in the gap.
    file.SetLength(2);
    file.Seek(2, CFile::end);
    file.Write("z", 1);
    char buf[5] = {};
    file.SeekToBegin();
    EXPECT_EQ(5u, file.Read(buf, 8));
    EXPECT_EQ(std::string("00\0\0z", 5), std::string(buf, 5));

    ULONGLONG nLength = file.GetLength();
    BYTE* pData = file.Detach();
    EXPECT_EQ(0u, file.GetLength());
    EXPECT_EQ(0, std::memcmp(pData, buf, static_cast<size_t>(nLength)));
    free(pData);
}

TEST(CMemFile, AttachedBufferIsTheFileAndDoesNotGrow)
{
    BYTE data[4] = {'a', 'b', 'c', 'd'};
    CMemFile file(data, sizeof(data));
    EXPECT_EQ(4u, file.GetLength());
    char buf[4];
    EXPECT_EQ(4u, file.Read(buf, 4));
    file.Seek(1, CFile::begin);
    file.Write("X", 1);
    EXPECT_EQ('X', data[1]);
    file.SeekToEnd();
    try {
        file.Write("!", 1);
        ADD_FAILURE();
    } catch (CMemoryException* e) {
        e->Delete();
    }
    try {
        file.Seek(-5, CFile::current);
        ADD_FAILURE();
    } catch (CFileException* e) {
        EXPECT_EQ(CFileException::badSeek, e->m_cause);
        e->Delete();
    }
    EXPECT_EQ(data, file.Detach()); // the caller's own buffer, not freed by the file
}

TEST(CMemFile, WriteAtTheLargestPositionIsRefused)
{
    CMemFile file;
    file.Write("abc", 3);
    // The largest position a seek accepts: on 32-bit the end of a write there would wrap around to the start.
    file.Seek(static_cast<LONGLONG>(std::min<ULONGLONG>(static_cast<SIZE_T>(-1), LLONG_MAX)), CFile::begin);
    try {
        file.Write("xy", 2);
        ADD_FAILURE() << "wrote past the largest size";
    } catch (CMemoryException* e) {
        e->Delete();
    }
    EXPECT_EQ(3u, file.GetLength());
}
