"""Writes the File object's help pages, contents, index and project for chmcmd.

Usage: make_help.py VERSION CATALOGUE.json PROSE_FOLDER CHANGELOG.md OUTPUT_FOLDER EXAMPLES_FOLDER

EXAMPLES_FOLDER receives one ready qtxhost script per example of the help, which the release ships.

VERSION is the module's, a.b.c, as the build gives it. The catalogue is what `qtxhost describe
--json` reads from the module: menus, display strings, parameter titles and types. The prose
folder says what each entry does, holds the articles (the overview, getting started,
requirements, limits, the glossary, troubleshooting) and the table of error numbers (formats in
help_prose.py). The change log's latest entry, which must be VERSION's,
goes on the overview. Every entry of the catalogue needs exactly one prose section, a section
must name an entry that exists, and a link to an error number on an action's page needs that
action among the number's entries. What a reader in a hurry would trip over fails too: a value a
sentence states that its claim never sees (help_prose.unproven), an example the page cannot show
whole (help_examples.py), an empty section, another name for an entry, a directory or file
action whose first edge case does not say that it waits for the last error, a sentence over
LONGEST_SENTENCE words, an entry without its outcome (`result:`), an example that never calls its
entry or checks no result, one of the DEVELOPER_WORDS in the help or the change log. Then
nothing is written and the exit status is 1 (tests/help_refusals.py plants each once).
"""
import html
import json
import pathlib
import re
import shutil
import textwrap
import sys

from help_examples import TOKEN as EXAMPLE_TOKEN, ExampleError, example_rows
from help_prose import (ARTICLES, KINDS, LAUNCH, ProseError, latest_change, read_article, article_headings,
                        prose_files, read_error_table, read_prose, read_texts, topic_words, unproven, use_identity,
                        use_version)

GROUP_TITLES = {"condition": "Conditions", "action": "Actions", "expression": "Expressions"}
OUTCOME_HEADING = "Outcome"   # the one name of the section on every entry page that says what the entry leaves
PARAMETER_TYPES = {"text": "text", "number": "integer", "integer": "integer"}
ARTICLE_PAGES = tuple(pathlib.Path(name).stem for name in ARTICLES)   # "overview", "getting-started", ...
LINK = re.compile(r"\[\[(condition|action|expression) (\d+)\]\]|\[\[error (-?\d+|launch)\]\]"
                  rf"|\[\[({'|'.join(ARTICLE_PAGES)}|errors)(#[a-z-]+)?\]\]")
TITLE = "File object help"
HELP_FILE = "File.chm"
OVERVIEW, TROUBLESHOOTING, ERROR_PAGE = "overview.html", "troubleshooting.html", "errors.html"
ERROR_PAGE_TITLE = "Error numbers"
ARTICLE_LINK_TEXTS = {"overview": "the overview", "glossary": "the glossary"}   # the others are linked by their titles
STYLESHEET = "help.css"
OBJECT_NAME = "File"   # the object as an example names it
LONGEST_SENTENCE = 35   # words
# Words of the developers' trade that the help and the change log's entries, read by users, do without.
DEVELOPER_WORDS = ("repository", "commit", "branch", "merge", "refactor", "CI", "test suite", "C runtime", "runtime",
                   "stream error", "errno", "handle", "stdcall", "heap", "qtxhost script")
# The actions of these menus, the directory and file actions, store an error number and do
# nothing while the last error is not 0, the first edge case of each saying so; but "Run
# application", which stores its launch result.
STORING_MENUS, RUN_APPLICATION = {"Directory Actions", "File Actions"}, "Run application"
STOPPED_CASE = re.compile(r"^Does nothing while the last error is not 0\b.*\[\[troubleshooting#does-nothing\]\]")


# ---- the catalogue ----------------------------------------------------------------------

def load_catalogue(path):
    catalogue = json.loads(pathlib.Path(path).read_text(encoding="utf-8"))
    entries = {}
    for kind in KINDS:
        for entry in catalogue[kind]["entries"]:
            entry["kind"] = kind
            entries[(kind, entry["code"])] = entry
    return catalogue, entries


