#!/usr/bin/env python3
"""PDFs written by the program are read by poppler's pdftotext and pdfinfo with their text and pages.

usage: pdf-interop.py <pdf_interop.exe> <wine-run>   (WINEPREFIX names the build's prefix)
"""
import os
import re
import subprocess
import sys
import tempfile

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def main():
    tool, wine_run = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as folder:
        run = subprocess.run([wine_run, tool, windows_path(folder)], capture_output=True, text=True)
        check(run.returncode == 0, f"pdf_interop: {run.returncode} {run.stderr}")
        expectations = {
            "report.pdf": (2, ["Saldo finanziario 2008", "Città di Cantù: perché è più così € 1.234,50",
                               "Seconda pagina"]),
            "long.pdf": (None, ["Riga 1 del documento lungo", "Riga 120 del documento lungo"]),
        }
        for name, (pages, texts) in expectations.items():
            path = os.path.join(folder, name)
            check(os.path.exists(path), f"{name}: not written")
            if not os.path.exists(path):
                continue
            info = subprocess.run(["pdfinfo", path], capture_output=True, text=True)
            check(info.returncode == 0, f"{name}: pdfinfo: {info.stderr}")
            match = re.search(r"^Pages:\s+(\d+)", info.stdout, re.M)
            count = int(match.group(1)) if match else 0
            if pages is not None:
                check(count == pages, f"{name}: {count} pages instead of {pages}")
            else:
                check(count > 1, f"{name}: the long text fits on {count} page")
            text = subprocess.run(["pdftotext", "-enc", "UTF-8", "-layout", path, "-"], capture_output=True,
                                  text=True, encoding="utf-8")
            check(text.returncode == 0, f"{name}: pdftotext: {text.stderr}")
            flat = " ".join(text.stdout.split())
            for expected in texts:
                check(expected in flat, f"{name}: '{expected}' not in the text: {flat[:300]}")
            if name == "report.pdf":
                check(text.stdout.count("\f") >= 1, f"{name}: no page break")
    for failure in failures:
        print("FAIL:", failure)
    print(f"pdf interop: {len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
