#include "util/DateUtil.h"

#include <gtest/gtest.h>

namespace {

COleDateTime Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return COleDateTime(year, month, day, hour, minute, second);
}

COleDateTime Invalid()
{
    COleDateTime date;
    date.SetStatus(COleDateTime::invalid);
    return date;
}

// Dates are compared as text so that a failure reads as a date.
CString Text(const COleDateTime& date)
{
    return date.GetStatus() == COleDateTime::valid ? date.Format(L"%Y-%m-%d %H:%M:%S") : CString(L"<not valid>");
}

} // namespace

TEST(DateUtil, AddMonthsClampsTheDayAndKeepsTheTime)
{
    const struct { COleDateTime from; int months; COleDateTime expected; } cases[] = {
        { Date(2008, 1, 31), 1, Date(2008, 2, 29) },
        { Date(2009, 1, 31), 1, Date(2009, 2, 28) },
        { Date(2000, 1, 30), 1, Date(2000, 2, 29) },   // divisible by 400: leap
        { Date(1900, 1, 29), 1, Date(1900, 2, 28) },   // divisible by 100 only: not leap
        { Date(2008, 3, 15), -3, Date(2007, 12, 15) },
        { Date(2008, 3, 15), -13, Date(2007, 2, 15) },
        { Date(2008, 1, 15), -12, Date(2007, 1, 15) },
        { Date(2008, 1, 15), -24, Date(2006, 1, 15) },
        { Date(2008, 3, 15), 25, Date(2010, 4, 15) },
        { Date(2008, 11, 30), 2, Date(2009, 1, 30) },
        { Date(2008, 3, 31), 1, Date(2008, 4, 30) },
        { Date(2008, 8, 31), 1, Date(2008, 9, 30) },
        { Date(2008, 5, 31), 2, Date(2008, 7, 31) },
        { Date(2008, 3, 31, 14, 30, 15), 0, Date(2008, 3, 31, 14, 30, 15) },
        { Date(2008, 1, 31, 23, 59, 59), 1, Date(2008, 2, 29, 23, 59, 59) },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Text(c.expected), Text(AddMonths(c.from, c.months))) << Text(c.from) << " " << c.months;
}

TEST(DateUtil, AddYearsMovesTheLeapDay)
{
    const struct { COleDateTime from; int years; COleDateTime expected; } cases[] = {
        { Date(2008, 2, 29), 1, Date(2009, 2, 28) },
        { Date(2008, 2, 29), 4, Date(2012, 2, 29) },
        { Date(2008, 2, 29), -108, Date(1900, 2, 28) },
        { Date(2007, 3, 1, 8, 15, 0), 1, Date(2008, 3, 1, 8, 15, 0) },
        { Date(2008, 12, 31), 0, Date(2008, 12, 31) },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Text(c.expected), Text(AddYears(c.from, c.years))) << Text(c.from) << " " << c.years;
}

TEST(DateUtil, StartsOfWeekMonthAndYear)
{
    // 2 March 2008 is a Sunday, 3 March a Monday.
    const struct { COleDateTime date; COleDateTime week; COleDateTime month; COleDateTime year; } cases[] = {
        { Date(2008, 3, 2, 18, 45, 0), Date(2008, 2, 25), Date(2008, 3, 1), Date(2008, 1, 1) },
        { Date(2008, 3, 3), Date(2008, 3, 3), Date(2008, 3, 1), Date(2008, 1, 1) },
        { Date(2008, 3, 8, 9, 0, 0), Date(2008, 3, 3), Date(2008, 3, 1), Date(2008, 1, 1) },
        { Date(2009, 1, 1, 12, 0, 0), Date(2008, 12, 29), Date(2009, 1, 1), Date(2009, 1, 1) },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text(c.week), Text(StartOfWeek(c.date))) << Text(c.date);
        EXPECT_EQ(Text(c.month), Text(StartOfMonth(c.date))) << Text(c.date);
        EXPECT_EQ(Text(c.year), Text(StartOfYear(c.date))) << Text(c.date);
    }
    EXPECT_EQ(Text(Date(2008, 3, 2)), Text(TruncateToDate(Date(2008, 3, 2, 23, 59, 59))));
    EXPECT_EQ(Text(Date(1899, 12, 29)), Text(TruncateToDate(Date(1899, 12, 29, 18, 0, 0))));   // negative DATE
}

TEST(DateUtil, DatesThatAreNotValidStayThatWay)
{
    COleDateTime null;
    null.SetStatus(COleDateTime::null);
    for (const COleDateTime& date : { Invalid(), null }) {
        EXPECT_EQ(date.GetStatus(), AddMonths(date, 1).GetStatus());
        EXPECT_EQ(date.GetStatus(), AddYears(date, 1).GetStatus());
        EXPECT_EQ(date.GetStatus(), StartOfWeek(date).GetStatus());
        EXPECT_EQ(date.GetStatus(), StartOfYear(date).GetStatus());
        EXPECT_EQ(date.GetStatus(), TruncateToDate(date).GetStatus());
        EXPECT_EQ(COleDateTime::invalid, StartOfMonth(date).GetStatus());
        EXPECT_TRUE(FormatDate(date, L"d/MM/yyyy").IsEmpty());
        EXPECT_TRUE(FormatTime(date, 0).IsEmpty());
    }
    // Out of the calendar's range.
    EXPECT_EQ(COleDateTime::invalid, AddMonths(Date(9999, 12, 1), 1).GetStatus());
    EXPECT_EQ(COleDateTime::invalid, AddYears(Date(100, 1, 1), -1).GetStatus());
}

// The formats follow the user's locale, which the test run sets to Italian.
TEST(DateUtil, FormatsWithTheUsersLocale)
{
    EXPECT_EQ(CString(L"2/03/2008"), FormatDate(Date(2008, 3, 2, 18, 45, 0), L"d/MM/yyyy"));
    EXPECT_EQ(CString(L"domenica 2 marzo 2008"), FormatDate(Date(2008, 3, 2), L"dddd d MMMM yyyy"));
    EXPECT_EQ(CString(L"29/02/2008"), FormatDateCTime(CTime(2008, 2, 29, 10, 0, 0), L"dd/MM/yyyy"));
    EXPECT_EQ(CString(L"18:45"), FormatTime(Date(2008, 3, 2, 18, 45, 30), TIME_NOSECONDS));
    EXPECT_EQ(CString(L"18:45:30"), FormatTime(Date(2008, 3, 2, 18, 45, 30), TIME_FORCE24HOURFORMAT));
}
