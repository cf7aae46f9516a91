#!/usr/bin/python3
"""Writes the File object's help pages, contents, index and project for chmcmd.

Usage: make_help.py CATALOGUE.json PROSE_FOLDER OUTPUT_FOLDER

The catalogue is what `qtxhost describe --json` reads from the module: menus, display
strings, parameter titles and types. The prose, one file per menu group, says what each entry
does. Every entry of the catalogue needs exactly one prose section, and a section must name an
entry that exists; otherwise nothing is written and the exit status is 1.

Prose format: a section starts with a line `[KIND CODE] NAME` (NAME is one of the entry's menu
texts or its display name). Then fields, each starting a line: `what:`, `param 1:`, `param 2:`,
`result:`, `example:`, and `- ` for each edge case. Other lines continue the field above; a
blank line starts a new paragraph. In the text, `code` is set as code and [[KIND CODE]] or
[[overview#ANCHOR]] becomes a link. Lines starting with `#` are comments.
"""
import html
import json
import pathlib
import re
import shutil
import sys

KINDS = ("condition", "action", "expression")
GROUP_TITLES = {"condition": "Conditions", "action": "Actions", "expression": "Expressions"}
RESULT_HEADINGS = {"condition": "Answer", "action": "What it stores", "expression": "Result"}
FIELD = re.compile(r"^(what|param [12]|result|example):\s*(.*)$")
HEADER = re.compile(r"^\[(condition|action|expression) (\d+)\]\s+(.+)$")
LINK = re.compile(r"\[\[(condition|action|expression) (\d+)\]\]|\[\[overview(#[a-z-]+)?\]\]")
TITLE = "File object help"
HELP_FILE = "File.chm"
OVERVIEW = "overview.html"
STYLESHEET = "help.css"
# Actions that never store an error (the selector settings and dialogs) may leave `result:` out.
NO_STORE_ACTIONS = set(range(13, 23))
# The overview's headings by anchor ("#last-error": "The last error"), read before any page.
OVERVIEW_HEADINGS = {}


class ProseError(Exception):
    pass


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


def entry_name(entry):
    if entry["menus"]:
        return entry["menus"][0].split(" > ")[-1]
    return display_text(entry)


def entry_names(entry):
    return {path.split(" > ")[-1] for path in entry["menus"]} | {display_text(entry)}


def page_name(kind, code):
    return f"{kind}{code}.html"


def anchor(text):
    return re.sub(r"[^a-z0-9]+", "-", text.lower()).strip("-")


# ---- the prose --------------------------------------------------------------------------

def read_prose(folder, entries):
    sections, errors = {}, []
    for path in sorted(pathlib.Path(folder).glob("*.txt")):
        if path.name == "overview.txt":
            continue
        current, field = None, None
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            where = f"{path.name}:{number}"
            if line.startswith("#"):
                continue
            header = HEADER.match(line)
            if header:
                key = (header[1], int(header[2]))
                entry = entries.get(key)
                if entry is None:
                    errors.append(f"{where}: no {key[0]} {key[1]} in the catalogue")
                elif header[3].strip() not in entry_names(entry):
                    errors.append(f"{where}: {key[0]} {key[1]} is {sorted(entry_names(entry))}, not {header[3]!r}")
                elif key in sections:
                    errors.append(f"{where}: {key[0]} {key[1]} has prose already")
                current = sections.setdefault(key, {"edge": [], "file": path.name})
                field = None
                continue
            if current is None:
                if line.strip():
                    errors.append(f"{where}: text before the first [KIND CODE] line")
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
    for key, entry in sorted(entries.items()):
        section = sections.get(key)
        if section is None:
            errors.append(f"{key[0]} {key[1]} ({entry_name(entry)}) has no prose")
            continue
        wanted = {"what", "example"} | {f"param {i + 1}" for i in range(len(entry["parameters"]))}
        if key[0] != "action" or key[1] not in NO_STORE_ACTIONS:
            wanted.add("result")
        for field in sorted(wanted - section.keys()):
            errors.append(f"{section['file']}: {key[0]} {key[1]} lacks '{field}:'")
        for i in (1, 2):
            if f"param {i}" in section and i > len(entry["parameters"]):
                errors.append(f"{section['file']}: {key[0]} {key[1]} has no parameter {i}")
    return sections, errors


def inline(text, entries, errors):
    """Escapes text, sets `code`, and turns [[...]] into links."""
    parts = re.split(r"(`[^`]*`)", text)
    out = []
    for part in parts:
        if part.startswith("`") and part.endswith("`") and len(part) > 1:
            out.append(f"<code>{html.escape(part[1:-1])}</code>")
            continue

        def link(match):
            if match[1]:
                entry = entries.get((match[1], int(match[2])))
                if entry is None:
                    errors.append(f"link to a missing {match[1]} {match[2]}")
                    return html.escape(match[0])
                return f'<a href="{page_name(match[1], int(match[2]))}">{html.escape(entry_name(entry))}</a>'
            heading = OVERVIEW_HEADINGS.get(match[3]) if match[3] else "the overview"
            if heading is None:
                errors.append(f"link to a missing overview heading {match[3]}")
                return html.escape(match[0])
            return f'<a href="{OVERVIEW}{match[3] or ""}">{html.escape(heading)}</a>'

        out.append(LINK.sub(link, html.escape(part, quote=False)))
    return "".join(out)


