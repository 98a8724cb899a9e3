// Genuine Jet files (Jet 3 and Jet 4, the database product's own), read through libmdb. The stand-in serves such a
// file read-only: its user tables, with their columns' types and their indexes, are copied into a SQLite database
// in memory, which the translator, the record sets and the fields then read as they read ours.
#pragma once

#include <string>

class CSqliteDatabase;

// Whether the file's header names it a Jet 3 or Jet 4 database.
bool JetIsJetFile(const std::wstring& path);

// Checks the database password as Jet does, then copies the user tables of the Jet file into database (open and
// empty). A wrong password raises Jet's error for it; a file that cannot be read whole raises Jet's "Unrecognized
// database format", with nothing copied.
void JetLoadFile(CSqliteDatabase& database, const std::wstring& path, const std::wstring& password);