def display_text(entry):
    """The display string as the editor shows it: the two leading digits dropped."""
    text = entry["display"]
    return text[2:] if entry["kind"] != "expression" and text[:2].isdigit() else text


def placeholder_names(entry):
    """What stands for each %s of the display string: the object, then each parameter."""
    titles = [p["title"] or f"parameter {i + 1}" for i, p in enumerate(entry["parameters"])]
    return ([None] if entry["display"][:1] == "1" else []) + titles


def entry_name(entry):
    """Every menu text of the entry, or its display text when no menu item leads to it."""
    return " / ".join(dict.fromkeys(path.split(" > ")[-1] for path in entry["menus"])) or display_text(entry)


def entry_names(entry):
    return {path.split(" > ")[-1] for path in entry["menus"]} | {display_text(entry)}


def menu_groups(entry):
    """The top menus that lead to the entry."""
    return {path.split(" > ")[0] for path in entry["menus"]}


def stores_error(entry):
    return entry["kind"] == "action" and bool(menu_groups(entry) & STORING_MENUS)


def stopped_by_last_error(entry):
    return stores_error(entry) and entry_name(entry) != RUN_APPLICATION


def script_names(entries):
    """{(KIND, name): entry} for every way a script may name an entry."""
    names = {}
    for (kind, code), entry in entries.items():
        for name in entry_names(entry) | set(entry["menus"]) | {entry["display"], str(code)}:
            names[(kind, name)] = entry
    return names


def page_name(kind, code):
    return f"{kind}{code}.html"


def error_anchor(number):
    return f"e{number}"


def anchor(text):
    return re.sub(r"[^a-z0-9]+", "-", text.lower()).strip("-")


# ---- text -------------------------------------------------------------------------------

class Writer:
    """Turns prose into HTML for one help file, collecting what is wrong in `errors`."""

    def __init__(self, entries, rows, headings):
        self.entries, self.rows, self.headings = entries, rows, headings
        self.errors, self.page_entry = [], None
        self.names = script_names(entries)

    def link(self, match):
        if match[1]:
            entry = self.entries.get((match[1], int(match[2])))
            if entry is None:
                self.errors.append(f"link to a missing {match[1]} {match[2]}")
                return html.escape(match[0])
            return f'<a href="{page_name(match[1], int(match[2]))}">{html.escape(entry_name(entry))}</a>'
        if match[3]:
            number = match[3] if match[3] == LAUNCH else int(match[3])
            row = self.rows.get(number)
            if row is None:
                self.errors.append(f"link to error {number}, which the table of error numbers lacks")
            elif self.page_entry and self.page_entry[0] == "action" and self.page_entry not in row["entries"]:
                self.errors.append(f"action {self.page_entry[1]} names error {number}; the table does not list it there")
            text = "the launch results" if number == LAUNCH else str(number)
            return f'<a href="{ERROR_PAGE}#{error_anchor(number)}">{text}</a>'
        page, key = match[4], match[5]
        if page == "errors":
            return f'<a href="{ERROR_PAGE}">{ERROR_PAGE_TITLE}</a>'
        title, anchors = self.headings[page]
        heading = anchors.get(key) if key else ARTICLE_LINK_TEXTS.get(page, title)
        if heading is None:
            self.errors.append(f"link to a missing {page} heading {key}")
            return html.escape(match[0])
        return f'<a href="{page}.html{key or ""}">{html.escape(heading)}</a>'

    def inline(self, text):
        """Escapes text, sets `code`, and turns [[...]] into links."""
        out = []
        for part in re.split(r"(`[^`]*`)", text):
            if part.startswith("`") and part.endswith("`") and len(part) > 1:
                out.append(f"<code>{html.escape(part[1:-1])}</code>")
            else:
                out.append(LINK.sub(self.link, html.escape(part, quote=False)))
        return "".join(out)

    def paragraphs(self, lines, label=""):
        """Lines of one field into <p> paragraphs, an empty line between two; lines starting
        with "* " are the items of a list, which an empty line ends. A label starts the first
        paragraph."""
        blocks = []
        for line in lines:
            if line.startswith("* "):
                if not blocks or blocks[-1][0] != "list":
                    blocks.append(("list", []))
                blocks[-1][1].append(line[2:])
            elif not line:
                blocks.append(("gap", []))
            elif blocks and blocks[-1][0] in ("p", "list"):
                blocks[-1][1][-1] += " " + line
            else:
                blocks.append(("p", [line]))
        out = f"<p><b>{label}:</b></p>\n" if label and blocks[:1] and blocks[0][0] == "list" else ""
        for kind, texts in blocks:
            if kind == "list":
                out += "<ul>\n" + "".join(f"<li>{self.inline(text)}</li>\n" for text in texts) + "</ul>\n"
            elif kind == "p":
                start = f"<b>{label}:</b> " if label and not out else ""
                out += f"<p>{start}{self.inline(texts[0])}</p>\n"
        return out

    def written_call(self, kind, name, values):
        """A call of an entry as the editor writes it, its parameters as given."""
        entry = self.names.get((kind, name))
        if entry is None:
            raise ExampleError(f"an example calls {kind} {name!r}, which the catalogue lacks")
        if kind == "expression":
            return entry["display"] + (f"{', '.join(values)})" if values else " )" if entry["display"].endswith("(") else "")
        pieces = display_text(entry).split("%s")
        fillers = ([OBJECT_NAME] if placeholder_names(entry)[:1] == [None] else []) + values
        return pieces[0] + "".join(f"{fill}{piece}" for fill, piece in zip(fillers, pieces[1:]))


