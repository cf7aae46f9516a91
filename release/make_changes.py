"""Writes CHANGES.txt, the release's list of changes for users, from the repository's change log:
plain text with CRLF line ends, the log's note to maintainers left out, each version a heading
with its date, underlined, and each entry a paragraph wrapped to 78 columns.

Usage: make_changes.py CHANGELOG.md CHANGES.txt TITLE
"""
import re
import sys
import textwrap

VERSION = re.compile(r"^## (\d+\.\d+\.\d+), (\d{4}-\d{2}-\d{2})$")
WIDTH = 78


def plain(text):
    """Markdown's marks out of an entry: code quotes go, the words stay."""
    return text.replace("`", "")


def entries(lines):
    """Each entry ("- " and the lines that continue it) as one paragraph."""
    paragraph = []
    for line in lines:
        if line.startswith("- ") and paragraph:
            yield " ".join(paragraph)
            paragraph = []
        if line.strip():
            paragraph.append(line.strip().removeprefix("- "))
    if paragraph:
        yield " ".join(paragraph)


def changes(log, title):
    out = [title, "=" * len(title), ""]
    versions = re.split(r"^(## .*)$", log, flags=re.M)[1:]
    for heading, body in zip(versions[0::2], versions[1::2]):
        match = VERSION.fullmatch(heading)
        if not match:
            sys.exit(f"make_changes.py: a version heading without its date (## VERSION, YYYY-MM-DD): {heading}")
        line = f"{match[1]} ({match[2]})"
        out += [line, "-" * len(line), ""]
        for entry in entries(body.splitlines()):
            out += textwrap.wrap(plain(entry), WIDTH, initial_indent="- ", subsequent_indent="  ",
                                 break_long_words=False, break_on_hyphens=False) + [""]
    return "\r\n".join(out)


def main(source, target, title):
    with open(source, encoding="utf-8") as log:
        text = changes(log.read(), title)
    with open(target, "w", encoding="cp1252", newline="") as out:
        out.write(text)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
