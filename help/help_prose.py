"""Reads the help's sources: the prose of the entries, the articles, the table of error numbers,
the claims written into them and the change log. make_help.py writes the pages from what this
reads; tests/help_claims.py plays the claims and checks the table against the sources.

Files of the prose folder:
- one file per menu group: a section per entry, starting with a line `[KIND CODE] NAME` (NAME
  is one of the entry's menu texts or its display name), then fields, each starting a line:
  `what:`, `param 1:`, `param 2:`, `result:`, `example:`, `see also:`, `index:`, and `- ` for
  each edge case. Other lines continue the field above; a blank line starts a new paragraph.
- articles (ARTICLES): `= TITLE`, `== HEADING {#anchor}`, paragraphs, `- ` list items (indented
  lines continue them) and `index:` lines (topic words for the page or the heading above).
- errors.txt: `intro:` and `index:`, then a section per number, `[error N] TITLE` or
  `[error launch] TITLE` for the launch results, with `stored by:`, `means:`, `do:` and, for a
  number no claim can show, `no claim:` saying why.
In the text, `code` is set as code, and [[KIND CODE]], [[overview#ANCHOR]], [[errors]],
[[error N]] and [[troubleshooting#ANCHOR]] become links. `index:` takes topic words separated
by commas. Lines starting with `#` are comments.

Claims: an indented line `> SCRIPT` is a line of a qtxhost script (see the README) that shows
the text above it; consecutive ones make one claim, played in a folder and object of its own.
The page shows the words; an example's entry calls are also shown as written in the editor.
"""
import dataclasses
import pathlib
import re

KINDS = ("condition", "action", "expression")
ARTICLES = ("overview.txt", "troubleshooting.txt")
ERRORS = "errors.txt"
LAUNCH = "launch"   # the key of the launch results in the table of error numbers
FIELD = re.compile(r"^(what|param [12]|result|example|see also|index|intro|stored by|means|do|no claim):\s*(.*)$")
HEADER = re.compile(r"^\[(condition|action|expression|error) (-?\d+|launch)\]\s+(.+)$")
CLAIM = re.compile(r"^\s+> (.*)$")
ENTRY_LINK = re.compile(r"\[\[(condition|action|expression) (\d+)\]\]")
VERSION_HEADING = re.compile(r"^## (\d+\.\d+\.\d+)\b.*$", re.M)


class ProseError(Exception):
    pass


@dataclasses.dataclass(eq=False)
class Claim:
    file: str
    words: str                                   # the line of text the claim shows
    lines: list = dataclasses.field(default_factory=list)   # (line number, script line)

    @property
    def where(self):
        return f"{self.file}:{self.lines[0][0]}"


def read_claims(path):
    """Every claim of one prose file, in order."""
    claims, words, current = [], "", None
    for number, line in enumerate(pathlib.Path(path).read_text(encoding="utf-8").splitlines(), 1):
        script = CLAIM.match(line)
        if script:
            if current is None:
                current = Claim(pathlib.Path(path).name, words)
                claims.append(current)
            current.lines.append((number, script[1]))
            continue
        current = None
        if line.strip() and not line.startswith("#"):
            words = line.strip()
    return claims


def prose_files(folder):
    return sorted(p for p in pathlib.Path(folder).glob("*.txt"))


def entry_files(folder):
    return [p for p in prose_files(folder) if p.name not in ARTICLES + (ERRORS,)]


def topic_words(text):
    return [word.strip() for word in text.split(",") if word.strip()]


# ---- sections: the entries' prose and the table of error numbers -------------------------

def read_sections(path, errors):
    """{(KIND, KEY): section} of one file; a section maps each field to its lines, "edge" to
    the edge cases, "example script" to the example's claim lines, and "name" to its header's
    name. Fields before the first header go to the section (None, None)."""
    sections, current, field = {}, {"edge": [], "file": path.name}, None
    sections[(None, None)] = current
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        where = f"{path.name}:{number}"
        if line.startswith("#"):
            continue
        script = CLAIM.match(line)
        if script:
            if field == "example":
                current.setdefault("example script", []).append(script[1])
            continue
        header = HEADER.match(line)
        if header:
            key = (header[1], header[2] if header[2] == LAUNCH else int(header[2]))
            if key in sections:
                errors.append(f"{where}: {key[0]} {key[1]} has prose already")
            current = sections.setdefault(key, {"edge": [], "file": path.name, "name": header[3].strip(), "line": number})
            field = None
            continue
        named = FIELD.match(line)
        if named:
            field = named[1]
            current[field] = [named[2]]
        elif line.startswith("- "):
            field = "edge"
            current["edge"].append([line[2:]])
        elif field is None:
            if line.strip():
                errors.append(f"{where}: text outside a field")
        elif field == "edge":
            current["edge"][-1].append(line.strip())
        else:
            current[field].append(line.strip())
    return sections


