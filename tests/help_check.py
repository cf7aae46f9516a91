"""Opens File.chm with an independent reader (extract_chmLib) and checks it against the
catalogue and the module: every condition, action and expression has its page, showing its
display string as the editor does (no leading digits) and one outcome section; an action's page
leads to the error numbers when they list the action as storing one; the contents and the index lead to
every page and article; the index answers "which Windows?", "how do I start?" and "what are the
limits?" in one step, and leads to every error by its number and its short name; the overview
names the module's version;
"Reporting a problem" gives the address the about box gives; and every link inside the file
resolves.

Usage: help_check.py File.chm catalogue.json QTFILE.qtx
"""
import html
import json
import pathlib
import re
import subprocess
import sys
import tempfile

from check_report import check, report
from release_check import record_version

LINK = re.compile(r'(?:href|src)="([^"]*)"|<param name="Local" value="([^"]*)"', re.IGNORECASE)
ARTICLES = ("overview.html", "getting-started.html", "requirements.html", "limits.html", "glossary.html",
            "errors.html", "troubleshooting.html")
INDEX_ITEM = re.compile(r'<param name="Name" value="([^"]*)">\s*<param name="Local" value="([^"]*)">', re.IGNORECASE)
# The questions a new user asks, each answered by the index in one step: the word leads to its page.
ONE_STEP = {"which Windows": ("Windows versions", "requirements.html"), "how do I start": ("getting started", "getting-started.html"),
            "what are the limits": ("limits", "limits.html"), "Windows 11": ("Windows 11", "requirements.html"),
            "Windows 95": ("Windows 95", "requirements.html"), "a word": ("short name", "glossary.html")}


def links(text):
    return [a or b for a, b in LINK.findall(text)]


def check_entry_page(name, kind, entry, page, storing):
    display = entry["display"]
    if kind == "expression":
        check(f"{name} shows the display name", True, display in page)
    else:
        check(f"{name} hides the display string's digits", False, display in page)
        text = re.sub(r"<[^>]+>", "", page)
        check(f"{name} shows the display text", True, all(piece in text for piece in display[2:].split("%s")))
    for path in entry["menus"]:
        check(f"{name} shows its menu path", True, path in page)
    body = re.sub(r'<p class="nav">.*?</p>', "", page)
    check(f"{name} has the one outcome section", ["Outcome"], re.findall(r"<h2>(Outcome|What it stores|Answer|Result)</h2>", body))
    if name in storing:
        check(f"{name} leads to the error numbers", True, 'href="errors.html' in body)


def main(chm, catalogue_path, module):
    catalogue = json.loads(pathlib.Path(catalogue_path).read_text(encoding="utf-8"))
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run(["extract_chmLib", chm, folder], check=True, stdout=subprocess.DEVNULL)
        files = {p.name: p.read_text(encoding="cp1252") for p in pathlib.Path(folder).iterdir()
                 if p.suffix in (".html", ".hhc", ".hhk", ".css")}
    contents, index = set(links(files.get("contents.hhc", ""))), set(links(files.get("index.hhk", "")))
    entries = [(kind, entry) for kind in ("condition", "action", "expression") for entry in catalogue[kind]["entries"]]
    pages = [f"{kind}{entry['code']}.html" for kind, entry in entries]
    stored_by = re.findall(r"<b>Stored by:</b>(.*?)</p>", files.get("errors.html", ""))
    storing = {link for line in stored_by for link in links(line)}
    check("the error numbers lead to the actions that store them", True, bool(storing))
    for page, (kind, entry) in zip(pages, entries):
        check_entry_page(page, kind, entry, html.unescape(files.get(page, "")), storing)
    for name in pages + list(ARTICLES):
        check(f"contents lead to {name}", True, name in contents)
        check(f"index leads to {name}", True, any(link.partition("#")[0] == name for link in index))
    words = {html.unescape(name): local for name, local in INDEX_ITEM.findall(files.get("index.hhk", ""))}
    for question, (word, page) in ONE_STEP.items():
        check(f"'{question}?': the index word '{word}' leads to {page}", page, words.get(word, "").partition("#")[0])
    for number, name in re.findall(r'<h2><a name="e(-?\d+)"></a>.*?</h2>\n(?:<p>Other programs\' messages may call it <code>(\w+)</code>)?',
                                   files.get("errors.html", "")):
        for word in [f"error {number}"] + ([name] if name else []):
            check(f"the index word '{word}' leads to its error", f"errors.html#e{number}", words.get(word))
    version = record_version(pathlib.Path(module).read_bytes())
    check("the overview names the module's version", True, f"version {version} " in files.get("overview.html", ""))
    address = catalogue["identity"]["webAddress"]
    report_section = files.get("troubleshooting.html", "").partition('name="report"')[2]
    check(f"'Reporting a problem' gives the about box's address, {address}", True, address in report_section)
    for source, text in sorted(files.items()):
        for link in links(text):
            target, _, anchor = link.partition("#")
            target = target or source
            check(f"{source} links to {link}", True, target in files and
                  (not anchor or f'name="{anchor}"' in files[target]))
    return report("help_check")


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
