#include "Deflate.h"

#include <algorithm>
#include <cstring>
#include <queue>

namespace {

const unsigned WSIZE = 32768;
const unsigned WMASK = WSIZE - 1;
const unsigned HASH_SIZE = 1 << 15;
const unsigned HASH_MASK = HASH_SIZE - 1;
const unsigned HASH_SHIFT = 5;          // three shifts push a byte out of the 15 bits
const unsigned MIN_MATCH = 3;
const unsigned MAX_MATCH = 258;
const unsigned MIN_LOOKAHEAD = MAX_MATCH + MIN_MATCH + 1;
const unsigned MAX_DIST = WSIZE - MIN_LOOKAHEAD;
const unsigned TOO_FAR = 4096;          // a 3-byte match further back costs more than its literals
const size_t LIT_BUFSIZE = 16384;
const size_t OUTPUT_SIZE = 16384;

const int LITERALS = 256;
const int END_BLOCK = 256;
const int L_CODES = 286;
const int D_CODES = 30;
const int BL_CODES = 19;
const int MAX_BITS = 15;
const int MAX_BL_BITS = 7;
const int REP_3_6 = 16;
const int REPZ_3_10 = 17;
const int REPZ_11_138 = 18;

const unsigned STORED_BLOCK = 0;
const unsigned STATIC_TREES = 1;
const unsigned DYN_TREES = 2;

const uint8_t EXTRA_LBITS[29] = { 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0 };
const uint8_t EXTRA_DBITS[D_CODES] = { 0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6,
                                       7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13 };
const uint8_t EXTRA_BLBITS[BL_CODES] = { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 3, 7 };
const uint8_t BL_ORDER[BL_CODES] = { 16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15 };

// The published parameters of the levels: good length, maximum lazy length, nice length, maximum chain.
struct LevelParameters
{
    unsigned good, lazy, nice, chain;
};
const LevelParameters LEVELS[10] = {
    { 0, 0, 0, 0 },         { 4, 4, 8, 4 },       { 4, 5, 16, 8 },      { 4, 6, 32, 32 },     { 4, 4, 16, 16 },
    { 8, 16, 32, 32 },      { 8, 16, 128, 128 },  { 8, 32, 128, 256 },  { 32, 128, 258, 1024 },
    { 32, 258, 258, 4096 },
};

unsigned ReverseBits(unsigned code, unsigned nLength)
{
    unsigned result = 0;
    for (unsigned i = 0; i < nLength; ++i, code >>= 1)
        result = (result << 1) | (code & 1);
    return result;
}

// Length and distance codes, and the static trees, worked out once.
struct CodeTables
{
    uint8_t lengthCode[256];        // match length - 3 → length code
    uint8_t distCode[WSIZE];        // distance - 1 → distance code
    uint16_t baseLength[29];
    uint16_t baseDist[D_CODES];
    uint8_t staticLitLength[288];
    uint8_t staticDistLength[D_CODES];

