#!/usr/bin/python3
"""Checks the 32-bit module file and the objects it is linked from: headers, exports (ordinals,
aliases, stdcall argument bytes), imported DLLs, the routine tables' handlers and resources
(bitmaps, menus, string table, raw data, version record).

Usage: pe_file_check.py QTFILE.qtx OBJECT_FOLDER DEF_FILE
OBJECT_FOLDER is the 32-bit build's src/CMakeFiles/qtfile_code.dir. Prints one line per failed
check and a summary; exits 1 on any failure.
"""
import itertools
import os
import re
import struct
import subprocess
import sys

import pefile

from check_report import check, report


# Export: (ordinal, number of 32-bit arguments). The idle routines share one address.
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

# Routine-table object: bytes each of its handlers removes (RunData* and two parameters, or a token).
ROUTINE_TABLES = {"catalogue/condition_routines.cpp.obj": 12, "catalogue/action_routines.cpp.obj": 12,
                  "catalogue/expression_routines.cpp.obj": 8}
RUNTIME_SYMBOL = re.compile(r"__imp_.*|___.*|_(memcpy|memset|memmove|alloca|_chkstk_ms)")
STDCALL = re.compile(r"_(?P<name>[A-Za-z0-9_]+)@(?P<bytes>\d+)")

RT_BITMAP, RT_MENU, RT_STRING, RT_RCDATA, RT_VERSION = 2, 4, 6, 10, 16
RESOURCES = {(RT_BITMAP, 400), (RT_BITMAP, 401), (RT_MENU, 20000), (RT_MENU, 20001),
             (RT_MENU, 20002), (RT_RCDATA, 200), (RT_VERSION, 1)}     # string blocks apart
RCDATA_200 = "16 25 08 59"
BITMAP_HEADER = (40, 32, 32, 1, 24, 0)   # size, width, height, planes, bits, compression
BITMAP_PIXEL_BYTES, MAGENTA, MIN_RED_PIXELS = 3072, (255, 0, 255), 100

STRINGS_OWN_TEXT = (1, 130, 132)          # any non-empty text
STRING_RUNS = [  # (first id, texts of consecutive ids)
    (2, ["File"]), (128, ["File object", "Norvale"]),
    (131, ["Allows you to perform basic file and disk operations such as renaming, copying and "
           "deleting files, creating sub-directories, and launching external applications. "]),
    (2500, ["01Current directory %s", "00Set directory to original", "01Create the directory %s",
            "01Delete the directory %s", "01Create the file %s", "01Delete the file %s",
            "01Rename %s as %s", "01Append %s to %s", "01Copy %s to %s", "01Move %s to %s",
            "01Append %s to %s", "00Clear last error"]),
    (2513, ["01Open load file selector on %s", "01Open save file selector on %s",
            "01Set file selector title to %s", "01Set file selector style to %s",
            "01Set file selector default extension to %s", "00Set file selector style to default",
            "01Set file selector filters to %s, and use number %s", "00Set single-selection mode",
            "00Set multiple-selection mode", "01Open directory selector on %s"]),
    (2600, ["10%s: Last action OK", "11%s: %s exists", "11%s: %s is readable",
            "11%s: %s is writable", "11%s: %s is a file", "11%s: %s is a directory"]),
    (2700, ["Sizeof(", "CreationDate$(", "ChangeDate$(", "AccessDate$(", "DriveName$(",
            "DirectoryName$(", "FileName$(", "ExtensionName$(", "TotalName$(", "CurrentDirectory$(",
            "VersionMS(", "VersionLS(", "LastError(", "TempFileName$(", "WindowsDirectory$(",
            "FileSelReturn$(", "AllowCreatePrompt(", "AllowBadFile(", "AllowChangeDir(",
            "NoNetwork(", "NoOverwritePrompt", "AllowBadPath(", "GetDefaultFilter(", "NumSelFiles(",
            "FileSelReturnAt$(", "CDDriveFromLabel$(", "SystemDirectory$(", "MyDocsDirectory$(",
            "AppDataDirectory$(", "UserDirectory$(", "AllUsersDirectory$(",
            "AllUsersDocumentsDirectory$(", "AllUsersAppDataDirectory$("]),
    (3001, ["Name to test", "Name of file to test", "Name of file to test", "Name of file to test",
            "Name of directory to test", "Name of directory to set", "Name of directory to create",
            "Name of directory to delete", "Name of file to create", "Name of file to delete",
            "Name of file to rename", "New name for the file", "Source file to append",
            "Destination file", "Source file name", "Destination file name", "Source file name",
            "Destination file name", "String to append", "Destination file"]),
    (3022, ["Name of application to run", 'Enter "(hide,wait)" then command line',
            "11%s: Run application %s %s"]),
    (3026, ["Set file selector style : choose a style in file object...",
            "Enter filter : ''description1|*.xxx;*.yyy|description2|*.zzz''",
            "Enter default pathname...", "Enter number of default filter...", "File number",
            "Disc label"]),
]
STRINGS = {first + i: text for first, texts in STRING_RUNS for i, text in enumerate(texts)}