def shown_display(entry):
    """The display text as the editor shows it, each placeholder named by what it stands for."""
    if entry["kind"] == "expression":
        return f"<code>{html.escape(entry['display'])}</code>"
    pieces = display_text(entry).split("%s")
    names = placeholder_names(entry)
    out = html.escape(pieces[0])
    for i, piece in enumerate(pieces[1:]):
        name = (names[i] or "object") if i < len(names) else "?"
        out += f"<var>&lt;{html.escape(name)}&gt;</var>{html.escape(piece)}"
    return out


# ---- pages ------------------------------------------------------------------------------

NAV = [("Overview", OVERVIEW), ("Getting started", "getting-started.html"), ("Conditions", "conditions.html"),
       ("Actions", "actions.html"), ("Expressions", "expressions.html"), (ERROR_PAGE_TITLE, ERROR_PAGE),
       ("Troubleshooting", TROUBLESHOOTING), ("Requirements", "requirements.html"), ("Limits", "limits.html"),
       ("Glossary", "glossary.html")]


def page(title, body):
    links = " | ".join(f'<a href="{href}">{html.escape(text)}</a>' for text, href in NAV)
    return ("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\n<html>\n<head>\n"
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\n"
            f"<title>{html.escape(title)}</title>\n<link rel=\"stylesheet\" type=\"text/css\" href=\"{STYLESHEET}\">\n"
            f"</head>\n<body>\n<p class=\"nav\">{links}</p>\n{body}</body>\n</html>\n")


def example_table(script, writer, where):
    """An example's claim as rows: the calls as written in the editor with what they give, the
    steps around them in words."""
    try:
        rows = example_rows(script, writer.written_call)
    except ExampleError as error:
        writer.errors.append(f"{where}'s example: {error}")
        return ""
    if not rows:
        return ""
    body = "<table class=\"written\">\n<tr><th>As written in the editor</th><th>Gives</th></tr>\n"
    for row in rows:
        if row[0] == "call" and row[2]:
            body += f"<tr><td><code>{html.escape(row[1])}</code></td><td>{html.escape(row[2])}</td></tr>\n"
        elif row[0] == "call":   # an action gives nothing
            body += f"<tr><td colspan=\"2\"><code>{html.escape(row[1])}</code></td></tr>\n"
        else:
            body += f"<tr class=\"step\"><td colspan=\"2\">{row[1]}</td></tr>\n"
    return body + "</table>\n"


def example_section(section, writer):
    """The example's words, then its claim as editor lines."""
    where = f"{section['file']}: {writer.page_entry[0]} {writer.page_entry[1]}"
    return ("<h2>Example</h2>\n" + writer.paragraphs(section["example"])
            + example_table(section.get("example script", []), writer, where))


