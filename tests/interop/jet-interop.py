#!/usr/bin/env python3
"""Genuine Jet database files read through the data layer equal Debian's mdb-export reading of them.

usage: jet-interop.py <jet_interop.exe> <wine-run> <folder of .mdb files>   (WINEPREFIX names the build's prefix)

Every table that mdb-tables lists in every file is read by the program twice, through a record set opened on the
table and through "SELECT *", and must give mdb-export's column names in its order and its rows, value by value
(texts, whole numbers, doubles to mdb-export's precision, amounts and decimals exactly, dates to the second,
booleans, nulls). Each field's ADO type and each value's VARIANT type are the ones Jet's provider gives for the
column's Jet type as mdb-schema names it. The file with a database password opens with it and is refused with
another one or none; a write to any file (an INSERT by Execute, a row added through a record set) is refused and
leaves the file byte-identical. The program works on copies in a temporary folder, writable, so that a refusal is
the data layer's and not the file system's, and named with letters outside the system's code page.
"""
import datetime
import decimal
import hashlib
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import uuid

failures = []

PASSWORDS = {"jet4-password.mdb": "password"}
READ_ONLY_TEXT = "Cannot update. Database or object is read-only."
NOT_UPDATABLE_TEXT = ("Current Recordset does not support updating. This may be a limitation of the provider, or of "
                      "the selected locktype.")
AUTH_FAILED = 0x80040E4D
DATE_FORMAT = "%Y-%m-%d %H:%M:%S"

VT_I2, VT_I4, VT_R4, VT_R8, VT_CY, VT_DATE, VT_BSTR, VT_BOOL, VT_DECIMAL, VT_UI1 = 2, 3, 4, 5, 6, 7, 8, 11, 14, 17
VT_BYTES = 0x2000 | VT_UI1


def check(condition, what):
    if not condition:
        failures.append(what)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def as_int(text, got):
    return int(text) == got


def as_double(text, got, digits):
    return float(f"{got:.{digits}g}") == float(text)


def as_date(text, got):
    # An OLE date: days since 30 December 1899, the fraction the time of day; mdb-export shows whole seconds.
    day = int(got)
    when = datetime.datetime(1899, 12, 30) + datetime.timedelta(days=day, seconds=(got - day) * 86400)
    return abs((when - datetime.datetime.strptime(text, DATE_FORMAT)).total_seconds()) < 0.5


def as_currency(text, got):
    return decimal.Decimal(text) == decimal.Decimal(got) / 10000


def as_decimal(text, got):
    digits = (got["hi"] << 64) | got["lo"]
    value = decimal.Decimal(digits).scaleb(-got["scale"])
    return decimal.Decimal(text) == (-value if got["sign"] & 0x80 else value)


def as_guid(text, got):
    # mdb-export writes its own text of it, without the fourth dash, and with "-b hex" that text in hexadecimal;
    # Jet's text has the dash.
    own = text if text.startswith("{") else bytes.fromhex(text).decode("ascii")
    return got == "{" + str(uuid.UUID(own)).upper() + "}"


# By the Jet type mdb-schema names: the ADO type of the field, the VARIANT type of its values, and how a value
# compares with mdb-export's text of it.
JET_TYPES = {
    "Boolean": (11, VT_BOOL, lambda text, got: got == {"0": 0, "1": -1}.get(text)),
    "Byte": (17, VT_UI1, as_int),
    "Integer": (2, VT_I2, as_int),
    "Long Integer": (3, VT_I4, as_int),
    "Currency": (6, VT_CY, as_currency),
    "Single": (4, VT_R4, lambda text, got: as_double(text, got, 8)),
    "Double": (5, VT_R8, lambda text, got: as_double(text, got, 16)),
    "DateTime": (7, VT_DATE, as_date),
    "Binary": (204, VT_BYTES, lambda text, got: bytes.fromhex(text) == bytes.fromhex(got)),
    "OLE": (205, VT_BYTES, lambda text, got: bytes.fromhex(text) == bytes.fromhex(got)),
    "Text": (202, VT_BSTR, lambda text, got: text == got),
    "Memo/Hyperlink": (203, VT_BSTR, lambda text, got: text == got),
    "Replication ID": (72, VT_BSTR, as_guid),
    "Numeric": (131, VT_DECIMAL, as_decimal),
}
# A value of each type for an INSERT, in Jet's SQL.
LITERALS = {"Text": "'x'", "Memo/Hyperlink": "'x'", "Byte": "1", "Integer": "1", "Long Integer": "1", "Double": "1",
            "Single": "1", "Currency": "1", "Numeric": "1", "Boolean": "True", "DateTime": "#12/31/2008#"}


