// The user's copies of the editable documents: kept in the "DocUt" folder, preferred over the program's
// templates in "Doc", and saved so that the previous copy is never lost.
#pragma once

#include "platform/textdoc/TextDocument.h"

// The user's copy when it exists, else the template.
CString ResolveDocumentPath(LPCTSTR pszDocUtFolder, LPCTSTR pszDocFolder, LPCTSTR pszName);

// Writes the document (own format) to the path, keeping the previous copy as the path with ".old" appended
// (exactly one: an older ".old" is replaced). The new copy is written beside first, so that a failed write
// leaves the previous copy and its ".old" as they were. Raises CFileException.
void SaveUserCopy(const CTextDocument& doc, LPCTSTR pszPath);
