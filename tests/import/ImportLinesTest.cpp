#include "import/ImportLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Right(const std::string& text, size_t nWidth) { return std::string(nWidth - text.size(), ' ') + text; }

// A record "A" with the given 25-character groups first and blank groups after them.
std::string RecordA(const std::vector<std::string>& groups, size_t nLength = kCertLengthA)
{
    std::string line = "A" + std::string(11, ' ');
    for (const std::string& group : groups)
        line += group;
    line.resize(nLength, ' ');
    return line;
}

// A record "B" with the given amount fields first and right-aligned zeros after them.
std::string RecordB(const std::string& code, const std::vector<std::string>& amounts, size_t nLength = kCertLengthB)
{
    std::string line = "B" + std::string(11, ' ') + code;
    for (size_t k = 0; k < 20; ++k)
        line += k < amounts.size() ? amounts[k] : Right("0", 20);
    line.resize(nLength, ' ');
    return line;
}

TEST(CertAmountTest, SignedIntegersThatFillTheirFieldWithinTheRangeOfCurrency)
{
    const struct { const char* field; bool bValid; long long units; } cases[] = {
        {"                1500", true, 1500},
        {"00000000000000001500", true, 1500},
        {"               -1500", true, -1500},
        {"                 +12", true, 12},
        {"          2147483647", true, 2147483647LL},
        {"          2147483648", true, 2147483648LL},            // 2^31: no longer clamped
        {"         -2147483649", true, -2147483649LL},
        {"     461168601842738", true, kMaxImportUnits},
        {"     461168601842739", false, 0},                      // the sum of two would leave currency
        {"    9007199254740992", false, 0},                      // 2^53
        {"99999999999999999999", false, 0},                      // beyond 64 bits
        {"                    ", false, 0},
        {"                   -", false, 0},
        {"                12  ", false, 0},                      // does not end at the field's end
        {"              1 2000", false, 0},
        {"               12a00", false, 0},
        {"              --1200", false, 0},
        {"\t               100", false, 0},                      // blanks only
        {"", false, 0},
    };
    for (const auto& c : cases) {
        long long units = -7;
        EXPECT_EQ(c.bValid, ParseCertAmount(c.field, units)) << '"' << c.field << '"';
        EXPECT_EQ(c.bValid ? c.units : -7, units) << '"' << c.field << '"';
    }
}

