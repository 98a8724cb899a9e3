#include "util/ZipReader.h"
#include "util/ZipWriter.h"
#include "support/FileAliases.h"
#include "support/TempFolder.h"
#include "support/ZipBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace {

const unsigned LOCAL_SIGNATURE = 0x04034B50;
const unsigned CENTRAL_SIGNATURE = 0x02014B50;
const unsigned DESCRIPTOR_SIGNATURE = 0x08074B50;
const unsigned END_SIGNATURE = 0x06054B50;

std::string ReadFileBytes(LPCTSTR pszPath)
{
    std::string bytes;
    HANDLE h = ::CreateFileW(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    char buffer[4096];
    DWORD n = 0;
    while (h != INVALID_HANDLE_VALUE && ::ReadFile(h, buffer, sizeof(buffer), &n, nullptr) && n > 0)
        bytes.append(buffer, n);
    if (h != INVALID_HANDLE_VALUE)
        ::CloseHandle(h);
    return bytes;
}

DWORD UnixTime(const FILETIME& ft)
{
    ULONGLONG ticks = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<DWORD>((ticks - 116444736000000000ULL) / 10000000ULL);
}

// The file's last write as DOS date (high word) and time in local time.
DWORD LocalDosTime(const FILETIME& ft)
{
    FILETIME local = {};
    WORD date = 0, time = 0;
    ::FileTimeToLocalFileTime(&ft, &local);
    ::FileTimeToDosDateTime(&local, &date, &time);
    return MAKELONG(time, date);
}

// One item of an archive as its headers describe it.
struct ParsedItem
{
    unsigned localOffset;
    unsigned localFlags, method, dosTime, localCrc, localComp, localUnc, localExtraLength;
    std::string name, localExtra, data;
    unsigned madeBy, needed, centralFlags, centralCrc, centralComp, centralUnc, centralExtraLength, externalAttr;
    unsigned commentLength, disk, internalAttr;
    std::string centralExtra;
    std::string descriptor;   // the 16 bytes after the data when flag 8 is set
};

struct ParsedZip
{
    std::vector<ParsedItem> items;
    unsigned entries = 0, centralSize = 0, centralOffset = 0;
};

ParsedZip Parse(const std::string& zip)
{
    ParsedZip parsed;
    size_t endPos = zip.size() - 22;
    EXPECT_EQ(END_SIGNATURE, ReadLE32(zip, endPos));
    parsed.entries = ReadLE16(zip, endPos + 10);
    EXPECT_EQ(parsed.entries, ReadLE16(zip, endPos + 8));
    parsed.centralSize = ReadLE32(zip, endPos + 12);
    parsed.centralOffset = ReadLE32(zip, endPos + 16);
    EXPECT_EQ(endPos, parsed.centralOffset + parsed.centralSize);
    size_t pos = parsed.centralOffset;
    for (unsigned i = 0; i < parsed.entries; ++i) {
        ParsedItem item = {};
        EXPECT_EQ(CENTRAL_SIGNATURE, ReadLE32(zip, pos));
        item.madeBy = ReadLE16(zip, pos + 4);
        item.needed = ReadLE16(zip, pos + 6);
        item.centralFlags = ReadLE16(zip, pos + 8);
        item.method = ReadLE16(zip, pos + 10);
        item.dosTime = ReadLE32(zip, pos + 12);
        item.centralCrc = ReadLE32(zip, pos + 16);
        item.centralComp = ReadLE32(zip, pos + 20);
        item.centralUnc = ReadLE32(zip, pos + 24);
        unsigned nameLength = ReadLE16(zip, pos + 28);
        item.centralExtraLength = ReadLE16(zip, pos + 30);
        item.commentLength = ReadLE16(zip, pos + 32);
        item.disk = ReadLE16(zip, pos + 34);
        item.internalAttr = ReadLE16(zip, pos + 36);
        item.externalAttr = ReadLE32(zip, pos + 38);
        item.localOffset = ReadLE32(zip, pos + 42);
        item.name = zip.substr(pos + 46, nameLength);
        item.centralExtra = zip.substr(pos + 46 + nameLength, item.centralExtraLength);
        pos += 46 + nameLength + item.centralExtraLength;

        size_t local = item.localOffset;
        EXPECT_EQ(LOCAL_SIGNATURE, ReadLE32(zip, local));
        EXPECT_EQ(20u, ReadLE16(zip, local + 4));
        item.localFlags = ReadLE16(zip, local + 6);
        EXPECT_EQ(item.method, ReadLE16(zip, local + 8));
        EXPECT_EQ(item.dosTime, ReadLE32(zip, local + 10));
        item.localCrc = ReadLE32(zip, local + 14);
        item.localComp = ReadLE32(zip, local + 18);
        item.localUnc = ReadLE32(zip, local + 22);
        EXPECT_EQ(nameLength, ReadLE16(zip, local + 26));
        item.localExtraLength = ReadLE16(zip, local + 28);
        EXPECT_EQ(item.name, zip.substr(local + 30, nameLength));
        item.localExtra = zip.substr(local + 30 + nameLength, item.localExtraLength);
        size_t data = local + 30 + nameLength + item.localExtraLength;
        item.data = zip.substr(data, item.centralComp);
        if (item.localFlags & 8)
            item.descriptor = zip.substr(data + item.centralComp, 16);
        parsed.items.push_back(item);
    }
    return parsed;
}

std::string Inflated(const ParsedItem& item)
{
    if (item.method == 0)
        return item.data;
    std::string data;
    EXPECT_TRUE(ZlibInflate(item.data, data));
    return data;
}

std::string UnixTimesBlock(unsigned size, std::initializer_list<DWORD> times)
{
    std::string block = "UT";
    block.push_back(static_cast<char>(size));
    block.push_back(0);
    block.push_back(7);
    for (DWORD t : times)
        for (int i = 0; i < 4; ++i)
            block.push_back(static_cast<char>((t >> (8 * i)) & 0xFF));
    return block;
}

std::string Text(size_t nLength)
{
    std::string text;
    while (text.size() < nLength)
        text += "Saldo finanziario di competenza mista " + std::to_string(text.size() % 977) + "\r\n";
    text.resize(nLength);
    return text;
}

std::set<CString> FileNames(const CString& strFolder)
{
    std::set<CString> names;
    WIN32_FIND_DATAW found = {};
    HANDLE hFind = ::FindFirstFileW(strFolder + L"\\*", &found);
    while (hFind != INVALID_HANDLE_VALUE) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.insert(found.cFileName);
        if (!::FindNextFileW(hFind, &found)) {
            ::FindClose(hFind);
            hFind = INVALID_HANDLE_VALUE;
        }
    }
    return names;
}

} // namespace

