#include "GridCalc.h"

#include "GridSheet.h"

#include <algorithm>
#include <climits>
#include <deque>
#include <unordered_set>

void CGridCalc::AddFormula(UINT nKey, const CGridFormula& formula)
{
    std::vector<CGridRange>& refs = m_refs;
    refs.clear();
    formula.GetReferences(refs);
    for (const CGridRange& r : refs) {
        if (r.GetRowCount() == 1 && r.GetColCount() == 1)
            m_cellReaders[Key(r.m_nRow1, r.m_nCol1)].push_back(nKey);
        else
            m_rangeReaders.emplace_back(r, nKey);
    }
}

void CGridCalc::RemoveFormula(UINT nKey, const CGridFormula& formula)
{
    std::vector<CGridRange>& refs = m_refs;
    refs.clear();
    formula.GetReferences(refs);
    bool bRanges = false;
    for (const CGridRange& r : refs) {
        if (r.GetRowCount() == 1 && r.GetColCount() == 1) {
            auto it = m_cellReaders.find(Key(r.m_nRow1, r.m_nCol1));
            if (it == m_cellReaders.end())
                continue;
            auto& readers = it->second;
            readers.erase(std::remove(readers.begin(), readers.end(), nKey), readers.end());
            if (readers.empty())
                m_cellReaders.erase(it);
        } else
            bRanges = true;
    }
    if (bRanges)
        m_rangeReaders.erase(std::remove_if(m_rangeReaders.begin(), m_rangeReaders.end(),
                                            [nKey](const std::pair<CGridRange, UINT>& p) { return p.second == nKey; }),
                             m_rangeReaders.end());
}

void CGridCalc::Recalc(const std::vector<UINT>& changed)
{
    // Every formula reached from the changed cells through the readers.
    std::unordered_set<UINT> seen(changed.begin(), changed.end());
    std::deque<UINT> queue(changed.begin(), changed.end());
    std::vector<UINT> dirty;
    auto reach = [&](UINT nReader) {
        if (seen.insert(nReader).second)
            queue.push_back(nReader);
    };
    while (!queue.empty()) {
        UINT nKey = queue.front();
        queue.pop_front();
        const CGridCell* pCell = m_sheet.GetCell(KeyRow(nKey), KeyCol(nKey));
        if (pCell && pCell->GetFormula())
            dirty.push_back(nKey);
        auto it = m_cellReaders.find(nKey);
        if (it != m_cellReaders.end())
            for (UINT nReader : it->second)
                reach(nReader);
        for (const auto& p : m_rangeReaders)
            if (p.first.Contains(KeyRow(nKey), KeyCol(nKey)))
                reach(p.second);
    }
    Evaluate(dirty);
}

void CGridCalc::RebuildAll()
{
    m_cellReaders.clear();
    m_rangeReaders.clear();
    std::vector<UINT> all;
    m_sheet.ForEachFormula([&](int nRow, int nCol, CGridCell& cell) {
        UINT nKey = Key(nRow, nCol);
        AddFormula(nKey, *cell.GetFormula());
        all.push_back(nKey);
    });
    Evaluate(all);
}

