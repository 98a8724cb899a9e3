#!/usr/bin/env python3
"""PDFs written by the program are read by poppler's pdftotext and pdfinfo with their text and pages.

usage: pdf-interop.py <pdf_interop.exe> <wine-run> [<program folder>]   (WINEPREFIX names the build's prefix)

With the third argument, the program folder the build assembled: the user manual compiled into it is read (its
pages, its accented letters and its chapter titles), and every report and document of its "Doc" folder, filled on
a seeded archive by the view that opens it, is read back from its PDF: the same words as the filled document, the
figures and names it shows with their accents, as many pages as were printed, and the first page of the
programmed-target report, rendered by pdftoppm, laid out as the printer drew it. Its HTML and text exports, and its
RTF and Word exports as unrtf reads them, carry the same words. Each table row of a report reads on one line of
`pdftotext -layout` with its code, description and figures in column order, and the first page of every report,
rendered by pdftoppm, has its ruled lines where the layout drew them. The archive is a real-size authority's,
figures in the millions: every amount a report fills in is the archive's own figure (read from the archive with
Python's sqlite3), in whole euros where the report says so; no page holds nothing but its footer, and every ruled
line of every page reaches across the printable width. The reports gathered into the combined print
("StampaModello.pdf") are checked the same way.
"""
from collections import Counter
from html.parser import HTMLParser
import os
import re
import sqlite3
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


def page_count(path):
    info = subprocess.run(["pdfinfo", path], capture_output=True, text=True)
    check(info.returncode == 0, f"{path}: pdfinfo: {info.stderr}")
    match = re.search(r"^Pages:\s+(\d+)", info.stdout, re.M)
    return int(match.group(1)) if match else 0


def pdf_text(path):
    text = subprocess.run(["pdftotext", "-enc", "UTF-8", path, "-"], capture_output=True, text=True,
                          encoding="utf-8")
    check(text.returncode == 0, f"{path}: pdftotext: {text.stderr}")
    return text.stdout


def shipped_pdf_text(path, what, fewest, most):
    """The text of a PDF that the build writes into the program folder, None when it is missing."""
    check(os.path.exists(path), f"{path}: the build did not write the {what}")
    if not os.path.exists(path):
        return None
    count = page_count(path)
    check(fewest <= count <= most, f"{what}: {count} pages")
    return pdf_text(path)


def check_manual(path):
    text = shipped_pdf_text(path, "manual", 8, 16)
    if text is None:
        return
    flat = " ".join(text.split())
    for expected in MANUAL_TITLES + MANUAL_TEXTS:
        check(expected in flat, f"manual: '{expected}' not in the text")
    # Each chapter opens a page, in order.
    pages = text.split("\f")
    starts = [next((i for i, page in enumerate(pages) if " ".join(page.split()).startswith(title)), -1)
              for title in MANUAL_TITLES]
    check(all(p > 0 for p in starts) and starts == sorted(starts), f"manual: chapters start on pages {starts}")


def check_decree(path):
    """The decree's guide that command 40048 opens: a few pages of the rules as the program applies them."""
    text = shipped_pdf_text(path, "decree's guide", 3, 8)
    if text is None:
        return
    flat = " ".join(text.split())
    for expected in ["D.M. DELL'ECONOMIA E DELLE FINANZE DEL 23/03/2007", "programma Vorsa", "20,5% di d",
                     "8% della media triennale", "Caso 4", "monitoraggio trimestrale"]:
        check(expected in flat, f"decree's guide: '{expected}' not in the text")


def read_pgm(path):
    with open(path, "rb") as f:
        data = f.read()
    magic, width, height, _, pixels = data.split(maxsplit=4)
    width, height = int(width), int(height)
    return magic, width, height, pixels[len(pixels) - width * height:]


def ink_lines(path):
    """The page's lines of ink, top to bottom: (top, bottom, left, right) in pixels."""
    magic, width, height, pixels = read_pgm(path)
    check(magic == b"P5", f"{path}: no grey-scale image")
    lines, start = [], None
    for y in range(height + 1):
        row = pixels[y * width:(y + 1) * width] if y < height else b""
        ink = [x for x, value in enumerate(row) if value < 128]
        if ink and start is None:
            start, left, right = y, ink[0], ink[-1]
        elif ink:
            left, right = min(left, ink[0]), max(right, ink[-1])
        elif start is not None:
            lines.append((start, y - 1, left, right))
            start = None
    return (width, height), lines


