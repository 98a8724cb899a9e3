#include "platform/ado/JetFile.h"

#include "platform/ado/SqliteDatabase.h"

#include <mdbtools.h>
#include <sqlite3.h>

#include <cstring>
#include <cwchar>
#include <memory>
#include <vector>

namespace
{
// The first page of a Jet 3 or Jet 4 file: a page type 0, then the engine's name (ACE files name another engine,
// which Jet does not open either).
const unsigned char JET_SIGNATURE[] = "\0\1\0\0Standard Jet DB";

// The database password in the first page (after libmdb has decoded it): Jet 3 keeps 20 bytes of the file's code
// page, Jet 4 20 UCS-2 characters masked with the whole days of the creation date kept beside it.
const int PASSWORD_OFFSET = 0x42;
const int PASSWORD_CHARACTERS = 20;
const int CREATION_DATE_OFFSET = 0x72;
// The table definition of the list of the file's objects.
const unsigned long OBJECT_LIST_PAGE = 2;
// The type of a table definition's pages, the first and those it continues on.
const unsigned char DEFINITION_PAGE = 0x02;
// What a definition holds beside the columns' entries: for each real index its columns (Jet 3, Jet 4), for each
// index its entry; each name is after its length.
const uint64_t REAL_INDEX_COLUMNS_SIZE[] = {39, 52};
const uint64_t INDEX_ENTRY_SIZE[] = {20, 28};
const uint64_t NAME_LENGTH_SIZE[] = {1, 2};
// A row is named by its page and a byte: no page holds more rows.
const unsigned long MAX_ROWS_A_PAGE = 256;
// A row's offset in its page, less the flags of a deleted row or of one moved elsewhere.
const int ROW_OFFSET_MASK = 0x1fff;

struct CMdbClose
{
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
struct CTableFree
{
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
struct CTextFree
{
    void operator()(char* text) const { g_free(text); }
};
using CMdbText = std::unique_ptr<char, CTextFree>;

std::wstring FromCodePage(const char* bytes, size_t size, UINT codePage)
{
    if (size == 0)
        return std::wstring();
    int length = ::MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), text.data(), length);
    return text;
}

// A column's or an index's name as libmdb gives it: UTF-8 from a Jet 3 file, but from a Jet 4 file converted by the
// C runtime, which on Windows writes the Western letters in their Latin-1 bytes instead of UTF-8.
std::wstring NameText(const char* name)
{
    int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, nullptr, 0);
    return length > 0 ? JetWide(name) : FromCodePage(name, std::strlen(name), 1252);
}

// The bytes that a value of a fixed type takes in a row (0: not fixed).
int FixedSize(int type)
{
    switch (type) {
    case MDB_BYTE:
        return 1;
    case MDB_INT:
        return 2;
    case MDB_LONGINT:
    case MDB_FLOAT:
        return 4;
    case MDB_MONEY:
    case MDB_DOUBLE:
    case MDB_DATETIME:
        return 8;
    case MDB_REPID:
        return 16;
    case MDB_NUMERIC:
        return 17;
    default:
        return 0;
    }
}

class CJetFileReader
{
public:
    CJetFileReader(CSqliteDatabase& database, const std::wstring& path) : m_database(database), m_path(path) {}

    void Load(const std::wstring& password);

private:
    [[noreturn]] void RaiseDamaged() const
    {
        m_database.Raise(E_FAIL, L"Unrecognized database format '" + m_path + L"'.");
    }
    void Open();
    std::unique_ptr<MdbTableDef, CTableFree> ReadDefinition(MdbCatalogEntry* entry);
    bool IsDefinitionWhole(const MdbTableDef& table);
    std::vector<MdbCatalogEntry> ReadUserTables();
    unsigned int FindColumn(const MdbTableDef& table, const char* name) const;
    template <class F> void FetchRows(MdbTableDef& table, F onRow);
    void CheckPassword(const std::wstring& password) const;
    std::wstring StoredPassword() const;
    void CopyTable(MdbCatalogEntry* entry);
    // Of a Jet 3 file's texts (Western when the file names none).
    UINT CodePage() const { return m_mdb->f->code_page ? static_cast<UINT>(m_mdb->f->code_page) : 1252; }
    std::wstring Text(const unsigned char* bytes, size_t size) const;
    std::wstring Memo(MdbColumn* column) const;
    // Of the current row's column i.
    CJetValue Value(const MdbTableDef& table, unsigned int i) const;