    CodeTables()
    {
        unsigned nLength = 0;
        for (int code = 0; code < 28; ++code) {
            baseLength[code] = static_cast<uint16_t>(nLength);
            for (unsigned n = 0; n < (1u << EXTRA_LBITS[code]); ++n)
                lengthCode[nLength++] = static_cast<uint8_t>(code);
        }
        // 258 has a code of its own, though 284 could reach it.
        baseLength[28] = 255;
        lengthCode[255] = 28;
        unsigned nDist = 0;
        for (int code = 0; code < D_CODES; ++code) {
            baseDist[code] = static_cast<uint16_t>(nDist);
            for (unsigned n = 0; n < (1u << EXTRA_DBITS[code]); ++n)
                distCode[nDist++] = static_cast<uint8_t>(code);
        }
        for (int n = 0; n < 288; ++n)
            staticLitLength[n] = n < 144 ? 8 : n < 256 ? 9 : n < 280 ? 7 : 8;
        std::fill(std::begin(staticDistLength), std::end(staticDistLength), 5);
    }
};

const CodeTables& Tables()
{
    static const CodeTables tables;
    return tables;
}

// Huffman code lengths of at most nMaxBits for the frequencies. At least two symbols get a code, so that every
// tree is complete.
void BuildLengths(const unsigned* pFreq, int nSymbols, int nMaxBits, uint8_t* pLengths)
{
    std::fill(pLengths, pLengths + nSymbols, 0);
    std::vector<int> used;
    for (int n = 0; n < nSymbols; ++n) {
        if (pFreq[n])
            used.push_back(n);
    }
    for (int n = 0; used.size() < 2; ++n) {
        if (!pFreq[n])
            used.insert(std::upper_bound(used.begin(), used.end(), n), n);
    }
    // The tree: leaves first, then the inner nodes in the order they are made; ties go to the shallower node.
    struct Node
    {
        unsigned long long freq;
        int depth;
        int index;
        bool operator>(const Node& other) const
        {
            return freq != other.freq ? freq > other.freq : depth != other.depth ? depth > other.depth
                                                                                 : index > other.index;
        }
    };
    std::priority_queue<Node, std::vector<Node>, std::greater<Node>> heap;
    std::vector<int> parent(used.size() * 2, -1);
    for (size_t i = 0; i < used.size(); ++i)
        heap.push({ std::max(pFreq[used[i]], 1u) * 1ULL, 0, static_cast<int>(i) });
    int nNext = static_cast<int>(used.size());
    while (heap.size() > 1) {
        Node a = heap.top();
        heap.pop();
        Node b = heap.top();
        heap.pop();
        parent[a.index] = parent[b.index] = nNext;
        heap.push({ a.freq + b.freq, std::max(a.depth, b.depth) + 1, nNext++ });
    }
    std::vector<int> depth(nNext, 0);
    for (int node = nNext - 2; node >= 0; --node)
        depth[node] = depth[parent[node]] + 1;

    // Code lengths longer than allowed are shortened by moving leaves up, keeping the code complete.
    std::vector<int> count(std::max(nMaxBits, *std::max_element(depth.begin(), depth.begin() + used.size())) + 1, 0);
    for (size_t i = 0; i < used.size(); ++i)
        ++count[depth[i]];
    for (size_t bits = nMaxBits + 1; bits < count.size(); ++bits) {
        count[nMaxBits] += count[bits];
        count[bits] = 0;
    }
    unsigned long long total = 0;
    for (int bits = nMaxBits; bits > 0; --bits)
        total += static_cast<unsigned long long>(count[bits]) << (nMaxBits - bits);
    while (total > (1ULL << nMaxBits)) {
        --count[nMaxBits];
        for (int bits = nMaxBits - 1; bits > 0; --bits) {
            if (count[bits]) {
                --count[bits];
                count[bits + 1] += 2;
                break;
            }
        }
        --total;
    }
    // The most frequent symbols take the shortest codes.
    std::vector<int> order(used);
    std::stable_sort(order.begin(), order.end(), [pFreq](int a, int b) { return pFreq[a] > pFreq[b]; });
    size_t nAssigned = 0;
    for (int bits = 1; bits <= nMaxBits; ++bits) {
        for (int k = 0; k < count[bits]; ++k)
            pLengths[order[nAssigned++]] = static_cast<uint8_t>(bits);
    }
}

// Canonical codes of the lengths, bit-reversed for sending.
template <typename CodeT> void MakeCodes(const uint8_t* pLengths, int nSymbols, CodeT* pCodes)
{
    unsigned blCount[MAX_BITS + 1] = {};
    for (int n = 0; n < nSymbols; ++n)
        ++blCount[pLengths[n]];
    blCount[0] = 0;
    unsigned nextCode[MAX_BITS + 1] = {};
    unsigned code = 0;
    for (int bits = 1; bits <= MAX_BITS; ++bits) {
        code = (code + blCount[bits - 1]) << 1;
        nextCode[bits] = code;
    }
    for (int n = 0; n < nSymbols; ++n) {
        unsigned nLength = pLengths[n];
        pCodes[n].code = static_cast<uint16_t>(nLength ? ReverseBits(nextCode[nLength]++, nLength) : 0);
        pCodes[n].length = static_cast<uint8_t>(nLength);
    }
}

struct LengthRun
{
    uint8_t symbol;     // a length 0..15, or REP_3_6, REPZ_3_10, REPZ_11_138
    uint8_t extra;      // the repeat count's extra bits
};

// The run-length form of a tree's code lengths, as the block header carries it.
void AppendLengthRuns(const uint8_t* pLengths, int nCodes, std::vector<LengthRun>& runs)
{
    int nPrevLength = -1;
    int nNextLength = pLengths[0];
    int nCount = 0;
    int nMaxCount = nNextLength == 0 ? 138 : 7;
    int nMinCount = nNextLength == 0 ? 3 : 4;
    for (int n = 0; n < nCodes; ++n) {
        int nCurLength = nNextLength;
        nNextLength = n + 1 < nCodes ? pLengths[n + 1] : -1;
        if (++nCount < nMaxCount && nCurLength == nNextLength)
            continue;
        if (nCount < nMinCount) {
            for (int k = 0; k < nCount; ++k)
                runs.push_back({ static_cast<uint8_t>(nCurLength), 0 });
        }
        else if (nCurLength != 0) {
            if (nCurLength != nPrevLength) {
                runs.push_back({ static_cast<uint8_t>(nCurLength), 0 });
                --nCount;
            }
            runs.push_back({ REP_3_6, static_cast<uint8_t>(nCount - 3) });
        }
        else if (nCount <= 10) {
            runs.push_back({ REPZ_3_10, static_cast<uint8_t>(nCount - 3) });
        }
        else {
            runs.push_back({ REPZ_11_138, static_cast<uint8_t>(nCount - 11) });
        }
        nCount = 0;
        nPrevLength = nCurLength;
        if (nNextLength == 0) {
            nMaxCount = 138;
            nMinCount = 3;
        }
        else if (nCurLength == nNextLength) {
            nMaxCount = 6;
            nMinCount = 3;
        }
        else {
            nMaxCount = 7;
            nMinCount = 4;
        }
    }
}

// Number of codes up to the last one with a length, at least the minimum.
int CountCodes(const uint8_t* pLengths, int nSymbols, int nMinimum)
{
    int nCodes = nSymbols;
    while (nCodes > nMinimum && pLengths[nCodes - 1] == 0)
        --nCodes;
    return nCodes;
}

} // namespace