def entry_page(entry, section, writer):
    kind, code = entry["kind"], entry["code"]
    writer.page_entry = (kind, code)
    group = GROUP_TITLES[kind]
    menus = "<br>".join(html.escape(f"{group} > {path}") for path in entry["menus"]) or "none: no menu item leads here"
    title = entry_name(entry)
    body = [f"<h1>{html.escape(title)}</h1>\n", writer.paragraphs(section["what"])]
    facts = [("Menu", menus), ("Display text", shown_display(entry)), ("Code", f"{kind} {code}")]
    if kind == "expression":
        facts.insert(2, ("Gives", "a text" if entry["result"] == "text" else "an integer"))
    if not entry["parameters"]:
        facts.insert(1, ("Parameters", "none"))
    body.append("<table class=\"facts\">\n" + "".join(
        f"<tr><th>{name}</th><td>{value}</td></tr>\n" for name, value in facts) + "</table>\n")
    if entry["parameters"]:
        body.append("<h2>Parameters</h2>\n<table class=\"params\">\n"
                    "<tr><th>#</th><th>Title</th><th>Takes</th><th>What to give</th></tr>\n")
        for i, parameter in enumerate(entry["parameters"], 1):
            body.append(f"<tr><td>{i}</td><td>{html.escape(parameter['title']) or '(none)'}</td>"
                        f"<td>{PARAMETER_TYPES[parameter['type']]}</td><td>{writer.paragraphs(section[f'param {i}'])}</td></tr>\n")
        body.append("</table>\n")
    stores = stores_error(entry)
    body.append(f"<h2>{OUTCOME_HEADING}</h2>\n" + writer.paragraphs(section["result"]))
    if stores:
        body.append(writer.paragraphs(["What each number means for your files, and what to do: [[errors]]."]))
    if section["edge"]:
        body.append("<h2>Edge cases</h2>\n<ul>\n" + "".join(
            f"<li>{writer.inline(' '.join(item))}</li>\n" for item in section["edge"]) + "</ul>\n")
    body.append(example_section(section, writer))
    if "see also" in section:
        body.append("<h2>See also</h2>\n" + writer.paragraphs(section["see also"]))
    writer.page_entry = None
    return page(f"{title} ({kind} {code})", "".join(body))


def menu_list(nodes, kind, entries, trail):
    items = []
    for node in nodes:
        if node.get("separator"):
            continue
        if "items" in node:
            path = trail + [node["text"]]
            items.append(f"<li><a name=\"{anchor(' '.join(path))}\"></a><b>{html.escape(node['text'])}</b>\n"
                         + menu_list(node["items"], kind, entries, path) + "</li>\n")
        else:
            entry = entries[(kind, node["code"])]
            items.append(f"<li><a href=\"{page_name(kind, node['code'])}\">{html.escape(node['text'])}</a>"
                         f" &mdash; {shown_display(entry)}</li>\n")
    return "<ul>\n" + "".join(items) + "</ul>\n"


def unlisted(kind, entries):
    return [e for (k, _), e in sorted(entries.items()) if k == kind and not e["menus"]]


def group_page(kind, catalogue, entries):
    title = GROUP_TITLES[kind]
    body = f"<h1>{title}</h1>\n<p>The {kind} menu of the object, as the editor shows it.</p>\n"
    body += menu_list(catalogue[kind]["menu"], kind, entries, [])
    hidden = unlisted(kind, entries)
    if hidden:
        body += ("<h2>Not in the menu</h2>\n<p>No menu item leads to these, so the editor cannot offer them; "
                 "each page says what to use instead.</p>\n<ul>\n")
        body += "".join(f"<li><a href=\"{page_name(kind, e['code'])}\">{html.escape(entry_name(e))}</a></li>\n" for e in hidden)
        body += "</ul>\n"
    return page(title, body)


def filled(text, tokens):
    """{changes} and the other tokens replaced by their texts."""
    return re.sub(r"\{(\w+)\}", lambda m: tokens.get(m[1], m[0]), text)


