"""Plants each fault the help's generator must refuse, one at a time, in a copy of the prose,
and checks that make_help.py refuses it with its message and writes nothing; the prose as it
stands is taken, so a refusal is the plant's.

Usage: help_refusals.py VERSION CATALOGUE.json PROSE_FOLDER CHANGELOG.md WORK_FOLDER
"""
import contextlib
import io
import pathlib
import shutil
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "help"))
import make_help  # noqa: E402

from check_report import check, report  # noqa: E402

LONG = " ".join(["word"] * 36) + "."
# (what is planted, file, text replaced, its replacement, the refusal's words)
PLANTS = [
    ("a sentence over 35 words", "glossary.txt", "The words this help uses in a sense of its own.", LONG,
     "glossary.txt:6: a sentence of 36 words"),
    ("a missing outcome", "actions-selector.txt", "result: Stores no error number. The object keeps the title for its later selectors.\n",
     "", "action 13 lacks 'result:'"),
    ("an example without its result", "actions-selector.txt", '  > expression "FileSelReturn$(" -> like "*\\texts\\notes.txt"\n',
     "", "action 17's example shows no result"),
    ("an example that never uses its entry", "expressions-selector.txt",
     '  > expression "NoNetwork(" -> 8\n  > action "Set style" 8\n', '  > action "Set style" 8\n',
     "expression 19's example never uses it"),
    ("a developer's word", "glossary.txt", "A number each File object keeps.", "A number each File object keeps, its errno.",
     "'errno' speaks to developers"),
]


def run(version, catalogue, prose, changelog, out):
    said = io.StringIO()
    with contextlib.redirect_stderr(said):
        status = make_help.main(version, catalogue, prose, changelog, out, pathlib.Path(out, "..", "examples"))
    return status, said.getvalue()


def main(version, catalogue, prose, changelog, work):
    work = pathlib.Path(work)
    shutil.rmtree(work, ignore_errors=True)
    status, said = run(version, catalogue, prose, changelog, work / "pages")
    check("the prose as it stands is taken", (0, ""), (status, said))
    for name, file, old, new, refusal in PLANTS:
        planted, out = work / "planted", work / "refused"
        shutil.rmtree(planted, ignore_errors=True)
        shutil.copytree(prose, planted)
        path = planted / file
        text = path.read_text(encoding="utf-8")
        check(f"{name}: the text to plant it in is there", True, old in text)
        path.write_text(text.replace(old, new, 1), encoding="utf-8")
        status, said = run(version, catalogue, planted, changelog, out)
        check(f"{name}: refused", (1, True), (status, refusal in said))
        check(f"{name}: nothing written", False, out.exists())
    return report("help_refusals")


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
