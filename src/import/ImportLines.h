// Line parsers of the import files: pure functions over one line of 8-bit text (positions count characters from
// 0; a UTF-8 file is turned into 8-bit text before, see CImportTextFile).
//
// Amounts are kept as 64-bit counts; a figure that the archive's currency cannot hold (with room for the sum of
// two of them) is not a valid amount, so that no line ever stores a figure other than the one it carries.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The largest amount, in whole units, that an import accepts: half the range of currency, so that the sum of
// two imported amounts still fits.
constexpr long long kMaxImportUnits = 461168601842738LL;

// Certificate files of the final accounts: records "0" (the year), "A", "B" and "C".
enum CertLineKind
{
    certEmpty,      // nothing to read
    certHeader,     // "0": the year in characters 1-4
    certRecord,     // "A" or "B": a code with its amounts
    certIgnored,    // "C"
    certBad,        // wrong length, no valid amount, unknown record type
};

struct CCertLine
{
    CertLineKind kind = certEmpty;
    int nYear = 0;                      // of a header
    std::string code;                   // 5 characters, as the file holds them
    std::vector<long long> amounts;     // whole units, in the order of the file
    // A "B" record whose amounts stopped at one that is not valid: the amounts before it are kept.
    bool bTruncated = false;
};

constexpr size_t kCertLengthA = 412;
constexpr size_t kCertLengthB = 417;

// A signed decimal integer with leading blanks that fills its field to the end, within kMaxImportUnits.
bool ParseCertAmount(std::string_view field, long long& units);
CCertLine ParseCertLine(std::string_view line);

// Management-software export files: code (3), description (20), three amounts of 15 characters in cents.
struct CGestLine
{
    std::string code;
    long long cents[3] = {};
};

constexpr size_t kGestAmountWidth = 15;

// An amount of cents: blanks around an optional minus sign put directly before the digits, and digits only. A
// blank field reads 0. Anything else (letters, points, commas, exponents, a sign apart from its digits, a plus)
// is no amount: the line would store another figure than the one the file means.
bool ParseGestCents(std::string_view field, long long& cents);
// Fields that a short line does not reach read 0; false (with the field's text) when a field holds no amount or
// the line ends inside it.
bool ParseGestLine(std::string_view line, CGestLine& result, std::string& badField);
// A line of the export: its code is three digits. Other lines (headings, notes) hold no figures.
bool IsGestRecord(std::string_view line);
