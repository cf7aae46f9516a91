"""Writes what qtxhost's one description of its commands (commands.txt) becomes: the C++ header
qtxhost prints its help and checks its script lines from, and the release's guide QTXHOST.txt,
whose @QTXHOST_COMMANDS@ becomes the list of every command, the developers' apart.

Usage: write_commands.py header COMMANDS.txt HEADER.h
       write_commands.py guide COMMANDS.txt GUIDE_SOURCE.txt GUIDE.txt TITLE
"""
import pathlib
import sys
import textwrap

DEVELOPERS = "For the object's developers"
GUIDE_WIDTH = 78


def read_groups(path):
    """[(title, [(usage, what it does)])], in the order of the file."""
    groups = []
    for number, line in enumerate(pathlib.Path(path).read_text(encoding="utf-8").splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        if line.startswith("== "):
            groups.append((line[3:].strip(), []))
            continue
        usage, bar, does = line.partition(" | ")
        if not bar or not groups or not usage.strip() or not does.strip():
            sys.exit(f"{path}:{number}: a row is 'USAGE | WHAT IT DOES', under a '== TITLE'")
        groups[-1][1].append((usage.strip(), does.strip()))
    return groups


def c_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def header(groups):
    lines = ["// Written by qtxhost/commands/write_commands.py from qtxhost/commands/commands.txt: do not edit.",
             "#pragma once", "", "struct CommandDescription {", "    const char* group;", "    const char* usage;",
             "    const char* does;", "    bool forDevelopers;", "};", "",
             "constexpr CommandDescription COMMAND_DESCRIPTIONS[] = {"]
    for title, rows in groups:
        for usage, does in rows:
            developers = "true" if title.startswith(DEVELOPERS) else "false"
            lines.append(f"    {{{c_string(title)}, {c_string(usage)}, {c_string(does)}, {developers}}},")
    return "\n".join(lines + ["};", ""])


def guide_list(groups):
    """Each group under its title, each command's usage on a line and what it does below it."""
    out = []
    for title, rows in groups:
        out += [f"{title}:"]
        for usage, does in rows:
            out.append(f"  {usage}")
            out += textwrap.wrap(does[0].upper() + does[1:] + ".", GUIDE_WIDTH, initial_indent="      ",
                                 subsequent_indent="      ", break_on_hyphens=False)
        out.append("")
    return "\n".join(out).rstrip("\n")


def guide(groups, source, target, title):
    text = pathlib.Path(source).read_text(encoding="utf-8")
    text = (text.replace("@QTXHOST_TITLE@", title).replace("@QTXHOST_UNDERLINE@", "=" * len(title))
            .replace("@QTXHOST_COMMANDS@", guide_list(groups)))
    pathlib.Path(target).write_text(text, encoding="cp1252", newline="\r\n")


def main(mode, *args):
    groups = read_groups(args[0])
    if mode == "header" and len(args) == 2:
        pathlib.Path(args[1]).write_text(header(groups))
    elif mode == "guide" and len(args) == 4:
        guide(groups, *args[1:])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(*sys.argv[1:])