def run(args):
    result = subprocess.run(args, capture_output=True, text=True, encoding="utf-8", errors="replace", timeout=240)
    if result.returncode != 0:
        failures.append(f"{' '.join(args[:4])}: exit {result.returncode}: {result.stderr[-800:]}")
    return result


def table_names(path):
    return [t for t in run(["mdb-tables", "-1", path]).stdout.split("\n") if t]


def column_types(path, table):
    """The Jet type of each column of the table, as mdb-schema names it (without size or NOT NULL)."""
    schema = run(["mdb-schema", "-T", table, path, "access"]).stdout
    types = {}
    for match in re.finditer(r"^\s*\[(.+?)\]\s+(.+?)(?:\s*\(.*\))?(?:\s+NOT NULL)?,?\s*$", schema, re.M):
        types[match.group(1)] = match.group(2)
    return types


def csv_rows(text):
    """mdb-export's CSV: rows of (text, quoted) fields, so that an unquoted empty field (null) differs from ""."""
    rows, row, i = [], [], 0
    while i < len(text):
        if text[i] == '"':
            value, i = [], i + 1
            while True:
                end = text.index('"', i)
                value.append(text[i:end])
                i = end + 1
                if i < len(text) and text[i] == '"':
                    value.append('"')
                    i += 1
                else:
                    break
            field = ("".join(value), True)
        else:
            end = min(p for p in (text.find(",", i), text.find("\n", i), len(text)) if p >= 0)
            field, i = (text[i:end], False), end
        row.append(field)
        if i >= len(text) or text[i] == "\n":
            rows.append(row)
            row = []
        i += 1
    return rows


def mdb_export(path, table):
    out = run(["mdb-export", "-D", DATE_FORMAT, "-T", DATE_FORMAT, "-b", "hex", path, table]).stdout
    rows = csv_rows(out)
    return [name for name, _ in rows[0]], rows[1:]


def program(tool, wine_run, folder, *args):
    out = os.path.join(folder, "out.json")
    if os.path.exists(out):
        os.remove(out)
    run([wine_run, tool, args[0], windows_path(out)] + list(args[1:]))
    if not os.path.exists(out):
        return {}
    with open(out, encoding="utf-8") as f:
        return json.load(f)


