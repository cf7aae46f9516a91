"""Plays every claim of the help's prose with qtxhost on the build's module, each in a folder of
its own with a new object of its own named `File`, as a script of its own would have it, one run per prose file; a claim the module contradicts fails, named by its
file and line. Then checks the table of error numbers (errors.txt) from both sides: every code
the sources store and every code a claim saw an action store has its row there, listing that
action; a row no claim shows says why.

Usage: help_claims.py VERSION WINE QTXHOST MODULE PROSE_FOLDER SOURCE_FOLDER WORK_FOLDER
A claim finds the module's folder in $MODULE_FOLDER, as qtxhost gives it, and the module's version
(VERSION, a.b.c, as the build gives it) in the tokens help_prose.py fills in.
"""
import pathlib
import re
import subprocess
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "help"))
from help_prose import LAUNCH, prose_files, read_claims, read_error_table, use_version  # noqa: E402
from make_help import load_catalogue, script_names  # noqa: E402

from check_report import check, report  # noqa: E402

ACTION_LINE = re.compile(r'^\s*action\s+("[^"]*"|\S+)')     # a script line that calls an action, and its name
STORED_CODE = re.compile(r"^(\d+): -> last error (-?\d+)\b")   # what qtxhost says below an action that stored one
FAILURE = re.compile(r"^(\d+): FAIL: (.*)$")
SHOWN_LINE = re.compile(r"^(\d+): ")   # what a line did
SCRIPT_ERROR = re.compile(r"\.qtxs:(\d+): (.*)$")
# A code the sources store: a number, or its name as <cerrno> gives it (entry codes are no such codes).
SOURCE_CODE = re.compile(r"\b(ERROR_CODE_\w+|(?!ACTION_|CONDITION_|EXPRESSION_)\w+_ERROR)\s*=\s*(-?\d+|E[A-Z]+)\b")
# The host's own settings, back to their defaults before each claim.
HOST_DEFAULTS = ["launch-result 0", "launch-mode record", "temp-strings on", "no-hook off", "host-version 0x02000100",
                 "play creation-times off", "play empty-drives off"]


def claim_script(claims):
    """The script that plays the claims one after another, and {script line: (claim, prose line)}."""
    # Each claim's object is made in the claim's folder, its "original" directory, and destroyed
    # before the script goes back up: destroying an object restores that directory.
    lines, origin = ["destroy File"], {}
    for number, claim in enumerate(claims):
        lines += [f'mkdir "claim{number}"', f'cd "claim{number}"', "object File"] + HOST_DEFAULTS
        for number, text in claim.lines + [(claim.lines[-1][0], "answers-left -> 0")]:
            lines.append(text)
            origin[len(lines)] = (claim, number)
        lines += ["destroy File", "cd $SCRATCH"]
    return "\n".join(lines) + "\n", origin


def action_codes(command, module, work):
    """{name: code} for every name a script may give an action, read from the module's catalogue."""
    catalogue = pathlib.Path(work, "catalogue.json")
    with catalogue.open("w") as out:
        subprocess.run(command + ["describe", "--json", module], stdout=out, text=True, check=True)
    _, entries = load_catalogue(catalogue)
    return {name: entry["code"] for (kind, name), entry in script_names(entries).items() if kind == "action"}


def play(command, path, claims, actions):
    """Runs one prose file's claims: {claim: [failure...]} and the (action, code) pairs seen."""
    script, origin = claim_script(claims)
    path.write_text(script, encoding="cp1252")
    run = subprocess.run(command + [str(path)], capture_output=True, text=True, encoding="cp1252", errors="replace")
    failures, script_lines, errors_after = {claim: [] for claim in claims}, script.splitlines(), {}
    for line in run.stdout.splitlines():
        match = STORED_CODE.match(line) or FAILURE.match(line) or SHOWN_LINE.match(line)
        claim, number = origin.get(int(match[1]), (None, 0)) if match else (None, 0)
        if match and match.re is FAILURE:   # one in the frame around the claims is the first claim's
            where = f"line {number}" if claim else f"script line {match[1]}"
            failures[claim or claims[0]].append(f"{where}: {match[2]}")
        elif match and match.re is STORED_CODE:
            errors_after[int(match[1])] = int(match[2])
        elif claim and ACTION_LINE.match(script_lines[int(match[1]) - 1]):
            errors_after.setdefault(int(match[1]), 0)
    # An action stored the code it left only when the error was 0 before it: every other action
    # leaves the code it found (the claims' objects start at 0).
    seen, before = set(), {}
    for number, code in sorted(errors_after.items()):
        claim = origin.get(number, (None, 0))[0]
        if code and not before.get(claim):
            seen.add((actions[ACTION_LINE.match(script_lines[number - 1])[1].strip('"')], code))
        before[claim] = code
    error = SCRIPT_ERROR.search(run.stderr)
    if error:
        claim, number = origin.get(int(error[1]), (claims[0], 0))
        failures[claim].append(f"line {number}: script error: {error[2]}")
    elif run.returncode not in (0, 1) or (run.returncode == 1) != any(failures.values()):
        last = (run.stdout.strip().splitlines() or ["nothing"])[-1]
        failures[claims[0]].append(f"qtxhost ended with {run.returncode} after \"{last}\": {run.stderr.strip()[-300:]}")
    return failures, seen


def source_codes(folder):
    return {(name, value) for path in sorted(pathlib.Path(folder).rglob("*.[ch]*"))
            for name, value in SOURCE_CODE.findall(path.read_text(encoding="utf-8", errors="replace"))}


def has_row(rows, code):
    """A row for the code: its number, or its <cerrno> name as the row's `also called:`."""
    if code.lstrip("-").isdigit():
        return int(code) in rows
    return any(code in row.get("also called", []) for row in rows.values())


def main(version, wine, qtxhost, module, prose, sources, work):
    use_version(version)
    pathlib.Path(work).mkdir(parents=True, exist_ok=True)
    command = [wine, qtxhost, "--scratch", "run", module]
    actions, seen = action_codes([wine, qtxhost], module, work), set()
    for path in prose_files(prose):
        claims = read_claims(path)
        if not claims:
            continue
        failures, file_seen = play(command, pathlib.Path(work, path.stem + ".qtxs"), claims, actions)
        seen |= file_seen
        for claim, problems in failures.items():
            check(f"{claim.where} ({claim.words[:70]})", [], problems)
    check("claims found", True, bool(seen))

    _, rows, errors = read_error_table(prose)
    check("errors.txt reads", [], errors)
    for name, code in sorted(source_codes(sources)):
        check(f"{name} ({code}) has a row in errors.txt", True, has_row(rows, code))
    launchers = rows.get(LAUNCH, {}).get("entries", [])
    for action, code in sorted(seen):
        listed = ("action", action) in rows.get(code, {}).get("entries", []) or ("action", action) in launchers
        check(f"errors.txt lists action {action} under {code}, as a claim saw", True, listed)
    shown = {code for action, code in seen if ("action", action) not in launchers}
    for number, row in rows.items():
        if number != LAUNCH:
            check(f"error {number}: shown by a claim, or 'no claim:' says why", True, (number in shown) != ("no claim" in row))
    return report("help_claims")


if __name__ == "__main__":
    if len(sys.argv) != 8:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
