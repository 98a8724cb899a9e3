#pragma once

#include "platform/mfc/afx.h"

#include <vector>

// Stores that keep their state in one file read it and write it whole.

// The file's whole content when it has at most nMax bytes; FALSE when it cannot be read.
BOOL ReadWholeFile(LPCTSTR pszPath, std::vector<BYTE>& bytes, ULONGLONG nMax);

// The bytes go beside the destination first and then take its place: a failure leaves the destination as it was.
BOOL WriteWholeFile(LPCTSTR pszPath, const void* pData, size_t nSize);
