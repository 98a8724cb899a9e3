// Date arithmetic and formatting on COleDateTime. A date that is not valid comes back unchanged (or
// invalid where said) and formats as an empty text.
#pragma once

#include "platform/mfc/afxdisp.h"
#include "platform/mfc/afxtime.h"

// Monday 00:00 of the date's week (a Sunday belongs to the week that began six days earlier).
COleDateTime StartOfWeek(const COleDateTime& date);
// Day 1 of the month, 00:00; an invalid date for a date that is not valid.
COleDateTime StartOfMonth(const COleDateTime& date);
// 1 January of the year, 00:00.
COleDateTime StartOfYear(const COleDateTime& date);
// The same day n months later (n may be negative), clamped to the target month's last day; time kept.
COleDateTime AddMonths(const COleDateTime& date, int nMonths);
// The same day n years later; 29 February becomes 28 February in a year that is not a leap year.
COleDateTime AddYears(const COleDateTime& date, int nYears);
// The date at 00:00.
COleDateTime TruncateToDate(const COleDateTime& date);

// The system's date formatting in the user's default locale with a picture such as "d/MM/yyyy".
CString FormatDate(const COleDateTime& date, LPCTSTR lpszPicture);
CString FormatDateCTime(const CTime& time, LPCTSTR lpszPicture);
// The system's time formatting in the user's default locale (GetTimeFormat flags).
CString FormatTime(const COleDateTime& date, DWORD dwFlags);
