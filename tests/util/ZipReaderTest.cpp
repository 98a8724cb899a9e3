#include "util/ZipReader.h"
#include "util/PathUtil.h"
#include "support/TempFolder.h"
#include "support/ZipBuilder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A reader on a zip kept in memory, closed at the end of the test.
class CZipReader
{
public:
    explicit CZipReader(const std::string& zip) : m_zip(zip), m_hz(OpenZip(m_zip.data(), m_zip.size(), ZIP_MEMORY)) {}
    ~CZipReader() { if (m_hz) CloseUnzip(m_hz); }
    CZipReader(const CZipReader&) = delete;
    CZipReader& operator=(const CZipReader&) = delete;

    ZipHandle Handle() const { return m_hz; }
    ZipEntry Item(int index) const
    {
        ZipEntry entry = {};
        EXPECT_EQ(ZR_OK, GetZipItem(m_hz, index, &entry));
        return entry;
    }

private:
    std::string m_zip;
    ZipHandle m_hz;
};

std::string ReadFileBytes(LPCTSTR pszPath)
{
    std::string bytes;
    HANDLE h = ::CreateFileW(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[4096];
    DWORD n = 0;
    while (::ReadFile(h, buffer, sizeof(buffer), &n, nullptr) && n > 0)
        bytes.append(buffer, n);
    ::CloseHandle(h);
    return bytes;
}

std::string Text(size_t nLength)
{
    std::string text;
    while (text.size() < nLength)
        text += "Verifica del rispetto del Vorsa sui dati Previsionali " + std::to_string(text.size()) + "\n";
    text.resize(nLength);
    return text;
}

ULONGLONG Ticks(const FILETIME& ft)
{
    return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

const ULONGLONG TICKS_OF_1970 = 116444736000000000ULL;

FILETIME FromUnix(DWORD seconds)
{
    ULONGLONG ticks = TICKS_OF_1970 + seconds * 10000000ULL;
    return { static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32) };
}

std::string UnixTimes(BYTE flags, std::initializer_list<DWORD> times, int nDeclaredSize = -1)
{
    std::string block;
    block.push_back(static_cast<char>(flags));
    for (DWORD t : times)
        for (int i = 0; i < 4; ++i)
            block.push_back(static_cast<char>((t >> (8 * i)) & 0xFF));
    size_t nSize = nDeclaredSize < 0 ? block.size() : static_cast<size_t>(nDeclaredSize);
    return std::string("UT") + static_cast<char>(nSize & 0xFF) + static_cast<char>(nSize >> 8) + block;
}

} // namespace

TEST(ZipReader, ListsItemsWithNamesSizesAndCrc)
{
    std::string text = Text(50000);
    CZipReader reader(BuildZip({ { "Dati/", "", false, 0, 0x0314, 0x41ED0010 },
                                 { "Dati/Archivio.mdb", text, true },
                                 { "leggimi.txt", "ciao", false } }));
    ASSERT_NE(nullptr, reader.Handle());
    EXPECT_EQ(3, reader.Item(-1).index);
    EXPECT_STREQ(L"", reader.Item(-1).name);

    ZipEntry folder = reader.Item(0);
    EXPECT_STREQ(L"Dati/", folder.name);
    EXPECT_TRUE(folder.attr & FILE_ATTRIBUTE_DIRECTORY);

    ZipEntry archive = reader.Item(1);
    EXPECT_EQ(1, archive.index);
    EXPECT_STREQ(L"Dati/Archivio.mdb", archive.name);
    EXPECT_EQ(static_cast<LONGLONG>(text.size()), archive.unc_size);
    EXPECT_EQ(static_cast<LONGLONG>(ZlibDeflate(text).size()), archive.comp_size);
    EXPECT_EQ(ZlibCrc32(text), archive.crc);
    EXPECT_FALSE(archive.attr & FILE_ATTRIBUTE_DIRECTORY);

    // Backwards after forwards.
    EXPECT_STREQ(L"leggimi.txt", reader.Item(2).name);
    EXPECT_STREQ(L"Dati/", reader.Item(0).name);

    int index = 0;
    ZipEntry found = {};
    EXPECT_EQ(ZR_OK, FindZipItem(reader.Handle(), L"dati\\ARCHIVIO.mdb", true, &index, &found));
    EXPECT_EQ(1, index);
    EXPECT_STREQ(L"Dati/Archivio.mdb", found.name);
    EXPECT_EQ(ZR_NOTFOUND, FindZipItem(reader.Handle(), L"dati/ARCHIVIO.mdb", false, &index, &found));
    EXPECT_EQ(-1, index);
    EXPECT_EQ(-1, found.index);

    ZipEntry entry = {};
    EXPECT_EQ(ZR_ARGS, GetZipItem(reader.Handle(), 3, &entry));
    EXPECT_EQ(ZR_ARGS, GetZipItem(reader.Handle(), -2, &entry));
    EXPECT_EQ(ZR_ARGS, GetZipItem(nullptr, 0, &entry));
}