struct CDeflater::Tree
{
    uint8_t length[288] = {};
    Code codes[288] = {};
};

CDeflater::CDeflater(int nLevel)
    : m_nLevel(nLevel)
{
    const LevelParameters& parameters = LEVELS[nLevel >= 1 && nLevel <= 8 ? nLevel : 8];
    m_nGoodLength = parameters.good;
    m_nMaxLazy = parameters.lazy;
    m_nNiceLength = parameters.nice;
    m_nMaxChain = parameters.chain;
}

WORD CDeflater::GetZipFlags() const
{
    return m_nLevel <= 2 ? 4 : m_nLevel >= 8 ? 2 : 0;
}

void CDeflater::Check(bool bHolds, const char* pszText)
{
    if (!bHolds && !m_pszError)
        m_pszError = pszText;
}

void CDeflater::Reset()
{
    m_window.assign(2 * WSIZE, 0);
    m_prev.assign(WSIZE, 0);
    m_head.assign(HASH_SIZE, 0);
    m_distances.assign(LIT_BUFSIZE, 0);
    m_literals.assign(LIT_BUFSIZE, 0);
    m_output.assign(OUTPUT_SIZE, 0);
    m_nInsHash = m_nStrStart = m_nLookahead = m_nMatchStart = 0;
    m_nPrevLength = MIN_MATCH - 1;
    m_nBlockStart = 0;
    m_bEndOfInput = false;
    m_nSymbols = 0;
    std::fill(std::begin(m_litFreq), std::end(m_litFreq), 0);
    std::fill(std::begin(m_distFreq), std::end(m_distFreq), 0);
    m_nOutput = 0;
    m_bitBuffer = 0;
    m_nBits = 0;
    m_nCompressed = 0;
    m_nBitsSent = 0;
    m_bWriteFailed = false;
    m_pszError = nullptr;
}

