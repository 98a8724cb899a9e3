#!/usr/bin/env python3
"""A docking layout saved by the program as XML is read by Python's XML parser: sound numbering, references and
Italian titles. Files Python wrote from it (re-serialised, indented, with values as child elements) load in the
program as the same layout; damaged ones are refused.

usage: layout-interop.py <layout_interop.exe> <wine-run>   (WINEPREFIX names the build's prefix)
"""
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

failures = []
checks = []

TITLES = {
    "4000": "Navigazione\\nAlbero dei capitoli",   # a newline is kept as \n in the text form
    "4001": "Propriet\u00e0 dell'ente",
    "4002": 'Note <bozza> & "prova"',
    "4003": "Entit\u00e0 correnti",
    "4004": "Riepiloghi",
    "4005": "Citt\u00e0",
}
# References between sections: the numbered children of containers and panels, the holders of panes, the
# content of floating frames.
REFERENCE = re.compile(r"^(Pane-\d+|DockingHolder|FloatingHolder|LastHolder|Selected|TopContaner)$")


def check(condition, what):
    checks.append(what)
    if not condition:
        failures.append(what)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def run(tool, wine_run, *args):
    return subprocess.run([wine_run, tool] + list(args), capture_output=True, text=True, encoding="utf-8",
                          errors="replace")


def check_written(path):
    root = ET.parse(path).getroot()
    check(root.tag == "DockingPaneLayouts", f"root element {root.tag}")
    check(root.get("CompactMode") == "1", "the saved document carries CompactMode 1")
    layout = root.find("NormalLayout")
    check(layout is not None, "no NormalLayout section")
    if layout is None:
        return
    sections = {child.tag: dict(child.attrib) for child in layout}
    summary = sections.get("Summary", {})
    count = int(summary.get("Panes", "0"))
    numbered = sorted(int(tag[5:]) for tag in sections if tag.startswith("Pane-"))
    check(numbered == list(range(1, count + 1)), f"Panes {count} for sections {numbered}")
    types = {}
    for number in numbered:
        section = sections[f"Pane-{number}"]
        check(section.get("Type", "") in {"0", "1", "2", "3", "4", "5"}, f"Pane-{number} type {section.get('Type')}")
        types[number] = section.get("Type")
        for key, value in section.items():
            if REFERENCE.match(key):
                check(value.isdigit() and 1 <= int(value) <= count, f"Pane-{number} {key}={value} names no section")
    check(types.get(int(summary.get("TopContainer", "0"))) == "2", "the top container is no splitter")
    check(types.get(int(summary.get("Client", "0"))) == "4", "the client is no placeholder")
    titles = {s["ID"]: s.get("Title", "") for s in sections.values() if s.get("Type") == "0"}
    check(titles == TITLES, f"titles {titles}")


def read_back(tool, wine_run, path):
    result = run(tool, wine_run, "read", windows_path(path))
    if result.returncode not in (0, 1):
        print(f"{os.path.basename(path)}: the reader ended with {result.returncode}: {result.stderr[-1000:]}")
    return result.returncode, result.stdout.splitlines()


def with_values_as_children(element):
    """The same document in the form without CompactMode: every value a child element holding its text."""
    copy = ET.Element(element.tag)
    for key, value in element.attrib.items():
        if key != "CompactMode":
            ET.SubElement(copy, key).text = value
    for child in element:
        copy.append(with_values_as_children(child))
    return copy


def damaged(tree, section_type, key, value):
    """A copy of the document with one value changed: of "Summary", or of the first section of the type."""
    root = ET.fromstring(ET.tostring(tree.getroot()))
    for section in root.find("NormalLayout"):
        if section.tag == section_type or section.get("Type") == section_type:
            section.set(key, value)
            break
    return ET.ElementTree(root)


def main():
    tool, wine_run = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as folder:
        saved = os.path.join(folder, "layout.xml")
        written = run(tool, wine_run, "write", windows_path(saved))
        check(written.returncode == 0, f"write: {written.returncode} {written.stderr[-500:]}")
        if written.returncode != 0:
            return
        tree_line = written.stdout.splitlines()[0]
        check_written(saved)
        code, lines = read_back(tool, wine_run, saved)
        check(code == 0 and lines and lines[0] == tree_line, f"own file read back as {lines[:1]}, written {tree_line}")
        own = lines

        tree = ET.parse(saved)
        for sample in tree.getroot().iter():
            if sample.get("ID") == "4004":
                sample.set("Title", "Riepiloghi per capitolo \u00e8 cos\u00ec")
        variants = {
            "rewritten.xml": tree,
            "indented.xml": ET.ElementTree(ET.fromstring(ET.tostring(tree.getroot()))),
            "children.xml": ET.ElementTree(with_values_as_children(tree.getroot())),
        }
        ET.indent(variants["indented.xml"])
        for name, variant in variants.items():
            path = os.path.join(folder, name)
            variant.write(path, encoding="utf-8", xml_declaration=True)
            code, lines = read_back(tool, wine_run, path)
            expected = [line.replace("4004 0 Riepiloghi", "4004 0 Riepiloghi per capitolo \u00e8 cos\u00ec") for line in own]
            check(code == 0 and lines == expected, f"{name} read as {lines}, expected {expected}")

        for name, section, key, value in [
            ("direction.xml", "5", "Direction", "7"),
            ("count.xml", "Summary", "Panes", "21"),
            ("type.xml", "1", "Type", "-1"),
        ]:
            path = os.path.join(folder, name)
            damaged(tree, section, key, value).write(path, encoding="utf-8", xml_declaration=True)
            code, lines = read_back(tool, wine_run, path)
            check(code == 1 and lines == ["refused"], f"{name} ({section} {key}={value}) read as {lines}")


main()
for failure in failures:
    print("FAIL:", failure)
print(f"{len(checks) - len(failures)} of {len(checks)} checks passed")
sys.exit(1 if failures else 0)
