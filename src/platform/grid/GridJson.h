// The JSON text of workbook files: a parser that hands its events to a handler, and a small value tree for
// the parts of a file that are checked as a whole. The parser accepts strict JSON in UTF-8 (an optional
// byte-order mark first, no comments); a syntax error is given by the position of the byte where the text
// stops being JSON, counted from 1, the end of the text counting as one byte past the last.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// A value without members: what the parser hands over for null, true, false, a number or a text.
struct CGridJsonScalar
{
    enum Kind { null, boolean, integer, unsignedInteger, floating, string };
    Kind m_nKind = null;
    bool m_bValue = false;
    long long m_nValue = 0;            // integer
    unsigned long long m_uValue = 0;   // unsignedInteger: whole numbers without a sign
    double m_dValue = 0;               // floating: numbers with a fraction or an exponent, or too large otherwise
    std::string_view m_str;            // string, UTF-8; valid until the parser's next event
};

class CGridJsonHandler
{
public:
    virtual void OnValue(const CGridJsonScalar& value) = 0;
    // The name of the object member whose value comes next; valid until the parser's next event.
    virtual void OnKey(std::string_view key) = 0;
    virtual void OnStartObject() = 0;
    virtual void OnEndObject() = 0;
    virtual void OnStartArray() = 0;
    virtual void OnEndArray() = 0;

protected:
    ~CGridJsonHandler() = default;
};

class CGridJsonParser
{
public:
    CGridJsonParser(std::string_view text, CGridJsonHandler& handler);

    // Hands the events of the whole text to the handler, each as soon as its token is read. 0 when the text is
    // one JSON value; otherwise the position of the error. Exceptions of the handler pass through.
    size_t Parse();

private:
    enum Token { tokBeginObject, tokEndObject, tokBeginArray, tokEndArray, tokColon, tokComma, tokValue, tokEnd, tokError };

    Token Scan();
    Token Fail(size_t nOffset);
    Token ScanLiteral(const char* pszLiteral, CGridJsonScalar::Kind nKind, bool bValue);
    Token ScanString();
    Token ScanNumber();
    bool ScanUtf8Sequence(size_t& i);
    bool ScanEscape(size_t& i);
    int HexQuad(size_t i, size_t& nBad) const;
    int At(size_t i) const { return i < m_text.size() ? static_cast<unsigned char>(m_text[i]) : -1; }

    std::string_view m_text;
    CGridJsonHandler& m_handler;
    size_t m_nNext = 0;          // offset of the first byte not yet read
    size_t m_nPosition = 0;      // position reported for an error at the last token
    bool m_bStarted = false;
    CGridJsonScalar m_value;     // of the last tokValue
    std::string m_strDecoded;    // a text with escapes, decoded
};

// A JSON value; objects keep their members in the order of the text.
class CGridJsonValue
{
public:
    enum Kind { null, boolean, integer, unsignedInteger, floating, string, array, object };

    Kind GetKind() const { return m_nKind; }
    bool IsObject() const { return m_nKind == object; }
    bool IsArray() const { return m_nKind == array; }
    bool IsString() const { return m_nKind == string; }
    bool IsBool() const { return m_nKind == boolean; }
    bool IsInteger() const { return m_nKind == integer || m_nKind == unsignedInteger; }
    bool IsNumber() const { return IsInteger() || m_nKind == floating; }

    bool GetBool() const { return m_bValue; }
    // Whole numbers without a sign above the largest signed one wrap around, as a cast does.
    long long GetInteger() const;
    double GetNumber() const;
    const std::string& GetString() const { return m_str; }

    // Elements of an array, members of an object.
    size_t GetSize() const { return m_items.size(); }
    bool IsEmpty() const { return m_items.empty(); }
    const CGridJsonValue& operator[](size_t i) const { return m_items[i]; }
    std::vector<CGridJsonValue>::const_iterator begin() const { return m_items.begin(); }
    std::vector<CGridJsonValue>::const_iterator end() const { return m_items.end(); }
    const std::string& GetKey(size_t i) const { return m_keys[i]; }
    // The member of an object with that name; null when there is none or this is no object.
    const CGridJsonValue* Find(std::string_view key) const;

    // Building. The setters keep the room of the value's text for the next one.
    void Set(const CGridJsonScalar& value);
    void SetArray();
    void SetObject();
    CGridJsonValue& Append();                            // a null element at the end of an array
    CGridJsonValue& AddMember(std::string_view key);     // a null member at the end of an object

private:
    Kind m_nKind = null;
    bool m_bValue = false;
    long long m_nValue = 0;
    unsigned long long m_uValue = 0;
    double m_dValue = 0;
    std::string m_str;
    std::vector<CGridJsonValue> m_items;
    std::vector<std::string> m_keys;   // of an object, one per item
};
