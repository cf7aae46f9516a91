#!/usr/bin/python3
"""Checks the built 32-bit module file: headers, export table, imported DLLs and
resources (bitmaps, menus, string table, raw data, version record).

Usage: pe_file_check.py path/to/QTFILE.qtx
Prints one line per failed check and a summary; exits 1 on any failure.
"""
import itertools
import re
import struct
import sys

from check_report import check, report

import pefile

# ---- expected values ----------------------------------------------------------------
MODULE_NAME, ORDINAL_BASE, ORDINAL_SLOTS, LANGUAGE = "QTFILE.qtx", 2, 90, 1033

EXPORTS = {
    "GetInfos": 2, "CreateObject": 14, "GetHelpFileName": 16, "GetObjectRect": 19,
    "GetObjInfos": 36, "CreateRunObject": 50, "DestroyRunObject": 51, "HandleRunObject": 52,
    "DisplayRunObject": 53, "ReInitRunObject": 56, "PauseRunObject": 57, "ContinueRunObject": 58,
    "GetRunObjectInfos": 59, "GetConditionMenu": 60, "GetActionMenu": 61, "GetExpressionMenu": 62,
    "GetConditionCodeFromMenu": 63, "GetActionCodeFromMenu": 64, "GetExpressionCodeFromMenu": 65,
    "GetConditionString": 66, "GetActionString": 67, "GetExpressionString": 68,
    "GetConditionTitle": 72, "GetActionTitle": 73, "GetExpressionTitle": 74,
    "GetConditionInfos": 75, "GetActionInfos": 76, "GetExpressionInfos": 77,
    "UpdateEditStructure": 78, "GetRunObjectDataSize": 80, "GetExpressionParam": 89,
    "SaveRunObject": 90, "LoadRunObject": 91,
}
SHARED_ROUTINE = ("DisplayRunObject", "ReInitRunObject", "PauseRunObject", "ContinueRunObject")

SYSTEM_DLL = re.compile(r"(kernel32|user32|gdi32|comdlg32|shell32|ole32|oleaut32|version|msvcrt"
                        r"|advapi32|ntdll|api-ms-win-[a-z0-9-]+)\.dll", re.IGNORECASE)

RT_BITMAP, RT_MENU, RT_STRING, RT_RCDATA, RT_VERSION = 2, 4, 6, 10, 16
RESOURCES = {(RT_BITMAP, 400), (RT_BITMAP, 401), (RT_MENU, 20000), (RT_MENU, 20001),
             (RT_MENU, 20002), (RT_RCDATA, 200), (RT_VERSION, 1)}     # string blocks apart
RCDATA_200 = "16 25 08 59"
BITMAP_HEADER = (40, 32, 32, 1, 24, 0)   # size, width, height, planes, bits, compression
BITMAP_PIXEL_BYTES, MAGENTA = 3072, (255, 0, 255)
MIN_RED_PIXELS = 100

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

VERSION_FIXED = {"file version": "3.0.228.0", "product version": "3.0.228.0", "flags mask": "0x0",
                 "flags": "0x20", "OS": "0x10001", "type": "0x1", "subtype": "0x0", "date": "0x0"}
VERSION_BLOCK = "040904e4"
VERSION_STRINGS = {
    "CompanyName": "Norvale", "FileDescription": "File Object", "FileVersion": "3,0,228,0",
    "InternalName": "QTFILE", "OriginalFilename": "QTFILE.qtx", "ProductVersion": "3,0,228,0",
    "SpecialBuild": "00000002", "LegalTrademarks": "", "PrivateBuild": "", "ProductName": "",
}
VERSION_STRINGS_OWN_TEXT = ("Comments", "LegalCopyright")   # present, any text
VERSION_TRANSLATION = ["language 0x0409, code page 0x04e4"]

# ---- checking -------------------------------------------------------------------------
def check_exports(pe):
    check("export directory", "present", "present" if hasattr(pe, "DIRECTORY_ENTRY_EXPORT") else "absent")
    if not hasattr(pe, "DIRECTORY_ENTRY_EXPORT"):
        return
    table = pe.DIRECTORY_ENTRY_EXPORT.struct
    check("export directory name", MODULE_NAME, pe.get_string_at_rva(table.Name).decode())
    check("export ordinal base", ORDINAL_BASE, table.Base)
    check("export address slots", ORDINAL_SLOTS, table.NumberOfFunctions)
    slots = {table.Base + i: pe.get_dword_at_rva(table.AddressOfFunctions + 4 * i)
             for i in range(table.NumberOfFunctions)}
    named = {}
    for i in range(table.NumberOfNames):
        name = pe.get_string_at_rva(pe.get_dword_at_rva(table.AddressOfNames + 4 * i)).decode()
        named[name] = table.Base + pe.get_word_at_rva(table.AddressOfNameOrdinals + 2 * i)
    for name in sorted(EXPORTS.keys() | named.keys()):
        check(f"ordinal of export {name}", EXPORTS.get(name, "no such export"), named.get(name, "absent"))
        if name in named:
            check(f"export {name} has an address", True, slots.get(named[name], 0) != 0)
    for ordinal, rva in sorted(slots.items()):
        if ordinal not in named.values():
            check(f"unnamed ordinal slot {ordinal} address", "0x0", hex(rva))
    shared = {name: slots.get(named.get(name), 0) for name in SHARED_ROUTINE}
    addresses = sorted({hex(rva) for rva in shared.values()})
    check("addresses of " + ", ".join(SHARED_ROUTINE), "one non-zero address",
          "one non-zero address" if len(addresses) == 1 and addresses != ["0x0"] else addresses)
    others = sorted(n for n, o in named.items() if n not in SHARED_ROUTINE and slots.get(o) in shared.values())
    check("other exports at the shared routine's address", [], others)


