"""Checks the 32-bit module file and the objects it is linked from: headers, exports (ordinals,
aliases, stdcall argument bytes), imports (each on windows_imports.py's list, on Windows 95 and
NT 4.0), no TLS directory and nothing in the objects that only runtime start-up code would run,
the routine tables' handlers, and resources against the scripts they are compiled from
(src/resources/*.rc, the drawn bitmap, the version record's flags and strings) and the
diskette's picture pixel by pixel. The version numbers are module_test's, on both builds.

Usage: pe_file_check.py NM QTFILE.qtx OBJECT_FOLDER DEF_FILE
NM is the toolchain's nm, OBJECT_FOLDER the 32-bit build's src/CMakeFiles/qtfile_code.dir.
Prints one line per failed check and a summary; exits 1 on any failure.
"""
import itertools
import os
import re
import struct
import subprocess
import sys

import pefile

from check_report import check, report
from windows_imports import IMPORTS, LOOKED_UP_AT_RUN_TIME, PLATFORM_CALL_COUNT, TARGET_9X, TARGET_NT


# Export: (ordinal, number of 32-bit arguments): the host's interface, not read from the .def.
EXPORTS = {
    "GetInfos": (2, 1), "CreateObject": (14, 3), "GetHelpFileName": (16, 0), "GetObjectRect": (19, 4),
    "GetObjInfos": (36, 7), "CreateRunObject": (50, 3), "DestroyRunObject": (51, 2),
    "HandleRunObject": (52, 1), "DisplayRunObject": (53, 1), "ReInitRunObject": (56, 1),
    "PauseRunObject": (57, 1), "ContinueRunObject": (58, 1), "GetRunObjectInfos": (59, 2),
    "GetConditionMenu": (60, 3), "GetActionMenu": (61, 3), "GetExpressionMenu": (62, 3),
    "GetConditionCodeFromMenu": (63, 2), "GetActionCodeFromMenu": (64, 2),
    "GetExpressionCodeFromMenu": (65, 2), "GetConditionString": (66, 4), "GetActionString": (67, 4),
    "GetExpressionString": (68, 4), "GetConditionTitle": (72, 5), "GetActionTitle": (73, 5),
    "GetExpressionTitle": (74, 4), "GetConditionInfos": (75, 2), "GetActionInfos": (76, 2),
    "GetExpressionInfos": (77, 2), "UpdateEditStructure": (78, 2), "GetRunObjectDataSize": (80, 2),
    "GetExpressionParam": (89, 5), "SaveRunObject": (90, 2), "LoadRunObject": (91, 2),
}
SHARED_ROUTINE = ("DisplayRunObject", "ReInitRunObject", "PauseRunObject", "ContinueRunObject")
MODULE_NAME, ORDINAL_BASE, ORDINAL_SLOTS, LANGUAGE = "QTFILE.qtx", 2, 90, 1033
SYSTEM_DLL = re.compile(r"(kernel32|user32|gdi32|comdlg32|shell32|ole32|oleaut32|version|msvcrt"
                        r"|advapi32|ntdll|api-ms-win-[a-z0-9-]+)\.dll", re.IGNORECASE)

# The routine tables' object, and the bytes each kind of handler removes: RunData* and two
# parameters for conditions and actions, RunData* and a token for expressions.
ROUTINE_TABLES = "catalogue/routine_tables.cpp.obj"
HANDLER_BYTES = {"Condition": 12, "Action": 12, "Expression": 8}
# What only runtime start-up code would run, which the module links without: static constructors
# and destructors, atexit routines, thread-local data.
START_UP_NEEDS = re.compile(r"\.ctors.*|\.dtors.*|\.CRT\$.*|\.tls.*|__GLOBAL__sub_[ID]_.*|_atexit|__onexit"
                            r"|___cxa_atexit|___emutls_.*|__tls_.*")