    CSqliteDatabase& m_database;
    std::wstring m_path;
    std::unique_ptr<MdbHandle, CMdbClose> m_mdb;
    unsigned long m_pages = 0;
    std::vector<MdbField> m_fields; // of the current row
};

void CJetFileReader::Load(const std::wstring& password)
{
    Open();
    CheckPassword(password);
    for (MdbCatalogEntry& entry : ReadUserTables()) {
        // The copy is made of the file's names: one that the copy refuses (a name twice, an empty name) is a
        // damaged definition.
        try {
            CopyTable(&entry);
        }
        catch (const _com_error& e) {
            if (e.Error() != JET_E_ERRORSINCOMMAND && e.Error() != JET_E_INTEGRITYVIOLATION)
                throw;
            RaiseDamaged();
        }
    }
}

void CJetFileReader::Open()
{
    WIN32_FILE_ATTRIBUTE_DATA attributes = {};
    if (!::GetFileAttributesExW(m_path.c_str(), GetFileExInfoStandard, &attributes))
        m_database.Raise(E_FAIL, L"Could not find file '" + m_path + L"'.");
    // libmdb opens by a path in the system's code page: the short form of the path has none of the characters
    // that this code page may lack.
    std::wstring shortPath(MAX_PATH, L'\0');
    DWORD length = ::GetShortPathNameW(m_path.c_str(), shortPath.data(), MAX_PATH);
    shortPath.resize(length > 0 && length < MAX_PATH ? length : 0);
    const std::wstring& openPath = shortPath.empty() ? m_path : shortPath;
    std::string narrow(openPath.size() * 2 + 1, '\0');
    BOOL lost = FALSE;
    int bytes = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, openPath.c_str(), -1, narrow.data(),
                                      static_cast<int>(narrow.size()), nullptr, &lost);
    if (bytes == 0 || lost)
        m_database.Raise(E_FAIL, L"Could not find file '" + m_path + L"'.");
    m_mdb.reset(mdb_open(narrow.c_str(), MDB_NOFLAGS));
    if (!m_mdb || (m_mdb->f->jet_version != MDB_VER_JET3 && m_mdb->f->jet_version != MDB_VER_JET4))
        RaiseDamaged();
    // A file cut short loses whole pages; the tables' row counts tell the rest (see CopyTable).
    uint64_t size = (static_cast<uint64_t>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    uint64_t pageSize = static_cast<uint64_t>(m_mdb->fmt->pg_size);
    if (size % pageSize != 0)
        RaiseDamaged();
    m_pages = static_cast<unsigned long>(size / pageSize);
}

// The user tables that the list of the file's objects names. Read here rather than by libmdb's own reader of the
// list, which reads a damaged list's rows for ever.
std::vector<MdbCatalogEntry> CJetFileReader::ReadUserTables()
{
    MdbCatalogEntry list = {};
    list.mdb = m_mdb.get();
    list.object_type = MDB_TABLE;
    list.table_pg = OBJECT_LIST_PAGE;
    std::unique_ptr<MdbTableDef, CTableFree> objects = ReadDefinition(&list);
    unsigned int id = FindColumn(*objects, "Id");
    unsigned int name = FindColumn(*objects, "Name");
    unsigned int type = FindColumn(*objects, "Type");
    unsigned int flags = FindColumn(*objects, "Flags");
    std::vector<MdbCatalogEntry> tables;
    FetchRows(*objects, [&] {
        MdbCatalogEntry entry = {};
        entry.mdb = m_mdb.get();
        entry.object_type = static_cast<int>(Value(*objects, type).m_integer & 0x7f);
        entry.flags = static_cast<int>(Value(*objects, flags).m_integer);
        entry.table_pg = static_cast<unsigned long>(Value(*objects, id).m_integer & 0x00ffffff);
        std::string text = JetUtf8(Value(*objects, name).m_text);
        if (text.size() > MDB_MAX_OBJ_NAME)
            RaiseDamaged();
        std::memcpy(entry.object_name, text.c_str(), text.size() + 1);
        if (mdb_is_user_table(&entry))
            tables.push_back(entry);
    });
    return tables;
}

