// Other names under which the system reaches an existing file or folder, to see that a file is known by what it
// is and not by how it is named.
#pragma once

#include "platform/mfc/afxstr.h"

#include <vector>

// The short (8.3) name, when it differs, the "\\?\" form and, under Wine, the path through drive Z:, which maps
// the Unix root; each reaches the file and differs from the path as text.
std::vector<CString> OtherNamesOf(const CString& strPath);
