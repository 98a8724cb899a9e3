#include "app/TreeDispatch.h"

#include <gtest/gtest.h>

namespace {

const long NULL_IMAGE = -99;   // the image column is null

CRecAlbero Node(long nKey, long nImage, LPCTSTR pszCode, LPCTSTR pszFile, LPCTSTR pszFlag)
{
    CRecAlbero rec;
    rec.m_idNodo.SetValue(nKey);
    if (nImage != NULL_IMAGE)
        rec.m_nImmagine.SetValue(nImage);
    rec.m_codSezione.SetText(pszCode);
    if (pszFile)
        rec.m_nomeFile.SetText(pszFile);
    if (pszFlag)
        rec.m_flag.SetText(pszFlag);
    return rec;
}

struct DispatchCase
{
    const char* name;
    int nTab;
    int nItemImage;     // the tree item's image
    long nImage;        // the row's image column
    LPCTSTR pszCode;
    LPCTSTR pszFile;
    LPCTSTR pszFlag;
    bool bCentre;
    TreeTarget target;
    LPCTSTR pszItem;
    long nNumber;
};

const DispatchCase DISPATCH_CASES[] = {
    { "closed folder", 0, 0, -1, L"1.5", nullptr, nullptr, false, TreeTarget::StartPage, L"", 0 },
    { "open folder", 0, 3, -1, L"4", nullptr, nullptr, false, TreeTarget::StartPage, L"", 0 },
    { "folder with a report file", 0, 0, 1, L"1.2", L"R.txd", nullptr, false, TreeTarget::StartPage, L"", 0 },
    { "report portrait", 0, 1, 1, L"1.1", L"R.txd", nullptr, false, TreeTarget::Report, L"R.txd", 1 },
    { "report across the page", 0, 1, 1, L"1.1", L"R.txd", L"h", false, TreeTarget::Report, L"R.txd", 0 },
    { "report without file", 0, 1, 1, L"1.1", L"", nullptr, false, TreeTarget::StartPage, L"", 0 },
    { "document", 0, 2, 2, L"4.1", L"N.txd", nullptr, false, TreeTarget::Document, L"N.txd", 9 },
    { "document across the page", 0, 2, 2, L"4.1", L"N.txd", L"h", false, TreeTarget::Document, L"N.txd", 8 },
    { "document without file", 0, 2, 2, L"4.1", nullptr, nullptr, false, TreeTarget::StartPage, L"", 0 },
    { "other image", 0, 5, 5, L"1.1", L"R.txd", nullptr, false, TreeTarget::StartPage, L"", 0 },
    { "image 0 goes by code", 0, 1, 0, L"1.3", L"C.txd", nullptr, false, TreeTarget::ReportCSP, L"C.txd", 1 },
    { "programmed target", 0, 1, NULL_IMAGE, L"1.3", L"C.txd", nullptr, false, TreeTarget::ReportCSP, L"C.txd", 1 },
    { "programmed target across", 0, 1, NULL_IMAGE, L"1.3", L"C.txd", L"h", false, TreeTarget::ReportCSP, L"C.txd", 0 },
    { "D-07 in the official tab", 1, 1, NULL_IMAGE, L"1", L"D.vts", nullptr, false, TreeTarget::FormD07, L"D.vts", 0 },
    { "code 1 in the control tab", 0, 1, NULL_IMAGE, L"1", L"D.vts", nullptr, false, TreeTarget::StartPage, L"", 0 },
    { "official tab, other code", 1, 1, 1, L"1.1", L"R.txd", nullptr, false, TreeTarget::AwaitingRules, L"", 0 },
    { "official tab, folder", 1, 0, -1, L"2", nullptr, nullptr, false, TreeTarget::StartPage, L"", 0 },
    { "2.1 awaits its rules", 0, 1, 1, L"2.1", L"R.txd", nullptr, false, TreeTarget::AwaitingRules, L"", 0 },
    { "2.3", 0, 1, NULL_IMAGE, L"2.3", nullptr, nullptr, false, TreeTarget::AwaitingRules, L"", 0 },
    { "2.4", 0, 1, 1, L"2.4", L"R.txd", nullptr, false, TreeTarget::AwaitingRules, L"", 0 },
    { "2.10 sorts inside the range", 0, 1, 1, L"2.10", L"R.txd", nullptr, false, TreeTarget::AwaitingRules, L"", 0 },
    { "2.5 sorts after it", 0, 1, 1, L"2.5", L"R.txd", nullptr, false, TreeTarget::Report, L"R.txd", 1 },
    { "3.1", 0, 1, 1, L"3.1", L"R.txd", nullptr, false, TreeTarget::AwaitingRules, L"", 0 },
    { "section 5 by itself", 0, 1, NULL_IMAGE, L"5", nullptr, nullptr, false, TreeTarget::StartPage, L"", 0 },
    { "5.1 asks for the totals", 0, 1, NULL_IMAGE, L"5.1", L"T.txd", nullptr, false, TreeTarget::ReportResp, L"T.txd", 0 },
    { "5.2 centre child", 0, 1, NULL_IMAGE, L"5.2", L"P.txd", nullptr, true, TreeTarget::ReportResp, L"P.txd", 42 },
    { "5.2 parent is a folder", 0, 0, NULL_IMAGE, L"5.2", L"P.txd", nullptr, false, TreeTarget::StartPage, L"", 0 },
    { "5.3", 0, 2, NULL_IMAGE, L"5.3", L"S.txd", L"h", false, TreeTarget::ConfServ, L"S.txd", 9 },
};

class TreeDispatchTest : public ::testing::TestWithParam<DispatchCase>
{
};

TEST_P(TreeDispatchTest, OpensWhatTheNodeStandsFor)
{
    const DispatchCase& c = GetParam();
    CRecAlbero node = Node(42, c.nImage, c.pszCode, c.pszFile, c.pszFlag);
    TreeDispatch dispatch = DispatchTreeNode(c.nTab, &node, c.nItemImage, c.bCentre);
    EXPECT_EQ(static_cast<int>(c.target), static_cast<int>(dispatch.target));
    if (c.target != TreeTarget::StartPage && c.target != TreeTarget::AwaitingRules) {
        EXPECT_EQ(CString(c.pszItem), dispatch.strFile);
        EXPECT_EQ(c.nNumber, dispatch.nNumber);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TreeDispatchTest, ::testing::ValuesIn(DISPATCH_CASES),
                         [](const ::testing::TestParamInfo<DispatchCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; ++p)
                                 name += isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

TEST(TreeDispatch, NoItemShowsTheStartPage)
{
    EXPECT_EQ(static_cast<int>(TreeTarget::StartPage), static_cast<int>(DispatchTreeNode(0, nullptr, 1, false).target));
}

} // namespace