OLDEST_TARGETS = "Windows 95 and NT 4.0"   # the oldest the module is made for
IMAGE_DIRECTORY_ENTRY_TLS = 9
RUNTIME_SYMBOL = re.compile(r"__imp_.*|___.*|_(memcpy|memset|memmove|alloca|_chkstk_ms)")
STDCALL = re.compile(r"_(?P<name>[A-Za-z0-9_]+)@(?P<bytes>\d+)")

RT_BITMAP, RT_MENU, RT_STRING, RT_RCDATA, RT_VERSION = 2, 4, 6, 10, 16
RESOURCES = {(RT_BITMAP, 400), (RT_BITMAP, 401), (RT_MENU, 20000), (RT_MENU, 20001),
             (RT_MENU, 20002), (RT_RCDATA, 200), (RT_VERSION, 1)}     # string blocks apart
RCDATA_200 = "16 25 08 59"
BITMAP_HEADER = (40, 32, 32, 1, 24, 0)   # size, width, height (positive: rows bottom-up), planes, bits, compression
# The picture as a person sees it, x from the left and y from the top: a red diskette on magenta,
# its corner cut at the top right, the metal shutter at the top, the paper label at the bottom.
DISKETTE = [((0, 0), "magenta"), ((31, 31), "magenta"), ((29, 2), "magenta"), ((2, 2), "red"),
            ((2, 29), "red"), ((29, 29), "red"), ((4, 4), "red"), ((4, 26), "red"), ((12, 5), "grey"),
            ((18, 6), "grey"), ((15, 16), "white"), ((10, 18), "grey")]
RC_TEXT = r'"((?:[^"]|"")*)"'            # a quoted text of a resource script ("" is one quote)


def rc_text(quoted):
    return quoted.replace('""', '"')


def check_sequence(case, expected, found):
    """Only the first difference: the items after it are shifted."""
    pairs = list(itertools.zip_longest(expected, found, fillvalue="(nothing)"))
    first = next((i for i, (want, got) in enumerate(pairs) if want != got), None)
    check(f"{case}, item {first}", *(pairs[first] if first is not None else (0, 0)))


def check_exports(pe, def_exports, defined):
    table = pe.DIRECTORY_ENTRY_EXPORT.struct
    check("export directory name", MODULE_NAME, pe.get_string_at_rva(table.Name).decode())
    check("export ordinal base and slots", (ORDINAL_BASE, ORDINAL_SLOTS), (table.Base, table.NumberOfFunctions))
    slots = {e.ordinal: e.address for e in pe.DIRECTORY_ENTRY_EXPORT.symbols}
    named = {e.name.decode(): e.ordinal for e in pe.DIRECTORY_ENTRY_EXPORT.symbols if e.name}
    for name in sorted(EXPORTS.keys() | named.keys() | def_exports.keys()):
        ordinal, arguments = EXPORTS.get(name, ("no such export", 0))
        check(f"ordinal of export {name}", ordinal, named.get(name, "absent"))
        check(f"export {name} has an address", True, slots.get(named.get(name), 0) != 0)
        routine = def_exports.get(name, "(not in the definition file)")
        bytes_found = sorted(int(m["bytes"]) for s in defined if (m := STDCALL.fullmatch(s)) and m["name"] == routine)
        check(f"export {name} bound to {routine}: N of _{routine}@N", [4 * arguments], bytes_found)
    check("unnamed ordinal slots with an address", [],
          sorted(o for o, rva in slots.items() if rva and o not in named.values()))
    shared = {slots.get(named.get(name), 0) for name in SHARED_ROUTINE}
    check("exports at the shared idle routine's address", sorted(SHARED_ROUTINE),
          sorted(n for n, o in named.items() if slots.get(o) in shared - {0}) if len(shared) == 1 else shared)


