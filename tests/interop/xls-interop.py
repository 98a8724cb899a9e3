#!/usr/bin/env python3
"""Excel workbooks written by the program are read back by Debian's xlrd: every data cell's value, number format
and font, the colours, column widths, hidden columns and merged areas; the description sheet is not in the file.

usage: xls-interop.py <xls_interop.exe> <wine-run>   (WINEPREFIX names the build's prefix; run with the system's
python3, which has python3-xlrd)
"""
import json
import os
import subprocess
import sys
import tempfile

import xlrd

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def main():
    tool, wine_run = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as folder:
        run = subprocess.run([wine_run, tool, "write", windows_path(folder)], capture_output=True, text=True,
                             errors="replace", timeout=240)
        check(run.returncode == 0, f"xls_interop write: {run.returncode} {run.stderr[-500:]}")
        if run.returncode != 0:
            return report()
        with open(os.path.join(folder, "expect.json"), encoding="utf-8") as f:
            expect = json.load(f)
        book = xlrd.open_workbook(os.path.join(folder, "book.xls"), formatting_info=True)
        check(book.biff_version == 80, f"BIFF version {book.biff_version}")
        check(book.sheet_names() == [s["name"] for s in expect],
              f"sheets {book.sheet_names()} instead of {[s['name'] for s in expect]}")
        for jsheet in expect:
            if jsheet["name"] not in book.sheet_names():
                continue
            sheet = book.sheet_by_name(jsheet["name"])
            for cell in jsheet["cells"]:
                where = f"{jsheet['name']}!R{cell['row'] + 1}C{cell['col'] + 1}"
                if cell["row"] >= sheet.nrows or cell["col"] >= sheet.ncols:
                    failures.append(f"{where}: outside the sheet read back ({sheet.nrows}x{sheet.ncols})")
                    continue
                got = sheet.cell(cell["row"], cell["col"])
                if "number" in cell:
                    check(got.ctype == xlrd.XL_CELL_NUMBER and got.value == cell["number"],
                          f"{where}: {got!r} instead of the number {cell['number']}")
                elif "text" in cell:
                    check(got.ctype == xlrd.XL_CELL_TEXT and got.value == cell["text"],
                          f"{where}: {got!r} instead of the text {cell['text']!r}")
                elif "bool" in cell:
                    check(got.ctype == xlrd.XL_CELL_BOOLEAN and bool(got.value) == cell["bool"],
                          f"{where}: {got!r} instead of {cell['bool']}")
                elif "error" in cell:
                    check(got.ctype == xlrd.XL_CELL_ERROR and xlrd.error_text_from_code.get(got.value) == cell["error"],
                          f"{where}: {got!r} instead of {cell['error']}")
                else:
                    check(got.ctype == xlrd.XL_CELL_BLANK, f"{where}: {got!r} instead of a formatted empty cell")
                xf = book.xf_list[got.xf_index]
                fmt = book.format_map[xf.format_key].format_str
                check(fmt == cell["format"], f"{where}: number format {fmt!r} instead of {cell['format']!r}")
                font = book.font_list[xf.font_index]
                check(font.name == cell["font"], f"{where}: font {font.name!r} instead of {cell['font']!r}")
                check(font.height == cell["height"], f"{where}: font height {font.height} instead of {cell['height']}")
                check(bool(font.bold) == cell["bold"], f"{where}: bold {font.bold}")
                check(bool(font.italic) == cell["italic"], f"{where}: italic {font.italic}")
                check(bool(font.underlined) == cell["underline"], f"{where}: underlined {font.underlined}")
                if "color" in cell:
                    rgb = book.colour_map.get(font.colour_index)
                    check(rgb == tuple(cell["color"]), f"{where}: text colour {rgb} instead of {cell['color']}")
                if "fill" in cell:
                    rgb = book.colour_map.get(xf.background.pattern_colour_index)
                    check(xf.background.fill_pattern == 1 and rgb == tuple(cell["fill"]),
                          f"{where}: fill {xf.background.fill_pattern} {rgb} instead of {cell['fill']}")
            merged = sorted(tuple(m) for m in sheet.merged_cells)
            check(merged == sorted(tuple(m) for m in jsheet["merges"]),
                  f"{jsheet['name']}: merged areas {merged} instead of {jsheet['merges']}")
            for column in jsheet["columns"]:
                info = sheet.colinfo_map.get(column["col"])
                twips = round(info.width * 105 / 256) if info else None
                hidden = bool(info.hidden) if info else False
                check(hidden == column["hidden"], f"{jsheet['name']} column {column['col']}: hidden {hidden}")
                if column["twips"] != 960:
                    check(twips is not None and abs(twips - column["twips"]) <= 1,
                          f"{jsheet['name']} column {column['col']}: width {twips} twips instead of {column['twips']}")
    return report()


def report():
    for failure in failures:
        print("FAIL:", failure)
    print(f"xls interop: {len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
