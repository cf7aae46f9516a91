"""Checks the release archive of a build folder: one QTFILE-VERSION.zip whose version is the
module's version record's, holding in one folder QTFILE-VERSION QTFILE.qtx and qtxhost.exe byte
for byte as built, File.chm as built, the repository's licence as LICENSE.txt, its change log as
CHANGES.txt (plain text, every version dated, every entry's words there), and two texts
whose every underline is as long as its heading: QTXHOST.txt, qtxhost's guide, which gives its
command line and lists every command of qtxhost's description, each command a shipped script
uses among them, and README.txt, which names every file and says where the files go, how to
upgrade and what a report of a problem holds. The folder examples holds the help's ready
scripts, as the help's build wrote them, and the tour.

Usage: release_check.py BUILD_FOLDER REPOSITORY EXAMPLES_FOLDER
"""
import pathlib
import re
import sys
import zipfile

import pefile

from check_report import check, report

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "qtxhost" / "commands"))
from write_commands import read_groups  # noqa: E402

BUILT = ["File.chm", "QTFILE.qtx", "qtxhost.exe"]                 # byte for byte the build's
FROM_REPOSITORY = {"LICENSE.txt": "LICENSE"}
LOG_ENTRY = re.compile(r"^- (.*(?:\n(?!- |#).+)*)", re.M)   # an entry of CHANGELOG.md with its lines
DATED_VERSION = re.compile(r"^\d+\.\d+\.\d+ \(\d{4}-\d{2}-\d{2}\)$")
NAMES = sorted(BUILT + list(FROM_REPOSITORY) + ["CHANGES.txt", "QTXHOST.txt", "README.txt"])
# What each text must say, section by section: (heading, words the section holds).
SAYS = {"README.txt": [("Installing", r"folder Extensions"), ("Upgrading", r"over the old ones"),
                       ("Reporting a problem", r"version(.|\n)*Windows version(.|\n)*qtxhost script")],
        "QTXHOST.txt": [("Running it", r"qtxhost\.exe --scratch run QTFILE\.qtx \S+\.qtxs")]}


def record_version(module):
    info = pefile.PE(data=module).VS_FIXEDFILEINFO[0]
    return f"{info.FileVersionMS >> 16}.{info.FileVersionMS & 0xFFFF}.{info.FileVersionLS >> 16}"


def text_lines(data):
    return data.decode("utf-8").splitlines()


def sections(text):
    """{heading: body} of a text whose headings are underlined with = or -."""
    parts = re.split(r"^(.+)\n[=-]+$", text, flags=re.M)
    return dict(zip(parts[1::2], parts[2::2]))


def words(text):
    return re.sub(r"\s+", " ", text.replace("`", "")).strip()


def check_changes(changes, log):
    """Plain text for users: no markdown, each version heading dated, each entry's words there."""
    text = changes.decode("cp1252").replace("\r\n", "\n")
    lines = text.splitlines()
    check("CHANGES.txt: no markdown marks", [], [line for line in lines if line.startswith("#") or "`" in line])
    headings = [lines[i - 1] for i, line in enumerate(lines) if i and re.fullmatch(r"-+", line)]
    check("CHANGES.txt: versions, each with its date", [True] * len(headings) or [True],
          [bool(DATED_VERSION.fullmatch(h)) for h in headings] or [False])
    missing = [entry[:60] for entry in LOG_ENTRY.findall(log) if words(entry) not in words(text)]
    check("CHANGES.txt: every entry of CHANGELOG.md", [], missing)


def check_guide(guide, scripts, repository):
    """The guide lists every command of qtxhost's description, and each command a script uses."""
    listed = sections(guide).get("Every command", "")
    groups = read_groups(pathlib.Path(repository, "qtxhost", "commands", "commands.txt"))
    usages = [usage for _, rows in groups for usage, _ in rows]
    check("QTXHOST.txt lists every command described", [], [u for u in usages if f"  {u}\n" not in listed + "\n"])
    used = {line.split()[0] if line.split()[0] != "let" else line.split()[3] for text in scripts.values()
            for line in text.decode("cp1252").splitlines() if line.strip() and not line.startswith("#")}
    names = {usage.split()[0] for usage in usages}
    check("QTXHOST.txt lists each command the shipped scripts use", [], sorted(used - names))


def main(build, repository, examples):
    module = pathlib.Path(build, "QTFILE.qtx").read_bytes()
    shipped = {f"examples/{p.name}": p.read_bytes() for p in sorted(pathlib.Path(examples).glob("*.qtxs"))}
    shipped["examples/tour.qtxs"] = pathlib.Path(repository, "examples", "tour.qtxs").read_bytes()
    archives = sorted(pathlib.Path(build).glob("QTFILE-*.zip"))
    check("archives in the build folder", [f"QTFILE-{record_version(module)}.zip"], [a.name for a in archives])
    if not archives:
        return report("release_check")
    folder = archives[0].stem + "/"
    with zipfile.ZipFile(archives[0]) as archive:
        check("names in the archive, in one folder named for the version", sorted(folder + n for n in NAMES + list(shipped)),
              sorted(n for n in archive.namelist() if not n.endswith("/")))
        contents = {name: archive.read(folder + name) for name in NAMES + list(shipped) if folder + name in archive.namelist()}
    check("the shipped scripts are the help's and the tour", [], [n for n, data in shipped.items() if contents.get(n) != data])
    check_guide(contents.get("QTXHOST.txt", b"").decode("cp1252").replace("\r\n", "\n"), shipped, repository)
    for name in BUILT:
        check(f"{name} is the build's", True, contents.get(name) == pathlib.Path(build, name).read_bytes())
    for name, source in FROM_REPOSITORY.items():
        check(f"{name} is the repository's {source}", text_lines(pathlib.Path(repository, source).read_bytes()),
              text_lines(contents.get(name, b"")))
    check_changes(contents.get("CHANGES.txt", b""), pathlib.Path(repository, "CHANGELOG.md").read_text(encoding="utf-8"))
    read_me = contents.get("README.txt", b"").decode("cp1252")
    check("the read-me names every file", [], [name for name in NAMES if name not in read_me])
    for name, says in SAYS.items():
        text = contents.get(name, b"").decode("cp1252").replace("\r\n", "\n")
        lines = text.splitlines()
        underlines = [(lines[i - 1], line) for i, line in enumerate(lines) if i and re.fullmatch(r"=+|-+", line)]
        check(f"{name}: every underline as long as its heading", [],
              [heading for heading, line in underlines if len(line) != len(heading)])
        found = sections(text)
        for heading, words in says:
            check(f"{name}: '{heading}' says {words}", True, bool(re.search(words, found.get(heading, ""))))
    return report("release_check")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