def compare_reading(where, reading, names, rows, types):
    if "error" in reading:
        failures.append(f"{where}: refused: {reading['error']}")
        return
    fields = reading.get("fields", [])
    check([f["name"] for f in fields] == names, f"{where}: fields {[f['name'] for f in fields]} instead of {names}")
    for field in fields:
        jet_type = types.get(field["name"])
        expected = JET_TYPES.get(jet_type, (None,))[0]
        check(field["type"] == expected,
              f"{where}.{field['name']}: ADO type {field['type']} instead of {expected} for Jet's {jet_type}")
    got_rows = reading.get("rows", [])
    check(len(got_rows) == len(rows), f"{where}: {len(got_rows)} rows instead of {len(rows)}")
    for number, (got_row, row) in enumerate(zip(got_rows, rows), 1):
        for name, got, (text, quoted) in zip(names, got_row, row):
            cell = f"{where} row {number} [{name}]"
            jet_type = types.get(name)
            if jet_type not in JET_TYPES:
                failures.append(f"{cell}: Jet type {jet_type} unknown to the check")
                continue
            _, vt, same = JET_TYPES[jet_type]
            if text == "" and not quoted:
                check(got is None, f"{cell}: {got} instead of null")
            elif got is None:
                failures.append(f"{cell}: null instead of {text!r}")
            elif got["vt"] != vt:
                failures.append(f"{cell}: VARIANT type {got['vt']} instead of {vt} for {text!r}")
            else:
                check(same(text, got["v"]), f"{cell}: {got['v']!r} instead of {text!r}")


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def check_file(tool, wine_run, folder, name):
    path = os.path.join(folder, name)
    password = PASSWORDS.get(name, "-")
    before = sha256(path)
    tables = table_names(path)
    check(tables, f"{name}: mdb-tables lists no table")
    types = {table: column_types(path, table) for table in tables}
    result = program(tool, wine_run, folder, "read", windows_path(path), password, *tables)
    if "error" in result:
        failures.append(f"{name}: refused: {result['error']}")
        return
    for table in tables:
        names, rows = mdb_export(path, table)
        check(set(names) == set(types[table]), f"{name}.{table}: mdb-schema names {list(types[table])}")
        reading = result.get("tables", {}).get(table, {})
        for way in ("direct", "select"):
            compare_reading(f"{name}.{table} ({way})", reading.get(way, {"error": "missing"}), names, rows,
                            types[table])

    if password != "-":
        for wrong in ("passwort", "-"):
            refused = program(tool, wine_run, folder, "read", windows_path(path), wrong, tables[0])
            error = refused.get("error", {})
            check(error.get("description") == "Not a valid password." and error.get("number") == AUTH_FAILED,
                  f"{name} opened with password {wrong!r}: {refused}")

    table = tables[0]
    column = next(c for c, t in types[table].items() if t in LITERALS)
    insert = f"INSERT INTO [{table}] ([{column}]) VALUES ({LITERALS[types[table][column]]})"
    wrote = program(tool, wine_run, folder, "write", windows_path(path), password, table, insert)
    check("error" not in wrote, f"{name}: refused: {wrote.get('error')}")
    execute = wrote.get("execute", {}).get("error", {})
    check(execute.get("description") == READ_ONLY_TEXT, f"{name}: {insert}: {wrote.get('execute')}")
    added = wrote.get("addnew", {})
    check(added.get("step") in ("AddNew", "Update") and
          added.get("error", {}).get("description") in (READ_ONLY_TEXT, NOT_UPDATABLE_TEXT),
          f"{name}: a row added to {table}: {added}")
    check(sha256(path) == before, f"{name}: the file changed")


# Files with no rows of some Jet types, made from a test file by changing its bytes where they lie (found once):
# jet4-types.mdb's Table1 with column F's record (Double) made a replication id of 16 bytes (its own and G's) or a
# Single of 4 bytes.
DERIVED = {
    "jet4-guid.mdb": ("jet4-types.mdb", [("07590600000500020006000904000003000000000007000800",
                                          "0f590600000500020006000904000003000000000007001000")]),
    "jet4-single.mdb": ("jet4-types.mdb", [("07590600000500020006000904000003000000000007000800",
                                            "06590600000500020006000904000003000000000007000400")]),
}


def derive(folder, name):
    source, changes = DERIVED[name]
    with open(os.path.join(folder, source), "rb") as f:
        data = f.read()
    for find, put in changes:
        find, put = bytes.fromhex(find), bytes.fromhex(put)
        at = data.find(find)
        check(at >= 0 and data.find(find, at + 1) < 0, f"{name}: {find.hex()} not found once in {source}")
        data = data[:at] + put + data[at + len(put):]
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main():
    tool, wine_run, source = sys.argv[1], sys.argv[2], sys.argv[3]
    names = sorted(n for n in os.listdir(source) if n.endswith(".mdb"))
    check(len(names) == 4, f"{source}: {names}")
    with tempfile.TemporaryDirectory() as temp:
        # A folder the user chose, named with letters that the system's code page lacks.
        folder = os.path.join(temp, "Dati 2008 Łódź")
        os.mkdir(folder)
        for name in names:
            shutil.copyfile(os.path.join(source, name), os.path.join(folder, name))
            check_file(tool, wine_run, folder, name)
        for name in DERIVED:
            derive(folder, name)
            check_file(tool, wine_run, folder, name)
    for failure in failures[:60]:
        print("FAIL:", failure)
    print(f"jet_interop: {len(names) + len(DERIVED)} files, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