bool SameEntry(const ZipEntry& entry, const ZipEntryCompact& compact)
{
    return entry.index == compact.index && wcscmp(entry.name, compact.name) == 0 && entry.attr == compact.attr &&
           Ticks(entry.atime) == Ticks(compact.atime) && Ticks(entry.ctime) == Ticks(compact.ctime) &&
           Ticks(entry.mtime) == Ticks(compact.mtime) && entry.comp_size == compact.comp_size &&
           entry.unc_size == compact.unc_size && entry.crc == compact.crc && entry.flags == compact.flags;
}

// Some writers store "\" between folders: the name GetZipItem reports finds the item again, and so does the same
// name with "/". The compact calls answer the same as the others, field by field.
TEST(ZipReader, FindsItemsByEitherSlashAndCompactRecordsAgree)
{
    ZipTestItem stamped = { "Doc/Nota.txt", Text(5000), true };
    stamped.localExtra = UnixTimes(7, { 1206617520, 1206617521, 1206617522 });
    CZipReader reader(BuildZip({ { "Dati\\Vorsa08.mdb", "archivio" }, stamped, { "Doc/", "", false, 0, 20, 0x10 } }));
    const struct { LPCTSTR name; bool ignoreCase; int index; } cases[] = {
        { L"Dati\\Vorsa08.mdb", false, 0 },
        { L"Dati/Vorsa08.mdb", false, 0 },
        { L"dati/vorsa08.MDB", true, 0 },
        { L"dati/vorsa08.MDB", false, -1 },
        { L"Doc\\Nota.txt", false, 1 },
        { L"Doc/", false, 2 },
        { L"Nota.txt", false, -1 },
    };
    for (const auto& c : cases) {
        int index = -2, compactIndex = -2;
        ZipEntry entry = {};
        ZipEntryCompact compact = {};
        ZRESULT result = FindZipItem(reader.Handle(), c.name, c.ignoreCase, &index, &entry);
        EXPECT_EQ(c.index < 0 ? ZR_NOTFOUND : ZR_OK, result) << c.name;
        EXPECT_EQ(c.index, index) << c.name;
        EXPECT_EQ(result, FindZipItemCompact(reader.Handle(), c.name, c.ignoreCase, &compactIndex, &compact));
        EXPECT_EQ(index, compactIndex) << c.name;
        EXPECT_TRUE(SameEntry(entry, compact)) << c.name;
    }
    for (int index = -1; index < 3; ++index) {
        ZipEntry entry = reader.Item(index);
        ZipEntryCompact compact = {};
        EXPECT_EQ(ZR_OK, GetZipItemCompact(reader.Handle(), index, &compact));
        EXPECT_TRUE(SameEntry(entry, compact)) << index;
        if (index >= 0) {
            int found = -1;
            EXPECT_EQ(ZR_OK, FindZipItem(reader.Handle(), entry.name, false, &found, nullptr)) << index;
            EXPECT_EQ(index, found);
        }
    }
    ZipEntryCompact compact = {};
    EXPECT_EQ(ZR_ARGS, GetZipItemCompact(reader.Handle(), 3, &compact));
    EXPECT_EQ(ZR_ARGS, GetZipItemCompact(nullptr, 0, &compact));
}

TEST(ZipReader, EmptyArchiveHasNoItems)
{
    CZipReader reader(BuildZip({}));
    ASSERT_NE(nullptr, reader.Handle());
    EXPECT_EQ(0, reader.Item(-1).index);
}