def oldest_windows(dll, name):
    """The oldest Windows windows_imports.py gives for an import, or why it may not be imported."""
    if name in LOOKED_UP_AT_RUN_TIME.get(dll.lower(), ()):
        return "none: looked up at run time, never imported"
    row = IMPORTS.get(dll.lower(), {}).get(name)
    if not row:
        return "not listed in tests/windows_imports.py"
    windows_9x, windows_nt, _ = row
    return OLDEST_TARGETS if windows_9x == TARGET_9X and windows_nt in TARGET_NT else f"Windows {windows_9x} and NT {windows_nt}"


def check_oldest_windows(pe):
    """What the oldest Windows needs to load the file: its imports, versions, no TLS directory."""
    imported = set()
    for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []) + getattr(pe, "DIRECTORY_ENTRY_DELAY_IMPORT", []):
        dll = entry.dll.decode()
        check(f"imported DLL {dll} is a Windows system DLL", True, bool(SYSTEM_DLL.fullmatch(dll)))
        for function in entry.imports:
            name = function.name.decode() if function.name else f"ordinal {function.ordinal}"
            imported.add((dll.lower(), name))
            check(f"import {name} from {dll}, oldest Windows", OLDEST_TARGETS, oldest_windows(dll, name))
    # A stale list would let a call back in unchecked, and hides what the module really needs.
    check("listed in tests/windows_imports.py, imported by nothing", [],
          sorted(f"{dll}!{name}" for dll, names in IMPORTS.items() for name in names if (dll, name) not in imported))
    check("rows of the table of calls looked up at run time, as read by tests/windows_imports.py",
          PLATFORM_CALL_COUNT, sum(len(names) for names in LOOKED_UP_AT_RUN_TIME.values()))
    header, tls = pe.OPTIONAL_HEADER, pe.OPTIONAL_HEADER.DATA_DIRECTORY[IMAGE_DIRECTORY_ENTRY_TLS]
    check("operating system and subsystem versions", ((4, 0), (4, 0)),
          ((header.MajorOperatingSystemVersion, header.MinorOperatingSystemVersion),
           (header.MajorSubsystemVersion, header.MinorSubsystemVersion)))
    check("TLS directory (Windows 95 loads no library that has one)", (0, 0), (tls.VirtualAddress, tls.Size))


def check_start_up_needs(symbols):
    for path, (_, _, names) in sorted(symbols.items()):
        check(f"{os.path.basename(path)}: what only runtime start-up code would run", [],
              sorted(n for n in names if START_UP_NEEDS.fullmatch(n)))


def nm_symbols(nm, paths):
    """Object: (global code symbols defined, symbols referenced, every symbol), from one run of nm."""
    lines = subprocess.run([nm, "-A"] + paths, capture_output=True, text=True, check=True).stdout
    symbols = {path: (set(), set(), set()) for path in paths}
    for line in lines.splitlines():
        path, _, rest = line.rpartition(".obj:")
        parts = rest.split()
        if len(parts) == 3 and parts[1] == "T":
            symbols[path + ".obj"][0].add(parts[2])
        elif len(parts) == 2 and parts[0] == "U":
            symbols[path + ".obj"][1].add(parts[1])
        if parts:
            symbols[path + ".obj"][2].add(parts[-1])
    return symbols


def check_routine_tables(folder, symbols, defined):
    referenced = symbols.get(os.path.join(folder, ROUTINE_TABLES), (set(), set(), set()))[1]
    handlers = sorted(s for s in referenced if not RUNTIME_SYMBOL.fullmatch(s))
    for kind in HANDLER_BYTES:
        check(f"{ROUTINE_TABLES}: references some {kind.lower()} handler", True,
              any(s.startswith("_" + kind) for s in handlers))
    for symbol in handlers:
        match = STDCALL.fullmatch(symbol)
        kind = next((k for k in HANDLER_BYTES if match and match["name"].startswith(k)), None)
        check(f"{ROUTINE_TABLES}: handler {symbol} removes N bytes", HANDLER_BYTES.get(kind),
              int(match["bytes"]) if match else None)
        check(f"{ROUTINE_TABLES}: handler {symbol} defined in some object", True, symbol in defined)


