// The recent-file list as the File menu reads it: newest first, a file listed once, a fixed number of entries,
// and the names shown relative to the current folder or cut to the file name.
#include "platform/mfc/afxrecentfile.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
std::vector<CString> Entries(CRecentFileList& list)
{
    std::vector<CString> entries;
    for (int i = 0; i < list.GetSize(); i++)
        entries.push_back(list[i]);
    return entries;
}
}

TEST(RecentFileList, NewestFirstEachFileOnceAndNoMoreThanItsSize)
{
    CRecentFileList list(0xE110, L"Recent File List", L"File%d", 3);
    EXPECT_EQ((std::vector<CString>{L"", L"", L""}), Entries(list));
    for (LPCTSTR psz : {L"C:\\Dati\\Uno.qvz", L"C:\\Dati\\Due.qvz", L"C:\\Dati\\Tre.qvz"})
        list.Add(psz);
    EXPECT_EQ((std::vector<CString>{L"C:\\Dati\\Tre.qvz", L"C:\\Dati\\Due.qvz", L"C:\\Dati\\Uno.qvz"}), Entries(list));
    // Opened again under another case: it moves up, written as now.
    list.Add(L"c:\\dati\\uno.QVZ");
    EXPECT_EQ((std::vector<CString>{L"c:\\dati\\uno.QVZ", L"C:\\Dati\\Tre.qvz", L"C:\\Dati\\Due.qvz"}), Entries(list));
    // A fourth file pushes out the oldest.
    list.Add(L"C:\\Dati\\Quattro.qvz");
    EXPECT_EQ((std::vector<CString>{L"C:\\Dati\\Quattro.qvz", L"c:\\dati\\uno.QVZ", L"C:\\Dati\\Tre.qvz"}),
              Entries(list));
    list.Remove(1);
    list.Remove(7);
    EXPECT_EQ((std::vector<CString>{L"C:\\Dati\\Quattro.qvz", L"C:\\Dati\\Tre.qvz", L""}), Entries(list));

    CRecentFileList none(0xE110, L"Recent File List", L"File%d", 0);
    none.Add(L"C:\\Dati\\Uno.qvz");
    EXPECT_EQ(0, none.GetSize());
}

TEST(RecentFileList, DisplayNamesAreRelativeToTheFolderAndCutToTheFileName)
{
    CRecentFileList list(0xE110, L"Recent File List", L"File%d", 4, 20);
    list.Add(L"D:\\Archivio\\Vecchi bilanci\\Consuntivo.qvz");
    list.Add(L"D:\\Archivio\\Bilancio.qvz");
    list.Add(L"D:\\Altro\\Previsione 2008.qvz");
    const CString strDir = L"d:\\archivio\\";
    struct Case
    {
        int nIndex;
        LPCTSTR lpszDir;
        BOOL bAtLeastName;
        BOOL bResult;
        LPCTSTR lpszName;
    } cases[] = {
        {1, strDir, TRUE, TRUE, L"Bilancio.qvz"},                    // inside the folder, any case
        {0, strDir, TRUE, TRUE, L"Previsione 2008.qvz"},             // elsewhere and too long: its file name
        {2, strDir, TRUE, TRUE, L"Consuntivo.qvz"},                  // relative, still too long: its file name
        {1, nullptr, TRUE, TRUE, L"Bilancio.qvz"},
        {0, nullptr, FALSE, TRUE, L"Previsione 2008.qvz"},
        {3, strDir, TRUE, FALSE, L"prima"},                          // an unused entry leaves the name
        {9, strDir, TRUE, FALSE, L"prima"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nIndex);
        CString strName = L"prima";
        EXPECT_EQ(c.bResult, list.GetDisplayName(strName, c.nIndex, c.lpszDir, c.lpszDir ? strDir.GetLength() : 0,
                                                 c.bAtLeastName));
        EXPECT_EQ(CString(c.lpszName), strName);
    }
    // Without the file name at least, a file name longer than the limit shows nothing.
    CRecentFileList narrow(0xE110, L"Recent File List", L"File%d", 1, 8);
    narrow.Add(L"C:\\Previsione.qvz");
    CString strName;
    EXPECT_TRUE(narrow.GetDisplayName(strName, 0, nullptr, 0, FALSE));
    EXPECT_EQ(CString(), strName);
    EXPECT_TRUE(narrow.GetDisplayName(strName, 0, nullptr, 0, TRUE));
    EXPECT_EQ(CString(L"Previsione.qvz"), strName);
}
