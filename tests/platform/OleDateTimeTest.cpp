// COleDateTime and COleDateTimeSpan: calendar checks, OLE dates before 1900, arithmetic across the zero
// day, status propagation, and text in the Italian locale (checked by the test main).
#include "platform/mfc/afxdisp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <ostream>

// Failures show the date rather than its bytes.
void PrintTo(const COleDateTime& date, std::ostream* os)
{
    *os << date.Format(L"%d/%m/%Y %H:%M:%S").ToMultiByte() << " (" << date.m_dt << ", status " << date.GetStatus()
        << ")";
}

namespace
{
struct CalendarCase
{
    int year, month, day;
    bool valid;
    int dayOfWeek;      // 1 = Sunday
    int dayOfYear;
    double serial;      // days from 30 December 1899
};

const CalendarCase kCalendar[] = {
    {2008, 2, 28, true, 5, 59, 39506},  {2008, 2, 29, true, 6, 60, 39507},  {2008, 3, 1, true, 7, 61, 39508},
    {2008, 2, 30, false, 0, 0, 0},      {2007, 2, 28, true, 4, 59, 39141},  {2007, 2, 29, false, 0, 0, 0},
    {2007, 3, 1, true, 5, 60, 39142},   {2000, 2, 29, true, 3, 60, 36585},  {1900, 2, 29, false, 0, 0, 0},
    {2100, 2, 29, false, 0, 0, 0},      {2008, 4, 30, true, 4, 121, 39568}, {2008, 4, 31, false, 0, 0, 0},
    {2008, 12, 31, true, 4, 366, 39813}, {2007, 12, 31, true, 2, 365, 39447}, {2009, 1, 1, true, 5, 1, 39814},
    {2008, 13, 1, false, 0, 0, 0},      {2008, 0, 10, false, 0, 0, 0},      {2008, 5, 0, false, 0, 0, 0},
    {1899, 12, 30, true, 7, 364, 0},    {1899, 12, 29, true, 6, 363, -1},   {1800, 1, 1, true, 4, 1, -36522},
    {100, 1, 1, true, 6, 1, -657434},   {99, 12, 31, false, 0, 0, 0},       {9999, 12, 31, true, 6, 365, 2958465},
    {10000, 1, 1, false, 0, 0, 0},
};

TEST(COleDateTime, CalendarAroundMonthEndsAndLeapYears)
{
    for (const CalendarCase& c : kCalendar) {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day);
        COleDateTime date(c.year, c.month, c.day, 0, 0, 0);
        ASSERT_EQ(c.valid ? COleDateTime::valid : COleDateTime::invalid, date.GetStatus());
        if (!c.valid) {
            EXPECT_EQ(-1, date.GetDay());
            continue;
        }
        EXPECT_EQ(c.serial, date.m_dt);
        EXPECT_EQ(c.year, date.GetYear());
        EXPECT_EQ(c.month, date.GetMonth());
        EXPECT_EQ(c.day, date.GetDay());
        EXPECT_EQ(c.dayOfWeek, date.GetDayOfWeek());
        EXPECT_EQ(c.dayOfYear, date.GetDayOfYear());
    }
}

TEST(COleDateTime, TimeOfDayBefore1900IsAPositiveFraction)
{
    COleDateTime morning(1899, 12, 29, 6, 0, 0);
    EXPECT_EQ(-1.25, morning.m_dt);
    COleDateTime old(1800, 1, 1, 18, 30, 0);
    EXPECT_DOUBLE_EQ(-36522.0 - 18.5 / 24, old.m_dt);

    COleDateTime fromDate(-1.75);
    EXPECT_EQ(1899, fromDate.GetYear());
    EXPECT_EQ(29, fromDate.GetDay());
    EXPECT_EQ(18, fromDate.GetHour());
    // -0.25 and 0.25 are the same moment: the day part of both is 30 December 1899.
    EXPECT_EQ(30, COleDateTime(-0.25).GetDay());
    EXPECT_EQ(6, COleDateTime(-0.25).GetHour());
}