# Menus: (id, text) is a command, (text, [items]) a popup, SEP a separator.
SEP = "separator"
MENUS = {
    20000: [("", [
        ("Directory Actions", [(25000, "Change the current directory"),
                               (25001, "Set directory to original"), (25002, "Create a directory"),
                               (25003, "Delete a directory"), (25006, "Rename a directory")]),
        ("File Actions", [(25004, "Create a file"), (25005, "Delete a file"),
                          (25006, "Rename a file"), (25007, "Append a file to a file"),
                          (25008, "Copy a file"), (25009, "Move a file"),
                          (25010, "Append text to a file"), (25012, "Run application")]),
        ("File Selector", [(25013, "Open load selector"), (25014, "Open save selector"),
                           (25022, "Open directory selector"), SEP, (25015, "Set title"),
                           (25019, "Set extension filter"), (25016, "Set style"),
                           (25017, "Set default extension"),
                           ("Set Selection Mode", [(25020, "Single"), (25021, "Multiple")])]),
        (25011, "Clear the last error")])],
    20001: [("", [(26000, "Last action OK"), (26002, "File is readable"),
                  (26003, "File is writeable"), (26001, "Name exists"),
                  (26004, "Name is a file"), (26005, "Name is a directory")])],
    20002: [("", [
        ("File Attributes", [(27000, "Size of a file"), (27001, "Creation date"),
                             (27002, "Modification date"), (27003, "Last access date")]),
        ("Names", [(27004, "Drive name"), (27005, "Directory name"), (27006, "File title"),
                   (27007, "Extension name"), (27008, "Total pathway of a file"),
                   (27013, "Temporary filename")]),
        ("File Version", [(27010, "Most significant number"), (27011, "Less significant number")]),
        ("Directories", [(27009, "Current directory"), (27014, "Windows directory"),
                         (27026, "System directory"), (27027, "My Documents directory"),
                         (27028, "Application Data directory"), (27029, "User directory"),
                         (27030, "All Users directory"), (27031, "All Users Documents Directory"),
                         (27032, "All Users Application Data Directory"), SEP,
                         (27025, "Get CDROM Directory From Label")]),
        ("File selector", [(27015, "Get result pathname"), (27022, "Get default filter"),
                           ("Multi-selection", [(27023, "Get number of pathnames"),
                                                (27024, "Get pathname at...")]), SEP,
                           (27018, "Allow directory change"), (27017, "Allow non existant file"),
                           (27021, "Allow non existant path"), (27016, "Allow create file prompt"),
                           (27020, "No overwrite prompt")]),
        (27012, "Last error code")])],
}

VERSION_FIXED = {"file version": "3.0.228.0", "product version": "3.0.228.0", "flags mask": 0,
                 "flags": 0x20, "OS": 0x10001, "type": 1, "subtype": 0, "date": 0}