TEST(ZipReader, MemoryExtractionAsksForMoreUntilTheItemIsExhausted)
{
    std::string text = Text(40000);
    CZipReader reader(BuildZip({ { "a.txt", text, true } }));
    std::string buffer(text.size(), '\0');
    EXPECT_EQ(ZR_MORE, UnzipItem(reader.Handle(), 0, &buffer[0], buffer.size(), ZIP_MEMORY));
    EXPECT_EQ(text, buffer);
    EXPECT_EQ(ZR_OK, UnzipItem(reader.Handle(), 0, &buffer[0], buffer.size(), ZIP_MEMORY));

    // In pieces, read again from the start.
    std::string pieces;
    char piece[7000];
    ZRESULT result;
    while ((result = UnzipItem(reader.Handle(), 0, piece, sizeof(piece), ZIP_MEMORY)) == ZR_MORE)
        pieces.append(piece, std::min(sizeof(piece), text.size() - pieces.size()));
    EXPECT_EQ(ZR_OK, result);
    EXPECT_EQ(text, pieces);
}

TEST(ZipReader, ExtractsIntoANewFolderChainAndSetsTheItemsTimes)
{
    CTempFolder folder;
    DWORD mtime = 1206617520;   // 27 March 2008 11:32:00 UTC
    ZipTestItem item = { "a/b/c.txt", Text(3000), true };
    item.localExtra = UnixTimes(1, { mtime });
    CZipReader reader(BuildZip({ item }));
    CString strTarget = folder.File(L"a\\b\\c.txt");
    ASSERT_EQ(ZR_OK, UnzipItem(reader.Handle(), 0, const_cast<LPTSTR>(strTarget.GetString()), 0, ZIP_FILENAME));
    EXPECT_EQ(item.data, ReadFileBytes(strTarget));
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(::GetFileAttributesExW(strTarget, GetFileExInfoStandard, &data));
    EXPECT_EQ(Ticks(FromUnix(mtime)), Ticks(data.ftLastWriteTime));
}

// Keeps the current directory of the test run whatever the test sets.
class CCurrentDirectory
{
public:
    CCurrentDirectory() { ::GetCurrentDirectoryW(MAX_PATH, m_szSaved); }
    ~CCurrentDirectory() { ::SetCurrentDirectoryW(m_szSaved); }

private:
    WCHAR m_szSaved[MAX_PATH] = {};
};

// A relative target lies under the folder that was current when the archive was opened, even after the current
// directory has moved: its folder chain is made there, one level at a time; folder items make theirs.
TEST(ZipReader, RelativeTargetsGoUnderTheFolderCurrentAtOpen)
{
    CCurrentDirectory keep;
    CTempFolder root, elsewhere;
    ASSERT_TRUE(::SetCurrentDirectoryW(root.Path()));
    std::string zip = BuildZip({ { "a/b/c.txt", "dati" }, { "d/e/", "", false, 0, 20, 0x10 } });
    CZipReader reader(zip);
    ASSERT_TRUE(::SetCurrentDirectoryW(elsewhere.Path()));
    const struct { int index; LPCTSTR target; LPCTSTR made; } cases[] = {
        { 0, L"a/b/c.txt", L"a\\b\\c.txt" },
        { 0, L"x\\y\\copia.txt", L"x\\y\\copia.txt" },
        { 0, L"piano.txt", L"piano.txt" },
        { 1, L"d/e", L"d\\e" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ZR_OK, UnzipItem(reader.Handle(), c.index, const_cast<LPTSTR>(c.target), 0, ZIP_FILENAME))
            << c.target;
        if (c.index == 0)
            EXPECT_EQ("dati", ReadFileBytes(root.File(c.made))) << c.target;
        else
            EXPECT_TRUE(IsDirectory(root.File(c.made))) << c.target;
        EXPECT_FALSE(FileExists(elsewhere.File(c.made))) << c.target;
    }
}

