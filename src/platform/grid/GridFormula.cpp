#include "GridFormula.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <string>
#include <utility>

namespace
{
struct FunctionInfo
{
    LPCTSTR pszName;
    CGridFormula::Function nFunction;
    int nMinArgs;
    int nMaxArgs;
};

const FunctionInfo s_functions[] = {
    {L"SUM", CGridFormula::fnSum, 1, 255}, {L"IF", CGridFormula::fnIf, 2, 3},
    {L"ABS", CGridFormula::fnAbs, 1, 1},   {L"ROUND", CGridFormula::fnRound, 2, 2},
    {L"MIN", CGridFormula::fnMin, 1, 255}, {L"MAX", CGridFormula::fnMax, 1, 255},
    {L"AND", CGridFormula::fnAnd, 1, 255}, {L"OR", CGridFormula::fnOr, 1, 255},
    {L"NOT", CGridFormula::fnNot, 1, 1},
};

const FunctionInfo* FindFunction(const CString& strName)
{
    for (const FunctionInfo& f : s_functions)
        if (strName.CompareNoCase(f.pszName) == 0)
            return &f;
    return nullptr;
}

bool IsDigit(TCHAR ch) { return ch >= L'0' && ch <= L'9'; }
bool IsLetter(TCHAR ch) { return (ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z'); }
bool IsWordChar(TCHAR ch) { return IsLetter(ch) || IsDigit(ch) || ch == L'_' || ch == L'.' || ch == L'$'; }

// "$B$7", "B$7", "$B7" or "B7".
bool ParseRef(const CString& strWord, CGridRef& ref)
{
    LPCTSTR p = strWord;
    ref.m_bAbsCol = *p == L'$';
    if (ref.m_bAbsCol)
        ++p;
    CString strCol;
    while (IsLetter(*p))
        strCol += *p++;
    ref.m_bAbsRow = *p == L'$';
    if (ref.m_bAbsRow)
        ++p;
    int nRow, nCol;
    if (strCol.IsEmpty() || !IsDigit(*p) || !GridParseCellName(strCol + p, nRow, nCol))
        return false;
    ref.m_nRow = nRow;
    ref.m_nCol = nCol;
    return true;
}

CString RefText(const CGridRef& ref)
{
    CString s;
    s.Format(L"%s%s%s%d", ref.m_bAbsCol ? L"$" : L"", static_cast<LPCTSTR>(GridColumnName(ref.m_nCol)),
             ref.m_bAbsRow ? L"$" : L"", ref.m_nRow);
    return s;
}

CString NumberText(double d)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", d);
    if (std::strtod(buf, nullptr) != d)
        std::snprintf(buf, sizeof buf, "%.17g", d);
    CString s(buf);
    s.Replace(L'e', L'E');
    return s;
}

// Puts the corners of a range in order, each keeping its '$' marks.
void NormalizeRange(CGridRef& a, CGridRef& b)
{
    if (a.m_nRow > b.m_nRow) {
        std::swap(a.m_nRow, b.m_nRow);
        std::swap(a.m_bAbsRow, b.m_bAbsRow);
    }
    if (a.m_nCol > b.m_nCol) {
        std::swap(a.m_nCol, b.m_nCol);
        std::swap(a.m_bAbsCol, b.m_bAbsCol);
    }
}

void MakeRefError(CGridFormula::CToken& tok)
{
    tok.m_nType = CGridFormula::tokError;
    tok.m_nError = gridErrorRef;
}

LPCTSTR OperatorText(CGridFormula::TokenType nType)
{
    switch (nType) {
    case CGridFormula::tokAdd: return L"+";
    case CGridFormula::tokSub: return L"-";
    case CGridFormula::tokMul: return L"*";
    case CGridFormula::tokDiv: return L"/";
    case CGridFormula::tokPow: return L"^";
    case CGridFormula::tokConcat: return L"&";
    case CGridFormula::tokEq: return L"=";
    case CGridFormula::tokNe: return L"<>";
    case CGridFormula::tokLt: return L"<";
    case CGridFormula::tokGt: return L">";
    case CGridFormula::tokLe: return L"<=";
    case CGridFormula::tokGe: return L">=";
    default: return L"";
    }
}
} // namespace

// Recursive descent over the spreadsheet grammar; emits the tokens in evaluation order. Precedence from
// loosest to tightest: comparisons, '&', '+' '-', '*' '/', '^', '%', unary '-' '+', ':'.
class CGridFormulaParser
{
public:
    CGridFormulaParser(LPCTSTR pszText, std::vector<CGridFormula::CToken>& tokens) : m_p(pszText), m_tokens(tokens) {}