def check_imports(pe):
    dlls = [entry.dll.decode() for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])]
    dlls += [entry.dll.decode() for entry in getattr(pe, "DIRECTORY_ENTRY_DELAY_IMPORT", [])]
    for dll in dlls:
        check(f"imported DLL {dll}", "a Windows system DLL",
              "a Windows system DLL" if SYSTEM_DLL.fullmatch(dll) else "a DLL outside the system list")


def read_resources(pe):
    found = {}
    directory = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for rtype in directory.entries if directory else []:
        for rid in rtype.directory.entries:
            for lang in rid.directory.entries:
                data = lang.data.struct
                found[(rtype.id, rid.id, lang.id)] = pe.get_data(data.OffsetToData, data.Size)
    for rtype, rid, lang in found:
        check(f"language of resource type {rtype} id {rid}", LANGUAGE, lang)
    return {(t, i): data for (t, i, lang), data in found.items() if lang == LANGUAGE}


def present(case, resources, key):
    check(case, "present", "present" if key in resources else "absent")
    return key in resources


def check_bitmap(rid, data):
    check(f"bitmap {rid} size", 40 + BITMAP_PIXEL_BYTES, len(data))
    if len(data) != 40 + BITMAP_PIXEL_BYTES:
        return
    check(f"bitmap {rid} header", BITMAP_HEADER, struct.unpack_from("<IiiHHI", data))
    pixels = [(data[p + 2], data[p + 1], data[p]) for p in range(40, len(data), 3)]  # stored as B, G, R
    red = sum(1 for r, g, b in pixels if r >= 128 and g <= 64 and b <= 64)
    enough = f"at least {MIN_RED_PIXELS}"
    check(f"bitmap {rid} red pixels", enough, enough if red >= MIN_RED_PIXELS else red)
    check(f"bitmap {rid} has magenta pixels", True, MAGENTA in pixels)
    corners = [pixels[i] for i in (0, 31, 32 * 31, 32 * 32 - 1)]
    check(f"bitmap {rid} corner pixels", [MAGENTA] * 4, corners)


def utf16z(data, pos):
    """A NUL-terminated UTF-16 text at pos, and the position just past its NUL."""
    end = pos
    while end + 2 <= len(data) and data[end:end + 2] != b"\0\0":
        end += 2
    return data[pos:end].decode("utf-16-le"), end + 2


def menu_lines(items, depth=0):
    """The expected menu tree, one line per item, indented by nesting depth."""
    lines = []
    for item in items:
        if item == SEP:
            lines.append("  " * depth + SEP)
        elif isinstance(item[1], list):
            lines.append("  " * depth + f"popup {item[0]!r}")
            lines += menu_lines(item[1], depth + 1)
        else:
            lines.append("  " * depth + f"{item[0]} {item[1]!r}")
    return lines


def parse_menu_items(data, pos, depth, lines):
    """Reads one level of a standard menu template into lines like menu_lines gives."""
    while pos + 2 <= len(data):
        (flags,) = struct.unpack_from("<H", data, pos)
        item_id = None
        if not flags & 0x10:
            (item_id,) = struct.unpack_from("<H", data, pos + 2)
        pos += 2 if flags & 0x10 else 4
        text, pos = utf16z(data, pos)
        other = flags & ~0x90
        extra = f" flags=0x{other:x}" if other else ""
        if flags & 0x10:
            lines.append("  " * depth + f"popup {text!r}{extra}")
            pos = parse_menu_items(data, pos, depth + 1, lines)
        elif item_id == 0 and text == "" and other in (0, 0x800):
            lines.append("  " * depth + SEP)
        else:
            lines.append("  " * depth + f"{item_id} {text!r}{extra}")
        if flags & 0x80:
            return pos
    lines.append("  " * depth + "(level not closed)")
    return pos


def check_menu(rid, data):
    version, header_size = struct.unpack_from("<HH", data)
    check(f"menu {rid} template version (0: standard menu)", 0, version)
    if version != 0:
        return
    found = []
    parse_menu_items(data, 4 + header_size, 0, found)
    expected = menu_lines(MENUS[rid])
    pairs = list(itertools.zip_longest(expected, found, fillvalue="(nothing)"))
    first = next((i for i, (want, got) in enumerate(pairs) if want != got), None)
    if first is None:
        check(f"menu {rid} item tree", expected, found)
    else:   # report the first difference only: the lines after it are shifted
        check(f"menu {rid} line {first} (indent = popup depth)", *pairs[first])