// ".." leaves the folder, in the target and in the item's name; a target relative to a drive or to the drive's
// root has no place under the extraction root.
TEST(ZipReader, RefusesTargetsAndItemNamesThatLeaveTheFolder)
{
    CCurrentDirectory keep;
    CTempFolder folder;
    ASSERT_TRUE(::SetCurrentDirectoryW(folder.Path()));
    CZipReader reader(BuildZip({ { "ok.txt", "x" }, { "../evil/", "", false, 0, 20, 0x10 },
                                 { "../evil.txt", "x" } }));
    struct Case { int index; CString target; } cases[] = {
        { 0, L"..\\ok.txt" },
        { 0, L"sub/../../ok.txt" },
        { 0, L"\\ok.txt" },
        { 0, L"C:ok.txt" },
        { 0, folder.File(L"..\\ok.txt") },
        { 0, folder.File(L"sub/../../ok.txt") },
        { 1, folder.File(L"evil") },
        { 2, folder.File(L"evil.txt") },
        { 2, L"evil.txt" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ZR_ARGS, UnzipItem(reader.Handle(), c.index, const_cast<LPTSTR>(c.target.GetString()), 0,
                                     ZIP_FILENAME)) << c.target.GetString();
    }
    WIN32_FIND_DATAW found = {};
    HANDLE hFind = ::FindFirstFileW(folder.File(L"*"), &found);
    int nEntries = 0;
    if (hFind != INVALID_HANDLE_VALUE) {
        do
            ++nEntries;
        while (::FindNextFileW(hFind, &found));
        ::FindClose(hFind);
    }
    EXPECT_EQ(2, nEntries);   // "." and ".."
    EXPECT_FALSE(FileExists(folder.File(L"..\\ok.txt")));
}

TEST(ZipReader, SafeItemNames)
{
    const struct { LPCTSTR name; bool safe; } cases[] = {
        { L"Dati/Archivio.mdb", true }, { L"Dati/", true }, { L"a..b", true }, { L"..a/x", true },
        { L"", false }, { L"../x", false }, { L"..\\x", false }, { L"a/../../x", false }, { L"a/..", false },
        { L"..", false }, { L"C:\\x", false }, { L"C:x", false }, { L"/x", false }, { L"\\x", false },
        { L"\\\\server\\share\\x", false }, { L"x.mdb:stream", false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.safe, IsSafeZipItemName(c.name)) << c.name;
}

TEST(ZipReader, AttributesFollowTheSystemThatWroteTheItem)
{
    const struct { WORD madeBy; DWORD ext; const char* name; DWORD attr; } cases[] = {
        { 0x0014, 0x20, "dos.txt", FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_ARCHIVE },
        { 0x0014, 0x21, "dosro.txt", FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY },
        { 0x0014, 0x06, "hidsys.txt", FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM },
        { 0x0314, 0x81A40000, "unix.txt", FILE_ATTRIBUTE_NORMAL },
        { 0x0314, 0x81240000, "unixro.txt", FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_READONLY },
        { 0x0314, 0x41ED0010, "dir/", FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DIRECTORY },
        { 0x0014, 0, "plain/", FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DIRECTORY },
        { 0x0B17, 0x81800020, "own.txt", FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_ARCHIVE },
    };
    std::vector<ZipTestItem> items;
    for (const auto& c : cases)
        items.push_back({ c.name, "", false, 0, c.madeBy, c.ext });
    CZipReader reader(BuildZip(items));
    for (int i = 0; i < static_cast<int>(items.size()); ++i)
        EXPECT_EQ(cases[i].attr, reader.Item(i).attr) << cases[i].name;
}

// The extended timestamps are read only as far as their block and the extra field reach.
TEST(ZipReader, TimestampBlockIsReadWithinItsBounds)
{
    const DWORD m = 1206617520, a = 1206617521, c = 1206617522;
    std::string following = std::string("\x99\x99\x04\x00", 4) + "\x11\x22\x33\x44";
    const struct { const char* what; std::string extra; bool mOk, aOk, cOk; } cases[] = {
        { "whole", UnixTimes(7, { m, a, c }), true, true, true },
        { "modification only", UnixTimes(1, { m }), true, false, false },
        { "size 1, flags 7", UnixTimes(7, {}, 1) + following, false, false, false },
        { "size 5, flags 7", UnixTimes(7, { m }, 5) + following, true, false, false },
        { "block past the field", UnixTimes(7, { m }, 13), false, false, false },
        { "after another block", following + UnixTimes(3, { m, a }), true, true, false },
        { "header cut", std::string("UT\x05", 3), false, false, false },
    };
    std::vector<ZipTestItem> items;
    for (const auto& row : cases) {
        ZipTestItem item = { "t.txt", "x" };
        item.localExtra = row.extra;
        items.push_back(item);
    }
    CZipReader reader(BuildZip(items));
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        ZipEntry entry = reader.Item(i);
        FILETIME dos = DosTimeToFileTime(items[i].dosDateTime);
        EXPECT_EQ(Ticks(cases[i].mOk ? FromUnix(m) : dos), Ticks(entry.mtime)) << cases[i].what;
        EXPECT_EQ(Ticks(cases[i].aOk ? FromUnix(a) : dos), Ticks(entry.atime)) << cases[i].what;
        EXPECT_EQ(Ticks(cases[i].cOk ? FromUnix(c) : dos), Ticks(entry.ctime)) << cases[i].what;
    }
}

