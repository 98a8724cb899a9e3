#!/usr/bin/env python3
"""PDFs written by the program are read by poppler's pdftotext and pdfinfo with their text and pages.

usage: pdf-interop.py <pdf_interop.exe> <wine-run> [<Manuale.pdf>]   (WINEPREFIX names the build's prefix)

With the third argument, the user manual that the build compiled into the program folder is read as well: its
pages, its accented letters and its chapter titles.
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


# The manual's chapters, as a reader finds them in the text.
MANUAL_TITLES = [
    "1. Introduzione",
    "2. Installazione e avvio",
    "3. La finestra del programma e l'albero di navigazione",
    "4. I dati dell'ente",
    "5. I dati consuntivi 2003, 2004 e 2005",
    "6. Saldi finanziari e obiettivo programmatico 2008/2009/2010",
    "7. La verifica del Vorsa sui dati previsionali",
    "8. La verifica per centro di responsabilità",
    "9. Il monitoraggio trimestrale",
    "10. L'importazione dei dati da altri programmi",
    "11. La modulistica di controllo: stampa e salvataggio in PDF",
    "12. Salvataggio, ripristino e manutenzione dell'archivio",
    "13. Aggiornamenti, informazioni e assistenza",
]
# Texts with accented letters and the program's own words, which must survive into the PDF unchanged.
MANUAL_TEXTS = [
    "Modulistica di Controllo",
    "Salvare le modifiche effettuate?",
    "Sono stati immessi caratteri non numerici",
    "Contabilità analitica per capitoli",
    "Nulla è stato ripristinato.",
    "Richiesta assistenza (con archivio allegato)...",
    "perché",
]


def check_manual(path):
    check(os.path.exists(path), f"{path}: the build did not write the manual")
    if not os.path.exists(path):
        return
    info = subprocess.run(["pdfinfo", path], capture_output=True, text=True)
    check(info.returncode == 0, f"manual: pdfinfo: {info.stderr}")
    match = re.search(r"^Pages:\s+(\d+)", info.stdout, re.M)
    count = int(match.group(1)) if match else 0
    check(8 <= count <= 16, f"manual: {count} pages")
    text = subprocess.run(["pdftotext", "-enc", "UTF-8", path, "-"], capture_output=True, text=True,
                          encoding="utf-8")
    check(text.returncode == 0, f"manual: pdftotext: {text.stderr}")
    flat = " ".join(text.stdout.split())
    for expected in MANUAL_TITLES + MANUAL_TEXTS:
        check(expected in flat, f"manual: '{expected}' not in the text")
    # Each chapter opens a page, in order.
    pages = text.stdout.split("\f")
    starts = [next((i for i, page in enumerate(pages) if " ".join(page.split()).startswith(title)), -1)
              for title in MANUAL_TITLES]
    check(all(p > 0 for p in starts) and starts == sorted(starts), f"manual: chapters start on pages {starts}")


def main():
    tool, wine_run = sys.argv[1], sys.argv[2]
    if len(sys.argv) > 3:
        check_manual(sys.argv[3])
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
