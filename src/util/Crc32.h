// The published CRC-32 of zip and gzip (polynomial 0xEDB88320, table-driven).
#pragma once

#include <cstddef>
#include <cstdint>

// Continues a running CRC: start with 0, pass the previous result for the next block.
uint32_t UpdateCrc32(uint32_t crc, const void* pData, size_t nLength);