def render_first_page(name, folder):
    """pdftoppm's rendering of the first page at the printer's resolution, lines drawn without smoothing as the
    printer draws them: the path of the image, None when it failed."""
    stem = os.path.join(folder, "rendered-" + os.path.splitext(name)[0])
    subprocess.run(["pdftoppm", "-r", "96", "-f", "1", "-l", "1", "-gray", "-aaVector", "no", "-singlefile",
                    os.path.join(folder, name), stem], check=True)
    check(os.path.exists(stem + ".pgm"), f"{name}: pdftoppm wrote no page")
    return stem + ".pgm" if os.path.exists(stem + ".pgm") else None


def check_page_image(name, printed, folder):
    """pdftoppm's rendering of the first page at the printer's resolution has the printed page's lines, each where
    the printer put it (fonts rasterise a little differently: a few pixels apart)."""
    rendered = render_first_page(name, folder)
    if not rendered:
        return
    size_p, lines_p = ink_lines(printed)
    size_r, lines_r = ink_lines(rendered)
    check(size_p == size_r, f"{name}: printed page {size_p}, rendered page {size_r}")
    check(len(lines_p) > 3 and len(lines_p) == len(lines_r),
          f"{name}: {len(lines_p)} printed lines, {len(lines_r)} rendered")
    for p, r in zip(lines_p, lines_r):
        check(all(abs(a - b) <= 4 for a, b in zip(p, r)), f"{name}: printed line {p}, rendered {r}")


def check_rules(name, rules_path, images):
    """At every rule the layout drew on the first page, each image is dark all along it (within a pixel), and
    light half-way between two horizontal rules where no text is: ruled lines, not a grey page."""
    with open(rules_path) as f:
        rules = [line.split() for line in f if line.strip()]
    check(len(rules) >= 8, f"{name}: {len(rules)} rules on the first page")
    for image in images:
        _, width, height, pixels = read_pgm(image)

        def dark(x, y):
            return any(0 <= y + d < height and 0 <= x < width and pixels[(y + d) * width + x] < 128
                       for d in (-1, 0, 1))

        def dark_v(x, y):
            return any(0 <= x + d < width and 0 <= y < height and pixels[y * width + x + d] < 128 for d in (-1, 0, 1))

        for kind, at, start, end in rules:
            at, start, end = int(at), int(start), int(end)
            points = range(start + 2, end - 1, 3)
            hits = sum(dark(x, at) if kind == "h" else dark_v(at, x) for x in points)
            check(points and hits == len(points),
                  f"{name} ({os.path.basename(image)}): rule {kind} {at} {start}-{end} dark at {hits} of {len(points)}")


FIGURE = re.compile(r"^[+-]?\d{1,3}(\.\d{3})*(,\d{2})?$")
# The reports' page margins, in twips, on every side.
REPORT_MARGIN = 850
# The reports whose amounts are printed in whole euros, as their text says.
WHOLE_EURO_REPORTS = {"RepObiettivo"}
DARK_RUN = re.compile(rb"[\x00-\x7f]{61,}")
REFERENCE = re.compile(r"^\$\[L:V;(.*)\]\$$")


def italian_amount(counts, whole):
    """An amount of 1/10000 counts as the Italian locale writes it: dots between thousands, a comma before the
    cents, or rounded to the euro (halves away from zero)."""
    sign = "-" if counts < 0 else ""
    counts = abs(counts)
    if whole:
        units, decimals = (counts + 5000) // 10000, ""
    else:
        cents = (counts + 50) // 100
        units, decimals = cents // 100, ",%02d" % (cents % 100)
    return sign + "{:,}".format(units).replace(",", ".") + decimals


def check_archive_figures(name, rows_path, refs_path, archive):
    """Every amount a report filled in, in its table rows, is the figure the archive holds in the row and field
    its template names (for the centre the report was filled for); the target report's figures its case hides are
    left empty."""
    with open(rows_path, encoding="utf-8") as f:
        rows = [line.rstrip("\n").split("\t") for line in f if line.strip()]
    with open(refs_path, encoding="utf-8") as f:
        refs = [line.rstrip("\n").split("\t") for line in f if line.strip()]
    check(len(rows) == len(refs), f"{name}: {len(rows)} rows filled, {len(refs)} in the templates")
    db = sqlite3.connect(archive)
    compared = 0
    for cells, (report, centre, *template) in zip(rows, refs):
        for cell, reference in zip(cells, template):
            match = REFERENCE.match(reference.strip())
            if not match:
                continue
            keys = dict(part.split(":", 1) for part in match.group(1).split(";"))
            if report in WHOLE_EURO_REPORTS and "NAME" in keys and not cell.strip():
                continue
            table, row, field = keys["T"], int(keys["R"]), keys["F"]
            query = f"SELECT [{field}] FROM [{table}] WHERE ID = ?"
            arguments = [row]
            if table.lower() == "saldofincalc":
                query += " AND idResp = ?"
                arguments.append(int(centre))
            found = db.execute(query, arguments).fetchone()
            expected = italian_amount(found[0] if found else 0, report in WHOLE_EURO_REPORTS)
            check(abs(found[0] if found else 0) >= 1000000 * 10000,
                  f"{name}: {table} {row} {field} holds no real-size figure")
            check(cell.strip() == expected, f"{name}: {table} {row} {field} shows '{cell}', the archive {expected}")
            compared += 1
    db.close()
    check(compared >= 10, f"{name}: only {compared} figures compared")