def article_page(path, writer, tokens):
    """An article; a paragraph that is just a {token} becomes the HTML `tokens` holds for it."""
    body, title = [], TITLE
    for block in read_article(path):
        if block[0] == "title":
            title = block[1]
            body.append(f"<h1>{html.escape(title)}</h1>\n")
        elif block[0] == "heading":
            name = f"<a name=\"{block[2]}\"></a>" if block[2] else ""
            body.append(f"<h2>{name}{html.escape(filled(block[1], tokens))}</h2>\n")
        elif block[0] == "paragraph" and re.fullmatch(r"\{\w+\}", block[1]):
            body.append(tokens[block[1][1:-1]])
        elif block[0] == "paragraph":
            body.append(f"<p>{writer.inline(filled(block[1], tokens))}</p>\n")
        elif block[0] == "list":
            body.append("<ul>\n" + "".join(f"<li>{writer.inline(filled(item, tokens))}</li>\n" for item in block[1]) + "</ul>\n")
        elif block[0] == "example":
            body.append(f"<p>{writer.inline(block[1])}</p>\n" + example_table(block[2], writer, path.name))
    return page(title, "".join(body))


def error_page(intro, rows, writer):
    # The numbers about files first, then those about launches.
    ordered = sorted(rows.items(), key=lambda item: (item[0] == LAUNCH, item[0] != LAUNCH and item[0] < 0,
                                                     item[0] if item[0] != LAUNCH else 0))
    body = [f"<h1>{ERROR_PAGE_TITLE}</h1>\n", writer.paragraphs(intro["intro"])]
    body.append("<table class=\"errors\">\n<tr><th>Number</th><th>What happened</th></tr>\n")
    for number, row in ordered:
        shown = "any other" if number == LAUNCH else str(number)
        body.append(f"<tr><td><a href=\"#{error_anchor(number)}\">{shown}</a></td><td>{writer.inline(row['name'])}</td></tr>\n")
    body.append("</table>\n")
    for number, row in ordered:
        heading = row["name"] if number == LAUNCH else f"{number}: {row['name']}"
        body.append(f"<h2><a name=\"{error_anchor(number)}\"></a>{writer.inline(heading)}</h2>\n")
        if "also called" in row:
            body.append(writer.paragraphs([f"Other programs' messages may call it `{row['also called'][0]}`; "
                                           "here it means only what this section says."]))
        for label, field in (("Stored by", "stored by"), ("What it means for your file", "means"), ("What to do", "do")):
            body.append(writer.paragraphs(row[field], label))
    return page(ERROR_PAGE_TITLE, "".join(body))


def changes_list(changelog, version, writer):
    """The latest entry of the change log as a list, and what in it speaks to developers
    rather than to the users who read it in the help and the release, or names another version."""
    latest, lines = latest_change(changelog)
    items, current = [], None
    for line in lines:
        if line.startswith("- "):
            current = [line[2:]]
            items.append(current)
        elif current is not None:
            current.append(line.strip())
    errors = [f"{changelog}: '{word}' speaks to developers, not to users" for word in developer_words(" ".join(lines))]
    if latest != version:
        errors.append(f"{changelog}: the latest entry is {latest}'s, but the module is version {version}")
    return "<ul>\n" + "".join(f"<li>{writer.inline(' '.join(item))}</li>\n" for item in items) + "</ul>\n", errors


# ---- contents, index, project -----------------------------------------------------------

def sitemap_item(name, local):
    return (f"<LI> <OBJECT type=\"text/sitemap\">\n<param name=\"Name\" value=\"{html.escape(name)}\">\n"
            f"<param name=\"Local\" value=\"{local}\">\n</OBJECT>\n")


def sitemap(items):
    return ("<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n<HTML>\n<HEAD>\n</HEAD>\n<BODY>\n"
            "<OBJECT type=\"text/site properties\">\n<param name=\"ImageType\" value=\"Folder\">\n</OBJECT>\n"
            f"<UL>\n{items}</UL>\n</BODY>\n</HTML>\n")


def contents_tree(nodes, kind, entries, trail):
    out = ""
    for node in nodes:
        if node.get("separator"):
            continue
        if "items" in node:
            path = trail + [node["text"]]
            out += sitemap_item(node["text"], f"{kind}s.html#{anchor(' '.join(path))}")
            out += "<UL>\n" + contents_tree(node["items"], kind, entries, path) + "</UL>\n"
        else:
            out += sitemap_item(node["text"], page_name(kind, node["code"]))
    return out


