"""Runs every ready script the release ships, each as a user would (qtxhost --scratch run
QTFILE.qtx examples\\NAME.qtxs), on this build: the help's examples and the tour. Each must end
with exit 0, "0 line(s) failed" last and no FAIL line; and each example's lines must read as
the help writes them: no entry called by its number or its internal display string.

Usage: example_scripts.py WINE QTXHOST MODULE EXAMPLES_FOLDER TOUR
"""
import pathlib
import re
import subprocess
import sys

from check_report import check, report

INTERNAL_CALL = re.compile(r'^\d+: (?:condition|action|expression) \d+ |"\d\d[^"]*%s')


def main(wine, qtxhost, module, examples, tour):
    scripts = sorted(pathlib.Path(examples).glob("*.qtxs")) + [pathlib.Path(tour)]
    check("the help's examples are there", True, len(scripts) > 60)
    for script in scripts:
        run = subprocess.run([wine, qtxhost, "--scratch", "run", module, str(script)], capture_output=True,
                             text=True, encoding="cp1252", errors="replace", stdin=subprocess.DEVNULL)
        lines = run.stdout.replace("\r", "").strip().splitlines()
        said = f"exit {run.returncode}: {(lines or [''])[-1]}"
        passed = said == "exit 0: 0 line(s) failed" and not any(": FAIL: " in line for line in lines)
        check(f"{script.name} runs and passes", "passes", "passes" if passed else f"{said} {run.stderr.strip()[-300:]}")
        if script.parent == pathlib.Path(examples):   # the tour shows the developers' commands too
            check(f"{script.name} reads as the help", [], [line for line in lines if INTERNAL_CALL.search(line)])
    return report("example_scripts")


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
