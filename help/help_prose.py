"""Reads the help's sources: the prose of the entries, the articles, the table of error numbers,
the claims written into them and the change log. make_help.py writes the pages from what this
reads; tests/help_claims.py plays the claims and checks the table against the sources.

Files of the prose folder:
- one file per menu group: a section per entry, starting with a line `[KIND CODE] NAME` (NAME
  is one of the entry's menu texts or its display name), then fields, each starting a line:
  `what:`, `param 1:`, `param 2:`, `result:`, `example:`, `see also:`, `index:`, and `- ` for
  each edge case. Other lines continue the field above; a blank line starts a new paragraph,
  and lines starting with `* ` are the items of a list (the numbers an action stores).
- articles (ARTICLES): `= TITLE`, `== HEADING {#anchor}`, paragraphs, `- ` list items (indented
  lines continue them), `index:` lines (topic words for the page or the heading above) and
  `example:` paragraphs, whose claims the page shows as editor lines, as an entry's example.
- errors.txt: `intro:` and `index:`, then a section per number, `[error N] TITLE` or
  `[error launch] TITLE` for the launch results, with `stored by:`, `means:`, `do:`, for a
  number others know by a short name (ENOENT) `also called:`, and, for a number no claim can
  show, `no claim:` saying why.
In the text, `code` is set as code, and [[KIND CODE]], [[overview#ANCHOR]], [[errors]],
[[error N]] and [[ARTICLE#ANCHOR]] (the article's file name without .txt) become links. `index:` takes topic words separated
by commas. Lines starting with `#` are comments. The module's version, which the build gives
(use_version), is written as tokens, in the text and the claims alike: {version} (a.b.c), its
parts {major}, {minor} and {build}, and what the version expressions give for the module,
{version_ms} (a times 65536 plus b) and {version_ls} (c times 65536).

Claims: an indented line `> SCRIPT` is a line of a qtxhost script (docs/qtxhost.md) that shows
the text above it; consecutive ones make one claim, played in a folder and object of its own.
Where no claim can show a text (it needs a full drive, an ordinary user, a test program), the
line `> proven by TEST_FILE` names the test that does, from the top of the repository. The page
shows the words; an example's claim is also shown, as its calls written in the editor with what
they give and its other steps in words (help_examples.py).

Every edge case and example has a claim or a proof, and a value a text states in the forms
"gives 4", "stores 13", "refused with 38", "answers false", "gives `text`" or "gives the empty
text" must be one its claim's expectations check (a proof's, for a qtxhost script; a number
the file holds, for a test program): `unproven` lists those that are not.
"""
import dataclasses
import fnmatch
import pathlib
import re

KINDS = ("condition", "action", "expression")
# The pages that are not an entry's, in the order of the contents.
ARTICLES = ("overview.txt", "getting-started.txt", "requirements.txt", "limits.txt", "glossary.txt",
            "troubleshooting.txt")
ERRORS = "errors.txt"
LAUNCH = "launch"   # the key of the launch results in the table of error numbers
FIELD = re.compile(r"^(what|param [12]|result|example|see also|index|intro|stored by|also called|means|do|no claim):\s*(.*)$")
HEADER = re.compile(r"^\[(condition|action|expression|error) (-?\d+|launch)\]\s+(.+)$")
CLAIM = re.compile(r"^\s+> (.*)$")
PROOF = re.compile(r"^\s+> proven by (\S+)$")   # a test script that shows the text above
ENTRY_LINK = re.compile(r"\[\[(condition|action|expression) (\d+)\]\]")
VERSION_HEADING = re.compile(r"^## (\d+\.\d+\.\d+)\b.*$", re.M)


class ProseError(Exception):
    pass


PROSE_TOKENS = {}   # {token: text}, filled in by use_version and use_identity