def read_strings(resources):
    strings = {}
    blocks = {block: data for (rtype, block), data in resources.items() if rtype == RT_STRING}
    for block, data in blocks.items():
        pos = 0
        for index in range(16):   # a block holds ids (block - 1) * 16 to that plus 15
            (length,) = struct.unpack_from("<H", data, pos)
            if length:
                strings[(block - 1) * 16 + index] = data[pos + 2:pos + 2 + 2 * length].decode("utf-16-le")
            pos += 2 + 2 * length
    return strings


def check_strings(strings):
    for sid in sorted(STRINGS):
        check(f"string {sid}", STRINGS[sid], strings.get(sid, "(absent)"))
    for sid in STRINGS_OWN_TEXT:
        check(f"string {sid} is non-empty", True, bool(strings.get(sid, "").strip("\0")))
    unexpected = sorted(strings.keys() - STRINGS.keys() - set(STRINGS_OWN_TEXT))
    check("unexpected string ids", [], unexpected)


def version_node(data, pos):
    """One node of a version record: (key, value as text or bytes, child nodes, length)."""
    length, value_length, is_text = struct.unpack_from("<HHH", data, pos)
    key, key_end = utf16z(data, pos + 6)
    start = (key_end + 3) & ~3
    size = value_length * 2 if is_text else value_length
    value = data[start:start + size]
    value = value.decode("utf-16-le").rstrip("\0") if is_text else value
    children, child = [], (start + size + 3) & ~3
    while child < pos + length:
        children.append(version_node(data, child))
        child = (child + max(children[-1][3], 6) + 3) & ~3
    return key, value, children, length


def check_version(data):
    key, fixed, blocks, _ = version_node(data, 0)
    check("version record key", "VS_VERSION_INFO", key)
    check("version fixed part size", 52, len(fixed))
    if len(fixed) != 52:
        return
    f = struct.unpack_from("<13I", fixed)
    check("version fixed part signature", "0xfeef04bd", hex(f[0]))
    found = {"file version": f"{f[2] >> 16}.{f[2] & 0xFFFF}.{f[3] >> 16}.{f[3] & 0xFFFF}",
             "product version": f"{f[4] >> 16}.{f[4] & 0xFFFF}.{f[5] >> 16}.{f[5] & 0xFFFF}",
             "flags mask": hex(f[6]), "flags": hex(f[7]), "OS": hex(f[8]), "type": hex(f[9]),
             "subtype": hex(f[10]), "date": hex(f[11] << 32 | f[12])}
    for field, value in VERSION_FIXED.items():
        check(f"version fixed part {field}", value, found[field])
    blocks = {name: children for name, _, children, _ in blocks}
    tables = {name: children for name, _, children, _ in blocks.get("StringFileInfo", [])}
    check("version string blocks", [VERSION_BLOCK], list(tables))
    values = {name: value for name, value, _, _ in tables.get(VERSION_BLOCK, [])}
    for name, text in VERSION_STRINGS.items():
        check(f"version string {name}", text, values.get(name, "(absent)"))
    for name in VERSION_STRINGS_OWN_TEXT:
        check(f"version string {name} present", True, name in values)
    variables = {name: value for name, value, _, _ in blocks.get("VarFileInfo", [])}
    raw = variables.get("Translation", b"")
    pairs = struct.iter_unpack("<HH", raw[:len(raw) // 4 * 4])
    check("version translation", VERSION_TRANSLATION,
          [f"language 0x{lang:04x}, code page 0x{page:04x}" for lang, page in pairs])


def main(path):
    pe = pefile.PE(path)
    check("optional header magic (PE32)", 0x10B, pe.OPTIONAL_HEADER.Magic)
    check("machine (i386)", 0x14C, pe.FILE_HEADER.Machine)
    check("file is a DLL", True, bool(pe.FILE_HEADER.Characteristics & 0x2000))
    check_exports(pe)
    check_imports(pe)
    resources = read_resources(pe)
    check("resources other than strings", sorted(RESOURCES),
          sorted(key for key in resources if key[0] != RT_STRING))
    for rid in (400, 401):
        check_bitmap(rid, resources.get((RT_BITMAP, rid), b""))
    check("bitmaps 400 and 401 identical", True,
          resources.get((RT_BITMAP, 400)) == resources.get((RT_BITMAP, 401)))
    for rid in MENUS:
        if present(f"menu {rid}", resources, (RT_MENU, rid)):
            check_menu(rid, resources[(RT_MENU, rid)])
    check_strings(read_strings(resources))
    check("raw data 200 (hex)", RCDATA_200, resources.get((RT_RCDATA, 200), b"").hex(" "))
    if present("version record 1", resources, (RT_VERSION, 1)):
        check_version(resources[(RT_VERSION, 1)])
    return report("pe_file_check")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1]))
