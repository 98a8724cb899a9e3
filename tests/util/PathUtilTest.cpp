#include "util/PathUtil.h"
#include "support/FileAliases.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

TEST(PathUtil, CombinePathPutsExactlyOneBackslashBetween)
{
    const struct { const wchar_t* folder; const wchar_t* name; const wchar_t* expected; } cases[] = {
        { L"C:\\Prog", L"Form", L"C:\\Prog\\Form" },
        { L"C:\\Prog\\", L"Form", L"C:\\Prog\\Form" },
        { L"", L"x.mdb", L"x.mdb" },
        { L"C:\\Prog", L"", L"C:\\Prog" },
        { L"C:\\Prog", L"\\x", L"C:\\Prog\\\\x" },   // the name is taken as it comes
        { L"Dati", L"Archivio\\x.mdb", L"Dati\\Archivio\\x.mdb" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.expected), CombinePath(c.folder, c.name)) << c.folder << L" + " << c.name;
    EXPECT_EQ(CString(L"x"), CombinePath(nullptr, L"x"));
}

TEST(PathUtil, PathIsSplitIntoFolderNameTitleAndExtension)
{
    const struct { const wchar_t* path; const wchar_t* dir; const wchar_t* name; const wchar_t* title; const wchar_t* ext; } cases[] = {
        { L"C:\\x.mdb", L"C:\\", L"x.mdb", L"x", L"mdb" },
        { L"Dati\\x.mdb", L"Dati", L"x.mdb", L"x", L"mdb" },
        { L"x.mdb", L"", L"x.mdb", L"x", L"mdb" },
        { L"C:\\Prog\\Doc\\Legge 2008.v1.txd", L"C:\\Prog\\Doc", L"Legge 2008.v1.txd", L"Legge 2008.v1", L"txd" },
        { L"C:\\Prog.d\\LEGGIMI", L"C:\\Prog.d", L"LEGGIMI", L"LEGGIMI", L"" },
        { L"\\x.mdb", L"\\", L"x.mdb", L"x", L"mdb" },
        { L"C:x.mdb", L"C:", L"x.mdb", L"x", L"mdb" },
        { L"C:\\Prog\\", L"C:\\Prog", L"", L"", L"" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CString(c.dir), GetPathDir(c.path)) << c.path;
        EXPECT_EQ(CString(c.name), GetPathFileName(c.path)) << c.path;
        EXPECT_EQ(CString(c.title), GetPathFileTitle(c.path)) << c.path;
        EXPECT_EQ(CString(c.ext), GetPathExtension(c.path)) << c.path;
    }
}

TEST(PathUtil, ReplaceExtensionKeepsFolderAndName)
{
    const struct { const wchar_t* path; const wchar_t* ext; const wchar_t* expected; } cases[] = {
        { L"C:\\Prog.d\\Dati\\x.mdb", L"zip", L"C:\\Prog.d\\Dati\\x.zip" },
        { L"C:\\Prog.d\\Dati\\x.mdb", L".old", L"C:\\Prog.d\\Dati\\x.old" },
        { L"C:\\Prog.d\\LEGGIMI", L"txt", L"C:\\Prog.d\\LEGGIMI.txt" },
        { L"x.tar.gz", L"", L"x.tar" },
    };
    for (const auto& c : cases) {
        CString path = c.path;
        ReplaceExtension(path, c.ext);
        EXPECT_EQ(CString(c.expected), path) << c.path;
    }
}

TEST(PathUtil, ValidFileNamesHoldNoReservedCharacter)
{
    for (const wchar_t* name : { L"Entrate 2008.vts", L"", L"a.b.c", L"perch\u00e9 \u20ac" })
        EXPECT_TRUE(IsValidFileName(name)) << name;
    for (const wchar_t* name : { L"C:x", L"a\\b", L"a/b", L"a*", L"a?", L"\"a\"", L"<a>", L"a|b" })
        EXPECT_FALSE(IsValidFileName(name)) << name;
}