def check_pages(name, text, footer_path):
    """No page holds nothing but its footer."""
    with open(footer_path, encoding="utf-8") as f:
        footers = [line.rstrip("\n") for line in f]
    pages = text.split("\f")
    if pages and not pages[-1].strip():
        pages.pop()   # pdftotext ends the last page with a form feed too
    for number, page in enumerate(pages):
        footer = footers[number].split() if number < len(footers) else []
        words = Counter(page.split()) - Counter(footer)
        check(sum(words.values()) > 0, f"{name}: page {number + 1} holds nothing but its footer")


def check_rules_span(name, folder):
    """On every page as pdftoppm renders it, every ruled line reaches across at least 90 % of the printable width:
    a table spans the page. A rule is a run of dark pixels longer than any letter."""
    path = os.path.join(folder, name)
    stem = os.path.join(folder, "pages-" + os.path.splitext(name)[0])
    subprocess.run(["pdftoppm", "-r", "96", "-gray", "-aaVector", "no", path, stem], check=True)
    images = sorted(f for f in os.listdir(folder) if f.startswith(os.path.basename(stem) + "-") and f.endswith(".pgm"))
    check(len(images) == page_count(path), f"{name}: {len(images)} pages rendered")
    for image in images:
        _, width, height, pixels = read_pgm(os.path.join(folder, image))
        printable = width - 2 * REPORT_MARGIN * 96 / 1440
        runs = [len(m.group()) for y in range(height)
                for m in DARK_RUN.finditer(pixels[y * width:(y + 1) * width])]
        short = [r for r in runs if r < 0.9 * printable]
        check(not short, f"{name} ({image}): rules of {sorted(set(short))[:5]} pixels, printable width {printable:.0f}")


def check_rows_on_lines(name, rows_path, layout_text):
    """Each table row reads on one line of the layout text: its code, its description and its figures, whole, in
    the order of the columns."""
    figure = FIGURE
    with open(rows_path, encoding="utf-8") as f:
        rows = [line.rstrip("\n").split("\t") for line in f if line.strip()]
    check(rows, f"{name}: no table rows")
    lines = layout_text.split("\n")
    for cells in rows:
        wanted = [c for c in cells[:2] if c.strip()] + [c for c in cells[2:] if figure.match(c.strip())]
        # Cells that show no figure (a dash, a text) may stand between the wanted ones.
        cells = [r"\s+".join(re.escape(w) for w in cell.split()) for cell in wanted]
        pattern = re.compile(r"(^|\s)" + r"\s(?:.*\s)?".join(cells) + r"(\s|$)")
        check(any(pattern.search(line) for line in lines), f"{name}: row {wanted} not on one line")


def rtf_text(path):
    """The text unrtf reads from an RTF file (as Word opens the ".doc" export too), without the lines it puts
    before the document's own: comments marked "###" and a rule of dashes. It writes the text in Latin-1."""
    run = subprocess.run(["unrtf", "--text", path], capture_output=True)
    check(run.returncode == 0, f"{path}: unrtf: {run.stderr}")
    lines = run.stdout.decode("cp1252", errors="replace").split("\n")
    rule = next((i for i, line in enumerate(lines) if line.startswith("-----")), -1)
    check(rule >= 0, f"{path}: unrtf wrote no document")
    return "\n".join(lines[rule + 1:])


class HtmlText(HTMLParser):
    """The text a browser shows: the body's character data, without the head."""

    def __init__(self):
        super().__init__()
        self.parts, self.in_head = [], False

    def handle_starttag(self, tag, attrs):
        self.in_head |= tag == "head"

    def handle_endtag(self, tag):
        self.in_head &= tag != "head"

    def handle_data(self, data):
        if not self.in_head:
            self.parts.append(data)


