#include "ImportLines.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The part of the line that a field covers; empty beyond the line's end.
std::string_view Field(std::string_view line, size_t nPos, size_t nWidth)
{
    return nPos < line.size() ? line.substr(nPos, nWidth) : std::string_view();
}

CCertLine Bad()
{
    CCertLine result;
    result.kind = certBad;
    return result;
}

CCertLine ParseHeader(std::string_view line)
{
    long long year = 0;
    std::string_view field = Field(line, 1, 4);
    if (field.size() != 4 || !ParseCertAmount(field, year))
        return Bad();
    CCertLine result;
    result.kind = certHeader;
    result.nYear = static_cast<int>(year);
    return result;
}

// The first of the 16 groups whose amount is valid.
CCertLine ParseRecordA(std::string_view line)
{
    if (line.size() != kCertLengthA)
        return Bad();
    for (size_t k = 0; k < 16; ++k) {
        size_t nPos = 12 + 25 * k;
        long long units = 0;
        if (ParseCertAmount(line.substr(nPos + 5, 20), units)) {
            CCertLine result;
            result.kind = certRecord;
            result.code = std::string(line.substr(nPos, 5));
            result.amounts.push_back(units);
            return result;
        }
    }
    return Bad();
}

CCertLine ParseRecordB(std::string_view line)
{
    if (line.size() != kCertLengthB)
        return Bad();
    CCertLine result;
    result.kind = certRecord;
    result.code = std::string(line.substr(12, 5));
    for (size_t k = 0; k < 20; ++k) {
        long long units = 0;
        if (!ParseCertAmount(line.substr(17 + 20 * k, 20), units)) {
            result.bTruncated = true;
            break;
        }
        result.amounts.push_back(units);
    }
    return result;
}

} // namespace

bool ParseCertAmount(std::string_view field, long long& units)
{
    size_t i = 0;
    while (i < field.size() && field[i] == ' ')
        ++i;
    bool bNegative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-'))
        bNegative = field[i++] == '-';
    if (i == field.size())
        return false;
    long long value = 0;
    for (; i < field.size(); ++i) {
        if (!IsDigit(field[i]))
            return false;
        value = value * 10 + (field[i] - '0');
        if (value > kMaxImportUnits)
            return false;
    }
    units = bNegative ? -value : value;
    return true;
}

CCertLine ParseCertLine(std::string_view line)
{
    if (line.empty())
        return CCertLine();
    switch (line[0]) {
    case '0':
        return ParseHeader(line);
    case 'A':
        return ParseRecordA(line);
    case 'B':
        return ParseRecordB(line);
    case 'C': {
        CCertLine result;
        result.kind = certIgnored;
        return result;
    }
    default:
        return Bad();
    }
}

bool ParseGestCents(std::string_view field, long long& cents)
{
    size_t nFirst = field.find_first_not_of(' ');
    if (nFirst == std::string_view::npos) {
        cents = 0;
        return true;
    }
    std::string_view text = field.substr(nFirst, field.find_last_not_of(' ') + 1 - nFirst);
    bool bNegative = text[0] == '-';
    if (bNegative)
        text.remove_prefix(1);
    // Fifteen digits fit the field, and as cents they fit currency.
    if (text.empty() || text.size() > kGestAmountWidth)
        return false;
    long long value = 0;
    for (char c : text) {
        if (!IsDigit(c))
            return false;
        value = value * 10 + (c - '0');
    }
    cents = bNegative ? -value : value;
    return true;
}

bool ParseGestLine(std::string_view line, CGestLine& result, std::string& badField)
{
    result = CGestLine();
    result.code = std::string(Field(line, 0, 3));
    for (size_t k = 0; k < 3; ++k) {
        std::string_view field = Field(line, 23 + kGestAmountWidth * k, kGestAmountWidth);
        // A line that ends inside the field lost digits of its amount; one that ends before it leaves it 0.
        bool bCut = !field.empty() && field.size() < kGestAmountWidth;
        if (bCut || !ParseGestCents(field, result.cents[k])) {
            badField = std::string(field);
            return false;
        }
    }
    return true;
}

bool IsGestRecord(std::string_view line)
{
    return line.size() >= 3 && IsDigit(line[0]) && IsDigit(line[1]) && IsDigit(line[2]);
}
