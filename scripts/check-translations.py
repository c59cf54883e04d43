#!/usr/bin/env python3
"""Fails when a text that the user interface shows has no Japanese translation.

Usage: check-translations.py [ROOT]   (ROOT defaults to the project this script is in)

1. Every tr("...") literal in the sources must appear, in its class's context, in
   resources/quillmark_ja.ts with a non-empty translation; so must every
   QT_TRANSLATE_NOOP("Context", "...") in its named context.
2. A string literal with a letter in it that reaches a Qt text setter (setText,
   setWindowTitle, setToolTip, ...), a widget that shows its text (QLabel("..."),
   QPushButton("..."), ...) or a message of the GUI (Message{"..."} in the dialogs'
   folders) without tr() is an untranslated text, unless it is one of the few that
   stay English in every language (ALLOWED_ENGLISH)."""
import pathlib
import re
import sys
import xml.etree.ElementTree as ET

# Texts that stay English whatever the language: the tab labels of the User Setting Manager,
# the calibration dialog and the status dialog,
# the print command's letter, and the messages that the tools build in code.
ALLOWED_ENGLISH = {
    "Serial", "Language", "Print&&Page", "Hardware Info", "Printer Info",
    "F/W Ver. 1.39 or Later", "F/W Ver. less than 1.39",
    "^cp Command", "^cu Command", "^ee Command", "CPS Command",
    "P",
    "Don't select load file", "Don't select save file",
    "Cannot load the script: ", "Cannot save the script: ",
}

SETTERS = (
    "setText", "setWindowTitle", "setToolTip", "setStatusTip", "setWhatsThis",
    "setPlaceholderText", "setAccessibleName", "setTitle", "setLabelText", "setInformativeText",
    "showMessage", "addItem", "addItems", "insertItem", "addTab", "insertTab", "setTabText",
    "addRow", "setItemText", "information", "warning", "critical", "question", "about",
)
WIDGETS = (
    "QLabel", "QPushButton", "QCheckBox", "QRadioButton", "QGroupBox", "QMessageBox",
    "QAction", "QToolButton", "QLineEdit",
)
# The folders of the dialogs, where a Message is one the GUI shows itself.
DIALOG_DIRS = re.compile(r"^src/(app|gui|\w+/ui)/")

LITERAL = re.compile(r'"((?:[^"\\]|\\.)*)"')
CHARACTER = re.compile(r"'(?:[^'\\]|\\.)'")
TRANSLATED = re.compile(r'\b(?:tr|translate|QT_TRANSLATE_NOOP|QT_TR_NOOP)\s*\(')
CALL = re.compile(r"(?:\.|->|::|\bnew\s+|\b)(" + "|".join(SETTERS + WIDGETS) + r")\s*[({]")
MESSAGE = re.compile(r"\bMessage\s*\{")


def balanced(text, start):
    """The text from `start` (just past an opening bracket) to its closing bracket."""
    depth, i = 1, start
    while i < len(text) and depth:
        c = text[i]
        quoted = LITERAL.match(text, i) if c == '"' else CHARACTER.match(text, i) if c == "'" else None
        if quoted:
            i = quoted.end()
            continue
        if c in "({[":
            depth += 1
        elif c in ")}]":
            depth -= 1
        i += 1
    return text[start:i - 1]


def without_translated(args):
    """`args` with every tr(...)-like call taken out."""
    while True:
        m = TRANSLATED.search(args)
        if not m:
            return args
        args = args[:m.start()] + args[m.end() + len(balanced(args, m.end())) + 1:]


def untranslated_literals(args):
    for literal in LITERAL.findall(without_translated(args)):
        if re.search(r"[A-Za-z]", literal) and literal not in ALLOWED_ENGLISH:
            yield literal


def strip_comments(text):
    out, i = [], 0
    while i < len(text):
        if text.startswith("//", i):
            i = text.find("\n", i) if "\n" in text[i:] else len(text)
        elif text.startswith("/*", i):
            i = text.find("*/", i + 2) + 2
        elif (quoted := LITERAL.match(text, i) if text[i] == '"' else CHARACTER.match(text, i) if text[i] == "'" else None):
            out.append(quoted.group(0))
            i = quoted.end()
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def check(root):
    ts = ET.parse(root / "resources" / "quillmark_ja.ts").getroot()
    known = {}
    for ctx in ts.iter("context"):
        name = ctx.findtext("name")
        for msg in ctx.iter("message"):
            known[(name, msg.findtext("source"))] = (msg.findtext("translation") or "").strip()

    problems = []
    for cpp in sorted((root / "src").rglob("*.cpp")):
        rel = cpp.relative_to(root).as_posix()
        text = strip_comments(cpp.read_text(encoding="utf-8"))
        classes = re.findall(r"^(\w+)::\1\(", text, re.M)
        context = "qm::" + classes[0] if classes else None
        for literal in re.findall(r'\btr\("((?:[^"\\]|\\.)*)"\)', text):
            source = literal.encode("latin-1", "backslashreplace").decode("unicode_escape")
            if not known.get((context, source)):
                problems.append(f"{rel}: {context}: {source!r} has no Japanese")
        for ctx, literal in re.findall(r'QT_TRANSLATE_NOOP\(\s*"(\w+)"\s*,\s*"((?:[^"\\]|\\.)*)"\s*\)', text):
            source = literal.encode("latin-1", "backslashreplace").decode("unicode_escape")
            if not known.get((ctx, source)):
                problems.append(f"{rel}: {ctx}: {source!r} has no Japanese")
        for m in CALL.finditer(text):
            for literal in untranslated_literals(balanced(text, m.end())):
                problems.append(f"{rel}: {m.group(1)}: {literal!r} is shown without tr()")
        if DIALOG_DIRS.match(rel):
            for m in MESSAGE.finditer(text):
                for literal in untranslated_literals(balanced(text, m.end())):
                    problems.append(f"{rel}: Message: {literal!r} is shown without translation")
    return problems


def main():
    root = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent
    problems = check(root)
    if problems:
        print("untranslated texts:\n  " + "\n  ".join(problems))
        return 1
    print("translations complete")
    return 0


if __name__ == "__main__":
    sys.exit(main())
