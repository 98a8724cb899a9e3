// Evaluation of a parsed formula, with the spreadsheet's rules for mixing numbers, texts, truth values,
// empty cells and errors.
#include "GridFormula.h"

#include <algorithm>
#include <cmath>

namespace
{
// A value on the evaluation stack; a reference stays a range until an operator needs its value, so that
// functions such as SUM can skip the texts of a range.
struct COperand
{
    CGridValue m_value;
    bool m_bRange = false;
    CGridRange m_range;
};

CGridValue Deref(const COperand& op, const IGridCellSource& source)
{
    if (!op.m_bRange)
        return op.m_value;
    if (op.m_range.GetRowCount() == 1 && op.m_range.GetColCount() == 1)
        return source.GetCellValue(op.m_range.m_nRow1, op.m_range.m_nCol1);
    return CGridValue::Error(gridErrorValue);
}

// Number of a value; an error value when it has none.
CGridValue ToNumber(const CGridValue& v, const IGridCellSource& source)
{
    switch (v.GetType()) {
    case gridValueEmpty: return CGridValue::Number(0);
    case gridValueNumber: return v;
    case gridValueBool: return CGridValue::Number(v.GetNumber());
    case gridValueText: {
        double d;
        if (GridParseNumber(v.GetText(), source.GetSeparators(), d))
            return CGridValue::Number(d);
        return CGridValue::Error(gridErrorValue);
    }
    default: return v;
    }
}

CGridValue ToBool(const CGridValue& v)
{
    switch (v.GetType()) {
    case gridValueEmpty: return CGridValue::Bool(false);
    case gridValueNumber:
    case gridValueBool: return CGridValue::Bool(v.GetNumber() != 0);
    case gridValueText:
        if (v.GetText().CompareNoCase(L"TRUE") == 0)
            return CGridValue::Bool(true);
        if (v.GetText().CompareNoCase(L"FALSE") == 0)
            return CGridValue::Bool(false);
        return CGridValue::Error(gridErrorValue);
    default: return v;
    }
}

CGridValue ToText(const CGridValue& v, const IGridCellSource& source)
{
    switch (v.GetType()) {
    case gridValueEmpty: return CGridValue::Text(CString());
    case gridValueNumber: return CGridValue::Text(GridFormatGeneral(v.GetNumber(), source.GetSeparators()));
    case gridValueBool: return CGridValue::Text(v.GetBool() ? L"TRUE" : L"FALSE");
    default: return v;
    }
}

CGridValue Finite(double d)
{
    return std::isfinite(d) ? CGridValue::Number(d) : CGridValue::Error(gridErrorNum);
}

CGridValue Arithmetic(CGridFormula::TokenType nType, const CGridValue& a, const CGridValue& b,
                      const IGridCellSource& source)
{
    CGridValue x = ToNumber(a, source);
    if (x.IsError())
        return x;
    CGridValue y = ToNumber(b, source);
    if (y.IsError())
        return y;
    double l = x.GetNumber(), r = y.GetNumber();
    switch (nType) {
    case CGridFormula::tokAdd: return Finite(l + r);
    case CGridFormula::tokSub: return Finite(l - r);
    case CGridFormula::tokMul: return Finite(l * r);
    case CGridFormula::tokDiv: return r == 0 ? CGridValue::Error(gridErrorDiv0) : Finite(l / r);
    default: return l == 0 && r <= 0 ? CGridValue::Error(r == 0 ? gridErrorNum : gridErrorDiv0) : Finite(std::pow(l, r));
    }
}

// Order of two values: numbers before texts before truth values; texts ignore case; an empty cell counts
// as the empty value of the other side's kind.
CGridValue Compare(CGridFormula::TokenType nType, CGridValue a, CGridValue b)
{
    if (a.IsError())
        return a;
    if (b.IsError())
        return b;
    auto fillEmpty = [](CGridValue& v, const CGridValue& other) {
        if (v.IsEmpty())
            v = other.IsText() ? CGridValue::Text(CString()) : other.IsBool() ? CGridValue::Bool(false)
                                                                               : CGridValue::Number(0);
    };
    fillEmpty(a, b);
    fillEmpty(b, a);
    auto rank = [](const CGridValue& v) { return v.IsNumber() ? 0 : v.IsText() ? 1 : 2; };
    int nOrder = rank(a) - rank(b);
    if (nOrder == 0)
        nOrder = a.IsText() ? a.GetText().CompareNoCase(b.GetText())
                            : (a.GetNumber() < b.GetNumber() ? -1 : a.GetNumber() > b.GetNumber() ? 1 : 0);
    switch (nType) {
    case CGridFormula::tokEq: return CGridValue::Bool(nOrder == 0);
    case CGridFormula::tokNe: return CGridValue::Bool(nOrder != 0);
    case CGridFormula::tokLt: return CGridValue::Bool(nOrder < 0);
    case CGridFormula::tokGt: return CGridValue::Bool(nOrder > 0);
    case CGridFormula::tokLe: return CGridValue::Bool(nOrder <= 0);
    default: return CGridValue::Bool(nOrder >= 0);
    }
}

// The numbers of SUM, MIN and MAX: numbers of ranges (their texts and truth values skipped) and of the
// other arguments (converted). Answers an error value when one is met.
CGridValue CollectNumbers(const std::vector<COperand>& args, const IGridCellSource& source, std::vector<double>& numbers)
{
    CGridValue error;
    for (const COperand& arg : args) {
        if (arg.m_bRange) {
            source.ScanRange(arg.m_range, [&](const CGridValue& v) {
                if (v.IsError())
                    error = v;
                else if (v.IsNumber())
                    numbers.push_back(v.GetNumber());
                return !v.IsError();
            });
        } else {
            CGridValue v = ToNumber(arg.m_value, source);
            if (v.IsError())
                error = v;
            else
                numbers.push_back(v.GetNumber());
        }
        if (error.IsError())
            return error;
    }
    return CGridValue();
}

CGridValue CallFunction(const CGridFormula::CToken& tok, std::vector<COperand>& args, const IGridCellSource& source)
{
    switch (tok.m_nFunction) {
    case CGridFormula::fnSum:
    case CGridFormula::fnMin:
    case CGridFormula::fnMax: {
        std::vector<double> numbers;
        CGridValue error = CollectNumbers(args, source, numbers);
        if (error.IsError())
            return error;
        if (numbers.empty())
            return CGridValue::Number(0);
        double r = tok.m_nFunction == CGridFormula::fnSum ? 0 : numbers[0];
        for (double d : numbers)
            r = tok.m_nFunction == CGridFormula::fnSum ? r + d
                : tok.m_nFunction == CGridFormula::fnMin ? std::min(r, d) : std::max(r, d);
        return Finite(r);
    }
    case CGridFormula::fnIf: {
        CGridValue cond = ToBool(Deref(args[0], source));
        if (cond.IsError())
            return cond;
        if (cond.GetBool())
            return Deref(args[1], source);
        return args.size() > 2 ? Deref(args[2], source) : CGridValue::Bool(false);
    }
    case CGridFormula::fnAbs: {
        CGridValue v = ToNumber(Deref(args[0], source), source);
        return v.IsError() ? v : CGridValue::Number(std::fabs(v.GetNumber()));
    }
    case CGridFormula::fnRound: {
        CGridValue v = ToNumber(Deref(args[0], source), source);
        if (v.IsError())
            return v;
        CGridValue n = ToNumber(Deref(args[1], source), source);
        if (n.IsError())
            return n;
        double dDigits = std::trunc(std::max(-400.0, std::min(400.0, n.GetNumber())));
        return CGridValue::Number(GridRound(v.GetNumber(), static_cast<int>(dDigits)));
    }
    case CGridFormula::fnAnd:
    case CGridFormula::fnOr: {
        bool bAnd = tok.m_nFunction == CGridFormula::fnAnd;
        bool bAny = false, bResult = bAnd;
        CGridValue error;
        auto take = [&](const CGridValue& v) {
            if (v.IsError()) {
                error = v;
                return false;
            }
            bAny = true;
            bResult = bAnd ? bResult && v.GetBool() : bResult || v.GetBool();
            return true;
        };
        for (const COperand& arg : args) {
            if (arg.m_bRange)
                source.ScanRange(arg.m_range, [&](const CGridValue& v) {
                    return v.IsText() ? true : take(v);
                });
            else
                take(ToBool(arg.m_value));
            if (error.IsError())
                return error;
        }
        return bAny ? CGridValue::Bool(bResult) : CGridValue::Error(gridErrorValue);
    }
    case CGridFormula::fnNot: {
        CGridValue v = ToBool(Deref(args[0], source));
        return v.IsError() ? v : CGridValue::Bool(!v.GetBool());
    }
    default:
        return CGridValue::Error(gridErrorName);
    }
}
} // namespace