def read_prose(folder, entries, entry_names, no_result):
    """The prose of every entry: {(KIND, CODE): section}, and the errors found. entry_names
    gives the names a header may use; no_result tells the entries that may leave out `result:`."""
    sections, errors = {}, []
    for path in entry_files(folder):
        for key, section in read_sections(path, errors).items():
            where = f"{path.name}:{section.get('line', 1)}"
            if key == (None, None):
                if len(section) > 2:
                    errors.append(f"{path.name}: fields before the first [KIND CODE] line")
                continue
            entry = entries.get(key)
            if entry is None:
                errors.append(f"{where}: no {key[0]} {key[1]} in the catalogue")
            elif section["name"] not in entry_names(entry):
                errors.append(f"{where}: {key[0]} {key[1]} is {sorted(entry_names(entry))}, not {section['name']!r}")
            elif key in sections:
                errors.append(f"{where}: {key[0]} {key[1]} has prose already")
            else:
                sections[key] = section
    for key, entry in sorted(entries.items()):
        section = sections.get(key)
        if section is None:
            errors.append(f"{key[0]} {key[1]} has no prose")
            continue
        wanted = {"what", "example", "index"} | {f"param {i + 1}" for i in range(len(entry["parameters"]))}
        if not no_result(key):
            wanted.add("result")
        for field in sorted(wanted - section.keys()):
            errors.append(f"{section['file']}: {key[0]} {key[1]} lacks '{field}:'")
        for i in (1, 2):
            if f"param {i}" in section and i > len(entry["parameters"]):
                errors.append(f"{section['file']}: {key[0]} {key[1]} has no parameter {i}")
    return sections, errors


def read_error_table(folder):
    """The table of error numbers: (intro section, {number or LAUNCH: row}), and the errors
    found. Each row gets "entries", the (KIND, CODE) of its `stored by:` links."""
    errors = []
    sections = read_sections(pathlib.Path(folder, ERRORS), errors)
    intro = sections.pop((None, None))
    rows = {}
    for (kind, key), row in sections.items():
        where = f"{ERRORS}:{row['line']}"
        if kind != "error":
            errors.append(f"{where}: only [error N] sections belong here")
            continue
        for field in sorted({"stored by", "means", "do"} - row.keys()):
            errors.append(f"{where}: error {key} lacks '{field}:'")
        row["entries"] = [(m[1], int(m[2])) for m in ENTRY_LINK.finditer(" ".join(row.get("stored by", [])))]
        rows[key] = row
    if "intro" not in intro:
        errors.append(f"{ERRORS}: no 'intro:'")
    return intro, rows, errors


# ---- articles ---------------------------------------------------------------------------

def read_article(path):
    """An article as blocks: ("title", TEXT), ("heading", TEXT, ANCHOR), ("index", [WORD...]),
    ("paragraph", TEXT), ("list", [ITEM...]); claim lines are left out."""
    blocks, block, bullets = [], [], []

    def flush():
        if block:
            blocks.append(("paragraph", " ".join(block)))
            block.clear()
        if bullets:
            blocks.append(("list", list(bullets)))
            bullets.clear()

    for line in pathlib.Path(path).read_text(encoding="utf-8").splitlines():
        if line.startswith("#") or CLAIM.match(line):
            continue
        heading = re.match(r"^(==?) (.+?)(?: \{#([a-z-]+)\})?$", line)
        if heading:
            flush()
            blocks.append(("title", heading[2]) if heading[1] == "=" else ("heading", heading[2], heading[3]))
        elif line.startswith("index:"):
            flush()
            blocks.append(("index", topic_words(line[len("index:"):])))
        elif line.startswith("- "):
            if block:
                flush()
            bullets.append(line[2:])
        elif line.startswith("  ") and bullets:
            bullets[-1] += " " + line.strip()
        elif line.strip():
            if bullets:
                flush()
            block.append(line.strip())
        else:
            flush()
    flush()
    return blocks


def article_anchors(folder, name):
    """{"#anchor": heading} of one article."""
    return {f"#{block[2]}": block[1] for block in read_article(pathlib.Path(folder, name))
            if block[0] == "heading" and block[2]}


# ---- the change log ---------------------------------------------------------------------

def latest_change(changelog):
    """(version, the lines of its entry) of the change log's first `## VERSION` heading."""
    text = pathlib.Path(changelog).read_text(encoding="utf-8")
    heading = VERSION_HEADING.search(text)
    if heading is None:
        raise ProseError(f"{changelog}: no '## VERSION' heading")
    following = VERSION_HEADING.search(text, heading.end())
    body = text[heading.end():following.start() if following else len(text)]
    return heading[1], [line for line in body.splitlines() if line.strip()]