TEST(PathUtil, FileTestsAndReadOnlyAttribute)
{
    CTempFolder folder;
    CString file = folder.Write(L"a.txt", "abc");
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(folder.Path()));
    EXPECT_FALSE(FileExists(folder.File(L"missing.txt")));
    EXPECT_TRUE(IsDirectory(folder.Path()));
    EXPECT_FALSE(IsDirectory(file));
    EXPECT_FALSE(IsDirectory(folder.File(L"missing")));

    EXPECT_FALSE(IsReadOnly(file));
    EXPECT_TRUE(SetReadOnly(file, TRUE));
    EXPECT_TRUE(IsReadOnly(file));
    EXPECT_TRUE(SetReadOnly(file, FALSE));
    EXPECT_FALSE(IsReadOnly(file));
    EXPECT_FALSE(SetReadOnly(folder.File(L"missing.txt"), TRUE));
    EXPECT_FALSE(IsReadOnly(folder.File(L"missing.txt")));
}

// A file and a folder are known by every name that reaches them, and by no other file's: held by another handle
// without sharing too.
TEST(PathUtil, SameFileWhateverNamesIt)
{
    CTempFolder folder;
    CString file = folder.Write(L"Archivio.mdb", "abc");
    CString other = folder.Write(L"Altro.mdb", "abc");
    HANDLE hLock = ::CreateFileW(file, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hLock);
    for (const CString& path : { file, folder.Path() }) {
        std::vector<CString> names = OtherNamesOf(path);
        EXPECT_GE(names.size(), 2u);
        names.push_back(path);
        for (const CString& name : names) {
            EXPECT_TRUE(IsSameFile(path, name)) << name.GetString();
            EXPECT_FALSE(IsSameFile(other, name)) << name.GetString();
        }
    }
    ::CloseHandle(hLock);
    EXPECT_FALSE(IsSameFile(file, folder.Path()));
    EXPECT_FALSE(IsSameFile(folder.File(L"manca.mdb"), folder.File(L"manca.mdb")));
}

TEST(PathUtil, MoveFileKeepAttrKeepsTheReadOnlyAttribute)
{
    CTempFolder folder;
    CString readOnly = folder.Write(L"ro.txd", "r");
    CString plain = folder.Write(L"rw.txd", "w");
    ASSERT_TRUE(SetReadOnly(readOnly, TRUE));

    EXPECT_TRUE(MoveFileKeepAttr(readOnly, folder.File(L"ro.txd.old")));
    EXPECT_FALSE(FileExists(readOnly));
    EXPECT_TRUE(IsReadOnly(folder.File(L"ro.txd.old")));

    EXPECT_TRUE(MoveFileKeepAttr(plain, folder.File(L"rw.txd.old")));
    EXPECT_FALSE(IsReadOnly(folder.File(L"rw.txd.old")));

    // A failed move leaves the source as it was, read-only included.
    CString again = folder.Write(L"again.txd", "a");
    ASSERT_TRUE(SetReadOnly(again, TRUE));
    EXPECT_FALSE(MoveFileKeepAttr(again, folder.File(L"rw.txd.old")));
    EXPECT_TRUE(IsReadOnly(again));
    SetReadOnly(again, FALSE);
    SetReadOnly(folder.File(L"ro.txd.old"), FALSE);
}

TEST(PathUtil, EnsureFolderCreatesTheWholeChain)
{
    CTempFolder folder;
    CString nested = folder.File(L"Backup\\2008\\Marzo");
    EXPECT_TRUE(EnsureFolder(nested));
    EXPECT_TRUE(IsDirectory(nested));
    EXPECT_TRUE(EnsureFolder(nested));   // already there

    // A file in the way cannot become a folder.
    CString file = folder.Write(L"occupato", "x");
    EXPECT_FALSE(EnsureFolder(file + L"\\sotto"));
}

TEST(PathUtil, TempFileNameIsANewEmptyFile)
{
    CTempFolder folder;
    CString first = GetTempFileName(folder.Path(), L"qzl");
    CString second = GetTempFileName(folder.Path(), L"qzl");
    ASSERT_FALSE(first.IsEmpty());
    EXPECT_NE(first, second);
    EXPECT_EQ(folder.Path(), GetPathDir(first));
    EXPECT_EQ(0, GetPathFileName(first).Find(L"qzl"));
    EXPECT_TRUE(FileExists(first));
    EXPECT_TRUE(FileExists(second));

    CString inTemp = GetTempFileName(nullptr, L"qzl");
    ASSERT_FALSE(inTemp.IsEmpty());
    EXPECT_TRUE(FileExists(inTemp));
    ::DeleteFileW(inTemp);

    EXPECT_TRUE(GetTempFileName(folder.File(L"missing"), L"qzl").IsEmpty());
}