CGridValue CGridFormula::Evaluate(const IGridCellSource& source) const
{
    if (!m_bValid)
        return CGridValue::Error(gridErrorName);
    std::vector<COperand> stack;
    stack.reserve(m_tokens.size());
    auto popValue = [&]() {
        CGridValue v = Deref(stack.back(), source);
        stack.pop_back();
        return v;
    };
    auto push = [&](const CGridValue& v) {
        COperand op;
        op.m_value = v;
        stack.push_back(op);
    };
    for (const CToken& tok : m_tokens) {
        switch (tok.m_nType) {
        case tokNumber: push(CGridValue::Number(tok.m_dNumber)); break;
        case tokText: push(CGridValue::Text(tok.m_strText)); break;
        case tokBool: push(CGridValue::Bool(tok.m_dNumber != 0)); break;
        case tokError: push(CGridValue::Error(tok.m_nError)); break;
        case tokName: push(CGridValue::Error(gridErrorName)); break;
        case tokRef:
        case tokRange: {
            COperand op;
            op.m_bRange = true;
            op.m_range = CGridRange(tok.m_ref1.m_nRow, tok.m_ref1.m_nCol,
                                    tok.m_nType == tokRef ? tok.m_ref1.m_nRow : tok.m_ref2.m_nRow,
                                    tok.m_nType == tokRef ? tok.m_ref1.m_nCol : tok.m_ref2.m_nCol);
            stack.push_back(op);
            break;
        }
        case tokParen: break;
        case tokPlus: push(popValue()); break;
        case tokNeg:
        case tokPercent: {
            CGridValue v = ToNumber(popValue(), source);
            push(v.IsError() ? v : CGridValue::Number(tok.m_nType == tokNeg ? -v.GetNumber() : v.GetNumber() / 100));
            break;
        }
        case tokFunc: {
            std::vector<COperand> args(stack.end() - tok.m_nArgs, stack.end());
            stack.resize(stack.size() - static_cast<size_t>(tok.m_nArgs));
            push(CallFunction(tok, args, source));
            break;
        }
        case tokConcat: {
            CGridValue b = ToText(popValue(), source), a = ToText(popValue(), source);
            push(a.IsError() ? a : b.IsError() ? b : CGridValue::Text(a.GetText() + b.GetText()));
            break;
        }
        case tokAdd:
        case tokSub:
        case tokMul:
        case tokDiv:
        case tokPow: {
            CGridValue b = popValue(), a = popValue();
            push(Arithmetic(tok.m_nType, a, b, source));
            break;
        }
        default: {
            CGridValue b = popValue(), a = popValue();
            push(Compare(tok.m_nType, a, b));
            break;
        }
        }
    }
    CGridValue result = popValue();
    return result.IsEmpty() ? CGridValue::Number(0) : result;
}