bool CDeflater::Compress(const ReadFunction& read, const WriteFunction& write)
{
    Reset();
    Check(m_nLevel >= 1 && m_nLevel <= 8, "bad pack level");
    m_write = write;
    unsigned nMatchLength = MIN_MATCH - 1;
    unsigned nPrevMatch = 0;
    bool bMatchAvailable = false;
    while (!m_pszError && !m_bWriteFailed) {
        if (m_nLookahead < MIN_LOOKAHEAD) {
            FillWindow(read);
            if (m_nLookahead == 0)
                break;
        }
        unsigned nHashHead = 0;
        if (m_nLookahead >= MIN_MATCH)
            InsertString(m_nStrStart, nHashHead);

        // The match found at the previous byte is held back while this byte may start a longer one.
        m_nPrevLength = nMatchLength;
        nPrevMatch = m_nMatchStart;
        nMatchLength = MIN_MATCH - 1;
        if (nHashHead != 0 && m_nPrevLength < m_nMaxLazy && m_nStrStart - nHashHead <= MAX_DIST) {
            nMatchLength = LongestMatch(nHashHead);
            if (nMatchLength == MIN_MATCH && m_nStrStart - m_nMatchStart > TOO_FAR)
                nMatchLength = MIN_MATCH - 1;
        }
        if (m_nPrevLength >= MIN_MATCH && nMatchLength <= m_nPrevLength) {
            unsigned nMaxInsert = m_nStrStart + m_nLookahead - MIN_MATCH;
            bool bFlush = TallyMatch(m_nStrStart - 1 - nPrevMatch, m_nPrevLength - MIN_MATCH);
            // The strings inside the match go into the hash chains too.
            m_nLookahead -= m_nPrevLength - 1;
            m_nPrevLength -= 2;
            do {
                if (++m_nStrStart <= nMaxInsert)
                    InsertString(m_nStrStart, nHashHead);
            } while (--m_nPrevLength != 0);
            bMatchAvailable = false;
            nMatchLength = MIN_MATCH - 1;
            ++m_nStrStart;
            if (bFlush)
                FlushBlock(false);
        }
        else if (bMatchAvailable) {
            if (TallyLiteral(m_window[m_nStrStart - 1]))
                FlushBlock(false);
            ++m_nStrStart;
            --m_nLookahead;
        }
        else {
            bMatchAvailable = true;
            ++m_nStrStart;
            --m_nLookahead;
        }
    }
    if (m_pszError || m_bWriteFailed)
        return false;
    if (bMatchAvailable)
        TallyLiteral(m_window[m_nStrStart - 1]);
    FlushBlock(true);
    FlushOutput();
    return !m_pszError && !m_bWriteFailed;
}

