#!/usr/bin/python3
"""Checks the stdcall decorations of the 32-bit objects: every export of the module
definition file, and every handler the three routine tables point at, must be a
symbol _Name@N whose N is the byte count of its arguments (4 bytes each).

Usage: stdcall_check.py OBJECT_FOLDER [DEF_FILE]
OBJECT_FOLDER is the build folder's src/CMakeFiles/qtfile_code.dir; DEF_FILE defaults
to src/module/QTFILE.def of this checkout. Exits 1 on any mismatch.
"""
import os
import re
import subprocess
import sys

from check_report import check, report

NM = "i686-w64-mingw32-nm"
DEFAULT_DEF = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "module", "QTFILE.def")

# Export name: number of 32-bit arguments.
EXPORT_ARGUMENTS = {
    "GetInfos": 1, "CreateObject": 3, "GetHelpFileName": 0, "GetObjectRect": 4, "GetObjInfos": 7,
    "CreateRunObject": 3, "DestroyRunObject": 2, "HandleRunObject": 1, "DisplayRunObject": 1,
    "ReInitRunObject": 1, "PauseRunObject": 1, "ContinueRunObject": 1, "GetRunObjectInfos": 2,
    "GetConditionMenu": 3, "GetActionMenu": 3, "GetExpressionMenu": 3,
    "GetConditionCodeFromMenu": 2, "GetActionCodeFromMenu": 2, "GetExpressionCodeFromMenu": 2,
    "GetConditionString": 4, "GetActionString": 4, "GetExpressionString": 4,
    "GetConditionTitle": 5, "GetActionTitle": 5, "GetExpressionTitle": 4,
    "GetConditionInfos": 2, "GetActionInfos": 2, "GetExpressionInfos": 2,
    "UpdateEditStructure": 2, "GetRunObjectDataSize": 2, "GetExpressionParam": 5,
    "SaveRunObject": 2, "LoadRunObject": 2,
}

# Routine-table object (relative to the object folder): bytes each of its handlers removes.
ROUTINE_TABLES = {
    "catalogue/condition_routines.cpp.obj": 12,   # RunData*, two parameters
    "catalogue/action_routines.cpp.obj": 12,      # RunData*, two parameters
    "catalogue/expression_routines.cpp.obj": 8,   # RunData*, token
}

# Undefined symbols of the compiler and runtime rather than handlers.
RUNTIME_SYMBOL = re.compile(r"__imp_.*|___.*|_(memcpy|memset|memmove|alloca|_chkstk_ms)")
STDCALL = re.compile(r"_(?P<name>[A-Za-z0-9_]+)@(?P<bytes>\d+)")

def symbols(path):
    """(global code symbols defined, symbols referenced) of one object, as nm prints them."""
    out = subprocess.run([NM, path], capture_output=True, text=True, check=True).stdout
    defined, undefined = set(), set()
    for line in out.splitlines():
        parts = line.split()
        if len(parts) == 2 and parts[0] == "U":
            undefined.add(parts[1])
        elif len(parts) == 3 and parts[1] == "T":
            defined.add(parts[2])
    return defined, undefined


def def_exports(path):
    """Export name: the routine it is bound to (itself, or the target of an alias)."""
    exports, in_exports = {}, False
    with open(path) as source:
        for line in source:
            line = line.split(";")[0].strip()
            if line.upper().startswith("EXPORTS"):
                in_exports = True
            elif in_exports and line:
                match = re.match(r"(\w+)\s*(?:=\s*(\w+))?", line)
                exports[match.group(1)] = match.group(2) or match.group(1)
    return exports


def decorated_bytes(name, defined):
    """The N of every _name@N defined in some object, or the plain name if undecorated."""
    found = sorted(int(m["bytes"]) for s in defined if (m := STDCALL.fullmatch(s)) and m["name"] == name)
    if found:
        return found
    return [f"undecorated {s}" for s in defined if s in (name, "_" + name)] or "no definition"


def check_exports(exports, defined):
    for name in sorted(EXPORT_ARGUMENTS.keys() | exports.keys()):
        if name not in exports or name not in EXPORT_ARGUMENTS:
            listed = {True: "listed", False: "not listed"}
            check(f"export {name} in the definition file", listed[name in EXPORT_ARGUMENTS], listed[name in exports])
            continue
        routine = exports[name]
        via = f" (alias of {routine})" if routine != name else ""
        check(f"export {name}{via}: argument bytes N of _{routine}@N", [4 * EXPORT_ARGUMENTS[name]],
              decorated_bytes(routine, defined))


def check_routine_table(folder, table, handler_bytes, defined):
    path = os.path.join(folder, table)
    if not os.path.exists(path):
        check(f"routine table object {table}", "present", "absent")
        return
    handlers = sorted(s for s in symbols(path)[1] if not RUNTIME_SYMBOL.fullmatch(s))
    check(f"{table}: references some handler", True, bool(handlers))
    for symbol in handlers:
        match = STDCALL.fullmatch(symbol)
        found = int(match["bytes"]) if match else "not stdcall-decorated"
        check(f"{table}: handler {symbol} removes N bytes", handler_bytes, found)
        if match:
            check(f"{table}: handler {symbol} defined in some object", True, symbol in defined)


def main(folder, def_path):
    objects = [os.path.join(root, name) for root, _, names in os.walk(folder)
               for name in names if name.endswith(".obj")]
    check(f"objects under {folder}", True, bool(objects))
    defined = set().union(*(symbols(path)[0] for path in objects))
    check_exports(def_exports(def_path), defined)
    for table, handler_bytes in ROUTINE_TABLES.items():
        check_routine_table(folder, table, handler_bytes, defined)
    return report("stdcall_check")


if __name__ == "__main__":
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2] if len(sys.argv) == 3 else DEFAULT_DEF))