def use_version(version):
    """Fills the tokens of the module's version (a.b.c) into every prose file read from now on."""
    major, minor, build = (int(part) for part in version.split("."))
    PROSE_TOKENS.update(version=version, major=str(major), minor=str(minor), build=str(build),
                          version_ms=str(major << 16 | minor), version_ls=str(build << 16))


def use_identity(identity):
    """Fills {address}, the address the object's about box gives, into the prose read from now on."""
    PROSE_TOKENS.update(address=identity.get("webAddress", ""))


def prose_lines(path):
    """The lines of a prose file, its tokens (the version, the address) filled in."""
    text = pathlib.Path(path).read_text(encoding="utf-8")
    return re.sub(r"\{(\w+)\}", lambda m: PROSE_TOKENS.get(m[1], m[0]), text).splitlines()


@dataclasses.dataclass(eq=False)
class ProseText:
    """A piece of text (an edge case, a field, a paragraph or list item of an article) and the
    claim lines below it; `proof` names a test script that shows it where no claim can."""
    file: str
    words: str                                   # the text the claim shows
    kind: str                                    # "edge", "item", "paragraph" or a field's name
    line: int
    lines: list = dataclasses.field(default_factory=list)   # (line number, script line)
    proof: str = ""

    @property
    def where(self):
        return f"{self.file}:{self.lines[0][0] if self.lines else self.line}"


def read_texts(path):
    """Every piece of text of one prose file with its claim, in order. In an article a blank
    line ends a paragraph; in the other files a field or an edge case runs to the next one."""
    path = pathlib.Path(path)
    article = path.name in ARTICLES
    texts, current = [], None
    for number, line in enumerate(prose_lines(path), 1):
        proof, script, field = PROOF.match(line), CLAIM.match(line), FIELD.match(line)
        if (proof or script) and current is not None:
            if proof:
                current.proof = proof[1]
            else:
                current.lines.append((number, script[1]))
        elif line.startswith("#") or not line.strip():
            current = None if article or (current and current.lines) else current
        elif HEADER.match(line) or re.match(r"^(==? |index:)", line):
            current = None
        elif field or line.startswith("- ") or current is None or current.lines or (
                article and line.startswith("  ") != (current.kind == "item")):
            kind = field[1] if field else ("item" if article else "edge") if line.startswith("- ") else "paragraph"
            current = ProseText(path.name, (field[2] if field else line[2:] if line.startswith("- ") else line).strip(),
                            kind, number)
            texts.append(current)
        else:
            current.words += " " + line.strip()
    return texts


def read_claims(path):
    """Every claim of one prose file, in order."""
    return [text for text in read_texts(path) if text.lines]


# ---- what a text states, against what its claim saw ------------------------------------

# The forms a reader takes at their word: "gives 4", "stores 13", "is refused with 38",
# "answers false", "is true", "gives `03/11/26`", "gives the empty text".
STATED_NUMBER = re.compile(r"\b(?:gives?|stores?|refused with|answers?)\s+(-?\d+)\b(?![/:.]\d)")
STATED_TEXT = re.compile(r"\bgives?\s+(?:`([^`]*)`|(?:the |an )?(empty) text)")
STATED_TRUTH = re.compile(r"\b(?:answers?|gives?|is|stays?|becomes?)\s+(true|false)\b")
TOKEN = re.compile(r'"[^"]*"|->|\S+')


def stated(words):
    """{(form, value)} a text states: ("number", N), ("text", TEXT) or ("truth", "true")."""
    text = re.sub(r"\[\[error (-?\d+)\]\]", r"\1", words)
    return ({("number", int(n)) for n in STATED_NUMBER.findall(text)}
            | {("text", "" if empty else quoted) for quoted, empty in STATED_TEXT.findall(text)}
            | {("truth", word) for word in STATED_TRUTH.findall(text)})