// A table's definition with its columns.
std::unique_ptr<MdbTableDef, CTableFree> CJetFileReader::ReadDefinition(MdbCatalogEntry* entry)
{
    // libmdb seeks to a page at its number times the page size, which wraps past 4 GB: a number beyond the file
    // could name one of its pages.
    if (entry->table_pg >= m_pages)
        RaiseDamaged();
    std::unique_ptr<MdbTableDef, CTableFree> table(mdb_read_table(entry));
    if (!table || !IsDefinitionWhole(*table) || !mdb_read_columns(table.get()))
        RaiseDamaged();
    return table;
}

// libmdb reads a definition as far as its counts say, going on at each page's link to the next, and trusts both:
// a definition whose pages loop, or whose counts reach past its last page, would have it read and allocate without
// end; one with more real indexes than its first page holds, read past its page buffer. The first page is in the
// page buffer, as mdb_read_table leaves it.
bool CJetFileReader::IsDefinitionWhole(const MdbTableDef& table)
{
    const MdbFormatConstants& fmt = *m_mdb->fmt;
    const uint64_t pageSize = fmt.pg_size;
    if (fmt.tab_cols_start_offset + uint64_t{table.num_real_idxs} * fmt.tab_ridx_entry_size > pageSize)
        return false;
    // The first page whole, each further one after its header (its type and its link).
    uint64_t bytes = pageSize;
    std::vector<bool> seen(m_pages);
    seen[table.entry->table_pg] = true;
    for (auto page = static_cast<uint32_t>(mdb_get_int32(m_mdb->pg_buf, 4)); page != 0;
         page = static_cast<uint32_t>(mdb_get_int32(m_mdb->alt_pg_buf, 4))) {
        if (page >= m_pages || seen[page] || mdb_read_alt_pg(m_mdb.get(), page) != fmt.pg_size ||
            m_mdb->alt_pg_buf[0] != DEFINITION_PAGE)
            return false;
        seen[page] = true;
        bytes += pageSize - 8;
    }
    // The least that the counted columns and indexes take.
    const int jet = IS_JET3(m_mdb.get()) ? 0 : 1;
    const uint64_t least =
        fmt.tab_cols_start_offset +
        uint64_t{table.num_real_idxs} * (fmt.tab_ridx_entry_size + REAL_INDEX_COLUMNS_SIZE[jet]) +
        uint64_t{table.num_cols} * (fmt.tab_col_entry_size + NAME_LENGTH_SIZE[jet]) +
        uint64_t{table.num_idxs} * (INDEX_ENTRY_SIZE[jet] + NAME_LENGTH_SIZE[jet]);
    return least <= bytes;
}

unsigned int CJetFileReader::FindColumn(const MdbTableDef& table, const char* name) const
{
    for (unsigned int i = 0; i < table.num_cols; ++i) {
        auto column = static_cast<MdbColumn*>(g_ptr_array_index(table.columns, i));
        if (std::strcmp(column->name, name) == 0)
            return i;
    }
    RaiseDamaged();
}

