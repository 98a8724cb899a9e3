// The question, asked at most once a calendar day, whether to look for a newer version on the maker's site.
#pragma once

#include "platform/mfc/afxdisp.h"
#include "platform/mfc/afxstr.h"

#include <functional>

// "LastWebChk.dat" in the update folder holds the day of the last question ("%d/%m/%Y", no line end). The
// question (message 2056, Yes/No) is due when the file is missing, unreadable, shorter than 10 characters or
// holds an invalid date or a day before today; the file is rewritten with today's date in every case (a failure
// to write it is ignored). beforeAsking runs just before the question is shown. When the update folder cannot
// be created its error is shown and nothing is asked. TRUE when the user chose to look for an update.
BOOL AskDailyWebCheck(LPCTSTR lpszUpdateFolder, const COleDateTime& now,
                      const std::function<void()>& beforeAsking = std::function<void()>());