TEST(COleDateTime, RangeOfDateValues)
{
    EXPECT_EQ(COleDateTime::valid, COleDateTime(-657434.5).GetStatus());     // 1 January 100, 12:00
    EXPECT_EQ(COleDateTime::invalid, COleDateTime(-657435.5).GetStatus());
    EXPECT_EQ(COleDateTime::valid, COleDateTime(2958465.5).GetStatus());
    EXPECT_EQ(COleDateTime::invalid, COleDateTime(2958465.9999999).GetStatus()); // rounds into the year 10000
    EXPECT_EQ(COleDateTime::invalid, COleDateTime(std::nan("")).GetStatus());
    EXPECT_EQ(COleDateTime::invalid, COleDateTime(2008, 3, 27, 24, 0, 0).GetStatus());
    EXPECT_EQ(COleDateTime::invalid, COleDateTime(2008, 3, 27, 10, 60, 0).GetStatus());
    EXPECT_EQ(COleDateTime::invalid, COleDateTime(2008, 3, 27, 10, 0, -1).GetStatus());
}

TEST(COleDateTime, PartsAreRoundedToTheSecond)
{
    COleDateTime almostMidnight(39534.0 + 86399.7 / 86400);   // 27/03/2008 23:59:59.7
    SYSTEMTIME st = {};
    ASSERT_TRUE(almostMidnight.GetAsSystemTime(st));
    EXPECT_EQ(28, st.wDay);
    EXPECT_EQ(0, st.wHour);
    EXPECT_EQ(0, st.wSecond);
    EXPECT_EQ(28, almostMidnight.GetDay());
    EXPECT_FALSE(COleDateTime(std::nan("")).GetAsSystemTime(st));
}

TEST(COleDateTime, ConstructionFromSystemTimeAndTimeT)
{
    SYSTEMTIME st = {};
    st.wYear = 2008;
    st.wMonth = 3;
    st.wDay = 27;
    st.wHour = 13;
    st.wMinute = 45;
    st.wSecond = 10;
    st.wMilliseconds = 900;
    COleDateTime fromSystem(st);
    EXPECT_EQ(COleDateTime(2008, 3, 27, 13, 45, 10), fromSystem);

    COleDateTime now = COleDateTime::GetCurrentTime();
    COleDateTime fromTimeT(std::time(nullptr));
    ASSERT_EQ(COleDateTime::valid, fromTimeT.GetStatus());
    EXPECT_LT(std::fabs((fromTimeT - now).GetTotalSeconds()), 3.0);
}

TEST(COleDateTime, ArithmeticUsesContinuousTimeBefore1900)
{
    COleDateTime morning(1899, 12, 29, 6, 0, 0);
    EXPECT_EQ(COleDateTime(1899, 12, 29, 18, 0, 0), morning + COleDateTimeSpan(0, 12, 0, 0));
    EXPECT_EQ(COleDateTime(1899, 12, 30, 6, 0, 0), morning + COleDateTimeSpan(1, 0, 0, 0));
    EXPECT_EQ(COleDateTime(1899, 12, 28, 18, 0, 0), morning - COleDateTimeSpan(0, 12, 0, 0));

    COleDateTimeSpan gap = COleDateTime(1899, 12, 30, 6, 0, 0) - COleDateTime(1899, 12, 29, 18, 0, 0);
    EXPECT_DOUBLE_EQ(0.5, gap.GetTotalDays());

    // Ordering follows time, not the raw value (-1.25 is earlier than -1.75).
    EXPECT_LT(morning, COleDateTime(1899, 12, 29, 18, 0, 0));
    EXPECT_GT(COleDateTime(1899, 12, 30, 6, 0, 0), COleDateTime(1899, 12, 29, 18, 0, 0));
}