def paragraphs(lines, entries, errors):
    """Lines of one field into <p> paragraphs; an empty line separates them."""
    blocks, current = [], []
    for line in lines + [""]:
        if line:
            current.append(line)
        elif current:
            blocks.append(" ".join(current))
            current = []
    return "".join(f"<p>{inline(block, entries, errors)}</p>\n" for block in blocks)


# ---- pages ------------------------------------------------------------------------------

def page(title, body, nav):
    links = " | ".join(f'<a href="{href}">{html.escape(text)}</a>' for text, href in nav)
    return ("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\n<html>\n<head>\n"
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\n"
            f"<title>{html.escape(title)}</title>\n<link rel=\"stylesheet\" type=\"text/css\" href=\"{STYLESHEET}\">\n"
            f"</head>\n<body>\n<p class=\"nav\">{links}</p>\n{body}</body>\n</html>\n")


def shown_display(entry, raw=True):
    """The display text with its placeholders named: the object, then each parameter; with
    raw, the display string as the module gives it follows."""
    if entry["kind"] == "expression":
        return f"<code>{html.escape(entry['display'])}</code>"
    text = display_text(entry)
    titles = [p["title"] or f"parameter {i + 1}" for i, p in enumerate(entry["parameters"])]
    if entry["display"][0] == "1":
        titles.insert(0, "object")
    pieces = text.split("%s")
    out = html.escape(pieces[0])
    for i, piece in enumerate(pieces[1:]):
        name = titles[i] if i < len(titles) else "?"
        out += f"<var>{html.escape(name)}</var>{html.escape(piece)}"
    if not raw:
        return out
    return f"{out} <span class=\"raw\">(<code>{html.escape(entry['display'])}</code>)</span>"


def entry_page(entry, section, entries, errors):
    kind, code = entry["kind"], entry["code"]
    group = GROUP_TITLES[kind]
    menus = "<br>".join(html.escape(f"{group} > {path}") for path in entry["menus"]) or "none: no menu item leads here"
    title = " / ".join(dict.fromkeys(path.split(" > ")[-1] for path in entry["menus"])) or entry_name(entry)
    body = [f"<h1>{html.escape(title)}</h1>\n", paragraphs(section["what"], entries, errors)]
    facts = [("Menu", menus), ("Display text", shown_display(entry)), ("Code", f"{kind} {code}")]
    if kind == "expression":
        facts.insert(2, ("Gives", "a text" if entry["result"] == "text" else "an integer"))
    body.append("<table class=\"facts\">\n" + "".join(
        f"<tr><th>{name}</th><td>{value}</td></tr>\n" for name, value in facts) + "</table>\n")
    if entry["parameters"]:
        body.append("<h2>Parameters</h2>\n<table class=\"params\">\n"
                    "<tr><th>#</th><th>Title</th><th>Takes</th><th>What to give</th></tr>\n")
        for i, parameter in enumerate(entry["parameters"], 1):
            body.append(f"<tr><td>{i}</td><td>{html.escape(parameter['title']) or '(none)'}</td>"
                        f"<td>{parameter['type']}</td><td>{paragraphs(section[f'param {i}'], entries, errors)}</td></tr>\n")
        body.append("</table>\n")
    else:
        body.append("<h2>Parameters</h2>\n<p>None.</p>\n")
    if "result" in section:
        body.append(f"<h2>{RESULT_HEADINGS[kind]}</h2>\n" + paragraphs(section["result"], entries, errors))
    if section["edge"]:
        body.append("<h2>Edge cases</h2>\n<ul>\n" + "".join(
            f"<li>{inline(' '.join(item), entries, errors)}</li>\n" for item in section["edge"]) + "</ul>\n")
    body.append("<h2>Example</h2>\n" + paragraphs(section["example"], entries, errors))
    nav = [("Overview", OVERVIEW), (group, f"{kind}s.html")]
    return title, page(f"{title} ({kind} {code})", "".join(body), nav)


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
                         f" &mdash; {shown_display(entry, raw=False)}</li>\n")
    return "<ul>\n" + "".join(items) + "</ul>\n"


def unlisted(kind, entries):
    return [e for (k, _), e in sorted(entries.items()) if k == kind and not e["menus"]]


def group_page(kind, catalogue, entries):
    title = GROUP_TITLES[kind]
    body = f"<h1>{title}</h1>\n<p>The {kind} menu of the object, as the editor shows it.</p>\n"
    body += menu_list(catalogue[kind]["menu"], kind, entries, [])
    hidden = unlisted(kind, entries)
    if hidden:
        body += "<h2>Not in the menu</h2>\n<p>These entries have no menu item; applications made with older versions may still use them.</p>\n<ul>\n"
        body += "".join(f"<li><a href=\"{page_name(kind, e['code'])}\">{html.escape(entry_name(e))}</a></li>\n" for e in hidden)
        body += "</ul>\n"
    return page(title, body, [("Overview", OVERVIEW)])