def read_def(path):
    """Export name: the routine it is bound to (itself, or the target of an alias)."""
    text = open(path).read().split("EXPORTS", 1)[1]
    return {m[1]: m[2] or m[1] for m in re.finditer(r"^\s*(\w+)\s*(?:=\s*(\w+))?", text, re.MULTILINE)}


def colour_name(red, green, blue):   # any shade of red or grey counts as such
    return {(255, 0, 255): "magenta", (255, 255, 255): "white"}.get((red, green, blue)) or (
        "red" if red >= 128 and green <= 64 and blue <= 64 else "grey" if red == green == blue else f"other {red, green, blue}")


def check_bitmaps(resources, drawn_path):
    data = resources.get((RT_BITMAP, 400), b"")
    check_sequence("bitmap 401 as bitmap 400, byte by byte", data, resources.get((RT_BITMAP, 401), b""))
    check_sequence("bitmap 400 as diskette.bmp after its 14-byte file header, byte by byte",
                   open(drawn_path, "rb").read()[14:], data)
    check("bitmap 400 header", BITMAP_HEADER, struct.unpack_from("<IiiHHI", data) if len(data) >= 20 else None)
    for (x, y), expected in DISKETTE:
        at = 40 + (31 - y) * 96 + x * 3                  # rows of 96 bytes from the bottom, B G R
        found = colour_name(data[at + 2], data[at + 1], data[at]) if len(data) >= at + 3 else "(no pixel)"
        check(f"bitmap 400 pixel at x {x}, y {y} from the top", expected, found)


def rc_menus(script, ids):
    """Menu id: its lines (as parse_menu gives them) from the MENU blocks of a resource script."""
    menus, lines, depth = {}, None, 0
    for line in open(script):
        words = line.split()
        if len(words) == 2 and words[1] == "MENU":
            menus[ids[words[0]]] = lines = []
        elif words[:1] == ["BEGIN"]:
            depth += 1
        elif words[:1] == ["END"]:
            depth -= 1
        elif words[:2] == ["MENUITEM", "SEPARATOR"]:
            lines.append("  " * (depth - 1) + "separator")
        elif m := re.match(rf'\s*POPUP {RC_TEXT}', line):
            lines.append("  " * (depth - 1) + f"popup {rc_text(m[1])!r}")
        elif m := re.match(rf'\s*MENUITEM {RC_TEXT},\s*(\w+)', line):
            lines.append("  " * (depth - 1) + f"{ids.get(m[2], m[2])} {rc_text(m[1])!r}")
    return menus


def parse_menu(data, pos, depth, lines):
    """Reads one level of a standard menu template, one line per item, indented by depth."""
    while pos + 2 <= len(data):
        (flags,) = struct.unpack_from("<H", data, pos)
        popup = flags & 0x10
        item_id = None if popup else struct.unpack_from("<H", data, pos + 2)[0]
        pos += 2 if popup else 4
        end = next(e for e in range(pos, len(data) + 2, 2) if data[e:e + 2] in (b"\0\0", b""))
        text, pos = data[pos:end].decode("utf-16-le"), end + 2
        other = flags & ~0x90
        extra = f" flags=0x{other:x}" if other else ""
        if popup:
            lines.append("  " * depth + f"popup {text!r}{extra}")
            pos = parse_menu(data, pos, depth + 1, lines)
        elif item_id == 0 and text == "" and other in (0, 0x800):
            lines.append("  " * depth + "separator")
        else:
            lines.append("  " * depth + f"{item_id} {text!r}{extra}")
        if flags & 0x80:
            return pos
    lines.append("  " * depth + "(level not closed)")
    return pos


def check_menu(rid, data, expected):
    version, header_size = struct.unpack_from("<HH", data) if len(data) >= 4 else (None, 0)
    check(f"menu {rid} template version (0: standard menu)", 0, version)
    found = []
    if version == 0:
        parse_menu(data, 4 + header_size, 0, found)
    check_sequence(f"menu {rid} as menus.rc gives it, line by line (indent = popup depth)", expected, found)