    bool Parse()
    {
        if (!ParseCompare())
            return false;
        SkipBlanks();
        return *m_p == 0;
    }
    bool IsTooDeep() const { return m_bTooDeep; }

private:
    using CToken = CGridFormula::CToken;

    void SkipBlanks()
    {
        while (*m_p == L' ' || *m_p == L'\t' || *m_p == L'\r' || *m_p == L'\n')
            ++m_p;
    }
    void Emit(CGridFormula::TokenType nType)
    {
        CToken tok;
        tok.m_nType = nType;
        m_tokens.push_back(tok);
    }
    // Takes the next operator if it is one of ops (listed longest first); false when it is none of them.
    bool MatchOperator(std::initializer_list<std::pair<LPCTSTR, CGridFormula::TokenType>> ops,
                       CGridFormula::TokenType& nType)
    {
        SkipBlanks();
        for (const auto& op : ops) {
            int n = static_cast<int>(wcslen(op.first));
            if (wcsncmp(m_p, op.first, static_cast<size_t>(n)) == 0) {
                nType = op.second;
                m_p += n;
                return true;
            }
        }
        return false;
    }
    bool ParseBinary(bool (CGridFormulaParser::*pfnOperand)(),
                     std::initializer_list<std::pair<LPCTSTR, CGridFormula::TokenType>> ops)
    {
        if (!(this->*pfnOperand)())
            return false;
        CGridFormula::TokenType nType;
        while (MatchOperator(ops, nType)) {
            if (!(this->*pfnOperand)())
                return false;
            Emit(nType);
        }
        return true;
    }
    bool ParseCompare()
    {
        using F = CGridFormula;
        return ParseBinary(&CGridFormulaParser::ParseConcat, {{L"<=", F::tokLe}, {L"<>", F::tokNe}, {L">=", F::tokGe},
                                                              {L"<", F::tokLt}, {L">", F::tokGt}, {L"=", F::tokEq}});
    }
    bool ParseConcat() { return ParseBinary(&CGridFormulaParser::ParseAdditive, {{L"&", CGridFormula::tokConcat}}); }
    bool ParseAdditive()
    {
        return ParseBinary(&CGridFormulaParser::ParseMultiplicative,
                           {{L"+", CGridFormula::tokAdd}, {L"-", CGridFormula::tokSub}});
    }
    bool ParseMultiplicative()
    {
        return ParseBinary(&CGridFormulaParser::ParsePower,
                           {{L"*", CGridFormula::tokMul}, {L"/", CGridFormula::tokDiv}});
    }
    bool ParsePower() { return ParseBinary(&CGridFormulaParser::ParsePercent, {{L"^", CGridFormula::tokPow}}); }
    bool ParsePercent()
    {
        if (!ParseUnary())
            return false;
        for (SkipBlanks(); *m_p == L'%'; SkipBlanks()) {
            ++m_p;
            Emit(CGridFormula::tokPercent);
        }
        return true;
    }
    // Every nesting (a sign, a bracket, a function's argument) passes here once more: the one place to bound
    // the depth of the recursion.
    bool ParseUnary()
    {
        if (m_nDepth >= kGridMaxFormulaDepth) {
            m_bTooDeep = true;
            return false;
        }
        ++m_nDepth;
        bool bRead = ParseSigned();
        --m_nDepth;
        return bRead;
    }
    bool ParseSigned()
    {
        SkipBlanks();
        if (*m_p == L'-' || *m_p == L'+') {
            CGridFormula::TokenType nType = *m_p++ == L'-' ? CGridFormula::tokNeg : CGridFormula::tokPlus;
            if (!ParseUnary())
                return false;
            Emit(nType);
            return true;
        }
        return ParsePrimary();
    }
    CString ReadWord()
    {
        CString strWord;
        while (IsWordChar(*m_p))
            strWord += *m_p++;
        return strWord;
    }
    bool ParsePrimary()
    {
        SkipBlanks();
        TCHAR ch = *m_p;
        if (ch == L'(') {
            ++m_p;
            if (!ParseCompare())
                return false;
            SkipBlanks();
            if (*m_p++ != L')')
                return false;
            Emit(CGridFormula::tokParen);
            return true;
        }
        if (ch == L'"')
            return ParseText();
        if (IsDigit(ch) || (ch == L'.' && IsDigit(m_p[1])))
            return ParseNumber();
        if (ch == L'#')
            return ParseError();
        if (IsLetter(ch) || ch == L'_' || ch == L'$')
            return ParseWord();
        return false;
    }
    bool ParseText()
    {
        CToken tok;
        tok.m_nType = CGridFormula::tokText;
        for (++m_p;; ++m_p) {
            if (*m_p == 0)
                return false;
            if (*m_p == L'"') {
                if (m_p[1] != L'"')
                    break;
                ++m_p;
            }
            tok.m_strText += *m_p;
        }
        ++m_p;
        m_tokens.push_back(tok);
        return true;
    }
    bool ParseNumber()
    {
        std::string ascii;
        while (IsDigit(*m_p))
            ascii += static_cast<char>(*m_p++);
        if (*m_p == L'.')
            for (ascii += static_cast<char>(*m_p++); IsDigit(*m_p);)
                ascii += static_cast<char>(*m_p++);
        if ((*m_p == L'E' || *m_p == L'e') &&
            (IsDigit(m_p[1]) || ((m_p[1] == L'+' || m_p[1] == L'-') && IsDigit(m_p[2])))) {
            ascii += 'e';
            ++m_p;
            if (*m_p == L'+' || *m_p == L'-')
                ascii += static_cast<char>(*m_p++);
            while (IsDigit(*m_p))
                ascii += static_cast<char>(*m_p++);
        }
        if (IsWordChar(*m_p))
            return false;
        CToken tok;
        tok.m_nType = CGridFormula::tokNumber;
        tok.m_dNumber = std::strtod(ascii.c_str(), nullptr);
        m_tokens.push_back(tok);
        return std::isfinite(tok.m_dNumber);
    }
    bool ParseError()
    {
        for (int n = gridErrorDiv0; n <= gridErrorCircular; ++n) {
            CString strError = GridErrorText(static_cast<GridError>(n));
            if (CString(m_p).Left(strError.GetLength()).CompareNoCase(strError) == 0) {
                m_p += strError.GetLength();
                CToken tok;
                tok.m_nType = CGridFormula::tokError;
                tok.m_nError = static_cast<GridError>(n);
                m_tokens.push_back(tok);
                return true;
            }
        }
        return false;
    }
    bool ParseWord()
    {
        CString strWord = ReadWord();
        CToken tok;
        if (*m_p == L'(')
            return ParseFunction(strWord);
        if (ParseRef(strWord, tok.m_ref1)) {
            tok.m_nType = CGridFormula::tokRef;
            if (*m_p == L':') {
                ++m_p;
                if (!ParseRef(ReadWord(), tok.m_ref2))
                    return false;
                tok.m_nType = CGridFormula::tokRange;
                NormalizeRange(tok.m_ref1, tok.m_ref2);
            }
        } else if (strWord.CompareNoCase(L"TRUE") == 0 || strWord.CompareNoCase(L"FALSE") == 0) {
            tok.m_nType = CGridFormula::tokBool;
            tok.m_dNumber = strWord.CompareNoCase(L"TRUE") == 0 ? 1 : 0;
        } else if (strWord.Find(L'$') < 0) {
            tok.m_nType = CGridFormula::tokName;   // names are not defined in this grid: #NAME?
            tok.m_strText = strWord;
        } else
            return false;
        m_tokens.push_back(tok);
        return true;
    }
    bool ParseFunction(CString strName)
    {
        if (strName.Find(L'$') >= 0)
            return false;
        ++m_p;   // '('
        int nArgs = 0;
        SkipBlanks();
        if (*m_p != L')') {
            for (;; ++m_p) {
                if (!ParseCompare())
                    return false;
                ++nArgs;
                SkipBlanks();
                if (*m_p != L',')
                    break;
            }
        }
        if (*m_p++ != L')')
            return false;
        const FunctionInfo* pInfo = FindFunction(strName);
        if (pInfo && (nArgs < pInfo->nMinArgs || nArgs > pInfo->nMaxArgs))
            return false;
        CToken tok;
        tok.m_nType = CGridFormula::tokFunc;
        tok.m_nFunction = pInfo ? pInfo->nFunction : CGridFormula::fnUnknown;
        tok.m_nArgs = nArgs;
        tok.m_strText = strName.MakeUpper();
        m_tokens.push_back(tok);
        return true;
    }

