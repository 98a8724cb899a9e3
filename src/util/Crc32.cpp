#include "Crc32.h"

#include <array>

namespace {

std::array<uint32_t, 256> MakeCrcTable()
{
    std::array<uint32_t, 256> table = {};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

} // namespace

uint32_t UpdateCrc32(uint32_t crc, const void* pData, size_t nLength)
{
    static const std::array<uint32_t, 256> table = MakeCrcTable();
    const unsigned char* p = static_cast<const unsigned char*>(pData);
    crc = ~crc;
    for (size_t i = 0; i < nLength; ++i)
        crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}
