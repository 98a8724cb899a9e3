#include "ZipBuilder.h"

#include <zlib.h>

namespace {

void Put16(std::string& out, unsigned value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& out, unsigned value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void Put64(std::string& out, ULONGLONG value)
{
    Put32(out, static_cast<unsigned>(value));
    Put32(out, static_cast<unsigned>(value >> 32));
}

} // namespace

std::string BuildZip(const std::vector<ZipTestItem>& items)
{
    std::string zip, central;
    for (const ZipTestItem& item : items) {
        std::string stream = item.stream ? *item.stream : item.deflate ? ZlibDeflate(item.data) : item.data;
        DWORD crc = item.crc ? *item.crc : ZlibCrc32(item.data);
        ULONGLONG size = item.size ? *item.size : item.data.size();
        bool zip64 = size > 0xFFFFFFFFULL;
        std::string zip64Extra;
        if (zip64) {
            Put16(zip64Extra, 0x0001);
            Put16(zip64Extra, 16);
            Put64(zip64Extra, size);
            Put64(zip64Extra, stream.size());
        }
        unsigned nSize32 = zip64 ? 0xFFFFFFFF : static_cast<unsigned>(size);
        unsigned nStream32 = zip64 ? 0xFFFFFFFF : static_cast<unsigned>(stream.size());
        unsigned method = item.deflate ? 8 : 0;
        size_t nOffset = zip.size();

        std::string localExtra = zip64Extra + item.localExtra;
        Put32(zip, 0x04034B50);
        Put16(zip, 20);
        Put16(zip, item.flags);
        Put16(zip, method);
        Put32(zip, item.dosDateTime);
        Put32(zip, crc);
        Put32(zip, nStream32);
        Put32(zip, nSize32);
        Put16(zip, static_cast<unsigned>(item.name.size()));
        Put16(zip, static_cast<unsigned>(localExtra.size()));
        zip += item.name + localExtra + stream;

        Put32(central, 0x02014B50);
        Put16(central, item.versionMadeBy);
        Put16(central, 20);
        Put16(central, item.flags);
        Put16(central, method);
        Put32(central, item.dosDateTime);
        Put32(central, crc);
        Put32(central, nStream32);
        Put32(central, nSize32);
        Put16(central, static_cast<unsigned>(item.name.size()));
        Put16(central, static_cast<unsigned>(zip64Extra.size()));
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put32(central, item.externalAttr);
        Put32(central, static_cast<unsigned>(nOffset));
        central += item.name + zip64Extra;
    }
    size_t nCentralOffset = zip.size();
    zip += central;
    Put32(zip, 0x06054B50);
    Put16(zip, 0);
    Put16(zip, 0);
    Put16(zip, static_cast<unsigned>(items.size()));
    Put16(zip, static_cast<unsigned>(items.size()));
    Put32(zip, static_cast<unsigned>(central.size()));
    Put32(zip, static_cast<unsigned>(nCentralOffset));
    Put16(zip, 0);
    return zip;
}

std::string ZlibDeflate(const std::string& data, int level)
{
    z_stream stream = {};
    deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

bool ZlibInflate(const std::string& input, std::string& data)
{
    z_stream stream = {};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return false;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
    stream.avail_in = static_cast<uInt>(input.size());
    data.clear();
    char buffer[65536];
    int result = Z_OK;
    do {
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof(buffer);
        result = inflate(&stream, Z_NO_FLUSH);
        data.append(buffer, sizeof(buffer) - stream.avail_out);
    } while (result == Z_OK);
    inflateEnd(&stream);
    // The whole input must be one complete stream.
    return result == Z_STREAM_END && stream.avail_in == 0;
}

uint32_t ZlibCrc32(const std::string& data)
{
    return static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

unsigned ReadLE16(const std::string& bytes, size_t offset)
{
    return static_cast<unsigned char>(bytes[offset]) | static_cast<unsigned char>(bytes[offset + 1]) << 8;
}

unsigned ReadLE32(const std::string& bytes, size_t offset)
{
    return ReadLE16(bytes, offset) | ReadLE16(bytes, offset + 2) << 16;
}