// DOS times are local: back to local time they give the fields as stored.
TEST(ZipReader, DosTimesAreLocalTime)
{
    CZipReader reader(BuildZip({ { "t.txt", "x" } }));
    FILETIME utc = reader.Item(0).mtime, local = {};
    ASSERT_TRUE(::FileTimeToLocalFileTime(&utc, &local));
    WORD date = 0, time = 0;
    ASSERT_TRUE(::FileTimeToDosDateTime(&local, &date, &time));
    EXPECT_EQ(0x38DB5C00u, static_cast<DWORD>(MAKELONG(time, date)));
}

TEST(ZipReader, SizesAboveTwoGigabytesStayPositive)
{
    ZipTestItem big = { "big.bin", "x" };
    big.size = 0x80000000ULL;
    ZipTestItem huge = { "huge.bin", "x" };
    huge.size = 1ULL << 50;
    CZipReader reader(BuildZip({ big, huge }));
    EXPECT_EQ(0x80000000LL, reader.Item(0).unc_size);
    EXPECT_EQ(1LL << 50, reader.Item(1).unc_size);
}

// A name that does not fit is refused; the items after it are still found by their names.
TEST(ZipReader, NameThatDoesNotFitIsRefused)
{
    CZipReader reader(BuildZip({ { std::string(MAX_PATH - 1, 'n'), "x" }, { std::string(MAX_PATH, 'n'), "x" },
                                 { std::string("a.mdb\0../x", 10), "x" }, { "dopo.txt", "y" } }));
    EXPECT_EQ(MAX_PATH - 1, lstrlenW(reader.Item(0).name));
    ZipEntry entry = {};
    EXPECT_EQ(ZR_CORRUPT, GetZipItem(reader.Handle(), 1, &entry));
    EXPECT_EQ(ZR_CORRUPT, GetZipItem(reader.Handle(), 2, &entry));
    int nIndex = -1;
    EXPECT_EQ(ZR_OK, FindZipItem(reader.Handle(), L"dopo.txt", false, &nIndex, &entry));
    EXPECT_EQ(3, nIndex);
}

// Data that is not what the archive declares is an error, and the file written for it goes again.
TEST(ZipReader, DamagedDataIsAnErrorAndLeavesNoFile)
{
    std::string text = Text(60000);
    ZipTestItem badCrc = { "crc.txt", text, true };
    badCrc.crc = ZlibCrc32(text) ^ 1;
    ZipTestItem storedBadCrc = { "crc2.txt", text };
    storedBadCrc.crc = ZlibCrc32(text) + 7;
    ZipTestItem shortStream = { "short.txt", text, true };   // a complete stream of half the data
    shortStream.stream = ZlibDeflate(text.substr(0, text.size() / 2));
    ZipTestItem cutStream = { "cut.txt", text, true };
    cutStream.stream = ZlibDeflate(text).substr(0, 100);
    ZipTestItem encrypted = { "secret.txt", text };
    encrypted.flags = ZIP_FLAG_ENCRYPTED;
    CZipReader reader(BuildZip({ badCrc, storedBadCrc, shortStream, cutStream, encrypted }));

    CTempFolder folder;
    for (int i = 0; i < 5; ++i) {
        CString strTarget = folder.File(L"out.txt");
        EXPECT_EQ(ZR_CORRUPT, UnzipItem(reader.Handle(), i, const_cast<LPTSTR>(strTarget.GetString()), 0,
                                        ZIP_FILENAME)) << i;
        EXPECT_FALSE(FileExists(strTarget)) << i;
        std::string buffer(text.size() + 10, '\0');
        ZRESULT result;
        while ((result = UnzipItem(reader.Handle(), i, &buffer[0], 1000, ZIP_MEMORY)) == ZR_MORE) {
        }
        EXPECT_NE(ZR_OK, result) << i;
    }
}

