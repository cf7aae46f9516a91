"""An example's claim as its page shows it, so that the example works when a reader builds it:
each call of an entry as written in the editor with what it gives, and, in words, every other
step the example needs (the files and folders it starts from, what the user does in a dialog)
or shows (what is on disk afterwards, what a dialog offered).

A script variable never reaches the page: a name built from the current directory
(`let HERE = cwd`, then `$HERE + "\\games"`) is shown relative (`games`), and the result of an
earlier call of the example is named as that result, or, when its line shows no result, written
in place as the editor nests it (`Sizeof(CurrentDirectory$( ) + "\\a.txt")`). Any other variable in a step or a call,
a call that gives a value without an expectation a reader can see, and a step the page cannot
put in words, are errors.
"""
import html
import re

TOKEN = re.compile(r'"[^"]*"|->|\S+')
ELLIPSIS = "\N{HORIZONTAL ELLIPSIS}"
CURRENT_DIRECTORY = object()   # a variable that holds the current directory
# Variables the test gives every claim, as a reader knows them.
GIVEN = {"MODULE_FOLDER": ("said", "the folder of QTFILE.qtx")}
# Steps the page leaves out: they only keep a value for later lines, check what the words of
# the example already say, or play on Wine what any Windows does (creation times kept apart).
UNSHOWN = {"cwd", "answers-left", "destroy", "env", "play"}
FILE_TIMES = {"created": "was created", "modified": "was last written", "accessed": "was last opened"}
SHOWN = {"filters": "The dialog offers the file types {}.", "title": "The dialog's title is {}.",
         "text": "The dialog shows {}.", "multiselect": "The dialog lets the user choose {}."}
FIELDS = {"selectorStyle": "The object's selector style is {}.", "selectorTitle": "The selectors' title is {}."}
LOCK_WORDS = {"writing": "open and writes to it", "reading": "open and reads it", "shared": "open, letting others in",
              None: "open and lets nobody in"}
ANSWER_WORDS = {"filter": "chooses file type {}", "name": "types {}", "folder": "selects the folder {}"}


class ExampleError(Exception):
    pass


def code(text):
    return f"<code>{html.escape(text)}</code>"


