#include "platform/ado/JetSql.h"

#include "platform/ado/JetValue.h"

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

// Emits tokens [begin, end): parenthesised groups and function calls become single operands, so that Jet's
// integer division a \ b can become SQLite's division of the rounded integers.
std::wstring Emit(const CTokens& tokens, size_t begin, size_t end)
{
    struct CUnit
    {
        std::wstring m_text;
        bool m_space;
        bool m_identifier; // a name, that a following group makes a call
        bool m_backslash;
    };
    std::vector<CUnit> units;
    bool joinNext = false;
    for (size_t i = begin; i < end; ++i) {
        const CToken& token = tokens[i];
        bool identifier = IsIdentifier(tokens, i);
        bool dot = IsOperator(tokens, i, L".");
        bool group = IsOperator(tokens, i, L"(");
        std::wstring text = TokenText(token);
        if (group) {
            size_t close = MatchParen(tokens, i, end);
            text = L"(" + Emit(tokens, i + 1, close) + (close < end ? L")" : L"");
            i = close;
        }
        if (!units.empty() && (joinNext || dot || (group && units.back().m_identifier))) {
            units.back().m_text += (token.m_space ? L" " : L"") + text;
            units.back().m_identifier = identifier;
        } else {
            units.push_back(CUnit{text, token.m_space, identifier, token.m_type == CToken::typeOperator && text == L"\\"});
        }
        joinNext = dot;
    }
    for (size_t k = 1; k + 1 < units.size(); ++k) {
        if (!units[k].m_backslash)
            continue;
        size_t last = k + 1;
        std::wstring right = units[last].m_text;
        if ((right == L"-" || right == L"+") && last + 1 < units.size())
            right += units[++last].m_text;
        units[k - 1].m_text = L"(CAST(ROUND(" + units[k - 1].m_text + L") AS INTEGER) / CAST(ROUND(" + right +
                              L") AS INTEGER))";
        units.erase(units.begin() + static_cast<std::ptrdiff_t>(k), units.begin() + static_cast<std::ptrdiff_t>(last) + 1);
        --k;
    }
    std::wstring result;
    for (const CUnit& unit : units)
        result += (result.empty() || !unit.m_space ? L"" : L" ") + unit.m_text;
    return result;
}

// Rewrites the column type at tokens[i] (Jet's names) into SQLite's; text columns get Jet's collation.
void RewriteType(CTokens& tokens, size_t i)
{
    if (!IsIdentifier(tokens, i))
        return;
    std::wstring type = JetUpper(tokens[i].m_text);
    bool space = tokens[i].m_space;
    if (type == L"COUNTER" || type == L"AUTOINCREMENT") {
        tokens[i] = Raw(L"INTEGER PRIMARY KEY AUTOINCREMENT", space);
        if (IsOperator(tokens, i + 1, L"("))
            tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                         tokens.begin() + static_cast<std::ptrdiff_t>(MatchParen(tokens, i + 1, tokens.size())) + 1);
    } else if (type == L"CURRENCY" || type == L"MONEY") {
        tokens[i] = Raw(L"CURRENCY", space);
    } else if (type == L"INTEGER" || type == L"LONG" || type == L"INT") {
        tokens[i] = Raw(L"INTEGER", space);
    } else if (type == L"VARCHAR" || type == L"CHAR" || type == L"TEXT" || type == L"NVARCHAR" || type == L"NCHAR" ||
               type == L"CHARACTER" || type == L"STRING" || type == L"MEMO" || type == L"LONGTEXT" ||
               type == L"ALPHANUMERIC" || type == L"NTEXT") {
        size_t after = IsOperator(tokens, i + 1, L"(") ? MatchParen(tokens, i + 1, tokens.size()) + 1 : i + 1;
        tokens.insert(tokens.begin() + static_cast<std::ptrdiff_t>(std::min(after, tokens.size())),
                      Raw(L"COLLATE " + JetWide(JET_TEXT_COLLATION)));
    }
}

bool IsConstraintWord(const CTokens& tokens, size_t i)
{
    return IsWord(tokens, i, L"CONSTRAINT") || IsWord(tokens, i, L"PRIMARY") || IsWord(tokens, i, L"FOREIGN") ||
           IsWord(tokens, i, L"UNIQUE") || IsWord(tokens, i, L"CHECK");
}

// CREATE TABLE name (column type ..., ...): each column's type.
void RewriteCreateTable(CTokens& tokens)
{
    size_t open = 0;
    while (open < tokens.size() && !IsOperator(tokens, open, L"("))
        ++open;
    for (size_t start = open + 1; start < tokens.size();) {
        if (!IsConstraintWord(tokens, start))
            RewriteType(tokens, start + 1);
        size_t close = MatchParen(tokens, open, tokens.size());
        size_t comma = FindAtDepth(tokens, start, close, [&](size_t i) { return IsOperator(tokens, i, L","); });
        if (comma >= close)
            break;
        start = comma + 1;
    }
}

// The names after FROM up to the next clause; joined tables and a list make several.
std::vector<std::wstring> FromTables(const CTokens& tokens, size_t from, size_t end, bool& joined)
{
    std::vector<std::wstring> tables;
    joined = false;
    bool expectTable = true;
    for (size_t i = from + 1; i < end; ++i) {
        if (IsOperator(tokens, i, L"(")) {
            i = MatchParen(tokens, i, end);
            joined = true;
            expectTable = false;
        } else if (IsOperator(tokens, i, L",") || IsWord(tokens, i, L"JOIN")) {
            joined = true;
            expectTable = true;
        } else if (expectTable && IsIdentifier(tokens, i)) {
            tables.push_back(tokens[i].m_text);
            expectTable = false;
        }
    }
    return tables;
}