def article_contents(title, local, anchors):
    return (sitemap_item(title, local) + "<UL>\n"
            + "".join(sitemap_item(name, local + key) for key, name in anchors.items()) + "</UL>\n")


def contents(catalogue, entries, headings):
    out = ""
    for name, (title, anchors) in headings.items():
        out += article_contents(title, f"{name}.html", anchors)
        if name == "overview":
            out += sitemap_item(ERROR_PAGE_TITLE, ERROR_PAGE)
    for kind in KINDS:
        out += sitemap_item(GROUP_TITLES[kind], f"{kind}s.html") + "<UL>\n"
        out += contents_tree(catalogue[kind]["menu"], kind, entries, [])
        for entry in unlisted(kind, entries):
            out += sitemap_item(entry_name(entry), page_name(kind, entry["code"]))
        out += "</UL>\n"
    return sitemap(out)


def article_topics(folder, name):
    """(word, page and anchor) for each word of an article's `index:` lines."""
    local, topics = f"{pathlib.Path(name).stem}.html", []
    for block in read_article(pathlib.Path(folder, name)):
        if block[0] == "heading":
            local = f"{pathlib.Path(name).stem}.html" + (f"#{block[2]}" if block[2] else "")
        elif block[0] == "index":
            topics += [(word, local) for word in block[1]]
    return topics


def index(entries, sections, folder, error_intro, rows, headings):
    """Entry names lead to their pages; a topic word leads to one page, or, shared by several,
    to a list of them under the word, each named by its page or heading."""
    titles = {page_name(*key): entry_name(entry) for key, entry in entries.items()}
    titles[ERROR_PAGE] = ERROR_PAGE_TITLE
    for article, (title, anchors) in headings.items():
        titles[f"{article}.html"] = title
        titles.update({f"{article}.html{key}": heading for key, heading in anchors.items()})
    topics = {}
    for key, section in sorted(sections.items()):
        for word in topic_words(" ".join(section["index"])):
            topics.setdefault(word, []).append(page_name(*key))
    for name in ARTICLES:
        for word, local in article_topics(folder, name):
            topics.setdefault(word, []).append(local)
    for word in topic_words(" ".join(error_intro.get("index", []))):
        topics.setdefault(word, []).append(ERROR_PAGE)
    for number, row in rows.items():   # every number, and the short name others give it
        local = f"{ERROR_PAGE}#{error_anchor(number)}"
        titles[local] = row["name"] if number == LAUNCH else f"Error {number}: {row['name']}"
        for word in ([] if number == LAUNCH else [f"error {number}"]) + row.get("also called", []):
            topics.setdefault(word, []).append(local)
    for (kind, code), entry in entries.items():
        names = {path.split(" > ")[-1] for path in entry["menus"]}
        if kind == "expression" or not names:
            names.add(display_text(entry))
        for name in names:
            topics.setdefault(name, []).append(page_name(kind, code))
    out = ""
    for word, locals_ in sorted(topics.items(), key=lambda item: item[0].lower()):
        locals_ = list(dict.fromkeys(locals_))
        out += sitemap_item(word, locals_[0])
        if len(locals_) > 1:
            out += "<UL>\n" + "".join(sitemap_item(titles[local], local) for local in locals_) + "</UL>\n"
    return sitemap(out)


def project(files):
    return ("[OPTIONS]\nCompatibility=1.1 or later\n"
            f"Compiled file={HELP_FILE}\nContents file=contents.hhc\nIndex file=index.hhk\n"
            f"Default topic={OVERVIEW}\nDefault Window=main\nDisplay compile progress=No\n"
            f"Full-text search=Yes\nLanguage=0x409 English (United States)\nTitle={TITLE}\n\n"
            f"[WINDOWS]\nmain=\"{TITLE}\",\"contents.hhc\",\"index.hhk\",\"{OVERVIEW}\",\"{OVERVIEW}\",,,,,0x2520,,0x3006,,,,,,,,0\n\n"
            "[FILES]\n" + "".join(f"{name}\n" for name in files))


