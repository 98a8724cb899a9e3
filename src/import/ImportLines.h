// Line parsers of the import files: pure functions over one line of 8-bit text (positions count bytes from 0).
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

// The C library's reading of a decimal number: leading white space, a sign, the digits up to the first other
// character; a field without digits reads 0. Fields of up to 16 characters (the lines give 15) always fit, in
// cents and as currency.
long long ParseGestCents(std::string_view field);
// Missing fields of a short line read 0; no line is refused.
CGestLine ParseGestLine(std::string_view line);