void CDeflater::FillWindow(const ReadFunction& read)
{
    do {
        unsigned nMore = 2 * WSIZE - m_nLookahead - m_nStrStart;
        // The upper half moves down once the current string nears the end of the buffer.
        if (m_nStrStart >= WSIZE + MAX_DIST) {
            memcpy(m_window.data(), m_window.data() + WSIZE, WSIZE);
            m_nMatchStart -= WSIZE;
            m_nStrStart -= WSIZE;
            m_nBlockStart -= WSIZE;
            for (uint16_t& head : m_head)
                head = static_cast<uint16_t>(head >= WSIZE ? head - WSIZE : 0);
            for (uint16_t& prev : m_prev)
                prev = static_cast<uint16_t>(prev >= WSIZE ? prev - WSIZE : 0);
            nMore += WSIZE;
        }
        if (m_bEndOfInput)
            return;
        Check(nMore >= 2, "more < 2");
        size_t nRead = read(m_window.data() + m_nStrStart + m_nLookahead, nMore);
        if (nRead == 0)
            m_bEndOfInput = true;
        m_nLookahead += static_cast<unsigned>(nRead);
        if (m_nLookahead >= MIN_MATCH)
            m_nInsHash = ((m_window[m_nStrStart] << HASH_SHIFT) ^ m_window[m_nStrStart + 1]) & HASH_MASK;
    } while (m_nLookahead < MIN_LOOKAHEAD && !m_bEndOfInput);
}

void CDeflater::InsertString(unsigned nPos, unsigned& nHashHead)
{
    m_nInsHash = ((m_nInsHash << HASH_SHIFT) ^ m_window[nPos + MIN_MATCH - 1]) & HASH_MASK;
    nHashHead = m_head[m_nInsHash];
    m_prev[nPos & WMASK] = static_cast<uint16_t>(nHashHead);
    m_head[m_nInsHash] = static_cast<uint16_t>(nPos);
}

unsigned CDeflater::LongestMatch(unsigned nCurMatch)
{
    unsigned nChain = m_nMaxChain;
    const BYTE* pScan = m_window.data() + m_nStrStart;
    unsigned nBest = m_nPrevLength;
    unsigned nNice = std::min(m_nNiceLength, m_nLookahead);
    unsigned nLimit = m_nStrStart > MAX_DIST ? m_nStrStart - MAX_DIST : 0;
    if (m_nPrevLength >= m_nGoodLength)
        nChain >>= 2;
    Check(m_nStrStart <= 2 * WSIZE - MIN_LOOKAHEAD, "insufficient lookahead");
    BYTE end1 = pScan[nBest - 1];
    BYTE end = pScan[nBest];
    do {
        Check(nCurMatch < m_nStrStart, "no future");
        const BYTE* pMatch = m_window.data() + nCurMatch;
        if (pMatch[nBest] != end || pMatch[nBest - 1] != end1 || pMatch[0] != pScan[0] || pMatch[1] != pScan[1])
            continue;
        unsigned nLength = 2;
        while (nLength < MAX_MATCH && pScan[nLength] == pMatch[nLength])
            ++nLength;
        if (nLength > nBest) {
            m_nMatchStart = nCurMatch;
            nBest = nLength;
            if (nLength >= nNice)
                break;
            end1 = pScan[nBest - 1];
            end = pScan[nBest];
        }
    } while ((nCurMatch = m_prev[nCurMatch & WMASK]) > nLimit && --nChain != 0);
    return std::min(nBest, m_nLookahead);
}

bool CDeflater::TallyLiteral(unsigned nLiteral)
{
    m_distances[m_nSymbols] = 0;
    m_literals[m_nSymbols] = static_cast<BYTE>(nLiteral);
    ++m_litFreq[nLiteral];
    return ++m_nSymbols == LIT_BUFSIZE - 1;
}

bool CDeflater::TallyMatch(unsigned nDistance, unsigned nLengthMinus3)
{
    Check(nDistance >= 1 && nDistance <= MAX_DIST && nLengthMinus3 <= MAX_MATCH - MIN_MATCH, "ct_tally: bad match");
    const CodeTables& tables = Tables();
    m_distances[m_nSymbols] = static_cast<uint16_t>(nDistance);
    m_literals[m_nSymbols] = static_cast<BYTE>(nLengthMinus3);
    ++m_litFreq[tables.lengthCode[nLengthMinus3 & 0xFF] + LITERALS + 1];
    ++m_distFreq[tables.distCode[(nDistance - 1) & WMASK]];
    return ++m_nSymbols == LIT_BUFSIZE - 1;
}