def check_strings(strings, script, ids):
    expected = {int(ids.get(m[1], m[1])): rc_text(m[2])
                for m in re.finditer(rf'^\s*(\w+)\s+{RC_TEXT}\s*$', open(script).read(), re.MULTILINE)}
    check("string table ids as strings.rc gives them", sorted(expected), sorted(strings))
    for sid in sorted(expected):
        check(f"string {sid}", expected[sid], strings.get(sid, "(absent)"))


def check_version_record(pe, script):
    """The fixed flags and the literal strings of version.rc, as the file carries them (the version
    numbers are the build's: module_test and release_check check those)."""
    text = open(script).read()
    fixed = pe.VS_FIXEDFILEINFO[0]
    for field, attribute in (("FILEFLAGSMASK", "FileFlagsMask"), ("FILEFLAGS", "FileFlags"), ("FILEOS", "FileOS"),
                             ("FILETYPE", "FileType"), ("FILESUBTYPE", "FileSubtype")):
        written = re.search(rf"^\s*{field}\s+(0x[0-9A-Fa-f]+)L?\s*$", text, re.MULTILINE)
        check(f"version record {field} as version.rc gives it", written and int(written[1], 16), getattr(fixed, attribute))
    carried = {}
    for info in getattr(pe, "FileInfo", []):
        for entry in info:
            for table in getattr(entry, "StringTable", []):
                carried.update({k.decode(): v.decode() for k, v in table.entries.items()})
    for name, value in re.findall(rf'^\s*VALUE "(\w+)", {RC_TEXT}\s*$', text, re.MULTILINE):
        check(f"version string {name} as version.rc gives it", rc_text(value), carried.get(name, "(absent)"))


def main(nm, path, folder, def_path):
    pe = pefile.PE(path)
    check("PE32 file of an i386 DLL", (0x10B, 0x14C, True),
          (pe.OPTIONAL_HEADER.Magic, pe.FILE_HEADER.Machine, bool(pe.FILE_HEADER.Characteristics & 0x2000)))
    objects = [os.path.join(root, name) for root, _, names in os.walk(folder) for name in names if name.endswith(".obj")]
    check(f"objects under {folder}", True, bool(objects))
    symbols = nm_symbols(nm, objects) if objects else {}
    defined = set().union(*(d for d, _, _ in symbols.values()))
    check_exports(pe, read_def(def_path), defined)
    check_oldest_windows(pe)
    check_start_up_needs(symbols)
    check_routine_tables(folder, symbols, defined)
    resources, strings = {}, {}
    for rtype in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for rid in rtype.directory.entries:
            strings.update(getattr(rid.directory, "strings", {}))
            for lang in rid.directory.entries:
                check(f"language of resource type {rtype.id} id {rid.id}", LANGUAGE, lang.id)
                resources[(rtype.id, rid.id)] = pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
    check("resources other than strings", sorted(RESOURCES), sorted(k for k in resources if k[0] != RT_STRING))
    check_bitmaps(resources, os.path.join(folder, "..", "..", "generated", "diskette.bmp"))
    scripts = os.path.join(os.path.dirname(def_path), "..", "resources")
    ids = dict(re.findall(r"#define (\w+) (\d+)", open(os.path.join(scripts, "resource_ids.h")).read()))
    for rid, expected in rc_menus(os.path.join(scripts, "menus.rc"), ids).items():
        check_menu(rid, resources.get((RT_MENU, int(rid)), b""), expected)
    check_strings(strings, os.path.join(scripts, "strings.rc"), ids)
    check("raw data 200 (hex)", RCDATA_200, resources.get((RT_RCDATA, 200), b"").hex(" "))
    check_version_record(pe, os.path.join(scripts, "version.rc"))
    return report("pe_file_check")


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
