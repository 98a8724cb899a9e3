// Fixture of the import tests: a seeded data archive, import files written into the temporary folder, and the
// archive's bytes and derived rows to compare before and after.
#pragma once

#include "engine/EngineTestArchive.h"

#include <string>

class CImportTestArchive : public CEngineTestArchive
{
protected:
    // The archive file's bytes, read with the connection closed (it is opened again).
    std::string ArchiveBytes();
    // Every row of the table, ordered by its key, as text.
    std::string DumpTable(LPCTSTR pszTable);
    // The balance tables that the recomputation writes.
    std::string DumpBalances();
    // Lines joined with CR LF.
    CString WriteFile(LPCTSTR pszName, std::initializer_list<std::string> lines);

    // The text right-aligned in a field of the width (cut on the left when longer).
    static std::string Right(const std::string& text, size_t nWidth);
};