VERSION_STRINGS = {"040904e4": {
    "CompanyName": "Norvale", "FileDescription": "File Object", "FileVersion": "3,0,228,0",
    "InternalName": "QTFILE", "OriginalFilename": "QTFILE.qtx", "ProductVersion": "3,0,228,0",
    "SpecialBuild": "00000002", "LegalTrademarks": "", "PrivateBuild": "", "ProductName": "",
    "Comments": None, "LegalCopyright": None}}   # None: present, any text
VERSION_TRANSLATION = "0x0409 0x04e4"


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


def check_imports(pe):
    for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []) + getattr(pe, "DIRECTORY_ENTRY_DELAY_IMPORT", []):
        check(f"imported DLL {entry.dll.decode()} is a Windows system DLL", True,
              bool(SYSTEM_DLL.fullmatch(entry.dll.decode())))


def nm_symbols(paths):
    """Object: (global code symbols defined, symbols referenced), from one run of nm."""
    lines = subprocess.run(["i686-w64-mingw32-nm", "-A"] + paths, capture_output=True, text=True, check=True).stdout
    symbols = {path: (set(), set()) for path in paths}
    for line in lines.splitlines():
        path, _, rest = line.rpartition(".obj:")
        parts = rest.split()
        if len(parts) == 3 and parts[1] == "T":
            symbols[path + ".obj"][0].add(parts[2])
        elif len(parts) == 2 and parts[0] == "U":
            symbols[path + ".obj"][1].add(parts[1])
    return symbols


def check_routine_tables(folder, symbols, defined):
    for table, handler_bytes in ROUTINE_TABLES.items():
        referenced = symbols.get(os.path.join(folder, table), (set(), set()))[1]
        handlers = sorted(s for s in referenced if not RUNTIME_SYMBOL.fullmatch(s))
        check(f"{table}: references some handler", True, bool(handlers))
        for symbol in handlers:
            match = STDCALL.fullmatch(symbol)
            check(f"{table}: handler {symbol} removes N bytes", handler_bytes, int(match["bytes"]) if match else None)
            check(f"{table}: handler {symbol} defined in some object", True, symbol in defined)


def read_def(path):
    """Export name: the routine it is bound to (itself, or the target of an alias)."""
    text = open(path).read().split("EXPORTS", 1)[1]
    return {m[1]: m[2] or m[1] for m in re.finditer(r"^\s*(\w+)\s*(?:=\s*(\w+))?", text, re.MULTILINE)}


def check_bitmap(rid, data):
    check(f"bitmap {rid} size", 40 + BITMAP_PIXEL_BYTES, len(data))
    if len(data) != 40 + BITMAP_PIXEL_BYTES:
        return
    check(f"bitmap {rid} header", BITMAP_HEADER, struct.unpack_from("<IiiHHI", data))
    pixels = [(data[p + 2], data[p + 1], data[p]) for p in range(40, len(data), 3)]  # stored as B, G, R
    red = sum(1 for r, g, b in pixels if r >= 128 and g <= 64 and b <= 64)
    check(f"bitmap {rid} has at least {MIN_RED_PIXELS} red pixels", True, red >= MIN_RED_PIXELS)
    check(f"bitmap {rid} corner pixels are magenta", [MAGENTA] * 4, [pixels[i] for i in (0, 31, 32 * 31, 32 * 32 - 1)])


def menu_lines(items, depth=0):
    """The expected menu tree, one line per item, indented by nesting depth."""
    lines = []
    for item in items:
        if item == SEP:
            lines.append("  " * depth + SEP)
        elif isinstance(item[1], list):
            lines += ["  " * depth + f"popup {item[0]!r}"] + menu_lines(item[1], depth + 1)
        else:
            lines.append("  " * depth + f"{item[0]} {item[1]!r}")
    return lines


def parse_menu(data, pos, depth, lines):
    """Reads one level of a standard menu template into lines like menu_lines gives."""
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
            lines.append("  " * depth + SEP)
        else:
            lines.append("  " * depth + f"{item_id} {text!r}{extra}")
        if flags & 0x80:
            return pos
    lines.append("  " * depth + "(level not closed)")
    return pos