// Calls onRow for each row of the table, read into the columns' values. More rows than the file's pages could hold
// are pages read again and again; fewer than the table counts (the count may lag behind the rows, never run ahead
// of them) are pages lost (a file cut short at a page's end) or unreadable. libmdb binds an empty text as it binds
// a null: the row is cracked again for its fields' own null marks.
template <class F> void CJetFileReader::FetchRows(MdbTableDef& table, F onRow)
{
    mdb_rewind_table(&table);
    unsigned long rows = 0;
    while (mdb_fetch_row(&table)) {
        if (++rows > m_pages * MAX_ROWS_A_PAGE)
            RaiseDamaged();
        int start = 0;
        size_t size = 0;
        m_fields.assign(table.num_cols, MdbField{});
        if (mdb_find_row(m_mdb.get(), static_cast<int>(table.cur_row) - 1, &start, &size) != 0 ||
            mdb_crack_row(&table, start & ROW_OFFSET_MASK, size, m_fields.data()) < 0)
            RaiseDamaged();
        onRow();
    }
    if (rows < table.num_rows)
        RaiseDamaged();
}

std::wstring CJetFileReader::StoredPassword() const
{
    const unsigned char* header = m_mdb->pg_buf + PASSWORD_OFFSET;
    if (IS_JET3(m_mdb.get())) {
        size_t size = strnlen(reinterpret_cast<const char*>(header), PASSWORD_CHARACTERS);
        return FromCodePage(reinterpret_cast<const char*>(header), size, CodePage());
    }
    auto days = static_cast<uint32_t>(static_cast<int32_t>(mdb_get_double(m_mdb->pg_buf, CREATION_DATE_OFFSET)));
    std::wstring password;
    for (int i = 0; i < PASSWORD_CHARACTERS * 2; i += 2) {
        unsigned low = header[i] ^ ((days >> (8 * (i % 4))) & 0xff);
        unsigned high = header[i + 1] ^ ((days >> (8 * ((i + 1) % 4))) & 0xff);
        wchar_t c = static_cast<wchar_t>(low | (high << 8));
        if (c == 0)
            break;
        password += c;
    }
    return password;
}

// As Jet: a database without a password opens whatever password is given; one with a password opens only with
// that password, letter case included.
void CJetFileReader::CheckPassword(const std::wstring& password) const
{
    std::wstring stored = StoredPassword();
    if (!stored.empty() && stored != password)
        m_database.Raise(JET_E_AUTHFAILED, L"Not a valid password.");
}