def norm(text):
    return re.sub(r"[^a-z0-9]", "", text.lower())


def name_errors(texts, entries):
    """One name per entry: a name in quotes is an entry's menu text (its display text when no
    menu item leads to it); a quoted text that holds or is held by another of an entry's names
    (its display string, its title, its name with words of the writer's own) is an error."""
    canonical, others = {name for entry in entries.values() for name in entry_name(entry).split(" / ")}, {}
    for entry in entries.values():
        for other in {display_text(entry), entry["display"], entry.get("title") or ""} | set(entry_name(entry).split(" / ")):
            if len(norm(other)) >= 6:
                others[norm(other)] = entry_name(entry).split(" / ")[0]
    errors = []
    for text in texts:
        for quoted in re.findall(r'"([^"]+)"', text.words):
            near = [name for other, name in others.items() if other in norm(quoted) or norm(quoted) in other]
            if quoted not in canonical and len(norm(quoted)) >= 6 and near:
                errors.append(f"{text.file}:{text.line}: \"{quoted}\" is called \"{near[0]}\" everywhere else")
    return errors


def example_errors(sections, entries, names):
    """Every entry's example calls the entry, and shows what it gave: a line that checks a result."""
    errors = []
    for key, section in sorted(sections.items()):
        lines = [EXAMPLE_TOKEN.findall(line) for line in section.get("example script", [])]
        calls = [tokens[3:] if tokens[:1] == ["let"] else tokens for tokens in lines]
        where = f"{section['file']}: {key[0]} {key[1]}'s example"
        if not any(len(call) > 1 and names.get((call[0], call[1].strip('"'))) is entries[key] for call in calls):
            errors.append(f"{where} never uses it")
        if not any("->" in tokens for tokens in lines):
            errors.append(f"{where} shows no result")
    return errors


def developer_words(words):
    """The developers' words in a text a user reads."""
    return [word for word in DEVELOPER_WORDS if re.search(rf"\b{word}\b", words, re.IGNORECASE)]


def developer_word_errors(texts):
    return [f"{text.file}:{text.line}: '{word}' speaks to developers, not to users"
            for text in texts for word in developer_words(text.words)]


def run_on_errors(texts):
    """Sentences (or parts of one between semicolons and colons) too long to read in a hurry."""
    return [f"{text.file}:{text.line}: a sentence of {len(part.split())} words: {part[:60]}..."
            for text in texts for part in re.split(r"(?<=[.!?;:])\s+", text.words) if len(part.split()) > LONGEST_SENTENCE]


def stopped_case_errors(sections, entries):
    """Each directory and file action's first edge case says that it does nothing while the last
    error is not 0, and leads to Troubleshooting."""
    return [f"{sections[key]['file']}: action {key[1]}'s first edge case must say "
            "'Does nothing while the last error is not 0' and link [[troubleshooting#does-nothing]]"
            for key, entry in sorted(entries.items()) if stopped_by_last_error(entry)
            and not STOPPED_CASE.match(" ".join((sections[key]["edge"] or [[""]])[0]))]


def empty_sections(text):
    """The headings of a page with no words of their own before the next heading."""
    parts = re.split(r"<h2>(.*?)</h2>", text.split("</body>")[0])
    return [re.sub(r"<[^>]+>", "", heading) for heading, body in zip(parts[1::2], parts[2::2])
            if not re.sub(r"<[^>]+>|\s", "", body)]


def example_script(name, title, words, script, writer):
    """A ready script of one example, for qtxhost: what the example shows, then its claim."""
    plain = html.unescape(re.sub(r"<[^>]+>", "", writer.inline(words)))
    lines = [f"# The example of {title} in {HELP_FILE}.", *textwrap.wrap(plain, 76, initial_indent="# ", subsequent_indent="# "),
             f"# Run it beside QTFILE.qtx: qtxhost.exe --scratch run QTFILE.qtx examples\\{name}", ""]
    return "\n".join(lines + script + [""])