class Example:
    """The rows of one example: ("call", WRITTEN, GIVES) or ("step", HTML)."""

    def __init__(self, write_call):
        self.write_call = write_call   # (kind, name, [values]) -> the call as the editor writes it
        self.variables = dict(GIVEN)
        self.rows = []

    # ---- values ----
    def pieces(self, tokens):
        """The pieces of one value, ("text" | "raw" | "said", TEXT), and the tokens after it."""
        pieces, rest = [], list(tokens)
        while rest and rest[0] != "->":
            atom = rest.pop(0)
            if atom.startswith("$"):
                if atom[1:] not in self.variables:
                    raise ExampleError(f"the script variable {atom} would show on the page")
                pieces.append(self.variables[atom[1:]])
            else:
                pieces.append(("text", atom[1:-1]) if atom.startswith('"') else ("raw", atom))
            if rest[:1] == ["*"]:
                pieces[-1] = ("raw", f"{atom} * {rest[1]}")
                rest = rest[2:]
            if rest[:1] != ["+"]:
                break
            rest.pop(0)
        if pieces[:1] == [CURRENT_DIRECTORY] and pieces[1:2] and pieces[1][1].startswith("\\"):
            pieces = [("text", pieces[1][1][1:])] + pieces[2:]
        if CURRENT_DIRECTORY in pieces:
            raise ExampleError("the current directory would show on the page as a script variable")
        merged = []
        for piece in pieces:
            if merged and piece[0] == merged[-1][0] == "text":
                merged[-1] = ("text", merged[-1][1] + piece[1])
            else:
                merged.append(piece)
        return merged, rest

    def value(self, tokens):
        """A value as the editor writes it (texts in quotes, a result in angle brackets)."""
        pieces, rest = self.pieces(tokens)
        shown = {"text": '"{}"', "raw": "{}", "said": "<{}>"}
        return " + ".join(shown[kind].format(text) for kind, text in pieces), rest

    def values(self, tokens):
        out, rest = [], list(tokens)
        while rest and rest[0] != "->":
            text, rest = self.value(rest)
            out.append(text)
        return out, rest

    def expected(self, tokens):
        """What an expectation tells a reader, or None when it cannot be shown."""
        if tokens[:1] != ["->"] or tokens[1:2] in (["not"], ["length"]):
            return None
        like = tokens[1:2] == ["like"]
        try:
            pieces, _ = self.pieces(tokens[2:] if like else tokens[1:])
        except ExampleError:
            return None
        if len(pieces) != 1 or pieces[0][0] == "said":
            return None
        return pieces[0][1].replace("*", ELLIPSIS) if like else pieces[0][1]

    def words(self, tokens):
        """A value in a sentence: a text as code, what was said of a variable as it is."""
        pieces, rest = self.pieces(tokens)
        if len(pieces) == 1 and pieces[0][0] != "raw":
            return code(pieces[0][1]) if pieces[0][0] == "text" else html.escape(pieces[0][1]), rest
        text, _ = self.value(tokens)
        return code(text), rest

    # ---- lines ----
    def add(self, line):
        tokens = TOKEN.findall(line)
        if not tokens or tokens[0].startswith("#"):
            return
        variable = None
        if tokens[:1] == ["let"]:
            variable, tokens = tokens[1], tokens[3:]
        command = tokens[0]
        if command in ("condition", "action", "expression"):
            values, rest = self.values(tokens[2:])
            written = self.write_call(command, tokens[1].strip('"'), values)
            gives = self.expected(rest)
            if command == "expression" and variable and gives is None:   # written inside the calls that use it
                self.variables[variable] = ("raw", written)
                return
            if command != "action" and gives is None:
                raise ExampleError(f"{written} gives a value the page cannot show")
            if command == "condition":
                gives = {"1": "true", "0": "false"}.get(gives, gives)
            self.rows.append(("call", written, gives or ""))
            if variable:
                self.variables[variable] = ("said", f"the file {written} named" if command == "expression" else written)
        elif variable:
            if command == "cwd":
                self.variables[variable] = CURRENT_DIRECTORY
        elif command not in UNSHOWN:
            step = self.step(command, tokens[1:])
            if step:
                self.rows.append(("step", step))

    def step(self, command, tokens):
        if command == "mkdir":
            return f"The folder {self.words(tokens)[0]} exists."
        if command == "write":
            name, rest = self.words(tokens)
            content, _ = self.words(rest)
            return f"The file {name} exists, empty." if content == code("") else f"The file {name} holds {content}."
        if command == "filetime":
            name, rest = self.words(tokens)
            return f"{name} {FILE_TIMES[rest[0]]} on {rest[1]} at {rest[2]}."
        if command == "cd":
            return f"The current directory is {self.words(tokens)[0]}."
        if command == "answer":
            return self.answer(tokens)
        if command == "lock":
            name, rest = self.words(tokens)
            return f"Another program holds {name} {LOCK_WORDS[rest[0] if rest else None]}."
        if command == "launch-result":
            started = tokens[0] == "0"
            return f"ZYN answers {tokens[0]} to the next launch request" + ("." if started else ": the program did not start.")
        if command == "unlock":
            return f"The other program closes {self.words(tokens)[0]}."
        if command in ("file", "exists"):
            name, rest = self.words(tokens)
            after = self.expected(rest)
            if after is None:
                raise ExampleError(f"the page cannot show what '{command}' expects")
            if command == "exists":
                return f"Afterwards {name} {'exists' if after in ('1', 'true') else 'does not exist'}."
            subject = name if name.startswith("the file") else f"the file {name}"
            return f"Afterwards {subject} " + (f"holds {code(after)}." if after else "is empty.")
        if command in ("shown", "field"):
            table = SHOWN if command == "shown" else FIELDS
            after = self.expected(tokens[1:])
            if tokens[0] not in table or after is None:
                raise ExampleError(f"the page cannot show '{command} {tokens[0]}'")
            if tokens[0] == "multiselect":
                return table["multiselect"].format("several files" if after == "1" else "one file only")
            return table[tokens[0]].format(code(after.replace("|", ", ")) if tokens[0] == "filters" else code(after))
        if command == "object":
            return f"A second File object, {code(tokens[0])}, is made: the lines below are its own."
        if command == "use":
            return "The lines below are the first File object's again."
        raise ExampleError(f"the page cannot show the step '{command}'")

    def answer(self, tokens):
        """What the user does in the next dialog."""
        done, rest = [], list(tokens[1:])
        while rest:
            option = rest.pop(0)
            if option == "files":
                names = [code(t.strip('"')) for t in rest]
                done.append("selects " + ", ".join(names[:-1]) + " and " + names[-1] if len(names) > 1 else names[0])
                rest = []
            elif option == "filter":
                done.append(ANSWER_WORDS[option].format(rest.pop(0)))
            else:
                shown, rest = self.words(rest)
                done.append(ANSWER_WORDS[option].format(shown))
        button = "presses OK" if tokens[0] == "ok" else "presses Cancel"
        return "In the dialog the user " + " and ".join(filter(None, [", ".join(done), button])) + "."


def example_rows(script_lines, write_call):
    """The rows of an example's table; raises ExampleError when the page cannot show a line."""
    example = Example(write_call)
    for line in script_lines:
        example.add(line)
    return example.rows