def overview_page(folder, entries, errors):
    """overview.txt: `= TITLE`, `== HEADING {#anchor}`, paragraphs and `- ` lists."""
    lines = pathlib.Path(folder, "overview.txt").read_text(encoding="utf-8").splitlines()
    body, block, bullets, title = [], [], [], TITLE

    def flush():
        if block:
            body.append(paragraphs([" ".join(block)], entries, errors))
            block.clear()
        if bullets:
            body.append("<ul>\n" + "".join(f"<li>{inline(b, entries, errors)}</li>\n" for b in bullets) + "</ul>\n")
            bullets.clear()

    for line in lines:
        if line.startswith("#"):
            continue
        heading = re.match(r"^(==?) (.+?)(?: \{#([a-z-]+)\})?$", line)
        if heading:
            flush()
            if heading[1] == "=":
                title = heading[2]
                body.append(f"<h1>{html.escape(title)}</h1>\n")
            else:
                name = f"<a name=\"{heading[3]}\"></a>" if heading[3] else ""
                body.append(f"<h2>{name}{html.escape(heading[2])}</h2>\n")
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
    contents = "<ul>\n" + "".join(f"<li><a href=\"{k}s.html\">{GROUP_TITLES[k]}</a></li>\n" for k in KINDS) + "</ul>\n"
    # The list of the three menus ends the overview, under its last heading.
    return page(title, "".join(body) + contents, [("Conditions", "conditions.html"),
                ("Actions", "actions.html"), ("Expressions", "expressions.html")])


def overview_anchors(folder):
    text = pathlib.Path(folder, "overview.txt").read_text(encoding="utf-8")
    return {f"#{m[2]}": m[1] for m in re.finditer(r"^== (.+?) \{#([a-z-]+)\}$", text, re.M)}


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


def contents(catalogue, entries, anchors):
    out = sitemap_item("Overview", OVERVIEW) + "<UL>\n"
    out += "".join(sitemap_item(name, OVERVIEW + key) for key, name in anchors.items()) + "</UL>\n"
    for kind in KINDS:
        out += sitemap_item(GROUP_TITLES[kind], f"{kind}s.html") + "<UL>\n"
        out += contents_tree(catalogue[kind]["menu"], kind, entries, [])
        for entry in unlisted(kind, entries):
            out += sitemap_item(entry_name(entry), page_name(kind, entry["code"]))
        out += "</UL>\n"
    return sitemap(out)


def index(entries, anchors):
    keywords = [(name, OVERVIEW + key) for key, name in anchors.items()]
    for (kind, code), entry in entries.items():
        names = {path.split(" > ")[-1] for path in entry["menus"]}
        if kind == "expression" or not names:
            names.add(display_text(entry))
        keywords += [(name, page_name(kind, code)) for name in names]
    keywords.sort(key=lambda item: (item[0].lower(), item[1]))
    return sitemap("".join(sitemap_item(name, local) for name, local in keywords))


def project(files):
    return ("[OPTIONS]\nCompatibility=1.1 or later\n"
            f"Compiled file={HELP_FILE}\nContents file=contents.hhc\nIndex file=index.hhk\n"
            f"Default topic={OVERVIEW}\nDefault Window=main\nDisplay compile progress=No\n"
            f"Full-text search=Yes\nLanguage=0x409 English (United States)\nTitle={TITLE}\n\n"
            f"[WINDOWS]\nmain=\"{TITLE}\",\"contents.hhc\",\"index.hhk\",\"{OVERVIEW}\",\"{OVERVIEW}\",,,,,0x2520,,0x3006,,,,,,,,0\n\n"
            "[FILES]\n" + "".join(f"{name}\n" for name in files))


def main(catalogue_path, prose_folder, out_folder):
    catalogue, entries = load_catalogue(catalogue_path)
    sections, errors = read_prose(prose_folder, entries)
    OVERVIEW_HEADINGS.update(overview_anchors(prose_folder))
    pages = {}
    if not errors:
        for key, entry in sorted(entries.items()):
            pages[page_name(*key)] = entry_page(entry, sections[key], entries, errors)[1]
        for kind in KINDS:
            pages[f"{kind}s.html"] = group_page(kind, catalogue, entries)
        pages[OVERVIEW] = overview_page(prose_folder, entries, errors)
    if errors:
        for error in errors:
            print(f"make_help: {error}", file=sys.stderr)
        return 1
    out = pathlib.Path(out_folder)
    shutil.rmtree(out, ignore_errors=True)
    out.mkdir(parents=True)
    anchors = OVERVIEW_HEADINGS
    files = {**pages, "contents.hhc": contents(catalogue, entries, anchors), "index.hhk": index(entries, anchors)}
    for name, text in files.items():
        (out / name).write_text(text, encoding="cp1252", errors="xmlcharrefreplace", newline="\r\n")
    shutil.copy(pathlib.Path(__file__).with_name(STYLESHEET), out / STYLESHEET)
    (out / "File.hhp").write_text(project(sorted(pages) + [STYLESHEET]), encoding="cp1252", newline="\r\n")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
