#!/usr/bin/env python3
"""Fails when a text that the user interface translates has no Japanese translation.

Every tr("...") literal in the sources must appear, in its class's context, in
resources/quillmark_ja.ts with a non-empty translation."""
import pathlib
import re
import sys
import xml.etree.ElementTree as ET

root = pathlib.Path(__file__).resolve().parent.parent
ts = ET.parse(root / "resources" / "quillmark_ja.ts").getroot()
known = {}
for ctx in ts.iter("context"):
    name = ctx.findtext("name")
    for msg in ctx.iter("message"):
        known[(name, msg.findtext("source"))] = (msg.findtext("translation") or "").strip()

missing = []
for cpp in sorted((root / "src").rglob("*.cpp")):
    text = cpp.read_text(encoding="utf-8")
    classes = re.findall(r"^(\w+)::\1\(", text, re.M)
    if not classes:
        continue
    context = "qm::" + classes[0]
    for literal in re.findall(r'\btr\("((?:[^"\\]|\\.)*)"\)', text):
        source = literal.encode().decode("unicode_escape")
        if not known.get((context, source)):
            missing.append(f"{cpp.relative_to(root)}: {context}: {source!r}")

if missing:
    print("untranslated texts:\n  " + "\n  ".join(missing))
    sys.exit(1)
print("translations complete")