// The headers of a seekable target: sizes and CRC written back into the local header, no data descriptor.
TEST(ZipWriter, HeadersOfFilesFoldersAndMemory)
{
    CTempFolder folder;
    std::string text = Text(30000);
    CString strFile = folder.Write(L"file.txt", text);
    CString strReadOnly = folder.Write(L"ro.txt", "sola lettura");
    ASSERT_TRUE(::SetFileAttributesW(strReadOnly, FILE_ATTRIBUTE_READONLY));
    std::string memory = Text(5000);

    CString strZip = folder.File(L"out.zip");
    ZipHandle hz = CreateZip(const_cast<LPTSTR>(strZip.GetString()), 0, ZIP_FILENAME);
    ASSERT_NE(nullptr, hz);
    EXPECT_TRUE(IsZipHandle(hz));
    EXPECT_FALSE(IsUnzipHandle(hz));
    EXPECT_EQ(ZR_OK, ZipAdd(hz, L"dir\\file.txt", strFile.GetString(), 0, ZIP_FILENAME));
    EXPECT_EQ(ZR_OK, ZipAdd(hz, L"ro.txt", strReadOnly.GetString(), 0, ZIP_FILENAME));
    EXPECT_EQ(ZR_OK, ZipAdd(hz, L"dir", nullptr, 0, ZIP_FOLDER));
    EXPECT_EQ(ZR_OK, ZipAdd(hz, L"mem.bin", memory.data(), memory.size(), ZIP_MEMORY));
    EXPECT_EQ(ZR_OK, ZipAdd(hz, L"already.ZIP", memory.data(), memory.size(), ZIP_MEMORY));
    EXPECT_EQ(ZR_OK, CloseZip(hz));
    ::SetFileAttributesW(strReadOnly, FILE_ATTRIBUTE_NORMAL);

    std::string zip = ReadFileBytes(strZip);
    ParsedZip parsed = Parse(zip);
    ASSERT_EQ(5u, parsed.items.size());

    struct Expected { const char* name; unsigned flags, method; std::string data; DWORD attr; CString source; };
    DWORD fileAttr = ::GetFileAttributesW(strFile) & 0x37;
    const Expected expected[] = {
        { "dir/file.txt", 2, 8, text, fileAttr | 0x81800000, strFile },
        { "ro.txt", 0, 8, "sola lettura", (fileAttr & ~0x01u) | 0x81000001, strReadOnly },
        { "dir/", 0, 0, "", 0x41C00010, L"" },
        { "mem.bin", 2, 8, memory, 0x80000000, L"" },
        { "already.ZIP", 0, 0, memory, 0x80000000, L"" },
    };
    unsigned nextOffset = 0;
    for (size_t i = 0; i < parsed.items.size(); ++i) {
        const ParsedItem& item = parsed.items[i];
        const Expected& want = expected[i];
        SCOPED_TRACE(want.name);
        EXPECT_EQ(want.name, item.name);
        EXPECT_EQ(nextOffset, item.localOffset);
        // Deflated at level 8 carries the maximum-compression bit; "ro.txt" is too short to compress but is
        // deflated all the same.
        EXPECT_EQ(want.method == 8 ? 2u : 0u, item.localFlags);
        EXPECT_EQ(item.localFlags, item.centralFlags);
        EXPECT_EQ(want.method, item.method);
        EXPECT_EQ(0x0B17u, item.madeBy);
        EXPECT_EQ(20u, item.needed);
        EXPECT_EQ(ZlibCrc32(want.data), item.localCrc);
        EXPECT_EQ(item.localCrc, item.centralCrc);
        EXPECT_EQ(want.data.size(), item.localUnc);
        EXPECT_EQ(item.localUnc, item.centralUnc);
        EXPECT_EQ(item.data.size(), item.localComp);
        EXPECT_EQ(want.data, Inflated(item));
        EXPECT_EQ(want.attr, item.externalAttr);
        EXPECT_EQ(0u, item.commentLength + item.disk + item.internalAttr);
        EXPECT_EQ(17u, item.localExtraLength);
        EXPECT_EQ(9u, item.centralExtraLength);
        EXPECT_TRUE(item.descriptor.empty());
        DWORD mtime = ReadLE32(item.localExtra, 5);
        EXPECT_EQ(UnixTimesBlock(13, { mtime, ReadLE32(item.localExtra, 9), ReadLE32(item.localExtra, 13) }),
                  item.localExtra);
        EXPECT_EQ(UnixTimesBlock(5, { mtime }), item.centralExtra);
        if (!want.source.IsEmpty()) {
            HANDLE h = ::CreateFileW(want.source, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            FILETIME created = {}, accessed = {}, written = {};
            ::GetFileTime(h, &created, &accessed, &written);
            ::CloseHandle(h);
            EXPECT_EQ(UnixTime(written), mtime);
            EXPECT_EQ(UnixTime(created), ReadLE32(item.localExtra, 13));
            EXPECT_EQ(LocalDosTime(written), item.dosTime);
        }
        nextOffset = item.localOffset + 30 + static_cast<unsigned>(item.name.size()) + 17 + item.localComp;
    }
    EXPECT_EQ(nextOffset, parsed.centralOffset);
}

// A pipe cannot be rewound: the sizes follow the data in a descriptor and the flags keep bit 3.
TEST(ZipWriter, PipeTargetGetsDataDescriptors)
{
    HANDLE hRead = nullptr, hWrite = nullptr;
    ASSERT_TRUE(::CreatePipe(&hRead, &hWrite, nullptr, 1 << 20));
    std::string memory = Text(20000);
    ZipHandle hz = CreateZip(hWrite, 0, ZIP_HANDLE);
    ASSERT_NE(nullptr, hz);
    EXPECT_EQ(ZR_OK, ZipAdd(hz, L"mem.txt", memory.data(), memory.size(), ZIP_MEMORY));
    EXPECT_EQ(ZR_OK, ZipAdd(hz, L"stored.gz", memory.data(), 100, ZIP_MEMORY));
    EXPECT_EQ(ZR_OK, CloseZip(hz));
    ::CloseHandle(hWrite);
    std::string zip;
    char buffer[4096];
    DWORD n = 0;
    while (::ReadFile(hRead, buffer, sizeof(buffer), &n, nullptr) && n > 0)
        zip.append(buffer, n);
    ::CloseHandle(hRead);

    ParsedZip parsed = Parse(zip);
    ASSERT_EQ(2u, parsed.items.size());
    for (const ParsedItem& item : parsed.items) {
        SCOPED_TRACE(item.name);
        EXPECT_EQ(8u, item.localFlags);
        EXPECT_EQ(8u, item.centralFlags);
        EXPECT_EQ(0u, item.localCrc);
        ASSERT_EQ(16u, item.descriptor.size());
        EXPECT_EQ(DESCRIPTOR_SIGNATURE, ReadLE32(item.descriptor, 0));
        EXPECT_EQ(item.centralCrc, ReadLE32(item.descriptor, 4));
        EXPECT_EQ(item.centralComp, ReadLE32(item.descriptor, 8));
        EXPECT_EQ(item.centralUnc, ReadLE32(item.descriptor, 12));
    }
    EXPECT_EQ(0u, parsed.items[0].localComp);
    EXPECT_EQ(memory.size(), parsed.items[0].localUnc);
    EXPECT_EQ(memory, Inflated(parsed.items[0]));
    // A stored item announces its size in the local header already.
    EXPECT_EQ(100u, parsed.items[1].localComp);
    EXPECT_EQ(memory.substr(0, 100), Inflated(parsed.items[1]));
}

// A source that gives other than it announced: recorded as read where the header can be rewritten, refused where
// a stored item's size already left in its header.
TEST(ZipWriter, SourceOfAnotherSizeThanAnnounced)
{
    std::string data = "dati più corti";
    auto makePipe = [&data](HANDLE& hRead) {
        HANDLE hWrite = nullptr;
        ::CreatePipe(&hRead, &hWrite, nullptr, 65536);
        DWORD written = 0;
        ::WriteFile(hWrite, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
        ::CloseHandle(hWrite);
    };
    CTempFolder folder;
    CString strZip = folder.File(L"out.zip");
    HANDLE hSource = nullptr;
    makePipe(hSource);
    ZipHandle hz = CreateZip(const_cast<LPTSTR>(strZip.GetString()), 0, ZIP_FILENAME);
    EXPECT_EQ(ZR_OK, ZipAdd(hz, L"a.zip", hSource, 1000, ZIP_HANDLE));
    ::CloseHandle(hSource);
    EXPECT_EQ(ZR_OK, CloseZip(hz));
    ParsedZip parsed = Parse(ReadFileBytes(strZip));
    ASSERT_EQ(1u, parsed.items.size());
    EXPECT_EQ(data.size(), parsed.items[0].localUnc);
    EXPECT_EQ(data, Inflated(parsed.items[0]));
    EXPECT_EQ(0x80000000u, parsed.items[0].externalAttr);

    HANDLE hRead = nullptr, hWrite = nullptr;
    ASSERT_TRUE(::CreatePipe(&hRead, &hWrite, nullptr, 1 << 20));
    makePipe(hSource);
    hz = CreateZip(hWrite, 0, ZIP_HANDLE);
    EXPECT_EQ(ZR_NOCHANGE, ZipAdd(hz, L"a.zip", hSource, 1000, ZIP_HANDLE));
    EXPECT_EQ(ZR_FAILED, ZipAdd(hz, L"b.txt", data.data(), data.size(), ZIP_MEMORY));
    EXPECT_EQ(ZR_NOCHANGE, CloseZip(hz));
    ::CloseHandle(hSource);
    ::CloseHandle(hWrite);
    ::CloseHandle(hRead);
}

TEST(ZipWriter, NamesAndStoredExtensions)
{
    const struct { LPCTSTR name; int kind; const char* stored; unsigned method; } cases[] = {
        { L"dir\\sub\\file.txt", ZIP_MEMORY, "dir/sub/file.txt", 8 },
        { L"dir\\sub", ZIP_FOLDER, "dir/sub/", 0 },
        { L"dir/", ZIP_FOLDER, "dir/", 0 },
        { L"x.Z", ZIP_MEMORY, "x.Z", 0 },
        { L"x.ZIP", ZIP_MEMORY, "x.ZIP", 0 },
        { L"x.tgz", ZIP_MEMORY, "x.tgz", 0 },
        { L"x.tar.gz", ZIP_MEMORY, "x.tar.gz", 0 },
        { L"x.arj", ZIP_MEMORY, "x.arj", 0 },
        { L"x.zipx", ZIP_MEMORY, "x.zipx", 8 },
        { L"a.zip\\b", ZIP_MEMORY, "a.zip/b", 8 },
    };
    std::vector<char> block(100000);
    ZipHandle hz = CreateZip(block.data(), block.size(), ZIP_MEMORY);
    ASSERT_NE(nullptr, hz);
    for (const auto& c : cases)
        EXPECT_EQ(ZR_OK, ZipAdd(hz, c.name, "contenuto", 9, c.kind)) << c.name;
    // Names that the reader refuses are never stored: a zip that is written must read back.
    for (LPCTSTR pszUnsafe : { L"", L"../Dati/Archivio.mdb", L"..\\x", L"Dati/../../x", L"Dati\\..", L"C:\\x",
                               L"C:x", L"/x", L"\\x", L"\\\\server\\share\\x", L"x.mdb:stream" }) {
        EXPECT_EQ(ZR_ARGS, ZipAdd(hz, pszUnsafe, "x", 1, ZIP_MEMORY)) << pszUnsafe;
        EXPECT_EQ(ZR_ARGS, ZipAdd(hz, pszUnsafe, nullptr, 0, ZIP_FOLDER)) << pszUnsafe;
    }
    EXPECT_EQ(ZR_ARGS, ZipAdd(hz, L"vuoto", nullptr, 0, ZIP_MEMORY));
    EXPECT_EQ(ZR_ARGS, ZipAdd(hz, L"tipo", "x", 1, 9));
    void* pData = nullptr;
    size_t nLength = 0;
    ASSERT_EQ(ZR_OK, ZipGetMemory(hz, &pData, &nLength));
    EXPECT_EQ(static_cast<void*>(block.data()), pData);
    ParsedZip parsed = Parse(std::string(block.data(), nLength));
    ASSERT_EQ(std::size(cases), parsed.items.size());
    for (size_t i = 0; i < parsed.items.size(); ++i) {
        EXPECT_EQ(cases[i].stored, parsed.items[i].name);
        EXPECT_EQ(cases[i].method, parsed.items[i].method) << cases[i].stored;
    }
    CloseZip(hz);
}

TEST(ZipWriter, MemoryTargetsAndTheirEdges)
{
    EXPECT_EQ(nullptr, CreateZip(nullptr, 0, ZIP_MEMORY));
    TCHAR szText[80] = {};
    FormatZipMessage(ZR_RECENT, szText, _countof(szText));
    EXPECT_STREQ(L"Caller: not enough space allocated for memory zipfile", szText);

    // The writer's own block: the reader takes the archive from it.
    std::string text = Text(12345);
    ZipHandle hz = CreateZip(nullptr, 1 << 20, ZIP_MEMORY);
    ASSERT_NE(nullptr, hz);
    EXPECT_EQ(ZR_OK, ZipAdd(hz, L"t.txt", text.data(), text.size(), ZIP_MEMORY));
    void* pData = nullptr;
    size_t nLength = 0;
    ASSERT_EQ(ZR_OK, ZipGetMemory(hz, &pData, &nLength));
    std::string archive(static_cast<const char*>(pData), nLength);
    EXPECT_EQ(ZR_ENDED, ZipAdd(hz, L"late.txt", "x", 1, ZIP_MEMORY));
    EXPECT_EQ(ZR_OK, CloseZip(hz));

    ZipHandle hr = OpenZip(archive.data(), archive.size(), ZIP_MEMORY);
    ASSERT_NE(nullptr, hr);
    std::string out(text.size(), '\0');
    EXPECT_EQ(ZR_MORE, UnzipItem(hr, 0, &out[0], out.size(), ZIP_MEMORY));
    EXPECT_EQ(text, out);
    EXPECT_EQ(ZR_ZMODE, ZipAdd(hr, L"x", "x", 1, ZIP_MEMORY));
    CloseUnzip(hr);

    // A block of exactly the archive's size: its last byte is never used, so the last write fails.
    std::vector<char> exact(archive.size());
    hz = CreateZip(exact.data(), exact.size(), ZIP_MEMORY);
    EXPECT_EQ(ZR_OK, ZipAdd(hz, L"t.txt", text.data(), text.size(), ZIP_MEMORY));
    EXPECT_EQ(ZR_MEMSIZE, ZipGetMemory(hz, &pData, &nLength));
    // The cut archive is never handed out as a whole one: the failure stays with the handle.
    EXPECT_EQ(ZR_MEMSIZE, ZipGetMemory(hz, &pData, &nLength));
    EXPECT_EQ(nullptr, pData);
    EXPECT_EQ(ZR_MEMSIZE, CloseZip(hz));
    std::vector<char> enough(archive.size() + 1);
    hz = CreateZip(enough.data(), enough.size(), ZIP_MEMORY);
    EXPECT_EQ(ZR_OK, ZipAdd(hz, L"t.txt", text.data(), text.size(), ZIP_MEMORY));
    EXPECT_EQ(ZR_OK, ZipGetMemory(hz, &pData, &nLength));
    EXPECT_EQ(archive.size(), nLength);
    CloseZip(hz);

    // An item that does not fit: that error, then the earlier error for every later addition.
    std::vector<char> small(200);
    hz = CreateZip(small.data(), small.size(), ZIP_MEMORY);
    EXPECT_EQ(ZR_MEMSIZE, ZipAdd(hz, L"t.txt", text.data(), text.size(), ZIP_MEMORY));
    EXPECT_EQ(ZR_FAILED, ZipAdd(hz, L"u.txt", "x", 1, ZIP_MEMORY));
    EXPECT_EQ(ZR_MEMSIZE, ZipGetMemory(hz, &pData, &nLength));
    EXPECT_EQ(ZR_MEMSIZE, CloseZip(hz));

    CTempFolder folder;
    CString strZip = folder.File(L"f.zip");
    hz = CreateZip(const_cast<LPTSTR>(strZip.GetString()), 0, ZIP_FILENAME);
    EXPECT_EQ(ZR_NOTMMAP, ZipGetMemory(hz, &pData, &nLength));
    CloseZip(hz);
}

TEST(ZipWriter, HandlesAreChecked)
{
    void* pData = reinterpret_cast<void*>(1);
    size_t nLength = 5;
    EXPECT_EQ(ZR_ARGS, ZipGetMemory(nullptr, &pData, &nLength));
    EXPECT_EQ(nullptr, pData);
    EXPECT_EQ(0u, nLength);
    EXPECT_EQ(ZR_ARGS, ZipAdd(nullptr, L"x", "x", 1, ZIP_MEMORY));
    EXPECT_EQ(ZR_ARGS, CloseZip(nullptr));
    EXPECT_TRUE(IsZipHandle(nullptr));
    EXPECT_TRUE(IsUnzipHandle(nullptr));
    std::string zip = BuildZip({ { "a", "b" } });
    ZipHandle hr = OpenZip(zip.data(), zip.size(), ZIP_MEMORY);
    EXPECT_EQ(ZR_ZMODE, CloseZip(hr));
    TCHAR szText[80] = {};
    FormatZipMessage(ZR_RECENT, szText, _countof(szText));
    EXPECT_STREQ(L"Caller: mixing creation and opening of zip", szText);
    std::vector<char> block(1000);
    ZipHandle hz = CreateZip(block.data(), block.size(), ZIP_MEMORY);
    ZipEntry entry = {};
    EXPECT_EQ(ZR_ZMODE, GetZipItem(hz, 0, &entry));
    EXPECT_EQ(ZR_ZMODE, CloseUnzip(hz));
    CloseZip(hz);
    CloseUnzip(hr);
}

// A file target takes the new zip only once it is complete. Whatever stops it first (an item that fails part way, a
// discarded writer, a target that cannot be written over or put in place) leaves the file of that name as it was,
// by whichever of its names the target was given, and no file of the writer's beside it.
TEST(ZipWriter, FileTargetIsReplacedOnlyByACompleteZip)
{
    CTempFolder sources;
    CString strUnreadable = sources.Write(L"illeggibile.txt", Text(5000));
    std::string text = Text(20000);
    const std::string former = "il salvataggio di ieri";
    const DWORD NO_LOCK = ~0u;
    auto create = [](LPCTSTR pszName) { return CreateZip(const_cast<LPTSTR>(pszName), 0, ZIP_FILENAME); };
    // A writer of the target with its first item added, or null (a failure reported).
    auto started = [&](LPCTSTR pszName) {
        ZipHandle hz = create(pszName);
        EXPECT_NE(nullptr, hz);
        if (hz) {
            EXPECT_EQ(ZR_OK, ZipAdd(hz, L"nuovo.txt", text.data(), text.size(), ZIP_MEMORY));
        }
        return hz;
    };
    auto complete = [&](LPCTSTR pszName) {
        if (ZipHandle hz = started(pszName)) {
            EXPECT_EQ(ZR_OK, CloseZip(hz));
        }
    };
    auto failsPartWay = [&](LPCTSTR pszName) {
        ZipHandle hz = started(pszName);
        if (!hz)
            return;
        // Opened for writing only: every read fails.
        HANDLE hSource = ::CreateFileW(strUnreadable, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(ZR_READ, ZipAdd(hz, L"illeggibile.txt", hSource, 0, ZIP_HANDLE));
        ::CloseHandle(hSource);
        EXPECT_EQ(ZR_READ, CloseZip(hz));
    };
    auto discarded = [&](LPCTSTR pszName) {
        if (ZipHandle hz = started(pszName)) {
            EXPECT_EQ(ZR_OK, DiscardZip(hz));
        }
    };
    auto refused = [&](LPCTSTR pszName) {
        ZipHandle hz = create(pszName);
        TCHAR szText[80] = {};
        FormatZipMessage(ZR_RECENT, szText, _countof(szText));
        EXPECT_STREQ(L"Couldn't create/open file", szText);
        if (hz)
            DiscardZip(hz);
        EXPECT_EQ(nullptr, hz);
    };
    // The lock is taken once the zip is written, before it is put in place.
    auto heldAtTheEnd = [&](LPCTSTR pszName) {
        ZipHandle hz = started(pszName);
        if (!hz)
            return;
        HANDLE hLock = ::CreateFileW(pszName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     0, nullptr);
        EXPECT_NE(INVALID_HANDLE_VALUE, hLock);
        EXPECT_EQ(ZR_NOFILE, CloseZip(hz));
        ::CloseHandle(hLock);
    };
    const struct
    {
        const char* what;
        bool bFormer;            // a file lies under the target's name
        bool bByOtherName;       // the target is named by the file's short name
        DWORD dwLockShare;       // another handle holds the file with this sharing while the zip is written
        bool bFolder;            // a folder lies under the target's name
        std::function<void(LPCTSTR)> write;
        bool bReplaced;
    } cases[] = {
        { "complete, new file", false, false, NO_LOCK, false, complete, true },
        { "complete, over a file", true, false, NO_LOCK, false, complete, true },
        { "complete, by another name", true, true, NO_LOCK, false, complete, true },
        { "item fails part way, new file", false, false, NO_LOCK, false, failsPartWay, false },
        { "item fails part way", true, false, NO_LOCK, false, failsPartWay, false },
        { "item fails part way, by another name", true, true, NO_LOCK, false, failsPartWay, false },
        { "discarded", true, false, NO_LOCK, false, discarded, false },
        { "held without sharing", true, false, 0, false, refused, false },
        { "held without sharing, by another name", true, true, 0, false, refused, false },
        { "held without sharing writing", true, false, FILE_SHARE_READ, false, refused, false },
        { "held when it is to be put in place", true, false, NO_LOCK, false, heldAtTheEnd, false },
        { "a folder", false, false, NO_LOCK, true, refused, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CTempFolder folder;
        CString strTarget = folder.File(L"Salvataggio del lunedi.zip");
        if (c.bFolder) {
            ASSERT_TRUE(::CreateDirectoryW(strTarget, nullptr));
        }
        else if (c.bFormer) {
            folder.Write(L"Salvataggio del lunedi.zip", former);
        }
        CString strName = strTarget;
        if (c.bByOtherName) {
            strName = OtherNamesOf(strTarget).front();
            ASSERT_EQ(-1, strName.Find(L"lunedi")) << strName.GetString();
        }
        HANDLE hLock = c.dwLockShare == NO_LOCK ? INVALID_HANDLE_VALUE
                                                : ::CreateFileW(strTarget, GENERIC_READ, c.dwLockShare, nullptr,
                                                                OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(c.dwLockShare == NO_LOCK, hLock == INVALID_HANDLE_VALUE);
        c.write(strName);
        if (hLock != INVALID_HANDLE_VALUE)
            ::CloseHandle(hLock);

        bool bFileLeft = c.bReplaced || c.bFormer;
        EXPECT_EQ(bFileLeft ? std::set<CString>{ L"Salvataggio del lunedi.zip" } : std::set<CString>{},
                  FileNames(folder.Path()));
        if (c.bReplaced) {
            ParsedZip parsed = Parse(ReadFileBytes(strTarget));
            ASSERT_EQ(1u, parsed.items.size());
            EXPECT_EQ("nuovo.txt", parsed.items[0].name);
            EXPECT_EQ(text, Inflated(parsed.items[0]));
        }
        else if (bFileLeft) {
            EXPECT_EQ(former, ReadFileBytes(strTarget));
        }
    }
}
