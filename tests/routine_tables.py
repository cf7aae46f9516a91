"""The routine tables' rows name, for each code, the entry and the file that holds its handler: a
reader finds a handler from its code in one step. This keeps those names true: each row's number
is its place in its table, and the file it names defines that handler.
Usage: routine_tables.py SRC_FOLDER
"""
import pathlib
import re
import sys

from check_report import check, report

TABLE = re.compile(r"^const \w+ (\w+)\[", re.M)
ROW = re.compile(r"^\s+(\w+),\s*// (\d+) .*, ([\w/]+\.cpp)$", re.M)


def main(source):
    source = pathlib.Path(source)
    text = (source / "catalogue" / "routine_tables.cpp").read_text()
    starts = [(match.start(), match.group(1)) for match in TABLE.finditer(text)]
    check("routine tables found", 3, len(starts))
    for number, (start, table) in enumerate(starts):
        end = starts[number + 1][0] if number + 1 < len(starts) else len(text)
        for place, (handler, code, file) in enumerate(ROW.findall(text[start:end])):
            check(f"{table} row {place}: its code", place, int(code))
            path = source / file
            defined = path.is_file() and re.search(rf"\bWINAPI {handler}\(", path.read_text()) is not None
            check(f"{table} row {place}: {file} defines {handler}", True, defined)
    return report("routine_tables")


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