def example_scripts(sections, entries, prose_folder, writer):
    """{file name: script} of every example: an entry's named for its page, an article's for the
    article and its place there."""
    scripts = {}
    for key, section in sorted(sections.items()):
        name = page_name(*key).replace(".html", ".qtxs")
        title = f'"{entry_name(entries[key])}" ({key[0]} {key[1]})'
        scripts[name] = example_script(name, title, " ".join(section["example"]), section.get("example script", []), writer)
    for article, page in zip(ARTICLES, ARTICLE_PAGES):
        examples = [block for block in read_article(pathlib.Path(prose_folder, article)) if block[0] == "example"]
        for number, (_, words, script) in enumerate(examples, 1):
            name = f"{page}-{number}.qtxs"
            scripts[name] = example_script(name, f'"{writer.headings[page][0]}" ({number})', words, script, writer)
    return scripts


def write_pages(catalogue, entries, prose_folder, changelog, version):
    """{file name: text} of every page, contents and index, and the errors found."""
    sections, errors = read_prose(prose_folder, entries, entry_names)
    intro, rows, table_errors = read_error_table(prose_folder)
    errors += table_errors
    for number, row in rows.items():
        errors += [f"error {number} is stored by a missing {k} {c}" for k, c in row["entries"] if (k, c) not in entries]
    if not errors:
        texts = [text for path in prose_files(prose_folder) for text in read_texts(path)]
        errors += (unproven(texts) + name_errors(texts, entries)
                   + stopped_case_errors(sections, entries) + run_on_errors(texts) + developer_word_errors(texts)
                   + example_errors(sections, entries, script_names(entries)))
    if errors:
        return {}, {}, errors
    headings = {page: article_headings(prose_folder, name) for name, page in zip(ARTICLES, ARTICLE_PAGES)}
    writer = Writer(entries, rows, headings)
    changes, change_errors = changes_list(changelog, version, writer)
    writer.errors += change_errors
    menus = "<ul>\n" + "".join(f"<li><a href=\"{k}s.html\">{GROUP_TITLES[k]}</a></li>\n" for k in KINDS) + "</ul>\n"
    tokens = {"changes": changes, "menus": menus}
    pages = {page_name(*key): entry_page(entry, sections[key], writer) for key, entry in sorted(entries.items())}
    pages.update({f"{kind}s.html": group_page(kind, catalogue, entries) for kind in KINDS})
    for name in ARTICLES:
        pages[f"{pathlib.Path(name).stem}.html"] = article_page(pathlib.Path(prose_folder, name), writer, tokens)
    pages[ERROR_PAGE] = error_page(intro, rows, writer)
    errors = writer.errors + [f"{name}: the section '{heading}' is empty" for name, text in pages.items()
                              for heading in empty_sections(text)]
    pages["contents.hhc"] = contents(catalogue, entries, headings)
    pages["index.hhk"] = index(entries, sections, prose_folder, intro, rows, headings)
    return pages, example_scripts(sections, entries, prose_folder, writer), errors


def main(version, catalogue_path, prose_folder, changelog, out_folder, examples_folder):
    use_version(version)
    catalogue, entries = load_catalogue(catalogue_path)
    use_identity(catalogue["identity"])
    try:
        files, scripts, errors = write_pages(catalogue, entries, prose_folder, changelog, version)
    except ProseError as error:
        files, scripts, errors = {}, {}, [str(error)]
    if errors:
        for error in errors:
            print(f"make_help: {error}", file=sys.stderr)
        return 1
    out = pathlib.Path(out_folder)
    shutil.rmtree(out, ignore_errors=True)
    out.mkdir(parents=True)
    for name, text in files.items():
        (out / name).write_text(text, encoding="cp1252", errors="xmlcharrefreplace", newline="\r\n")
    shutil.copy(pathlib.Path(__file__).with_name(STYLESHEET), out / STYLESHEET)
    pages = sorted(name for name in files if name.endswith(".html"))
    (out / "File.hhp").write_text(project(pages + [STYLESHEET]), encoding="cp1252", newline="\r\n")
    examples = pathlib.Path(examples_folder)
    shutil.rmtree(examples, ignore_errors=True)
    examples.mkdir(parents=True)
    for name, text in scripts.items():
        (examples / name).write_text(text, encoding="cp1252", newline="\r\n")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 7:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