// An item whose stream inflates beyond the size it declares (here its first 64 KiB, with their CRC, out of 64 MiB)
// is refused, and no more than the declared size comes out of it, to a file, a handle or memory.
TEST(ZipReader, StreamThatInflatesBeyondItsDeclaredSizeIsRefused)
{
    const size_t nDeclared = 65536;
    std::string inflated(64u << 20, '\0');
    for (size_t i = 0; i < nDeclared; ++i)
        inflated[i] = static_cast<char>('a' + i % 26);
    ZipTestItem bomb = { "Dati/Archivio.mdb", inflated.substr(0, nDeclared), true };
    bomb.stream = ZlibDeflate(inflated);
    inflated.clear();
    CZipReader reader(BuildZip({ bomb }));

    CTempFolder folder;
    CString strTarget = folder.File(L"file.mdb");
    EXPECT_EQ(ZR_CORRUPT, UnzipItem(reader.Handle(), 0, const_cast<LPTSTR>(strTarget.GetString()), 0, ZIP_FILENAME));
    EXPECT_FALSE(FileExists(strTarget));

    CString strHandle = folder.File(L"handle.mdb");
    HANDLE hFile = ::CreateFileW(strHandle, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    EXPECT_EQ(ZR_CORRUPT, UnzipItem(reader.Handle(), 0, hFile, 0, ZIP_HANDLE));
    ::CloseHandle(hFile);
    EXPECT_LE(ReadFileBytes(strHandle).size(), nDeclared);

    std::string buffer(16384, '\0');
    size_t nTotal = 0;
    ZRESULT result;
    while ((result = UnzipItem(reader.Handle(), 0, &buffer[0], buffer.size(), ZIP_MEMORY)) == ZR_MORE)
        nTotal += buffer.size();
    EXPECT_NE(ZR_OK, result);
    EXPECT_LE(nTotal, nDeclared);
}

TEST(ZipReader, SourceThatIsNoZipIsRefused)
{
    std::string good = BuildZip({ { "a.txt", Text(5000), true } });
    const std::string sources[] = { "", "This is no zip archive at all, only text.", good.substr(0, good.size() - 30),
                                    good.substr(0, good.size() / 2) };
    for (const std::string& source : sources) {
        EXPECT_EQ(nullptr, OpenZip(source.data(), source.size(), ZIP_MEMORY));
        TCHAR szText[64] = {};
        ZipResultText(ZR_RECENT, szText, _countof(szText));
        EXPECT_STREQ(L"Zipfile is corrupt or not a zipfile", szText);
    }
    CTempFolder folder;
    EXPECT_EQ(nullptr, OpenZip(folder.File(L"missing.zip").GetString(), 0, ZIP_FILENAME));
    TCHAR szText[64] = {};
    ZipResultText(ZR_RECENT, szText, _countof(szText));
    EXPECT_STREQ(L"Couldn't create/open file", szText);
    EXPECT_EQ(nullptr, OpenZip(good.data(), good.size(), 7));
}

TEST(ZipReader, OpensFromAHandleAtItsPosition)
{
    CTempFolder folder;
    std::string zip = BuildZip({ { "a.txt", "contenuto" } });
    CString strPath = folder.Write(L"padded.bin", "PREFIX" + zip);
    HANDLE hFile = ::CreateFileW(strPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    ::SetFilePointer(hFile, 6, nullptr, FILE_BEGIN);
    ZipHandle hz = OpenZip(hFile, 0, ZIP_HANDLE);
    ::CloseHandle(hFile);
    ASSERT_NE(nullptr, hz);
    char buffer[9];
    EXPECT_EQ(ZR_MORE, UnzipItem(hz, 0, buffer, sizeof(buffer), ZIP_MEMORY));
    EXPECT_EQ("contenuto", std::string(buffer, 9));
    CloseUnzip(hz);
}

TEST(ZipReader, ResultTexts)
{
    TCHAR szText[8] = {};
    EXPECT_EQ(7u, ZipResultText(ZR_OK, szText, _countof(szText)));
    EXPECT_STREQ(L"Success", szText);
    EXPECT_EQ(35u, ZipResultText(ZR_CORRUPT, szText, 5));
    EXPECT_STREQ(L"Zipf", szText);
    EXPECT_EQ(23u, ZipResultText(0x12345, nullptr, 0));
    TCHAR szLong[64] = {};
    ZipResultText(0x4000000, szLong, _countof(szLong));
    EXPECT_STREQ(L"Zip-bug: tried to change mind, but not allowed", szLong);
    ZipEntry entry = {};
    GetZipItem(nullptr, 0, &entry);
    ZipResultText(ZR_RECENT, szLong, _countof(szLong));
    EXPECT_STREQ(L"Caller: faulty arguments", szLong);
}
