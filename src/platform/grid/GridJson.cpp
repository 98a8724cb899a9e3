#include "GridJson.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace
{
bool IsDigit(int ch) { return ch >= '0' && ch <= '9'; }

void AppendUtf8(std::string& s, unsigned cp)
{
    if (cp < 0x80)
        s += static_cast<char>(cp);
    else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (cp >> 18));
        s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
}
} // namespace

CGridJsonParser::CGridJsonParser(std::string_view text, CGridJsonHandler& handler) : m_text(text), m_handler(handler)
{
}

size_t CGridJsonParser::Parse()
{
    std::vector<bool> inArray;   // per open object (false) or array (true)
    Token tok = Scan();
    bool bClosed = false;        // a container has just been closed: no value to hand over
    for (;;) {
        if (!bClosed) {
            switch (tok) {
            case tokBeginObject:
                m_handler.OnStartObject();
                tok = Scan();
                if (tok == tokEndObject) {
                    m_handler.OnEndObject();
                    break;
                }
                if (tok != tokValue || m_value.m_nKind != CGridJsonScalar::string)
                    return m_nPosition;
                m_handler.OnKey(m_value.m_str);
                if (Scan() != tokColon)
                    return m_nPosition;
                inArray.push_back(false);
                tok = Scan();
                continue;
            case tokBeginArray:
                m_handler.OnStartArray();
                tok = Scan();
                if (tok == tokEndArray) {
                    m_handler.OnEndArray();
                    break;
                }
                inArray.push_back(true);
                continue;
            case tokValue:
                if (m_value.m_nKind == CGridJsonScalar::floating && !std::isfinite(m_value.m_dValue))
                    return m_nPosition;
                m_handler.OnValue(m_value);
                break;
            default:
                return m_nPosition;
            }
        }
        bClosed = false;
        if (inArray.empty())
            break;
        tok = Scan();
        if (inArray.back()) {
            if (tok == tokComma) {
                tok = Scan();
                continue;
            }
            if (tok != tokEndArray)
                return m_nPosition;
            m_handler.OnEndArray();
        } else {
            if (tok == tokComma) {
                if (Scan() != tokValue || m_value.m_nKind != CGridJsonScalar::string)
                    return m_nPosition;
                m_handler.OnKey(m_value.m_str);
                if (Scan() != tokColon)
                    return m_nPosition;
                tok = Scan();
                continue;
            }
            if (tok != tokEndObject)
                return m_nPosition;
            m_handler.OnEndObject();
        }
        inArray.pop_back();
        bClosed = true;
    }
    return Scan() == tokEnd ? 0 : m_nPosition;
}

CGridJsonParser::Token CGridJsonParser::Fail(size_t nOffset)
{
    m_nPosition = nOffset + 1;
    return tokError;
}

CGridJsonParser::Token CGridJsonParser::Scan()
{
    if (!m_bStarted) {
        m_bStarted = true;
        if (At(0) == 0xEF) {
            if (At(1) != 0xBB)
                return Fail(1);
            if (At(2) != 0xBF)
                return Fail(2);
            m_nNext = 3;
        }
    }
    while (m_nNext < m_text.size() &&
           (m_text[m_nNext] == ' ' || m_text[m_nNext] == '\t' || m_text[m_nNext] == '\n' || m_text[m_nNext] == '\r'))
        ++m_nNext;
    Token tok;
    switch (At(m_nNext)) {
    case -1:
    case 0:   // a text may end at a null byte, as a C string does
        m_nPosition = m_nNext + 1;
        return tokEnd;
    case '{': tok = tokBeginObject; break;
    case '}': tok = tokEndObject; break;
    case '[': tok = tokBeginArray; break;
    case ']': tok = tokEndArray; break;
    case ':': tok = tokColon; break;
    case ',': tok = tokComma; break;
    case 't': return ScanLiteral("true", CGridJsonScalar::boolean, true);
    case 'f': return ScanLiteral("false", CGridJsonScalar::boolean, false);
    case 'n': return ScanLiteral("null", CGridJsonScalar::null, false);
    case '"': return ScanString();
    case '-': case '0': case '1': case '2': case '3': case '4': case '5': case '6': case '7': case '8': case '9':
        return ScanNumber();
    default:
        return Fail(m_nNext);
    }
    m_nPosition = ++m_nNext;
    return tok;
}