def check_menu(rid, data):
    version, header_size = struct.unpack_from("<HH", data) if len(data) >= 4 else (None, 0)
    check(f"menu {rid} template version (0: standard menu)", 0, version)
    found = []
    if version == 0:
        parse_menu(data, 4 + header_size, 0, found)
    pairs = list(itertools.zip_longest(menu_lines(MENUS[rid]), found, fillvalue="(nothing)"))
    first = next((i for i, (want, got) in enumerate(pairs) if want != got), None)
    # Only the first difference: the lines after it are shifted.
    check(f"menu {rid} line {first} (indent = popup depth)", *(pairs[first] if first is not None else (0, 0)))


def check_strings(strings):
    for sid in sorted(STRINGS):
        check(f"string {sid}", STRINGS[sid], strings.get(sid, "(absent)"))
    for sid in STRINGS_OWN_TEXT:
        check(f"string {sid} is non-empty", True, bool(strings.get(sid, "").strip("\0")))
    check("unexpected string ids", [], sorted(strings.keys() - STRINGS.keys() - set(STRINGS_OWN_TEXT)))


def check_version(pe):
    f = pe.VS_FIXEDFILEINFO[0]
    dotted = lambda ms, ls: f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    found = {"file version": dotted(f.FileVersionMS, f.FileVersionLS),
             "product version": dotted(f.ProductVersionMS, f.ProductVersionLS), "flags mask": f.FileFlagsMask,
             "flags": f.FileFlags, "OS": f.FileOS, "type": f.FileType, "subtype": f.FileSubtype,
             "date": f.FileDateMS << 32 | f.FileDateLS}
    for field, value in VERSION_FIXED.items():
        check(f"version fixed part {field}", value, found[field])
    info = {i.Key.decode(): i for i in pe.FileInfo[0]}
    tables = {t.LangID.decode(): {k.decode(): v.decode() for k, v in t.entries.items()}
              for t in getattr(info.get("StringFileInfo"), "StringTable", [])}
    check("version string blocks", list(VERSION_STRINGS), list(tables))
    for block, expected in VERSION_STRINGS.items():
        for name, text in expected.items():
            found = tables.get(block, {}).get(name)
            check(f"version string {name}", "any text" if text is None else text,
                  "any text" if text is None and found is not None else found)
    variables = [v.entry for v in getattr(info.get("VarFileInfo"), "Var", [])]
    check("version translation", [{b"Translation": VERSION_TRANSLATION}], variables)


def main(path, folder, def_path):
    pe = pefile.PE(path)
    check("PE32 file of an i386 DLL", (0x10B, 0x14C, True),
          (pe.OPTIONAL_HEADER.Magic, pe.FILE_HEADER.Machine, bool(pe.FILE_HEADER.Characteristics & 0x2000)))
    objects = [os.path.join(root, name) for root, _, names in os.walk(folder) for name in names if name.endswith(".obj")]
    check(f"objects under {folder}", True, bool(objects))
    symbols = nm_symbols(objects) if objects else {}
    defined = set().union(*(d for d, _ in symbols.values()))
    check_exports(pe, read_def(def_path), defined)
    check_imports(pe)
    check_routine_tables(folder, symbols, defined)
    resources, strings = {}, {}
    for rtype in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for rid in rtype.directory.entries:
            strings.update(getattr(rid.directory, "strings", {}))
            for lang in rid.directory.entries:
                check(f"language of resource type {rtype.id} id {rid.id}", LANGUAGE, lang.id)
                resources[(rtype.id, rid.id)] = pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
    check("resources other than strings", sorted(RESOURCES), sorted(k for k in resources if k[0] != RT_STRING))
    for rid in (400, 401):
        check_bitmap(rid, resources.get((RT_BITMAP, rid), b""))
    check("bitmaps 400 and 401 identical", True, resources.get((RT_BITMAP, 400)) == resources.get((RT_BITMAP, 401)))
    for rid in MENUS:
        check_menu(rid, resources.get((RT_MENU, rid), b""))
    check_strings(strings)
    check("raw data 200 (hex)", RCDATA_200, resources.get((RT_RCDATA, 200), b"").hex(" "))
    check_version(pe)
    return report("pe_file_check")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
