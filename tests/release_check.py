#!/usr/bin/python3
"""Checks the release archive of a build folder: one QTFILE-VERSION.zip whose version is the
module's version record's, holding QTFILE.qtx byte for byte as built, File.chm as built, the
repository's licence as LICENSE.txt and a README.txt that names all four files.

Usage: release_check.py BUILD_FOLDER LICENSE
"""
import pathlib
import sys
import zipfile

import pefile

from check_report import check, report

NAMES = ["File.chm", "LICENSE.txt", "QTFILE.qtx", "README.txt"]


def record_version(module):
    info = pefile.PE(data=module).VS_FIXEDFILEINFO[0]
    return f"{info.FileVersionMS >> 16}.{info.FileVersionMS & 0xFFFF}.{info.FileVersionLS >> 16}"


def text_lines(data):
    return data.decode("utf-8").splitlines()


def main(build, licence):
    module = pathlib.Path(build, "QTFILE.qtx").read_bytes()
    archives = sorted(pathlib.Path(build).glob("QTFILE-*.zip"))
    check("archives in the build folder", [f"QTFILE-{record_version(module)}.zip"], [a.name for a in archives])
    if archives:
        with zipfile.ZipFile(archives[0]) as archive:
            check("names in the archive", NAMES, sorted(archive.namelist()))
            contents = {name: archive.read(name) for name in NAMES if name in archive.namelist()}
        check("the archived module is the built one", True, contents.get("QTFILE.qtx") == module)
        check("File.chm is the build's", True, contents.get("File.chm") == pathlib.Path(build, "File.chm").read_bytes())
        check("LICENSE.txt is the repository's licence", text_lines(pathlib.Path(licence).read_bytes()),
              text_lines(contents.get("LICENSE.txt", b"")))
        read_me = contents.get("README.txt", b"").decode("cp1252")
        check("the read-me names every file", [], [name for name in NAMES if name not in read_me])
    return report("release_check")


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