TEST(COleDateTime, ArithmeticAcrossMonthAndYearEnds)
{
    const COleDateTimeSpan oneDay(1, 0, 0, 0);
    EXPECT_EQ(COleDateTime(2008, 2, 29, 0, 0, 0), COleDateTime(2008, 2, 28, 0, 0, 0) + oneDay);
    EXPECT_EQ(COleDateTime(2007, 3, 1, 0, 0, 0), COleDateTime(2007, 2, 28, 0, 0, 0) + oneDay);
    EXPECT_EQ(COleDateTime(2009, 1, 1, 0, 0, 0), COleDateTime(2008, 12, 31, 0, 0, 0) + oneDay);
    COleDateTime date(2008, 3, 1, 0, 0, 0);
    date -= oneDay;
    EXPECT_EQ(29, date.GetDay());

    COleDateTimeSpan span = COleDateTime(2008, 3, 27, 10, 0, 0) - COleDateTime(2008, 3, 25, 22, 30, 15);
    EXPECT_EQ(1, span.GetDays());
    EXPECT_EQ(11, span.GetHours());
    EXPECT_EQ(29, span.GetMinutes());
    EXPECT_EQ(45, span.GetSeconds());
    EXPECT_EQ(366, (COleDateTime(2009, 1, 1, 0, 0, 0) - COleDateTime(2008, 1, 1, 0, 0, 0)).GetDays());

    EXPECT_EQ(COleDateTime::invalid, (COleDateTime(9999, 12, 31, 12, 0, 0) + oneDay).GetStatus());
}

TEST(COleDateTimeSpan, PartsCarryTheSign)
{
    COleDateTimeSpan span(1, 2, 3, 4);
    EXPECT_EQ(1, span.GetDays());
    EXPECT_EQ(2, span.GetHours());
    EXPECT_EQ(3, span.GetMinutes());
    EXPECT_EQ(4, span.GetSeconds());
    EXPECT_DOUBLE_EQ(26.0 + 3.0 / 60 + 4.0 / 3600, span.GetTotalHours());

    COleDateTimeSpan back = -COleDateTimeSpan(1, 12, 0, 30);
    EXPECT_EQ(-1, back.GetDays());
    EXPECT_EQ(-12, back.GetHours());
    EXPECT_EQ(-30, back.GetSeconds());

    // A third of a day is not exact in binary: the parts still read 8 hours.
    COleDateTimeSpan third(1.0 / 3);
    EXPECT_EQ(8, third.GetHours());
    EXPECT_EQ(0, third.GetMinutes());
    EXPECT_EQ(0, third.GetSeconds());

    EXPECT_EQ(COleDateTimeSpan(2, 0, 0, 0), COleDateTimeSpan(1, 12, 0, 0) + COleDateTimeSpan(0, 12, 0, 0));
    EXPECT_LT(COleDateTimeSpan(0, 23, 0, 0), COleDateTimeSpan(1, 0, 0, 0));
}

TEST(COleDateTime, InvalidAndNullPropagate)
{
    COleDateTime valid(2008, 3, 27, 0, 0, 0);
    COleDateTime bad(2008, 2, 30, 0, 0, 0);
    COleDateTime empty;
    empty.SetStatus(COleDateTime::null);
    COleDateTimeSpan badSpan;
    badSpan.SetStatus(COleDateTimeSpan::invalid);
    COleDateTimeSpan nullSpan;
    nullSpan.SetStatus(COleDateTimeSpan::null);
    const COleDateTimeSpan day(1, 0, 0, 0);

    EXPECT_EQ(COleDateTime::invalid, (bad + day).GetStatus());
    EXPECT_EQ(COleDateTime::null, (empty + day).GetStatus());
    EXPECT_EQ(COleDateTime::invalid, (valid + badSpan).GetStatus());
    EXPECT_EQ(COleDateTime::null, (valid - nullSpan).GetStatus());
    EXPECT_EQ(COleDateTime::invalid, (empty + badSpan).GetStatus());
    EXPECT_EQ(COleDateTimeSpan::invalid, (valid - bad).GetStatus());
    EXPECT_EQ(COleDateTimeSpan::null, (empty - valid).GetStatus());
    EXPECT_EQ(COleDateTimeSpan::invalid, (nullSpan + badSpan).GetStatus());
    EXPECT_EQ(COleDateTimeSpan::null, (day - nullSpan).GetStatus());

    EXPECT_EQ(-1, bad.GetYear());
    EXPECT_EQ(-1, empty.GetDayOfWeek());
    EXPECT_EQ(CString(), bad.Format(L"%d/%m/%Y"));
    EXPECT_EQ(CString(), empty.Format());
    EXPECT_NE(bad, empty);
}