void CDeflater::FlushBlock(bool bLast)
{
    const CodeTables& tables = Tables();
    m_litFreq[END_BLOCK] = 1;

    // The sizes in bits of the block's data with the dynamic trees and with the static ones.
    Tree lit, dist, lengths;
    BuildLengths(m_litFreq, L_CODES, MAX_BITS, lit.length);
    BuildLengths(m_distFreq, D_CODES, MAX_BITS, dist.length);
    unsigned long long nDynamic = 0, nStatic = 0;
    for (int n = 0; n < L_CODES; ++n) {
        unsigned nExtra = n > LITERALS ? EXTRA_LBITS[n - LITERALS - 1] : 0;
        nDynamic += static_cast<unsigned long long>(m_litFreq[n]) * (lit.length[n] + nExtra);
        nStatic += static_cast<unsigned long long>(m_litFreq[n]) * (tables.staticLitLength[n] + nExtra);
    }
    for (int n = 0; n < D_CODES; ++n) {
        nDynamic += static_cast<unsigned long long>(m_distFreq[n]) * (dist.length[n] + EXTRA_DBITS[n]);
        nStatic += static_cast<unsigned long long>(m_distFreq[n]) * (tables.staticDistLength[n] + EXTRA_DBITS[n]);
    }
    int nLitCodes = CountCodes(lit.length, L_CODES, 257);
    int nDistCodes = CountCodes(dist.length, D_CODES, 1);
    std::vector<LengthRun> runs;
    AppendLengthRuns(lit.length, nLitCodes, runs);
    AppendLengthRuns(dist.length, nDistCodes, runs);
    unsigned blFreq[BL_CODES] = {};
    for (const LengthRun& run : runs)
        ++blFreq[run.symbol];
    BuildLengths(blFreq, BL_CODES, MAX_BL_BITS, lengths.length);
    uint8_t blInOrder[BL_CODES];
    for (int rank = 0; rank < BL_CODES; ++rank)
        blInOrder[rank] = lengths.length[BL_ORDER[rank]];
    int nBlCodes = CountCodes(blInOrder, BL_CODES, 4);
    nDynamic += 5 + 5 + 4 + 3 * nBlCodes;
    for (int n = 0; n < BL_CODES; ++n)
        nDynamic += static_cast<unsigned long long>(blFreq[n]) * (lengths.length[n] + EXTRA_BLBITS[n]);

    unsigned long long nOptBytes = (nDynamic + 3 + 7) >> 3;
    unsigned long long nStaticBytes = (nStatic + 3 + 7) >> 3;
    nOptBytes = std::min(nOptBytes, nStaticBytes);
    unsigned long long nStoredLength = m_nBlockStart >= 0 ? m_nStrStart - static_cast<unsigned>(m_nBlockStart) : 0;

    ULONGLONG nBitsBefore = m_nBitsSent;
    if (m_nBlockStart >= 0 && nStoredLength + 4 <= nOptBytes) {
        SendStoredBlock(m_window.data() + m_nBlockStart, static_cast<size_t>(nStoredLength), bLast);
    }
    else if (nStaticBytes == nOptBytes) {
        SendBits((STATIC_TREES << 1) + (bLast ? 1 : 0), 3);
        Code staticLit[288], staticDist[D_CODES];
        MakeCodes(tables.staticLitLength, 288, staticLit);
        MakeCodes(tables.staticDistLength, D_CODES, staticDist);
        SendSymbols(staticLit, staticDist);
        Check(m_nBitsSent - nBitsBefore == 3 + nStatic, "bad compressed size");
    }
    else {
        SendBits((DYN_TREES << 1) + (bLast ? 1 : 0), 3);
        MakeCodes(lit.length, L_CODES, lit.codes);
        MakeCodes(dist.length, D_CODES, dist.codes);
        MakeCodes(lengths.length, BL_CODES, lengths.codes);
        SendBits(nLitCodes - 257, 5);
        SendBits(nDistCodes - 1, 5);
        SendBits(nBlCodes - 4, 4);
        for (int rank = 0; rank < nBlCodes; ++rank)
            SendBits(blInOrder[rank], 3);
        for (size_t i = 0; i < runs.size(); ++i) {
            const Code& code = lengths.codes[runs[i].symbol];
            SendBits(code.code, code.length);
            if (runs[i].symbol >= REP_3_6)
                SendBits(runs[i].extra, EXTRA_BLBITS[runs[i].symbol]);
        }
        SendSymbols(lit.codes, dist.codes);
        Check(m_nBitsSent - nBitsBefore == 3 + nDynamic, "bad compressed size");
    }

    std::fill(std::begin(m_litFreq), std::end(m_litFreq), 0);
    std::fill(std::begin(m_distFreq), std::end(m_distFreq), 0);
    m_nSymbols = 0;
    m_nBlockStart = static_cast<long>(m_nStrStart);
    if (bLast)
        AlignToByte();
}

