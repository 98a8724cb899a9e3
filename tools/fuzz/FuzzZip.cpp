// Zip archives held in memory, as the program reads a backup or an update: what the reader gives is whole, and
// written again and read back it is the same.
#include "FuzzReaders.h"

#include "util/Crc32.h"
#include "util/ZipReader.h"
#include "util/ZipWriter.h"

#include <algorithm>

namespace
{
struct CZipItem
{
    std::string name;
    std::string data;
};

// A name as found: either slash between folders.
CString SlashName(LPCTSTR pszName)
{
    CString strName(pszName);
    strName.Replace(L'\\', L'/');
    return strName;
}

// The items the reader gives, by index; false with the reason when an item breaks the archive's own word.
bool ReadZip(const std::string& bytes, std::vector<CZipItem>& items, std::string& fault)
{
    ZipHandle hz = OpenZip(bytes.data(), bytes.size(), ZIP_MEMORY);
    if (!hz)
        return false;
    ZipEntry archive = {};
    bool bRead = GetZipItem(hz, -1, &archive) == ZR_OK;
    int nUnreadable = 0;
    for (int i = 0; bRead && i < archive.index; i++) {
        ZipEntry entry = {};
        if (GetZipItem(hz, i, &entry) != ZR_OK) {
            nUnreadable++;
            continue;
        }
        int nFound = -1;
        ZipEntry found = {};
        if (FindZipItem(hz, entry.name, false, &nFound, &found) != ZR_OK || SlashName(found.name) != SlashName(entry.name)) {
            fault = "an item cannot be found by its own name: " + CString(entry.name).ToMultiByte(CP_UTF8) + " (after " +
                    std::to_string(nUnreadable) + " items that cannot be described)";
            break;
        }
        if (entry.unc_size < 0 || entry.unc_size > 64 * 1024 * 1024 || (entry.attr & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        std::string data(static_cast<size_t>(entry.unc_size), '\0');
        ZRESULT result = UnzipItem(hz, i, data.empty() ? nullptr : &data[0], data.size(), ZIP_MEMORY);
        if (result != ZR_OK)
            continue;
        if (UpdateCrc32(0, data.data(), data.size()) != entry.crc) {
            fault = "an item extracted whole whose data does not match its CRC";
            break;
        }
        items.push_back({CString(entry.name).ToMultiByte(CP_UTF8), data});
    }
    CloseUnzip(hz);
    return fault.empty() && bRead;
}

std::string WriteZip(const std::vector<CZipItem>& items)
{
    size_t nRoom = 4096;
    for (const CZipItem& item : items)
        nRoom += item.data.size() + item.data.size() / 8 + 2 * item.name.size() + 1024;
    ZipHandle hz = CreateZip(nullptr, nRoom, ZIP_MEMORY);
    for (const CZipItem& item : items)
        ZipAdd(hz, CString::FromMultiByte(item.name.data(), static_cast<int>(item.name.size()), CP_UTF8), item.data.data(),
               item.data.size(), ZIP_MEMORY);
    void* pData = nullptr;
    size_t nLength = 0;
    std::string bytes;
    if (ZipGetMemory(hz, &pData, &nLength) == ZR_OK)
        bytes.assign(static_cast<const char*>(pData), nLength);
    CloseZip(hz);
    return bytes;
}
} // namespace

std::string GenerateZip(CFuzzRandom& rnd)
{
    static const std::vector<std::string> s_names = {"Dati/Vorsa08.mdb", "info.txt", "a", "Cartella/", "doc/modello.txd",
                                                     "foto.jpg", "è.txt", "x/y/z/w.dat"};
    static const std::vector<std::string> s_words = {"PK\x03\x04", "PK\x01\x02", "PK\x05\x06", "\\", "/", "..",
                                                     std::string(4, '\xff'), std::string(4, '\0'), std::string("\x08\0", 2), std::string("\x14\0", 2)};
    std::vector<CZipItem> items;
    for (size_t n = rnd.Below(5); n > 0; --n) {
        std::string data;
        for (size_t i = rnd.Count(); i > 0; --i)
            data += rnd.Chance(50) ? std::string("Entrate correnti ") : std::string(1, static_cast<char>(rnd.Below(256)));
        items.push_back({rnd.Pick(s_names), data});
    }
    std::string bytes = WriteZip(items);
    return rnd.Chance(70) ? Mutate(bytes, rnd, s_words) : bytes;
}

// What the reader gives is whole (each item found by its name, extracted data matching its CRC), and written again
// and read back it is the same.
std::string FuzzZip(const std::string& input, CFuzzRandom&)
{
    std::vector<CZipItem> items;
    std::string fault;
    if (!ReadZip(input, items, fault))
        return fault;
    std::vector<CZipItem> again;
    if (!ReadZip(WriteZip(items), again, fault))
        return fault.empty() ? "the items written again do not read back" : fault;
    if (again.size() != items.size())
        return "the items written again read back as " + std::to_string(again.size()) + " of " + std::to_string(items.size());
    for (size_t i = 0; i < items.size(); i++) {
        std::string name = items[i].name;
        std::replace(name.begin(), name.end(), '\\', '/');   // the writer's separator
        if (again[i].name != name || again[i].data != items[i].data)
            return "an item written again reads back different: " + items[i].name;
    }
    return "";
}
