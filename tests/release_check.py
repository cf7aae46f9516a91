"""Checks the release archive of a build folder: one QTFILE-VERSION.zip whose version is the
module's version record's, holding QTFILE.qtx and qtxhost.exe byte for byte as built, File.chm
as built, the repository's licence as LICENSE.txt and change log as CHANGES.txt, and two texts
whose every underline is as long as its heading: QTXHOST.txt, qtxhost's guide, which gives its
command line, and README.txt, which names every file and says where the files go, how to
upgrade and what a report of a problem holds.

Usage: release_check.py BUILD_FOLDER REPOSITORY
"""
import pathlib
import re
import sys
import zipfile

import pefile

from check_report import check, report

BUILT = ["File.chm", "QTFILE.qtx", "qtxhost.exe"]                 # byte for byte the build's
FROM_REPOSITORY = {"LICENSE.txt": "LICENSE", "CHANGES.txt": "CHANGELOG.md"}
NAMES = sorted(BUILT + list(FROM_REPOSITORY) + ["QTXHOST.txt", "README.txt"])
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


def main(build, repository):
    module = pathlib.Path(build, "QTFILE.qtx").read_bytes()
    archives = sorted(pathlib.Path(build).glob("QTFILE-*.zip"))
    check("archives in the build folder", [f"QTFILE-{record_version(module)}.zip"], [a.name for a in archives])
    if not archives:
        return report("release_check")
    with zipfile.ZipFile(archives[0]) as archive:
        check("names in the archive", NAMES, sorted(archive.namelist()))
        contents = {name: archive.read(name) for name in NAMES if name in archive.namelist()}
    for name in BUILT:
        check(f"{name} is the build's", True, contents.get(name) == pathlib.Path(build, name).read_bytes())
    for name, source in FROM_REPOSITORY.items():
        check(f"{name} is the repository's {source}", text_lines(pathlib.Path(repository, source).read_bytes()),
              text_lines(contents.get(name, b"")))
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
    sys.exit(main(*sys.argv[1:]))
