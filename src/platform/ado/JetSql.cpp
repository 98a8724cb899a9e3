#include "platform/ado/JetSql.h"

#include "platform/ado/JetValue.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <cwctype>

namespace
{
struct CToken
{
    enum EType { typeWord, typeName, typeString, typeNumber, typeParameter, typeOperator, typeRaw };

    EType m_type;
    std::wstring m_text; // a name without its quotes; a string with its quotes; raw SQLite text
    bool m_space;        // blank before it
};

typedef std::vector<CToken> CTokens;

bool IsWordChar(wchar_t c)
{
    return c == L'_' || c == L'$' || std::iswalnum(c) || c > 127;
}

// Reads a quoted run starting at text[i] (the quote) up to its closing quote, a doubled quote standing for one.
std::wstring ReadQuoted(const std::wstring& text, size_t& i, wchar_t close)
{
    std::wstring inner;
    for (++i; i < text.size(); ++i) {
        if (text[i] == close) {
            if (close != L']' && i + 1 < text.size() && text[i + 1] == close) {
                inner += close;
                ++i;
                continue;
            }
            ++i;
            break;
        }
        inner += text[i];
    }
    return inner;
}

std::wstring QuoteString(const std::wstring& text)
{
    std::wstring result = L"'";
    for (wchar_t c : text) {
        result += c;
        if (c == L'\'')
            result += c;
    }
    return result + L"'";
}

CTokens Tokenize(const std::wstring& sql)
{
    CTokens tokens;
    bool space = false;
    size_t i = 0;
    while (i < sql.size()) {
        wchar_t c = sql[i];
        if (std::iswspace(c)) {
            space = true;
            ++i;
            continue;
        }
        CToken token{CToken::typeOperator, std::wstring(), space};
        space = false;
        if (c == L'[') {
            token.m_type = CToken::typeName;
            token.m_text = ReadQuoted(sql, i, L']');
        } else if (c == L'`') {
            token.m_type = CToken::typeName;
            token.m_text = ReadQuoted(sql, i, L'`');
        } else if (c == L'\'' || c == L'"') {
            // Jet takes both quotes as string delimiters; SQLite only the single one.
            token.m_type = CToken::typeString;
            token.m_text = QuoteString(ReadQuoted(sql, i, c));
        } else if (std::iswdigit(c) || (c == L'.' && i + 1 < sql.size() && std::iswdigit(sql[i + 1]))) {
            token.m_type = CToken::typeNumber;
            size_t start = i;
            while (i < sql.size() && (std::iswalnum(sql[i]) || sql[i] == L'.' ||
                                      ((sql[i] == L'+' || sql[i] == L'-') && (sql[i - 1] == L'e' || sql[i - 1] == L'E'))))
                ++i;
            token.m_text = sql.substr(start, i - start);
        } else if (IsWordChar(c)) {
            token.m_type = CToken::typeWord;
            size_t start = i;
            while (i < sql.size() && IsWordChar(sql[i]))
                ++i;
            token.m_text = sql.substr(start, i - start);
        } else if (c == L'?') {
            token.m_type = CToken::typeParameter;
            token.m_text = L"?";
            ++i;
        } else {
            static const wchar_t* const pairs[] = {L"<>", L"<=", L">=", L"!=", L"||", L"=="};
            token.m_text = std::wstring(1, c);
            for (const wchar_t* pair : pairs)
                if (sql.compare(i, 2, pair) == 0)
                    token.m_text = pair;
            i += token.m_text.size();
        }
        tokens.push_back(token);
    }
    return tokens;
}

bool IsWord(const CTokens& tokens, size_t i, const wchar_t* word)
{
    return i < tokens.size() && tokens[i].m_type == CToken::typeWord && JetSameName(tokens[i].m_text, word);
}

bool IsOperator(const CTokens& tokens, size_t i, const wchar_t* op)
{
    return i < tokens.size() && tokens[i].m_type == CToken::typeOperator && tokens[i].m_text == op;
}

bool IsIdentifier(const CTokens& tokens, size_t i)
{
    return i < tokens.size() && (tokens[i].m_type == CToken::typeWord || tokens[i].m_type == CToken::typeName);
}

// The index of the ")" that closes the "(" at open, or end.
size_t MatchParen(const CTokens& tokens, size_t open, size_t end)
{
    int depth = 0;
    for (size_t i = open; i < end; ++i) {
        if (IsOperator(tokens, i, L"("))
            ++depth;
        else if (IsOperator(tokens, i, L")") && --depth == 0)
            return i;
    }
    return end;
}

// The index of the next token at the same nesting depth as begin that satisfies stop, or end.
template <class Stop> size_t FindAtDepth(const CTokens& tokens, size_t begin, size_t end, Stop stop)
{
    for (size_t i = begin; i < end; ++i) {
        if (IsOperator(tokens, i, L"("))
            i = MatchParen(tokens, i, end);
        else if (IsOperator(tokens, i, L")"))
            return end;
        else if (stop(i))
            return i;
    }
    return end;
}

CToken Raw(const std::wstring& text, bool space = true)
{
    return CToken{CToken::typeRaw, text, space};
}

std::wstring TokenText(const CToken& token)
{
    if (token.m_type != CToken::typeName)
        return token.m_text;
    std::wstring quoted = L"\"";
    for (wchar_t c : token.m_text) {
        quoted += c;
        if (c == L'"')
            quoted += c;
    }
    return quoted + L"\"";
}

// Tokens [begin, end) as SQLite text, each with the blank it had before it.
std::wstring RawTokens(const CTokens& tokens, size_t begin, size_t end)
{
    std::wstring text;
    for (size_t i = begin; i < end; ++i)
        text += (tokens[i].m_space && !text.empty() ? L" " : L"") + TokenText(tokens[i]);
    return text;
}

// Appends the column type at tokens[i] (Jet's names) to out as SQLite's, text columns with Jet's collation;
// answers the index after the tokens it took (i when there is no type there).
size_t AppendType(const CTokens& tokens, size_t i, CTokens& out)
{
    if (!IsIdentifier(tokens, i))
        return i;
    std::wstring type = JetUpper(tokens[i].m_text);
    bool space = tokens[i].m_space;
    if (type == L"COUNTER" || type == L"AUTOINCREMENT") {
        out.push_back(Raw(L"INTEGER PRIMARY KEY AUTOINCREMENT", space));
        // Its bracket goes; an unclosed "(" ends with the text.
        return IsOperator(tokens, i + 1, L"(") ? std::min(MatchParen(tokens, i + 1, tokens.size()) + 1, tokens.size())
                                               : i + 1;
    }
    if (type == L"CURRENCY" || type == L"MONEY") {
        out.push_back(Raw(L"CURRENCY", space));
    } else if (type == L"INTEGER" || type == L"LONG" || type == L"INT") {
        out.push_back(Raw(L"INTEGER", space));
    } else if (type == L"VARCHAR" || type == L"CHAR" || type == L"TEXT" || type == L"NVARCHAR" || type == L"NCHAR" ||
               type == L"CHARACTER" || type == L"STRING" || type == L"MEMO" || type == L"LONGTEXT" ||
               type == L"ALPHANUMERIC" || type == L"NTEXT") {
        size_t after = IsOperator(tokens, i + 1, L"(") ? MatchParen(tokens, i + 1, tokens.size()) + 1 : i + 1;
        after = std::min(after, tokens.size());
        out.insert(out.end(), tokens.begin() + static_cast<std::ptrdiff_t>(i), tokens.begin() + static_cast<std::ptrdiff_t>(after));
        out.push_back(Raw(L"COLLATE " + JetWide(JET_TEXT_COLLATION)));
        return after;
    } else {
        out.push_back(tokens[i]);
    }
    return i + 1;
}

// Copies tokens [from, to) to out, as many of them as there are.
void AppendTokens(const CTokens& tokens, size_t from, size_t to, CTokens& out)
{
    to = std::min(to, tokens.size());
    if (from < to)
        out.insert(out.end(), tokens.begin() + static_cast<std::ptrdiff_t>(from), tokens.begin() + static_cast<std::ptrdiff_t>(to));
}

bool IsConstraintWord(const CTokens& tokens, size_t i)
{
    return IsWord(tokens, i, L"CONSTRAINT") || IsWord(tokens, i, L"PRIMARY") || IsWord(tokens, i, L"FOREIGN") ||
           IsWord(tokens, i, L"UNIQUE") || IsWord(tokens, i, L"CHECK");
}

// CREATE TABLE name (column type ..., ...): each column's type, rewritten into a copy in one pass.
void RewriteCreateTable(CTokens& tokens)
{
    size_t open = 0;
    while (open < tokens.size() && !IsOperator(tokens, open, L"("))
        ++open;
    const size_t close = MatchParen(tokens, open, tokens.size());
    CTokens out;
    size_t copied = 0; // tokens before this one are in out
    for (size_t start = open + 1; start < close;) {
        // A type whose bracket reached past this column took the column with it.
        if (start + 1 >= copied && !IsConstraintWord(tokens, start)) {
            AppendTokens(tokens, copied, start + 1, out);
            copied = AppendType(tokens, start + 1, out);
        }
        size_t comma = FindAtDepth(tokens, start, close, [&](size_t i) { return IsOperator(tokens, i, L","); });
        if (comma >= close)
            break;
        start = comma + 1;
    }
    AppendTokens(tokens, copied, tokens.size(), out);
    tokens.swap(out);
}

// Deeper nesting than this of brackets, signs, NOTs, calls or subqueries is refused, as Jet refuses a query
// too complex for it, before the recursion of the translation exhausts the stack.
const int MAX_NESTING = 64;
// Each operator of a chain such as a + b + c takes all that comes before it as its left side: the database nests
// the chain as deep as it is long, and the translation rebuilds the text once per operator. Longer chains than the
// database's own limit on an expression's depth are refused here, before that takes the square of their length.
const int MAX_CHAIN = 1000;

// The count of 1/10000 that a numeric literal means as an amount, rounded half to even; false when it is not a
// plain decimal number or does not fit.
bool LiteralCount(const std::wstring& literal, int64_t& count)
{
    size_t i = 0;
    bool negative = i < literal.size() && literal[i] == L'-';
    if (negative)
        ++i;
    std::wstring digits;
    int exponent = 0;
    bool point = false;
    for (; i < literal.size() && (std::iswdigit(literal[i]) || (literal[i] == L'.' && !point)); ++i) {
        if (literal[i] == L'.')
            point = true;
        else {
            digits += literal[i];
            exponent -= point ? 1 : 0;
        }
    }
    if (i < literal.size() && (literal[i] == L'e' || literal[i] == L'E')) {
        wchar_t* stop = nullptr;
        long power = std::wcstol(literal.c_str() + i + 1, &stop, 10);
        if (stop == literal.c_str() + i + 1 || power > 40 || power < -40)
            return false;
        exponent += static_cast<int>(power);
        i = static_cast<size_t>(stop - literal.c_str());
    }
    if (digits.empty() || i != literal.size())
        return false;
    exponent += 4;
    if (exponent > 0)
        digits.append(static_cast<size_t>(exponent), L'0');
    size_t kept = exponent < 0 ? (digits.size() > static_cast<size_t>(-exponent) ? digits.size() + exponent : 0)
                               : digits.size();
    uint64_t magnitude = 0;
    for (size_t k = 0; k < kept; ++k)
        if (__builtin_mul_overflow(magnitude, 10u, &magnitude) ||
            __builtin_add_overflow(magnitude, static_cast<uint64_t>(digits[k] - L'0'), &magnitude))
            return false;
    if (kept < digits.size()) {
        // The dropped digits against one half: "5" followed by zeros is a tie.
        std::wstring dropped = digits.substr(kept);
        if (exponent < 0 && static_cast<size_t>(-exponent) > digits.size())
            dropped.insert(0, static_cast<size_t>(-exponent) - digits.size(), L'0');
        int order = dropped[0] > L'5' ? 1 : dropped[0] < L'5' ? -1 : 0;
        if (order == 0 && dropped.find_first_not_of(L'0', 1) != std::wstring::npos)
            order = 1;
        if (order > 0 || (order == 0 && (magnitude & 1)))
            ++magnitude;
    }
    uint64_t limit = uint64_t(1) << 63;
    if (magnitude > limit || (magnitude == limit && !negative))
        return false;
    count = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

// The Jet type of an expression's result, as far as the translation needs it.
enum EType { typeNull, typeInteger, typeDouble, typeCurrency, typeText, typeBool, typeAny };

EType TypeOfKind(EJetKind kind)
{
    switch (kind) {
    case jetKindInteger:
    case jetKindByte:
    case jetKindShort:
    case jetKindBoolean:
        return typeInteger;
    case jetKindCurrency:
        return typeCurrency;
    case jetKindDouble:
    case jetKindSingle:
    case jetKindDate:
        return typeDouble;
    case jetKindText:
    case jetKindMemo:
    case jetKindGuid:
        return typeText;
    case jetKindNumeric:
    case jetKindAny:
        break;
    }
    return typeAny;
}

// An expression translated: a currency expression's text gives the count of 1/10000.
struct CExpr
{
    std::wstring m_text;
    EType m_type = typeAny;
    std::wstring m_number; // a numeric literal, with its sign, as written
};

// An expression and the tokens after it that belong to the same item ("AS name", "DESC").
struct CItem
{
    CExpr m_expr;
    std::wstring m_rest;
};

struct CScopeTable
{
    std::wstring m_name;
    std::wstring m_alias;
    const std::vector<CJetColumn>* m_columns;
};

struct CSelect
{
    std::wstring m_text;
    std::wstring m_rowidText; // with the rowid first, when the rows can be changed
    std::wstring m_table;
    EType m_firstType = typeAny;
    std::vector<EJetKind> m_kinds;
};

class CTranslator
{
public:
    CTranslator(const CTokens& tokens, CJetSchema* schema, CJetErrorLog* log)
        : m_tokens(tokens), m_schema(schema), m_log(log), m_end(tokens.size())
    {
    }

    CSelect Select(size_t begin, size_t end, const std::vector<const CJetColumn*>* targets);
    std::wstring Insert();
    std::wstring Update();
    std::wstring Delete();
    std::wstring Text(size_t begin, size_t end);

private:
    class CNesting
    {
    public:
        explicit CNesting(CTranslator& translator) : m_translator(translator)
        {
            if (++m_translator.m_depth > MAX_NESTING)
                JetRaise(m_translator.m_log, E_FAIL, L"Query is too complex.");
        }
        ~CNesting() { --m_translator.m_depth; }
        CNesting(const CNesting&) = delete;
        CNesting& operator=(const CNesting&) = delete;

    private:
        CTranslator& m_translator;
    };

    // The operators of the chains the translation is inside, counted until the chain ends.
    class CChain
    {
    public:
        explicit CChain(CTranslator& translator) : m_translator(translator) {}
        ~CChain() { m_translator.m_links -= m_nLinks; }
        CChain(const CChain&) = delete;
        CChain& operator=(const CChain&) = delete;
        void Link()
        {
            ++m_nLinks;
            if (++m_translator.m_links > MAX_CHAIN)
                JetRaise(m_translator.m_log, E_FAIL, L"Query is too complex.");
        }

    private:
        CTranslator& m_translator;
        int m_nLinks = 0;
    };

    bool AtWord(const wchar_t* word) const { return m_pos < m_end && IsWord(m_tokens, m_pos, word); }
    bool AtOperator(const wchar_t* op) const { return m_pos < m_end && IsOperator(m_tokens, m_pos, op); }
    size_t Find(size_t begin, size_t end, const wchar_t* word) const
    {
        return FindAtDepth(m_tokens, begin, end, [&](size_t i) { return IsWord(m_tokens, i, word); });
    }
    std::vector<std::pair<size_t, size_t>> SplitAtCommas(size_t begin, size_t end) const;

    CItem Item(size_t begin, size_t end);
    CExpr Or();
    CExpr And();
    CExpr Not();
    CExpr Comparison();
    CExpr In(const CExpr& left, bool negated);
    CExpr Concatenation();
    CExpr Additive();
    CExpr IntegerDivision();
    CExpr Multiplicative();
    CExpr Unary();
    CExpr Primary();
    CExpr Group();
    CExpr Call();
    CExpr Column();

    static std::wstring Amount(const CExpr& e);
    static std::wstring Count(const CExpr& e);
    static std::wstring Store(const CExpr& e, const CJetColumn* column);
    static CExpr Arithmetic(const CExpr& left, const std::wstring& op, const CExpr& right);
    static CExpr Compare(const CExpr& left, const std::wstring& op, const CExpr& right);

    void AddScope(size_t begin, size_t end, bool& joined);
    EType Resolve(const std::wstring* qualifier, const std::wstring& column) const;
    const std::vector<CJetColumn>* Columns(const std::wstring& table) const
    {
        return m_schema ? m_schema->TableColumns(table) : nullptr;
    }
    static const CJetColumn* FindColumn(const std::vector<CJetColumn>* columns, const std::wstring& name);

    const CTokens& m_tokens;
    CJetSchema* m_schema;
    CJetErrorLog* m_log;
    std::vector<CScopeTable> m_scope;
    int m_depth = 0;
    int m_links = 0;
    size_t m_pos = 0; // the expression being read: its next token and its end
    size_t m_end;
};

std::vector<std::pair<size_t, size_t>> CTranslator::SplitAtCommas(size_t begin, size_t end) const
{
    std::vector<std::pair<size_t, size_t>> parts;
    for (size_t start = begin; start < end;) {
        size_t comma = FindAtDepth(m_tokens, start, end, [&](size_t i) { return IsOperator(m_tokens, i, L","); });
        parts.emplace_back(start, comma);
        start = comma + 1;
    }
    return parts;
}

// Tokens [begin, end) as they are, but for the subqueries among them.
std::wstring CTranslator::Text(size_t begin, size_t end)
{
    std::wstring text;
    for (size_t i = begin; i < end; ++i) {
        bool space = m_tokens[i].m_space && !text.empty();
        std::wstring part = TokenText(m_tokens[i]);
        if (IsOperator(m_tokens, i, L"(") && IsWord(m_tokens, i + 1, L"SELECT")) {
            size_t close = MatchParen(m_tokens, i, end);
            part = L"(" + Select(i + 1, close, nullptr).m_text + (close < end ? L")" : L"");
            i = close;
        }
        text += (space ? L" " : L"") + part;
    }
    return text;
}

CItem CTranslator::Item(size_t begin, size_t end)
{
    size_t pos = m_pos, limit = m_end;
    m_pos = begin;
    m_end = end;
    CItem item;
    item.m_expr = Or();
    if (m_pos < end)
        item.m_rest = L" " + Text(m_pos, end);
    m_pos = pos;
    m_end = limit;
    return item;
}

CExpr CTranslator::Or()
{
    CExpr left = And();
    CChain chain(*this);
    while (AtWord(L"OR")) {
        chain.Link();
        ++m_pos;
        CExpr right = And();
        left = CExpr{left.m_text + L" OR " + right.m_text, typeBool, {}};
    }
    return left;
}

CExpr CTranslator::And()
{
    CExpr left = Not();
    CChain chain(*this);
    while (AtWord(L"AND")) {
        chain.Link();
        ++m_pos;
        CExpr right = Not();
        left = CExpr{left.m_text + L" AND " + right.m_text, typeBool, {}};
    }
    return left;
}

CExpr CTranslator::Not()
{
    if (!AtWord(L"NOT"))
        return Comparison();
    CNesting nesting(*this);
    ++m_pos;
    return CExpr{L"NOT " + Not().m_text, typeBool, {}};
}

CExpr CTranslator::Comparison()
{
    static const wchar_t* const comparisons[] = {L"=", L"<>", L"<", L">", L"<=", L">=", L"!=", L"=="};
    CExpr left = Concatenation();
    CChain chain(*this);
    for (;;) {
        const wchar_t* op = nullptr;
        for (const wchar_t* candidate : comparisons)
            if (AtOperator(candidate))
                op = candidate;
        if (op) {
            chain.Link();
            ++m_pos;
            left = Compare(left, op, Concatenation());
            continue;
        }
        if (AtWord(L"IS")) {
            bool negated = IsWord(m_tokens, m_pos + 1, L"NOT");
            size_t null = m_pos + (negated ? 2 : 1);
            if (null >= m_end || !IsWord(m_tokens, null, L"NULL"))
                break;
            m_pos = null + 1;
            left = CExpr{left.m_text + (negated ? L" IS NOT NULL" : L" IS NULL"), typeBool, {}};
            continue;
        }
        bool negated = AtWord(L"NOT");
        size_t at = m_pos + (negated ? 1 : 0);
        if (at >= m_end)
            break;
        std::wstring notText = negated ? L" NOT" : L"";
        if (IsWord(m_tokens, at, L"LIKE")) {
            m_pos = at + 1;
            left = CExpr{left.m_text + notText + L" LIKE " + Concatenation().m_text, typeBool, {}};
        } else if (IsWord(m_tokens, at, L"BETWEEN")) {
            m_pos = at + 1;
            CExpr low = Concatenation();
            if (!AtWord(L"AND"))
                return CExpr{left.m_text + notText + L" BETWEEN " + low.m_text, typeAny, {}};
            ++m_pos;
            CExpr high = Concatenation();
            bool currency = (left.m_type == typeCurrency || low.m_type == typeCurrency || high.m_type == typeCurrency) &&
                            left.m_type != typeText && low.m_type != typeText && high.m_type != typeText;
            auto side = [&](const CExpr& e) { return currency ? Count(e) : e.m_text; };
            left = CExpr{side(left) + notText + L" BETWEEN " + side(low) + L" AND " + side(high), typeBool, {}};
        } else if (IsWord(m_tokens, at, L"IN") && IsOperator(m_tokens, at + 1, L"(")) {
            m_pos = at + 1;
            left = In(left, negated);
        } else {
            break;
        }
    }
    return left;
}

// left [NOT] IN (values) or (subquery); m_pos is at the "(".
CExpr CTranslator::In(const CExpr& left, bool negated)
{
    CNesting nesting(*this);
    size_t open = m_pos;
    size_t close = MatchParen(m_tokens, open, m_end);
    m_pos = std::min(close + 1, m_end);
    std::wstring head = negated ? L" NOT IN (" : L" IN (";
    if (IsWord(m_tokens, open + 1, L"SELECT"))
        return CExpr{left.m_text + head + Select(open + 1, close, nullptr).m_text + L")", typeBool, {}};
    std::vector<CItem> values;
    bool currency = left.m_type == typeCurrency;
    bool text = left.m_type == typeText;
    for (const auto& part : SplitAtCommas(open + 1, close)) {
        values.push_back(Item(part.first, part.second));
        currency = currency || values.back().m_expr.m_type == typeCurrency;
        text = text || values.back().m_expr.m_type == typeText;
    }
    currency = currency && !text;
    std::wstring list;
    for (const CItem& value : values)
        list += (list.empty() ? L"" : L", ") + (currency ? Count(value.m_expr) : value.m_expr.m_text) + value.m_rest;
    return CExpr{(currency ? Count(left) : left.m_text) + head + list + L")", typeBool, {}};
}

CExpr CTranslator::Concatenation()
{
    CExpr left = Additive();
    CChain chain(*this);
    while (AtOperator(L"&")) {
        chain.Link();
        ++m_pos;
        CExpr right = Additive();
        left = CExpr{L"(" + left.m_text + L" || " + right.m_text + L")", typeText, {}};
    }
    return left;
}

CExpr CTranslator::Additive()
{
    CExpr left = IntegerDivision();
    CChain chain(*this);
    while (AtOperator(L"+") || AtOperator(L"-")) {
        chain.Link();
        std::wstring op = m_tokens[m_pos++].m_text;
        left = Arithmetic(left, op, IntegerDivision());
    }
    return left;
}

// Jet's "\" binds less tightly than "*" and "/": a * b \ c is (a * b) \ c.
CExpr CTranslator::IntegerDivision()
{
    CExpr left = Multiplicative();
    CChain chain(*this);
    while (AtOperator(L"\\")) {
        chain.Link();
        ++m_pos;
        CExpr right = Multiplicative();
        left = CExpr{L"jet_idiv(" + Amount(left) + L", " + Amount(right) + L")", typeInteger, {}};
    }
    return left;
}

CExpr CTranslator::Multiplicative()
{
    CExpr left = Unary();
    CChain chain(*this);
    while (AtOperator(L"*") || AtOperator(L"/")) {
        chain.Link();
        std::wstring op = m_tokens[m_pos++].m_text;
        left = Arithmetic(left, op, Unary());
    }
    return left;
}

CExpr CTranslator::Unary()
{
    if (!AtOperator(L"-") && !AtOperator(L"+"))
        return Primary();
    CNesting nesting(*this);
    bool minus = AtOperator(L"-");
    ++m_pos;
    CExpr operand = Unary();
    if (!minus)
        return operand;
    if (!operand.m_number.empty()) {
        operand.m_number = operand.m_number[0] == L'-' ? operand.m_number.substr(1) : L"-" + operand.m_number;
        operand.m_text = operand.m_number;
        return operand;
    }
    // A blank after the sign: "- -x" must not become the comment "--x".
    operand.m_text = L"(- " + operand.m_text + L")";
    return operand;
}

CExpr CTranslator::Primary()
{
    if (m_pos >= m_end || IsOperator(m_tokens, m_pos, L",") || IsOperator(m_tokens, m_pos, L")"))
        return CExpr{};
    const CToken& token = m_tokens[m_pos];
    if (token.m_type == CToken::typeNumber) {
        ++m_pos;
        bool integer = token.m_text.find_first_not_of(L"0123456789") == std::wstring::npos;
        return CExpr{token.m_text, integer ? typeInteger : typeDouble, token.m_text};
    }
    if (token.m_type == CToken::typeString) {
        ++m_pos;
        return CExpr{token.m_text, typeText, {}};
    }
    if (IsOperator(m_tokens, m_pos, L"("))
        return Group();
    if (IsWord(m_tokens, m_pos, L"NULL")) {
        ++m_pos;
        return CExpr{L"NULL", typeNull, {}};
    }
    if (token.m_type == CToken::typeWord && IsOperator(m_tokens, m_pos + 1, L"(") && m_pos + 1 < m_end)
        return Call();
    if (IsIdentifier(m_tokens, m_pos))
        return Column();
    ++m_pos;
    return CExpr{TokenText(token), typeAny, {}};
}

CExpr CTranslator::Group()
{
    CNesting nesting(*this);
    size_t open = m_pos;
    size_t close = MatchParen(m_tokens, open, m_end);
    m_pos = std::min(close + 1, m_end);
    std::wstring tail = close < m_end ? L")" : L"";
    if (IsWord(m_tokens, open + 1, L"SELECT")) {
        CSelect inner = Select(open + 1, close, nullptr);
        return CExpr{L"(" + inner.m_text + tail, inner.m_firstType, {}};
    }
    CItem inner = Item(open + 1, close);
    if (!inner.m_rest.empty())
        return CExpr{L"(" + inner.m_expr.m_text + inner.m_rest + tail, typeAny, {}};
    inner.m_expr.m_text = L"(" + inner.m_expr.m_text + tail;
    return inner.m_expr;
}

// name(arguments): sums and extremes of currency stay currency; other functions see amounts.
CExpr CTranslator::Call()
{
    CNesting nesting(*this);
    std::wstring name = JetUpper(m_tokens[m_pos].m_text);
    size_t open = m_pos + 1;
    size_t close = MatchParen(m_tokens, open, m_end);
    m_pos = std::min(close + 1, m_end);
    std::vector<CItem> arguments;
    for (const auto& part : SplitAtCommas(open + 1, close)) {
        if (IsWord(m_tokens, part.first, L"SELECT"))
            arguments.push_back(CItem{CExpr{Select(part.first, part.second, nullptr).m_text, typeAny, {}}, {}});
        else
            arguments.push_back(Item(part.first, part.second));
    }
    bool single = arguments.size() == 1 && arguments[0].m_rest.empty();
    EType type = single ? arguments[0].m_expr.m_type : typeAny;
    std::wstring list;
    if (name == L"SUM" || name == L"MIN" || name == L"MAX" || name == L"COUNT" || name == L"AVG") {
        for (const CItem& argument : arguments)
            list += (list.empty() ? L"" : L", ") + argument.m_expr.m_text + argument.m_rest;
    } else {
        for (const CItem& argument : arguments)
            list += (list.empty() ? L"" : L", ") + Amount(argument.m_expr) + argument.m_rest;
    }
    std::wstring text = m_tokens[open - 1].m_text + L"(" + list + (close < m_end ? L")" : L"");
    if (name == L"COUNT")
        return CExpr{text, typeInteger, {}};
    if (name == L"AVG")
        return type == typeCurrency ? CExpr{L"jet_cyround(" + text + L")", typeCurrency, {}} : CExpr{text, typeDouble, {}};
    if (name == L"SUM" || name == L"MIN" || name == L"MAX")
        return CExpr{text, type == typeBool ? typeInteger : type, {}};
    return CExpr{text, typeAny, {}};
}

// A column, or table.column.
CExpr CTranslator::Column()
{
    const CToken& first = m_tokens[m_pos++];
    if (AtOperator(L".") && m_pos + 1 < m_end && IsIdentifier(m_tokens, m_pos + 1)) {
        const CToken& second = m_tokens[m_pos + 1];
        m_pos += 2;
        return CExpr{TokenText(first) + L"." + TokenText(second), Resolve(&first.m_text, second.m_text), {}};
    }
    return CExpr{TokenText(first), Resolve(nullptr, first.m_text), {}};
}

EType CTranslator::Resolve(const std::wstring* qualifier, const std::wstring& column) const
{
    for (auto table = m_scope.rbegin(); table != m_scope.rend(); ++table) {
        if (qualifier && !JetSameName(*qualifier, table->m_alias.empty() ? table->m_name : table->m_alias))
            continue;
        if (const CJetColumn* found = FindColumn(table->m_columns, column))
            return TypeOfKind(found->m_kind);
    }
    return typeAny;
}

const CJetColumn* CTranslator::FindColumn(const std::vector<CJetColumn>* columns, const std::wstring& name)
{
    if (columns)
        for (const CJetColumn& column : *columns)
            if (JetSameName(column.m_name, name))
                return &column;
    return nullptr;
}

std::wstring CTranslator::Amount(const CExpr& e)
{
    return e.m_type == typeCurrency ? L"(" + e.m_text + L" / 10000.0)" : e.m_text;
}

std::wstring CTranslator::Count(const CExpr& e)
{
    int64_t count = 0;
    if (e.m_type == typeCurrency)
        return e.m_text;
    if (e.m_type == typeNull)
        return L"NULL";
    if (!e.m_number.empty() && LiteralCount(e.m_number, count))
        return std::to_wstring(count);
    return L"jet_cy(" + e.m_text + L")";
}

// The value as the column stores it: currency as its count, refused when out of range; a text within its width.
std::wstring CTranslator::Store(const CExpr& e, const CJetColumn* column)
{
    if (!column || e.m_type == typeNull)
        return e.m_text;
    if (column->m_kind == jetKindCurrency) {
        if (e.m_type != typeCurrency || !e.m_number.empty())
            return Count(e);
        return L"jet_cyround(" + e.m_text + L")";
    }
    if (column->m_kind == jetKindText && column->m_definedSize > 0)
        return L"jet_text(" + e.m_text + L", " + std::to_wstring(column->m_definedSize) + L")";
    return e.m_text;
}

CExpr CTranslator::Arithmetic(const CExpr& left, const std::wstring& op, const CExpr& right)
{
    if (op == L"/")
        return CExpr{L"jet_div(" + Amount(left) + L", " + Amount(right) + L")", typeDouble, {}};
    if (op == L"+" && left.m_type == typeText && right.m_type == typeText)
        return CExpr{L"(" + left.m_text + L" || " + right.m_text + L")", typeText, {}};
    bool leftCurrency = left.m_type == typeCurrency, rightCurrency = right.m_type == typeCurrency;
    if (leftCurrency || rightCurrency) {
        if (op != L"*")
            return CExpr{L"(" + Count(left) + L" " + op + L" " + Count(right) + L")", typeCurrency, {}};
        // A count times a whole number stays a count; any other product is of two amounts.
        const CExpr& other = leftCurrency ? right : left;
        if (!(leftCurrency && rightCurrency) && other.m_type == typeInteger)
            return CExpr{L"(" + left.m_text + L" * " + right.m_text + L")", typeCurrency, {}};
        return CExpr{L"jet_cymul(" + Count(left) + L", " + Count(right) + L")", typeCurrency, {}};
    }
    EType type = left.m_type == typeInteger && right.m_type == typeInteger ? typeInteger : typeAny;
    return CExpr{L"(" + left.m_text + L" " + op + L" " + right.m_text + L")", type, {}};
}

CExpr CTranslator::Compare(const CExpr& left, const std::wstring& op, const CExpr& right)
{
    bool currency = (left.m_type == typeCurrency || right.m_type == typeCurrency) && left.m_type != typeText &&
                    right.m_type != typeText;
    if (!currency)
        return CExpr{left.m_text + L" " + op + L" " + right.m_text, typeBool, {}};
    return CExpr{Count(left) + L" " + op + L" " + Count(right), typeBool, {}};
}

bool IsJoinWord(const CTokens& tokens, size_t i)
{
    static const wchar_t* const words[] = {L"INNER", L"LEFT", L"RIGHT", L"OUTER", L"CROSS", L"FULL", L"JOIN", L"ON",
                                           L"AS"};
    for (const wchar_t* word : words)
        if (IsWord(tokens, i, word))
            return true;
    return false;
}

// The tables after FROM, with their aliases; joined tables and a list make several.
void CTranslator::AddScope(size_t begin, size_t end, bool& joined)
{
    joined = false;
    bool expectTable = true;
    for (size_t i = begin; i < end; ++i) {
        if (IsOperator(m_tokens, i, L"(")) {
            i = MatchParen(m_tokens, i, end);
            joined = true;
            expectTable = false;
        } else if (IsOperator(m_tokens, i, L",") || IsWord(m_tokens, i, L"JOIN")) {
            joined = true;
            expectTable = true;
        } else if (IsWord(m_tokens, i, L"ON")) {
            expectTable = false;
        } else if (expectTable && IsIdentifier(m_tokens, i) && !IsJoinWord(m_tokens, i)) {
            CScopeTable table{m_tokens[i].m_text, std::wstring(), Columns(m_tokens[i].m_text)};
            if (IsWord(m_tokens, i + 1, L"AS") && i + 2 < end && IsIdentifier(m_tokens, i + 2))
                table.m_alias = m_tokens[i + 2].m_text;
            else if (i + 1 < end && IsIdentifier(m_tokens, i + 1) && !IsJoinWord(m_tokens, i + 1))
                table.m_alias = m_tokens[i + 1].m_text;
            m_scope.push_back(table);
            expectTable = false;
        }
    }
}

// SELECT ... from tokens[begin] (the word SELECT) to end; targets: the columns an INSERT stores the items into.
CSelect CTranslator::Select(size_t begin, size_t end, const std::vector<const CJetColumn*>* targets)
{
    CNesting nesting(*this);
    CSelect result;
    size_t outerScope = m_scope.size();
    size_t unionAt = Find(begin + 1, end, L"UNION");
    size_t from = Find(begin + 1, unionAt, L"FROM");
    auto isClause = [&](size_t i) {
        return IsWord(m_tokens, i, L"WHERE") || IsWord(m_tokens, i, L"GROUP") || IsWord(m_tokens, i, L"ORDER") ||
               IsWord(m_tokens, i, L"HAVING");
    };
    size_t clauses = FindAtDepth(m_tokens, from, unionAt, isClause);
    bool joined = false;
    if (from < unionAt)
        AddScope(from + 1, clauses, joined);

    std::wstring head = L"SELECT";
    size_t first = begin + 1;
    bool plain = true;
    while (first < from && (IsWord(m_tokens, first, L"DISTINCT") || IsWord(m_tokens, first, L"DISTINCTROW") ||
                            IsWord(m_tokens, first, L"ALL") || IsWord(m_tokens, first, L"TOP"))) {
        bool top = IsWord(m_tokens, first, L"TOP");
        head += L" " + TokenText(m_tokens[first++]);
        if (top && first < from)
            head += L" " + TokenText(m_tokens[first++]);
        plain = false;
    }

    bool kindsKnown = true;
    std::wstring items;
    size_t position = 0;
    for (const auto& part : SplitAtCommas(first, from)) {
        size_t length = part.second - part.first;
        std::wstring text;
        bool star = length == 1 && IsOperator(m_tokens, part.first, L"*");
        bool tableStar = length == 3 && IsIdentifier(m_tokens, part.first) &&
                         IsOperator(m_tokens, part.first + 1, L".") && IsOperator(m_tokens, part.first + 2, L"*");
        if (star || tableStar) {
            text = star ? L"*" : TokenText(m_tokens[part.first]) + L".*";
            for (size_t t = outerScope; t < m_scope.size(); ++t) {
                const CScopeTable& table = m_scope[t];
                if (tableStar && !JetSameName(m_tokens[part.first].m_text,
                                              table.m_alias.empty() ? table.m_name : table.m_alias))
                    continue;
                kindsKnown = kindsKnown && table.m_columns;
                if (kindsKnown)
                    result.m_kinds.insert(result.m_kinds.end(), table.m_columns->size(), jetKindAny);
            }
            position = targets ? targets->size() : 0;   // the targets no longer line up with the items
        } else {
            plain = plain && length == 1 && IsIdentifier(m_tokens, part.first);
            CItem item = Item(part.first, part.second);
            const CJetColumn* target = targets && position < targets->size() ? (*targets)[position] : nullptr;
            text = Store(item.m_expr, target) + item.m_rest;
            if (kindsKnown)
                result.m_kinds.push_back(item.m_expr.m_type == typeCurrency ? jetKindCurrency : jetKindAny);
            if (position == 0 && item.m_rest.empty())
                result.m_firstType = item.m_expr.m_type;
            ++position;
        }
        items += (items.empty() ? L"" : L", ") + text;
    }

    std::wstring tail = from < unionAt ? L" " + Text(from, clauses) : L"";
    bool grouped = false;
    for (size_t clause = clauses; clause < unionAt;) {
        size_t next = FindAtDepth(m_tokens, clause + 1, unionAt, isClause);
        bool list = IsWord(m_tokens, clause, L"GROUP") || IsWord(m_tokens, clause, L"ORDER");
        grouped = grouped || IsWord(m_tokens, clause, L"GROUP") || IsWord(m_tokens, clause, L"HAVING");
        size_t start = clause + 1 + (list && IsWord(m_tokens, clause + 1, L"BY") ? 1 : 0);
        tail += L" " + Text(clause, start) + L" ";
        std::wstring parts;
        for (const auto& part : SplitAtCommas(start, next)) {
            CItem item = Item(part.first, part.second);
            parts += (parts.empty() ? L"" : L", ") + item.m_expr.m_text + item.m_rest;
        }
        tail += parts;
        clause = next;
    }
    if (!kindsKnown)
        result.m_kinds.clear();
    if (plain && !grouped && !joined && unionAt == end && m_scope.size() == outerScope + 1) {
        result.m_table = m_scope.back().m_name;
        result.m_rowidText = head + L" _rowid_, " + items + tail;
    }
    m_scope.resize(outerScope);
    result.m_text = head + L" " + items + tail;
    if (unionAt < end) {
        size_t next = unionAt + 1 + (IsWord(m_tokens, unionAt + 1, L"ALL") ? 1 : 0);
        result.m_text += L" " + Text(unionAt, next) + L" " + Select(next, end, targets).m_text;
    }
    return result;
}

// INSERT INTO table [(columns)] VALUES (values) | SELECT ...: each value as its column stores it.
std::wstring CTranslator::Insert()
{
    size_t end = m_tokens.size();
    size_t i = IsWord(m_tokens, 1, L"INTO") ? 2 : 1;
    if (!IsIdentifier(m_tokens, i))
        return Text(0, end);
    const std::vector<CJetColumn>* columns = Columns(m_tokens[i].m_text);
    std::wstring text = Text(0, i + 1);
    std::vector<const CJetColumn*> targets;
    ++i;
    if (IsOperator(m_tokens, i, L"(") && !IsWord(m_tokens, i + 1, L"SELECT")) {
        size_t close = MatchParen(m_tokens, i, end);
        for (size_t k = i + 1; k < close; ++k)
            if (IsIdentifier(m_tokens, k))
                targets.push_back(FindColumn(columns, m_tokens[k].m_text));
        text += L" " + Text(i, std::min(close + 1, end));
        i = std::min(close + 1, end);
    } else if (columns) {
        for (const CJetColumn& column : *columns)
            targets.push_back(&column);
    }
    if (IsWord(m_tokens, i, L"VALUES") && IsOperator(m_tokens, i + 1, L"(")) {
        size_t close = MatchParen(m_tokens, i + 1, end);
        std::wstring values;
        size_t position = 0;
        for (const auto& part : SplitAtCommas(i + 2, close)) {
            CItem item = Item(part.first, part.second);
            values += (values.empty() ? L"" : L", ") +
                      Store(item.m_expr, position < targets.size() ? targets[position] : nullptr) + item.m_rest;
            ++position;
        }
        return text + L" VALUES (" + values + L")" + (close + 1 < end ? L" " + Text(close + 1, end) : L"");
    }
    if (IsWord(m_tokens, i, L"SELECT"))
        return text + L" " + Select(i, end, &targets).m_text;
    return text + L" " + Text(i, end);
}

// UPDATE table SET column = value, ... [WHERE ...]
std::wstring CTranslator::Update()
{
    size_t end = m_tokens.size();
    if (!IsIdentifier(m_tokens, 1) || !IsWord(m_tokens, 2, L"SET"))
        return Text(0, end);
    const std::vector<CJetColumn>* columns = Columns(m_tokens[1].m_text);
    m_scope.push_back(CScopeTable{m_tokens[1].m_text, std::wstring(), columns});
    size_t where = Find(3, end, L"WHERE");
    std::wstring assignments;
    for (const auto& part : SplitAtCommas(3, where)) {
        std::wstring assignment;
        if (IsIdentifier(m_tokens, part.first) && IsOperator(m_tokens, part.first + 1, L"=")) {
            CItem item = Item(part.first + 2, part.second);
            assignment = TokenText(m_tokens[part.first]) + L" = " +
                         Store(item.m_expr, FindColumn(columns, m_tokens[part.first].m_text)) + item.m_rest;
        } else {
            assignment = Text(part.first, part.second);
        }
        assignments += (assignments.empty() ? L"" : L", ") + assignment;
    }
    std::wstring text = Text(0, 3) + L" " + assignments;
    if (where < end) {
        CItem condition = Item(where + 1, end);
        text += L" WHERE " + condition.m_expr.m_text + condition.m_rest;
    }
    return text;
}

// DELETE FROM table [WHERE ...]
std::wstring CTranslator::Delete()
{
    size_t end = m_tokens.size();
    size_t from = Find(1, end, L"FROM");
    size_t where = Find(from, end, L"WHERE");
    bool joined = false;
    if (from < end)
        AddScope(from + 1, where, joined);
    std::wstring text = Text(0, where);
    if (where < end) {
        CItem condition = Item(where + 1, end);
        text += L" WHERE " + condition.m_expr.m_text + condition.m_rest;
    }
    return text;
}
} // namespace

CJetStatement JetTranslate(const std::wstring& jetSql, CJetSchema* schema, CJetErrorLog* log)
{
    CJetStatement statement;
    CTokens tokens = Tokenize(jetSql);
    while (!tokens.empty() && IsOperator(tokens, tokens.size() - 1, L";"))
        tokens.pop_back();
    CTranslator translator(tokens, schema, log);
    if (IsWord(tokens, 0, L"SELECT")) {
        statement.m_kind = CJetStatement::kindSelect;
        CSelect select = translator.Select(0, tokens.size(), nullptr);
        statement.m_sql = JetUtf8(select.m_text);
        statement.m_rowidSql = JetUtf8(select.m_rowidText);
        statement.m_table = select.m_table;
        statement.m_outputKinds = select.m_kinds;
        return statement;
    }
    if (IsWord(tokens, 0, L"INSERT") || IsWord(tokens, 0, L"UPDATE") || IsWord(tokens, 0, L"DELETE")) {
        statement.m_kind = CJetStatement::kindChange;
        statement.m_sql = JetUtf8(IsWord(tokens, 0, L"INSERT")   ? translator.Insert()
                                  : IsWord(tokens, 0, L"UPDATE") ? translator.Update()
                                                                 : translator.Delete());
        return statement;
    }
    if (IsWord(tokens, 0, L"CREATE") || IsWord(tokens, 0, L"DROP") || IsWord(tokens, 0, L"ALTER")) {
        statement.m_kind = CJetStatement::kindSchema;
        if (IsWord(tokens, 1, L"TABLE") && IsWord(tokens, 0, L"CREATE")) {
            RewriteCreateTable(tokens);
        } else if (IsWord(tokens, 0, L"CREATE")) {
            // CREATE [UNIQUE] INDEX ... WITH PRIMARY | DISALLOW NULL | IGNORE NULL: SQLite has no such options;
            // the unique index does the primary key's work.
            size_t with = FindAtDepth(tokens, 0, tokens.size(), [&](size_t i) { return IsWord(tokens, i, L"WITH"); });
            tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(with), tokens.end());
        } else if (IsWord(tokens, 0, L"ALTER") && IsWord(tokens, 1, L"TABLE") && IsWord(tokens, 3, L"ADD")) {
            if (IsWord(tokens, 4, L"CONSTRAINT")) {
                statement.m_kind = CJetStatement::kindAddConstraint;
                statement.m_table = tokens[2].m_text;
                statement.m_sql = JetUtf8(RawTokens(tokens, 4, tokens.size()));
                if (IsIdentifier(tokens, 5) && IsWord(tokens, 6, L"FOREIGN") && IsWord(tokens, 7, L"KEY") &&
                    IsOperator(tokens, 8, L"(")) {
                    size_t end = std::min(MatchParen(tokens, 8, tokens.size()) + 1, tokens.size());
                    CTokens index{Raw(L"CREATE INDEX", false), tokens[5], Raw(L"ON"), tokens[2]};
                    index.insert(index.end(), tokens.begin() + 8, tokens.begin() + static_cast<std::ptrdiff_t>(end));
                    statement.m_indexSql = JetUtf8(RawTokens(index, 0, index.size()));
                }
                return statement;
            }
            size_t type = IsWord(tokens, 4, L"COLUMN") ? 6 : 5;
            CTokens out;
            AppendTokens(tokens, 0, type, out);
            AppendTokens(tokens, AppendType(tokens, type, out), tokens.size(), out);
            tokens.swap(out);
        }
    }
    statement.m_sql = JetUtf8(RawTokens(tokens, 0, tokens.size()));
    return statement;
}
