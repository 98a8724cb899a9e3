#include "util/Crc32.h"
#include "util/Deflate.h"
#include "support/ZipBuilder.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::string Deflate(const std::string& data, CDeflater& deflater)
{
    std::string out;
    size_t nPos = 0;
    bool bDone = deflater.Compress(
        [&](BYTE* pBuffer, size_t nSize) {
            size_t n = std::min(nSize, data.size() - nPos);
            memcpy(pBuffer, data.data() + nPos, n);
            nPos += n;
            return n;
        },
        [&](const BYTE* pData, size_t nSize) {
            out.append(reinterpret_cast<const char*>(pData), nSize);
            return true;
        });
    EXPECT_TRUE(bDone);
    EXPECT_EQ(nullptr, deflater.GetError());
    EXPECT_EQ(out.size(), deflater.GetCompressedSize());
    return out;
}

std::string RandomBytes(size_t nSize, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(nSize, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

// Text with the repetitions and the variety of the program's own documents.
std::string Text(size_t nSize, unsigned seed)
{
    static const char* const words[] = { "entrate", "spese", "saldo", "finanziario", "competenza", "cassa",
                                         "obiettivo", "programmatico", "2007", "2008", "Vorsa", "capitolo",
                                         "responsabile", "del", "per", "il", "comune", "provincia", "," , "." };
    std::mt19937 random(seed);
    std::string text;
    while (text.size() < nSize) {
        text += words[random() % (sizeof(words) / sizeof(words[0]))];
        text += random() % 9 == 0 ? "\r\n" : " ";
        if (random() % 50 == 0)
            text += std::to_string(random() % 1000000);
    }
    text.resize(nSize);
    return text;
}

struct CorpusItem
{
    const char* name;
    std::string data;
};

std::vector<CorpusItem> Corpus()
{
    std::string runs;
    for (int i = 0; i < 40; ++i)
        runs += std::string(1000 + 997 * i, static_cast<char>('a' + i % 3)) + RandomBytes(50, i);
    std::string big = Text(4 << 20, 7) + RandomBytes(2 << 20, 8) + std::string(1 << 20, '\0') + Text(3 << 20, 9);
    return {
        { "empty", "" },
        { "one byte", "x" },
        { "text", Text(200000, 1) },
        { "random", RandomBytes(300000, 2) },
        { "long runs", runs },
        { "one long run", std::string(1 << 20, 'z') },
        { "10 MB", big },
    };
}

} // namespace

// Every stream inflates with zlib to the original bytes, and is about as small as zlib's own at the same level.
TEST(Deflate, ZlibInflatesEveryStreamAndSizesMatchZlib)
{
    for (const CorpusItem& item : Corpus()) {
        SCOPED_TRACE(item.name);
        CDeflater deflater(8);
        std::string stream = Deflate(item.data, deflater);
        std::string inflated;
        ASSERT_TRUE(ZlibInflate(stream, inflated));
        EXPECT_TRUE(inflated == item.data);
        size_t nZlib = ZlibDeflate(item.data, 8).size();
        EXPECT_LE(stream.size(), nZlib + nZlib / 50 + 2) << stream.size() << " against zlib's " << nZlib;
    }
}

TEST(Deflate, WriteFailureStopsTheCompression)
{
    std::string data = RandomBytes(100000, 3);
    size_t nPos = 0, nWrites = 0;
    CDeflater deflater(8);
    EXPECT_FALSE(deflater.Compress(
        [&](BYTE* pBuffer, size_t nSize) {
            size_t n = std::min(nSize, data.size() - nPos);
            memcpy(pBuffer, data.data() + nPos, n);
            nPos += n;
            return n;
        },
        [&](const BYTE*, size_t) { return ++nWrites < 2; }));
    EXPECT_EQ(2u, nWrites);
    EXPECT_EQ(nullptr, deflater.GetError());
}

TEST(Deflate, LevelFlags)
{
    EXPECT_EQ(2, CDeflater(8).GetZipFlags());
    EXPECT_EQ(0, CDeflater(5).GetZipFlags());
    EXPECT_EQ(4, CDeflater(1).GetZipFlags());
}

TEST(Crc32, PublishedCheckValueAndRunningUpdate)
{
    EXPECT_EQ(0xCBF43926u, UpdateCrc32(0, "123456789", 9));
    EXPECT_EQ(0u, UpdateCrc32(0, "", 0));
    std::string data = RandomBytes(10000, 4);
    uint32_t crc = UpdateCrc32(0, data.data(), 3333);
    crc = UpdateCrc32(crc, data.data() + 3333, data.size() - 3333);
    EXPECT_EQ(ZlibCrc32(data), crc);
}