    LPCTSTR m_p;
    std::vector<CToken>& m_tokens;
    int m_nDepth = 0;
    bool m_bTooDeep = false;
};

CGridFormula::CGridFormula(LPCTSTR pszText)
{
    // The text is read where it stands, and the tokens get room for a token every two characters at once:
    // a book being read makes a thousand formulas.
    LPCTSTR pszFormula = pszText;
    while (std::iswspace(*pszFormula))
        ++pszFormula;
    if (*pszFormula == L'=')
        ++pszFormula;
    size_t nLength = std::wcslen(pszFormula);
    if (nLength > static_cast<size_t>(kGridMaxFormulaLength)) {
        m_bTooComplex = true;
        return;
    }
    m_tokens.reserve(nLength / 2 + 1);
    CGridFormulaParser parser(pszFormula, m_tokens);
    m_bValid = parser.Parse();
    m_bTooComplex = parser.IsTooDeep();
    if (!m_bValid) {
        m_tokens.clear();
        m_strSource = pszFormula;
    }
}

// The tokens stand in evaluation order, so the text is the expression tree walked in order: each token writes
// a prefix, its operands with separators between them, and a suffix. The tree is walked with a stack of our
// own and the text written once, so that a long formula costs time in proportion to its length.
CString CGridFormula::GetText() const
{
    if (!m_bValid)
        return L"=" + m_strSource;
    // The operands of each token: the roots of the subtrees just before it.
    std::vector<size_t> firstChild(m_tokens.size()), children, roots;
    children.reserve(m_tokens.size());
    for (size_t i = 0; i < m_tokens.size(); ++i) {
        const CToken& tok = m_tokens[i];
        size_t nArgs = 0;
        switch (tok.m_nType) {
        case tokNumber: case tokText: case tokBool: case tokError: case tokRef: case tokRange: case tokName: break;
        case tokNeg: case tokPlus: case tokPercent: case tokParen: nArgs = 1; break;
        case tokFunc: nArgs = static_cast<size_t>(tok.m_nArgs); break;
        default: nArgs = 2; break;
        }
        firstChild[i] = children.size();
        children.insert(children.end(), roots.end() - static_cast<std::ptrdiff_t>(nArgs), roots.end());
        roots.resize(roots.size() - nArgs);
        roots.push_back(i);
    }
    auto childCount = [&](size_t i) {
        return (i + 1 < m_tokens.size() ? firstChild[i + 1] : children.size()) - firstChild[i];
    };

    std::wstring text = L"=";
    auto write = [&text](const CString& s) { text.append(static_cast<LPCTSTR>(s), static_cast<size_t>(s.GetLength())); };
    struct CStep
    {
        size_t nToken;
        size_t nNext;   // the next operand to write
    };
    std::vector<CStep> steps{{roots.back(), 0}};
    while (!steps.empty()) {
        CStep& step = steps.back();
        const CToken& tok = m_tokens[step.nToken];
        size_t nChildren = childCount(step.nToken);
        if (step.nNext == 0) {
            switch (tok.m_nType) {
            case tokNumber: write(NumberText(tok.m_dNumber)); break;
            case tokText: {
                CString s = tok.m_strText;
                s.Replace(L"\"", L"\"\"");
                write(L"\"" + s + L"\"");
                break;
            }
            case tokBool: write(tok.m_dNumber != 0 ? L"TRUE" : L"FALSE"); break;
            case tokError: write(GridErrorText(tok.m_nError)); break;
            case tokRef: write(RefText(tok.m_ref1)); break;
            case tokRange: write(RefText(tok.m_ref1) + L":" + RefText(tok.m_ref2)); break;
            case tokName: write(tok.m_strText); break;
            case tokNeg: write(L"-"); break;
            case tokPlus: write(L"+"); break;
            case tokParen: write(L"("); break;
            case tokFunc: write(tok.m_strText + L"("); break;
            default: break;
            }
        } else if (step.nNext < nChildren)
            write(tok.m_nType == tokFunc ? L"," : OperatorText(tok.m_nType));
        if (step.nNext < nChildren) {
            size_t nChild = children[firstChild[step.nToken] + step.nNext++];
            steps.push_back({nChild, 0});   // step is not used after this
            continue;
        }
        switch (tok.m_nType) {
        case tokPercent: write(L"%"); break;
        case tokParen: case tokFunc: write(L")"); break;
        default: break;
        }
        steps.pop_back();
    }
    return CString(text);
}

void CGridFormula::GetReferences(std::vector<CGridRange>& ranges) const
{
    for (const CToken& tok : m_tokens) {
        if (tok.m_nType == tokRef)
            ranges.emplace_back(tok.m_ref1.m_nRow, tok.m_ref1.m_nCol, tok.m_ref1.m_nRow, tok.m_ref1.m_nCol);
        else if (tok.m_nType == tokRange)
            ranges.emplace_back(tok.m_ref1.m_nRow, tok.m_ref1.m_nCol, tok.m_ref2.m_nRow, tok.m_ref2.m_nCol);
    }
}

bool CGridFormula::AdjustForInsertedRows(int nRow, int nCount)
{
    bool bChanged = false;
    for (CToken& tok : m_tokens) {
        if (tok.m_nType == tokRef && tok.m_ref1.m_nRow >= nRow) {
            tok.m_ref1.m_nRow += nCount;
            bChanged = true;
        } else if (tok.m_nType == tokRange && tok.m_ref2.m_nRow >= nRow) {
            // A range that starts below the insertion moves; one that spans it grows.
            if (tok.m_ref1.m_nRow >= nRow)
                tok.m_ref1.m_nRow += nCount;
            tok.m_ref2.m_nRow += nCount;
            bChanged = true;
        } else
            continue;
        if (tok.m_ref1.m_nRow > kGridMaxRows || (tok.m_nType == tokRange && tok.m_ref2.m_nRow > kGridMaxRows))
            MakeRefError(tok);
    }
    return bChanged;
}

bool CGridFormula::AdjustForDeletedRows(int nRow, int nCount)
{
    int nLast = nRow + nCount - 1;
    bool bChanged = false;
    for (CToken& tok : m_tokens) {
        if (tok.m_nType == tokRef) {
            int& r = tok.m_ref1.m_nRow;
            if (r < nRow)
                continue;
            if (r <= nLast)
                MakeRefError(tok);
            else
                r -= nCount;
            bChanged = true;
        } else if (tok.m_nType == tokRange) {
            int r1 = tok.m_ref1.m_nRow, r2 = tok.m_ref2.m_nRow;
            if (r2 < nRow)
                continue;
            // What is left of the range once the deleted rows are gone.
            int n1 = r1 < nRow ? r1 : (r1 > nLast ? r1 - nCount : nRow);
            int n2 = r2 > nLast ? r2 - nCount : nRow - 1;
            if (n1 > n2)
                MakeRefError(tok);
            else {
                tok.m_ref1.m_nRow = n1;
                tok.m_ref2.m_nRow = n2;
            }
            bChanged = true;
        }
    }
    return bChanged;
}

void CGridFormula::Offset(int nRows, int nCols)
{
    auto move = [nRows, nCols](CGridRef& ref) {
        if (!ref.m_bAbsRow)
            ref.m_nRow += nRows;
        if (!ref.m_bAbsCol)
            ref.m_nCol += nCols;
        return GridIsValidCell(ref.m_nRow, ref.m_nCol);
    };
    for (CToken& tok : m_tokens) {
        if (tok.m_nType == tokRef) {
            if (!move(tok.m_ref1))
                MakeRefError(tok);
        } else if (tok.m_nType == tokRange) {
            bool bInside = move(tok.m_ref1);
            if (!move(tok.m_ref2) || !bInside)
                MakeRefError(tok);
            else
                NormalizeRange(tok.m_ref1, tok.m_ref2);
        }
    }
}
