#include "util/TempFile.h"
#include "util/MessageText.h"
#include "util/PathUtil.h"
#include "support/MessageBoxRecorder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

CString CurrentDirectory()
{
    TCHAR dir[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, dir);
    return dir;
}

} // namespace

TEST(CCurrentDirectory, ChangesForTheScopeOnly)
{
    CTempFolder folder;
    CString before = CurrentDirectory();
    {
        CMessageBoxRecorder boxes;
        CCurrentDirectory change(folder.Path());
        EXPECT_FALSE(change.HasFailed());
        EXPECT_EQ(folder.Path(), CurrentDirectory());
        EXPECT_EQ(0u, boxes.Count());
    }
    EXPECT_EQ(before, CurrentDirectory());
}

TEST(CCurrentDirectory, MissingFolderShowsTheSystemErrorAndStaysPut)
{
    CTempFolder folder;
    CString before = CurrentDirectory();
    CMessageBoxRecorder boxes;
    {
        CCurrentDirectory change(folder.File(L"manca"));
        EXPECT_TRUE(change.HasFailed());
        EXPECT_EQ(before, CurrentDirectory());
    }
    EXPECT_EQ(before, CurrentDirectory());
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(GetSystemErrorText(ERROR_FILE_NOT_FOUND), boxes.Last().text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.LastIcon());
}

TEST(CTempFile, ExistsForTheScopeWithTheAskedExtension)
{
    CTempFolder folder;
    CString path;
    {
        CTempFile file(folder.Path(), L"rpt", L"pdf");
        path = file.GetPath();
        EXPECT_TRUE(FileExists(path));
        EXPECT_EQ(folder.Path(), GetPathDir(path));
        EXPECT_EQ(0, GetPathFileName(path).Find(L"rpt"));
        EXPECT_EQ(CString(L"pdf"), GetPathExtension(path));
        // Renamed, not copied: the system's first name is gone.
        CString original = path;
        ReplaceExtension(original, L"tmp");
        EXPECT_FALSE(FileExists(original));
    }
    EXPECT_FALSE(FileExists(path));

    {
        CTempFile kept(folder.Path(), nullptr, nullptr, FALSE);
        path = kept.GetPath();
        EXPECT_EQ(CString(L"tmp"), GetPathExtension(path));
    }
    EXPECT_TRUE(FileExists(path));

    {
        CTempFile inTemp(nullptr);
        path = inTemp;
        EXPECT_TRUE(FileExists(path));
    }
    EXPECT_FALSE(FileExists(path));
}

TEST(CTempFile, FailureThrowsTheSystemsFileError)
{
    CTempFolder folder;
    CString missing = folder.File(L"manca");
    TCHAR name[MAX_PATH];
    ASSERT_EQ(0u, ::GetTempFileNameW(missing, L"rpt", 0, name));
    LONG systemError = static_cast<LONG>(::GetLastError());
    try {
        CTempFile file(missing, L"rpt");
        ADD_FAILURE() << "no exception";
    } catch (CFileException* e) {
        EXPECT_EQ(systemError, e->m_lOsError);
        EXPECT_EQ(CFileException::OsErrorToException(systemError), e->m_cause);
        EXPECT_EQ(missing, e->m_strFileName);
        e->Delete();
    }
}
