// Values as SQLite stores them, the kinds of column the ADO stand-in distinguishes, and the conversions between
// the two and VARIANTs.
#pragma once

#include "platform/ado/JetObject.h"

#include <cstdint>
#include <memory>
#include <vector>

// The collation of text columns: Jet's order (see SqliteDatabase.cpp).
inline constexpr char JET_TEXT_COLLATION[] = "JETTEXT";

enum EJetKind
{
    jetKindAny,      // no declared type: by the value's own type
    jetKindInteger,  // INTEGER, LONG, COUNTER ...
    jetKindCurrency, // CURRENCY: the 64-bit count of 1/10000
    jetKindDouble,   // DOUBLE, FLOAT, REAL
    jetKindText,     // VARCHAR(n), TEXT, MEMO ...
    // The further kinds of a genuine Jet file's columns, declared only by its reader (JetFile.cpp) under names of
    // its own, so that no table of ours changes kind.
    jetKindByte,     // JETBYTE: VT_UI1
    jetKindShort,    // JETSHORT: VT_I2
    jetKindBoolean,  // JETYESNO: VT_BOOL, stored as -1 or 0
    jetKindDate,     // JETDATEREAL: VT_DATE, stored as its double
    jetKindNumeric,  // JETNUMERICTEXT(p,s): VT_DECIMAL, stored as its decimal text
    jetKindMemo,     // JETMEMOTEXT: a text without width of its own
    jetKindGuid,     // JETGUIDTEXT: a replication id, stored as its "{...}" text
    jetKindSingle    // JETSINGLE: VT_R4, stored as its double
};

// The declared types of those kinds.
inline constexpr wchar_t JET_TYPE_BYTE[] = L"JETBYTE";
inline constexpr wchar_t JET_TYPE_SHORT[] = L"JETSHORT";
inline constexpr wchar_t JET_TYPE_BOOLEAN[] = L"JETYESNO";
inline constexpr wchar_t JET_TYPE_DATE[] = L"JETDATEREAL";
inline constexpr wchar_t JET_TYPE_NUMERIC[] = L"JETNUMERICTEXT";
inline constexpr wchar_t JET_TYPE_MEMO[] = L"JETMEMOTEXT";
inline constexpr wchar_t JET_TYPE_GUID[] = L"JETGUIDTEXT";
inline constexpr wchar_t JET_TYPE_SINGLE[] = L"JETSINGLE";

struct CJetValue
{
    enum EType { typeNull, typeInteger, typeReal, typeText };

    EType m_type = typeNull;
    int64_t m_integer = 0;
    double m_real = 0;
    std::wstring m_text;

    bool IsNull() const { return m_type == typeNull; }
    static CJetValue Integer(int64_t value);
};

// Room for the values of rows, a fixed number a row, handed out from blocks of rows that grow with the rows asked
// for: a record set that visits thousands of rows makes a few dozen allocations instead of one per row, one that
// reads a single row no bigger one. A row's values stay where they are until Clear.
class CJetValueStore
{
public:
    // Empties the store; width: the values of each row from now on.
    void Clear(size_t width);
    // Null values for one more row.
    CJetValue* NewRow();

private:
    static constexpr size_t kMaxBlockRows = 128;

    size_t m_width = 0;
    size_t m_blockRows = 0; // of the last block
    size_t m_free = 0;      // rows left in it
    std::vector<std::unique_ptr<CJetValue[]>> m_blocks;
};

// A column of a record set or a table.
struct CJetColumn
{
    std::wstring m_name;
    EJetKind m_kind = jetKindAny;
    long m_definedSize = 0;
};

// The kind and the defined size of a declared SQL type ("VARCHAR(100)", "CURRENCY" ...; null: no declared type).
EJetKind JetKindOfType(const wchar_t* declaredType);
long JetDefinedSize(EJetKind kind, const wchar_t* declaredType);

// The VARIANT a value reads as in a column of the kind.
_variant_t JetToVariant(const CJetValue& value, EJetKind kind);
// The value a VARIANT stores as in a column of the kind; fails (DISP_E_TYPEMISMATCH, DISP_E_OVERFLOW ...) when it
// does not convert. Empty and null VARIANTs are null.
HRESULT JetFromVariant(const VARIANT& variant, EJetKind kind, CJetValue& value);
// The ADO type a column of the kind reports; for jetKindAny, of the value.
DataTypeEnum JetDataType(EJetKind kind, const CJetValue* sample);