TEST(CertLineTest, RecordKindsLengthsAndAmounts)
{
    const std::string zeros1500 = "00000000000000001500";
    const struct {
        const char* name;
        std::string line;
        CertLineKind kind;
        std::string code;
        std::vector<long long> amounts;
        bool bTruncated;
    } cases[] = {
        {"empty", "", certEmpty, "", {}, false},
        {"header", "02004 CERTIFICATO", certHeader, "", {}, false},
        {"header without year", "0", certBad, "", {}, false},
        {"header with letters", "020x4", certBad, "", {}, false},
        {"C", "C anything at all", certIgnored, "", {}, false},
        {"unknown type", "X" + std::string(416, ' '), certBad, "", {}, false},
        {"leading blank", " " + RecordB("02005", {}).substr(1), certBad, "", {}, false},
        // The first group has a blank amount: the second one is stored.
        {"A second group", RecordA({"02005" + std::string(20, ' '), "02035" + zeros1500}), certRecord, "02035",
         {1500}, false},
        {"A first group", RecordA({"02005" + Right("-7", 20), "02035" + zeros1500}), certRecord, "02005", {-7},
         false},
        {"A without amount", RecordA({}), certBad, "", {}, false},
        {"A 411", RecordA({"02005" + zeros1500}, 411), certBad, "", {}, false},
        {"A 413", RecordA({"02005" + zeros1500}, 413), certBad, "", {}, false},
        {"A 2^31", RecordA({"02005" + Right("2147483648", 20)}), certRecord, "02005", {2147483648LL}, false},
        {"A 2^53", RecordA({"02005" + Right("9007199254740992", 20)}), certBad, "", {}, false},
        {"B full", RecordB("03005", {Right("10", 20), Right("-20", 20)}), certRecord, "03005",
         {10, -20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false},
        {"B code kept as written", RecordB("2005 ", {}), certRecord, "2005 ", std::vector<long long>(20, 0), false},
        {"B 416", RecordB("03005", {}, 416), certBad, "", {}, false},
        {"B 418", RecordB("03005", {}, 418), certBad, "", {}, false},
        // Amounts up to the first bad one are kept, and the line is reported.
        {"B bad third", RecordB("03005", {Right("1", 20), Right("2", 20), Right("3x", 20)}), certRecord, "03005",
         {1, 2}, true},
        {"B bad first", RecordB("03005", {std::string(20, ' ')}), certRecord, "03005", {}, true},
        {"B 2^53", RecordB("03005", {Right("5", 20), Right("9007199254740992", 20)}), certRecord, "03005", {5},
         true},
    };
    for (const auto& c : cases) {
        CCertLine line = ParseCertLine(c.line);
        EXPECT_EQ(c.kind, line.kind) << c.name;
        EXPECT_EQ(c.code, line.code) << c.name;
        EXPECT_EQ(c.amounts, line.amounts) << c.name;
        EXPECT_EQ(c.bTruncated, line.bTruncated) << c.name;
    }
    EXPECT_EQ(2004, ParseCertLine("02004").nYear);
}

// Whole numbers of cents only: every other form would store a figure the file does not mean.
TEST(GestLineTest, AmountsAreWholeNumbersOfCents)
{
    const struct { const char* field; bool valid; long long cents; } cases[] = {
        {"         123456", true, 123456},
        {"         -50000", true, -50000},
        {"              0", true, 0},
        {"  42           ", true, 42},                // blanks on either side
        {"               ", true, 0},                 // a blank field carries no figure
        {"", true, 0},
        {"     2147483648", true, 2147483648LL},      // 21,474,836.48: beyond 32 bits
        {"999999999999999", true, 999999999999999LL},
        {"         12A456", false, 0},
        {"            1.5", false, 0},
        {"         12,345", false, 0},
        {"            1e5", false, 0},
        {"            - 5", false, 0},
        {"           0x10", false, 0},
        {"             +7", false, 0},
        {"             5-", false, 0},
        {"              -", false, 0},
        {"           4 2 ", false, 0},
        {"\t 42", false, 0},
        {"1000000000000000", false, 0},               // more digits than the field holds
    };
    for (const auto& c : cases) {
        long long cents = -1;
        EXPECT_EQ(c.valid, ParseGestCents(c.field, cents)) << '"' << c.field << '"';
        if (c.valid) {
            EXPECT_EQ(c.cents, cents) << '"' << c.field << '"';
        }
    }
}

TEST(GestLineTest, FieldsByPositionAndShortLines)
{
    const std::string description(20, 'x');
    const struct { std::string line; bool record; bool valid; std::string code; long long cents[3]; } cases[] = {
        {"002" + description + Right("123456", 15) + Right("-50000", 15) + Right("0", 15), true, true, "002",
         {123456, -50000, 0}},
        {"170" + description + Right("1", 15) + Right("2", 15), true, true, "170", {1, 2, 0}},
        // A line cut inside an amount lost some of its digits: no amount.
        {"003" + description + "     12", true, false, "003", {}},
        {"007" + description + Right("1", 15) + Right("2", 15) + Right("1234567890", 15).substr(0, 12), true, false,
         "007", {}},
        {"004" + description + Right("not a number", 15) + Right("5", 15) + Right("6", 15), true, false, "004", {}},
        {"005" + description + Right("5", 15) + Right("6,00", 15), true, false, "005", {}},
        {"005short", true, true, "005", {0, 0, 0}},
        {"02", false, true, "02", {0, 0, 0}},
        {"", false, true, "", {0, 0, 0}},
        {"XYZ" + description + Right("1", 15), false, true, "XYZ", {1, 0, 0}},
        // A longer line: the figures end at position 67.
        {"006" + description + Right("1", 15) + Right("2", 15) + Right("3", 15) + "99999", true, true, "006",
         {1, 2, 3}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.record, IsGestRecord(c.line)) << c.line;
        CGestLine line;
        std::string badField;
        ASSERT_EQ(c.valid, ParseGestLine(c.line, line, badField)) << c.line;
        if (!c.valid)
            continue;
        EXPECT_EQ(c.code, line.code) << c.line;
        for (int y = 0; y < 3; ++y)
            EXPECT_EQ(c.cents[y], line.cents[y]) << c.line << " year " << y;
    }
}

} // namespace