void CDeflater::SendStoredBlock(const BYTE* pData, size_t nLength, bool bLast)
{
    // A stored block holds at most 65535 bytes.
    do {
        size_t nPart = std::min<size_t>(nLength, 0xFFFF);
        bool bLastPart = bLast && nPart == nLength;
        SendBits((STORED_BLOCK << 1) + (bLastPart ? 1 : 0), 3);
        AlignToByte();
        SendBits(static_cast<unsigned>(nPart), 16);
        SendBits(static_cast<unsigned>(~nPart & 0xFFFF), 16);
        for (size_t i = 0; i < nPart; ++i)
            SendBits(pData[i], 8);
        pData += nPart;
        nLength -= nPart;
    } while (nLength > 0);
}

void CDeflater::SendSymbols(const Code* pLit, const Code* pDist)
{
    const CodeTables& tables = Tables();
    for (size_t i = 0; i < m_nSymbols; ++i) {
        unsigned nDistance = m_distances[i];
        unsigned nValue = m_literals[i];
        if (nDistance == 0) {
            SendBits(pLit[nValue].code, pLit[nValue].length);
            continue;
        }
        unsigned nCode = tables.lengthCode[nValue];
        SendBits(pLit[nCode + LITERALS + 1].code, pLit[nCode + LITERALS + 1].length);
        if (EXTRA_LBITS[nCode])
            SendBits(nValue - tables.baseLength[nCode], EXTRA_LBITS[nCode]);
        --nDistance;
        nCode = tables.distCode[nDistance];
        Check(nCode < D_CODES && pDist[nCode].length > 0, "bad d_code");
        SendBits(pDist[nCode].code, pDist[nCode].length);
        if (EXTRA_DBITS[nCode])
            SendBits(nDistance - tables.baseDist[nCode], EXTRA_DBITS[nCode]);
    }
    SendBits(pLit[END_BLOCK].code, pLit[END_BLOCK].length);
}

void CDeflater::SendBits(unsigned nValue, unsigned nLength)
{
    m_bitBuffer |= static_cast<uint64_t>(nValue) << m_nBits;
    m_nBits += nLength;
    m_nBitsSent += nLength;
    while (m_nBits >= 8) {
        m_output[m_nOutput++] = static_cast<BYTE>(m_bitBuffer);
        m_bitBuffer >>= 8;
        m_nBits -= 8;
        if (m_nOutput == m_output.size())
            FlushOutput();
    }
}

void CDeflater::AlignToByte()
{
    if (m_nBits > 0)
        SendBits(0, 8 - m_nBits);
}

void CDeflater::FlushOutput()
{
    if (m_nOutput == 0)
        return;
    if (!m_bWriteFailed && !m_write(m_output.data(), m_nOutput))
        m_bWriteFailed = true;
    m_nCompressed += m_nOutput;
    m_nOutput = 0;
}
