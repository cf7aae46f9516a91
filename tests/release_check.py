#!/usr/bin/python3
"""Checks the release archive of a build folder: one QTFILE-VERSION.zip whose version is the
module's version record's, holding QTFILE.qtx byte for byte as built, File.chm and README.txt.

Usage: release_check.py BUILD_FOLDER
"""
import pathlib
import sys
import zipfile

import pefile

from check_report import check, report


def record_version(module):
    info = pefile.PE(data=module).VS_FIXEDFILEINFO[0]
    return f"{info.FileVersionMS >> 16}.{info.FileVersionMS & 0xFFFF}.{info.FileVersionLS >> 16}"


def main(build):
    module = pathlib.Path(build, "QTFILE.qtx").read_bytes()
    archives = sorted(pathlib.Path(build).glob("QTFILE-*.zip"))
    check("archives in the build folder", [f"QTFILE-{record_version(module)}.zip"], [a.name for a in archives])
    if archives:
        with zipfile.ZipFile(archives[0]) as archive:
            check("names in the archive", ["File.chm", "QTFILE.qtx", "README.txt"], sorted(archive.namelist()))
            check("the archived module is the built one", True, archive.read("QTFILE.qtx") == module)
            check("File.chm is the build's", True,
                  archive.read("File.chm") == pathlib.Path(build, "File.chm").read_bytes())
            check("the read-me names both files", True,
                  all(name in archive.read("README.txt").decode() for name in ("QTFILE.qtx", "File.chm")))
    return report("release_check")


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
