#!/usr/bin/env python3
"""Zips written by the program pass Info-ZIP's test and Python's zipfile; zips made by Info-ZIP's zip and by
Python's zipfile are read by the program.

usage: zip-interop.py <zip_interop.exe> <wine-run>   (WINEPREFIX names the build's prefix)
"""
import os
import shutil
import stat
import subprocess
import sys
import tempfile
import time
import zipfile

failures = []
checks = []


def check(condition, what):
    checks.append(what)
    if not condition:
        failures.append(what)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def run_tool(tool, wine_run, *args):
    return subprocess.run([wine_run, tool] + list(args), capture_output=True, text=True, encoding="utf-8",
                          errors="replace")


def check_own_zip(path, samples):
    name = os.path.basename(path)
    test = subprocess.run(["unzip", "-t", "-q", path], capture_output=True, text=True)
    check(test.returncode == 0, f"{name}: unzip -t: {test.stdout}{test.stderr}")
    expected = {
        "Dati/testo.txt": "testo.txt", "vuoto.txt": "vuoto.txt", "sola lettura.txt": "sola lettura.txt",
        "Dati/archivio.mdb": "archivio.mdb", "dati.zip": "dati.zip", "memoria.bin": "memoria.bin",
    }
    with zipfile.ZipFile(path) as zf:
        check(zf.testzip() is None, f"{name}: zipfile finds a bad CRC")
        infos = {info.filename: info for info in zf.infolist()}
        check(sorted(infos) == sorted(list(expected) + ["Dati/"]), f"{name}: items {sorted(infos)}")
        check("Dati/" in infos and infos["Dati/"].is_dir(), f"{name}: Dati/ is no folder")
        for item, source in expected.items():
            if item not in infos:
                continue
            with open(os.path.join(samples, source), "rb") as f:
                data = f.read()
            check(zf.read(item) == data, f"{name}: {item} differs from its source")
            info = infos[item]
            check(info.compress_type == (zipfile.ZIP_STORED if item == "dati.zip" else zipfile.ZIP_DEFLATED),
                  f"{name}: {item} method {info.compress_type}")
            if item == "memoria.bin":
                continue
            writable = bool((info.external_attr >> 16) & stat.S_IWUSR)
            check(writable == (item != "sola lettura.txt"), f"{name}: {item} owner-writable {writable}")
            # DOS time is local time, two-second steps.
            local = time.mktime(info.date_time + (0, 0, -1))
            mtime = os.stat(os.path.join(samples, source)).st_mtime
            check(abs(local - mtime) <= 2, f"{name}: {item} DOS time {info.date_time} against {time.ctime(mtime)}")


def make_tree(root):
    os.makedirs(os.path.join(root, "cartella", "sotto"))
    with open(os.path.join(root, "cartella", "testo.txt"), "w") as f:
        f.write("Entrate finali per gli anni 2003/04/05\n" * 2000)
    with open(os.path.join(root, "cartella", "sola.txt"), "w") as f:
        f.write("sola lettura\n")
    os.chmod(os.path.join(root, "cartella", "sola.txt"), 0o444)
    open(os.path.join(root, "vuoto.txt"), "w").close()
    # One time in winter and one in summer: DOS times follow the offset of their own date.
    os.utime(os.path.join(root, "cartella", "testo.txt"), (1206617520, 1206617520))
    os.utime(os.path.join(root, "cartella", "sola.txt"), (1216116000, 1216116000))


def expected_items(path):
    items = {}
    with zipfile.ZipFile(path) as zf:
        for info in zf.infolist():
            unix = info.external_attr >> 16
            readonly = bool(unix) and not unix & stat.S_IWUSR
            items[info.filename] = (info.file_size, info.CRC, info.is_dir(), readonly)
    return items


def check_read_by_program(tool, wine_run, paths, tree):
    listing = run_tool(tool, wine_run, "list", *[windows_path(path) for path in paths])
    check(listing.returncode == 0, f"the program could not read every zip: {listing.stderr}")
    seen = {}
    for line in listing.stdout.splitlines():
        fields = line.split("\t")
        if fields[0] == "#":
            name = fields[1].split("\\")[-1]
            seen[name] = {}
            continue
        item, size, crc, is_dir, readonly, mtime, data_crc = fields
        seen[name][item] = (int(size), int(crc, 16), is_dir == "1", readonly == "1")
        check(int(crc, 16) == int(data_crc, 16), f"{name}: {item} extracted with CRC {data_crc}, declared {crc}")
        source = os.path.join(tree, item)
        if os.path.isfile(source) and name.startswith("info"):
            # Info-ZIP writes the exact times in a "UT" field.
            check(int(mtime) == int(os.stat(source).st_mtime), f"{name}: {item} time {mtime}")
        elif os.path.isfile(source) and name.startswith("python"):
            # zipfile writes local DOS times only.
            check(abs(int(mtime) - os.stat(source).st_mtime) <= 2, f"{name}: {item} DOS time read as {mtime}")
    for path in paths:
        name = os.path.basename(path)
        expected = expected_items(path)
        check(seen.get(name) == expected, f"{name}: the program read {seen.get(name)}, zipfile {expected}")


def main():
    tool, wine_run = sys.argv[1], sys.argv[2]
    # Local times with an offset and a summer time, for this script, the tools and Wine alike.
    os.environ["TZ"] = "Europe/Rome"
    time.tzset()
    work = tempfile.mkdtemp(prefix="zip-interop-")
    try:
        written = run_tool(tool, wine_run, "write", windows_path(work))
        check(written.returncode == 0, f"writing the zips failed: {written.stderr}")
        if written.returncode == 0:
            for own in ("own.zip", "own-pipe.zip"):
                check_own_zip(os.path.join(work, own), os.path.join(work, "src"))

        tree = os.path.join(work, "tree")
        make_tree(tree)
        for zip_name, options in (("info.zip", ["-r"]), ("info-stored.zip", ["-r", "-0"])):
            subprocess.run(["zip", "-q"] + options + [os.path.join(work, zip_name), "cartella", "vuoto.txt"],
                           cwd=tree, check=True)
        with zipfile.ZipFile(os.path.join(work, "python.zip"), "w", zipfile.ZIP_DEFLATED) as zf:
            zf.write(os.path.join(tree, "cartella"), "cartella/")
            zf.write(os.path.join(tree, "cartella", "testo.txt"), "cartella/testo.txt")
            zf.write(os.path.join(tree, "cartella", "sola.txt"), "cartella/sola.txt")
            zf.writestr(zipfile.ZipInfo("memoria.txt"), b"scritto da zipfile")
        with zipfile.ZipFile(os.path.join(work, "python-stored.zip"), "w", zipfile.ZIP_STORED) as zf:
            zf.write(os.path.join(tree, "cartella", "testo.txt"), "testo.txt")
            zf.write(os.path.join(tree, "cartella", "sola.txt"), "cartella/sola.txt")
        zipfile.ZipFile(os.path.join(work, "python-empty.zip"), "w").close()
        names = ("info.zip", "info-stored.zip", "python.zip", "python-stored.zip", "python-empty.zip")
        check_read_by_program(tool, wine_run, [os.path.join(work, name) for name in names], tree)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print(f"{len(checks)} checks")
    for failure in failures:
        print("FAIL:", failure)
    print("zip interoperability:", "failed" if failures else "passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