TEST(COleDateTime, FormatWithAPicture)
{
    EXPECT_EQ(CString(L"27/03/2008 13:45:10"), COleDateTime(2008, 3, 27, 13, 45, 10).Format(L"%d/%m/%Y %H:%M:%S"));
    EXPECT_EQ(CString(L"2008.03.27"), COleDateTime(2008, 3, 27, 0, 0, 0).Format(L"%Y.%m.%d"));
    EXPECT_EQ(CString(L"05/01/1800 06:00"), COleDateTime(1800, 1, 5, 6, 0, 0).Format(L"%d/%m/%Y %H:%M"));
    EXPECT_EQ(CString(L"087"), COleDateTime(2008, 3, 27, 0, 0, 0).Format(L"%j"));
}

TEST(COleDateTime, FormatAndParseInTheUserLocale)
{
    COleDateTime date(2008, 3, 27, 13, 45, 10);
    EXPECT_EQ(CString(L"27/3/2008 13:45:10"), date.Format());
    EXPECT_EQ(CString(L"27/3/2008"), date.Format(VAR_DATEVALUEONLY));
    EXPECT_EQ(CString(L"27/3/2008"), COleDateTime(2008, 3, 27, 0, 0, 0).Format());

    COleDateTime parsed;
    ASSERT_TRUE(parsed.ParseDateTime(date.Format()));
    EXPECT_EQ(date, parsed);
    ASSERT_TRUE(parsed.ParseDateTime(L"29/02/2008"));
    EXPECT_EQ(COleDateTime(2008, 2, 29, 0, 0, 0), parsed);
    ASSERT_TRUE(parsed.ParseDateTime(L"29/12/1899 06:00"));
    EXPECT_EQ(-1.25, parsed.m_dt);

    for (LPCTSTR text : {L"31/02/2008", L"", L"pippo", L"27/03/2008 25:00"}) {
        SCOPED_TRACE(CString(text).ToMultiByte());
        EXPECT_FALSE(parsed.ParseDateTime(text));
        EXPECT_EQ(COleDateTime::invalid, parsed.GetStatus());
    }
}

TEST(COleDateTime, FromVariant)
{
    VARIANT var;
    ::VariantInit(&var);
    var.vt = VT_NULL;
    EXPECT_EQ(COleDateTime::null, COleDateTime(var).GetStatus());

    var.vt = VT_R8;
    var.dblVal = 39534.5;
    EXPECT_EQ(COleDateTime(2008, 3, 27, 12, 0, 0), COleDateTime(var));

    var.vt = VT_BSTR;
    var.bstrVal = ::SysAllocString(L"27/03/2008");
    EXPECT_EQ(COleDateTime(2008, 3, 27, 0, 0, 0), COleDateTime(var));
    ::VariantClear(&var);

    var.vt = VT_BSTR;
    var.bstrVal = ::SysAllocString(L"non una data");
    COleDateTime date(2008, 3, 27, 0, 0, 0);
    date = var;
    EXPECT_EQ(COleDateTime::invalid, date.GetStatus());
    ::VariantClear(&var);
}
} // namespace
