#include "platform/mfc/afxexcept.h"
#include "reports/UserCopy.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

CTextDocument Document(LPCTSTR pszText)
{
    CTextDocument doc;
    doc.AppendText(pszText, CTextCharFormat());
    return doc;
}

CString TextOf(const CString& path)
{
    CTextDocument doc;
    doc.Load(path);
    return doc.GetText();
}

TEST(UserCopyTest, EachSaveKeepsExactlyThePreviousCopyAsOld)
{
    CTempFolder folder;
    const CString path = folder.File(L"ConfServ.txd");
    SaveUserCopy(Document(L"prima"), path);
    EXPECT_EQ(CString(L"prima"), TextOf(path));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(path + L".old"));

    SaveUserCopy(Document(L"seconda"), path);
    SaveUserCopy(Document(L"terza"), path);
    EXPECT_EQ(CString(L"terza"), TextOf(path));
    EXPECT_EQ(CString(L"seconda"), TextOf(path + L".old"));

    WIN32_FIND_DATAW data;
    HANDLE hFind = ::FindFirstFileW(folder.File(L"*"), &data);
    int nFiles = 0;
    do {
        nFiles += (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    } while (::FindNextFileW(hFind, &data));
    ::FindClose(hFind);
    EXPECT_EQ(2, nFiles);
}

TEST(UserCopyTest, AFailedWriteLeavesThePreviousCopies)
{
    CTempFolder folder;
    const CString path = folder.File(L"ConfServ.txd");
    SaveUserCopy(Document(L"prima"), path);
    SaveUserCopy(Document(L"seconda"), path);
    // The new copy cannot be written beside: a folder holds its name.
    ASSERT_TRUE(::CreateDirectoryW(path + L".new", nullptr));

    bool bRaised = false;
    try {
        SaveUserCopy(Document(L"terza"), path);
    }
    catch (CFileException* e) {
        e->Delete();
        bRaised = true;
    }
    EXPECT_TRUE(bRaised);
    EXPECT_EQ(CString(L"seconda"), TextOf(path));
    EXPECT_EQ(CString(L"prima"), TextOf(path + L".old"));
    ::RemoveDirectoryW(path + L".new");
}

TEST(UserCopyTest, TheUserCopyWinsOverTheTemplate)
{
    CTempFolder folder;
    ::CreateDirectoryW(folder.File(L"Doc"), nullptr);
    ::CreateDirectoryW(folder.File(L"DocUt"), nullptr);
    folder.Write(L"Doc\\A.txd", "{\\rtf1 a}");
    folder.Write(L"Doc\\B.txd", "{\\rtf1 b}");
    folder.Write(L"DocUt\\A.txd", "{\\rtf1 a}");
    EXPECT_EQ(folder.File(L"DocUt\\A.txd"), ResolveDocumentPath(folder.File(L"DocUt"), folder.File(L"Doc"), L"A.txd"));
    EXPECT_EQ(folder.File(L"Doc\\B.txd"), ResolveDocumentPath(folder.File(L"DocUt"), folder.File(L"Doc"), L"B.txd"));
}

} // namespace