def seen(script_lines):
    """{(form, value)} the expectations of script lines check: every number and text (a pattern
    too, which a stated text may match), and the truth value a condition is expected to give.
    Negated expectations and lengths see nothing."""
    found = set()
    for line in script_lines:
        tokens = TOKEN.findall(line)
        if "->" not in tokens:
            continue
        expected = tokens[tokens.index("->") + 1:]
        if expected[:1] in (["not"], ["length"]):
            continue
        for token in expected:
            number = {"true": "1", "false": "0"}.get(token, token)
            if re.fullmatch(r"-?\d+|0x[0-9A-Fa-f]+", number):
                found.add(("number", int(number, 16 if number.startswith("0x") else 10)))
                if tokens[0] == "condition" and number in ("0", "1"):
                    found.add(("truth", "true" if number == "1" else "false"))
            elif token.startswith('"'):
                found.add(("text", token[1:-1]))
    return found


def proof_seen(repository, proof):
    """What a test names as its proof shows: a qtxhost script's expectations, or the numbers a
    test program's source holds."""
    path = pathlib.Path(repository, proof)
    if not path.is_file():
        return None
    text = path.read_text(encoding="utf-8", errors="replace")
    if path.suffix == ".qtxs":
        return seen(text.splitlines())
    return {("number", int(n)) for n in re.findall(r"(?<![\w.])-?\d+(?![\w.])", text)}


def unproven(texts):
    """What the prose (the texts read_texts gives) states and no claim shows: an edge case or
    example without a claim, and a value stated in an edge case, an example or an article that its
    claim never saw."""
    errors, repository = [], pathlib.Path(__file__).resolve().parents[1]
    for text in texts:
        if text.file == ERRORS or text.kind not in ("edge", "example", "paragraph", "item"):
            continue
        where, claimed = f"{text.file}:{text.line}", stated(text.words)
        if text.proof:
            shown = proof_seen(repository, text.proof)
            if shown is None:
                errors.append(f"{where}: its proof {text.proof} does not exist")
                continue
        else:
            shown = seen(script for _, script in text.lines)
        if text.kind in ("edge", "example") and not text.lines and not text.proof:
            errors.append(f"{where}: no claim shows this {text.kind} (add one, or '> proven by TEST_FILE')")
        for form, value in sorted(claimed, key=str):
            if not any(form == f and (value == v or form == "text" and value and fnmatch.fnmatchcase(value, v))
                       for f, v in shown):
                errors.append(f"{where}: says {value!r} ({form}), which its claim never sees")
    return errors


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
    for number, line in enumerate(prose_lines(path), 1):
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


def read_prose(folder, entries, entry_names):
    """The prose of every entry: {(KIND, CODE): section}, and the errors found. entry_names
    gives the names a header may use."""
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
        wanted = {"what", "result", "example", "index"} | {f"param {i + 1}" for i in range(len(entry["parameters"]))}
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
    ("paragraph", TEXT), ("list", [ITEM...]), ("example", TEXT, [SCRIPT LINE...]); other claim
    lines are left out."""
    blocks, block, bullets, script = [], [], [], None

    def flush():
        nonlocal script
        if block and script is not None:
            blocks.append(("example", " ".join(block), script))
        elif block:
            blocks.append(("paragraph", " ".join(block)))
        block.clear()
        script = None
        if bullets:
            blocks.append(("list", list(bullets)))
            bullets.clear()

    for line in prose_lines(path):
        claim = CLAIM.match(line)
        if claim and script is not None:
            script.append(claim[1])
        if line.startswith("#") or claim:
            continue
        if line.startswith("example:"):
            flush()
            script = []
            line = line[len("example:"):]
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


def article_headings(folder, name):
    """The `= TITLE` of one article and {"#anchor": heading} of its headings, read once."""
    blocks = read_article(pathlib.Path(folder, name))
    title = next((block[1] for block in blocks if block[0] == "title"), name)
    return title, {f"#{block[2]}": block[1] for block in blocks if block[0] == "heading" and block[2]}


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