std::wstring CJetFileReader::Text(const unsigned char* bytes, size_t size) const
{
    if (IS_JET3(m_mdb.get()))
        return FromCodePage(reinterpret_cast<const char*>(bytes), size, CodePage());
    std::wstring text;
    // Jet 4 keeps a text as UCS-2, or compressed: after the mark FF FE, runs of one byte a character (the high
    // byte 0) and runs of two, each 0 byte switching between them.
    if (size >= 2 && bytes[0] == 0xff && bytes[1] == 0xfe) {
        bool compressed = true;
        for (size_t i = 2; i < size;) {
            if (bytes[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                text += static_cast<wchar_t>(bytes[i++]);
            } else if (i + 1 < size) {
                text += static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
                i += 2;
            } else {
                break;
            }
        }
        return text;
    }
    for (size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
    return text;
}

// A memo's bytes, kept in the row or in pages of its own, read chunk by chunk through libmdb.
std::wstring CJetFileReader::Memo(MdbColumn* column) const
{
    unsigned char reference[MDB_MEMO_OVERHEAD];
    if (column->cur_value_len < MDB_MEMO_OVERHEAD)
        return std::wstring();
    std::memcpy(reference, m_mdb->pg_buf + column->cur_value_start, MDB_MEMO_OVERHEAD);
    std::string bytes;
    std::unique_ptr<char[]> chunk(new char[MDB_PGSIZE]);
    column->bind_ptr = chunk.get();
    size_t read = mdb_ole_read(m_mdb.get(), column, reference, MDB_PGSIZE);
    // A chain of pages longer than the file is one that loops: damage.
    for (unsigned long pages = 0; read > 0; ++pages) {
        bytes.append(chunk.get(), read);
        if (pages > m_pages) {
            column->bind_ptr = nullptr;
            RaiseDamaged();
        }
        read = mdb_ole_read_next(m_mdb.get(), column, reference);
    }
    column->bind_ptr = nullptr;
    return Text(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

CJetValue CJetFileReader::Value(const MdbTableDef& table, unsigned int i) const
{
    auto column = static_cast<MdbColumn*>(g_ptr_array_index(table.columns, i));
    CJetValue value;
    unsigned char* page = m_mdb->pg_buf;
    int start = column->cur_value_start;
    // A yes/no column keeps its value in the row's null mask, which libmdb reports as the length.
    if (column->col_type == MDB_BOOL)
        return CJetValue::Integer(column->cur_value_len ? 0 : -1);
    if (column->cur_value_len == 0) {
        if ((column->col_type == MDB_TEXT || column->col_type == MDB_MEMO) && !m_fields[i].is_null)
            value.m_type = CJetValue::typeText;
        return value;
    }
    // A damaged row's offsets may put a field's end before its start: libmdb then reports a negative length.
    // A damaged column record may give a fixed type fewer bytes than it has.
    if (start < 0 || column->cur_value_len < FixedSize(column->col_type) ||
        start + column->cur_value_len > m_mdb->fmt->pg_size)
        RaiseDamaged();
    switch (column->col_type) {
    case MDB_BYTE:
        return CJetValue::Integer(mdb_get_byte(page, start));
    case MDB_INT:
        return CJetValue::Integer(static_cast<int16_t>(mdb_get_int16(page, start)));
    case MDB_LONGINT:
        return CJetValue::Integer(static_cast<int32_t>(mdb_get_int32(page, start)));
    case MDB_MONEY: {
        uint64_t low = static_cast<uint32_t>(mdb_get_int32(page, start));
        uint64_t high = static_cast<uint32_t>(mdb_get_int32(page, start + 4));
        return CJetValue::Integer(static_cast<int64_t>(high << 32 | low));
    }
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_DATETIME:
        value.m_type = CJetValue::typeReal;
        value.m_real = column->col_type == MDB_FLOAT ? mdb_get_single(page, start)
                                                     : mdb_get_double(page, start);
        return value;
    case MDB_TEXT:
        value.m_type = CJetValue::typeText;
        value.m_text = Text(page + start, static_cast<size_t>(column->cur_value_len));
        return value;
    case MDB_MEMO:
        value.m_type = CJetValue::typeText;
        value.m_text = Memo(column);
        return value;
    case MDB_NUMERIC: {
        // libmdb's own reading of the 17 bytes, as its tools print it.
        CMdbText text(mdb_numeric_to_string(m_mdb.get(), start, column->col_scale, column->col_prec));
        value.m_type = CJetValue::typeText;
        value.m_text = JetWide(text.get());
        return value;
    }
    case MDB_REPID: {
        // As Jet gives it: its first three parts little-endian, in upper-case hexadecimal, within braces (libmdb's
        // own text lacks the dash before the last twelve digits).
        const unsigned char* g = page + start;
        wchar_t text[39];
        std::swprintf(text, 39, L"{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g[3], g[2],
                      g[1], g[0], g[5], g[4], g[7], g[6], g[8], g[9], g[10], g[11], g[12], g[13], g[14], g[15]);
        value.m_type = CJetValue::typeText;
        value.m_text = text;
        return value;
    }
    default:
        // Binary and OLE objects are not read.
        return value;
    }
}

// The SQLite declaration of a column: the kinds of JetValue.h, texts with Jet's collation.
std::string Declaration(const MdbColumn& column, bool jet3)
{
    std::string name = JetQuoteName(NameText(column.name)) + " ";
    const std::string collated = " COLLATE " + std::string(JET_TEXT_COLLATION);
    switch (column.col_type) {
    case MDB_BOOL:
        return name + JetUtf8(JET_TYPE_BOOLEAN);
    case MDB_BYTE:
        return name + JetUtf8(JET_TYPE_BYTE);
    case MDB_INT:
        return name + JetUtf8(JET_TYPE_SHORT);
    case MDB_LONGINT:
        return name + "INTEGER";
    case MDB_MONEY:
        return name + "CURRENCY";
    case MDB_FLOAT:
        return name + JetUtf8(JET_TYPE_SINGLE);
    case MDB_DOUBLE:
        return name + "DOUBLE";
    case MDB_DATETIME:
        return name + JetUtf8(JET_TYPE_DATE);
    case MDB_TEXT:
        // Jet 4 measures a text column in bytes of UCS-2.
        return name + "VARCHAR(" + std::to_string(jet3 ? column.col_size : column.col_size / 2) + ")" + collated;
    case MDB_MEMO:
        return name + JetUtf8(JET_TYPE_MEMO) + collated;
    case MDB_NUMERIC:
        return name + JetUtf8(JET_TYPE_NUMERIC) + "(" + std::to_string(column.col_prec) + "," +
               std::to_string(column.col_scale) + ")";
    case MDB_REPID:
        return name + JetUtf8(JET_TYPE_GUID);
    default:
        return name.substr(0, name.size() - 1);
    }
}

void CJetFileReader::CopyTable(MdbCatalogEntry* entry)
{
    std::unique_ptr<MdbTableDef, CTableFree> table = ReadDefinition(entry);
    if (table->num_cols == 0)
        RaiseDamaged();
    // It answers null also when it has read them: a failure leaves the table without its list.
    mdb_read_indices(table.get());
    if (!table->indices)
        RaiseDamaged();
    std::string quotedTable = JetQuoteName(JetWide(table->name));
    std::string create = "CREATE TABLE " + quotedTable + " (";
    std::string insert = "INSERT INTO " + quotedTable + " VALUES (";
    std::vector<MdbColumn*> columns;
    for (unsigned int i = 0; i < table->num_cols; ++i) {
        auto column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        create += (i ? ", " : "") + Declaration(*column, IS_JET3(m_mdb.get()));
        insert += i ? ", ?" : "?";
        columns.push_back(column);
    }
    m_database.Run(create + ")");

    {
        CSqliteStatement statement = m_database.Prepare(insert + ")");
        FetchRows(*table, [&] {
            for (size_t i = 0; i < columns.size(); ++i)
                statement.Bind(static_cast<int>(i) + 1, Value(*table, static_cast<unsigned int>(i)));
            statement.Step();
            ::sqlite3_reset(statement.Handle());
        });
    }

    // Every index but the relationships' (type 2), for seek by the index's own name; Jet's index names are the
    // table's own, so each is qualified with its table's name (see CSqliteDatabase::Index).
    for (unsigned int i = 0; i < table->num_idxs; ++i) {
        auto index = static_cast<MdbIndex*>(g_ptr_array_index(table->indices, i));
        if (index->index_type == 2 || index->num_keys == 0 || index->num_keys > MDB_MAX_IDX_COLS)
            continue;
        std::string keys;
        for (unsigned int k = 0; k < index->num_keys; ++k) {
            int column = index->key_col_num[k] - 1;
            if (column < 0 || static_cast<unsigned>(column) >= table->num_cols)
                RaiseDamaged();
            keys += (k ? ", " : "") + JetQuoteName(NameText(columns[static_cast<size_t>(column)]->name));
        }
        m_database.Run("CREATE INDEX " + JetQuoteName(JetWide(table->name) + L"." + NameText(index->name)) + " ON " +
                       quotedTable + " (" + keys + ")");
    }
}
} // namespace

bool JetIsJetFile(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    unsigned char header[sizeof(JET_SIGNATURE)] = {};
    DWORD read = 0;
    bool jet = ::ReadFile(file, header, sizeof(header), &read, nullptr) && read == sizeof(header) &&
               std::memcmp(header, JET_SIGNATURE, sizeof(header)) == 0;
    ::CloseHandle(file);
    return jet;
}

void JetLoadFile(CSqliteDatabase& database, const std::wstring& path, const std::wstring& password)
{
    CJetFileReader(database, path).Load(password);
}