TEST(PathUtil, FreeFileNameCountsPastExistingFiles)
{
    CTempFolder folder;
    CString candidate = folder.File(L"Copia");
    EXPECT_EQ(candidate, GetFreeFileName(candidate));
    folder.Write(L"Copia", "");
    folder.Write(L"Copia_00", "");
    EXPECT_EQ(folder.File(L"Copia_01"), GetFreeFileName(candidate));
    // Only the exact names count: a file with an extension does not take the name.
    folder.Write(L"Copia_01.zip", "");
    EXPECT_EQ(folder.File(L"Copia_01"), GetFreeFileName(candidate));
}

TEST(PathUtil, MakeUniqueFileNameLeavesNoFileBehind)
{
    CTempFolder folder;
    CString target = folder.File(L"Nuova\\Cartella");
    CString name = MakeUniqueFileName(target, L"bk");
    ASSERT_FALSE(name.IsEmpty());
    EXPECT_TRUE(IsDirectory(target));
    EXPECT_EQ(target, GetPathDir(name));
    EXPECT_EQ(0, GetPathFileName(name).Find(L"bk"));
    EXPECT_TRUE(GetPathExtension(name).IsEmpty());
    EXPECT_FALSE(FileExists(name));

    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW(target + L"\\*.*", &data);
    int files = 0;
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                files++;
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    EXPECT_EQ(0, files);

    // A file in the way of the folder: no name at all, rather than one outside the folder.
    CString blocked = folder.Write(L"bloccato", "x");
    EXPECT_TRUE(MakeUniqueFileName(blocked, L"bk").IsEmpty());
}

TEST(PathUtil, FullAndRelativePaths)
{
    CTempFolder folder;
    EXPECT_EQ(folder.File(L"a\\b.txt"), GetFullPath(folder.File(L"a\\..\\a\\.\\b.txt")));

    const struct { const wchar_t* from; const wchar_t* to; BOOL toIsFolder; BOOL drop; const wchar_t* expected; } cases[] = {
        { L"C:\\Prog", L"C:\\Prog\\Dati\\x.mdb", FALSE, FALSE, L".\\Dati\\x.mdb" },
        { L"C:\\Prog\\Doc", L"C:\\Prog\\Dati", TRUE, FALSE, L"..\\Dati" },
        { L"C:\\", L"C:\\Dati\\x.mdb", FALSE, FALSE, L".\\Dati\\x.mdb" },
        // A folder given with its backslash makes the shell answer from the root of the folder.
        { L"C:\\Prog\\", L"C:\\Prog\\Dati\\x.mdb", FALSE, FALSE, L"\\Dati\\x.mdb" },
        { L"C:\\Prog\\", L"C:\\Prog\\Dati\\x.mdb", FALSE, TRUE, L"Dati\\x.mdb" },
        { L"C:\\Prog", L"D:\\x.mdb", FALSE, FALSE, L"" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.expected), GetRelativePath(c.from, c.to, c.toIsFolder, c.drop)) << c.from << L" -> " << c.to;
}

TEST(PathUtil, ModuleDirIsTheFolderOfTheTestProgram)
{
    TCHAR module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    EXPECT_EQ(CombinePath(GetModuleDir(), GetPathFileName(module)), CString(module));
    EXPECT_TRUE(IsDirectory(GetModuleDir()));
}

TEST(PathUtil, ShellPathsAndShortcuts)
{
    CTempFolder folder;
    CString file = folder.Write(L"Documento.txd", "x");
    EXPECT_EQ(file, ResolveShellPath(file));
    CString missing = folder.File(L"nessuno\\x.txd");
    EXPECT_EQ(missing, ResolveShellPath(missing));

    CString link = folder.File(L"Quarzel08.lnk");
    ASSERT_TRUE(CreateShortcut(link, file, L"Verifica Vorsa 2008"));
    EXPECT_TRUE(FileExists(link));
    EXPECT_FALSE(CreateShortcut(folder.File(L"nessuno\\x.lnk"), file, L"x"));

    // Whether the shell shows the extension is the user's setting.
    CString title = GetFileDisplayTitle(file);
    EXPECT_TRUE(title == L"Documento.txd" || title == L"Documento") << title.GetString();
}