def check_shipped_documents(folder):
    """The reports and documents of the program folder, as pdf_interop opened, saved and printed them."""
    with open(os.path.join(folder, "reports.txt"), encoding="utf-8") as f:
        entries = [line.rstrip("\n").split("|") for line in f if line.strip()]
    check(len(entries) == 15, f"{len(entries)} reports and documents written")
    for name, printed, *shown in entries:
        path = os.path.join(folder, name)
        check(page_count(path) == int(printed), f"{name}: {page_count(path)} pages, {printed} printed")
        text = pdf_text(path)
        base = os.path.splitext(path)[0]
        with open(base + "-filled.txt", encoding="utf-8") as f:
            filled = f.read()
        # Every word of the filled document, and nothing else, can be read from the PDF, from the HTML export as
        # Python's parser reads it and from the text export in the Windows code page.
        with open(base + ".htm", encoding="utf-8") as f:
            html = HtmlText()
            html.feed(f.read())
            html.close()
        with open(base + ".txt", encoding="cp1252") as f:
            plain = f.read()
        # The page footers are printed, not part of the document's text.
        footer_words = Counter()
        if os.path.exists(base + "-footer.txt"):
            with open(base + "-footer.txt", encoding="utf-8") as f:
                footer_words = Counter(f.read().split())
        # A table that goes on to another page repeats its heading rows there.
        heading_words = set()
        if os.path.exists(base + "-headings.txt"):
            with open(base + "-headings.txt", encoding="utf-8") as f:
                heading_words = set(f.read().split())
        exports = [("PDF", text), ("HTML", " ".join(html.parts)), ("text", plain)]
        exports += [(kind, rtf_text(base + ending)) for kind, ending in (("RTF", ".rtf"), ("Word", ".doc"))]
        for what, words in exports:
            found = Counter(words.split()) - footer_words if what == "PDF" else Counter(words.split())
            missing, extra = Counter(filled.split()) - found, found - Counter(filled.split())
            if what == "PDF":
                extra = Counter({word: n for word, n in extra.items() if word not in heading_words})
            check(not missing and not extra,
                  f"{name} as {what}: words missing {list(missing)[:10]}, extra {list(extra)[:10]}")
        flat = " ".join(text.split())
        for expected in shown:
            check(expected in flat and expected in " ".join(filled.split()), f"{name}: '{expected}' not shown")
        if os.path.exists(base + "-rows.txt"):
            layout = subprocess.run(["pdftotext", "-enc", "UTF-8", "-layout", path, "-"], capture_output=True,
                                    text=True, encoding="utf-8")
            check_rows_on_lines(name, base + "-rows.txt", layout.stdout)
            check_archive_figures(name, base + "-rows.txt", base + "-refs.txt", os.path.join(folder, "Archivio.mdb"))
            check_pages(name, layout.stdout, base + "-footer.txt")
            check_rules_span(name, folder)
            printed_page = base + "-1.pgm"
            check(os.path.exists(printed_page), f"{name}: the printed page was not drawn")
            if os.path.exists(printed_page):
                check_page_image(name, printed_page, folder)
                rendered = os.path.join(folder, "rendered-" + os.path.splitext(name)[0] + ".pgm")
                check_rules(name, base + "-rules.txt", [printed_page, rendered])


def main():
    tool, wine_run = sys.argv[1], sys.argv[2]
    program = sys.argv[3] if len(sys.argv) > 3 else None
    if program:
        check_manual(os.path.join(program, "Manuale.pdf"))
        check_decree(os.path.join(program, "Doc", "D.M.23.03.07.pdf"))
    with tempfile.TemporaryDirectory() as folder:
        arguments = [wine_run, tool, windows_path(folder)]
        if program:
            arguments.append(windows_path(os.path.join(program, "Doc")))
        # The program writes its messages in the Windows code page, not in UTF-8.
        run = subprocess.run(arguments, capture_output=True)
        check(run.returncode == 0,
              f"pdf_interop: {run.returncode} {run.stderr.decode('cp1252', errors='replace')}")
        expectations = {
            "report.pdf": (2, ["Saldo finanziario 2008", "Città di Cantù: perché è più così € 1.234,50",
                               "Seconda pagina"]),
            "long.pdf": (None, ["Riga 1 del documento lungo", "Riga 120 del documento lungo"]),
            # The page a last page break would open holds only underlined blanks: it is not printed.
            "blank-end.pdf": (2, ["Conferma del centro servizi", "Seconda pagina"]),
        }
        for name, (pages, texts) in expectations.items():
            path = os.path.join(folder, name)
            check(os.path.exists(path), f"{name}: not written")
            if not os.path.exists(path):
                continue
            count = page_count(path)
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
        if program and run.returncode == 0:
            check_shipped_documents(folder)
    for failure in failures:
        print("FAIL:", failure)
    print(f"pdf interop: {len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
