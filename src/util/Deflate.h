// The zip writer's own deflate engine (the published Deflate format): a 32 KiB window in a 64 KiB sliding
// buffer, hash chains over 3-byte strings, lazy matching with the published parameters of the compression level,
// and blocks emitted stored, with the static trees or with dynamic trees, whichever is smallest.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

class CDeflater
{
public:
    // Reads up to the size into the buffer; answers the bytes read, 0 at the end of the source.
    typedef std::function<size_t(BYTE* pBuffer, size_t nSize)> ReadFunction;
    // Writes the compressed bytes; false stops the compression.
    typedef std::function<bool(const BYTE* pData, size_t nSize)> WriteFunction;

    explicit CDeflater(int nLevel = 8);

    // Compresses the whole source. False when a write failed or a consistency check did not hold (GetError).
    bool Compress(const ReadFunction& read, const WriteFunction& write);

    // The text of the first consistency check that failed; null when none did.
    const char* GetError() const { return m_pszError; }
    ULONGLONG GetCompressedSize() const { return m_nCompressed; }
    // The general-purpose flag bits of a deflated zip item at this level: 2 maximum, 4 fastest compression.
    WORD GetZipFlags() const;

private:
    struct Code
    {
        uint16_t code;   // bit-reversed, ready to be sent
        uint8_t length;
    };
    struct Tree;

    void Reset();
    void FillWindow(const ReadFunction& read);
    void InsertString(unsigned nPos, unsigned& nHashHead);
    unsigned LongestMatch(unsigned nCurMatch);
    bool TallyLiteral(unsigned nLiteral);
    bool TallyMatch(unsigned nDistance, unsigned nLengthMinus3);
    void FlushBlock(bool bLast);
    void SendStoredBlock(const BYTE* pData, size_t nLength, bool bLast);
    void SendTrees(const Tree& lit, const Tree& dist, const Tree& lengths, int nLit, int nDist, int nLengths);
    void SendSymbols(const Code* pLit, const Code* pDist);
    void SendBits(unsigned nValue, unsigned nLength);
    void AlignToByte();
    void FlushOutput();
    void Check(bool bHolds, const char* pszText);

    // Level parameters.
    unsigned m_nGoodLength, m_nMaxLazy, m_nNiceLength, m_nMaxChain;
    int m_nLevel;

    std::vector<BYTE> m_window;           // 2 × 32 KiB
    std::vector<uint16_t> m_prev;         // chain links by position in the window
    std::vector<uint16_t> m_head;         // latest position of each hash
    unsigned m_nInsHash = 0;
    unsigned m_nStrStart = 0;
    unsigned m_nLookahead = 0;
    long m_nBlockStart = 0;               // negative once the block's start has slid out of the window
    unsigned m_nMatchStart = 0;
    unsigned m_nPrevLength = 0;
    bool m_bEndOfInput = false;

    // Symbols of the current block: distance 0 for a literal.
    std::vector<uint16_t> m_distances;
    std::vector<BYTE> m_literals;
    size_t m_nSymbols = 0;
    unsigned m_litFreq[286] = {};
    unsigned m_distFreq[30] = {};

    // Output.
    WriteFunction m_write;
    std::vector<BYTE> m_output;           // 16 KiB
    size_t m_nOutput = 0;
    uint64_t m_bitBuffer = 0;
    unsigned m_nBits = 0;
    ULONGLONG m_nCompressed = 0;
    ULONGLONG m_nBitsSent = 0;            // for the check of each block's estimated size
    bool m_bWriteFailed = false;
    const char* m_pszError = nullptr;
};