CGridJsonParser::Token CGridJsonParser::ScanLiteral(const char* pszLiteral, CGridJsonScalar::Kind nKind, bool bValue)
{
    for (size_t i = 1; pszLiteral[i]; ++i)
        if (At(m_nNext + i) != pszLiteral[i])
            return Fail(m_nNext + i);
    m_nNext += std::char_traits<char>::length(pszLiteral);
    m_nPosition = m_nNext;
    m_value.m_nKind = nKind;
    m_value.m_bValue = bValue;
    return tokValue;
}

CGridJsonParser::Token CGridJsonParser::ScanString()
{
    const size_t nFirst = m_nNext + 1;
    size_t i = nFirst;
    size_t nRun = nFirst;        // start of the bytes not yet copied to m_strDecoded
    bool bDecoded = false;
    for (;;) {
        int ch = At(i);
        if (ch == '"')
            break;
        if (ch == '\\') {
            if (!bDecoded)
                m_strDecoded.clear();
            bDecoded = true;
            m_strDecoded.append(m_text, nRun, i - nRun);
            if (!ScanEscape(i))
                return tokError;
            nRun = i;
        } else if (ch >= 0x20 && ch < 0x80)
            ++i;
        else if (ch < 0x20)      // control characters, and the end of the text
            return Fail(i);
        else if (!ScanUtf8Sequence(i))
            return tokError;
    }
    if (bDecoded) {
        m_strDecoded.append(m_text, nRun, i - nRun);
        m_value.m_str = m_strDecoded;
    } else
        m_value.m_str = m_text.substr(nFirst, i - nFirst);
    m_value.m_nKind = CGridJsonScalar::string;
    m_nNext = i + 1;
    m_nPosition = m_nNext;
    return tokValue;
}

// The four hex digits of a \u escape from offset i; -1 with the offset of the first bad one in nBad.
int CGridJsonParser::HexQuad(size_t i, size_t& nBad) const
{
    int nValue = 0;
    for (size_t k = 0; k < 4; ++k) {
        int ch = At(i + k), nDigit;
        if (ch >= '0' && ch <= '9')
            nDigit = ch - '0';
        else if (ch >= 'A' && ch <= 'F')
            nDigit = ch - 'A' + 10;
        else if (ch >= 'a' && ch <= 'f')
            nDigit = ch - 'a' + 10;
        else {
            nBad = i + k;
            return -1;
        }
        nValue = nValue * 16 + nDigit;
    }
    return nValue;
}

// The escape at offset i (its backslash); moves i past it.
bool CGridJsonParser::ScanEscape(size_t& i)
{
    static const char s_from[] = "\"\\/bfnrt";
    static const char s_to[] = "\"\\/\b\f\n\r\t";
    int ch = At(i + 1);
    for (size_t k = 0; k < sizeof(s_from) - 1; ++k)
        if (ch == s_from[k]) {
            m_strDecoded += s_to[k];
            i += 2;
            return true;
        }
    if (ch != 'u') {
        Fail(i + 1);
        return false;
    }
    size_t nBad = 0;
    int cp = HexQuad(i + 2, nBad);
    if (cp < 0) {
        Fail(nBad);
        return false;
    }
    i += 6;
    if (cp >= 0xDC00 && cp <= 0xDFFF) {   // the second half of a pair without the first
        Fail(i - 1);
        return false;
    }
    if (cp >= 0xD800 && cp <= 0xDBFF) {
        if (At(i) != '\\' || At(i + 1) != 'u') {
            Fail(At(i) != '\\' ? i : i + 1);
            return false;
        }
        int cpLow = HexQuad(i + 2, nBad);
        if (cpLow < 0) {
            Fail(nBad);
            return false;
        }
        i += 6;
        if (cpLow < 0xDC00 || cpLow > 0xDFFF) {
            Fail(i - 1);
            return false;
        }
        cp = 0x10000 + ((cp - 0xD800) << 10) + (cpLow - 0xDC00);
    }
    AppendUtf8(m_strDecoded, static_cast<unsigned>(cp));
    return true;
}