// Orders the dirty formulas so that each comes after the dirty formulas it reads (Tarjan's strongly
// connected components, without recursion: chains of formulas can be long), and computes them in that
// order. A component of more than one formula, or a formula reading itself, is a circle.
void CGridCalc::Evaluate(const std::vector<UINT>& dirty)
{
    size_t n = dirty.size();
    if (n == 0)
        return;
    // The dirty formulas by key, for the look-ups below: a sorted list rather than a hash map, whose nodes a
    // book's thousand formulas would each allocate.
    std::vector<std::pair<UINT, int>> index;
    index.reserve(n);
    for (size_t i = 0; i < n; ++i)
        index.emplace_back(dirty[i], static_cast<int>(i));
    std::sort(index.begin(), index.end());
    auto find = [&index](UINT nKey) {
        auto it = std::lower_bound(index.begin(), index.end(), std::make_pair(nKey, INT_MIN));
        return it != index.end() && it->first == nKey ? it->second : -1;
    };

    // Edges: dirty formula -> the dirty formulas it reads; those of formula i are reads[firstRead[i]] up to
    // reads[firstRead[i + 1]].
    std::vector<int> reads;
    std::vector<size_t> firstRead(n + 1);
    std::vector<CGridRange>& refs = m_refs;
    for (size_t i = 0; i < n; ++i) {
        firstRead[i] = reads.size();
        refs.clear();
        m_sheet.GetCell(KeyRow(dirty[i]), KeyCol(dirty[i]))->GetFormula()->GetReferences(refs);
        for (const CGridRange& r : refs) {
            long long nArea = static_cast<long long>(r.GetRowCount()) * r.GetColCount();
            if (nArea <= static_cast<long long>(n)) {
                int nLastRow = std::min(r.m_nRow2, static_cast<int>(m_sheet.m_rows.size()));
                for (int row = r.m_nRow1; row <= nLastRow; ++row)
                    for (int col = r.m_nCol1; col <= r.m_nCol2; ++col) {
                        int nRead = find(Key(row, col));
                        if (nRead >= 0)
                            reads.push_back(nRead);
                    }
            } else {
                for (size_t j = 0; j < n; ++j)
                    if (r.Contains(KeyRow(dirty[j]), KeyCol(dirty[j])))
                        reads.push_back(static_cast<int>(j));
            }
        }
    }
    firstRead[n] = reads.size();

    std::vector<int> order(n, -1), low(n, 0);
    std::vector<bool> onStack(n, false);
    std::vector<int> stack;
    std::vector<std::pair<int, size_t>> calls;
    std::vector<int> component;
    int nCounter = 0;
    auto visit = [&](int v) {
        order[static_cast<size_t>(v)] = low[static_cast<size_t>(v)] = nCounter++;
        stack.push_back(v);
        onStack[static_cast<size_t>(v)] = true;
        calls.emplace_back(v, 0);
    };
    for (size_t s = 0; s < n; ++s) {
        if (order[s] >= 0)
            continue;
        visit(static_cast<int>(s));
        while (!calls.empty()) {
            size_t v = static_cast<size_t>(calls.back().first);
            size_t& next = calls.back().second;
            if (next < firstRead[v + 1] - firstRead[v]) {
                int w = reads[firstRead[v] + next++];
                if (order[static_cast<size_t>(w)] < 0)
                    visit(w);
                else if (onStack[static_cast<size_t>(w)])
                    low[v] = std::min(low[v], order[static_cast<size_t>(w)]);
                continue;
            }
            if (low[v] == order[v]) {
                component.clear();
                int w;
                do {
                    w = stack.back();
                    stack.pop_back();
                    onStack[static_cast<size_t>(w)] = false;
                    component.push_back(w);
                } while (static_cast<size_t>(w) != v);
                auto first = reads.begin() + static_cast<std::ptrdiff_t>(firstRead[v]);
                auto last = reads.begin() + static_cast<std::ptrdiff_t>(firstRead[v + 1]);
                bool bCircle = component.size() > 1 || std::find(first, last, static_cast<int>(v)) != last;
                for (int c : component) {
                    UINT nKey = dirty[static_cast<size_t>(c)];
                    CGridCell* pCell = m_sheet.FindCell(KeyRow(nKey), KeyCol(nKey));
                    pCell->SetValue(bCircle ? CGridValue::Error(gridErrorCircular)
                                            : pCell->GetFormula()->Evaluate(m_sheet));
                }
            }
            calls.pop_back();
            if (!calls.empty()) {
                size_t u = static_cast<size_t>(calls.back().first);
                low[u] = std::min(low[u], low[v]);
            }
        }
    }
}
