// Zip archives made byte by byte for the reader's and the restore's tests, hostile ones included: declared sizes
// and CRCs, flags, names, extra fields and compressed streams can all be given instead of the true ones. zlib
// compresses and checks, so that the tests do not lean on the code they test.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct ZipTestItem
{
    ZipTestItem(std::string itemName, std::string itemData = std::string(), bool bDeflate = false, WORD wFlags = 0,
                WORD wMadeBy = 20, DWORD dwExternalAttr = 0)
        : name(std::move(itemName)), data(std::move(itemData)), deflate(bDeflate), flags(wFlags),
          versionMadeBy(wMadeBy), externalAttr(dwExternalAttr)
    {
    }

    std::string name;
    std::string data;
    bool deflate = false;
    WORD flags = 0;
    WORD versionMadeBy = 20;                    // the writing system in the high byte (3 = Unix)
    DWORD externalAttr = 0;
    DWORD dosDateTime = 0x38DB5C00;             // 27 March 2008 11:32:00, date in the high word
    std::string localExtra;
    std::optional<std::string> stream;          // the compressed bytes as they are to be stored
    std::optional<DWORD> crc;                   // declared instead of the data's
    std::optional<ULONGLONG> size;              // declared uncompressed size instead of the data's (zip64 above 4 GiB)
};

std::string BuildZip(const std::vector<ZipTestItem>& items);

// Raw deflate (no header) by zlib, and its inverse; the inverse answers false on a damaged stream.
std::string ZlibDeflate(const std::string& data, int level = 8);
bool ZlibInflate(const std::string& stream, std::string& data);
uint32_t ZlibCrc32(const std::string& data);

// Little-endian fields of a byte string.
unsigned ReadLE16(const std::string& bytes, size_t offset);
unsigned ReadLE32(const std::string& bytes, size_t offset);
