#include "util/WebCheck.h"
#include "util/MessageText.h"
#include "resource.h"

#include "support/MessageBoxRecorder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::string ReadAll(const CString& strPath)
{
    std::ifstream in(strPath.GetString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const char kMissing[] = "<missing>";

} // namespace

TEST(WebCheck, AsksAtMostOnceADayAndRemembersToday)
{
    const COleDateTime noon(2008, 3, 5, 12, 30, 0);
    const struct { const char* last; COleDateTime now; int answer; bool asked; const char* written; } cases[] = {
        { "05/03/2008", noon, IDYES, false, "05/03/2008" },
        { "06/03/2008", noon, IDYES, false, "05/03/2008" },            // a later day (clock put back): not asked
        { "05/03/2008\r\n", noon, IDYES, false, "05/03/2008" },
        { "04/03/2008", noon, IDYES, true, "05/03/2008" },             // yesterday
        { "04/03/2008", noon, IDNO, true, "05/03/2008" },
        { "31/12/2007", COleDateTime(2008, 1, 1, 0, 0, 1), IDYES, true, "01/01/2008" },
        { "31/02/2008", noon, IDYES, true, "05/03/2008" },             // not a date
        { "5/3/2008", noon, IDYES, true, "05/03/2008" },               // shorter than 10 characters
        { "", noon, IDNO, true, "05/03/2008" },
        { "xx/yy/zzzz", noon, IDYES, true, "05/03/2008" },
        { kMissing, noon, IDYES, true, "05/03/2008" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.last);
        CTempFolder temp;
        CString strFolder = temp.File(L"WebUpd");
        if (c.last != std::string(kMissing))
        {
            ASSERT_TRUE(::CreateDirectoryW(strFolder, nullptr));
            temp.Write(L"WebUpd\\LastWebChk.dat", c.last);
        }
        CMessageBoxRecorder boxes(c.answer);
        int nBefore = 0;
        BOOL bYes = AskDailyWebCheck(strFolder, c.now, [&] { nBefore = static_cast<int>(boxes.Count()) + 1; });

        ASSERT_EQ(c.asked ? 1u : 0u, boxes.Count());
        EXPECT_EQ(c.asked && c.answer == IDYES, bYes != FALSE);
        if (c.asked)
        {
            EXPECT_EQ(1, nBefore) << "the splash is hidden before the question";
            EXPECT_EQ(LoadResString(IDP_WEB_CHECK_ASK), boxes.Last().text);
            EXPECT_EQ(static_cast<UINT>(MB_YESNO), boxes.LastButtons());
            EXPECT_EQ(static_cast<UINT>(MB_ICONQUESTION), boxes.LastIcon());
        }
        else
            EXPECT_EQ(0, nBefore);
        EXPECT_EQ(c.written, ReadAll(temp.File(L"WebUpd\\LastWebChk.dat")));
    }
}

// The folder cannot be made (a file holds its name): the system's error is shown and nothing is asked.
TEST(WebCheck, AFolderThatCannotBeMadeShowsTheErrorAndAsksNothing)
{
    CTempFolder temp;
    temp.Write(L"WebUpd", "not a folder");
    CMessageBoxRecorder boxes(IDYES);
    EXPECT_FALSE(AskDailyWebCheck(temp.File(L"WebUpd"), COleDateTime(2008, 3, 5, 0, 0, 0)));
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.LastIcon());
    EXPECT_FALSE(boxes.Last().text.IsEmpty());
    EXPECT_EQ(-1, boxes.Last().text.Find(L"Lumetra"));
}
