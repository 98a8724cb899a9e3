#include "ui/commandbars/XTPStatusBarLayout.h"

#include <gtest/gtest.h>

#include <string>

TEST(StatusBarLayoutTest, PartEdgesShareTheFreeWidthAmongStretchPanes)
{
    // Inside width 500, border 2, gap 2: each pane costs its width + 6 + 2.
    struct Case
    {
        const char* pszName;
        std::vector<XTP_STATUSBAR_PART> parts;
        int nInsideWidth;
        std::vector<int> rights;
    } cases[] = {
        // free = 502 - (108 + 38 + 38) = 318, all to the message pane; the last part ends at 2 + 500.
        {"message pane stretches", {{100, TRUE}, {30, FALSE}, {30, FALSE}}, 500, {426, 464, 502}},
        // free = 501 - (18 + 18 + 48) = 417: 417 / 2 = 208 to the first, the 209 left to the second.
        {"two stretch panes", {{10, TRUE}, {10, TRUE}, {40, FALSE}}, 499, {226, 453, 501}},
        // free = 102 - 106 - 36 < 0: nobody grows, the parts still follow one another.
        {"narrower than the fixed panes", {{100, TRUE}, {30, FALSE}}, 100, {108, 146}},
        {"no stretch pane", {{20, FALSE}, {30, FALSE}}, 500, {28, 66}},
        {"no visible pane", {}, 500, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        EXPECT_EQ(c.rights, CXTPStatusBarLayout::CalcPartEdges(c.parts, c.nInsideWidth, 2, 2));
    }
}

TEST(StatusBarLayoutTest, LastPaneIsAsWideAsItsContentUnlessItStretches)
{
    const int cxEdge = ::GetSystemMetrics(SM_CXEDGE);
    const int cxGrip = ::GetSystemMetrics(SM_CXSMICON) + cxEdge;
    EXPECT_EQ(400 + 3 * cxEdge + 50, CXTPStatusBarLayout::CalcLastPaneRight(400, {50, FALSE}, 640, TRUE));
    EXPECT_EQ(640, CXTPStatusBarLayout::CalcLastPaneRight(400, {50, TRUE}, 640, FALSE));
    EXPECT_EQ(640 - cxGrip, CXTPStatusBarLayout::CalcLastPaneRight(400, {50, TRUE}, 640, TRUE));
}

TEST(StatusBarLayoutTest, TextMessagesAnswerAsWin32)
{
    const CString strText = L"Pronto";
    struct Case
    {
        const char* pszName;
        const CString* pText;
        WPARAM nMaxCount;
        LRESULT nResult;
        std::wstring strCopied;
    } cases[] = {
        {"room for all", &strText, 32, 6, L"Pronto"},
        {"buffer as long as the text", &strText, 6, 5, L"Pront"},
        {"room for the terminator only", &strText, 1, 0, L""},
        {"no message pane", nullptr, 32, 0, L""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszName);
        WCHAR szBuffer[40];
        std::fill(std::begin(szBuffer), std::end(szBuffer), L'#');
        EXPECT_EQ(c.nResult, CXTPStatusBarLayout::CopyText(c.pText, szBuffer, c.nMaxCount));
        EXPECT_EQ(c.strCopied, std::wstring(szBuffer));
        EXPECT_EQ(L'#', szBuffer[c.nMaxCount]);   // nothing written past the buffer
    }
    WCHAR chUntouched = L'#';
    EXPECT_EQ(0, CXTPStatusBarLayout::CopyText(&strText, &chUntouched, 0));
    EXPECT_EQ(L'#', chUntouched);

    EXPECT_EQ(6, CXTPStatusBarLayout::GetTextLength(&strText));
    EXPECT_EQ(0, CXTPStatusBarLayout::GetTextLength(nullptr));
    EXPECT_EQ(TRUE, CXTPStatusBarLayout::AnswerSetText(TRUE));
    EXPECT_EQ(FALSE, CXTPStatusBarLayout::AnswerSetText(FALSE));
}
