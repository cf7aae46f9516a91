"""Includes run one way, from higher folders of src/ to lower ones: the host's records, the
module's identity, the object's state, the handlers, and the catalogue that names them all.

Usage: include_layers.py SRC_FOLDER
Lists every include that crosses folders and fails on one that climbs.
"""
import pathlib
import re
import sys

from check_report import check, report

# Lowest first; folders on one rank do not include each other. fileops answers what a name
# is for info's version expressions, so it sits a rank below the other handlers.
LAYERS = ["resources", "host", "module", "state", "fileops", "launcher selector info", "catalogue"]
RANK = {folder: rank for rank, folders in enumerate(LAYERS) for folder in folders.split()}
INCLUDE = re.compile(r'^#include "([a-z_]+)/', re.M)


def main(source):
    for path in sorted(pathlib.Path(source).rglob("*")):
        if path.suffix not in (".h", ".cpp", ".rc"):
            continue
        folder = path.relative_to(source).parts[0]
        for target in INCLUDE.findall(path.read_text(errors="replace")):
            if target == folder:
                continue
            print(f"{path.relative_to(source)} -> {target}")
            check(f"{path.relative_to(source)} includes {target}/: a folder of the same rank or below",
                  True, RANK.get(target, len(LAYERS)) < RANK.get(folder, -1))
    return report("include_layers")


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