void AnalyseSelect(CTokens& tokens, CJetStatement& statement)
{
    size_t end = tokens.size();
    auto isClause = [&](size_t i) {
        return IsWord(tokens, i, L"WHERE") || IsWord(tokens, i, L"GROUP") || IsWord(tokens, i, L"ORDER") ||
               IsWord(tokens, i, L"HAVING") || IsWord(tokens, i, L"UNION") || IsOperator(tokens, i, L";");
    };
    size_t from = FindAtDepth(tokens, 1, end, [&](size_t i) { return IsWord(tokens, i, L"FROM"); });
    size_t clause = FindAtDepth(tokens, from, end, isClause);
    bool joined = false;
    if (from < end)
        statement.m_fromTables = FromTables(tokens, from, clause, joined);
    bool grouped = FindAtDepth(tokens, from, end, [&](size_t i) {
                       return IsWord(tokens, i, L"GROUP") || IsWord(tokens, i, L"HAVING") || IsWord(tokens, i, L"UNION");
                   }) < end;
    bool plainColumns = !(IsWord(tokens, 1, L"DISTINCT") || IsWord(tokens, 1, L"TOP") ||
                          IsWord(tokens, 1, L"DISTINCTROW") || IsWord(tokens, 1, L"ALL"));

    // Select-list items, last first so that insertions keep the earlier positions.
    std::vector<std::pair<size_t, size_t>> items;
    for (size_t start = 1; start < from;) {
        size_t comma = FindAtDepth(tokens, start, from, [&](size_t i) { return IsOperator(tokens, i, L","); });
        items.emplace_back(start, comma);
        start = comma + 1;
    }
    for (auto item = items.rbegin(); item != items.rend(); ++item) {
        size_t first = item->first, last = item->second;
        bool simple = last == first + 1 && (IsIdentifier(tokens, first) || IsOperator(tokens, first, L"*"));
        plainColumns = plainColumns && simple;
        bool aggregate = (IsWord(tokens, first, L"SUM") || IsWord(tokens, first, L"MIN") || IsWord(tokens, first, L"MAX")) &&
                         IsOperator(tokens, first + 1, L"(");
        if (!aggregate)
            continue;
        size_t close = MatchParen(tokens, first + 1, last);
        size_t column = close - 1;
        bool oneColumn = close < last && IsIdentifier(tokens, column) &&
                         (column == first + 2 || (column == first + 4 && IsOperator(tokens, first + 3, L".")));
        if (!oneColumn)
            continue;
        std::wstring output = JetUpper(tokens[first].m_text) + L"(" + tokens[column].m_text + L")";
        if (close + 1 == last) {
            tokens.insert(tokens.begin() + static_cast<std::ptrdiff_t>(last),
                          {Raw(L"AS"), CToken{CToken::typeName, output, true}});
        } else if (IsWord(tokens, close + 1, L"AS") && close + 3 == last && IsIdentifier(tokens, close + 2)) {
            output = tokens[close + 2].m_text;
        } else {
            continue;
        }
        statement.m_aggregates.push_back(CJetAggregate{output, tokens[column].m_text});
    }
    if (plainColumns && !grouped && !joined && statement.m_fromTables.size() == 1) {
        statement.m_table = statement.m_fromTables.front();
        CTokens withRowid(tokens);
        withRowid.insert(withRowid.begin() + 1, Raw(L"_rowid_,"));
        statement.m_rowidSql = JetUtf8(Emit(withRowid, 0, withRowid.size()));
    }
}
} // namespace

CJetStatement JetTranslate(const std::wstring& jetSql)
{
    CJetStatement statement;
    CTokens tokens = Tokenize(jetSql);
    while (!tokens.empty() && IsOperator(tokens, tokens.size() - 1, L";"))
        tokens.pop_back();
    if (IsWord(tokens, 0, L"SELECT")) {
        statement.m_kind = CJetStatement::kindSelect;
        AnalyseSelect(tokens, statement);
    } else if (IsWord(tokens, 0, L"INSERT") || IsWord(tokens, 0, L"UPDATE") || IsWord(tokens, 0, L"DELETE")) {
        statement.m_kind = CJetStatement::kindChange;
    } else if (IsWord(tokens, 0, L"CREATE") || IsWord(tokens, 0, L"DROP") || IsWord(tokens, 0, L"ALTER")) {
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
                statement.m_sql = JetUtf8(Emit(tokens, 4, tokens.size()));
                if (IsIdentifier(tokens, 5) && IsWord(tokens, 6, L"FOREIGN") && IsWord(tokens, 7, L"KEY") &&
                    IsOperator(tokens, 8, L"(")) {
                    size_t end = std::min(MatchParen(tokens, 8, tokens.size()) + 1, tokens.size());
                    CTokens index{Raw(L"CREATE INDEX", false), tokens[5], Raw(L"ON"), tokens[2]};
                    index.insert(index.end(), tokens.begin() + 8, tokens.begin() + static_cast<std::ptrdiff_t>(end));
                    statement.m_indexSql = JetUtf8(Emit(index, 0, index.size()));
                }
                return statement;
            }
            RewriteType(tokens, IsWord(tokens, 4, L"COLUMN") ? 6 : 5);
        }
    }
    statement.m_sql = JetUtf8(Emit(tokens, 0, tokens.size()));
    return statement;
}
