#!/usr/bin/python3
"""Opens File.chm with an independent reader (extract_chmLib) and checks it against the
catalogue the module reports: every condition, action and expression has its page, the
contents and the index lead to each of them, and every link inside the file resolves.

Usage: help_check.py File.chm catalogue.json
"""
import html
import json
import pathlib
import re
import subprocess
import sys
import tempfile

from check_report import check, report

LINK = re.compile(r'(?:href|src)="([^"]*)"|<param name="Local" value="([^"]*)"', re.IGNORECASE)


def links(text):
    return [a or b for a, b in LINK.findall(text)]


def main(chm, catalogue_path):
    catalogue = json.loads(pathlib.Path(catalogue_path).read_text(encoding="utf-8"))
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run(["extract_chmLib", chm, folder], check=True, stdout=subprocess.DEVNULL)
        files = {p.name: p.read_text(encoding="cp1252") for p in pathlib.Path(folder).iterdir()
                 if p.suffix in (".html", ".hhc", ".hhk", ".css")}
    contents, index = set(links(files.get("contents.hhc", ""))), set(links(files.get("index.hhk", "")))
    for kind in ("condition", "action", "expression"):
        for entry in catalogue[kind]["entries"]:
            name = f"{kind}{entry['code']}.html"
            page = html.unescape(files.get(name, ""))
            check(f"{name} shows the display string", True, entry["display"] in page)
            for path in entry["menus"]:
                check(f"{name} shows its menu path", True, path in page)
            check(f"contents lead to {name}", True, name in contents)
            check(f"index leads to {name}", True, name in index)
    for source, text in sorted(files.items()):
        for link in links(text):
            target, _, anchor = link.partition("#")
            check(f"{source} links to {link}", True, target in files and
                  (not anchor or f'name="{anchor}"' in files[target]))
    return report("help_check")


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