// A character of two to four bytes at offset i, checked as well-formed UTF-8; moves i past it.
bool CGridJsonParser::ScanUtf8Sequence(size_t& i)
{
    // The ranges of the bytes after the first, by the first.
    struct CRange
    {
        int lo, hi;
    };
    static const CRange s_any = {0x80, 0xBF};
    const int ch = At(i);
    CRange second = s_any;
    int nFollowing;
    if (ch >= 0xC2 && ch <= 0xDF)
        nFollowing = 1;
    else if (ch >= 0xE0 && ch <= 0xEF) {
        nFollowing = 2;
        if (ch == 0xE0)
            second = {0xA0, 0xBF};
        else if (ch == 0xED)
            second = {0x80, 0x9F};   // no surrogates
    } else if (ch >= 0xF0 && ch <= 0xF4) {
        nFollowing = 3;
        if (ch == 0xF0)
            second = {0x90, 0xBF};
        else if (ch == 0xF4)
            second = {0x80, 0x8F};   // nothing past U+10FFFF
    } else {
        Fail(i);
        return false;
    }
    for (int k = 1; k <= nFollowing; ++k) {
        const CRange& range = k == 1 ? second : s_any;
        int b = At(i + static_cast<size_t>(k));
        if (b < range.lo || b > range.hi) {
            Fail(i + static_cast<size_t>(k));
            return false;
        }
    }
    i += static_cast<size_t>(nFollowing) + 1;
    return true;
}

CGridJsonParser::Token CGridJsonParser::ScanNumber()
{
    const size_t nFirst = m_nNext;
    size_t i = nFirst;
    bool bSigned = false, bWhole = true;
    if (At(i) == '-') {
        bSigned = true;
        if (!IsDigit(At(++i)))
            return Fail(i);
    }
    if (At(i) == '0')
        ++i;
    else
        while (IsDigit(At(i)))
            ++i;
    if (At(i) == '.') {
        bWhole = false;
        if (!IsDigit(At(++i)))
            return Fail(i);
        while (IsDigit(At(i)))
            ++i;
    }
    if (At(i) == 'e' || At(i) == 'E') {
        bWhole = false;
        if (At(i + 1) == '+' || At(i + 1) == '-')
            ++i;
        if (!IsDigit(At(++i)))
            return Fail(i);
        while (IsDigit(At(i)))
            ++i;
    }
    m_nNext = m_nPosition = i;

    const char* pFirst = m_text.data() + nFirst;
    const char* pLast = m_text.data() + i;
    if (bWhole && !bSigned && std::from_chars(pFirst, pLast, m_value.m_uValue).ec == std::errc()) {
        m_value.m_nKind = CGridJsonScalar::unsignedInteger;
        return tokValue;
    }
    if (bWhole && bSigned && std::from_chars(pFirst, pLast, m_value.m_nValue).ec == std::errc()) {
        m_value.m_nKind = CGridJsonScalar::integer;
        return tokValue;
    }
    // Whole numbers too large for 64 bits are read as fractional numbers.
    m_value.m_nKind = CGridJsonScalar::floating;
    if (std::from_chars(pFirst, pLast, m_value.m_dValue).ec != std::errc()) {
        // Out of range: infinite (refused by the parser) or nearly zero, as the C library has it.
        std::string number(pFirst, pLast);
        m_value.m_dValue = std::strtod(number.c_str(), nullptr);
    }
    return tokValue;
}

long long CGridJsonValue::GetInteger() const
{
    return m_nKind == unsignedInteger ? static_cast<long long>(m_uValue) : m_nValue;
}

double CGridJsonValue::GetNumber() const
{
    if (m_nKind == integer)
        return static_cast<double>(m_nValue);
    if (m_nKind == unsignedInteger)
        return static_cast<double>(m_uValue);
    return m_dValue;
}

const CGridJsonValue* CGridJsonValue::Find(std::string_view key) const
{
    if (m_nKind == object)
        for (size_t i = 0; i < m_keys.size(); ++i)
            if (m_keys[i] == key)
                return &m_items[i];
    return nullptr;
}

void CGridJsonValue::Set(const CGridJsonScalar& value)
{
    static_assert(static_cast<int>(string) == static_cast<int>(CGridJsonScalar::string), "the kinds of values without members come first");
    m_nKind = static_cast<Kind>(value.m_nKind);
    m_bValue = value.m_bValue;
    m_nValue = value.m_nValue;
    m_uValue = value.m_uValue;
    m_dValue = value.m_dValue;
    if (value.m_nKind == CGridJsonScalar::string)
        m_str.assign(value.m_str);
    else
        m_str.clear();
    m_items.clear();
    m_keys.clear();
}

void CGridJsonValue::SetArray()
{
    Set(CGridJsonScalar());
    m_nKind = array;
}

void CGridJsonValue::SetObject()
{
    Set(CGridJsonScalar());
    m_nKind = object;
}

CGridJsonValue& CGridJsonValue::Append()
{
    m_items.emplace_back();
    return m_items.back();
}

CGridJsonValue& CGridJsonValue::AddMember(std::string_view key)
{
    m_keys.emplace_back(key);
    m_items.emplace_back();
    return m_items.back();
}
