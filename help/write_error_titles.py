"""Writes a C++ header of the error table's titles, for qtxhost to say what a stored number means
in the help's own words.

Usage: write_error_titles.py PROSE_FOLDER HEADER
"""
import pathlib
import sys

from help_prose import read_error_table


def header(rows):
    lines = ["// Written by help/write_error_titles.py from help/prose/errors.txt: do not edit.",
             "#pragma once", "", "struct ErrorTitle {", "    long number;", "    const char* title;", "};", "",
             "constexpr ErrorTitle ERROR_TITLES[] = {"]
    for number, row in sorted((k, v) for k, v in rows.items() if isinstance(k, int)):
        title = row["name"].replace("\\", "\\\\").replace('"', '\\"')
        lines.append(f'    {{{number}, "{title}"}},')
    return "\n".join(lines + ["};", ""])


def main(prose, target):
    _, rows, errors = read_error_table(prose)
    if errors:
        sys.exit("\n".join(f"write_error_titles: {error}" for error in errors))
    pathlib.Path(target).write_text(header(rows))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(*sys.argv[1:])
